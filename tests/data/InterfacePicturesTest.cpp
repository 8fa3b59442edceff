// Checks the committed interface pictures (data/game data/pictures.pkr) and options.ini: the
// archive holds exactly the 26 pictures, each decodes at a power-of-two size large enough for
// the region the screens draw, and the parts the game relies on are where it samples them.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Components.h"
#include "engine/DdsImage.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

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

struct Picture {
  int W = 0, H = 0;
  Bytes Rgba;  // straight alpha, row by row
  const uint8_t* At(int X, int Y) const { return &Rgba[(static_cast<size_t>(Y) * W + X) * 4]; }
  int Alpha(int X, int Y) const { return At(X, Y)[3]; }
};

std::vector<std::pair<std::string, Bytes>> ReadArchive() {
  int Error = 0;
  zip_t* Zip = zip_open((DataDir / "pictures.pkr").c_str(), ZIP_RDONLY, &Error);
  if (!Zip) return {};
  std::vector<std::pair<std::string, Bytes>> Out;
  for (zip_int64_t I = 0; I < zip_get_num_entries(Zip, 0); ++I) {
    zip_stat_t St;
    zip_stat_index(Zip, I, 0, &St);
    Bytes Data(St.size);
    zip_file_t* F = zip_fopen_index(Zip, I, 0);
    zip_int64_t Read = F ? zip_fread(F, Data.data(), St.size) : -1;
    if (F) zip_fclose(F);
    if (Read != static_cast<zip_int64_t>(St.size)) Data.clear();
    Out.emplace_back(St.name, std::move(Data));
  }
  zip_close(Zip);
  return Out;
}

bool PowerOfTwo(int V) { return V > 0 && (V & (V - 1)) == 0; }

// DDS pictures through the game's own reader.
Picture DecodeDds(const Bytes& Data, std::string& Problem) {
  Picture P;
  try {
    pikora::RgbaImage Image = pikora::DecodeDds(Data.data(), Data.size());
    P.W = Image.Width, P.H = Image.Height, P.Rgba = std::move(Image.Pixels);
  } catch (const pikora::DdsError& Error) {
    Problem = Error.what();
  }
  return P;
}

// JPEG, PNG and BMP through SDL2_image, as the engine loads them; Key makes magenta transparent.
Picture DecodeImage(const Bytes& Data, bool Key, std::string& Problem) {
  Picture P;
  SDL_RWops* Rw = SDL_RWFromConstMem(Data.data(), static_cast<int>(Data.size()));
  SDL_Surface* Loaded = IMG_Load_RW(Rw, 1);
  if (!Loaded) {
    Problem = IMG_GetError();
    return P;
  }
  SDL_Surface* S = SDL_ConvertSurfaceFormat(Loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(Loaded);
  P.W = S->w;
  P.H = S->h;
  P.Rgba.resize(static_cast<size_t>(P.W) * P.H * 4);
  for (int Y = 0; Y < P.H; ++Y)
    std::memcpy(&P.Rgba[static_cast<size_t>(Y) * P.W * 4], static_cast<uint8_t*>(S->pixels) + Y * S->pitch, P.W * 4);
  SDL_FreeSurface(S);
  if (Key)
    for (size_t I = 0; I < P.Rgba.size(); I += 4)
      if (P.Rgba[I] == 255 && P.Rgba[I + 1] == 0 && P.Rgba[I + 2] == 255) P.Rgba[I + 3] = 0;
  return P;
}

class InterfacePictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Entries = new std::vector<std::pair<std::string, Bytes>>(ReadArchive());
    Pictures = new std::map<std::string, Picture>();
    Problems = new std::map<std::string, std::string>();
    for (const auto& [Name, Data] : *Entries) {
      std::string Problem;
      std::string Ext = Name.substr(Name.rfind('.') + 1);
      Picture P = Ext == "dds" ? DecodeDds(Data, Problem) : DecodeImage(Data, Ext == "bmp", Problem);
      if (Problem.empty()) (*Pictures)[Name] = std::move(P);
      else (*Problems)[Name] = Problem;
    }
  }
  static void TearDownTestSuite() {
    delete Entries;
    delete Pictures;
    delete Problems;
  }
  static const Picture& Get(const std::string& Name) {
    static Picture Empty;
    auto It = Pictures->find(Name);
    return It == Pictures->end() ? Empty : It->second;
  }

  static std::vector<std::pair<std::string, Bytes>>* Entries;
  static std::map<std::string, Picture>* Pictures;
  static std::map<std::string, std::string>* Problems;
};
std::vector<std::pair<std::string, Bytes>>* InterfacePictures::Entries = nullptr;
std::map<std::string, Picture>* InterfacePictures::Pictures = nullptr;
std::map<std::string, std::string>* InterfacePictures::Problems = nullptr;

