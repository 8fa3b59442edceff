// Drawing and file-format helpers shared by the picture generator and the contact sheet.
// Everything here is deterministic: fixed seeds, fixed font options, no timestamps.
#pragma once

#include <cairo.h>
#include <jpeglib.h>
#include <squish.h>
#include <zip.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kit {

using Bytes = std::vector<uint8_t>;

// --- Small numeric helpers -------------------------------------------------------------------

inline double Clamp01(double V) { return V < 0 ? 0 : (V > 1 ? 1 : V); }
inline double Smooth(double E0, double E1, double X) {
  double T = Clamp01((X - E0) / (E1 - E0));
  return T * T * (3 - 2 * T);
}
inline double Mix(double A, double B, double T) { return A + (B - A) * T; }

struct Rgb {
  double R, G, B;
};
// #RRGGBB as a colour with components 0..1.
inline Rgb Hex(uint32_t V) { return {((V >> 16) & 255) / 255.0, ((V >> 8) & 255) / 255.0, (V & 255) / 255.0}; }
inline Rgb MixRgb(Rgb A, Rgb B, double T) { return {Mix(A.R, B.R, T), Mix(A.G, B.G, T), Mix(A.B, B.B, T)}; }

// SplitMix64: the same numbers on every platform and compiler.
struct Random {
  uint64_t State;
  explicit Random(uint64_t Seed) : State(Seed) {}
  uint64_t Next() {
    uint64_t Z = (State += 0x9E3779B97F4A7C15ull);
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    return Z ^ (Z >> 31);
  }
  double Uniform() { return (Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double A, double B) { return A + (B - A) * Uniform(); }
};

// Smooth value noise on an integer lattice, hashed from the seed.
inline double LatticeValue(int X, int Y, uint32_t Seed) {
  uint32_t H = static_cast<uint32_t>(X) * 374761393u + static_cast<uint32_t>(Y) * 668265263u + Seed * 2246822519u;
  H = (H ^ (H >> 13)) * 1274126177u;
  H ^= H >> 16;
  return (H & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}
inline double ValueNoise(double X, double Y, uint32_t Seed) {
  int X0 = static_cast<int>(std::floor(X)), Y0 = static_cast<int>(std::floor(Y));
  double Fx = X - X0, Fy = Y - Y0;
  double Sx = Fx * Fx * (3 - 2 * Fx), Sy = Fy * Fy * (3 - 2 * Fy);
  double A = LatticeValue(X0, Y0, Seed), B = LatticeValue(X0 + 1, Y0, Seed);
  double C = LatticeValue(X0, Y0 + 1, Seed), D = LatticeValue(X0 + 1, Y0 + 1, Seed);
  return Mix(Mix(A, B, Sx), Mix(C, D, Sx), Sy);
}
inline double Fbm(double X, double Y, uint32_t Seed, int Octaves) {
  double Sum = 0, Amp = 0.5, Norm = 0;
  for (int I = 0; I < Octaves; ++I) {
    Sum += Amp * ValueNoise(X, Y, Seed + 17u * I);
    Norm += Amp;
    X *= 2.03;
    Y *= 2.03;
    Amp *= 0.5;
  }
  return Sum / Norm;
}

// --- Canvas: a cairo ARGB32 surface with its context ------------------------------------------

struct Canvas {
  int W = 0, H = 0;
  cairo_surface_t* Surface = nullptr;
  cairo_t* Cr = nullptr;

  Canvas(int Width, int Height) : W(Width), H(Height) {
    Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, W, H);
    Cr = cairo_create(Surface);
    cairo_font_options_t* Options = cairo_font_options_create();
    cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(Cr, Options);
    cairo_font_options_destroy(Options);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
  }
  uint8_t* Data() {
    cairo_surface_flush(Surface);
    return cairo_image_surface_get_data(Surface);
  }
  int Stride() const { return cairo_image_surface_get_stride(Surface); }
  void Dirty() { cairo_surface_mark_dirty(Surface); }

  // Straight (not premultiplied) RGBA, row by row.
  Bytes Rgba() {
    Bytes Out(static_cast<size_t>(W) * H * 4);
    uint8_t* D = Data();
    for (int Y = 0; Y < H; ++Y) {
      const uint32_t* Row = reinterpret_cast<const uint32_t*>(D + Y * Stride());
      for (int X = 0; X < W; ++X) {
        uint32_t P = Row[X];
        uint32_t A = P >> 24, R = (P >> 16) & 255, G = (P >> 8) & 255, B = P & 255;
        uint8_t* O = &Out[(static_cast<size_t>(Y) * W + X) * 4];
        if (A == 0) {
          O[0] = O[1] = O[2] = O[3] = 0;
        } else {
          O[0] = static_cast<uint8_t>((R * 255 + A / 2) / A);
          O[1] = static_cast<uint8_t>((G * 255 + A / 2) / A);
          O[2] = static_cast<uint8_t>((B * 255 + A / 2) / A);
          O[3] = static_cast<uint8_t>(A);
        }
      }
    }
    return Out;
  }
};

inline void SetColour(cairo_t* Cr, Rgb C, double A = 1.0) { cairo_set_source_rgba(Cr, C.R, C.G, C.B, A); }

inline void RoundedRect(cairo_t* Cr, double X, double Y, double W, double H, double R) {
  R = std::min({R, W / 2, H / 2});
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, X + W - R, Y + R, R, -M_PI / 2, 0);
  cairo_arc(Cr, X + W - R, Y + H - R, R, 0, M_PI / 2);
  cairo_arc(Cr, X + R, Y + H - R, R, M_PI / 2, M_PI);
  cairo_arc(Cr, X + R, Y + R, R, M_PI, 3 * M_PI / 2);
  cairo_close_path(Cr);
}

