#pragma once
// Keyboard and mouse polls, the rectangle test and the cursor.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void PollKeyboard();
void PollMouse();
bool IsMouseIn(float X, float Y, float Width, float Height);
void DrawCursor();

}  // namespace pikora
