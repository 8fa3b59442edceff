#include "scores/HighScores.h"

namespace pikora {

void DrawPackHighScores() {}

void DrawPlaceLadder() {}

void CheckHighScore() {}

void SaveResult() {}

std::string HighScoreFile() { return {}; }

std::string ScoreText(float Value) { return {}; }

}  // namespace pikora
