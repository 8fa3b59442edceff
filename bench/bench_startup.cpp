// Time from process start to the first presented frame, with the real engine and the staged
// game data (build/game), and where it goes.
//   bench_startup [runs]     starts itself runs times (default 7) and reports the medians
// Each child runs the real Main with timing wrappers around the three components and ends the
// game right after its first EndFrame. SDL_VIDEODRIVER defaults to offscreen.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/modDeclares.h"
#include "app/modMain.h"
#include "engine/ComponentError.h"
#include "engine/Components.h"

using namespace pikora;

namespace {

double Now() {
  timespec T;
  clock_gettime(CLOCK_MONOTONIC, &T);
  return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

// Seconds spent inside the wrapped calls, by phase.
std::map<std::string, double> Spent;
double FirstFrameAt = 0;

struct Timer {
  explicit Timer(const char* Phase) : Phase(Phase), Start(Now()) {}
  ~Timer() { Spent[Phase] += Now() - Start; }
  const char* Phase;
  double Start;
};

class TimedGfx : public GfxEngine {
 public:
  explicit TimedGfx(std::shared_ptr<GfxEngine> Inner) : In(std::move(Inner)) {}
  void SetDebugMode(bool On) override { In->SetDebugMode(On); }
  bool IsDebugMode() override { return In->IsDebugMode(); }
  void Initialise(WindowHandle* W, const std::string& F, float Wd, float H, bool Fs, int32_t A, int32_t B, int32_t C,
                  int32_t D) override {
    Timer T("engine Initialise (window, renderer, audio)");
    Window = W;
    In->Initialise(W, F, Wd, H, Fs, A, B, C, D);
  }
  void SetActive(bool A) override { In->SetActive(A); }
  void Shutdown() override { In->Shutdown(); }
  void BeginFrame(int32_t R, int32_t G, int32_t B) override {
    if (!FirstFrameAt) Frame.emplace("first frame (draw + present)");
    In->BeginFrame(R, G, B);
  }
  void EndFrame() override {
    In->EndFrame();
    if (!FirstFrameAt) {
      Frame.reset();
      FirstFrameAt = Now();
      // The first frame is out: end the game as a close request would.
      if (Window && Window->CloseRequested) Window->CloseRequested();
    }
  }
  bool KeyDown(int32_t K) override { return In->KeyDown(K); }
  void OnKeyS() override { In->OnKeyS(); }
  void GetMouseState(MouseStateRecord& S, int32_t R) override { In->GetMouseState(S, R); }
  void PrefetchPictures(const std::vector<std::string>& F) override { In->PrefetchPictures(F); }
  void LoadTexture(Texture& Out, const std::string& F, uint32_t K) override {
    Timer T("LoadTexture x26 (decoding)");
    In->LoadTexture(Out, F, K);
  }
  void DrawSprite(const Texture& Tex, float X, float Y, float TW, float TH, float A, int32_t O, float SX, float SY,
                  float W, float H, float CX, float CY) override {
    In->DrawSprite(Tex, X, Y, TW, TH, A, O, SX, SY, W, H, CX, CY);
  }
  void SetTint(int32_t R, int32_t G, int32_t B) override { In->SetTint(R, G, B); }
  void DrawBitmapText(const Texture& F, const std::string& T, float X, float Y, float S, float A, int32_t O, float R,
                      float G, float B) override {
    In->DrawBitmapText(F, T, X, Y, S, A, O, R, G, B);
  }
  void CreateFont(const std::string& N, const std::string& F, int32_t S, bool B, bool I) override {
    Timer T("CreateFont x6 (fonts)");
    In->CreateFont(N, F, S, B, I);
  }
  void DrawText(const std::string& F, float X, float Y, float W, float H, const std::string& T, uint32_t C,
                int32_t Fm) override {
    In->DrawText(F, X, Y, W, H, T, C, Fm);
  }
  void LoadSound(const std::string& N, const std::string& F) override {
    Timer T("LoadSound x9 (effects)");
    In->LoadSound(N, F);
  }
  void PlaySound(const std::string& N, int32_t A, int32_t V, int32_t B, int32_t E) override {
    In->PlaySound(N, A, V, B, E);
  }
  void DoEvents() override { In->DoEvents(); }
  void LastMousePosition(int32_t& X, int32_t& Y) override { In->LastMousePosition(X, Y); }

 private:
  std::shared_ptr<GfxEngine> In;
  WindowHandle* Window = nullptr;
  std::optional<Timer> Frame;
};

class TimedFiles : public FileTools {
 public:
  explicit TimedFiles(std::shared_ptr<FileTools> Inner) : In(std::move(Inner)) {}
  void Configure(int32_t V) override { In->Configure(V); }
  void OpenArchive(const std::string& P, int32_t A, const std::string& W, int32_t B) override {
    Timer T("OpenArchive + ExtractAll (unpacking)");
    In->OpenArchive(P, A, W, B);
  }
  void ExtractAll(const std::string& D, int32_t R) override {
    Timer T("OpenArchive + ExtractAll (unpacking)");
    In->ExtractAll(D, R);
  }
  void ExtractFile(const std::string& E, const std::string& D, int32_t R) override { In->ExtractFile(E, D, R); }
  void AddFileToArchive(const std::string& F, const std::string& E, int32_t R) override {
    In->AddFileToArchive(F, E, R);
  }
  void RemoveFromArchive(const std::string& E, int32_t R) override { In->RemoveFromArchive(E, R); }
  void FlushArchive() override { In->FlushArchive(); }
  std::vector<std::string> ListFiles(const std::string& F, int32_t R, bool O) override {
    return In->ListFiles(F, R, O);
  }
  bool FileExists(const std::string& P) override { return In->FileExists(P); }
  std::string ReadINI(const std::string& S, const std::string& K, const std::string& F, int32_t R) override {
    Timer T(FirstFrameAt ? "ReadINI (after)" : "ReadINI (options)");
    return In->ReadINI(S, K, F, R);
  }
  void WriteINI(const std::string& S, const std::string& K, const std::string& V, const std::string& F,
                int32_t R) override {
    In->WriteINI(S, K, V, F, R);
  }
  void LoadHighScores(const std::string& F, int32_t P, int32_t A, int32_t B) override {
    In->LoadHighScores(F, P, A, B);
  }
  void AddHighScore(float S, const std::string& N, const std::vector<std::string>& E, int32_t P) override {
    In->AddHighScore(S, N, E, P);
  }
  int16_t GetHighScorePlace(float S) override { return In->GetHighScorePlace(S); }
  float GetHighScore(int16_t P) override { return In->GetHighScore(P); }
  std::string GetHighScoreName(int16_t P) override { return In->GetHighScoreName(P); }
  bool IsMouseOver(float X, float Y, float W, float H) override { return In->IsMouseOver(X, Y, W, H); }

 private:
  std::shared_ptr<FileTools> In;
};

class TimedMusic : public MusicPlayer {
 public:
  explicit TimedMusic(std::shared_ptr<MusicPlayer> Inner) : In(std::move(Inner)) {}
  void Load(const std::string& F) override {
    Timer T("music Load + Play");
    In->Load(F);
  }
  void Play(bool S) override {
    Timer T(FirstFrameAt ? "music upkeep" : "music Load + Play");
    In->Play(S);
  }
  void Stop(bool I) override { In->Stop(I); }
  void SetVolume(int32_t V) override { In->SetVolume(V); }
  int32_t GetPosition() override { return In->GetPosition(); }
  int32_t GetLength() override { return In->GetLength(); }

 private:
  std::shared_ptr<MusicPlayer> In;
};

// One start of the game; prints "phase<TAB>seconds" lines and the absolute first-frame time.
int Child() {
  const double Entered = Now();
  if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
  MessageBoxesEnabled = false;
  AppPath = PIKORA_GAME_DIR;
  Factory.MakeGfx = [] { return std::make_shared<TimedGfx>(MakeSdlGfxEngine()); };
  Factory.MakeFiles = [](const std::string& Folder, GfxEngine* Engine) {
    return std::make_shared<TimedFiles>(MakeZipFileTools(Folder, Engine));
  };
  Factory.MakeMusic = [](const std::string& Folder) {
    return std::make_shared<TimedMusic>(MakeFfmpegMusicPlayer(Folder));
  };
  const int Status = Main();
  if (Status != 0 || !FirstFrameAt) return Status ? Status : 3;
  std::printf("entered\t%.9f\n", Entered);
  std::printf("firstframe\t%.9f\n", FirstFrameAt);
  for (const auto& [Phase, Seconds] : Spent) std::printf("%s\t%.9f\n", Phase.c_str(), Seconds);
  return 0;
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V.empty() ? 0 : V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return Child();
  const int Runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::vector<double> Totals, ToMain;
  std::map<std::string, std::vector<double>> Phases;
  for (int Run = 0; Run < Runs; ++Run) {
    int Pipe[2];
    if (pipe(Pipe) != 0) return 1;
    const double Started = Now();
    const pid_t Pid = fork();
    if (Pid == 0) {
      dup2(Pipe[1], STDOUT_FILENO);
      close(Pipe[0]);
      close(Pipe[1]);
      execl("/proc/self/exe", argv[0], "--child", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(Pipe[1]);
    std::string Out;
    char Buffer[4096];
    ssize_t N;
    while ((N = read(Pipe[0], Buffer, sizeof Buffer)) > 0) Out.append(Buffer, size_t(N));
    close(Pipe[0]);
    int Status = 0;
    waitpid(Pid, &Status, 0);
    if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
      std::fprintf(stderr, "bench_startup: run %d failed (status %d); is the game staged in %s?\n", Run + 1,
                   WIFEXITED(Status) ? WEXITSTATUS(Status) : -1, PIKORA_GAME_DIR);
      return 1;
    }
    std::map<std::string, double> Values;
    size_t Pos = 0;
    while (Pos < Out.size()) {
      const size_t End = Out.find('\n', Pos);
      const std::string Line = Out.substr(Pos, End - Pos);
      const size_t Tab = Line.find('\t');
      if (Tab != std::string::npos) Values[Line.substr(0, Tab)] = std::atof(Line.c_str() + Tab + 1);
      if (End == std::string::npos) break;
      Pos = End + 1;
    }
    Totals.push_back((Values["firstframe"] - Started) * 1e3);
    ToMain.push_back((Values["entered"] - Started) * 1e3);
    for (const auto& [Phase, Seconds] : Values)
      if (Phase != "firstframe" && Phase != "entered") Phases[Phase].push_back(Seconds * 1e3);
  }
  std::printf("Start to first presented frame, %d runs (median): %.1f ms (min %.1f, max %.1f)\n", Runs,
              Median(Totals), *std::min_element(Totals.begin(), Totals.end()),
              *std::max_element(Totals.begin(), Totals.end()));
  std::printf("  %-48s %8.1f ms\n", "exec, dynamic loading, static init", Median(ToMain));
  for (const auto& [Phase, Values] : Phases) std::printf("  %-48s %8.1f ms\n", Phase.c_str(), Median(Values));
  return 0;
}
