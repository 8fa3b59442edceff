#include "engine/ComponentError.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace pikora {

bool MessageBoxesEnabled = true;

namespace {
bool HaveDisplay() {
  const char* Driver = std::getenv("SDL_VIDEODRIVER");
  if (Driver && (std::strcmp(Driver, "offscreen") == 0 || std::strcmp(Driver, "dummy") == 0)) return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
}  // namespace

void ReportRunTimeError(const ComponentError& Error) {
  std::cerr << "Pikora: run-time error in " << Error.Operation << ": " << Error.Cause << std::endl;
  if (MessageBoxesEnabled && HaveDisplay()) {
    const std::string Text = "Run-time error in " + Error.Operation + ":\n" + Error.Cause;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Pikora", Text.c_str(), nullptr);
  }
}

}  // namespace pikora
