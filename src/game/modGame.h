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

// The points of one new find, by click or by the joker, added to Score.
void ScoreFind();

}  // namespace pikora
