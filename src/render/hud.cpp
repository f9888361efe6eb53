// The HUD: lives, the information panel with the level map and markers, the upgrade panel, the
// radar with its dots, the weapon and health bars, the status icons with their timers and the
// coin counter; and the mouse cursor with the hover name. Pictures are rectangles in percent of
// the display, text goes through the large font.
#include "render/hud.h"

#include <GL/gl.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/numeric.h"
#include "render/game_resources.h"
#include "render/later_passes.h"
#include "render/render_state.h"
#include "render/world_passes.h"
#include "simulation/play_update.h"  // HeroLevelThreshold
#include "simulation/upgrades.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

constexpr Color4f kWhite = {1, 1, 1, 1};
constexpr Color4f kBlack = {0, 0, 0, 1};
constexpr Color4f kGrey = {0.5f, 0.5f, 0.5f, 1};
constexpr Color4f kRed = {1, 0, 0, 1};
constexpr Color4f kGreen = {0, 1, 0, 1};
constexpr Color4f kCoinText = {1, 0.7f, 0.3f, 1};
constexpr Color4f kCoinGlint = {0.7f, 0.5f, 0.3f, 1};

// The radar in overlay units: the player's point, where world +x (west) runs to the left and
// +z (north) upward at 1/210 of a unit per world unit, and half the side of its pictures.
constexpr double kRadarCentreX = 1.13, kRadarCentreY = 0.82;
constexpr double kRadarHalfSide = 0.16;  // the pictures' disc (0.43 of the side) holds 28/210

void Colour(const Color4f& c) {
  glColor4f(c.r, c.g, c.b, c.a);
}

// Everything the HUD draws with: the scene, the display size and the looked-up textures.
struct Hud {
  const WorldState& w;
  const TKTZGL_Scene& scene;
  int32_t W, H;
  uint32_t font;

  void Picture(uint32_t texture, double l, double t, double r, double b) const {
    glBindTexture(GL_TEXTURE_2D, texture);
    scene.DrawRectPercent(l, t, r, b);
  }
  void Text(std::string_view text, double a, double b, double r, double d, double s) const {
    glBindTexture(GL_TEXTURE_2D, font);
    scene.DrawText(TextCell(W, H, a, b, r, d), text, TextSpacing(W, s));
  }
  // Black one step right (and down when `shiftB`), then the colour at the anchor.
  void Shadowed(std::string_view text, const Color4f& c, double a, double b, bool shiftB) const {
    Colour(kBlack);
    Text(text, a + 0.3, shiftB ? b + 0.3 : b, 5, 5, -1.6);
    Colour(c);
    Text(text, a, b, 5, 5, -1.6);
  }
};

void DrawLives(const Hud& h, const GameResources& res) {
  const WorldState& w = h.w;
  const double f = w.flashScale;
  static constexpr const char* kShipIcons[4] = {nullptr, "ship1", "ship2", "ship3"};
  if (w.shipChoice >= 1 && w.shipChoice <= 3) {
    h.Picture(res.Texture(kShipIcons[w.shipChoice]), 0.5, 0.5, 6.5, 8.5);
  }
  h.Shadowed(DecimalText("x", w.lives).View(), kWhite, 6 * f, f, true);
}

// A unit's place on the level map, in percent of the display: x runs right to left, z bottom
// to top, (0, 0) at the map's bottom-right corner.
void MapMarker(const Hud& h, uint32_t texture, const UnitRecord& u) {
  const double size = h.w.levelSize;
  if (!(size > 0)) return;
  const double x = 98.8 - u.posX / size * 16.85, y = 98.7 - u.posZ / size * 22.58;
  h.Picture(texture, x - 0.75, y - 1.0, x + 0.75, y + 1.0);
}

