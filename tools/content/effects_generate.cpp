// GenerateEffects: the halo, wake textures, bonus animations and explosion frame sets. All are
// drawn additively (black is transparent), so every picture fades to black at its border.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "content.h"
#include "noise.h"

namespace skerrow::content {

namespace {

constexpr double kPi = 3.14159265358979;

struct Colour {
  double r = 0, g = 0, b = 0;
};

// Fills a square picture from a function of (x, y) in [-1, 1] (y up) to an RGB colour 0..1.
Image Paint(int size, const std::function<Colour(double, double)>& f) {
  Image img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double px = (x + 0.5) / size * 2 - 1, py = 1 - (y + 0.5) / size * 2;
      Colour c = f(px, py);
      uint8_t* p = img.At(x, y);
      p[0] = static_cast<uint8_t>(Clamp01(c.r) * 255 + 0.5);
      p[1] = static_cast<uint8_t>(Clamp01(c.g) * 255 + 0.5);
      p[2] = static_cast<uint8_t>(Clamp01(c.b) * 255 + 0.5);
    }
  return img;
}

// Black body-ish ramp: 0 black, 0.3 deep red, 0.6 orange, 0.85 yellow, 1 white.
Colour Heat(double t) {
  t = Clamp01(t);
  return {Clamp01(t * 2.2), Clamp01((t - 0.3) * 1.9), Clamp01((t - 0.7) * 3.0)};
}

Colour Scale(Colour c, double s) {
  return {c.r * s, c.g * s, c.b * s};
}
Colour Add(Colour a, Colour b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// Fades everything to black in the outer ring so the sprite's square edge never shows.
double EdgeFade(double x, double y) {
  return 1 - SmoothStep(0.8, 0.98, std::sqrt(x * x + y * y));
}

std::string Num4(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04d", n);
  return buf;
}

// A fireball at time t (0..1): turbulent hot core growing and cooling into dim smoke.
Colour Fireball(double x, double y, double t, uint32_t seed, double grow) {
  double r = 0.2 + grow * std::sqrt(t);
  double d = std::sqrt(x * x + y * y) / r;
  double n = Fbm(x * 3 + 10 + t * 1.5, y * 3 + 10 - t * 2.0, seed, 4);
  double density = Clamp01((1.15 - d) * 1.6 + (n - 0.5) * 1.6);
  double heat = density * (1.05 - t * 0.95) * (0.7 + 0.6 * n);
  Colour fire = Heat(heat);
  double smoke = density * t * 0.35 * (0.6 + 0.8 * n);
  Colour c = Add(fire, {smoke, smoke * 0.95, smoke * 0.9});
  double fadeOut = t > 0.75 ? 1 - (t - 0.75) / 0.25 * 0.9 : 1;
  return Scale(c, fadeOut * EdgeFade(x, y));
}

Colour Splash(double x, double y, double t, uint32_t seed) {
  // Seen from above: a ring of spray spreading out, foam inside.
  double d = std::sqrt(x * x + y * y);
  double a = std::atan2(y, x);
  double ring = 0.2 + 0.65 * std::sqrt(t);
  double n = Fbm(std::cos(a) * 3 + d * 6, std::sin(a) * 3 + d * 6, seed, 3);
  double band = std::exp(-std::pow((d - ring) / (0.08 + 0.1 * t), 2)) * (0.6 + 0.7 * n);
  double foam = d < ring ? (0.3 + 0.4 * n) * (1 - t) * (1 - d / ring * 0.5) : 0;
  double v = (band + foam) * (1 - t * 0.8);
  return Scale({v * 0.85, v * 0.93, v}, EdgeFade(x, y));
}

Colour WaterColumn(double x, double y, double t, uint32_t seed) {
  // Side view: a spray column rising from the bottom and collapsing.
  double h = std::sin(std::min(t * 2.5, 1.0) * kPi / 2) * 1.7 * (1 - 0.35 * t);
  double width = 0.22 + 0.35 * t * (1 + y);
  double yy = y + 0.9;
  double n = Fbm(x * 5, yy * 3 - t * 3, seed, 4);
  double inside = Clamp01(1 - std::fabs(x) / width) * Clamp01((h - yy) * 3) * Clamp01(yy * 5 + 1);
  double v = inside * (0.7 + 0.9 * n) * (1 - t * 0.6);
  return Scale({v * 0.85, v * 0.92, v}, EdgeFade(x, y));
}

Colour Flames(double x, double y, double t, uint32_t seed) {
  double n = Fbm(x * 3, y * 2.5 - t * 6, seed, 4);
  double shape = Clamp01(1 - std::fabs(x) * (1.6 + (y + 1) * 0.9)) * Clamp01((0.8 - y) * 1.2);
  double heat = shape * (0.5 + 1.0 * n) * (1.1 - 0.45 * (y + 1));
  double life = t < 0.1 ? t / 0.1 : (t > 0.8 ? (1 - t) / 0.2 : 1);
  return Scale(Heat(heat * 1.1), life * EdgeFade(x, y));
}

Colour Smoke(double x, double y, double t, uint32_t seed) {
  double r = 0.3 + 0.55 * std::sqrt(t);
  double d = std::sqrt(x * x + y * y) / r;
  double n = Fbm(x * 3 + t, y * 3 - t, seed, 4);
  double v = Clamp01((1.1 - d) * 1.5 + (n - 0.5)) * (0.55 + 0.5 * n) * (1 - t * 0.85);
  Colour flash = t < 0.12 ? Heat((1 - d) * (1 - t / 0.12)) : Colour{};
  return Scale(Add({v * 0.8, v * 0.78, v * 0.74}, flash), EdgeFade(x, y));
}

Colour Flash(double x, double y, double t, uint32_t /*seed: the flash has no noise*/) {
  double d = std::sqrt(x * x + y * y);
  double a = std::atan2(y, x);
  double rays = std::pow(std::fabs(std::cos(a * 4 + t * 3)), 8) * std::exp(-d * 3);
  double core = std::exp(-d * d * (8 + 20 * t));
  double v = (core + rays * 0.6) * (1 - t);
  return Scale({v * 0.8, v * 0.9, v}, EdgeFade(x, y));
}

Colour Shockwave(double x, double y, double t, uint32_t seed) {
  double d = std::sqrt(x * x + y * y);
  double a = std::atan2(y, x);
  double ring = 0.1 + 0.8 * t;
  double n = Fbm(std::cos(a) * 4 + 7, std::sin(a) * 4 + 7 + t, seed, 3);
  double band = std::exp(-std::pow((d - ring) / (0.06 + 0.05 * t), 2)) * (0.6 + 0.6 * n);
  Colour c =
      Add(Scale(Heat(band * (1 - t * 0.5)), 1 - t * 0.6), Scale(Fireball(x, y, t, seed, 0.4), 0.6));
  return Scale(c, EdgeFade(x, y));
}

Colour Halo(double x, double y) {
  double d = std::sqrt(x * x + y * y);
  double v = std::exp(-d * d * 4.5) * EdgeFade(x, y);
  return {v, v * 0.9, v * 0.75};
}

Colour Wake(double x, double y, uint32_t seed, double spread) {
  // Foam streaks of a ship's wake, seen from above, fading to the quad's edge.
  double n = Fbm(x * 2.5 + 3, y * 9 + 3, seed, 4);
  double streak = std::pow(std::fabs(std::sin((x * spread + n * 1.5) * kPi * 2)), 3);
  double body = Clamp01(1 - std::sqrt(x * x + y * y));
  double v = body * (0.35 + 0.5 * n + 0.35 * streak) * EdgeFade(x, y);
  return {v * 0.9, v * 0.95, v};
}

// ---- bonus pictures ----

double Disc(double x, double y, double r) {
  return Clamp01((r - std::sqrt(x * x + y * y)) * 40);
}
double Rect(double x, double y, double hw, double hh) {
  return Clamp01((hw - std::fabs(x)) * 40) * Clamp01((hh - std::fabs(y)) * 40);
}

Colour Glow(double x, double y, Colour c, double strength) {
  double d = std::sqrt(x * x + y * y);
  return Scale(c, std::exp(-d * d * 3) * strength * EdgeFade(x, y));
}

// A bonus picture at animation phase p (0..1): the picked-up thing, spinning or pulsing.
Colour Bonus(int kind, double x, double y, double p, uint32_t seed) {
  double spin = std::cos(p * 2 * kPi);
  double sx = std::max(std::fabs(spin), 0.08);  // x squash of a turning object
  double u = x / sx;
  double shade = 0.75 + 0.25 * std::fabs(spin);
  double n = Fbm(x * 6 + 3, y * 6 + 3, seed, 3);
  switch (kind) {
    case 1: {  // medkit: white box with a red cross
      double box = Rect(u, y, 0.5, 0.42);
      double cross = std::max(Rect(u, y, 0.12, 0.32), Rect(u, y, 0.32, 0.12));
      Colour c = Scale({0.95, 0.95, 0.92}, box * (0.85 + 0.15 * n));
      if (cross > 0) c = {0.9 * cross, 0.1, 0.1};
      return Add(Scale(c, shade), Glow(x, y, {0.4, 0.1, 0.1}, 0.4));
    }
    case 2: {  // speed-up: two chevrons running forward, pulsing
      double v = 0;
      for (int k = 0; k < 2; ++k) {
        double yy = y - 0.35 + k * 0.45 - 0.15 * std::sin(p * 2 * kPi);
        double chevron = Clamp01((0.12 - std::fabs(yy + std::fabs(x) * 0.9 - 0.2)) * 30) *
                         Clamp01((0.55 - std::fabs(x)) * 30);
        v = std::max(v, chevron);
      }
      return Add(Scale({0.3, 1.0, 0.35}, v * (0.8 + 0.2 * n)), Glow(x, y, {0.1, 0.4, 0.1}, 0.5));
    }
    case 3:
    case 4:
    case 5: {  // coin, stack of coins, pile of coins: gold, turning
      double v = 0;
      int coins = kind == 3 ? 1 : (kind == 4 ? 3 : 6);
      for (int k = 0; k < coins; ++k) {
        double cx = kind == 5 ? (k % 3 - 1) * 0.3 : 0;
        double cy = kind == 3 ? 0 : (kind == 4 ? -0.3 + k * 0.28 : (k < 3 ? -0.25 : 0.15));
        double r = kind == 3 ? 0.5 : 0.32;
        double d = std::sqrt(std::pow((x - cx) / sx, 2) + std::pow(y - cy, 2));
        if (d < r) v = std::max(v, d > r * 0.78 ? 0.75 : 1.0 - 0.3 * (d / r));
      }
      double glint = std::pow(std::max(0.0, std::sin(p * 2 * kPi * 2 + x * 3)), 20);
      Colour gold = Scale({1.0, 0.78, 0.2}, v * shade * (0.85 + 0.2 * n) + glint * v);
      return Add(gold, Glow(x, y, {0.45, 0.3, 0.05}, 0.45));
    }
    case 6: {  // save point: a turning life ring
      double d = std::sqrt(u * u + y * y);
      double ring = Clamp01((0.1 - std::fabs(d - 0.4)) * 30);
      double a = std::atan2(y, u);
      bool red = std::fmod(a + 2 * kPi, kPi / 2) < kPi / 4;
      Colour c = red ? Colour{0.9, 0.15, 0.1} : Colour{0.95, 0.95, 0.95};
      return Add(Scale(c, ring * shade), Glow(x, y, {0.2, 0.1, 0.5}, 0.6));
    }
    case 11: {  // hint: a glowing question mark on a scroll
      double scroll = Rect(x, y, 0.42, 0.5) * (0.55 + 0.2 * n);
      double d = std::sqrt(x * x + (y - 0.12) * (y - 0.12));
      double hook = Clamp01((0.06 - std::fabs(d - 0.2)) * 40) * (y - 0.12 > -0.05 || x > 0 ? 1 : 0);
      double stem = Rect(x, y + 0.14, 0.06, 0.08);
      double dot = Disc(x, y + 0.36, 0.07);
      double mark = std::max({hook, stem, dot});
      double pulse = 0.75 + 0.25 * std::sin(p * 2 * kPi);
      Colour c = mark > 0 ? Scale({0.35, 0.2, 0.05}, 1) : Scale({0.85, 0.75, 0.5}, scroll);
      return Add(Scale(c, pulse), Glow(x, y, {0.4, 0.3, 0.1}, 0.4 * pulse));
    }
    case 12: {  // protection: a shield
      double top = 0.45, w = 0.42 - std::max(0.0, -y) * 0.45;
      double shield =
          Clamp01((w - std::fabs(u)) * 30) * Clamp01((top - y) * 30) * Clamp01((y + 0.55) * 30);
      double rim = shield * (std::fabs(u) > w - 0.07 ? 1 : 0);
      Colour c = rim > 0 ? Colour{0.9, 0.9, 0.95} : Colour{0.55, 0.6, 0.75};
      return Add(Scale(c, shield * shade * (0.8 + 0.3 * n)), Glow(x, y, {0.3, 0.3, 0.4}, 0.5));
    }
    case 13: {  // key: ring bow, shaft and bit, turning
      double d = std::sqrt(u * u + (y - 0.3) * (y - 0.3));
      double bow = Clamp01((0.08 - std::fabs(d - 0.18)) * 40);
      double shaft = Rect(u, y + 0.12, 0.05, 0.3);
      double bit = Rect(u - 0.1, y + 0.36, 0.08, 0.05) + Rect(u - 0.08, y + 0.22, 0.06, 0.04);
      double v = std::min(1.0, std::max({bow, shaft, bit}));
      return Add(Scale({0.95, 0.85, 0.5}, v * shade * (0.8 + 0.3 * n)),
                 Glow(x, y, {0.4, 0.35, 0.2}, 0.5));
    }
    default:
      return {};
  }
}

// Still markers of the trigger kinds (editor only): sky zones 7..10, snow 16/17, dark 18,
// light 19.
Colour Marker(int kind, double x, double y, uint32_t seed) {
  const Colour zone[4] = {{225 / 255.0, 185 / 255.0, 217 / 255.0},
                          {1.0, 1.0, 228 / 255.0},
                          {221 / 255.0, 120 / 255.0, 87 / 255.0},
                          {98 / 255.0, 85 / 255.0, 113 / 255.0}};
  double d = std::sqrt(x * x + y * y);
  double ring = Clamp01((0.06 - std::fabs(d - 0.7)) * 30);
  if (kind >= 7 && kind <= 10) {
    double n = Fbm(x * 3 + 1, y * 3 + 1, seed, 4);
    Colour c = zone[kind - 7];
    double cloud = Clamp01((0.6 - d) * 3) * (0.6 + 0.5 * n);
    return Add(Scale(c, cloud), Scale({0.9, 0.9, 0.9}, ring));
  }
  if (kind == 16 || kind == 17) {
    double a = std::atan2(y, x);
    double arm = Clamp01(
        (0.05 - d * std::fabs(std::sin(std::fmod(a + 2 * kPi, kPi / 3) - kPi / 6 + kPi / 6))) * 30);
    arm *= Clamp01((0.6 - d) * 30);
    Colour c = Scale({0.85, 0.92, 1.0}, std::max(arm, Disc(x, y, 0.1)));
    if (kind == 17 && std::fabs(x + y) < 0.07 && d < 0.7) c = {0.9, 0.2, 0.2};
    return Add(c, Scale({0.9, 0.9, 0.9}, ring));
  }
  if (kind == 18) {
    double moon = Disc(x, y, 0.45) * (1 - Disc(x + 0.2, y - 0.12, 0.4));
    return Add(Scale({0.7, 0.7, 0.9}, moon), Scale({0.4, 0.4, 0.6}, ring));
  }
  double a = std::atan2(y, x);
  double rays = std::pow(std::fabs(std::cos(a * 6)), 6) * Clamp01((0.65 - d) * 10);
  return Add(Scale({1.0, 0.85, 0.3}, std::max(Disc(x, y, 0.3), rays)),
             Scale({0.9, 0.9, 0.6}, ring));
}

}  // namespace

void GenerateEffects(Output& out) {
  const std::string fx = "textures/effects/";
  out.WriteBmp(fx + "halo1.qvt", Paint(64, [](double x, double y) { return Halo(x, y); }));

  // Wakes 1..255, chosen by the unitKind of the ship (20 for torpedoes). The heroes' ships and
  // the torpedo get their own patterns; every other kind shares one.
  Image generic = Paint(64, [](double x, double y) { return Wake(x, y, 900, 2.0); });
  for (int k = 1; k <= 255; ++k) {
    std::string name = fx + "sleda" + std::to_string(k) + ".qvt";
    if (k <= 3 || k == 20) {
      double spread = k == 20 ? 4.0 : 1.5 + 0.5 * k;
      out.WriteBmp(name, Paint(64, [k, spread](double x, double y) {
                     return Wake(x, y, 900 + static_cast<uint32_t>(k), spread);
                   }));
    } else {
      out.WriteBmp(name, generic);
    }
  }

  // Bonus animations (32 frames) and still trigger markers.
  for (int kind : {1, 2, 3, 4, 5, 6, 11, 12, 13}) {
    std::string dir = "textures/bonuses/bonus" + std::to_string(kind) + "/";
    for (int f = 0; f < 32; ++f) {
      double p = f / 32.0;
      out.WriteBmp(dir + "an" + Num4(f) + ".qvt", Paint(64, [kind, p](double x, double y) {
                     return Bonus(kind, x, y, p, 1100u + static_cast<uint32_t>(kind));
                   }));
    }
  }
  for (int kind : {7, 8, 9, 10, 16, 17, 18, 19})
    out.WriteBmp(
        "textures/bonuses/bonus" + std::to_string(kind) + ".qvt",
        Paint(64, [kind](double x, double y) { return Marker(kind, x, y, 1200u + kind); }));

  // Unit destruction explosions: sets 1 and 3, frames 1..16.
  for (int set : {1, 3}) {
    for (int f = 1; f <= 16; ++f) {
      double t = (f - 1) / 15.0;
      out.WriteBmp(fx + "gexplos/destruct" + std::to_string(set) + std::to_string(f) + ".pct",
                   Paint(64, [set, t](double x, double y) {
                     return Fireball(x, y, t, 1300u + set, set == 1 ? 0.6 : 0.7);
                   }));
    }
  }
  // The named 32-frame sets.
  struct Set {
    const char* name;
    std::function<Colour(double, double, double, uint32_t)> frame;
  };
  const Set sets[] = {
      {"exp", [](double x, double y, double t, uint32_t s) { return Fireball(x, y, t, s, 0.65); }},
      {"vsplesk", Splash},
      {"mini", [](double x, double y, double t,
                  uint32_t s) { return Fireball(x * 1.3, y * 1.3, t, s, 0.5); }},
      {"fire", Flames},
      {"cannon", Smoke},
      {"water", WaterColumn},
      {"light", Flash},
      {"expxe", Shockwave},
  };
  uint32_t seed = 1400;
  for (const Set& s : sets) {
    ++seed;
    for (int f = 0; f < 32; ++f) {
      double t = f / 31.0;
      out.WriteBmp(fx + s.name + "/" + s.name + Num4(f) + ".qvt",
                   Paint(64, [&s, t, seed](double x, double y) { return s.frame(x, y, t, seed); }));
    }
  }
}

}  // namespace skerrow::content
