#include "game/Joker.h"

namespace pikora {

void UseJoker() {}

void DrawJokerButton() {}

}  // namespace pikora
