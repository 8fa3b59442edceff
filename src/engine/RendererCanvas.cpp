// The canvas on SDL's renderer: OpenGL where the machine has it, SDL's software renderer
// without a display.
#include <stdexcept>

#include "engine/Canvas.h"

namespace pikora {
namespace {

std::runtime_error SdlFailure(const std::string& What) { return std::runtime_error(What + ": " + SDL_GetError()); }

struct RendererImage : CanvasImage {
  ~RendererImage() override {
    if (Handle && *Alive) SDL_DestroyTexture(Handle);
  }
  SDL_Texture* Handle = nullptr;
  int Width = 0, Height = 0;
  std::shared_ptr<bool> Alive;  // destroying the renderer frees every texture it made
};

class RendererCanvas final : public Canvas {
 public:
  ~RendererCanvas() override { Close(); }
  const char* Name() const override { return "gl"; }

  void Open(SDL_Window* Window, int Width, int Height) override {
    SurfaceW = Width;
    SurfaceH = Height;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // No vsync: the pace comes from the engine's own clock, whatever the display's rate.
    Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_TARGETTEXTURE);
    if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    if (!Renderer) throw SdlFailure("cannot create a renderer");
    Alive = std::make_shared<bool>(true);
    // Letterboxing, and mouse events mapped back to surface pixels.
    if (SDL_RenderSetLogicalSize(Renderer, Width, Height) != 0) throw SdlFailure("cannot scale the surface");
    Surface = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, Width, Height);
    if (!Surface) throw SdlFailure("cannot create the surface");
    if (SDL_SetRenderTarget(Renderer, Surface) != 0) throw SdlFailure("cannot draw on the surface");
    Clear(0, 0, 0);
  }

  void Close() override {
    if (Surface) SDL_DestroyTexture(Surface);
    Surface = nullptr;
    if (Alive) *Alive = false;
    Alive.reset();
    if (Renderer) SDL_DestroyRenderer(Renderer);
    Renderer = nullptr;
  }

  void Clear(uint8_t R, uint8_t G, uint8_t B) override {
    if (SDL_SetRenderTarget(Renderer, Surface) != 0) throw SdlFailure("cannot draw on the surface");
    SDL_SetRenderDrawColor(Renderer, R, G, B, 255);
    if (SDL_RenderClear(Renderer) != 0) throw SdlFailure("cannot clear the surface");
  }

  void Present() override {
    if (SDL_SetRenderTarget(Renderer, nullptr) != 0) throw SdlFailure("cannot draw on the window");
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    if (SDL_RenderCopy(Renderer, Surface, nullptr, nullptr) != 0) throw SdlFailure("cannot show the surface");
    SDL_RenderPresent(Renderer);
    if (SDL_SetRenderTarget(Renderer, Surface) != 0) throw SdlFailure("cannot draw on the surface");
  }

  std::unique_ptr<CanvasImage> MakeImage(std::vector<uint32_t>&& Pixels, int Width, int Height) override {
    const uint32_t* Argb = Pixels.data();
    auto Image = std::make_unique<RendererImage>();
    Image->Alive = Alive;
    Image->Width = Width;
    Image->Height = Height;
    Image->Handle = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, Width, Height);
    if (!Image->Handle) throw SdlFailure(std::to_string(Width) + " x " + std::to_string(Height));
    if (SDL_UpdateTexture(Image->Handle, nullptr, Argb, Width * 4) != 0) throw SdlFailure("cannot fill the texture");
    SDL_SetTextureBlendMode(Image->Handle, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(Image->Handle, SDL_ScaleModeLinear);
    return Image;
  }

  void Quad(const CanvasImage& Image, const Vertex2 (&Corners)[4], SDL_Color Colour) override {
    SDL_Vertex V[4];
    for (int I = 0; I < 4; ++I) V[I] = {{Corners[I].X, Corners[I].Y}, Colour, {Corners[I].U, Corners[I].V}};
    static const int Indices[6] = {0, 1, 2, 0, 2, 3};
    if (SDL_RenderGeometry(Renderer, static_cast<const RendererImage&>(Image).Handle, V, 4, Indices, 6) != 0)
      throw SdlFailure("cannot draw");
  }

  void Ink(const CanvasImage& Image, int X, int Y, int SrcX, int SrcY, int Width, int Height,
           SDL_Color Colour) override {
    const auto& I = static_cast<const RendererImage&>(Image);
    const float L = float(X), T = float(Y), R = float(X + Width), B = float(Y + Height);
    const float U0 = float(SrcX) / I.Width, U1 = float(SrcX + Width) / I.Width;
    const float V0 = float(SrcY) / I.Height, V1 = float(SrcY + Height) / I.Height;
    const Vertex2 Corners[4] = {{L, T, U0, V0}, {R, T, U1, V0}, {R, B, U1, V1}, {L, B, U0, V1}};
    Quad(Image, Corners, Colour);
  }

  std::vector<uint32_t> Read() override {
    std::vector<uint32_t> Pixels(size_t(SurfaceW) * SurfaceH);
    if (SDL_SetRenderTarget(Renderer, Surface) != 0 ||
        SDL_RenderReadPixels(Renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, Pixels.data(), SurfaceW * 4) != 0)
      throw SdlFailure("cannot read the surface");
    return Pixels;
  }

  void ToSurface(int32_t&, int32_t&) const override {}

 private:
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Surface = nullptr;
  std::shared_ptr<bool> Alive;
  int SurfaceW = 0, SurfaceH = 0;
};

}  // namespace

std::unique_ptr<Canvas> MakeRendererCanvas() { return std::make_unique<RendererCanvas>(); }

}  // namespace pikora
