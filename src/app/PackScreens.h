#pragma once
// The pack-selection (1) and high-score (2) screens.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void NewGameScreen();
void HighScoreScreen();
void DrawPackInfo();

}  // namespace pikora
