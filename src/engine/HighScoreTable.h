#pragma once
// The ten-place high-score table of a pack, as kept in the "scores" section of hscore.ini:
// keys n_name and n_score for places n = 1..10, place 1 the best.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pikora::hs {

constexpr int Places = 10;
inline const char* const Section = "scores";

struct Entry {
  std::string Name;
  float Score = 0;
};

// The entries that hold something, best first; at most Places of them. Places beyond the
// end are empty (name "", score 0).
struct Table {
  std::vector<Entry> Entries;
};

// Builds the table from a key reader. A place with neither a name nor a score is empty;
// unreadable scores count as 0. Entries are ordered best first, keeping the file's order
// among equal scores, so a hand-made file in any order still obeys the rules.
Table ReadTable(const std::function<std::string(const std::string& Key)>& Get);

// The place Score would take: below every entry it equals; Places + 1 when it does not enter.
int PlaceOf(const Table& T, float Score);
// Inserts at PlaceOf and drops what falls below the last place; false when it did not enter.
bool Insert(Table& T, float Score, const std::string& Name);

// A name that reads back as stored: valid UTF-8, one line, trimmed, at most MaxNameBytes.
constexpr size_t MaxNameBytes = 100;
std::string SanitiseName(std::string_view Name);
// Whole scores as plain digits; anything else as a plain decimal, never with an exponent.
std::string FormatScore(float Score);
// "123", " 123.0 ", "12,5"; anything else (or not finite) is false.
bool ParseScore(std::string_view Text, float& Score);

// A raw score value as the table reads it: "" stays "", anything unreadable counts as 0.
std::string CleanScoreText(std::string_view Text);

std::string NameKey(int Place);
std::string ScoreKey(int Place);

}  // namespace pikora::hs
