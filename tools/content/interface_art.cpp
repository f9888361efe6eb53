// Interface art of the content pack: the GUI atlas, window and panel textures, the small GUI
// font with its width table, the menu frame, hero portraits and descriptions, intro, outro and
// credits pages, and the saving and empty-slot pictures. Lettering comes from font_raster.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "content.h"
#include "font_raster.h"
#include "noise.h"
#include "platform/cp1251.h"

namespace skerrow::content {
namespace {

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint8_t Byte(double v) {
  return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}

void Put(Image& img, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
  uint8_t* p = img.At(x, y);
  p[0] = Byte(c.r);
  p[1] = Byte(c.g);
  p[2] = Byte(c.b);
}

// A coverage map the size of a picture (rows top to bottom).
struct Alpha {
  int width = 0, height = 0;
  std::vector<uint8_t> a;
  Alpha(int w, int h, uint8_t fill = 0)
      : width(w), height(h), a(static_cast<size_t>(w) * h, fill) {}
  uint8_t& At(int x, int y) { return a[static_cast<size_t>(y) * width + x]; }
  void Max(int x, int y, uint8_t v) {
    if (x >= 0 && y >= 0 && x < width && y < height) At(x, y) = std::max(At(x, y), v);
  }
};

// ---- Lettering ----

// Pixel width of a Windows-1251 line at a size: each glyph's width plus a pixel.
int LineWidth(const std::string& cp, int px) {
  int w = 0;
  std::vector<uint8_t> glyph;
  for (unsigned char c : cp) {
    int adv = 0;
    RasterGlyphCp1251(c, px * 2, px, glyph, adv, GlyphPlacement::kCentredInk);
    w += adv + std::max(1, px / 12);
  }
  return w;
}

// Writes a UTF-8 line with its top-left at (x, y); `paint` gets each covered pixel.
template <typename Paint>
void Letter(const std::string& utf8, int x, int y, int px, Paint paint) {
  const std::string cp = Utf8ToCp1251(utf8);
  const int cell = px * 2;
  std::vector<uint8_t> glyph;
  int pen = x;
  for (unsigned char c : cp) {
    int adv = 0;
    RasterGlyphCp1251(c, cell, px, glyph, adv, GlyphPlacement::kCentredInk);
    const int left = (cell - adv) / 2;
    // The glyph's baseline sits at 4/5 of its cell: the line's top is a cell's 4/5 - px above.
    const int top = y - (cell * 4 / 5 - px);
    for (int gy = 0; gy < cell; ++gy) {
      for (int gx = 0; gx < adv; ++gx) {
        const uint8_t v = glyph[static_cast<size_t>(gy) * cell + left + gx];
        if (v != 0) paint(pen + gx, top + gy, v);
      }
    }
    pen += adv + std::max(1, px / 12);
  }
}

void LetterOnImage(Image& img, const std::string& utf8, int x, int y, int px, Rgb colour) {
  Letter(utf8, x, y, px, [&](int gx, int gy, uint8_t v) {
    if (gx < 0 || gy < 0 || gx >= img.width || gy >= img.height) return;
    const uint8_t* p = img.At(gx, gy);
    Put(img, gx, gy, Mix({double(p[0]), double(p[1]), double(p[2])}, colour, v / 255.0));
  });
}

void LetterCentred(Image& img, const std::string& utf8, int y, int px, Rgb colour) {
  const int w = LineWidth(Utf8ToCp1251(utf8), px);
  LetterOnImage(img, utf8, (img.width - w) / 2, y, px, colour);
}

// ---- The GUI atlas ----

// 128 x 128 RGBA, indexed by atlas units: u to the right, v upwards (v = 0 the bottom row).
struct Atlas {
  static constexpr int kSide = 128;
  std::vector<uint8_t> rgba = std::vector<uint8_t>(kSide * kSide * 4, 0);
  void Set(int u, int v, Rgb c, uint8_t a = 255) {
    if (u < 0 || v < 0 || u >= kSide || v >= kSide) return;
    uint8_t* p = &rgba[(static_cast<size_t>(v) * kSide + u) * 4];
    p[0] = Byte(c.r);
    p[1] = Byte(c.g);
    p[2] = Byte(c.b);
    p[3] = a;
  }
};

constexpr Rgb kWood = {92, 58, 32};
constexpr Rgb kBrass = {196, 158, 84};
constexpr Rgb kDarkWood = {52, 32, 18};

// A band (title bar or bottom edge) over v0..v1: wood with brass edges.
void Band(Atlas& at, int v0, int v1, bool brassTop) {
  for (int v = v0; v < v1; ++v) {
    const double t = static_cast<double>(v - v0) / (v1 - v0 - 1);
    for (int u = 0; u < Atlas::kSide; ++u) {
      Rgb c = Mix(kDarkWood, kWood, brassTop ? t : 1 - t);
      const bool edge = brassTop ? v >= v1 - 3 : v < v0 + 3;
      if (edge || u < 2 || u >= Atlas::kSide - 2) c = kBrass;
      at.Set(u, v, c);
    }
  }
}

void BuildAtlas(Atlas& at) {
  Band(at, 101, 128, true);
  Band(at, 0, 27, false);
  for (int v = 27; v < 101; ++v) {
    for (int u = 0; u < 6; ++u) at.Set(u, v, u < 2 ? kBrass : kWood);
    for (int u = 121; u < 128; ++u) at.Set(u, v, u >= 126 ? kBrass : kWood);
  }
  // Close box: a red plate with a light cross.
  for (int v = 80; v < 96; ++v) {
    for (int u = 104; u < 120; ++u) {
      const int x = u - 104, y = v - 80;
      Rgb c = {150, 30, 24};
      if (x == 0 || y == 0 || x == 15 || y == 15) c = kBrass;
      if ((x == y || x == 15 - y) && x > 2 && x < 13) c = {250, 235, 200};
      at.Set(u, v, c);
    }
  }
  // Buttons: rounded caps and a middle, normal (41..55) and pressed (57..71), v 70..95.
  const auto button = [&at](int u0, bool pressed) {
    for (int v = 70; v < 95; ++v) {
      const double t = (v - 70) / 24.0;
      for (int u = u0; u < u0 + 14; ++u) {
        const int x = u - u0;
        Rgb c = pressed ? Mix({150, 120, 70}, {200, 170, 110}, t)
                        : Mix({190, 165, 115}, {245, 225, 170}, t);
        uint8_t a = 255;
        const bool edge = v == 70 || v == 94 || x == 0 || x == 13;
        if (edge) c = kDarkWood;
        // The caps' outer corners are cut off.
        if ((x == 0 || x == 13) && (v < 72 || v > 92)) a = 0;
        at.Set(u, v, c, a);
      }
    }
  };
  button(41, false);
  button(57, true);
  // Check boxes: unchecked 72..88, checked 88..104, v 80..96.
  for (int k = 0; k < 2; ++k) {
    const int u0 = 72 + 16 * k;
    for (int v = 80; v < 96; ++v) {
      for (int u = u0; u < u0 + 16; ++u) {
        const int x = u - u0, y = v - 80;
        Rgb c = {240, 228, 196};
        if (x < 2 || y < 2 || x > 13 || y > 13) c = kWood;
        // The tick: a short stroke down and a long one up.
        const bool tick = k == 1 && ((x >= 3 && x <= 6 && std::abs(y - (10 - x + 3)) <= 1) ||
                                     (x >= 6 && x <= 12 && std::abs(y - (x - 2)) <= 1));
        if (tick) c = {120, 20, 10};
        at.Set(u, v, c);
      }
    }
  }
}

// Uncompressed 32-bit TGA with the origin at the bottom left.
std::vector<uint8_t> EncodeTga32(int w, int h, const std::vector<uint8_t>& rgbaBottomUp) {
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;
  out[12] = static_cast<uint8_t>(w & 0xFF);
  out[13] = static_cast<uint8_t>(w >> 8);
  out[14] = static_cast<uint8_t>(h & 0xFF);
  out[15] = static_cast<uint8_t>(h >> 8);
  out[16] = 32;
  out[17] = 8;  // eight alpha bits
  for (size_t i = 0; i + 3 < rgbaBottomUp.size(); i += 4) {
    out.push_back(rgbaBottomUp[i + 2]);
    out.push_back(rgbaBottomUp[i + 1]);
    out.push_back(rgbaBottomUp[i]);
    out.push_back(rgbaBottomUp[i + 3]);
  }
  return out;
}

// ---- Fonts ----

// font2.qvt (white), font2d.qvt (the glyphs' coverage) and font.fnt (the widths): a 16 x 16
// grid of 16-pixel cells, glyph c in column c mod 16 and row c div 16 from the top left.
void WriteGuiFont(Output& out) {
  constexpr int kCell = 16, kSide = 256;
  Image white(kSide, kSide);
  std::fill(white.rgb.begin(), white.rgb.end(), 255);
  Alpha alpha(kSide, kSide);
  std::vector<uint8_t> widths(256, 0);
  std::vector<uint8_t> glyph;
  for (int c = 0; c < 256; ++c) {
    int adv = 0;
    RasterGlyphCp1251(static_cast<unsigned char>(c), kCell, 10, glyph, adv,
                      GlyphPlacement::kCentredInk);
    widths[c] = static_cast<uint8_t>(std::min(adv, kCell));
    const int cx = (c % 16) * kCell, cy = (c / 16) * kCell;
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) alpha.Max(cx + x, cy + y, glyph[y * kCell + x]);
    }
  }
  out.WriteBmp("textures/int/font2.qvt", white);
  out.WriteAlphaBmp("textures/int/font2d.qvt", kSide, kSide, alpha.a);
  out.Write("ata/font.fnt", widths);
}

