// The HUD of the play view (lives, information and upgrade panels, radar, bars, status icons,
// coin counter) and the mouse cursor: the placement rules the passes and their tests share.
// The passes themselves are declared in later_passes.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/ktzgl.h"  // TRect, TPoint

namespace skerrow {

struct WorldState;

// A text cell from an anchor (a, b) in percent of the display WIDTH (both coordinates), with
// width r and height d: left = Round(aW/100) + Round(W/100), top = Round(bW/100) +
// Round(0.5H/100), right = Round(aW/100) + Round(rW/100), bottom = Round(bW/100) + Round(dH/100).
TRect TextCell(int32_t width, int32_t height, double a, double b, double r, double d);
// Character spacing Round(s W / 100) pixels (negative: characters overlap their cells).
int32_t TextSpacing(int32_t width, double s);

// A short line of HUD text in a fixed buffer (the HUD allocates nothing per frame).
struct HudText {
  char chars[32] = {};
  int32_t length = 0;
  std::string_view View() const { return {chars, static_cast<size_t>(length)}; }
};
// `prefix` followed by `value` in decimal ("x" and 12 give "x12").
HudText DecimalText(std::string_view prefix, int64_t value);
// A status timer: Trunc(timer) in decimal, with one leading blank below 10 (7.9 gives " 7").
HudText StatusTimerText(double timer);

// The upgrade panel's colours. Its picture, params.qvt, is also the windows' light parchment
// (under their dark text): here it is drawn in the sky colour darkened to kUpgradePanelShade, so
// that the light labels and the yellow values stand at least 4.5 : 1 (WCAG's bar for text)
// against it under the brightest sky, whatever the sea shows through its edge.
inline constexpr float kUpgradePanelShade = 0.35f;
inline constexpr Color4f kUpgradeLabelColour = {1, 0.8f, 0.5f, 1};
inline constexpr Color4f kUpgradeValueColour = {1, 1, 0, 1};

// True when the cursor pixel lies on upgrade button k (0 armour, 1 guns, 2 speed): per mille
// of the display, 965..980 across and 815 + t .. 835 + t down, t = 0, 25, 50, edges included.
bool OnUpgradeButton(int32_t width, int32_t height, TPoint mouse, int32_t k);

// The radar dot of unit i: false when it gets none (not alive, sinking, the player's own unit,
// farther than 28 from the player, or a kind without a dot); otherwise its colour (red, or
// yellow for the coin chest) and its place in overlay coordinates, the player at (1.13, 0.82).
struct RadarDot {
  float r = 0, g = 0, b = 0;
  double x = 0, y = 0;
};
bool RadarDotOf(const WorldState& w, int32_t i, RadarDot& dot);

}  // namespace skerrow
