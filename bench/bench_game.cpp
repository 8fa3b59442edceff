// CPU time per frame of the in-game screen with particles on, on the recording engine.
// The screen reads the level text and the high-score table every frame: the file tools'
// caches have to make that cheap. Goal: under 50 microseconds per frame.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/Input.h"
#include "app/modDeclares.h"
#include "app/modRender.h"
#include "engine/ComponentError.h"
#include "engine/RecordingGfxEngine.h"
#include "support/GameFixture.h"
#include "support/NullFileTools.h"

using namespace pikora;

namespace {

double CpuSeconds() {
  timespec T{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
  return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

void WriteGameFolder(const test::TempFolder& Folder) {
  std::string Scores = "[scores]\n";
  for (int I = 1; I <= 10; ++I)
    Scores += std::to_string(I) + "_name=Igrac" + std::to_string(I) + "\n" + std::to_string(I) +
              "_score=" + std::to_string(5000 - 400 * I) + "\n";
  test::WriteFile(Folder / "0hscore.ini", Scores);
  test::WriteFile(Folder / "0packinfo.ini", "[General]\nNumOfLevels=3\nVertical=True\nPackInfo=Paket\n");
  std::string PicInfo = "[1]\n";
  for (int K = 1; K <= 5; ++K) {
    const std::string N = std::to_string(K);
    PicInfo += N + "Left=" + std::to_string(10 * K) + "\n" + N + "Right=" + std::to_string(10 * K + 8) + "\n" + N +
               "Top=" + std::to_string(10 * K) + "\n" + N + "Bottom=" + std::to_string(10 * K + 8) + "\n";
  }
  PicInfo += "PicInfo=Slika jedan[e]opis slike\n";
  test::WriteFile(Folder / "picinfo.ini", PicInfo);
}

void SetUpLevel(RecordingGfxEngine& Engine) {
  for (const char* Font : {"small", "titleS", "titleM", "titleL", "highscores", "highscoresbig"})
    Engine.CreateFont(Font, "DejaVu Sans", 12, false, false);
  for (const char* Sound : {"click", "levelcompleted", "joker", "gameover", "packcompleted"})
    Engine.LoadSound(Sound, std::string("sound/") + Sound + ".wav");
  for (const auto& Entry : TextureTable) Engine.LoadTexture(*Entry.Slot, Entry.File, Entry.ColourKey);
  Engine.LoadTexture(OriginalPicture, "1.jpg", 0);
  Engine.LoadTexture(ModifiedPicture, "1x.jpg", 0);

  PackList = {"Zivotinje.pkr"};
  SelectedPack = 0;
  Vertical = true;
  NumOfLevels = 3;
  NumOfLevelsText = "3";
  CurrentPackFile = "Zivotinje.pkr";
  PictureName = "1";
  for (int K = 1; K <= 5; ++K) Differences[K] = {float(10 * K), float(10 * K + 8), float(10 * K), float(10 * K + 8)};
  Differences[2].Found = true;
  Score = 1234;
  Level = 1;
  LevelText = "1";
  JokerAvailable = true;
  JokerFade = 100;
  GameOptions = {};
  GameOptions.Particle = true;
  GameScreen = 10;
  LevelRunning = true;
  LevelFade = 100;
  LogoFade = 100;
}

}  // namespace

int main() {
  test::TempFolder Folder;
  WriteGameFolder(Folder);
  AppPath = Folder.Path.string();
  auto Engine = std::make_shared<RecordingGfxEngine>();
  Engine->RequireFiles = false;
  Engine->Initialise(nullptr, AppPath, 800, 600, false, 0, 0, 0, 0);
  Gfx = Engine;
  bool RealFiles = true;
  try {
    Files = MakeZipFileTools(AppPath, Gfx.get());
    Files->Configure(50);
  } catch (const ComponentError&) {
    RealFiles = false;
    Files = std::make_shared<test::NullFileTools>();
  }
  SetUpLevel(*Engine);
  Engine->MoveMouse(1, 300, 300);  // over the original picture, no click

  auto RunFrame = [&] {
    TimeUsed = 150;  // keeps the level running
    PollKeyboard();
    PollMouse();
    ++FrameCounter;
    RenderFrame();
    Engine->ClearCalls();
  };
  for (int I = 0; I < 500; ++I) RunFrame();
  constexpr int Frames = 20000;
  const double Start = CpuSeconds();
  for (int I = 0; I < Frames; ++I) RunFrame();
  const double PerFrame = (CpuSeconds() - Start) / Frames * 1e6;

  // The reads the place ladder and the picture text make each frame, on their own: a
  // figure for the caches while those screens' parts are not all in the build.
  const double ReadStart = CpuSeconds();
  for (int I = 0; I < Frames; ++I) {
    Files->LoadHighScores("0hscore.ini", 10, 0, 0);
    const int16_t Place = Files->GetHighScorePlace(Score);
    for (int16_t P = std::max<int16_t>(1, Place - 2); P <= std::min<int16_t>(10, Place + 1); ++P) {
      volatile float S = Files->GetHighScore(P);
      (void)S;
      (void)Files->GetHighScoreName(P).size();
    }
    (void)Files->ReadINI(PictureName, "PicInfo", "picinfo.ini").size();
  }
  const double ReadsPerFrame = (CpuSeconds() - ReadStart) / Frames * 1e6;

  int Live = 0;
  for (const auto& P : Particles) Live += P.Life > 0;
  std::printf("in-game frame: %.2f us CPU (goal < 50 us), %d live particles, %s file tools\n", PerFrame, Live,
              RealFiles ? "real" : "NULL (real ones not built yet)");
  std::printf("per-frame ladder and picture-text reads alone: %.2f us CPU\n", ReadsPerFrame);
  Files.reset();
  Gfx.reset();
  ResetGlobals();
  return 0;
}
