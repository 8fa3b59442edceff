#pragma once
// The game's one window: its handle, caption, load event and close request.
#include <cstdint>
#include <string>

#include "engine/Window.h"

namespace pikora::frmMain {

// The window handle; its first use loads the form (Form_Load).
WindowHandle* hWnd();
void SetCaption(const std::string& Caption);
const std::string& Caption();

void Form_Load();
void Form_Unload(int16_t& Cancel);

// Unloads the form at shutdown: it closes when Form_Unload does not cancel.
void Unload();
bool Loaded();
// How many times the window has closed (tests check it closes once).
int32_t ClosedCount();

// Back to the state at program load.
void Reset();

}  // namespace pikora::frmMain
