#pragma once
// Text-level helpers for the INI files: encodings and a line editor that changes one value
// and leaves every other byte of the file alone.
#include <string>
#include <string_view>

namespace pikora::ini {

bool IsValidUtf8(std::string_view Text);
// The whole Windows-1250 code page; bytes the code page leaves undefined become U+FFFD.
std::string Windows1250ToUtf8(std::string_view Text);
// File bytes to UTF-8 text: a UTF-8 byte-order mark is dropped, anything that is not valid
// UTF-8 is taken as Windows-1250 (packs made on Croatian Windows).
std::string DecodeFileText(std::string_view Bytes);

std::string_view Trim(std::string_view Text);
bool EqualNoCase(std::string_view A, std::string_view B);

// Text with Key of Section set to Value, the way WritePrivateProfileString does it: the first
// matching key line is replaced, a missing key is added after the last entry of the section,
// a missing section is appended. Comments, other keys, order and line endings are kept.
std::string SetValue(const std::string& Text, std::string_view Section, std::string_view Key,
                     std::string_view Value);

// A value as one line: line breaks and other control characters become spaces, then trimmed.
std::string OneLine(std::string_view Value);

}  // namespace pikora::ini
