#pragma once
// The pack themes: background painters and object kinds. Objects are drawn around their anchor
// (bottom centre for things standing on the ground, the centre for things in the air or water)
// facing +x; the generator places, scales, turns and mirrors them.
#include <string>
#include <vector>

#include "SceneKit.h"

namespace scene {

struct Obj {
  int Kind = 0;
  double X = 0, Y = 0, S = 1, Rot = 0;
  bool Flip = false;
  int C1 = 0, C2 = 0, Var = 0;
  uint64_t Seed = 0;
  int Id = 0;
};

using DrawFn = void (*)(cairo_t*, const Obj&, Rgb, Rgb);

struct Kind {
  const char* Name;
  int Zone;
  double Weight;
  int MaxCount;
  bool Asym;  // mirroring changes it visibly
  double SMin, SMax;
  double RotRange;
  std::vector<uint32_t> C1, C2;
  DrawFn Draw;
  const char* Phrase;  // for the picture text when the scene holds one
};

// Anchor band of a zone, in fractions of the picture height; objects are scaled from S0 at the
// top of the band to S1 at its bottom (nearer things larger).
struct Zone {
  double Y0, Y1, S0, S1;
};

struct Theme {
  std::string File;
  int W, H;
  bool Vertical, Bmp;
  int Levels;
  int MinObjs, MaxObjs;
  uint64_t Seed;
  void (*Background)(cairo_t*, int W, int H, uint64_t Seed);
  std::vector<Zone> Zones;
  std::vector<Kind> Kinds;
  std::string PackInfo;
  std::vector<std::string> Openers;
  std::vector<std::pair<std::string, int>> Scores;
};

inline const Rgb Wood = Hex(0x9C6B3F);
inline const Rgb Leaf = Hex(0x5DA845);
inline const Rgb Glass = Hex(0xBFE6FF);
inline const Rgb Stone = Hex(0xA7A9B4);
inline const Rgb Gold = Hex(0xFFD966);
inline const Rgb Coral = Hex(0xFF7A7A);
inline const Rgb Orange = Hex(0xFFB347);

// A wavy band edge: y(x) around Base with two sines of seeded phase.
inline void WavyTop(cairo_t* cr, int W, int H, double base, double amp, double f1, double f2, Rng& r) {
  const double p1 = r.Range(0, 2 * Pi), p2 = r.Range(0, 2 * Pi);
  cairo_new_path(cr);
  cairo_move_to(cr, -3, H + 3);
  for (int x = -3; x <= W + 3; x += 2) {
    cairo_line_to(cr, x, base - amp * (0.6 * std::sin(x * f1 + p1) + 0.4 * std::sin(x * f2 + p2)));
  }
  cairo_line_to(cr, W + 3, H + 3);
  cairo_close_path(cr);
}

// ---------------------------------------------------------------- shared sky objects

inline void DrawSun(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  for (int i = 0; i < 10; ++i) {
    const double a = i * Pi / 5;
    const double d = 0.16;
    Part(cr,
         Poly({{17 * std::cos(a - d), 17 * std::sin(a - d)},
               {24 * std::cos(a), 24 * std::sin(a)},
               {17 * std::cos(a + d), 17 * std::sin(a + d)}}),
         c, 0);
  }
  Part(cr, Circle(0, 0, 14), c, 2.5, 0.88);
  Dot(cr, -4.5, -3, 1.4, Ink);
  Dot(cr, 4.5, -3, 1.4, Ink);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 1, 6, 0.25 * Pi, 0.75 * Pi);
  cairo_identity_matrix(cr);
  cairo_set_line_width(cr, 1.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, Ink);
  cairo_stroke(cr);
  cairo_restore(cr);
}

inline void DrawCloud(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  std::vector<Path> p = {Ellipse(0, 3, 23, 7), Circle(-11, -1, 8), Circle(0, -5, 11), Circle(11, 0, 8)};
  if (o.Var % 2) p.push_back(Circle(18, 3, 6));
  else p.push_back(Circle(-5, -11, 6));
  Part(cr, Union(p), c, 2.2, 0.9);
}

// ---------------------------------------------------------------- village

inline void DrawHouse(cairo_t* cr, const Obj& o, Rgb roof, Rgb wall) {
  Part(cr, Rect(10, -50, 7, 16), Hex(0xB5523B), 1.5);
  Part(cr, Rect(-22, -30, 44, 30), wall, 2.5);
  Part(cr, Poly({{-27, -28}, {0, -50}, {27, -28}}), roof, 2.5);
  Part(cr, RoundRect(-16, -16, 10, 16, 2), Wood, 1.2);
  Dot(cr, -8, -8, 1.0, Ink);
  Part(cr, Rect(2, -24, 13, 10), Glass, 1.2);
  Line(cr, {{8.5, -24}, {8.5, -14}}, Ink, 1.2);
  Line(cr, {{2, -19}, {15, -19}}, Ink, 1.2);
  if (o.Var % 2) Part(cr, Circle(0, -37, 3.8), Glass, 0);
}

inline void DrawTree(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  Part(cr, Poly({{-4, 0}, {-3, -20}, {3, -20}, {4.5, 0}}), Wood, 1.5);
  Part(cr, Union({Circle(0, -36, 14), Circle(-11, -27, 10), Circle(11, -28, 10), Circle(4, -44, 8)}), c, 3);
  if (o.Var % 2 == 0) {
    const Rgb apple = (o.Var % 4 == 0) ? Hex(0xE8443A) : Hex(0xFFD23F);
    Part(cr, Circle(-6, -32, 2.6), apple, 0);
    Part(cr, Circle(7, -39, 2.6), apple, 0);
    Part(cr, Circle(10, -26, 2.6), apple, 0);
  }
}

inline void DrawPine(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Rect(-3, -8, 6, 8), Wood, 1);
  Part(cr, Poly({{-16, -6}, {0, -28}, {16, -6}}), c);
  Part(cr, Poly({{-13, -18}, {0, -38}, {13, -18}}), c);
  Part(cr, Poly({{-10, -29}, {0, -48}, {10, -29}}), c);
}

inline void DrawBush(cairo_t* cr, const Obj& o, Rgb c, Rgb flower) {
  Part(cr, Union({Circle(-9, -7, 7), Circle(0, -11, 9), Circle(9, -7, 7), Rect(-9, -7, 18, 7)}), c, 2.5);
  const Pt spots[] = {{-8, -9}, {2, -15}, {8, -6}, {-2, -6}};
  for (int i = 0; i < 1 + o.Var % 4; ++i) Part(cr, Circle(spots[i].first, spots[i].second, 2.1), flower, 0);
}

inline void DrawFence(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Rect(-23, -14, 46, 3.5), c, 1);
  Part(cr, Rect(-23, -7, 46, 3.5), c, 1);
  for (double x : {-19.0, -7.0, 5.0, 17.0}) {
    Part(cr, Poly({{x - 2.5, 0}, {x - 2.5, -15}, {x, -18}, {x + 2.5, -15}, {x + 2.5, 0}}), c, 1);
  }
}

