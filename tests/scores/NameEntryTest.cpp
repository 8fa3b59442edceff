#include <gtest/gtest.h>

#include <set>

#include "scores/HighScores.h"
#include "scores/NameEntry.h"
#include "scores/ResultsFixture.h"
#include "scores/modKeys.h"

namespace pikora::test {
namespace {

constexpr int32_t KeyA = 30, KeyC = 46, KeyE = 18, KeyI = 23, KeyJ = 36, KeyN = 49, KeyP = 25, KeyS = 31,
                  KeyU = 22, Key7 = 8;

class NameEntryTest : public ResultsTest {
 protected:
  NameEntryTest() {
    GameScreen = 55;
    Score = 950;
    PackList = {"alpha.pkr"};
    SelectedPack = 0;
  }
  // Types one key per frame, as the keyboard poll would hand them on.
  void Type(const std::vector<int32_t>& Keys) {
    for (int32_t K : Keys) {
      Engine->Press(Engine->Frame() + 1, K);
      Frame([] { ReadNameKeys(); });
    }
  }
  std::shared_ptr<TableFiles> Table = OpenWithTable();
};

TEST_F(NameEntryTest, FirstLetterIsCapitalTheRestSmallAndTheNameStopsAtEightCharacters) {
  const std::vector<std::pair<std::vector<int32_t>, std::string>> Cases = {
      {{KeyP, KeyA, KeyS}, "Pas"},
      // Backspace on an empty name too; emptied, the next letter is a capital again.
      {{KeyP, KeyA, Key::Backspace, Key::Backspace, Key::Backspace, KeyS}, "S"},
      {{KeyS, KeyU, KeyN, KeyC, KeyE, Key::Space, KeyS, KeyJ, KeyA, KeyJ, KeyI}, "Sunce sj"},
      // A leading space or digit is kept and the letter after it is small.
      {{Key::Space, KeyA}, " a"},
      {{Key7, KeyA}, "7a"}};
  std::set<std::string> Heard;
  for (const auto& [Keys, Name] : Cases) {
    PlayerName.clear();
    Engine->ClearCalls();
    Type(Keys);
    EXPECT_EQ(PlayerName, Name);
    EXPECT_EQ(SoundsPlayed().size(), Keys.size()) << Name << ": every key sounds";
    for (const auto& S : SoundsPlayed()) Heard.insert(S);
  }
  EXPECT_EQ(Heard, (std::set<std::string>{"1key", "2key", "3key", "4key"})) << "one of four clicks per key, each heard";
  EXPECT_EQ(GameScreen, 55);
  GameOptions.Sound = false;
  Type({KeyP});
  EXPECT_EQ(SoundsPlayed().size(), 2u) << "none with sound off";
}

TEST_F(NameEntryTest, EveryKeyTypesItsCharacterOnTheUsLayout) {
  const std::vector<std::pair<int32_t, std::string>> Rows = {
      {2, "1234567890"}, {16, "qwertyuiop"}, {30, "asdfghjkl"}, {44, "zxcvbnm"}};
  for (const auto& [First, Chars] : Rows)
    for (size_t I = 0; I < Chars.size(); ++I) {
      PlayerName = "x";
      Type({First + int32_t(I)});
      EXPECT_EQ(PlayerName, "x" + Chars.substr(I, 1)) << "scan code " << First + int32_t(I);
    }
}

TEST_F(NameEntryTest, KeysOfOneFrameApplyInTheirFixedOrder) {
  const int32_t F = Engine->Frame() + 1;
  for (int32_t K : {KeyA, KeyP, Key7, Key::Backspace}) Engine->Press(F, K);
  Frame([] { ReadNameKeys(); });
  EXPECT_EQ(PlayerName, "7a") << "digits, letters A to Z, Space, then Backspace";
}

TEST_F(NameEntryTest, EnterWithNothingTypedStoresIgracXAndKeepsItForTheNextEntry) {
  Type({Key::Enter});
  EXPECT_EQ(PlayerName, "Igrac X");
  EXPECT_EQ(Table->Log[1], "Add 950 Igrac X 1 10");
  EXPECT_EQ(GameScreen, 2);
  GameScreen = 55;
  Type({KeyA});
  EXPECT_EQ(PlayerName, "Igrac Xa");
}

TEST_F(NameEntryTest, ANameOfSpacesIsStoredAsIgracXAndReadsBackAsTheTableShowsIt) {
  OpenWithPack(1, true, {{"Ana", 500}});
  Type({Key::Space, Key::Space, Key::Enter});
  EXPECT_EQ(PlayerName, "Igrac X");
  const int32_t F = Frame([] { DrawPackHighScores(); });
  EXPECT_EQ(Engine->TextsIn(F, "Igrac X").size(), 1u);
  EXPECT_EQ(Files->ReadINI("scores", "1_name", "0hscore.ini", 0), "Igrac X");
}

TEST_F(NameEntryTest, EnterOrEscapeWithALetterInOneFrameStoreTheNameAsItWas) {
  for (int32_t Ending : {Key::Enter, Key::Escape}) {
    GameScreen = 55;
    PlayerName.clear();
    Table->Log.clear();
    Type({KeyP, KeyA});
    const int32_t F = Engine->Frame() + 1;
    Engine->Press(F, Ending);
    Engine->Press(F, KeyS);
    Frame([] { ReadNameKeys(); });
    EXPECT_EQ(Table->Log.at(1), "Add 950 Pa 1 10") << Ending;
    EXPECT_EQ(PlayerName, "Pas");
    EXPECT_EQ(GameScreen, 2);
  }
}

TEST_F(NameEntryTest, TheUnesiButtonIsStrict) {
  PlayerName = "Pas";
  SideMenuVisible = true;
  Frame([] { NameEntryScreen(); });
  EXPECT_FALSE(SideMenuVisible);
  for (auto [X, Y] : std::vector<std::pair<int, int>>{{340, 300}, {460, 300}, {400, 288}, {400, 313}}) {
    Engine->Click(Engine->Frame() + 1, X, Y);
    Frame([] { NameEntryScreen(); });
    EXPECT_EQ(GameScreen, 55) << X << "," << Y;
  }
  EXPECT_EQ(Table->Log.size(), 0u);
  Engine->Click(Engine->Frame() + 1, 459, 312);
  Frame([] { NameEntryScreen(); });
  EXPECT_EQ(GameScreen, 2);
  EXPECT_EQ(Table->Log[1], "Add 950 Pas 1 10");
}

TEST_F(NameEntryTest, SparklesOnlyWithParticlesOn) {
  Frame([] { NameEntryScreen(); });
  int Live = 0;
  for (const auto& P : Particles) Live += P.Life > 0;
  EXPECT_GE(Live, 1);
  EXPECT_LE(Live, 4);
  for (const auto& P : Particles)
    if (P.Life > 0) {
      EXPECT_TRUE(P.Kind == 4 || P.Kind == 7);
      EXPECT_GE(P.Life, 40);
      EXPECT_LE(P.Life, 60);
    }
  Particles = {};
  GameOptions.Particle = false;
  Frame([] { NameEntryScreen(); });
  for (const auto& P : Particles) EXPECT_LT(P.Life, 1);
}

}  // namespace
}  // namespace pikora::test
