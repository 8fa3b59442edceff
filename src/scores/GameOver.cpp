#include "scores/GameOver.h"

namespace pikora {

void DrawGameOver() {}

}  // namespace pikora
