#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Window.h"

namespace pikora {

// The record GetMouseState fills; the two middle fields are never read by the game.
struct MouseStateRecord {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Reserved1 = 0;
  int32_t Reserved2 = 0;
  bool Button = false;
  // Wheel notches turned since the previous GetMouseState: positive away from the player
  // (up), negative towards. An engine without a wheel leaves it 0.
  int32_t Wheel = 0;
};

// A texture object of the engine. Texture is a reference to one; an empty reference is
// no texture, and dropping the last reference releases it (safe after Shutdown too).
struct TextureObject {
  virtual ~TextureObject() = default;
  std::string Name;  // the file it was loaded from, as given to LoadTexture
  int Width = 0;     // the picture's own size in pixels
  int Height = 0;
};
using Texture = std::shared_ptr<TextureObject>;

// Keyboard scan codes (PC set 1) the game asks for.
namespace Key {
constexpr int32_t Escape = 1, Backspace = 14, Enter = 28, S = 31, J = 36, Space = 57;
}

// The graphics, input and sound-effect engine. Every failing operation throws ComponentError.
class GfxEngine {
 public:
  virtual ~GfxEngine() = default;

  virtual void SetDebugMode(bool On) = 0;
  virtual bool IsDebugMode() = 0;
  virtual void Initialise(WindowHandle* Window, const std::string& GameFolder, float Width, float Height,
                          bool FullScreen, int32_t Reserved1, int32_t Reserved2, int32_t Reserved3,
                          int32_t Reserved4) = 0;
  virtual void SetActive(bool Active) = 0;
  virtual void Shutdown() = 0;

  virtual void BeginFrame(int32_t R, int32_t G, int32_t B) = 0;
  virtual void EndFrame() = 0;

  virtual bool KeyDown(int32_t ScanCode) = 0;
  virtual void OnKeyS() = 0;
  virtual void GetMouseState(MouseStateRecord& State, int32_t Reserved) = 0;

  virtual void LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) = 0;
  // Pictures about to be loaded: an engine may start decoding them in the background. Their
  // LoadTexture calls still report any failure.
  virtual void PrefetchPictures(const std::vector<std::string>& FileNames) { (void)FileNames; }
  virtual void DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle,
                          int32_t Opacity, float SrcX, float SrcY, float Width, float Height, float CentreX,
                          float CentreY) = 0;
  virtual void SetTint(int32_t R, int32_t G, int32_t B) = 0;
  virtual void DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale,
                              float Angle, int32_t Opacity, float R, float G, float B) = 0;

  virtual void CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold,
                          bool Italic) = 0;
  virtual void DrawText(const std::string& FontName, float X, float Y, float Width, float Height,
                        const std::string& Text, uint32_t Colour, int32_t Format) = 0;

  virtual void LoadSound(const std::string& Name, const std::string& File) = 0;
  virtual void PlaySound(const std::string& Name, int32_t Reserved1, int32_t Volume, int32_t Reserved2,
                         int32_t Extra) = 0;

  // Lets the window process its pending messages once (close requests included).
  virtual void DoEvents() = 0;
  // Where the mouse was at the last poll, in surface pixels (used by FileTools::IsMouseOver).
  virtual void LastMousePosition(int32_t& X, int32_t& Y) = 0;
};

// DrawText format flags.
namespace TextFormat {
constexpr int32_t CentreH = 1, Right = 2, CentreV = 4, Bottom = 8, WordWrap = 16, NoClip = 256;
}

}  // namespace pikora
