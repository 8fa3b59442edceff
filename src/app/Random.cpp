#include "app/Random.h"

#include <chrono>
#include <random>

namespace pikora {

namespace {
std::mt19937& Generator() {
  static std::mt19937 Gen(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                std::chrono::system_clock::now().time_since_epoch().count()));
  return Gen;
}
}  // namespace

float Rnd() {
  // 24 random bits make a Single in [0, 1) with every value exactly representable.
  return static_cast<float>(Generator()() >> 8) * (1.0f / 16777216.0f);
}

void Randomize() {}

void SeedRandom(uint32_t Seed) { Generator().seed(Seed); }

}  // namespace pikora
