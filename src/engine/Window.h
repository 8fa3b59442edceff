#pragma once
#include <functional>
#include <string>

namespace pikora {

// What the window hands to the engine: its caption and its close request.
// The engine owns the real window and shows it; it follows Caption every frame
// and calls CloseRequested when the user asks to close (returns true when it may close).
struct WindowHandle {
  std::string Caption;
  std::function<bool()> CloseRequested;
};

}  // namespace pikora
