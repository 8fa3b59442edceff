#include "engine/DdsImage.h"

#include <squish.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace pikora {

namespace {

constexpr size_t HeaderEnd = 128;  // magic + 124-byte header
constexpr uint32_t FlagPitch = 0x8;
constexpr uint32_t PfAlphaPixels = 0x1, PfFourCC = 0x4, PfRgb = 0x40;
constexpr int MaxSide = 16384;

uint32_t Read32(const uint8_t* P) { return uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24; }

constexpr uint32_t FourCC(const char (&S)[5]) {
  return uint32_t(uint8_t(S[0])) | uint32_t(uint8_t(S[1])) << 8 | uint32_t(uint8_t(S[2])) << 16 |
         uint32_t(uint8_t(S[3])) << 24;
}

// One channel of a packed pixel, widened to 0..255.
struct Channel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit Channel(uint32_t M) : Mask(M) {
    if (M) {
      Shift = std::countr_zero(M);
      Max = M >> Shift;
    }
  }
  uint8_t Get(uint32_t Pixel, uint8_t Missing) const {
    if (!Mask) return Missing;
    return uint8_t(((Pixel & Mask) >> Shift) * 255u / Max);
  }
};

}  // namespace

bool LooksLikeDds(const uint8_t* Data, size_t Size) { return Size >= 4 && std::memcmp(Data, "DDS ", 4) == 0; }

RgbaImage DecodeDds(const uint8_t* Data, size_t Size) {
  if (!LooksLikeDds(Data, Size)) throw DdsError("not a DDS file");
  if (Size < HeaderEnd || Read32(Data + 4) != 124) throw DdsError("DDS header is truncated or damaged");
  const uint32_t Flags = Read32(Data + 8);
  const uint32_t Height = Read32(Data + 12), Width = Read32(Data + 16);
  const uint32_t Pitch = Read32(Data + 20);
  const uint32_t PfFlags = Read32(Data + 80), Code = Read32(Data + 84), Bits = Read32(Data + 88);
  if (Width == 0 || Height == 0 || Width > MaxSide || Height > MaxSide)
    throw DdsError("DDS picture size " + std::to_string(Width) + " x " + std::to_string(Height) + " is not usable");

  RgbaImage Image;
  Image.Width = int(Width);
  Image.Height = int(Height);
  // Allocated only once the file is known to hold the data: a small file may claim a giant size.
  const uint8_t* Body = Data + HeaderEnd;
  const size_t BodySize = Size - HeaderEnd;

  if (PfFlags & PfFourCC) {
    int Kind = 0;
    if (Code == FourCC("DXT1")) Kind = squish::kDxt1;
    else if (Code == FourCC("DXT3")) Kind = squish::kDxt3;
    else if (Code == FourCC("DXT5")) Kind = squish::kDxt5;
    else {
      std::string Name(reinterpret_cast<const char*>(Data + 84), 4);
      throw DdsError("DDS compression \"" + Name + "\" is not supported (only DXT1, DXT3, DXT5)");
    }
    const size_t Needed = size_t(squish::GetStorageRequirements(Image.Width, Image.Height, Kind));
    if (BodySize < Needed) throw DdsError("DDS block data is truncated");
    Image.Pixels.resize(size_t(Width) * Height * 4);
    // Block by block: squish's whole-picture call starts a team of spinning OpenMP threads,
    // which take the cores from the other pictures decoded beside it.
    const size_t BlockBytes = Kind == squish::kDxt1 ? 8 : 16;
    const uint8_t* Block = Body;
    for (uint32_t By = 0; By < Height; By += 4)
      for (uint32_t Bx = 0; Bx < Width; Bx += 4, Block += BlockBytes) {
        uint8_t Rgba[64];
        squish::Decompress(Rgba, Block, Kind);
        const size_t Across = std::min<uint32_t>(4, Width - Bx) * 4;
        for (uint32_t Py = 0; Py < 4 && By + Py < Height; ++Py)
          std::memcpy(&Image.Pixels[(size_t(By + Py) * Width + Bx) * 4], Rgba + Py * 16, Across);
      }
    return Image;
  }

  if (!(PfFlags & PfRgb) || (Bits != 16 && Bits != 24 && Bits != 32))
    throw DdsError("DDS pixel format is not supported (only 16/24/32-bit RGB and DXT1/3/5)");
  const size_t Bytes = Bits / 8;
  size_t RowBytes = Width * Bytes;
  if ((Flags & FlagPitch) && Pitch >= RowBytes) RowBytes = Pitch;
  if (BodySize < RowBytes * (Height - 1) + Width * Bytes) throw DdsError("DDS pixel data is truncated");
  Image.Pixels.resize(size_t(Width) * Height * 4);

  const Channel R(Read32(Data + 92)), G(Read32(Data + 96)), B(Read32(Data + 100)),
      A((PfFlags & PfAlphaPixels) ? Read32(Data + 104) : 0);
  uint8_t* Out = Image.Pixels.data();
  for (uint32_t Y = 0; Y < Height; ++Y) {
    const uint8_t* Row = Body + RowBytes * Y;
    for (uint32_t X = 0; X < Width; ++X, Out += 4) {
      uint32_t Pixel = 0;
      for (size_t I = 0; I < Bytes; ++I) Pixel |= uint32_t(Row[X * Bytes + I]) << (8 * I);
      Out[0] = R.Get(Pixel, 0);
      Out[1] = G.Get(Pixel, 0);
      Out[2] = B.Get(Pixel, 0);
      Out[3] = A.Get(Pixel, 255);
    }
  }
  return Image;
}

}  // namespace pikora