void DrawInformationPanel(const Hud& h, const GameResources& res) {
  const WorldState& w = h.w;
  Colour(w.skyFogColour);
  h.Picture(res.handles.levelMinimapTexture, 81.95, 76.12, 98.8, 98.7);
  glBlendFunc(GL_ONE, GL_ONE);
  Colour(kGreen);
  const int32_t exits[4] = {w.neighbourPlusX, w.neighbourPlusZ, w.neighbourMinusX,
                            w.neighbourMinusZ};
  static constexpr const char* kArrows[4] = {"exit0", "exit1", "exit2", "exit3"};
  for (int k = 0; k < 4; ++k) {
    if (exits[k] != 0) h.Picture(res.Texture(kArrows[k]), 81.95, 76.12, 98.8, 98.7);
  }
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  Colour(kWhite);
  const uint32_t frame = res.Texture("minimap");
  h.Picture(frame, 70, 60, 100, 100);
  Colour(kRed);
  const uint32_t fort = res.Texture("fort"), target = res.Texture("target");
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    const UnitRecord& u = w.units[i];
    if (u.alive != 1 || u.sinking != 0) continue;
    const int32_t k = u.unitKind;
    if (k == kind::kMonitor || k == kind::kItemWreck37 || k == kind::kItemWreck50) {
      MapMarker(h, fort, u);
    } else if (k == kind::kItemWreck22 || k == kind::kFlyingFortress) {
      MapMarker(h, target, u);
    }
  }
  Colour(kGreen);
  if (const UnitRecord* p = PlayerUnit(w)) MapMarker(h, res.Texture("cross"), *p);
}

void DrawUpgradePanel(const Hud& h, const GameResources& res, TPoint mouse) {
  const WorldState& w = h.w;
  const Color4f& sky = w.skyFogColour;
  constexpr float k = kUpgradePanelShade;
  Colour({sky.r * k, sky.g * k, sky.b * k, sky.a});
  h.Picture(res.Texture("params"), 81.95, 76.12, 98.8, 98.7);
  const uint32_t button = res.Texture("parbtn");
  const int32_t points[3] = {w.armourPoints, w.gunPoints, w.speedPoints};
  constexpr Upgrade kWhich[3] = {Upgrade::kArmour, Upgrade::kGuns, Upgrade::kSpeed};
  for (int32_t k = 0; k < 3; ++k) {
    const bool open = UpgradeLimit(w.shipChoice, kWhich[k]) > points[k] && w.upgradePoints > 0;
    Colour(open ? kWhite : kGrey);
    const double top = 81.5 + 7.6 * k / 3, bottom = 83.5 + 7.6 * k / 3;
    h.Picture(button, 96.5, top, 98, bottom);
    if (w.upgradePoints > 0 && OnUpgradeButton(h.W, h.H, mouse, k)) {
      glBlendFunc(GL_SRC_COLOR, GL_ONE);
      Colour(w.mouseLeftHeld == 1 ? kWhite : kGrey);
      h.Picture(button, 96.5, top, 98, bottom);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
  }
  Colour(kUpgradeLabelColour);
  static constexpr const char* kLabels[8] = {
      nullptr,
      "\x20\xD3\xF0\xEE\xE2\xE5\xED\xFC:",  // " Уровень:"
      "\x20\x20\x20\xC1\xF0\xEE\xED\xFF:",  // "   Броня:"
      "\x20\x20\xCE\xF0\xF3\xE4\xE8\xFF:",  // "  Орудия:"
      "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC:",  // "Скорость:"
      "\xCE\xEF\xFB\xF2:",                  // "Опыт:"
      "\xD1\xEB\xE5\xE4:",                  // "След:"
      "\x20\x20\x20\x20\xCE\xF7\xEA\xE8:",  // "    Очки:"
  };
  auto rowB = [](int32_t i) { return 57.1 + 1.9 * i; };
  h.Text(w.playerName.View(), 83.2, rowB(0), 3.1, 3.1, -1.2);
  for (int32_t i = 1; i < 8; ++i) h.Text(kLabels[i], 83.2, rowB(i), 3.1, 3.1, -1.2);
  Colour(kUpgradeValueColour);
  struct Value {
    int32_t row;
    int64_t value;
    double column;
  };
  const Value values[] = {
      {1, w.heroLevel, 92.1},     {2, w.armourPoints, 92.1},
      {3, w.gunPoints, 92.1},     {4, w.speedPoints, 92.1},
      {5, w.experience, 88.0},    {6, HeroLevelThreshold(w.heroLevel), 88.0},
      {7, w.upgradePoints, 92.1},
  };
  for (const Value& v : values) {
    h.Text(DecimalText({}, v.value).View(), v.column, rowB(v.row), 3.1, 3.1, -1.2);
  }
  Colour(kWhite);
  h.Picture(res.Texture("minimap"), 70, 60, 100, 100);
}

void DrawRadarDots(const Hud& h, uint8_t& radarContacts) {
  const WorldState& w = h.w;
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_POINT_SMOOTH);
  radarContacts = 0;
  glPointSize(static_cast<float>(h.W * 0.003125));
  const float alpha = static_cast<float>(w.radarAlpha);
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    RadarDot dot;
    if (i == w.playerUnit) Colour(kWhite);
    if (!RadarDotOf(w, i, dot)) continue;
    glBegin(GL_POINTS);
    glColor4f(dot.r, dot.g, dot.b, alpha);
    glVertex3d(dot.x, dot.y, -1);
    glEnd();
    radarContacts = 1;
  }
  Colour(kWhite);
  glEnable(GL_TEXTURE_2D);
}

