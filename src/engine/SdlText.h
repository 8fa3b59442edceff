#pragma once
// Text helpers of the SDL engine: font lookup through fontconfig and the line layout of DrawText.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pikora {

struct FontFile {
  std::string Path;
  int Index = 0;        // face inside a collection
  bool NeedBold = false;   // the match has no bold face: let SDL_ttf embolden
  bool NeedItalic = false; // likewise for the slant
};

// The installed font nearest to Face with that weight and slant; throws std::runtime_error
// when fontconfig finds nothing at all.
FontFile FindFontFile(const std::string& Face, bool Bold, bool Italic);

// Text as UTF-8: valid UTF-8 is kept, anything else is taken as Windows-1250 (the code
// page of Croatian Windows text files).
std::string AsUtf8(const std::string& Text);

// Splits at CR LF, LF or a lone CR, and with Wrap breaks each paragraph between words so
// that a line's Measure stays within Width where possible (a longer word keeps its own line).
std::vector<std::string> LayoutLines(const std::string& Text, bool Wrap, float Width,
                                     const std::function<int(const std::string&)>& Measure);

// Unicode code points of UTF-8 text (bytes taken as Latin-1 when it is not UTF-8).
std::vector<uint32_t> CodePoints(const std::string& Text);

}  // namespace pikora
