// The real game in a real X window (Xvfb), driven with xdotool as a player would.
// Waits are counted in the game's presented frames, read from its own screenshots.
#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "support/GameFixture.h"

// Last: Xlib defines macros (Status, Bool, None) that clash with ordinary names.
#include <X11/Xlib.h>
#undef Status
#undef Bool
#undef None

extern char** environ;

namespace pikora::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

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
};

const PackArt Landscape{"Krajolik.pkr",
                        false,
                        380,
                        256,
                        {{{40, 90, 160},
                          {{{40, 80, 40, 70}, {150, 190, 30, 60}, {280, 330, 50, 90}, {60, 110, 170, 220},
                            {230, 290, 180, 230}}}},
                         {{50, 140, 60},
                          {{{300, 350, 30, 70}, {50, 100, 100, 140}, {170, 210, 160, 200}, {260, 320, 120, 160},
                            {100, 140, 200, 240}}}},
                         {{150, 60, 50},
                          {{{180, 230, 20, 50}, {320, 365, 150, 200}, {40, 70, 60, 110}, {130, 180, 120, 150},
                            {250, 290, 200, 245}}}}},
                        350,
                        29,
                        350,
                        315};

const PackArt Portrait{"Portret.pkr",
                       true,
                       256,
                       380,
                       {{{160, 120, 40},
                         {{{40, 90, 40, 80}, {150, 210, 60, 100}, {60, 120, 170, 220}, {160, 220, 230, 280},
                           {50, 110, 300, 350}}}},
                        {{60, 130, 140},
                         {{{150, 200, 30, 70}, {30, 80, 120, 160}, {140, 200, 150, 200}, {40, 100, 250, 300},
                           {160, 220, 310, 360}}}}},
                       185,
                       100,
                       471,
                       100};

// Modest tables, so that a whole landscape run gets in and a run without finds does not.
const std::vector<std::pair<std::string, int>> ModestTable = {
    {"Ana", 1000}, {"Boris", 900}, {"Cvita", 800}, {"Dado", 700}, {"Ema", 600},
    {"Filip", 500}, {"Goga", 400}, {"Hrvoje", 300}, {"Iva", 200}, {"Jura", 100}};

bool Near(Rgb A, Rgb B) { return std::abs(A.R - B.R) < 16 && std::abs(A.G - B.G) < 16 && std::abs(A.B - B.B) < 16; }
std::string ColourText(Rgb C) { return std::to_string(C.R) + ", " + std::to_string(C.G) + ", " + std::to_string(C.B); }

Rgb Mix(Rgb A, Rgb B, float T) {
  return {int(A.R + (B.R - A.R) * T), int(A.G + (B.G - A.G) * T), int(A.B + (B.B - A.B) * T)};
}

// A plain landscape of bands and hills; each difference is a disc that the modified
// picture leaves out or paints another colour. The top-left corner stays plain ground.
Rgb PicturePixel(const PackArt& Pack, const LevelArt& Level, bool Modified, int X, int Y) {
  Rgb C = Level.Ground;
  const int W = Pack.Width, H = Pack.Height;
  if (Y > H * 2 / 3) C = Mix(C, {30, 30, 30}, 0.5f);
  const double Hill = H * 0.55 + std::sin(X / 23.0) * H * 0.06;
  if (Y > Hill && Y <= H * 2 / 3) C = Mix(C, {240, 240, 200}, 0.35f);
  if (X > W * 3 / 4 && Y < H / 5) C = Mix(C, {255, 230, 90}, 0.6f);
  for (size_t K = 0; K < Level.Diffs.size(); ++K) {
    const Rect& D = Level.Diffs[K];
    const double Rx = (D.Right - D.Left) / 2.0 - 2, Ry = (D.Bottom - D.Top) / 2.0 - 2;
    const double Dx = (X - D.CentreX()) / Rx, Dy = (Y - D.CentreY()) / Ry;
    if (Dx * Dx + Dy * Dy > 1) continue;
    if (!Modified) C = {240, 240, 240};
    else if (K % 2 == 1) C = {220, 40, 200};
  }
  return C;
}

void WriteBmp(const fs::path& Path, const PackArt& Pack, const LevelArt& Level, bool Modified) {
  SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, Pack.Width, Pack.Height, 24, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(S, nullptr);
  for (int Y = 0; Y < Pack.Height; ++Y)
    for (int X = 0; X < Pack.Width; ++X) {
      const Rgb C = PicturePixel(Pack, Level, Modified, X, Y);
      uint8_t* P = static_cast<uint8_t*>(S->pixels) + Y * S->pitch + X * 3;
      P[0] = uint8_t(C.R), P[1] = uint8_t(C.G), P[2] = uint8_t(C.B);
    }
  ASSERT_EQ(SDL_SaveBMP(S, Path.c_str()), 0) << SDL_GetError();
  SDL_FreeSurface(S);
}

