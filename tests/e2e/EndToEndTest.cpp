// The real game in a real X window (Xvfb), driven with xdotool as a player would.
// Waits are counted in the game's presented frames, read from its own screenshots.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>

#include "e2e/Processes.h"
#include "engine/HighScoreTable.h"
#include "support/GameFixture.h"

// Last: Xlib defines macros (Status, Bool, None) that clash with ordinary names.
#include <X11/Xlib.h>
#undef Status
#undef Bool
#undef None

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

// ---- The packs the test plays ---------------------------------------------------------------

struct Rect {
  int Left, Right, Top, Bottom;
  int CentreX() const { return (Left + Right) / 2; }
  int CentreY() const { return (Top + Bottom) / 2; }
  bool Holds(int X, int Y) const { return Left <= X && X <= Right && Top <= Y && Y <= Bottom; }
};

struct Rgb {
  int R, G, B;
};

// One level: its ground colour tells the screenshots which level is shown.
struct LevelArt {
  Rgb Ground;
  std::array<Rect, 5> Diffs;
};

struct PackArt {
  std::string File;
  bool Vertical;
  int Width, Height;
  std::vector<LevelArt> Levels;
  int OffsetX, OriginalY, ModifiedX, ModifiedY;  // where the two pictures stand on the surface
  int StartX;                                    // START and UNESI REZULTAT, at y 445
};

const PackArt Landscape{
    "Krajolik.pkr", false, 380, 256,
    {{{40, 90, 160},
      {{{40, 80, 40, 70}, {150, 190, 30, 60}, {280, 330, 50, 90}, {60, 110, 170, 220}, {230, 290, 180, 230}}}},
     {{50, 140, 60},
      {{{300, 350, 30, 70}, {50, 100, 100, 140}, {170, 210, 160, 200}, {260, 320, 120, 160}, {100, 140, 200, 240}}}},
     {{150, 60, 50},
      {{{180, 230, 20, 50}, {320, 365, 150, 200}, {40, 70, 60, 110}, {130, 180, 120, 150}, {250, 290, 200, 245}}}}},
    350, 29, 350, 315, 530};

const PackArt Portrait{
    "Portret.pkr", true, 256, 380,
    {{{160, 120, 40},
      {{{40, 90, 40, 80}, {150, 210, 60, 100}, {60, 120, 170, 220}, {160, 220, 230, 280}, {50, 110, 300, 350}}}},
     {{60, 130, 140},
      {{{150, 200, 30, 70}, {30, 80, 120, 160}, {140, 200, 150, 200}, {40, 100, 250, 300}, {160, 220, 310, 360}}}}},
    185, 100, 471, 100, 460};

// Modest tables, so that a whole landscape run gets in and a run without finds does not.
const std::vector<std::pair<std::string, int>> ModestTable = {
    {"Ana", 1000}, {"Boris", 900}, {"Cvita", 800}, {"Dado", 700}, {"Ema", 600},
    {"Filip", 500}, {"Goga", 400}, {"Hrvoje", 300}, {"Iva", 200}, {"Jura", 100}};

bool Near(Rgb A, Rgb B) { return std::abs(A.R - B.R) < 16 && std::abs(A.G - B.G) < 16 && std::abs(A.B - B.B) < 16; }
std::string ColourText(Rgb C) { return std::to_string(C.R) + ", " + std::to_string(C.G) + ", " + std::to_string(C.B); }

// Plain ground, darker below; each difference is a disc that the modified picture leaves
// out or paints another colour. The top-left corner stays plain ground.
Rgb PicturePixel(const PackArt& Pack, const LevelArt& Level, bool Modified, int X, int Y) {
  Rgb C = Level.Ground;
  if (Y > Pack.Height * 2 / 3) C = {C.R / 2 + 15, C.G / 2 + 15, C.B / 2 + 15};
  for (size_t K = 0; K < Level.Diffs.size(); ++K) {
    const Rect& D = Level.Diffs[K];
    const double Dx = (X - D.CentreX()) / ((D.Right - D.Left) / 2.0 - 2);
    const double Dy = (Y - D.CentreY()) / ((D.Bottom - D.Top) / 2.0 - 2);
    if (Dx * Dx + Dy * Dy <= 1) C = !Modified ? Rgb{240, 240, 240} : K % 2 ? Rgb{220, 40, 200} : C;
  }
  return C;
}

