#pragma once
// The small INI reader used for the difference rectangles.
#include <cstdint>
#include <map>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

std::string GetINIValue(const std::string& Section, const std::string& Key, const std::string& File);

// Stand-in for the Windows profile reader: copies the value (or Default) into Buffer, cut to
// Size - 1 characters and zero-terminated, and returns the number of characters copied.
// Section and key match without regard to case; the value is trimmed.
uint32_t GetPrivateProfileStringA(const char* Section, const char* Key, const char* Default, char* Buffer,
                                  uint32_t Size, const char* File);

// One INI file read into memory, for checks that read many keys of one file.
// Keys are "section\nkey", both in lower case.
struct IniContents {
  std::map<std::string, std::string> Values;
  // The line (from 1) of each key's value and of each section's first header ("section").
  std::map<std::string, int> Lines;
};
// An unreadable or missing file gives no values.
IniContents ReadIniContents(const std::string& File);
IniContents ParseIniContents(std::string Text);
// The line of a key (or, with Key empty, of a section header); 0 when it is not there.
int IniLine(const IniContents& Contents, const std::string& Section, const std::string& Key = "");
// The trimmed value, or false when the key is missing.
bool FindIniValue(const IniContents& Contents, const std::string& Section, const std::string& Key,
                  std::string& Value);

}  // namespace pikora
