// Island pieces: shapes, and the mesh, height grid, shade grid and textures baked from them.
#include "world_islands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "noise.h"

namespace skerrow::content {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kPieceScale = 0.1 * 1.025;  // statics draw OBJ pieces at this scale
constexpr double kFloorLimit = -1.2;

struct PieceShape {
  const char* name;
  double radius;      // shore distance from the centre (before noise)
  double sx, sz;      // stretch of the outline along x and z
  double peak;        // highest point above the beach, world units
  double coastNoise;  // relative wobble of the shore line
  double hillNoise;
  double crater;  // depth of a crater at the top (0 = none)
  double ring;    // > 0: a crescent atoll of this radius
  uint32_t seed;
};

// 1 palm island, 2 long island, 3 volcano, 4 sand islet, 5 crescent atoll, 6 rocky island.
constexpr PieceShape kPieces[kIslandPieceCount] = {
    {"palm island", 3.1, 1.0, 1.0, 1.4, 0.30, 0.35, 0.0, 0.0, 11},
    {"long island", 2.0, 2.0, 0.95, 1.1, 0.25, 0.40, 0.0, 0.0, 23},
    {"volcano", 3.6, 1.0, 1.0, 4.3, 0.18, 0.25, 0.9, 0.0, 37},
    {"sand islet", 1.7, 1.2, 0.9, 0.35, 0.35, 0.20, 0.0, 0.0, 41},
    {"crescent atoll", 0.85, 1.0, 1.0, 0.7, 0.35, 0.30, 0.0, 3.0, 53},
    {"rocky island", 2.7, 1.0, 1.1, 2.6, 0.45, 0.80, 0.0, 0.0, 67},
};

const PieceShape& Shape(int32_t piece) {
  return kPieces[std::clamp(piece, 1, kIslandPieceCount) - 1];
}

// Noise along the shore: a smooth function of the direction, continuous all the way round.
double AngleNoise(double angle, uint32_t seed) {
  return ValueNoise(std::cos(angle) * 1.6 + 7.0, std::sin(angle) * 1.6 + 7.0, seed) - 0.5;
}

// Distance inside the shore line (negative at sea).
double InlandDistance(const PieceShape& s, double dx, double dz) {
  double angle = std::atan2(dz, dx);
  double wobble = 1.0 + s.coastNoise * 2.0 * AngleNoise(angle, s.seed);
  if (s.ring > 0) {
    // A ring of land with an opening toward +z (the lagoon entrance).
    double r = std::hypot(dx, dz);
    double e = s.radius * wobble - std::abs(r - s.ring);
    double gap = std::abs(std::remainder(angle - kPi / 2, 2 * kPi));  // 0 at the entrance
    return e - std::max(0.0, 0.9 - gap) * 2.5;
  }
  double q = std::hypot(dx / s.sx, dz / s.sz);
  // The wobble fades toward the middle so the relief has no seam at the centre.
  wobble = 1.0 + (wobble - 1.0) * SmoothStep(0.0, s.radius * 0.7, q);
  return (s.radius * wobble - q) * std::min(s.sx, s.sz);
}

// Vertical span of the height grid: s/51 - 0.05 world units for samples 0..255.
uint8_t HeightSample(double h) {
  double s = std::round((h + 0.05) * 51.0);
  return static_cast<uint8_t>(std::clamp(s, 0.0, 255.0));
}

void SetGrey(Image& img, int x, int y, uint8_t v) {
  uint8_t* p = img.At(x, y);
  p[0] = p[1] = p[2] = v;
}

void SetRgb(Image& img, int x, int y, double r, double g, double b) {
  uint8_t* p = img.At(x, y);
  p[0] = static_cast<uint8_t>(std::lround(Clamp01(r) * 255));
  p[1] = static_cast<uint8_t>(std::lround(Clamp01(g) * 255));
  p[2] = static_cast<uint8_t>(std::lround(Clamp01(b) * 255));
}

}  // namespace

double IslandHeight(int32_t piece, double dx, double dz) {
  const PieceShape& s = Shape(piece);
  double e = InlandDistance(s, dx, dz);
  if (e < 0) return std::max(kFloorLimit, e * 0.7 - 0.02);
  double hills = Fbm(dx * 0.7 + 30, dz * 0.7 + 30, s.seed, 4);
  double beach = 0.22 * SmoothStep(0.0, 0.45, e);
  double core = s.ring > 0 ? s.radius : s.radius * std::min(s.sx, s.sz);
  double rise = std::pow(SmoothStep(0.3, std::max(0.6, core), e), 1.3);
  double h = beach + s.peak * rise * (1.0 - s.hillNoise * 0.5 + s.hillNoise * hills);
  if (s.crater > 0) {
    double r = std::hypot(dx, dz);
    h -= s.crater * SmoothStep(1.0, 0.2, r);
  }
  return std::clamp(h, 0.0, 4.85);
}

