#pragma once
// Cartoon drawing kit for the level scenes: a deterministic random source, colours, and shape
// parts drawn with a dark outline, a flat fill and one soft shade away from the top-left light.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace scene {

constexpr double Pi = 3.14159265358979323846;

// splitmix64: the same numbers on every machine and compiler, unlike <random>'s distributions.
struct Rng {
  uint64_t State;
  explicit Rng(uint64_t Seed) : State(Seed) {}
  uint64_t Next() {
    uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uni() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double a, double b) { return a + (b - a) * Uni(); }
  int Int(int n) { return int(Next() % uint64_t(n)); }
  bool Chance(double p) { return Uni() < p; }
};

struct Rgb {
  double r, g, b;
};
inline Rgb Hex(uint32_t v) { return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0}; }
inline Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
inline Rgb Darker(Rgb c, double f = 0.8) { return {c.r * f, c.g * f, c.b * f}; }
inline const Rgb Ink = Hex(0x2B2340);
inline const Rgb White = Hex(0xFFFFFF);

inline void SetColour(cairo_t* cr, Rgb c, double a = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

using Path = std::function<void(cairo_t*)>;
using Pt = std::pair<double, double>;

inline Path Circle(double x, double y, double r) {
  return [=](cairo_t* cr) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * Pi);
    cairo_close_path(cr);
  };
}
inline Path Ellipse(double x, double y, double rx, double ry, double angle = 0) {
  return [=](cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * Pi);
    cairo_close_path(cr);
    cairo_restore(cr);
  };
}
inline Path Poly(std::vector<Pt> p) {
  return [p = std::move(p)](cairo_t* cr) {
    cairo_new_sub_path(cr);
    for (const auto& [x, y] : p) cairo_line_to(cr, x, y);
    cairo_close_path(cr);
  };
}
inline Path Rect(double x, double y, double w, double h) { return Poly({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}); }
inline Path RoundRect(double x, double y, double w, double h, double r) {
  return [=](cairo_t* cr) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -Pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, Pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, Pi / 2, Pi);
    cairo_arc(cr, x + r, y + r, r, Pi, 1.5 * Pi);
    cairo_close_path(cr);
  };
}
// Several sub-paths filled as one shape (non-zero winding), outlined only around the union.
inline Path Union(std::vector<Path> parts) {
  return [parts = std::move(parts)](cairo_t* cr) {
    for (const auto& p : parts) p(cr);
  };
}
inline Path Star(double x, double y, double rOut, double rIn, int points, double angle = 0) {
  std::vector<Pt> p;
  for (int i = 0; i < points * 2; ++i) {
    double a = angle - Pi / 2 + i * Pi / points;
    double r = (i % 2) ? rIn : rOut;
    p.push_back({x + r * std::cos(a), y + r * std::sin(a)});
  }
  return Poly(p);
}

constexpr double OutlineWidth = 1.7;

// Outline first at double width, then the fill over its inner half: the outline follows only
// the outside of unions. The shade is the part of the shape not covered by itself shifted
// towards the light, so it sits on the lower right whatever the object's transform.
inline void Part(cairo_t* cr, const Path& path, Rgb fill, double shadePx = 2.2, double shadeFactor = 0.82) {
  cairo_save(cr);
  cairo_new_path(cr);
  path(cr);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_line_width(cr, 2 * OutlineWidth);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, Ink);
  cairo_stroke_preserve(cr);
  cairo_restore(cr);
  if (shadePx > 0) {
    SetColour(cr, Darker(fill, shadeFactor));
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    double dx = -shadePx, dy = -shadePx;
    cairo_device_to_user_distance(cr, &dx, &dy);
    cairo_translate(cr, dx, dy);
    cairo_new_path(cr);
    path(cr);
    SetColour(cr, fill);
    cairo_fill(cr);
  } else {
    SetColour(cr, fill);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// A stroke whose width is in picture pixels whatever the object's scale.
inline void Line(cairo_t* cr, const std::vector<Pt>& p, Rgb c, double widthPx, bool curve = false) {
  if (p.size() < 2) return;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, p[0].first, p[0].second);
  if (curve && p.size() == 4) {
    cairo_curve_to(cr, p[1].first, p[1].second, p[2].first, p[2].second, p[3].first, p[3].second);
  } else {
    for (size_t i = 1; i < p.size(); ++i) cairo_line_to(cr, p[i].first, p[i].second);
  }
  cairo_identity_matrix(cr);
  cairo_set_line_width(cr, widthPx);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, c);
  cairo_stroke(cr);
  cairo_restore(cr);
}
// A coloured stroke with a dark rim (stems, tails, branches).
inline void Limb(cairo_t* cr, const std::vector<Pt>& p, Rgb c, double widthPx, bool curve = false) {
  Line(cr, p, Ink, widthPx + 2 * OutlineWidth, curve);
  Line(cr, p, c, widthPx, curve);
}
inline void Dot(cairo_t* cr, double x, double y, double r, Rgb c) {
  cairo_save(cr);
  cairo_new_path(cr);
  Circle(x, y, r)(cr);
  SetColour(cr, c);
  cairo_fill(cr);
  cairo_restore(cr);
}
// An eye: white with a dark pupil looking forward (+x).
inline void Eye(cairo_t* cr, double x, double y, double r) {
  Part(cr, Circle(x, y, r), White, 0);
  Dot(cr, x + r * 0.3, y, r * 0.55, Ink);
}

// Fills the whole surface with a vertical gradient through the given stops.
inline void VerticalGradient(cairo_t* cr, double y0, double y1, const std::vector<std::pair<double, Rgb>>& stops) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  for (const auto& [t, c] : stops) cairo_pattern_add_color_stop_rgb(g, t, c.r, c.g, c.b);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
}

}  // namespace scene
