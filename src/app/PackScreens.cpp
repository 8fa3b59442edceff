#include "app/PackScreens.h"

#include <algorithm>
#include <cmath>

#include "app/SideMenu.h"
#include "engine/HighScoreTable.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "resources/Packs.h"
#include "scores/HighScores.h"

namespace pikora {

namespace {

const uint32_t White = ColourARGB(255, 255, 255, 255);
const uint32_t LabelColour = ColourARGB(255, 50, 250, 50);
const uint32_t ValueColour = ColourARGB(255, 230, 255, 255);

// Fifteen rows fill the list panels; a longer list scrolls under them.
constexpr int ShownRows = 15;

float RowTop(int Slot) { return 175.0f + 20.0f * static_cast<float>(Slot); }

int LastShownPack() {
  return std::min(static_cast<int>(PackList.size()), PackScroll + ShownRows) - 1;
}

// A scroll mark centred on X: a sun-yellow arrow on a deep-blue plate, nudging towards
// where the list goes. True when clicked.
bool ScrollMark(float X, float Top, const char* Glyph, float Towards) {
  const bool Over = MouseState.X > X - 24 && MouseState.X < X + 24 && MouseState.Y > Top && MouseState.Y < Top + 24;
  if (Over) CursorOverButton = true;
  Gfx->SetTint(191, 225, 255);  // the panels' light rim
  Gfx->DrawSprite(TexButton, X - 25, Top + 1, 120, 25, 0, 60, 0, 0, 50, 22, -1, -1);
  Gfx->SetTint(43, 76, 126);
  Gfx->DrawSprite(TexButton, X - 24, Top + 2, 120, 25, 0, Over ? 100 : 90, 0, 0, 48, 20, -1, -1);
  Gfx->SetTint(255, 255, 255);
  // The glyph sits low in its line: lifted to the plate's middle.
  const float Y = Top - 3 + Towards * static_cast<float>(0.75 + 0.75 * std::sin(FrameCounter / 8.0));
  Gfx->DrawText("titleM", X - 19, Y + 1, 40, 24, Glyph, ColourARGB(255, 20, 36, 60), 5);
  const uint32_t Colour = Over ? ColourARGB(255, 255, 240, 190) : ColourARGB(255, 255, 217, 102);
  Gfx->DrawText("titleM", X - 20, Y, 40, 24, Glyph, Colour, 5);
  return Over && MouseState.Button;
}

// The wheel moves the list a row per notch, and so does a click on a mark; the marks show
// only while there are rows beyond that end.
void ScrollPackList(float CentreX) {
  const int Hidden = std::max(0, static_cast<int>(PackList.size()) - ShownRows);
  PackScroll = static_cast<int16_t>(std::clamp(PackScroll - MouseState.Wheel, 0, Hidden));
  if (PackScroll > 0 && ScrollMark(CentreX, 148, "\u25B2", -1)) --PackScroll;
  if (PackScroll < Hidden && ScrollMark(CentreX, 474, "\u25BC", 1)) ++PackScroll;
}

}  // namespace

void NewGameScreen() {
  DrawMenuBackground();
  DrawTitleBanner(TexMenuNewGame);
  Gfx->DrawSprite(TexNewGameSelection, 275, 90, 460, 390, 0, 70, 0, 0, 0, 0, -1, -1);
  Gfx->DrawSprite(TexPackInfo, -30, 263, 256, 256, 0, 100, 0, 0, 0, 0, -1, -1);

  ScrollPackList(512);
  for (PackIndex = PackScroll; PackIndex <= LastShownPack(); ++PackIndex) {
    const float Y = RowTop(PackIndex - PackScroll);
    if (Files->IsMouseOver(360, Y, 305, 18)) {
      PackRowColour = ColourARGB(255, 100, 255, 100);
      SelectedPack = PackIndex;
      DrawPackInfo();
      CursorOverButton = true;
      if (MouseState.Button) {
        StartPack();
        // Used up: the pre-level screen runs in this frame and its START may lie under the row.
        MouseState.Button = false;
      }
    } else {
      PackRowColour = White;
    }
    Gfx->DrawText("titleS", 360, Y, 305, 18, PackTitle(PackList[static_cast<size_t>(PackIndex)]), PackRowColour, 5);
  }
  if (!PackMessage.empty())
    Gfx->DrawText("titleS", 290, 120, 430, 40, PackMessage, ColourARGB(255, 210, 30, 30),
                  TextFormat::CentreH | TextFormat::CentreV | TextFormat::WordWrap);
}

void HighScoreScreen() {
  DrawMenuBackground();
  DrawTitleBanner(TexMenuHighScores);
  Gfx->DrawSprite(TexHighScorePacks, 370, 90, 256, 390, 0, 90, 0, 0, 0, 0, -1, -1);
  Gfx->DrawSprite(TexHighScores, -30, 200, 256, 512, 0, 100, 0, 0, 0, 0, -1, -1);

  ScrollPackList(500);
  for (PackIndex = PackScroll; PackIndex <= LastShownPack(); ++PackIndex) {
    const float Y = RowTop(PackIndex - PackScroll);
    if (Files->IsMouseOver(405, Y, 190, 18)) {
      PackRowColour = ColourARGB(255, 255, 255, 0);
      SelectedPack = PackIndex;
      DrawPackHighScores();
      CursorOverButton = true;
      if (MouseState.Button) {
        StartPack();
        NumOfLevelsText = Files->ReadINI("General", "NumOfLevels", PackInfoFile(SelectedPack), 0);
        MouseState.Button = false;  // used up, as on the new-game screen
      }
    } else {
      PackRowColour = White;
    }
    Gfx->DrawText("titleS", 405, Y, 190, 18, PackTitle(PackList[static_cast<size_t>(PackIndex)]), PackRowColour, 5);
  }
}

void DrawPackInfo() {
  const std::string Info = PackInfoFile(SelectedPack);
  const std::string Scores = PackScoreFile(SelectedPack);

  bool IsVertical = false;
  ConvertBoolean(Files->ReadINI("General", "Vertical", Info, 0), IsVertical);
  Gfx->DrawText("highscores", 35, 315, 115, 20, "Polozaj slika", LabelColour, 5);
  Gfx->DrawText("HighScores", 35, 335, 115, 20, IsVertical ? "Vertikalan" : "Horizontalan", ValueColour, 5);

  Gfx->DrawText("highscores", 35, 358, 115, 20, "# nivoa", LabelColour, 5);
  Gfx->DrawText("HighScores", 35, 375, 115, 20, Files->ReadINI("General", "NumOfLevels", Info, 0), ValueColour, 5);
  NumOfLevelsText = Files->ReadINI("General", "NumOfLevels", Info, 0);

  Gfx->DrawText("highscores", 35, 400, 115, 20, "Najbolji rezultat", LabelColour, 5);
  // Shown as the table would show them: the file is the pack maker's.
  Gfx->DrawText("HighScores", 40, 420, 150, 35, hs::CleanScoreText(Files->ReadINI("scores", "1_score", Scores, 0)),
                ValueColour, 0);
  Gfx->DrawText("HighScores", 80, 420, 150, 35, hs::SanitiseName(Files->ReadINI("scores", "1_name", Scores, 0)),
                ValueColour, 0);

  PackInfoText = ExpandLineBreaks(Files->ReadINI("General", "PackInfo", Info, 0));
  Gfx->DrawText("HighScores", 314, 475, 375, 120, PackInfoText, ValueColour, 5);
}

}  // namespace pikora
