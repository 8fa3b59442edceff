#pragma once
// DDS files written the way texture tools write them: a 16 x 16 picture of four
// solid 8 x 8 quadrants.
#include <squish.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace pikora::test {

struct QuadrantColour {
  uint8_t R, G, B, A;
};
// Colours that survive 5:6:5 and 4-bit alpha exactly.
inline constexpr QuadrantColour QuadrantColours[4] = {
    {255, 0, 0, 255}, {0, 255, 0, 136}, {0, 0, 255, 255}, {255, 255, 255, 68}};

inline std::vector<uint8_t> QuadrantRgba() {
  std::vector<uint8_t> Pixels(16 * 16 * 4);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      const auto& C = QuadrantColours[(Y / 8) * 2 + X / 8];
      uint8_t* P = &Pixels[(Y * 16 + X) * 4];
      P[0] = C.R, P[1] = C.G, P[2] = C.B, P[3] = C.A;
    }
  return Pixels;
}

inline void Put32(std::vector<uint8_t>& D, size_t At, uint32_t V) {
  for (int I = 0; I < 4; ++I) D[At + I] = uint8_t(V >> (8 * I));
}

inline std::vector<uint8_t> DdsHeader(uint32_t PfFlags, uint32_t FourCC, uint32_t Bits, uint32_t R, uint32_t G,
                                      uint32_t B, uint32_t A) {
  std::vector<uint8_t> D(128, 0);
  std::memcpy(D.data(), "DDS ", 4);
  Put32(D, 4, 124);
  Put32(D, 8, 0x1007);
  Put32(D, 12, 16);
  Put32(D, 16, 16);
  Put32(D, 76, 32);
  Put32(D, 80, PfFlags);
  Put32(D, 84, FourCC);
  Put32(D, 88, Bits);
  Put32(D, 92, R);
  Put32(D, 96, G);
  Put32(D, 100, B);
  Put32(D, 104, A);
  Put32(D, 108, 0x1000);
  return D;
}

inline std::vector<uint8_t> Dds24() {
  auto D = DdsHeader(0x40, 0, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
  const auto Rgba = QuadrantRgba();
  for (size_t I = 0; I < 256; ++I) {
    D.push_back(Rgba[I * 4 + 2]);
    D.push_back(Rgba[I * 4 + 1]);
    D.push_back(Rgba[I * 4 + 0]);
  }
  return D;
}

inline std::vector<uint8_t> Dds32() {
  auto D = DdsHeader(0x41, 0, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000);
  const auto Rgba = QuadrantRgba();
  for (size_t I = 0; I < 256; ++I) {
    D.push_back(Rgba[I * 4 + 2]);
    D.push_back(Rgba[I * 4 + 1]);
    D.push_back(Rgba[I * 4 + 0]);
    D.push_back(Rgba[I * 4 + 3]);
  }
  return D;
}

inline std::vector<uint8_t> DdsBlocks(int Kind) {
  const char* Code = Kind == squish::kDxt1 ? "DXT1" : Kind == squish::kDxt3 ? "DXT3" : "DXT5";
  uint32_t FourCC = 0;
  std::memcpy(&FourCC, Code, 4);
  auto D = DdsHeader(0x4, FourCC, 0, 0, 0, 0, 0);
  auto Rgba = QuadrantRgba();
  if (Kind == squish::kDxt1)
    for (size_t I = 0; I < 256; ++I) Rgba[I * 4 + 3] = 255;  // DXT1 here carries no alpha
  std::vector<uint8_t> Blocks(size_t(squish::GetStorageRequirements(16, 16, Kind)));
  squish::CompressImage(Rgba.data(), 16, 16, Blocks.data(), Kind);
  D.insert(D.end(), Blocks.begin(), Blocks.end());
  return D;
}

}  // namespace pikora::test
