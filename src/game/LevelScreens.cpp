#include "game/LevelScreens.h"

namespace pikora {

void PreLevelScreen() {}

void InGameScreen() {}

}  // namespace pikora
