// Picture files: DDS decoding, and every format's claimed size read before decoding.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <squish.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/DdsImage.h"
#include "engine/PictureReader.h"
#include "support/GameFixture.h"
#include "DdsTestFiles.h"

namespace pikora::test {
namespace {

// What Call throws as an Error, or "" when it throws nothing.
template <class Error>
std::string ErrorOf(const std::function<void()>& Call) try { return Call(), ""; } catch (const Error& E) { return E.what(); }

TEST(DdsImage, UncompressedAndBlockFormatsDecodeToTheirColours) {
  for (const DdsKind& K : DdsKinds) {
    const auto File = DdsFile(K.Kind);
    const RgbaImage I = DecodeDds(File.data(), File.size());
    ASSERT_EQ(std::tuple(I.Width, I.Height), std::tuple(16, 16)) << K.Name;
    for (int Q = 0; Q < 4; ++Q) {
      const auto& C = QuadrantColours[Q];
      const uint8_t* P = I.Pixels.data() + (size_t((Q / 2) * 8 + 5) * 16 + (Q % 2) * 8 + 3) * 4;
      EXPECT_EQ(std::vector<int>(P, P + 4), (std::vector<int>{C.R, C.G, C.B, K.Alpha ? C.A : 255}))
          << K.Name << " quadrant " << Q;
    }
  }
  // A size that is no multiple of four: the edge blocks are cut as squish itself cuts them.
  auto Odd = DdsFile(squish::kDxt5);
  Odd[12] = 5, Odd[16] = 6;
  std::vector<uint8_t> Expected(6 * 5 * 4);
  squish::DecompressImage(Expected.data(), 6, 5, Odd.data() + 128, squish::kDxt5);
  EXPECT_EQ(DecodeDds(Odd.data(), Odd.size()).Pixels, Expected);
}

TEST(DdsImage, DamagedOrUnsupportedFilesAreRefused) {
  auto Truncated = DdsFile(squish::kDxt5);
  Truncated.erase(Truncated.end() - 10, Truncated.end());
  EXPECT_THROW(DecodeDds(Truncated.data(), Truncated.size()), DdsError);

  auto Other = DdsFile(squish::kDxt1);
  std::memcpy(Other.data() + 84, "ATI2", 4);
  EXPECT_THAT(ErrorOf<DdsError>([&] { DecodeDds(Other.data(), Other.size()); }), ::testing::HasSubstr("ATI2"));

  const std::vector<uint8_t> Short = {'D', 'D', 'S', ' ', 124, 0};
  EXPECT_THROW(DecodeDds(Short.data(), Short.size()), DdsError);
  const std::vector<uint8_t> Png = {0x89, 'P', 'N', 'G'};
  EXPECT_FALSE(LooksLikeDds(Png.data(), Png.size()));
  EXPECT_TRUE(LooksLikeDds(Short.data(), 4));
  EXPECT_FALSE(LooksLikeDds(Short.data(), 3));
}

RgbaImage Decode(const std::string& Bytes) {
  return DecodePicture(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
}

TEST(PictureReader, ReadsTheClaimedSizeOfEachFormatAndRefusesGiantsBeforeDecoding) {
  std::string TopDown = TinyBmp(6, 4);
  TopDown.replace(22, 4, std::string("\xFC\xFF\xFF\xFF", 4));  // height -4
  // A bare marker and a fill byte before the shortest frame segment that still holds the size.
  const std::string Jpeg("\xFF\xD8\xFF\xE0\0\x04..\xFF\x01\xFF\xFF\xC2\0\x07\x08\x01\x7C\x00\xFE", 20);
  // A width's high byte beside the chunk name: a giant is still read as a PNG, then refused by size.
  const std::string Png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0DIHDR\x01\0\x01\x00\0\0\x00\x80", 24);
  std::string Dds(128, '\0');
  Dds.replace(0, 4, "DDS "), Dds[12] = 2, Dds[16] = 3;
  for (const auto& [Bytes, Format, Width, Height] : std::vector<std::tuple<std::string, PictureFormat, int, int>>{
           {TinyBmp(5, 3), PictureFormat::Bmp, 5, 3},
           {TopDown, PictureFormat::Bmp, 6, 4},
           {Jpeg, PictureFormat::Jpeg, 254, 380},
           {Png, PictureFormat::Png, 16777472, 128},
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
  EXPECT_THAT(ErrorOf<PictureError>([&] { Decode(Giant); }), ::testing::HasSubstr("65000 x 65000"));
  EXPECT_THROW(Decode(std::string("\xFF\xD8\xFF\xC0\0\x0B\x08\0\x08\0\x08\x01\x01\x11\0junk", 19)), PictureError);
}

}  // namespace
}  // namespace pikora::test
