// Episode 1 level layouts: islands with objects, sea-floor height map, units, pickups, exits.
#include "world_levels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

#include "noise.h"
#include "object_kinds.h"
#include "world_islands.h"
#include "world_kinds.h"

namespace skerrow::content {

namespace {

constexpr double kPi = std::numbers::pi;

struct LevelPlan {
  uint32_t seed;
  int islands;
  double startX, startZ;  // the player's start, heading toward -z
  int32_t exitMinusZ;     // level across the -z edge (0 = none; 500 = end of the game)
  int32_t exitPlusZ;      // level across the +z edge
  int gunboats, patrols, torpedoBoats, fireShips, brigs, frigates;
  int batteries, forts, mines, chests;
  int32_t skyZone;  // sky colour zone kind met halfway (0 = none)
  // An island in sight of the start (0 = none): piece, and its centre relative to the start.
  // The start camera stands 11.6 units toward -z from the ship and looks toward +z.
  int32_t viewPiece;
  double viewDX, viewDZ;
};

constexpr LevelPlan kPlans[kEpisode1Levels] = {
    // A quiet first bay, a pirate archipelago, and the fortified strait that ends the episode.
    {101, 26, 60, 220, 2, 0, 3, 3, 0, 0, 0, 0, 2, 1, 2, 2, 8, 2, -8.5, 3.0},
    {202, 30, 128, 220, 3, 1, 4, 3, 2, 2, 2, 0, 3, 1, 4, 2, 0, 0, 0, 0},
    {303, 32, 128, 220, 500, 2, 4, 2, 2, 2, 2, 2, 4, 3, 6, 3, 9, 0, 0, 0},
};

struct Placed {
  int32_t piece;
  double x, z;
};

bool OnLandNear(const SavedState& s, double x, double z, double margin) {
  if (LevelLandHeight(s, x, z) > 0) return true;
  for (int k = 0; k < 8; ++k) {
    double a = k * kPi / 4;
    if (LevelLandHeight(s, x + margin * std::cos(a), z + margin * std::sin(a)) > 0) return true;
  }
  return false;
}

void PlaceObjects(StaticRecord& st, Rng& rng, bool fortified) {
  int next = 1;
  auto add = [&](int32_t kind, double dx, double dz) {
    if (next > 32) return;
    StaticObjectRecord& o = st.objects[next++];
    o.posX = dx;
    o.posY = IslandHeight(st.terrainKind, dx, dz);
    o.posZ = dz;
    o.rotY = rng.Range(0, 2 * kPi);
    o.objectKind = kind;
    o.alive = 1;
  };
  // Candidate points on the piece, sorted into bands by height.
  int wanted = st.terrainKind == 4 ? 4 : (st.terrainKind == 5 ? 12 : 18);
  int huts = (st.terrainKind == 1 || st.terrainKind == 2) ? 1 + rng.Int(2) : 0;
  for (int tries = 0; tries < 400 && next <= wanted; ++tries) {
    double dx = rng.Range(-4.2, 4.2), dz = rng.Range(-4.2, 4.2);
    double h = IslandHeight(st.terrainKind, dx, dz);
    double slope = std::abs(IslandHeight(st.terrainKind, dx + 0.2, dz) - h) +
                   std::abs(IslandHeight(st.terrainKind, dx, dz + 0.2) - h);
    if (h < 0.05) continue;
    if (h < 0.25) {
      if (rng.Int(6) == 0)
        add(rng.Int(3) == 0 ? 2 : 11, dx, dz);  // boulders and crates on the beach
      continue;
    }
    if (huts > 0 && slope < 0.12 && h < 1.2) {
      add(6, dx, dz);
      if (rng.Int(2) == 0) add(4, dx + 0.6, dz + 0.4);  // a campfire by the hut
      --huts;
      continue;
    }
    if (slope > 0.35 || h > 2.6) {
      add(rng.Int(2) == 0 ? 3 : 2, dx, dz);
      continue;
    }
    int r = rng.Int(10);
    add(r < 5 ? 1 : (r < 7 ? 5 : (r < 9 ? 8 : 2)), dx, dz);
  }
  if (fortified) {
    // A watchtower and a stretch of wall on the highest ground near the middle.
    add(7, 0.6, -0.4);
    add(9, -0.8, 0.5);
    add(9, 0.9, 0.8);
  }
}

UnitRecord UnitAt(int32_t kind, double x, double y, double z, double heading) {
  const KindInfo* info = FindKind(kind);
  if (!info) throw std::runtime_error("unit kind without a table row");
  UnitRecord u = MakeUnitRecord(*info);
  u.posX = x;
  u.posY = y;
  u.posZ = z;
  u.rotY = heading;
  return u;
}

}  // namespace

double LevelLandHeight(const SavedState& s, double x, double z) {
  double result = 0;
  for (int32_t i = 1; i < kStaticSlots && s.statics[i].alive == 1; ++i) {
    const StaticRecord& st = s.statics[i];
    double dx = x - st.posX, dz = z - st.posZ;
    if (std::abs(dx) < 5 && std::abs(dz) < 5)
      result = std::max(result, IslandHeight(st.terrainKind, dx, dz));
  }
  return result;
}

LevelData BuildLevel(int32_t number) {
  if (number < 1 || number > kEpisode1Levels) throw std::runtime_error("no such level");
  const LevelPlan& plan = kPlans[number - 1];
  LevelData level;
  level.number = number;
  level.state = std::make_unique<SavedState>();
  SavedState& s = *level.state;
  std::memset(&s, 0, sizeof s);
  Rng rng(plan.seed);

  // Islands: spaced so that channels of open water run between them, none near the start
  // (except the one placed in sight of it) or the map edges.
  std::vector<Placed> islands;
  if (plan.viewPiece > 0)
    islands.push_back({plan.viewPiece, plan.startX + plan.viewDX, plan.startZ + plan.viewDZ});
  for (int tries = 0; tries < 20000 && static_cast<int>(islands.size()) < plan.islands; ++tries) {
    Placed p{1 + rng.Int(kIslandPieceCount), rng.Range(14, kLevelSize - 14),
             rng.Range(22, kLevelSize - 22)};
    if (std::hypot(p.x - plan.startX, p.z - plan.startZ) < 16) continue;
    bool clear = true;
    for (const Placed& q : islands)
      if (std::hypot(p.x - q.x, p.z - q.z) < 11.5) clear = false;
    if (clear) islands.push_back(p);
  }
  for (size_t i = 0; i < islands.size(); ++i) {
    StaticRecord& st = s.statics[i + 1];
    st.alive = 1;
    st.terrainKind = islands[i].piece;
    st.posX = islands[i].x;
    st.posZ = islands[i].z;
  }
  // Fortified islands carry the shore batteries and forts; the rest get palms, huts and rocks.
  int fortified = plan.batteries + plan.forts;
  std::vector<int> guns;  // static slots with a gun on them
  for (size_t i = 0; i < islands.size(); ++i) {
    bool big = islands[i].piece == 1 || islands[i].piece == 3 || islands[i].piece == 6;
    bool fort = big && static_cast<int>(guns.size()) < fortified;
    if (fort) guns.push_back(static_cast<int>(i + 1));
    PlaceObjects(s.statics[i + 1], rng, fort);
  }

  // Sea floor: deep water with reefs and shallow shelves around every island.
  for (int32_t x = 0; x < kMapSize; ++x) {
    for (int32_t z = 0; z < kMapSize; ++z) {
      double n = Fbm(x / 160.0, z / 160.0, plan.seed + 7, 3);
      double reef = ValueNoise(x / 23.0, z / 23.0, plan.seed + 8);
      double h = 40 + 150 * n;
      if (reef > 0.72) h = Lerp(h, 205, SmoothStep(0.72, 0.85, reef));
      s.heightMap[x][z] = static_cast<uint8_t>(std::clamp(h, 0.0, 255.0));
    }
  }
  // The shelf is full across the island piece's whole 10 x 10 square (corners 7.1 from the
  // centre): the piece's underwater skirt, down to 1.2 below the sea, then lies under the floor
  // instead of standing on it as a square ledge.
  for (const Placed& p : islands) {
    int cx = static_cast<int>(p.x * 2), cz = static_cast<int>(p.z * 2);
    for (int x = std::max(0, cx - 34); x <= std::min(kMapSize - 1, cx + 34); ++x) {
      for (int z = std::max(0, cz - 34); z <= std::min(kMapSize - 1, cz + 34); ++z) {
        double d = std::hypot(x / 2.0 - p.x, z / 2.0 - p.z);
        double shelf = 242 - 8 * ValueNoise(x / 5.0, z / 5.0, plan.seed + 9);
        double t = SmoothStep(16.5, 7.5, d);
        double v = Lerp(s.heightMap[x][z], shelf, t);
        s.heightMap[x][z] =
            static_cast<uint8_t>(std::max<double>(s.heightMap[x][z], std::clamp(v, 0.0, 255.0)));
      }
    }
  }
  for (int32_t i = 0; i < 4; ++i) s.terrainView[i] = (i == 0 || i == 2) ? 47 : (i == 1 ? 14 : 64);

  // Units. Slot 1: the player's start.
  int32_t slot = 1;
  auto put = [&](const UnitRecord& u) {
    if (slot >= kUnitSlots) throw std::runtime_error("unit table full");
    s.units[slot++] = u;
  };
  put(UnitAt(kind::kPaddleSteamer, plan.startX, 0, plan.startZ, 0));
  s.units[1].haveAI = 0;
  auto seaSpot = [&](double margin, double minFromStart) {
    for (int tries = 0; tries < 5000; ++tries) {
      double x = rng.Range(20, kLevelSize - 20), z = rng.Range(24, kLevelSize - 24);
      if (std::hypot(x - plan.startX, z - plan.startZ) < minFromStart) continue;
      if (OnLandNear(s, x, z, margin)) continue;
      return std::pair<double, double>(x, z);
    }
    throw std::runtime_error("no open water left for a unit");
  };
  auto ships = [&](int32_t kind, int count) {
    for (int k = 0; k < count; ++k) {
      auto [x, z] = seaSpot(FindKind(kind)->radius + 1.0, 40);
      put(UnitAt(kind, x, 0, z, rng.Range(0, 2 * kPi)));
    }
  };
  ships(kind::kGunboat, plan.gunboats);
  ships(kind::kPatrolBoat, plan.patrols);
  ships(kind::kTorpedoBoat, plan.torpedoBoats);
  ships(kind::kFireShip, plan.fireShips);
  ships(kind::kBrig, plan.brigs);
  ships(kind::kFrigate, plan.frigates);
  ships(kind::kSeaMine, plan.mines);
  ships(kind::kCoinChest, plan.chests);
  // Shore guns stand on the beach of the fortified islands, facing the open sea.
  for (size_t g = 0; g < guns.size(); ++g) {
    const StaticRecord& st = s.statics[guns[g]];
    int32_t kind = static_cast<int>(g) < plan.batteries ? kind::kShoreBattery : kind::kCoastalFort;
    double best = -1, bx = 0, bz = 0;
    for (int k = 0; k < 24; ++k) {
      double a = k * kPi / 12, r = 1.0;
      while (r < 4.5 && IslandHeight(st.terrainKind, r * std::cos(a), r * std::sin(a)) > 0.5)
        r += 0.1;
      double h = IslandHeight(st.terrainKind, r * std::cos(a), r * std::sin(a));
      double toStart = std::hypot(st.posX + r * std::cos(a) - plan.startX,
                                  st.posZ + r * std::sin(a) - plan.startZ);
      double score = (h > 0.2 ? 1.0 : 0.0) + toStart * 0.001;
      if (h > 0.2 && score > best) best = score, bx = r * std::cos(a), bz = r * std::sin(a);
    }
    if (best < 0) continue;
    put(UnitAt(kind, st.posX + bx, IslandHeight(st.terrainKind, bx, bz), st.posZ + bz,
               std::atan2(bx, bz)));
  }
  // Exit markers: armed (sinking) exit gates holding their edges open.
  auto exitMarker = [&](int32_t edge, int32_t target) {
    if (target <= 0) return;
    UnitRecord u = UnitAt(kind::kExitMarker, 4, 0, 4, 0);
    u.acceleration = static_cast<float>(edge);
    u.rotateSpeed = static_cast<float>(target);
    u.sinking = 1;
    u.haveAI = 0;
    put(u);
  };
  exitMarker(4, plan.exitMinusZ);
  exitMarker(2, plan.exitPlusZ);

  // Bonuses: a tutorial trigger under the start that unlocks the guns and panels, coins and
  // repairs in the open water, and a sky colour zone halfway.
  int32_t b = 1;
  auto bonus = [&](int32_t kind, double x, double y, double z, float radius, int32_t tag) {
    if (b >= kBonusSlots) return;
    BonusRecord& r = s.bonuses[b++];
    r.posX = x, r.posY = y, r.posZ = z;
    r.kind = kind;
    r.radius = radius;
    r.alive = 1;
    r.tag = tag;
  };
  bonus(bonus::kHint, plan.startX, 0, plan.startZ, 0, 15);
  if (plan.skyZone > 0) bonus(plan.skyZone, kLevelSize / 2.0, 0, kLevelSize / 2.0, 30, 0);
  const int32_t pickups[] = {
      bonus::kCoin,   bonus::kCoin,      bonus::kCoin,       bonus::kCoin,     bonus::kCoin,
      bonus::kCoin,   bonus::kCoinStack, bonus::kCoinStack,  bonus::kCoinPile, bonus::kMedkit,
      bonus::kMedkit, bonus::kSpeedUp,   bonus::kProtection, bonus::kSavePoint};
  for (int32_t kind : pickups) {
    auto [x, z] = seaSpot(1.0, 10);
    bonus(kind, x, 0.2, z, 0, 0);
  }
  return level;
}

}  // namespace skerrow::content
