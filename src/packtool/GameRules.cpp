#include "packtool/GameRules.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "engine/IniText.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "resources/PackArchive.h"
#include "resources/modINI.h"

namespace fs = std::filesystem;

namespace pikora::packtool {

namespace {

// The file names the game gives the pack's working files; index 0 as for a pack alone.
constexpr const char* PackInfoCopy = "0packinfo.ini";
constexpr const char* ScoresCopy = "0hscore.ini";
constexpr const char* PicInfoCopy = "0picinfo.ini";
constexpr const char* PackLink = "/packs/pack.pkr";
// Far more than any 380 x 256 picture needs (an uncompressed BMP is 292 KB): a bigger entry is
// refused unread, so fifty levels of 64 MiB entries never fill the memory.
constexpr uintmax_t MaxPictureBytes = 4 << 20;

std::string ReadBytes(const fs::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::stringstream Whole;
  Whole << In.rdbuf();
  return Whole.str();
}

// The line of Key in Section (1-based), the section's own line when Key is empty or missing,
// 0 when neither is there. Matching as the game's INI reader matches: trimmed, any case.
int IniLine(const std::string& Text, const std::string& Section, const std::string& Key) {
  std::istringstream Lines(Text);
  std::string Line;
  int Number = 0, SectionLine = 0;
  bool Inside = false;
  while (std::getline(Lines, Line)) {
    ++Number;
    const std::string_view T = ini::Trim(Line);
    if (!T.empty() && T.front() == '[') {
      const size_t Close = T.find(']');
      Inside = Close != std::string_view::npos && ini::EqualNoCase(ini::Trim(T.substr(1, Close - 1)), Section);
      if (Inside && !SectionLine) SectionLine = Number;
      continue;
    }
    const size_t Eq = T.find('=');
    if (Inside && !Key.empty() && Eq != std::string_view::npos && ini::EqualNoCase(ini::Trim(T.substr(0, Eq)), Key))
      return Number;
  }
  return SectionLine;
}

struct Reader {
  PackData& Pack;
  FileTools& Files;
  std::string Folder;

  void Add(Severity Kind, const std::string& Entry, int Line, const std::string& Text) {
    Pack.Findings.push_back({Kind, Entry, Line, Text});
  }

  // A component's message without the scratch copy's name: the report names the real file.
  std::string Plain(std::string Text) const {
    for (const std::string& Name : {Folder + PackLink, std::string(PackLink)})
      for (size_t At; (At = Text.find("\"" + Name + "\": ")) != std::string::npos;) Text.erase(At, Name.size() + 4);
    return Text;
  }

