#include "scores/LevelComplete.h"

#include <cstdlib>

#include "app/Random.h"
#include "game/modGame.h"
#include "resources/LevelData.h"
#include "scores/HighScores.h"

namespace pikora {

namespace {

struct OverlayText {
  const char* Text;
  const char* Font;
  float YVertical, YHorizontal;
};

// "B R A V O" is drawn last although it stands highest.
constexpr OverlayText PackCompleteLines[] = {
    {"uspješno ste završili", "titlem", 200, 150},
    {"sve nivoe ovog paketa", "titlem", 225, 175},
    {"kliknite 'UNESI REZULTAT'", "titlem", 275, 250},
    {"B R A V O", "titlel", 160, 120},
};

std::string NextLevelText() {
  const double Next = std::strtod(LevelText.c_str(), nullptr) + 1.0;
  return ScoreText(static_cast<float>(Next));
}

void DrawNextLevelButton() {
  Gfx->SetTint(50, 200, 50);
  const float R1 = Rnd();
  const float R2 = Rnd();
  const float Y0 = Vertical ? 565.0f : 579.0f;
  Gfx->DrawSprite(TexButton, 553.0f + static_cast<float>(Int(4.0 * R1)), Y0 + static_cast<float>(Int(4.0 * R2)), 120,
                  25, 0, 70, 0, 0, 100, 18.75f, -1, -1);
  Gfx->DrawText("small", 560, Y0, 90, 18.75f, "SLJEDECI NIVO", ColourARGB(255, 230, 255, 255), 5);
  // The hot area is wider than the label; all its edges are outside.
  if (static_cast<double>(MouseState.Y) < static_cast<double>(Y0) + 18.75 && MouseState.X > 560 &&
      MouseState.X < 760 && MouseState.Y > Y0 && MouseState.Button)
    NextLevelClicked = true;
  Gfx->SetTint(255, 255, 255);
}

void DrawPackComplete() {
  if (EndSoundPending && GameOptions.Sound) {
    Gfx->PlaySound("packcompleted", 0, 90, 0, 40);
    EndSoundPending = false;
  }
  DrawResultPanel(50, 200, 50, 50);

  const float X0 = Vertical ? 161.0f : 336.0f;
  const float W = Vertical ? 590.0f : 410.0f;
  const uint32_t Shadow = ColourARGB(255, 0, 0, 0);
  for (const auto& Line : PackCompleteLines) {
    const float Y0 = Vertical ? Line.YVertical : Line.YHorizontal;
    Gfx->DrawText(Line.Font, X0, Y0, W, 50, Line.Text, Shadow, 5);
    Gfx->DrawText(Line.Font, X0, Y0 + 2, W, 50, Line.Text, Shadow, 5);
    Gfx->DrawText(Line.Font, X0 + 2, Y0, W, 50, Line.Text, Shadow, 5);
    Gfx->DrawText(Line.Font, X0 + 2, Y0 + 2, W, 50, Line.Text, Shadow, 5);
    Gfx->DrawText(Line.Font, X0 + 1, Y0 + 1, W, 50, Line.Text, ColourARGB(255, 50, 200, 50), 5);
  }

  HandleResultButton();
}

}  // namespace

void DrawLevelComplete() {
  // After the last level Level is NumOfLevels + 1.
  if (static_cast<double>(Level) > static_cast<double>(NumOfLevels)) PackCompleted = true;

  if (!PackCompleted) {
    DrawNextLevelButton();
    if (NextLevelClicked) {
      ClearFound();
      ChooseLevel();
      LevelFade = 0;
      GameScreen = 9;
      LevelText = NextLevelText();
      LevelCompleteShown = false;
      NextLevelClicked = false;
      return;
    }
  }

  if (PackCompleted) DrawPackComplete();
}

}  // namespace pikora
