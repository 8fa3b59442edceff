// The committed picture packs: archive layout, level data, and that each level's two pictures
// differ exactly where its five rectangles say.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <zip.h>

#include "engine/Components.h"
#include "engine/FileTools.h"
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

std::map<std::string, std::string> ReadZip(const fs::path& path) {
  std::map<std::string, std::string> entries;
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!z) return entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0) continue;
    zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
    if (!f) continue;
    std::string data(size_t(st.size), '\0');
    const zip_int64_t got = zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    if (got == zip_int64_t(st.size)) entries[st.name] = data;
  }
  zip_close(z);
  return entries;
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

// Sections of key=value lines, as the Windows profile functions read them.
struct Ini {
  std::map<std::string, std::map<std::string, std::string>> Sections;
  void LoadData(const std::string& text) {
    std::string section;
    size_t at = 0;
    while (at < text.size()) {
      size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(at, end - at);
      at = end + 1;
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      if (line.empty() || line[0] == ';') continue;
      if (line.front() == '[' && line.back() == ']') {
        section = line.substr(1, line.size() - 2);
        Sections[section];
      } else if (const size_t eq = line.find('='); eq != std::string::npos) {
        Sections[section][line.substr(0, eq)] = line.substr(eq + 1);
      }
    }
  }
  const char* GetValue(const std::string& section, const std::string& key, const char* missing) const {
    const auto s = Sections.find(section);
    if (s == Sections.end()) return missing;
    const auto k = s->second.find(key);
    return k == s->second.end() ? missing : k->second.c_str();
  }
};