inline void DrawFlower(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{0, 0}, {0, -11}}, Leaf, 1.4);
  Part(cr, Ellipse(3.5, -5, 3.4, 1.7, -0.5), Leaf, 0);
  std::vector<Path> petals;
  for (int k = 0; k < 5; ++k) {
    const double a = -Pi / 2 + k * 2 * Pi / 5;
    petals.push_back(Circle(3.4 * std::cos(a), -15 + 3.4 * std::sin(a), 2.8));
  }
  Part(cr, Union(petals), c, 1);
  Part(cr, Circle(0, -15, 1.9), Hex(0xB5523B), 0);
}

inline void DrawChicken(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Line(cr, {{-3, -3}, {-3, 0}}, Hex(0xE08A2E), 1.5);
  Line(cr, {{2, -3}, {2, 0}}, Hex(0xE08A2E), 1.5);
  Part(cr, Poly({{-8, -12}, {-15, -21}, {-12, -8}}), c, 1);
  Part(cr, Ellipse(-1, -9, 10, 7), c, 2);
  Part(cr, Union({Circle(6.5, -22.5, 2), Circle(9, -22, 2)}), Hex(0xE8443A), 0);
  Part(cr, Circle(8, -17, 5), c, 1.2);
  Part(cr, Poly({{12.5, -18.5}, {16, -17}, {12.5, -15.5}}), Hex(0xFFB347), 0);
  Dot(cr, 9.5, -18, 1.0, Ink);
  Part(cr, Ellipse(-2, -9, 5.5, 3.5, 0.2), Darker(c, 0.88), 0);
}

inline void DrawSheep(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  const Rgb dark = Hex(0x4A4350);
  for (double x : {-7.0, -2.0, 4.0, 8.0}) Line(cr, {{x, -6}, {x, 0}}, dark, 2.2);
  Part(cr, Union({Circle(-8, -12, 6), Circle(0, -14, 7), Circle(8, -12, 6), Circle(-4, -8, 6), Circle(4, -8, 6)}), c, 2.2,
       0.86);
  Part(cr, Ellipse(14, -14, 4.5, 5.5, 0.3), dark, 1);
  Part(cr, Ellipse(11, -18, 2.5, 1.3, -0.4), dark, 0);
  Dot(cr, 15.5, -15.5, 1.0, White);
}

inline void DrawHaystack(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -17, 0);
        cairo_curve_to(cr, -16, -26, 16, -26, 17, 0);
        cairo_close_path(cr);
      },
      c, 2.5);
  const Rgb straw = Darker(c, 0.75);
  Line(cr, {{-9, -4}, {-6, -12}}, straw, 1.2);
  Line(cr, {{-1, -3}, {1, -15}}, straw, 1.2);
  Line(cr, {{8, -5}, {6, -12}}, straw, 1.2);
}

inline void DrawWell(cairo_t* cr, const Obj&, Rgb roof, Rgb bucket) {
  Part(cr, Rect(-11, -30, 3, 18), Wood, 1);
  Part(cr, Rect(8, -30, 3, 18), Wood, 1);
  Line(cr, {{0, -28}, {0, -16}}, Ink, 1);
  Part(cr, Poly({{-16, -28}, {0, -39}, {16, -28}}), roof, 2);
  Part(cr, RoundRect(-12, -14, 24, 14, 2), Stone, 2);
  Line(cr, {{-12, -7}, {12, -7}}, Ink, 1);
  Line(cr, {{-4, -14}, {-4, -7}}, Ink, 1);
  Line(cr, {{5, -7}, {5, 0}}, Ink, 1);
  Part(cr, Poly({{13, -8}, {21, -8}, {20, 0}, {14, 0}}), bucket, 1);
}

inline void DrawMailbox(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Rect(-1.5, -15, 3, 15), Wood, 0.8);
  Part(cr, Rect(6, -30, 1.8, 10), Hex(0x5A5566), 0);
  Part(cr, Rect(7.8, -30, 6.5, 4.2), c.r > 0.8 && c.g < 0.5 ? Gold : Coral, 0);
  Part(cr, RoundRect(-8, -23, 16, 10, 4), c, 1.8);
}

inline void DrawPumpkin(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Rect(-1.2, -18, 2.6, 6), Hex(0x5C8A3A), 0.5);
  Part(cr, Union({Ellipse(-5, -7, 6, 7), Ellipse(5, -7, 6, 7), Ellipse(0, -7, 5, 7.5)}), c, 2);
  Line(cr, {{-2.5, -13}, {-3.5, -7}, {-2.5, -1}}, Darker(c, 0.7), 1);
  Line(cr, {{2.5, -13}, {3.5, -7}, {2.5, -1}}, Darker(c, 0.7), 1);
  Part(cr, Ellipse(5, -16, 3.8, 1.9, -0.4), Leaf, 0);
}

inline void DrawCat(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{5, -2}, {15, -2}, {15, -11}, {11, -15}}, c, 3, true);
  Part(cr, Ellipse(0, -8, 7, 8.5), c, 2);
  Part(cr, Poly({{-6, -21}, {-5.5, -29}, {-1, -24}}), c, 0);
  Part(cr, Poly({{1, -24}, {5.5, -29}, {6, -21}}), c, 0);
  Part(cr, Circle(0, -19, 6), c, 1.5);
  Dot(cr, -2.2, -20, 1.0, Ink);
  Dot(cr, 2.6, -20, 1.0, Ink);
  Dot(cr, 0.3, -17.5, 0.9, Hex(0xFF7A9A));
}

inline void DrawBird(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Poly({{-5, 0}, {-12, -4}, {-11, 3}}), c, 0.8);
  Part(cr, Ellipse(0, 0, 7, 4.5), c, 1.5);
  Part(cr, Circle(6, -3, 3.6), c, 1);
  Part(cr, Poly({{9, -4.2}, {12.8, -2.8}, {9, -1.6}}), Orange, 0);
  Dot(cr, 7, -4, 0.9, Ink);
  Part(cr, Poly({{-4, -1}, {3, -1}, {-5, -10}}), Darker(c, 0.85), 0.8);
}

