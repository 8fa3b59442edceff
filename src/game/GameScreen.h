#pragma once
// The game screen shared by the pre-level and in-game screens.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

// Seconds since local midnight: the score and level counter wobble by it. Tests fix it.
extern double (*ClockSeconds)();

void DrawGameScreen();
void DrawClueMarkers();
// The veil over the two pictures, upright or turned for the layout, under the tint set.
void DrawGameMask(int32_t Opacity);

}  // namespace pikora
