// The sea floor's overlay: a seamless caustic light pattern in 32 looping frames, mostly bright
// so that modulating the floor texture with it only adds the moving light network. The alpha
// of the terrain pieces' base textures: the flat layer drawn over the sea around each island
// shows its shallows and fades out over deep water and toward the layer's square edge.
#include "render_art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "content.h"
#include "noise.h"
#include "world_islands.h"
#include "world_levels.h"

namespace skerrow::content {

namespace {

// Red channel = alpha of Textures/Main/Terrain<k>/terrain.qvt, pixel for pixel: pixel (px, py)
// shows dx = 5 - 10 (px + 0.5) / 256, dz = 5 - 10 (py + 0.5) / 256 around the piece's centre.
void WritePieceAlpha(Output& out) {
  constexpr int kSide = 256;
  const std::string dir = std::string("Worlds/") + kEpisode1Name + "/Textures/Main/Terrain";
  for (int32_t k = 1; k <= kIslandPieceCount; ++k) {
    Image img(kSide, kSide);
    for (int py = 0; py < kSide; ++py) {
      for (int px = 0; px < kSide; ++px) {
        const double dx = 5.0 - 10.0 * (px + 0.5) / kSide, dz = 5.0 - 10.0 * (py + 0.5) / kSide;
        // Land and the shallows opaque, gone 0.6 below the sea; nothing within 0.2 of the
        // square's edge, so the layer never shows a hard border.
        const double depth = SmoothStep(-0.6, 0.0, IslandHeight(k, dx, dz));
        const double edge = SmoothStep(0.2, 1.0, 5.0 - std::max(std::fabs(dx), std::fabs(dz)));
        const auto a = static_cast<uint8_t>(std::lround(255 * depth * edge));
        uint8_t* p = img.At(px, py);
        p[0] = p[1] = p[2] = a;
      }
    }
    out.WriteBmp(dir + std::to_string(k) + "/smooth.qvt", img);
  }
}

}  // namespace

void GenerateRenderArt(Output& out) {
  WritePieceAlpha(out);
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
