// CPU time of RenderFrame per frame on the menu screens 1 to 5 with particles on.
//   bench_frame          recording engine (the game's own work plus call recording)
//   bench_frame --real   the SDL engine (SDL_VIDEODRIVER=offscreen unless a display is wanted)
//                        with the staged game data; the frame pacing sleep is not CPU time.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/Particles.h"
#include "app/Random.h"
#include "app/SideMenu.h"
#include "app/frmMain.h"
#include "app/modDeclares.h"
#include "app/modMain.h"
#include "app/modRender.h"
#include "engine/ComponentError.h"
#include "engine/RecordingGfxEngine.h"
#include "resources/modLoad.h"
#include "support/NullFileTools.h"

using namespace pikora;

namespace {

double CpuSeconds() {
  timespec T;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
  return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

// PollMouse without the engine's poll: the same spawn the frame loop makes.
void SpawnTrail() {
  const float R1 = Rnd();
  const float R2 = Rnd();
  ParticleFX(true, 0, float(MouseState.X + 6), float(MouseState.Y + 6), float(Int(3 * R1) + 1),
             float(Int(2 * R2) + 1), 2, 35, true);
}

struct Result {
  double Median, Best;
};

// Microseconds per RenderFrame, median and best of Rounds batches of Frames frames.
Result Measure(int Frames, int Rounds, RecordingGfxEngine* Recording) {
  std::vector<double> Batches;
  for (int R = 0; R < Rounds; ++R) {
    double Total = 0;
    for (int F = 0; F < Frames; ++F) {
      // The trail as in play: the mouse wanders over the screen.
      MouseState.X = 100 + (FrameCounter * 7) % 600;
      MouseState.Y = 50 + (FrameCounter * 3) % 500;
      SpawnTrail();
      AdvanceFrameCounter();
      const double Start = CpuSeconds();
      RenderFrame();
      Total += CpuSeconds() - Start;
      if (Recording) Recording->ClearCalls();
    }
    Batches.push_back(Total / Frames * 1e6);
  }
  std::sort(Batches.begin(), Batches.end());
  return {Batches[Batches.size() / 2], Batches.front()};
}

}  // namespace

int main(int argc, char** argv) {
  const bool Real = argc > 1 && std::strcmp(argv[1], "--real") == 0;
  ResetGlobals();
  SeedRandom(1);
  MessageBoxesEnabled = false;
  std::shared_ptr<RecordingGfxEngine> Recording;
  try {
    if (Real) {
      if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
      if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
      AppPath = PIKORA_GAME_DIR;
      Gfx = MakeSdlGfxEngine();
      Gfx->SetDebugMode(false);
      Files = MakeZipFileTools(AppPath, Gfx.get());
      Gfx->Initialise(frmMain::hWnd(), AppPath, 800, 600, false, 0, 0, 0, 0);
      LoadTextures();
    } else {
      Recording = std::make_shared<RecordingGfxEngine>();
      Recording->RequireFiles = false;
      Gfx = Recording;
      Files = std::make_shared<test::NullFileTools>();
      for (const auto& Entry : TextureTable) Gfx->LoadTexture(*Entry.Slot, Entry.File, Entry.ColourKey);
    }
    LoadFonts();
    BuildMenu();
    PackList = {"animals.pkr", "sea.pkr", "space.pkr"};
    LogoFade = 100;  // past the start-up logo
    GameOptions.Particle = true;

    const int Frames = Real ? 120 : 2000;
    const int Rounds = Real ? 5 : 15;
    std::printf("RenderFrame CPU time per frame, %s engine, particles on (%d frames x %d rounds)\n",
                Real ? "SDL (offscreen)" : "recording", Frames, Rounds);
    for (int16_t Screen = 1; Screen <= 5; ++Screen) {
      GameScreen = Screen;
      Measure(Frames / 4, 1, Recording.get());  // warm-up: fills the trail and caches
      const Result R = Measure(Frames, Rounds, Recording.get());
      std::printf("  screen %d: median %8.2f us   best %8.2f us   (%zu particles live)\n", Screen, R.Median, R.Best,
                  size_t(std::count_if(Particles.begin(), Particles.end(), [](const ParticleSlot& P) {
                    return P.Life >= 1;
                  })));
    }
    if (Real) Gfx->Shutdown();
  } catch (const ComponentError& Error) {
    std::fprintf(stderr, "bench_frame: %s: %s\n", Error.Operation.c_str(), Error.Cause.c_str());
    return 1;
  }
  Gfx.reset();
  Files.reset();
  ReleaseTextures();
  return 0;
}
