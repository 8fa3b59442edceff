#include "resources/Packs.h"

namespace pikora {

void FindPacks() {}

void LoadLevelPictures() {}

void ReleaseLevelPictures() {}

void StorePackScores() {}

}  // namespace pikora
