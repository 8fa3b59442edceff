// The committed interface pictures (data/game data/pictures.pkr) and options.ini, read by the
// game's own readers: exactly the 26 pictures in load order, each at a power-of-two size large
// enough for the region the screens draw, and the parts the game relies on where it samples them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "engine/Components.h"
#include "engine/PictureReader.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

const fs::path DataDir = fs::path(PIKORA_SOURCE_DIR) / "data" / "game data";

struct Expected {
  const char* Name;
  int RegionW, RegionH;  // the largest region a screen draws from it
};

// Load order of the texture table, with the regions the screens pass to DrawSprite.
const Expected Table[] = {
    {"back_game_h.jpg", 1024, 1024},  {"back_game_v.jpg", 1024, 1024},    {"gamemask.dds", 800, 800},
    {"background.jpg", 1024, 1024},   {"sky.jpg", 512, 512},              {"mouse.bmp", 32, 32},
    {"button.bmp", 120, 25},          {"brightlogo.jpg", 1024, 1024},     {"progressroom.dds", 49, 406},
    {"progressbar.dds", 49, 399},     {"progressbarin.dds", 49, 406},     {"particles.png", 64, 32},
    {"sidemenu.dds", 256, 512},       {"newgameselection.dds", 460, 390}, {"highscores.dds", 256, 512},
    {"packinfo.dds", 256, 256},       {"clue.dds", 64, 64},               {"clueselection.dds", 64, 64},
    {"highscorepacks.dds", 256, 390}, {"help.dds", 512, 512},             {"menu_newgame.dds", 512, 128},
    {"menu_highscores.dds", 512, 128}, {"menu_options.dds", 512, 128},    {"menu_help.dds", 512, 128},
    {"menu_name.dds", 512, 128},      {"font_default.dds", 512, 512},
};