// Three box-blur passes over a premultiplied surface: close to a gaussian of about Radius.
inline void Blur(Canvas& C, int Radius) {
  if (Radius < 1) return;
  uint8_t* D = C.Data();
  int W = C.W, H = C.H, S = C.Stride();
  std::vector<int> Line(std::max(W, H) * 4);
  auto Pass = [&](bool Horizontal) {
    int Count = Horizontal ? H : W, Len = Horizontal ? W : H;
    for (int I = 0; I < Count; ++I) {
      auto At = [&](int K) -> uint8_t* { return Horizontal ? D + I * S + K * 4 : D + K * S + I * 4; };
      for (int K = 0; K < Len; ++K)
        for (int Ch = 0; Ch < 4; ++Ch) Line[K * 4 + Ch] = At(K)[Ch];
      for (int Ch = 0; Ch < 4; ++Ch) {
        int Sum = 0;
        for (int K = -Radius; K <= Radius; ++K) Sum += Line[std::clamp(K, 0, Len - 1) * 4 + Ch];
        for (int K = 0; K < Len; ++K) {
          At(K)[Ch] = static_cast<uint8_t>(Sum / (2 * Radius + 1));
          Sum += Line[std::clamp(K + Radius + 1, 0, Len - 1) * 4 + Ch] - Line[std::clamp(K - Radius, 0, Len - 1) * 4 + Ch];
        }
      }
    }
  };
  for (int Round = 0; Round < 3; ++Round) {
    Pass(true);
    Pass(false);
  }
  C.Dirty();
}

// Paints a soft shadow of whatever path Build draws, blurred, onto the target.
inline void SoftShadow(Canvas& Target, const std::function<void(cairo_t*)>& Build, double Dx, double Dy, int Radius,
                       Rgb Colour, double Alpha) {
  Canvas Shadow(Target.W, Target.H);
  cairo_translate(Shadow.Cr, Dx, Dy);
  Build(Shadow.Cr);
  SetColour(Shadow.Cr, Colour, Alpha);
  cairo_fill(Shadow.Cr);
  Blur(Shadow, Radius);
  cairo_save(Target.Cr);
  cairo_identity_matrix(Target.Cr);
  cairo_set_source_surface(Target.Cr, Shadow.Surface, 0, 0);
  cairo_paint(Target.Cr);
  cairo_restore(Target.Cr);
}

// --- Text -----------------------------------------------------------------------------------

inline void UseFont(cairo_t* Cr, double Size, bool Bold = true, const char* Face = "DejaVu Sans") {
  cairo_select_font_face(Cr, Face, CAIRO_FONT_SLANT_NORMAL, Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(Cr, Size);
}

// Advance width of a text drawn with extra letter spacing.
inline double SpacedWidth(cairo_t* Cr, const std::string& Text, double Spacing) {
  double W = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    cairo_text_extents_t E;
    std::string One(1, Text[I]);
    cairo_text_extents(Cr, One.c_str(), &E);
    W += E.x_advance + (I + 1 < Text.size() ? Spacing : 0);
  }
  return W;
}