// ---- Pictures ----

// A plain gradient picture.
Image Gradient(int w, int h, Rgb top, Rgb bottom) {
  Image img(w, h);
  for (int y = 0; y < h; ++y) {
    const Rgb c = Mix(top, bottom, static_cast<double>(y) / (h - 1));
    for (int x = 0; x < w; ++x) Put(img, x, y, c);
  }
  return img;
}

double Noise(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

// Window body (parchment) and panel (a darker inset) with their alphas.
void WriteWindowTextures(Output& out) {
  Image body(128, 128);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const double n = Noise(x / 2, y / 2, 3) * 18;
      Put(body, x, y, {222 - n, 204 - n, 160 - n});
    }
  }
  out.WriteBmp("textures/int/params.qvt", body);
  out.WriteAlphaBmp("textures/int/paramsa.qvt", 128, 128, Alpha(128, 128, 235).a);
  Image panel(64, 64);
  Alpha panelAlpha(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      // The outer tenth is the frame: brass, fading out at the very edge.
      const int edge = std::min({x, y, 63 - x, 63 - y});
      Put(panel, x, y, edge < 6 ? kBrass : Rgb{246, 236, 206});
      panelAlpha.At(x, y) = edge < 2 ? 90 : 220;
    }
  }
  out.WriteBmp("textures/int/window.qvt", panel);
  out.WriteAlphaBmp("textures/int/windowa.qvt", 64, 64, panelAlpha.a);
}

