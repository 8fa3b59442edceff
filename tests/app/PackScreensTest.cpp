#include <gtest/gtest.h>

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
};

TEST_F(PackScreensTest, NewGameRowsHoverShowsThePanelAndMovingOffHidesItNextFrame) {
  MakePack("Alfa.pkr", 2, false, ".jpg", {{"Ana", 500}});
  MakePack("Priroda.pkr", 7, true, ".jpg", {{"Ivo", 1200}});
  MakePack("ab", 1, false);
  OnScreen(1);
  Engine->MoveMouse(3, 400, 200);  // row 1: 195..213
  Engine->MoveMouse(4, 400, 194);  // between rows 0 and 1
  ASSERT_EQ(RunFrames(4), 0);

  EXPECT_EQ(RowTexts(2, 360).at(2).Text, "ab") << "a name shorter than four characters shows whole";
  EXPECT_TRUE(Engine->TextsIn(2, "Polozaj slika").empty());
  EXPECT_EQ(Engine->TextsIn(3, "Vertikalan").size(), 1u);
  EXPECT_TRUE(Engine->TextsIn(4, "Polozaj slika").empty());
  EXPECT_EQ(SelectedPack, 1) << "moving off keeps the last hovered pack";
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
  Engine->Click(4, 590, 212);
  int16_t ScreenAfterFrame4 = 0;
  At(5, [&] { ScreenAfterFrame4 = GameScreen; });
  ASSERT_EQ(RunFrames(5), 0);

  EXPECT_EQ(ScreenAfterFrame4, 9);
  EXPECT_EQ(CurrentPackFile, "b.pkr");
  EXPECT_EQ(NumOfLevelsText, "3");
}

}  // namespace
}  // namespace pikora::test
