// GenerateWorld: the kind pack, unit parameters, the hint texts, the four episodes' levels and
// their terrain, sky, water and shadow textures, the loading screens and the world's single
// effect textures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "content.h"
#include "noise.h"
#include "world/world_state.h"
#include "world_hints.h"
#include "world_islands.h"
#include "world_kinds.h"
#include "world_levels.h"

namespace skerrow::content {

namespace {

constexpr double kShaftBrightness = 0.3;  // the light shafts' brightest texel

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

// The colours an episode's pictures are painted in.
struct Palette {
  double floor[4][4];                  // sea-floor gradient stops: position 0..1, r, g, b
  double sand[3], grass[3], coral[3];  // landscape colours: base, patches, reef spots
  double sky[3];                       // clear sky colour
  double cloud[3];                     // cloud colour
  double cover;                        // cloud threshold: lower is more cloud
  double water[3], crest[3];           // water base and wave-crest colour
  double detail[3];                    // detail texture tint
};

const Palette& PaletteOf(Look look) {
  static const Palette kPalettes[] = {
      // Tropics: deep blue, turquoise shallows, pale sand, green patches, coral.
      {{{0.0, 0.10, 0.20, 0.32},
        {0.45, 0.22, 0.42, 0.50},
        {0.8, 0.55, 0.78, 0.72},
        {1.0, 1.0, 0.97, 0.85}},
       {0.98, 0.95, 0.85},
       {0.45, 0.72, 0.42},
       {1.0, 0.62, 0.62},
       {0.38, 0.62, 0.95},
       {0.97, 0.97, 1.0},
       0.5,
       {0.10, 0.45, 0.55},
       {0.5, 0.4, 0.35},
       {1.0, 0.96, 0.85}},
      // Ice: black-blue depths, ice-blue shallows, snow, grey rock.
      {{{0.0, 0.05, 0.08, 0.16},
        {0.45, 0.18, 0.28, 0.40},
        {0.8, 0.62, 0.74, 0.82},
        {1.0, 0.95, 0.97, 1.0}},
       {0.92, 0.95, 1.0},
       {0.70, 0.78, 0.86},
       {0.45, 0.48, 0.52},
       {0.60, 0.68, 0.80},
       {0.92, 0.93, 0.96},
       0.38,
       {0.16, 0.26, 0.34},
       {0.6, 0.62, 0.64},
       {0.95, 0.97, 1.0}},
      // Harbour: murky green-brown water, grey silt, concrete and rust.
      {{{0.0, 0.08, 0.10, 0.08},
        {0.45, 0.20, 0.24, 0.18},
        {0.8, 0.42, 0.44, 0.38},
        {1.0, 0.70, 0.68, 0.62}},
       {0.62, 0.62, 0.60},
       {0.50, 0.40, 0.32},
       {0.30, 0.30, 0.32},
       {0.62, 0.62, 0.56},
       {0.80, 0.78, 0.70},
       0.42,
       {0.14, 0.22, 0.18},
       {0.35, 0.36, 0.3},
       {0.85, 0.84, 0.80}},
      // Secret: violet depths, dark basalt, red moss under a dusk sky.
      {{{0.0, 0.08, 0.04, 0.16},
        {0.45, 0.24, 0.14, 0.36},
        {0.8, 0.46, 0.36, 0.56},
        {1.0, 0.72, 0.62, 0.70}},
       {0.36, 0.32, 0.36},
       {0.55, 0.22, 0.26},
       {0.75, 0.55, 0.30},
       {0.42, 0.30, 0.58},
       {0.95, 0.72, 0.70},
       0.45,
       {0.12, 0.14, 0.30},
       {0.5, 0.35, 0.55},
       {0.80, 0.75, 0.85}},
  };
  return kPalettes[static_cast<int>(look) - 1];
}

// Sea-floor colour by height sample 0 (deep) .. 255 (just below the surface).
void FloorGradient(const Palette& pal, double t, double& r, double& g, double& b) {
  const auto& stops = pal.floor;
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

Image SkyClouds(int n, uint32_t seed, double cover, const Palette& pal) {
  return Paint(n, n, [&](int x, int y, double& r, double& g, double& b) {
    double c = Fbm(x * 8.0 / n, y * 8.0 / n, seed, 5, 8);
    double cloud = SmoothStep(cover, cover + 0.25, c);
    double sky = 0.65 + 0.2 * (double(y) / n);
    r = Lerp(pal.sky[0] * sky, pal.cloud[0], cloud),
    g = Lerp(pal.sky[1] * sky, pal.cloud[1], cloud),
    b = Lerp(pal.sky[2] * sky, pal.cloud[2], cloud);
  });
}

Image Glow(int n, double r0, double g0, double b0, double sharp) {
  return Paint(n, n, [&](int x, int y, double& r, double& g, double& b) {
    double d = std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0) / (n / 2.0);
    double v = std::pow(Clamp01(1 - d), sharp);
    r = r0 * v, g = g0 * v, b = b0 * v;
  });
}

// The menu's light shafts (added onto the screen, up to ten at once, each at up to about 0.8 of
// this brightness): a few soft rays slanting down from the top and fading out toward the
// bottom and the sides, dim enough that the pictures under them keep their colours.
Image LightShafts(int w, int h) {
  struct Ray {
    double at, width, strength;  // where the ray meets the top (0..1), its width, brightness
  };
  constexpr Ray kRays[] = {{0.18, 0.035, 0.7},
                           {0.34, 0.07, 1.0},
                           {0.47, 0.025, 0.6},
                           {0.58, 0.05, 0.85},
                           {0.75, 0.03, 0.5}};
  return Paint(w, h, [&](int x, int y, double& r, double& g, double& b) {
    const double u = (x + 0.5) / w, v = (y + 0.5) / h;  // v from the top
    double light = 0;
    for (const Ray& ray : kRays) {
      const double off = (u - 0.3 * v - ray.at) / (ray.width * (1 + v));  // widening downward
      light += ray.strength * std::exp(-off * off);
    }
    const double fade = SmoothStep(0.0, 0.12, v) * std::pow(1 - v, 1.6) * SmoothStep(0.0, 0.12, u) *
                        SmoothStep(1.0, 0.88, u);
    const double dust = 0.85 + 0.15 * ValueNoise(x / 6.0, y / 6.0, 161, 32);
    const double a = Clamp01(light) * fade * dust * kShaftBrightness;
    r = a, g = a * 0.95, b = a * 0.82;
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

void WriteLevel(Output& out, int32_t episode, int32_t n) {
  const std::string ep = EpisodeFolder(episode);
  const Palette& pal = PaletteOf(CampaignEpisode(episode).look);
  LevelData level = BuildLevel(episode, n);
  const SavedState& s = *level.state;
  std::string num = std::to_string(n);
  out.Write(ep + "Data/Land" + num + ".lan", LandBytes(s));
  out.Write(ep + "Data/normal" + num + ".unt", UnitBytes(s));
  out.Write(ep + "Data/normal" + num + ".bon", BonusBytes(s));
  out.WriteBmp(ep + "Data/size" + num + ".qvt", Image(kLevelSize, 4));

  // Colour bitmap (per height-map cell, covering everything a camera inside the level sees) and
  // the height gradient it is multiplied with.
  const uint32_t seed = 500 + 100 * (episode - 1) + n;
  out.WriteBmp(ep + "Data/landscape" + num + ".qvt",
               Paint(1024, 1024, [&](int x, int z, double& r, double& g, double& b) {
                 double grass = SmoothStep(0.58, 0.68, Fbm(x / 40.0, z / 40.0, seed, 3));
                 double coral = SmoothStep(0.7, 0.8, ValueNoise(x / 9.0, z / 9.0, seed + 1)) *
                                SmoothStep(150, 220, s.heightMap[x][z]);
                 double grain = 0.9 + 0.1 * ValueNoise(x * 0.9, z * 0.9, seed + 2);
                 r = (Lerp(Lerp(pal.sand[0], pal.grass[0], grass), pal.coral[0], coral)) * grain;
                 g = (Lerp(Lerp(pal.sand[1], pal.grass[1], grass), pal.coral[1], coral)) * grain;
                 b = (Lerp(Lerp(pal.sand[2], pal.grass[2], grass), pal.coral[2], coral)) * grain;
               }));
  out.WriteBmp(ep + "Data/ugrad" + num + ".qvt",
               Paint(16, 256, [&](int, int y, double& r, double& g, double& b) {
                 FloorGradient(pal, y / 255.0, r, g, b);
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
              pal, s.heightMap[std::min(2047, int(wx * 2))][std::min(2047, int(wz * 2))] / 255.0, r,
              g, b);
          r *= 0.6, g *= 0.8, b = b * 0.8 + 0.15;
        }
      }));
}

void WriteTerrainPieces(Output& out, const std::string& ep, Look look) {
  for (int32_t k = 1; k <= kIslandPieceCount; ++k) {
    std::string num = std::to_string(k);
    std::string obj = IslandObj(k);
    out.Write(ep + "refter/Terrain" + num + ".obj", Bytes(obj.data(), obj.size()));
    out.WriteBmp(ep + "Data/Terrain" + num + ".qvt", IslandHeightPicture(k));
    std::string dir = ep + "Textures/Main/Terrain" + num + "/";
    out.WriteBmp(dir + "terrain.qvt", IslandBaseTexture(k, static_cast<int32_t>(look)));
    out.WriteBmp(dir + "smooth.qvt", IslandAlphaPicture(k));
    out.WriteBmp(dir + "detail.qvt", IslandDetailTexture(k));
    Image shade = IslandShadePicture(k);
    out.WriteBmp(dir + "shadow.qvt", shade);
    out.WriteBmp(dir + "shadowx.qvt", shade);
  }
}

void WriteEpisodeTextures(Output& out, const std::string& ep, Look look) {
  const Palette& pal = PaletteOf(look);
  const uint32_t seed = 100u * static_cast<uint32_t>(static_cast<int>(look) - 1);
  out.WriteBmp(ep + "Textures/Skies/clouds.qvt", SkyClouds(512, 71 + seed, pal.cover, pal));
  out.WriteBmp(ep + "Textures/Skies/otrbmp.qvt", SkyClouds(256, 72 + seed, pal.cover + 0.08, pal));
  out.WriteBmp(ep + "Textures/Main/water.qvt",
               Paint(256, 256, [&](int x, int y, double& r, double& g, double& b) {
                 double w = Fbm(x / 32.0, y / 32.0, 81 + seed, 4, 8);
                 double crest = SmoothStep(0.62, 0.75, w);
                 r = pal.water[0] + 0.25 * w + pal.crest[0] * crest,
                 g = pal.water[1] + 0.25 * w + pal.crest[1] * crest,
                 b = pal.water[2] + 0.2 * w + pal.crest[2] * crest;
                 if (look == Look::kIce) {  // drifting floes
                   double floe = SmoothStep(0.66, 0.7, Fbm(x / 24.0, y / 24.0, 85, 3, 8));
                   r = Lerp(r, 0.9, floe), g = Lerp(g, 0.94, floe), b = Lerp(b, 0.98, floe);
                 }
               }));
  out.WriteBmp(ep + "Textures/Main/detail.qvt",
               Paint(256, 256, [&](int x, int y, double& r, double& g, double& b) {
                 // Sand ripples with pebbles, tiling.
                 double ripple = 0.5 + 0.5 * std::sin((x + 6 * Fbm(x / 32.0, y / 32.0, 91, 3, 8)) *
                                                      2 * 3.14159265 * 8 / 256);
                 double grain = ValueNoise(x / 2.0, y / 2.0, 92, 128);
                 double v = 0.75 + 0.12 * ripple + 0.13 * grain;
                 r = v * pal.detail[0], g = v * pal.detail[1], b = v * pal.detail[2];
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
  out.WriteBmp(fx + "lit.qvt", LightShafts(128, 256));
}

}  // namespace

void GenerateWorld(Output& out) {
  std::vector<uint8_t> pack = BuildKindPack();
  out.Write("Skerrow.qvp", pack);
  for (const KindInfo& k : WorldKinds()) {
    UnitRecord u = MakeUnitRecord(k);
    out.Write("parameters/unit" + std::to_string(k.kind) + ".par", Bytes(&u, sizeof u));
  }
  WriteHintTexts(out);
  WriteStartupTextures(out);
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e) {
    const EpisodeInfo& info = CampaignEpisode(e);
    const std::string ep = EpisodeFolder(e);
    WriteEpisodeTextures(out, ep, info.look);
    WriteTerrainPieces(out, ep, info.look);
    for (int32_t n = 1; n <= info.levels; ++n) WriteLevel(out, e, n);
  }
}

}  // namespace skerrow::content
