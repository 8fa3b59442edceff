// The picture reader every texture goes through: header check, then JPEG, PNG, BMP or DDS.
#include "engine/PictureReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  pikora::PictureHeader Header;
  const bool Known = pikora::ReadPictureHeader(Data, Size, Header);
  try {
    const pikora::RgbaImage Image = pikora::DecodePicture(Data, Size);
    if (!Known || Image.Width != Header.Width || Image.Height != Header.Height ||
        Image.Width > pikora::MaxPictureSide || Image.Height > pikora::MaxPictureSide)
      __builtin_trap();
  } catch (const pikora::PictureError&) {
  }
  return 0;
}
