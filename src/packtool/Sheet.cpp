#include "packtool/Sheet.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "packtool/Check.h"
#include "resources/LevelData.h"

namespace pikora::packtool {

namespace {

constexpr int Gap = 8, Margin = 16, LineHeight = 18, TextLines = 4;
constexpr double FontScale = 0.45;
const cv::Scalar Paper(38, 38, 38), Ink(235, 235, 235), Marker(0, 230, 255), Shadow(0, 0, 0);

void Write(cv::Mat& Sheet, const std::string& Text, int X, int Y, const cv::Scalar& Colour = Ink) {
  cv::putText(Sheet, Text, {X, Y}, cv::FONT_HERSHEY_SIMPLEX, FontScale, Colour, 1, cv::LINE_AA);
}

// Lines of at most Width pixels; the paragraph breaks "[e]" start new ones.
std::vector<std::string> Wrap(const std::string& Text, int Width) {
  std::vector<std::string> Lines;
  std::string Paragraphs = ExpandLineBreaks(Ascii(Text)) + "\n", Line, Word;
  const auto Fits = [&](const std::string& S) {
    int Base = 0;
    return cv::getTextSize(S, cv::FONT_HERSHEY_SIMPLEX, FontScale, 1, &Base).width <= Width;
  };
  const auto Flush = [&] {
    if (!Word.empty()) {
      if (!Line.empty() && !Fits(Line + " " + Word)) Lines.push_back(std::exchange(Line, ""));
      Line += (Line.empty() ? "" : " ") + Word;
      Word.clear();
    }
  };
  for (char C : Paragraphs) {
    if (C == '\r') continue;
    if (C == ' ' || C == '\n') Flush();
    if (C == '\n') Lines.push_back(std::exchange(Line, ""));
    if (C != ' ' && C != '\n') Word += C;
  }
  while (!Lines.empty() && Lines.back().empty()) Lines.pop_back();
  return Lines;
}

void DrawRects(cv::Mat& Picture, const LevelData& Level) {
  for (int K = 0; K < 5; ++K) {
    const Box B = PixelsOf(Level.Rects[size_t(K)]);
    if (B.Empty()) continue;
    cv::rectangle(Picture, B.ToCv() + cv::Point(1, 1), Shadow, 1);
    cv::rectangle(Picture, B.ToCv(), Marker, 1);
    const cv::Point Label(std::clamp(B.Left + 2, 0, Picture.cols - 10), std::clamp(B.Top + 13, 12, Picture.rows - 2));
    cv::putText(Picture, std::to_string(K + 1), Label + cv::Point(1, 1), cv::FONT_HERSHEY_SIMPLEX, 0.45, Shadow, 2);
    cv::putText(Picture, std::to_string(K + 1), Label, cv::FONT_HERSHEY_SIMPLEX, 0.45, Marker, 1, cv::LINE_AA);
  }
}

}  // namespace

std::string Ascii(const std::string& Utf8) {
  static const std::pair<const char*, const char*> Letters[] = {
      {"\xC4\x8D", "c"}, {"\xC4\x8C", "C"}, {"\xC4\x87", "c"}, {"\xC4\x86", "C"}, {"\xC4\x91", "dj"},
      {"\xC4\x90", "Dj"}, {"\xC5\xA1", "s"}, {"\xC5\xA0", "S"}, {"\xC5\xBE", "z"}, {"\xC5\xBD", "Z"}};
  std::string Out;
  for (size_t I = 0; I < Utf8.size();) {
    const unsigned char C = static_cast<unsigned char>(Utf8[I]);
    if (C < 0x80) {
      Out += (C < 0x20 && C != '\n' && C != '\r') ? ' ' : char(C);
      ++I;
      continue;
    }
    const auto Known = std::find_if(std::begin(Letters), std::end(Letters),
                                    [&](const auto& L) { return Utf8.compare(I, 2, L.first) == 0; });
    Out += Known != std::end(Letters) ? Known->second : "?";
    I += Known != std::end(Letters) ? 2 : 1;
    while (I < Utf8.size() && (static_cast<unsigned char>(Utf8[I]) & 0xC0) == 0x80) ++I;
  }
  return Out;
}

cv::Mat ContactSheet(const PackData& Pack, const std::string& Title) {
  const int W = Pack.Vertical ? LandscapeHeight : LandscapeWidth, H = Pack.Vertical ? LandscapeWidth : LandscapeHeight;
  const int TileW = 2 * W + Gap, TileH = H + Gap + LineHeight * (TextLines + 1);
  const int Columns = Pack.Vertical ? 3 : 2;
  const int Count = int(Pack.LevelList.size()), Rows = std::max(1, (Count + Columns - 1) / Columns);
  const int HeaderH = 3 * LineHeight + Margin;
  cv::Mat Sheet(HeaderH + Rows * (TileH + Margin) + Margin, Margin + Columns * (TileW + Margin), CV_8UC3, Paper);

  Write(Sheet, Ascii(Title) + ": " + std::to_string(Pack.Levels) + " levels, " +
                   (Pack.Vertical ? "portrait" : "landscape"), Margin, Margin + 12);
  const std::vector<std::string> Info = Wrap(Pack.Info, Sheet.cols - 2 * Margin);
  for (size_t I = 0; I < std::min<size_t>(Info.size(), 2); ++I)
    Write(Sheet, Info[I], Margin, Margin + 12 + LineHeight * int(I + 1), {200, 200, 200});

  for (int I = 0; I < Count; ++I) {
    const LevelData& Level = Pack.LevelList[size_t(I)];
    const int X = Margin + (I % Columns) * (TileW + Margin), Y = HeaderH + (I / Columns) * (TileH + Margin);
    std::vector<Finding> Ignored;
    const std::string* Bytes[] = {&Level.OriginalBytes, &Level.ModifiedBytes};
    const std::string* Names[] = {&Level.Original, &Level.Modified};
    for (int Side = 0; Side < 2; ++Side) {
      cv::Mat Target = Sheet(cv::Rect(X + Side * (W + Gap), Y, W, H));
      cv::Mat Picture = DecodeLevelPicture(*Names[Side], *Bytes[Side], Pack.Vertical, Ignored);
      if (Picture.empty()) {
        Target.setTo(cv::Scalar(90, 90, 90));
        Write(Target, *Names[Side] + " cannot be read", 8, H / 2);
        continue;
      }
      DrawRects(Picture, Level);
      Picture.copyTo(Target);
    }
    Write(Sheet, "Level " + std::to_string(Level.Number) + " (" + Level.Original + ", " + Level.Modified + ")",
          X, Y + H + Gap + 12, Marker);
    const std::vector<std::string> Lines = Wrap(Level.Text, TileW);
    for (size_t L = 0; L < std::min<size_t>(Lines.size(), TextLines); ++L)
      Write(Sheet, Lines[L], X, Y + H + Gap + 12 + LineHeight * int(L + 1));
  }
  return Sheet;
}

}  // namespace pikora::packtool
