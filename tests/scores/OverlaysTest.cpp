#include <gtest/gtest.h>

#include "scores/GameOver.h"
#include "resources/LevelData.h"
#include "scores/HighScores.h"
#include "scores/LevelComplete.h"
#include "scores/ResultsFixture.h"

namespace pikora::test {
namespace {

class OverlaysTest : public ResultsTest {
 protected:
  // A run just after a won level of a pack with Levels levels.
  void WonLevel(int32_t Levels, float WonSoFar) {
    NumOfLevels = Levels;
    Level = WonSoFar + 1;
    LevelText = std::to_string(int(WonSoFar));
    LevelCompleteShown = true;
    LevelRunning = false;
    EndSoundPending = true;
    GameScreen = 10;
    LevelFade = 100;
  }
  std::shared_ptr<TableFiles> Table = OpenWithTable();
};

class NextLevelTest : public OverlaysTest {
 protected:
  NextLevelTest() {
    OpenWithPack(3, true);
    LevelPlayed[1] = true;
  }
};

TEST_F(NextLevelTest, ButtonPreparesTheNextLevelOnlyInsideItsStrictHotArea) {
  WonLevel(3, 1);
  Differences[2].Found = true;
  // Edges of (560, 565)-(760, 583.75) and a click without the button do nothing.
  Engine->Click(1, 560, 570);
  Engine->Click(2, 760, 570);
  Engine->Click(3, 600, 565);
  Engine->MoveMouse(4, 600, 570);
  Engine->Click(5, 759, 583);  // inside: the hot area is wider than the label
  for (int I = 1; I <= 4; ++I) {
    const int32_t F = Frame([] { DrawLevelComplete(); });
    EXPECT_EQ(GameScreen, 10) << "frame " << F;
  }
  EXPECT_TRUE(LevelCompleteShown);
  Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(GameScreen, 9);
  EXPECT_EQ(LevelText, "2");
  EXPECT_EQ(LevelFade, 0);
  EXPECT_FALSE(LevelCompleteShown);
  EXPECT_FALSE(NextLevelClicked);
  EXPECT_FALSE(Differences[2].Found);
  EXPECT_FALSE(PackCompleted);
  EXPECT_TRUE(SoundsPlayed().empty());
  EXPECT_TRUE(PictureName == "2" || PictureName == "3") << "a level not played yet";
}

TEST_F(NextLevelTest, LandscapeButtonSitsLower) {
  Vertical = false;
  WonLevel(3, 1);
  Engine->Click(1, 600, 579);
  Engine->Click(2, 600, 597);
  const int32_t F = Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(Engine->TextsIn(F, "SLJEDECI NIVO")[0][1], 579);
  EXPECT_EQ(GameScreen, 10);
  Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(GameScreen, 9) << "579 + 18.75 still takes 597";
}

TEST_F(OverlaysTest, LastLevelWonShowsPackCompleteAndItsSoundOnce) {
  Vertical = false;
  WonLevel(1, 1);  // a one-level pack goes straight to the pack-complete overlay
  Score = 50;
  const int32_t F = Frame([] { DrawLevelComplete(); });
  EXPECT_TRUE(PackCompleted);
  EXPECT_TRUE(Engine->TextsIn(F, "SLJEDECI NIVO").empty());
  for (int I = 0; I < 3; ++I) Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(SoundsPlayed(), (std::vector<std::string>{"packcompleted"}));
  EXPECT_FALSE(EndSoundPending);

  // Button edges do nothing; inside, a score below the table ends the run.
  Engine->Click(5, 410, 440);
  Engine->Click(6, 500, 420);
  Engine->Click(7, 500, 470);
  Engine->Click(8, 649, 469);
  for (int I = 0; I < 3; ++I) Frame([] {
      DrawPlaceLadder();
      DrawLevelComplete();
    });
  EXPECT_EQ(GameScreen, 10);
  Frame([] {
    DrawPlaceLadder();
    DrawLevelComplete();
  });
  EXPECT_EQ(GameScreen, 2);
}

TEST_F(OverlaysTest, PackCompleteButtonLeadsToTheNameEntryWhenTheScoreEntersTheTable) {
  Vertical = true;
  WonLevel(2, 2);
  Score = 2000;
  Engine->Click(1, 341, 421);
  Frame([] {
    DrawPlaceLadder();
    DrawLevelComplete();
  });
  EXPECT_EQ(GameScreen, 55);
}

TEST_F(OverlaysTest, EndSoundsStaySilentWithSoundOff) {
  GameOptions.Sound = false;
  WonLevel(1, 1);
  for (int I = 0; I < 3; ++I) Frame([] { DrawLevelComplete(); });
  TimeUsed = 407;
  for (int I = 0; I < 3; ++I) Frame([] { DrawGameOver(); });
  EXPECT_TRUE(SoundsPlayed().empty());
  EXPECT_TRUE(EndSoundPending) << "the flag stays set while nothing is played";
}

TEST_F(OverlaysTest, GameOverStopsTheLevelPlaysOnceAndSharesTheEndSound) {
  Vertical = false;
  LevelRunning = true;
  EndSoundPending = true;
  GameScreen = 10;
  Score = 150;
  Frame([] { DrawGameOver(); });
  EXPECT_FALSE(LevelRunning);
  LevelRunning = true;  // stopped again every frame
  Engine->Click(2, 410, 440);
  Engine->Click(3, 650, 440);
  Engine->Click(4, 500, 470);
  for (int I = 0; I < 3; ++I) Frame([] {
      DrawPlaceLadder();
      DrawGameOver();
    });
  EXPECT_FALSE(LevelRunning);
  EXPECT_EQ(GameScreen, 10);
  // The pack-complete overlay after a game over (never in play) would not sound again.
  PackCompleted = true;
  LevelCompleteShown = true;
  Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(SoundsPlayed(), (std::vector<std::string>{"gameover"}));

  Engine->Click(Engine->Frame() + 1, 411, 421);
  Frame([] {
    DrawPlaceLadder();
    DrawGameOver();
  });
  EXPECT_EQ(GameScreen, 55) << "150 takes place 10";
}

}  // namespace
}  // namespace pikora::test
