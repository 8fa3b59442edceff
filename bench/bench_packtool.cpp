// Pack tool timings: a ten-photo pack made from scikit-image's sample photographs, and `check`
// on it.
#include <chrono>
#include <cstdio>

#include "packtool/Check.h"
#include "packtool/GameRules.h"
#include "packtool/Photos.h"

using namespace pikora::packtool;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point Start) { return std::chrono::duration<double>(Clock::now() - Start).count(); }

}  // namespace

int main() {
  std::vector<std::string> Photos;
  for (const char* Name : {"astronaut.png", "camera.png", "chelsea.png", "coffee.png", "hubble_deep_field.jpg",
                           "coins.png", "retina.jpg", "brick.png", "grass.png", "gravel.png"})
    Photos.push_back(std::string("/usr/lib/python3/dist-packages/skimage/data/") + Name);
  ScratchFolder Scratch;
  const Clock::time_point Start = Clock::now();
  const PhotoPack Made = MakePhotoPack(Photos, "Mjerenje", false, Scratch.Path);
  if (!Made.Problem.empty()) {
    std::printf("%s\n", Made.Problem.c_str());
    return 1;
  }
  WritePack(Made.Entries, Scratch.Path + "/bench.pkr");
  const double Whole = Seconds(Start);
  const Clock::time_point CheckStart = Clock::now();
  const std::vector<Finding> Found = CheckPack(ReadPack(Scratch.Path + "/bench.pkr"));
  std::printf("ten-photo pack: %.2f s (goal < 10 s); check of it %.2f s (goal < 2 s); %zu findings\n", Whole,
              Seconds(CheckStart), Found.size());
  return Found.empty() ? 0 : 1;
}
