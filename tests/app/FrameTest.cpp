// The frame as the player sees it: logo fade, side menu, cursor, keys.
#include <gtest/gtest.h>

#include <cmath>

#include "support/GameFixture.h"
#include "app/modMain.h"

namespace pikora::test {
namespace {

using FrameTest = GameTest;

// Opacity of the button picture of one menu item (by its Y) in a frame.
int Glow(const RecordingGfxEngine& Engine, int32_t Frame, float ItemY) {
  for (const auto& Call : Engine.SpritesIn(Frame, "button.bmp"))
    if (Call[1] == ItemY) return int(Call[5]);
  return -1;
}

TEST_F(FrameTest, LogoCoversTheCreditsScreenAndFadesOutOverTwoHundredFrames) {
  ASSERT_EQ(RunFrames(202), 0);
  std::vector<int> First;
  for (int32_t Frame = 1; Frame <= 11; ++Frame) {
    const auto Logo = Engine->SpritesIn(Frame, "brightlogo.jpg");
    ASSERT_FALSE(Logo.empty()) << "frame " << Frame;
    First.push_back(int(Logo.front()[5]));
  }
  EXPECT_EQ(First, (std::vector<int>{100, 99, 98, 98, 98, 97, 96, 96, 96, 95, 94}));
  EXPECT_EQ(Engine->SpritesIn(200, "brightlogo.jpg").at(0)[5], 0);
  EXPECT_TRUE(Engine->SpritesIn(201, "brightlogo.jpg").empty());
}

TEST_F(FrameTest, SideMenuClickShowsTheChosenScreenFromTheNextFrame) {
  Engine->MoveMouse(1, 400, 400);
  Engine->Click(3, 19 + 60, 126 + 12);  // "Pomoc"
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(Engine->TextsIn(3, "P R O I Z V E O").size(), 1u) << "the frame of the click still shows the credits";
  EXPECT_TRUE(Engine->SpritesIn(3, "help.dds").empty());
  EXPECT_EQ(Engine->SpritesIn(4, "help.dds").size(), 1u);
  EXPECT_TRUE(Engine->TextsIn(4, "P R O I Z V E O").empty());
  EXPECT_EQ(GameScreen, 4);
}

TEST_F(FrameTest, IzlazEndsTheProgramAfterTheCurrentFrame) {
  Engine->Click(3, 19, 200);  // top-left corner of "Izlaz": edges count
  ASSERT_EQ(RunFrames(10), 0);
  EXPECT_EQ(FrameCounter, 3);
  EXPECT_EQ(Engine->CallsIn(3, "EndFrame").size(), 1u) << "the frame still runs to its end";
  ASSERT_EQ(Engine->CallsOf("Shutdown").size(), 1u);
  EXPECT_EQ(Engine->CallsIn(3).back().Op, "Shutdown");
}

// Idle items glow at 40; an item under the cursor in the first frame starts from 5.
TEST_F(FrameTest, ButtonGlowRisesToEightyFiveInNineFramesAndFallsBackInFortyFive) {
  Engine->MoveMouse(1, 60, 60);  // over "Top Lista"
  Engine->MoveMouse(2, 60, 20);  // over "Nova Igra"
  Engine->MoveMouse(20, 400, 400);
  ASSERT_EQ(RunFrames(70), 0);
  EXPECT_EQ(Glow(*Engine, 1, 52), 5);
  EXPECT_EQ(Glow(*Engine, 1, 15), 40);
  std::vector<int> Rise;
  for (int32_t Frame = 2; Frame <= 12; ++Frame) Rise.push_back(Glow(*Engine, Frame, 15));
  EXPECT_EQ(Rise, (std::vector<int>{45, 50, 55, 60, 65, 70, 75, 80, 85, 85, 85}));
  EXPECT_EQ(Glow(*Engine, 20, 15), 84);
  EXPECT_EQ(Glow(*Engine, 63, 15), 41);
  EXPECT_EQ(Glow(*Engine, 64, 15), 40);
  EXPECT_EQ(Glow(*Engine, 70, 15), 40);
  EXPECT_EQ(Glow(*Engine, 12, 89), 40) << "the other items stay idle";
}

// A click in the frame the cursor left a button (hovered Y, screen after): the name still held
// acts for "Top Lista", not for "Nova Igra".
class LeftButtonTest : public FrameTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(LeftButtonTest, ClickInTheFrameTheCursorLeftAButton) {
  Engine->MoveMouse(1, 60, GetParam().first);
  Engine->Click(4, 400, 400);
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(GameScreen, GetParam().second);
  EXPECT_EQ(HoveredMenuItem, "");
}

INSTANTIATE_TEST_SUITE_P(TopListaAndNovaIgra, LeftButtonTest, ::testing::Values(std::pair{60, 2}, std::pair{20, 5}));

TEST_F(FrameTest, WithParticlesOffNothingSparkles) {
  WriteOptions(true, true, true, false);
  ASSERT_EQ(RunFrames(3), 0);
  EXPECT_TRUE(Engine->CallsOf("DrawSprite").size() > 0);
  for (const auto& Call : Engine->CallsOf("DrawSprite")) EXPECT_NE(Call.Name, "particles.png");
}

TEST_F(FrameTest, SKeyAsksForAScreenshotAndOneThatCannotBeWrittenIsReportedOnceAndPlayGoesOn) {
  WriteFile(Folder / "screenshots", "a file where the folder would go");
  Engine->CheckScreenshotFolder = true;
  Engine->Press(2, Key::S);
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunFrames(4), 0);
  const std::string Err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(Engine->CallsOf("OnKeyS").size(), 1u);
  EXPECT_EQ(Engine->CallsOf("OnKeyS")[0].Frame, 2);
  EXPECT_EQ(std::count(Err.begin(), Err.end(), '\n'), 1) << Err;
  EXPECT_NE(Err.find("screenshot"), std::string::npos) << Err;
  EXPECT_EQ(Engine->CallsOf("Shutdown").size(), 1u) << "the run ends normally";
}

// Keys pressed twice in a running level of five unfound differences, sound off: J spends a
// joker only in debug mode, where it needs none available; Space only while one is.
struct JokerKeys {
  bool Debug, Available;
  int32_t Code;
  int Found;
};
class JokerKeyTest : public FrameTest, public ::testing::WithParamInterface<JokerKeys> {};

TEST_P(JokerKeyTest, KeysSpendTheJokerSilently) {
  const JokerKeys P = GetParam();
  WriteOptions(true, true, false, true);
  Engine->DebugMode = P.Debug;
  At(2, [P] {
    LevelRunning = true;
    Level = 1;
    JokerAvailable = P.Available;
  });
  Engine->Press(3, P.Code);
  Engine->Press(4, P.Code);
  ASSERT_EQ(RunFrames(5), 0);
  int Found = 0;
  for (int I = 1; I <= 5; ++I) Found += Differences[size_t(I)].Found;
  EXPECT_EQ(Found, P.Found);
  EXPECT_FALSE(JokerAvailable);
  EXPECT_TRUE(Engine->CallsOf("PlaySound").empty());
}

INSTANTIATE_TEST_SUITE_P(JAndSpace, JokerKeyTest,
                         ::testing::Values(JokerKeys{false, false, Key::J, 0}, JokerKeys{true, false, Key::J, 2},
                                           JokerKeys{false, true, Key::Space, 1}));

// The name entry owns the keyboard: Escape and S (even in debug mode) act on every other screen.
class EscapeTest : public FrameTest, public ::testing::WithParamInterface<int> {};

TEST_P(EscapeTest, EscapeEndsTheProgramOnEveryScreenButTheNameEntry) {
  const int16_t Screen = int16_t(GetParam());
  At(2, [Screen] { GameScreen = Screen; });
  Engine->DebugMode = true;
  Engine->Press(3, Key::Escape);
  Engine->Press(3, Key::S);
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_EQ(FrameCounter, Screen == 55 ? 5 : 3);
  EXPECT_EQ(Engine->CallsOf("OnKeyS").size(), Screen == 55 ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(AllScreens, EscapeTest, ::testing::Values(1, 2, 3, 4, 5, 9, 10, 55));

}  // namespace
}  // namespace pikora::test
