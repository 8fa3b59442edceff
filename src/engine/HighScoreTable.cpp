#include "engine/HighScoreTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "engine/IniText.h"

namespace pikora::hs {

std::string NameKey(int Place) { return std::to_string(Place) + "_name"; }
std::string ScoreKey(int Place) { return std::to_string(Place) + "_score"; }

bool ParseScore(std::string_view Text, float& Score) {
  std::string T(ini::Trim(Text));
  std::replace(T.begin(), T.end(), ',', '.');
  if (!T.empty() && T.front() == '+') T.erase(0, 1);
  float Value = 0;
  auto [End, Error] = std::from_chars(T.data(), T.data() + T.size(), Value, std::chars_format::fixed);
  if (T.empty() || Error != std::errc() || End != T.data() + T.size() || !std::isfinite(Value)) return false;
  Score = Value;
  return true;
}

std::string CleanScoreText(std::string_view Text) {
  float Score = 0;
  if (ini::Trim(Text).empty()) return {};
  return FormatScore(ParseScore(Text, Score) ? Score : 0.0f);
}

std::string FormatScore(float Score) {
  if (!std::isfinite(Score)) return "0";
  char Buffer[64];
  auto [End, Error] = std::to_chars(Buffer, Buffer + sizeof Buffer, Score, std::chars_format::fixed);
  if (Error != std::errc()) return "0";
  return std::string(Buffer, End);
}

std::string SanitiseName(std::string_view Name) {
  std::string Text = ini::IsValidUtf8(Name) ? std::string(Name) : ini::Windows1250ToUtf8(Name);
  Text = ini::OneLine(Text);
  if (Text.size() > MaxNameBytes) {
    size_t Cut = MaxNameBytes;
    while (Cut > 0 && (uint8_t(Text[Cut]) & 0xC0) == 0x80) --Cut;  // never split a character
    Text = std::string(ini::Trim(std::string_view(Text).substr(0, Cut)));
  }
  return Text;
}

Table ReadTable(const std::function<std::string(const std::string& Key)>& Get) {
  Table T;
  for (int Place = 1; Place <= Places; ++Place) {
    Entry E;
    E.Name = SanitiseName(Get(NameKey(Place)));
    float Score = 0;
    if (ParseScore(Get(ScoreKey(Place)), Score)) E.Score = Score;
    if (!E.Name.empty() || E.Score != 0) T.Entries.push_back(std::move(E));
  }
  std::stable_sort(T.Entries.begin(), T.Entries.end(),
                   [](const Entry& A, const Entry& B) { return A.Score > B.Score; });
  return T;
}

int PlaceOf(const Table& T, float Score) {
  if (!std::isfinite(Score)) return Places + 1;
  int Place = 1;
  for (const Entry& E : T.Entries)
    if (E.Score >= Score) ++Place;
  return std::min(Place, Places + 1);
}

bool Insert(Table& T, float Score, const std::string& Name) {
  int Place = PlaceOf(T, Score);
  if (Place > Places) return false;
  T.Entries.insert(T.Entries.begin() + (Place - 1), Entry{SanitiseName(Name), Score});
  if (T.Entries.size() > size_t(Places)) T.Entries.resize(Places);
  return true;
}

}  // namespace pikora::hs
