#pragma once
// The pictures the game shows: JPEG, PNG, BMP and DDS. Packs come from strangers, so the size
// a header claims is checked before anything is decoded.
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "engine/DdsImage.h"

namespace pikora {

// The largest side a picture may have (level pictures are 380 x 256, interface ones 1024).
constexpr int MaxPictureSide = 2048;

enum class PictureFormat { Jpeg, Png, Bmp, Dds };

struct PictureHeader {
  PictureFormat Format = PictureFormat::Jpeg;
  int Width = 0;
  int Height = 0;
};

struct PictureError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The format and size the header claims; false when the bytes are none of the four formats
// or the header is cut short.
bool ReadPictureHeader(const uint8_t* Data, size_t Size, PictureHeader& Header);

// Throws PictureError when the size is beyond MaxPictureSide (or empty).
void CheckPictureSize(const PictureHeader& Header);

// The whole picture as RGBA. Throws PictureError saying what is wrong: an unknown format, a
// size beyond MaxPictureSide (refused before decoding), or data that does not decode.
RgbaImage DecodePicture(const uint8_t* Data, size_t Size);

}  // namespace pikora
