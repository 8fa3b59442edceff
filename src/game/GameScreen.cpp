#include "game/GameScreen.h"

namespace pikora {

void DrawGameScreen() {}

void DrawClueMarkers() {}

}  // namespace pikora