TEST_F(InterfacePictures, ArchiveHoldsExactlyTheTwentySixPicturesInLoadOrder) {
  ASSERT_EQ(Entries->size(), std::size(Table));
  for (size_t I = 0; I < std::size(Table); ++I) EXPECT_EQ((*Entries)[I].first, Table[I].Name) << "entry " << I;
}

TEST_F(InterfacePictures, EveryPictureDecodesAtAPowerOfTwoSizeHoldingItsRegion) {
  for (const auto& E : Table) {
    SCOPED_TRACE(E.Name);
    auto Problem = Problems->find(E.Name);
    EXPECT_TRUE(Problem == Problems->end()) << Problem->second;
    const Picture& P = Get(E.Name);
    ASSERT_FALSE(P.Rgba.empty());
    EXPECT_TRUE(PowerOfTwo(P.W) && PowerOfTwo(P.H)) << P.W << "x" << P.H;
    EXPECT_GE(P.W, E.RegionW);
    EXPECT_GE(P.H, E.RegionH);
  }
  // Squeezed to 800 × 600 on screen, these are drawn from the full 1024 × 1024.
  for (const char* Name : {"back_game_h.jpg", "back_game_v.jpg", "background.jpg", "brightlogo.jpg"}) {
    EXPECT_EQ(Get(Name).W, 1024) << Name;
    EXPECT_EQ(Get(Name).H, 1024) << Name;
  }
}

TEST_F(InterfacePictures, CursorAndButtonCarryTheMagentaKey) {
  const Picture& Mouse = Get("mouse.bmp");
  ASSERT_EQ(Mouse.W, 32);
  // Transparent around the arrow, the tip solid at (1, 1).
  EXPECT_EQ(Mouse.Alpha(0, 0), 0);
  EXPECT_EQ(Mouse.Alpha(31, 0), 0);
  EXPECT_EQ(Mouse.Alpha(0, 31), 0);
  EXPECT_EQ(Mouse.Alpha(31, 31), 0);
  EXPECT_EQ(Mouse.Alpha(1, 1), 255);
  EXPECT_EQ(Mouse.Alpha(4, 10), 255);
  EXPECT_GT(Mouse.At(4, 10)[0], 200) << "the arrow is white inside";

  const Picture& Button = Get("button.bmp");
  ASSERT_GE(Button.W, 120);
  EXPECT_EQ(Button.Alpha(0, 0), 0);
  EXPECT_EQ(Button.Alpha(119, 24), 0);
  EXPECT_EQ(Button.Alpha(Button.W - 1, Button.H - 1), 0);
  EXPECT_EQ(Button.Alpha(60, 12), 255);
  EXPECT_EQ(Button.Alpha(3, 12), 255) << "the pill fills the 120 × 25 region";
  EXPECT_EQ(Button.Alpha(116, 12), 255);
  // Outside the drawn region nothing shows.
  for (int X = 121; X < Button.W; ++X) EXPECT_EQ(Button.Alpha(X, 12), 0);
}