Image IslandHeightPicture(int32_t piece) {
  Image img(128, 128);
  for (int a = 0; a < 128; ++a) {
    for (int b = 0; b < 128; ++b) {
      // Along x the samples stand at cell centres, along z at cell corners.
      double dx = (a + 0.5) / 12.8 - 5.0;
      double dz = b / 12.8 - 5.0;
      SetGrey(img, 127 - a, 127 - b, HeightSample(IslandHeight(piece, dx, dz)));
    }
  }
  return img;
}

Image IslandShadePicture(int32_t piece) {
  // Covers 20 x 20 around the centre, mirrored: pixel (a, b) lies at dx = 10 - 20 (a + 0.5) / 128.
  Image img(128, 128);
  const double lx = 0.55, lz = 0.55, ly = 0.63;  // toward the sun, high in the +x +z sky
  for (int a = 0; a < 128; ++a) {
    for (int b = 0; b < 128; ++b) {
      double dx = 10.0 - 20.0 * (a + 0.5) / 128.0;
      double dz = 10.0 - 20.0 * (b + 0.5) / 128.0;
      double h0 =
          (std::abs(dx) < 5 && std::abs(dz) < 5) ? std::max(0.0, IslandHeight(piece, dx, dz)) : 0.0;
      double shade = 1.0;
      for (double t = 0.15; t < 8.0; t += 0.15) {
        double x = dx + lx * t, z = dz + lz * t, y = h0 + ly * t;
        if (std::abs(x) >= 5 || std::abs(z) >= 5) continue;
        double h = IslandHeight(piece, x, z);
        if (h > y) {
          shade = std::min(shade, 0.45 + 0.3 * SmoothStep(0.0, 0.6, (y - h) + 0.6));
          break;
        }
      }
      // Slopes facing away from the sun are darker.
      if (std::abs(dx) < 4.9 && std::abs(dz) < 4.9 && h0 > 0) {
        double gx = IslandHeight(piece, dx + 0.1, dz) - IslandHeight(piece, dx - 0.1, dz);
        double gz = IslandHeight(piece, dx, dz + 0.1) - IslandHeight(piece, dx, dz - 0.1);
        double facing = (gx * lx + gz * lz) / 0.2;
        shade *= std::clamp(1.0 + facing * 0.35, 0.55, 1.0);
      }
      SetGrey(img, a, b, static_cast<uint8_t>(std::lround(Clamp01(shade) * 255)));
    }
  }
  return img;
}

Image IslandBaseTexture(int32_t piece, int32_t look) {
  // Per look: sea bed shallow, sand, vegetation and rock colours.
  struct Colours {
    double bed[3], sand[3], green[3], rock[3];
  };
  static const Colours kLooks[] = {
      {{0.80, 0.78, 0.60}, {0.86, 0.78, 0.55}, {0.16, 0.42, 0.12}, {0.45, 0.42, 0.38}},
      {{0.70, 0.82, 0.90}, {0.86, 0.90, 0.96}, {0.95, 0.97, 1.00}, {0.48, 0.52, 0.58}},
      {{0.50, 0.50, 0.44}, {0.62, 0.62, 0.60}, {0.42, 0.32, 0.26}, {0.40, 0.40, 0.42}},
      {{0.45, 0.35, 0.50}, {0.30, 0.26, 0.30}, {0.50, 0.12, 0.18}, {0.22, 0.20, 0.24}},
  };
  const Colours& c = kLooks[std::clamp(look, 1, 4) - 1];
  // Pixel (px, py) shows dx = 5 - 10 px / W, dz = 5 - 10 py / H.
  const int n = 256;
  const PieceShape& s = Shape(piece);
  Image img(n, n);
  for (int py = 0; py < n; ++py) {
    for (int px = 0; px < n; ++px) {
      double dx = 5.0 - 10.0 * (px + 0.5) / n, dz = 5.0 - 10.0 * (py + 0.5) / n;
      double h = IslandHeight(piece, dx, dz);
      double grain = Fbm(px * 0.12, py * 0.12, s.seed + 5, 4);
      double fine = ValueNoise(px * 0.7, py * 0.7, s.seed + 9);
      double gx = IslandHeight(piece, dx + 0.05, dz) - IslandHeight(piece, dx - 0.05, dz);
      double gz = IslandHeight(piece, dx, dz + 0.05) - IslandHeight(piece, dx, dz - 0.05);
      double slope = std::hypot(gx, gz) / 0.1;
      // Sea bed, wet sand, dry sand, grass and jungle, rock, volcanic ash.
      double r, g, b;
      if (h < 0) {
        double d = Clamp01(-h / 1.2);
        r = Lerp(c.bed[0], 0.35, d), g = Lerp(c.bed[1], 0.55, d), b = Lerp(c.bed[2], 0.55, d);
      } else {
        r = c.sand[0] + 0.1 * grain, g = c.sand[1] + 0.1 * grain, b = c.sand[2] + 0.05 * fine;
        double wet = SmoothStep(0.08, 0.0, h);
        r -= 0.18 * wet, g -= 0.16 * wet, b -= 0.10 * wet;
        double green = SmoothStep(0.2, 0.32, h + 0.08 * (grain - 0.5));
        double jr = c.green[0] + 0.12 * grain, jg = c.green[1] + 0.2 * grain + 0.08 * fine,
               jb = c.green[2] + 0.06 * fine;
        r = Lerp(r, jr, green), g = Lerp(g, jg, green), b = Lerp(b, jb, green);
        double rock = Clamp01(SmoothStep(0.9, 1.6, slope) + SmoothStep(2.4, 3.2, h) +
                              (piece == 6 ? 0.5 * SmoothStep(0.6, 1.2, h) : 0));
        double rr = c.rock[0] + 0.2 * grain, rg = c.rock[1] + 0.18 * grain,
               rb = c.rock[2] + 0.15 * grain;
        r = Lerp(r, rr, rock), g = Lerp(g, rg, rock), b = Lerp(b, rb, rock);
        if (piece == 3) {
          double ash = SmoothStep(3.0, 3.8, h + 0.4 * grain);
          r = Lerp(r, 0.25, ash), g = Lerp(g, 0.22, ash), b = Lerp(b, 0.22, ash);
        }
      }
      double shade = 0.85 + 0.15 * fine;
      SetRgb(img, px, py, r * shade, g * shade, b * shade);
    }
  }
  return img;
}