// Adds the outline of a letter-spaced text to the current path, its baseline starting at (X, Y).
inline void SpacedTextPath(cairo_t* Cr, const std::string& Text, double X, double Y, double Spacing) {
  for (char Ch : Text) {
    std::string One(1, Ch);
    cairo_text_extents_t E;
    cairo_text_extents(Cr, One.c_str(), &E);
    cairo_move_to(Cr, X, Y);
    cairo_text_path(Cr, One.c_str());
    X += E.x_advance + Spacing;
  }
}

// Banner-style text: soft drop shadow, dark rim, light face; centred on (Cx, baseline Y).
inline void RimmedText(Canvas& C, const std::string& Text, double Cx, double Baseline, double Size, double Spacing,
                       double Rim, Rgb Face, Rgb RimColour, double ShadowAlpha) {
  UseFont(C.Cr, Size);
  double X = Cx - SpacedWidth(C.Cr, Text, Spacing) / 2;
  auto Path = [&](cairo_t* Cr) {
    UseFont(Cr, Size);
    SpacedTextPath(Cr, Text, X, Baseline, Spacing);
  };
  if (ShadowAlpha > 0) {
    SoftShadow(
        C,
        [&](cairo_t* Cr) {
          Path(Cr);
          cairo_set_line_width(Cr, Rim * 2);
          cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
          cairo_stroke_preserve(Cr);
        },
        Size * 0.06, Size * 0.09, static_cast<int>(std::max(2.0, Size * 0.08)), Hex(0x0A1830), ShadowAlpha);
  }
  cairo_new_path(C.Cr);
  Path(C.Cr);
  cairo_set_line_width(C.Cr, Rim * 2);
  cairo_set_line_join(C.Cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(C.Cr, RimColour);
  cairo_stroke_preserve(C.Cr);
  // Light from the top left: the face is a touch brighter at the top.
  cairo_text_extents_t E;
  cairo_text_extents(C.Cr, "H", &E);
  cairo_pattern_t* G = cairo_pattern_create_linear(0, Baseline + E.y_bearing, 0, Baseline);
  cairo_pattern_add_color_stop_rgb(G, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(G, 1, Face.R, Face.G, Face.B);
  cairo_set_source(C.Cr, G);
  cairo_fill(C.Cr);
  cairo_pattern_destroy(G);
}

// --- Alpha edge care --------------------------------------------------------------------------

// Gives fully transparent pixels the colour of their nearest visible neighbours, so that
// filtered sampling at the edge of a shape does not pull in black.
inline void BleedColour(Bytes& Rgba, int W, int H) {
  std::vector<uint8_t> Known(static_cast<size_t>(W) * H);
  double Sum[3] = {0, 0, 0};
  double Weight = 0;
  for (size_t I = 0; I < Known.size(); ++I) {
    Known[I] = Rgba[I * 4 + 3] > 0;
    if (Known[I]) {
      double A = Rgba[I * 4 + 3];
      for (int C = 0; C < 3; ++C) Sum[C] += Rgba[I * 4 + C] * A;
      Weight += A;
    }
  }
  for (int Pass = 0; Pass < 6; ++Pass) {
    std::vector<uint8_t> Next = Known;
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        size_t I = static_cast<size_t>(Y) * W + X;
        if (Known[I]) continue;
        int Acc[3] = {0, 0, 0}, N = 0;
        for (int Dy = -1; Dy <= 1; ++Dy)
          for (int Dx = -1; Dx <= 1; ++Dx) {
            int Nx = X + Dx, Ny = Y + Dy;
            if (Nx < 0 || Ny < 0 || Nx >= W || Ny >= H) continue;
            size_t J = static_cast<size_t>(Ny) * W + Nx;
            if (!Known[J]) continue;
            for (int C = 0; C < 3; ++C) Acc[C] += Rgba[J * 4 + C];
            ++N;
          }
        if (N == 0) continue;
        for (int C = 0; C < 3; ++C) Rgba[I * 4 + C] = static_cast<uint8_t>(Acc[C] / N);
        Next[I] = 1;
      }
    Known.swap(Next);
  }
  for (size_t I = 0; I < Known.size(); ++I)
    if (!Known[I])
      for (int C = 0; C < 3; ++C) Rgba[I * 4 + C] = static_cast<uint8_t>(Weight > 0 ? Sum[C] / Weight : 0);
}

// --- Writers --------------------------------------------------------------------------------

inline void Put16(Bytes& B, uint32_t V) {
  B.push_back(V & 255);
  B.push_back((V >> 8) & 255);
}
inline void Put32(Bytes& B, uint32_t V) {
  Put16(B, V & 0xFFFF);
  Put16(B, V >> 16);
}

enum class DdsKind { Dxt5, Rgba32 };

// A DDS file without mipmaps: DXT5 blocks, or 32-bit BGRA rows.
inline Bytes EncodeDds(Bytes Rgba, int W, int H, DdsKind Kind) {
  BleedColour(Rgba, W, H);
  Bytes Out = {'D', 'D', 'S', ' '};
  const uint32_t Caps = 0x1, Height = 0x2, Width = 0x4, Pitch = 0x8, PixelFormat = 0x1000, LinearSize = 0x80000;
  bool Dxt = Kind == DdsKind::Dxt5;
  Put32(Out, 124);
  Put32(Out, Caps | Height | Width | PixelFormat | (Dxt ? LinearSize : Pitch));
  Put32(Out, H);
  Put32(Out, W);
  Put32(Out, Dxt ? static_cast<uint32_t>(squish::GetStorageRequirements(W, H, squish::kDxt5)) : W * 4);
  Put32(Out, 0);  // depth
  Put32(Out, 0);  // mipmaps
  for (int I = 0; I < 11; ++I) Put32(Out, 0);
  Put32(Out, 32);
  if (Dxt) {
    Put32(Out, 0x4);  // four-cc
    Out.insert(Out.end(), {'D', 'X', 'T', '5'});
    for (int I = 0; I < 5; ++I) Put32(Out, 0);
  } else {
    Put32(Out, 0x41);  // RGB with alpha
    Put32(Out, 0);
    Put32(Out, 32);
    Put32(Out, 0x00FF0000);
    Put32(Out, 0x0000FF00);
    Put32(Out, 0x000000FF);
    Put32(Out, 0xFF000000);
  }
  Put32(Out, 0x1000);  // texture
  for (int I = 0; I < 4; ++I) Put32(Out, 0);
  if (Dxt) {
    size_t Start = Out.size();
    Out.resize(Start + squish::GetStorageRequirements(W, H, squish::kDxt5));
    squish::CompressImage(Rgba.data(), W, H, Out.data() + Start, squish::kDxt5 | squish::kColourClusterFit);
  } else {
    for (size_t I = 0; I < Rgba.size(); I += 4) Out.insert(Out.end(), {Rgba[I + 2], Rgba[I + 1], Rgba[I], Rgba[I + 3]});
  }
  return Out;
}

inline Bytes EncodeJpeg(Canvas& C, int Quality) {
  Bytes Rgb;
  Rgb.reserve(static_cast<size_t>(C.W) * C.H * 3);
  Bytes Rgba = C.Rgba();
  for (size_t I = 0; I < Rgba.size(); I += 4) Rgb.insert(Rgb.end(), {Rgba[I], Rgba[I + 1], Rgba[I + 2]});
  jpeg_compress_struct Info;
  jpeg_error_mgr Err;
  Info.err = jpeg_std_error(&Err);
  jpeg_create_compress(&Info);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = C.W;
  Info.image_height = C.H;
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, TRUE);
  Info.optimize_coding = TRUE;
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Row = &Rgb[static_cast<size_t>(Info.next_scanline) * C.W * 3];
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  Bytes Out(Buffer, Buffer + Size);
  free(Buffer);
  return Out;
}

