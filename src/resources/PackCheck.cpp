#include "resources/PackCheck.h"

#include <zip.h>

#include <memory>

#include "engine/ZipError.h"
#include "engine/FileTools.h"
#include "engine/PictureReader.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "resources/modINI.h"

namespace pikora {

namespace {

// The file tools refuse to unpack anything larger.
constexpr zip_uint64_t MaxEntryBytes = 64ull << 20;
// GetINIValue hands back no more of a value.
constexpr size_t MaxEdgeText = 254;

std::string Quoted(std::string_view Value) { return "\"" + PrintableText(Value, 40) + "\""; }

struct Checker {
  zip_t* Zip = nullptr;
  bool Decode = false;
  std::vector<PackProblem> Problems;

  void Add(const std::string& Entry, int Line, const std::string& Text) {
    if (Problems.size() < MaxPackProblems) Problems.push_back({Entry, Line, Text});
  }
  bool Full() const { return Problems.size() >= MaxPackProblems; }

  // Entries are found as the file tools find them: the exact name first, then any letter case.
  zip_int64_t Locate(const std::string& Entry) const {
    zip_int64_t Index = zip_name_locate(Zip, Entry.c_str(), 0);
    return Index >= 0 ? Index : zip_name_locate(Zip, Entry.c_str(), ZIP_FL_NOCASE);
  }

  // The whole entry, decompressed and decrypted as the game will; false with a problem when
  // it cannot be (a missing entry is a problem only when Required).
  bool Read(const std::string& Entry, std::string& Bytes, bool Required = true) {
    const zip_int64_t Index = Locate(Entry);
    if (Index < 0) {
      if (Required) Add(Entry, 0, "the entry is missing");
      return false;
    }
    zip_file_t* In = zip_fopen_index(Zip, zip_uint64_t(Index), 0);
    if (!In) {
      Add(Entry, 0, std::string("cannot be unpacked: ") + zip_strerror(Zip));
      return false;
    }
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> Guard(In, zip_fclose);
    Bytes.clear();
    char Buffer[65536];
    for (;;) {
      const zip_int64_t N = zip_fread(In, Buffer, sizeof Buffer);
      if (N < 0) {
        Add(Entry, 0, std::string("cannot be unpacked: ") + zip_file_strerror(In));
        return false;
      }
      if (N == 0) return true;
      if (Bytes.size() + size_t(N) > MaxEntryBytes) {
        Add(Entry, 0, "unpacks to more than 64 MiB");
        return false;
      }
      Bytes.append(Buffer, size_t(N));
    }
  }

  void CheckSizes() {
    const zip_int64_t Count = zip_get_num_entries(Zip, 0);
    for (zip_int64_t I = 0; I < Count && !Full(); ++I) {
      zip_stat_t St;
      zip_stat_init(&St);
      if (zip_stat_index(Zip, zip_uint64_t(I), 0, &St) == 0 && (St.valid & ZIP_STAT_SIZE) && St.size > MaxEntryBytes)
        Add(St.name ? St.name : "", 0, "is larger than 64 MiB");
    }
  }

  // NumOfLevels when packinfo.ini gives a usable one, else 0.
  int32_t CheckPackInfo() {
    std::string Bytes;
    if (!Read("packinfo.ini", Bytes)) return 0;
    const IniContents Lines = ParseIniContents(Bytes);
    const std::string CountText = IniFileValue(Bytes, "General", "NumOfLevels");
    int32_t Count = 0;
    if (!ParseLevelCount(CountText, Count))
      Add("packinfo.ini", IniLine(Lines, "General", "NumOfLevels"),
          "[General] NumOfLevels " + Quoted(CountText) + " is not a whole number from 1 to " + std::to_string(MaxLevels));
    const std::string VerticalText = IniFileValue(Bytes, "General", "Vertical");
    bool IsVertical = false;
    if (!ConvertBoolean(VerticalText, IsVertical))
      Add("packinfo.ini", IniLine(Lines, "General", "Vertical"),
          "[General] Vertical " + Quoted(VerticalText) + " is neither True nor False");
    return Count;
  }

  void CheckPicInfo(int32_t Count) {
    std::string Bytes;
    if (!Read("picinfo.ini", Bytes)) return;
    const IniContents PicInfo = ParseIniContents(Bytes);
    for (int32_t N = 1; N <= Count && !Full(); ++N) {
      const std::string Section = std::to_string(N);
      const int SectionLine = IniLine(PicInfo, Section);
      if (SectionLine == 0) {
        Add("picinfo.ini", 0, "the section [" + Section + "] of level " + Section + " is missing");
        continue;
      }
      for (int K = 1; K <= 5; ++K)
        for (const char* Edge : {"Left", "Right", "Top", "Bottom"}) {
          const std::string Key = EdgeKey(K, Edge);
          std::string Text;
          float Value = 0;
          if (!FindIniValue(PicInfo, Section, Key, Text))
            Add("picinfo.ini", SectionLine, "[" + Section + "] lacks " + Key);
          else if (!ParseEdge(Text.substr(0, MaxEdgeText), Value))
            Add("picinfo.ini", IniLine(PicInfo, Section, Key),
                "[" + Section + "] " + Key + " " + Quoted(Text) + " is not a number");
        }
    }
  }

