#include "game/modGame.h"

#include "app/Particles.h"
#include "app/Random.h"
#include "resources/Packs.h"

namespace pikora {

namespace {

// A picture's hot area on the surface; one pixel larger than the drawn picture.
struct PictureArea {
  int32_t Left, Top, Right, Bottom;
  bool Original;
};

constexpr PictureArea VerticalAreas[2] = {{185, 100, 441, 480, true}, {471, 100, 727, 480, false}};
constexpr PictureArea HorizontalAreas[2] = {{350, 29, 730, 285, true}, {350, 315, 730, 571, false}};

void PictureOffset(bool OnOriginal, int32_t& X, int32_t& Y) {
  if (Vertical) {
    X = OnOriginal ? 185 : 471;
    Y = 100;
  } else {
    X = 350;
    Y = OnOriginal ? 29 : 315;
  }
}

void SpawnMissParticles() {
  // Each Rnd is drawn before its spawn: the order of the draws is part of the effect.
  for (int I = 0; I < 2; ++I) {
    const float VX = float(Int(2.0 * Rnd()) - 0.5);
    ParticleFX(true, 2, 768, 488, VX, 1, 2, 100, true);
  }
  for (int I = 0; I < 2; ++I) {
    const float VX = float(Int(6.0 * Rnd()) - 3.0);
    ParticleFX(true, 5, 768, 488, VX, 1, 2, 30, true);
  }
  for (int I = 0; I < 3; ++I) {
    const float VX = float(Int(6.0 * Rnd()) - 3.0);
    ParticleFX(true, 0, 768, 488, VX, 1, 2, 50, true);
  }
}

}  // namespace

void ScoreFind() {
  Score = float(Int(double(Level) * 10.0 / 100.0 * (407.0 - double(TimeUsed)) + double(Score)));
}

void HoverPictures() {
  for (const PictureArea& Area : Vertical ? VerticalAreas : HorizontalAreas) {
    if (MouseState.X < Area.Left || MouseState.X > Area.Right || MouseState.Y < Area.Top ||
        MouseState.Y > Area.Bottom)
      continue;
    CursorOnOriginal = Area.Original;
    if (Gfx->IsDebugMode()) {
      int32_t OffsetX, OffsetY;
      PictureOffset(Area.Original, OffsetX, OffsetY);
      const std::string Text = std::to_string(MouseState.X - OffsetX) + "x" + std::to_string(MouseState.Y - OffsetY) +
                               (Area.Original ? " - ORIGINAL" : " - MODIFIED");
      if (Vertical)
        Gfx->DrawText("small", 393, 55, 130, 25, Text, ColourARGB(255, 255, 255, 255), 5);
      else
        Gfx->DrawText("small", 475, 287, 130, 25, Text, ColourARGB(255, 255, 255, 255), 5);
    }
    if (MouseState.Button) CheckClick();
  }
}

void CheckClick() {
  PictureOffset(CursorOnOriginal, PictureOffsetX, PictureOffsetY);
  const double PX = double(MouseState.X) - PictureOffsetX;
  const double PY = double(MouseState.Y) - PictureOffsetY;

  bool FoundNew = false;
  for (int I = 1; I <= 5; ++I) {
    Difference& D = Differences[I];
    if (!(D.Left <= PX && PX <= D.Right && D.Top <= PY && PY <= D.Bottom)) continue;
    if (!D.Found) {
      ScoreFind();
      FoundNew = true;
    }
    D.Found = true;
    if (GameOptions.Sound) Gfx->PlaySound("click", 0, 80, 0, 0);
  }

  if (!FoundNew) {
    TimeUsed = float(double(TimeUsed) + 30.0);
    // Past 406 the level is lost at once, although its overlay shows from the next frame:
    // the joker must not win it in between.
    if (TimeUsed > 406) LevelRunning = false;
    if (GameOptions.Sound) Gfx->PlaySound("click", 0, 80, 0, 40);
    if (GameOptions.Particle) SpawnMissParticles();
  }
  CheckLevelComplete();
}

void CheckLevelComplete() {
  for (int I = 1; I <= 5; ++I)
    if (!Differences[I].Found) return;
  const double Gain = Int(407.0 - double(TimeUsed) + double(Level) * 50.0);
  LevelRunning = false;
  LevelCompleteShown = true;
  Score = float(double(Score) + Gain);
  Level = float(double(Level) + 1.0);
  if (GameOptions.Sound) Gfx->PlaySound("levelcompleted", 0, 90, 0, 45);
}

void ClearFound() {
  for (int I = 1; I <= 5; ++I) Differences[I].Found = false;
}

void ClearLevelsPlayed() {
  for (int I = 1; I <= 50; ++I) LevelPlayed[I] = false;
}

void EndGame() {
  ClearLevelsPlayed();
  ClearFound();
  ReleaseLevelPictures();
  // A level left running would let the next run's joker act before its level is shown.
  LevelRunning = false;
  GameScreen = 2;
  // The click that left acts no further in this frame: SLJEDECI NIVO's hot area covers
  // the exit button and is tested after it.
  MouseState.Button = false;
}

void AdvanceTimer() {
  if (LevelFade != 100.0f || !LevelRunning) return;
  TimeUsed = float((1.0 / 30.0) * double(Level) + (1.0 / 35.0 + double(TimeUsed)));
}

}  // namespace pikora
