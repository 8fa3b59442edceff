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

// A pack's row text and title: its file name without the extension's four characters.
// A name shorter than four characters is shown whole.
std::string PackTitle(const std::string& FileName);

// The working files of the pack with index Index in PackList: 0packinfo.ini, 0hscore.ini...
std::string PackInfoFile(int Index);
std::string PackScoreFile(int Index);

}  // namespace pikora