bool ToLong(const char* text, long& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  out = std::strtol(text, &end, 10);
  return *end == '\0';
}
bool ToNumber(const char* text, double& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  out = std::strtod(text, &end);
  return *end == '\0';
}
bool IsBoolean(std::string v) {
  std::transform(v.begin(), v.end(), v.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  long n;
  return v == "true" || v == "false" || ToLong(v.c_str(), n);
}
bool IsTrue(std::string v) {
  std::transform(v.begin(), v.end(), v.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  long n;
  return v == "true" || (ToLong(v.c_str(), n) && n != 0);
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

struct Level {
  std::vector<Rect> Rects;
  std::string Ext;
  Picture A, B;
};

struct Pack {
  std::string Name;
  std::map<std::string, std::string> Entries;
  Ini Info, Pics, Scores;
  long NumOfLevels = 0;
  bool Vertical = false;
  int W = 0, H = 0;
};

void Load(const fs::path& path, Pack& p) {
  p.Name = path.filename().string();
  p.Entries = ReadZip(path);
  p.Info.LoadData(p.Entries["packinfo.ini"]);
  p.Pics.LoadData(p.Entries["picinfo.ini"]);
  p.Scores.LoadData(p.Entries["hscore.ini"]);
  ToLong(p.Info.GetValue("General", "NumOfLevels", ""), p.NumOfLevels);
  p.Vertical = IsTrue(p.Info.GetValue("General", "Vertical", ""));
  p.W = p.Vertical ? 256 : 380;
  p.H = p.Vertical ? 380 : 256;
}

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
    Pack p;
    Load(path, p);
    EXPECT_GE(p.NumOfLevels, 10) << p.Name;
    (p.Vertical ? portrait : landscape) = true;
    (p.Entries.count("1.bmp") ? bmp : jpg) = true;
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
    Pack p;
    Load(path, p);
    SCOPED_TRACE(p.Name);
    for (const char* e : {"packinfo.ini", "picinfo.ini", "hscore.ini"}) ASSERT_TRUE(p.Entries.count(e)) << e;
    long n = 0;
    ASSERT_TRUE(ToLong(p.Info.GetValue("General", "NumOfLevels", ""), n));
    ASSERT_GE(n, 1);
    ASSERT_LE(n, 50);
    EXPECT_TRUE(IsBoolean(p.Info.GetValue("General", "Vertical", "")));
    const std::string packInfo = p.Info.GetValue("General", "PackInfo", "");
    EXPECT_TRUE(PlainText(packInfo)) << packInfo;
    EXPECT_NE(packInfo.find("[e]"), std::string::npos);
    // Two pictures per level and the three INI files, nothing else.
    EXPECT_EQ(p.Entries.size(), size_t(3 + 2 * n));

    for (long level = 1; level <= n; ++level) {
      const std::string section = std::to_string(level);
      SCOPED_TRACE("level " + section);
      std::vector<Rect> rects;
      for (int k = 1; k <= 5; ++k) {
        double edge[4];
        const char* names[] = {"Left", "Right", "Top", "Bottom"};
        for (int i = 0; i < 4; ++i) {
          const std::string key = std::to_string(k) + names[i];
          ASSERT_TRUE(ToNumber(p.Pics.GetValue(section.c_str(), key.c_str(), ""), edge[i])) << key;
        }
        const Rect r{int(edge[0]), int(edge[1]), int(edge[2]), int(edge[3])};
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
      EXPECT_TRUE(PlainText(p.Pics.GetValue(section.c_str(), "PicInfo", "")));

      const bool hasJpg = p.Entries.count(section + ".jpg") && p.Entries.count(section + "x.jpg");
      const bool hasBmp = p.Entries.count(section + ".bmp") && p.Entries.count(section + "x.bmp");
      ASSERT_TRUE(hasJpg != hasBmp) << "exactly one picture format";
      const std::string ext = hasJpg ? ".jpg" : ".bmp";
      for (const std::string& name : {section + ext, section + "x" + ext}) {
        const Picture pic = Decode(p.Entries[name]);
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
    Pack p;
    Load(path, p);
    SCOPED_TRACE(p.Name);
    for (long level = 1; level <= p.NumOfLevels; ++level) {
      const std::string s = std::to_string(level);
      SCOPED_TRACE("level " + s);
      const bool jpg = p.Entries.count(s + ".jpg");
      const std::string ext = jpg ? ".jpg" : ".bmp";
      const Picture a = Decode(p.Entries[s + ext]), b = Decode(p.Entries[s + "x" + ext]);
      ASSERT_EQ(a.W, p.W);
      ASSERT_EQ(b.W, p.W);
      ASSERT_EQ(a.H, b.H);
      std::vector<Rect> rects, covers;
      for (int k = 1; k <= 5; ++k) {
        auto edge = [&](const char* name) {
          return std::atoi(p.Pics.GetValue(s.c_str(), (std::to_string(k) + name).c_str(), "0"));
        };
        const Rect r{edge("Left"), edge("Right"), edge("Top"), edge("Bottom")};
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

TEST(PacksData, HighScoreTablesHoldTenSortedEntriesABeginnerCanClimb) {
  for (const auto& path : Packs()) {
    Pack p;
    Load(path, p);
    SCOPED_TRACE(p.Name);
    long previous = 1L << 30;
    for (int place = 1; place <= 10; ++place) {
      const std::string key = std::to_string(place);
      const std::string name = p.Scores.GetValue("scores", (key + "_name").c_str(), "");
      long score = -1;
      EXPECT_TRUE(PlainText(name)) << "place " << place;
      ASSERT_TRUE(ToLong(p.Scores.GetValue("scores", (key + "_score").c_str(), ""), score)) << "place " << place;
      EXPECT_LE(score, previous) << "place " << place;
      EXPECT_GE(score, 50);
      EXPECT_LE(score, 2000);
      previous = score;
    }
    EXPECT_EQ(p.Scores.GetValue("scores", "11_name", nullptr), nullptr);
  }
}

// The game reads the packs only through the file component: its INI reader and high-score
// table must see the same values.
TEST(PacksData, TheFileComponentReadsEveryPack) {
  pikora::test::TempFolder game;
  fs::create_directories(game / "packs");
  for (const auto& path : Packs()) fs::copy_file(path, game.Path / "packs" / path.filename());
  const auto files = pikora::MakeZipFileTools(game.Path.string(), nullptr);
  const auto names = files->ListFiles("packs", 0, true);
  ASSERT_EQ(names.size(), Packs().size());
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    Pack p;
    Load(PacksDir / names[i], p);
    const std::string n = std::to_string(i);
    files->OpenArchive("/packs/" + names[i], 0, pikora::ArchivePassword, 0);
    files->ExtractFile("packinfo.ini", n + "packinfo.ini", 0);
    files->ExtractFile("hscore.ini", n + "hscore.ini", 0);
    files->ExtractFile("picinfo.ini", "picinfo.ini", 0);
    EXPECT_EQ(files->ReadINI("General", "NumOfLevels", n + "packinfo.ini"), std::to_string(p.NumOfLevels));
    EXPECT_EQ(files->ReadINI("General", "PackInfo", n + "packinfo.ini"), p.Info.GetValue("General", "PackInfo", ""));
    const std::string last = std::to_string(p.NumOfLevels);
    EXPECT_EQ(files->ReadINI(last, "5Bottom", "picinfo.ini"), p.Pics.GetValue(last, "5Bottom", ""));
    EXPECT_EQ(files->ReadINI(last, "PicInfo", "picinfo.ini"), p.Pics.GetValue(last, "PicInfo", ""));

    files->LoadHighScores(n + "hscore.ini", 10, 0, 0);
    EXPECT_EQ(files->GetHighScoreName(1), p.Scores.GetValue("scores", "1_name", ""));
    EXPECT_EQ(files->GetHighScore(10), std::atof(p.Scores.GetValue("scores", "10_score", "")));
    // One level won quickly enters the table; a strong run reaches its top half.
    EXPECT_LE(files->GetHighScorePlace(400), 10);
    EXPECT_LE(files->GetHighScorePlace(1200), 5);
    fs::remove(game.Path / "picinfo.ini");
  }
}

}  // namespace
