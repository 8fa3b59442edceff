// The committed picture packs, read through the game's file component and parsers. Their
// layout, rectangles, picture sizes and changes are judged by the pack check, which
// PackCheck.TheShippedPacksAndAWellMadePackPassWithoutAWord runs on each of them; this says
// what that check leaves to taste.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/Components.h"
#include "engine/FileTools.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

// A pack unpacked into a game folder of its own and read through the game's file component.
struct Pack {
  std::string Name;
  TempFolder Game;
  std::shared_ptr<FileTools> Files;
  std::vector<std::string> Entries;
  int32_t NumOfLevels = 0;
  bool Vertical = false;

  explicit Pack(const fs::path& Path) : Name(Path.filename().string()), Entries(ZipEntries(Path)) {
    fs::create_directories(Game / "packs");
    fs::copy_file(Path, Game / "packs" / Name);
    Files = MakeZipFileTools(Game.Path.string(), nullptr);
    Files->OpenArchive("packs/" + Name, 0, ArchivePassword, 0);
    Files->ExtractAll("", 0);
    ParseLevelCount(Info("NumOfLevels"), NumOfLevels);
    ConvertBoolean(Info("Vertical"), Vertical);
  }
  std::string Info(const std::string& Key) const { return Files->ReadINI("General", Key, "packinfo.ini", 0); }
  bool Has(const std::string& Entry) const { return std::count(Entries.begin(), Entries.end(), Entry) == 1; }
};

std::vector<std::unique_ptr<Pack>> Packs() {
  std::vector<std::unique_ptr<Pack>> All;
  for (const auto& E : fs::directory_iterator(fs::path(PIKORA_SOURCE_DIR) / "data" / "packs"))
    if (E.path().extension() == ".pkr") All.push_back(std::make_unique<Pack>(E.path()));
  return All;
}

// The game's fonts cover the ANSI code page; the packs keep to plain printable ASCII.
bool PlainText(const std::string& S) {
  return !S.empty() && S.size() <= 254 && std::all_of(S.begin(), S.end(), [](char C) { return C >= 32 && C < 127; });
}

TEST(PacksData, ThreeOrMorePacksInBothLayoutsAndBothPictureFormats) {
  bool Portrait = false, Landscape = false, Bmp = false, Jpg = false;
  uintmax_t Total = 0;
  const auto All = Packs();
  ASSERT_GE(All.size(), 3u);
  for (const auto& P : All) {
    EXPECT_GE(P->NumOfLevels, 10) << P->Name;
    (P->Vertical ? Portrait : Landscape) = true;
    (P->Has("1.bmp") ? Bmp : Jpg) = true;
    Total += fs::file_size(P->Game / "packs" / P->Name);
  }
  EXPECT_TRUE(Portrait && Landscape);
  EXPECT_TRUE(Bmp && Jpg);
  EXPECT_LT(Total, 6u * 1024 * 1024) << "the packs should stay a few megabytes in all";
}

// Plain texts, one picture format a level, and rectangles a player can hit.
TEST(PacksData, TextsArePlainAndRectanglesAtLeastTwelvePixelsEachWay) {
  for (const auto& P : Packs()) {
    SCOPED_TRACE(P->Name);
    EXPECT_TRUE(PlainText(P->Info("PackInfo")) && P->Info("PackInfo").find("[e]") != std::string::npos);
    for (int32_t Level = 1; Level <= P->NumOfLevels; ++Level) {
      const std::string S = std::to_string(Level);
      EXPECT_TRUE(PlainText(P->Files->ReadINI(S, "PicInfo", "picinfo.ini", 0))) << "level " << S;
      EXPECT_NE(P->Has(S + ".jpg") && P->Has(S + "x.jpg"), P->Has(S + ".bmp") && P->Has(S + "x.bmp")) << "level " << S;
      for (int K = 1; K <= 5; ++K) {
        float E[4] = {};
        for (int I = 0; const char* Edge : {"Left", "Right", "Top", "Bottom"})
          ParseEdge(P->Files->ReadINI(S, EdgeKey(K, Edge), "picinfo.ini", 0), E[I++]);
        EXPECT_TRUE(E[1] - E[0] >= 11 && E[3] - E[2] >= 11) << "level " << S << ", difference " << K;
      }
    }
  }
}

// Read as the game reads it: ten sorted places, one level won quickly enters the table and a
// strong run reaches its top half.
TEST(PacksData, HighScoreTablesHoldTenSortedEntriesABeginnerCanClimb) {
  for (const auto& P : Packs()) {
    SCOPED_TRACE(P->Name);
    P->Files->LoadHighScores("hscore.ini", 10, 0, 0);
    float Previous = 1e9f;
    for (int16_t Place = 1; Place <= 10; ++Place) {
      const float Score = P->Files->GetHighScore(Place);
      EXPECT_TRUE(PlainText(P->Files->GetHighScoreName(Place))) << "place " << Place;
      EXPECT_TRUE(Score <= Previous && Score >= 50 && Score <= 2000) << "place " << Place << ": " << Score;
      Previous = Score;
    }
    EXPECT_EQ(P->Files->ReadINI("scores", "11_name", "hscore.ini", 0), "");
    EXPECT_LE(P->Files->GetHighScorePlace(400), 10);
    EXPECT_LE(P->Files->GetHighScorePlace(1200), 5);
  }
}

}  // namespace
}  // namespace pikora::test
