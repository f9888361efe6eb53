// The one shared random generator: uniform reals in [0, 1) and integers 0..n-1.
// Seeded from the clock at start-up or from --seed, so a seeded run repeats exactly.
#pragma once

#include <cstdint>

namespace skerrow {

class Random {
 public:
  void Seed(uint64_t seed);
  // Uniform in [0, 1).
  double Real();
  // Uniform integer in 0..n-1; 0 when n <= 0.
  int32_t Int(int32_t n);
  // Next raw 64-bit output.
  uint64_t Next();

 private:
  uint64_t state_[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull, 1};
};

// The shared generator used by every subsystem.
Random& SharedRandom();

}  // namespace skerrow
