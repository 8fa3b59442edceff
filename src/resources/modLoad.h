#pragma once
// Interface textures and fonts, sound effects and music.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void LoadTextures();
void LoadFonts();
void ReleaseTextures();
void DeleteExtractedTextures();
void LoadSounds();
void ApplyMusicOption();
void MusicUpkeep();

}  // namespace pikora