inline void SeloBackground(cairo_t* cr, int W, int H, uint64_t seed) {
  Rng r(seed);
  const double hz = H * 0.44;
  VerticalGradient(cr, 0, hz, {{0, Hex(0x8EC5FF)}, {1, Hex(0xD6ECFF)}});
  WavyTop(cr, W, H, hz - 16, 10, r.Range(0.012, 0.02), r.Range(0.03, 0.05), r);
  cairo_path_t* far = cairo_copy_path(cr);
  Part(cr, [far](cairo_t* c) { cairo_append_path(c, far); }, Hex(0xB9DFA8), 0);
  cairo_path_destroy(far);
  WavyTop(cr, W, H, hz - 4, 7, r.Range(0.015, 0.025), r.Range(0.04, 0.06), r);
  cairo_path_t* near = cairo_copy_path(cr);
  Part(cr, [near](cairo_t* c) { cairo_append_path(c, near); }, Hex(0xA3D48A), 0);
  cairo_path_destroy(near);
  // The meadow, lighter towards the horizon.
  WavyTop(cr, W, H, hz + 8, 3, 0.02, 0.05, r);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, hz, 0, H);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.62, 0.84, 0.45);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.42, 0.70, 0.31);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 1.5);
  SetColour(cr, Ink);
  cairo_stroke(cr);
  // A dirt road winding towards the horizon.
  const double top = r.Range(0.25, 0.75) * W, bottom = r.Range(0.2, 0.8) * W, bend = r.Range(-60, 60);
  Part(
      cr,
      [=](cairo_t* c) {
        cairo_move_to(c, top - 3, hz + 9);
        cairo_curve_to(c, top - 3 + bend, hz + 40, bottom - 30 - bend, H - 40, bottom - 34, H + 3);
        cairo_line_to(c, bottom + 34, H + 3);
        cairo_curve_to(c, bottom + 30 - bend, H - 40, top + 3 + bend, hz + 40, top + 3, hz + 9);
        cairo_close_path(c);
      },
      Hex(0xEBD5A2), 0);
  for (int i = 0; i < 30; ++i) {
    const double x = r.Range(0, W), y = r.Range(hz + 14, H - 2);
    Line(cr, {{x - 2, y}, {x - 3, y - 4}}, Hex(0x4E8E3A), 1.1);
    Line(cr, {{x + 1, y}, {x + 2, y - 4}}, Hex(0x4E8E3A), 1.1);
  }
}

inline Theme SeloTheme() {
  Theme t;
  t.File = "Selo.pkr";
  t.W = 380, t.H = 256, t.Vertical = false, t.Bmp = false, t.Levels = 12;
  t.MinObjs = 19, t.MaxObjs = 26;
  t.Seed = 0x5E10;
  t.Background = SeloBackground;
  t.Zones = {{0.07, 0.27, 0.85, 1.05}, {0.52, 0.985, 0.62, 1.12}};
  const std::vector<uint32_t> greens = {0x5DB85B, 0x8CCB4A, 0x3E9B6E, 0xB5C93C};
  t.Kinds = {
      {"sun", 0, 0, 1, false, 0.9, 1.05, 0, {0xFFD966, 0xFFB347}, {}, DrawSun, "Sunce sija[e]nad selom."},
      {"cloud", 0, 3, 4, true, 0.8, 1.15, 0, {0xFFFFFF}, {}, DrawCloud, "Bijeli oblaci[e]plove nebom."},
      {"bird", 0, 1.5, 3, true, 0.95, 1.2, 0.2, {0x5C7FB8, 0xFF7A7A, 0xFFD966, 0x8E6A4A}, {}, DrawBird,
       "Ptice lete[e]nad krovovima."},
      {"house", 1, 3, 4, true, 0.9, 1.1, 0, {0xD9534F, 0x8B5A3C, 0x5C7FB8, 0xE07B39, 0x6E8B3D},
       {0xFFF1D0, 0xF9D5E5, 0xD6ECFF, 0xFFE49A}, DrawHouse, "Kuce imaju[e]sarene krovove."},
      {"tree", 1, 3, 6, true, 0.9, 1.15, 0, greens, {}, DrawTree, "Drvece pravi[e]hladovinu."},
      {"pine", 1, 2, 4, false, 0.85, 1.1, 0, {0x3E9B5E, 0x6AAF3C, 0x2F8F7F}, {}, DrawPine, "Borovi rastu[e]uz put."},
      {"bush", 1, 2, 5, true, 0.95, 1.2, 0, greens, {0xFF7A7A, 0xFFD966, 0xFFFFFF, 0xC58BF2}, DrawBush,
       "Grmlje cvjeta[e]uz put."},
      {"fence", 1, 1.5, 3, false, 0.9, 1.05, 0, {0xFFFFFF, 0xC89B6D, 0x8FB8E0}, {}, DrawFence,
       "Ograda cuva[e]dvoriste."},
      {"flower", 1, 2.5, 7, true, 1.15, 1.4, 0, {0xFF7A7A, 0xFFD966, 0xC58BF2, 0xFF9ED2, 0xFFFFFF, 0x6FB7FF}, {},
       DrawFlower, "Cvijece cvjeta[e]na livadi."},
      {"chicken", 1, 2, 4, true, 0.95, 1.2, 0, {0xFFFFFF, 0xC9823F, 0xF2C27B, 0x7E7A86}, {}, DrawChicken,
       "Kokosi traze[e]zrnje."},
      {"sheep", 1, 1.5, 3, true, 0.95, 1.15, 0, {0xFFFFFF, 0xF1E2C0, 0xA89A8E}, {}, DrawSheep,
       "Ovce mirno[e]pasu travu."},
      {"haystack", 1, 1, 2, false, 0.9, 1.1, 0, {0xF2C14E, 0xE0A93B, 0xD8D070}, {}, DrawHaystack,
       "Sijeno se susi[e]na suncu."},
      {"well", 1, 1, 1, true, 0.95, 1.1, 0, {0xD9534F, 0x8B5A3C, 0x5C7FB8}, {0x9AA5B1, 0xC89B6D}, DrawWell,
       "Voda iz bunara[e]je hladna."},
      {"mailbox", 1, 1, 2, true, 1.0, 1.2, 0, {0xD9534F, 0x5C7FB8, 0x50A050, 0xFFB347}, {}, DrawMailbox,
       "Postar je[e]donio pismo."},
      {"pumpkin", 1, 1.5, 3, true, 1.0, 1.25, 0, {0xFF9F2E, 0xFFD23F, 0x9CCB4A}, {}, DrawPumpkin,
       "Bundeve rastu[e]u vrtu."},
      {"cat", 1, 1, 2, true, 1.0, 1.2, 0, {0xFFB347, 0x8E8E9A, 0x4E4650, 0xFFFFFF}, {}, DrawCat,
       "Macka drijema[e]na suncu."},
  };
  t.PackInfo = "Selo: suncan dan na selu.[e]Kuce, vocnjaci, kokosi i ovce.[e]{N} slika, na svakoj pet razlika.";
  t.Openers = {"Dan u selu.",       "Jutro na selu.", "Podne u selu.",  "Mirna nedjelja.",
               "Ljetni dan.",       "Vrijeme berbe.", "Proljece.",      "Topli dan.",
               "Tiho poslijepodne.", "Dan za setnju.", "Selo se budi.", "Lijep dan."};
  t.Scores = {{"Zeko Peko", 1450}, {"Baka Mara", 1240}, {"Djed Stipe", 1050}, {"Mala Maja", 880},
              {"Pero", 720},       {"Kokica", 580},     {"Jura", 450},        {"Suncica", 330},
              {"Ana", 220},        {"Tin", 110}};
  return t;
}

