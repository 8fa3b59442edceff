#include "packtool/GameRules.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <regex>
#include <stdexcept>
#include <zip.h>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "engine/IniText.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "resources/PackCheck.h"
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

// Entry names as the archive lists them; none when it cannot be read (the game's check says why).
std::set<std::string> EntryNames(const std::string& Path) {
  std::set<std::string> Names;
  int Code = 0;
  zip_t* Zip = zip_open(Path.c_str(), ZIP_RDONLY, &Code);
  if (!Zip) return Names;
  for (zip_int64_t I = 0; I < zip_get_num_entries(Zip, 0); ++I)
    if (const char* Name = zip_get_name(Zip, zip_uint64_t(I), 0)) Names.insert(Name);
  zip_discard(Zip);
  return Names;
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
  // The game's own verdict, word for word: what keeps the pack out of the game's list.
  for (const PackProblem& Problem : pikora::CheckPack(Path, true))
    Pack.Findings.push_back({Severity::Error, Problem.Entry, Problem.Line, Problem.Text});

  // The levels as a run reads them, for the comparison of the pictures; whatever is broken
  // here the game's check has named already.
  ScratchFolder Scratch;
  fs::create_directories(Scratch.Path + "/packs");
  fs::create_symlink(fs::absolute(Path), Scratch.Path + PackLink);
  const std::shared_ptr<FileTools> Files = MakeZipFileTools(Scratch.Path, nullptr);
  Reader R{Pack, *Files, Scratch.Path};
  const std::set<std::string> Entries = EntryNames(Path);
  try {
    Files->OpenArchive(PackLink, 0, ArchivePassword, 0);
  } catch (const ComponentError&) {
    return Pack;
  }
  if (!R.Extract("packinfo.ini", PackInfoCopy)) return Pack;
  const IniContents PackInfo = ReadIniContents(Scratch.Path + "/" + PackInfoCopy);
  if (!ParseLevelCount(Files->ReadINI("General", "NumOfLevels", PackInfoCopy, 0), Pack.Levels) ||
      !ConvertBoolean(Files->ReadINI("General", "Vertical", PackInfoCopy, 0), Pack.Vertical))
    return Pack;
  Pack.Info = Files->ReadINI("General", "PackInfo", PackInfoCopy, 0);
  if (Pack.Info.empty())
    R.Add(Severity::Warning, "packinfo.ini", IniLine(PackInfo, "General"), "no PackInfo: the pack screens show no description");
  if (!R.Extract("picinfo.ini", PicInfoCopy)) return Pack;
  const IniContents PicInfo = ReadIniContents(Scratch.Path + "/" + PicInfoCopy);

  std::vector<std::string> Used = {"packinfo.ini", "picinfo.ini", "hscore.ini"};
  for (int N = 1; N <= Pack.Levels; ++N) {
    LevelData Level;
    Level.Number = N;
    const std::string Name = std::to_string(N);
    // The pair LoadLevelPictures picks: the .jpg pair when both are there, else the .bmp pair.
    const std::string Stem = Scratch.Path + "/level/";
    for (const char* Ext : {".jpg", ".bmp"})
      if (Level.Original.empty() && R.Extract(Name + Ext, "level/" + Name + Ext) &&
          R.Extract(Name + "x" + Ext, "level/" + Name + "x" + Ext)) {
        Level.Original = Name + Ext;
        Level.Modified = Name + "x" + Ext;
      }
    if (Level.Original.empty()) continue;
    Used.push_back(Level.Original);
    Used.push_back(Level.Modified);
    bool Complete = true;
    for (const std::string* Entry : {&Level.Original, &Level.Modified})
      if (fs::file_size(Stem + *Entry, Ec) > MaxPictureBytes) {
        R.Add(Severity::Error, *Entry, 0, "larger than 4 MiB: no 380 x 256 picture is");
        Complete = false;
      }
    for (int K = 1; K <= 5; ++K) {
      Level.RectLines[size_t(K - 1)] = IniLine(PicInfo, Name, EdgeKey(K, "Left"));
      Rect& Box = Level.Rects[size_t(K - 1)];
      for (auto [Edge, Value] : {std::pair{"Left", &Box.Left}, {"Right", &Box.Right}, {"Top", &Box.Top},
                                 {"Bottom", &Box.Bottom}}) {
        std::string Text;
        Complete = Complete && FindIniValue(PicInfo, Name, EdgeKey(K, Edge), Text) && ParseEdge(Text, *Value);
      }
    }
    if (!Complete) continue;
    Level.OriginalBytes = ReadBytes(Stem + Level.Original);
    Level.ModifiedBytes = ReadBytes(Stem + Level.Modified);
    Level.Text = Files->ReadINI(Name, "PicInfo", PicInfoCopy, 0);
    Pack.LevelList.push_back(std::move(Level));
  }

  // The game finds an entry by its exact name first, then in any letter case.
  std::set<std::string> Read;
  for (const std::string& U : Used) {
    auto It = Entries.find(U);
    if (It == Entries.end())
      It = std::find_if(Entries.begin(), Entries.end(), [&](const std::string& E) { return ini::EqualNoCase(E, U); });
    if (It != Entries.end()) Read.insert(*It);
  }
  static const std::regex Needed("packinfo\\.ini|picinfo\\.ini|[0-9]+x?\\.(jpg|bmp)", std::regex::icase);
  for (const std::string& Entry : Entries) {
    if (Read.count(Entry) || Entry.back() == '/') continue;
    const std::string Base = Entry.substr(Entry.find_last_of("/\\") + 1);
    const bool Misplaced = Base != Entry && std::regex_match(Base, Needed);
    R.Add(Severity::Warning, Entry, 0,
          std::string("not used by the game") +
              (Misplaced ? ": entries must sit at the top of the archive, not in a folder" : ""));
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

}  // namespace pikora::packtool
