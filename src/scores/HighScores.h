#pragma once
// The pack's high-score table, the place ladder and storing a result.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void DrawPackHighScores();
void DrawPlaceLadder();
void CheckHighScore();
void SaveResult();
// The working high-score file of SelectedPack, e.g. 0hscore.ini.
std::string HighScoreFile();
// A score as drawn: at most seven significant digits.
std::string ScoreText(float Value);

}  // namespace pikora
