#pragma once
// The rules of a level.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void HoverPictures();
void CheckClick();
void CheckLevelComplete();
void ClearFound();
void ClearLevelsPlayed();
void EndGame();
void AdvanceTimer();

}  // namespace pikora
