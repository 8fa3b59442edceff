#pragma once
#include <cstdint>

namespace pikora {

// Packs alpha, red, green and blue (0..255 each) into a 32-bit ARGB colour.
constexpr uint32_t ColourARGB(int A, int R, int G, int B) {
  return (uint32_t(A & 255) << 24) | (uint32_t(R & 255) << 16) | (uint32_t(G & 255) << 8) | uint32_t(B & 255);
}

}  // namespace pikora
