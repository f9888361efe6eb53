// Procedural textures of the generated models (hull plating, decks, paint, wood, stone,
// foliage, cloth) and the model assembly helper.
#include <algorithm>
#include <cmath>

#include "models_common.h"
#include "noise.h"

namespace skerrow::content {

namespace {

uint8_t Byte(double v) {
  return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

void Put(Image& img, int x, int y, double r, double g, double b) {
  uint8_t* p = img.At(x, y);
  p[0] = Byte(r);
  p[1] = Byte(g);
  p[2] = Byte(b);
}

// Tiling fBm over the image, `cells` lattice cells across.
double TileNoise(const Image& img, int x, int y, uint32_t seed, int cells, int octaves) {
  return Fbm(static_cast<double>(x) * cells / img.width,
             static_cast<double>(y) * cells / img.height, seed, octaves, cells);
}

}  // namespace

Image PaintHull(uint32_t seed, Rgb paint) {
  Image img(256, 128);
  for (int y = 0; y < img.height; ++y) {
    double v = 1.0 - (y + 0.5) / img.height;  // texture v (bottom row is v 0)
    for (int x = 0; x < img.width; ++x) {
      double n = TileNoise(img, x, y, seed, 8, 4);
      double streak = TileNoise(img, x * 6, y / 3, seed + 7, 32, 3);
      double r = paint[0], g = paint[1], b = paint[2];
      if (v < 0.27) {  // antifouling red
        r = 150, g = 45, b = 35;
      } else if (v < 0.31) {  // boot topping
        r = g = b = 25;
      }
      double shade = 0.8 + 0.35 * n;
      // Plate seams: horizontal strakes and vertical butts, rivet dots.
      int strake = y % 32, butt = (x + (y / 32) * 24) % 48;
      if (v >= 0.31 && (strake == 0 || butt == 0)) shade *= 0.72;
      if (v >= 0.31 && (strake == 3 || butt == 3) && (x + y) % 4 == 0) shade *= 1.18;
      // Rust streaks running down from the deck edge and from the scuppers.
      double rust = std::max(0.0, streak - 0.62) * 3.0 * (0.4 + v);
      r = r * shade * (1 - rust) + 120 * rust;
      g = g * shade * (1 - rust) + 62 * rust;
      b = b * shade * (1 - rust) + 30 * rust;
      if (v > 0.95) r *= 0.7, g *= 0.7, b *= 0.7;  // rubbing strake
      Put(img, x, y, r, g, b);
    }
  }
  return img;
}

Image PaintDeck(uint32_t seed) {
  Image img(128, 128);
  Rng rng(seed);
  double plank[16];
  for (double& p : plank) p = rng.Range(0.82, 1.12);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      int row = y / 8;
      double grain = ValueNoise(x * 0.5, y * 2.0 + row * 13, seed + 3, 64);
      double n = TileNoise(img, x, y, seed, 8, 3);
      double s = plank[row % 16] * (0.85 + 0.2 * grain + 0.15 * n);
      if (y % 8 == 0) s *= 0.45;               // caulking
      if ((x + row * 37) % 64 == 0) s *= 0.6;  // butt joints
      Put(img, x, y, 176 * s, 142 * s, 98 * s);
    }
  return img;
}

Image PaintPlain(uint32_t seed, Rgb paint, double grime) {
  Image img(128, 128);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      double n = TileNoise(img, x, y, seed, 8, 4);
      double dirt = std::max(0.0, TileNoise(img, x, y, seed + 11, 4, 3) - 0.5) * 2 * grime;
      double s = (0.85 + 0.3 * n) * (1 - dirt);
      if (y % 64 == 0 || x % 64 == 0) s *= 0.85;
      Put(img, x, y, paint[0] * s + 30 * dirt, paint[1] * s + 22 * dirt, paint[2] * s + 12 * dirt);
    }
  return img;
}

Image PaintHouse(uint32_t seed, Rgb paint) {
  Image img = PaintPlain(seed, paint, 0.4);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      // Two rows of windows per repeat: dark glass with a light frame and a sky glint.
      int wx = x % 32, wy = y % 64;
      if (wy >= 20 && wy < 36 && wx >= 8 && wx < 24) {
        uint8_t* p = img.At(x, y);
        bool frame = wy == 20 || wy == 35 || wx == 8 || wx == 23;
        if (frame) {
          p[0] = p[1] = p[2] = 60;
        } else {
          double glint = (wx - 8 + wy - 20) < 8 ? 40 : 0;
          Put(img, x, y, 40 + glint, 55 + glint, 75 + glint * 1.2);
        }
      }
    }
  return img;
}

Image PaintFunnel(uint32_t seed, Rgb band) {
  Image img = PaintPlain(seed, band, 0.3);
  for (int y = 0; y < img.height; ++y) {
    double v = 1.0 - (y + 0.5) / img.height;
    for (int x = 0; x < img.width; ++x) {
      uint8_t* p = img.At(x, y);
      if (v > 0.8) {
        double n = TileNoise(img, x, y, seed + 5, 16, 2);
        p[0] = p[1] = p[2] = Byte(18 + 25 * n);
      } else if (v > 0.74) {  // soot running down
        double s = 0.5 + 0.5 * (0.8 - v) / 0.06;
        p[0] = Byte(p[0] * s), p[1] = Byte(p[1] * s), p[2] = Byte(p[2] * s);
      } else if (v > 0.6 && v < 0.66) {  // a white ring
        p[0] = p[1] = p[2] = 225;
      }
    }
  }
  return img;
}