// The menu frame over the landscape: dark bands at the top and bottom with the title.
void WriteMenuFrame(Output& out) {
  constexpr int kSide = 512;
  Image img = Gradient(kSide, kSide, {30, 22, 14}, {20, 14, 8});
  Alpha alpha(kSide, kSide);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      double a = 0;
      if (y < 56)
        a = 230;
      else if (y < 64)
        a = 230 * (64 - y) / 8.0;
      if (y > kSide - 24) a = 230;
      // A soft vignette toward the sides.
      const double side = std::max(0.0, std::abs(x - kSide / 2.0) / (kSide / 2.0) - 0.75) * 4;
      a = std::max(a, side * 120);
      alpha.At(x, y) = Byte(a);
    }
  }
  for (int x = 0; x < kSide; ++x) {
    Put(img, x, 56, kBrass);
    Put(img, x, kSide - 25, kBrass);
  }
  LetterOnImage(img, "SKERROW", 18, 10, 30, {240, 200, 110});
  Letter("SKERROW", 18, 10, 30, [&](int x, int y, uint8_t v) { alpha.Max(x, y, v); });
  LetterOnImage(img, "Морской бой у шхер", 250, 22, 16, {210, 190, 150});
  Letter("Морской бой у шхер", 250, 22, 16, [&](int x, int y, uint8_t v) { alpha.Max(x, y, v); });
  out.WriteBmp("textures/int/menu.qvt", img);
  out.WriteAlphaBmp("textures/int/menua.qvt", kSide, kSide, alpha.a);
}

