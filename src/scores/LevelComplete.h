#pragma once
// The level-complete and pack-complete overlays.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void DrawLevelComplete();

}  // namespace pikora
