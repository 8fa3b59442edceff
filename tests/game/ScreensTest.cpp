// The pre-level and in-game screens, the exit button, the time bar and the joker.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "PlayFixture.h"
#include "game/GameScreen.h"
#include "game/modGame.h"

namespace pikora::test {
namespace {

class ExitTest : public PlayTest, public ::testing::WithParamInterface<std::tuple<bool, int>> {};

TEST_P(ExitTest, ExitButtonBoundsAreStrictAndLeavingEndsTheLevel) {
  const auto [IsVertical, Screen] = GetParam();
  StartRun(2, IsVertical);
  if (Screen == 10) PlayLevel(3, 100);
  const std::vector<std::pair<int, int>> Misses =
      IsVertical ? std::vector<std::pair<int, int>>{{670, 570}, {760, 570}, {700, 565}, {700, 584}}
                 : std::vector<std::pair<int, int>>{{708, 585}, {798, 585}, {750, 579}, {750, 598}};
  int32_t Frame = 4;
  for (auto [X, Y] : Misses) {
    ClickAt(Frame, X, Y);
    At(Frame + 1, [X, Y, Screen = Screen] { EXPECT_EQ(GameScreen, Screen) << X << "," << Y; });
    ++Frame;
  }
  At(Frame, [] {
    Differences[2].Found = true;
    LevelPlayed[50] = true;
  });
  const int32_t ExitFrame = Frame;
  if (IsVertical)
    ClickAt(Frame, 759, 583);
  else
    ClickAt(Frame, 709, 597);
  ASSERT_EQ(RunFrames(ExitFrame + 1), 0);
  EXPECT_EQ(GameScreen, 2);
  EXPECT_FALSE(LevelRunning) << "a run left by the exit button has no running level";
  EXPECT_EQ(FoundCount(), 0);
  for (bool Played : LevelPlayed) EXPECT_FALSE(Played);
  if (Screen == 10 && !OriginalPicture) {
    // The pictures are released by the exit and not drawn afterwards in the same frame.
    EXPECT_TRUE(Engine->SpritesIn(ExitFrame, "1.jpg").empty());
    EXPECT_EQ(Engine->SpritesIn(ExitFrame - 1, "1.jpg").size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(LayoutsAndScreens, ExitTest,
                         ::testing::Combine(::testing::Values(true, false), ::testing::Values(9, 10)),
                         [](const auto& Info) {
                           return std::string(std::get<0>(Info.param) ? "Portrait" : "Landscape") + "Screen" +
                                  std::to_string(std::get<1>(Info.param));
                         });

// SLJEDECI NIVO's hot area covers the exit button: the exit wins and the click acts once.
class LeaveWonLevelTest : public PlayTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LeaveWonLevelTest, ExitOverTheNextLevelButtonLeavesTheRun) {
  StartRun(2, GetParam());
  PlayLevel(3, 100);
  At(3, [] {
    for (int K = 1; K <= 4; ++K) Differences[K].Found = true;
  });
  ClickAt(3, OnOriginalX(54), OnOriginalY(54));
  if (GetParam())
    ClickAt(4, 740, 580);
  else
    ClickAt(4, 740, 590);
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(Engine->TextsIn(3, "SLJEDECI NIVO").size(), 1u) << "the level was won";
  EXPECT_EQ(GameScreen, 2);
  EXPECT_EQ(LevelText, "1") << "no next level was chosen";
  for (bool Played : LevelPlayed) EXPECT_FALSE(Played);
  EXPECT_TRUE(Engine->SpritesIn(5, "progressbar.dds").empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, LeaveWonLevelTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Portrait" : "Landscape"; });

// A miss that runs the time out is the TimeUpTest's; the bar past the limit is in the transcripts.
TEST_F(PlayTest, TimeRunsOutAbove406NotAt406) {
  StartRun(2, true);
  PlayLevel(3);
  // At 406 the level still plays: a find counts and the bar is drawn empty.
  At(3, [] {
    Level = 10;
    TimeUsed = 406;
  });
  ClickAt(3, 185 + 14, 100 + 14);
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(Score, 1.0f);  // floor(10 * 10 / 100 * (407 - 406))
  EXPECT_TRUE(Differences[1].Found);
  ASSERT_EQ(Engine->SpritesIn(3, "progressbarin.dds").size(), 1u);
  EXPECT_EQ(Engine->SpritesIn(3, "progressbarin.dds")[0][3], 0);
  // The next frame's timer step takes it past 406: no filling from then on.
  for (int32_t Frame : {4, 5}) EXPECT_TRUE(Engine->SpritesIn(Frame, "progressbarin.dds").empty()) << Frame;
  EXPECT_FALSE(LevelRunning);
}

// A late miss ends the level at once: the joker in the next frame, by any of its ways,
// must not win it over the game-over overlay.
class TimeUpTest : public PlayTest, public ::testing::WithParamInterface<int> {};

TEST_P(TimeUpTest, NothingCountsOnceTheTimeHasRunOut) {
  Engine->DebugMode = GetParam() == Key::J;
  StartRun(2, true);
  PlayLevel(3);
  At(3, [] {
    for (int K = 1; K <= 4; ++K) Differences[K].Found = true;
    TimeUsed = 390;
  });
  ClickAt(3, OnOriginalX(100), OnOriginalY(200));
  if (GetParam() == 0)
    ClickAt(4, 450, 570);  // the joker button
  else
    PressAt(4, GetParam());
  ClickAt(5, 600, 570);  // where SLJEDECI NIVO would be
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(FoundCount(), 4);
  EXPECT_EQ(Level, 1.0f);
  EXPECT_FALSE(LevelCompleteShown);
  EXPECT_EQ(GameScreen, 10);
  std::vector<std::string> Played;
  for (const auto& S : Engine->CallsOf("PlaySound")) Played.push_back(S.Name);
  EXPECT_EQ(Played, (std::vector<std::string>{"click", "gameover"}));
  for (int32_t Frame : {4, 5}) {
    EXPECT_TRUE(Engine->TextsIn(Frame, "SLJEDECI NIVO").empty()) << Frame;
    EXPECT_EQ(Engine->TextsIn(Frame, "GAME OVER").size(), 3u) << Frame;
  }
}

INSTANTIATE_TEST_SUITE_P(JokerWays, TimeUpTest, ::testing::Values(0, Key::Space, Key::J),
                         [](const auto& Info) {
                           return std::string(Info.param == 0 ? "Button" : Info.param == Key::J ? "DebugKey" : "Space");
                         });

TEST_F(PlayTest, StartHandsOverToTheLevelInTheSameFrameAndItsBoundsAreStrict) {
  StartRun(2, true);
  ClickAt(3, 580, 440);
  ClickAt(4, 340, 440);
  ClickAt(5, 500, 420);
  ClickAt(6, 579, 469);
  bool Loaded = false;
  At(7, [&Loaded] { Loaded = GameScreen == 10; });
  ASSERT_EQ(RunFrames(7), 0);
  for (int32_t Frame : {3, 4, 5}) EXPECT_TRUE(Engine->SpritesIn(Frame, "progressbar.dds").empty()) << Frame;
  ASSERT_TRUE(Loaded);
  EXPECT_EQ(Engine->SpritesIn(6, "progressbar.dds").size(), 1u) << "the in-game screen runs in the START frame";
  EXPECT_TRUE(LevelRunning);
  EXPECT_EQ(LevelFade, 2.0f);
}

TEST_F(PlayTest, APackNameTooShortForAnExtensionShowsWholeAsTheTitle) {
  StartRun(2, false);
  At(3, [] { CurrentPackFile = "ab"; });
  ASSERT_EQ(RunFrames(3), 0);
  EXPECT_EQ(Engine->TextsIn(2, "ZIVOTINJE").size(), 1u);
  EXPECT_EQ(Engine->TextsIn(3, "AB").size(), 1u);
}

TEST(ClockTest, TheWobbleClockIsTheLocalTimeOfDayInSeconds) {
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  const double Expected = Local.tm_hour * 3600.0 + Local.tm_min * 60.0 + Local.tm_sec;
  const double Seconds = ClockSeconds();
  EXPECT_GE(Seconds, Expected - 0.001);
  EXPECT_LT(Seconds, Expected + 2);
}

class JokerTest : public PlayTest {
 protected:
  JokerTest() {
    StartRun(2, true);
    PlayLevel(3);
  }
};

TEST_F(JokerTest, RevealsUnfoundDifferencesUniformly) {
  constexpr int Uses = 1500;
  std::array<int, 6> Counts{};
  for (int32_t Frame = 4; Frame < 4 + Uses; ++Frame) {
    At(Frame, [&Counts, this] {
      if (JokerFade != 100) {
        for (int K = 1; K <= 5; ++K)
          if (Differences[K].Found && K != 2 && K != 4) ++Counts[K];
      }
      ClearFound();
      Differences[2].Found = Differences[4].Found = true;
      JokerAvailable = true;
      JokerFade = 100;
      TimeUsed = 0;
      Engine->ClearCalls();
    });
    PressAt(Frame, Key::Space);
  }
  ASSERT_EQ(RunFrames(4 + Uses), 0);
  EXPECT_EQ(Counts[1] + Counts[3] + Counts[5], Uses - 1);
  for (int K : {1, 3, 5}) {
    EXPECT_GT(Counts[K], Uses / 3 - 90) << K;
    EXPECT_LT(Counts[K], Uses / 3 + 90) << K;
  }
}

TEST_F(JokerTest, TakingTheLastDifferenceWinsTheLevelAfterItsOwnPoints) {
  At(4, [] {
    for (int K : {1, 2, 4, 5}) Differences[K].Found = true;
    TimeUsed = 100;
  });
  PressAt(4, Key::Space);
  ASSERT_EQ(RunFrames(4), 0);
  EXPECT_TRUE(Differences[3].Found);
  EXPECT_EQ(Score, 387.0f);
  EXPECT_EQ(Level, 2.0f);
  EXPECT_FALSE(LevelRunning);
  EXPECT_FALSE(JokerAvailable);
  EXPECT_EQ(JokerFade, 98.0f);
  const auto S = Sounds(4);
  ASSERT_EQ(S.size(), 2u);
  EXPECT_EQ(S[0].Name, "levelcompleted");
  EXPECT_EQ(S[1].Name, "joker");
}

TEST_F(JokerTest, ButtonAndSpaceInOneFrameSpendItOnce) {
  At(4, [] { TimeUsed = 7; });
  PressAt(4, Key::Space);
  ClickAt(4, 450, 570);
  ASSERT_EQ(RunFrames(4), 0);
  EXPECT_EQ(FoundCount(), 1);
  EXPECT_EQ(Score, 40.0f);
  EXPECT_EQ(Sounds(4).size(), 1u);
  EXPECT_EQ(JokerFade, 98.0f);
}

TEST_F(PlayTest, JokerDoesNothingBeforeTheLevelOrUnderAnOverlay) {
  StartRun(2, true);
  PressAt(3, Key::Space);
  ClickAt(4, 450, 570);
  At(5, [] {
    EXPECT_TRUE(JokerAvailable);
    EXPECT_EQ(FoundCount(), 0);
  });
  // A won level, its overlay showing.
  PlayLevel(6, 100);
  At(7, [] {
    LevelRunning = false;
    LevelCompleteShown = true;
  });
  PressAt(7, Key::Space);
  ClickAt(8, 450, 570);
  ASSERT_EQ(RunFrames(8), 0);
  EXPECT_TRUE(JokerAvailable);
  EXPECT_EQ(JokerFade, 100.0f);
  EXPECT_EQ(FoundCount(), 0);
  EXPECT_TRUE(Engine->CallsOf("PlaySound").empty());
}

// The button's hot area is strict in either layout (the landscape one turned, at the left): a
// click on its left edge misses, one just inside spends the joker, which then fades out.
class JokerButtonTest : public PlayTest, public ::testing::WithParamInterface<bool> {};

TEST_P(JokerButtonTest, ItsStrictAreaSpendsItAndItFadesOut) {
  const bool IsVertical = GetParam();
  StartRun(2, IsVertical);
  PlayLevel(3, 100);
  ClickAt(4, IsVertical ? 413 : 160, IsVertical ? 583 : 300);
  ClickAt(5, IsVertical ? 414 : 161, IsVertical ? 583 : 310);
  ASSERT_EQ(RunFrames(6), 0);
  EXPECT_EQ(FoundCount(), 1);
  EXPECT_FALSE(JokerAvailable);
  EXPECT_EQ(JokerFade, 97.0f) << "spent in frame 5";
}

INSTANTIATE_TEST_SUITE_P(Layouts, JokerButtonTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Portrait" : "Landscape"; });

}  // namespace
}  // namespace pikora::test
