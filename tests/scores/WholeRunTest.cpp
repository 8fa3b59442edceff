#include <gtest/gtest.h>

#include "engine/ComponentError.h"
#include "scores/ResultsFixture.h"

namespace pikora::test {
namespace {

class WholeRunTest : public GameTest {};

// Plays a two-level pack through the real loop, reacting to the screen each frame as a
// player would, then dies without the shutdown sequence.
TEST_F(WholeRunTest, TwoLevelPackPlayedThroughKeepsTheResultInTheArchiveWithoutShutdown) {
  WriteOptions(true, false, true, false);
  MakePack("zivotinje.pkr", 2, false, ".jpg", {{"Ana", 900}, {"Ivo", 10}});
  const std::vector<int32_t> Name = {50, 23, 30, Key::Enter};  // M, I, A, Enter
  size_t Typed = 0;
  int32_t LevelsStarted = 0;
  int32_t ShownOnTable = 0;
  bool Saved = false;

  Engine->OnFrame = [&](int32_t Frame, RecordingGfxEngine& E) {
    if (Frame == 3) GameScreen = 1;  // as the side menu's "Nova Igra"
    if (Frame < 4) return;
    switch (GameScreen) {
      case 1:
        E.Click(Frame, 510, 184);  // the first pack row
        break;
      case 9:
        E.Click(Frame, 530, 445);  // START, landscape layout
        ++LevelsStarted;
        break;
      case 10:
        if (LevelRunning && LevelFade == 100) {
          for (int K = 1; K <= 5; ++K)
            if (!Differences[K].Found) {
              E.Click(Frame, 350 + int(Differences[K].Left) + 4, 29 + int(Differences[K].Top) + 4);
              break;
            }
        } else if (LevelCompleteShown && Level <= NumOfLevels) {
          E.Click(Frame, 600, 585);  // SLJEDECI NIVO
        } else if (PackCompleted) {
          E.Click(Frame, 500, 440);  // UNESI REZULTAT
        }
        break;
      case 55:
        if (Typed < Name.size()) E.Press(Frame, Name[Typed++]);
        Saved = Typed == Name.size();
        break;
      case 2:
        E.MoveMouse(Frame, 500, 184);  // over the pack's row of the table
        if (!E.TextsIn(Frame - 1, "Mia").empty()) ShownOnTable = Frame - 1;
        if (ShownOnTable) RaiseError("Test", "killed");
        break;
    }
  };
  testing::internal::CaptureStderr();
  EXPECT_NE(RunFrames(3000), 0) << "the run must end by the kill, not by the frame limit";
  testing::internal::GetCapturedStderr();

  EXPECT_EQ(LevelsStarted, 2);
  EXPECT_TRUE(Saved);
  EXPECT_GT(ShownOnTable, 0) << "the new name is on the high-score screen";
  EXPECT_TRUE(Engine->CallsOf("Shutdown").empty());
  const std::string Table = ZipEntry(Folder / "packs" / "zivotinje.pkr", "hscore.ini");
  ASSERT_NE(Table.find("Mia"), std::string::npos) << Table;
  EXPECT_LT(Table.find("Mia"), Table.find("Ana")) << "Mia takes place 1";
}

}  // namespace
}  // namespace pikora::test
