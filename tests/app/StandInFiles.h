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

  // Opacities of one texture's sprites in a frame, in drawing order.
  std::vector<int> Opacities(int32_t Frame, const std::string& TextureFile) const {
    std::vector<int> Out;
    for (const auto& Call : Engine->SpritesIn(Frame, TextureFile)) Out.push_back(int(Call[5]));
    return Out;
  }
  // Position of the first call matching in a frame's calls, -1 when none.
  long IndexIn(int32_t Frame, const std::string& Op, const std::string& Name) const {
    const auto Calls = Engine->CallsIn(Frame);
    for (size_t I = 0; I < Calls.size(); ++I)
      if (Calls[I].Op == Op && (Calls[I].Name == Name || Calls[I].Text == Name)) return long(I);
    return -1;
  }
};

}  // namespace pikora::test
