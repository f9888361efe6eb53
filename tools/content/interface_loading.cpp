// Loading screen pictures: a sea at dusk with a sailing ship, the loading bar's fill and frame,
// and one picture per episode in that episode's colours.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "interface.h"

namespace skerrow::content {
namespace {

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void Put(Image& img, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
  uint8_t* p = img.At(x, y);
  p[0] = static_cast<uint8_t>(std::clamp(c.r, 0.0, 255.0));
  p[1] = static_cast<uint8_t>(std::clamp(c.g, 0.0, 255.0));
  p[2] = static_cast<uint8_t>(std::clamp(c.b, 0.0, 255.0));
}

// Deterministic hash noise in 0..1.
double Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

struct Theme {
  Rgb skyTop, skyHorizon, seaNear, seaFar, sun, land;
  int seed;
  bool ice;    // floes on the sea
  bool smoke;  // chimneys on the shore
};

// Sky, sun, sea with glitter, an island on the horizon and a ship's silhouette.
Image Seascape(int w, int h, const Theme& t) {
  Image img(w, h);
  const int horizon = h * 11 / 20;
  const double sunX = w * 0.68, sunY = horizon - h * 0.12, sunR = h * 0.07;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Rgb c;
      if (y < horizon) {
        c = Mix(t.skyTop, t.skyHorizon, static_cast<double>(y) / horizon);
        const double d = std::hypot(x - sunX, y - sunY);
        c = Mix(c, t.sun, std::max(0.0, 1.0 - d / (sunR * 4)) * 0.6);
        if (d < sunR) c = t.sun;
      } else {
        const double depth = static_cast<double>(y - horizon) / (h - horizon);
        c = Mix(t.seaFar, t.seaNear, depth);
        // The sun's path of glitter on the water.
        const double spread = 10 + depth * w * 0.12;
        const double glitter = std::max(0.0, 1.0 - std::abs(x - sunX) / spread);
        const double wave = 0.5 + 0.5 * std::sin(x * 0.09 + y * y * 0.004 + Hash(x / 6, y, t.seed));
        c = Mix(c, t.sun, glitter * wave * 0.7);
        if (t.ice && Hash(x / 24, (y - horizon) / 6, t.seed) > 0.93)
          c = Mix(c, {235, 245, 255}, 0.8);
      }
      Put(img, x, y, c);
    }
  }
  // An island on the horizon, its outline from summed sines.
  const int left = w / 12, right = w * 5 / 12;
  for (int x = left; x < right; ++x) {
    const double u = static_cast<double>(x - left) / (right - left);
    const double hill = std::sin(u * 3.14159) * (h * 0.09) *
                        (0.8 + 0.2 * std::sin(u * 17 + t.seed) + 0.1 * std::sin(u * 41));
    for (int y = horizon - static_cast<int>(hill); y < horizon; ++y) {
      Put(img, x, y, Mix(t.land, t.skyHorizon, 0.25 * (horizon - y) / std::max(hill, 1.0)));
    }
    if (t.smoke && (x - left) % (w / 14) == 0) {
      for (int y = horizon - static_cast<int>(hill) - h / 10; y < horizon - hill; ++y) {
        for (int dx = 0; dx < 5; ++dx) Put(img, x + dx, y, t.land);
      }
    }
  }
  // The ship: hull, two masts, sails.
  const int sx = w * 3 / 5, sy = horizon + h / 10, len = w / 5;
  for (int i = 0; i < len; ++i) {
    const int depth = static_cast<int>(h * 0.025 * std::sin(3.14159 * i / len) + 3);
    for (int y = 0; y < depth; ++y) Put(img, sx + i, sy + y, {20, 15, 10});
  }
  for (int m = 1; m <= 2; ++m) {
    const int mx = sx + len * m / 3;
    for (int y = sy - h / 6; y < sy; ++y) Put(img, mx, y, {25, 20, 15});
    for (int y = sy - h / 6 + 6; y < sy - 8; ++y) {
      const int width = (y - (sy - h / 6)) / 3;
      for (int x = mx - width; x <= mx + width; ++x) Put(img, x, y, Mix(t.sun, {40, 35, 30}, 0.7));
    }
  }
  return img;
}

// The bar fill: a warm gradient across, brighter in the middle row.
Image BarFill(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y) {
    const double across = 1.0 - std::abs(y - (h - 1) / 2.0) / (h / 2.0);
    for (int x = 0; x < w; ++x) {
      const Rgb c = Mix({140, 60, 10}, {255, 210, 90}, static_cast<double>(x) / w);
      Put(img, x, y, Mix({0, 0, 0}, c, 0.35 + 0.65 * across));
    }
  }
  return img;
}

// The bar frame: drawn with additive blending, so black is clear and only the border shows.
Image BarFrame(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool edge = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
      Put(img, x, y, edge ? Rgb{170, 150, 110} : Rgb{12, 10, 8});
    }
  }
  return img;
}

}  // namespace

void GenerateLoadingScreens(Output& out) {
  const Theme dusk{
      {20, 25, 60}, {230, 140, 80}, {10, 30, 55}, {60, 70, 90}, {255, 220, 150}, {35, 40, 30}, 1,
      false,        false};
  const Theme episodes[4] = {
      // Tropics: turquoise water, green island, midday sun.
      {{40, 110, 200},
       {170, 220, 240},
       {0, 120, 130},
       {60, 170, 190},
       {255, 250, 220},
       {40, 110, 50},
       11,
       false,
       false},
      // Ice: pale sky, cold sea with floes.
      {{120, 150, 190},
       {225, 235, 245},
       {30, 60, 90},
       {120, 150, 170},
       {240, 245, 255},
       {200, 210, 225},
       12,
       true,
       false},
      // Industry: smoky orange sky, dark water, chimneys.
      {{60, 50, 45},
       {200, 120, 60},
       {25, 25, 30},
       {80, 70, 65},
       {255, 170, 90},
       {45, 40, 40},
       13,
       false,
       true},
      // Secret: violet night.
      {{10, 5, 30},
       {90, 40, 120},
       {10, 10, 35},
       {50, 30, 80},
       {220, 200, 255},
       {20, 15, 35},
       14,
       false,
       false},
  };
  out.WriteBmp("textures/int/loading.qvt", Seascape(512, 512, dusk));
  out.WriteBmp("textures/int/striper.qvt", BarFill(256, 16));
  out.WriteBmp("textures/int/stripel.qvt", BarFrame(256, 16));
  for (int e = 1; e <= 4; ++e) {
    out.WriteBmp("textures/int/loadingW" + std::to_string(e) + ".qvt",
                 Seascape(512, 512, episodes[e - 1]));
  }
}

}  // namespace skerrow::content
