// Writes the playable picture packs: make_packs OUT_DIR [PREVIEW_DIR]
// Every level is a generated cartoon scene and a copy with five changed objects (one removed,
// one added, one recoloured, one resized, one mirrored or moved). The rectangles come from the
// changed objects' ink boxes; every written picture pair is decoded again and checked, and a
// pack that fails is not written.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "PackFiles.h"
#include "PackThemes.h"

using namespace scene;
using packfiles::Image;

namespace {

// Inclusive pixel box.
struct Box {
  int L, T, R, B;
  int W() const { return R - L + 1; }
  int H() const { return B - T + 1; }
  int Area() const { return W() * H(); }
  bool Contains(int x, int y) const { return x >= L && x <= R && y >= T && y <= B; }
  bool Meets(const Box& o, int gap) const {
    return L <= o.R + gap && o.L <= R + gap && T <= o.B + gap && o.T <= B + gap;
  }
};
Box Join(const Box& a, const Box& b) {
  return {std::min(a.L, b.L), std::min(a.T, b.T), std::max(a.R, b.R), std::max(a.B, b.B)};
}
int Overlap(const Box& a, const Box& b) {
  const int w = std::min(a.R, b.R) - std::max(a.L, b.L) + 1, h = std::min(a.B, b.B) - std::max(a.T, b.T) + 1;
  return (w > 0 && h > 0) ? w * h : 0;
}

// A pixel differs plainly when one channel moves by at least this much.
constexpr int Strong = 40;
// JPEG rounding inside the 8 x 8 blocks a rectangle touches, outside the rectangle itself.
constexpr int JpegBleed = 32;
constexpr int JpegQuality = 95;
constexpr int Pad = 3;
constexpr int MinSide = 12;

int PixelDiff(const Image& a, const Image& b, int x, int y) {
  const uint8_t *p = a.At(x, y), *q = b.At(x, y);
  return std::max({std::abs(p[0] - q[0]), std::abs(p[1] - q[1]), std::abs(p[2] - q[2])});
}
int StrongCount(const Image& a, const Image& b, const Box& r) {
  int n = 0;
  for (int y = r.T; y <= r.B; ++y)
    for (int x = r.L; x <= r.R; ++x) n += PixelDiff(a, b, x, y) >= Strong;
  return n;
}
// Enough plainly changed pixels to be seen once pointed out.
bool Visible(int strong, const Box& r) { return strong >= 40 && strong * 10 >= r.Area(); }

// Checks a decoded pair against its rectangles. Blocks: 0 for exact comparison everywhere
// outside the rectangles, 8 for JPEG, where pixels outside the rectangles but inside an 8 x 8
// block that one touches may differ by JpegBleed and every other pixel must be identical.
std::string CheckPair(const Image& a, const Image& b, const std::vector<Box>& rects, int blocks, int* bleed = nullptr) {
  if (a.W != b.W || a.H != b.H) return "picture sizes differ";
  std::vector<Box> covers;
  for (const Box& r : rects) {
    covers.push_back(blocks ? Box{r.L / blocks * blocks, r.T / blocks * blocks, r.R / blocks * blocks + blocks - 1,
                                  r.B / blocks * blocks + blocks - 1}
                            : r);
  }
  for (int y = 0; y < a.H; ++y) {
    for (int x = 0; x < a.W; ++x) {
      const int d = PixelDiff(a, b, x, y);
      if (d == 0) continue;
      const bool inRect = std::any_of(rects.begin(), rects.end(), [&](const Box& r) { return r.Contains(x, y); });
      if (inRect) continue;
      const bool inCover = std::any_of(covers.begin(), covers.end(), [&](const Box& r) { return r.Contains(x, y); });
      if (bleed) *bleed = std::max(*bleed, d);
      if (!inCover || d > JpegBleed) {
        return "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs by " + std::to_string(d) +
               " outside the rectangles";
      }
    }
  }
  for (size_t k = 0; k < rects.size(); ++k) {
    const int n = StrongCount(a, b, rects[k]);
    if (!Visible(n, rects[k])) return "difference " + std::to_string(k + 1) + " is too faint";
  }
  return "";
}

struct Scene {
  const Theme* T;
  uint64_t BgSeed;
  std::vector<Obj> Objs;
};

void DrawObj(cairo_t* cr, const Theme& t, const Obj& o) {
  const Kind& k = t.Kinds[size_t(o.Kind)];
  const Rgb c1 = Hex(k.C1[size_t(o.C1)]);
  const Rgb c2 = k.C2.empty() ? c1 : Hex(k.C2[size_t(o.C2)]);
  cairo_save(cr);
  cairo_translate(cr, o.X, o.Y);
  cairo_rotate(cr, o.Rot);
  cairo_scale(cr, o.Flip ? -o.S : o.S, o.S);
  k.Draw(cr, o, c1, c2);
  cairo_restore(cr);
}

// Every pixel the object can touch, antialiasing included.
Box InkBox(const Theme& t, const Obj& o) {
  cairo_surface_t* rs = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
  cairo_t* cr = cairo_create(rs);
  DrawObj(cr, t, o);
  cairo_destroy(cr);
  double x, y, w, h;
  cairo_recording_surface_ink_extents(rs, &x, &y, &w, &h);
  cairo_surface_destroy(rs);
  return {int(std::floor(x)) - 1, int(std::floor(y)) - 1, int(std::ceil(x + w)), int(std::ceil(y + h))};
}

Image Render(const Scene& s) {
  const Theme& t = *s.T;
  cairo_surface_t* surf = cairo_image_surface_create(CAIRO_FORMAT_RGB24, t.W, t.H);
  cairo_t* cr = cairo_create(surf);
  t.Background(cr, t.W, t.H, s.BgSeed);
  for (const Obj& o : s.Objs) DrawObj(cr, t, o);
  cairo_destroy(cr);
  cairo_surface_flush(surf);
  Image im;
  im.W = t.W, im.H = t.H;
  im.Rgb.resize(size_t(t.W) * t.H * 3);
  const unsigned char* data = cairo_image_surface_get_data(surf);
  const int stride = cairo_image_surface_get_stride(surf);
  for (int y = 0; y < t.H; ++y) {
    for (int x = 0; x < t.W; ++x) {
      uint32_t v;
      std::memcpy(&v, data + size_t(y) * stride + size_t(x) * 4, 4);
      uint8_t* p = &im.Rgb[(size_t(y) * t.W + x) * 3];
      p[0] = uint8_t(v >> 16), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v);
    }
  }
  cairo_surface_destroy(surf);
  return im;
}

