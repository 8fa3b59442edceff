#pragma once
// The graphics, input and sound-effect engine on SDL2, drawing through one of two canvases:
// SDL's renderer (OpenGL) or pixman.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <array>
#include <chrono>
#include <future>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/Canvas.h"
#include "engine/GfxEngine.h"

namespace pikora {

// EndFrame waits for the next 1/60 s tick; benchmarks switch this off.
extern bool SdlPaceFrames;

// Shared by the engine and every texture it made, to tell a texture of a shut-down engine.
struct SdlEngineLife {};

struct GlyphCells {
  std::array<int16_t, 256> Left{}, Right{};
};

struct SdlTexture : TextureObject {
  std::shared_ptr<SdlEngineLife> Life;
  std::unique_ptr<CanvasImage> Image;
  int PotWidth = 0;   // the texel space: the picture stretched to powers of two
  int PotHeight = 0;
  // Bitmap-font glyphs: inked columns of each of the 16 x 16 cells, in picture pixels
  // from the cell's left edge (Left > Right when the cell is empty).
  GlyphCells Cells;
};

class SdlGfxEngine : public GfxEngine {
 public:
  // Auto picks the path for this machine at Initialise.
  explicit SdlGfxEngine(DrawPath Path = DrawPath::Auto) : Path(Path) {}
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
  void PrefetchPictures(const std::vector<std::string>& FileNames) override;
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
  // The path drawing went to ("gl" or "pixman"); empty before Initialise.
  std::string PathName() const { return Paint ? Paint->Name() : ""; }
  size_t CanvasCopies() const { return Paint ? Paint->Copies : 0; }

 private:
  struct FontEntry {
    TTF_Font* Font = nullptr;
  };
  struct CachedText {
    std::shared_ptr<CanvasImage> Handle;
    int Width = 0, Height = 0;
    float OffsetX = 0, OffsetY = 0;  // block position relative to the box
    size_t Bytes = 0;
    std::list<std::string>::iterator Age;
  };
  // A picture file read and decoded to packed ARGB, or why it could not be.
  struct DecodedPicture {
    std::vector<uint32_t> Argb;
    int Width = 0, Height = 0;
    GlyphCells Cells;  // measured by the decoder, as if no colour were keyed
    std::string Error;
  };
  struct Pending {
    int32_t Presses = 0;
    int64_t Arrived = 0;  // the frame count when the latest press came in
    int64_t Frame = -1;   // the frame that last polled it
    bool Answer = false;
  };

  DecodedPicture DecodeFile(const std::string& FileName) const;
  void PumpEvents();
  void HandleEvent(const SDL_Event& Event);
  void SetMouse(int32_t X, int32_t Y);
  bool TakePress(Pending& P);
  void Quad(const char* Operation, const CanvasImage& Image, const Vertex2 (&Corners)[4], SDL_Color Colour);
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
  DrawPath Path;
  std::unique_ptr<Canvas> Paint;
  std::shared_ptr<SdlEngineLife> Life;
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

  std::map<std::string, std::future<DecodedPicture>> Prefetched;  // by the name given
  std::vector<std::jthread> Decoders;  // last: joined before anything they read goes
};

}  // namespace pikora
