#include "game/Joker.h"

#include <cmath>

#include "app/Random.h"
#include "game/modGame.h"

namespace pikora {

void UseJoker() {
  if (!LevelRunning) return;
  // The debug key skips the availability test; never spin when nothing is left to reveal.
  bool AnyUnfound = false;
  for (int I = 1; I <= 5; ++I) AnyUnfound = AnyUnfound || !Differences[I].Found;
  if (!AnyUnfound) return;

  int K;
  do {
    K = int(Int(5.0 * Rnd()) + 1.0);
  } while (Differences[K].Found);
  Differences[K].Found = true;
  ScoreFind();
  CheckLevelComplete();
  JokerAvailable = false;
  JokerFade = 99;
  if (GameOptions.Sound) Gfx->PlaySound("joker", 0, 100, 0, 0);
}

void DrawJokerButton() {
  const int32_t Alpha = Round(double(JokerFade) - 15.0);
  const double S1 = std::sin(FrameCounter / 2.0);
  const double S2 = std::sin(FrameCounter / 10.0);
  const float X = Vertical ? 413.0f : 160.0f;
  const float Y = Vertical ? 565.0f : 292.0f;
  const double Turn = Vertical ? 0.0 : 90.0;

  auto Layer = [&](double Angle) { Gfx->DrawSprite(TexButton, X, Y, 120, 25, float(Angle), Alpha, 0, 0, 90, 18.75f, -1, -1); };

  Gfx->SetTint(100, 100, 200);
  Layer(S1 + 100.0 + JokerFade + Turn);
  Layer(S1 + 80.0 - JokerFade + Turn);

  const bool Over = Vertical ? (MouseState.Y < 583.75 && MouseState.X > 413 && MouseState.X < 503 && MouseState.Y > 565)
                             : (MouseState.Y < 310.75 && MouseState.X > 160 && MouseState.X < 230 && MouseState.Y > 292);
  if (Over && JokerAvailable && MouseState.Button) UseJoker();

  Gfx->SetTint(20, 20, 200);
  Layer(5.0 * S2 + Turn);

  const int32_t C = Round(255.0 / 100.0 - 255.0 / 100.0 * (10.0 - double(JokerFade)));
  const uint32_t Colour = ColourARGB(C, 230, 255, 255);
  if (Vertical)
    Gfx->DrawText("small", 413, 565, 90, 18.75f, "J O K E R", Colour, 5);
  else
    Gfx->DrawText("small", 195, 270, 20, 65, "J\r\nO\r\nK\r\nE\r\nR", Colour, 5);
  Gfx->SetTint(255, 255, 255);
}

}  // namespace pikora