// Far things first: by zone, then by the anchor's height.
double DepthKey(const Theme& t, const Obj& o) { return t.Kinds[size_t(o.Kind)].Zone * 10000.0 + o.Y; }
void Insert(const Theme& t, std::vector<Obj>& objs, const Obj& o) {
  auto at = std::upper_bound(objs.begin(), objs.end(), o,
                             [&](const Obj& a, const Obj& b) { return DepthKey(t, a) < DepthKey(t, b); });
  objs.insert(at, o);
}

int CountKind(const std::vector<Obj>& objs, int kind) {
  return int(std::count_if(objs.begin(), objs.end(), [&](const Obj& o) { return o.Kind == kind; }));
}

int PickKind(const Theme& t, Rng& r, const std::vector<Obj>& objs) {
  double total = 0;
  for (size_t k = 0; k < t.Kinds.size(); ++k)
    if (CountKind(objs, int(k)) < t.Kinds[k].MaxCount) total += t.Kinds[k].Weight;
  double x = r.Range(0, total);
  for (size_t k = 0; k < t.Kinds.size(); ++k) {
    if (CountKind(objs, int(k)) >= t.Kinds[k].MaxCount || t.Kinds[k].Weight <= 0) continue;
    x -= t.Kinds[k].Weight;
    if (x <= 0) return int(k);
  }
  return -1;
}

// Places an object of the kind where it fits in the picture and hides little of its neighbours.
bool Place(const Theme& t, Rng& r, int kind, const std::vector<Obj>& others, Obj& o, int id) {
  const Kind& k = t.Kinds[size_t(kind)];
  const Zone& z = t.Zones[size_t(k.Zone)];
  for (int attempt = 0; attempt < 60; ++attempt) {
    o = Obj{};
    o.Kind = kind;
    o.Id = id;
    const double f = r.Uni();
    o.Y = t.H * (z.Y0 + (z.Y1 - z.Y0) * f);
    o.S = (z.S0 + (z.S1 - z.S0) * f) * r.Range(k.SMin, k.SMax);
    o.X = r.Range(0, t.W);
    o.Rot = k.RotRange > 0 ? r.Range(-k.RotRange, k.RotRange) : 0;
    o.Flip = r.Chance(0.5);
    o.C1 = r.Int(int(k.C1.size()));
    o.C2 = k.C2.empty() ? 0 : r.Int(int(k.C2.size()));
    o.Var = r.Int(12);
    o.Seed = r.Next();
    const Box b = InkBox(t, o);
    if (b.L < 2 || b.T < 2 || b.R > t.W - 3 || b.B > t.H - 3) continue;
    bool crowded = false;
    for (const Obj& n : others) {
      const Box nb = InkBox(t, n);
      if (Overlap(b, nb) * 10 > std::min(b.Area(), nb.Area()) * 3) crowded = true;
    }
    if (!crowded) return true;
  }
  return false;
}

