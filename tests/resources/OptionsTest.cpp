// The four options: options.ini read, defaulted and saved, the options screen, and the Music
// option with the end-of-music rule of the frame loop.
#include <gtest/gtest.h>

#include <tuple>

#include "resources/Options.h"
#include "resources/OptionsScreen.h"
#include "resources/modLoad.h"
#include "scores/ResultsFixture.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

TEST(ConvertBooleanTest, WordsInAnyCaseAndNumbers) {
  for (const auto& [Text, Converts, Want] : std::vector<std::tuple<const char*, bool, bool>>{
           {"True", true, true}, {"TRUE", true, true}, {"true", true, true}, {" fAlSe ", true, false},
           {"False", true, false}, {"1", true, true}, {"-1", true, true}, {"0", true, false},
           {"-0.00", true, false}, {"2.5", true, true}, {"0e7", true, false}, {"1e-400", true, true},
           {"+3", true, true}, {".5", true, true}, {"", false, false}, {"yes", false, false},
           {"Truee", false, false}, {"0x1", false, false}, {"1,5", false, false}, {"inf", false, false},
           {"nan", false, false}, {"-", false, false}, {"1e", false, false}, {"T rue", false, false}}) {
    bool Value = !Want;
    EXPECT_EQ(ConvertBoolean(Text, Value), Converts) << '"' << Text << '"';
    EXPECT_TRUE(!Converts || Value == Want) << '"' << Text << '"';
  }
}

class OptionsTest : public GameTest {
 protected:
  std::filesystem::path OptionsFile() const { return Folder / "game data" / "options.ini"; }
  void Write(const std::string& Content) { WriteFile(OptionsFile(), Content); }
  std::vector<bool> Read() { return {GameOptions.Screen, GameOptions.Music, GameOptions.Sound, GameOptions.Particle}; }
  // The full-screen flag handed to Initialise.
  double FullScreenFlag() const { return Engine->CallsOf("Initialise").at(0)[2]; }
};

