#pragma once
// The pre-level (9) and in-game (10) screens.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void PreLevelScreen();
void InGameScreen();

}  // namespace pikora