Box Padded(const Theme& t, Box b) {
  b = {std::max(0, b.L - Pad), std::max(0, b.T - Pad), std::min(t.W - 1, b.R + Pad), std::min(t.H - 1, b.B + Pad)};
  while (b.W() < MinSide) b.L > 0 ? --b.L : ++b.R;
  while (b.H() < MinSide) b.T > 0 ? --b.T : ++b.B;
  return b;
}

struct Level {
  Image A, B;
  std::vector<Box> Rects;
  std::vector<std::string> What;
  std::string PicInfo;
  size_t Objects = 0;
};

enum Change { Remove, Add, Recolour, Resize, MirrorOrMove };
const char* ChangeName(int c, bool mirrored) {
  static const char* names[] = {"removed", "added", "recoloured", "resized"};
  return c == MirrorOrMove ? (mirrored ? "mirrored" : "moved") : names[c];
}

double ColourDistance(uint32_t a, uint32_t b) {
  const Rgb x = Hex(a), y = Hex(b);
  return std::sqrt((x.r - y.r) * (x.r - y.r) + (x.g - y.g) * (x.g - y.g) + (x.b - y.b) * (x.b - y.b));
}

bool MakeLevel(const Theme& t, uint64_t seed, int number, Level& out) {
  Rng r(seed);
  Scene base{&t, r.Next(), {}};
  int nextId = 1;
  // The sun, when the theme has one, comes first so that it always finds its place in the sky.
  for (size_t k = 0; k < t.Kinds.size(); ++k) {
    Obj o;
    if (t.Kinds[k].Weight == 0 && r.Chance(0.75) && Place(t, r, int(k), base.Objs, o, nextId)) {
      Insert(t, base.Objs, o), ++nextId;
    }
  }
  const int count = t.MinObjs + r.Int(t.MaxObjs - t.MinObjs + 1);
  for (int tries = 0; int(base.Objs.size()) < count && tries < count * 4; ++tries) {
    const int kind = PickKind(t, r, base.Objs);
    Obj o;
    if (kind >= 0 && Place(t, r, kind, base.Objs, o, nextId)) Insert(t, base.Objs, o), ++nextId;
  }
  if (int(base.Objs.size()) < t.MinObjs) return false;

  const Image original = Render(base);
  Scene cur = base;
  Image curImage = original;
  std::set<int> touched;
  std::vector<Box> rects;
  std::vector<std::string> what;
  const int maxSide = std::min(t.W, t.H) * 3 / 10 + 6;
  const int maxArea = t.W * t.H / 22;

  std::vector<int> order = {Remove, Add, Recolour, Resize, MirrorOrMove};
  for (int change : order) {
    bool done = false;
    for (int attempt = 0; attempt < 250 && !done; ++attempt) {
      Scene cand = cur;
      Box before{0, 0, -1, -1}, after{0, 0, -1, -1};
      bool mirrored = false;
      int changedId = nextId;
      std::string kindName;
      if (change == Add) {
        const int kind = PickKind(t, r, cur.Objs);
        Obj o;
        if (kind < 0 || !Place(t, r, kind, cur.Objs, o, nextId)) continue;
        Insert(t, cand.Objs, o);
        before = after = InkBox(t, o);
        kindName = t.Kinds[size_t(kind)].Name;
      } else {
        const size_t i = size_t(r.Int(int(cand.Objs.size())));
        Obj& o = cand.Objs[i];
        const Kind& k = t.Kinds[size_t(o.Kind)];
        if (touched.count(o.Id)) continue;
        kindName = k.Name;
        changedId = o.Id;
        before = InkBox(t, o);
        if (std::max(before.W(), before.H()) < 14) continue;
        if (change == Remove) {
          cand.Objs.erase(cand.Objs.begin() + long(i));
          after = before;
        } else {
          if (change == Recolour) {
            if (k.C1.size() < 2) continue;
            const int c = r.Int(int(k.C1.size()));
            if (ColourDistance(k.C1[size_t(c)], k.C1[size_t(o.C1)]) < 0.35) continue;
            o.C1 = c;
          } else if (change == Resize) {
            o.S *= r.Chance(0.5) ? r.Range(0.64, 0.74) : r.Range(1.3, 1.42);
          } else if (k.Asym && r.Chance(0.7)) {
            o.Flip = !o.Flip;
            mirrored = true;
          } else {
            o.X += (r.Chance(0.5) ? 1 : -1) * r.Range(9, 15);
          }
          after = InkBox(t, o);
        }
      }
      const Box rect = Padded(t, Join(before, after));
      const Box raw = Join(before, after);
      if (raw.L < 1 || raw.T < 1 || raw.R > t.W - 2 || raw.B > t.H - 2) continue;
      if (rect.W() > maxSide || rect.H() > maxSide || rect.Area() > maxArea) continue;
      if (std::any_of(rects.begin(), rects.end(), [&](const Box& b) { return b.Meets(rect, 2); })) continue;
      const Image img = Render(cand);
      // Everything the change did must lie inside its rectangle, and be plain to see there.
      bool leaks = false;
      for (int y = 0; y < t.H && !leaks; ++y)
        for (int x = 0; x < t.W && !leaks; ++x)
          if (!rect.Contains(x, y) && PixelDiff(img, curImage, x, y) != 0) leaks = true;
      if (leaks) {
        std::fprintf(stderr, "  note: a %s change drew outside its box, tried another\n", kindName.c_str());
        continue;
      }
      const int strong = StrongCount(img, curImage, rect);
      if (!Visible(strong, rect) || strong > maxArea / 2) continue;
      touched.insert(changedId);
      if (change == Add) ++nextId;
      cur = std::move(cand);
      curImage = img;
      rects.push_back(rect);
      what.push_back(kindName + " " + ChangeName(change, mirrored));
      done = true;
    }
    if (!done) return false;
  }
  // Shuffle so that the first difference is not always the removed object.
  for (size_t i = rects.size() - 1; i > 0; --i) {
    const size_t j = size_t(r.Int(int(i + 1)));
    std::swap(rects[i], rects[j]);
    std::swap(what[i], what[j]);
  }
  if (!CheckPair(original, curImage, rects, 0).empty()) return false;

  // The picture text: the level's opener and a line about something the scene holds.
  std::vector<int> present;
  for (const Obj& o : base.Objs)
    if (std::find(present.begin(), present.end(), o.Kind) == present.end()) present.push_back(o.Kind);
  std::sort(present.begin(), present.end());
  const int about = present[size_t(r.Int(int(present.size())))];
  out.PicInfo = t.Openers[size_t(number - 1) % t.Openers.size()] + "[e]" + t.Kinds[size_t(about)].Phrase;
  out.A = original;
  out.B = curImage;
  out.Rects = rects;
  out.What = what;
  out.Objects = base.Objs.size();
  return true;
}

