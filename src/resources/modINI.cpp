#include "resources/modINI.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace pikora {

namespace {

std::string Trimmed(const std::string& Text) {
  const char* Blank = " \t\r\n\v\f";
  const size_t First = Text.find_first_not_of(Blank);
  if (First == std::string::npos) return {};
  return Text.substr(First, Text.find_last_not_of(Blank) - First + 1);
}

std::string Lower(std::string Text) {
  std::transform(Text.begin(), Text.end(), Text.begin(),
                 [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
  return Text;
}

std::string LookupKey(const std::string& Section, const std::string& Key) {
  return Lower(Trimmed(Section)) + "\n" + Lower(Trimmed(Key));
}

}  // namespace

IniContents ReadIniContents(const std::string& File) {
  std::ifstream In(File, std::ios::binary);
  if (!In) return {};
  std::stringstream Whole;
  Whole << In.rdbuf();
  return ParseIniContents(Whole.str());
}

IniContents ParseIniContents(std::string Text) {
  IniContents Contents;
  if (Text.compare(0, 3, "\xEF\xBB\xBF") == 0) Text.erase(0, 3);

  std::string Section;
  bool InSection = false;
  int LineNumber = 0;
  std::istringstream Lines(Text);
  std::string Line;
  while (std::getline(Lines, Line)) {
    ++LineNumber;
    const std::string T = Trimmed(Line);
    if (T.empty() || T.front() == ';') continue;
    if (T.front() == '[') {
      const size_t Close = T.find(']');
      InSection = Close != std::string::npos;
      if (InSection) {
        Section = T.substr(1, Close - 1);
        Contents.Lines.emplace(Lower(Trimmed(Section)), LineNumber);
      }
      continue;
    }
    const size_t Eq = T.find('=');
    if (!InSection || Eq == std::string::npos) continue;
    // Like the Windows reader, the first occurrence of a key wins.
    const std::string Lookup = LookupKey(Section, T.substr(0, Eq));
    if (Contents.Values.emplace(Lookup, Trimmed(T.substr(Eq + 1))).second) Contents.Lines.emplace(Lookup, LineNumber);
  }
  return Contents;
}

int IniLine(const IniContents& Contents, const std::string& Section, const std::string& Key) {
  const auto It = Contents.Lines.find(Key.empty() ? Lower(Trimmed(Section)) : LookupKey(Section, Key));
  return It == Contents.Lines.end() ? 0 : It->second;
}

bool FindIniValue(const IniContents& Contents, const std::string& Section, const std::string& Key,
                  std::string& Value) {
  const auto It = Contents.Values.find(LookupKey(Section, Key));
  if (It == Contents.Values.end()) return false;
  Value = It->second;
  return true;
}

uint32_t GetPrivateProfileStringA(const char* Section, const char* Key, const char* Default, char* Buffer,
                                  uint32_t Size, const char* File) {
  if (!Buffer || Size == 0) return 0;
  std::string Value = Default ? Default : "";
  if (Section && Key && File) FindIniValue(ReadIniContents(File), Section, Key, Value);
  const uint32_t Count = static_cast<uint32_t>(std::min<size_t>(Value.size(), Size - 1));
  std::memcpy(Buffer, Value.data(), Count);
  Buffer[Count] = '\0';
  return Count;
}

std::string GetINIValue(const std::string& Section, const std::string& Key, const std::string& File) {
  std::string Buffer(255, '\0');
  const uint32_t Count = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", Buffer.data(), 255, File.c_str());
  return Buffer.substr(0, Count);
}

}  // namespace pikora
