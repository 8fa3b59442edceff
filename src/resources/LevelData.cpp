#include "resources/LevelData.h"

namespace pikora {

void StartPack() {}

void ChooseLevel() {}

void LoadPicInfo() {}

void DrawPictureInfo() {}

}  // namespace pikora
