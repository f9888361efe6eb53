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
  };
  const Case cases[] = {
      {nullptr, nullptr, 3, 1, 1},
      {"0", nullptr, 0, 1, 1},
      {"5", "", 5, 1, 1},
      {"6", "10", 3, 0, 1},
      {"12", "1x", 3, 0, 1},
      {"", "1111111111111111110", 3, 1, 0},
      {"2", "11111111111111111111111", 2, 1, 1},
  };
  for (const Case& k : cases) {
    auto w = std::make_unique<WorldState>();
    w->landscapeQuality = 3;
    auto r = std::make_unique<Renderer>();
    auto other = std::make_unique<Renderer>();
    StartRenderer(*w, *r, ParseRenderOverrides(k.quality, k.switches));
    const char* name = k.switches ? k.switches : "(none)";
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
