// The campaign check: an autopilot plays the built content pack through the real play step, as
// a player at the keyboard would. Each step it reads the state and holds the keys: sail toward
// the next waypoint of the level's route, fire the bow gun at an enemy ahead and a side battery
// at one abeam (an aircraft only with a fully charged bow gun), and at a boss's lair fight the
// boss until it sinks. It must cross every level from its entry to its exit without losing the
// ship and defeat each boss: from the first level of episode 1 to the outro, and from the first
// level of the secret episode to the outro.
//
// About 5 s: it runs with the default tests (`build/tools_tests --gtest_filter='*Autopilot*'`).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "pack_play.h"
#include "platform/paths.h"
#include "platform/vk_codes.h"
#include "simulation/play_update.h"
#include "world_levels.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

constexpr double kPi = std::numbers::pi;

double WrapAngle(double a) {
  return std::remainder(a, 2 * kPi);
}

// The heading (forward = (-sin h, -cos h)) that points from (x, z) toward (tx, tz).
double HeadingToward(double x, double z, double tx, double tz) {
  return std::atan2(-(tx - x), -(tz - z));
}

bool IsBoss(int32_t k) {
  return k == kind::kPirateFlagship || k == kind::kIronclad || k == kind::kFlyingFortress;
}

// One step of the autopilot: which keys to hold.
class Autopilot {
 public:
  void Step(const WorldState& ws, std::set<int>& held) {
    if (ws.episode != episode_ || ws.levelNumber != level_) {
      episode_ = ws.episode;
      level_ = ws.levelNumber;
      route_ = LevelRoute(episode_, level_);
      next_ = 1;
    }
    const UnitRecord& p = ws.units[ws.playerUnit];
    while (next_ + 1 < route_.size() &&
           std::hypot(route_[next_].x - p.posX, route_[next_].z - p.posZ) < 4)
      ++next_;
    double tx = route_[next_].x, tz = route_[next_].z;
    // At the lair a living boss is the target: close in to gun range and hold there.
    const UnitRecord* boss = nullptr;
    for (int32_t i = 1; i < kUnitSlots; ++i) {
      const UnitRecord& u = ws.units[i];
      if (u.alive == 1 && u.sinking == 0 && IsBoss(u.unitKind)) boss = &u;
    }
    bool closing = true;
    if (boss != nullptr && next_ >= 4) {
      tx = boss->posX, tz = boss->posZ;
      closing = std::hypot(tx - p.posX, tz - p.posZ) > 6;
    }
    const double error = WrapAngle(HeadingToward(p.posX, p.posZ, tx, tz) - p.rotY);
    held.clear();
    if (error > 0.06) held.insert(kVkLeft);  // the left turn raises the heading
    if (error < -0.06) held.insert(kVkRight);
    if (closing || std::abs(error) > 0.5) held.insert(kVkUp);
    // Fire at the nearest enemy in reach: bow gun ahead, side batteries abeam. A weapon fires
    // on the key's release, so the key is held one step and released the next.
    ++tick_;
    const UnitRecord* target = nullptr;
    double best = 10;
    for (int32_t i = 1; i < kUnitSlots; ++i) {
      const UnitRecord& u = ws.units[i];
      if (i == ws.playerUnit || u.alive != 1 || u.sinking != 0 || u.haveAI != 1) continue;
      const double d = std::hypot(u.posX - p.posX, u.posZ - p.posZ);
      if (d < best) best = d, target = &u;
    }
    if (target == nullptr) return;
    const double bearing =
        WrapAngle(HeadingToward(p.posX, p.posZ, target->posX, target->posZ) - p.rotY);
    if (target->posY > 2) {
      // Only a full charge of the bow gun climbs to an aircraft: hold W until the power is
      // full and the target ahead, then let go.
      if (p.power < p.maxPower || std::abs(bearing) >= 0.35) held.insert('W');
      return;
    }
    if (tick_ % 2 == 0) return;
    if (std::abs(bearing) < 0.35) held.insert('W');
    if (std::abs(bearing - kPi / 2) < 0.5) held.insert('A');  // heading + 90: the left side
    if (std::abs(bearing + kPi / 2) < 0.5) held.insert('D');
  }

 private:
  int32_t episode_ = 0, level_ = 0;
  std::vector<Waypoint> route_;
  size_t next_ = 1;
  int64_t tick_ = 0;
};