struct Hero {
  const char* name;
  const char* line1;
  const char* line2;
  Rgb coat;
};
constexpr Hero kHeroes[3] = {
    {"Эдвард", "Старый боцман.", "Броня +25", {40, 60, 120}},
    {"Ирина", "Лучший канонир флота.", "Пушки +25", {120, 30, 40}},
    {"Тарас", "Лоцман северных шхер.", "Скорость +25", {40, 100, 60}},
};
struct Ship {
  const char* name;
  const char* line1;
  const char* line2;
};
constexpr Ship kShips[3] = {
    {"Блуждающая звезда", "Колёсный пароход.", "Лёгкий и быстрый на разгоне."},
    {"Буревестник", "Кормовое колесо.", "Самый быстрый корабль."},
    {"Грозный", "Броненосный крейсер.", "Тяжёлые пушки и броня."},
};

// Coverage of a soft-edged shape from its signed distance (negative inside), in pixels.
double Cover(double d, double soft = 1.5) {
  return std::clamp(0.5 - d / soft, 0.0, 1.0);
}

// An ellipse's approximate signed distance in pixels.
double Ellipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double k = std::hypot((x - cx) / rx, (y - cy) / ry);
  return (k - 1) * std::min(rx, ry);
}

// A portrait: head and shoulders on an oval, shaded as a lit bust (light from the upper left),
// each hero with their own hair, beard or cap; with its alpha and its golden highlight.
void WriteHero(Output& out, int k) {
  constexpr int kSide = 256;
  const Hero& h = kHeroes[k - 1];
  Image img(kSide, kSide);
  Alpha alpha(kSide, kSide);
  Image glow(kSide, kSide);
  const double lx = -0.45, ly = -0.55, lz = 0.70;  // towards the light
  static const Rgb kSkin[3] = {{226, 178, 140}, {240, 196, 170}, {214, 164, 124}};
  static const Rgb kHair[3] = {{200, 200, 205}, {120, 40, 30}, {50, 36, 28}};
  const Rgb skin = kSkin[k - 1], hair = kHair[k - 1];
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double ox = (x - 128) / 118.0, oy = (y - 128) / 124.0;
      const double oval = ox * ox + oy * oy;
      // Backdrop: a warm studio light behind the left shoulder, dark toward the rim.
      Rgb c = Mix({120, 110, 100}, {25, 28, 36}, std::hypot(x - 90, y - 80) / 170.0);
      c = Mix(c, {c.r * 0.8, c.g * 0.8, c.b * 0.8}, Fbm(x / 40.0, y / 40.0, 900 + k, 3));
      // Shoulders and coat, rounded like a cylinder, with a collar and brass buttons.
      const double coat = Ellipse(x, y, 128, 300, 120, 110);
      if (coat < 2) {
        const double nx = std::clamp((x - 128) / 120.0, -1.0, 1.0);
        const double lit = 0.45 + 0.55 * std::max(0.0, nx * lx + std::sqrt(1 - nx * nx) * lz);
        Rgb cc = {h.coat.r * lit, h.coat.g * lit, h.coat.b * lit};
        const double lapel = std::abs(x - 128) - (y - 205) * 0.55;
        if (lapel < 0 && y > 205) cc = Mix({240, 235, 225}, {150, 145, 140}, (y - 205) / 60.0);
        for (int b = 0; b < 3; ++b) {
          const double bd = std::hypot(x - 128 - (b % 2 ? 22 : -22), y - 232 - b * 9) - 3.5;
          cc = Mix(cc, {230, 190, 90}, Cover(bd));
        }
        c = Mix(c, cc, Cover(coat));
      }
      // The neck, in the head's shadow.
      const double neck = std::max(std::abs(x - 128.0) - 26, y - 215.0);
      if (neck < 2 && y > 150)
        c = Mix(c, {skin.r * 0.62, skin.g * 0.58, skin.b * 0.55}, Cover(neck));
      // Long hair behind the head (Irina).
      if (k == 2) {
        const double back = Ellipse(x, y, 128, 150, 70, 95);
        c = Mix(c, Mix(hair, {40, 12, 10}, (y - 80) / 170.0), Cover(back));
      }
      // The head: an ellipsoid lit from the upper left.
      const double hx = (x - 128) / 50.0, hy = (y - 118) / 64.0;
      const double head = Ellipse(x, y, 128, 118, 50, 64);
      const double ears = std::min(Ellipse(x, y, 78, 122, 9, 15), Ellipse(x, y, 178, 122, 9, 15));
      if (ears < 2) c = Mix(c, {skin.r * 0.8, skin.g * 0.72, skin.b * 0.68}, Cover(ears));
      if (head < 2) {
        const double r2 = std::min(1.0, hx * hx + hy * hy);
        const double hz = std::sqrt(1 - r2);
        const double lit = 0.35 + 0.7 * std::max(0.0, (hx * lx + hy * ly + hz * lz));
        Rgb f = {skin.r * lit, skin.g * lit, skin.b * lit};
        // Cheeks, eye sockets, nose and mouth.
        f = Mix(f, {210, 110, 100}, 0.25 * Cover(Ellipse(x, y, 104, 140, 12, 8), 12));
        f = Mix(f, {210, 110, 100}, 0.25 * Cover(Ellipse(x, y, 152, 140, 12, 8), 12));
        for (int side : {-1, 1}) {
          const double ex = 128 + side * 19, ey = 112;
          f = Mix(f, {f.r * 0.8, f.g * 0.75, f.b * 0.75}, Cover(Ellipse(x, y, ex, ey, 13, 8), 6));
          f = Mix(f, {245, 242, 236}, Cover(Ellipse(x, y, ex, ey, 8, 4.2)));
          f = Mix(f, k == 2 ? Rgb{60, 110, 70} : Rgb{70, 90, 130},
                  Cover(std::hypot(x - ex, y - ey) - 3.6));
          f = Mix(f, {15, 12, 12}, Cover(std::hypot(x - ex, y - ey) - 1.6));
          f = Mix(f, {255, 255, 255}, Cover(std::hypot(x - ex + 1.5, y - ey + 1.5) - 0.8));
          const double brow = std::abs(std::hypot(x - ex, y - ey - 12) - 16) - 1.8;
          if (y < ey - 7) f = Mix(f, Mix(hair, {0, 0, 0}, 0.3), Cover(brow));
        }
        // The nose: its shaded right side and the shadow under it.
        f = Mix(f, {f.r * 0.8, f.g * 0.74, f.b * 0.72},
                0.8 * Cover(std::max(std::abs(x - 133.0) - 2.5, std::abs(y - 128.0) - 11), 3));
        f = Mix(f, {f.r * 0.75, f.g * 0.68, f.b * 0.66}, Cover(Ellipse(x, y, 129, 141, 7, 2.5), 3));
        f = Mix(f, {150, 70, 65}, Cover(Ellipse(x, y, 128, 154, 12, 2.6)));
        c = Mix(c, f, Cover(head));
      }
      // Hair and beards by hero: grey hair and a full beard under a captain's cap (Edward),
      // a fringe (Irina), short dark hair and a moustache (Taras).
      if (k == 1) {
        const double beard = std::max(Ellipse(x, y, 128, 150, 50, 42), 128.0 - y);
        const double mouth = Ellipse(x, y, 128, 154, 14, 5);
        if (beard < 2 && mouth > 0)
          c = Mix(c, Mix(hair, {120, 120, 125}, Fbm(x / 3.0, y / 9.0, 77, 2)), Cover(beard));
        const double crown = Ellipse(x, y, 128, 62, 60, 26);
        c = Mix(c, Mix({30, 34, 60}, {10, 12, 24}, (x - 70) / 120.0), Cover(crown));
        const double brim = std::max(Ellipse(x, y, 128, 84, 58, 10), y - 86.0);
        c = Mix(c, {15, 15, 18}, Cover(brim));
        c = Mix(c, {235, 195, 90}, Cover(Ellipse(x, y, 128, 66, 9, 7)));
      } else {
        const double top = std::max(Ellipse(x, y, 128, 100, 54, 62), y - (k == 2 ? 96.0 : 84.0));
        const double shade = 0.7 + 0.3 * Fbm(x / 4.0, y / 14.0, 80 + k, 2);
        c = Mix(c, {hair.r * shade, hair.g * shade, hair.b * shade}, Cover(top));
        if (k == 3) {
          const double moustache = std::max(Ellipse(x, y, 128, 146, 24, 6), -(y - 143.0));
          c = Mix(c, hair, Cover(moustache));
        }
      }
      Put(img, x, y, c);
      alpha.At(x, y) = oval < 1 ? 255 : (oval < 1.08 ? Byte((1.08 - oval) / 0.08 * 255) : 0);
      const double ring = std::abs(std::sqrt(oval) - 0.97);
      Put(glow, x, y, Mix({0, 0, 0}, {255, 200, 90}, 1 - ring * 12));
    }
  }
  const std::string n = std::to_string(k);
  out.WriteBmp("textures/int/hero" + n + ".qvt", img);
  out.WriteAlphaBmp("textures/int/hero" + n + "a.qvt", kSide, kSide, alpha.a);
  out.WriteBmp("textures/int/hero" + n + "l.qvt", glow);
}