inline Bytes EncodePng(Canvas& C) {
  Bytes Out;
  cairo_surface_write_to_png_stream(
      C.Surface,
      [](void* Closure, const unsigned char* Data, unsigned int Length) {
        auto* B = static_cast<Bytes*>(Closure);
        B->insert(B->end(), Data, Data + Length);
        return CAIRO_STATUS_SUCCESS;
      },
      &Out);
  return Out;
}

// 24-bit BMP. Pixels whose alpha is below half become the colour key magenta; the rest are
// written opaque, so the key never blends into a fringe.
inline Bytes EncodeKeyedBmp(Canvas& C) {
  Bytes Rgba = C.Rgba();
  int RowBytes = (C.W * 3 + 3) & ~3;
  Bytes Out = {'B', 'M'};
  Put32(Out, 54 + RowBytes * C.H);
  Put32(Out, 0);
  Put32(Out, 54);
  Put32(Out, 40);
  Put32(Out, C.W);
  Put32(Out, C.H);
  Put16(Out, 1);
  Put16(Out, 24);
  Put32(Out, 0);
  Put32(Out, RowBytes * C.H);
  Put32(Out, 2835);
  Put32(Out, 2835);
  Put32(Out, 0);
  Put32(Out, 0);
  for (int Y = C.H - 1; Y >= 0; --Y) {
    size_t Start = Out.size();
    for (int X = 0; X < C.W; ++X) {
      const uint8_t* P = &Rgba[(static_cast<size_t>(Y) * C.W + X) * 4];
      if (P[3] < 128)
        Out.insert(Out.end(), {255, 0, 255});
      else
        Out.insert(Out.end(), {P[2], P[1], P[0]});
    }
    Out.resize(Start + RowBytes, 0);
  }
  return Out;
}

