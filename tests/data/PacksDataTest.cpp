// The committed picture packs: archive layout, level data, and that each level's two pictures
// differ exactly where its five rectangles say.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <zip.h>

#include "engine/Components.h"
#include "engine/FileTools.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "support/GameFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path PacksDir = fs::path(PIKORA_SOURCE_DIR) / "data" / "packs";

std::vector<fs::path> Packs() {
  std::vector<fs::path> packs;
  if (fs::is_directory(PacksDir))
    for (const auto& e : fs::directory_iterator(PacksDir))
      if (e.path().extension() == ".pkr") packs.push_back(e.path());
  std::sort(packs.begin(), packs.end());
  return packs;
}

struct Picture {
  int W = 0, H = 0;
  std::vector<uint8_t> Rgb;
  int Diff(const Picture& o, int x, int y) const {
    const uint8_t *p = &Rgb[(size_t(y) * W + x) * 3], *q = &o.Rgb[(size_t(y) * W + x) * 3];
    return std::max({std::abs(p[0] - q[0]), std::abs(p[1] - q[1]), std::abs(p[2] - q[2])});
  }
};

// Decoded the way the game's engine decodes level pictures.
Picture Decode(const std::string& bytes) {
  Picture pic;
  SDL_Surface* loaded = IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
  if (!loaded) return pic;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  if (!rgb) return pic;
  pic.W = rgb->w, pic.H = rgb->h;
  pic.Rgb.resize(size_t(pic.W) * pic.H * 3);
  for (int y = 0; y < pic.H; ++y)
    std::copy_n(static_cast<const uint8_t*>(rgb->pixels) + size_t(y) * rgb->pitch, size_t(pic.W) * 3,
                &pic.Rgb[size_t(y) * pic.W * 3]);
  SDL_FreeSurface(rgb);
  return pic;
}

// The game's fonts cover the ANSI code page; the packs keep to plain printable ASCII.
bool PlainText(const std::string& s) {
  return !s.empty() && s.size() <= 254 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= 32 && c < 127; });
}

struct Rect {
  int L, R, T, B;
  bool Contains(int x, int y) const { return x >= L && x <= R && y >= T && y <= B; }
  int Area() const { return (R - L + 1) * (B - T + 1); }
};

// A pack unpacked into a game folder of its own and read through the game's file component.
struct Pack {
  std::string Name;
  pikora::test::TempFolder Game;
  std::shared_ptr<pikora::FileTools> Files;
  std::vector<std::string> Entries;
  int32_t NumOfLevels = 0;
  bool Vertical = false;
  int W = 0, H = 0;

  explicit Pack(const fs::path& path) : Name(path.filename().string()) {
    fs::create_directories(Game / "packs");
    fs::copy_file(path, Game.Path / "packs" / Name);
    Files = pikora::MakeZipFileTools(Game.Path.string(), nullptr);
    Files->OpenArchive("packs/" + Name, 0, pikora::ArchivePassword, 0);
    Files->ExtractAll("", 0);
    Entries = pikora::test::ZipEntries(path);
    pikora::ParseLevelCount(Info("NumOfLevels"), NumOfLevels);
    pikora::ConvertBoolean(Info("Vertical"), Vertical);
    W = Vertical ? 256 : 380;
    H = Vertical ? 380 : 256;
  }
  std::string Info(const std::string& key) const { return Files->ReadINI("General", key, "packinfo.ini", 0); }
  std::string Pic(const std::string& level, const std::string& key) const {
    return Files->ReadINI(level, key, "picinfo.ini", 0);
  }
  bool Has(const std::string& entry) const { return std::count(Entries.begin(), Entries.end(), entry) == 1; }
  Picture Load(const std::string& entry) const { return Decode(pikora::test::ReadFile(Game / entry)); }
  // Difference k of a level, as the game reads it.
  bool Edges(const std::string& level, int k, Rect& r) const {
    float e[4];
    const char* names[] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i)
      if (!pikora::ParseEdge(Pic(level, pikora::EdgeKey(k, names[i])), e[i])) return false;
    r = {int(e[0]), int(e[1]), int(e[2]), int(e[3])};
    return true;
  }
};

