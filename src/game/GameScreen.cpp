#include "game/GameScreen.h"

#include "resources/Packs.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>

#include "game/Joker.h"
#include "game/modGame.h"

namespace pikora {

namespace {

// Seconds since local midnight, with the fraction.
double SecondsSinceMidnight() {
  const auto Now = std::chrono::system_clock::now();
  const std::time_t Whole = std::chrono::system_clock::to_time_t(Now);
  std::tm Local{};
  localtime_r(&Whole, &Local);
  const double Fraction =
      std::chrono::duration<double>(Now - std::chrono::system_clock::from_time_t(Whole)).count();
  return Local.tm_hour * 3600.0 + Local.tm_min * 60.0 + Local.tm_sec + Fraction;
}

float Wobble() { return float(std::cos(5.0 * ClockSeconds()) * 20.0); }

// The archive name without its extension, in capitals.
std::string UpperTitle(const std::string& FileName) {
  std::string Title = PackTitle(FileName);
  for (char& C : Title) C = char(std::toupper(static_cast<unsigned char>(C)));
  return Title;
}

std::string WholeNumber(float Value) { return std::to_string(static_cast<long long>(Value)); }

// A released picture is an empty reference: there is nothing to draw.
void DrawPicture(const Texture& Picture, float X, float Y, float TexWidth, float TexHeight, float Width,
                 float Height) {
  if (!Picture) return;
  Gfx->DrawSprite(Picture, X, Y, TexWidth, TexHeight, 0, Round(LevelFade), 0, 0, Width, Height, -1, -1);
}

struct MarkerPlace {
  float X, Y, DigitX, DigitY;
};
constexpr MarkerPlace HorizontalMarkers[6] = {
    {}, {242, 15, 264, 36}, {242, 137, 263, 158}, {242, 270, 262, 291}, {241, 403, 261, 424}, {241, 525, 263, 547}};
constexpr MarkerPlace VerticalMarkers[6] = {
    {}, {170, 491, 191, 512}, {292, 491, 313, 512}, {425, 491, 446, 512}, {558, 491, 578, 512}, {680, 491, 701, 512}};
constexpr int32_t MarkerSpin[6] = {0, 3, 4, 5, 4, 3};

}  // namespace

double (*ClockSeconds)() = SecondsSinceMidnight;

void DrawGameScreen() {
  const uint32_t Pale = ColourARGB(255, 230, 255, 255);
  const std::string Title = UpperTitle(CurrentPackFile);

  Gfx->DrawSprite(Vertical ? TexBackGameV : TexBackGameH, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  Gfx->DrawSprite(TexSky, -100, -225, 512, 512, float(FrameCounter / 4.0), 30, 0, 0, 1024, 1024, -1, -1);

  if (Vertical) {
    Gfx->DrawText("titleL", 300, 0, 370, 55, Title, Pale, 5);
    Gfx->DrawBitmapText(TexFontDefault, WholeNumber(Score), 265, 569, 1, Wobble(), 100, 0, 10, 200);
    Gfx->DrawBitmapText(TexFontDefault, LevelText, 18, 420, 1, Wobble(), 100, 220, 220, 255);
    Gfx->DrawBitmapText(TexFontDefault, "/", 66, 420, 1, Wobble(), 100, 220, 220, 255);
    Gfx->DrawBitmapText(TexFontDefault, NumOfLevelsText, 105, 420, 1, Wobble(), 100, 220, 220, 255);

    Gfx->SetTint(200, 50, 50);
    Gfx->DrawSprite(TexButton, 670, 565, 120, 25, 0, 70, 0, 0, 90, 18.75f, -1, -1);
    Gfx->DrawText("small", 670, 565, 90, 18.75f, "I Z L A Z", Pale, 5);
    if (MouseState.Y < 583.75 && MouseState.X > 670 && MouseState.X < 760 && MouseState.Y > 565 && MouseState.Button)
      EndGame();
    Gfx->SetTint(255, 255, 255);

    if (JokerFade >= 15) DrawJokerButton();

    if (LevelFade != 0) {
      DrawPicture(OriginalPicture, 185, 100, 256, 512, 256, 380);
      DrawPicture(ModifiedPicture, 471, 100, 256, 512, 256, 380);
    }
  } else {
    Gfx->DrawText("titleS", 20, 60, 195, 30, Title, Pale, 5);
    Gfx->DrawBitmapText(TexFontDefault, WholeNumber(Score), 85, 569, 1, Wobble(), 100, 220, 220, 255);
    Gfx->DrawBitmapText(TexFontDefault, LevelText, 95, 535, 1, Wobble(), 100, 220, 220, 255);
    Gfx->DrawBitmapText(TexFontDefault, "/", 145, 535, 1, Wobble(), 100, 220, 220, 255);
    Gfx->DrawBitmapText(TexFontDefault, NumOfLevelsText, 185, 535, 1, Wobble(), 100, 220, 220, 255);

    Gfx->SetTint(200, 50, 50);
    Gfx->DrawSprite(TexButton, 708, 579, 120, 25, 0, 70, 0, 0, 90, 18.75f, -1, -1);
    Gfx->DrawText("small", 708, 579, 90, 18.75f, "I Z L A Z", Pale, 5);
    if (MouseState.Y < 597.75 && MouseState.X > 708 && MouseState.X < 798 && MouseState.Y > 579 && MouseState.Button)
      EndGame();
    Gfx->SetTint(255, 255, 255);

    if (JokerFade >= 15) DrawJokerButton();

    if (LevelFade != 0) {
      DrawPicture(OriginalPicture, 350, 29, 512, 256, 380, 256);
      DrawPicture(ModifiedPicture, 350, 315, 512, 256, 380, 256);
    }
  }

  if (JokerFade > 0 && JokerFade < 100) JokerFade -= 1;
  DrawClueMarkers();

  for (int I = 1; I <= 5; ++I) {
    const Difference& D = Differences[I];
    if (!D.Found) continue;
    const float Width = D.Right - D.Left, Height = D.Bottom - D.Top;
    if (Vertical) {
      Gfx->DrawSprite(TexClueSelection, D.Left + 471, D.Top + 100, 64, 64, 0, 70, 0, 0, Width, Height, -1, -1);
      Gfx->DrawSprite(TexClueSelection, D.Left + 185, D.Top + 100, 64, 64, 0, 70, 0, 0, Width, Height, -1, -1);
    } else {
      Gfx->DrawSprite(TexClueSelection, D.Left + 350, D.Top + 29, 64, 64, 0, 100, 0, 0, Width, Height, -1, -1);
      Gfx->DrawSprite(TexClueSelection, D.Left + 350, D.Top + 315, 64, 64, 0, 100, 0, 0, Width, Height, -1, -1);
    }
  }
}

void DrawClueMarkers() {
  if (LevelFade == 0) return;
  for (int K = 1; K <= 5; ++K) {
    if (Differences[K].Found)
      Gfx->SetTint(50, 255, 50);
    else if (Vertical)
      Gfx->SetTint(255, 50, 50);
    else
      Gfx->SetTint(255, 10, 0);
    const MarkerPlace& P = Vertical ? VerticalMarkers[K] : HorizontalMarkers[K];
    Gfx->DrawSprite(TexClue, P.X, P.Y, 64, 64, float(double(FrameCounter) * MarkerSpin[K]), Round(LevelFade), 0, 0, 0,
                    0, 31.5f, 31.5f);
    Gfx->DrawBitmapText(TexFontDefault, std::to_string(K), P.DigitX, P.DigitY, 1, 0, 100, 255, 255, 255);
  }
  Gfx->SetTint(255, 255, 255);
}

void DrawGameMask(int32_t Opacity) {
  if (Vertical)
    Gfx->DrawSprite(TexGameMask, 68, 162, 800, 600, 90, Opacity, 0, 0, 0, 0, -1, -1);
  else
    Gfx->DrawSprite(TexGameMask, 310, -13, 600, 800, 0, Opacity, 0, 0, 0, 0, -1, -1);
}

}  // namespace pikora
