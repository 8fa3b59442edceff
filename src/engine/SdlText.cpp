#include "engine/SdlText.h"

#include "engine/IniText.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>

#include <stdexcept>

namespace pikora {

FontFile FindFontFile(const std::string& Face, bool Bold, bool Italic) {
  if (!FcInit()) throw std::runtime_error("fontconfig could not be initialised");
  FcPattern* Pattern = FcPatternCreate();
  FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Face.c_str()));
  FcPatternAddInteger(Pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(Pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
  FcDefaultSubstitute(Pattern);
  FcResult Result = FcResultNoMatch;
  FcPattern* Match = FcFontMatch(nullptr, Pattern, &Result);
  FcPatternDestroy(Pattern);
  if (!Match) throw std::runtime_error("no installed font matches \"" + Face + "\"");

  FontFile Found;
  FcChar8* File = nullptr;
  if (FcPatternGetString(Match, FC_FILE, 0, &File) != FcResultMatch || !File) {
    FcPatternDestroy(Match);
    throw std::runtime_error("no installed font matches \"" + Face + "\"");
  }
  Found.Path = reinterpret_cast<const char*>(File);
  FcPatternGetInteger(Match, FC_INDEX, 0, &Found.Index);
  int Weight = FC_WEIGHT_REGULAR, Slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(Match, FC_WEIGHT, 0, &Weight);
  FcPatternGetInteger(Match, FC_SLANT, 0, &Slant);
  Found.NeedBold = Bold && Weight < FC_WEIGHT_DEMIBOLD;
  Found.NeedItalic = Italic && Slant == FC_SLANT_ROMAN;
  FcPatternDestroy(Match);
  return Found;
}

std::string AsUtf8(const std::string& Text) {
  return ini::IsValidUtf8(Text) ? Text : ini::Windows1250ToUtf8(Text);
}

std::vector<uint32_t> CodePoints(const std::string& Text) {
  std::vector<uint32_t> Points;
  if (!ini::IsValidUtf8(Text)) {
    for (char C : Text) Points.push_back(uint8_t(C));
    return Points;
  }
  for (size_t I = 0; I < Text.size();) {
    const auto C = uint8_t(Text[I]);
    const size_t More = C < 0x80 ? 0 : C < 0xE0 ? 1 : C < 0xF0 ? 2 : 3;
    uint32_t Cp = More == 0 ? C : More == 1 ? (C & 0x1F) : More == 2 ? (C & 0x0F) : (C & 0x07);
    for (size_t K = 1; K <= More; ++K) Cp = (Cp << 6) | (uint8_t(Text[I + K]) & 0x3F);
    Points.push_back(Cp);
    I += More + 1;
  }
  return Points;
}

std::vector<std::string> LayoutLines(const std::string& Text, bool Wrap, float Width,
                                     const std::function<int(const std::string&)>& Measure) {
  std::vector<std::string> Paragraphs(1);
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '\r') {
      if (I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
      Paragraphs.emplace_back();
    } else if (Text[I] == '\n') {
      Paragraphs.emplace_back();
    } else {
      Paragraphs.back() += Text[I];
    }
  }
  if (!Wrap) return Paragraphs;

  std::vector<std::string> Lines;
  for (const auto& Paragraph : Paragraphs) {
    std::string Line;
    bool LineHasWord = false;
    size_t Start = 0;
    while (Start <= Paragraph.size()) {
      size_t End = Paragraph.find(' ', Start);
      if (End == std::string::npos) End = Paragraph.size();
      const std::string Word = Paragraph.substr(Start, End - Start);
      if (!LineHasWord) {
        Line += Word;
        LineHasWord = !Word.empty();
      } else {
        const std::string Longer = Line + " " + Word;
        if (!Word.empty() && Measure(Longer) > Width) {
          Lines.push_back(Line);
          Line = Word;
        } else {
          Line = Longer;
        }
      }
      if (!LineHasWord && End < Paragraph.size()) Line += ' ';
      Start = End + 1;
    }
    Lines.push_back(Line);
  }
  return Lines;
}

}  // namespace pikora
