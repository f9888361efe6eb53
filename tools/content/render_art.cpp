// The sea floor's overlay: a seamless caustic light pattern in 32 looping frames, mostly bright
// so that modulating the floor texture with it only adds the moving light network.
#include "render_art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "content.h"

namespace skerrow::content {

void GenerateRenderArt(Output& out) {
  constexpr int kSide = 128;
  constexpr int kFrames = 32;
  constexpr double kTau = 2 * std::numbers::pi;
  // Wave vectors in whole periods per tile keep the pattern seamless; whole periods per loop in
  // time keep the animation seamless.
  struct Wave {
    int kx, ky, speed;
  };
  constexpr Wave kWaves[] = {{3, 1, 1}, {-1, 3, 2}, {2, -3, 1}, {-3, -2, 2}};
  for (int f = 0; f < kFrames; ++f) {
    Image img(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        double v = 0;
        for (const Wave& wv : kWaves) {
          v += std::sin(kTau * (wv.kx * x + wv.ky * y) / kSide + kTau * wv.speed * f / kFrames);
        }
        // Bright ridges where the waves cancel.
        const double ridge = std::pow(std::max(0.0, 1.0 - std::fabs(v) / 1.2), 3.0);
        uint8_t* p = img.At(x, y);
        p[0] = static_cast<uint8_t>(std::lround(170 + 85 * ridge));
        p[1] = static_cast<uint8_t>(std::lround(180 + 75 * ridge));
        p[2] = static_cast<uint8_t>(std::lround(175 + 80 * ridge));
      }
    }
    char name[64];
    std::snprintf(name, sizeof(name), "textures/effects/caust/caust%04d.qvt", f);
    out.WriteBmp(name, img);
  }
}

}  // namespace skerrow::content
