#pragma once
// Runs game code at the start of chosen frames (before the frame's screens are drawn).
#include <functional>
#include <map>

#include "support/GameFixture.h"

namespace pikora::test {

class PackScriptTest : public GameTest {
 protected:
  PackScriptTest() {
    Engine->OnFrame = [this](int32_t Frame, RecordingGfxEngine&) {
      auto It = Actions.find(Frame);
      if (It != Actions.end()) It->second();
    };
  }
  void At(int32_t Frame, std::function<void()> Action) { Actions[Frame] = std::move(Action); }
  std::map<int32_t, std::function<void()>> Actions;
};

}  // namespace pikora::test
