#include "scores/NameEntry.h"

#include <cmath>

#include "app/Particles.h"
#include "app/Random.h"
#include "scores/HighScores.h"

namespace pikora {

namespace {

void SpawnSparkles() {
  struct Spawn {
    int16_t Kind;
    float VXRange;
    float LifeBase;
  };
  constexpr Spawn Spawns[] = {{7, 1, 40}, {4, 2, 45}, {4, 2, 50}, {4, 2, 55}};
  for (const auto& S : Spawns) {
    if (!GameOptions.Particle) continue;
    const float R1 = Rnd(), R2 = Rnd(), R3 = Rnd(), R4 = Rnd(), R5 = Rnd();
    ParticleFX(true, S.Kind, 800.0f * R1 - 20.0f, 600.0f * R2 - 20.0f, static_cast<float>(Int(S.VXRange * R3) + 1),
               static_cast<float>(Int(3.0f * R4) + 1), 2, 5.0f * R5 + S.LifeBase, true);
  }
}

}  // namespace

void NameEntryScreen() {
  SideMenuVisible = false;
  Gfx->DrawSprite(TexBackground, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  Gfx->DrawSprite(TexSky, -100, -225, 512, 512, static_cast<float>(FrameCounter) / 4.0f, 30, 0, 0, 1024, 1024, -1,
                  -1);
  Gfx->DrawSprite(TexMenuName, 144, 30, 512, 128, static_cast<float>(std::sin(FrameCounter / 10.0)), 100, 0, 0, 0, 0,
                  -1, -1);

  const uint32_t Outline = ColourARGB(255, 205, 205, 205);
  Gfx->DrawText("titleL", -1, 201, 800, 50, PlayerName, Outline, 5);
  Gfx->DrawText("titleL", -1, 199, 800, 50, PlayerName, Outline, 5);
  Gfx->DrawText("titleL", 1, 201, 800, 50, PlayerName, Outline, 5);
  Gfx->DrawText("titleL", 1, 199, 800, 50, PlayerName, Outline, 5);
  Gfx->DrawText("titleL", 0, 200, 800, 50, PlayerName, ColourARGB(255, 40, 0, 170), 5);

  Gfx->SetTint(0, 0, 255);
  const float R1 = Rnd();
  const float R2 = Rnd();
  Gfx->DrawSprite(TexButton, 338.0f + 4.0f * R1, 286.0f + 4.0f * R2, 120, 25,
                  static_cast<float>(std::sin(FrameCounter / 25.0)), 80, 0, 0, 0, 0, -1, -1);
  Gfx->SetTint(255, 255, 255);
  Gfx->DrawText("titlem", 340, 288, 120, 25, "UNESI", ColourARGB(255, 255, 255, 255), 5);

  if (MouseState.X > 340 && MouseState.X < 460 && MouseState.Y > 288 && MouseState.Y < 313 && MouseState.Button)
    SaveResult();

  Randomize();
  SpawnSparkles();
}

}  // namespace pikora
