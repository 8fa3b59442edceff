#pragma once
// The game-over overlay.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void DrawGameOver();

}  // namespace pikora
