// A long run of the real game (SDL engine, file tools, music player, committed data) under a
// random player, started again each time the player quits.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "app/Random.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "engine/HighScoreTable.h"
#include "soak/RandomInput.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

int64_t FramesWanted() {
  const char* Text = std::getenv("PIKORA_SOAK_FRAMES");
  if (Text && *Text) return std::max<int64_t>(1, std::atoll(Text));
  return PIKORA_SOAK_DEFAULT_FRAMES;
}

double ResidentMb() {
  long Pages = 0, Resident = 0;
  std::ifstream("/proc/self/statm") >> Pages >> Resident;
  return double(Resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakMb() {
  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  return double(Usage.ru_maxrss) / 1024.0;
}

// Every file of the folder by relative path, with its bytes; screenshots are the player's.
std::map<std::string, std::string> Contents(const fs::path& Folder) {
  std::map<std::string, std::string> Files;
  for (const auto& Entry : fs::recursive_directory_iterator(Folder)) {
    const std::string Relative = fs::relative(Entry.path(), Folder).generic_string();
    if (Relative.rfind("screenshots", 0) == 0 || !Entry.is_regular_file()) continue;
    Files[Relative] = ReadFile(Entry.path());
  }
  return Files;
}

std::vector<std::string> Sorted(std::vector<std::string> Names) {
  std::sort(Names.begin(), Names.end());
  return Names;
}

// "" when the text is a full, best-first table of the pack; else what is wrong with it.
std::string TableFault(const std::string& Text) {
  std::map<std::string, std::string> Keys;
  std::istringstream In(Text);
  std::string Line, Section;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.empty()) continue;
    if (Line.front() == '[') {
      Section = Line;
      continue;
    }
    const size_t Eq = Line.find('=');
    if (Section != "[scores]" || Eq == std::string::npos) return "stray line: " + Line;
    Keys[Line.substr(0, Eq)] = Line.substr(Eq + 1);
  }
  float Previous = 1e30f;
  for (int Place = 1; Place <= hs::Places; ++Place) {
    float Score = 0;
    if (!Keys.count(hs::NameKey(Place)) || !Keys.count(hs::ScoreKey(Place)))
      return "place " + std::to_string(Place) + " missing";
    if (!hs::ParseScore(Keys[hs::ScoreKey(Place)], Score)) return "place " + std::to_string(Place) + " unreadable";
    if (Score > Previous) return "place " + std::to_string(Place) + " above the one before";
    Previous = Score;
  }
  return Keys.size() == size_t(2 * hs::Places) ? "" : "extra keys";
}

class SoakTest : public GameTest {
 protected:
  SoakTest() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    UseRealData(true);
    SdlPaceFrames = false;
    Factory.MakeGfx = [this] { return std::make_shared<RandomInputEngine>(Rng, Log); };
    Factory.MakeFiles = MakeZipFileTools;
    Factory.MakeMusic = MakeFfmpegMusicPlayer;
  }
  ~SoakTest() override { SdlPaceFrames = true; }

  std::mt19937 Rng{20240501};
  SoakLog Log;
};