// Plays from the first level of `episode` until the outro; returns what went wrong, or "".
std::string PlayToTheEnd(int32_t episode, std::vector<std::string>& visited) {
  QuietLevelHost levels;
  std::unique_ptr<WorldState> ws = NewPlayerOn(episode, 200 + episode, levels);
  if (!ws) return "the episode did not load";
  if (episode > 1) {
    // A player who reaches a later episode has had the tutorial and the first boss's reward.
    ws->gunsUnlocked = ws->mouseSteering = ws->radarUnlocked = 1;
    ws->weaponSUnlocked = ws->weaponZUnlocked = ws->weaponXUnlocked = 1;
  }
  PackPlayHost host(*ws, levels);
  Autopilot pilot;
  int32_t e = 0, n = 0;
  int64_t stepsHere = 0;
  constexpr int64_t kStepsPerLevel = 25 * 60 * 8;  // eight minutes of play a level
  while (!levels.outro) {
    if (ws->episode != e || ws->levelNumber != n) {
      e = ws->episode, n = ws->levelNumber;
      visited.push_back(std::to_string(e) + ":" + std::to_string(n));
      stepsHere = 0;
    }
    const UnitRecord& p = ws->units[ws->playerUnit];
    if (++stepsHere > kStepsPerLevel) {
      std::string near;
      for (int32_t i = 2; i < kUnitSlots; ++i) {
        const UnitRecord& u = ws->units[i];
        if (u.alive == 1 && std::hypot(u.posX - p.posX, u.posZ - p.posZ) < 8)
          near += " kind " + std::to_string(u.unitKind) + " at " + std::to_string(u.posX) + ", " +
                  std::to_string(u.posY) + ", " + std::to_string(u.posZ) + ";";
      }
      return "the autopilot did not leave level " + visited.back() + " (the ship is at " +
             std::to_string(p.posX) + ", " + std::to_string(p.posZ) + ", keys " +
             std::to_string(ws->keys[0]) + std::to_string(ws->keys[1]) +
             std::to_string(ws->keys[2]) + "; near it:" + near + ")";
    }
    if (p.sinking == 1 || p.life <= 0) {
      std::string boss;
      for (int32_t i = 1; i < kUnitSlots; ++i) {
        const UnitRecord& u = ws->units[i];
        if (u.alive == 1 && u.sinking == 0 && IsBoss(u.unitKind))
          boss = " (boss life " + std::to_string(u.life) + " of " + std::to_string(u.maxLife) + ")";
      }
      return "the ship was lost in level " + visited.back() + " after " +
             std::to_string(stepsHere) + " steps" + boss;
    }
    pilot.Step(*ws, host.held);
    PlayUpdate(*ws, host);
  }
  return "";
}

TEST(CampaignAutopilot, EveryLevelIsWonFromTheFirstToTheOutro) {
  if (!fs::exists(fs::path(kPackRoot) / "gdata" / "Skerrow.qvp"))
    GTEST_SKIP() << "no content pack in " << kPackRoot;
  InvalidatePathCache();
  std::vector<std::string> main, secret;
  EXPECT_EQ(PlayToTheEnd(1, main), "");
  EXPECT_EQ(PlayToTheEnd(4, secret), "");
  std::set<std::string> all(main.begin(), main.end());
  all.insert(secret.begin(), secret.end());
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e)
    for (int32_t n = 1; n <= CampaignEpisode(e).levels; ++n)
      EXPECT_TRUE(all.count(std::to_string(e) + ":" + std::to_string(n))) << e << ":" << n;
}

// The autopilot's own footing, which holds already: every route runs from the player's start
// through open water, never closer than two units to an island's shore.
TEST(CampaignAutopilot, EveryRouteRunsThroughOpenWater) {
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e) {
    for (int32_t n = 1; n <= CampaignEpisode(e).levels; ++n) {
      SCOPED_TRACE(std::to_string(e) + ":" + std::to_string(n));
      LevelData level = BuildLevel(e, n);
      const std::vector<Waypoint> route = LevelRoute(e, n);
      ASSERT_GE(route.size(), 2u);
      const UnitRecord& p = level.state->units[1];
      EXPECT_DOUBLE_EQ(route[0].x, p.posX);
      EXPECT_DOUBLE_EQ(route[0].z, p.posZ);
      for (size_t i = 1; i < route.size(); ++i) {
        const double len = std::hypot(route[i].x - route[i - 1].x, route[i].z - route[i - 1].z);
        for (double t = 0; t <= len; t += 0.5) {
          const double x = route[i - 1].x + (route[i].x - route[i - 1].x) * t / std::max(len, 1e-9);
          const double z = route[i - 1].z + (route[i].z - route[i - 1].z) * t / std::max(len, 1e-9);
          for (int k = 0; k < 8; ++k) {
            const double a = k * kPi / 4;
            ASSERT_EQ(LevelLandHeight(*level.state, x + 2 * std::cos(a), z + 2 * std::sin(a)), 0)
                << "land at " << x << ", " << z;
          }
        }
      }
      // The route ends inside the band of the edge that leads on (15 units).
      const Waypoint& end = route.back();
      EXPECT_TRUE(end.x < 15 || end.z < 15 || end.x > kLevelSize - 15 || end.z > kLevelSize - 15);
    }
  }
}

}  // namespace
}  // namespace skerrow::content
