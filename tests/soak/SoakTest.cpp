// A long run of the real game (SDL engine, file tools, music player, committed data) under a
// random player, started again each time the player quits.
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "app/Random.h"
#include "app/frmMain.h"
#include "app/modDeclares.h"
#include "app/modMain.h"
#include "engine/HighScoreTable.h"
#include "engine/SdlGfxEngine.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

// What one long run saw, over all its program starts.
struct SoakLog {
  int64_t Frames = 0;  // EndFrame calls
  int64_t Stop = 0;    // from this frame on the player only asks to quit
  std::set<int16_t> Screens;
  int32_t MostParticlesDrawn = 0;  // particle-texture draws in one frame, a two-layer particle once
  int64_t ParticleFaults = 0;      // frames over the store's size or with a live slot of no known kind
  int64_t LevelsWon = 0, PacksCompleted = 0, GamesOver = 0, NameEntries = 0;
};

// Set-1 scan codes of the keys a player types: digits, then the letters.
constexpr std::array<int32_t, 36> TypedKeys{2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 16, 17, 18, 19, 20, 21, 22, 23,
                                            24, 25, 30, 31, 32, 33, 34, 35, 36, 37, 38, 44, 45, 46, 47, 48, 49, 50};

// The SDL engine with a random player at the controls: a seeded script answers the keyboard and
// mouse polls, aiming at whatever the current screen offers, so a long run reaches every screen.
struct RandomPlayer : SdlGfxEngine {
  RandomPlayer(std::mt19937& Rng, SoakLog& Log) : Rng(Rng), Log(Log) {}

  std::mt19937& Rng;
  SoakLog& Log;
  int64_t PlannedFor = -1;
  int32_t MouseX = 400, MouseY = 300, PlannedKey = 0;
  int16_t LastScreen = 0;
  bool Click = false, SharpRun = false, PaleTint = false;
  bool WasWon = false, WasPackDone = false, WasOver = false;  // for counting what the frame changed
  double Skill = 0.8;  // share of a level's clicks aimed at an unfound difference
  int32_t ParticleDraws = 0;  // kind 5 draws a pale layer first, not counted

