#pragma once
// Picture packs, level pictures, the loading screen and storing the high scores.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void FindPacks();
void LoadLevelPictures();
void ReleaseLevelPictures();
void StorePackScores();

}  // namespace pikora