// --- Readers (for the contact sheet) --------------------------------------------------------

struct Image {
  int W = 0, H = 0;
  Bytes Rgba;  // straight alpha
};

inline Image DecodeJpeg(const Bytes& Data) {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Err;
  Info.err = jpeg_std_error(&Err);
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, Data.data(), Data.size());
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Info);
  Image Img{static_cast<int>(Info.output_width), static_cast<int>(Info.output_height), {}};
  Img.Rgba.resize(static_cast<size_t>(Img.W) * Img.H * 4);
  Bytes Row(Img.W * 3);
  while (Info.output_scanline < Info.output_height) {
    int Y = Info.output_scanline;
    JSAMPROW R = Row.data();
    jpeg_read_scanlines(&Info, &R, 1);
    for (int X = 0; X < Img.W; ++X) {
      uint8_t* O = &Img.Rgba[(static_cast<size_t>(Y) * Img.W + X) * 4];
      O[0] = Row[X * 3];
      O[1] = Row[X * 3 + 1];
      O[2] = Row[X * 3 + 2];
      O[3] = 255;
    }
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  return Img;
}

inline uint32_t Get32(const Bytes& B, size_t At) {
  return B[At] | (B[At + 1] << 8) | (B[At + 2] << 16) | (static_cast<uint32_t>(B[At + 3]) << 24);
}

// Reads what EncodeDds and EncodeKeyedBmp write (magenta becomes transparent).
inline Image DecodeDds(const Bytes& Data) {
  Image Img;
  Img.H = static_cast<int>(Get32(Data, 12));
  Img.W = static_cast<int>(Get32(Data, 16));
  Img.Rgba.resize(static_cast<size_t>(Img.W) * Img.H * 4);
  if (Get32(Data, 80) & 0x4) {
    squish::DecompressImage(Img.Rgba.data(), Img.W, Img.H, Data.data() + 128, squish::kDxt5);
  } else {
    for (size_t I = 0; I < Img.Rgba.size(); I += 4) {
      Img.Rgba[I] = Data[128 + I + 2];
      Img.Rgba[I + 1] = Data[128 + I + 1];
      Img.Rgba[I + 2] = Data[128 + I];
      Img.Rgba[I + 3] = Data[128 + I + 3];
    }
  }
  return Img;
}

inline Image DecodeKeyedBmp(const Bytes& Data) {
  Image Img;
  Img.W = static_cast<int>(Get32(Data, 18));
  Img.H = static_cast<int>(Get32(Data, 22));
  uint32_t Offset = Get32(Data, 10);
  int RowBytes = (Img.W * 3 + 3) & ~3;
  Img.Rgba.resize(static_cast<size_t>(Img.W) * Img.H * 4);
  for (int Y = 0; Y < Img.H; ++Y)
    for (int X = 0; X < Img.W; ++X) {
      const uint8_t* P = &Data[Offset + static_cast<size_t>(Img.H - 1 - Y) * RowBytes + X * 3];
      uint8_t* O = &Img.Rgba[(static_cast<size_t>(Y) * Img.W + X) * 4];
      bool Key = P[2] == 255 && P[1] == 0 && P[0] == 255;
      O[0] = P[2];
      O[1] = P[1];
      O[2] = P[0];
      O[3] = Key ? 0 : 255;
    }
  return Img;
}