TEST_F(InterfacePictures, ParticleFramesSitWhereTheKindsSampleThem) {
  const Picture& P = Get("particles.png");
  ASSERT_EQ(P.W, 64);
  ASSERT_EQ(P.H, 32);
  EXPECT_GT(P.Alpha(16, 16), 200) << "glow at (0, 0)";
  EXPECT_LT(P.Alpha(1, 1), 8);
  EXPECT_GT(P.Alpha(48, 8), 200) << "sparkle in the band at (32, 0)";
  for (int Y = 16; Y < 32; ++Y) EXPECT_LT(P.Alpha(48, Y), 8) << "below the band, row " << Y;
  // White, so the tint alone gives the colour.
  EXPECT_GT(P.At(16, 16)[0], 240);
  EXPECT_GT(P.At(48, 8)[2], 240);
}

TEST_F(InterfacePictures, TimeBarPicturesFitTheirSampledRegions) {
  const Picture& Room = Get("progressroom.dds");
  const Picture& Bar = Get("progressbar.dds");
  const Picture& Fill = Get("progressbarin.dds");
  ASSERT_GE(Room.H, 406);
  ASSERT_GE(Bar.H, 399);
  ASSERT_GE(Fill.H, 406);
  // The frame is drawn last: clear where the bar shows through, solid at its rim.
  EXPECT_LT(Room.Alpha(24, 200), 20);
  EXPECT_GT(Room.Alpha(2, 200), 150);
  EXPECT_GT(Room.Alpha(24, 2), 150);
  // The filling covers the tube over every row it can be drawn with; the frame's window
  // (x 5..42 of the frame, x 1..38 of bar and filling, which are drawn 4 pixels further right).
  for (int Y = 0; Y < 406; Y += 5) EXPECT_GT(Fill.Alpha(20, Y), 240) << "filling row " << Y;
  for (int Y = 0; Y < 399; Y += 7) EXPECT_GT(Bar.Alpha(20, Y), 60) << "bar row " << Y;
  for (int Y = 20; Y < 390; Y += 10) {
    EXPECT_LT(Room.Alpha(7, Y), 40) << "frame window left, row " << Y;
    EXPECT_LT(Room.Alpha(40, Y), 40) << "frame window right, row " << Y;
  }
}

TEST_F(InterfacePictures, MaskIsAFeatheredVeilOverBothUsedRegions) {
  const Picture& M = Get("gamemask.dds");
  ASSERT_GE(M.W, 800);
  ASSERT_GE(M.H, 800);
  // Soft at every edge that reaches the screen, upright or turned; even in the middle.
  EXPECT_LT(M.Alpha(0, 300), 30);
  EXPECT_LT(M.Alpha(400, 0), 30);
  EXPECT_LT(M.Alpha(400, 599), 30);
  EXPECT_LT(M.Alpha(799, 300), 30);
  EXPECT_EQ(M.Alpha(300, 700), 0) << "nothing below row 600";
  for (auto [X, Y] : std::vector<std::pair<int, int>>{{100, 100}, {300, 300}, {500, 450}, {700, 300}})
    EXPECT_GT(M.Alpha(X, Y), 140) << X << "," << Y;
}

TEST_F(InterfacePictures, MarkerPicturesLeaveTheirMiddleFree) {
  const Picture& Clue = Get("clue.dds");
  const Picture& Sel = Get("clueselection.dds");
  EXPECT_LT(Clue.Alpha(32, 32), 100) << "room for the digit";
  EXPECT_GT(Clue.Alpha(32, 6), 200) << "the ring";
  EXPECT_LT(Clue.Alpha(0, 0), 10);
  EXPECT_EQ(Sel.Alpha(32, 32), 0) << "a found difference stays visible";
  EXPECT_GT(Sel.Alpha(32, 6), 200);
  EXPECT_GT(Sel.Alpha(6, 32), 200);
}

TEST_F(InterfacePictures, SkyFadesToAnEvenBorderSoItTurnsWithoutEdges) {
  const Picture& Sky = Get("sky.jpg");
  ASSERT_EQ(Sky.W, 512);
  const uint8_t* Ref = Sky.At(0, 0);
  for (int I = 0; I < 512; I += 8)
    for (auto [X, Y] : std::vector<std::pair<int, int>>{{I, 0}, {I, 511}, {0, I}, {511, I}, {I, 10}})
      for (int C = 0; C < 3; ++C) EXPECT_NEAR(Sky.At(X, Y)[C], Ref[C], 6) << X << "," << Y;
}

