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

  DrawResultPanel(200, 50, 50, 65);

  if (Vertical) {
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 271, 201, 2.0f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 269, 199, 2.0f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 270, 200, 2.0f, 0, 100, 200, 50, 50);
  } else {
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 359, 199, 1.75f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 361, 201, 1.75f, 0, 100, 0, 0, 0);
    Gfx->DrawBitmapText(TexFontDefault, "GAME OVER", 360, 200, 1.75f, 0, 100, 200, 50, 50);
  }

  HandleResultButton();
}

}  // namespace pikora
