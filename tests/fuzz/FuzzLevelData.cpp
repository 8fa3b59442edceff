// The values of packinfo.ini and picinfo.ini: level count, layout flag, rectangle edges, texts.
#include <cmath>
#include <string>

#include "resources/LevelData.h"
#include "resources/Options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  using namespace pikora;
  int32_t Count = 0;
  if (ParseLevelCount(Text, Count) && (Count < 1 || Count > MaxLevels)) __builtin_trap();
  float Edge = 0;
  if (ParseEdge(Text, Edge) && !std::isfinite(Edge)) __builtin_trap();
  bool Flag = false;
  ConvertBoolean(Text, Flag);
  const std::string Lines = ExpandLineBreaks(Text);
  if (Lines.find("[e]") != std::string::npos && Text.find("[e]") == std::string::npos) __builtin_trap();
  return 0;
}