// The radar's pictures (a disc and its compass ring, each centred in its picture) in a square
// centred on the player's point, so that the ship sits in the middle of the disc whatever the
// display's shape; a dot at the radar's 28-unit reach lands inside the disc.
void RadarPicture(const Hud& h, uint32_t texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  h.scene.DrawQuad(kRadarCentreX - kRadarHalfSide, kRadarCentreY - kRadarHalfSide,
                   kRadarCentreX + kRadarHalfSide, kRadarCentreY + kRadarHalfSide);
}

void DrawRadar(const Hud& h, const GameResources& res, uint8_t& radarContacts) {
  const float alpha = static_cast<float>(h.w.radarAlpha);
  glColor4f(1, 1, 1, alpha);
  if (h.w.radarAlpha > 0) RadarPicture(h, res.Texture("podlogka"));
  DrawRadarDots(h, radarContacts);
  glColor4f(1, 1, 1, alpha);
  if (h.w.radarAlpha > 0) RadarPicture(h, res.Texture("kompas"));
}

void DrawBars(const Hud& h, const GameResources& res) {
  const UnitRecord* p = PlayerUnit(h.w);
  if (p == nullptr) return;
  struct Bar {
    float value, maximum;
    const char* texture;
    const char* mask;
    double top, bottom;
  };
  const Bar bars[5] = {
      {p->life, p->maxLife, "stripe1", "stripe1A", 94.55, 98.95},
      {p->reload, p->maxReload, "stripe2", "stripe2A", 83.4, 87.8},
      {p->power, p->maxPower, "stripe3", "stripe3A", 83.4, 87.8},
      {p->sideReload, p->maxSideReload, "stripe2", "stripe2A", 88.9, 93.3},
      {p->sidePower, p->maxSidePower, "stripe3", "stripe3A", 88.9, 93.3},
  };
  Colour(kWhite);
  for (const Bar& b : bars) {
    if (!(static_cast<double>(b.value) * b.maximum > 0)) continue;
    // A value above its maximum (or a huge one from a file) fills the bar and no more.
    const double fill = std::fmin(static_cast<double>(b.value) / b.maximum, 1.0);
    const double right = 5.4 + 14.5 * fill;
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
    h.Picture(res.Texture(b.mask), 5.4, b.top, right, b.bottom);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    h.Picture(res.Texture(b.texture), 5.4, b.top, right, b.bottom);
  }
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  h.Picture(res.Texture("interfacetex"), 0, 72, 21, 100);
}

