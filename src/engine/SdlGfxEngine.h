#pragma once
// The graphics, input and sound-effect engine on SDL2.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/GfxEngine.h"

namespace pikora {

// EndFrame waits for the next 1/60 s tick; benchmarks switch this off.
extern bool SdlPaceFrames;

// Shared by the engine and every texture it made: textures dropped after the renderer
// is gone must not touch it.
struct SdlRendererLife {
  SDL_Renderer* Renderer = nullptr;
  bool Alive = false;
};

struct SdlTexture : TextureObject {
  ~SdlTexture() override;
  std::shared_ptr<SdlRendererLife> Life;
  SDL_Texture* Handle = nullptr;
  int PotWidth = 0;   // the texel space: the picture stretched to powers of two
  int PotHeight = 0;
  // Bitmap-font glyphs: inked columns of each of the 16 x 16 cells, in picture pixels
  // from the cell's left edge (Left > Right when the cell is empty).
  std::array<int16_t, 256> GlyphLeft{};
  std::array<int16_t, 256> GlyphRight{};
};

class SdlGfxEngine : public GfxEngine {
 public:
  SdlGfxEngine() = default;
  ~SdlGfxEngine() override;
  SdlGfxEngine(const SdlGfxEngine&) = delete;
  SdlGfxEngine& operator=(const SdlGfxEngine&) = delete;

  void SetDebugMode(bool On) override { DebugMode = On; }
  bool IsDebugMode() override { return DebugMode; }
  void Initialise(WindowHandle* Window, const std::string& GameFolder, float Width, float Height, bool FullScreen,
                  int32_t Reserved1, int32_t Reserved2, int32_t Reserved3, int32_t Reserved4) override;
  void SetActive(bool On) override { Active = On; }
  void Shutdown() override;
  void BeginFrame(int32_t R, int32_t G, int32_t B) override;
  void EndFrame() override;
  bool KeyDown(int32_t ScanCode) override;
  void OnKeyS() override;
  void GetMouseState(MouseStateRecord& State, int32_t Reserved) override;
  void LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) override;
  void DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle, int32_t Opacity,
                  float SrcX, float SrcY, float Width, float Height, float CentreX, float CentreY) override;
  void SetTint(int32_t R, int32_t G, int32_t B) override;
  void DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale, float Angle,
                      int32_t Opacity, float R, float G, float B) override;
  void CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold, bool Italic) override;
  void DrawText(const std::string& FontName, float X, float Y, float Width, float Height, const std::string& Text,
                uint32_t Colour, int32_t Format) override;
  void LoadSound(const std::string& Name, const std::string& File) override;
  void PlaySound(const std::string& Name, int32_t Reserved1, int32_t Volume, int32_t Reserved2,
                 int32_t Extra) override;
  void DoEvents() override { PumpEvents(); }
  void LastMousePosition(int32_t& X, int32_t& Y) override;

  // ---- For tests and benchmarks --------------------------------------------------------
  static constexpr int SurfaceWidth = 800, SurfaceHeight = 600;
  // The surface as 800 x 600 ARGB pixels (what the last EndFrame showed, plus anything
  // drawn since).
  std::vector<uint32_t> ReadSurface();
  // The file a name given to the engine stands for.
  std::string ResolvePath(const std::string& FileName) const;
  // The path of the last screenshot OnKeyS wrote.
  std::string LastScreenshot;
  std::chrono::steady_clock::time_point LastScreenshotAt{};
  size_t CachedTexts() const { return TextCache.size(); }
  size_t TextRasterisations = 0;
  int LargestTextBlock = 0;  // the widest or tallest text texture made, in pixels
  bool HasAudio() const { return AudioOpen; }
  SDL_Window* WindowPtr() const { return SdlWindow; }

 private:
  struct Vertex2 {
    float X, Y, U, V;
  };
  struct FontEntry {
    TTF_Font* Font = nullptr;
  };
  struct CachedText {
    SDL_Texture* Handle = nullptr;
    int Width = 0, Height = 0;
    float OffsetX = 0, OffsetY = 0;  // block position relative to the box
    size_t Bytes = 0;
    std::list<std::string>::iterator Age;
  };
  struct Pending {
    int32_t Presses = 0;
    int64_t Arrived = 0;  // the frame count when the latest press came in
    int64_t Frame = -1;   // the frame that last polled it
    bool Answer = false;
  };

  void PumpEvents();
  void HandleEvent(const SDL_Event& Event);
  void SetMouse(int32_t X, int32_t Y);
  bool TakePress(Pending& P);
  void Quad(const char* Operation, SDL_Texture* Handle, const Vertex2 (&Corners)[4], SDL_Color Colour);
  void RequireSurface(const char* Operation) const;
  const SdlTexture* Usable(const Texture& Tex, const char* Operation) const;
  CachedText& RenderedText(const std::string& Key, TTF_Font* Font, const std::string& Text, float Width,
                           float Height, int32_t Format);
  void DropTextCache();
  void Pace();

  bool DebugMode = false;
  bool Active = false;
  bool Ready = false;
  WindowHandle* Window = nullptr;
  std::string Folder;
  std::string ShownCaption;
  SDL_Window* SdlWindow = nullptr;
  SDL_Texture* Surface = nullptr;
  std::shared_ptr<SdlRendererLife> Life;
  bool VideoStarted = false, TtfStarted = false, AudioStarted = false, AudioOpen = false;
  SDL_Color Tint{255, 255, 255, 255};

  std::array<Pending, 256> Keys{};
  Pending Clicks;
  int32_t WheelNotches = 0;  // since the last GetMouseState
  int64_t FrameNumber = 0;
  int32_t MouseX = 0, MouseY = 0;
  bool CloseAsked = false;
  bool InCloseRequest = false;

  std::map<std::string, FontEntry> Fonts;  // by lower-case name
  std::unordered_map<std::string, CachedText> TextCache;
  std::list<std::string> TextAges;  // most recently used first
  size_t TextCacheBytes = 0;

  std::map<std::string, Mix_Chunk*> Sounds;  // a null chunk: checked but silent
  std::chrono::steady_clock::time_point PaceOrigin{};
  int64_t PaceTicks = 0;
};

}  // namespace pikora
