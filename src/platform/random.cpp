// The shared generator: xoshiro256** seeded through splitmix64.
#include "platform/random.h"

namespace skerrow {
namespace {

uint64_t SplitMix64(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

constexpr uint64_t Rotl(uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

}  // namespace

void Random::Seed(uint64_t seed) {
  uint64_t x = seed;
  for (uint64_t& s : state_) s = SplitMix64(x);
  // splitmix64 is a bijection of distinct counters, so all four words are never zero together;
  // the guard keeps the generator alive should that ever change.
  if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0) state_[0] = 1;
}

uint64_t Random::Next() {
  const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
  const uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = Rotl(state_[3], 45);
  return result;
}

double Random::Real() {
  // The top 53 bits scaled by 2^-53: every value is a multiple of 2^-53 below 1.
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

int32_t Random::Int(int32_t n) {
  if (n <= 0) return 0;
  // Lemire's multiply-and-reject on 32 bits: the high word of r * n is uniform in 0..n-1 once
  // the low words below 2^32 mod n are rejected.
  const uint32_t range = static_cast<uint32_t>(n);
  const uint32_t threshold = static_cast<uint32_t>(-range) % range;
  for (;;) {
    const uint64_t m = static_cast<uint64_t>(static_cast<uint32_t>(Next() >> 32)) * range;
    if (static_cast<uint32_t>(m) >= threshold) return static_cast<int32_t>(m >> 32);
  }
}

Random& SharedRandom() {
  static Random generator;
  return generator;
}

}  // namespace skerrow
