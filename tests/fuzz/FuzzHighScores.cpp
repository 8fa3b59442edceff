// The high-score table as read from a pack's hscore.ini, and a result entered into it.
#include <cmath>
#include <string>

#include "engine/FileTools.h"
#include "engine/HighScoreTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
  using namespace pikora;
  hs::Table Table = hs::ReadTable([&](const std::string& Key) { return IniFileValue(Bytes, hs::Section, Key); });
  if (Table.Entries.size() > size_t(hs::Places)) __builtin_trap();
  for (const auto& Entry : Table.Entries)
    if (Entry.Name.size() > hs::MaxNameBytes || hs::SanitiseName(Entry.Name) != Entry.Name) __builtin_trap();
  hs::CleanScoreText(IniFileValue(Bytes, hs::Section, hs::ScoreKey(1)));
  const float Score = Size > 0 ? float(Data[0]) * 100.0f : 0.0f;
  const int Place = hs::PlaceOf(Table, Score);
  if (hs::Insert(Table, Score, Bytes.substr(0, 150)) != (Place <= hs::Places)) __builtin_trap();
  return 0;
}
