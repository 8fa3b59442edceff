#pragma once
// DDS files written the way texture tools write them: a 16 x 16 picture of four
// solid 8 x 8 quadrants.
#include <squish.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace pikora::test {

struct QuadrantColour {
  uint8_t R, G, B, A;
};
// Colours that survive 5:6:5 and 4-bit alpha exactly.
inline constexpr QuadrantColour QuadrantColours[4] = {
    {255, 0, 0, 255}, {0, 255, 0, 136}, {0, 0, 255, 255}, {255, 255, 255, 68}};

// Uncompressed 24 and 32 bits per pixel, and the three block formats; DXT1 here carries no alpha.
struct DdsKind {
  const char* Name;
  int Kind;
  bool Alpha;
};
inline constexpr DdsKind DdsKinds[] = {
    {"u24", 24, false}, {"u32", 32, true}, {"dxt1", squish::kDxt1, false}, {"dxt3", squish::kDxt3, true},
    {"dxt5", squish::kDxt5, true}};

inline std::vector<uint8_t> DdsFile(int Kind) {
  const bool Blocks = Kind != 24 && Kind != 32;
  std::vector<uint8_t> D(128, 0), Rgba;
  for (int P = 0; P < 256; ++P) {
    const auto& C = QuadrantColours[(P / 128) * 2 + (P % 16) / 8];
    Rgba.insert(Rgba.end(), {C.R, C.G, C.B, Kind == squish::kDxt1 ? uint8_t(255) : C.A});
  }
  // Header fields by offset: size, flags, height, width, then the pixel format's size, flags,
  // bit count and masks, and the caps.
  const std::pair<size_t, uint32_t> Fields[] = {
      {4, 124}, {8, 0x1007}, {12, 16}, {16, 16}, {76, 32}, {80, Blocks ? 0x4u : Kind == 32 ? 0x41u : 0x40u},
      {88, Blocks ? 0u : uint32_t(Kind)}, {92, Blocks ? 0u : 0xFF0000u}, {96, Blocks ? 0u : 0xFF00u},
      {100, Blocks ? 0u : 0xFFu}, {104, Kind == 32 ? 0xFF000000u : 0u}, {108, 0x1000}};
  std::memcpy(D.data(), "DDS ", 4);
  for (auto [At, V] : Fields)
    for (int I = 0; I < 4; ++I) D[At + I] = uint8_t(V >> (8 * I));
  if (!Blocks) {
    for (size_t I = 0; I < Rgba.size(); I += 4) {
      D.insert(D.end(), {Rgba[I + 2], Rgba[I + 1], Rgba[I]});
      if (Kind == 32) D.push_back(Rgba[I + 3]);
    }
    return D;
  }
  std::memcpy(D.data() + 84, Kind == squish::kDxt1 ? "DXT1" : Kind == squish::kDxt3 ? "DXT3" : "DXT5", 4);
  std::vector<uint8_t> Packed(size_t(squish::GetStorageRequirements(16, 16, Kind)));
  squish::CompressImage(Rgba.data(), 16, 16, Packed.data(), Kind);
  D.insert(D.end(), Packed.begin(), Packed.end());
  return D;
}

}  // namespace pikora::test
