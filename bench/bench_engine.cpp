// Frames per second of the SDL engine drawing 300 sprites and 60 texts per frame, unpaced,
// under the offscreen driver; then the paced rate and the process's peak memory.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/SdlGfxEngine.h"
#include "support/GameFixture.h"

using namespace pikora;

namespace {

void WriteTexture(const std::string& Path, int W, int H) {
  SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, W, H, 32, SDL_PIXELFORMAT_ARGB8888);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      static_cast<uint32_t*>(S->pixels)[Y * W + X] = 0xFF000000u | uint32_t(X * 255 / W) << 16 | uint32_t(Y * 255 / H) << 8 | 0x80;
  IMG_SavePNG(S, Path.c_str());
  SDL_FreeSurface(S);
}

double CpuSeconds() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return double(U.ru_utime.tv_sec + U.ru_stime.tv_sec) + (U.ru_utime.tv_usec + U.ru_stime.tv_usec) / 1e6;
}

void DrawFrame(SdlGfxEngine& E, const Texture& Sprite, const Texture& Back, int Frame) {
  E.BeginFrame(0, 0, 0);
  E.DrawSprite(Back, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  for (int I = 0; I < 299; ++I) {
    const float X = float((I * 37 + Frame) % 760), Y = float((I * 53 + Frame * 2) % 560);
    E.DrawSprite(Sprite, X, Y, 32, 32, float((I * 7 + Frame) % 360), 40 + I % 60, float((I % 2) * 32), 0, 0, 0, -1, -1);
  }
  for (int I = 0; I < 60; ++I) {
    // Most texts repeat every frame; a few (score, timer, cursor readout) change.
    const std::string Text = I < 50 ? "Tekst broj " + std::to_string(I) : std::to_string(Frame * 7 + I);
    E.DrawText(I % 2 ? "small" : "titleM", float((I % 6) * 130), float((I / 6) * 55), 130, 25, Text, 0xFFFFFFFF, 5);
  }
  E.EndFrame();
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  pikora::test::TempFolder Folder;
  WriteTexture((Folder / "particles.png").string(), 64, 32);
  WriteTexture((Folder / "background.png").string(), 1024, 1024);
  WindowHandle Handle{"Pikora bench", [] { return false; }};
  SdlGfxEngine E;
  E.Initialise(&Handle, Folder.Path.string(), 800, 600, false, 0, 0, 0, 0);
  Texture Sprite, Back;
  E.LoadTexture(Sprite, "particles.png", 0);
  E.LoadTexture(Back, "background.png", 0);
  E.CreateFont("small", "Verdana", 8, false, false);
  E.CreateFont("titleM", "Verdana", 15, true, false);

  using Clock = std::chrono::steady_clock;
  SdlPaceFrames = false;
  for (int F = 0; F < 20; ++F) DrawFrame(E, Sprite, Back, F);
  const int Frames = 300;
  const double CpuBefore = CpuSeconds();
  auto Start = Clock::now();
  for (int F = 0; F < Frames; ++F) DrawFrame(E, Sprite, Back, F);
  const double Unpaced = Frames / std::chrono::duration<double>(Clock::now() - Start).count();
  const double CpuPerFrame = (CpuSeconds() - CpuBefore) / Frames;

  SdlPaceFrames = true;
  const int PacedFrames = 120;
  DrawFrame(E, Sprite, Back, 0);
  Start = Clock::now();
  for (int F = 0; F < PacedFrames; ++F) DrawFrame(E, Sprite, Back, F);
  const double Paced = PacedFrames / std::chrono::duration<double>(Clock::now() - Start).count();

  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  std::printf("renderer: %s\n", [&] {
    SDL_RendererInfo Info{};
    SDL_GetRendererInfo(SDL_GetRenderer(E.WindowPtr()), &Info);
    return Info.name ? Info.name : "?";
  }());
  std::printf("300 sprites + 60 texts per frame, pace off: %.1f frames/s (%.2f ms/frame)\n", Unpaced, 1000.0 / Unpaced);
  std::printf("CPU time per frame (less sensitive to a busy machine): %.2f ms\n", CpuPerFrame * 1000);
  std::printf("same with the 60 Hz pace on: %.2f frames/s\n", Paced);
  std::printf("texts rasterised: %zu, cached now: %zu\n", E.TextRasterisations, E.CachedTexts());
  std::printf("peak memory (ru_maxrss): %.1f MB\n", Usage.ru_maxrss / 1024.0);
  E.Shutdown();
  return 0;
}
