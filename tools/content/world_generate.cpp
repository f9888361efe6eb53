// GenerateWorld: the kind pack, unit parameters, episode 1 levels and their terrain, the sky,
// water and shadow textures, the loading screens and the world's single effect textures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "content.h"
#include "noise.h"
#include "world/world_state.h"
#include "world_islands.h"
#include "world_kinds.h"
#include "world_levels.h"

namespace skerrow::content {

namespace {

std::span<const uint8_t> Bytes(const void* p, size_t n) {
  return {static_cast<const uint8_t*>(p), n};
}

void Put(Image& img, int x, int y, double r, double g, double b) {
  uint8_t* p = img.At(x, y);
  p[0] = static_cast<uint8_t>(std::lround(Clamp01(r) * 255));
  p[1] = static_cast<uint8_t>(std::lround(Clamp01(g) * 255));
  p[2] = static_cast<uint8_t>(std::lround(Clamp01(b) * 255));
}

template <typename F>
Image Paint(int w, int h, F f) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double r, g, b;
      f(x, y, r, g, b);
      Put(img, x, y, r, g, b);
    }
  return img;
}

// Sea-floor colour by height sample 0 (deep) .. 255 (just below the surface).
void FloorGradient(double t, double& r, double& g, double& b) {
  // Deep blue, green-blue, turquoise shallows, pale sand.
  const double stops[][4] = {{0.0, 0.10, 0.20, 0.32},
                             {0.45, 0.22, 0.42, 0.50},
                             {0.8, 0.55, 0.78, 0.72},
                             {1.0, 1.0, 0.97, 0.85}};
  for (int i = 0; i < 3; ++i) {
    if (t <= stops[i + 1][0]) {
      double u = (t - stops[i][0]) / (stops[i + 1][0] - stops[i][0]);
      r = Lerp(stops[i][1], stops[i + 1][1], u);
      g = Lerp(stops[i][2], stops[i + 1][2], u);
      b = Lerp(stops[i][3], stops[i + 1][3], u);
      return;
    }
  }
  r = stops[3][1], g = stops[3][2], b = stops[3][3];
}

Image SkyClouds(int n, uint32_t seed, double cover) {
  return Paint(n, n, [&](int x, int y, double& r, double& g, double& b) {
    double c = Fbm(x * 8.0 / n, y * 8.0 / n, seed, 5, 8);
    double cloud = SmoothStep(cover, cover + 0.25, c);
    double sky = 0.65 + 0.2 * (double(y) / n);
    r = Lerp(0.38 * sky, 0.97, cloud), g = Lerp(0.62 * sky, 0.97, cloud),
    b = Lerp(0.95 * sky, 1.0, cloud);
  });
}

Image Glow(int n, double r0, double g0, double b0, double sharp) {
  return Paint(n, n, [&](int x, int y, double& r, double& g, double& b) {
    double d = std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0) / (n / 2.0);
    double v = std::pow(Clamp01(1 - d), sharp);
    r = r0 * v, g = g0 * v, b = b0 * v;
  });
}

