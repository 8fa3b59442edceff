#include "app/PackScreens.h"

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

float RowTop(int Index) { return 175.0f + 20.0f * static_cast<float>(Index); }

int LastPackIndex() { return static_cast<int>(PackList.size()) - 1; }

}  // namespace

void NewGameScreen() {
  DrawMenuBackground();
  DrawTitleBanner(TexMenuNewGame);
  Gfx->DrawSprite(TexNewGameSelection, 275, 90, 460, 390, 0, 70, 0, 0, 0, 0, -1, -1);
  Gfx->DrawSprite(TexPackInfo, -30, 263, 256, 256, 0, 100, 0, 0, 0, 0, -1, -1);

  for (PackIndex = 0; PackIndex <= LastPackIndex(); ++PackIndex) {
    const float Y = RowTop(PackIndex);
    if (Files->IsMouseOver(360, Y, 305, 18)) {
      PackRowColour = ColourARGB(255, 100, 255, 100);
      SelectedPack = PackIndex;
      DrawPackInfo();
      CursorOverButton = true;
      if (MouseState.Button) StartPack();
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

  for (PackIndex = 0; PackIndex <= LastPackIndex(); ++PackIndex) {
    const float Y = RowTop(PackIndex);
    if (Files->IsMouseOver(405, Y, 190, 18)) {
      PackRowColour = ColourARGB(255, 255, 255, 0);
      SelectedPack = PackIndex;
      DrawPackHighScores();
      CursorOverButton = true;
      if (MouseState.Button) {
        StartPack();
        NumOfLevelsText = Files->ReadINI("General", "NumOfLevels", PackInfoFile(SelectedPack), 0);
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
