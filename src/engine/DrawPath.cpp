#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/Canvas.h"

namespace pikora {
namespace {

constexpr unsigned GlRenderer = 0x1F01;

// What OpenGL names its renderer on this display; empty when there is no OpenGL.
std::string GlRendererName() {
  SDL_Window* Probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!Probe) return {};
  std::string Name;
  if (SDL_GLContext Context = SDL_GL_CreateContext(Probe)) {
    using GetString = const unsigned char* (*)(unsigned);
    if (auto Get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString")))
      if (const unsigned char* Text = Get(GlRenderer)) Name = reinterpret_cast<const char*>(Text);
    SDL_GL_DeleteContext(Context);
  }
  SDL_DestroyWindow(Probe);
  return Name;
}

// A GPU driver shows itself as a device node; without one, OpenGL can only be a software
// rasteriser, and asking it would cost the start-up a GL context.
bool HasGpuDevice() {
  std::error_code Error;
  if (std::filesystem::exists("/dev/nvidiactl", Error)) return true;
  for (const auto& Entry : std::filesystem::directory_iterator("/dev/dri", Error)) {
    const std::string Name = Entry.path().filename().string();
    if (Name.rfind("card", 0) == 0 || Name.rfind("renderD", 0) == 0) return true;
  }
  return false;
}

}  // namespace

DrawPath ChooseDrawPath(std::string& Why) {
  if (const char* Forced = std::getenv("PIKORA_DRAW"); Forced && *Forced) {
    if (std::strcmp(Forced, "gl") == 0 || std::strcmp(Forced, "pixman") == 0) {
      Why = std::string("PIKORA_DRAW=") + Forced;
      return Forced[0] == 'g' ? DrawPath::Gl : DrawPath::Pixman;
    }
    Why = std::string("PIKORA_DRAW=") + Forced + " is neither gl nor pixman; ";
  }
  const char* Driver = SDL_GetCurrentVideoDriver();
  if (Driver && (std::strcmp(Driver, "offscreen") == 0 || std::strcmp(Driver, "dummy") == 0)) {
    Why += std::string("no display (") + Driver + ")";
    return DrawPath::Pixman;
  }
  if (!HasGpuDevice()) {
    Why += "no GPU device in /dev/dri";
    return DrawPath::Pixman;
  }
  const std::string Renderer = GlRendererName();
  if (Renderer.empty()) {
    Why += "no OpenGL";
    return DrawPath::Pixman;
  }
  for (const char* Software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (Renderer.find(Software) != std::string::npos) {
      Why += "OpenGL is the software rasteriser " + Renderer;
      return DrawPath::Pixman;
    }
  Why += "OpenGL renderer " + Renderer;
  return DrawPath::Gl;
}

}  // namespace pikora