std::string Bmp(const PackArt& Pack, const LevelArt& Level, bool Modified, const fs::path& Scratch) {
  SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, Pack.Width, Pack.Height, 24, SDL_PIXELFORMAT_RGB24);
  for (int Y = 0; Y < Pack.Height; ++Y)
    for (int X = 0; X < Pack.Width; ++X) {
      const Rgb C = PicturePixel(Pack, Level, Modified, X, Y);
      uint8_t* P = static_cast<uint8_t*>(S->pixels) + Y * S->pitch + X * 3;
      P[0] = uint8_t(C.R), P[1] = uint8_t(C.G), P[2] = uint8_t(C.B);
    }
  SDL_SaveBMP(S, Scratch.c_str());
  SDL_FreeSurface(S);
  return ReadFile(Scratch);
}

void MakePackArchive(const fs::path& Packs, const PackArt& Pack, const fs::path& Scratch) {
  const std::string Count = std::to_string(Pack.Levels.size());
  std::vector<std::pair<std::string, std::string>> Entries = {
      {"packinfo.ini", "[General]\nNumOfLevels=" + Count + "\nVertical=" + (Pack.Vertical ? "True" : "False") +
                           "\nPackInfo=Test paket[e]" + Pack.File + "\n"}};
  std::string PicInfo, Table = "[scores]\n";
  for (size_t N = 1; N <= Pack.Levels.size(); ++N) {
    const std::string Level = std::to_string(N);
    PicInfo += "[" + Level + "]\nPicInfo=Slika " + Level + "[e]od " + Count + "\n";
    for (size_t K = 0; K < 5; ++K) {
      const Rect& D = Pack.Levels[N - 1].Diffs[K];
      const std::string Key = std::to_string(K + 1);
      for (const auto& [Edge, Value] :
           {std::pair{"Left", D.Left}, {"Right", D.Right}, {"Top", D.Top}, {"Bottom", D.Bottom}})
        PicInfo += Key + Edge + "=" + std::to_string(Value) + "\n";
    }
    for (bool Modified : {false, true})
      Entries.emplace_back(Level + (Modified ? "x" : "") + ".bmp", Bmp(Pack, Pack.Levels[N - 1], Modified, Scratch));
  }
  for (size_t I = 0; I < ModestTable.size(); ++I)
    Table += hs::NameKey(int(I + 1)) + "=" + ModestTable[I].first + "\n" + hs::ScoreKey(int(I + 1)) + "=" +
             std::to_string(ModestTable[I].second) + "\n";
  Entries.emplace_back("picinfo.ini", PicInfo);
  Entries.emplace_back("hscore.ini", Table);
  MakeZip(Packs / Pack.File, Entries);
}

std::string IniValue(const std::string& Text, const std::string& Key) {
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);)
    if (Line.rfind(Key + "=", 0) == 0) return Line.substr(Key.size() + 1, Line.find_last_not_of('\r') - Key.size());
  return "";
}

// A pack's table as the game reads it.
hs::Table TableOf(const fs::path& Pack) {
  const std::string Text = ZipEntry(Pack, "hscore.ini");
  return hs::ReadTable([&](const std::string& Key) { return IniValue(Text, Key); });
}

// ---- The player ------------------------------------------------------------------------------

// One run: an X server of its own, the game from a staged folder, and the steps taken.
struct Player {
  Player(const std::string& Run, fs::path GameDir)
      : Game(std::move(GameDir)), Artefacts(fs::path(PIKORA_E2E_ARTEFACTS) / Run), Xvfb(Clean(Artefacts)) {}
  ~Player() {
    if (X) XCloseDisplay(X);  // before the server goes
  }

  fs::path Game, Artefacts;
  XServer Xvfb;
  std::unique_ptr<Child> GameProcess;
  Display* X = nullptr;
  std::string Window, CurrentStep = "start";
  std::vector<std::pair<int64_t, fs::path>> Shots;  // frame number, kept copy
  std::set<std::string> Seen;
  Clock::time_point LastShotSeen{};

  static std::string Clean(const fs::path& Artefacts) {
    fs::remove_all(Artefacts);
    fs::create_directories(Artefacts);
    return (Artefacts / "xvfb.log").string();
  }

  std::string Where() const {
    return "step '" + CurrentStep + "'; last screenshot: " + (Shots.empty() ? "(none)" : Shots.back().second.string());
  }
  [[noreturn]] void Fail(const std::string& What) const { throw std::runtime_error(What + "\n  at " + Where()); }
  void Step(const std::string& Name) { CurrentStep = Name; }

