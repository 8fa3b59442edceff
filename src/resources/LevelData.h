#pragma once
// Starting a pack run, choosing levels, the level's rectangles and picture text.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void StartPack();
void ChooseLevel();
void LoadPicInfo();
void DrawPictureInfo();

}  // namespace pikora