inline Image DecodePng(const Bytes& Data) {
  struct Reader {
    const Bytes* B;
    size_t At;
  } R{&Data, 0};
  cairo_surface_t* S = cairo_image_surface_create_from_png_stream(
      [](void* Closure, unsigned char* Out, unsigned int Length) {
        auto* Rd = static_cast<Reader*>(Closure);
        if (Rd->At + Length > Rd->B->size()) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(Out, Rd->B->data() + Rd->At, Length);
        Rd->At += Length;
        return CAIRO_STATUS_SUCCESS;
      },
      &R);
  Image Img;
  if (cairo_surface_status(S) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(S);
    throw std::runtime_error("bad PNG");
  }
  Img.W = cairo_image_surface_get_width(S);
  Img.H = cairo_image_surface_get_height(S);
  Canvas C(Img.W, Img.H);
  cairo_set_source_surface(C.Cr, S, 0, 0);
  cairo_paint(C.Cr);
  cairo_surface_destroy(S);
  Img.Rgba = C.Rgba();
  return Img;
}

// A premultiplied cairo surface holding the image, for drawing it elsewhere.
inline cairo_surface_t* ToSurface(const Image& Img) {
  cairo_surface_t* S = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Img.W, Img.H);
  uint8_t* D = cairo_image_surface_get_data(S);
  int Stride = cairo_image_surface_get_stride(S);
  for (int Y = 0; Y < Img.H; ++Y)
    for (int X = 0; X < Img.W; ++X) {
      const uint8_t* P = &Img.Rgba[(static_cast<size_t>(Y) * Img.W + X) * 4];
      uint32_t A = P[3];
      uint32_t V = (A << 24) | ((P[0] * A / 255) << 16) | ((P[1] * A / 255) << 8) | (P[2] * A / 255);
      reinterpret_cast<uint32_t*>(D + Y * Stride)[X] = V;
    }
  cairo_surface_mark_dirty(S);
  return S;
}

// --- Files ----------------------------------------------------------------------------------

inline void WriteFile(const std::filesystem::path& Path, const Bytes& Data) {
  std::filesystem::create_directories(Path.parent_path());
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  Out.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
  if (!Out) throw std::runtime_error("cannot write " + Path.string());
}

// A ZIP with the entries in the given order, deflated, every entry dated 2024-01-01 12:00.
inline void WriteZip(const std::filesystem::path& Path, const std::vector<std::pair<std::string, Bytes>>& Entries) {
  std::filesystem::create_directories(Path.parent_path());
  std::filesystem::remove(Path);
  int Error = 0;
  zip_t* Zip = zip_open(Path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &Error);
  if (!Zip) throw std::runtime_error("cannot create " + Path.string());
  const time_t Fixed = 1704110400;
  for (const auto& [Name, Data] : Entries) {
    zip_source_t* Source = zip_source_buffer(Zip, Data.data(), Data.size(), 0);
    zip_int64_t Index = Source ? zip_file_add(Zip, Name.c_str(), Source, ZIP_FL_ENC_UTF_8) : -1;
    if (Index < 0) {
      zip_source_free(Source);
      zip_discard(Zip);
      throw std::runtime_error("cannot add " + Name);
    }
    zip_set_file_compression(Zip, Index, ZIP_CM_DEFLATE, 9);
    zip_file_set_mtime(Zip, Index, Fixed, 0);
  }
  if (zip_close(Zip) != 0) {
    std::string Message = zip_strerror(Zip);
    zip_discard(Zip);
    throw std::runtime_error("cannot write " + Path.string() + ": " + Message);
  }
}

inline std::vector<std::pair<std::string, Bytes>> ReadZip(const std::filesystem::path& Path) {
  int Error = 0;
  zip_t* Zip = zip_open(Path.c_str(), ZIP_RDONLY, &Error);
  if (!Zip) throw std::runtime_error("cannot open " + Path.string());
  std::vector<std::pair<std::string, Bytes>> Out;
  for (zip_int64_t I = 0; I < zip_get_num_entries(Zip, 0); ++I) {
    zip_stat_t St;
    zip_stat_index(Zip, I, 0, &St);
    Bytes Data(St.size);
    zip_file_t* F = zip_fopen_index(Zip, I, 0);
    zip_fread(F, Data.data(), St.size);
    zip_fclose(F);
    Out.emplace_back(St.name, std::move(Data));
  }
  zip_close(Zip);
  return Out;
}

}  // namespace kit
