#pragma once
// The options screen (3).
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void DrawOptionsScreen();

}  // namespace pikora
