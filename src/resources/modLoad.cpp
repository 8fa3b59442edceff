#include "resources/modLoad.h"

namespace pikora {

void LoadTextures() {}

void LoadFonts() {}

void ReleaseTextures() {}

void DeleteExtractedTextures() {}

void LoadSounds() {}

void ApplyMusicOption() {}

void MusicUpkeep() {}

}  // namespace pikora