Image PaintWood(uint32_t seed, Rgb wood) {
  Image img(128, 128);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      double warp = TileNoise(img, x, y, seed + 1, 4, 2);
      double ring = std::sin((x * 0.25 + warp * 10.0) * 3.14159) * 0.5 + 0.5;
      double n = TileNoise(img, x, y, seed, 16, 3);
      double s = 0.75 + 0.18 * ring + 0.2 * n;
      Put(img, x, y, wood[0] * s, wood[1] * s, wood[2] * s);
    }
  return img;
}

Image PaintStone(uint32_t seed, Rgb stone) {
  Image img(128, 128);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      int row = y / 16;
      int bx = (x + (row % 2) * 16) % 32, by = y % 16;
      double n = TileNoise(img, x, y, seed, 16, 4);
      double block = LatticeValue((x + (row % 2) * 16) / 32, row, seed);
      double s = 0.7 + 0.25 * block + 0.25 * n;
      if (bx < 2 || by < 2) s *= 0.55;  // mortar
      double moss = std::max(0.0, TileNoise(img, x, y, seed + 9, 4, 3) - 0.6) * 2;
      Put(img, x, y, stone[0] * s * (1 - moss) + 70 * moss, stone[1] * s * (1 - moss) + 90 * moss,
          stone[2] * s * (1 - moss) + 45 * moss);
    }
  return img;
}

Image PaintRock(uint32_t seed, Rgb stone) {
  Image img(128, 128);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      double n = TileNoise(img, x, y, seed, 8, 5);
      double crack = std::fabs(TileNoise(img, x, y, seed + 4, 4, 3) - 0.5);
      double s = 0.65 + 0.55 * n;
      if (crack < 0.02) s *= 0.55;
      double lichen = std::max(0.0, TileNoise(img, x, y, seed + 9, 8, 3) - 0.62) * 2.5;
      Put(img, x, y, stone[0] * s * (1 - lichen) + 150 * lichen,
          stone[1] * s * (1 - lichen) + 150 * lichen, stone[2] * s * (1 - lichen) + 90 * lichen);
    }
  return img;
}

Image PaintLeaves(uint32_t seed, Rgb leaf) {
  Image img(128, 128);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      // Leaflets: stripes across u with a central rib along v.
      double n = TileNoise(img, x, y, seed, 16, 3);
      double stripe = std::fabs(std::sin((x * 0.4 + y * 0.6) * 0.5 + n * 3));
      double s = 0.55 + 0.45 * stripe;
      if (x % 64 < 3) s = 0.6;  // rib
      Put(img, x, y, leaf[0] * s, leaf[1] * s, leaf[2] * s);
    }
  return img;
}

Image PaintThatch(uint32_t seed) {
  Image img(128, 128);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      double straw = ValueNoise(x * 1.5, y * 0.12, seed, 192);
      double n = TileNoise(img, x, y, seed + 2, 8, 3);
      double s = 0.6 + 0.3 * straw + 0.2 * n;
      if (y % 16 < 2) s *= 0.6;  // layer edges
      Put(img, x, y, 190 * s, 160 * s, 90 * s);
    }
  return img;
}

Image PaintCloth(uint32_t seed, Rgb a, Rgb b, int stripes) {
  Image img(64, 64);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      bool first = stripes <= 1 ? true : ((y * stripes / img.height) % 2 == 0);
      const Rgb& c = first ? a : b;
      double n = TileNoise(img, x, y, seed, 8, 2);
      double weave = ((x + y) % 2) ? 0.96 : 1.0;
      double s = (0.85 + 0.25 * n) * weave;
      Put(img, x, y, c[0] * s, c[1] * s, c[2] * s);
    }
  return img;
}

uint16_t ModelBuilder::Material(const std::string& name, const std::string& texture, Rgb tint,
                                bool twoSided) {
  for (size_t i = 0; i < scene_.materials.size(); ++i)
    if (scene_.materials[i].name == name) return static_cast<uint16_t>(i);
  Max3dsMaterial m;
  m.name = name;
  m.textureFile = texture;
  // The loader lowers the ambient by 0.3 per channel, so ambient sits near the diffuse.
  m.ambient = tint;
  m.diffuse = tint;
  m.specular = {60, 60, 60};
  m.shininessPercent = 15;
  m.twoSided = twoSided;
  scene_.materials.push_back(m);
  return static_cast<uint16_t>(scene_.materials.size() - 1);
}

void ModelBuilder::Add(const std::string& meshName, const Mesh& mesh) {
  if (mesh.tris.empty()) return;
  scene_.meshes.push_back(ToMax3ds(mesh, meshName));
}

void ModelBuilder::Write(Output& out, const std::string& rel) const {
  std::vector<uint8_t> bytes = Encode3ds(scene_);
  out.Write(rel, bytes);
}

}  // namespace skerrow::content