// A pixel differs plainly when one channel moves by at least this much; a difference is
// visible when at least 40 pixels and a tenth of its rectangle do.
constexpr int Strong = 40;
// JPEG codes 8 x 8 blocks on their own (the packs use full-resolution colour): outside the
// rectangles, only pixels in a block a rectangle touches may change, and only slightly.
constexpr int JpegBleed = 32;

TEST(PacksData, ThreeOrMorePacksInBothLayoutsAndBothPictureFormats) {
  const auto packs = Packs();
  ASSERT_GE(packs.size(), 3u);
  bool portrait = false, landscape = false, bmp = false, jpg = false;
  uintmax_t total = 0;
  for (const auto& path : packs) {
    const Pack p(path);
    EXPECT_GE(p.NumOfLevels, 10) << p.Name;
    (p.Vertical ? portrait : landscape) = true;
    (p.Has("1.bmp") ? bmp : jpg) = true;
    total += fs::file_size(path);
  }
  EXPECT_TRUE(portrait && landscape);
  EXPECT_TRUE(bmp && jpg);
  EXPECT_LT(total, 6u * 1024 * 1024) << "the packs should stay a few megabytes in all";
}

TEST(PacksData, EveryPackHoldsCompleteValidLevelData) {
  ASSERT_EQ(SDL_Init(0), 0);
  IMG_Init(IMG_INIT_JPG);
  for (const auto& path : Packs()) {
    const Pack p(path);
    SCOPED_TRACE(p.Name);
    bool vertical = false;
    ASSERT_GE(p.NumOfLevels, 1) << "NumOfLevels is a level count";
    EXPECT_TRUE(pikora::ConvertBoolean(p.Info("Vertical"), vertical));
    const std::string packInfo = p.Info("PackInfo");
    EXPECT_TRUE(PlainText(packInfo)) << packInfo;
    EXPECT_NE(packInfo.find("[e]"), std::string::npos);
    // Two pictures per level and the three INI files, nothing else.
    for (const char* e : {"packinfo.ini", "picinfo.ini", "hscore.ini"}) EXPECT_TRUE(p.Has(e)) << e;
    EXPECT_EQ(p.Entries.size(), size_t(3 + 2 * p.NumOfLevels));

    for (int32_t level = 1; level <= p.NumOfLevels; ++level) {
      const std::string section = std::to_string(level);
      SCOPED_TRACE("level " + section);
      std::vector<Rect> rects;
      for (int k = 1; k <= 5; ++k) {
        Rect r{};
        ASSERT_TRUE(p.Edges(section, k, r)) << "difference " << k;
        EXPECT_GE(r.L, 0);
        EXPECT_GE(r.T, 0);
        EXPECT_LT(r.R, p.W);
        EXPECT_LT(r.B, p.H);
        EXPECT_GE(r.R - r.L + 1, 12) << "difference " << k;
        EXPECT_GE(r.B - r.T + 1, 12) << "difference " << k;
        for (const Rect& o : rects)
          EXPECT_FALSE(r.L <= o.R && o.L <= r.R && r.T <= o.B && o.T <= r.B) << "difference " << k << " overlaps";
        rects.push_back(r);
      }
      EXPECT_TRUE(PlainText(p.Pic(section, "PicInfo")));
      const bool hasJpg = p.Has(section + ".jpg") && p.Has(section + "x.jpg");
      const bool hasBmp = p.Has(section + ".bmp") && p.Has(section + "x.bmp");
      ASSERT_TRUE(hasJpg != hasBmp) << "exactly one picture format";
      for (const std::string& name : {section, section + "x"}) {
        const Picture pic = p.Load(name + (hasJpg ? ".jpg" : ".bmp"));
        EXPECT_EQ(pic.W, p.W) << name;
        EXPECT_EQ(pic.H, p.H) << name;
      }
    }
  }
}