  void BeginFrame(int32_t R, int32_t G, int32_t B) override {
    Log.Screens.insert(GameScreen);
    ParticleDraws = 0;
    SdlGfxEngine::BeginFrame(R, G, B);
  }
  void EndFrame() override {
    Log.Screens.insert(GameScreen);
    int32_t Live = 0;
    bool UnknownKind = false;
    for (const ParticleSlot& P : Particles)
      if (P.Life >= 1) ++Live, UnknownKind |= P.Kind < 0 || P.Kind > 7;
    Log.MostParticlesDrawn = std::max(Log.MostParticlesDrawn, ParticleDraws);
    Log.ParticleFaults += ParticleDraws > int32_t(Particles.size()) || UnknownKind;
    const bool Over = GameScreen == 10 && TimeUsed > 406;
    Log.LevelsWon += LevelCompleteShown && !WasWon;
    Log.PacksCompleted += PackCompleted && !WasPackDone;
    Log.GamesOver += Over && !WasOver;
    WasWon = LevelCompleteShown, WasPackDone = PackCompleted, WasOver = Over;
    ++Log.Frames;
    SdlGfxEngine::EndFrame();
  }
  bool KeyDown(int32_t ScanCode) override { return Plan(), PlannedKey != 0 && ScanCode == PlannedKey; }
  void GetMouseState(MouseStateRecord& State, int32_t) override {
    Plan();
    State.X = MouseX, State.Y = MouseY, State.Button = Click;
  }
  void LastMousePosition(int32_t& X, int32_t& Y) override { Plan(), X = MouseX, Y = MouseY; }
  void SetTint(int32_t R, int32_t G, int32_t B) override {
    PaleTint = R == 255 && G == 248 && B == 170;
    SdlGfxEngine::SetTint(R, G, B);
  }
  void DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle, int32_t Opacity,
                  float SrcX, float SrcY, float Width, float Height, float CentreX, float CentreY) override {
    ParticleDraws += Tex && Tex == TexParticles && !PaleTint;
    SdlGfxEngine::DrawSprite(Tex, X, Y, TexWidth, TexHeight, Angle, Opacity, SrcX, SrcY, Width, Height, CentreX,
                             CentreY);
  }

  double Uniform() { return std::uniform_real_distribution<double>(0, 1)(Rng); }
  bool Chance(double P) { return Uniform() < P; }
  int32_t Pick(int32_t Low, int32_t High) { return std::uniform_int_distribution<int32_t>(Low, High)(Rng); }
  int32_t TypedKey() { return TypedKeys[size_t(Pick(0, TypedKeys.size() - 1))]; }
  static void Push(uint32_t Type, SDL_Scancode Code = SDL_SCANCODE_UNKNOWN) {
    SDL_Event Event{};
    Event.type = Type;
    Event.key.keysym.scancode = Code;
    Event.key.state = Type == SDL_KEYDOWN ? SDL_PRESSED : 0;
    SDL_PushEvent(&Event);
  }
  // A point of the box, edges included; the engine keeps the pointer on the surface, so does the player.
  void Aim(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {
    X0 = std::clamp(X0, 0, 799), X1 = std::clamp(X1, X0, 799);
    Y0 = std::clamp(Y0, 0, 599), Y1 = std::clamp(Y1, Y0, 599);
    MouseX = Pick(X0, X1);
    MouseY = Pick(Y0, Y1);
  }
  void AimAnywhere() { Aim(0, 0, 799, 599); }

  // Decides this frame's input the first time the game asks for any of it.
  void Plan() {
    if (PlannedFor == Log.Frames) return;
    PlannedFor = Log.Frames;
    Log.Screens.insert(GameScreen);
    Click = false;
    PlannedKey = 0;
    if (Log.Frames >= Log.Stop) {
      PlannedKey = Key::Escape;  // on the name entry this stores the result, then quits
      // A game deaf to Escape still has to let the window close.
      if ((Log.Frames - Log.Stop) % 100 == 99) Push(SDL_QUIT);
      if (Log.Frames - Log.Stop > 1000) throw std::runtime_error("the game does not end on Escape or a close request");
      return;
    }
    Log.NameEntries += GameScreen == 55 && LastScreen != 55;
    if (GameScreen == 9 && LastScreen != 9) {
      // A new run may get a sharp-eyed player who sees the pack through; otherwise each level
      // gets a fairly good, a careless, or a hopeless one.
      // Whole packs only once every screen has been seen: a short run must still see them all.
      if (LastScreen != 10) SharpRun = Chance(0.4) && Log.Screens.size() >= 8;
      const double R = Uniform();
      Skill = SharpRun ? 0.97 : R < 0.55 ? 0.9 : R < 0.9 ? 0.3 : 0.0;
    }
    LastScreen = GameScreen;

    const double R = Uniform();
    if (R < 0.06 || (R >= 0.08 && R < 0.11)) AimAtScreen();
    else if (R >= 0.11 && R < 0.12) AimAnywhere();
    else if (R >= 0.12 && R < 0.40) Aim(MouseX - 6, MouseY - 6, MouseX + 6, MouseY + 6);
    Click = R < 0.08;
    ChooseKey();
    if (Chance(1.0 / 10000)) Push(SDL_QUIT);  // the window's close button
    if (Chance(1.0 / 12000)) Push(SDL_KEYDOWN, SDL_SCANCODE_F12);  // the engine's debug switch
  }

  void ChooseKey() {
    if (GameScreen == 55) {
      if (!Chance(0.12)) return;
      const double R = Uniform();
      PlannedKey = R < 0.7    ? TypedKey()
                   : R < 0.8  ? Key::Space
                   : R < 0.9  ? Key::Backspace
                   : R < 0.98 ? Key::Enter
                              : Key::Escape;
    } else if (Chance(SharpRun && GameScreen >= 9 ? 1.0 / 30000 : 1.0 / 2500)) {
      PlannedKey = Key::Escape;
    } else if (Chance(0.01)) {
      const double R = Uniform();
      do PlannedKey = TypedKey();
      while (PlannedKey == Key::S);
      if (R >= 0.5) PlannedKey = R < 0.7 ? Key::Space : R < 0.8 ? Key::Backspace : R < 0.9 ? Key::Enter : Key::J;
    } else if (Chance(1.0 / 25000)) {
      PlannedKey = Key::S;
    }
  }

  void AimAtScreen() {
    const int32_t ButtonX = Vertical ? 340 : 410;  // START and UNESI REZULTAT
    if (GameScreen >= 1 && GameScreen <= 5) return AimAtMenu();
    if (GameScreen == 10) return AimAtLevel();
    const double R = GameScreen == 9 || GameScreen == 55 ? Uniform() : 1;
    if (GameScreen == 9 && R < 0.75) Aim(ButtonX + 1, 421, ButtonX + 239, 469);
    else if (GameScreen == 9 && R < 0.8) AimAtLevel();  // exit and joker sit where they do in the level
    else if (GameScreen == 55 && R < 0.6) Aim(341, 289, 459, 312);  // "UNESI"
    else AimAnywhere();
  }

  void AimAtMenu() {
    const double R = Uniform();
    if (R < 0.01) {
      Aim(19, 200, 139, 225);  // "Izlaz"
    } else if (R < 0.45) {
      const int32_t Item = Pick(0, 4);
      Aim(19, 15 + 37 * Item, 139, 40 + 37 * Item);
    } else if (R < 0.85 && (GameScreen == 1 || GameScreen == 2) && !PackList.empty()) {
      const int32_t Row = Pick(0, int32_t(PackList.size()) - 1);
      const int32_t Left = GameScreen == 1 ? 360 : 405, Width = GameScreen == 1 ? 305 : 190;
      Aim(Left + 1, 175 + 20 * Row + 1, Left + Width - 1, 175 + 20 * Row + 17);
    } else if (R < 0.85 && GameScreen == 3) {
      const int32_t Y = 157 + 50 * Pick(0, 3), X = Chance(0.5) ? 320 : 600;
      Aim(X, Y, X + 100, Y + 20);
    } else {
      AimAnywhere();
    }
  }

  void AimAtLevel() {
    const double R = Uniform();
    const bool Over = LevelCompleteShown || TimeUsed > 406;
    // Where the pictures stand: the original first, then the modified one.
    const auto Picture = [&](bool Original) {
      return Vertical ? std::pair{Original ? 185 : 471, 100} : std::pair{350, Original ? 29 : 315};
    };
    if (R < (SharpRun ? 0.0005 : 0.03)) {
      Vertical ? Aim(671, 566, 759, 583) : Aim(709, 580, 797, 597);  // "I Z L A Z"
    } else if (R < 0.08) {
      Vertical ? Aim(414, 566, 502, 583) : Aim(161, 293, 229, 310);  // the joker
    } else if (Over && R < 0.85) {
      const int32_t Y0 = Vertical ? 565 : 579, ButtonX = Vertical ? 340 : 410;
      // SLJEDECI NIVO's hot area runs under "I Z L A Z", which wins there: a player aims at the button itself.
      if (LevelCompleteShown && !PackCompleted && Level <= NumOfLevels) Aim(561, Y0 + 1, Vertical ? 651 : 700, Y0 + 18);
      else Aim(ButtonX + 1, 421, ButtonX + 239, 469);  // "UNESI REZULTAT"
    } else if (!Over && R < 0.08 + 0.92 * Skill) {
      std::vector<int32_t> Unfound;
      for (int32_t I = 1; I <= 5; ++I)
        if (!Differences[size_t(I)].Found) Unfound.push_back(I);
      if (Unfound.empty()) return AimAtLevel();
      const Difference& D = Differences[size_t(Unfound[size_t(Pick(0, int32_t(Unfound.size()) - 1))])];
      const auto [X, Y] = Picture(Chance(0.5));
      const auto Hi = [](float V, float Floor) { return std::max(int32_t(std::floor(V)), int32_t(std::ceil(Floor))); };
      Aim(X + int32_t(std::ceil(D.Left)), Y + int32_t(std::ceil(D.Top)), X + Hi(D.Right, D.Left),
          Y + Hi(D.Bottom, D.Top));
    } else if (R < 0.97) {
      const auto [X, Y] = Picture(Chance(0.5));
      Aim(X, Y, X + (Vertical ? 256 : 380), Y + (Vertical ? 380 : 256));
    } else {
      AimAnywhere();
    }
  }
};