void WritePng(const std::string& path, const Image& top, const Image& bottom, const std::vector<Box>& rects) {
  const bool side = top.W < top.H;
  const int W = side ? top.W * 2 + 6 : top.W, H = side ? top.H : top.H * 2 + 6;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
  unsigned char* d = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  std::memset(d, 40, size_t(stride) * H);
  auto blit = [&](const Image& im, int ox, int oy) {
    for (int y = 0; y < im.H; ++y)
      for (int x = 0; x < im.W; ++x) {
        const uint8_t* p = im.At(x, y);
        const uint32_t v = 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        std::memcpy(d + size_t(oy + y) * stride + size_t(ox + x) * 4, &v, 4);
      }
  };
  blit(top, 0, 0);
  const int ox = side ? top.W + 6 : 0, oy = side ? 0 : top.H + 6;
  blit(bottom, ox, oy);
  cairo_surface_mark_dirty(s);
  if (!rects.empty()) {
    cairo_t* cr = cairo_create(s);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgb(cr, 1, 0, 0);
    for (const Box& b : rects) {
      cairo_rectangle(cr, ox + b.L + 0.5, oy + b.T + 0.5, b.W() - 1, b.H() - 1);
      cairo_stroke(cr);
    }
    cairo_destroy(cr);
  }
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
}

std::string Ini(const std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>& sections) {
  std::string s;
  for (const auto& [name, keys] : sections) {
    s += "[" + name + "]\r\n";
    for (const auto& [k, v] : keys) s += k + "=" + v + "\r\n";
    s += "\r\n";
  }
  return s;
}

std::string PackInfoText(const Theme& t) {
  std::string s = t.PackInfo;
  const size_t at = s.find("{N}");
  if (at != std::string::npos) s.replace(at, 3, std::to_string(t.Levels));
  return s;
}

