#pragma once
// The run's one joker.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void UseJoker();
void DrawJokerButton();

}  // namespace pikora