  // Each level's pair as the game picks it: the .jpg pair when both are there, else the .bmp
  // pair; both pictures must decode.
  void CheckPictures(int32_t Count) {
    for (int32_t N = 1; N <= Count && !Full(); ++N) {
      const std::string Name = std::to_string(N);
      std::string Extension = ".jpg";
      if (Locate(Name + ".jpg") < 0 || Locate(Name + "x.jpg") < 0) {
        Extension = ".bmp";
        if (Locate(Name + ".bmp") < 0 || Locate(Name + "x.bmp") < 0) {
          Add("", 0, "level " + Name + " lacks its two pictures (" + Name + ".jpg and " + Name + "x.jpg, or " + Name +
                         ".bmp and " + Name + "x.bmp)");
          continue;
        }
      }
      for (const std::string& Entry : {Name + Extension, Name + "x" + Extension}) {
        std::string Bytes;
        if (!Read(Entry, Bytes)) continue;
        const auto* Data = reinterpret_cast<const uint8_t*>(Bytes.data());
        try {
          if (Decode) {
            DecodePicture(Data, Bytes.size());
          } else {
            PictureHeader Header;
            if (!ReadPictureHeader(Data, Bytes.size(), Header)) throw PictureError("not a JPEG, PNG, BMP or DDS picture");
            CheckPictureSize(Header);
          }
        } catch (const PictureError& Error) {
          Add(Entry, 0, Error.what());
        }
      }
    }
  }

  void Run() {
    zip_set_default_password(Zip, ArchivePassword.c_str());
    CheckSizes();
    const int32_t Count = CheckPackInfo();
    CheckPicInfo(Count);
    std::string Scores;
    Read("hscore.ini", Scores, false);
    CheckPictures(Count);
  }
};

std::vector<PackProblem> CheckOpened(zip_t* Zip, int Code, const std::string& FileName, bool DecodePictures) {
  Checker Check;
  Check.Decode = DecodePictures;
  if (FileName.find('\\') != std::string::npos)
    Check.Add("", 0, "the file name holds a \"\\\", which the game reads as a folder separator");
  if (!Zip) {
    Check.Add("", 0, "not a readable ZIP archive: " + ZipOpenError(Code));
    return Check.Problems;
  }
  Check.Zip = Zip;
  Check.Run();
  zip_discard(Zip);
  return Check.Problems;
}

}  // namespace

std::vector<PackProblem> CheckPack(const std::string& ArchivePath, bool DecodePictures) {
  int Code = 0;
  zip_t* Zip = zip_open(ArchivePath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &Code);
  const size_t Slash = ArchivePath.rfind('/');
  return CheckOpened(Zip, Code, Slash == std::string::npos ? ArchivePath : ArchivePath.substr(Slash + 1), DecodePictures);
}

std::vector<PackProblem> CheckPackData(std::string_view Bytes, const std::string& FileName, bool DecodePictures) {
  zip_error_t Error;
  zip_error_init(&Error);
  zip_source_t* Source = zip_source_buffer_create(Bytes.data(), Bytes.size(), 0, &Error);
  zip_t* Zip = Source ? zip_open_from_source(Source, ZIP_RDONLY | ZIP_CHECKCONS, &Error) : nullptr;
  if (!Zip && Source) zip_source_free(Source);
  const int Code = zip_error_code_zip(&Error);
  zip_error_fini(&Error);
  return CheckOpened(Zip, Code, FileName, DecodePictures);
}

std::string DescribePackProblem(const PackProblem& Problem) {
  if (Problem.Entry.empty()) return PrintableText(Problem.Text, 300);
  std::string Where = PrintableText(Problem.Entry, 60);
  if (Problem.Line > 0) Where += ", line " + std::to_string(Problem.Line);
  return Where + ": " + PrintableText(Problem.Text, 300);
}

std::string PrintableText(std::string_view Text, size_t Max) {
  std::string Out(Text.substr(0, Max));
  for (char& C : Out)
    if (static_cast<unsigned char>(C) < 0x20 || C == 0x7F) C = ' ';
  if (Text.size() > Max) {
    // Never end inside a UTF-8 sequence.
    while (!Out.empty() && (static_cast<unsigned char>(Out.back()) & 0xC0) == 0x80) Out.pop_back();
    if (!Out.empty() && static_cast<unsigned char>(Out.back()) >= 0xC0) Out.pop_back();
    Out += "...";
  }
  return Out;
}

}  // namespace pikora
