// The canvas for machines without a GPU: every quad is composited with pixman into one
// 800 x 600 frame in memory, which goes to the window through SDL's window surface (X shared
// memory). A turned quad is composited straight into the frame through a clip of the pixels
// whose centres it covers, the same pixels a GL rasteriser fills.
#include <emmintrin.h>
#include <pixman.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <list>
#include <stdexcept>
#include <unordered_map>

#include "engine/Canvas.h"

namespace pikora {
namespace {

struct PixmanRef {
  pixman_image_t* Image = nullptr;
  PixmanRef() = default;
  explicit PixmanRef(pixman_image_t* I) : Image(I) {}
  PixmanRef(PixmanRef&& O) noexcept : Image(O.Image) { O.Image = nullptr; }
  PixmanRef& operator=(PixmanRef&& O) noexcept {
    std::swap(Image, O.Image);
    return *this;
  }
  ~PixmanRef() {
    if (Image) pixman_image_unref(Image);
  }
};

uint32_t Premultiply(uint32_t P) {
  const uint32_t A = P >> 24;
  if (A == 255) return P;
  if (A == 0) return 0;
  auto Mul = [A](uint32_t C) { return (C * A + 127) / 255; };
  return A << 24 | Mul(P >> 16 & 255) << 16 | Mul(P >> 8 & 255) << 8 | Mul(P & 255);
}

pixman_color_t Colour16(uint8_t R, uint8_t G, uint8_t B, uint8_t A) {
  // Premultiplied, as pixman wants it.
  auto C = [A](uint8_t V) { return uint16_t((V * A + 127) / 255 * 257); };
  return {C(R), C(G), C(B), uint16_t(A * 257)};
}

// The covered pixels of one row of the frame: Y, from L up to R.
struct Row {
  int Y, L, R;
};

// A quad's corners from the pixel Ox, Oy, each with its U and V.
using Place = std::array<float, 16>;

Place PlaceOf(const Vertex2 (&C)[4], int Ox, int Oy) {
  Place At;
  for (int K = 0; K < 4; ++K) At[4 * K] = C[K].X - Ox, At[4 * K + 1] = C[K].Y - Oy, At[4 * K + 2] = C[K].U, At[4 * K + 3] = C[K].V;
  return At;
}

using TurnKey = std::array<uint32_t, 16>;

uint64_t Hash64(const TurnKey& Key) {
  uint64_t Hash = 1469598103934665603ull;
  for (uint32_t V : Key) Hash = (Hash ^ V) * 1099511628211ull;
  return Hash;
}

// A small turned picture sampled once, at full cover and untinted, for the same turn at the
// same place within a pixel (a spinning particle moves by whole pixels and turns by whole
// degrees): its rows and samples, relative to the pixel the quad's bounds start in.
struct KeptTurn {
  TurnKey Key;
  std::vector<Row> Rows;
  std::vector<uint32_t> Samples;
  int64_t Frame = 0;  // the last frame that drew from them
};

struct Tinted {
  uint32_t Tint;
  PixmanRef Image;
};

// A picture resampled once to the size it is shown at, so that a large quad drawn every
// frame is a plain copy, or a turn sampled at the nearest pixel.
struct Resized {
  uint32_t Tint;
  double ScaleX, ScaleY;
  int Width, Height;
  PixmanRef Image;
};

struct PixmanImage : CanvasImage {
  PixmanRef Image;
  std::vector<uint32_t> Pixels;  // premultiplied; owned here, pixman only points at them
  int Width = 0, Height = 0;
  // Tinted copies of small pictures (buttons, markers, glyphs, particles), most recent first.
  std::list<Tinted> Tints;
  std::list<Resized> Sizes;
  std::list<KeptTurn> Turns;  // most recent first
  std::unordered_map<uint64_t, std::list<KeptTurn>::iterator> TurnIndex;
  // A larger turned drawing: where it was last drawn directly, and the samples of the place
  // it then stayed near (corners from the pixel its bounds start in, with their U and V).
  Place LastPlace{}, SlowPlace{};
  std::shared_ptr<KeptTurn> Slow;
};

constexpr size_t TintsKept = 6, SizesKept = 2;
// Enough for each turn of two spinning particle kinds (a few hundred kilobytes each).
constexpr size_t TurnsKept = 400;
// Turned quads up to this many pixels are kept (a particle is 32 x 32).
constexpr double SmallTurn = 48 * 48;
// Quads of this many pixels or more are drawn from a resized copy: bilinear sampling of a
// turned picture costs pixman many times a nearest one.
constexpr double LargeQuad = 60000;

class PixmanCanvas final : public Canvas {
 public:
  ~PixmanCanvas() override { Close(); }
  const char* Name() const override { return "pixman"; }

  void Open(SDL_Window* W, int Width, int Height) override {
    Window = W;
    SurfaceW = Width;
    SurfaceH = Height;
    // SDL would otherwise present its window surface through an OpenGL texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!SDL_GetWindowSurface(Window)) throw std::runtime_error(std::string("the window has no surface: ") + SDL_GetError());
    DrawInto(Target());
  }

  void Close() override {
    Frame = PixmanRef();
    FramePixels = std::vector<uint32_t>();
    Window = nullptr;
  }

  // Filled when the first drawing needs it: a frame that begins with a picture covering it
  // all is not filled at all.
  void Clear(uint8_t R, uint8_t G, uint8_t B) override {
    ClearColour = Colour16(R, G, B, 255);
    ClearPending = true;
    Behind = nullptr, BehindImage = PixmanRef();
    DrawInto(Target());
    // Samples of a swinging picture that the last frame did not draw are let go: the screen
    // that showed it has gone (the help page's are a megabyte).
    ++Frames;
    std::erase_if(SlowHeld, [this](const std::weak_ptr<KeptTurn>& Held) {
      const auto Kept = Held.lock();
      if (Kept && Kept->Frame >= Frames - 1) return false;
      if (Kept) *Kept = KeptTurn();
      return true;
    });
  }

