// Feeds every file of the given files and folders to the harness once, as libFuzzer would: the
// seed corpus becomes an ordinary test of every build, the sanitizer build included.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int Count, char** Arguments) {
  namespace fs = std::filesystem;
  std::vector<fs::path> Inputs;
  for (int I = 1; I < Count; ++I)
    if (fs::is_directory(Arguments[I])) {
      for (const auto& Entry : fs::directory_iterator(Arguments[I]))
        if (Entry.is_regular_file()) Inputs.push_back(Entry.path());
    } else {
      Inputs.emplace_back(Arguments[I]);
    }
  for (const auto& Path : Inputs) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) return std::fprintf(stderr, "replay: cannot read %s\n", Path.c_str()), 1;
    const std::vector<uint8_t> Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(Bytes.data(), Bytes.size());
  }
  std::printf("replay: %zu inputs\n", Inputs.size());
  return Inputs.empty() ? 1 : 0;
}