std::string TableIni(const std::vector<std::pair<std::string, int>>& Table) {
  std::string Text = "[scores]\n";
  for (size_t I = 0; I < Table.size(); ++I)
    Text += std::to_string(I + 1) + "_name=" + Table[I].first + "\n" + std::to_string(I + 1) +
            "_score=" + std::to_string(Table[I].second) + "\n";
  return Text;
}

void MakePackArchive(const fs::path& Packs, const PackArt& Pack, const fs::path& Scratch) {
  std::vector<std::pair<std::string, std::string>> Entries;
  Entries.emplace_back("packinfo.ini", "[General]\nNumOfLevels=" + std::to_string(Pack.Levels.size()) +
                                           "\nVertical=" + (Pack.Vertical ? "True" : "False") +
                                           "\nPackInfo=Test paket[e]" + Pack.File + "\n");
  std::string PicInfo;
  for (size_t N = 1; N <= Pack.Levels.size(); ++N) {
    const LevelArt& Level = Pack.Levels[N - 1];
    PicInfo += "[" + std::to_string(N) + "]\n";
    for (int K = 1; K <= 5; ++K) {
      const Rect& D = Level.Diffs[size_t(K - 1)];
      const std::string Key = std::to_string(K);
      PicInfo += Key + "Left=" + std::to_string(D.Left) + "\n" + Key + "Right=" + std::to_string(D.Right) + "\n" +
                 Key + "Top=" + std::to_string(D.Top) + "\n" + Key + "Bottom=" + std::to_string(D.Bottom) + "\n";
    }
    PicInfo += "PicInfo=Slika " + std::to_string(N) + "[e]od " + std::to_string(Pack.Levels.size()) + "\n";
    for (bool Modified : {false, true}) {
      const std::string Name = std::to_string(N) + (Modified ? "x" : "") + ".bmp";
      WriteBmp(Scratch / Name, Pack, Level, Modified);
      Entries.emplace_back(Name, ReadFile(Scratch / Name));
    }
  }
  Entries.emplace_back("picinfo.ini", PicInfo);
  Entries.emplace_back("hscore.ini", TableIni(ModestTable));
  MakeZip(Packs / Pack.File, Entries);
}

// [scores] of a table file as (name, score) pairs in place order.
std::vector<std::pair<std::string, double>> ParseTable(const std::string& Text) {
  std::map<int, std::string> Names;
  std::map<int, double> Scores;
  std::istringstream In(Text);
  std::string Line;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    const size_t Eq = Line.find('='), Us = Line.find('_');
    if (Eq == std::string::npos || Us == std::string::npos || Us > Eq) continue;
    const int Place = std::atoi(Line.substr(0, Us).c_str());
    const std::string Kind = Line.substr(Us + 1, Eq - Us - 1), Value = Line.substr(Eq + 1);
    if (Kind == "name") Names[Place] = Value;
    if (Kind == "score") Scores[Place] = std::atof(Value.c_str());
  }
  std::vector<std::pair<std::string, double>> Table;
  for (int Place = 1; Names.count(Place) && Scores.count(Place); ++Place) Table.emplace_back(Names[Place], Scores[Place]);
  return Table;
}

std::string IniValue(const std::string& Text, const std::string& Key) {
  std::istringstream In(Text);
  std::string Line;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.rfind(Key + "=", 0) == 0) return Line.substr(Key.size() + 1);
  }
  return "(missing)";
}

// ---- Processes ------------------------------------------------------------------------------

std::vector<std::string> Environment(const std::map<std::string, std::string>& Set) {
  std::vector<std::string> Env;
  for (char** E = environ; *E; ++E) {
    const std::string Entry = *E;
    const std::string Name = Entry.substr(0, Entry.find('='));
    if (!Set.count(Name) && Name != "SDL_VIDEODRIVER") Env.push_back(Entry);
  }
  for (const auto& [Name, Value] : Set) Env.push_back(Name + "=" + Value);
  return Env;
}

bool OnPath(const std::string& Program) {
  const char* Path = std::getenv("PATH");
  std::istringstream In(Path ? Path : "");
  std::string Dir;
  while (std::getline(In, Dir, ':'))
    if (!Dir.empty() && access((fs::path(Dir) / Program).c_str(), X_OK) == 0) return true;
  return false;
}