// A description picture: light lines on black, added onto the screen.
void WriteDescription(Output& out, const std::string& file, const char* title, const char* a,
                      const char* b) {
  Image img(256, 128);
  LetterCentred(img, title, 14, 22, {250, 215, 130});
  LetterCentred(img, a, 56, 14, {220, 220, 210});
  LetterCentred(img, b, 84, 14, {220, 220, 210});
  out.WriteBmp("textures/int/" + file, img);
}

// A scene of the story, painted at 1024 x 512 and coloured by the page: a sky with lit clouds
// and the sun's glow, two rows of islands paling into the haze, a sea of stretched waves with
// the sun's path on it, and a steamer under smoke.
Image Scene(int page) {
  constexpr int kW = 1024, kH = 512;
  static const Rgb kSky[6] = {{40, 60, 110}, {90, 120, 170}, {150, 90, 60},
                              {60, 40, 50},  {30, 30, 40},   {200, 150, 90}};
  static const Rgb kHaze[6] = {{250, 220, 170}, {235, 225, 210}, {255, 190, 130},
                               {220, 150, 120}, {140, 120, 130}, {255, 215, 150}};
  const Rgb sky = kSky[page], haze = kHaze[page];
  Image img(kW, kH);
  const double horizon = 300;
  const double sunX = 160 + page * 140, sunY = 170;
  const uint32_t seed = 700 + static_cast<uint32_t>(page) * 17;
  auto hill = [&](double x, double shift, double height) {
    return std::max(0.0, height * std::sin((x + shift) / 120.0)) *
           (0.6 + 0.4 * Fbm(x / 60.0, shift, seed + 5, 3));
  };
  const int sx = 600 - page * 60, deck = 328;  // the steamer's stern and deck line
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      Rgb c;
      const double sun = std::hypot(x - sunX, y - sunY);
      if (y < horizon) {
        const double t = y / horizon;
        c = Mix(sky, haze, t * t * 0.9 + 0.1 * t);
        c = Mix(c, {255, 245, 220}, std::exp(-sun / 90.0) * 0.8);
        const double cloud = SmoothStep(0.55, 0.8, Fbm(x / 160.0, y / 45.0, seed, 5));
        const Rgb lit = Mix({255, 250, 240}, haze, 0.4);
        c = Mix(c, Mix(lit, Mix(sky, {60, 60, 70}, 0.4), y / horizon * 0.6), cloud * (1 - t * 0.6));
        if (sun < 26) c = Mix(c, {255, 250, 225}, Cover(sun - 24));
        // Far islands pale in the haze, near ones darker.
        if (y > horizon - hill(x, page * 190.0, 34)) c = Mix(sky, haze, 0.6);
        if (y > horizon - hill(x, 400 + page * 90.0, 60))
          c = Mix({30, 50, 40}, Mix(sky, haze, 0.5),
                  0.25 + 0.2 * Fbm(x / 12.0, y / 12.0, seed + 2, 3));
      } else {
        const double t = (y - horizon) / (kH - horizon);
        const double wave = Fbm(x / 140.0, (y - horizon) / (2 + 10 * t), seed + 3, 4);
        c = Mix(Mix(sky, haze, 0.5), {8, 25, 40}, std::pow(t, 0.6));
        c = Mix(c, {c.r * 0.6, c.g * 0.7, c.b * 0.8}, SmoothStep(0.45, 0.7, wave));
        const double path = std::exp(-std::abs(x - sunX) / (30 + 180 * t));
        c = Mix(c, {255, 240, 200}, path * SmoothStep(0.55, 0.75, wave) * 0.8);
      }
      // The steamer: a hull narrowing to its raised bow, a deckhouse, a funnel and two masts.
      const double u = x - sx;
      const double bow = std::max(0.0, u - 180) * 0.5;
      double ship = std::max({-u, u - 220, (deck - bow) - y, y - (deck + 24 - bow * 0.3)});
      ship = std::min(ship, std::max({std::abs(u - 100) - 40.0, deck - 20.0 - y,
                                      y - static_cast<double>(deck)}));
      ship = std::min(
          ship, std::max({std::abs(u - 96) - 8.0, deck - 52.0 - y, y - static_cast<double>(deck)}));
      for (double mast : {36.0, 168.0})
        ship = std::min(ship, std::max({std::abs(u - mast) - 1.5, deck - 68.0 - y,
                                        y - static_cast<double>(deck)}));
      const Rgb dark = {18, 14, 12};
      c = Mix(c, dark, Cover(ship));
      if (y > deck + 18 && y < deck + 40 && u > -10 && u < 240)  // its reflection
        c = Mix(c, dark, 0.25 * SmoothStep(0.4, 0.6, Fbm(x / 20.0, y / 3.0, seed + 4, 2)));
      for (int k = 0; k < 7; ++k) {  // smoke drifting aft
        const double cx = sx + 92 - k * 20, cy = deck - 62 - k * 6, r = 8 + k * 2.5;
        const double puff =
            std::hypot(x - cx, y - cy) - r * (0.8 + 0.3 * Fbm(x / 9.0, y / 9.0, seed + k, 2));
        c = Mix(c, {95, 92, 95}, Cover(puff, 6) * (0.9 - k * 0.1));
      }
      Put(img, x, y, c);
    }
  }
  return img;
}