// ---------------------------------------------------------------- sea

inline void DrawSeagull(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Poly({{-1, -1}, {-7, -8}, {-16, -7}, {-6, 1}}), c, 1);
  Part(cr, Ellipse(0, 1, 7, 3.5), White, 1);
  Part(cr, Circle(6, -1, 3), White, 0.8);
  Part(cr, Poly({{8.5, -1.8}, {12, -0.6}, {8.5, 0.4}}), Gold, 0);
  Dot(cr, 6.8, -1.8, 0.8, Ink);
  Part(cr, Poly({{1, -1}, {5, -9}, {13, -10}, {5, 1}}), c, 1);
}

inline void DrawSailboat(cairo_t* cr, const Obj&, Rgb hull, Rgb sail) {
  Limb(cr, {{0, -4}, {0, -40}}, Wood, 1.8);
  Part(cr, Poly({{0, -41}, {7, -38.5}, {0, -36}}), Coral, 0);
  Part(cr, Poly({{2.5, -36}, {2.5, -9}, {21, -9}}), sail, 2);
  Part(cr, Poly({{-2.5, -30}, {-2.5, -9}, {-13, -9}}), sail, 1.5);
  Part(cr, Poly({{-23, -8}, {22, -8}, {15, 2}, {-16, 2}}), hull, 2);
  Line(cr, {{-20, -4}, {19, -4}}, Darker(hull, 0.7), 1.2);
}

inline void DrawBuoy(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{0, -17}, {0, -24}}, Hex(0x5A5566), 1.2);
  Part(cr, Circle(0, -26, 2.6), Gold, 0);
  Part(cr, Poly({{-8, 0}, {-5, -18}, {5, -18}, {8, 0}}), c, 2);
  Part(cr, Poly({{-6.6, -7}, {-5.9, -12}, {5.9, -12}, {6.6, -7}}), White, 0);
}

inline void DrawLighthouse(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Union({Ellipse(0, -2, 21, 6), Circle(-9, -6, 7), Circle(9, -5, 8)}), Stone, 2);
  auto half = [](double y) { return 8 - 2.5 * (-(y + 6)) / 42; };
  Part(cr, Poly({{-8, -6}, {8, -6}, {5.5, -48}, {-5.5, -48}}), White, 2);
  for (double y0 : {-20.0, -36.0}) {
    const double y1 = y0 - 8;
    Part(cr, Poly({{-half(y0), y0}, {half(y0), y0}, {half(y1), y1}, {-half(y1), y1}}), c, 0);
  }
  Part(cr, RoundRect(-2.5, -15, 5, 9, 2), Wood, 0);
  Part(cr, Rect(-5, -55, 10, 7), Gold, 0);
  Part(cr, Poly({{-7.5, -55}, {0, -63}, {7.5, -55}}), c, 1.5);
}

inline void DrawIsland(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -27, 2);
        cairo_curve_to(cr, -17, -9, 17, -9, 27, 2);
        cairo_close_path(cr);
      },
      Hex(0xF2D89B), 2);
  Limb(cr, {{1, -5}, {2, -22}, {8, -32}, {12, -39}}, Wood, 3.6, true);
  for (double a : {-2.9, -2.2, -1.2, -0.4, 0.4}) {
    Part(cr, Ellipse(12 + 9 * std::cos(a), -39 + 9 * std::sin(a) + 2, 9.5, 3, a), c, 1.2);
  }
  Part(cr, Circle(9.5, -36.5, 2.3), Hex(0x7A5230), 0);
  Part(cr, Circle(14, -36, 2.3), Hex(0x7A5230), 0);
}

inline void DrawFish(cairo_t* cr, const Obj& o, Rgb c, Rgb fin) {
  Part(cr, Poly({{-8, 0}, {-18, -8}, {-15, 0}, {-18, 8}}), fin, 1.2);
  Part(cr, Poly({{-5, -5}, {3, -6.5}, {-3, -12}}), fin, 0.8);
  Part(cr, Ellipse(0, 0, 11, 7), c, 2.2);
  if (o.Var % 2) {
    cairo_save(cr);
    cairo_new_path(cr);
    Ellipse(0, 0, 10, 6)(cr);
    cairo_clip(cr);
    Part(cr, Rect(-4, -8, 3.5, 16), fin, 0);
    cairo_restore(cr);
  }
  Eye(cr, 5.5, -1.5, 2.3);
  Line(cr, {{9, 2}, {10.5, 1.5}}, Ink, 1);
}

inline void DrawJellyfish(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  for (double x : {-6.0, -2.0, 2.0, 6.0}) Limb(cr, {{x, 0}, {x - 3, 6}, {x + 3, 11}, {x, 17}}, Darker(c, 0.9), 1.3, true);
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -11, 0);
        cairo_curve_to(cr, -11, -17, 11, -17, 11, 0);
        cairo_curve_to(cr, 7, 2, 4, -2, 0, 1);
        cairo_curve_to(cr, -4, -2, -7, 2, -11, 0);
        cairo_close_path(cr);
      },
      c, 2.2);
  Dot(cr, -3, -6, 1.1, Ink);
  Dot(cr, 3, -6, 1.1, Ink);
}

inline void DrawTurtle(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  const Rgb skin = Hex(0x8CCB6A);
  Part(cr, Ellipse(-8, 6, 5.5, 2.6, 0.6), skin, 0.8);
  Part(cr, Ellipse(9, 6, 5.5, 2.6, -0.6), skin, 0.8);
  Part(cr, Ellipse(-9, -5, 5.5, 2.6, -0.6), skin, 0.8);
  Part(cr, Ellipse(9, -6, 6.5, 2.8, 0.6), skin, 0.8);
  Part(cr, Circle(15, -1, 4.2), skin, 1);
  Dot(cr, 16.5, -2.2, 1.0, Ink);
  Part(cr, Ellipse(0, 0, 12, 8), c, 2.5);
  Part(cr, Poly({{-3, -4}, {3, -4}, {5, 0}, {3, 4}, {-3, 4}, {-5, 0}}), Darker(c, 0.85), 0);
}

inline void DrawBubbles(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(cr, Circle(0, 0, 4.5), c, 0);
  Part(cr, Circle(5, -9, 3.3), c, 0);
  Part(cr, Circle(-1, -16, 2.6), c, 0);
  Dot(cr, -1.5, -1.5, 1.2, White);
  Dot(cr, 4, -10, 0.9, White);
}

inline void DrawOctopus(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  for (int i = 0; i < 4; ++i) {
    const double x = -6 + i * 4;
    Limb(cr, {{x, -4}, {x - 2, 3}, {x + 5, 5}, {x + 4, 9}}, c, 2.6, true);
  }
  Part(cr, Ellipse(0, -12, 9, 10), c, 2.5);
  Eye(cr, -3, -12, 2.2);
  Eye(cr, 3.5, -12, 2.2);
}

