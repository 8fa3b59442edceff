#include "app/Input.h"

namespace pikora {

void PollKeyboard() {}

void PollMouse() {}

bool IsMouseIn(float X, float Y, float Width, float Height) { return false; }

void DrawCursor() {}

}  // namespace pikora
