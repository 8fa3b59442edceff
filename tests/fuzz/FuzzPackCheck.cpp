// The check the game runs on every archive in packs/, with every picture decoded.
#include <string_view>

#include "resources/PackCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const auto Problems = pikora::CheckPackData(std::string_view(reinterpret_cast<const char*>(Data), Size), "fuzz.pkr", true);
  for (const auto& Problem : Problems) pikora::DescribePackProblem(Problem);
  return 0;
}
