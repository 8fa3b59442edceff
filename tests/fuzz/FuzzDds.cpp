// The DDS reader of the interface pictures.
#include "engine/DdsImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  try {
    const pikora::RgbaImage Image = pikora::DecodeDds(Data, Size);
    if (Image.Pixels.size() != size_t(Image.Width) * size_t(Image.Height) * 4) __builtin_trap();
  } catch (const pikora::DdsError&) {
  }
  return 0;
}