bool MakePack(const Theme& t, const std::string& outDir, const std::string& previewDir) {
  std::printf("%s: %d levels, %d x %d, %s\n", t.File.c_str(), t.Levels, t.W, t.H, t.Bmp ? "bmp" : "jpg");
  std::vector<std::pair<std::string, std::string>> pictures;
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> picinfo;
  const std::string ext = t.Bmp ? ".bmp" : ".jpg";
  for (int n = 1; n <= t.Levels; ++n) {
    Level lv;
    int attempt = 0;
    while (!MakeLevel(t, t.Seed * 1000003ull + uint64_t(n) * 7919ull + uint64_t(attempt) * 104729ull, n, lv)) {
      if (++attempt > 60) {
        std::fprintf(stderr, "%s level %d: no scene with five fair differences\n", t.File.c_str(), n);
        return false;
      }
    }
    const std::string a = t.Bmp ? packfiles::EncodeBmp(lv.A) : packfiles::EncodeJpeg(lv.A, JpegQuality);
    const std::string b = t.Bmp ? packfiles::EncodeBmp(lv.B) : packfiles::EncodeJpeg(lv.B, JpegQuality);
    // The check that matters is on the files as the game will read them.
    const Image da = t.Bmp ? packfiles::DecodeBmp(a) : packfiles::DecodeJpeg(a);
    const Image db = t.Bmp ? packfiles::DecodeBmp(b) : packfiles::DecodeJpeg(b);
    int bleed = 0;
    const std::string problem = CheckPair(da, db, lv.Rects, t.Bmp ? 0 : 8, &bleed);
    if (!problem.empty()) {
      std::fprintf(stderr, "%s level %d: %s\n", t.File.c_str(), n, problem.c_str());
      return false;
    }
    std::printf("  level %2d (%zu objects, bleed %d):", n, lv.Objects, bleed);
    std::vector<std::pair<std::string, std::string>> keys;
    for (size_t k = 0; k < lv.Rects.size(); ++k) {
      const Box& r = lv.Rects[k];
      const std::string p = std::to_string(k + 1);
      keys.push_back({p + "Left", std::to_string(r.L)});
      keys.push_back({p + "Right", std::to_string(r.R)});
      keys.push_back({p + "Top", std::to_string(r.T)});
      keys.push_back({p + "Bottom", std::to_string(r.B)});
      std::printf(" %s %dx%d;", lv.What[k].c_str(), r.W(), r.H());
    }
    std::printf("\n");
    keys.push_back({"PicInfo", lv.PicInfo});
    picinfo.push_back({std::to_string(n), keys});
    pictures.push_back({std::to_string(n) + ext, a});
    pictures.push_back({std::to_string(n) + "x" + ext, b});
    if (!previewDir.empty()) {
      const std::string stem = previewDir + "/" + t.File.substr(0, t.File.size() - 4) + "_" + std::to_string(n);
      WritePng(stem + ".png", da, db, {});
      WritePng(stem + "_marked.png", da, db, lv.Rects);
    }
  }
  std::vector<std::pair<std::string, std::string>> scores;
  for (size_t i = 0; i < t.Scores.size(); ++i) {
    scores.push_back({std::to_string(i + 1) + "_name", t.Scores[i].first});
    scores.push_back({std::to_string(i + 1) + "_score", std::to_string(t.Scores[i].second)});
  }
  std::vector<std::pair<std::string, std::string>> entries = {
      {"packinfo.ini", Ini({{"General",
                             {{"NumOfLevels", std::to_string(t.Levels)},
                              {"Vertical", t.Vertical ? "True" : "False"},
                              {"PackInfo", PackInfoText(t)}}}})},
      {"picinfo.ini", Ini(picinfo)},
      {"hscore.ini", Ini({{"scores", scores}})},
  };
  entries.insert(entries.end(), pictures.begin(), pictures.end());
  packfiles::WriteZip(outDir + "/" + t.File, entries);
  std::printf("  wrote %s (%ju bytes)\n", t.File.c_str(),
              std::uintmax_t(std::filesystem::file_size(outDir + "/" + t.File)));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_packs OUT_DIR [PREVIEW_DIR]\n");
    return 2;
  }
  const std::string out = argv[1], preview = argc > 2 ? argv[2] : "";
  std::filesystem::create_directories(out);
  if (!preview.empty()) std::filesystem::create_directories(preview);
  for (const Theme& t : {SeloTheme(), MoreTheme(), SvemirTheme()}) {
    if (!MakePack(t, out, preview)) return 1;
  }
  return 0;
}