// A tropical horizon: sky gradient, sun, sea, island silhouettes with palms.
Image TropicScene(int w, int h, uint32_t seed) {
  Rng rng(seed);
  struct Isl {
    double cx, w, hgt;
  };
  std::vector<Isl> isl;
  for (int i = 0; i < 4; ++i)
    isl.push_back({rng.Range(0.05, 0.95), rng.Range(0.08, 0.22), rng.Range(0.03, 0.09)});
  double horizon = 0.62;
  return Paint(w, h, [&](int x, int y, double& r, double& g, double& b) {
    double u = (x + 0.5) / w, v = (y + 0.5) / h;
    if (v < horizon) {
      double t = v / horizon;
      r = Lerp(0.30, 1.0, t * t), g = Lerp(0.45, 0.78, t), b = Lerp(0.85, 0.55, t);
      double sun = std::hypot((u - 0.7) * w / h, v - 0.42);
      double glow = std::exp(-sun * 9.0);
      r += 0.6 * glow, g += 0.45 * glow, b += 0.15 * glow;
      if (sun < 0.06) r = 1, g = 0.93, b = 0.6;
      double cl = SmoothStep(0.55, 0.75, Fbm(u * 6, v * 14, seed + 1, 4)) * (1 - t * 0.5);
      r = Lerp(r, 1.0, cl * 0.8), g = Lerp(g, 0.9, cl * 0.8), b = Lerp(b, 0.85, cl * 0.8);
      for (const Isl& s : isl) {
        double dx = (u - s.cx) / s.w;
        double top = horizon - s.hgt * std::max(0.0, 1 - dx * dx) *
                                   (0.8 + 0.4 * ValueNoise(u * 40, 0, seed + 2));
        if (std::abs(dx) < 1 && v > top) r = 0.12, g = 0.22, b = 0.16;
        // Palm trunks and crowns on the islands.
        for (int p = -1; p <= 1; ++p) {
          double px = s.cx + p * s.w * 0.35, bend = (v - (horizon - s.hgt)) * 0.02;
          double top2 = horizon - s.hgt - 0.12;
          if (v > top2 && v < horizon - s.hgt * 0.5 && std::abs(u - px + bend * (p + 0.5)) < 0.0035)
            r = 0.08, g = 0.1, b = 0.07;
          double cd = std::hypot((u - px) * w / h, v - top2);
          double ang = std::atan2(v - top2, (u - px) * w / h);
          if (cd < 0.05 * (0.55 + 0.45 * std::abs(std::sin(ang * 3.5))) && v < top2 + 0.03)
            r = 0.06, g = 0.14, b = 0.06;
        }
      }
    } else {
      double t = (v - horizon) / (1 - horizon);
      double wave = Fbm(u * 30, t * 12 + u * 3, seed + 3, 3);
      r = Lerp(0.35, 0.02, t) + 0.1 * wave, g = Lerp(0.6, 0.35, t) + 0.1 * wave,
      b = Lerp(0.75, 0.5, t) + 0.08 * wave;
      double glitter = std::exp(-std::abs(u - 0.7) * 18) * SmoothStep(0.6, 0.8, wave) * (1 - t);
      r += glitter, g += glitter * 0.85, b += glitter * 0.5;
    }
  });
}

void WriteLevel(Output& out, const std::string& ep, int32_t n) {
  LevelData level = BuildLevel(n);
  const SavedState& s = *level.state;
  std::string num = std::to_string(n);
  out.Write(ep + "Data/Land" + num + ".lan", LandBytes(s));
  out.Write(ep + "Data/normal" + num + ".unt", UnitBytes(s));
  out.Write(ep + "Data/normal" + num + ".bon", BonusBytes(s));
  out.WriteBmp(ep + "Data/size" + num + ".qvt", Image(kLevelSize, 4));

  // Colour bitmap (per height-map cell, covering everything a camera inside the level sees) and
  // the height gradient it is multiplied with.
  const uint32_t seed = 500 + n;
  out.WriteBmp(ep + "Data/landscape" + num + ".qvt",
               Paint(1024, 1024, [&](int x, int z, double& r, double& g, double& b) {
                 double grass = SmoothStep(0.58, 0.68, Fbm(x / 40.0, z / 40.0, seed, 3));
                 double coral = SmoothStep(0.7, 0.8, ValueNoise(x / 9.0, z / 9.0, seed + 1)) *
                                SmoothStep(150, 220, s.heightMap[x][z]);
                 double grain = 0.9 + 0.1 * ValueNoise(x * 0.9, z * 0.9, seed + 2);
                 r = (Lerp(Lerp(0.98, 0.45, grass), 1.0, coral)) * grain;
                 g = (Lerp(Lerp(0.95, 0.72, grass), 0.62, coral)) * grain;
                 b = (Lerp(Lerp(0.85, 0.42, grass), 0.62, coral)) * grain;
               }));
  out.WriteBmp(ep + "Data/ugrad" + num + ".qvt",
               Paint(16, 256, [](int, int y, double& r, double& g, double& b) {
                 FloorGradient(y / 255.0, r, g, b);
               }));
  // The radar map: the level seen from above, +x to the right, +z downward.
  out.WriteBmp(
      ep + "Data/minimap" + num + ".qvt",
      Paint(256, 256, [&](int x, int y, double& r, double& g, double& b) {
        double wx = (x + 0.5) * kLevelSize / 256.0, wz = (y + 0.5) * kLevelSize / 256.0;
        double h = LevelLandHeight(s, wx, wz);
        if (h > 0.25) {
          r = 0.25 + 0.1 * h, g = 0.55 + 0.05 * h, b = 0.2 + 0.05 * h;
        } else if (h > 0) {
          r = 0.95, g = 0.88, b = 0.6;
        } else {
          FloorGradient(
              s.heightMap[std::min(2047, int(wx * 2))][std::min(2047, int(wz * 2))] / 255.0, r, g,
              b);
          r *= 0.6, g *= 0.8, b = b * 0.8 + 0.15;
        }
      }));
}