TEST(PacksData, PicturesDifferOnlyAndPlainlyInsideTheRectangles) {
  ASSERT_EQ(SDL_Init(0), 0);
  IMG_Init(IMG_INIT_JPG);
  int worstBleed = 0;
  for (const auto& path : Packs()) {
    const Pack p(path);
    SCOPED_TRACE(p.Name);
    for (int32_t level = 1; level <= p.NumOfLevels; ++level) {
      const std::string s = std::to_string(level);
      SCOPED_TRACE("level " + s);
      const bool jpg = p.Has(s + ".jpg");
      const std::string ext = jpg ? ".jpg" : ".bmp";
      const Picture a = p.Load(s + ext), b = p.Load(s + "x" + ext);
      ASSERT_EQ(a.W, p.W);
      ASSERT_EQ(b.W, p.W);
      ASSERT_EQ(a.H, b.H);
      std::vector<Rect> rects, covers;
      for (int k = 1; k <= 5; ++k) {
        Rect r{};
        ASSERT_TRUE(p.Edges(s, k, r));
        rects.push_back(r);
        covers.push_back(jpg ? Rect{r.L / 8 * 8, r.R / 8 * 8 + 7, r.T / 8 * 8, r.B / 8 * 8 + 7} : r);
      }
      int outside = 0, bleed = 0;
      for (int y = 0; y < a.H; ++y) {
        for (int x = 0; x < a.W; ++x) {
          const int d = a.Diff(b, x, y);
          if (d == 0 || std::any_of(rects.begin(), rects.end(), [&](const Rect& r) { return r.Contains(x, y); }))
            continue;
          if (std::any_of(covers.begin(), covers.end(), [&](const Rect& r) { return r.Contains(x, y); }))
            bleed = std::max(bleed, d);
          else
            ++outside;
        }
      }
      EXPECT_EQ(outside, 0) << "pixels changed away from every rectangle";
      EXPECT_LE(bleed, JpegBleed);
      worstBleed = std::max(worstBleed, bleed);
      for (size_t k = 0; k < rects.size(); ++k) {
        int strong = 0;
        for (int y = rects[k].T; y <= rects[k].B; ++y)
          for (int x = rects[k].L; x <= rects[k].R; ++x) strong += a.Diff(b, x, y) >= Strong;
        EXPECT_GE(strong, 40) << "difference " << k + 1 << " is too faint";
        EXPECT_GE(strong * 10, rects[k].Area()) << "difference " << k + 1 << " is lost in its rectangle";
      }
    }
  }
  RecordProperty("WorstJpegBleed", worstBleed);
}

// Read as the game reads it: ten sorted places, one level won quickly enters the table and a
// strong run reaches its top half.
TEST(PacksData, HighScoreTablesHoldTenSortedEntriesABeginnerCanClimb) {
  for (const auto& path : Packs()) {
    const Pack p(path);
    SCOPED_TRACE(p.Name);
    p.Files->LoadHighScores("hscore.ini", 10, 0, 0);
    float previous = 1e9f;
    for (int16_t place = 1; place <= 10; ++place) {
      const float score = p.Files->GetHighScore(place);
      EXPECT_TRUE(PlainText(p.Files->GetHighScoreName(place))) << "place " << place;
      EXPECT_LE(score, previous) << "place " << place;
      EXPECT_GE(score, 50);
      EXPECT_LE(score, 2000);
      previous = score;
    }
    EXPECT_EQ(p.Files->ReadINI("scores", "11_name", "hscore.ini", 0), "");
    EXPECT_LE(p.Files->GetHighScorePlace(400), 10);
    EXPECT_LE(p.Files->GetHighScorePlace(1200), 5);
  }
}

}  // namespace
