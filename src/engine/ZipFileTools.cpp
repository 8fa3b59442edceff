// File tools on libzip (pack and picture archives) and SimpleIni (INI files and the
// high-score tables).
#define SI_NO_CONVERSION  // the texts are UTF-8 already
#define SI_IMPLEMENTATION  // Debian ships the templates behind this switch
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "engine/HighScoreTable.h"
#include "engine/IniText.h"
#include "engine/ZipError.h"

namespace fs = std::filesystem;

namespace pikora {

std::string ZipOpenError(int Code) {
  zip_error_t Error;
  zip_error_init_with_code(&Error, Code);
  std::string Text = zip_error_strerror(&Error);
  zip_error_fini(&Error);
  return Text;
}

namespace {

std::string Quoted(const std::string& Name) { return "\"" + Name + "\""; }

std::string SystemError(int Code) { return std::strerror(Code); }

// What identifies one version of a file: a rename or rewrite changes at least one of these,
// even within the same tick of the file system's clock.
struct FileStamp {
  bool Exists = false;
  int64_t Size = 0, ModifiedNs = 0, ChangedNs = 0;
  uint64_t Inode = 0, Device = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& Path) {
  struct stat St;
  FileStamp S;
  if (::stat(Path.c_str(), &St) != 0 || !S_ISREG(St.st_mode)) return S;
  S.Exists = true;
  S.Size = St.st_size;
  S.ModifiedNs = int64_t(St.st_mtim.tv_sec) * 1000000000 + St.st_mtim.tv_nsec;
  S.ChangedNs = int64_t(St.st_ctim.tv_sec) * 1000000000 + St.st_ctim.tv_nsec;
  S.Inode = St.st_ino;
  S.Device = St.st_dev;
  return S;
}

// Reads a whole file; false with errno set when it cannot.
bool ReadWholeFile(const std::string& Path, std::string& Content) {
  int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return false;
  Content.clear();
  char Buffer[65536];
  for (;;) {
    ssize_t N = ::read(Fd, Buffer, sizeof Buffer);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) {
      int Saved = errno;
      ::close(Fd);
      errno = Saved;
      return false;
    }
    if (N == 0) break;
    Content.append(Buffer, size_t(N));
  }
  ::close(Fd);
  return true;
}

mode_t DefaultFileMode() {
  mode_t Mask = ::umask(022);
  ::umask(Mask);
  return 0666 & ~Mask;
}

bool WriteAll(int Fd, const char* Data, size_t Size) {
  while (Size > 0) {
    ssize_t N = ::write(Fd, Data, Size);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Data += N;
    Size -= size_t(N);
  }
  return true;
}

void SyncFolderOf(const std::string& Path) {
  int Fd = ::open(fs::path(Path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd >= 0) {
    ::fsync(Fd);
    ::close(Fd);
  }
}

// A file written beside its target and renamed over it, so a reader or a crash sees the old
// file or the new one, never half of one. Content is produced by Fill(fd) → false on failure.
template <typename FillFn>
void ReplaceFile(const std::string& Operation, const std::string& Name, const std::string& Path, bool Durable,
                 FillFn&& Fill) {
  fs::path Target(Path);
  std::error_code Ec;
  fs::create_directories(Target.parent_path(), Ec);
  std::string Temp = (Target.parent_path() / ("." + Target.filename().string() + ".tmpXXXXXX")).string();
  int Fd = ::mkstemp(Temp.data());
  if (Fd < 0) RaiseError(Operation, Quoted(Name) + ": cannot create a file: " + SystemError(errno));
  struct stat Old;
  mode_t Mode = ::stat(Path.c_str(), &Old) == 0 ? (Old.st_mode & 07777) : DefaultFileMode();
  ::fchmod(Fd, Mode);
  std::string Failure;
  if (!Fill(Fd, Failure)) {
    if (Failure.empty()) Failure = "cannot write: " + SystemError(errno);
  } else if (Durable && ::fsync(Fd) != 0) {
    Failure = "cannot write: " + SystemError(errno);
  }
  if (::close(Fd) != 0 && Failure.empty()) Failure = "cannot write: " + SystemError(errno);
  if (Failure.empty() && ::rename(Temp.c_str(), Path.c_str()) != 0) Failure = "cannot replace: " + SystemError(errno);
  if (!Failure.empty()) {
    ::unlink(Temp.c_str());
    RaiseError(Operation, Quoted(Name) + ": " + Failure);
  }
  if (Durable) SyncFolderOf(Path);
}

// Entry names come from archives anyone can make: nothing may land outside the game folder.
bool IsSafeEntryName(const std::string& Name) {
  if (Name.empty() || Name.front() == '/' || Name.front() == '\\') return false;
  if (Name.size() >= 2 && Name[1] == ':') return false;
  size_t Start = 0;
  while (Start <= Name.size()) {
    size_t End = Name.find_first_of("/\\", Start);
    if (End == std::string::npos) End = Name.size();
    if (Name.compare(Start, End - Start, "..") == 0 && End - Start == 2) return false;
    Start = End + 1;
  }
  return true;
}

std::string Slashes(std::string Name) {
  std::replace(Name.begin(), Name.end(), '\\', '/');
  return Name;
}

class ZipFileTools final : public FileTools {
 public:
  ZipFileTools(const std::string& GameFolder, GfxEngine* Engine) : Engine(Engine) {
    Root = Slashes(GameFolder.empty() ? std::string(".") : GameFolder);
    while (Root.size() > 1 && Root.back() == '/') Root.pop_back();
  }

  ~ZipFileTools() override {
    try {
      CloseArchive("FlushArchive");
    } catch (const ComponentError& Error) {
      std::cerr << "Pikora: " << Error.what() << "\n";
    }
  }

  // The value tuned the original component; nothing here depends on it.
  void Configure(int32_t) override {}

  void OpenArchive(const std::string& Path, int32_t, const std::string& Password, int32_t) override {
    CloseArchive("OpenArchive");
    ArchiveName = Path;
    ArchivePath = Resolve(Path);
    ArchivePassword = Password;
    HaveArchive = true;
    Reopen("OpenArchive");
  }

  void ExtractAll(const std::string& Destination, int32_t) override {
    zip_t* Zip = Current("ExtractAll");
    std::string Folder = Destination.empty() ? Root : Resolve(Destination);
    zip_int64_t Count = zip_get_num_entries(Zip, 0);
    // Refuse before anything is written.
    for (zip_int64_t I = 0; I < Count; ++I) CheckSize("ExtractAll", Zip, zip_uint64_t(I));
    for (zip_int64_t I = 0; I < Count; ++I) {
      const char* Raw = zip_get_name(Zip, zip_uint64_t(I), 0);
      if (!Raw) continue;
      std::string Name = Raw;
      if (!IsSafeEntryName(Name)) {
        std::cerr << "Pikora: " << Quoted(ArchiveName) << ": entry " << Quoted(Name)
                  << " would be written outside the game folder; skipped\n";
        continue;
      }
      if (Name.back() == '/' || Name.back() == '\\') continue;
      ExtractEntry("ExtractAll", Zip, zip_uint64_t(I), Name, Folder + "/" + Slashes(Name));
    }
  }

  void ExtractFile(const std::string& Entry, const std::string& Destination, int32_t) override {
    zip_t* Zip = Current("ExtractFile");
    zip_int64_t Index = Locate(Zip, Entry);
    if (Index < 0) return;
    std::string Target;
    if (Destination.empty()) {
      // Under the name asked for: the entry may be spelled in another letter case.
      if (!IsSafeEntryName(Entry)) {
        std::cerr << "Pikora: " << Quoted(ArchiveName) << ": entry " << Quoted(Entry)
                  << " would be written outside the game folder; skipped\n";
        return;
      }
      Target = Root + "/" + Slashes(Entry);
    } else {
      Target = Resolve(Destination);
    }
    CheckSize("ExtractFile", Zip, zip_uint64_t(Index));
    ExtractEntry("ExtractFile", Zip, zip_uint64_t(Index), Entry, Target);
  }

  void AddFileToArchive(const std::string& File, const std::string& Entry, int32_t) override {
    zip_t* Zip = Current("AddFileToArchive");
    std::string Content;
    if (!ReadWholeFile(Resolve(File), Content))
      RaiseError("AddFileToArchive", Quoted(File) + ": " + SystemError(errno));
    std::string Name = Slashes(Entry);
    if (RestoreIfUnchanged(Zip, Name, Content)) return;
    void* Copy = std::malloc(std::max<size_t>(Content.size(), 1));
    if (!Copy) RaiseError("AddFileToArchive", Quoted(File) + ": out of memory");
    std::memcpy(Copy, Content.data(), Content.size());
    zip_source_t* Source = zip_source_buffer(Zip, Copy, Content.size(), 1);
    if (!Source) {
      std::free(Copy);
      RaiseError("AddFileToArchive", Quoted(ArchiveName) + ": " + zip_strerror(Zip));
    }
    if (zip_file_add(Zip, Name.c_str(), Source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(Source);
      RaiseError("AddFileToArchive", Quoted(ArchiveName) + ": " + Quoted(Name) + ": " + zip_strerror(Zip));
    }
    Changed = true;
  }

  void RemoveFromArchive(const std::string& Entry, int32_t) override {
    zip_t* Zip = Current("RemoveFromArchive");
    zip_int64_t Index = Locate(Zip, Entry);
    if (Index < 0) return;
    if (zip_delete(Zip, zip_uint64_t(Index)) != 0)
      RaiseError("RemoveFromArchive", Quoted(ArchiveName) + ": " + Quoted(Entry) + ": " + zip_strerror(Zip));
    Changed = true;
  }

  void FlushArchive() override { CloseArchive("FlushArchive"); }

  std::vector<std::string> ListFiles(const std::string& Folder, int32_t, bool FilesOnly) override {
    std::vector<std::string> Names;
    std::error_code Ec;
    fs::directory_iterator It(Resolve(Folder), Ec);
    if (Ec) {
      if (Ec == std::errc::no_such_file_or_directory || Ec == std::errc::not_a_directory) return Names;
      RaiseError("ListFiles", Quoted(Folder) + ": " + Ec.message());
    }
    for (const fs::directory_entry& E : It) {
      std::error_code TypeEc;
      if (FilesOnly ? E.is_regular_file(TypeEc) : (E.is_regular_file(TypeEc) || E.is_directory(TypeEc)))
        Names.push_back(E.path().filename().string());
    }
    std::sort(Names.begin(), Names.end());
    return Names;
  }

  bool FileExists(const std::string& Path) override {
    struct stat St;
    return ::stat(Resolve(Path).c_str(), &St) == 0 && !S_ISDIR(St.st_mode);
  }

  std::string ReadINI(const std::string& Section, const std::string& Key, const std::string& File, int32_t) override {
    const IniDoc& Doc = Ini(ResolveCached(File));
    return Doc.Parsed->GetValue(Section.c_str(), Key.c_str(), "");
  }

  void WriteINI(const std::string& Section, const std::string& Key, const std::string& Value,
                const std::string& File, int32_t) override {
    std::string Path = Resolve(File);
    const IniDoc& Doc = Ini(Path);
    if (Doc.Unreadable) RaiseError("WriteINI", Quoted(File) + ": cannot read the file");
    Store("WriteINI", File, Path, ini::SetValue(Doc.Text, ini::OneLine(Section), ini::OneLine(Key), ini::OneLine(Value)));
  }

  void LoadHighScores(const std::string& File, int32_t, int32_t, int32_t) override {
    const std::string& Path = ResolveCached(File);
    ScoreDoc& Doc = Scores[Path];
    Clock::time_point Now = Clock::now();
    if (!Doc.Valid || Now - Doc.CheckedAt >= FreshFor) {
      Doc.CheckedAt = Now;
      if (!(Doc.Stamp == StampOf(Path))) Doc.Valid = false;
    }
    if (!Doc.Valid) {
      const IniDoc& Source = Ini(Path);
      Doc.Table = hs::ReadTable([&](const std::string& Key) { return std::string(Source.Parsed->GetValue(hs::Section, Key.c_str(), "")); });
      Doc.Stamp = Source.Stamp;
      Doc.Valid = true;
    }
    CurrentScores = &Doc;
    CurrentScoreFile = File;
    CurrentScorePath = Path;
  }

  void AddHighScore(float Score, const std::string& Name, const std::vector<std::string>&, int32_t) override {
    if (!CurrentScores) RaiseError("AddHighScore", "no high-score table loaded");
    hs::Table Table = CurrentScores->Table;
    if (!hs::Insert(Table, Score, Name)) return;
    const IniDoc& Doc = Ini(CurrentScorePath);
    if (Doc.Unreadable) RaiseError("AddHighScore", Quoted(CurrentScoreFile) + ": cannot read the file");
    std::string Text = Doc.Text;
    for (int Place = 1; Place <= hs::Places; ++Place) {
      bool Used = size_t(Place) <= Table.Entries.size();
      Text = ini::SetValue(Text, hs::Section, hs::NameKey(Place), Used ? Table.Entries[Place - 1].Name : "");
      Text = ini::SetValue(Text, hs::Section, hs::ScoreKey(Place), Used ? hs::FormatScore(Table.Entries[Place - 1].Score) : "0");
    }
    Store("AddHighScore", CurrentScoreFile, CurrentScorePath, Text);
    ScoreDoc& Doc2 = Scores[CurrentScorePath];
    Doc2.Table = std::move(Table);
    Doc2.Stamp = Ini(CurrentScorePath).Stamp;
    Doc2.Valid = true;
    CurrentScores = &Doc2;
  }

  int16_t GetHighScorePlace(float Score) override {
    if (!CurrentScores) RaiseError("GetHighScorePlace", "no high-score table loaded");
    return int16_t(hs::PlaceOf(CurrentScores->Table, Score));
  }

  float GetHighScore(int16_t Place) override {
    if (!CurrentScores) RaiseError("GetHighScore", "no high-score table loaded");
    const auto& E = CurrentScores->Table.Entries;
    return Place >= 1 && size_t(Place) <= E.size() ? E[Place - 1].Score : 0.0f;
  }

  std::string GetHighScoreName(int16_t Place) override {
    if (!CurrentScores) RaiseError("GetHighScoreName", "no high-score table loaded");
    const auto& E = CurrentScores->Table.Entries;
    return Place >= 1 && size_t(Place) <= E.size() ? E[Place - 1].Name : std::string();
  }

  bool IsMouseOver(float X, float Y, float Width, float Height) override {
    if (!Engine) return false;
    int32_t MouseX = 0, MouseY = 0;
    Engine->LastMousePosition(MouseX, MouseY);
    return double(MouseX) >= X && double(MouseX) < double(X) + Width && double(MouseY) >= Y &&
           double(MouseY) < double(Y) + Height;
  }

 private:
  using Clock = std::chrono::steady_clock;
  // The game asks for the same few values many times a frame. A file is looked at again when
  // this much time has passed since the last look (a stat costs more than the whole lookup);
  // changes made through this component are seen at once.
  static constexpr std::chrono::milliseconds FreshFor{1};

  struct IniDoc {
    Clock::time_point CheckedAt;
    FileStamp Stamp;
    bool Unreadable = false;
    std::string Text;
    std::unique_ptr<CSimpleIniA> Parsed;
  };
  struct ScoreDoc {
    bool Valid = false;
    Clock::time_point CheckedAt;
    FileStamp Stamp;
    hs::Table Table;
  };

  // Game paths: relative to the game folder, "\" as a separator, a leading separator meaning
  // the game folder. A full path into the game folder is taken as it is.
  // A ".." part is refused: nothing outside the game folder is ever opened.
  std::string Resolve(const std::string& Path) const {
    std::string P = Slashes(Path);
    size_t Start = 0;
    if (P.size() > Root.size() && P.compare(0, Root.size(), Root) == 0 && P[Root.size()] == '/' && Root != ".")
      Start = Root.size();
    if (("/" + P.substr(Start) + "/").find("/../") != std::string::npos)
      RaiseError("FileTools", Quoted(Path) + " leads out of the game folder; refused");
    if (Start > 0) return P;
    Start = P.find_first_not_of('/');
    return Start == std::string::npos ? Root : Root + "/" + P.substr(Start);
  }

  const std::string& ResolveCached(const std::string& Path) {
    auto It = ResolvedPaths.find(Path);
    if (It == ResolvedPaths.end()) It = ResolvedPaths.emplace(Path, Resolve(Path)).first;
    return It->second;
  }

  const IniDoc& Ini(const std::string& Path) {
    IniDoc& Doc = IniCache[Path];
    Clock::time_point Now = Clock::now();
    if (Doc.Parsed && Now - Doc.CheckedAt < FreshFor) return Doc;
    Doc.CheckedAt = Now;
    FileStamp Stamp = StampOf(Path);
    if (Doc.Parsed && Doc.Stamp == Stamp) return Doc;
    std::string Bytes;
    Doc.Unreadable = false;
    if (Stamp.Exists && !ReadWholeFile(Path, Bytes)) {
      Doc.Unreadable = true;
      Bytes.clear();
    }
    Parse(Doc, ini::DecodeFileText(Bytes));
    Doc.Stamp = Stamp;
    return Doc;
  }

  static void Parse(IniDoc& Doc, std::string Text) {
    Doc.Text = std::move(Text);
    Doc.Parsed = std::make_unique<CSimpleIniA>(true, true, false);
    Doc.Parsed->LoadData(Doc.Text.data(), Doc.Text.size());
  }

  // Writes an INI text and keeps it as the cached version of the file.
  void Store(const std::string& Operation, const std::string& Name, const std::string& Path, std::string Text) {
    ReplaceFile(Operation, Name, Path, true, [&](int Fd, std::string&) { return WriteAll(Fd, Text.data(), Text.size()); });
    IniDoc& Doc = IniCache[Path];
    Doc.Unreadable = false;
    Parse(Doc, std::move(Text));
    Doc.Stamp = StampOf(Path);
    Doc.CheckedAt = Clock::now();
  }

  void Forget(const std::string& Path) {
    IniCache.erase(Path);
    if (auto It = Scores.find(Path); It != Scores.end()) It->second.Valid = false;
  }

  zip_t* Current(const std::string& Operation) {
    if (!HaveArchive) RaiseError(Operation, "no archive open");
    if (!Archive) Reopen(Operation);
    return Archive;
  }

  void Reopen(const std::string& Operation) {
    int Code = 0;
    Archive = zip_open(ArchivePath.c_str(), ZIP_CHECKCONS, &Code);
    if (!Archive) {
      HaveArchive = false;
      RaiseError(Operation, Quoted(ArchiveName) + ": " + ZipOpenError(Code));
    }
    if (!ArchivePassword.empty()) zip_set_default_password(Archive, ArchivePassword.c_str());
  }

  // Writes pending changes (libzip writes a temporary file beside the archive and renames it
  // over the old one; with nothing changed it writes nothing).
  void CloseArchive(const std::string& Operation) {
    if (!Archive) return;
    zip_t* Zip = Archive;
    Archive = nullptr;
    bool Written = Changed;
    Changed = false;
    if (zip_close(Zip) != 0) {
      std::string Why = zip_strerror(Zip);
      zip_discard(Zip);
      RaiseError(Operation, Quoted(ArchiveName) + ": cannot write the archive: " + Why);
    }
    // libzip renames without syncing; make the new archive durable before the game goes on.
    if (Written) {
      int Fd = ::open(ArchivePath.c_str(), O_RDONLY | O_CLOEXEC);
      if (Fd >= 0) {
        ::fsync(Fd);
        ::close(Fd);
      }
      SyncFolderOf(ArchivePath);
    }
  }

  static zip_int64_t Locate(zip_t* Zip, const std::string& Entry) {
    std::string Name = Slashes(Entry);
    zip_int64_t Index = zip_name_locate(Zip, Name.c_str(), 0);
    if (Index < 0) Index = zip_name_locate(Zip, Name.c_str(), ZIP_FL_NOCASE);
    return Index;
  }

  void CheckSize(const std::string& Operation, zip_t* Zip, zip_uint64_t Index) {
    zip_stat_t St;
    zip_stat_init(&St);
    if (zip_stat_index(Zip, Index, 0, &St) != 0) RaiseError(Operation, Quoted(ArchiveName) + ": " + zip_strerror(Zip));
    if ((St.valid & ZIP_STAT_SIZE) && St.size > MaxEntrySize)
      RaiseError(Operation, Quoted(ArchiveName) + ": entry " + Quoted(St.name ? St.name : "?") +
                                " is larger than 64 MiB; refused");
  }

  void ExtractEntry(const std::string& Operation, zip_t* Zip, zip_uint64_t Index, const std::string& Entry,
                    const std::string& Target) {
    zip_file_t* In = zip_fopen_index(Zip, Index, 0);
    if (!In) RaiseError(Operation, Quoted(ArchiveName) + ": entry " + Quoted(Entry) + ": " + zip_strerror(Zip));
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> Guard(In, zip_fclose);
    std::string What = ArchiveName + ": " + Entry;
    ReplaceFile(Operation, What, Target, false, [&](int Fd, std::string& Failure) {
      char Buffer[65536];
      zip_uint64_t Total = 0;
      for (;;) {
        zip_int64_t N = zip_fread(In, Buffer, sizeof Buffer);
        if (N < 0) {
          Failure = std::string("cannot read the entry: ") + zip_file_strerror(In);
          return false;
        }
        if (N == 0) return true;
        Total += zip_uint64_t(N);
        if (Total > MaxEntrySize) {
          Failure = "entry larger than 64 MiB; refused";
          return false;
        }
        if (!WriteAll(Fd, Buffer, size_t(N))) return false;
      }
    });
    Forget(Target);
  }

  // Storing a file identical to the entry the archive had when it was opened undoes the
  // changes to that entry, so writing back an unchanged high-score table leaves the pack as it
  // was instead of rewriting megabytes of pictures.
  bool RestoreIfUnchanged(zip_t* Zip, const std::string& Name, const std::string& Content) {
    zip_int64_t Original = zip_name_locate(Zip, Name.c_str(), ZIP_FL_UNCHANGED);
    if (Original < 0) return false;
    zip_stat_t St;
    zip_stat_init(&St);
    if (zip_stat_index(Zip, zip_uint64_t(Original), ZIP_FL_UNCHANGED, &St) != 0 || !(St.valid & ZIP_STAT_SIZE) ||
        St.size != Content.size())
      return false;
    zip_file_t* In = zip_fopen_index(Zip, zip_uint64_t(Original), ZIP_FL_UNCHANGED);
    if (!In) return false;
    std::string Old(Content.size(), '\0');
    zip_int64_t N = Content.empty() ? 0 : zip_fread(In, Old.data(), Old.size());
    zip_fclose(In);
    if (N != zip_int64_t(Content.size()) || Old != Content) return false;
    zip_int64_t Now = zip_name_locate(Zip, Name.c_str(), 0);
    if (Now >= 0 && Now != Original && zip_delete(Zip, zip_uint64_t(Now)) != 0) return false;
    return zip_unchange(Zip, zip_uint64_t(Original)) == 0;
  }

  static constexpr zip_uint64_t MaxEntrySize = 64ull << 20;

  std::string Root;
  GfxEngine* Engine;

  zip_t* Archive = nullptr;
  bool HaveArchive = false;
  bool Changed = false;
  std::string ArchiveName, ArchivePath, ArchivePassword;

  std::unordered_map<std::string, std::string> ResolvedPaths;
  std::unordered_map<std::string, IniDoc> IniCache;
  std::unordered_map<std::string, ScoreDoc> Scores;
  ScoreDoc* CurrentScores = nullptr;
  std::string CurrentScoreFile, CurrentScorePath;
};

}  // namespace

std::string IniFileValue(const std::string& Bytes, const std::string& Section, const std::string& Key) {
  const std::string Text = ini::DecodeFileText(Bytes);
  CSimpleIniA Parsed(true, true, false);
  Parsed.LoadData(Text.data(), Text.size());
  return Parsed.GetValue(Section.c_str(), Key.c_str(), "");
}

std::shared_ptr<FileTools> MakeZipFileTools(const std::string& GameFolder, GfxEngine* Engine) {
  return std::make_shared<ZipFileTools>(GameFolder, Engine);
}

}  // namespace pikora