// A child process that is killed when it goes out of scope, whatever path the test takes.
struct Child {
  pid_t Pid = -1;
  std::optional<int> ExitStatus;

  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Kill(); }

  // Output goes to Log (or is dropped), or into a pipe whose read end is returned in OutFd.
  void Start(const std::vector<std::string>& Argv, const std::vector<std::string>& Env, const fs::path& Dir,
             const fs::path& Log, int* OutFd = nullptr) {
    std::vector<char*> A, E;
    for (const auto& S : Argv) A.push_back(const_cast<char*>(S.c_str()));
    A.push_back(nullptr);
    for (const auto& S : Env) E.push_back(const_cast<char*>(S.c_str()));
    E.push_back(nullptr);
    int Pipe[2] = {-1, -1};
    if (OutFd && pipe2(Pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const int LogFd = open(Log.empty() ? "/dev/null" : Log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    Pid = fork();
    if (Pid == 0) {
      setpgid(0, 0);
      const int Null = open("/dev/null", O_RDONLY);
      dup2(Null, 0);
      dup2(OutFd ? Pipe[1] : LogFd, 1);
      dup2(LogFd, 2);
      if (!Dir.empty() && chdir(Dir.c_str()) != 0) _exit(126);
      execve(A[0][0] == '/' ? A[0] : ("/usr/bin/" + Argv[0]).c_str(), A.data(), E.data());
      _exit(127);
    }
    close(LogFd);
    if (OutFd) {
      close(Pipe[1]);
      *OutFd = Pipe[0];
    }
    if (Pid < 0) throw std::runtime_error("fork failed");
  }

  bool Running() {
    if (Pid <= 0 || ExitStatus) return false;
    int S = 0;
    if (waitpid(Pid, &S, WNOHANG) == Pid) ExitStatus = S;
    return !ExitStatus;
  }

  bool WaitExit(Clock::duration Limit) {
    const auto Deadline = Clock::now() + Limit;
    while (Running() && Clock::now() < Deadline) std::this_thread::sleep_for(20ms);
    return !Running();
  }

  // Politely first when asked: an X server killed outright leaves its lock file behind.
  void Kill(Clock::duration Grace = 0s) {
    if (Grace > 0s && Running()) {
      kill(Pid, SIGTERM);
      WaitExit(Grace);
    }
    if (Running()) {
      kill(Pid, SIGKILL);
      int S = 0;
      waitpid(Pid, &S, 0);
      ExitStatus = S;
    }
  }
};

struct ToolResult {
  int Status = -1;
  std::string Out;
};

// Runs a tool to its end within Limit; a tool that hangs is killed.
ToolResult RunTool(const std::vector<std::string>& Argv, const std::vector<std::string>& Env,
                   Clock::duration Limit = 10s) {
  Child Tool;
  int Fd = -1;
  Tool.Start(Argv, Env, {}, {}, &Fd);
  ToolResult Result;
  const auto Deadline = Clock::now() + Limit;
  char Buffer[4096];
  while (Clock::now() < Deadline) {
    pollfd P{Fd, POLLIN, 0};
    if (poll(&P, 1, 50) > 0) {
      const ssize_t N = read(Fd, Buffer, sizeof Buffer);
      if (N <= 0) break;
      Result.Out.append(Buffer, size_t(N));
    }
  }
  close(Fd);
  if (!Tool.WaitExit(Deadline - Clock::now() + 100ms)) return Result;  // killed on leaving
  Result.Status = WIFEXITED(*Tool.ExitStatus) ? WEXITSTATUS(*Tool.ExitStatus) : -1;
  return Result;
}

// A display whose lock names a live process is in use; the server itself clears a stale lock.
bool DisplayTaken(int N) {
  std::ifstream Lock("/tmp/.X" + std::to_string(N) + "-lock");
  pid_t Owner = 0;
  if (!(Lock >> Owner)) return fs::exists("/tmp/.X" + std::to_string(N) + "-lock");
  return Owner > 0 && (kill(Owner, 0) == 0 || errno == EPERM);
}

// ---- The player ------------------------------------------------------------------------------

struct Shot {
  int64_t Frame;
  int64_t WallMs;  // the game's clock, from the file name
  fs::path Path;   // the kept copy
};

// One run: an X server of its own, the game from a staged folder, and the steps taken.
class Player {
 public:
  Player(std::string RunName, fs::path GameDir) : Run(std::move(RunName)), Game(std::move(GameDir)) {
    Artefacts = fs::path(PIKORA_E2E_ARTEFACTS) / Run;
    fs::remove_all(Artefacts);
    fs::create_directories(Artefacts);
  }

  ~Player() {
    GameProcess.Kill();
    if (X) XCloseDisplay(X);  // before the server goes
    XServer.Kill(3s);
  }

  std::string CurrentStep = "start";
  std::vector<Shot> Shots;
  fs::path Artefacts;

  std::string Where() const {
    return "step '" + CurrentStep + "' of run '" + Run + "'; last screenshot: " +
           (Shots.empty() ? std::string("(none)") : Shots.back().Path.string());
  }

  [[noreturn]] void Fail(const std::string& What) const { throw std::runtime_error(What + "\n  at " + Where()); }

  void Step(const std::string& Name) { CurrentStep = Name; }

  void StartXServer() {
    Step("start Xvfb");
    for (int N = 91; N <= 99; ++N) {
      if (DisplayTaken(N)) continue;
      const std::string Name = ":" + std::to_string(N);
      XServer.Start({"Xvfb", Name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, Environment({}), {},
                    Artefacts / "xvfb.log");
      const auto Deadline = Clock::now() + 10s;
      while (XServer.Running() && Clock::now() < Deadline) {
        // Answering is not enough: another test may have won this number a moment earlier.
        if (Display* D = XOpenDisplay(Name.c_str())) {
          if (std::ifstream Lock("/tmp/.X" + std::to_string(N) + "-lock"); Lock) {
            pid_t Owner = 0;
            Lock >> Owner;
            if (Owner == XServer.Pid) {
              X = D;
              DisplayName = Name;
              return;
            }
          }
          XCloseDisplay(D);
        }
        std::this_thread::sleep_for(50ms);
      }
      XServer.Kill(3s);
      XServer.ExitStatus.reset();
    }
    Fail("no free X display among :91 to :99");
  }

  std::vector<std::string> XEnv() const { return Environment({{"DISPLAY", DisplayName}}); }

  ToolResult XDo(const std::vector<std::string>& Args, Clock::duration Limit = 10s) {
    std::vector<std::string> Argv{"xdotool"};
    Argv.insert(Argv.end(), Args.begin(), Args.end());
    ToolResult R = RunTool(Argv, XEnv(), Limit);
    if (R.Status != 0) {
      std::string Line;
      for (const auto& A : Argv) Line += A + " ";
      Fail("'" + Line + "' failed (status " + std::to_string(R.Status) + ")");
    }
    return R;
  }

  void StartGame() {
    Step("start the game");
    GameProcess.Start({(Game / "pikora").string()},
                      Environment({{"DISPLAY", DisplayName}, {"SDL_AUDIODRIVER", "dummy"}}), Game,
                      Artefacts / "game.log");
    Step("find the window");
    const ToolResult Found = XDo({"search", "--sync", "--onlyvisible", "--name", "Pikora"}, 30s);
    Window = Found.Out.substr(0, Found.Out.find('\n'));
    if (Window.empty()) Fail("no window named Pikora");
    const ToolResult Geometry = XDo({"getwindowgeometry", "--shell", Window});
    const int W = std::atoi(IniValue(Geometry.Out, "WIDTH").c_str());
    const int H = std::atoi(IniValue(Geometry.Out, "HEIGHT").c_str());
    if (W <= 0 || H <= 0) Fail("window geometry unreadable: " + Geometry.Out);
    // The surface is letterboxed into the window when the two differ.
    Scale = std::min(W / 800.0, H / 600.0);
    MarginX = (W - 800 * Scale) / 2;
    MarginY = (H - 600 * Scale) / 2;
    WindowSize = std::to_string(W) + " x " + std::to_string(H);
    RunTool({"xdotool", "windowfocus", Window}, XEnv());  // no window manager: focus by hand, errors harmless
  }

  std::string WindowSize;

  void Move(int X, int Y) {
    if (!GameProcess.Running()) Fail("the game has ended");
    XDo({"mousemove", "--window", Window, std::to_string(int(std::lround(MarginX + X * Scale))),
         std::to_string(int(std::lround(MarginY + Y * Scale)))});
  }

  void Click(int X, int Y) {
    Move(X, Y);
    XDo({"click", "1"});
  }

  void Key(const std::string& Name) { XDo({"key", Name}); }

  // Presses S and waits for the picture it writes; the frame number in its name is the
  // count of frames the game has presented.
  int64_t TakeShot(const std::string& Name) {
    // One picture per half second at most: an early press is ignored by the game.
    std::this_thread::sleep_until(LastShotSeen + 560ms);
    const fs::path Dir = Game / "screenshots";
    const auto Deadline = Clock::now() + 20s;
    auto NextPress = Clock::now();
    while (Clock::now() < Deadline) {
      if (!GameProcess.Running()) Fail("the game ended while waiting for a screenshot");
      if (Clock::now() >= NextPress) {
        Key("s");
        NextPress = Clock::now() + 2s;
      }
      std::vector<fs::path> Fresh;
      std::error_code Ec;
      for (const auto& E : fs::directory_iterator(Dir, Ec))
        if (E.path().extension() == ".png" && !Seen.count(E.path().filename().string())) Fresh.push_back(E.path());
      if (!Fresh.empty()) {
        std::sort(Fresh.begin(), Fresh.end());
        for (const auto& File : Fresh) Keep(File, Name);
        LastShotSeen = Clock::now();
        return Shots.back().Frame;
      }
      std::this_thread::sleep_for(15ms);
    }
    Fail("no screenshot within 20 s of pressing S");
  }

  // Waits until the game has presented N more frames than at the first screenshot taken here.
  int64_t WaitFrames(int64_t N, const std::string& Name) {
    const int64_t Start = TakeShot(Name);
    int64_t Now = Start;
    for (int I = 1; Now < Start + N; ++I) {
      if (I > 60) Fail("the frame count stands still at " + std::to_string(Now));
      Now = TakeShot(Name + "-" + std::to_string(I));
    }
    return Now;
  }

  // A click, then a picture of what it did: the press is taken at the latest in the frame
  // that takes the first picture, so the second one shows its effect.
  void ClickAndShow(int X, int Y, const std::string& Name) {
    Click(X, Y);
    WaitFrames(1, Name);
  }

  // The mean colour of the rectangle X0..X1 x Y0..Y1 (right and bottom excluded) in the last screenshot.
  Rgb MeanColour(int X0, int Y0, int X1, int Y1) {
    const fs::path& File = Shots.back().Path;
    SDL_Surface* Loaded = IMG_Load(File.c_str());
    if (!Loaded) Fail("cannot read " + File.string() + ": " + IMG_GetError());
    SDL_Surface* S = SDL_ConvertSurfaceFormat(Loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(Loaded);
    if (!S) Fail("cannot convert the screenshot");
    double R = 0, G = 0, B = 0;
    for (int Y = Y0; Y < Y1; ++Y)
      for (int X = X0; X < X1; ++X) {
        const uint32_t P = static_cast<uint32_t*>(S->pixels)[Y * (S->pitch / 4) + X];
        R += (P >> 16) & 255, G += (P >> 8) & 255, B += P & 255;
      }
    SDL_FreeSurface(S);
    const double Count = double(X1 - X0) * (Y1 - Y0);
    return {int(R / Count), int(G / Count), int(B / Count)};
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

  // The window's close request, as a window manager sends it.
  void RequestClose() {
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
  }

  int WaitGameExit() {
    Step("wait for the game to end");
    if (!GameProcess.WaitExit(30s)) Fail("the game did not end within 30 s of the close request");
    const int S = *GameProcess.ExitStatus;
    if (WIFSIGNALED(S)) Fail("the game died of signal " + std::to_string(WTERMSIG(S)));
    return WEXITSTATUS(S);
  }

  // CPU time of the game (user + system) in seconds.
  double CpuSeconds() {
    std::ifstream In("/proc/" + std::to_string(GameProcess.Pid) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(In)), {});
    std::istringstream Fields(Text.substr(Text.rfind(')') + 2));
    std::string F;
    long long UTime = 0, STime = 0;
    for (int I = 3; Fields >> F; ++I) {
      if (I == 14) UTime = std::stoll(F);
      if (I == 15) {
        STime = std::stoll(F);
        break;
      }
    }
    return double(UTime + STime) / double(sysconf(_SC_CLK_TCK));
  }

  // Frame rate and CPU share over a stretch of idle frames with no screenshot in it.
  void MeasureIdle(const std::string& Name, std::chrono::seconds Stretch) {
    const int64_t F0 = TakeShot(Name + "-from");
    const int64_t W0 = Shots.back().WallMs;
    const double C0 = CpuSeconds();
    const auto T0 = Clock::now();
    std::this_thread::sleep_for(Stretch);
    const double C1 = CpuSeconds();
    const double Seconds = std::chrono::duration<double>(Clock::now() - T0).count();
    const int64_t F1 = TakeShot(Name + "-to");
    const double Fps = double(F1 - F0) * 1000.0 / double(Shots.back().WallMs - W0);
    // CPU per frame says what the 60 Hz pace would cost where fewer frames were delivered.
    Report << Name << ": " << Fps << " frames per second, CPU " << 100.0 * (C1 - C0) / Seconds
           << " % of one core over " << Seconds << " s (" << 1000.0 * (C1 - C0) / (Fps * Seconds)
           << " ms per frame)\n";
  }

  void SummariseFrameRate() {
    std::vector<double> Rates;
    for (size_t I = 1; I < Shots.size(); ++I) {
      const double Ms = double(Shots[I].WallMs - Shots[I - 1].WallMs);
      if (Ms >= 300) Rates.push_back(double(Shots[I].Frame - Shots[I - 1].Frame) * 1000.0 / Ms);
    }
    if (Rates.empty()) return;
    std::sort(Rates.begin(), Rates.end());
    const double Overall = double(Shots.back().Frame - Shots.front().Frame) * 1000.0 /
                           double(Shots.back().WallMs - Shots.front().WallMs);
    Report << "frame rate between screenshots: lowest " << Rates.front() << ", median " << Rates[Rates.size() / 2]
           << ", highest " << Rates.back() << "; overall " << Overall << " over " << Shots.size()
           << " screenshots; window " << WindowSize << "\n";
  }

  std::ostringstream Report;

 private:
  void Keep(const fs::path& File, const std::string& Name) {
    // The game writes the file in place: wait until it reads as a whole picture.
    std::error_code Ec;
    uintmax_t Size = 0;
    for (int I = 0;; ++I) {
      if (I == 250) Fail("the screenshot " + File.string() + " never became readable");
      std::this_thread::sleep_for(40ms);
      const uintmax_t Now = fs::file_size(File, Ec);
      if (Ec || Now == 0 || Now != Size) {
        Size = Ec ? 0 : Now;
        continue;
      }
      if (SDL_Surface* Whole = IMG_Load(File.c_str())) {
        SDL_FreeSurface(Whole);
        break;
      }
    }
    const std::string Base = File.stem().string();  // pikora-YYYYMMDD-HHMMSS-mmm-fNNNNNNN
    const size_t F = Base.find("-f");
    if (F == std::string::npos || Base.size() < 26) Fail("unexpected screenshot name " + File.string());
    Shot S;
    S.Frame = std::stoll(Base.substr(F + 2, 7));
    const std::string Time = Base.substr(16, 6);
    S.WallMs = ((std::stoll(Time.substr(0, 2)) * 60 + std::stoll(Time.substr(2, 2))) * 60 + std::stoll(Time.substr(4, 2))) *
                   1000 +
               std::stoll(Base.substr(23, 3));
    if (!Shots.empty() && S.WallMs < Shots.back().WallMs) S.WallMs += 86'400'000;  // past midnight
    char Prefix[16];
    std::snprintf(Prefix, sizeof Prefix, "%03zu-", Shots.size() + 1);
    std::string Step = Name;
    std::replace(Step.begin(), Step.end(), ' ', '-');
    S.Path = Artefacts / (Prefix + Step + "-f" + Base.substr(F + 2) + ".png");
    fs::copy_file(File, S.Path, fs::copy_options::overwrite_existing, Ec);
    if (Ec) Fail("cannot keep " + File.string() + ": " + Ec.message());
    Seen.insert(File.filename().string());
    Shots.push_back(S);
  }

  std::string Run;
  fs::path Game;
  Child XServer;
  Child GameProcess;
  Display* X = nullptr;
  std::string DisplayName;
  std::string Window;
  double Scale = 1, MarginX = 0, MarginY = 0;
  std::set<std::string> Seen;
  Clock::time_point LastShotSeen{};
};

// ---- The staged game -------------------------------------------------------------------------

// A copy of the staged game folder with only the packs made here.
void StageGame(const fs::path& Target) {
  const fs::path Staged = PIKORA_GAME_DIR;
  ASSERT_TRUE(fs::exists(Staged / "pikora")) << "the staged game is missing: " << Staged;
  fs::copy(Staged, Target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::remove_all(Target / "packs");
  fs::remove_all(Target / "screenshots");
  fs::create_directories(Target / "packs");
  const fs::path Scratch = Target.parent_path() / "pictures";
  fs::create_directories(Scratch);
  MakePackArchive(Target / "packs", Landscape, Scratch);
  MakePackArchive(Target / "packs", Portrait, Scratch);
  fs::remove_all(Scratch);
  WriteFile(Target / "game data" / "options.ini", "[Options]\nScreen=True\nMusic=True\nSound=True\nParticle=True\n");
}

// What a finished run may leave in the game folder: nothing but the game's own.
std::vector<std::string> Leftovers(const fs::path& Game) {
  const std::set<std::string> Expected = {"pikora", "pikora-pack", "game data", "sound", "packs", "screenshots"};
  std::vector<std::string> Extra;
  for (const auto& E : fs::directory_iterator(Game))
    if (!Expected.count(E.path().filename().string())) Extra.push_back(E.path().filename().string());
  for (const auto& E : fs::directory_iterator(Game / "packs"))
    if (E.path().extension() != ".pkr") Extra.push_back("packs/" + E.path().filename().string());
  for (const auto& E : fs::directory_iterator(Game / "game data"))
    if (E.path().filename() != "options.ini" && E.path().filename() != "pictures.pkr")
      Extra.push_back("game data/" + E.path().filename().string());
  return Extra;
}

std::string Joined(const std::vector<std::string>& Items) {
  std::string Text;
  for (const auto& I : Items) Text += (Text.empty() ? "" : ", ") + I;
  return Text;
}

// Side-menu buttons: X 19, Y 15 + 37 i, 120 x 25.
constexpr int MenuX = 79;
int MenuY(int Index) { return 15 + 37 * Index + 12; }

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* Tool : {"Xvfb", "xdotool"})
      if (!OnPath(Tool)) GTEST_SKIP() << Tool << " is not installed (scripts/setup installs it)";
    Game = Folder / "game";
    StageGame(Game);
  }

  // Plays every difference of the shown level, by the rectangles' centres.
  void PlayLevel(Player& P, const PackArt& Pack, std::set<size_t>& Played, int LevelNumber) {
    const std::string L = "level" + std::to_string(LevelNumber);
    P.Step(L + ": START");
    P.Click(Pack.Vertical ? 460 : 530, 445);
    P.Step(L + ": fade-in");
    P.WaitFrames(102, L + "-fade-in");
    const size_t Shown = P.ShownLevel(Pack);
    if (Played.count(Shown)) P.Fail("picture " + std::to_string(Shown + 1) + " comes again");
    Played.insert(Shown);
    const LevelArt& Art = Pack.Levels[Shown];
    for (int K = 0; K < 5; ++K) {
      const Rect& D = Art.Diffs[size_t(K)];
      // Alternate between the pictures: the rectangles count on both.
      const bool OnModified = K % 2 == 1;
      P.Step(L + ": difference " + std::to_string(K + 1));
      P.Click((OnModified ? Pack.ModifiedX : Pack.OffsetX) + D.CentreX(),
              (OnModified ? Pack.ModifiedY : Pack.OriginalY) + D.CentreY());
      P.TakeShot(L + "-difference" + std::to_string(K + 1));
    }
    P.Step(L + ": complete");
    P.Move(200, 560);
    P.TakeShot(L + "-complete");
  }

  TempFolder Folder;
  fs::path Game;
};

TEST_F(EndToEnd, LandscapePackPlayedIntoTheTableThenOptions) {
  Player P("landscape", Game);
  try {
    P.StartXServer();
    P.StartGame();

    P.Step("credits after the logo");
    P.Move(700, 560);
    P.WaitFrames(205, "credits");
    P.MeasureIdle("idle credits screen", 4s);

    const char* Screens[] = {"nova-igra", "top-lista", "postavke", "pomoc", "zasluge"};
    for (int I = 0; I < 5; ++I) {
      P.Step(std::string("side menu: ") + Screens[I]);
      P.ClickAndShow(MenuX, MenuY(I), Screens[I]);
    }

    P.Step("nova igra: hover the pack");
    P.ClickAndShow(MenuX, MenuY(0), "nova-igra-again");
    P.Move(512, 184);
    P.WaitFrames(2, "pack-hovered");
    P.Step("nova igra: choose the pack");
    P.ClickAndShow(512, 184, "pre-level");

    std::set<size_t> Played;
    for (int Level = 1; Level <= int(Landscape.Levels.size()); ++Level) {
      PlayLevel(P, Landscape, Played, Level);
      if (Level < int(Landscape.Levels.size())) {
        P.Step("level" + std::to_string(Level) + ": SLJEDECI NIVO");
        P.ClickAndShow(630, 588, "next-level");
      }
    }

    // Name entry takes S as a letter, so from here to the table no screenshot is asked for.
    P.Step("UNESI REZULTAT");
    P.Click(530, 445);
    P.Step("name entry");
    // The letters are in the order the game reads the keys, so their order holds even if
    // they reach it in one frame; Enter comes after them in a frame of its own.
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
    P.ClickAndShow(MenuX, MenuY(2), "options");
    P.ClickAndShow(650, 217, "options-music-off");
    P.ClickAndShow(650, 317, "options-particles-off");
    P.ClickAndShow(650, 267, "options-sound-off");
    P.ClickAndShow(370, 267, "options-sound-on");
    P.Move(200, 560);
    P.MeasureIdle("idle options screen", 4s);

    P.RequestClose();
    EXPECT_EQ(P.WaitGameExit(), 0) << P.Where();
  } catch (const std::exception& E) {
    P.SummariseFrameRate();
    std::cout << P.Report.str();
    FAIL() << E.what();
  }
  P.SummariseFrameRate();
  std::cout << P.Report.str();
  RecordProperty("figures", P.Report.str());

  P.Step("after the run");
  EXPECT_EQ(Joined(Leftovers(Game)), "") << "working files left behind; " << P.Where();

  const auto Table = ParseTable(ZipEntry(Game / "packs" / Landscape.File, "hscore.ini"));
  ASSERT_EQ(Table.size(), 10u) << P.Where();
  auto Dino = std::find_if(Table.begin(), Table.end(), [](const auto& E) { return E.first == "Dino"; });
  ASSERT_NE(Dino, Table.end()) << "the result is not in the pack's table; " << P.Where();
  EXPECT_GT(Dino->second, 0) << P.Where();
  // The others keep their order around the new entry, and the last one fell out.
  std::vector<std::pair<std::string, double>> Others;
  for (const auto& E : Table)
    if (E.first != "Dino") Others.push_back(E);
  for (size_t I = 0; I < Others.size(); ++I) {
    EXPECT_EQ(Others[I].first, ModestTable[I].first) << "place of " << ModestTable[I].first;
    EXPECT_EQ(Others[I].second, ModestTable[I].second) << "score of " << ModestTable[I].first;
  }
  for (size_t I = 1; I < Table.size(); ++I) EXPECT_GE(Table[I - 1].second, Table[I].second) << "place " << I;
  EXPECT_EQ(ParseTable(ZipEntry(Game / "packs" / Portrait.File, "hscore.ini")).size(), 10u);

  const std::string Options = ReadFile(Game / "game data" / "options.ini");
  EXPECT_EQ(IniValue(Options, "Screen"), "True");
  EXPECT_EQ(IniValue(Options, "Music"), "False");
  EXPECT_EQ(IniValue(Options, "Sound"), "True");
  EXPECT_EQ(IniValue(Options, "Particle"), "False");
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
  try {
    P.StartXServer();
    P.StartGame();
    P.Step("credits after the logo");
    P.Move(700, 560);
    P.WaitFrames(205, "credits");

    P.Step("nova igra: choose the portrait pack");
    P.ClickAndShow(MenuX, MenuY(0), "nova-igra");
    const Rgb Menu = P.MenuPlate();
    P.Move(512, 204);
    P.WaitFrames(2, "pack-hovered");
    P.ClickAndShow(512, 204, "pre-level");
    if (Near(P.MenuPlate(), Menu)) P.Fail("the menu plate cannot tell the menu from the game screen");

    // I Z L A Z lies inside SLJEDECI NIVO's hot area: after a won level the exit must still win.
    std::set<size_t> Played;
    PlayLevel(P, Portrait, Played, 1);
    P.Step("level1: I Z L A Z over SLJEDECI NIVO");
    P.ClickAndShow(715, 574, "left-after-win");
    P.WaitFrames(2, "high-scores-after-exit");
    if (!Near(P.MenuPlate(), Menu))
      P.Fail("the exit after a won level did not lead to the high scores (" + ColourText(P.MenuPlate()) + ")");

    P.Step("nova igra: the portrait pack again");
    P.ClickAndShow(MenuX, MenuY(0), "nova-igra-again");
    P.ClickAndShow(512, 204, "pre-level-again");

    P.Step("START");
    P.Click(460, 445);
    P.Step("fade-in");
    P.WaitFrames(102, "fade-in");
    P.ShownLevel(Portrait);

    for (size_t I = 0; I < Misses.size(); ++I) {
      P.Step("miss " + std::to_string(I + 1));
      const bool OnModified = I % 2 == 1;
      const int X = (OnModified ? Portrait.ModifiedX : Portrait.OffsetX) + Misses[I].first;
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
    P.RequestClose();
    EXPECT_EQ(P.WaitGameExit(), 0) << P.Where();
  } catch (const std::exception& E) {
    P.SummariseFrameRate();
    std::cout << P.Report.str();
    FAIL() << E.what();
  }
  P.SummariseFrameRate();
  std::cout << P.Report.str();

  P.Step("after the run");
  EXPECT_EQ(Joined(Leftovers(Game)), "") << "working files left behind; " << P.Where();
  const auto Table = ParseTable(ZipEntry(Game / "packs" / Portrait.File, "hscore.ini"));
  ASSERT_EQ(Table.size(), ModestTable.size()) << P.Where();
  for (size_t I = 0; I < Table.size(); ++I) {
    EXPECT_EQ(Table[I].first, ModestTable[I].first) << "place " << I + 1 << "; " << P.Where();
    EXPECT_EQ(Table[I].second, ModestTable[I].second) << "place " << I + 1;
  }
}

}  // namespace
}  // namespace pikora::test