  void Present() override {
    FlushClear();
    if (pixman_image_get_data(Frame.Image) != FramePixels.data()) {
      // Fails without freeing anything when the window was resized since: the frame is then
      // kept before SDL replaces the surface, and shown the long way.
      if (SDL_UpdateWindowSurface(Window) == 0) return;
      std::memcpy(OwnFrame(), pixman_image_get_data(Frame.Image), size_t(SurfaceW) * SurfaceH * 4);
      DrawInto(FramePixels.data());
    }
    SDL_Surface* Shown = SDL_GetWindowSurface(Window);
    if (!Shown) throw std::runtime_error(std::string("the window has no surface: ") + SDL_GetError());
    Fit(Shown->w, Shown->h);
    if (SDL_LockSurface(Shown) != 0) throw std::runtime_error(std::string("cannot draw on the window: ") + SDL_GetError());
    const pixman_format_code_t Format = PixmanFormat(Shown->format->format);
    if (Format != pixman_format_code_t(0)) {
      PixmanRef Target(pixman_image_create_bits_no_clear(Format, Shown->w, Shown->h,
                                                         static_cast<uint32_t*>(Shown->pixels), Shown->pitch));
      const pixman_color_t Black = Colour16(0, 0, 0, 255);
      // The bars beside a surface that keeps its shape.
      const pixman_box32_t Bars[4] = {{0, 0, Shown->w, Top},
                                      {0, Top + ShownH, Shown->w, Shown->h},
                                      {0, Top, Left, Top + ShownH},
                                      {Left + ShownW, Top, Shown->w, Top + ShownH}};
      for (const auto& Bar : Bars)
        if (Bar.x2 > Bar.x1 && Bar.y2 > Bar.y1) pixman_image_fill_boxes(PIXMAN_OP_SRC, Target.Image, &Black, 1, &Bar);
      if (ShownW == SurfaceW && ShownH == SurfaceH) {
        pixman_image_composite32(PIXMAN_OP_SRC, Frame.Image, nullptr, Target.Image, 0, 0, 0, 0, Left, Top, SurfaceW,
                                 SurfaceH);
      } else {
        pixman_transform_t Scale;
        pixman_transform_init_scale(&Scale, pixman_double_to_fixed(double(SurfaceW) / ShownW),
                                    pixman_double_to_fixed(double(SurfaceH) / ShownH));
        pixman_image_set_transform(Frame.Image, &Scale);
        pixman_image_set_filter(Frame.Image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(Frame.Image, PIXMAN_REPEAT_PAD);
        pixman_image_composite32(PIXMAN_OP_SRC, Frame.Image, nullptr, Target.Image, 0, 0, 0, 0, Left, Top, ShownW,
                                 ShownH);
        pixman_image_set_transform(Frame.Image, nullptr);
        pixman_image_set_repeat(Frame.Image, PIXMAN_REPEAT_NONE);
      }
      SDL_UnlockSurface(Shown);
    } else {
      // A display of some other pixel format: SDL converts.
      SDL_UnlockSurface(Shown);
      SDL_Surface* View = SDL_CreateRGBSurfaceWithFormatFrom(FramePixels.data(), SurfaceW, SurfaceH, 32, SurfaceW * 4,
                                                              SDL_PIXELFORMAT_RGB888);
      SDL_FillRect(Shown, nullptr, SDL_MapRGB(Shown->format, 0, 0, 0));
      SDL_Rect To{Left, Top, ShownW, ShownH};
      const int Shown_ = View ? SDL_BlitScaled(View, nullptr, Shown, &To) : -1;
      SDL_FreeSurface(View);
      if (Shown_ != 0) throw std::runtime_error(std::string("cannot show the frame: ") + SDL_GetError());
    }
    if (SDL_UpdateWindowSurface(Window) != 0)
      throw std::runtime_error(std::string("cannot show the frame: ") + SDL_GetError());
  }

  std::unique_ptr<CanvasImage> MakeImage(std::vector<uint32_t>&& Argb, int Width, int Height) override {
    auto Made = std::make_unique<PixmanImage>();
    Made->Width = Width;
    Made->Height = Height;
    // Premultiplied where they are: a large picture is not copied again at start-up.
    Made->Pixels = std::move(Argb);
    Made->Pixels.resize(size_t(Width) * Height);
    bool Opaque = true;
    for (uint32_t& P : Made->Pixels) {
      Opaque = Opaque && (P >> 24) == 255;
      P = Premultiply(P);
    }
    // Opaque pictures let pixman replace blending by copying.
    Made->Image = PixmanRef(pixman_image_create_bits_no_clear(Opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, Width,
                                                              Height, Made->Pixels.data(), Width * 4));
    if (!Made->Image.Image) throw std::runtime_error(std::to_string(Width) + " x " + std::to_string(Height));
    Prepare(Made->Image.Image);
    return Made;
  }

  std::unique_ptr<CanvasImage> MakeInk(const uint32_t* Argb, int Width, int Height) override {
    auto Made = std::make_unique<PixmanImage>();
    Made->Width = Width;
    Made->Height = Height;
    const int Stride = (Width + 3) & ~3;
    std::vector<uint8_t> Alpha(size_t(Stride) * Height);
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Alpha[size_t(Y) * Stride + X] = uint8_t(Argb[size_t(Y) * Width + X] >> 24);
    Made->Pixels.resize(Alpha.size() / 4);
    std::memcpy(Made->Pixels.data(), Alpha.data(), Alpha.size());
    Made->Image = PixmanRef(pixman_image_create_bits_no_clear(PIXMAN_a8, Width, Height, Made->Pixels.data(), Stride));
    if (!Made->Image.Image) throw std::runtime_error(std::to_string(Width) + " x " + std::to_string(Height));
    return Made;
  }

  void Quad(const CanvasImage& Image, const Vertex2 (&C)[4], SDL_Color Colour) override {
    if (Colour.a == 0) return;
    auto& I = const_cast<PixmanImage&>(static_cast<const PixmanImage&>(Image));
    pixman_image_t* Source = Colour.r == 255 && Colour.g == 255 && Colour.b == 255 ? I.Image.Image : TintedCopy(I, Colour);

    const uint32_t TintKey = uint32_t(Colour.r) << 16 | uint32_t(Colour.g) << 8 | Colour.b;

    // The affine map from surface to picture pixels, from three corners.
    const double DuX = C[1].X - C[0].X, DuY = C[1].Y - C[0].Y, DvX = C[3].X - C[0].X, DvY = C[3].Y - C[0].Y;
    const double Det = DuX * DvY - DvX * DuY;
    if (std::fabs(Det) < 1e-9) return;
    const double Su = (double(C[1].U) - C[0].U) * I.Width, Sv = (double(C[3].V) - C[0].V) * I.Height;
    if (Su <= 0 || Sv <= 0) return;
    Affine M{Su * DvY / Det, -Su * DvX / Det, 0, -Sv * DuY / Det, Sv * DuX / Det, 0};
    const double U0 = double(C[0].U) * I.Width, V0 = double(C[0].V) * I.Height;
    M.Tx = U0 - (M.A * C[0].X + M.B * C[0].Y), M.Ty = V0 - (M.D * C[0].X + M.E * C[0].Y);
    const bool Turned = std::fabs(M.B) > 1e-9 || std::fabs(M.D) > 1e-9;
    // Shown size per picture pixel along each side.
    const double ScaleX = std::hypot(DuX, DuY) / Su, ScaleY = std::hypot(DvX, DvY) / Sv;
    const bool Large = std::fabs(Det) >= LargeQuad;
    // A magnified picture is smooth at the pixel, so sampling it at half the resolution and
    // magnifying the result hardly differs from sampling every pixel.
    const bool Magnified = ScaleX >= 1.5 && ScaleY >= 1.5;

    // Pixels whose centres the quad covers, as a GL rasteriser picks them.
    const bool Upright = C[0].Y == C[1].Y && C[0].X == C[3].X && C[2].X == C[1].X && C[2].Y == C[3].Y;
    float MinX = C[0].X, MaxX = C[0].X, MinY = C[0].Y, MaxY = C[0].Y;
    for (const auto& P : C) {
      MinX = std::min(MinX, P.X), MaxX = std::max(MaxX, P.X);
      MinY = std::min(MinY, P.Y), MaxY = std::max(MaxY, P.Y);
    }
    const int X0 = std::max(0, int(std::ceil(MinX - 0.5f))), X1 = std::min(SurfaceW, int(std::ceil(MaxX - 0.5f)));
    const int Y0 = std::max(0, int(std::ceil(MinY - 0.5f))), Y1 = std::min(SurfaceH, int(std::ceil(MaxY - 0.5f)));
    if (X1 <= X0 || Y1 <= Y0) return;

    double Rx = std::nearbyint(M.Tx), Ry = std::nearbyint(M.Ty);
    auto Unit = [](double V) { return std::fabs(V) < 1e-6 || std::fabs(std::fabs(V) - 1) < 1e-6; };
    // Pixel centres landing on pixel centres (a copy, or a turn by right angles): nothing to filter.
    bool Exact = Unit(M.A) && Unit(M.B) && Unit(M.D) && Unit(M.E) && std::fabs(M.Tx - Rx) < 1e-4 &&
                 std::fabs(M.Ty - Ry) < 1e-4;

    if (Turned && !Exact) {
      const bool Sky = Large && Magnified;
      if (!Sky || ClearPending) FlushClear();
      if (std::fabs(Det) <= SmallTurn) {
        KeptTurnBlend(I, C, M, Colour, MinX, MinY, MaxX, MaxY);
        return;
      }
      if (!Sky && SlowTurnBlend(I, C, M, Colour, MinX, MinY, MaxX, MaxY)) return;
      Spans(C, X0, Y0, X1, Y1);
      if (Rows.empty()) return;
      if (Sky)
        HalfResolution(Source, M, Colour.a, X0, Y0, X1);
      else
        TurnBilinear(Source, M, Colour.a);
      return;
    }
    if (Large && !Turned) {
      double SX = ScaleX, SY = ScaleY;
      const double PX = M.Tx * SX, PY = M.Ty * SY;
      const bool Whole = std::fabs(PX - std::nearbyint(PX)) < 1e-3 && std::fabs(PY - std::nearbyint(PY)) < 1e-3;
      const bool Scaled = std::fabs(SX - 1) > 1e-6 || std::fabs(SY - 1) > 1e-6;
      if (Whole && Scaled) {
        // Resampled once to the shown size, the picture is copied as it is.
        Source = ResizedCopy(I, Source, TintKey, SX, SY);
        M.A *= SX, M.Tx *= SX;
        M.E *= SY, M.Ty *= SY;
        Rx = std::nearbyint(M.Tx), Ry = std::nearbyint(M.Ty);
        Exact = true;
      }
    }

    if (Upright && Exact && M.A > 0 && M.E > 0 && Colour.a == 255 && X0 == 0 && Y0 == 0 && X1 == SurfaceW &&
        Y1 == SurfaceH && pixman_image_get_format(Source) == PIXMAN_x8r8g8b8) {
      // This copy hides the whole frame. A copy the canvas owns is made with the next
      // drawing, which may blend over it on the way (the turning sky does).
      ClearPending = false;
      if (Source != I.Image.Image && Rx >= 0 && Ry >= 0 && Rx + SurfaceW <= pixman_image_get_width(Source) &&
          Ry + SurfaceH <= pixman_image_get_height(Source)) {
        BehindStride = pixman_image_get_stride(Source) / 4;
        Behind = pixman_image_get_data(Source) + size_t(Ry) * BehindStride + size_t(Rx);
        BehindImage = PixmanRef(pixman_image_ref(Source));
        return;
      }
    }
    FlushClear();

    PixmanRef Mask;
    MaskX = MaskY = 0;
    if (!Upright) {
      // A mask of the covered pixels at the opacity: one composite call for the whole quad
      // (pixman's general path pays a fixed cost per rectangle, so a clip of one rectangle
      // per row would cost more than the quad).
      Spans(C, X0, Y0, X1, Y1);
      if (Rows.empty()) return;
      const int Stride = (X1 - X0 + 3) & ~3;
      MaskBits.assign(size_t(Stride) * (Y1 - Y0) / 4, 0);
      auto* Bytes = reinterpret_cast<uint8_t*>(MaskBits.data());
      for (const Row& R : Rows) std::memset(Bytes + size_t(R.Y - Y0) * Stride + (R.L - X0), Colour.a, size_t(R.R - R.L));
      Mask = PixmanRef(pixman_image_create_bits_no_clear(PIXMAN_a8, X1 - X0, Y1 - Y0, MaskBits.data(), Stride));
      if (!Mask.Image) throw std::runtime_error("cannot mask a turned picture");
      MaskX = X0, MaskY = Y0;
    } else if (Colour.a < 255) {
      const pixman_color_t Paint = Colour16(0, 0, 0, Colour.a);
      Mask = PixmanRef(pixman_image_create_solid_fill(&Paint));
    }
    if (Exact && !Turned && M.A > 0 && M.E > 0) {
      // A straight copy: no filtering to pay for.
      pixman_image_set_transform(Source, nullptr);
      pixman_image_set_filter(Source, PIXMAN_FILTER_NEAREST, nullptr, 0);
      pixman_image_composite32(PIXMAN_OP_OVER, Source, Mask.Image, Frame.Image, X0 + int(Rx), Y0 + int(Ry), X0 - MaskX,
                               Y0 - MaskY, X0, Y0, X1 - X0, Y1 - Y0);
    } else {
      SetTransform(Source, M, Exact);
      pixman_image_composite32(PIXMAN_OP_OVER, Source, Mask.Image, Frame.Image, X0, Y0, X0 - MaskX, Y0 - MaskY, X0, Y0,
                               X1 - X0, Y1 - Y0);
    }
  }

  void Ink(const CanvasImage& Image, int X, int Y, int SrcX, int SrcY, int Width, int Height,
           SDL_Color Colour) override {
    if (Colour.a == 0) return;
    FlushClear();
    const auto& I = static_cast<const PixmanImage&>(Image);
    const pixman_color_t C = Colour16(Colour.r, Colour.g, Colour.b, Colour.a);
    PixmanRef Paint(pixman_image_create_solid_fill(&C));
    pixman_image_composite32(PIXMAN_OP_OVER, Paint.Image, I.Image.Image, Frame.Image, 0, 0, SrcX, SrcY, X, Y, Width,
                             Height);
  }

  std::vector<uint32_t> Read() override {
    FlushClear();
    const uint32_t* Drawn = pixman_image_get_data(Frame.Image);
    std::vector<uint32_t> Pixels(Drawn, Drawn + size_t(SurfaceW) * SurfaceH);
    for (auto& P : Pixels) P |= 0xFF000000u;
    return Pixels;
  }

  void ToSurface(int32_t& X, int32_t& Y) const override {
    int W = 0, H = 0;
    SDL_GetWindowSize(Window, &W, &H);
    int L = 0, T = 0, SW = SurfaceW, SH = SurfaceH;
    Layout(W, H, L, T, SW, SH);
    X = int32_t(std::floor((X - L) * double(SurfaceW) / SW));
    Y = int32_t(std::floor((Y - T) * double(SurfaceH) / SH));
  }

 private:
  struct Affine {
    double A, B, Tx, D, E, Ty;
  };

  // A window of the frame's own size and format is drawn on directly, which saves copying
  // every frame into it (and keeping a frame of its own). Its pixels stay valid until the
  // next SDL_GetWindowSurface.
  uint32_t* Target() {
    SDL_Surface* Shown = SDL_GetWindowSurface(Window);
    const bool Fits = Shown && Shown->w == SurfaceW && Shown->h == SurfaceH && Shown->pitch == SurfaceW * 4 &&
                      !SDL_MUSTLOCK(Shown) && PixmanFormat(Shown->format->format) == PIXMAN_x8r8g8b8;
    return Fits ? static_cast<uint32_t*>(Shown->pixels) : OwnFrame();
  }

  uint32_t* OwnFrame() {
    if (FramePixels.empty()) FramePixels.assign(size_t(SurfaceW) * SurfaceH, 0xFF000000u);
    return FramePixels.data();
  }

  void DrawInto(uint32_t* Pixels) {
    if (Frame.Image && pixman_image_get_data(Frame.Image) == Pixels) return;
    Frame = PixmanRef(pixman_image_create_bits_no_clear(PIXMAN_x8r8g8b8, SurfaceW, SurfaceH, Pixels, SurfaceW * 4));
    if (!Frame.Image) throw std::runtime_error("cannot create the " + std::to_string(SurfaceW) + " x " + std::to_string(SurfaceH) + " frame");
  }

  // The frame's pending fill or copy.
  void FlushClear() {
    if (ClearPending) {
      ClearPending = false;
      const pixman_box32_t Box{0, 0, SurfaceW, SurfaceH};
      pixman_image_fill_boxes(PIXMAN_OP_SRC, Frame.Image, &ClearColour, 1, &Box);
    }
    if (Behind) CopyBehind(0, SurfaceH);
  }

  void CopyBehind(int Y0, int Y1) {
    for (int Y = Y0; Y < Y1; ++Y)
      std::memcpy(pixman_image_get_data(Frame.Image) + size_t(Y) * SurfaceW, Behind + size_t(Y) * BehindStride,
                  size_t(SurfaceW) * 4);
    if (Y1 == SurfaceH) Behind = nullptr, BehindImage = PixmanRef();
  }

  static void SetTransform(pixman_image_t* Source, const Affine& M, bool Nearest) {
    const pixman_transform_t T = {{{pixman_double_to_fixed(M.A), pixman_double_to_fixed(M.B), pixman_double_to_fixed(M.Tx)},
                                   {pixman_double_to_fixed(M.D), pixman_double_to_fixed(M.E), pixman_double_to_fixed(M.Ty)},
                                   {0, 0, pixman_fixed_1}}};
    pixman_image_set_transform(Source, &T);
    pixman_image_set_filter(Source, Nearest ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR, nullptr, 0);
  }

  // The covered pixels of each row of the box, into Rows.
  void Spans(const Vertex2 (&C)[4], int X0, int Y0, int X1, int Y1) {
    Rows.clear();
    for (int Y = Y0; Y < Y1; ++Y) {
      const float Yc = Y + 0.5f;
      float L = 1e30f, R = -1e30f;
      for (int K = 0; K < 4; ++K) {
        const Vertex2& P = C[K];
        const Vertex2& Q = C[(K + 1) % 4];
        if ((P.Y <= Yc && Yc < Q.Y) || (Q.Y <= Yc && Yc < P.Y)) {
          const float X = P.X + (Yc - P.Y) * (Q.X - P.X) / (Q.Y - P.Y);
          L = std::min(L, X), R = std::max(R, X);
        }
      }
      const int SL = std::max(X0, int(std::ceil(L - 0.5f))), SR = std::min(X1, int(std::ceil(R - 0.5f)));
      if (SL < SR) Rows.push_back({Y, SL, SR});
    }
  }

  // V / 255, rounded, in each 16-bit lane.
  static __m128i Div255(__m128i V) {
    V = _mm_add_epi16(V, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(V, _mm_srli_epi16(V, 8)), 8);
  }

  // Four premultiplied pixels, given as two halves of 16-bit channels, over four of the frame.
  static __m128i Over(__m128i Pl, __m128i Ph, __m128i D) {
    const __m128i Zero = _mm_setzero_si128(), Full = _mm_set1_epi16(255);
    const __m128i Bl = _mm_sub_epi16(Full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(Pl, 0xFF), 0xFF));
    const __m128i Bh = _mm_sub_epi16(Full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(Ph, 0xFF), 0xFF));
    const __m128i Dl = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(D, Zero), Bl));
    const __m128i Dh = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(D, Zero), Bh));
    return _mm_packus_epi16(_mm_add_epi16(Pl, Dl), _mm_add_epi16(Ph, Dh));
  }

  // A small turned quad blended from the picture's kept samples, sampled first if they are
  // not kept yet; the tint and opacity are applied on the way.
  void KeptTurnBlend(PixmanImage& I, const Vertex2 (&C)[4], const Affine& M, SDL_Color Colour, float MinX, float MinY,
                     float MaxX, float MaxY) {
    const int Ox = int(std::floor(MinX)), Oy = int(std::floor(MinY));
    // Corners to 1/256 of a pixel from that origin, and the exact texture coordinates.
    const Place At = PlaceOf(C, Ox, Oy);
    TurnKey Key;
    for (int K = 0; K < 16; ++K) Key[K] = K % 4 < 2 ? uint32_t(At[K] * 256 + 0.5f) : std::bit_cast<uint32_t>(At[K]);
    const uint64_t Hash = Hash64(Key);
    auto Found = I.TurnIndex.find(Hash);
    if (Found != I.TurnIndex.end() && Found->second->Key == Key) {
      I.Turns.splice(I.Turns.begin(), I.Turns, Found->second);
    } else {
      if (Found != I.TurnIndex.end()) I.Turns.erase(Found->second);
      I.Turns.push_front(SampleTurn(I, C, M, MinX, MinY, MaxX, MaxY));
      I.Turns.front().Key = Key;
      I.TurnIndex[Hash] = I.Turns.begin();
      if (I.Turns.size() > TurnsKept) {
        I.TurnIndex.erase(Hash64(I.Turns.back().Key));
        I.Turns.pop_back();
      }
    }
    BlendKept(I.Turns.front(), Ox, Oy, Colour);
  }

  // A larger turned quad that turns slowly (a swinging sheet) is sampled once it is drawn
  // again within an eighth of a pixel of where it was last drawn, and blended from those
  // samples while it stays that near them. One that moves on every frame is left to the
  // caller to draw directly.
  bool SlowTurnBlend(PixmanImage& I, const Vertex2 (&C)[4], const Affine& M, SDL_Color Colour, float MinX, float MinY,
                     float MaxX, float MaxY) {
    const int Ox = int(std::floor(MinX)), Oy = int(std::floor(MinY));
    const Place Here = PlaceOf(C, Ox, Oy);
    auto Near = [&Here](const Place& At) {
      for (int K = 0; K < 16; ++K)
        if (K % 4 < 2 ? std::fabs(Here[K] - At[K]) > 0.125f : Here[K] != At[K]) return false;
      return true;
    };
    if (!I.Slow || I.Slow->Samples.empty() || !Near(I.SlowPlace)) {
      if (!Near(I.LastPlace)) {
        I.LastPlace = Here;
        I.Slow.reset();
        return false;
      }
      I.Slow = std::make_shared<KeptTurn>(SampleTurn(I, C, M, MinX, MinY, MaxX, MaxY));
      I.SlowPlace = Here;
      SlowHeld.push_back(I.Slow);
    }
    I.Slow->Frame = Frames;
    BlendKept(*I.Slow, Ox, Oy, Colour);
    return true;
  }

  // The samples of a turned quad at full cover, untinted, over all of it: the frame's edges
  // may cut it elsewhere next time.
  KeptTurn SampleTurn(PixmanImage& I, const Vertex2 (&C)[4], const Affine& M, float MinX, float MinY, float MaxX,
                      float MaxY) {
    const int Ox = int(std::floor(MinX)), Oy = int(std::floor(MinY));
    Spans(C, int(std::ceil(MinX - 0.5f)), int(std::ceil(MinY - 0.5f)), int(std::ceil(MaxX - 0.5f)),
          int(std::ceil(MaxY - 0.5f)));
    KeptTurn Made{{}, Rows, {}};
    size_t Count = 0;
    for (Row& R : Made.Rows) Count += size_t(R.R - R.L), R.Y -= Oy, R.L -= Ox, R.R -= Ox;
    Made.Samples.resize(Count);
    TurnBilinear(I.Image.Image, M, 255, Made.Samples.data());
    return Made;
  }

  // Kept samples blended with their rows starting from pixel Ox, Oy, in the tint and opacity.
  void BlendKept(const KeptTurn& T, int Ox, int Oy, SDL_Color Colour) {
    const int A = Colour.a;
    auto Scale = [A](int V) { return short((V * A + 127) / 255); };
    const short Sb = Scale(Colour.b), Sg = Scale(Colour.g), Sr = Scale(Colour.r);
    const __m128i Zero = _mm_setzero_si128(), Factor = _mm_setr_epi16(Sb, Sg, Sr, short(A), Sb, Sg, Sr, short(A));
    // Samples under this cover change a pixel by less than 4/255 at the opacity: left out.
    const int Faint = (4 * 255 + A - 1) / A;
    const __m128i Faints = _mm_set1_epi32(Faint);
    auto* Out = pixman_image_get_data(Frame.Image);
    const uint32_t* From = T.Samples.data();
    for (const Row& R : T.Rows) {
      const int Y = Oy + R.Y, L = std::max(0, Ox + R.L), End = std::min(SurfaceW, Ox + R.R);
      const uint32_t* Sample = From + (L - (Ox + R.L));
      From += R.R - R.L;
      if (Y < 0 || Y >= SurfaceH) continue;
      uint32_t* To = Out + size_t(Y) * SurfaceW;
      int X = L;
      for (; X + 4 <= End; X += 4, Sample += 4) {
        const __m128i P = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Sample));
        if (_mm_movemask_epi8(_mm_cmplt_epi32(_mm_srli_epi32(P, 24), Faints)) == 0xFFFF) continue;
        const __m128i Pl = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(P, Zero), Factor));
        const __m128i Ph = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(P, Zero), Factor));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(To + X),
                         Over(Pl, Ph, _mm_loadu_si128(reinterpret_cast<const __m128i*>(To + X))));
      }
      for (; X < End; ++X, ++Sample) {
        if (int(*Sample >> 24) < Faint) continue;
        const __m128i Pl = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(*Sample)), Zero), Factor));
        To[X] = uint32_t(_mm_cvtsi128_si32(Over(Pl, Zero, _mm_cvtsi32_si128(int(To[X])))));
      }
    }
  }

  // A turned quad sampled bilinearly over the covered rows only, one pixel per SSE2 step.
  // Pixman's general path fetches and blends the whole bounding box, at about twice the
  // cost; small turned pictures (particles, swinging buttons and banners) are the largest
  // cost of a frame.
  // With Kept, each covered pixel's sample, at full cover, goes there in row order instead.
  void TurnBilinear(pixman_image_t* Source, const Affine& M, uint8_t Alpha, uint32_t* Kept = nullptr) {
    const bool Opaque = pixman_image_get_format(Source) != PIXMAN_a8r8g8b8;
    if (Kept)
      Opaque ? TurnBilinear<true, true>(Source, M, Alpha, Kept) : TurnBilinear<false, true>(Source, M, Alpha, Kept);
    else
      Opaque ? TurnBilinear<true, false>(Source, M, Alpha, Kept) : TurnBilinear<false, false>(Source, M, Alpha, Kept);
  }

  template <bool Opaque, bool Keep>
  void TurnBilinear(pixman_image_t* Source, const Affine& M, uint8_t Alpha, uint32_t* Kept) {
    const auto* Texels = pixman_image_get_data(Source);
    const int W = pixman_image_get_width(Source), H = pixman_image_get_height(Source);
    const int Stride = pixman_image_get_stride(Source) / 4;
    auto* Out = pixman_image_get_data(Frame.Image);
    constexpr double One = 65536;
    const int64_t StepU = std::llround(M.A * One), StepV = std::llround(M.D * One);
    const __m128i Zero = _mm_setzero_si128(), Full = _mm_set1_epi16(255), Opacity = _mm_set1_epi16(Alpha);
    const __m128i Solid = _mm_set1_epi32(Opaque ? int(0xFF000000u) : 0);
    // A pixel under texels below Faint cover changes by less than 4/255 at this opacity
    // (premultiplied, their colour is as faint), so it is left as it is: most of a soft,
    // fading particle's square is skipped. A power of two, for one test of all four texels.
    uint32_t Faint = 256;
    while (Faint > 1 && (Faint - 1) * Alpha >= 4 * 255) Faint /= 2;
    if (Faint == 256) return;
    const uint32_t FaintBits = Keep ? 1u << 24 : Faint << 24;
    for (const Row& R : Rows) {
      // Texel space of the first centre, half a texel back to the sample grid.
      const double Xc = R.L + 0.5, Yc = R.Y + 0.5;
      int64_t U = std::llround((M.A * Xc + M.B * Yc + M.Tx - 0.5) * One);
      int64_t V = std::llround((M.D * Xc + M.E * Yc + M.Ty - 0.5) * One);
      uint32_t* To = Out + size_t(R.Y) * SurfaceW;
      for (int X = R.L; X < R.R; ++X, U += StepU, V += StepV) {
        const int64_t Iu = U >> 16, Iv = V >> 16;
        __m128i T, B;  // left and right texel of the row above and below
        if (uint64_t(Iu) < uint64_t(W - 1) && uint64_t(Iv) < uint64_t(H - 1)) {
          const uint32_t* At = Texels + size_t(Iv) * Stride + Iu;
          T = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(At));
          B = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(At + Stride));
        } else {
          auto Clamp = [](int64_t I, int Size) { return size_t(std::clamp<int64_t>(I, 0, Size - 1)); };
          const size_t U0 = Clamp(Iu, W), U1 = Clamp(Iu + 1, W);
          const uint32_t* Top = Texels + Clamp(Iv, H) * Stride;
          const uint32_t* Bottom = Texels + Clamp(Iv + 1, H) * Stride;
          T = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(Top[U0])), _mm_cvtsi32_si128(int(Top[U1])));
          B = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(Bottom[U0])), _mm_cvtsi32_si128(int(Bottom[U1])));
        }
        if (Opaque) {
          T = _mm_or_si128(T, Solid), B = _mm_or_si128(B, Solid);
        } else {
          __m128i Any = _mm_or_si128(T, B);
          Any = _mm_or_si128(Any, _mm_srli_si128(Any, 4));
          if (uint32_t(_mm_cvtsi128_si32(Any)) < FaintBits) {
            if (Keep) *Kept++ = 0;
            continue;
          }
        }
        // The two rows blended at 7 bits of weight, then the two columns in one multiply-add.
        const int Wu = int(U >> 9 & 127), Wv = int(V >> 9 & 127);
        const __m128i Rows2 = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(T, Zero), _mm_set1_epi16(short(128 - Wv))),
                                            _mm_mullo_epi16(_mm_unpacklo_epi8(B, Zero), _mm_set1_epi16(short(Wv))));
        const __m128i Columns = _mm_unpacklo_epi16(Rows2, _mm_srli_si128(Rows2, 8));
        const __m128i Sum = _mm_madd_epi16(Columns, _mm_set1_epi32(Wu << 16 | (128 - Wu)));
        __m128i P = _mm_srli_epi32(_mm_add_epi32(Sum, _mm_set1_epi32(1 << 13)), 14);
        P = _mm_packs_epi32(P, P);
        if (Keep) {
          *Kept++ = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(P, Zero)));
          continue;
        }
        if (Alpha != 255) P = Div255(_mm_mullo_epi16(P, Opacity));
        const __m128i Behind = _mm_sub_epi16(Full, _mm_shufflelo_epi16(P, 0xFF));
        const __m128i Back = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(To[X])), Zero), Behind));
        To[X] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_add_epi16(P, Back), Zero)));
      }
    }
  }

  // A magnified turned quad (the turning sky): sampled at the nearest texel at half the
  // resolution, a quarter of the pixels, each sample standing for two by two pixels of the
  // frame. On a soft magnified picture this is closer to the GL path than smoothing it twice,
  // and it costs a third of pixman's transformed fetch and blend.
  void HalfResolution(pixman_image_t* Source, const Affine& M, uint8_t Alpha, int X0, int Y0, int X1) {
    const auto* Texels = pixman_image_get_data(Source);
    const int W = pixman_image_get_width(Source), H = pixman_image_get_height(Source);
    const int Stride = pixman_image_get_stride(Source) / 4;
    const uint32_t Solid = pixman_image_get_format(Source) == PIXMAN_a8r8g8b8 ? 0 : 0xFF000000u;
    auto* Out = pixman_image_get_data(Frame.Image);
    // Sample I of a row stands for frame pixels X0 + 2I and X0 + 2I + 1 and is taken where they meet.
    const int Samples = (X1 - X0 + 1) / 2, Width = 2 * Samples;
    Sampled.resize(size_t(Width) + 4);
    constexpr double One = 65536;
    const int64_t StepU = std::llround(2 * M.A * One), StepV = std::llround(2 * M.D * One);
    const __m128i Zero = _mm_setzero_si128(), Opacity = _mm_set1_epi16(Alpha);
    // A frame channel C under opaque samples keeps (C + 1/2) x Keep / 256, in 16-bit lanes of
    // C x 256 + 128: C x (255 - Alpha) / 255, rounded.
    const __m128i Keep = _mm_set1_epi16(short(std::lround((255 - Alpha) * 256 / 255.0))), Half = _mm_set1_epi8(char(0x80));
    int SampledRow = -1, Copied = 0;
    for (const Row& R : Rows) {
      const int Pair = (R.Y - Y0) / 2;
      if (Pair != SampledRow) {
        SampledRow = Pair;
        const double Xs = X0 + 1, Ys = Y0 + 2 * Pair + 1;
        int64_t U = std::llround((M.A * Xs + M.B * Ys + M.Tx) * One), V = std::llround((M.D * Xs + M.E * Ys + M.Ty) * One);
        uint32_t* To = Sampled.data();
        for (int I = 0; I < Samples; ++I, U += StepU, V += StepV) {
          const int Tu = int(std::clamp<int64_t>(U >> 16, 0, W - 1)), Tv = int(std::clamp<int64_t>(V >> 16, 0, H - 1));
          To[2 * I] = Texels[size_t(Tv) * Stride + Tu] | Solid;
        }
        // At the opacity, premultiplied; each sample then doubled along the row.
        for (int I = 0; I < Width; I += 4) {
          const __m128i P = _mm_loadu_si128(reinterpret_cast<const __m128i*>(To + I));
          const __m128i Lo = Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(P, Zero), Opacity));
          const __m128i Hi = Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(P, Zero), Opacity));
          const __m128i Even = _mm_shuffle_epi32(_mm_packus_epi16(Lo, Hi), 0xA0);
          _mm_storeu_si128(reinterpret_cast<__m128i*>(To + I), Even);
        }
      }
      const uint32_t* From = Sampled.data() + (R.L - X0);
      uint32_t* To = Out + size_t(R.Y) * SurfaceW;
      // A pending copy is made on the way: rows and ends the quad misses are copied as they are.
      const uint32_t* Under = To;
      if (Behind) {
        CopyBehind(Copied, R.Y);
        Under = Behind + size_t(R.Y) * BehindStride;
        std::memcpy(To, Under, size_t(R.L) * 4);
        std::memcpy(To + R.R, Under + R.R, size_t(SurfaceW - R.R) * 4);
        Copied = R.Y + 1;
      }
      int X = R.L;
      auto Blend = [&](__m128i P, __m128i D) {
        if (Solid) {
          // All samples have the same cover: one high multiply per channel of the frame.
          const __m128i Dl = _mm_mulhi_epu16(_mm_unpacklo_epi8(Half, D), Keep);
          const __m128i Dh = _mm_mulhi_epu16(_mm_unpackhi_epi8(Half, D), Keep);
          return _mm_adds_epu8(P, _mm_packus_epi16(Dl, Dh));
        }
        return Over(_mm_unpacklo_epi8(P, Zero), _mm_unpackhi_epi8(P, Zero), D);
      };
      for (; X + 4 <= R.R; X += 4, From += 4) {
        const __m128i D = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Under + X));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(To + X), Blend(_mm_loadu_si128(reinterpret_cast<const __m128i*>(From)), D));
      }
      for (; X < R.R; ++X, ++From)
        To[X] = uint32_t(_mm_cvtsi128_si32(Blend(_mm_cvtsi32_si128(int(*From)), _mm_cvtsi32_si128(int(Under[X])))));
    }
    if (Behind) CopyBehind(Copied, SurfaceH);
  }

  static void Prepare(pixman_image_t* Image) {
    // Texels beyond the edge repeat it, as GL clamps to the edge.
    pixman_image_set_repeat(Image, PIXMAN_REPEAT_PAD);
  }

  static pixman_format_code_t PixmanFormat(uint32_t SdlFormat) {
    switch (SdlFormat) {
      case SDL_PIXELFORMAT_RGB888:
      case SDL_PIXELFORMAT_ARGB8888:
        return PIXMAN_x8r8g8b8;
      case SDL_PIXELFORMAT_BGR888:
      case SDL_PIXELFORMAT_ABGR8888:
        return PIXMAN_x8b8g8r8;
      case SDL_PIXELFORMAT_RGB565:
        return PIXMAN_r5g6b5;
      default:
        return pixman_format_code_t(0);
    }
  }

  // The largest surface-shaped area of a W x H window, centred.
  void Layout(int W, int H, int& L, int& T, int& SW, int& SH) const {
    if (W <= 0 || H <= 0) {
      L = T = 0, SW = SurfaceW, SH = SurfaceH;
      return;
    }
    if (int64_t(W) * SurfaceH <= int64_t(H) * SurfaceW) {
      SW = W;
      SH = std::max(1, int(std::lround(double(W) * SurfaceH / SurfaceW)));
    } else {
      SH = H;
      SW = std::max(1, int(std::lround(double(H) * SurfaceW / SurfaceH)));
    }
    L = (W - SW) / 2;
    T = (H - SH) / 2;
  }

  void Fit(int W, int H) { Layout(W, H, Left, Top, ShownW, ShownH); }

  pixman_image_t* TintedCopy(PixmanImage& I, SDL_Color Colour) {
    const uint32_t Key = uint32_t(Colour.r) << 16 | uint32_t(Colour.g) << 8 | Colour.b;
    for (auto It = I.Tints.begin(); It != I.Tints.end(); ++It)
      if (It->Tint == Key) {
        I.Tints.splice(I.Tints.begin(), I.Tints, It);
        return It->Image.Image;
      }
    const int W = I.Width, H = I.Height;
    const size_t Count = size_t(W) * H;
    // The copy owns its pixels through pixman's destroy callback.
    auto* Pixels = new uint32_t[Count];
    for (size_t K = 0; K < Count; ++K) {
      const uint32_t P = I.Pixels[K];
      auto Mul = [](uint32_t V, uint8_t T) { return (V * T + 127) / 255; };
      Pixels[K] = (P & 0xFF000000u) | Mul(P >> 16 & 255, Colour.r) << 16 | Mul(P >> 8 & 255, Colour.g) << 8 |
                  Mul(P & 255, Colour.b);
    }
    pixman_image_t* Copy =
        pixman_image_create_bits_no_clear(pixman_image_get_format(I.Image.Image), W, H, Pixels, W * 4);
    if (!Copy) {
      delete[] Pixels;
      throw std::runtime_error("cannot tint a " + std::to_string(W) + " x " + std::to_string(H) + " picture");
    }
    pixman_image_set_destroy_function(Copy, [](pixman_image_t*, void* Data) { delete[] static_cast<uint32_t*>(Data); },
                                      Pixels);
    Prepare(Copy);
    ++Copies;
    I.Tints.push_front({Key, PixmanRef(Copy)});
    if (I.Tints.size() > TintsKept) I.Tints.pop_back();
    return Copy;
  }

  // A copy at about this scale (a turned quad's corners carry float noise); the scale is
  // set to the copy's own.
  pixman_image_t* ResizedCopy(PixmanImage& I, pixman_image_t* Source, uint32_t Tint, double& ScaleX, double& ScaleY) {
    auto Near = [](double A, double B) { return std::fabs(A - B) <= 1e-4 * B; };
    for (auto It = I.Sizes.begin(); It != I.Sizes.end(); ++It)
      if (It->Tint == Tint && Near(ScaleX, It->ScaleX) && Near(ScaleY, It->ScaleY)) {
        I.Sizes.splice(I.Sizes.begin(), I.Sizes, It);
        ScaleX = It->ScaleX, ScaleY = It->ScaleY;
        return It->Image.Image;
      }
    const int W = std::max(1, int(std::ceil(I.Width * ScaleX - 1e-3))), H = std::max(1, int(std::ceil(I.Height * ScaleY - 1e-3)));
    pixman_image_t* Copy = pixman_image_create_bits(pixman_image_get_format(I.Image.Image), W, H, nullptr, 0);
    if (!Copy) throw std::runtime_error("cannot resize a picture to " + std::to_string(W) + " x " + std::to_string(H));
    pixman_transform_t T;
    pixman_transform_init_scale(&T, pixman_double_to_fixed(1 / ScaleX), pixman_double_to_fixed(1 / ScaleY));
    pixman_image_set_transform(Source, &T);
    pixman_image_set_filter(Source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_composite32(PIXMAN_OP_SRC, Source, nullptr, Copy, 0, 0, 0, 0, 0, 0, W, H);
    pixman_image_set_transform(Source, nullptr);
    Prepare(Copy);
    ++Copies;
    I.Sizes.push_front({Tint, ScaleX, ScaleY, W, H, PixmanRef(Copy)});
    if (I.Sizes.size() > SizesKept) I.Sizes.pop_back();
    return Copy;
  }

  SDL_Window* Window = nullptr;
  int SurfaceW = 0, SurfaceH = 0;
  int Left = 0, Top = 0, ShownW = 0, ShownH = 0;
  std::vector<uint32_t> FramePixels;  // the frame, unless it is drawn on the window directly
  PixmanRef Frame;
  std::vector<uint32_t> MaskBits;  // the coverage of a turned quad, reused
  std::vector<Row> Rows;           // the same as spans
  std::vector<uint32_t> Sampled;   // a row of a magnified turn at half resolution
  int64_t Frames = 0;
  std::vector<std::weak_ptr<KeptTurn>> SlowHeld;
  pixman_color_t ClearColour{};
  bool ClearPending = false;
  const uint32_t* Behind = nullptr;  // the picture the frame is, not yet copied
  int BehindStride = 0;
  PixmanRef BehindImage;             // holding those pixels
  int MaskX = 0, MaskY = 0;
};

}  // namespace

std::unique_ptr<Canvas> MakePixmanCanvas() { return std::make_unique<PixmanCanvas>(); }

}  // namespace pikora
