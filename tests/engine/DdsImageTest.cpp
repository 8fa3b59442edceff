#include <gtest/gtest.h>
#include <squish.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/DdsImage.h"
#include "DdsTestFiles.h"

namespace pikora::test {
namespace {

struct Rgba {
  uint8_t R, G, B, A;
};

Rgba At(const RgbaImage& I, int X, int Y) {
  const uint8_t* P = I.Pixels.data() + (size_t(Y) * I.Width + X) * 4;
  return {P[0], P[1], P[2], P[3]};
}

void ExpectQuadrants(const RgbaImage& I, bool AlphaKept) {
  ASSERT_EQ(I.Width, 16);
  ASSERT_EQ(I.Height, 16);
  for (int Q = 0; Q < 4; ++Q) {
    const auto Want = QuadrantColours[Q];
    const Rgba Got = At(I, (Q % 2) * 8 + 3, (Q / 2) * 8 + 5);
    EXPECT_EQ(Got.R, Want.R) << "quadrant " << Q;
    EXPECT_EQ(Got.G, Want.G) << "quadrant " << Q;
    EXPECT_EQ(Got.B, Want.B) << "quadrant " << Q;
    EXPECT_EQ(Got.A, AlphaKept ? Want.A : 255) << "quadrant " << Q;
  }
}

TEST(DdsImage, UncompressedAndBlockFormatsDecodeToTheirColours) {
  ExpectQuadrants(DecodeDds(Dds24().data(), Dds24().size()), false);
  ExpectQuadrants(DecodeDds(Dds32().data(), Dds32().size()), true);
  for (int Kind : {squish::kDxt1, squish::kDxt3, squish::kDxt5}) {
    SCOPED_TRACE(Kind);
    const auto File = DdsBlocks(Kind);
    ExpectQuadrants(DecodeDds(File.data(), File.size()), Kind != squish::kDxt1);
  }
}

TEST(DdsImage, DamagedOrUnsupportedFilesAreRefused) {
  auto Truncated = DdsBlocks(squish::kDxt5);
  Truncated.erase(Truncated.end() - 10, Truncated.end());
  EXPECT_THROW(DecodeDds(Truncated.data(), Truncated.size()), DdsError);

  auto Other = DdsBlocks(squish::kDxt1);
  std::memcpy(Other.data() + 84, "ATI2", 4);
  try {
    DecodeDds(Other.data(), Other.size());
    FAIL() << "ATI2 accepted";
  } catch (const DdsError& E) {
    EXPECT_NE(std::string(E.what()).find("ATI2"), std::string::npos);
  }

  const std::vector<uint8_t> Short = {'D', 'D', 'S', ' ', 124, 0};
  EXPECT_THROW(DecodeDds(Short.data(), Short.size()), DdsError);
  const std::vector<uint8_t> Png = {0x89, 'P', 'N', 'G'};
  EXPECT_FALSE(LooksLikeDds(Png.data(), Png.size()));
  EXPECT_TRUE(LooksLikeDds(Short.data(), 4));
  EXPECT_FALSE(LooksLikeDds(Short.data(), 3));
}

}  // namespace
}  // namespace pikora::test
