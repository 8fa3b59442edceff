#include "app/Input.h"

#include <cmath>
#include <iostream>

#include "app/Particles.h"
#include "app/Random.h"
#include "engine/ComponentError.h"
#include "game/Joker.h"
#include "scores/modKeys.h"

namespace pikora {

void PollKeyboard() {
  // The name entry owns the whole keyboard, Escape included.
  if (GameScreen == 55) {
    ReadNameKeys();
    return;
  }
  // A screenshot is a convenience: its failure never ends the run.
  if (Gfx->KeyDown(Key::S)) try {
      Gfx->OnKeyS();
    } catch (const ComponentError& Error) {
      std::cerr << "Pikora: no screenshot: " << Error.what() << std::endl;
    }
  // Both sides are always asked: a press the engine holds for its first poll must not
  // surface later, when the debug mode or the joker changes.
  const bool Debug = Gfx->IsDebugMode();
  if (Gfx->KeyDown(Key::J) && Debug) UseJoker();
  if (Gfx->KeyDown(Key::Space) && JokerAvailable) UseJoker();
  if (Gfx->KeyDown(Key::Escape)) GameRunning = false;
}

void PollMouse() {
  Gfx->GetMouseState(MouseState, 0);
  if (GameOptions.Particle) {
    const float R1 = Rnd();
    const float R2 = Rnd();
    ParticleFX(true, 0, float(MouseState.X + 6), float(MouseState.Y + 6), float(Int(3 * R1) + 1),
               float(Int(2 * R2) + 1), 2, 35, true);
  }
}

bool IsMouseIn(float X, float Y, float Width, float Height) {
  const float MouseX = float(MouseState.X);
  const float MouseY = float(MouseState.Y);
  const float Right = X + Width;
  const float Bottom = Y + Height;
  return X <= MouseX && MouseX <= Right && Y <= MouseY && MouseY <= Bottom;
}

void DrawCursor() {
  if (CursorOverButton) {
    // Swings about the arrow's tip.
    const float Angle = float(std::sin(FrameCounter / 10.0) * 10.0);
    Gfx->DrawSprite(TexMouse, float(MouseState.X), float(MouseState.Y), 32, 32, Angle, 40, 0, 0, 0, 0, 1, 1);
  } else {
    Gfx->DrawSprite(TexMouse, float(MouseState.X), float(MouseState.Y), 32, 32, 0, 40, 0, 0, 0, 0, -1, -1);
  }
}

}  // namespace pikora
