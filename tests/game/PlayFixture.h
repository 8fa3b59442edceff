#pragma once
// A pack run set up directly in the globals, driven through the real frame loop.
#include <memory>
#include <vector>

#include "engine/Components.h"
#include "support/GameFixture.h"

namespace pikora::test {

class PlayTest : public GameTest {
 protected:
  PlayTest();

  void ClickAt(int32_t Frame, int32_t X, int32_t Y) { Engine->Click(Frame, X, Y); }
  void PressAt(int32_t Frame, int32_t ScanCode) { Engine->Press(Frame, ScanCode); }

  // A run of a three-level pack on its pre-level screen from Frame on. Difference k of the
  // level spans 10k to 10k+8 both ways.
  void StartRun(int32_t Frame, bool IsVertical);
  // The level's pictures loaded and the level running from Frame on.
  // The default fade ends in that frame: clicks count at once, the timer starts a frame later.
  void PlayLevel(int32_t Frame, float Fade = 99);
  // This frame takes clicks on the pictures but does not advance the timer: the fade ends in it.
  void LastFadeFrame(int32_t Frame) {
    At(Frame, [] { LevelFade = 99; });
  }
  // Points on a picture, in picture pixels.
  int32_t OnOriginalX(int32_t PX) const { return (Portrait ? 185 : 350) + PX; }
  int32_t OnOriginalY(int32_t PY) const { return (Portrait ? 100 : 29) + PY; }
  int32_t OnModifiedX(int32_t PX) const { return (Portrait ? 471 : 350) + PX; }
  int32_t OnModifiedY(int32_t PY) const { return (Portrait ? 100 : 315) + PY; }
  bool Portrait = true;  // the layout of the run StartRun sets up

  std::vector<RecordedCall> Sounds(int32_t Frame) const { return Engine->CallsIn(Frame, "PlaySound"); }
  static int FoundCount();
};

}  // namespace pikora::test
