#include "scores/HighScores.h"

#include <cmath>
#include <cstdio>

#include "game/GameScreen.h"
#include "game/modGame.h"

namespace pikora {

namespace {

constexpr int32_t Places = 10;

void DrawLadderRow(float Y, float PlaceX, float NameX, float ScoreX, int32_t Place, const std::string& Name,
                   float Value, uint32_t Colour) {
  Gfx->DrawText("titleS", PlaceX, Y, 150, 25, std::to_string(Place) + ".", Colour, 0);
  Gfx->DrawText("titleS", NameX, Y, 150, 25, Name, Colour, 0);
  Gfx->DrawText("titleS", ScoreX, Y, 150, 25, ScoreText(Value), Colour, 0);
}

// Until shutdown the table would live only in the working file, which the next start
// overwrites from the archive: store it in the archive right away.
void StoreTableInArchive() {
  if (SelectedPack < 0 || static_cast<size_t>(SelectedPack) >= PackList.size()) return;
  Files->OpenArchive("\\packs\\" + PackList[static_cast<size_t>(SelectedPack)], 0, ArchivePassword, 0);
  Files->RemoveFromArchive("hscore.ini", 0);
  Files->AddFileToArchive(HighScoreFile(), "hscore.ini", 0);
  Files->FlushArchive();
}

}  // namespace

std::string HighScoreFile() { return std::to_string(SelectedPack) + "hscore.ini"; }

std::string ScoreText(float Value) {
  if (Value == 0.0f) return "0";
  if (std::fabs(Value) < 1e7f && Value == std::trunc(Value))
    return std::to_string(static_cast<int64_t>(Value));
  char Buffer[32];
  std::snprintf(Buffer, sizeof Buffer, "%.7G", static_cast<double>(Value));
  return Buffer;
}

void DrawPackHighScores() {
  Files->LoadHighScores(HighScoreFile(), Places, 0, 0);
  const uint32_t Colour = ColourARGB(255, 230, 255, 255);
  for (int16_t I = 1; I <= Places; ++I) {
    const float Y = 320.0f + 20.0f * I;
    const float Value = Files->GetHighScore(I);
    Gfx->DrawText("HighScores", 40, Y, 150, 35, ScoreText(Value), Colour, 0);
    const std::string Name = Files->GetHighScoreName(I);
    Gfx->DrawText("HighScores", 80, Y, 150, 35, Name, Colour, 0);
  }
}

void DrawPlaceLadder() {
  Files->LoadHighScores(HighScoreFile(), Places, 0, 0);
  const int16_t P = Files->GetHighScorePlace(Score);
  const float Top = Vertical ? 500.0f : 450.0f;
  const float PlaceX = Vertical ? 5.0f : 30.0f;
  const float NameX = Vertical ? 35.0f : 60.0f;
  const float ScoreX = Vertical ? 110.0f : 160.0f;
  auto Row = [&](int N, int32_t Place, int16_t Stored, uint32_t Colour) {
    const std::string Name = Files->GetHighScoreName(Stored);
    const float Value = Files->GetHighScore(Stored);
    DrawLadderRow(Top + 15.0f * (N - 1), PlaceX, NameX, ScoreX, Place, Name, Value, Colour);
  };
  if (P > 2) Row(1, P - 2, static_cast<int16_t>(P - 2), ColourARGB(150, 100, 255, 100));
  if (P > 1) Row(2, P - 1, static_cast<int16_t>(P - 1), ColourARGB(200, 150, 255, 150));
  DrawLadderRow(Top + 30.0f, PlaceX, NameX, ScoreX, P, Vertical ? "YOU" : "VI", Score,
                ColourARGB(200, 255, 255, 255));
  // The score would push the entries from its place down by one.
  if (P < 10) Row(4, P + 1, P, ColourARGB(200, 255, 150, 150));
  if (P < 9) Row(5, P + 2, static_cast<int16_t>(P + 1), ColourARGB(175, 255, 100, 100));
}

void CheckHighScore() {
  // The table is the one the ladder loaded earlier in this frame.
  const int16_t P = Files->GetHighScorePlace(Score);
  if (P > Places) {
    EndGame();
  } else {
    GameScreen = 55;
  }
}

void DrawResultPanel(int32_t R, int32_t G, int32_t B, int32_t ButtonOpacity) {
  const float ButtonX = Vertical ? 340.0f : 410.0f;
  Gfx->SetTint(R, G, B);
  DrawGameMask(100);
  Gfx->DrawText("titleM", ButtonX, 420, 240, 50, "UNESI REZULTAT", ColourARGB(255, 255, 255, 255), 5);
  Gfx->DrawSprite(TexButton, ButtonX, 420, 120, 25, 0, ButtonOpacity, 0, 0, 240, 50, -1, -1);
  Gfx->SetTint(255, 255, 255);
}

void HandleResultButton() {
  const int32_t ButtonX = Vertical ? 340 : 410;
  if (MouseState.X > ButtonX && MouseState.X < ButtonX + 240 && MouseState.Y > 420 && MouseState.Y < 470 &&
      MouseState.Button)
    CheckHighScore();
}

void SaveResult() {
  // The table trims its names: one of spaces alone would be stored empty.
  if (PlayerName.find_first_not_of(' ') == std::string::npos) PlayerName = "Igrac X";
  Files->LoadHighScores(HighScoreFile(), Places, 0, 0);
  const std::vector<std::string> Extra(1);
  Files->AddHighScore(Score, PlayerName, Extra, Places);
  StoreTableInArchive();
  EndGame();
}

}  // namespace pikora
