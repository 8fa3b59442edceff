#include <gtest/gtest.h>

#include <regex>

#include "resources/OptionsScreen.h"
#include "resources/modLoad.h"
#include "scores/ResultsFixture.h"

namespace pikora::test {
namespace {

class OptionsScreenTest : public ResultsTest {
 protected:
  OptionsScreenTest() { GameScreen = 3; }
  int32_t ClickAt(int32_t X, int32_t Y) {
    Engine->Click(Engine->Frame() + 1, X, Y);
    return Frame([] { DrawOptionsScreen(); });
  }
  std::vector<std::string> Writes() const {
    std::vector<std::string> Out;
    for (const auto& L : Table->Log)
      if (L.rfind("WriteINI", 0) == 0) Out.push_back(L);
    return Out;
  }
  bool NoticeIn(int32_t F) const {
    return !Engine->TextsIn(F, "the changes will take effect next time you run the game").empty();
  }
  std::shared_ptr<TableFiles> Table = OpenWithTable();
};

TEST_F(OptionsScreenTest, EachRowSetsItsOptionAndWritesTheFile) {
  ClickAt(650, 257);  // ZVUCNI EFEKTI: NE
  EXPECT_FALSE(GameOptions.Sound);
  ClickAt(650, 307);  // PARTICLE EFEKTI: NE
  EXPECT_FALSE(GameOptions.Particle);
  ClickAt(320, 307);  // and back
  EXPECT_TRUE(GameOptions.Particle);
  ClickAt(320, 257);
  EXPECT_TRUE(GameOptions.Sound);
  EXPECT_EQ(Writes().size(), 16u) << "every click writes all four options";
}

TEST_F(OptionsScreenTest, LeftChoiceTakesItsRightAndBottomEdgesButNotOneMore) {
  GameOptions.Screen = false;
  ClickAt(421, 167);
  EXPECT_FALSE(GameOptions.Screen);
  EXPECT_TRUE(Writes().empty());
  ClickAt(420, 167);
  EXPECT_TRUE(GameOptions.Screen);
  GameOptions.Screen = false;
  ClickAt(330, 177);
  EXPECT_TRUE(GameOptions.Screen);
  GameOptions.Screen = false;
  ClickAt(330, 178);
  EXPECT_FALSE(GameOptions.Screen);
}

TEST_F(OptionsScreenTest, RestartNoticeShowsWhileTheScreenChoiceDiffersFromTheStart) {
  EXPECT_FALSE(NoticeIn(Frame([] { DrawOptionsScreen(); })));
  EXPECT_TRUE(NoticeIn(ClickAt(650, 167)));  // puni ekran
  EXPECT_FALSE(GameOptions.Screen);
  EXPECT_TRUE(NoticeIn(Frame([] { DrawOptionsScreen(); })));
  EXPECT_FALSE(NoticeIn(ClickAt(330, 167)));  // u prozoru again
  EXPECT_TRUE(GameOptions.ScreenChanged);
  EXPECT_TRUE(GameOptions.ScreenAtStart);
  EXPECT_FALSE(NoticeIn(ClickAt(330, 167)));
}

TEST_F(OptionsScreenTest, MusicOffStopsTheMusicAtOnceAndWritesMusicFalse) {
  MusicRec->Playing = true;
  ClickAt(650, 217);
  EXPECT_FALSE(GameOptions.Music);
  EXPECT_FALSE(MusicRec->Playing);
  const auto W = Writes();
  ASSERT_EQ(W.size(), 4u);
  EXPECT_NE(W[1].find("Music=False"), std::string::npos) << W[1];
}

class OptionsLoopTest : public GameTest {};

TEST_F(OptionsLoopTest, MusicOffThroughTheLoopStopsTheMusicAndRewritesTheFile) {
  WriteOptions(true, true, true, true);
  bool PlayingBefore = false;
  Engine->OnFrame = [&](int32_t F, RecordingGfxEngine& E) {
    if (F == 2) GameScreen = 3;  // as the side menu's "Postavke"
    if (F == 4) {
      PlayingBefore = MusicRec->Playing;
      E.Click(F, 650, 217);
    }
  };
  ASSERT_EQ(RunFrames(5), 0);
  EXPECT_TRUE(PlayingBefore);
  EXPECT_FALSE(MusicRec->Playing);
  const std::string Ini = ReadFile(Folder / "game data" / "options.ini");
  EXPECT_TRUE(std::regex_search(Ini, std::regex(R"(Music\s*=\s*False)"))) << Ini;
  EXPECT_TRUE(std::regex_search(Ini, std::regex(R"(Sound\s*=\s*True)"))) << Ini;
}

}  // namespace
}  // namespace pikora::test
