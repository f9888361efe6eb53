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

// A portrait: head and shoulders on an oval, with its alpha and its golden highlight.
void WriteHero(Output& out, int k) {
  constexpr int kSide = 256;
  const Hero& h = kHeroes[k - 1];
  Image img(kSide, kSide);
  Alpha alpha(kSide, kSide);
  Image glow(kSide, kSide);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double ox = (x - 128) / 118.0, oy = (y - 128) / 124.0;
      const double oval = ox * ox + oy * oy;
      Rgb c = Mix({70, 90, 110}, {20, 30, 40}, y / 255.0);
      const double head = std::hypot(x - 128, (y - 100) * 1.15);
      const double shoulders = std::hypot((x - 128) * 0.6, y - 250);
      if (shoulders < 95) c = Mix(h.coat, {10, 10, 20}, (y - 170) / 120.0);
      if (head < 48) c = Mix({232, 190, 150}, {170, 120, 90}, (x - 80) / 100.0);
      if (head < 52 && head >= 48) c = {60, 40, 30};
      if (std::hypot(x - 128, (y - 62) * 1.6) < 46 && y < 78) c = {30, 24, 20};  // hat
      if ((std::hypot(x - 110, y - 100) < 5) || (std::hypot(x - 146, y - 100) < 5))
        c = {30, 30, 40};
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

// A scene of the story: sky, sea, sun and a ship, coloured by the page.
Image Scene(int page) {
  constexpr int kW = 512, kH = 256;
  static const Rgb kSky[6] = {{40, 60, 110}, {90, 120, 170}, {150, 90, 60},
                              {60, 40, 50},  {30, 30, 40},   {200, 150, 90}};
  Image img(kW, kH);
  const int horizon = 150;
  const double sunX = 80 + page * 70;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      Rgb c;
      if (y < horizon) {
        c = Mix(kSky[page], {250, 220, 170}, static_cast<double>(y) / horizon * 0.8);
        if (std::hypot(x - sunX, y - 80) < 18) c = {255, 240, 200};
      } else {
        c = Mix({30, 70, 90}, {10, 30, 45}, static_cast<double>(y - horizon) / (kH - horizon));
        c = Mix(c, {200, 200, 180}, 0.15 * Noise(x / 8, y, page));
      }
      Put(img, x, y, c);
    }
  }
  // Islands and the ship's silhouette.
  for (int x = 0; x < kW; ++x) {
    const double hill =
        std::max(0.0, 30 * std::sin((x + page * 90) / 60.0)) * (0.6 + 0.4 * std::sin(x / 17.0));
    for (int y = horizon - static_cast<int>(hill); y < horizon; ++y) Put(img, x, y, {30, 40, 30});
  }
  // A steamer's silhouette: a hull narrowing to the bow, a deckhouse, a funnel with smoke
  // and two masts.
  const int sx = 300 - page * 30, deck = horizon + 14;
  const Rgb dark = {18, 14, 12};
  for (int x = sx; x < sx + 110; ++x) {
    const int bow = std::max(0, x - (sx + 90));  // the bow rises and narrows
    for (int y = deck - bow / 2; y < deck + 12 - bow / 2; ++y) Put(img, x, y, dark);
  }
  for (int x = sx + 30; x < sx + 70; ++x) {
    for (int y = deck - 10; y < deck; ++y) Put(img, x, y, dark);
  }
  for (int x = sx + 44; x < sx + 52; ++x) {
    for (int y = deck - 26; y < deck - 10; ++y) Put(img, x, y, dark);
  }
  for (int k = 0; k < 5; ++k) {  // smoke drifting aft
    const int cx = sx + 40 - k * 9, cy = deck - 32 - k * 3, r = 4 + k;
    for (int y = cy - r; y <= cy + r; ++y) {
      for (int x = cx - r; x <= cx + r; ++x) {
        if (std::hypot(x - cx, y - cy) <= r) Put(img, x, y, {90, 90, 95});
      }
    }
  }
  for (int mast : {sx + 18, sx + 84}) {
    for (int y = deck - 34; y < deck; ++y) Put(img, mast, y, dark);
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