// A text overlay: white lines whose alpha is the lettering.
void WriteTextOverlay(Output& out, const std::string& colour, const std::string& alphaFile, int w,
                      int h, const std::vector<const char*>& lines, int px) {
  Image img(w, h);
  std::fill(img.rgb.begin(), img.rgb.end(), 255);
  Alpha alpha(w, h);
  int y = px;
  for (const char* line : lines) {
    const int lw = LineWidth(Utf8ToCp1251(line), px);
    Letter(line, (w - lw) / 2, y, px, [&](int x, int yy, uint8_t v) { alpha.Max(x, yy, v); });
    y += px * 3 / 2;
  }
  out.WriteBmp("textures/int/" + colour, img);
  out.WriteAlphaBmp("textures/int/" + alphaFile, w, h, alpha.a);
}

void WriteStory(Output& out) {
  for (int page = 0; page <= 5; ++page) {
    out.WriteBmp("textures/int/intro" + std::to_string(page) + ".qvt", Scene(page));
  }
  WriteTextOverlay(out, "intext.qvt", "intexa.qvt", 256, 512,
                   {"Тысяча островов",
                    "от тёплых тропиков",
                    "до северных льдов.",
                    "",
                    "Пираты перекрыли",
                    "морские пути.",
                    "Маяки погасли,",
                    "караваны не приходят.",
                    "Говорят, за пиратами",
                    "стоит тайный заговор.",
                    "",
                    "Адмиралтейство даёт",
                    "вам корабль",
                    "и последний шанс.",
                    "",
                    "Очистите проливы,",
                    "найдите логово пиратов",
                    "и раскройте заговор.",
                    "",
                    "Удачи, капитан!"},
                   14);
  out.WriteBmp("textures/int/outro.qvt", Scene(5));
  WriteTextOverlay(out, "outext.qvt", "outexa.qvt", 256, 256,
                   {"Заговор раскрыт,", "его флот на дне.", "", "Маяки снова горят,",
                    "караваны идут", "через шхеры.", "", "Море свободно.", "Спасибо, капитан!"},
                   14);
}

