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
  // Frames of the end overlays, with the place ladder drawn first as the game screen does.
  int32_t LevelCompleteFrame() {
    return Frame([] {
      DrawPlaceLadder();
      DrawLevelComplete();
    });
  }
  int32_t GameOverFrame() {
    return Frame([] {
      DrawPlaceLadder();
      DrawGameOver();
    });
  }
  std::shared_ptr<TableFiles> Table = OpenWithTable();
};

// SLJEDECI NIVO's strict hot area, wider than its label, in either layout: the clicks that miss,
// one frame with the cursor inside but no click, then the one that takes it.
struct NextLevelCase {
  bool Vertical;
  std::vector<std::pair<int, int>> Misses;
  std::pair<int, int> Hit;
};
class NextLevelTest : public OverlaysTest, public ::testing::WithParamInterface<NextLevelCase> {};

TEST_P(NextLevelTest, ButtonPreparesTheNextLevelOnlyInsideItsStrictHotArea) {
  const auto& [IsVertical, Misses, Hit] = GetParam();
  OpenWithPack(3, IsVertical);
  LevelPlayed[1] = true;
  WonLevel(3, 1);
  Differences[2].Found = true;
  int32_t Next = 1;
  for (auto [X, Y] : Misses) Engine->Click(Next++, X, Y);
  Engine->MoveMouse(Next++, 600, Hit.second - 1);
  Engine->Click(Next, Hit.first, Hit.second);
  for (size_t I = 0; I <= Misses.size(); ++I) {
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

// Portrait (560, 565)-(760, 583.75); landscape lower, where 579 + 18.75 still takes 597.
INSTANTIATE_TEST_SUITE_P(Layouts, NextLevelTest,
                         ::testing::Values(NextLevelCase{true, {{560, 570}, {760, 570}, {600, 565}}, {759, 583}},
                                           NextLevelCase{false, {{600, 579}}, {600, 597}}),
                         [](const auto& Info) { return Info.param.Vertical ? "Portrait" : "Landscape"; });

TEST_F(OverlaysTest, LastLevelWonShowsPackCompleteAndItsSoundOnce) {
  Vertical = false;
  WonLevel(1, 1);  // a one-level pack goes straight to the pack-complete overlay
  Score = 50;
  Frame([] { DrawLevelComplete(); });
  EXPECT_TRUE(PackCompleted);
  for (int I = 0; I < 3; ++I) Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(SoundsPlayed(), (std::vector<std::string>{"packcompleted"}));
  EXPECT_FALSE(EndSoundPending);

  // Button edges do nothing; inside, a score below the table ends the run.
  Engine->Click(5, 410, 440);
  Engine->Click(6, 500, 420);
  Engine->Click(7, 500, 470);
  Engine->Click(8, 649, 469);
  for (int I = 0; I < 3; ++I) LevelCompleteFrame();
  EXPECT_EQ(GameScreen, 10);
  LevelCompleteFrame();
  EXPECT_EQ(GameScreen, 2);
}

TEST_F(OverlaysTest, PackCompleteButtonLeadsToTheNameEntryWhenTheScoreEntersTheTable) {
  Vertical = true;
  WonLevel(2, 2);
  Score = 2000;
  Engine->Click(1, 341, 421);
  LevelCompleteFrame();
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
  for (int I = 0; I < 3; ++I) GameOverFrame();
  EXPECT_FALSE(LevelRunning);
  EXPECT_EQ(GameScreen, 10);
  // The pack-complete overlay after a game over (never in play) would not sound again.
  PackCompleted = true;
  LevelCompleteShown = true;
  Frame([] { DrawLevelComplete(); });
  EXPECT_EQ(SoundsPlayed(), (std::vector<std::string>{"gameover"}));

  Engine->Click(Engine->Frame() + 1, 411, 421);
  GameOverFrame();
  EXPECT_EQ(GameScreen, 55) << "150 takes place 10";
  EXPECT_EQ(Table->Log.size(), 4u) << "a load for each ladder, none for the check itself";
}

}  // namespace
}  // namespace pikora::test
