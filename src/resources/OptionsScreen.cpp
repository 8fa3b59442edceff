#include "resources/OptionsScreen.h"

#include <cmath>

#include "app/Random.h"
#include "resources/Options.h"
#include "resources/modLoad.h"

namespace pikora {

namespace {

struct OptionRow {
  const char* Label;
  const char* Left;
  const char* Right;
  bool Options::*Field;
};

constexpr OptionRow OptionRows[] = {
    {"PRIKAZ NA EKRANU", "u prozoru", "puni ekran", &Options::Screen},
    {"GLAZBA", "DA", "NE", &Options::Music},
    {"ZVUCNI EFEKTI", "DA", "NE", &Options::Sound},
    {"PARTICLE EFEKTI", "DA", "NE", &Options::Particle},
};

constexpr float LeftX = 320, RightX = 600, ChoiceWidth = 100, ChoiceHeight = 20;

bool PointerIn(float X, float Y) {
  return MouseState.X >= X && MouseState.X <= X + ChoiceWidth && MouseState.Y >= Y &&
         MouseState.Y <= Y + ChoiceHeight;
}

void DrawPlates(bool LeftChosen, float Y) {
  // The chosen plate trembles; two fresh random numbers per row.
  const float Jitter = static_cast<float>(std::cos(4.0 * Rnd()));
  const float Angle = static_cast<float>(std::cos(10.0 * Rnd()));
  Gfx->SetTint(50, 200, 50);
  Gfx->DrawSprite(TexButton, (LeftChosen ? LeftX - 2 : RightX - 2) + Jitter, Y, 120, 25, Angle, 50, 0, 0, ChoiceWidth,
                  ChoiceHeight, -1, -1);
  Gfx->SetTint(200, 50, 50);
  Gfx->DrawSprite(TexButton, LeftChosen ? RightX : LeftX, Y, 120, 25, 0, 50, 0, 0, ChoiceWidth, ChoiceHeight, -1, -1);
  Gfx->SetTint(255, 255, 255);
}

}  // namespace

void DrawOptionsScreen() {
  const uint32_t White = ColourARGB(255, 255, 255, 255);
  for (int R = 0; R < 4; ++R) {
    const OptionRow& Row = OptionRows[R];
    bool& Field = GameOptions.*Row.Field;
    const float LabelY = 150.0f + 50.0f * R;
    const float ChoiceY = 157.0f + 50.0f * R;

    Gfx->DrawText("titleS", 320, LabelY, 380, 35, Row.Label, White, 5);
    Gfx->DrawText("titleS", LeftX, ChoiceY, ChoiceWidth, ChoiceHeight, Row.Left, White, 5);
    Gfx->DrawText("titleS", RightX, ChoiceY, ChoiceWidth, ChoiceHeight, Row.Right, White, 5);

    DrawPlates(Field, ChoiceY);

    for (const bool Left : {true, false}) {
      if (!PointerIn(Left ? LeftX : RightX, ChoiceY)) continue;
      CursorOverButton = true;
      if (!MouseState.Button) continue;
      Field = Left;
      if (R == 0) GameOptions.ScreenChanged = true;
      SaveOptions();
      if (R == 1) ApplyMusicOption();
    }

    if (R == 0) {
      if (!GameOptions.ScreenChanged) {
        GameOptions.ScreenAtStart = GameOptions.Screen;
      } else if (GameOptions.Screen != GameOptions.ScreenAtStart) {
        Gfx->DrawText("titleS", 300, 170, 420, 35, "the changes will take effect next time you run the game",
                      ColourARGB(255, 100, 200, 100), 5);
      }
    }
  }
}

}  // namespace pikora
