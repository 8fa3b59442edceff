#pragma once
// A silent music player for tests: keeps its calls; position and length are set by the test.
#include <string>
#include <vector>

#include "engine/MusicPlayer.h"

namespace pikora {

class RecordingMusicPlayer : public MusicPlayer {
 public:
  struct Call {
    std::string Op;
    std::string Text;
    int32_t Value = 0;
  };
  std::vector<Call> Calls;
  int32_t Position = 0;
  int32_t Length = 60000;
  bool Playing = false;

  void Load(const std::string& File) override { Calls.push_back({"Load", File, 0}); }
  void Play(bool FromStart) override {
    Calls.push_back({"Play", {}, FromStart ? -1 : 0});
    if (FromStart) Position = 0;
    Playing = true;
  }
  void Stop(bool Immediately) override {
    Calls.push_back({"Stop", {}, Immediately ? -1 : 0});
    Playing = false;
  }
  void SetVolume(int32_t Volume) override { Calls.push_back({"SetVolume", {}, Volume}); }
  int32_t GetPosition() override { return Position; }
  int32_t GetLength() override { return Length; }
};

}  // namespace pikora