void WriteCredits(Output& out) {
  struct Page {
    const char* title;
    const char* a;
    const char* b;
  };
  static const Page kPages[10] = {
      {"SKERROW", "Морской бой у шхер", "Свободная игра"},
      {"Программа", "Команда проекта Skerrow", "C++20, OpenGL 1.x"},
      {"Окна и ввод", "SDL2", "Simple DirectMedia Layer"},
      {"Графика", "Mesa 3D, OpenGL, GLU", "llvmpipe"},
      {"Шрифты", "DejaVu Sans", "FreeType"},
      {"Картинки", "libjpeg-turbo", "Рисунки созданы программой"},
      {"Звук", "OpenAL Soft", "libsndfile"},
      {"Проверка", "GoogleTest", "Google Benchmark"},
      {"Сборка", "CMake, Ninja", "GCC, Clang"},
      {"Спасибо за игру!", "", "До новых встреч в море"},
  };
  for (int k = 0; k < 10; ++k) {
    Image img = Gradient(512, 512, {10, 16, 30}, {4, 6, 12});
    LetterCentred(img, kPages[k].title, 170, 40, {240, 200, 110});
    LetterCentred(img, kPages[k].a, 260, 24, {220, 220, 220});
    LetterCentred(img, kPages[k].b, 310, 24, {200, 200, 200});
    out.WriteBmp("textures/int/c" + std::to_string(k + 1) + ".qvt", img);
  }
}

}  // namespace

void GenerateInterfaceArt(Output& out) {
  Atlas atlas;
  BuildAtlas(atlas);
  out.Write("textures/int/GUI.TGA", EncodeTga32(Atlas::kSide, Atlas::kSide, atlas.rgba));
  WriteWindowTextures(out);
  WriteGuiFont(out);
  WriteMenuFrame(out);
  for (int k = 1; k <= 3; ++k) {
    WriteHero(out, k);
    const Hero& h = kHeroes[k - 1];
    const Ship& s = kShips[k - 1];
    WriteDescription(out, "text" + std::to_string(k) + ".qvt", h.name, h.line1, h.line2);
    WriteDescription(out, "textx" + std::to_string(k) + ".qvt", s.name, s.line1, s.line2);
  }
  WriteStory(out);
  WriteCredits(out);
  Image saving(128, 32);
  LetterCentred(saving, "Сохранение...", 8, 14, {240, 220, 160});
  out.WriteBmp("textures/int/saving.qvt", saving);
  Image empty = Gradient(256, 128, {40, 40, 50}, {20, 20, 26});
  LetterCentred(empty, "Пусто", 48, 24, {180, 180, 190});
  out.WriteBmp("textures/int/empty.qvt", empty);
}

}  // namespace skerrow::content