  // One entry into the scratch folder, as the game extracts it; false when the game could not.
  bool Extract(const std::string& Entry, const std::string& Copy) {
    try {
      Files.ExtractFile(Entry, Copy, 0);
    } catch (const ComponentError& Error) {
      Add(Severity::Error, Entry, 0, "cannot be unpacked: " + Plain(Error.Cause));
      return false;
    }
    return Files.FileExists(Copy);
  }
};

}  // namespace

ScratchFolder::ScratchFolder() {
  const char* Base = std::getenv("TMPDIR");
  std::string Template = std::string(Base && *Base ? Base : "/tmp") + "/pikora-pack.XXXXXX";
  if (!::mkdtemp(Template.data())) throw std::runtime_error("cannot make a scratch folder in " + Template);
  Path = Template;
}

ScratchFolder::~ScratchFolder() {
  std::error_code Ignored;
  fs::remove_all(Path, Ignored);
}

PackData ReadPack(const std::string& Path) {
  PackData Pack;
  std::error_code Ec;
  if (!fs::is_regular_file(Path, Ec)) {
    Pack.Findings.push_back({Severity::Error, "", 0, "no such pack file"});
    return Pack;
  }
  ScratchFolder Scratch;
  fs::create_directories(Scratch.Path + "/packs");
  fs::create_symlink(fs::absolute(Path), Scratch.Path + PackLink);
  const std::shared_ptr<FileTools> Files = MakeZipFileTools(Scratch.Path, nullptr);
  Reader R{Pack, *Files, Scratch.Path};

  std::set<std::string> Entries;
  try {
    Entries = PackEntryNames(Scratch.Path + PackLink);
    Files->OpenArchive(PackLink, 0, ArchivePassword, 0);
  } catch (const ComponentError& Error) {
    R.Add(Severity::Error, "", 0, "not a pack the game can open: " + R.Plain(Error.Cause));
    return Pack;
  }

  if (!R.Extract("packinfo.ini", PackInfoCopy)) {
    R.Add(Severity::Error, "packinfo.ini", 0, "missing: the game leaves the pack out");
    return Pack;
  }
  const std::string PackInfoText = ini::DecodeFileText(ReadBytes(Scratch.Path + "/" + PackInfoCopy));
  const std::string CountText = Files->ReadINI("General", "NumOfLevels", PackInfoCopy, 0);
  const bool CountOk = ParseLevelCount(CountText, Pack.Levels);
  if (!CountOk)
    R.Add(Severity::Error, "packinfo.ini", IniLine(PackInfoText, "General", "NumOfLevels"),
          "NumOfLevels \"" + CountText + "\" is not a whole number from 1 to " + std::to_string(MaxLevels));
  const std::string VerticalText = Files->ReadINI("General", "Vertical", PackInfoCopy, 0);
  if (!ConvertBoolean(VerticalText, Pack.Vertical))
    R.Add(Severity::Error, "packinfo.ini", IniLine(PackInfoText, "General", "Vertical"),
          "Vertical \"" + VerticalText + "\" is not True or False");
  Pack.Info = Files->ReadINI("General", "PackInfo", PackInfoCopy, 0);
  if (Pack.Info.empty())
    R.Add(Severity::Warning, "packinfo.ini", IniLine(PackInfoText, "General", ""),
          "no PackInfo: the pack screens show no description");

  if (Entries.count("hscore.ini")) R.Extract("hscore.ini", ScoresCopy);
  if (!R.Extract("picinfo.ini", PicInfoCopy)) {
    R.Add(Severity::Error, "picinfo.ini", 0, "missing: the game leaves the pack out");
    return Pack;
  }
  if (!CountOk) return Pack;
  const std::string PicInfoText = ini::DecodeFileText(ReadBytes(Scratch.Path + "/" + PicInfoCopy));
  const IniContents PicInfo = ReadIniContents(Scratch.Path + "/" + PicInfoCopy);

  std::set<std::string> Used = {"packinfo.ini", "picinfo.ini", "hscore.ini"};
  for (int N = 1; N <= Pack.Levels; ++N) {
    LevelData Level;
    Level.Number = N;
    const std::string Name = std::to_string(N);
    bool Complete = true;
    for (const char* Ext : {".jpg", ".bmp"})
      if (Level.Original.empty() && Entries.count(Name + Ext) && Entries.count(Name + "x" + Ext)) {
        Level.Original = Name + Ext;
        Level.Modified = Name + "x" + Ext;
      }
    if (Level.Original.empty()) {
      R.Add(Severity::Error, "", 0,
            "level " + Name + " lacks its two pictures: " + Name + ".jpg and " + Name + "x.jpg, or " + Name +
                ".bmp and " + Name + "x.bmp (names as written, in lower case)");
      Complete = false;
    } else {
      Used.insert(Level.Original);
      Used.insert(Level.Modified);
      const std::string Stem = Scratch.Path + "/level/";
      Complete = R.Extract(Level.Original, "level/" + Level.Original) &&
                 R.Extract(Level.Modified, "level/" + Level.Modified);
      for (const std::string* Entry : {&Level.Original, &Level.Modified}) {
        std::error_code Ec;
        if (Complete && fs::file_size(Stem + *Entry, Ec) > MaxPictureBytes) {
          R.Add(Severity::Error, *Entry, 0, "larger than 4 MiB: no 380 x 256 picture is");
          Complete = false;
        }
      }
      if (Complete) {
        Level.OriginalBytes = ReadBytes(Stem + Level.Original);
        Level.ModifiedBytes = ReadBytes(Stem + Level.Modified);
      }
    }
    for (int K = 1; K <= 5; ++K) {
      Level.RectLines[size_t(K - 1)] = IniLine(PicInfoText, Name, EdgeKey(K, "Left"));
      Rect& Box = Level.Rects[size_t(K - 1)];
      for (auto [Edge, Value] : {std::pair{"Left", &Box.Left}, {"Right", &Box.Right}, {"Top", &Box.Top},
                                 {"Bottom", &Box.Bottom}}) {
        const std::string Key = EdgeKey(K, Edge);
        std::string Text;
        if (!FindIniValue(PicInfo, Name, Key, Text)) {
          R.Add(Severity::Error, "picinfo.ini", IniLine(PicInfoText, Name, ""), "[" + Name + "] lacks " + Key);
          Complete = false;
        } else if (!ParseEdge(Text, *Value)) {
          R.Add(Severity::Error, "picinfo.ini", IniLine(PicInfoText, Name, Key),
                "[" + Name + "] " + Key + " \"" + Text + "\" is not a number");
          Complete = false;
        }
      }
    }
    Level.Text = Files->ReadINI(Name, "PicInfo", PicInfoCopy, 0);
    if (Complete) Pack.LevelList.push_back(std::move(Level));
  }

  for (const std::string& Entry : Entries) {
    if (Used.count(Entry) || Entry.back() == '/') continue;
    const std::string Base = Entry.substr(Entry.find_last_of("/\\") + 1);
    std::string Why = "not used by the game";
    if (Base != Entry && (Used.count(Base) || Base == "packinfo.ini" || Base == "picinfo.ini"))
      Why += ": entries must sit at the top of the archive, not in a folder";
    else if (std::any_of(Used.begin(), Used.end(), [&](const std::string& U) { return ini::EqualNoCase(U, Entry); }))
      Why += ": the game looks for the name in lower case";
    R.Add(Severity::Warning, Entry, 0, Why);
  }
  return Pack;
}

void WritePack(const std::vector<std::pair<std::string, std::string>>& Entries, const std::string& Path) {
  ScratchFolder Scratch;
  fs::create_directories(Scratch.Path + "/packs");
  fs::create_directories(Scratch.Path + "/in");
  {
    // The file tools add to an archive that exists: start from an empty one.
    std::ofstream Empty(Scratch.Path + PackLink, std::ios::binary);
    Empty << std::string("PK\x05\x06", 4) << std::string(18, '\0');
  }
  try {
    const std::shared_ptr<FileTools> Files = MakeZipFileTools(Scratch.Path, nullptr);
    Files->OpenArchive(PackLink, 0, "", 0);
    for (size_t I = 0; I < Entries.size(); ++I) {
      const std::string Link = "in/" + std::to_string(I);
      fs::create_symlink(fs::absolute(Entries[I].second), Scratch.Path + "/" + Link);
      Files->AddFileToArchive(Link, Entries[I].first, 0);
    }
    Files->FlushArchive();
  } catch (const ComponentError& Error) {
    throw std::runtime_error(Error.Cause);
  }
  const std::string Partial = Path + ".partial";
  fs::copy_file(Scratch.Path + PackLink, Partial, fs::copy_options::overwrite_existing);
  fs::rename(Partial, Path);
}

bool PictureHeaderSize(const std::string& Bytes, int& Width, int& Height) {
  const auto Byte = [&](size_t I) { return I < Bytes.size() ? unsigned(uint8_t(Bytes[I])) : 0u; };
  const auto Big16 = [&](size_t I) { return int(Byte(I) << 8 | Byte(I + 1)); };
  const auto Little32 = [&](size_t I) {
    return int32_t(Byte(I) | Byte(I + 1) << 8 | Byte(I + 2) << 16 | Byte(I + 3) << 24);
  };
  if (Bytes.size() >= 26 && Bytes.compare(0, 2, "BM") == 0) {
    if (Little32(14) == 12) {  // the old OS/2 header has 16-bit sizes
      Width = Byte(18) | Byte(19) << 8;
      Height = Byte(20) | Byte(21) << 8;
    } else {
      Width = Little32(18);
      const int32_t H = Little32(22);
      Height = H == INT32_MIN ? -1 : std::abs(H);
    }
    return Width > 0 && Height > 0;
  }
  if (Byte(0) != 0xFF || Byte(1) != 0xD8) return false;
  for (size_t I = 2; I + 3 < Bytes.size();) {
    if (Byte(I) != 0xFF) return false;
    const unsigned Marker = Byte(I + 1);
    if (Marker == 0xFF) {
      ++I;
      continue;
    }
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD8)) {
      I += 2;
      continue;
    }
    if (Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC) {
      Height = Big16(I + 5);
      Width = Big16(I + 7);
      return I + 8 < Bytes.size() && Width > 0 && Height > 0;
    }
    I += 2 + size_t(Big16(I + 2));
  }
  return false;
}

}  // namespace pikora::packtool