TEST_F(SoakTest, RandomPlayerOverEveryScreenLeavesTheFolderAsItWas) {
  const auto Before = Contents(Folder.Path);
  std::map<std::string, std::vector<std::string>> PackEntries;
  for (const auto& Pack : fs::directory_iterator(Folder / "packs"))
    PackEntries[Pack.path().filename().string()] = Sorted(ZipEntries(Pack.path()));

  const int64_t Total = FramesWanted(), WarmUp = Total / 20;
  Log.Stop = Total;
  double WarmMb = -1, HighestMb = 0;
  int Runs = 0;
  const auto Start = std::chrono::steady_clock::now();
  while (Log.Frames < Total) {
    // As a fresh process: program-load state, a window not yet loaded, a new random seed.
    ResetGlobals();
    frmMain::Reset();
    SeedRandom(Rng());
    const int64_t StartFrame = Log.Frames;
    const int Status = Main();
    ++Runs;
    ASSERT_EQ(Status, 0) << "run " << Runs << " failed after frame " << Log.Frames;
    ASSERT_GT(Log.Frames, StartFrame) << "run " << Runs << " drew no frame";
    HighestMb = std::max(HighestMb, ResidentMb());
    // Compared between runs: then the game holds nothing of its own.
    if (WarmMb < 0 && Log.Frames >= WarmUp) WarmMb = ResidentMb();
  }
  const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  const double EndMb = ResidentMb();

  std::cout << "soak: " << Log.Frames << " frames in " << Runs << " runs, " << Seconds << " s ("
            << int(double(Log.Frames) / Seconds) << " frames/s); " << Log.Clicks << " clicks, " << Log.Keys
            << " keys, " << Log.Escapes << " escapes, " << Log.Closes << " close requests, " << Log.Screenshots
            << " screenshots, " << Log.DebugToggles << " debug toggles\n"
            << "soak: particles at most " << Log.MostParticlesLive << " live, " << Log.MostParticlesDrawn
            << " drawn in a frame\n"
            << "soak: " << Log.LevelsWon << " levels won, " << Log.PacksCompleted << " packs completed, " << Log.GamesOver
            << " games over, " << Log.NameEntries << " name entries\n"
            << "soak: frames by screen " << ::testing::PrintToString(Log.FramesOn) << "\n"
            << "soak: resident " << WarmMb << " MB after warm-up, " << EndMb << " MB at the end, highest between runs "
            << HighestMb << " MB; peak (ru_maxrss) " << PeakMb() << " MB\n";

  for (int16_t Screen : {1, 2, 3, 4, 5, 9, 10, 55}) EXPECT_TRUE(Log.Screens.count(Screen)) << "screen " << Screen;
  EXPECT_EQ(Log.ParticleFaults, 0);
  EXPECT_LE(Log.MostParticlesDrawn, 151);
  if (Total >= 20000) {
    EXPECT_GE(Runs, 5) << "start-up and shutdown should come round many times";
  }
#if !defined(__SANITIZE_ADDRESS__)
  // The sanitizer keeps freed memory in quarantine, so its resident set says nothing here.
  if (WarmMb > 0 && Runs >= 3) {
    EXPECT_LT(EndMb - WarmMb, 8.0) << "memory grows run after run";
  }
#endif

  // Nothing left behind, nothing damaged.
  const auto After = Contents(Folder.Path);
  std::vector<std::string> Left, Gone;
  for (const auto& [Name, Bytes] : After)
    if (!Before.count(Name)) Left.push_back(Name);
  for (const auto& [Name, Bytes] : Before)
    if (!After.count(Name)) Gone.push_back(Name);
  EXPECT_TRUE(Left.empty()) << "left behind: " << ::testing::PrintToString(Left);
  EXPECT_TRUE(Gone.empty()) << "gone: " << ::testing::PrintToString(Gone);
  for (const auto& [Name, Bytes] : Before) {
    if (Name.rfind("packs/", 0) != 0 && Name != "game data/options.ini" && After.count(Name)) {
      EXPECT_TRUE(After.at(Name) == Bytes) << Name << " changed";
    }
  }
  for (const auto& [Pack, Entries] : PackEntries) {
    const fs::path Archive = Folder / "packs" / Pack;
    EXPECT_EQ(Sorted(ZipEntries(Archive)), Entries) << Pack;
    EXPECT_EQ(TableFault(ZipEntry(Archive, "hscore.ini")), "") << Pack;
    EXPECT_TRUE(ZipEntry(Archive, "picinfo.ini") == ZipEntry(fs::path(PIKORA_SOURCE_DIR) / "data/packs" / Pack,
                                                              "picinfo.ini"))
        << Pack << " level data changed";
  }
  const std::string Options = ReadFile(Folder / "game data" / "options.ini");
  for (const std::string Key : {"Screen", "Music", "Sound", "Particle"}) {
    const bool Set = Options.find("\n" + Key + "=True") != std::string::npos ||
                     Options.find("\n" + Key + "=False") != std::string::npos;
    EXPECT_TRUE(Set) << Key << " missing from options.ini:\n" << Options;
  }
}

}  // namespace
}  // namespace pikora::test