inline void DrawCrab(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  for (int i = 0; i < 3; ++i) {
    Line(cr, {{-6, -3.0 + i * 1.5}, {-12, -1.0 + i * 1.5}}, Ink, 1.4);
    Line(cr, {{6, -3.0 + i * 1.5}, {12, -1.0 + i * 1.5}}, Ink, 1.4);
  }
  Limb(cr, {{-6, -6}, {-12, -10}}, c, 2);
  Limb(cr, {{6, -6}, {12, -10}}, c, 2);
  Part(cr, Union({Circle(-13, -11, 4), Poly({{-13, -11}, {-10, -17}, {-16, -15}})}), c, 1);
  Part(cr, Union({Circle(13, -11, 4), Poly({{13, -11}, {10, -17}, {16, -15}})}), c, 1);
  Limb(cr, {{-3, -8}, {-3, -13}}, c, 1.2);
  Limb(cr, {{3, -8}, {3, -13}}, c, 1.2);
  Part(cr, Ellipse(0, -5, 9, 5.5), c, 2);
  Part(cr, Circle(-3, -14, 1.8), White, 0);
  Part(cr, Circle(3, -14, 1.8), White, 0);
  Dot(cr, -3, -14, 0.9, Ink);
  Dot(cr, 3, -14, 0.9, Ink);
}

inline void DrawStarfish(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  const double a = (o.Var % 5) * 0.12;
  Part(cr, Star(0, -8, 10, 4.2, 5, a), c, 1.8);
  Dot(cr, 0, -8, 1.1, Darker(c, 0.7));
}

inline void DrawShell(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, -10, -5);
        cairo_curve_to(cr, -10, -17, 10, -17, 10, -5);
        cairo_close_path(cr);
      },
      c, 2);
  for (double x : {-5.0, 0.0, 5.0}) Line(cr, {{0, -1}, {x * 1.3, -12}}, Darker(c, 0.72), 1);
  Part(cr, RoundRect(-3, -1.5, 6, 3, 1.2), c, 0);
}

inline void DrawSeaweed(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  const double extra = (o.Var % 3) * 3;
  Limb(cr, {{-5, 0}, {-10, -10}, {0, -18}, {-6, -28 - extra}}, c, 3, true);
  Limb(cr, {{1, 0}, {6, -8}, {-3, -14}, {4, -22}}, c, 3, true);
  Limb(cr, {{6, 0}, {11, -7}, {6, -12}, {12, -17 - extra}}, Darker(c, 0.9), 2.6, true);
}

inline void DrawRock(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  Rng r(o.Seed);
  std::vector<Pt> p = {{-13, 0}};
  for (int i = 1; i < 7; ++i) {
    const double a = Pi + i * Pi / 7;
    const double rad = r.Range(8, 12);
    p.push_back({rad * 1.2 * std::cos(a), rad * std::sin(a)});
  }
  p.push_back({13, 0});
  Part(cr, Poly(p), c, 2.5);
  Line(cr, {{-4, -6}, {-1, -4}, {2, -7}}, Darker(c, 0.7), 1);
}

inline void DrawCoralPlant(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{0, 0}, {0, -12}}, c, 3.2);
  Limb(cr, {{0, -8}, {-7, -15}, {-8, -22}}, c, 2.8);
  Limb(cr, {{0, -12}, {5, -19}, {4, -26}}, c, 2.8);
  Limb(cr, {{-4, -12}, {-11, -13}}, c, 2.4);
  Limb(cr, {{3, -16}, {10, -17}, {12, -21}}, c, 2.4);
}

inline void MoreBackground(cairo_t* cr, int W, int H, uint64_t seed) {
  Rng r(seed);
  const double hz = H * 0.34;
  VerticalGradient(cr, 0, hz, {{0, Hex(0x8EC5FF)}, {1, Hex(0xD6ECFF)}});
  cairo_save(cr);
  cairo_rectangle(cr, 0, hz, W, H - hz);
  cairo_clip(cr);
  VerticalGradient(cr, hz, H, {{0, Hex(0x6FCDF0)}, {0.5, Hex(0x3E98D2)}, {1, Hex(0x2A76B8)}});
  cairo_restore(cr);
  Line(cr, {{-2, hz}, {W + 2.0, hz}}, Ink, 1.4);
  // Soft light bands under the surface.
  for (int i = 0; i < 4; ++i) {
    const double x = r.Range(0, W);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x - 10, hz);
    cairo_line_to(cr, x + 10, hz);
    cairo_line_to(cr, x + 40, H * 0.85);
    cairo_line_to(cr, x + 8, H * 0.85);
    cairo_close_path(cr);
    SetColour(cr, White, 0.07);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  for (int i = 0; i < 14; ++i) {
    const double x = r.Range(0, W), y = r.Range(hz + 5, hz + 34);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, x, y + 3, 4, 1.2 * Pi, 1.8 * Pi);
    cairo_arc(cr, x + 6.5, y + 3, 4, 1.2 * Pi, 1.8 * Pi);
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, White, 0.75);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  WavyTop(cr, W, H, H * 0.87, 4, r.Range(0.02, 0.03), r.Range(0.05, 0.07), r);
  cairo_path_t* sand = cairo_copy_path(cr);
  Part(cr, [sand](cairo_t* c) { cairo_append_path(c, sand); }, Hex(0xF2D89B), 0);
  cairo_path_destroy(sand);
  for (int i = 0; i < 25; ++i) Dot(cr, r.Range(0, W), r.Range(H * 0.9, H - 1), 0.8, Hex(0xD9B978));
}

