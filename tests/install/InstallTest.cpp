// The installed game: cmake --install into a temporary prefix made read-only, started there with
// a home folder of its own, as a player's desktop starts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/Processes.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    Child Install({PIKORA_CMAKE, "--install", PIKORA_BUILD_DIR, "--prefix", Prefix.string()});
    ASSERT_EQ(Install.Wait(60s), 0) << "cmake --install failed";
    ASSERT_TRUE(fs::exists(Data / "game data" / "pictures.pkr"));
  }
  void TearDown() override {
    if (fs::exists(Prefix)) ReadOnly(false);
  }

  void ReadOnly(bool On) {
    const auto Write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const auto How = On ? fs::perm_options::remove : fs::perm_options::add;
    for (const auto& E : fs::recursive_directory_iterator(Prefix))
      fs::permissions(E.path(), On ? Write : fs::perms::owner_write, How);
  }

  // Every file under the prefix with its size and time: root writes through read-only bits.
  std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Snapshot() {
    std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Files;
    for (const auto& E : fs::recursive_directory_iterator(Prefix))
      Files[E.path().string()] = {E.is_regular_file() ? E.file_size() : 0, E.last_write_time()};
    return Files;
  }

  std::map<std::string, std::string> PlayerEnv(const std::string& Video) {
    return {{"HOME", Home.string()}, {"XDG_DATA_HOME", ""}, {"SDL_VIDEODRIVER", Video}, {"SDL_AUDIODRIVER", "dummy"}};
  }

  // Starts the installed game headless and, once it has scanned the packs, ends it as a session
  // does: SDL turns SIGTERM into a close request. Returns its exit status.
  int StartAndClose() {
    Child Game({(Prefix / PIKORA_INSTALLED_GAME).string()}, PlayerEnv("offscreen"));
    EXPECT_TRUE(WaitFor([&] { return fs::exists(Player / "0packinfo.ini"); }, 30s)) << "the packs were never scanned";
    kill(Game.Pid, SIGTERM);
    return Game.Wait(30s);
  }

  TempFolder Folder;
  fs::path Prefix = Folder / "prefix", Home = Folder / "home", Player = Home / ".local/share/pikora";
  fs::path Data = Prefix / PIKORA_INSTALLED_DATA_DIR;
};

std::string Table(const std::string& Name) {
  std::string Text = "[scores]\n";
  for (int I = 1; I <= 10; ++I)
    Text += std::to_string(I) + "_name=" + Name + std::to_string(I) + "\n" + std::to_string(I) +
            "_score=" + std::to_string(11 - I) + "\n";
  return Text;
}

