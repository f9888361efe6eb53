// Deterministic randomness for the content generators: a seeded PRNG and value / fBm noise.
// Nothing here reads a clock; the same seed gives the same numbers on every run and platform.
#pragma once

#include <cmath>
#include <cstdint>

#include "platform/numeric.h"  // Lerp

namespace skerrow::content {

// SplitMix64: small, fast, and identical everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Real() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Real(); }
  // Uniform integer in 0..n-1; 0 when n <= 0.
  int32_t Int(int32_t n) {
    return n <= 0 ? 0 : static_cast<int32_t>(Next() % static_cast<uint64_t>(n));
  }

 private:
  uint64_t state_;
};

inline double Clamp01(double v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline double SmoothStep(double e0, double e1, double x) {
  double t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// Hash of an integer lattice point to [0, 1).
inline double LatticeValue(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
               seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return static_cast<double>(h & 0xFFFFFFu) / 16777216.0;
}

// Smooth value noise in [0, 1). `period` > 0 wraps the lattice so the noise tiles with that
// period (in lattice cells); 0 means no wrapping.
inline double ValueNoise(double x, double y, uint32_t seed, int32_t period = 0) {
  double fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto wrap = [period](int32_t v) { return period > 0 ? ((v % period) + period) % period : v; };
  int32_t x0 = wrap(ix), x1 = wrap(ix + 1), y0 = wrap(iy), y1 = wrap(iy + 1);
  double a = LatticeValue(x0, y0, seed), b = LatticeValue(x1, y0, seed);
  double c = LatticeValue(x0, y1, seed), d = LatticeValue(x1, y1, seed);
  return Lerp(Lerp(a, b, tx), Lerp(c, d, tx), ty);
}

// Fractal sum of `octaves` value-noise layers, each twice the frequency and half the weight;
// normalised to [0, 1). With period > 0 every octave tiles (the period doubles per octave).
inline double Fbm(double x, double y, uint32_t seed, int octaves, int32_t period = 0) {
  double sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * ValueNoise(x, y, seed + static_cast<uint32_t>(o) * 1013u, period);
    norm += amp;
    amp *= 0.5;
    x *= 2;
    y *= 2;
    if (period > 0) period *= 2;
  }
  return sum / norm;
}

}  // namespace skerrow::content
