#include "scores/LevelComplete.h"

namespace pikora {

void DrawLevelComplete() {}

}  // namespace pikora
