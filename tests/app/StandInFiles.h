#pragma once
// File tools for the frame tests: no archives, just the unpacked pictures and the option values
// the test chooses, so the frame loop runs without any real data.
#include <filesystem>
#include <map>

#include "support/GameFixture.h"
#include "support/NullFileTools.h"

namespace pikora::test {

class StandInFileTools : public NullFileTools {
 public:
  explicit StandInFileTools(std::filesystem::path GameFolder) : Folder(std::move(GameFolder)) {}
  void ExtractAll(const std::string&, int32_t) override {
    for (const auto& Entry : TextureTable) WriteFile(Folder / Entry.File, "stand-in");
  }
  std::string ReadINI(const std::string&, const std::string& Key, const std::string&, int32_t) override {
    const auto It = Values.find(Key);
    return It == Values.end() ? std::string() : It->second;
  }
  std::map<std::string, std::string> Values;

 private:
  std::filesystem::path Folder;
};

// The real Main loop with the recording engine and the stand-in file tools.
class FrameTest : public GameTest {
 protected:
  FrameTest() : StandIn(std::make_shared<StandInFileTools>(Folder.Path)) {
    Factory.MakeFiles = [this](const std::string&, GfxEngine*) { return StandIn; };
  }
  std::shared_ptr<StandInFileTools> StandIn;
};

}  // namespace pikora::test