inline Theme MoreTheme() {
  Theme t;
  t.File = "More.pkr";
  t.W = 380, t.H = 256, t.Vertical = false, t.Bmp = true, t.Levels = 10;
  t.MinObjs = 20, t.MaxObjs = 26;
  t.Seed = 0x3033;
  t.Background = MoreBackground;
  t.Zones = {{0.06, 0.24, 0.85, 1.05}, {0.345, 0.37, 0.75, 0.95}, {0.47, 0.80, 0.9, 1.15}, {0.91, 0.985, 0.9, 1.1}};
  const std::vector<uint32_t> bright = {0xFFB347, 0xFF7A7A, 0xFFD966, 0x6FD0C8, 0xC58BF2, 0x9BD46E};
  t.Kinds = {
      {"sun", 0, 0, 1, false, 0.9, 1.05, 0, {0xFFD966, 0xFFB347}, {}, DrawSun, "Sunce grije[e]more."},
      {"cloud", 0, 2.5, 3, true, 0.8, 1.1, 0, {0xFFFFFF}, {}, DrawCloud, "Oblaci plove[e]nad morem."},
      {"seagull", 0, 2, 3, true, 0.95, 1.2, 0.15, {0xFFFFFF, 0x9AA8B8, 0x5A6070}, {}, DrawSeagull,
       "Galebovi lete[e]nad valovima."},
      {"sailboat", 1, 2, 3, true, 0.85, 1.05, 0, {0xD9534F, 0x2E6DB4, 0xFFD966, 0xFFFFFF, 0x6E8B3D},
       {0xFFFFFF, 0xFFE7B3, 0xFF9E9E, 0xBFE1FF}, DrawSailboat, "Jedrilice plove[e]prema luci."},
      {"buoy", 1, 1, 2, false, 1.0, 1.2, 0, {0xE8443A, 0xFFB347, 0x50A050}, {}, DrawBuoy, "Plutace cuvaju[e]kupace."},
      {"lighthouse", 1, 0.7, 1, false, 0.95, 1.05, 0, {0xE8443A, 0x2E6DB4}, {}, DrawLighthouse,
       "Svjetionik[e]pokazuje put."},
      {"island", 1, 0.7, 1, true, 0.9, 1.05, 0, {0x5DB85B, 0x8CCB4A}, {}, DrawIsland, "Na otocicu[e]raste palma."},
      {"fish", 2, 4, 8, true, 0.85, 1.25, 0.15, bright, {0xFFFFFF, 0xE07B39, 0x2E6DB4, 0xFF5FA0}, DrawFish,
       "Ribice se[e]igraju u moru."},
      {"jellyfish", 2, 1.5, 3, false, 0.9, 1.15, 0.1, {0xFF9ED2, 0xC58BF2, 0xBDE8FF, 0xFFB3A7}, {}, DrawJellyfish,
       "Meduze plutaju[e]morem."},
      {"turtle", 2, 1, 2, true, 0.9, 1.1, 0.15, {0x6E8B3D, 0x9C6B3F, 0x3E9B8E, 0xC89B6D}, {}, DrawTurtle,
       "Kornjaca polako[e]pliva."},
      {"bubbles", 2, 1.5, 3, true, 1.2, 1.45, 0, {0xDDF4FF}, {}, DrawBubbles, "Mjehurici idu[e]prema povrsini."},
      {"octopus", 2, 1, 1, true, 0.9, 1.1, 0, {0xC58BF2, 0xFF7A7A, 0xFF9F5A, 0xFF9ED2}, {}, DrawOctopus,
       "Hobotnica se[e]skriva."},
      {"crab", 3, 1.5, 2, false, 0.9, 1.1, 0, {0xE8553E, 0xFF9F2E, 0xC58BF2, 0x6FB7FF}, {}, DrawCrab,
       "Rak seta[e]po pijesku."},
      {"starfish", 3, 2, 4, false, 0.9, 1.15, 0, {0xFF9F2E, 0xFF7A7A, 0xFFD966, 0xC58BF2}, {}, DrawStarfish,
       "Zvjezdace leze[e]na dnu."},
      {"shell", 3, 1.5, 3, false, 0.95, 1.2, 0, {0xFFC9B5, 0xFFE7B3, 0xF5A3B8, 0xFFFFFF}, {}, DrawShell,
       "Skoljke na[e]pjescanom dnu."},
      {"seaweed", 3, 2, 4, true, 0.9, 1.2, 0, {0x3E9B5E, 0x6FBF4A, 0x2F8F6F, 0x9FB832}, {}, DrawSeaweed,
       "Alge se njisu[e]u struji."},
      {"rock", 3, 1.5, 3, true, 0.9, 1.2, 0, {0x9AA5B1, 0x8A7F78, 0xC2B8A3}, {}, DrawRock, "Kamenje na[e]morskom dnu."},
      {"coral", 3, 1.5, 3, true, 0.9, 1.15, 0, {0xFF7A7A, 0xFF9F5A, 0xC58BF2, 0xFFD966}, {}, DrawCoralPlant,
       "Koralji su[e]puni boja."},
  };
  t.PackInfo = "More: ljetni dan na obali i pod valovima.[e]Jedrilice, ribe, rakovi i skoljke.[e]{N} slika, na svakoj pet razlika.";
  t.Openers = {"Ljeto na moru.", "Plavo more.",   "Mirno more.",  "Dan na plazi.", "Pod valovima.",    "Morski svijet.",
               "Jutro na obali.", "Topli valovi.", "Tiha uvala.", "Dan za ronjenje.", "Ljetna luka.", "Sunce i more."};
  t.Scores = {{"Kapetan Ivo", 1480}, {"Galeb", 1210}, {"Morska Vila", 1020}, {"Ribica", 860}, {"Lana", 700},
              {"Mornar Luka", 560},  {"Skoljka", 440}, {"Toni", 320},        {"Rakic", 210},  {"Nina", 120}};
  return t;
}

// ---------------------------------------------------------------- space

inline void DrawPlanet(cairo_t* cr, const Obj& o, Rgb c, Rgb ring) {
  const bool ringed = o.Var % 2;
  auto ringStroke = [&](bool frontOnly) {
    cairo_save(cr);
    if (frontOnly) {
      cairo_new_path(cr);
      cairo_rectangle(cr, -40, 0, 80, 40);
      cairo_clip(cr);
    }
    for (int pass = 0; pass < 2; ++pass) {
      cairo_save(cr);
      cairo_new_path(cr);
      cairo_scale(cr, 24, 6.5);
      cairo_arc(cr, 0, 0, 1, 0, 2 * Pi);
      cairo_restore(cr);
      cairo_save(cr);
      cairo_identity_matrix(cr);
      cairo_set_line_width(cr, pass == 0 ? 3.2 + 2 * OutlineWidth : 3.2);
      SetColour(cr, pass == 0 ? Ink : ring);
      cairo_stroke(cr);
      cairo_restore(cr);
    }
    cairo_restore(cr);
  };
  if (ringed) ringStroke(false);
  Part(cr, Circle(0, 0, 14), c, 3);
  cairo_save(cr);
  cairo_new_path(cr);
  Circle(0, 0, 13)(cr);
  cairo_clip(cr);
  SetColour(cr, Darker(c, 0.88));
  cairo_rectangle(cr, -15, -6, 30, 3);
  cairo_rectangle(cr, -15, 3, 30, 2.5);
  cairo_fill(cr);
  cairo_restore(cr);
  if (ringed) ringStroke(true);
}

inline void DrawMoon(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  Part(cr, Circle(0, 0, 11), c, 3);
  Rng r(o.Seed);
  for (int i = 0; i < 3; ++i) {
    const double a = r.Range(0, 2 * Pi), d = r.Range(2, 6), rad = r.Range(1.8, 3);
    Part(cr, Circle(d * std::cos(a), d * std::sin(a), rad), Darker(c, 0.86), 0);
  }
}

inline void DrawStar(cairo_t* cr, const Obj&, Rgb c, Rgb) { Part(cr, Star(0, 0, 8, 3.6, 5), c, 1.5); }

