#include <gtest/gtest.h>

#include "engine/PictureReader.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

RgbaImage Decode(const std::string& Bytes) {
  return DecodePicture(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
}

TEST(PictureReader, ReadsTheClaimedSizeOfEachFormatAndRefusesGiantsBeforeDecoding) {
  std::string TopDown = TinyBmp(6, 4);
  TopDown.replace(22, 4, std::string("\xFC\xFF\xFF\xFF", 4));  // height -4
  const std::string Jpeg("\xFF\xD8\xFF\xE0\0\x04..\xFF\xC2\0\x0B\x08\x01\x7C\x00\xFE\x01\x01\x11\0", 21);
  const std::string Png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0DIHDR\0\0\x01\x00\0\0\x00\x80", 24);
  std::string Dds(128, '\0');
  Dds.replace(0, 4, "DDS "), Dds[12] = 2, Dds[16] = 3;
  for (const auto& [Bytes, Format, Width, Height] : std::vector<std::tuple<std::string, PictureFormat, int, int>>{
           {TinyBmp(5, 3), PictureFormat::Bmp, 5, 3},
           {TopDown, PictureFormat::Bmp, 6, 4},
           {Jpeg, PictureFormat::Jpeg, 254, 380},
           {Png, PictureFormat::Png, 256, 128},
           {Dds, PictureFormat::Dds, 3, 2}}) {
    PictureHeader Header;
    ASSERT_TRUE(ReadPictureHeader(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size(), Header));
    EXPECT_EQ(std::tuple(Header.Format, Header.Width, Header.Height), std::tuple(Format, Width, Height));
  }
  for (const std::string& Cut : {std::string("\xFF\xD8\xFF\xE0\0\x10", 6), std::string("BM\0"), std::string("GIF89a")}) {
    PictureHeader Header;
    EXPECT_FALSE(ReadPictureHeader(reinterpret_cast<const uint8_t*>(Cut.data()), Cut.size(), Header));
  }

  const RgbaImage Small = Decode(TopDown);
  EXPECT_EQ(std::tuple(Small.Width, Small.Height, Small.Pixels.size()), std::tuple(6, 4, size_t(96)));
  std::string Giant = TinyBmp(8, 8);
  Giant.replace(18, 8, std::string("\xE8\xFD\0\0\xE8\xFD\0\0", 8));  // 65000 x 65000, 200 bytes of data
  EXPECT_THROW(
      try { Decode(Giant); } catch (const PictureError& Error) {
        EXPECT_NE(std::string(Error.what()).find("65000 x 65000"), std::string::npos);
        throw;
      },
      PictureError);
  EXPECT_THROW(Decode(std::string("\xFF\xD8\xFF\xC0\0\x0B\x08\0\x08\0\x08\x01\x01\x11\0junk", 19)), PictureError);
}

}  // namespace
}  // namespace pikora::test