Image IslandAlphaPicture(int32_t piece) {
  // The base texture is also laid flat on the sea around the piece: opaque on land, fading out
  // over the shallow shelf so the sea shows through.
  const int n = 256;
  Image img(n, n);
  for (int py = 0; py < n; ++py) {
    for (int px = 0; px < n; ++px) {
      double dx = 5.0 - 10.0 * (px + 0.5) / n, dz = 5.0 - 10.0 * (py + 0.5) / n;
      double a = SmoothStep(-0.35, 0.05, IslandHeight(piece, dx, dz));
      SetGrey(img, px, py, static_cast<uint8_t>(std::lround(a * 255)));
    }
  }
  return img;
}

Image IslandDetailTexture(int32_t piece) {
  // Tiles seamlessly (repeated 7 x 7 over the piece); light, so it only roughens the base.
  const int n = 128;
  Image img(n, n);
  uint32_t seed = Shape(piece).seed + 100;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double v = Fbm(x / 16.0, y / 16.0, seed, 4, 8);
      double c = 0.72 + 0.28 * v;
      SetRgb(img, x, y, c, c, c * 0.97);
    }
  }
  return img;
}

std::string IslandObj(int32_t piece) {
  // Quads per side over the 10 x 10 square: a cell of about 0.3 units is 6 pixels on an
  // 800 x 600 screen, finer than the relief needs; a finer mesh only adds triangles smaller
  // than a software rasteriser's 4 x 4 pixel blocks.
  const int n = 32;
  std::string out;
  out.reserve(1 << 20);
  char line[160];
  std::snprintf(line, sizeof line, "# Skerrow terrain piece %d: %s\ng Terrain%d\n", piece,
                Shape(piece).name, piece);
  out += line;
  for (int j = 0; j <= n; ++j) {
    for (int i = 0; i <= n; ++i) {
      double dx = -5.0 + 10.0 * i / n, dz = -5.0 + 10.0 * j / n;
      double h = IslandHeight(piece, dx, dz);
      std::snprintf(line, sizeof line, "v %.4f %.4f %.4f\n", dx / kPieceScale, h / kPieceScale,
                    dz / kPieceScale);
      out += line;
    }
  }
  for (int j = 0; j <= n; ++j) {
    for (int i = 0; i <= n; ++i) {
      // Unit 0 doubles s when drawing; the flat decal maps dx = 5 - 10 s, dz = 10 t - 5.
      double dx = -5.0 + 10.0 * i / n, dz = -5.0 + 10.0 * j / n;
      std::snprintf(line, sizeof line, "vt %.5f %.5f\n", (5.0 - dx) / 20.0, (dz + 5.0) / 10.0);
      out += line;
    }
  }
  auto idx = [n](int i, int j) { return j * (n + 1) + i + 1; };
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      // Counter-clockwise seen from above.
      int a = idx(i, j), b = idx(i, j + 1), c = idx(i + 1, j), d = idx(i + 1, j + 1);
      std::snprintf(line, sizeof line, "f %d/%d %d/%d %d/%d\nf %d/%d %d/%d %d/%d\n", a, a, b, b, c,
                    c, c, c, b, b, d, d);
      out += line;
    }
  }
  return out;
}

}  // namespace skerrow::content
