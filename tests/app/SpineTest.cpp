#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "app/frmMain.h"
#include "app/modMain.h"
#include "engine/ComponentError.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

class SpineTest : public GameTest {
 protected:
  std::set<std::string> ListTree() {
    std::set<std::string> Names;
    for (const auto& E : std::filesystem::recursive_directory_iterator(Folder.Path))
      Names.insert(E.path().string() + " " + std::to_string(E.is_regular_file() ? E.file_size() : 0));
    return Names;
  }
  std::vector<std::string> Ops(int32_t Frame) {
    std::vector<std::string> Out;
    for (const auto& C : Engine->CallsIn(Frame))
      if (C.Op == "BeginFrame" || C.Op == "EndFrame" || C.Op == "GetMouseState" || C.Op == "CloseRequest")
        Out.push_back(C.Op);
    return Out;
  }
};

// Four frames on the credits screen, then the scripted close request.
TEST_F(SpineTest, StartUpFramesAndTheCloseRequestShutDownOnceInOrder) {
  ASSERT_EQ(RunFrames(4), 0);
  ASSERT_FALSE(Engine->Calls.empty());
  EXPECT_EQ(Engine->Calls.front().Op, "SetDebugMode");
  EXPECT_EQ(Engine->Calls.front()[0], 0);
  const auto Init = Engine->CallsOf("Initialise");
  ASSERT_EQ(Init.size(), 1u);
  EXPECT_EQ(Init[0].Text, Folder.Path.string());
  EXPECT_EQ(std::vector<double>(Init[0].Num.begin(), Init[0].Num.begin() + 3), (std::vector<double>{800, 600, 0}))
      << "Screen=True means a window";
  EXPECT_EQ(frmMain::Caption(), "Pikora v1.0.0");
  EXPECT_EQ(GameScreen, 5);
  // Frame 1: the loop's own frame, then the loading frame of the pack scan (no BeginFrame).
  EXPECT_EQ(Ops(1), (std::vector<std::string>{"GetMouseState", "BeginFrame", "EndFrame", "EndFrame"}));
  EXPECT_EQ(Ops(2), (std::vector<std::string>{"GetMouseState", "BeginFrame", "EndFrame"}));
  EXPECT_EQ(FrameCounter, 4) << "the frame of the close request still runs to its end";
  EXPECT_EQ(Ops(4).back(), "EndFrame");
  std::vector<std::string> Tail;
  for (const auto& C : Engine->Calls)
    if (C.Op == "SetActive" || C.Op == "Shutdown") Tail.push_back(C.Op + (C.Op == "SetActive" ? std::to_string(int(C[0])) : ""));
  EXPECT_EQ(Tail, (std::vector<std::string>{"SetActive-1", "SetActive0", "Shutdown"}));
  EXPECT_EQ(frmMain::ClosedCount(), 1);
  EXPECT_FALSE(frmMain::Loaded());
  EXPECT_FALSE(GameRunning);
  EXPECT_EQ(Gfx, nullptr);
}

TEST_F(SpineTest, TheWindowRefusesToCloseDuringPlayOnlyAndEndsTheLoopInstead) {
  auto* Window = frmMain::hWnd();
  GameRunning = false;
  EXPECT_TRUE(Window->CloseRequested()) << "during start-up";
  GameRunning = true;
  EXPECT_FALSE(Window->CloseRequested()) << "during play";
  EXPECT_FALSE(GameRunning);
}

TEST_F(SpineTest, ASecondCopyInTheSameGameFolderSaysSoAndTouchesNothing) {
  const int Held = ::open(Folder.Path.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(Held, LOCK_EX | LOCK_NB), 0);
  const auto Before = ListTree();
  // Started with standard input closed, the game's own lock is descriptor 0.
  const int Input = ::dup(0);
  for (const bool NoInput : {false, true}) {
    testing::internal::CaptureStderr();
    if (NoInput) ::close(0);
    EXPECT_NE(RunFrames(3), 0) << NoInput;
    if (NoInput) ::dup2(Input, 0);
    const std::string Err = testing::internal::GetCapturedStderr();
    EXPECT_NE(Err.find("already running"), std::string::npos) << Err;
    EXPECT_FALSE(Engine->Initialised);
    EXPECT_EQ(ListTree(), Before);
  }
  ::close(Input);
  ::close(Held);
  EXPECT_EQ(RunFrames(3), 0) << "once the first copy is gone the game starts";
}

// A failing component call names its operation; any failure ends the run with a non-zero
// status, the run-time error report and no shutdown sequence.
TEST_F(SpineTest, EveryKindOfFailureEndsInTheReportedRunTimeError) {
  const std::vector<std::pair<std::function<void()>, std::vector<std::string>>> Throws = {
      {[] { RaiseError("LoadTexture", "cannot load \"x.jpg\""); }, {"LoadTexture", "x.jpg"}},
      {[] { throw std::runtime_error("broken invariant"); }, {}},
      {[] { throw std::bad_alloc(); }, {}},
      {[] { throw 42; }, {}}};
  for (const auto& [Throw, Says] : Throws) {
    Engine = std::make_shared<RecordingGfxEngine>();
    Engine->OnFrame = [&Throw = Throw](int32_t Frame, RecordingGfxEngine&) {
      if (Frame == 2) Throw();
    };
    testing::internal::CaptureStderr();
    EXPECT_NE(RunFrames(4), 0);
    const std::string Err = testing::internal::GetCapturedStderr();
    EXPECT_NE(Err.find("run-time error"), std::string::npos) << Err;
    for (const auto& Word : Says) EXPECT_NE(Err.find(Word), std::string::npos) << Err;
    EXPECT_TRUE(Engine->CallsOf("Shutdown").empty()) << Err;
    ResetGlobals();
    AppPath = Folder.Path.string();
  }
}

}  // namespace
}  // namespace pikora::test