TEST_F(InterfacePictures, BitmapFontHasCentredRimmedGlyphs) {
  const Picture& F = Get("font_default.dds");
  ASSERT_EQ(F.W, 512);
  ASSERT_EQ(F.H, 512);
  auto Cell = [&](unsigned char Code, auto&& Visit) {
    for (int Y = 0; Y < 32; ++Y)
      for (int X = 0; X < 32; ++X) Visit(X, Y, F.At((Code % 16) * 32 + X, (Code / 16) * 32 + Y));
  };
  std::string Needed = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/.";
  for (unsigned char Ch : Needed) {
    SCOPED_TRACE(std::string(1, static_cast<char>(Ch)));
    double Sum = 0, Cx = 0, Cy = 0;
    int Light = 0, Dark = 0, Edge = 0;
    Cell(Ch, [&](int X, int Y, const uint8_t* P) {
      if (P[3] < 128) return;
      Sum += 1;
      Cx += X + 0.5;
      Cy += Y + 0.5;
      if (P[0] > 200 && P[1] > 200 && P[2] > 200) ++Light;
      if (P[0] < 60 && P[1] < 60 && P[2] < 80) ++Dark;
      if (X == 0 || Y == 0 || X == 31 || Y == 31) ++Edge;
    });
    ASSERT_GT(Sum, 20);
    EXPECT_GT(Light, 4) << "light face";
    EXPECT_GT(Dark, 10) << "dark rim";
    EXPECT_EQ(Edge, 0) << "glyph stays inside its cell";
    EXPECT_NEAR(Cx / Sum, 16, 3.5);
    // The full stop sits on the baseline like in any face.
    if (Ch != '.') {
      EXPECT_NEAR(Cy / Sum, 16, 5);
    }
  }
  int Ink = 0;
  Cell(' ', [&](int, int, const uint8_t* P) { Ink += P[3] > 0; });
  EXPECT_EQ(Ink, 0) << "space is blank";
}

TEST_F(InterfacePictures, TextPicturesCarryVisibleContent) {
  // Banners: text in the upper part of the 512 × 128 region; help: text within the visible rows.
  for (const char* Name : {"menu_newgame.dds", "menu_highscores.dds", "menu_options.dds", "menu_help.dds",
                           "menu_name.dds"}) {
    const Picture& B = Get(Name);
    int Opaque = 0;
    for (int Y = 0; Y < 128; ++Y)
      for (int X = 0; X < 512; ++X) Opaque += B.Alpha(X, Y) > 200;
    EXPECT_GT(Opaque, 2000) << Name;
    EXPECT_EQ(B.Alpha(0, 127), 0) << Name;
  }
  const Picture& Help = Get("help.dds");
  int Below = 0;
  for (int Y = 490; Y < 512; ++Y)
    for (int X = 0; X < 512; ++X) Below += Help.Alpha(X, Y) > 0;
  EXPECT_EQ(Below, 0) << "nothing is put where the screen edge hides it";
  EXPECT_GT(Help.Alpha(256, 240), 200);
}

// Read as the game reads it, and nothing else in the file.
TEST(InterfaceOptions, DefaultOptionsFileChoosesWindowAndEverythingOn) {
  const auto Files = pikora::MakeZipFileTools(DataDir.string(), nullptr);
  for (const char* Key : {"Screen", "Music", "Sound", "Particle"})
    EXPECT_EQ(Files->ReadINI("Options", Key, "options.ini", 0), "True") << Key;
  std::ifstream In(DataDir / "options.ini");
  int Lines = 0;
  for (std::string Line; std::getline(In, Line);) Lines += Line.find_first_not_of(" \r") != std::string::npos;
  EXPECT_EQ(Lines, 5);
}

}  // namespace
