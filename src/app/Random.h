#pragma once
#include <cstdint>

namespace pikora {

// The game's one random generator: uniform in [0, 1), seeded once from the clock.
float Rnd();
// Asked for where the game reseeds from the timer. The generator is not restarted:
// reseeding with the same second would repeat earlier draws.
void Randomize();
// Tests fix the sequence.
void SeedRandom(uint32_t Seed);

}  // namespace pikora