// A picture as the engine loads it, BMPs keyed on magenta; empty when it does not decode.
const RgbaImage& Get(const std::string& Name) {
  static std::map<std::string, RgbaImage> Pictures;
  auto [It, New] = Pictures.try_emplace(Name);
  if (!New) return It->second;
  const std::string Bytes = ZipEntry(DataDir / "pictures.pkr", Name);
  try {
    It->second = DecodePicture(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
  } catch (const std::exception& E) {
    ADD_FAILURE() << Name << ": " << E.what();
  }
  std::vector<uint8_t>& P = It->second.Pixels;
  if (Name.ends_with(".bmp"))
    for (size_t I = 0; I < P.size(); I += 4) P[I + 3] = P[I] == 255 && P[I + 1] == 0 && P[I + 2] == 255 ? 0 : P[I + 3];
  return It->second;
}

int Channel(const RgbaImage& P, int X, int Y, int C = 3) { return P.Pixels[(size_t(Y) * P.Width + X) * 4 + C]; }

bool PowerOfTwo(int V) { return V > 0 && (V & (V - 1)) == 0; }

TEST(InterfacePictures, TheTwentySixPicturesInLoadOrderDecodeAtPowerOfTwoSizesHoldingTheirRegions) {
  const auto Names = ZipEntries(DataDir / "pictures.pkr");
  ASSERT_EQ(Names.size(), std::size(Table));
  for (size_t I = 0; I < std::size(Table); ++I) {
    const Expected& E = Table[I];
    EXPECT_EQ(Names[I], E.Name) << "entry " << I;
    const RgbaImage& P = Get(E.Name);
    EXPECT_TRUE(PowerOfTwo(P.Width) && PowerOfTwo(P.Height)) << E.Name << ": " << P.Width << "x" << P.Height;
    EXPECT_TRUE(P.Width >= E.RegionW && P.Height >= E.RegionH) << E.Name;
    // Squeezed to 800 x 600 on screen, these are drawn from the full 1024 x 1024.
    EXPECT_TRUE(E.RegionW < 1024 || (P.Width == 1024 && P.Height == 1024)) << E.Name;
  }
}

// Every pixel of X0..X1 x Y0..Y1 (inclusive) has the channel (3: alpha) within Low..High.
struct Probe {
  const char* Name;
  int X0, Y0, X1, Y1, Low, High;
  const char* Why;
  int C = 3;
};

const Probe Probes[] = {
    {"mouse.bmp", 0, 0, 0, 0, 0, 0, "keyed around the arrow"}, {"mouse.bmp", 31, 0, 31, 0, 0, 0, "keyed"},
    {"mouse.bmp", 0, 31, 0, 31, 0, 0, "keyed"}, {"mouse.bmp", 31, 31, 31, 31, 0, 0, "keyed"},
    {"mouse.bmp", 1, 1, 1, 1, 255, 255, "the tip solid at (1, 1)"}, {"mouse.bmp", 4, 10, 4, 10, 255, 255, "arrow"},
    {"mouse.bmp", 4, 10, 4, 10, 201, 255, "the arrow is white inside", 0},
    {"button.bmp", 0, 0, 0, 0, 0, 0, "keyed corner"}, {"button.bmp", 119, 24, 119, 24, 0, 0, "keyed corner"},
    {"button.bmp", 3, 12, 116, 12, 255, 255, "the pill fills the 120 x 25 region"},
    {"button.bmp", 121, 12, 127, 12, 0, 0, "nothing shows outside the drawn region"},
    {"particles.png", 16, 16, 16, 16, 201, 255, "glow at (0, 0)"}, {"particles.png", 1, 1, 1, 1, 0, 7, "glow fades"},
    {"particles.png", 48, 8, 48, 8, 201, 255, "sparkle in the band at (32, 0)"},
    {"particles.png", 48, 16, 48, 31, 0, 7, "nothing below the band"},
    {"particles.png", 16, 16, 16, 16, 241, 255, "white, so the tint alone gives the colour", 0},
    {"particles.png", 48, 8, 48, 8, 241, 255, "white", 2},
    // The frame is drawn last: clear where the bar shows through, solid at its rim; its window
    // is x 5..42, bar and filling (drawn 4 pixels further right) cover x 1..38 of theirs.
    {"progressroom.dds", 24, 200, 24, 200, 0, 19, "clear"}, {"progressroom.dds", 2, 200, 2, 200, 151, 255, "rim"},
    {"progressroom.dds", 24, 2, 24, 2, 151, 255, "rim"}, {"progressroom.dds", 7, 20, 7, 389, 0, 39, "window left"},
    {"progressroom.dds", 40, 20, 40, 389, 0, 39, "window right"},
    {"progressbarin.dds", 20, 0, 20, 405, 241, 255, "the filling covers every row it is drawn with"},
    {"progressbar.dds", 20, 0, 20, 398, 61, 255, "the bar covers every row"},
    // The veil: soft at every edge that reaches the screen, upright or turned; even in the middle.
    {"gamemask.dds", 0, 300, 0, 300, 0, 29, "soft left"}, {"gamemask.dds", 400, 0, 400, 0, 0, 29, "soft top"},
    {"gamemask.dds", 400, 599, 400, 599, 0, 29, "soft bottom"}, {"gamemask.dds", 799, 300, 799, 300, 0, 29, "right"},
    {"gamemask.dds", 300, 700, 300, 700, 0, 0, "nothing below row 600"},
    {"gamemask.dds", 100, 100, 100, 100, 141, 255, "veil"}, {"gamemask.dds", 300, 300, 300, 300, 141, 255, "veil"},
    {"gamemask.dds", 500, 450, 500, 450, 141, 255, "veil"}, {"gamemask.dds", 700, 300, 700, 300, 141, 255, "veil"},
    {"clue.dds", 32, 32, 32, 32, 0, 99, "room for the digit"}, {"clue.dds", 32, 6, 32, 6, 201, 255, "the ring"},
    {"clue.dds", 0, 0, 0, 0, 0, 9, "clear corner"},
    {"clueselection.dds", 32, 32, 32, 32, 0, 0, "a found difference stays visible"},
    {"clueselection.dds", 32, 6, 32, 6, 201, 255, "ring"}, {"clueselection.dds", 6, 32, 6, 32, 201, 255, "ring"},
    {"help.dds", 256, 240, 256, 240, 201, 255, "text"},
    {"help.dds", 0, 490, 511, 511, 0, 0, "nothing where the screen edge hides it"},
};

TEST(InterfacePictures, ThePartsTheGameSamplesAreWhereItSamplesThem) {
  for (const Probe& P : Probes) {
    const RgbaImage& Picture = Get(P.Name);
    ASSERT_TRUE(P.X1 < Picture.Width && P.Y1 < Picture.Height) << P.Name;
    for (int Y = P.Y0; Y <= P.Y1; ++Y)
      for (int X = P.X0; X <= P.X1; ++X) {
        const int V = Channel(Picture, X, Y, P.C);
        EXPECT_TRUE(P.Low <= V && V <= P.High) << P.Name << " (" << X << ", " << Y << ") channel " << P.C << " is " << V
                                               << ": " << P.Why;
        if (!(P.Low <= V && V <= P.High)) break;
      }
  }
}

TEST(InterfacePictures, SkyFadesToAnEvenBorderSoItTurnsWithoutEdges) {
  const RgbaImage& Sky = Get("sky.jpg");
  ASSERT_EQ(Sky.Width, 512);
  for (int I = 0; I < 512; I += 8)
    for (auto [X, Y] : {std::pair{I, 0}, {I, 511}, {0, I}, {511, I}, {I, 10}})
      for (int C = 0; C < 3; ++C) EXPECT_NEAR(Channel(Sky, X, Y, C), Channel(Sky, 0, 0, C), 6) << X << "," << Y;
}

TEST(InterfacePictures, BitmapFontHasCentredRimmedGlyphsAndABlankSpace) {
  const RgbaImage& F = Get("font_default.dds");
  ASSERT_TRUE(F.Width == 512 && F.Height == 512);
  for (unsigned char Ch : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/. ")) {
    SCOPED_TRACE(std::string(1, char(Ch)));
    double Sum = 0, Cx = 0, Cy = 0;
    int Light = 0, Dark = 0, Edge = 0, Ink = 0;
    for (int Y = 0; Y < 32; ++Y)
      for (int X = 0; X < 32; ++X) {
        const uint8_t* P = &F.Pixels[((size_t((Ch / 16) * 32 + Y)) * 512 + (Ch % 16) * 32 + X) * 4];
        Ink += P[3] > 0;
        if (P[3] < 128) continue;
        Sum += 1, Cx += X + 0.5, Cy += Y + 0.5;
        Light += P[0] > 200 && P[1] > 200 && P[2] > 200;
        Dark += P[0] < 60 && P[1] < 60 && P[2] < 80;
        Edge += X == 0 || Y == 0 || X == 31 || Y == 31;
      }
    if (Ch == ' ') {
      EXPECT_EQ(Ink, 0) << "space is blank";
      continue;
    }
    ASSERT_GT(Sum, 20);
    EXPECT_GT(Light, 4) << "light face";
    EXPECT_GT(Dark, 10) << "dark rim";
    EXPECT_EQ(Edge, 0) << "glyph stays inside its cell";
    EXPECT_NEAR(Cx / Sum, 16, 3.5);
    // The full stop sits on the baseline like in any face.
    EXPECT_NEAR(Cy / Sum, Ch == '.' ? Cy / Sum : 16, 5);
  }
}

TEST(InterfacePictures, BannersCarryTheirTextInTheDrawnRegion) {
  for (const char* Name : {"menu_newgame.dds", "menu_highscores.dds", "menu_options.dds", "menu_help.dds",
                           "menu_name.dds"}) {
    const RgbaImage& B = Get(Name);
    int Opaque = 0;
    for (int Y = 0; Y < 128; ++Y)
      for (int X = 0; X < 512; ++X) Opaque += Channel(B, X, Y) > 200;
    EXPECT_GT(Opaque, 2000) << Name;
    EXPECT_EQ(Channel(B, 0, 127), 0) << Name;
  }
}

// Read as the game reads it, and nothing else in the file.
TEST(InterfaceOptions, DefaultOptionsFileChoosesWindowAndEverythingOn) {
  const auto Files = MakeZipFileTools(DataDir.string(), nullptr);
  for (const char* Key : {"Screen", "Music", "Sound", "Particle"})
    EXPECT_EQ(Files->ReadINI("Options", Key, "options.ini", 0), "True") << Key;
  std::ifstream In(DataDir / "options.ini");
  int Lines = 0;
  for (std::string Line; std::getline(In, Line);) Lines += Line.find_first_not_of(" \r") != std::string::npos;
  EXPECT_EQ(Lines, 5);
}

}  // namespace
}  // namespace pikora::test
