#include "app/CreditsHelp.h"

#include <cmath>

#include "app/SideMenu.h"

namespace pikora {

namespace {

struct CreditLine {
  const char* Text;
  const char* Font;
  float Top;
  bool Heading;
};

// Line 2, the studio's name, trembles and is drawn on its own.
constexpr CreditLine CreditLines[] = {
    {"P R O I Z V E O", "titlem", 5, true},
    {"", "titleS", 50, false},
    {"VODITELJ PROJEKTA", "titlem", 95, true},
    {"Pikora contributors", "titlel", 125, false},
    {"", "titleS", 150, false},
    {"", "titleS", 165, false},
    {"DEVELOPMENT TEAM", "titlem", 205, true},
    // The free libraries the game is built on, in alphabetical order.
    {"FFmpeg", "titleM", 230, false},
    {"libsquish", "titleM", 255, false},
    {"libzip", "titleM", 280, false},
    {"SDL2", "titleM", 305, false},
    {"SDL2_image", "titleM", 330, false},
    {"SDL2_mixer", "titleM", 355, false},
    {"SDL2_ttf", "titleM", 380, false},
    {"SimpleIni", "titleM", 405, false},
    {"POSEBNE ZAHVALE", "titlem", 450, true},
    {"svim igracima", "titleM", 475, false},
    {"", "titleS", 495, false},
    {"", "titleS", 510, false},
};

constexpr uint32_t HeadingColour = ColourARGB(175, 150, 150, 255);
constexpr uint32_t LineColour = ColourARGB(175, 200, 200, 255);

}  // namespace

void HelpScreen() {
  DrawMenuBackground();
  DrawTitleBanner(TexMenuHelp);
  Gfx->DrawSprite(TexHelp, 270, 120, 512, 512, float(std::sin(FrameCounter / 200.0)), 100, 0, 0, 0, 0, -1, -1);
}

void CreditsScreen() {
  DrawMenuBackground();
  for (size_t I = 0; I < std::size(CreditLines); ++I) {
    if (I == 1) {
      Gfx->DrawText("titlel", float(180 + std::cos(FrameCounter / 3.0)), float(30 + std::cos(FrameCounter / 2.0)), 620,
                    50, "Pikora", LineColour, 5);
    }
    const CreditLine& Line = CreditLines[I];
    Gfx->DrawText(Line.Font, 180, Line.Top, 620, 50, Line.Text, Line.Heading ? HeadingColour : LineColour, 5);
  }
}

}  // namespace pikora
