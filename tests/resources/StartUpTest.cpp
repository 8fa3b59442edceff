// What start-up loads: pictures.pkr unpacked, loaded and cleaned away; the fonts and the nine
// effects. The music's start is in the options tests.
#include <gtest/gtest.h>

#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public GameTest {
 protected:
  std::vector<std::string> LeftInGameFolder() const {
    std::vector<std::string> Out;
    for (const auto& Entry : TextureTable)
      if (fs::exists(Folder / Entry.File)) Out.push_back(Entry.File);
    if (fs::exists(Folder / "picinfo.ini")) Out.push_back("picinfo.ini");
    return Out;
  }
};

TEST_F(StartUpTest, LoadsTexturesFontsAndEffectsInOrderAndLeavesNoFilesBehind) {
  // Left by an earlier run that died half-way.
  WriteFile(Folder / "sky.jpg", "old");
  WriteFile(Folder / "picinfo.ini", "[1]\n");
  ASSERT_EQ(RunFrames(1), 0);
  const auto Loads = Engine->CallsOf("LoadTexture");
  ASSERT_EQ(Loads.size(), 26u);
  for (size_t I = 0; I < 26; ++I) {
    EXPECT_EQ(Loads[I].Name, TextureTable[I].File);
    const bool Keyed = Loads[I].Name == "mouse.bmp" || Loads[I].Name == "button.bmp";
    EXPECT_EQ(Loads[I][0], Keyed ? 0xFF00FF : 0) << Loads[I].Name;
  }
  EXPECT_EQ(Loads.back().Frame, 0) << "all before the first frame";
  EXPECT_EQ(LeftInGameFolder(), std::vector<std::string>{});
  for (const auto& Entry : TextureTable) EXPECT_EQ(*Entry.Slot, nullptr) << Entry.File << " kept after shutdown";

  std::vector<std::string> Loaded;
  for (const auto& Call : Engine->CallsOf("CreateFont"))
    Loaded.push_back(Call.Name + "/" + Call.Text + "/" + std::to_string(int(Call[0])) + (Call[1] ? "b" : "") +
                     (Call[2] ? "i" : ""));
  for (const auto& Call : Engine->CallsOf("LoadSound")) Loaded.push_back(Call.Name + "=" + Call.Text);
  EXPECT_EQ(Loaded, (std::vector<std::string>{
                        "small/Verdana/8", "titleS/Verdana/10b", "titleM/Verdana/15b", "titleL/Verdana/20b",
                        "highscores/Curier New/10b", "highscoresbig/Curier New/20b", "click=\\sound\\click.wav",
                        "1key=\\sound\\1key.wav", "2key=\\sound\\2key.wav", "3key=\\sound\\3key.wav",
                        "4key=\\sound\\4key.wav", "levelcompleted=\\sound\\levelcompleted.wav",
                        "joker=\\sound\\joker.wav", "packcompleted=\\sound\\packcompleted.wav",
                        "gameover=\\sound\\gameover.wav"}));
}

TEST_F(StartUpTest, TheCommittedPicturesStartTheGameAndLeaveNothingBehind) {
  UseRealData();
  ASSERT_EQ(RunFrames(1), 0);
  EXPECT_EQ(Engine->CallsOf("LoadTexture").size(), 26u);
  EXPECT_EQ(LeftInGameFolder(), std::vector<std::string>{});
}

TEST_F(StartUpTest, MissingPictureStopsTheStartWithItsNameAndCleansUp) {
  std::vector<std::pair<std::string, std::string>> Pictures;
  for (const auto& Entry : TextureTable)
    if (std::string(Entry.File) != "help.dds") Pictures.emplace_back(Entry.File, "stand-in");
  MakeZip(Folder / "game data" / "pictures.pkr", Pictures);
  WriteFile(Folder / "help.dds", "left by an earlier run: must not stand in");
  testing::internal::CaptureStderr();
  EXPECT_NE(RunFrames(3), 0);
  const std::string Err = testing::internal::GetCapturedStderr();
  EXPECT_NE(Err.find("help.dds"), std::string::npos) << Err;
  EXPECT_TRUE(Engine->CallsOf("BeginFrame").empty());
  EXPECT_EQ(LeftInGameFolder(), std::vector<std::string>{});
}

}  // namespace
}  // namespace pikora::test
