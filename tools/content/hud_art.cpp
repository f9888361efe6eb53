// The HUD's pictures: the bar panel with its slots, the map and upgrade panel frames, map
// markers, ship icons, radar background and compass, the "+" button, exit arrows, the bars and
// their masks, status icons, the cursor, the editor's island and number marks, the smoke puff,
// and the large font (font1.qvt with its alpha font1d.qvt) rendered from DejaVu Sans.
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "content.h"
#include "font_raster.h"
#include "noise.h"

namespace skerrow::content {
namespace {

constexpr double kPi = std::numbers::pi;

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

Rgba Over(Rgba top, Rgba under) {  // top composited over under
  const double a = top.a + under.a * (1 - top.a);
  if (a <= 0) return {};
  auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
  return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

// Coverage of a shape by its signed distance d (negative inside), antialiased over `soft`.
double Inside(double d, double soft = 0.01) {
  return Clamp01(0.5 - d / soft);
}
double BoxDist(double x, double y, double cx, double cy, double hw, double hh, double round) {
  const double dx = std::fabs(x - cx) - hw + round, dy = std::fabs(y - cy) - hh + round;
  return std::hypot(std::max(dx, 0.0), std::max(dy, 0.0)) + std::min(std::max(dx, dy), 0.0) - round;
}
double SegmentDist(double x, double y, double ax, double ay, double bx, double by) {
  const double px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
  const double t = Clamp01((px * vx + py * vy) / (vx * vx + vy * vy));
  return std::hypot(px - vx * t, py - vy * t);
}

// A picture from f(x, y) with x, y in [0, 1] from the top-left corner: the colour file and,
// when `alphaName` is given, its alpha companion.
void Write(Output& out, const std::string& name, const std::string& alphaName, int w, int h,
           const std::function<Rgba(double, double)>& f) {
  Image img(w, h);
  std::vector<uint8_t> alpha(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Rgba c = f((x + 0.5) / w, (y + 0.5) / h);
      uint8_t* p = img.At(x, y);
      p[0] = static_cast<uint8_t>(std::lround(Clamp01(c.r) * 255));
      p[1] = static_cast<uint8_t>(std::lround(Clamp01(c.g) * 255));
      p[2] = static_cast<uint8_t>(std::lround(Clamp01(c.b) * 255));
      alpha[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(std::lround(Clamp01(c.a) * 255));
    }
  }
  out.WriteBmp(name, img);
  if (!alphaName.empty()) out.WriteAlphaBmp(alphaName, w, h, alpha);
}

// Dark teak with a brass rim: the panels' common material, by the distance to the rim.
Rgba Panel(double x, double y, double d, uint32_t seed) {
  const double grain = Fbm(x * 3, y * 40, seed, 3);
  Rgba wood{0.28 + 0.12 * grain, 0.17 + 0.07 * grain, 0.09 + 0.04 * grain, 0.88};
  const double rim = Inside(std::fabs(d + 0.012) - 0.008, 0.006);
  const Rgba brass{0.85, 0.68, 0.3, 1};
  return {Lerp(wood.r, brass.r, rim), Lerp(wood.g, brass.g, rim), Lerp(wood.b, brass.b, rim),
          std::max(wood.a, rim) * Inside(d, 0.006)};
}

// A panel frame whose window (l, t, r, b in the picture's unit square) stays transparent.
Rgba FrameWithWindow(double x, double y, double l, double t, double r, double b, uint32_t seed) {
  const double outer = BoxDist(x, y, (l + 1) / 2 - 0.01, (t + 1) / 2 - 0.01, (1 - l) / 2 + 0.03,
                               (1 - t) / 2 + 0.03, 0.04);
  const double window = BoxDist(x, y, (l + r) / 2, (t + b) / 2, (r - l) / 2, (b - t) / 2, 0.01);
  Rgba c = Panel(x, y, outer, seed);
  const double edge = Inside(std::fabs(window) - 0.006, 0.005);
  c = Over({0.85, 0.68, 0.3, edge}, c);
  c.a *= Clamp01(window / 0.004 + 0.5) + edge * (1 - Clamp01(window / 0.004 + 0.5));
  return c;
}

void BarPanel(Output& out) {
  // The panel spans 0..21 % x 72..100 % of the display; the bars show through slots at
  // x 5.4..19.9 % and the three rows of the bars.
  const double l = 5.4 / 21, r = 19.9 / 21;
  const double rows[3][2] = {{(83.4 - 72) / 28, (87.8 - 72) / 28},
                             {(88.9 - 72) / 28, (93.3 - 72) / 28},
                             {(94.55 - 72) / 28, (98.95 - 72) / 28}};
  Write(out, "textures/int/interfacetex.qvt", "textures/int/interfacetexa.qvt", 256, 256,
        [&](double x, double y) {
          const double body = BoxDist(x, y, 0.5, 0.68, 0.49, 0.31, 0.05);
          Rgba c = Panel(x, y, body, 2101);
          for (int k = 0; k < 3; ++k) {
            const double slot = BoxDist(x, y, (l + r) / 2, (rows[k][0] + rows[k][1]) / 2,
                                        (r - l) / 2, (rows[k][1] - rows[k][0]) / 2, 0.02);
            if (slot < 0) c.a = 0;
            c = Over({0.85, 0.68, 0.3, Inside(std::fabs(slot) - 0.005, 0.006)}, c);
            // A small emblem left of each row: heart (life), shell (guns).
            const double cy = (rows[k][0] + rows[k][1]) / 2;
            const double emblem = std::hypot(x - 0.13, y - cy) - 0.045;
            const Rgba ink = k == 2 ? Rgba{0.9, 0.2, 0.15, 1} : Rgba{0.85, 0.75, 0.4, 1};
            c = Over({ink.r, ink.g, ink.b, Inside(emblem, 0.01)}, c);
          }
          return c;
        });
}

void Bars(Output& out) {
  const Rgba colours[3] = {{0.95, 0.15, 0.1, 1}, {1.0, 0.75, 0.15, 1}, {0.2, 0.55, 1.0, 1}};
  for (int k = 0; k < 3; ++k) {
    const std::string n = "textures/int/stripe" + std::to_string(k + 1);
    Write(out, n + ".qvt", "", 128, 16, [&](double x, double y) {
      const double shade = 0.55 + 0.45 * std::sin(y * kPi) + 0.15 * Fbm(x * 8, y * 2, 2200 + k, 2);
      return Rgba{colours[k].r * shade, colours[k].g * shade, colours[k].b * shade, 1};
    });
    Write(out, n + "A.qvt", "", 128, 16, [&](double x, double y) {
      const double v = Inside(BoxDist(x, y, 0.5, 0.5, 0.5, 0.42, 0.08), 0.04);
      return Rgba{v, v, v, 1};
    });
  }
}

void MapFrames(Output& out) {
  // Both frames are drawn over 70..100 % x 60..100 %; the map shows at 81.95..98.8 % x
  // 76.12..98.7 %.
  const double l = 11.95 / 30, r = 28.8 / 30, t = 16.12 / 40, b = 38.7 / 40;
  Write(out, "textures/int/minimap.qvt", "textures/int/minimapa.qvt", 256, 256,
        [&](double x, double y) { return FrameWithWindow(x, y, l, t, r, b, 2301); });
  // The upgrade panel: parchment in the same window, the frame drawn over it.
  Write(out, "textures/int/params.qvt", "textures/int/paramsa.qvt", 256, 256,
        [&](double x, double y) {
          const double n = Fbm(x * 6, y * 6, 2302, 4);
          return Rgba{0.2 + 0.1 * n, 0.15 + 0.08 * n, 0.1 + 0.05 * n, 0.85};
        });
  Write(out, "textures/int/parbtn.qvt", "", 32, 32, [](double x, double y) {
    const double plus = std::min(BoxDist(x, y, 0.5, 0.5, 0.3, 0.08, 0.02),
                                 BoxDist(x, y, 0.5, 0.5, 0.08, 0.3, 0.02));
    const double v = Inside(plus, 0.05);
    const double bg = 0.35 + 0.2 * (1 - y);
    return Rgba{Lerp(bg * 0.7, 1, v), Lerp(bg * 0.55, 0.9, v), Lerp(bg * 0.3, 0.5, v), 1};
  });
  // Exit arrows, added in green over the map: 0 at the +x edge (left), 1 the +z edge (top),
  // 2 the -x edge (right), 3 the -z edge (bottom).
  for (int k = 0; k < 4; ++k) {
    Write(out, "textures/int/exit" + std::to_string(k) + ".qvt", "", 64, 64,
          [k](double x, double y) {
            double u = x, v = y;  // arrow pointing left at the left edge
            if (k == 1) u = y, v = x;
            if (k == 2) u = 1 - x;
            if (k == 3) u = 1 - y, v = x;
            const double head = std::max(std::fabs(v - 0.5) - (u - 0.04) * 1.2, u - 0.16);
            const double d = std::min(head, BoxDist(u, v, 0.2, 0.5, 0.07, 0.04, 0.01));
            const double c = Inside(d, 0.02);
            return Rgba{c, c, c, 1};
          });
  }
}

void Markers(Output& out) {
  auto marker = [&](const std::string& name, const std::function<double(double, double)>& sdf,
                    Rgba colour) {
    Write(out, "textures/int/" + name + ".qvt", "textures/int/" + name + "a.qvt", 32, 32,
          [&](double x, double y) {
            const double d = sdf(x, y);
            return Rgba{colour.r, colour.g, colour.b, Inside(d, 0.06)};
          });
  };
  marker("cross",
         [](double x, double y) {
           return std::min(SegmentDist(x, y, 0.2, 0.2, 0.8, 0.8),
                           SegmentDist(x, y, 0.8, 0.2, 0.2, 0.8)) -
                  0.09;
         },
         {1, 1, 1, 1});
  marker("target",
         [](double x, double y) {
           const double r = std::hypot(x - 0.5, y - 0.5);
           return std::min(std::fabs(r - 0.32) - 0.07, r - 0.1);
         },
         {1, 1, 1, 1});
  marker("fort",
         [](double x, double y) {
           const double wall = BoxDist(x, y, 0.5, 0.62, 0.36, 0.25, 0.02);
           const double teeth = BoxDist(std::fmod(x + 1, 0.24), y, 0.12, 0.3, 0.06, 0.1, 0.01);
           return std::min(wall, std::max(teeth, std::fabs(x - 0.5) - 0.36));
         },
         {1, 1, 1, 1});
}

// Side views of the three hero ships.
void ShipIcons(Output& out) {
  for (int k = 1; k <= 3; ++k) {
    const std::string n = "textures/int/ship" + std::to_string(k);
    Write(out, n + ".qvt", n + "a.qvt", 64, 64, [k](double x, double y) {
      const double hull = std::max(BoxDist(x, y, 0.5, 0.66, 0.42, 0.08, 0.02),
                                   -(y - 0.58) * 3 + std::fabs(x - 0.5) - 0.44);
      double top = BoxDist(x, y, 0.45, 0.53, 0.2, 0.06, 0.02);
      const int funnels = k == 3 ? 4 : 1;
      for (int f = 0; f < funnels; ++f) {
        const double fx = funnels == 1 ? (k == 1 ? 0.5 : 0.62) : 0.3 + f * 0.12;
        top = std::min(top, BoxDist(x, y, fx, 0.4, 0.035, 0.1, 0.01));
      }
      if (k == 1) top = std::min(top, std::hypot(x - 0.5, y - 0.64) - 0.12);  // paddle box
      Rgba c{};
      c = Over({0.95, 0.95, 0.92, Inside(top, 0.03)}, c);
      c = Over({0.2, 0.2, 0.25, Inside(hull, 0.03)}, c);
      if (y < 0.42 && Inside(top, 0.03) > 0.5) c = {0.85, 0.2, 0.15, c.a};
      return c;
    });
  }
}

void Radar(Output& out) {
  // Drawn in a square centred on the player's point: a disc in the middle of the picture.
  Write(out, "textures/int/podlogka.qvt", "textures/int/podlogkaa.qvt", 128, 128,
        [](double x, double y) {
          const double r = std::hypot(x - 0.5, y - 0.5);
          const double rings =
              Inside(std::fabs(std::fmod(r + 0.5, 0.12) - 0.06) - 0.004, 0.01) * 0.5;
          const double cross =
              Inside(std::min(std::fabs(x - 0.5), std::fabs(y - 0.5)) - 0.003, 0.006) * 0.4;
          const double g = 0.25 + 0.4 * std::max(rings, cross);
          return Rgba{0.05, g, 0.1, 0.75 * Inside(r - 0.43, 0.01)};
        });
  Write(out, "textures/int/kompas.qvt", "textures/int/kompasa.qvt", 128, 128,
        [](double x, double y) {
          const double r = std::hypot(x - 0.5, y - 0.5);
          const double a = std::atan2(x - 0.5, 0.5 - y);  // 0 at the top (north)
          const double ring = Inside(std::fabs(r - 0.45) - 0.035, 0.01);
          const double ticks = Inside(std::fabs(std::remainder(a, kPi / 12)) * r - 0.006, 0.004) *
                               Inside(std::fabs(r - 0.45) - 0.03, 0.005);
          const double north =
              Inside(std::max(std::fabs(x - 0.5) - (y - 0.02) * 0.35, y - 0.12), 0.01);
          Rgba c{0.8, 0.65, 0.3, std::max(ring * 0.95, north)};
          c = Over({0.25, 0.15, 0.05, ticks}, c);
          if (north > 0.5) c = {0.9, 0.15, 0.1, north};
          return c;
        });
}

void StatusIcons(Output& out) {
  // Speed-up: a winged chevron in green.
  Write(out, "textures/int/haste.qvt", "textures/int/hastea.qvt", 64, 64, [](double x, double y) {
    double d = 1;
    for (int k = 0; k < 2; ++k) {
      const double yy = y - 0.2 - k * 0.28;
      d = std::min(d, std::fabs(yy - std::fabs(x - 0.5) * 0.8) - 0.07);
    }
    d = std::max(d, std::fabs(x - 0.5) - 0.38);
    return Rgba{0.3, 1, 0.35, Inside(d, 0.03)};
  });
  // Key: drawn in the key's colour, so white with its own shape as alpha.
  Write(out, "textures/int/key.qvt", "", 64, 64, [](double x, double y) {
    const double bow = std::fabs(std::hypot(x - 0.5, y - 0.25) - 0.15) - 0.05;
    const double shaft = BoxDist(x, y, 0.5, 0.6, 0.05, 0.25, 0.01);
    const double bit = std::min(BoxDist(x, y, 0.6, 0.78, 0.08, 0.04, 0.01),
                                BoxDist(x, y, 0.58, 0.66, 0.06, 0.035, 0.01));
    const double v = Inside(std::min({bow, shaft, bit}), 0.03);
    return Rgba{v, v, v, 1};
  });
  // Protection: a shield in pale silver (the HUD tints it with a flicker).
  Write(out, "textures/int/undead.qvt", "textures/int/undeada.qvt", 64, 64, [](double x, double y) {
    const double w = 0.36 - std::max(0.0, y - 0.45) * 0.7;
    const double d = std::max({std::fabs(x - 0.5) - w, 0.12 - y, y - 0.9});
    const double rim = Inside(std::fabs(d + 0.04) - 0.025, 0.02);
    return Rgba{Lerp(0.75, 1, rim), Lerp(0.8, 1, rim), Lerp(0.9, 1, rim), Inside(d, 0.02)};
  });
}

void Cursor(Output& out) {
  // An arrow with its tip at the top-left corner (the hot spot).
  Write(out, "textures/int/Cursor1.qvt", "textures/int/Cursor1A.qvt", 32, 32,
        [](double x, double y) {
          const double body = std::max({-x + 0.04, x - y * 0.62 - 0.02, y - 0.8 + x * 0.45});
          const double tail = SegmentDist(x, y, 0.22, 0.55, 0.42, 0.92) - 0.07;
          const double d = std::min(body, tail);
          const double edge = Inside(std::fabs(d) - 0.03, 0.02);
          const double v = Lerp(1, 0.1, edge);
          return Rgba{v, v, v * 0.95, Inside(d - 0.03, 0.02)};
        });
}

void EditorMarks(Output& out) {
  // The island mark (its own picture as alpha) and the selection mark of the editor.
  Write(out, "textures/int/islander.qvt", "", 64, 64, [](double x, double y) {
    const double d = std::fabs(BoxDist(x, y, 0.5, 0.5, 0.45, 0.45, 0.05)) - 0.03;
    const double v = Inside(d, 0.02);
    return Rgba{v, v, v, 1};
  });
  Write(out, "textures/int/numbers.qvt", "", 64, 64, [](double x, double y) {
    const double d = std::fabs(std::hypot(x - 0.5, y - 0.5) - 0.4) - 0.04;
    const double v = Inside(d, 0.02);
    return Rgba{v, v, v, 1};
  });
}

void SmokePuff(Output& out) {
  Write(out, "textures/effects/dim.qvt", "textures/effects/dima.qvt", 64, 64,
        [](double x, double y) {
          const double r = std::hypot(x - 0.5, y - 0.5) * 2;
          const double n = Fbm(x * 5, y * 5, 2501, 4);
          const double v = 0.75 + 0.25 * n;
          return Rgba{v, v, v * 0.97,
                      Clamp01((1 - r) * 1.4 + (n - 0.5)) * (1 - SmoothStep(0.8, 1, r))};
        });
}

// A coverage map of side n grown by one texel all round (the largest of each 3 x 3).
std::vector<uint8_t> Thicken(const std::vector<uint8_t>& a, int n) {
  std::vector<uint8_t> out(a.size(), 0);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int sx = x + dx, sy = y + dy;
          if (sx < 0 || sy < 0 || sx >= n || sy >= n) continue;
          uint8_t& o = out[static_cast<size_t>(y) * n + x];
          o = std::max(o, a[static_cast<size_t>(sy) * n + sx]);
        }
  return out;
}

// 512 x 512, 32 x 32 cells in column-major order: code c in column c / 16, row c % 16.
void LargeFont(Output& out) {
  constexpr int kCell = 32, kSide = 512;
  Image colour(kSide, kSide);
  std::vector<uint8_t> alpha(static_cast<size_t>(kSide) * kSide, 0);
  std::vector<uint8_t> glyph;
  for (int c = 0; c < 256; ++c) {
    int advance = 0;
    RasterGlyphCp1251(static_cast<unsigned char>(c), kCell, 24, glyph, advance);
    // Drawn small (the version line at 800 x 600 shrinks a cell to about 17 pixels) a point of
    // three texels fades into the filtering: the stops are thickened by a texel all round.
    if (c == '.' || c == ',' || c == ':' || c == ';') glyph = Thicken(glyph, kCell);
    const int x0 = kCell * (c / 16), y0 = kCell * (c % 16);
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        alpha[static_cast<size_t>(y0 + y) * kSide + x0 + x] =
            glyph[static_cast<size_t>(y) * kCell + x];
        // White letters, a little warmer toward their feet.
        uint8_t* p = colour.At(x0 + x, y0 + y);
        p[0] = 255;
        p[1] = static_cast<uint8_t>(255 - y * 2);
        p[2] = static_cast<uint8_t>(245 - y * 4);
      }
    }
  }
  out.WriteBmp("textures/int/font1.qvt", colour);
  out.WriteAlphaBmp("textures/int/font1d.qvt", kSide, kSide, alpha);
}

}  // namespace

void GenerateHudArt(Output& out) {
  BarPanel(out);
  Bars(out);
  MapFrames(out);
  Markers(out);
  ShipIcons(out);
  Radar(out);
  StatusIcons(out);
  Cursor(out);
  EditorMarks(out);
  SmokePuff(out);
  LargeFont(out);
}

}  // namespace skerrow::content