TEST_F(OptionsTest, ReadsWordsAndNumbersAndStartsFullScreenWhenScreenIsFalse) {
  Write("[Options]\nScreen=false\nMusic=0\nSound=TRUE\nParticle=-1\n");
  ASSERT_EQ(RunFrames(1), 0);
  EXPECT_EQ(Read(), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(FullScreenFlag(), -1);
}

TEST_F(OptionsTest, MissingFileKeepsEveryDefaultAndWritesNothing) {
  std::filesystem::remove(OptionsFile());
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(Read(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(FullScreenFlag(), 0);
  EXPECT_FALSE(std::filesystem::exists(OptionsFile()));
}

TEST_F(OptionsTest, MissingKeyOrUnreadableValueKeepsThatOptionsDefault) {
  Write("[Options]\nScreen=False\nMusic=perhaps\nParticle=\n");
  const std::string Before = ReadFile(OptionsFile());
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(Read(), (std::vector<bool>{false, true, true, true}));
  EXPECT_EQ(ReadFile(OptionsFile()), Before);
}

TEST_F(OptionsTest, SaveWritesAllFourKeysAsTrueOrFalse) {
  Write("[Options]\nScreen=1\nMusic=FALSE\nSound=0\n");
  Files = MakeZipFileTools(Folder.Path.string(), nullptr);
  LoadOptions();
  SaveOptions();
  Files.reset();
  const std::string Saved = ReadFile(OptionsFile());
  for (const char* Line : {"Screen=True", "Music=False", "Sound=False", "Particle=True"})
    EXPECT_NE(Saved.find(Line), std::string::npos) << Line << " in\n" << Saved;
  for (const char* Old : {"=1", "FALSE", "=0"}) EXPECT_EQ(Saved.find(Old), std::string::npos) << Old;
}

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

TEST_F(OptionsScreenTest, EachRowSetsItsOptionAndWritesTheFileAndTheLeftChoiceKeepsItsEdges) {
  MusicRec->Playing = true;
  ClickAt(650, 217);  // MUZIKA: NE stops the music at once
  EXPECT_FALSE(GameOptions.Music || MusicRec->Playing);
  ASSERT_EQ(Writes().size(), 4u) << "every click writes all four options";
  EXPECT_NE(Writes()[1].find("Music=False"), std::string::npos) << Writes()[1];
  // ZVUCNI EFEKTI and PARTICLE EFEKTI: NE, and back.
  for (auto [X, Y, Option, Want] : {std::tuple{650, 257, &GameOptions.Sound, false}, {650, 307, &GameOptions.Particle, false},
                                    {320, 307, &GameOptions.Particle, true}, {320, 257, &GameOptions.Sound, true}}) {
    ClickAt(X, Y);
    EXPECT_EQ(*Option, Want) << X << "," << Y;
  }
  EXPECT_EQ(Writes().size(), 20u);
  // The left choice takes its right and bottom edges but not one more.
  for (auto [X, Y, Hit] : {std::tuple{421, 167, false}, {420, 167, true}, {330, 177, true}, {330, 178, false}}) {
    GameOptions.Screen = false;
    ClickAt(X, Y);
    EXPECT_EQ(GameOptions.Screen, Hit) << X << "," << Y;
  }
  EXPECT_EQ(Writes().size(), 28u) << "a miss writes nothing";
}

TEST_F(OptionsScreenTest, RestartNoticeShowsWhileTheScreenChoiceDiffersFromTheStart) {
  EXPECT_FALSE(NoticeIn(Frame([] { DrawOptionsScreen(); })));
  EXPECT_TRUE(NoticeIn(ClickAt(650, 167)));  // puni ekran
  EXPECT_FALSE(GameOptions.Screen);
  EXPECT_TRUE(NoticeIn(Frame([] { DrawOptionsScreen(); })));
  EXPECT_FALSE(NoticeIn(ClickAt(330, 167)));  // u prozoru again
  EXPECT_TRUE(GameOptions.ScreenChanged && GameOptions.ScreenAtStart);
  EXPECT_FALSE(NoticeIn(ClickAt(330, 167)));
}

struct EndCase {
  bool MusicOn;
  int32_t Position;  // reached in frame 3; the length is 1000
  bool Restarts;
};

class MusicEndTest : public GameTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(MusicEndTest, RestartsFromTheStartOnlyWhenTheEndIsReachedWithMusicOn) {
  const EndCase Case = GetParam();
  WriteOptions(true, Case.MusicOn, true, true);
  MusicRec->Length = 1000;
  std::vector<int32_t> RestartFrames;
  size_t Seen = 0;
  Engine->OnFrame = [&](int32_t Frame, RecordingGfxEngine&) {
    // Calls made since the last poll belong to the frame before.
    for (; Seen < MusicRec->Calls.size(); ++Seen)
      if (MusicRec->Calls[Seen].Op == "Play" && MusicRec->Calls[Seen].Value == -1) RestartFrames.push_back(Frame - 1);
    if (Frame == 3) MusicRec->Position = Case.Position;
  };
  ASSERT_EQ(RunFrames(6), 0);
  EXPECT_EQ(RestartFrames, Case.Restarts ? std::vector<int32_t>{3} : std::vector<int32_t>{});
  // At start-up the music is loaded, and played only with Music on.
  std::vector<std::string> Start;
  for (size_t I = 0; I < 3; ++I)
    Start.push_back(MusicRec->Calls.at(I).Op + " " + MusicRec->Calls.at(I).Text + std::to_string(MusicRec->Calls.at(I).Value));
  EXPECT_EQ(Start, (std::vector<std::string>{"Load \\sound\\music.wma0", Case.MusicOn ? "Play 0" : "Stop -1", "SetVolume 95"}));
}

INSTANTIATE_TEST_SUITE_P(Positions, MusicEndTest,
                         ::testing::Values(EndCase{true, 999, false}, EndCase{true, 1000, true},
                                           EndCase{true, 1500, true}, EndCase{false, 1000, false},
                                           EndCase{false, 5000, false}),
                         [](const ::testing::TestParamInfo<EndCase>& Info) {
                           return std::string(Info.param.MusicOn ? "MusicOn" : "MusicOff") + "At" +
                                  std::to_string(Info.param.Position);
                         });

TEST(MusicOptionTest, SwitchingMusicOffStopsAtOnceAndOnPlaysAgain) {
  auto Player = std::make_shared<RecordingMusicPlayer>();
  Music = Player;
  GameOptions.Music = false;
  ApplyMusicOption();
  GameOptions.Music = true;
  ApplyMusicOption();
  Music.reset();
  std::vector<std::string> Ops;
  for (const auto& C : Player->Calls) Ops.push_back(C.Op + " " + std::to_string(C.Value));
  EXPECT_EQ(Ops, (std::vector<std::string>{"Stop -1", "SetVolume 95", "Play 0", "SetVolume 95"}));
  GameOptions = {};
}

}  // namespace
}  // namespace pikora::test
