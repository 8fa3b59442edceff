// Draws the 26 interface pictures and packs them into "data/game data/pictures.pkr", writes
// the default "data/game data/options.ini", and draws the desktop icons into "dist/icons".
//   make_pictures [source folder]     (default: the current folder)
// The output is the same, byte for byte, on every run.
#include <iconv.h>

#include <iostream>
#include <map>

#include "PictureKit.h"

using namespace kit;

namespace {

// Palette of the art direction.
const Rgb SkyTop = Hex(0x8EC5FF), SkyLow = Hex(0xD6ECFF), DeepBlue = Hex(0x2B4C7E), PanelBlue = Hex(0x1E3557),
          RimBlue = Hex(0xBFE1FF), Orange = Hex(0xFFB347), SunYellow = Hex(0xFFD966), Coral = Hex(0xFF7A7A),
          Green = Hex(0x50C850), TextLight = Hex(0xF0FFFF), InkDark = Hex(0x0E1C33), White = {1, 1, 1};

// A translucent rounded panel: soft shadow, deep-blue body lit from the top left, light rim.
void Panel(Canvas& C, double X, double Y, double W, double H, double R, double BodyAlpha = 0.8, double Shadow = 0.35) {
  if (Shadow > 0)
    SoftShadow(C, [&](cairo_t* Cr) { RoundedRect(Cr, X, Y, W, H, R); }, 3, 4, 5, InkDark, Shadow);
  cairo_t* Cr = C.Cr;
  RoundedRect(Cr, X, Y, W, H, R);
  cairo_pattern_t* G = cairo_pattern_create_linear(X, Y, X + W * 0.3, Y + H);
  cairo_pattern_add_color_stop_rgba(G, 0, DeepBlue.R, DeepBlue.G, DeepBlue.B, BodyAlpha);
  cairo_pattern_add_color_stop_rgba(G, 1, PanelBlue.R, PanelBlue.G, PanelBlue.B, BodyAlpha);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
  // A faint sheen along the top edge.
  cairo_save(Cr);
  RoundedRect(Cr, X, Y, W, H, R);
  cairo_clip(Cr);
  cairo_pattern_t* Sheen = cairo_pattern_create_linear(0, Y, 0, Y + std::min(40.0, H * 0.4));
  cairo_pattern_add_color_stop_rgba(Sheen, 0, 1, 1, 1, 0.10);
  cairo_pattern_add_color_stop_rgba(Sheen, 1, 1, 1, 1, 0);
  cairo_set_source(Cr, Sheen);
  cairo_paint(Cr);
  cairo_pattern_destroy(Sheen);
  cairo_restore(Cr);
  RoundedRect(Cr, X + 1, Y + 1, W - 2, H - 2, R - 1);
  SetColour(Cr, RimBlue, 0.6);
  cairo_set_line_width(Cr, 2);
  cairo_stroke(Cr);
}

// --- Scenery shared by the menu and game backgrounds (800 × 600 design space) ---------------

void SoftCloud(cairo_t* Cr, double X, double Y, double S, double Alpha) {
  const double Puffs[][3] = {{-0.9, 0.15, 0.55}, {-0.35, -0.2, 0.75}, {0.3, -0.3, 0.85}, {0.95, 0.05, 0.6}, {0.1, 0.25, 0.7}};
  for (const auto& P : Puffs) {
    double Px = X + P[0] * S, Py = Y + P[1] * S, R = P[2] * S;
    cairo_pattern_t* G = cairo_pattern_create_radial(Px, Py - R * 0.2, 0, Px, Py, R);
    cairo_pattern_add_color_stop_rgba(G, 0, 1, 1, 1, Alpha);
    cairo_pattern_add_color_stop_rgba(G, 0.6, 1, 1, 1, Alpha * 0.7);
    cairo_pattern_add_color_stop_rgba(G, 1, 1, 1, 1, 0);
    cairo_set_source(Cr, G);
    cairo_arc(Cr, Px, Py, R, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(G);
  }
}

void Hill(cairo_t* Cr, double Base, double Amp, double Phase, double Wave, Rgb Top, Rgb Low) {
  cairo_move_to(Cr, -20, 620);
  for (int X = -20; X <= 820; X += 10) {
    double Y = Base - Amp * (0.6 * std::sin(X / Wave + Phase) + 0.4 * std::sin(X / (Wave * 0.47) + Phase * 1.7));
    cairo_line_to(Cr, X, Y);
  }
  cairo_line_to(Cr, 820, 620);
  cairo_close_path(Cr);
  cairo_pattern_t* G = cairo_pattern_create_linear(0, Base - Amp, 0, 600);
  cairo_pattern_add_color_stop_rgb(G, 0, Top.R, Top.G, Top.B);
  cairo_pattern_add_color_stop_rgb(G, 1, Low.R, Low.G, Low.B);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
}

// Sky, sun glow, clouds and soft hills. Quiet lowers the contrast for the game screens; Deep
// darkens the sky towards the panel blue, so that the light texts the menus write straight onto
// the background stay readable.
void Landscape(cairo_t* Cr, double Quiet, uint64_t Seed, double Deep) {
  Rgb Top = MixRgb(SkyTop, DeepBlue, 0.75 * Deep), Low = MixRgb(SkyLow, DeepBlue, 0.5 * Deep);
  cairo_pattern_t* Sky = cairo_pattern_create_linear(0, 0, 0, 600);
  cairo_pattern_add_color_stop_rgb(Sky, 0, Top.R, Top.G, Top.B);
  cairo_pattern_add_color_stop_rgb(Sky, 0.75, Low.R, Low.G, Low.B);
  cairo_pattern_add_color_stop_rgb(Sky, 1, Low.R, Low.G, Low.B);
  cairo_set_source(Cr, Sky);
  cairo_paint(Cr);
  cairo_pattern_destroy(Sky);
  // The sun sits just off the top-left corner, so the light comes from there.
  cairo_pattern_t* Sun = cairo_pattern_create_radial(40, 20, 0, 40, 20, 330);
  cairo_pattern_add_color_stop_rgba(Sun, 0, 1, 0.96, 0.8, 0.9 - 0.3 * Quiet);
  cairo_pattern_add_color_stop_rgba(Sun, 0.2, SunYellow.R, SunYellow.G, SunYellow.B, 0.35 - 0.1 * Quiet);
  cairo_pattern_add_color_stop_rgba(Sun, 1, SunYellow.R, SunYellow.G, SunYellow.B, 0);
  cairo_set_source(Cr, Sun);
  cairo_paint(Cr);
  cairo_pattern_destroy(Sun);
  Random Rng(Seed);
  for (int I = 0; I < 6; ++I) {
    double X = Rng.Range(80, 760), Y = Rng.Range(60, 330), S = Rng.Range(28, 52);
    SoftCloud(Cr, X, Y, S, 0.55 - 0.2 * Quiet - 0.25 * Deep);
  }
  auto Soften = [&](Rgb C) { return MixRgb(MixRgb(C, SkyLow, 0.25 * Quiet), Hex(0x1F4A3A), 0.45 * Deep); };
  Hill(Cr, 470, 28, Rng.Range(0, 6), 140, Soften(Hex(0xA9D8B0)), Soften(Hex(0x8CC79A)));
  Hill(Cr, 515, 24, Rng.Range(0, 6), 110, Soften(Hex(0x8DCB83)), Soften(Hex(0x6FB56F)));
  Hill(Cr, 560, 18, Rng.Range(0, 6), 90, Soften(Hex(0x79BD6C)), Soften(Hex(0x5EA65C)));
}

// Pictures 1024 × 1024 that the game squeezes to 800 × 600: draw in 800 × 600 and stretch.
std::unique_ptr<Canvas> Squeezed(const std::function<void(Canvas&)>& Draw) {
  auto C = std::make_unique<Canvas>(1024, 1024);
  Canvas Design(800, 600);
  Draw(Design);
  cairo_scale(C->Cr, 1024.0 / 800, 1024.0 / 600);
  cairo_set_source_surface(C->Cr, Design.Surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(C->Cr), CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(C->Cr), CAIRO_EXTEND_PAD);
  cairo_paint(C->Cr);
  return C;
}

// A quiet slot a level picture lies in: shadow, dark bed and a light rim just outside it.
void PictureSlot(Canvas& C, double X, double Y, double W, double H) {
  Panel(C, X - 7, Y - 7, W + 14, H + 14, 12, 0.55, 0.3);
}

// A round socket for one difference marker (centre of the 64 × 64 ring).
void MarkerSocket(Canvas& C, double Cx, double Cy) {
  cairo_t* Cr = C.Cr;
  SoftShadow(C, [&](cairo_t* S) { cairo_arc(S, Cx, Cy, 29, 0, 2 * M_PI); }, 2, 3, 4, InkDark, 0.25);
  cairo_arc(Cr, Cx, Cy, 29, 0, 2 * M_PI);
  SetColour(Cr, PanelBlue, 0.45);
  cairo_fill_preserve(Cr);
  SetColour(Cr, RimBlue, 0.45);
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
}

// A light plate for the blue score digits.
void LightPlate(Canvas& C, double X, double Y, double W, double H) {
  SoftShadow(C, [&](cairo_t* Cr) { RoundedRect(Cr, X, Y, W, H, 14); }, 2, 3, 4, InkDark, 0.25);
  RoundedRect(C.Cr, X, Y, W, H, 14);
  cairo_pattern_t* G = cairo_pattern_create_linear(0, Y, 0, Y + H);
  cairo_pattern_add_color_stop_rgba(G, 0, 1, 0.99, 0.94, 0.85);
  cairo_pattern_add_color_stop_rgba(G, 1, 1, 0.93, 0.78, 0.85);
  cairo_set_source(C.Cr, G);
  cairo_fill_preserve(C.Cr);
  cairo_pattern_destroy(G);
  SetColour(C.Cr, Orange, 0.7);
  cairo_set_line_width(C.Cr, 2);
  cairo_stroke(C.Cr);
}

// A dark slot under the time bar so the bar seems set into the screen.
void TimeBarBed(Canvas& C) {
  SoftShadow(C, [&](cairo_t* Cr) { RoundedRect(Cr, 749, 90, 60, 414, 14); }, 0, 2, 5, InkDark, 0.35);
}

std::unique_ptr<Canvas> MenuBackground() {
  return Squeezed([](Canvas& C) { Landscape(C.Cr, 0.0, 11, 1.0); });
}

std::unique_ptr<Canvas> GameBackgroundPortrait() {
  return Squeezed([](Canvas& C) {
    Landscape(C.Cr, 1.0, 21, 0.35);
    Panel(C, 306, 5, 358, 45, 16, 0.55);             // pack title
    Panel(C, 4, 118, 152, 214, 14, 0.55);            // picture text
    Panel(C, 6, 412, 150, 44, 14, 0.55);             // level counter
    Panel(C, 2, 494, 156, 102, 14, 0.55);            // place ladder
    PictureSlot(C, 185, 100, 256, 380);
    PictureSlot(C, 471, 100, 256, 380);
    for (double Cx : {202.0, 324.0, 457.0, 590.0, 712.0}) MarkerSocket(C, Cx, 523);
    LightPlate(C, 252, 562, 160, 36);                // score
    TimeBarBed(C);
  });
}

std::unique_ptr<Canvas> GameBackgroundLandscape() {
  return Squeezed([](Canvas& C) {
    Landscape(C.Cr, 1.0, 31, 0.35);
    Panel(C, 5, 52, 228, 200, 14, 0.55);             // pack title and picture text
    Panel(C, 20, 442, 214, 84, 14, 0.55);            // place ladder
    Panel(C, 70, 529, 164, 68, 14, 0.55);            // level counter and score
    PictureSlot(C, 350, 29, 380, 256);
    PictureSlot(C, 350, 315, 380, 256);
    for (auto [Cx, Cy] : std::vector<std::pair<double, double>>{{274, 47}, {274, 169}, {274, 302}, {273, 435}, {273, 557}})
      MarkerSocket(C, Cx, Cy);
    TimeBarBed(C);
  });
}

// --- The turning sky layer ------------------------------------------------------------------

// Soft clouds that fade into an even sky before the edge, so the square can turn unseen.
std::unique_ptr<Canvas> Sky() {
  auto C = std::make_unique<Canvas>(512, 512);
  uint8_t* D = C->Data();
  Rgb Base = MixRgb(SkyTop, SkyLow, 0.6);
  for (int Y = 0; Y < 512; ++Y)
    for (int X = 0; X < 512; ++X) {
      double Dx = X + 0.5 - 256, Dy = Y + 0.5 - 256, R = std::sqrt(Dx * Dx + Dy * Dy);
      double N = Fbm(X / 70.0, Y / 70.0, 7, 5);
      double Cloud = Smooth(0.45, 0.75, N) * (1 - Smooth(150, 235, R));
      Rgb P = MixRgb(Base, White, Cloud * 0.9);
      uint32_t V = 0xFF000000u | (static_cast<uint32_t>(P.R * 255 + 0.5) << 16) |
                   (static_cast<uint32_t>(P.G * 255 + 0.5) << 8) | static_cast<uint32_t>(P.B * 255 + 0.5);
      reinterpret_cast<uint32_t*>(D + Y * C->Stride())[X] = V;
    }
  C->Dirty();
  return C;
}

// --- Mask over the pictures -----------------------------------------------------------------

// The region 600 × 800 is used upright and 800 × 600 turned; both start at (0, 0). The veil fills
// 800 × 600 with feathered edges, so every edge that reaches the screen in either use is soft.
std::unique_ptr<Canvas> GameMask() {
  auto C = std::make_unique<Canvas>(1024, 1024);
  uint8_t* D = C->Data();
  const double Feather = 26, Corner = 40;
  for (int Y = 0; Y < 600; ++Y)
    for (int X = 0; X < 800; ++X) {
      double Px = X + 0.5, Py = Y + 0.5;
      // Signed distance inside a rounded rectangle.
      double Qx = std::max(Corner - Px, Px - (800 - Corner)), Qy = std::max(Corner - Py, Py - (600 - Corner));
      double Outside = std::hypot(std::max(Qx, 0.0), std::max(Qy, 0.0)) + std::min(std::max(Qx, Qy), 0.0);
      double Inside = Corner - Outside;
      double Edge = Smooth(0, Feather, Inside);
      double Dx = (Px - 300) / 260, Dy = (Py - 300) / 230;
      double Dense = std::exp(-(Dx * Dx + Dy * Dy));
      double A = Edge * (0.66 + 0.14 * Dense);
      // A slate veil: light enough for the tint to colour it, dark enough under white text.
      double Shade = 0.44 + 0.04 * (1 - Py / 600);
      uint32_t Alpha = static_cast<uint32_t>(A * 255 + 0.5);
      uint32_t Grey = static_cast<uint32_t>(Shade * A * 255 + 0.5);
      uint32_t Blue = static_cast<uint32_t>(Shade * 1.25 * A * 255 + 0.5);
      reinterpret_cast<uint32_t*>(D + Y * C->Stride())[X] = (Alpha << 24) | (Grey << 16) | (Grey << 8) | Blue;
    }
  C->Dirty();
  return C;
}

// --- Cursor and button plate (colour-keyed BMPs) ---------------------------------------------

std::unique_ptr<Canvas> Cursor() {
  auto C = std::make_unique<Canvas>(32, 32);
  cairo_t* Cr = C->Cr;
  // Arrow with its point on pixel (1, 1).
  auto Arrow = [&] {
    cairo_move_to(Cr, 1.5, 1.5);
    cairo_line_to(Cr, 1.5, 22.5);
    cairo_line_to(Cr, 6.5, 17.5);
    cairo_line_to(Cr, 10.5, 26.5);
    cairo_line_to(Cr, 14, 25);
    cairo_line_to(Cr, 10.2, 16.2);
    cairo_line_to(Cr, 17, 16.2);
    cairo_close_path(Cr);
  };
  Arrow();
  // Round joins: a mitre at the sharp tip would reach past the hotspot pixel.
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(Cr, 2);
  SetColour(Cr, InkDark);
  cairo_stroke_preserve(Cr);
  cairo_pattern_t* G = cairo_pattern_create_linear(0, 0, 8, 24);
  cairo_pattern_add_color_stop_rgb(G, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(G, 1, 0.85, 0.9, 0.97);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
  // The tip pixel itself is part of the outline.
  uint8_t* D = C->Data();
  reinterpret_cast<uint32_t*>(D + 1 * C->Stride())[1] = 0xFF0E1C33u;
  C->Dirty();
  return C;
}

// The 120 × 25 pill (drawn tinted by the game) in a 128 × 32 picture; the rest is the key colour.
std::unique_ptr<Canvas> ButtonPlate() {
  auto C = std::make_unique<Canvas>(128, 32);
  cairo_t* Cr = C->Cr;
  RoundedRect(Cr, 0.5, 0.5, 119, 24, 12);
  SetColour(Cr, Hex(0x4A5B78));
  cairo_fill(Cr);
  RoundedRect(Cr, 1.5, 1.5, 117, 22, 11);
  cairo_pattern_t* G = cairo_pattern_create_linear(0, 1.5, 0, 23.5);
  // Mid greys: the tint colours it, and white captions on it (or under it) stay readable.
  cairo_pattern_add_color_stop_rgb(G, 0, 0.72, 0.77, 0.86);
  cairo_pattern_add_color_stop_rgb(G, 0.45, 0.48, 0.53, 0.63);
  cairo_pattern_add_color_stop_rgb(G, 1, 0.36, 0.41, 0.51);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
  // Top highlight.
  RoundedRect(Cr, 8, 3, 104, 8, 4);
  cairo_pattern_t* H = cairo_pattern_create_linear(0, 3, 0, 11);
  cairo_pattern_add_color_stop_rgba(H, 0, 1, 1, 1, 0.55);
  cairo_pattern_add_color_stop_rgba(H, 1, 1, 1, 1, 0.05);
  cairo_set_source(Cr, H);
  cairo_fill(Cr);
  cairo_pattern_destroy(H);
  return C;
}

// --- Logo -----------------------------------------------------------------------------------

// A magnifying glass, the game's emblem.
void Magnifier(cairo_t* Cr, double Cx, double Cy, double R) {
  cairo_save(Cr);
  cairo_translate(Cr, Cx, Cy);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(Cr, R * 0.7, R * 0.7);
  cairo_line_to(Cr, R * 1.55, R * 1.55);
  cairo_set_line_width(Cr, R * 0.42);
  SetColour(Cr, InkDark);
  cairo_stroke_preserve(Cr);
  cairo_set_line_width(Cr, R * 0.3);
  SetColour(Cr, Orange);
  cairo_stroke(Cr);
  cairo_arc(Cr, 0, 0, R, 0, 2 * M_PI);
  cairo_pattern_t* Glass = cairo_pattern_create_radial(-R * 0.35, -R * 0.35, R * 0.1, 0, 0, R);
  cairo_pattern_add_color_stop_rgba(Glass, 0, 1, 1, 1, 0.85);
  cairo_pattern_add_color_stop_rgba(Glass, 1, SkyTop.R, SkyTop.G, SkyTop.B, 0.55);
  cairo_set_source(Cr, Glass);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Glass);
  cairo_set_line_width(Cr, R * 0.26);
  SetColour(Cr, InkDark);
  cairo_stroke_preserve(Cr);
  cairo_set_line_width(Cr, R * 0.16);
  SetColour(Cr, SunYellow);
  cairo_stroke(Cr);
  cairo_restore(Cr);
}

std::unique_ptr<Canvas> BrightLogo() {
  return Squeezed([](Canvas& C) {
    cairo_t* Cr = C.Cr;
    cairo_pattern_t* Bg = cairo_pattern_create_radial(400, 280, 20, 400, 300, 560);
    cairo_pattern_add_color_stop_rgb(Bg, 0, 1, 0.99, 0.93);
    cairo_pattern_add_color_stop_rgb(Bg, 0.45, SkyLow.R, SkyLow.G, SkyLow.B);
    cairo_pattern_add_color_stop_rgb(Bg, 1, SkyTop.R, SkyTop.G, SkyTop.B);
    cairo_set_source(Cr, Bg);
    cairo_paint(Cr);
    cairo_pattern_destroy(Bg);
    // Soft rays from behind the name.
    for (int I = 0; I < 16; ++I) {
      double A0 = I * M_PI / 8, A1 = A0 + M_PI / 20;
      cairo_move_to(Cr, 400, 290);
      cairo_arc(Cr, 400, 290, 700, A0, A1);
      cairo_close_path(Cr);
      SetColour(Cr, White, 0.18);
      cairo_fill(Cr);
    }
    Random Rng(41);
    for (int I = 0; I < 5; ++I) SoftCloud(Cr, Rng.Range(60, 740), Rng.Range(430, 560), Rng.Range(30, 50), 0.7);
    Magnifier(Cr, 706, 178, 40);
    RimmedText(C, "Pikora", 400, 345, 150, 6, 5, Hex(0xFFF3C4), DeepBlue, 0.55);
    UseFont(Cr, 22, true);
    std::string Tag = "P R O N A D J I   R A Z L I K E";
    cairo_text_extents_t E;
    cairo_text_extents(Cr, Tag.c_str(), &E);
    cairo_move_to(Cr, 400 - E.x_advance / 2, 400);
    SetColour(Cr, DeepBlue, 0.85);
    cairo_show_text(Cr, Tag.c_str());
    cairo_new_path(Cr);
    // Five small dots in the warm accents: the five differences.
    const Rgb Dots[] = {Coral, Orange, SunYellow, Green, SkyTop};
    for (int I = 0; I < 5; ++I) {
      cairo_arc(Cr, 340 + I * 30, 432, 7, 0, 2 * M_PI);
      SetColour(Cr, Dots[I]);
      cairo_fill_preserve(Cr);
      SetColour(Cr, DeepBlue, 0.8);
      cairo_set_line_width(Cr, 2);
      cairo_stroke(Cr);
    }
  });
}

// --- Desktop icon ---------------------------------------------------------------------------

// The desktop icon: the logo's magnifying glass on a tile of its sky, with the five dots of the
// differences where there is room for them. Drawn at each size rather than scaled down.
std::unique_ptr<Canvas> Icon(int Size) {
  auto C = std::make_unique<Canvas>(Size, Size);
  cairo_t* Cr = C->Cr;
  cairo_scale(Cr, Size / 256.0, Size / 256.0);
  const double M = Size < 32 ? 4 : 12, W = 256 - 2 * M, R = 48;
  cairo_save(Cr);
  RoundedRect(Cr, M, M, W, W, R);
  cairo_clip(Cr);
  cairo_pattern_t* Sky = cairo_pattern_create_linear(0, M, 0, M + W);
  cairo_pattern_add_color_stop_rgb(Sky, 0, SkyTop.R, SkyTop.G, SkyTop.B);
  cairo_pattern_add_color_stop_rgb(Sky, 1, SkyLow.R, SkyLow.G, SkyLow.B);
  cairo_set_source(Cr, Sky);
  cairo_paint(Cr);
  cairo_pattern_destroy(Sky);
  cairo_pattern_t* Sun = cairo_pattern_create_radial(M + 20, M + 16, 0, M + 20, M + 16, 170);
  cairo_pattern_add_color_stop_rgba(Sun, 0, 1, 0.97, 0.85, 0.9);
  cairo_pattern_add_color_stop_rgba(Sun, 0.3, SunYellow.R, SunYellow.G, SunYellow.B, 0.35);
  cairo_pattern_add_color_stop_rgba(Sun, 1, SunYellow.R, SunYellow.G, SunYellow.B, 0);
  cairo_set_source(Cr, Sun);
  cairo_paint(Cr);
  cairo_pattern_destroy(Sun);
  // One soft hill along the bottom, as on the menu backgrounds.
  cairo_move_to(Cr, 0, 256);
  for (int X = 0; X <= 256; X += 8) cairo_line_to(Cr, X, 196 - 14 * std::sin(X / 60.0 + 0.6));
  cairo_line_to(Cr, 256, 256);
  cairo_close_path(Cr);
  SetColour(Cr, Hex(0x8DCB83));
  cairo_fill(Cr);
  cairo_restore(Cr);
  RoundedRect(Cr, M + 2, M + 2, W - 4, W - 4, R - 2);
  SetColour(Cr, DeepBlue, 0.7);
  cairo_set_line_width(Cr, Size < 32 ? 12 : 5);
  cairo_stroke(Cr);
  Magnifier(Cr, 116, 110, Size < 32 ? 64 : 58);
  if (Size >= 48) {
    const Rgb Dots[] = {Coral, Orange, SunYellow, Green, SkyTop};
    for (int I = 0; I < 5; ++I) {
      cairo_arc(Cr, 46 + I * 24, 218, 9, 0, 2 * M_PI);
      SetColour(Cr, Dots[I]);
      cairo_fill_preserve(Cr);
      SetColour(Cr, DeepBlue, 0.8);
      cairo_set_line_width(Cr, 3);
      cairo_stroke(Cr);
    }
  }
  return C;
}

// --- Time bar (64 × 512 pictures; the game samples 49 × 406 and 49 × 399) --------------------

// The tube: screen x 756..794 for the bar (drawn at 755) and the frame's window (drawn at 751).
void TubeShade(Canvas& C, double X0, double X1, double Y0, double Y1, double Strength) {
  cairo_pattern_t* G = cairo_pattern_create_linear(X0, 0, X1, 0);
  cairo_pattern_add_color_stop_rgba(G, 0, 0, 0, 0, 0.12 * Strength);
  cairo_pattern_add_color_stop_rgba(G, 0.22, 1, 1, 1, 0.38 * Strength);
  cairo_pattern_add_color_stop_rgba(G, 0.45, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(G, 1, 0, 0, 0, 0.3 * Strength);
  cairo_rectangle(C.Cr, X0, Y0, X1 - X0, Y1 - Y0);
  cairo_set_source(C.Cr, G);
  cairo_fill(C.Cr);
  cairo_pattern_destroy(G);
}

// The frame drawn last over bar and filling: a rounded rim with a clear window.
std::unique_ptr<Canvas> ProgressRoom() {
  auto C = std::make_unique<Canvas>(64, 512);
  cairo_t* Cr = C->Cr;
  RoundedRect(Cr, 1, 1, 46, 404, 14);
  RoundedRect(Cr, 5, 5, 38, 396, 10);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_pattern_t* G = cairo_pattern_create_linear(1, 0, 47, 0);
  cairo_pattern_add_color_stop_rgba(G, 0, DeepBlue.R, DeepBlue.G, DeepBlue.B, 0.95);
  cairo_pattern_add_color_stop_rgba(G, 1, PanelBlue.R, PanelBlue.G, PanelBlue.B, 0.95);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
  RoundedRect(Cr, 2, 2, 44, 402, 13);
  SetColour(Cr, RimBlue, 0.7);
  cairo_set_line_width(Cr, 2);
  cairo_stroke(Cr);
  RoundedRect(Cr, 5, 5, 38, 396, 10);
  SetColour(Cr, InkDark, 0.8);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  // Quarter marks on the rim.
  for (int I = 1; I < 4; ++I) {
    double Y = 5 + 396.0 * I / 4;
    cairo_move_to(Cr, 1.5, Y);
    cairo_line_to(Cr, 4.5, Y);
    cairo_move_to(Cr, 43.5, Y);
    cairo_line_to(Cr, 46.5, Y);
  }
  SetColour(Cr, RimBlue, 0.8);
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
  return C;
}

// The used part of the tube. The game shows rows 399 − TimeUsed .. 399 above the filling, so the
// rows just above 399 always meet the filling: a warm glow there, a dim empty tube above it.
std::unique_ptr<Canvas> ProgressBar() {
  auto C = std::make_unique<Canvas>(64, 512);
  cairo_t* Cr = C->Cr;
  cairo_rectangle(Cr, 1, 0, 38, 512);
  SetColour(Cr, PanelBlue, 0.55);
  cairo_fill(Cr);
  cairo_pattern_t* Glow = cairo_pattern_create_linear(0, 340, 0, 399);
  cairo_pattern_add_color_stop_rgba(Glow, 0, Orange.R, Orange.G, Orange.B, 0);
  cairo_pattern_add_color_stop_rgba(Glow, 1, Orange.R, Orange.G, Orange.B, 0.55);
  cairo_rectangle(Cr, 1, 340, 38, 59);
  cairo_set_source(Cr, Glow);
  cairo_fill(Cr);
  cairo_pattern_destroy(Glow);
  TubeShade(*C, 1, 39, 0, 512, 0.7);
  return C;
}

// The remaining time. Row 0 always sits at the top of what is left, so the colour at the top is
// warm and the bottom is green: a full bar runs green to yellow, a short one is orange.
std::unique_ptr<Canvas> ProgressBarIn() {
  auto C = std::make_unique<Canvas>(64, 512);
  cairo_t* Cr = C->Cr;
  cairo_pattern_t* G = cairo_pattern_create_linear(0, 0, 0, 406);
  cairo_pattern_add_color_stop_rgb(G, 0, Coral.R, Coral.G, Coral.B);
  cairo_pattern_add_color_stop_rgb(G, 0.12, Orange.R, Orange.G, Orange.B);
  cairo_pattern_add_color_stop_rgb(G, 0.38, SunYellow.R, SunYellow.G, SunYellow.B);
  cairo_pattern_add_color_stop_rgb(G, 1, Green.R, Green.G, Green.B);
  cairo_rectangle(Cr, 1, 0, 38, 512);
  cairo_set_source(Cr, G);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
  TubeShade(*C, 1, 39, 0, 512, 1.0);
  // Bright meniscus on the top rows.
  cairo_pattern_t* M = cairo_pattern_create_linear(0, 0, 0, 5);
  cairo_pattern_add_color_stop_rgba(M, 0, 1, 1, 0.9, 0.9);
  cairo_pattern_add_color_stop_rgba(M, 1, 1, 1, 0.9, 0);
  cairo_rectangle(Cr, 1, 0, 38, 5);
  cairo_set_source(Cr, M);
  cairo_fill(Cr);
  cairo_pattern_destroy(M);
  return C;
}

// --- Particles, markers ---------------------------------------------------------------------

std::unique_ptr<Canvas> Particles() {
  auto C = std::make_unique<Canvas>(64, 32);
  cairo_t* Cr = C->Cr;
  cairo_pattern_t* G = cairo_pattern_create_radial(16, 16, 0, 16, 16, 15);
  cairo_pattern_add_color_stop_rgba(G, 0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(G, 0.25, 1, 1, 1, 0.8);
  cairo_pattern_add_color_stop_rgba(G, 0.6, 1, 1, 1, 0.25);
  cairo_pattern_add_color_stop_rgba(G, 1, 1, 1, 1, 0);
  cairo_set_source(Cr, G);
  cairo_arc(Cr, 16, 16, 15, 0, 2 * M_PI);
  cairo_fill(Cr);
  cairo_pattern_destroy(G);
  // Four-pointed sparkle centred in the band (32, 0) 32 × 16.
  double Cx = 48, Cy = 8;
  cairo_pattern_t* Halo = cairo_pattern_create_radial(Cx, Cy, 0, Cx, Cy, 7);
  cairo_pattern_add_color_stop_rgba(Halo, 0, 1, 1, 1, 0.7);
  cairo_pattern_add_color_stop_rgba(Halo, 1, 1, 1, 1, 0);
  cairo_set_source(Cr, Halo);
  cairo_arc(Cr, Cx, Cy, 7, 0, 2 * M_PI);
  cairo_fill(Cr);
  cairo_pattern_destroy(Halo);
  cairo_move_to(Cr, Cx, Cy - 7.5);
  cairo_curve_to(Cr, Cx + 1, Cy - 1, Cx + 1, Cy - 1, Cx + 7.5, Cy);
  cairo_curve_to(Cr, Cx + 1, Cy + 1, Cx + 1, Cy + 1, Cx, Cy + 7.5);
  cairo_curve_to(Cr, Cx - 1, Cy + 1, Cx - 1, Cy + 1, Cx - 7.5, Cy);
  cairo_curve_to(Cr, Cx - 1, Cy - 1, Cx - 1, Cy - 1, Cx, Cy - 7.5);
  SetColour(Cr, White);
  cairo_fill(Cr);
  // Transparent pixels stay white (alpha 1 of 255, unseen) so filtering never darkens an edge.
  uint8_t* D = C->Data();
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 64; ++X) {
      uint32_t& P = reinterpret_cast<uint32_t*>(D + Y * C->Stride())[X];
      if ((P >> 24) == 0) P = 0x01010101u;
    }
  C->Dirty();
  return C;
}

// The turning marker: a light beaded ring with a quiet centre for the digit.
std::unique_ptr<Canvas> Clue() {
  auto C = std::make_unique<Canvas>(64, 64);
  cairo_t* Cr = C->Cr;
  cairo_arc(Cr, 32, 32, 20, 0, 2 * M_PI);
  SetColour(Cr, White, 0.18);
  cairo_fill(Cr);
  cairo_arc(Cr, 32, 32, 25.5, 0, 2 * M_PI);
  cairo_set_line_width(Cr, 8);
  SetColour(Cr, InkDark, 0.55);
  cairo_stroke_preserve(Cr);
  cairo_set_line_width(Cr, 5.5);
  cairo_pattern_t* G = cairo_pattern_create_linear(10, 10, 54, 54);
  cairo_pattern_add_color_stop_rgb(G, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(G, 1, 0.78, 0.8, 0.84);
  cairo_set_source(Cr, G);
  cairo_stroke(Cr);
  // Eight beads make the turning visible.
  for (int I = 0; I < 8; ++I) {
    double A = I * M_PI / 4, Bx = 32 + 25.5 * std::cos(A), By = 32 + 25.5 * std::sin(A);
    cairo_arc(Cr, Bx, By, 4.2, 0, 2 * M_PI);
    SetColour(Cr, InkDark, 0.5);
    cairo_fill(Cr);
    cairo_arc(Cr, Bx, By, 3, 0, 2 * M_PI);
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
    cairo_arc(Cr, Bx - 0.9, By - 0.9, 1.1, 0, 2 * M_PI);
    SetColour(Cr, White);
    cairo_fill(Cr);
  }
  cairo_pattern_destroy(G);
  return C;
}

// Stretched over a found difference: a rounded frame with a soft glow, clear inside.
std::unique_ptr<Canvas> ClueSelection() {
  auto C = std::make_unique<Canvas>(64, 64);
  cairo_t* Cr = C->Cr;
  SoftShadow(
      *C,
      [&](cairo_t* S) {
        RoundedRect(S, 3, 3, 58, 58, 14);
        RoundedRect(S, 11, 11, 42, 42, 8);
        cairo_set_fill_rule(S, CAIRO_FILL_RULE_EVEN_ODD);
      },
      0, 0, 2, SunYellow, 0.9);
  RoundedRect(Cr, 5, 5, 54, 54, 12);
  cairo_set_line_width(Cr, 5);
  SetColour(Cr, InkDark, 0.7);
  cairo_stroke_preserve(Cr);
  cairo_set_line_width(Cr, 3);
  SetColour(Cr, SunYellow);
  cairo_stroke(Cr);
  RoundedRect(Cr, 5, 5, 54, 54, 12);
  cairo_set_line_width(Cr, 1);
  SetColour(Cr, White, 0.9);
  cairo_stroke(Cr);
  return C;
}

// --- Panels ---------------------------------------------------------------------------------

std::unique_ptr<Canvas> SideMenuPanel() {
  auto C = std::make_unique<Canvas>(256, 512);
  Panel(*C, 6, 4, 148, 236, 16, 0.85);
  return C;
}

// Pack list of the new-game screen: region 460 × 390 shown at (275, 90); rows at x 360..665.
std::unique_ptr<Canvas> NewGameSelection() {
  auto C = std::make_unique<Canvas>(512, 512);
  Panel(*C, 6, 6, 448, 376, 18, 0.85);
  RoundedRect(C->Cr, 76, 76, 324, 296, 12);
  SetColour(C->Cr, InkDark, 0.3);
  cairo_fill_preserve(C->Cr);
  SetColour(C->Cr, RimBlue, 0.25);
  cairo_set_line_width(C->Cr, 1);
  cairo_stroke(C->Cr);
  return C;
}

// Pack list of the high-score screen: region 256 × 390 shown at (370, 90); rows at x 405..595.
std::unique_ptr<Canvas> HighScorePacks() {
  auto C = std::make_unique<Canvas>(256, 512);
  Panel(*C, 6, 6, 244, 376, 18, 0.85);
  RoundedRect(C->Cr, 26, 76, 204, 296, 12);
  SetColour(C->Cr, InkDark, 0.3);
  cairo_fill_preserve(C->Cr);
  SetColour(C->Cr, RimBlue, 0.25);
  cairo_set_line_width(C->Cr, 1);
  cairo_stroke(C->Cr);
  return C;
}

// Shown at (−30, 263): the texts of the hovered pack land at screen x 35..230, y 315..455.
std::unique_ptr<Canvas> PackInfoPanel() {
  auto C = std::make_unique<Canvas>(256, 256);
  Panel(*C, 38, 36, 212, 180, 16, 0.85);
  // Thin separators between the three label groups (screen y 356 and 397).
  for (double Y : {93.5, 134.5}) {
    cairo_move_to(C->Cr, 60, Y);
    cairo_line_to(C->Cr, 228, Y);
  }
  SetColour(C->Cr, RimBlue, 0.25);
  cairo_set_line_width(C->Cr, 1);
  cairo_stroke(C->Cr);
  return C;
}

// Shown at (−30, 200): ten rows of score and name at screen y 340..520, x from 40.
std::unique_ptr<Canvas> HighScoresPanel() {
  auto C = std::make_unique<Canvas>(256, 512);
  Panel(*C, 38, 116, 212, 236, 16, 0.85);
  cairo_t* Cr = C->Cr;
  // Every other row a little lighter, to lead the eye along a line.
  for (int I = 0; I < 10; I += 2) {
    RoundedRect(Cr, 46, 138 + 20 * I, 196, 19, 6);
    SetColour(Cr, RimBlue, 0.08);
    cairo_fill(Cr);
  }
  return C;
}

// --- Title banners --------------------------------------------------------------------------

std::unique_ptr<Canvas> Banner(const std::string& Title) {
  auto C = std::make_unique<Canvas>(512, 128);
  RimmedText(*C, Title, 256, 66, 50, 9, 3, Hex(0xEAF6FF), DeepBlue, 0.6);
  // A warm dot at each end, as on the logo.
  UseFont(C->Cr, 50);
  double Half = SpacedWidth(C->Cr, Title, 9) / 2;
  for (double X : {256 - Half - 22, 256 + Half + 22}) {
    cairo_arc(C->Cr, X, 49, 6, 0, 2 * M_PI);
    SetColour(C->Cr, SunYellow);
    cairo_fill_preserve(C->Cr);
    SetColour(C->Cr, DeepBlue);
    cairo_set_line_width(C->Cr, 2.5);
    cairo_stroke(C->Cr);
  }
  return C;
}

// --- Help page ------------------------------------------------------------------------------

struct HelpSection {
  std::string Heading, Body;
};

const std::vector<HelpSection> HelpText = {
    {"CILJ", "Dvije slike izgledaju jednako, ali na drugoj je pet promjena. Pronadjite svih pet prije nego "
             "sto istekne vrijeme."},
    {"KLIK", "Kliknite mjesto razlike na bilo kojoj od dvije slike. Pronadjena razlika dobije okvir na obje "
             "slike, a njezina oznaka (1 - 5) pozeleni."},
    {"VRIJEME", "Traka s desne strane pokazuje preostalo vrijeme. Kad se isprazni, igra je gotova. Svaki "
                "sljedeci nivo tece malo brze."},
    {"PROMASAJ", "Klik na mjesto bez razlike, ili na vec pronadjenu, kosta vremena: traka se odmah skrati."},
    {"JOKER", "Jednom u svakom paketu mozete upotrijebiti jokera: kliknite gumb JOKER ili pritisnite "
              "razmaknicu (Space) i jedna razlika otkrije se sama."},
    {"BODOVI", "Sto brze pronadjete razliku, to vise bodova; na visim nivoima vrijede vise. Svaki rijeseni "
               "nivo donosi i bonus za preostalo vrijeme."},
    {"TOP LISTA", "Svaki paket pamti deset najboljih rezultata. Na kraju igre kliknite UNESI REZULTAT; ako "
                  "ste medju najboljima, upisite svoje ime."},
};

std::vector<std::string> Wrap(cairo_t* Cr, const std::string& Text, double Width) {
  std::vector<std::string> Lines;
  std::string Line, Word;
  auto Fits = [&](const std::string& S) {
    cairo_text_extents_t E;
    cairo_text_extents(Cr, S.c_str(), &E);
    return E.x_advance <= Width;
  };
  size_t I = 0;
  while (I <= Text.size()) {
    size_t J = Text.find(' ', I);
    if (J == std::string::npos) J = Text.size();
    Word = Text.substr(I, J - I);
    std::string Try = Line.empty() ? Word : Line + " " + Word;
    if (!Line.empty() && !Fits(Try)) {
      Lines.push_back(Line);
      Line = Word;
    } else {
      Line = Try;
    }
    I = J + 1;
  }
  if (!Line.empty()) Lines.push_back(Line);
  return Lines;
}

// Shown at (270, 120): only the top 480 rows reach the screen, so everything fits above them.
std::unique_ptr<Canvas> HelpPage() {
  auto C = std::make_unique<Canvas>(512, 512);
  cairo_t* Cr = C->Cr;
  const double Left = 20, Width = 472, Bottom = 470;
  // Largest body size whose layout ends above the visible bottom.
  double Size = 14.5, Height = 0;
  for (;; Size -= 0.25) {
    UseFont(Cr, Size, false);
    Height = 62;
    for (const auto& S : HelpText) Height += Size * 1.35 + Wrap(Cr, S.Body, Width).size() * Size * 1.28 + 5;
    Height += Size * 1.5;
    if (Height <= Bottom - 8 || Size < 10) break;
  }
  Panel(*C, 4, 4, 504, Height + 8, 18, 0.88, 0.3);
  RimmedText(*C, "KAKO SE IGRA", 256, 44, 26, 5, 2, Hex(0xEAF6FF), DeepBlue, 0.5);
  double Y = 62;
  for (const auto& S : HelpText) {
    UseFont(Cr, Size * 1.02, true);
    Y += Size * 1.35;
    cairo_move_to(Cr, Left, Y);
    SetColour(Cr, SunYellow);
    cairo_show_text(Cr, S.Heading.c_str());
    UseFont(Cr, Size, false);
    for (const auto& Line : Wrap(Cr, S.Body, Width)) {
      Y += Size * 1.28;
      cairo_move_to(Cr, Left, Y);
      SetColour(Cr, TextLight);
      cairo_show_text(Cr, Line.c_str());
    }
    Y += 5;
  }
  UseFont(Cr, Size * 0.95, false);
  Y += Size * 1.4;
  std::string Esc = "Esc - izlaz iz igre";
  cairo_text_extents_t E;
  cairo_text_extents(Cr, Esc.c_str(), &E);
  cairo_move_to(Cr, 492 - E.x_advance, Y);
  SetColour(Cr, RimBlue, 0.85);
  cairo_show_text(Cr, Esc.c_str());
  return C;
}

// --- Bitmap font ----------------------------------------------------------------------------

// The character of code Code in the Windows Central European code page, as UTF-8 ("" if none).
std::string Cp1250(int Code) {
  if (Code < 32 || Code == 127) return "";
  if (Code < 128) return std::string(1, static_cast<char>(Code));
  iconv_t Cd = iconv_open("UTF-8", "CP1250");
  if (Cd == reinterpret_cast<iconv_t>(-1)) return "";
  char In[1] = {static_cast<char>(Code)};
  char Out[8] = {};
  char* InP = In;
  char* OutP = Out;
  size_t InLeft = 1, OutLeft = sizeof Out;
  size_t R = iconv(Cd, &InP, &InLeft, &OutP, &OutLeft);
  iconv_close(Cd);
  if (R == static_cast<size_t>(-1)) return "";
  std::string S(Out, OutP);
  // Control and blank characters get no glyph.
  if (S == "\xC2\xA0" || S == "\xC2\xAD") return "";
  return S;
}

// 16 × 16 cells of 32 × 32 for codes 0..255; each glyph light with a dark 2 px rim, centred.
std::unique_ptr<Canvas> BitmapFont() {
  auto C = std::make_unique<Canvas>(512, 512);
  cairo_t* Cr = C->Cr;
  const double Size = 24, Baseline = 24;
  UseFont(Cr, Size, true);
  for (int Code = 0; Code < 256; ++Code) {
    std::string Ch = Cp1250(Code);
    if (Ch.empty() || Ch == " ") continue;
    double CellX = (Code % 16) * 32.0, CellY = (Code / 16) * 32.0;
    cairo_text_extents_t E;
    cairo_text_extents(Cr, Ch.c_str(), &E);
    if (E.width <= 0) continue;
    double X = CellX + 16 - (E.x_bearing + E.width / 2);
    // Tall accented capitals are nudged up so their marks stay inside the cell.
    double Top = CellY + Baseline + E.y_bearing, Bottom = CellY + Baseline + E.y_bearing + E.height;
    double Shift = 0;
    if (Top < CellY + 2.5) Shift = CellY + 2.5 - Top;
    if (Bottom + Shift > CellY + 29.5) Shift = CellY + 29.5 - Bottom;
    cairo_save(Cr);
    cairo_rectangle(Cr, CellX, CellY, 32, 32);
    cairo_clip(Cr);
    cairo_new_path(Cr);
    cairo_move_to(Cr, std::round(X * 4) / 4, CellY + Baseline + Shift);
    cairo_text_path(Cr, Ch.c_str());
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(Cr, 4);
    SetColour(Cr, InkDark);
    cairo_stroke_preserve(Cr);
    cairo_pattern_t* G = cairo_pattern_create_linear(0, CellY + 6, 0, CellY + 28);
    cairo_pattern_add_color_stop_rgb(G, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(G, 1, 0.86, 0.89, 0.94);
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
    cairo_pattern_destroy(G);
    cairo_restore(Cr);
  }
  return C;
}

// --- Assembly -------------------------------------------------------------------------------

Bytes Dds(std::unique_ptr<Canvas> C, DdsKind Kind) { return EncodeDds(C->Rgba(), C->W, C->H, Kind); }
Bytes Jpeg(std::unique_ptr<Canvas> C) { return EncodeJpeg(*C, 90); }

}  // namespace

int main(int Argc, char** Argv) {
  try {
    std::filesystem::path Root = Argc > 1 ? Argv[1] : ".";
    std::filesystem::path Out = Root / "data" / "game data";
    const auto Dxt5 = DdsKind::Dxt5, Plain = DdsKind::Rgba32;
    std::vector<std::pair<std::string, Bytes>> Entries;
    Entries.emplace_back("back_game_h.jpg", Jpeg(GameBackgroundLandscape()));
    Entries.emplace_back("back_game_v.jpg", Jpeg(GameBackgroundPortrait()));
    Entries.emplace_back("gamemask.dds", Dds(GameMask(), Dxt5));
    Entries.emplace_back("background.jpg", Jpeg(MenuBackground()));
    Entries.emplace_back("sky.jpg", Jpeg(Sky()));
    Entries.emplace_back("mouse.bmp", EncodeKeyedBmp(*Cursor()));
    Entries.emplace_back("button.bmp", EncodeKeyedBmp(*ButtonPlate()));
    Entries.emplace_back("brightlogo.jpg", Jpeg(BrightLogo()));
    Entries.emplace_back("progressroom.dds", Dds(ProgressRoom(), Dxt5));
    Entries.emplace_back("progressbar.dds", Dds(ProgressBar(), Dxt5));
    Entries.emplace_back("progressbarin.dds", Dds(ProgressBarIn(), Dxt5));
    Entries.emplace_back("particles.png", EncodePng(*Particles()));
    Entries.emplace_back("sidemenu.dds", Dds(SideMenuPanel(), Dxt5));
    Entries.emplace_back("newgameselection.dds", Dds(NewGameSelection(), Dxt5));
    Entries.emplace_back("highscores.dds", Dds(HighScoresPanel(), Dxt5));
    Entries.emplace_back("packinfo.dds", Dds(PackInfoPanel(), Dxt5));
    Entries.emplace_back("clue.dds", Dds(Clue(), Plain));
    Entries.emplace_back("clueselection.dds", Dds(ClueSelection(), Plain));
    Entries.emplace_back("highscorepacks.dds", Dds(HighScorePacks(), Dxt5));
    Entries.emplace_back("help.dds", Dds(HelpPage(), Plain));
    Entries.emplace_back("menu_newgame.dds", Dds(Banner("NOVA IGRA"), Plain));
    Entries.emplace_back("menu_highscores.dds", Dds(Banner("TOP LISTA"), Plain));
    Entries.emplace_back("menu_options.dds", Dds(Banner("POSTAVKE"), Plain));
    Entries.emplace_back("menu_help.dds", Dds(Banner("POMOC"), Plain));
    Entries.emplace_back("menu_name.dds", Dds(Banner("UPISI IME"), Plain));
    Entries.emplace_back("font_default.dds", Dds(BitmapFont(), Plain));
    WriteZip(Out / "pictures.pkr", Entries);
    std::string Options = "[Options]\r\nScreen=True\r\nMusic=True\r\nSound=True\r\nParticle=True\r\n";
    WriteFile(Out / "options.ini", Bytes(Options.begin(), Options.end()));
    for (int Size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
      const std::string Folder = std::to_string(Size) + "x" + std::to_string(Size);
      WriteFile(Root / "dist" / "icons" / "hicolor" / Folder / "apps" / "pikora.png", EncodePng(*Icon(Size)));
    }
    std::cout << "wrote " << (Out / "pictures.pkr").string() << " (" << std::filesystem::file_size(Out / "pictures.pkr")
              << " bytes), options.ini and the desktop icons\n";
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "make_pictures: " << E.what() << "\n";
    return 1;
  }
}
