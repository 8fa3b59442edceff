#include "game/modGame.h"

namespace pikora {

void HoverPictures() {}

void CheckClick() {}

void CheckLevelComplete() {}

void ClearFound() {}

void ClearLevelsPlayed() {}

void EndGame() {}

void AdvanceTimer() {}

}  // namespace pikora