void WriteTerrainPieces(Output& out, const std::string& ep) {
  for (int32_t k = 1; k <= kIslandPieceCount; ++k) {
    std::string num = std::to_string(k);
    std::string obj = IslandObj(k);
    out.Write(ep + "refter/Terrain" + num + ".obj", Bytes(obj.data(), obj.size()));
    out.WriteBmp(ep + "Data/Terrain" + num + ".qvt", IslandHeightPicture(k));
    std::string dir = ep + "Textures/Main/Terrain" + num + "/";
    out.WriteBmp(dir + "terrain.qvt", IslandBaseTexture(k));
    out.WriteBmp(dir + "smooth.qvt", IslandAlphaPicture(k));
    out.WriteBmp(dir + "detail.qvt", IslandDetailTexture(k));
    Image shade = IslandShadePicture(k);
    out.WriteBmp(dir + "shadow.qvt", shade);
    out.WriteBmp(dir + "shadowx.qvt", shade);
  }
}

void WriteEpisodeTextures(Output& out, const std::string& ep) {
  out.WriteBmp(ep + "Textures/Skies/clouds.qvt", SkyClouds(512, 71, 0.5));
  out.WriteBmp(ep + "Textures/Skies/otrbmp.qvt", SkyClouds(256, 72, 0.58));
  out.WriteBmp(ep + "Textures/Main/water.qvt",
               Paint(256, 256, [](int x, int y, double& r, double& g, double& b) {
                 double w = Fbm(x / 32.0, y / 32.0, 81, 4, 8);
                 double crest = SmoothStep(0.62, 0.75, w);
                 r = 0.10 + 0.25 * w + 0.5 * crest, g = 0.45 + 0.25 * w + 0.4 * crest,
                 b = 0.55 + 0.2 * w + 0.35 * crest;
               }));
  out.WriteBmp(ep + "Textures/Main/detail.qvt",
               Paint(256, 256, [](int x, int y, double& r, double& g, double& b) {
                 // Sand ripples with pebbles, tiling.
                 double ripple = 0.5 + 0.5 * std::sin((x + 6 * Fbm(x / 32.0, y / 32.0, 91, 3, 8)) *
                                                      2 * 3.14159265 * 8 / 256);
                 double grain = ValueNoise(x / 2.0, y / 2.0, 92, 128);
                 double v = 0.75 + 0.12 * ripple + 0.13 * grain;
                 r = v, g = v * 0.96, b = v * 0.85;
               }));
  auto blob = [](int n) {
    return Paint(n, n, [n](int x, int y, double& r, double& g, double& b) {
      double d = std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0) / (n / 2.0);
      r = g = b = 0.45 + 0.55 * SmoothStep(0.2, 1.0, d);
    });
  };
  out.WriteBmp(ep + "Textures/Main/shadows.qvt", blob(1024));
  out.WriteBmp(ep + "Textures/Main/shadowx.qvt", blob(512));
}

