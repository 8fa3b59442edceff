// The installed game: cmake --install into a temporary prefix made read-only, started there with
// a home folder of its own, as a player's desktop starts it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "support/GameFixture.h"

extern char** environ;

namespace pikora::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& Done, Clock::duration Limit) {
  for (const auto Deadline = Clock::now() + Limit; Clock::now() < Deadline; std::this_thread::sleep_for(20ms))
    if (Done()) return true;
  return Done();
}

// A child process, killed if the test leaves before it ends. Set changes the environment; an
// empty value removes a variable. Output goes to OutFd, else to /dev/null.
struct Child {
  pid_t Pid = -1;
  Child(const std::vector<std::string>& Argv, const std::map<std::string, std::string>& Set = {}, int OutFd = -1) {
    std::vector<std::string> Env;
    for (char** E = environ; *E; ++E)
      if (const std::string Entry = *E; !Set.count(Entry.substr(0, Entry.find('=')))) Env.push_back(Entry);
    for (const auto& [Name, Value] : Set)
      if (!Value.empty()) Env.push_back(Name + "=" + Value);
    std::vector<char*> A, E;
    for (const auto& S : Argv) A.push_back(const_cast<char*>(S.c_str()));
    for (const auto& S : Env) E.push_back(const_cast<char*>(S.c_str()));
    A.push_back(nullptr);
    E.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    if (OutFd >= 0) posix_spawn_file_actions_adddup2(&Actions, OutFd, 1);
    else posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&Pid, A[0], &Actions, nullptr, A.data(), E.data()) != 0) Pid = -1;
    posix_spawn_file_actions_destroy(&Actions);
  }
  ~Child() {
    if (Pid > 0) kill(Pid, SIGKILL), Wait(5s);
  }
  // The exit status; -1 for a signal, or a child still running after Limit.
  int Wait(Clock::duration Limit) {
    int S = 0;
    if (Pid <= 0 || !WaitFor([&] { return waitpid(Pid, &S, WNOHANG) == Pid; }, Limit)) return -1;
    Pid = -1;
    return WIFEXITED(S) ? WEXITSTATUS(S) : -1;
  }
};

// Runs a tool to its end (30 s at most) and returns what it printed.
std::string RunTool(const std::vector<std::string>& Argv, const std::map<std::string, std::string>& Set = {}) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return {};
  Child Tool(Argv, Set, Pipe[1]);
  close(Pipe[1]);
  std::string Out;
  char Buffer[512];
  pollfd In{Pipe[0], POLLIN, 0};
  for (ssize_t N = 1; N > 0 && poll(&In, 1, 30000) > 0;)
    if ((N = read(Pipe[0], Buffer, sizeof Buffer)) > 0) Out.append(Buffer, size_t(N));
  close(Pipe[0]);
  Tool.Wait(1s);
  return Out;
}

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

  // Xvfb picks a free display and names it once it is ready.
  int Pipe[2];
  ASSERT_EQ(pipe(Pipe), 0);
  Child X({"Xvfb", "-displayfd", std::to_string(Pipe[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
  close(Pipe[1]);
  pollfd Ready{Pipe[0], POLLIN, 0};
  char Number[16] = {};
  ASSERT_TRUE(poll(&Ready, 1, 10000) > 0 && read(Pipe[0], Number, sizeof Number - 1) > 0) << "Xvfb did not start";
  close(Pipe[0]);
  const std::map<std::string, std::string> XEnv = {{"DISPLAY", ":" + std::to_string(std::atoi(Number))}};
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
  const auto Frame = (Frames.back().first - Frames.front().first) / std::max(1L, Frames.back().second - Frames.front().second);
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
  kill(X.Pid, SIGTERM);
  X.Wait(10s);

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
