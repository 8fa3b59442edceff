// The nine effects and the music at start-up.
#include <gtest/gtest.h>

#include "support/GameFixture.h"

namespace pikora::test {
namespace {

class SoundsTest : public GameTest {
 protected:
  std::vector<std::string> MusicOps() const {
    std::vector<std::string> Out;
    for (const auto& C : MusicRec->Calls) Out.push_back(C.Op + (C.Text.empty() ? "" : " " + C.Text) + " " +
                                                        std::to_string(C.Value));
    return Out;
  }
};

TEST_F(SoundsTest, RegistersTheNineEffectsInOrderThenLoadsAndPlaysTheMusic) {
  ASSERT_EQ(RunFrames(1), 0);
  std::vector<std::string> Effects;
  for (const auto& Call : Engine->CallsOf("LoadSound")) Effects.push_back(Call.Name + "=" + Call.Text);
  EXPECT_EQ(Effects, (std::vector<std::string>{
                         "click=\\sound\\click.wav", "1key=\\sound\\1key.wav", "2key=\\sound\\2key.wav",
                         "3key=\\sound\\3key.wav", "4key=\\sound\\4key.wav",
                         "levelcompleted=\\sound\\levelcompleted.wav", "joker=\\sound\\joker.wav",
                         "packcompleted=\\sound\\packcompleted.wav", "gameover=\\sound\\gameover.wav"}));
  EXPECT_EQ(MusicOps(), (std::vector<std::string>{"Load \\sound\\music.wma 0", "Play 0", "SetVolume 95"}));
}

TEST_F(SoundsTest, MusicOffStaysSilentAtStart) {
  WriteOptions(true, false, true, true);
  ASSERT_EQ(RunFrames(1), 0);
  EXPECT_EQ(MusicOps(), (std::vector<std::string>{"Load \\sound\\music.wma 0", "Stop -1", "SetVolume 95"}));
}

}  // namespace
}  // namespace pikora::test