void WriteStartupTextures(Output& out) {
  out.WriteBmp("textures/int/loading.qvt", TropicScene(1024, 512, 7));
  out.WriteBmp("textures/int/loadingW1.qvt", TropicScene(1024, 512, 11));
  // The bar is drawn additively: black adds nothing.
  out.WriteBmp("textures/int/striper.qvt",
               Paint(256, 16, [](int x, int y, double& r, double& g, double& b) {
                 double t = 1 - std::abs(y - 7.5) / 8.0;
                 r = 0.9 * t + 0.1, g = (0.55 + 0.2 * (x / 255.0)) * t, b = 0.1 * t;
               }));
  out.WriteBmp("textures/int/stripel.qvt",
               Paint(256, 16, [](int x, int y, double& r, double& g, double& b) {
                 bool edge = x < 2 || x > 253 || y < 2 || y > 13;
                 r = edge ? 0.85 : 0.0, g = edge ? 0.75 : 0.0, b = edge ? 0.45 : 0.0;
               }));
  // The menu landscape: a height-map picture (green = floor height) under the menu camera.
  out.WriteBmp("ata/menu.qvt", Paint(512, 512, [](int x, int y, double& r, double& g, double& b) {
                 double h = 70 + 170 * Fbm(x / 90.0, y / 90.0, 121, 4);
                 r = g = b = std::clamp(h, 0.0, 255.0) / 255.0;
               }));
  const std::string fx = "textures/effects/";
  out.WriteBmp(fx + "gland.qvt", Paint(256, 256, [](int x, int y, double& r, double& g, double& b) {
                 double v = 0.55 + 0.3 * Fbm(x / 32.0, y / 32.0, 131, 4, 8) +
                            0.15 * ValueNoise(x / 2.0, y / 2.0, 132, 128);
                 r = v * 0.95, g = v * 0.9, b = v * 0.7;
               }));
  out.WriteBmp(fx + "wat.qvt", Paint(128, 128, [](int x, int y, double& r, double& g, double& b) {
                 double d = std::hypot(x + 0.5 - 64, y + 0.5 - 64) / 64.0;
                 double ring = std::exp(-std::pow((d - 0.8) / 0.08, 2));
                 r = g = b = ring;
               }));
  out.WriteBmp(fx + "tok.qvt", Paint(256, 256, [](int x, int y, double& r, double& g, double& b) {
                 double v = Fbm(x / 32.0, y / 32.0, 141, 4, 8);
                 r = v * 0.6, g = v * 0.8, b = v;
               }));
  out.WriteBmp(fx + "non.qvt",
               Paint(64, 64, [](int, int, double& r, double& g, double& b) { r = g = b = 0; }));
  out.WriteBmp(fx + "snow.qvt",
               Paint(64, 64, [](int, int, double& r, double& g, double& b) { r = g = b = 1; }));
  for (int k = 1; k <= 3; ++k) {
    Image flake = Paint(64, 64, [k](int x, int y, double& r, double& g, double& b) {
      double dx = x + 0.5 - 32, dy = y + 0.5 - 32, d = std::hypot(dx, dy) / 32.0;
      double arms = std::pow(std::abs(std::cos(3 * std::atan2(dy, dx))), 8.0 * k);
      r = g = b =
          Clamp01((1 - d) * (0.4 + 0.6 * arms) * 1.6) * (k == 3 ? SmoothStep(1.0, 0.2, d) : 1.0);
    });
    out.WriteBmp(fx + "snowa" + std::to_string(k) + ".qvt", flake);
  }
  out.WriteBmp(fx + "light.qvt", Glow(128, 1.0, 0.95, 0.8, 2.0));
  out.WriteBmp(fx + "bliks.qvt", Paint(128, 128, [](int x, int y, double& r, double& g, double& b) {
                 double dx = std::abs(x + 0.5 - 64) / 64, dy = std::abs(y + 0.5 - 64) / 64;
                 double v = std::pow(Clamp01(1 - std::hypot(dx, dy)), 3) +
                            0.6 * std::exp(-dx * 40) * (1 - dy) +
                            0.6 * std::exp(-dy * 40) * (1 - dx);
                 r = g = b = Clamp01(v);
               }));
  out.WriteBmp(fx + "bul.qvt", Glow(64, 1.0, 0.8, 0.4, 1.6));
  out.WriteBmp(fx + "lit.qvt", Glow(64, 0.7, 0.85, 1.0, 2.5));
}

}  // namespace

void GenerateWorld(Output& out) {
  std::vector<uint8_t> pack = BuildKindPack();
  out.Write("Skerrow.qvp", pack);
  for (const KindInfo& k : WorldKinds()) {
    UnitRecord u = MakeUnitRecord(k);
    out.Write("parameters/unit" + std::to_string(k.kind) + ".par", Bytes(&u, sizeof u));
  }
  WriteStartupTextures(out);
  const std::string ep = std::string("Worlds/") + kEpisode1Name + "/";
  WriteEpisodeTextures(out, ep);
  WriteTerrainPieces(out, ep);
  for (int32_t n = 1; n <= kEpisode1Levels; ++n) WriteLevel(out, ep, n);
}

}  // namespace skerrow::content