void DrawStatusIcons(const Hud& h, const GameResources& res, Random& flicker) {
  const WorldState& w = h.w;
  for (int32_t s = 0; s < kStatusIconSlots; ++s) {
    const int32_t icon = w.statusIcons[s + 1];
    const double top = 20 + 5.5 * s;
    auto timer = [&](double value) {
      const HudText t = StatusTimerText(value);
      Colour(kBlack);
      h.Text(t.View(), 84.3, 5.5 * s + 15.3, 5, 5, -1.6);
      Colour(kWhite);
      h.Text(t.View(), 84.0, 5.5 * s + 15, 5, 5, -1.6);
    };
    if (icon == 1) {
      timer(w.bonusTimer);
      Colour(kWhite);
      h.Picture(res.Texture("haste"), 90, top, 95, top + 5);
    } else if (icon == 12) {
      timer(w.respawnProtection);
      const float u3 = static_cast<float>(flicker.Real());
      const float u2 = static_cast<float>(flicker.Real());
      const float u1 = static_cast<float>(flicker.Real());
      glColor4f(0.5f + 0.5f * u1, 0.1f + 0.5f * u2, 0.5f + 0.5f * u3, 1);
      h.Picture(res.Texture("undead"), 90, top, 95, top + 5);
      Colour(kWhite);
    } else if (icon >= bonus::kKey1 && icon <= bonus::kKey3) {
      static constexpr Color4f kKeys[3] = {{1, 0.1f, 0.1f, 1}, {0.1f, 1, 0.1f, 1}, {1, 1, 0.1f, 1}};
      Colour(kKeys[icon - bonus::kKey1]);
      h.Picture(res.Texture("key"), 90, top, 95, top + 5);
      Colour(kWhite);
    }
  }
}

void DrawCoinCounter(const Hud& h, const GameResources& res) {
  const WorldState& w = h.w;
  const double l = w.pickupFlashLevel;
  const HudText text = DecimalText("x", w.coins);
  Colour(kBlack);
  h.Text(text.View(), l + 0.3, 7.8, 5, 5, -1.6);
  Colour(kCoinText);
  h.Text(text.View(), l, 7.5, 5, 5, -1.6);
  Colour(kWhite);
  const int32_t f = TruncToInt(w.hudAnimFrame);
  if (f < 0 || f >= kBonusFrames) return;  // the coin frame stays out, the rest is drawn
  glBindTexture(GL_TEXTURE_2D, res.handles.bonusFrames[bonus::kCoin][f]);
  glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
  h.scene.DrawRectPercent(l - 3, 9.9, l + 1.5, 16.2);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  h.scene.DrawRectPercent(l - 3, 9.9, l + 1.5, 16.2);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  Colour(kCoinGlint);
  h.Picture(res.Texture("bliks"), l - 3, 9.9, l + 1.5, 16.2);
  Colour(kWhite);
}

}  // namespace

TRect TextCell(int32_t width, int32_t height, double a, double b, double r, double d) {
  const double W = width, H = height;
  const int32_t left = RoundToInt(a * W / 100), top = RoundToInt(b * W / 100);
  return {left + RoundToInt(W / 100), top + RoundToInt(0.5 * H / 100),
          left + RoundToInt(r * W / 100), top + RoundToInt(d * H / 100)};
}

int32_t TextSpacing(int32_t width, double s) {
  return RoundToInt(s * width / 100);
}

HudText DecimalText(std::string_view prefix, int64_t value) {
  HudText t;
  const size_t n = prefix.size() < 8 ? prefix.size() : 8;
  if (n > 0) std::memcpy(t.chars, prefix.data(), n);  // an empty view may hold no pointer
  const auto end = std::to_chars(t.chars + n, t.chars + sizeof(t.chars), value).ptr;
  t.length = static_cast<int32_t>(end - t.chars);
  return t;
}

HudText StatusTimerText(double timer) {
  const int32_t v = TruncToInt(timer);
  return DecimalText(v < 10 ? " " : "", v);
}

