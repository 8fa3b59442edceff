#include "scores/GameOver.h"

#include "scores/HighScores.h"

namespace pikora {

void DrawGameOver() {
  LevelRunning = false;
  // Shared with the pack-complete overlay: one end sound per run.
  if (EndSoundPending && GameOptions.Sound) {
    Gfx->PlaySound("gameover", 0, 85, 0, 0);
    EndSoundPending = false;
  }

  const float ButtonX = Vertical ? 340.0f : 410.0f;
  Gfx->SetTint(200, 50, 50);
  if (Vertical)
    Gfx->DrawSprite(TexGameMask, 68, 162, 800, 600, 90, 100, 0, 0, 0, 0, -1, -1);
  else
    Gfx->DrawSprite(TexGameMask, 310, -13, 600, 800, 0, 100, 0, 0, 0, 0, -1, -1);
  Gfx->DrawText("titleM", ButtonX, 420, 240, 50, "UNESI REZULTAT", ColourARGB(255, 255, 255, 255), 5);
  Gfx->DrawSprite(TexButton, ButtonX, 420, 120, 25, 0, 65, 0, 0, 240, 50, -1, -1);
  Gfx->SetTint(255, 255, 255);

  if (Vertical) {
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 271, 201, 2.0f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 269, 199, 2.0f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 270, 200, 2.0f, 0, 100, 200, 50, 50);
  } else {
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 359, 199, 1.75f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 361, 201, 1.75f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 360, 200, 1.75f, 0, 100, 200, 50, 50);
  }

  if (MouseState.X > ButtonX && MouseState.X < ButtonX + 240 && MouseState.Y > 420 && MouseState.Y < 470 &&
      MouseState.Button)
    CheckHighScore();
}

}  // namespace pikora