inline void DrawRocket(cairo_t* cr, const Obj&, Rgb c, Rgb body) {
  Part(cr, Poly({{-4, 13}, {0, 24}, {4, 13}}), Orange, 0);
  Part(cr, Poly({{-2, 13}, {0, 19}, {2, 13}}), Gold, 0);
  Part(cr, Poly({{-5, 3}, {-12, 14}, {-5, 12}}), c, 1);
  Part(cr, Poly({{5, 3}, {12, 14}, {5, 12}}), c, 1);
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -6, 13);
        cairo_line_to(cr, -6, -2);
        cairo_curve_to(cr, -6, -12, -3, -18, 0, -21);
        cairo_curve_to(cr, 3, -18, 6, -12, 6, -2);
        cairo_line_to(cr, 6, 13);
        cairo_close_path(cr);
      },
      body, 2);
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -5.4, -8);
        cairo_curve_to(cr, -4.5, -14, -2, -18, 0, -21);
        cairo_curve_to(cr, 2, -18, 4.5, -14, 5.4, -8);
        cairo_close_path(cr);
      },
      c, 1);
  Part(cr, Circle(0, 1, 3.3), Hex(0x6FB7FF), 0);
  Dot(cr, -1, 0, 1, White);
}

inline void DrawUfo(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -8, -2);
        cairo_curve_to(cr, -8, -14, 8, -14, 8, -2);
        cairo_close_path(cr);
      },
      Glass, 1.5);
  Part(cr, Ellipse(0, 0, 18, 5), c, 2);
  for (double x : {-10.0, -3.5, 3.5, 10.0}) Part(cr, Circle(x, 1, 1.6), Gold, 0);
}

inline void DrawAstronaut(cairo_t* cr, const Obj&, Rgb suit, Rgb) {
  Part(cr, RoundRect(-10, -6, 5, 12, 1.5), Hex(0xB8BCC8), 1);
  Part(cr, RoundRect(-5, 5, 4.5, 10, 2), suit, 1);
  Part(cr, RoundRect(0.5, 5, 4.5, 10, 2), suit, 1);
  Part(cr, RoundRect(-9, -3, 4, 9, 2), suit, 1);
  Part(cr, RoundRect(-6, -6, 12, 14, 4), suit, 2);
  Part(cr, RoundRect(4, -13, 4, 10, 2), suit, 1);
  Part(cr, Circle(0, -12, 7), suit, 2);
  Part(cr, Ellipse(2, -12, 4.5, 3.5), Hex(0x3E6FB0), 1);
  Dot(cr, 0.5, -13.5, 1.1, White);
  Part(cr, Rect(-2, -2, 4, 3), Coral, 0);
}

inline void DrawSatellite(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  const Rgb panel = Hex(0x2E6DB4);
  Line(cr, {{-10, 0}, {10, 0}}, Ink, 1.6);
  for (double x0 : {-22.0, 10.0}) {
    Part(cr, Rect(x0, -4, 12, 8), panel, 0);
    Line(cr, {{x0 + 4, -4}, {x0 + 4, 4}}, Glass, 0.8);
    Line(cr, {{x0 + 8, -4}, {x0 + 8, 4}}, Glass, 0.8);
  }
  Line(cr, {{3, -6}, {6, -14}}, Ink, 1.2);
  Part(cr, Circle(6, -14.5, 1.6), Coral, 0);
  Part(cr, RoundRect(-6, -6, 12, 12, 2), c, 2);
  Part(
      cr,
      [](cairo_t* cr) {
        cairo_move_to(cr, -5, -6);
        cairo_curve_to(cr, -5, -12, 2, -12, 2, -6);
        cairo_close_path(cr);
      },
      Hex(0xE8E8F0), 1);
}

inline void DrawComet(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  // The tail fades out into the sky, without an outline.
  const Rgb tail = Mix(c, White, 0.5);
  cairo_save(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, -38, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, tail.r, tail.g, tail.b, 0.95);
  cairo_pattern_add_color_stop_rgba(g, 1, tail.r, tail.g, tail.b, 0);
  cairo_new_path(cr);
  cairo_move_to(cr, 2, -6);
  cairo_curve_to(cr, -14, -6, -28, -4, -38, -1);
  cairo_curve_to(cr, -28, 3, -14, 6, 2, 6);
  cairo_close_path(cr);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
  Part(cr, Circle(0, 0, 6), c, 1.5);
  Dot(cr, -1.5, -1.5, 1.6, White);
}

inline void DrawAsteroid(cairo_t* cr, const Obj& o, Rgb c, Rgb) {
  Rng r(o.Seed);
  std::vector<Pt> p;
  for (int i = 0; i < 9; ++i) {
    const double a = i * 2 * Pi / 9, rad = r.Range(7.5, 11);
    p.push_back({rad * 1.15 * std::cos(a), rad * std::sin(a)});
  }
  Part(cr, Poly(p), c, 2.5);
  Part(cr, Circle(-3, -2, 2.2), Darker(c, 0.82), 0);
  Part(cr, Circle(4, 3, 1.6), Darker(c, 0.82), 0);
}

inline void DrawAlien(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{-3, 0}, {-3, -6}}, c, 2.5);
  Limb(cr, {{3, 0}, {3, -6}}, c, 2.5);
  Limb(cr, {{-5, -10}, {-9, -5}}, c, 2.2);
  Limb(cr, {{5, -13}, {10, -19}}, c, 2.2);
  Limb(cr, {{-3, -18}, {-5, -25}}, c, 1.2);
  Limb(cr, {{3, -18}, {5, -25}}, c, 1.2);
  Part(cr, Circle(-5, -26, 1.7), Gold, 0);
  Part(cr, Circle(5, -26, 1.7), Gold, 0);
  Part(cr, Ellipse(0, -12, 7, 8), c, 2);
  Part(cr, Circle(0, -14, 3.2), White, 0);
  Dot(cr, 0.9, -14, 1.6, Ink);
  Line(cr, {{-2, -8}, {0, -7}, {2, -8}}, Ink, 1);
}

inline void DrawFlag(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{0, 0}, {0, -28}}, Hex(0xD9D9E0), 1.4);
  Part(cr, Rect(1, -28, 14, 9), c, 1.2);
  Part(cr, Rect(1, -24.8, 14, 2.6), White, 0);
  Part(cr, Ellipse(0, 0, 4, 1.5), Hex(0x7A6FA3), 0);
}

inline void DrawRover(cairo_t* cr, const Obj&, Rgb c, Rgb) {
  Limb(cr, {{-8, -12}, {-8, -19}}, Hex(0x8A8A96), 1.3);
  Part(cr, RoundRect(-11.5, -22.5, 7, 4, 1), Hex(0xD9D9E0), 0);
  Part(cr, Rect(-3, -15.5, 14, 2.5), Hex(0x2E6DB4), 0);
  Part(cr, RoundRect(-12, -13, 24, 8, 2), c, 2);
  for (double x : {-9.0, 0.0, 9.0}) {
    Part(cr, Circle(x, -3.5, 3.5), Hex(0x5A5566), 0);
    Dot(cr, x, -3.5, 1.1, Hex(0xB8BCC8));
  }
}

