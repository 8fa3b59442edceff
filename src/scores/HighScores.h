#pragma once
// The pack's high-score table, the place ladder and storing a result.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void DrawPackHighScores();
void DrawPlaceLadder();
void CheckHighScore();
// The tinted veil and the "UNESI REZULTAT" button of the pack-complete and game-over overlays;
// a click on the button (all edges outside) hands over to CheckHighScore.
void DrawResultPanel(int32_t R, int32_t G, int32_t B, int32_t ButtonOpacity);
void HandleResultButton();
void SaveResult();
// The working high-score file of SelectedPack, e.g. 0hscore.ini.
std::string HighScoreFile();
// A score as drawn: at most seven significant digits.
std::string ScoreText(float Value);

}  // namespace pikora
