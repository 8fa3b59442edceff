#pragma once
// Reader for the DirectDraw Surface pictures the game ships: uncompressed RGB(A) and
// DXT1/3/5 blocks. Only the top mip level is read.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace pikora {

struct RgbaImage {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;  // R, G, B, A bytes, rows top to bottom
};

struct DdsError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool LooksLikeDds(const uint8_t* Data, size_t Size);
// Throws DdsError saying what is wrong with the file.
RgbaImage DecodeDds(const uint8_t* Data, size_t Size);

}  // namespace pikora