inline void SvemirBackground(cairo_t* cr, int W, int H, uint64_t seed) {
  Rng r(seed);
  VerticalGradient(cr, 0, H, {{0, Hex(0x121B40)}, {0.6, Hex(0x2A2358)}, {1, Hex(0x3E2D6A)}});
  const uint32_t glows[] = {0xFF9ED2, 0x6FB7FF, 0xC58BF2};
  for (int i = 0; i < 3; ++i) {
    const double x = r.Range(0, W), y = r.Range(0, H * 0.75), rad = r.Range(60, 110);
    const Rgb g = Hex(glows[i]);
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, rad);
    cairo_pattern_add_color_stop_rgba(p, 0, g.r, g.g, g.b, 0.22);
    cairo_pattern_add_color_stop_rgba(p, 1, g.r, g.g, g.b, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
  }
  for (int i = 0; i < 80; ++i) {
    const double x = r.Range(0, W), y = r.Range(0, H * 0.86), rad = r.Range(0.5, 1.1);
    cairo_new_path(cr);
    Circle(x, y, rad)(cr);
    SetColour(cr, White, r.Range(0.45, 0.95));
    cairo_fill(cr);
  }
  const double g0 = H * 0.865 + r.Range(-4, 4), g1 = H * 0.865 + r.Range(-4, 4);
  Part(
      cr,
      [=](cairo_t* c) {
        cairo_move_to(c, -3, H + 3);
        cairo_line_to(c, -3, g0);
        cairo_curve_to(c, W / 3.0, g0 - 9, 2 * W / 3.0, g1 - 9, W + 3, g1);
        cairo_line_to(c, W + 3, H + 3);
        cairo_close_path(c);
      },
      Hex(0x9384C2), 3, 0.85);
  for (int i = 0; i < 4; ++i) {
    const double x = r.Range(10, W - 10), y = r.Range(H * 0.9, H - 5);
    Part(cr, Ellipse(x, y, r.Range(6, 11), r.Range(1.8, 2.8)), Hex(0x7A6CA8), 0);
  }
}

inline Theme SvemirTheme() {
  Theme t;
  t.File = "Svemir.pkr";
  t.W = 256, t.H = 380, t.Vertical = true, t.Bmp = false, t.Levels = 12;
  t.MinObjs = 17, t.MaxObjs = 22;
  t.Seed = 0x5E3141;
  t.Background = SvemirBackground;
  t.Zones = {{0.05, 0.80, 0.9, 1.15}, {0.905, 0.975, 0.9, 1.05}};
  t.Kinds = {
      {"planet", 0, 2, 3, true, 0.85, 1.15, 0.45, {0xFF9F5A, 0x6FB7FF, 0xC58BF2, 0x9BD46E, 0xFF7A7A, 0xFFD966},
       {0xFFE7B3, 0xBFE1FF, 0xFFB3D9}, DrawPlanet, "Planeti se[e]polako vrte."},
      {"moon", 0, 1.5, 2, true, 0.9, 1.2, 0, {0xD9D9E0, 0xF2E6C2, 0xBFD7EA}, {}, DrawMoon, "Mjeseci su[e]puni kratera."},
      {"star", 0, 3, 7, false, 1.0, 1.4, 0, {0xFFD966, 0xFFFFFF, 0xFFB347, 0xFF9ED2}, {}, DrawStar,
       "Zvijezde[e]trepere."},
      {"rocket", 0, 1.5, 2, true, 0.9, 1.1, 0.7, {0xFF7A7A, 0x6FB7FF, 0xFFB347, 0x9BD46E},
       {0xFFFFFF, 0xE8E8F0, 0xFFE7B3}, DrawRocket, "Raketa leti[e]u svemir."},
      {"ufo", 0, 1.5, 2, false, 0.85, 1.05, 0.15, {0x9AA5B1, 0x9BD46E, 0xC58BF2, 0xFF9F5A}, {}, DrawUfo,
       "NLO dolazi[e]u posjet."},
      {"astronaut", 0, 1.2, 2, true, 0.95, 1.15, 0.4, {0xFFFFFF, 0xFFB347, 0x9ED8FF, 0xFFE7B3}, {}, DrawAstronaut,
       "Astronaut[e]lebdi."},
      {"satellite", 0, 1.2, 2, true, 0.85, 1.05, 0.5, {0xFFD966, 0xD9D9E0, 0xFF9F5A, 0x9BD46E}, {}, DrawSatellite,
       "Satelit salje[e]poruke."},
      {"comet", 0, 1.2, 2, true, 0.9, 1.1, 0.4, {0x9ED8FF, 0xFFD966, 0xFF9ED2, 0x9BD46E}, {}, DrawComet,
       "Komet vuce[e]dugi rep."},
      {"asteroid", 0, 1.5, 3, true, 0.9, 1.2, 0, {0xA08C7A, 0x8A8A96, 0xC2A27A}, {}, DrawAsteroid,
       "Asteroidi[e]lete okolo."},
      {"alien", 1, 1.5, 2, true, 0.95, 1.1, 0, {0x9BD46E, 0x6FD0C8, 0xFF9ED2, 0xFFD966}, {}, DrawAlien,
       "Vanzemaljac[e]mase."},
      {"flag", 1, 1, 1, true, 0.95, 1.1, 0, {0xFF7A7A, 0xFFD966, 0x6FB7FF, 0x9BD46E}, {}, DrawFlag,
       "Zastava na[e]novom svijetu."},
      {"rover", 1, 1, 1, true, 0.95, 1.1, 0, {0xFFFFFF, 0xFFD966, 0xFF9F5A, 0x9ED8FF}, {}, DrawRover,
       "Rover[e]istrazuje tlo."},
  };
  t.PackInfo = "Svemir: put medju zvijezde.[e]Rakete, planeti i vanzemaljci.[e]{N} uspravnih slika, na svakoj pet razlika.";
  t.Openers = {"Noc u[e]svemiru.",   "Daleko od[e]Zemlje.", "Put do[e]zvijezda.", "Mirna[e]galaksija.",
               "Svemirska[e]setnja.", "Nova[e]planeta.",     "Let kroz[e]svemir.", "Zvjezdana[e]noc.",
               "Svemirski[e]izlet.",  "Kozmicka[e]luka.",    "Mlijecna[e]staza.",  "Tiha[e]orbita."};
  t.Scores = {{"Astro Ana", 1500}, {"Kometko", 1260}, {"Zvjezdica", 1010}, {"Raketa", 840}, {"Marko", 690},
              {"Orbita", 540},     {"Luna", 420},     {"Vanzemka", 300},   {"Iva", 200},    {"Pluton", 100}};
  return t;
}

}  // namespace scene
