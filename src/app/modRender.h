#pragma once
// The per-frame dispatcher of the whole interface.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void RenderFrame();

}  // namespace pikora
