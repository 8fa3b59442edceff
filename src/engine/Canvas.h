#pragma once
// Where the SDL engine draws: SDL's renderer (OpenGL where a GPU is) or pixman in memory.
// Everything else of the engine (window, input, sound, pictures, fonts, screenshots) is
// shared by both.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pikora {

enum class DrawPath { Auto, Gl, Pixman };

// A picture uploaded to a canvas; dropping it must stay safe after the canvas is gone.
struct CanvasImage {
  virtual ~CanvasImage() = default;
};

// One corner of a textured quad: surface position and texture coordinates (0..1).
struct Vertex2 {
  float X, Y, U, V;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual const char* Name() const = 0;
  // Throws std::runtime_error with the cause.
  virtual void Open(SDL_Window* Window, int Width, int Height) = 0;
  virtual void Close() = 0;
  virtual void Clear(uint8_t R, uint8_t G, uint8_t B) = 0;
  virtual void Present() = 0;
  // Straight-alpha ARGB pixels, rows packed; the canvas may keep their storage.
  virtual std::unique_ptr<CanvasImage> MakeImage(std::vector<uint32_t>&& Argb, int Width, int Height) = 0;
  // The same for pictures only ever drawn by Ink: their colour is not kept.
  virtual std::unique_ptr<CanvasImage> MakeInk(const uint32_t* Argb, int Width, int Height) {
    return MakeImage(std::vector<uint32_t>(Argb, Argb + size_t(Width) * Height), Width, Height);
  }
  // Corners in order top-left, top-right, bottom-right, bottom-left of the source; the
  // texels are multiplied by Colour (alpha included).
  virtual void Quad(const CanvasImage& Image, const Vertex2 (&Corners)[4], SDL_Color Colour) = 0;
  // An image of white ink (alpha only) drawn in one colour at whole pixels, clipped to
  // its source rectangle (SrcX, SrcY, Width, Height).
  virtual void Ink(const CanvasImage& Image, int X, int Y, int SrcX, int SrcY, int Width, int Height,
                   SDL_Color Colour) = 0;
  virtual std::vector<uint32_t> Read() = 0;
  // Window pixels to surface pixels (the renderer canvas gets them mapped by SDL already).
  virtual void ToSurface(int32_t& X, int32_t& Y) const = 0;

  // Tinted or resized copies made so far: drawing the same thing again must not add any.
  size_t Copies = 0;
};

std::unique_ptr<Canvas> MakeRendererCanvas();
std::unique_ptr<Canvas> MakePixmanCanvas();

// The path for this machine: PIKORA_DRAW (gl or pixman) decides when set; else pixman
// without a display or when OpenGL is missing or a software rasteriser. Why names the reason.
DrawPath ChooseDrawPath(std::string& Why);

}  // namespace pikora
