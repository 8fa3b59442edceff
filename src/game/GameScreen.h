#pragma once
// The game screen shared by the pre-level and in-game screens.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void DrawGameScreen();
void DrawClueMarkers();

}  // namespace pikora