int64_t FramesWanted() {
  const char* Text = std::getenv("PIKORA_SOAK_FRAMES");
  return Text && *Text ? std::max<int64_t>(1, std::atoll(Text)) : PIKORA_SOAK_DEFAULT_FRAMES;
}

double ResidentMb() {
  long Pages = 0, Resident = 0;
  std::ifstream("/proc/self/statm") >> Pages >> Resident;
  return double(Resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Every file of the folder by relative path, with its bytes; screenshots are the player's.
std::map<std::string, std::string> Contents(const fs::path& Folder) {
  std::map<std::string, std::string> Files;
  for (const auto& Entry : fs::recursive_directory_iterator(Folder))
    if (const auto Name = fs::relative(Entry.path(), Folder).generic_string();
        Name.rfind("screenshots", 0) != 0 && Entry.is_regular_file())
      Files[Name] = ReadFile(Entry.path());
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
  for (std::string Line; std::getline(In, Line);) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    const size_t Eq = Line.find('=');
    if (Line.empty() || Line == "[scores]") continue;
    if (Eq == std::string::npos || !Keys.emplace(Line.substr(0, Eq), Line.substr(Eq + 1)).second)
      return "stray line: " + Line;
  }
  float Previous = 1e30f;
  for (int Place = 1; Place <= hs::Places; ++Place) {
    float Score = 0;
    if (!Keys.count(hs::NameKey(Place)) || !hs::ParseScore(Keys[hs::ScoreKey(Place)], Score) || Score > Previous)
      return "place " + std::to_string(Place) + " missing, unreadable or above the one before";
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
    Factory.MakeGfx = [this] { return std::make_shared<RandomPlayer>(Rng, Log); };
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
  double WarmMb = -1;
  int Runs = 0;
  const auto Start = std::chrono::steady_clock::now();
  while (Log.Frames < Total) {
    // As a fresh process: program-load state, a window not yet loaded, a new random seed.
    ResetGlobals();
    frmMain::Reset();
    SeedRandom(Rng());
    const int64_t StartFrame = Log.Frames;
    ++Runs;
    ASSERT_EQ(Main(), 0) << "run " << Runs << " failed after frame " << Log.Frames;
    ASSERT_GT(Log.Frames, StartFrame) << "run " << Runs << " drew no frame";
    // Compared between runs: then the game holds nothing of its own.
    if (WarmMb < 0 && Log.Frames >= WarmUp) WarmMb = ResidentMb();
  }
  const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  const double EndMb = ResidentMb();
  std::cout << "soak: " << Log.Frames << " frames in " << Runs << " runs, " << Seconds << " s; " << Log.LevelsWon
            << " levels won, " << Log.PacksCompleted << " packs completed, " << Log.GamesOver << " games over, "
            << Log.NameEntries << " name entries; resident " << WarmMb << " MB after warm-up, " << EndMb
            << " MB at the end\n";

  for (int16_t Screen : {1, 2, 3, 4, 5, 9, 10, 55}) EXPECT_TRUE(Log.Screens.count(Screen)) << "screen " << Screen;
  EXPECT_EQ(Log.ParticleFaults, 0);
  EXPECT_LE(Log.MostParticlesDrawn, 151);
  EXPECT_TRUE(Total < 20000 || Runs >= 5) << "start-up and shutdown should come round many times";
#if !defined(__SANITIZE_ADDRESS__)
  // The sanitizer keeps freed memory in quarantine, so its resident set says nothing here.
  EXPECT_TRUE(WarmMb < 0 || Runs < 3 || EndMb - WarmMb < 8.0) << "memory grows run after run";
#endif

  // Nothing left behind, nothing damaged.
  const auto After = Contents(Folder.Path);
  std::vector<std::string> Names, NamesBefore;
  for (const auto& [Name, Bytes] : After) Names.push_back(Name);
  for (const auto& [Name, Bytes] : Before) {
    NamesBefore.push_back(Name);
    const bool Kept = Name.rfind("packs/", 0) == 0 || Name == "game data/options.ini" || !After.count(Name);
    EXPECT_TRUE(Kept || After.at(Name) == Bytes) << Name << " changed";
  }
  EXPECT_EQ(Names, NamesBefore) << "files left behind or gone";
  for (const auto& [Pack, Entries] : PackEntries) {
    const fs::path Archive = Folder / "packs" / Pack;
    EXPECT_EQ(Sorted(ZipEntries(Archive)), Entries) << Pack;
    EXPECT_EQ(TableFault(ZipEntry(Archive, "hscore.ini")), "") << Pack;
    EXPECT_TRUE(ZipEntry(Archive, "picinfo.ini") ==
                ZipEntry(fs::path(PIKORA_SOURCE_DIR) / "data/packs" / Pack, "picinfo.ini"))
        << Pack << " level data changed";
  }
  const std::string Options = ReadFile(Folder / "game data" / "options.ini");
  for (const std::string Key : {"Screen", "Music", "Sound", "Particle"})
    EXPECT_TRUE(Options.find("\n" + Key + "=True") != std::string::npos ||
                Options.find("\n" + Key + "=False") != std::string::npos)
        << Key << " missing from options.ini:\n" << Options;
}

}  // namespace
}  // namespace pikora::test
