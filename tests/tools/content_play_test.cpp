// The built content pack's levels in the real play step: what a player meets there because of
// the pack's numbers and placement. A thrown switch sends one heavy shell from each of its
// linked guns.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "pack_play.h"
#include "platform/paths.h"
#include "simulation/play_update.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

bool PackBuilt() {
  return fs::exists(fs::path(kPackRoot) / "gdata" / "Skerrow.qvp");
}

// Level 3:1's switch, thrown twice 15 s apart as a cannonball's hit throws it (its reload to 0),
// fires each linked gun once per throw.
TEST(PackInPlay, EachThrowOfASwitchFiresEachLinkedGunOnce) {
  if (!PackBuilt()) GTEST_SKIP() << "no content pack in " << kPackRoot;
  InvalidatePathCache();
  QuietLevelHost levels;
  std::unique_ptr<WorldState> ws = NewPlayerOn(3, 203, levels);
  ASSERT_NE(ws, nullptr);
  PackPlayHost host(*ws, levels);
  int32_t sw = 0;
  std::map<int32_t, int> shots;  // linked gun -> heavy shells fired
  for (int32_t i = 1; i < kUnitSlots; ++i)
    if (ws->units[i].alive == 1 && ws->units[i].unitKind == kind::kSwitch) sw = i;
  ASSERT_GT(sw, 0) << "level 3:1 has no switch";
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    const UnitRecord& u = ws->units[i];
    if (u.alive == 1 && KindRoleOf(u.unitKind)->kindClass == unit_class::kLinkedGun &&
        static_cast<int32_t>(u.rotateSpeed) == sw)
      shots[i] = 0;
  }
  ASSERT_FALSE(shots.empty()) << "no gun is linked to the switch";
  for (int throwNo = 1; throwNo <= 2; ++throwNo) {
    ws->units[sw].reload = 0;
    ws->respawnProtection = 1000;  // the player's ship stays out of it
    for (int step = 0; step < 25 * 15; ++step) {
      std::map<int32_t, double> before;
      for (auto& [gun, n] : shots) before[gun] = ws->units[gun].reload;
      PlayUpdate(*ws, host);
      for (auto& [gun, n] : shots)
        if (ws->units[gun].reload < before[gun]) ++n;  // a shot empties the reload
    }
    for (auto& [gun, n] : shots) EXPECT_EQ(n, throwNo) << "gun " << gun << ", throw " << throwNo;
  }
}

}  // namespace
}  // namespace skerrow::content