  void XDo(const std::vector<std::string>& Args, std::string* Out = nullptr) {
    std::vector<std::string> Argv{"xdotool"};
    Argv.insert(Argv.end(), Args.begin(), Args.end());
    int Status = -1;
    const std::string Printed = RunTool(Argv, {{"DISPLAY", Xvfb.Display}}, &Status);
    if (Status != 0) Fail("xdotool " + Args.front() + " failed (status " + std::to_string(Status) + ")");
    if (Out) *Out = Printed.substr(0, Printed.find('\n'));
  }

  void StartGame() {
    Step("start the game");
    if (Xvfb.Display.empty() || !(X = XOpenDisplay(Xvfb.Display.c_str()))) Fail("Xvfb did not start");
    GameProcess =
        std::make_unique<Child>(std::vector<std::string>{(Game / "pikora").string()},
                                std::map<std::string, std::string>{
                                    {"DISPLAY", Xvfb.Display}, {"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "dummy"}},
                                -1, (Artefacts / "game.log").string());
    XDo({"search", "--sync", "--onlyvisible", "--name", "Pikora"}, &Window);
    if (Window.empty()) Fail("no window named Pikora");
    RunTool({"xdotool", "windowfocus", Window}, {{"DISPLAY", Xvfb.Display}});  // no window manager: errors harmless
  }

  void Move(int X, int Y, bool AndClick = false) {
    if (!GameProcess->Running()) Fail("the game has ended");
    std::vector<std::string> Args{"mousemove", "--window", Window, std::to_string(X), std::to_string(Y)};
    if (AndClick) Args.insert(Args.end(), {"click", "1"});
    XDo(Args);
  }
  void Click(int X, int Y) { Move(X, Y, true); }
  void Key(const std::string& Name) { XDo({"key", Name}); }

  // Presses S and waits for the picture it writes; the frame number in its name is the
  // count of frames the game has presented.
  int64_t TakeShot(const std::string& Name) {
    // One picture per half second at most: an early press is ignored by the game.
    std::this_thread::sleep_until(LastShotSeen + 560ms);
    std::vector<fs::path> Fresh;
    for (int Press = 0; Fresh.empty(); ++Press) {
      if (Press == 10) Fail("no screenshot within 20 s of pressing S");
      if (!GameProcess->Running()) Fail("the game ended while waiting for a screenshot");
      Key("s");
      WaitFor([&] {
        std::error_code Ec;
        for (const auto& E : fs::directory_iterator(Game / "screenshots", Ec))
          if (E.path().extension() == ".png" && !Seen.count(E.path().filename().string())) Fresh.push_back(E.path());
        return !Fresh.empty();
      }, 2s);
    }
    std::sort(Fresh.begin(), Fresh.end());
    for (const auto& File : Fresh) Keep(File, Name);
    LastShotSeen = Clock::now();
    return Shots.back().first;
  }

  // The game writes the file in place: kept once it reads as a whole picture.
  void Keep(const fs::path& File, const std::string& Name) {
    uintmax_t Size = 0;
    auto Whole = [&] {
      std::error_code Ec;
      if (const uintmax_t Now = fs::file_size(File, Ec); Ec || Now != std::exchange(Size, Now)) return false;
      SDL_Surface* S = IMG_Load(File.c_str());
      SDL_FreeSurface(S);
      return S != nullptr;
    };
    if (!WaitFor(Whole, 10s)) Fail("the screenshot " + File.string() + " never became readable");
    const std::string Base = File.stem().string();  // pikora-YYYYMMDD-HHMMSS-mmm-fNNNNNNN
    const size_t F = Base.find("-f");
    if (F == std::string::npos) Fail("unexpected screenshot name " + File.string());
    char Prefix[16];
    std::snprintf(Prefix, sizeof Prefix, "%03zu-", Shots.size() + 1);
    Shots.emplace_back(std::stoll(Base.substr(F + 2)), Artefacts / (Prefix + Name + Base.substr(F) + ".png"));
    fs::copy_file(File, Shots.back().second, fs::copy_options::overwrite_existing);
    Seen.insert(File.filename().string());
  }

  // Waits until the game has presented N more frames than at the first screenshot taken here.
  void WaitFrames(int64_t N, const std::string& Name) {
    const int64_t Start = TakeShot(Name);
    for (int I = 1; Shots.back().first < Start + N; ++I) {
      if (I > 60) Fail("the frame count stands still at " + std::to_string(Shots.back().first));
      TakeShot(Name + "-" + std::to_string(I));
    }
  }

  // A click, then a picture of what it did: the press is taken at the latest in the frame
  // that takes the first picture, so the second one shows its effect.
  void ClickAndShow(int X, int Y, const std::string& Name) {
    Click(X, Y);
    WaitFrames(1, Name);
  }

  // The mean colour of the rectangle X0..X1 x Y0..Y1 (right and bottom excluded) in the last screenshot.
  Rgb MeanColour(int X0, int Y0, int X1, int Y1) {
    SDL_Surface* Loaded = IMG_Load(Shots.back().second.c_str());
    if (!Loaded) Fail(std::string("cannot read the screenshot: ") + IMG_GetError());
    SDL_Surface* S = SDL_ConvertSurfaceFormat(Loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(Loaded);
    double Sum[3] = {};
    for (int Y = Y0; Y < Y1; ++Y)
      for (int X = X0; X < X1; ++X)
        for (int C = 0; C < 3; ++C)
          Sum[C] += (static_cast<uint32_t*>(S->pixels)[Y * (S->pitch / 4) + X] >> (16 - 8 * C)) & 255;
    SDL_FreeSurface(S);
    const double Count = double(X1 - X0) * (Y1 - Y0);
    return {int(Sum[0] / Count), int(Sum[1] / Count), int(Sum[2] / Count)};
  }

  // Which level of the pack the original picture shows, from its plain top-left corner.
  size_t ShownLevel(const PackArt& Pack) {
    const Rgb Corner = MeanColour(Pack.OffsetX + 6, Pack.OriginalY + 6, Pack.OffsetX + 20, Pack.OriginalY + 20);
    for (size_t L = 0; L < Pack.Levels.size(); ++L)
      if (Near(Corner, Pack.Levels[L].Ground)) return L;
    Fail("the original picture shows no level of the pack (corner colour " + ColourText(Corner) + ")");
  }

  // The foot of the side menu's "Postavke": every menu screen shows the same colours there,
  // the portrait game screen a much lighter sky.
  Rgb MenuPlate() { return MeanColour(20, 112, 130, 120); }

  // The window's close request, as a window manager sends it; the game's exit status.
  int Close() {
    Step("close the window");
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = ::Window(std::stoul(Window));
    E.xclient.message_type = XInternAtom(X, "WM_PROTOCOLS", False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = long(XInternAtom(X, "WM_DELETE_WINDOW", False));
    E.xclient.data.l[1] = CurrentTime;
    XSendEvent(X, E.xclient.window, False, NoEventMask, &E);
    XFlush(X);
    return GameProcess->Wait(30s);  // -1 for a signal or a game still running
  }

  // Plays every difference of the level that START shows, alternating between the pictures.
  void PlayLevel(const PackArt& Pack, std::set<size_t>& Played, const std::string& L) {
    const size_t Shown = StartLevel(Pack, L);
    if (!Played.insert(Shown).second) Fail("picture " + std::to_string(Shown + 1) + " comes again");
    for (int K = 0; K < 5; ++K) {
      const Rect& D = Pack.Levels[Shown].Diffs[size_t(K)];
      Step(L + ": difference " + std::to_string(K + 1));
      Click((K % 2 ? Pack.ModifiedX : Pack.OffsetX) + D.CentreX(),
            (K % 2 ? Pack.ModifiedY : Pack.OriginalY) + D.CentreY());
      TakeShot(L + "-difference" + std::to_string(K + 1));
    }
    Step(L + ": complete");
    Move(200, 560);
    TakeShot(L + "-complete");
  }

  size_t StartLevel(const PackArt& Pack, const std::string& L) {
    Step(L + ": START, fade-in");
    Click(Pack.StartX, 445);
    WaitFrames(102, L + "-fade-in");
    return ShownLevel(Pack);
  }

  void ToCredits() {
    StartGame();
    Step("credits after the logo");
    Move(700, 560);
    WaitFrames(205, "credits");
  }

  // The pack at row Y of NOVA IGRA; the menu's colours are kept to tell it from a game screen.
  void ChoosePack(int Y) {
    Step("nova igra: choose the pack");
    ClickAndShow(MenuX, MenuY(0), "nova-igra-choose");
    Menu = MenuPlate();
    Move(512, Y);
    WaitFrames(2, "pack-hovered");
    ClickAndShow(512, Y, "pre-level");
  }
  Rgb Menu{};

  // Side-menu buttons: X 19, Y 15 + 37 i, 120 x 25.
  static constexpr int MenuX = 79;
  static int MenuY(int Index) { return 15 + 37 * Index + 12; }
};

// A copy of the staged game folder with only the packs made here.
void StageGame(const fs::path& Target) {
  const fs::path Staged = PIKORA_GAME_DIR;
  ASSERT_TRUE(fs::exists(Staged / "pikora")) << "the staged game is missing: " << Staged;
  fs::copy(Staged, Target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::remove_all(Target / "packs");
  fs::remove_all(Target / "screenshots");
  fs::create_directories(Target / "packs");
  for (const PackArt* Pack : {&Landscape, &Portrait}) MakePackArchive(Target / "packs", *Pack, Target / "scratch.bmp");
  fs::remove(Target / "scratch.bmp");
  WriteFile(Target / "game data" / "options.ini", "[Options]\nScreen=True\nMusic=True\nSound=True\nParticle=True\n");
}

// What a finished run may leave in the game folder: nothing but the game's own.
std::string Leftovers(const fs::path& Game) {
  const std::set<std::string> Expected = {"pikora", "pikora-pack", "game data", "sound", "packs", "screenshots",
                                          "packs/" + Landscape.File, "packs/" + Portrait.File,
                                          "game data/options.ini", "game data/pictures.pkr"};
  std::string Extra;
  for (const fs::path& Folder : {Game, Game / "packs", Game / "game data"})
    for (const auto& E : fs::directory_iterator(Folder))
      if (const auto Name = fs::relative(E.path(), Game).string(); !Expected.count(Name)) Extra += Name + " ";
  return Extra;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* Tool : {"/usr/bin/Xvfb", "/usr/bin/xdotool"})
      if (!fs::exists(Tool)) GTEST_SKIP() << Tool << " is not installed (scripts/setup installs it)";
    StageGame(Game);
  }
  // Runs the journey; a failed step ends it with where it was.
  void Journey(Player& P, const std::function<void()>& Steps) {
    try {
      Steps();
      EXPECT_EQ(P.Close(), 0) << P.Where();
    } catch (const std::exception& E) {
      FAIL() << E.what();
    }
    EXPECT_EQ(Leftovers(Game), "") << "working files left behind";
  }

  TempFolder Folder;
  fs::path Game = Folder / "game";
};

TEST_F(EndToEnd, LandscapePackPlayedIntoTheTableThenOptions) {
  Player P("landscape", Game);
  Journey(P, [&] {
    P.ToCredits();
    for (int I = 0; const char* Screen : {"nova-igra", "top-lista", "postavke", "pomoc", "zasluge"}) {
      P.Step(std::string("side menu: ") + Screen);
      P.ClickAndShow(P.MenuX, P.MenuY(I++), Screen);
    }
    P.ChoosePack(184);
    std::set<size_t> Played;
    for (size_t Level = 1; Level <= Landscape.Levels.size(); ++Level) {
      if (Level > 1) P.ClickAndShow(630, 588, "next-level");  // SLJEDECI NIVO
      P.PlayLevel(Landscape, Played, "level" + std::to_string(Level));
    }
    // Name entry takes S as a letter, so from here to the table no screenshot is asked for.
    // The letters reach the game in the order it reads the keys, Enter in a frame of its own.
    P.Step("UNESI REZULTAT, name entry");
    P.Click(530, 445);
    for (const char* Letter : {"d", "i", "n", "o"}) {
      std::this_thread::sleep_for(120ms);
      P.Key(Letter);
    }
    std::this_thread::sleep_for(300ms);
    P.Key("Return");
    std::this_thread::sleep_for(300ms);
    P.Step("high scores: hover the pack");
    P.Move(500, 184);
    P.WaitFrames(2, "high-scores-hovered");
    P.Step("options");
    P.ClickAndShow(P.MenuX, P.MenuY(2), "options");
    for (const auto& [X, Y, Name] : {std::tuple{650, 217, "music-off"}, {650, 317, "particles-off"},
                                     {650, 267, "sound-off"}, {370, 267, "sound-on"}})
      P.ClickAndShow(X, Y, std::string("options-") + Name);
  });

  const hs::Table Table = TableOf(Game / "packs" / Landscape.File);
  ASSERT_EQ(Table.Entries.size(), 10u);
  const auto Dino =
      std::find_if(Table.Entries.begin(), Table.Entries.end(), [](const hs::Entry& E) { return E.Name == "Dino"; });
  ASSERT_NE(Dino, Table.Entries.end()) << "the result is not in the pack's table";
  EXPECT_GT(Dino->Score, 0);
  // The others keep their order around the new entry, and the last one fell out.
  std::vector<std::string> Others, Kept;
  for (const hs::Entry& E : Table.Entries)
    if (E.Name != "Dino") Others.push_back(E.Name);
  for (size_t I = 0; I + 1 < ModestTable.size(); ++I) Kept.push_back(ModestTable[I].first);
  EXPECT_EQ(Others, Kept);
  EXPECT_EQ(TableOf(Game / "packs" / Portrait.File).Entries.size(), 10u);
  const std::string Options = ReadFile(Game / "game data" / "options.ini");
  for (const auto& [Key, Value] :
       {std::pair{"Screen", "True"}, {"Music", "False"}, {"Sound", "True"}, {"Particle", "False"}})
    EXPECT_EQ(IniValue(Options, Key), Value) << Key;
}

TEST_F(EndToEnd, PortraitPackPlayedIntoGameOverByMisses) {
  Player P("portrait", Game);
  // Points of the portrait pictures outside every difference of both levels, away from
  // the buttons that stand over the pictures once the game is over.
  const std::vector<std::pair<int, int>> Misses = {{10, 10},  {245, 10},  {10, 200}, {245, 200}, {128, 8},
                                                   {10, 100}, {245, 100}, {128, 110}, {10, 300}, {245, 300},
                                                   {128, 230}, {10, 30},  {240, 30}, {128, 372}, {245, 372}};
  for (const auto& [X, Y] : Misses)
    for (const auto& Level : Portrait.Levels)
      for (const auto& D : Level.Diffs) ASSERT_FALSE(D.Holds(X, Y)) << X << ", " << Y << " is a difference";
  Journey(P, [&] {
    P.ToCredits();
    P.ChoosePack(204);
    if (Near(P.MenuPlate(), P.Menu)) P.Fail("the menu plate cannot tell the menu from the game screen");

    // I Z L A Z lies inside SLJEDECI NIVO's hot area: after a won level the exit must still win.
    std::set<size_t> Played;
    P.PlayLevel(Portrait, Played, "level1");
    P.Step("level1: I Z L A Z over SLJEDECI NIVO");
    P.ClickAndShow(715, 574, "left-after-win");
    P.WaitFrames(2, "high-scores-after-exit");
    if (!Near(P.MenuPlate(), P.Menu))
      P.Fail("the exit after a won level did not lead to the high scores (" + ColourText(P.MenuPlate()) + ")");

    P.Step("nova igra: the portrait pack again");
    P.ClickAndShow(P.MenuX, P.MenuY(0), "nova-igra-again");
    P.ClickAndShow(512, 204, "pre-level-again");
    P.StartLevel(Portrait, "game2");
    for (size_t I = 0; I < Misses.size(); ++I) {
      P.Step("miss " + std::to_string(I + 1));
      const int X = (I % 2 ? Portrait.ModifiedX : Portrait.OffsetX) + Misses[I].first;
      const int Y = Portrait.OriginalY + Misses[I].second;
      if (X > 340 && X < 580 && Y > 420 && Y < 470) P.Fail("a miss would land on UNESI REZULTAT");
      P.Click(X, Y);
      P.TakeShot("miss" + std::to_string(I + 1));
    }
    P.Step("game over");
    P.Move(700, 300);
    P.WaitFrames(2, "game-over");
    // A score under the whole table goes straight to the high scores, so S is safe here.
    P.Step("UNESI REZULTAT");
    P.ClickAndShow(460, 445, "high-scores");
  });
  const hs::Table Table = TableOf(Game / "packs" / Portrait.File);
  ASSERT_EQ(Table.Entries.size(), ModestTable.size());
  for (size_t I = 0; I < ModestTable.size(); ++I)
    EXPECT_TRUE(Table.Entries[I].Name == ModestTable[I].first && Table.Entries[I].Score == ModestTable[I].second)
        << "place " << I + 1 << " changed";
}

}  // namespace
}  // namespace pikora::test
