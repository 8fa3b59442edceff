#include <gtest/gtest.h>

#include <set>

#include "resources/LevelData.h"
#include "resources/Packs.h"
#include "support/PackScript.h"

namespace pikora::test {
namespace {

class LevelDataTest : public PackScriptTest {};

TEST_F(LevelDataTest, StartPackResetsTheRunAndShowsThePreLevelScreen) {
  MakePack("a.pkr", 4, true);
  At(2, [&] {
    Score = 77;
    Level = 3;
    LevelText = "3";
    JokerAvailable = false;
    EndSoundPending = false;
    LevelFade = 50;
    JokerFade = 0;
    PackCompleted = true;
    LevelCompleteShown = true;
    NextLevelClicked = true;
    SelectedPack = 0;
    StartPack();
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Level, 1.0f);
    EXPECT_EQ(LevelText, "1");
    EXPECT_TRUE(JokerAvailable);
    EXPECT_TRUE(EndSoundPending);
    EXPECT_EQ(LevelFade, 0);
    EXPECT_EQ(JokerFade, 100.0f);
    EXPECT_FALSE(PackCompleted);
    EXPECT_FALSE(LevelCompleteShown);
    EXPECT_FALSE(NextLevelClicked);
    EXPECT_EQ(GameScreen, 9);
    EXPECT_TRUE(Vertical);
    EXPECT_EQ(NumOfLevels, 4);
    EXPECT_EQ(CurrentPackFile, "a.pkr");
  });
  ASSERT_EQ(RunFrames(2), 0);
}

TEST_F(LevelDataTest, EachLevelIsChosenOnceInARunAndAFullyPlayedPackStillChooses) {
  MakePack("one.pkr", 1, false);
  MakePack("six.pkr", 6, false);
  std::vector<std::string> Chosen;
  At(2, [&] {
    SelectedPack = 0;
    StartPack();
    EXPECT_EQ(PictureName, "1");
    LevelPlayed = {};
    SelectedPack = 1;
    StartPack();
    Chosen.push_back(PictureName);
    for (int I = 1; I < 6; ++I) {
      ChooseLevel();
      Chosen.push_back(PictureName);
    }
    ChooseLevel();  // every level played: must not hang
    const int Extra = std::stoi(PictureName);
    EXPECT_GE(Extra, 1);
    EXPECT_LE(Extra, 6);
  });
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(std::set<std::string>(Chosen.begin(), Chosen.end()),
            (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(LevelDataTest, RectanglesAreReadNumberFirstAndAcceptADecimalComma) {
  std::string PicInfo = "[1]\n";
  for (int K = 1; K <= 5; ++K) {
    const std::string N = std::to_string(K);
    PicInfo += N + "Left=" + N + "0,5\n" + N + "Right=" + N + "8.25\n" + N + "Top=" + N + "1\n" + N + "Bottom=" + N +
               "9\n";
  }
  MakeZip(Folder / "packs" / "a.pkr", {{"packinfo.ini", "[General]\nNumOfLevels=1\nVertical=False\nPackInfo=x\n"},
                                       {"picinfo.ini", PicInfo + "PicInfo=Jedan[e]dva\n"},
                                       {"hscore.ini", "[scores]\n"},
                                       {"1.jpg", TinyBmp(8, 8)},
                                       {"1x.jpg", TinyBmp(8, 8)}});
  At(2, [&] {
    SelectedPack = 0;
    Differences[3].Found = true;
    StartPack();
    EXPECT_FLOAT_EQ(Differences[3].Left, 30.5f);
    EXPECT_FLOAT_EQ(Differences[3].Right, 38.25f);
    EXPECT_FLOAT_EQ(Differences[3].Top, 31);
    EXPECT_FLOAT_EQ(Differences[3].Bottom, 39);
    EXPECT_FLOAT_EQ(Differences[5].Left, 50.5f);
    EXPECT_TRUE(Differences[3].Found) << "Found flags are not this code's business";
  });
  ASSERT_EQ(RunFrames(2), 0);
}

}  // namespace
}  // namespace pikora::test
