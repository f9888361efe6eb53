// The renderer's owner: start-up overrides handed over by the shell, applied to the one
// renderer they are given.
#include "render/renderer.h"

#include <gtest/gtest.h>

#include <memory>

#include "world/world_state.h"

namespace skerrow {
namespace {

TEST(Renderer, OverridesPickTheFloorAndTheSwitchesOfTheirRendererOnly) {
  struct Case {
    const char* quality;
    const char* switches;
    int32_t landscapeQuality;  // the world's after StartRenderer; it starts at 3
    int32_t landscapeSwitch;   // the second switch
    int32_t lastSwitch;        // the cursor switch, the last one
    const char* fastSea;       // SKERROW_FAST_SEA
    bool fastSeaOn;            // the renderer's, which starts as `stored`
    bool stored;
  };
  const Case cases[] = {
      {nullptr, nullptr, 3, 1, 1, nullptr, false, false},
      {"0", nullptr, 0, 1, 1, "1", true, false},
      {"5", "", 5, 1, 1, "0", false, true},
      {"6", "10", 3, 0, 1, nullptr, true, true},
      {"12", "1x", 3, 0, 1, "2", true, true},
      {"", "1111111111111111110", 3, 1, 0, "10", false, false},
      {"2", "11111111111111111111111", 2, 1, 1, "", false, false},
  };
  for (const Case& k : cases) {
    auto w = std::make_unique<WorldState>();
    w->landscapeQuality = 3;
    auto r = std::make_unique<Renderer>();
    auto other = std::make_unique<Renderer>();
    r->state.fastSea = k.stored;
    StartRenderer(*w, *r, ParseRenderOverrides(k.quality, k.switches, nullptr, k.fastSea));
    const char* name = k.switches ? k.switches : "(none)";
    EXPECT_EQ(r->state.fastSea, k.fastSeaOn) << name;
    EXPECT_EQ(w->landscapeQuality, k.landscapeQuality) << name;
    EXPECT_EQ(r->state.switches.landscape, k.landscapeSwitch) << name;
    EXPECT_EQ(r->state.switches.cursor, k.lastSwitch) << name;
    EXPECT_EQ(other->state.switches.landscape, 1) << name;
    EXPECT_EQ(w->shadowPlaneNormal.y, 1.0);
    EXPECT_EQ(w->shadowPlanePoint.x, -1.0);
  }
}

}  // namespace
}  // namespace skerrow
