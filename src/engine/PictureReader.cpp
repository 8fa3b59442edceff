#include "engine/PictureReader.h"

#include <SDL.h>
#include <SDL_image.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace pikora {

namespace {

uint32_t Big16(const uint8_t* P) { return uint32_t(P[0]) << 8 | P[1]; }
uint32_t Big32(const uint8_t* P) { return Big16(P) << 16 | Big16(P + 2); }
uint32_t Little16(const uint8_t* P) { return uint32_t(P[1]) << 8 | P[0]; }
uint32_t Little32(const uint8_t* P) { return Little16(P + 2) << 16 | Little16(P); }

// Walks the markers up to the first start-of-frame, which is the one libjpeg decodes.
bool JpegSize(const uint8_t* Data, size_t Size, uint32_t& Width, uint32_t& Height) {
  size_t At = 2;
  while (At + 4 <= Size) {
    if (Data[At] != 0xFF) return false;
    const uint8_t Marker = Data[At + 1];
    if (Marker == 0xFF) {  // fill byte
      ++At;
      continue;
    }
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD8)) {
      At += 2;
      continue;
    }
    if (Marker == 0xD9 || Marker == 0xDA) return false;  // no frame before the image data
    const uint32_t Length = Big16(Data + At + 2);
    if (Length < 2) return false;
    const bool Frame = Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
    if (Frame) {
      if (Length < 7 || At + 9 > Size) return false;
      Height = Big16(Data + At + 5);
      Width = Big16(Data + At + 7);
      return true;
    }
    At += 2 + Length;
  }
  return false;
}

bool BmpSize(const uint8_t* Data, size_t Size, uint32_t& Width, uint32_t& Height) {
  if (Size < 26) return false;
  const uint32_t InfoSize = Little32(Data + 14);
  if (InfoSize == 12) {
    Width = Little16(Data + 18);
    Height = Little16(Data + 20);
    return true;
  }
  const auto W = int32_t(Little32(Data + 18)), H = int32_t(Little32(Data + 22));
  if (W <= 0 || H == INT32_MIN) return false;
  Width = uint32_t(W);
  Height = uint32_t(H < 0 ? -H : H);  // a negative height means rows top to bottom
  return true;
}

}  // namespace

bool ReadPictureHeader(const uint8_t* Data, size_t Size, PictureHeader& Header) {
  uint32_t Width = 0, Height = 0;
  if (Size >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF) {
    if (!JpegSize(Data, Size, Width, Height)) return false;
    Header.Format = PictureFormat::Jpeg;
  } else if (Size >= 24 && std::memcmp(Data, "\x89PNG\r\n\x1a\n", 8) == 0 && std::memcmp(Data + 12, "IHDR", 4) == 0) {
    Width = Big32(Data + 16);
    Height = Big32(Data + 20);
    Header.Format = PictureFormat::Png;
  } else if (Size >= 2 && Data[0] == 'B' && Data[1] == 'M') {
    if (!BmpSize(Data, Size, Width, Height)) return false;
    Header.Format = PictureFormat::Bmp;
  } else if (Size >= 20 && LooksLikeDds(Data, Size)) {
    Height = Little32(Data + 12);
    Width = Little32(Data + 16);
    Header.Format = PictureFormat::Dds;
  } else {
    return false;
  }
  // Sizes beyond int are reported as the largest int: over the limit either way.
  Header.Width = Width > INT_MAX ? INT_MAX : int(Width);
  Header.Height = Height > INT_MAX ? INT_MAX : int(Height);
  return true;
}

void CheckPictureSize(const PictureHeader& Header) {
  if (Header.Width < 1 || Header.Height < 1 || Header.Width > MaxPictureSide || Header.Height > MaxPictureSide)
    throw PictureError("the picture claims " + std::to_string(Header.Width) + " x " + std::to_string(Header.Height) +
                       " pixels; at most " + std::to_string(MaxPictureSide) + " x " + std::to_string(MaxPictureSide) +
                       " are allowed");
}

RgbaImage DecodePicture(const uint8_t* Data, size_t Size) {
  PictureHeader Header;
  if (!ReadPictureHeader(Data, Size, Header)) throw PictureError("not a JPEG, PNG, BMP or DDS picture");
  CheckPictureSize(Header);
  if (Header.Format == PictureFormat::Dds) {
    try {
      return DecodeDds(Data, Size);
    } catch (const DdsError& Error) {
      throw PictureError(Error.what());
    }
  }
  if (Size > size_t(INT_MAX)) throw PictureError("the file is too large");
  SDL_RWops* Stream = SDL_RWFromConstMem(Data, int(Size));
  if (!Stream) throw PictureError(std::string("cannot be read: ") + SDL_GetError());
  SDL_Surface* Loaded = Header.Format == PictureFormat::Jpeg  ? IMG_LoadJPG_RW(Stream)
                        : Header.Format == PictureFormat::Png ? IMG_LoadPNG_RW(Stream)
                                                              : IMG_LoadBMP_RW(Stream);
  SDL_RWclose(Stream);
  if (!Loaded) throw PictureError(std::string("cannot be decoded: ") + IMG_GetError());
  std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> Guard(Loaded, SDL_FreeSurface);
  if (Loaded->w != Header.Width || Loaded->h != Header.Height)
    throw PictureError("the picture decodes to another size than its header claims");
  SDL_Surface* Rgba = SDL_ConvertSurfaceFormat(Loaded, SDL_PIXELFORMAT_RGBA32, 0);
  if (!Rgba) throw PictureError(std::string("cannot be converted: ") + SDL_GetError());
  std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> RgbaGuard(Rgba, SDL_FreeSurface);

  RgbaImage Image;
  Image.Width = Rgba->w;
  Image.Height = Rgba->h;
  Image.Pixels.resize(size_t(Image.Width) * size_t(Image.Height) * 4);
  for (int Y = 0; Y < Image.Height; ++Y)
    std::memcpy(Image.Pixels.data() + size_t(Y) * size_t(Image.Width) * 4,
                static_cast<const uint8_t*>(Rgba->pixels) + size_t(Y) * size_t(Rgba->pitch), size_t(Image.Width) * 4);
  return Image;
}

}  // namespace pikora
