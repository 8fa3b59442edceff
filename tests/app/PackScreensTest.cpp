#include <gtest/gtest.h>

#include <array>

#include "resources/Packs.h"
#include "support/PackScript.h"

namespace pikora::test {
namespace {

class PackScreensTest : public PackScriptTest {
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
  const uint32_t White = ColourARGB(255, 255, 255, 255);
};

TEST_F(PackScreensTest, NewGameRowsHoverShowsThePanelAndMovingOffHidesItNextFrame) {
  MakePack("Alfa.pkr", 2, false, ".jpg", {{"Ana", 500}});
  MakePack("Priroda.pkr", 7, true, ".jpg", {{"Ivo", 1200}});
  MakePack("ab", 1, false);
  OnScreen(1);
  Engine->MoveMouse(3, 400, 200);  // row 1: 195..213
  Engine->MoveMouse(4, 400, 194);  // between rows 0 and 1
  ASSERT_EQ(RunFrames(4), 0);

  const auto Rows = RowTexts(2, 360);
  ASSERT_EQ(Rows.size(), 3u);
  EXPECT_EQ(Rows[0].Text, "Alfa");
  EXPECT_EQ(Rows[1].Text, "Priroda");
  EXPECT_EQ(Rows[2].Text, "ab") << "a name shorter than four characters shows whole";
  EXPECT_EQ(Rows[2].Num, (std::vector<double>{360, 215, 305, 18, double(White), 5}));
  EXPECT_TRUE(Engine->TextsIn(2, "Polozaj slika").empty());

  EXPECT_EQ(SelectedPack, 1);
  EXPECT_EQ(RowTexts(3, 360)[1][4], double(ColourARGB(255, 100, 255, 100)));
  EXPECT_EQ(Engine->TextsIn(3, "Vertikalan").size(), 1u);
  EXPECT_EQ(Engine->TextsIn(3, "7").size(), 1u);
  EXPECT_EQ(NumOfLevelsText, "7");
  const auto Best = Engine->TextsIn(3, "Ivo");
  ASSERT_EQ(Best.size(), 1u);
  EXPECT_EQ(Best[0][0], 80);
  const auto Info = Engine->TextsIn(3, "Paket Priroda.pkr\r\ndrugi red");
  ASSERT_EQ(Info.size(), 1u);
  EXPECT_EQ(Info[0].Num, (std::vector<double>{314, 475, 375, 120, double(ColourARGB(255, 230, 255, 255)), 5}));

  EXPECT_TRUE(Engine->TextsIn(4, "Polozaj slika").empty());
  EXPECT_EQ(RowTexts(4, 360)[1][4], double(White));
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

TEST_F(PackScreensTest, AClickOnANewGameRowStartsTheRunInTheSameFrame) {
  MakePack("a.pkr", 2, false);
  MakePack("b.pkr", 3, true);
  OnScreen(1);
  Engine->Click(3, 500, 196);
  int16_t ScreenAfterFrame3 = 0;
  At(4, [&] { ScreenAfterFrame3 = GameScreen; });
  ASSERT_EQ(RunFrames(4), 0);
  EXPECT_EQ(ScreenAfterFrame3, 9);
  EXPECT_EQ(CurrentPackFile, "b.pkr");
  EXPECT_EQ(RowTexts(3, 360).size(), 2u) << "the rows after the clicked one are still drawn";
}

TEST_F(PackScreensTest, HighScoreRowsHoverAndAClickStartsTheRunToo) {
  MakePack("a.pkr", 2, false);
  MakePack("b.pkr", 3, true);
  OnScreen(2);
  Engine->MoveMouse(3, 410, 176);
  Engine->Click(4, 590, 212);
  int16_t ScreenAfterFrame4 = 0;
  At(5, [&] { ScreenAfterFrame4 = GameScreen; });
  ASSERT_EQ(RunFrames(5), 0);

  const auto Rows = RowTexts(3, 405);
  ASSERT_EQ(Rows.size(), 2u);
  EXPECT_EQ(Rows[0][4], double(ColourARGB(255, 255, 255, 0)));
  EXPECT_EQ(Rows[1][4], double(White));
  EXPECT_EQ(ScreenAfterFrame4, 9);
  EXPECT_EQ(CurrentPackFile, "b.pkr");
  EXPECT_EQ(NumOfLevelsText, "3");
}

}  // namespace
}  // namespace pikora::test
