#include "engine/IniText.h"

#include <cstdint>
#include <vector>

namespace pikora::ini {
namespace {

// Windows-1250, bytes 0x80..0xFF; 0 marks the five bytes the code page leaves undefined.
constexpr char16_t Cp1250High[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

void AppendUtf8(std::string& Out, char32_t C) {
  if (C < 0x80) {
    Out += char(C);
  } else if (C < 0x800) {
    Out += char(0xC0 | (C >> 6));
    Out += char(0x80 | (C & 0x3F));
  } else {
    Out += char(0xE0 | (C >> 12));
    Out += char(0x80 | ((C >> 6) & 0x3F));
    Out += char(0x80 | (C & 0x3F));
  }
}

char Lower(char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; }

// One line of the file without its line ending, and what ended it.
struct Line {
  std::string_view Text;
  std::string_view Ending;
};

std::vector<Line> SplitLines(std::string_view Text) {
  std::vector<Line> Lines;
  size_t Start = 0;
  while (Start < Text.size()) {
    size_t End = Text.find_first_of("\r\n", Start);
    if (End == std::string_view::npos) {
      Lines.push_back({Text.substr(Start), {}});
      break;
    }
    size_t After = End + 1;
    if (Text[End] == '\r' && After < Text.size() && Text[After] == '\n') ++After;
    Lines.push_back({Text.substr(Start, End - Start), Text.substr(End, After - End)});
    Start = After;
  }
  return Lines;
}

// The section a header line names, or false when the line is no header.
bool SectionName(std::string_view Line, std::string_view& Name) {
  std::string_view T = Trim(Line);
  if (T.empty() || T.front() != '[') return false;
  size_t Close = T.find(']');
  if (Close == std::string_view::npos) return false;
  Name = Trim(T.substr(1, Close - 1));
  return true;
}

bool IsComment(std::string_view Line) {
  std::string_view T = Trim(Line);
  return !T.empty() && (T.front() == ';' || T.front() == '#');
}

// The key of an entry line, or false when the line holds no entry.
bool EntryKey(std::string_view Line, std::string_view& Key) {
  if (IsComment(Line)) return false;
  size_t Eq = Line.find('=');
  if (Eq == std::string_view::npos) return false;
  Key = Trim(Line.substr(0, Eq));
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view Text) {
  size_t I = 0, N = Text.size();
  while (I < N) {
    auto B = uint8_t(Text[I]);
    if (B < 0x80) {
      ++I;
      continue;
    }
    int More;
    char32_t C;
    if ((B & 0xE0) == 0xC0) More = 1, C = B & 0x1F;
    else if ((B & 0xF0) == 0xE0) More = 2, C = B & 0x0F;
    else if ((B & 0xF8) == 0xF0) More = 3, C = B & 0x07;
    else return false;
    if (I + size_t(More) >= N) return false;
    for (int K = 1; K <= More; ++K) {
      auto Next = uint8_t(Text[I + K]);
      if ((Next & 0xC0) != 0x80) return false;
      C = (C << 6) | (Next & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
    static constexpr char32_t Least[] = {0, 0x80, 0x800, 0x10000};
    if (C < Least[More] || C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF)) return false;
    I += size_t(More) + 1;
  }
  return true;
}

std::string Windows1250ToUtf8(std::string_view Text) {
  std::string Out;
  Out.reserve(Text.size() + Text.size() / 4);
  for (char Ch : Text) {
    auto B = uint8_t(Ch);
    if (B < 0x80) {
      Out += Ch;
    } else {
      char16_t C = Cp1250High[B - 0x80];
      AppendUtf8(Out, C ? C : 0xFFFD);
    }
  }
  return Out;
}

std::string DecodeFileText(std::string_view Bytes) {
  if (Bytes.substr(0, 3) == "\xEF\xBB\xBF") Bytes.remove_prefix(3);
  if (IsValidUtf8(Bytes)) return std::string(Bytes);
  return Windows1250ToUtf8(Bytes);
}

std::string_view Trim(std::string_view Text) {
  const char* Space = " \t\r\n\f\v";
  size_t First = Text.find_first_not_of(Space);
  if (First == std::string_view::npos) return {};
  size_t Last = Text.find_last_not_of(Space);
  return Text.substr(First, Last - First + 1);
}

bool EqualNoCase(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t I = 0; I < A.size(); ++I)
    if (Lower(A[I]) != Lower(B[I])) return false;
  return true;
}

std::string OneLine(std::string_view Value) {
  std::string Out(Value);
  for (char& C : Out)
    if (uint8_t(C) < 0x20 || C == 0x7F) C = ' ';
  return std::string(Trim(Out));
}

std::string SetValue(const std::string& Text, std::string_view Section, std::string_view Key,
                     std::string_view Value) {
  std::vector<Line> Lines = SplitLines(Text);
  std::string_view Eol = Text.find("\r\n") != std::string::npos || Text.empty() ? "\r\n" : "\n";

  // Find the first section of that name, the key in it, and the last entry of the section.
  bool InSection = false, SectionFound = false;
  size_t InsertAfter = 0, KeyLine = Lines.size();
  for (size_t I = 0; I < Lines.size(); ++I) {
    std::string_view Name, LineKey;
    if (SectionName(Lines[I].Text, Name)) {
      if (InSection) break;
      if (!SectionFound && EqualNoCase(Name, Section)) {
        InSection = SectionFound = true;
        InsertAfter = I;
      }
      continue;
    }
    if (!InSection) continue;
    if (EntryKey(Lines[I].Text, LineKey)) {
      InsertAfter = I;
      if (EqualNoCase(LineKey, Key)) {
        KeyLine = I;
        break;
      }
    }
  }

  std::string Entry = std::string(Key) + "=" + std::string(Value);
  std::string Out;
  Out.reserve(Text.size() + Entry.size() + Section.size() + 8);
  if (!SectionFound) {
    Out = Text;
    if (!Out.empty() && Out.back() != '\n' && Out.back() != '\r') Out += Eol;
    Out += '[';
    Out += Section;
    Out += ']';
    Out += Eol;
    Out += Entry;
    Out += Eol;
    return Out;
  }
  for (size_t I = 0; I < Lines.size(); ++I) {
    if (I == KeyLine) {
      Out += Entry;
      Out += Lines[I].Ending.empty() ? Eol : Lines[I].Ending;
      continue;
    }
    Out += Lines[I].Text;
    Out += Lines[I].Ending;
    if (KeyLine == Lines.size() && I == InsertAfter) {
      if (Lines[I].Ending.empty()) Out += Eol;
      Out += Entry;
      Out += Eol;
    }
  }
  return Out;
}

}  // namespace pikora::ini
