#include <gtest/gtest.h>

#include <array>

#include "resources/Packs.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

class PackScreensTest : public GameTest {
 protected:
  // Packs are found after frame 1; the screen is chosen before frame 2 is drawn.
  void OnScreen(int16_t Screen) {
    At(2, [Screen] { GameScreen = Screen; });
  }
  std::vector<RecordedCall> RowTexts(int32_t Frame, float X) {
    std::vector<RecordedCall> Out;
    for (const auto& C : Engine->CallsIn(Frame, "DrawText"))
      if (C.Name == "titleS" && C[0] == X) Out.push_back(C);
    return Out;
  }
  static constexpr const char* UpMark = "\u25B2";
  static constexpr const char* DownMark = "\u25BC";
};

TEST_F(PackScreensTest, NewGameRowsHoverShowsThePanelAndMovingOffHidesItNextFrame) {
  MakePack("Alfa.pkr", 2, false, ".jpg", {{"Ana", 500}});
  MakePack("Priroda.pkr", 7, true, ".jpg", {{"Ivo", 1200}});
  MakePack("ab", 1, false);
  OnScreen(1);
  Engine->MoveMouse(3, 400, 200);  // row 1: 195..213
  Engine->Wheel(3, -2);            // a list that fits does not move
  Engine->MoveMouse(4, 400, 194);  // between rows 0 and 1
  ASSERT_EQ(RunFrames(4), 0);
  for (int32_t F : {2, 3, 4})
    for (const char* Mark : {UpMark, DownMark}) EXPECT_TRUE(Engine->TextsIn(F, Mark).empty()) << F;

  EXPECT_EQ(RowTexts(2, 360).at(2).Text, "ab") << "a name shorter than four characters shows whole";
  EXPECT_TRUE(Engine->TextsIn(2, "Polozaj slika").empty());
  EXPECT_EQ(Engine->TextsIn(3, "Vertikalan").size(), 1u);
  EXPECT_TRUE(Engine->TextsIn(4, "Polozaj slika").empty());
  EXPECT_EQ(SelectedPack, 1) << "moving off keeps the last hovered pack";
}

TEST_F(PackScreensTest, ThePanelShowsTheBestResultAsTheTableReadsIt) {
  const std::string Long(5000, 'W');
  const std::vector<std::array<std::string, 4>> Cases = {  // score, name as stored; as shown
      {" 4200 ", "Ana\tMarija\r", "4200", "Ana Marija"},
      {"12abc", Long, "0", Long.substr(0, 100)},
      {"", "", "", ""}};
  for (size_t I = 0; I < Cases.size(); ++I) MakePack(std::string(1, char('a' + I)) + ".pkr", 1, false);
  At(2, [&] {
    GameScreen = 1;
    for (size_t I = 0; I < Cases.size(); ++I)
      WriteFile(Folder / (std::to_string(I) + "hscore.ini"),
                "[scores]\n1_score=" + Cases[I][0] + "\n1_name=" + Cases[I][1] + "\n");
  });
  for (int I = 0; I < 3; ++I) Engine->MoveMouse(3 + I, 400, 180 + 20 * I);
  ASSERT_EQ(RunFrames(5), 0);
  for (size_t I = 0; I < Cases.size(); ++I) {
    std::vector<std::string> Drawn;
    for (const auto& C : Engine->CallsIn(int32_t(3 + I), "DrawText"))
      if (C[1] == 420) Drawn.push_back(C.Text);
    EXPECT_EQ(Drawn, (std::vector<std::string>{Cases[I][2], Cases[I][3]})) << I;
  }
}

// A click on a row of either list starts that pack's run in the same frame.
class PackRowClickTest : public PackScreensTest, public ::testing::WithParamInterface<int16_t> {};

TEST_P(PackRowClickTest, AClickOnARowStartsTheRunInTheSameFrame) {
  const bool NewGame = GetParam() == 1;
  MakePack("a.pkr", 2, false);
  MakePack("b.pkr", 3, true);
  OnScreen(GetParam());
  Engine->Click(3, NewGame ? 500 : 590, NewGame ? 196 : 212);
  int16_t ScreenAfterFrame3 = 0;
  At(4, [&] { ScreenAfterFrame3 = GameScreen; });
  ASSERT_EQ(RunFrames(4), 0);
  EXPECT_EQ(ScreenAfterFrame3, 9);
  EXPECT_EQ(CurrentPackFile, "b.pkr");
  EXPECT_EQ(NumOfLevelsText, "3");
  EXPECT_EQ(RowTexts(3, NewGame ? 360 : 405).size(), 2u) << "the rows after the clicked one are still drawn";
}

INSTANTIATE_TEST_SUITE_P(NewGameAndHighScores, PackRowClickTest, ::testing::Values(int16_t(1), int16_t(2)));

// Thirty packs: the first fifteen rows stand where they always stood, the wheel and the
// marks move the list a row at a time, and a click that starts a pack is used up by it.
class PackListScrollTest : public PackScreensTest, public ::testing::WithParamInterface<int16_t> {};

TEST_P(PackListScrollTest, WheelAndMarksReachEveryPackAndAStartingClickActsOnce) {
  const int16_t Screen = GetParam();
  const float RowX = Screen == 1 ? 360 : 405;
  const int32_t MarkX = Screen == 1 ? 512 : 500;
  auto Name = [](int I) { return std::string("Paket") + (I < 9 ? "0" : "") + std::to_string(I + 1); };
  for (int I = 0; I < 30; ++I) MakePack(Name(I) + ".pkr", 1, true);
  OnScreen(Screen);
  Engine->Wheel(3, -4);
  Engine->Wheel(4, -100);
  Engine->Wheel(5, 3);
  Engine->Click(6, MarkX, 160);  // the up mark
  Engine->Click(7, MarkX, 485);  // the down mark
  Engine->Click(8, 500, 425);  // row 12 lies over START
  int16_t ScreenAfterStart = 0;
  At(9, [&] { ScreenAfterStart = GameScreen; });
  ASSERT_EQ(RunFrames(9), 0);

  // Frame, first pack shown, marks shown.
  for (auto [Frame, First, Up, Down] : std::vector<std::tuple<int32_t, int, bool, bool>>{
           {2, 0, false, true}, {3, 4, true, true}, {4, 15, true, false}, {5, 12, true, true},
           {6, 11, true, true}, {7, 12, true, true}}) {
    const auto Rows = RowTexts(Frame, RowX);
    ASSERT_EQ(Rows.size(), 15u) << Frame;
    for (size_t I = 0; I < Rows.size(); ++I) {
      EXPECT_EQ(Rows[I].Text, Name(First + int(I))) << Frame;
      EXPECT_EQ(Rows[I][1], 175 + 20 * double(I)) << Frame;
    }
    EXPECT_EQ(!Engine->TextsIn(Frame, UpMark).empty(), Up) << Frame;
    EXPECT_EQ(!Engine->TextsIn(Frame, DownMark).empty(), Down) << Frame;
  }
  EXPECT_EQ(CurrentPackFile, Name(24) + ".pkr");
  EXPECT_EQ(ScreenAfterStart, 9) << "the click that chose the pack did not also press START";
}

INSTANTIATE_TEST_SUITE_P(NewGameAndHighScores, PackListScrollTest, ::testing::Values(int16_t(1), int16_t(2)),
                         [](const auto& Info) { return Info.param == 1 ? "NovaIgra" : "TopLista"; });

}  // namespace
}  // namespace pikora::test
