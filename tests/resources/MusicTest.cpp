// The Music option and the end-of-music rule of the frame loop.
#include <gtest/gtest.h>

#include "resources/modLoad.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

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