TEST_F(Installed, PlaysALevelToAStoredResultThatOutlivesARestart) {
  if (!fs::exists("/usr/bin/Xvfb") || !fs::exists("/usr/bin/xdotool"))
    GTEST_SKIP() << "Xvfb and xdotool are missing (scripts/setup installs them)";
  // A one-level pack made of a shipped pack's first level, so that one level ends the run.
  const fs::path Selo = Data / "packs" / "Selo.pkr";
  MakeZip(Data / "packs" / "Proba.pkr", {{"packinfo.ini", "[General]\nNumOfLevels=1\nVertical=False\nPackInfo=Proba\n"},
                                         {"picinfo.ini", ZipEntry(Selo, "picinfo.ini")},
                                         {"hscore.ini", Table("Igrac")},
                                         {"1.jpg", ZipEntry(Selo, "1.jpg")},
                                         {"1x.jpg", ZipEntry(Selo, "1x.jpg")}});
  ReadOnly(true);
  const auto Before = Snapshot();

  XServer Xvfb;
  ASSERT_NE(Xvfb.Display, "") << "Xvfb did not start";
  const std::map<std::string, std::string> XEnv = {{"DISPLAY", Xvfb.Display}};
  auto Env = PlayerEnv("");
  Env.insert(XEnv.begin(), XEnv.end());
  // Sanitized builds: X's libraries leak from modules they unload, which no suppression can name.
  Env["ASAN_OPTIONS"] = "detect_leaks=0:abort_on_error=1";
  Child Game({(Prefix / PIKORA_INSTALLED_GAME).string()}, Env);
  std::string Window = RunTool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "Pikora"}, XEnv);
  Window = Window.substr(0, Window.find('\n'));
  ASSERT_FALSE(Window.empty()) << "no window named Pikora";
  RunTool({"xdotool", "windowfocus", Window}, XEnv);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(Player / "0packinfo.ini"); }, 30s));

  auto Key = [&](const std::string& Name) { RunTool({"xdotool", "key", Name}, XEnv); };
  auto Click = [&](int X, int Y) {
    RunTool({"xdotool", "mousemove", "--window", Window, std::to_string(X), std::to_string(Y), "click", "1"}, XEnv);
  };
  // Presses S and waits for its screenshot: the game has then taken every earlier input. The
  // frame numbers in the names give the frame period, which the name entry is paced by.
  std::vector<std::pair<Clock::time_point, long>> Frames;
  auto Shot = [&] {
    auto Newest = [&] {
      std::string Name;
      std::error_code Ec;
      for (const auto& E : fs::directory_iterator(Player / "screenshots", Ec))
        if (E.path().extension() == ".png") Name = std::max(Name, E.path().filename().string());
      return Name;
    };
    const std::string Had = Newest();
    std::this_thread::sleep_for(550ms);  // the game takes one picture per half second
    Key("s");
    ASSERT_TRUE(WaitFor([&] { return Newest() != Had; }, 20s)) << "no screenshot in the player's folder";
    Frames.emplace_back(Clock::now(), std::stol(Newest().substr(Newest().rfind("-f") + 2)));
  };
  std::vector<std::string> Packs;
  for (const auto& E : fs::directory_iterator(Player / "packs")) Packs.push_back(E.path().filename().string());
  std::sort(Packs.begin(), Packs.end());
  const int Row = int(std::find(Packs.begin(), Packs.end(), "Proba.pkr") - Packs.begin());

  Click(79, 27);  // Nova Igra
  Shot();
  Click(512, 175 + 20 * Row + 9);
  Shot();
  Click(530, 445);  // START
  Shot();
  Key("F12");  // the debug key J reveals a difference, one a frame; a spare one does nothing
  Shot();
  for (int I = 0; I < 6; ++I) {
    Key("j");
    Shot();
  }
  const auto Frame =
      (Frames.back().first - Frames.front().first) / std::max(1L, Frames.back().second - Frames.front().second);
  const auto Pause = std::max<Clock::duration>(300ms, 4 * Frame);
  Click(530, 445);  // UNESI REZULTAT: from here the name entry takes every key, S too
  std::this_thread::sleep_for(Pause);
  for (const char* K : {"d", "i", "n", "o"}) Key(K);  // read in this order even within one frame
  std::this_thread::sleep_for(Pause);
  Key("Return");
  const fs::path Pack = Player / "packs" / "Proba.pkr";
  auto Stored = [&] { return ZipEntry(Pack, "hscore.ini").find("=Dino") != std::string::npos; };
  EXPECT_TRUE(WaitFor(Stored, 5s + 4 * Frame)) << "the result never reached the player's pack";
  Key("Escape");
  EXPECT_EQ(Game.Wait(30s), 0);

  EXPECT_EQ(StartAndClose(), 0);
  EXPECT_TRUE(Stored()) << "the restart lost the result";
  EXPECT_FALSE(fs::exists(Player / "0hscore.ini"));
  EXPECT_TRUE(Snapshot() == Before) << "something was written under the prefix";
}

TEST_F(Installed, ANewPackJoinsThePlayersFolderWhileTheirScoresAndOptionsStay) {
  ReadOnly(true);
  const auto Before = Snapshot();
  ASSERT_EQ(StartAndClose(), 0);
  for (const auto& E : fs::recursive_directory_iterator(Data)) {
    const fs::path Copy = Player / fs::relative(E.path(), Data);
    ASSERT_TRUE(fs::exists(Copy)) << Copy;
    // Read-only installed files give copies the player can still write: scores go into packs.
    EXPECT_NE(fs::status(Copy).permissions() & fs::perms::owner_write, fs::perms::none) << Copy;
  }
  // The player's own results and options, then a new pack in the install.
  const fs::path Selo = Player / "packs" / "Selo.pkr";
  std::vector<std::pair<std::string, std::string>> Entries;
  for (const auto& Name : ZipEntries(Selo))
    Entries.emplace_back(Name, Name == "hscore.ini" ? Table("Moj") : ZipEntry(Selo, Name));
  MakeZip(Selo, Entries);
  const std::string Options = "[Options]\nScreen=True\nMusic=False\nSound=False\nParticle=True\n";
  WriteFile(Player / "game data" / "options.ini", Options);
  ReadOnly(false);
  fs::copy_file(Data / "packs" / "Svemir.pkr", Data / "packs" / "Novi.pkr");
  ReadOnly(true);
  const auto WithNewPack = Snapshot();

  ASSERT_EQ(StartAndClose(), 0);
  EXPECT_EQ(ZipEntry(Player / "packs" / "Novi.pkr", "packinfo.ini"),
            ZipEntry(Data / "packs" / "Novi.pkr", "packinfo.ini"));
  EXPECT_EQ(ZipEntry(Selo, "hscore.ini"), Table("Moj"));
  EXPECT_EQ(ReadFile(Player / "game data" / "options.ini"), Options);
  EXPECT_TRUE(Before.size() + 1 == WithNewPack.size() && Snapshot() == WithNewPack) << "written under the prefix";
}

}  // namespace
}  // namespace pikora::test
