#include "app/PackScreens.h"

namespace pikora {

void NewGameScreen() {}

void HighScoreScreen() {}

void DrawPackInfo() {}

}  // namespace pikora
