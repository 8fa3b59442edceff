// Finds, misses, the timer and winning a level, played through the frame loop.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "PlayFixture.h"

namespace pikora::test {
namespace {

class RulesTest : public PlayTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RulesTest, WorkedExampleFifthFindScores387AndAdvancesTheLevel) {
  StartRun(2, GetParam());
  PlayLevel(3);
  At(4, [] {
    for (int K = 1; K <= 4; ++K) Differences[K].Found = true;
    TimeUsed = 100;
  });
  LastFadeFrame(4);
  ClickAt(4, OnModifiedX(54), OnModifiedY(50));  // difference 5 spans 50..58
  ASSERT_EQ(RunFrames(6), 0);
  EXPECT_EQ(Score, 387.0f);
  EXPECT_EQ(Level, 2.0f);
  EXPECT_FALSE(LevelRunning);
  EXPECT_TRUE(LevelCompleteShown);
  EXPECT_EQ(TimeUsed, 100.0f) << "the timer stands once the level is won";
  const auto S = Sounds(4);
  ASSERT_EQ(S.size(), 2u);
  EXPECT_EQ(S[0].Name, "click");
  EXPECT_EQ(S[1].Name, "levelcompleted");
  EXPECT_TRUE(Sounds(5).empty());
}

TEST_P(RulesTest, OverlappingRectanglesScoreEachNewFindThenWinOnce) {
  StartRun(2, GetParam());
  PlayLevel(3);
  At(4, [] {
    for (int K = 1; K <= 3; ++K) Differences[K].Found = true;
    Differences[4] = {40, 48, 40, 48};
    Differences[5] = {44, 60, 44, 60};
    TimeUsed = 100;
  });
  LastFadeFrame(4);
  ClickAt(4, OnOriginalX(46), OnOriginalY(47));
  ASSERT_EQ(RunFrames(5), 0);
  // 30 + 30 for the two finds, then 357 for the win.
  EXPECT_EQ(Score, 417.0f);
  EXPECT_EQ(Level, 2.0f);
  const auto S = Sounds(4);
  ASSERT_EQ(S.size(), 3u);
  EXPECT_EQ(S[0].Num[3], 0);
  EXPECT_EQ(S[1].Num[3], 0);
  EXPECT_EQ(S[2].Name, "levelcompleted");
}

TEST_P(RulesTest, ClicksBetweenOrOutsideThePicturesDoNothing) {
  StartRun(2, GetParam());
  PlayLevel(3);
  const std::vector<std::pair<int, int>> Points =
      GetParam() ? std::vector<std::pair<int, int>>{{456, 300}, {442, 300}, {184, 300}, {300, 99}, {300, 481}, {728, 300}}
                 : std::vector<std::pair<int, int>>{{500, 300}, {500, 286}, {500, 314}, {349, 100}, {731, 100}, {500, 28}};
  int32_t Frame = 4;
  for (auto [X, Y] : Points) {
    LastFadeFrame(Frame);
    ClickAt(Frame, X, Y);
    ++Frame;
  }
  ASSERT_EQ(RunFrames(Frame - 1), 0);
  EXPECT_EQ(TimeUsed, 0.0f);
  EXPECT_EQ(Score, 0.0f);
  EXPECT_EQ(FoundCount(), 0);
  EXPECT_TRUE(Engine->CallsOf("PlaySound").empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, RulesTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Portrait" : "Landscape"; });

class PortraitRulesTest : public PlayTest {
 protected:
  PortraitRulesTest() {
    StartRun(2, true);
    PlayLevel(3);
  }
};

TEST_F(PortraitRulesTest, RectangleEdgesCountAndThePictureEndsAtX441) {
  // Screen point and the difference it finds (0: a miss, 30 time units; -1: off the picture), each
  // on a fresh level state. Difference 1 spans 10..18; difference 5 is moved to reach the
  // original's right edge.
  const std::vector<std::tuple<int32_t, int32_t, int>> Clicks = {
      {OnOriginalX(10), OnOriginalY(10), 1}, {OnOriginalX(18), OnOriginalY(18), 1},
      {OnOriginalX(10), OnOriginalY(18), 1}, {OnOriginalX(18), OnOriginalY(10), 1},
      {OnOriginalX(19), OnOriginalY(10), 0}, {442, 405, -1}, {441, 405, 5}};
  int32_t Frame = 4;
  for (const auto& [X, Y, K] : Clicks) {
    At(Frame, [] {
      for (auto& D : Differences) D.Found = false;
      Differences[5] = {250, 256, 300, 310};
      TimeUsed = 0;
    });
    LastFadeFrame(Frame);
    ClickAt(Frame, X, Y);
    At(Frame + 1, [Where = std::to_string(X) + "," + std::to_string(Y), Found = K] {
      EXPECT_EQ(FoundCount(), Found > 0 ? 1 : 0) << Where;
      EXPECT_TRUE(Found <= 0 || Differences[size_t(Found)].Found) << Where;
      EXPECT_EQ(TimeUsed, Found == 0 ? 30.0f : 0.0f) << Where;
    });
    ++Frame;
  }
  ASSERT_EQ(RunFrames(Frame), 0);
}

TEST_F(PortraitRulesTest, AFoundDifferenceClickedAgainCosts30AndPlaysTheClickTwice) {
  At(4, [] {
    Differences[2].Found = true;
    Score = 55;
  });
  LastFadeFrame(4);
  ClickAt(4, OnModifiedX(24), OnModifiedY(24));
  ASSERT_EQ(RunFrames(4), 0);
  EXPECT_EQ(Score, 55.0f);
  EXPECT_EQ(TimeUsed, 30.0f);
  const auto S = Sounds(4);
  ASSERT_EQ(S.size(), 2u);
  EXPECT_EQ(S[0].Num, (std::vector<double>{0, 80, 0, 0}));
  EXPECT_EQ(S[1].Num, (std::vector<double>{0, 80, 0, 40}));
}

TEST_F(PortraitRulesTest, MissWithSoundAndParticlesOffOnlyCostsTime) {
  At(4, [] { GameOptions.Sound = false; });
  LastFadeFrame(4);
  ClickAt(4, OnOriginalX(100), OnOriginalY(200));
  ASSERT_EQ(RunFrames(4), 0);
  EXPECT_EQ(TimeUsed, 30.0f);
  EXPECT_TRUE(Engine->CallsOf("PlaySound").empty());
  for (const auto& P : Particles) EXPECT_LT(P.Life, 1);
}

// A miss throws fading sparks from the time bar's foot: two yellow ones that last 100 frames,
// two gold and brown ones for 30 and three white ones for 50 (each has aged one frame since;
// the bar's own yellow spark of 40 frames is left out).
TEST_F(PortraitRulesTest, AMissThrowsSparksThatLastTheirFrames) {
  At(4, [] { GameOptions.Particle = true; });
  LastFadeFrame(4);
  ClickAt(4, OnOriginalX(100), OnOriginalY(200));
  std::multiset<std::pair<int, int>> Thrown;
  At(5, [&Thrown] {
    for (const auto& P : Particles)
      if (P.Life >= 1 && P.Y == 489 && std::fabs(P.X - 768) <= 3 && P.Life != 39 && P.FadeOut)
        Thrown.insert({P.Kind, P.Life});
  });
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(Thrown, (std::multiset<std::pair<int, int>>{{0, 49}, {0, 49}, {0, 49}, {2, 99}, {2, 99}, {5, 29}, {5, 29}}));
}

TEST_F(PortraitRulesTest, ClicksDuringTheFadeInAreIgnoredAndTheFirstFrameAt100TakesOne) {
  PlayLevel(3, 0);  // LevelFade 1, 2, ... from frame 3: 100 in frame 102
  for (int32_t Frame : {3, 4, 50, 101}) ClickAt(Frame, OnOriginalX(14), OnOriginalY(14));
  At(102, [] {
    EXPECT_EQ(TimeUsed, 0.0f);
    EXPECT_FALSE(Differences[1].Found);
    EXPECT_EQ(LevelFade, 99.0f);
  });
  ClickAt(102, OnOriginalX(14), OnOriginalY(14));
  ASSERT_EQ(RunFrames(102), 0);
  EXPECT_TRUE(Differences[1].Found);
  EXPECT_EQ(Score, 40.0f);  // floor(0.1 * 407)
  EXPECT_EQ(TimeUsed, 0.0f);
  EXPECT_TRUE(Engine->SpritesIn(102, "gamemask.dds").empty());
}

TEST_F(PortraitRulesTest, TimerFollowsItsFormulaFrameByFrameAndStandsWhenTheLevelStops) {
  PlayLevel(3, 100);
  At(3, [] { Level = 3; });
  float Stopped = -1;
  At(53, [&Stopped] {
    float Expected = 0;
    for (int I = 0; I < 50; ++I) Expected = float((1.0 / 30.0) * 3.0 + (1.0 / 35.0 + double(Expected)));
    EXPECT_EQ(TimeUsed, Expected);
    LevelRunning = false;
    Stopped = TimeUsed;
  });
  ASSERT_EQ(RunFrames(60), 0);
  EXPECT_NEAR(Stopped, 50 * (0.1 + 1.0 / 35.0), 1e-3);
  EXPECT_EQ(TimeUsed, Stopped);
}

}  // namespace
}  // namespace pikora::test
