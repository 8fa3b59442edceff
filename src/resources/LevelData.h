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

// The most levels a pack may have (LevelPlayed has room for no more).
constexpr int32_t MaxLevels = 50;
// NumOfLevels as a level count: a whole number from 1 to MaxLevels; false otherwise.
bool ParseLevelCount(const std::string& Text, int32_t& Count);
// A rectangle edge: a finite number, "." or "," as the decimal separator; false otherwise.
bool ParseEdge(const std::string& Text, float& Value);
// The key of one edge of difference K: 3Left is the left edge of difference 3.
std::string EdgeKey(int K, const char* Edge);
// Every "[e]" of a pack or picture text becomes a line break.
std::string ExpandLineBreaks(const std::string& Text);

}  // namespace pikora
