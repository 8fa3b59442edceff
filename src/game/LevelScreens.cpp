#include "game/LevelScreens.h"

#include "app/Particles.h"
#include "app/Random.h"
#include "game/GameScreen.h"
#include "game/modGame.h"
#include "resources/LevelData.h"
#include "resources/Packs.h"
#include "scores/GameOver.h"
#include "scores/HighScores.h"
#include "scores/LevelComplete.h"

namespace pikora {

namespace {

const std::string IntroText =
    "postoji 5 razlika\r\nizmedju originalne i modificirane slike\r\nna vama je da ih nadjete\r\n\r\n\r\n"
    "KLIKNITE 'START' AKO STE SPREMNI";

// The task text and START over the game screen; full strength before a level, fading as it starts.
void DrawIntroOverlay(int32_t MaskAlpha, int32_t TextAlpha, int32_t ButtonAlpha) {
  const float Shift = Vertical ? 0.0f : 70.0f;  // the START row moves right in the landscape layout
  DrawGameMask(MaskAlpha);
  if (Vertical) {
    Gfx->DrawText("highscores", 332, 252, 270, 100, IntroText, ColourARGB(TextAlpha, 0, 0, 0), 5);
    Gfx->DrawText("highscores", 330, 250, 270, 100, IntroText, ColourARGB(TextAlpha, 255, 255, 255), 5);
  } else {
    Gfx->DrawText("highscores", 402, 152, 270, 100, IntroText, ColourARGB(TextAlpha, 0, 0, 0), 5);
    Gfx->DrawText("highscores", 400, 150, 270, 100, IntroText, ColourARGB(TextAlpha, 255, 255, 255), 5);
  }
  Gfx->DrawText("titleL", 340 + Shift, 420, 240, 50, "START", ColourARGB(TextAlpha, 255, 255, 255), 5);
  Gfx->DrawSprite(TexButton, 340 + Shift, 420, 120, 25, 0, ButtonAlpha, 0, 0, 240, 50, -1, -1);
}

bool OverStart() {
  const int32_t Left = Vertical ? 340 : 410;
  return MouseState.X > Left && MouseState.X < Left + 240 && MouseState.Y > 420 && MouseState.Y < 470;
}

void DrawTimeBar() {
  const int32_t Alpha = Round(LevelFade);
  const float SrcY = TimeUsed <= 399 ? 399.0f - TimeUsed : 0.0f;
  Gfx->DrawSprite(TexProgressBar, 755, 94, 49, 399, 0, Alpha, 0, SrcY, 0, 0, -1, -1);
  if (TimeUsed <= 406) {
    const float Left = 406.0f - TimeUsed;
    Gfx->DrawSprite(TexProgressBarIn, 755, 94.0f + TimeUsed, 49, Left, 0, Alpha, 0, 0, 49, Left, -1, -1);
    if (GameOptions.Particle) {
      const float VX = float(Int(2.0 * Rnd()) - 0.5);
      const float VY = float(Int(3.0 * Rnd()) + 1.0);
      ParticleFX(true, 2, 768, 488, VX, VY, 2, 40, true);
    }
  } else {
    DrawGameOver();
  }
  Gfx->DrawSprite(TexProgressRoom, 751, 94, 49, 406, 0, Alpha, 0, 0, 0, 0, -1, -1);
}

}  // namespace

void PreLevelScreen() {
  SideMenuVisible = false;
  DrawGameScreen();
  DrawIntroOverlay(100, 255, 50);
  DrawPlaceLadder();
  DrawPictureInfo();
  if (OverStart() && MouseState.Button) LoadLevelPictures();
}

void InGameScreen() {
  SideMenuVisible = false;
  DrawGameScreen();
  DrawPlaceLadder();
  DrawPictureInfo();
  AdvanceTimer();
  DrawTimeBar();
  if (LevelFade < 100) LevelFade += 1;
  if (LevelRunning) {
    if (LevelFade == 100.0f)
      HoverPictures();
    else
      DrawIntroOverlay(Round(100.0 - LevelFade), Round(255.0 - 2.55 * LevelFade), Round(50.0 - LevelFade / 2.0));
  }
  if (LevelCompleteShown) DrawLevelComplete();
}

}  // namespace pikora