bool OnUpgradeButton(int32_t width, int32_t height, TPoint mouse, int32_t k) {
  if (width <= 0 || height <= 0) return false;
  const int32_t x = TruncToInt(static_cast<double>(mouse.x) / width * 1000);
  const int32_t y = TruncToInt(static_cast<double>(mouse.y) / height * 1000);
  const int32_t t = TruncToInt(76.0 * k / 3);
  return x >= 965 && x <= 980 && y >= 815 + t && y <= 835 + t;
}

bool RadarDotOf(const WorldState& w, int32_t i, RadarDot& dot) {
  const UnitRecord* p = PlayerUnit(w);
  if (p == nullptr || i < 1 || i >= kUnitSlots || i == w.playerUnit) return false;
  const UnitRecord& u = w.units[i];
  if (u.sinking != 0 || u.alive != 1) return false;
  const double dx = u.posX - p->posX, dy = u.posY - p->posY, dz = u.posZ - p->posZ;
  if (!(std::sqrt(dx * dx + dy * dy + dz * dz) <= 28)) return false;
  const int32_t k = u.unitKind;
  if (k == kind::kCoinChest) {
    dot.r = 1, dot.g = 1, dot.b = 0;
  } else if ((k >= 6 && k <= 27) || k == 32 || k == 33 || (k >= 35 && k <= 255)) {
    dot.r = 1, dot.g = 0, dot.b = 0;
  } else {
    return false;  // kinds 0..5, 28..31, 34 and anything outside 0..255
  }
  dot.x = kRadarCentreX - dx / 210;
  dot.y = kRadarCentreY + dz / 210;
  return true;
}

void DrawHud(DrawContext& c, uint8_t& radarContacts) {
  const WorldState& w = c.w;
  const GameResources& res = c.res;
  const Hud h{w, c.scene, c.scene.Width, c.scene.Height, res.handles.largeFontTexture};
  glPushMatrix();
  glDisable(GL_DEPTH_TEST);
  glLoadIdentity();
  glEnable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  Colour(kWhite);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (w.flashScale > 0) DrawLives(h, res);
  if (w.infoPanelUnlocked != 0 && w.infoPanelOpen != 0) DrawInformationPanel(h, res);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (w.upgradePanelUnlocked == 1 && w.upgradePanelOpen == 1) {
    DrawUpgradePanel(h, res, c.rs.mouse);
  }
  if (w.radarUnlocked == 1) DrawRadar(h, res, radarContacts);
  Colour(kWhite);
  if (w.gunsUnlocked == 1) DrawBars(h, res);
  DrawStatusIcons(h, res, c.rs.flicker);
  if (w.pickupFlashLevel > -9) DrawCoinCounter(h, res);
  glPopMatrix();
}

void DrawCursor(DrawContext& c) {
  TKTZGL_Scene& scene = c.scene;
  const int32_t W = scene.Width, H = scene.Height;
  if (W <= 0 || H <= 0) return;
  scene.Camera.FieldOfView = 90.0;
  scene.Camera.SetProjection(W, H);
  glDisable(GL_DEPTH_TEST);
  glLoadIdentity();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, c.res.Texture("Cursor1"));
  const TPoint m = c.rs.mouse;
  const double px = static_cast<double>(m.x) / W * 100, py = static_cast<double>(m.y) / H * 100;
  Colour(kBlack);
  scene.DrawRectPercent(px + 0.3, py, px + 4.8, py + 6);
  Colour(kWhite);
  scene.DrawRectPercent(px, py, px + 4.5, py + 6);
  const std::string& name = c.w.hoverName;
  if (name.empty()) return;
  glBindTexture(GL_TEXTURE_2D, c.res.handles.largeFontTexture);
  const int32_t lift = RoundToInt(2.5 * W / 100);
  const TRect cell = {m.x + RoundToInt(W / 100.0), m.y + RoundToInt(0.5 * H / 100) - lift,
                      m.x + RoundToInt(3.1 * W / 100), m.y + RoundToInt(3.1 * H / 100) - lift};
  scene.DrawText(cell, name, TextSpacing(W, -1.2));
}

}  // namespace skerrow
