// Where the game runs: in place where it was built, in the player's own folder where installed.
#include "app/GameFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

TEST(GameFolder, BuiltInPlaceInstalledInThePlayersFolderKeepingTheirOptionsAndPacks) {
  TempFolder F;
  WriteFile(F / "build/game data/options.ini", "[Options]\n");
  EXPECT_EQ(ChooseGameFolder((F / "build").string()), (F / "build").string());

  const fs::path Data = F / "usr/share/pikora", Player = F / "xdg/pikora";
  for (const char* File : {"game data/pictures.pkr", "game data/options.ini", "sound/click.wav", "packs/A.pkr"})
    WriteFile(Data / File, std::string("installed ") + File);
  fs::create_directories(F / "usr/games");
  setenv("XDG_DATA_HOME", (F / "xdg").c_str(), 1);
  EXPECT_EQ(ChooseGameFolder((F / "usr/games").string()), Player.string());
  EXPECT_EQ(ReadFile(Player / "sound/click.wav"), "installed sound/click.wav");
  // The copy keeps the installed time, or every start would count it as changed and copy it again.
  EXPECT_EQ(fs::last_write_time(Player / "sound/click.wav"), fs::last_write_time(Data / "sound/click.wav"));

  // The player's options and scores stay; an upgraded install brings its own pictures.
  WriteFile(Player / "game data/options.ini", "mine");
  WriteFile(Player / "packs/A.pkr", "my scores");
  WriteFile(Data / "game data/pictures.pkr", "upgraded pictures");
  WriteFile(Data / "packs/B.pkr", "new pack");
  ChooseGameFolder((F / "usr/games").string());
  EXPECT_EQ(ReadFile(Player / "game data/options.ini"), "mine");
  EXPECT_EQ(ReadFile(Player / "packs/A.pkr"), "my scores");
  EXPECT_EQ(ReadFile(Player / "packs/B.pkr"), "new pack");
  EXPECT_EQ(ReadFile(Player / "game data/pictures.pkr"), "upgraded pictures");

  // A relative XDG_DATA_HOME is ignored, as the base-directory rules ask.
  setenv("XDG_DATA_HOME", "relative", 1);
  EXPECT_EQ(PlayerGameFolder(), fs::path(std::getenv("HOME")) / ".local/share/pikora");
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace pikora::test
