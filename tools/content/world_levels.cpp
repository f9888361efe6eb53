// Episode 1 level layouts: islands with objects, sea-floor height map, units, pickups, exits.
#include "world_levels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

#include "noise.h"
#include "object_kinds.h"
#include "world_hints.h"
#include "world_islands.h"
#include "world_kinds.h"

namespace skerrow::content {

namespace {

constexpr double kPi = std::numbers::pi;

constexpr double kHintRowSpacing = 2.0;         // 0.85 / cos 25 degrees, twice, and a little
constexpr double kTutorialGunClearance = 17.5;  // alert reach 11.5 + a gun 4.5 off its island
// The first fight: the first ship this far along the way, the next ones further on by more
// than two alert reaches (2 x 15.5 less the approach from the side), alternately to each side.
constexpr double kFirstFightAt = 56;
constexpr double kFirstFightSpacing = 34;
constexpr double kFirstFightMinSpacing = 31;
constexpr double kGateShift = 0.6;  // a gate's home to the right of the route
constexpr double kFirstFightSide = 6;

struct UnitCount {
  int32_t kind = 0;  // 0 ends the list
  int count = 0;
};

// What a level holds besides its ships, placed on or beside its route.
namespace feature {
inline constexpr uint32_t kTutorial = 1u << 0;    // the hint triggers that unlock the ship
inline constexpr uint32_t kGate = 1u << 1;        // a gate that opens as the player comes near
inline constexpr uint32_t kKeyDoor1 = 1u << 2;    // key 1 in front of its gate
inline constexpr uint32_t kKeyDoor2 = 1u << 3;    // key 2 in front of its gate
inline constexpr uint32_t kKeyDoor3 = 1u << 4;    // key 3 in front of its gate
inline constexpr uint32_t kSwitchLock = 1u << 5;  // a switch, its sluice and two linked guns
inline constexpr uint32_t kSnow = 1u << 6;        // snow starts and stops along the way
inline constexpr uint32_t kDark = 1u << 7;        // darkness and light again
inline constexpr uint32_t kHiddenGate = 1u << 8;  // the sluice gate that leads to episode 4
inline constexpr uint32_t kGrey = 1u << 9;        // the grey gate kinds 39..43 instead of 28..36
inline constexpr uint32_t kCoinHint = 1u << 10;   // the coins hint
}  // namespace feature

struct LevelPlan {
  int32_t episode, number;
  uint32_t seed;
  int islands;
  double startX;         // the player starts at (startX, 220), heading toward -z
  int32_t exitLevel;     // level across the -z edge (0 = none; 201..204 episodes; 500 the end)
  int32_t boss;          // boss kind at the end of the route (0 = none)
  UnitCount ships[8];    // units placed in open water
  int batteries, forts;  // shore guns on fortified islands
  int32_t fortKind;      // coastal fort or fort tower
  int32_t skyZone;       // sky colour zone kind met halfway (0 = none)
  int32_t foundItem;     // found-item kind beside the route (0 = none)
  int32_t itemNumber;    // its item number (Get<N>.txt)
  uint32_t features;
  // An island in sight of the start (0 = none): piece, and its centre relative to the start.
  // The start camera stands 11.6 units toward -z from the ship and looks toward +z.
  int32_t viewPiece;
  double viewDX, viewDZ;
};

using namespace feature;

constexpr LevelPlan kPlans[] = {
    // Episode 1: a quiet first bay with the tutorial, a pirate archipelago, the fortified
    // strait, and the flagship's lair.
    {1,
     1,
     101,
     26,
     60,
     2,
     0,
     {{kind::kGunboat, 3}, {kind::kPatrolBoat, 3}, {kind::kSeaMine, 2}, {kind::kCoinChest, 2}},
     2,
     1,
     kind::kCoastalFort,
     bonus::kSkyZoneFirst + 1,
     0,
     0,
     kTutorial | kCoinHint,
     2,
     -8.5,
     3.0},
    {1,
     2,
     202,
     30,
     128,
     3,
     0,
     {{kind::kGunboat, 3},
      {kind::kPatrolBoat, 1},
      {kind::kTorpedoBoat, 4},
      {kind::kFireShip, 3},
      {kind::kBrig, 2},
      {kind::kSeaMine, 4},
      {kind::kCoinChest, 2}},
     2,
     1,
     kind::kCoastalFort,
     bonus::kSkyZoneFirst,
     kind::kItemWreck22,
     1,
     kGate | kKeyDoor1,
     0,
     0,
     0},
    {1,
     3,
     303,
     30,
     128,
     4,
     0,
     {{kind::kGunboat, 2},
      {kind::kTorpedoBoat, 2},
      {kind::kBrig, 2},
      {kind::kFrigate, 2},
      {kind::kFlameGunboat, 2},
      {kind::kSubmarine, 2},
      {kind::kSteamRam, 1},
      {kind::kSeaMine, 4}},
     4,
     3,
     kind::kCoastalFort,
     bonus::kSkyZoneFirst + 2,
     0,
     0,
     kKeyDoor2,
     0,
     0,
     0},
    {1,
     4,
     404,
     26,
     128,
     0,
     kind::kPirateFlagship,
     {{kind::kBrig, 3},
      {kind::kGunboat, 2},
      {kind::kFireShip, 2},
      {kind::kCoinChest, 3},
      {kind::kSeaMine, 2}},
     2,
     2,
     kind::kFortTower,
     bonus::kSkyZoneLast,
     0,
     0,
     0,
     0,
     0,
     0},
    // Episode 2: ice floes and snowy rock; snow storms come and go.
    {2,
     1,
     1101,
     26,
     90,
     2,
     0,
     {{kind::kFrigate, 2},
      {kind::kBomber, 2},
      {kind::kSubmarine, 2},
      {kind::kTorpedoBoat, 2},
      {kind::kSeaMine, 3},
      {kind::kCoinChest, 2}},
     2,
     1,
     kind::kFortTower,
     bonus::kSkyZoneLast,
     0,
     0,
     kSnow,
     3,
     -8.5,
     3.0},
    {2,
     2,
     1202,
     28,
     128,
     3,
     0,
     {{kind::kShipOfTheLine, 1},
      {kind::kFrigate, 2},
      {kind::kHeavyBomber, 2},
      {kind::kMortarBoat, 2},
      {kind::kPatrolBoat, 2},
      {kind::kSeaMine, 3}},
     2,
     2,
     kind::kFortTower,
     0,
     kind::kItemWreck37,
     2,
     kGrey | kGate | kKeyDoor3,
     0,
     0,
     0},
    {2,
     3,
     1303,
     28,
     160,
     4,
     0,
     {{kind::kShipOfTheLine, 2},
      {kind::kMortarBoat, 2},
      {kind::kBomber, 2},
      {kind::kSteamRam, 2},
      {kind::kFlameGunboat, 2},
      {kind::kSeaMine, 4},
      {kind::kCoinChest, 2}},
     3,
     2,
     kind::kFortTower,
     bonus::kSkyZoneFirst + 1,
     0,
     0,
     kGrey | kSnow | kKeyDoor1 | kKeyDoor2,
     0,
     0,
     0},
    {2,
     4,
     1404,
     24,
     128,
     0,
     kind::kIronclad,
     {{kind::kFrigate, 2}, {kind::kHeavyBomber, 2}, {kind::kSubmarine, 2}, {kind::kCoinChest, 2}},
     2,
     2,
     kind::kFortTower,
     0,
     0,
     0,
     kSnow,
     0,
     0,
     0},
    // Episode 3: an industrial harbour of piers, walls and sluices.
    {3,
     1,
     2101,
     26,
     100,
     2,
     0,
     {{kind::kSeaplane, 2},
      {kind::kAutogyro, 2},
      {kind::kSkimmer, 3},
      {kind::kFlameWallA, 2},
      {kind::kTorpedoBoat, 2},
      {kind::kSeaMine, 3},
      {kind::kCoinChest, 2}},
     3,
     1,
     kind::kCoastalFort,
     bonus::kSkyZoneFirst + 2,
     0,
     0,
     kSwitchLock,
     6,
     -8.5,
     3.0},
    {3,
     2,
     2202,
     28,
     128,
     3,
     0,
     {{kind::kFlameWallB, 2},
      {kind::kFlameWallA, 2},
      {kind::kFlameGunboat, 2},
      {kind::kSteamRam, 2},
      {kind::kFighter, 2},
      {kind::kBomber, 1},
      {kind::kSeaMine, 3}},
     2,
     2,
     kind::kCoastalFort,
     0,
     kind::kItemWreck50,
     3,
     kGrey | kDark | kKeyDoor1 | kKeyDoor3,
     0,
     0,
     0},
    {3,
     3,
     2303,
     28,
     128,
     4,
     0,
     {{kind::kSkimmer, 3},
      {kind::kSeaplane, 2},
      {kind::kAutogyro, 2},
      {kind::kMortarBoat, 2},
      {kind::kFrigate, 2},
      {kind::kSeaMine, 3},
      {kind::kCoinChest, 2}},
     3,
     2,
     kind::kFortTower,
     bonus::kSkyZoneFirst,
     0,
     0,
     kGrey | kSwitchLock | kHiddenGate | kKeyDoor2,
     0,
     0,
     0},
    {3,
     4,
     2404,
     24,
     128,
     0,
     kind::kFlyingFortress,
     {{kind::kFighter, 2}, {kind::kFlameWallB, 2}, {kind::kCoinChest, 2}},
     2,
     2,
     kind::kCoastalFort,
     0,
     0,
     0,
     0,
     0,
     0,
     0},
    // Episode 4: the secret sea behind the sluice gate, with the best of every fleet.
    {4,
     1,
     3101,
     26,
     128,
     2,
     0,
     {{kind::kSternWheeler, 2},
      {kind::kBrig, 2},
      {kind::kFrigate, 2},
      {kind::kFighter, 2},
      {kind::kBuoy, 4},
      {kind::kCoinChest, 4},
      {kind::kSeaMine, 3}},
     2,
     0,
     kind::kCoastalFort,
     bonus::kSkyZoneFirst,
     kind::kMonitor,
     4,
     0,
     1,
     -8.5,
     3.0},
    {4,
     2,
     3202,
     28,
     128,
     3,
     0,
     {{kind::kSubmarine, 2},
      {kind::kSteamRam, 2},
      {kind::kMortarBoat, 2},
      {kind::kHeavyBomber, 2},
      {kind::kBuoy, 3},
      {kind::kCoinChest, 3},
      {kind::kSeaMine, 3}},
     2,
     2,
     kind::kFortTower,
     bonus::kSkyZoneFirst + 1,
     0,
     0,
     kKeyDoor1 | kKeyDoor2 | kKeyDoor3,
     0,
     0,
     0},
    {4,
     3,
     3303,
     28,
     128,
     4,
     0,
     {{kind::kSkimmer, 2},
      {kind::kAutogyro, 2},
      {kind::kSeaplane, 2},
      {kind::kFlameWallA, 2},
      {kind::kFlameWallB, 2},
      {kind::kBuoy, 3},
      {kind::kCoinChest, 3}},
     3,
     2,
     kind::kCoastalFort,
     bonus::kSkyZoneFirst + 2,
     0,
     0,
     kSwitchLock | kGate,
     0,
     0,
     0},
    {4,
     4,
     3404,
     28,
     128,
     500,
     0,
     {{kind::kFrigate, 2},
      {kind::kShipOfTheLine, 2},
      {kind::kFlameGunboat, 2},
      {kind::kTorpedoBoat, 2},
      {kind::kCoinChest, 4},
      {kind::kSeaMine, 3}},
     3,
     3,
     kind::kFortTower,
     bonus::kSkyZoneLast,
     0,
     0,
     kGrey | kGate,
     0,
     0,
     0},
};

constexpr EpisodeInfo kEpisodes[kCampaignEpisodes] = {
    {1, kEpisode1Name, kEpisode1Levels, Look::kTropics},
    {2, "Ледяной плен", 4, Look::kIce},
    {3, "Промышленный центр", 4, Look::kHarbour},
    {4, "Секретный", 4, Look::kSecret},
};

const LevelPlan& PlanOf(int32_t episode, int32_t number) {
  for (const LevelPlan& p : kPlans)
    if (p.episode == episode && p.number == number) return p;
  throw std::runtime_error("no such level");
}

// The reward edge a boss opens: the first boss +z, the second +x, the last every edge.
Waypoint RewardEdgeTarget(int32_t boss, const Waypoint& from, double startX) {
  if (boss == kind::kPirateFlagship) return {startX, kLevelSize - 6.0};
  if (boss == kind::kIronclad) return {kLevelSize - 6.0, from.z};
  return {from.x, 6.0};
}

std::vector<Waypoint> RouteOf(const LevelPlan& plan) {
  Rng rng(plan.seed * 7 + 1);
  std::vector<Waypoint> route = {{plan.startX, 220}};
  double x = plan.startX;
  for (double z : {168.0, 118.0, 70.0}) {
    x = std::clamp(x + rng.Range(-40, 40), 40.0, kLevelSize - 40.0);
    // The tutorial's lessons lie on a straight first stretch the ship starts out along, so
    // that their rows are crossed square.
    if ((plan.features & kTutorial) && z == 168.0) x = plan.startX;
    route.push_back({x, z});
  }
  if (plan.boss == 0) {
    route.push_back({std::clamp(x + rng.Range(-20, 20), 40.0, kLevelSize - 40.0), 6});
    return route;
  }
  // The boss waits at the far end; the reward opens another edge.
  route.push_back({x, 42});
  Waypoint target = RewardEdgeTarget(plan.boss, route.back(), plan.startX);
  if (plan.boss == kind::kPirateFlagship) {
    for (int i = static_cast<int>(route.size()) - 2; i >= 1; --i) route.push_back(route[i]);
    route.push_back({plan.startX, 200});
  }
  route.push_back(target);
  return route;
}

double SegmentDistance(const Waypoint& a, const Waypoint& b, double x, double z) {
  double vx = b.x - a.x, vz = b.z - a.z;
  double len2 = vx * vx + vz * vz;
  double t = len2 > 0 ? std::clamp(((x - a.x) * vx + (z - a.z) * vz) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(a.x + t * vx - x, a.z + t * vz - z);
}

double RouteDistance(const std::vector<Waypoint>& route, double x, double z) {
  double best = 1e9;
  for (size_t i = 1; i < route.size(); ++i)
    best = std::min(best, SegmentDistance(route[i - 1], route[i], x, z));
  return best;
}

double RouteLength(const std::vector<Waypoint>& route, size_t upTo) {
  double len = 0;
  for (size_t i = 1; i <= upTo && i < route.size(); ++i)
    len += std::hypot(route[i].x - route[i - 1].x, route[i].z - route[i - 1].z);
  return len;
}

// The point `distance` along the route from its start, and the heading of that stretch (the
// forward direction (-sin h, -cos h)).
struct RoutePoint {
  double x, z, heading;
};
RoutePoint AlongRoute(const std::vector<Waypoint>& route, double distance) {
  for (size_t i = 1; i < route.size(); ++i) {
    double dx = route[i].x - route[i - 1].x, dz = route[i].z - route[i - 1].z;
    double len = std::hypot(dx, dz);
    if (distance <= len || i + 1 == route.size()) {
      double t = len > 0 ? std::clamp(distance / len, 0.0, 1.0) : 0.0;
      return {route[i - 1].x + t * dx, route[i - 1].z + t * dz, std::atan2(-dx, -dz)};
    }
    distance -= len;
  }
  return {route[0].x, route[0].z, 0};
}

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

// The objects of an island: palms, huts and bushes in the tropics; bare rock on the ice; crates,
// piers, walls, towers and lights in the harbour; rock, fire and twisted palms in the secret sea.
void PlaceObjects(StaticRecord& st, Rng& rng, bool fortified, Look look) {
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
  if (look == Look::kIce) wanted /= 2;
  int huts = (st.terrainKind == 1 || st.terrainKind == 2) ? 1 + rng.Int(2) : 0;
  for (int tries = 0; tries < 400 && next <= wanted; ++tries) {
    double dx = rng.Range(-4.2, 4.2), dz = rng.Range(-4.2, 4.2);
    double h = IslandHeight(st.terrainKind, dx, dz);
    double slope = std::abs(IslandHeight(st.terrainKind, dx + 0.2, dz) - h) +
                   std::abs(IslandHeight(st.terrainKind, dx, dz + 0.2) - h);
    if (h < 0.05) continue;
    if (h < 0.25) {
      if (rng.Int(6) == 0) {  // boulders, crates and piers on the beach
        int32_t beach =
            look == Look::kHarbour ? (rng.Int(2) == 0 ? 12 : 11) : (rng.Int(3) == 0 ? 2 : 11);
        add(look == Look::kIce ? 2 : beach, dx, dz);
      }
      continue;
    }
    if (huts > 0 && slope < 0.12 && h < 1.2) {
      const int32_t hut[] = {6, 3, 7, 4};  // hut, rocks, tower, fire by look
      add(hut[static_cast<int>(look) - 1], dx, dz);
      if (look == Look::kTropics && rng.Int(2) == 0) add(4, dx + 0.6, dz + 0.4);  // a campfire
      if (look == Look::kHarbour && rng.Int(2) == 0) add(10, dx + 0.7, dz + 0.5);
      --huts;
      continue;
    }
    if (slope > 0.35 || h > 2.6) {
      add(rng.Int(2) == 0 ? 3 : 2, dx, dz);
      continue;
    }
    int r = rng.Int(10);
    switch (look) {
      case Look::kTropics:
        add(r < 5 ? 1 : (r < 7 ? 5 : (r < 9 ? 8 : 2)), dx, dz);
        break;
      case Look::kIce:
        add(r < 6 ? 2 : 3, dx, dz);
        break;
      case Look::kHarbour:
        add(r < 4 ? 11 : (r < 7 ? 9 : (r < 9 ? 7 : 2)), dx, dz);
        break;
      case Look::kSecret:
        add(r < 4 ? 5 : (r < 7 ? 3 : (r < 9 ? 8 : 4)), dx, dz);
        break;
    }
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
  u.posY = info->flightHeight > 0 ? info->flightHeight : y;  // aircraft keep their height
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

const EpisodeInfo& CampaignEpisode(int32_t episode) {
  if (episode < 1 || episode > kCampaignEpisodes) throw std::runtime_error("no such episode");
  return kEpisodes[episode - 1];
}

std::string EpisodeFolder(int32_t episode) {
  return std::string("Worlds/") + CampaignEpisode(episode).nameUtf8 + "/";
}

std::vector<Waypoint> LevelRoute(int32_t episode, int32_t number) {
  return RouteOf(PlanOf(episode, number));
}

LevelData BuildLevel(int32_t episode, int32_t number) {
  const LevelPlan& plan = PlanOf(episode, number);
  const std::vector<Waypoint> route = RouteOf(plan);
  const double routeLength = RouteLength(route, route.size());
  LevelData level;
  level.episode = episode;
  level.number = number;
  level.state = std::make_unique<SavedState>();
  SavedState& s = *level.state;
  std::memset(&s, 0, sizeof s);
  Rng rng(plan.seed);
  const double startZ = route[0].z;

  // Islands: spaced so that channels of open water run between them, clear of the route and
  // the start (except the one placed in sight of it) and of the map edges.
  std::vector<Placed> islands;
  if (plan.viewPiece > 0)
    islands.push_back({plan.viewPiece, plan.startX + plan.viewDX, startZ + plan.viewDZ});
  for (int tries = 0; tries < 20000 && static_cast<int>(islands.size()) < plan.islands; ++tries) {
    Placed p{1 + rng.Int(kIslandPieceCount), rng.Range(14, kLevelSize - 14),
             rng.Range(22, kLevelSize - 22)};
    if (std::hypot(p.x - plan.startX, p.z - startZ) < 16) continue;
    if (RouteDistance(route, p.x, p.z) < 13) continue;
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
  // Fortified islands carry the shore batteries and forts; the rest get the episode's objects.
  const Look look = CampaignEpisode(episode).look;
  int fortified = plan.batteries + plan.forts;
  std::vector<int> guns;  // static slots with a gun on them
  const bool tutorial = (plan.features & kTutorial) != 0;
  for (size_t i = 0; i < islands.size(); ++i) {
    bool big = islands[i].piece == 1 || islands[i].piece == 3 || islands[i].piece == 6;
    bool fort = big && static_cast<int>(guns.size()) < fortified;
    // In the tutorial the shore guns stand out of reach of the way: its fights are the ships'.
    if (tutorial && RouteDistance(route, islands[i].x, islands[i].z) < kTutorialGunClearance)
      fort = false;
    if (fort) guns.push_back(static_cast<int>(i + 1));
    PlaceObjects(s.statics[i + 1], rng, fort, look);
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
    s.units[slot] = u;
    return slot++;
  };
  put(UnitAt(kind::kPaddleSteamer, plan.startX, 0, startZ, 0));
  s.units[1].haveAI = 0;
  auto seaSpot = [&](double margin, double minFromStart) {
    for (int tries = 0; tries < 5000; ++tries) {
      double x = rng.Range(20, kLevelSize - 20), z = rng.Range(24, kLevelSize - 24);
      if (std::hypot(x - plan.startX, z - startZ) < minFromStart) continue;
      if (OnLandNear(s, x, z, margin)) continue;
      return std::pair<double, double>(x, z);
    }
    throw std::runtime_error("no open water left for a unit");
  };
  // The tutorial's fighting ships wait beside the way in the plan's order (a gunboat, which
  // stops to fire, first), each further on than the last one's reach: met ahead, after the
  // lessons, one at a time. Those the way has no room for are left out.
  auto fights = [](int32_t k) { return FindKind(k)->haveAI == 1 && FindKind(k)->alertRadius > 2; };
  std::vector<int32_t> firstFight;
  if (tutorial) {
    for (const UnitCount& c : plan.ships)
      for (int k = 0; k < c.count; ++k)
        if (fights(c.kind)) firstFight.push_back(c.kind);
    const double room = routeLength - 20 - kFirstFightAt;
    firstFight.resize(std::min(
        firstFight.size(), static_cast<size_t>(std::max(0.0, room / kFirstFightMinSpacing)) + 1));
  }
  const double fightSpacing =
      firstFight.size() > 1
          ? std::min(kFirstFightSpacing, (routeLength - 20 - kFirstFightAt) /
                                             static_cast<double>(firstFight.size() - 1))
          : 0;
  for (const UnitCount& c : plan.ships) {
    for (int k = 0; k < c.count; ++k) {
      if (tutorial && fights(c.kind)) continue;  // on the way below, or left out
      auto [x, z] = seaSpot(FindKind(c.kind)->radius + 1.0, 45);
      int32_t i = put(UnitAt(c.kind, x, 0, z, rng.Range(0, 2 * kPi)));
      if (c.kind == kind::kSternWheeler) s.units[i].haveAI = 1;  // the wanderer
    }
  }
  // Shore guns stand on the beach of the fortified islands, facing the open sea.
  for (size_t g = 0; g < guns.size(); ++g) {
    const StaticRecord& st = s.statics[guns[g]];
    int32_t kind = static_cast<int>(g) < plan.batteries ? kind::kShoreBattery : plan.fortKind;
    double best = -1, bx = 0, bz = 0;
    for (int k = 0; k < 24; ++k) {
      double a = k * kPi / 12, r = 1.0;
      while (r < 4.5 && IslandHeight(st.terrainKind, r * std::cos(a), r * std::sin(a)) > 0.5)
        r += 0.1;
      double h = IslandHeight(st.terrainKind, r * std::cos(a), r * std::sin(a));
      double toStart =
          std::hypot(st.posX + r * std::cos(a) - plan.startX, st.posZ + r * std::sin(a) - startZ);
      double score = (h > 0.2 ? 1.0 : 0.0) + toStart * 0.001;
      double wx = st.posX + r * std::cos(a), wz = st.posZ + r * std::sin(a);
      bool inside = wx > 16 && wx < kLevelSize - 16 && wz > 16 && wz < kLevelSize - 16;
      if (h > 0.2 && inside && score > best)
        best = score, bx = r * std::cos(a), bz = r * std::sin(a);
    }
    if (best < 0) continue;
    put(UnitAt(kind, st.posX + bx, IslandHeight(st.terrainKind, bx, bz), st.posZ + bz,
               std::atan2(bx, bz)));
  }
  // A unit on the route, `side` units to the right of it (or the left, if land is there).
  auto onRoute = [&](int32_t kind, double fraction, double side) {
    RoutePoint p = AlongRoute(route, fraction * routeLength);
    double rx = -std::cos(p.heading), rz = std::sin(p.heading);  // to the right of the heading
    for (double sign : {1.0, -1.0}) {
      double x = p.x + sign * side * rx, z = p.z + sign * side * rz;
      if (side == 0 || !OnLandNear(s, x, z, FindKind(kind)->radius + 0.5)) {
        UnitRecord u = UnitAt(kind, x, 0, z, p.heading);
        u.haveAI = FindKind(kind)->haveAI;
        return put(u);
      }
    }
    throw std::runtime_error("no open water beside the route");
  };
  for (size_t f = 0; f < firstFight.size(); ++f) {
    const double along = kFirstFightAt + fightSpacing * static_cast<double>(f);
    int32_t i = onRoute(firstFight[f], along / routeLength,
                        f % 2 == 0 ? kFirstFightSide : -kFirstFightSide);
    s.units[i].rotY += kPi;  // facing the ship that comes
  }
  const bool grey = (plan.features & kGrey) != 0;
  // Gates across the route, with walls either side that never open.
  auto gate = [&](int32_t kind, double fraction) {
    // Turned across the route, so that opening slides the gate to the right of the way by 1.3:
    // it stands 0.6 right of the route, so that open it leaves the route itself clear by 1.9
    // (a ship of radius 0.85 and the gate's 1.0), and its walls 2.6 either side of it.
    const RoutePoint p = AlongRoute(route, fraction * routeLength);
    const double rx = -std::cos(p.heading), rz = std::sin(p.heading);  // to the right
    UnitRecord door = UnitAt(kind, p.x + kGateShift * rx, 0, p.z + kGateShift * rz, p.heading);
    door.haveAI = FindKind(kind)->haveAI;
    int32_t i = put(door);
    s.units[i].rotY += kPi / 2;
    s.units[i].sinkMotion = {s.units[i].posX, s.units[i].posY, s.units[i].posZ, 0};  // home
    for (double side : {kGateShift + 2.6, kGateShift - 2.6}) {
      double x = p.x + rx * side, z = p.z + rz * side;
      int32_t w = put(UnitAt(grey ? 38 : 34, x, 0, z, p.heading + kPi / 2));
      s.units[w].sinkMotion = {x, 0, z, 0};
    }
    return i;
  };
  if (plan.features & kGate) gate(grey ? kind::kGate2 : kind::kGate, 0.2);
  if (plan.features & kKeyDoor1) gate(grey ? kind::kKeyGate1b : kind::kKeyGate1, 0.36);
  if (plan.features & kKeyDoor2) gate(grey ? kind::kKeyGate2b : kind::kKeyGate2, 0.5);
  if (plan.features & kKeyDoor3) gate(grey ? kind::kKeyGate3b : kind::kKeyGate3, 0.62);
  if (plan.features & kSwitchLock) {
    // The switch floats beside the route; shooting it opens the sluice ahead for a while and
    // fires the two guns beside the sluice.
    int32_t sw = onRoute(kind::kSwitch, 0.72, 5);
    int32_t lock = gate(grey ? kind::kLock2 : kind::kLock, 0.76);
    s.units[lock].rotateSpeed = static_cast<float>(sw);
    for (double side : {6.5, -6.5}) {
      int32_t g = onRoute(kind::kHeavyGunship, 0.78, side);
      s.units[g].rotateSpeed = static_cast<float>(sw);
      s.units[g].rotY += kPi;  // facing the way the player comes
    }
  }
  if (plan.foundItem > 0) {
    int32_t i = onRoute(plan.foundItem, 0.42, 4);
    s.units[i].acceleration = static_cast<float>(plan.itemNumber);  // the item number N
  }
  if (plan.boss > 0) {
    const Waypoint& lair = route[4];
    int32_t i = put(UnitAt(plan.boss, lair.x, 0, lair.z, 0));
    s.units[i].haveAI = 1;
  }
  if (plan.features & kHiddenGate) {
    // Off the route, near the +x edge: destroyed, it opens that edge to episode 4.
    auto [x, z] = seaSpot(2.5, 60);
    x = kLevelSize - 24.0;
    for (int tries = 0; tries < 200 && OnLandNear(s, x, z, 2.5); ++tries) z = rng.Range(40, 200);
    UnitRecord u = UnitAt(kind::kSluiceGate, x, 0, z, kPi / 2);
    u.acceleration = 1;  // +x
    u.rotateSpeed = 204;
    put(u);
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
  exitMarker(4, plan.exitLevel);

  // Bonuses and triggers.
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
  // A pickup on the route: level entry sets its radius to 0, so a short row across the route
  // makes sure the ship touches one (1.6 apart: never two at once).
  auto acrossRoute = [&](int32_t kind, double distance, int32_t tag, int count,
                         double spacing = 1.6) {
    RoutePoint p = AlongRoute(route, distance);
    for (int k = 0; k < count; ++k) {
      double side = (k - (count - 1) / 2.0) * spacing;
      bonus(kind, p.x - std::cos(p.heading) * side, 0.2, p.z + std::sin(p.heading) * side, 0, tag);
    }
  };
  // A hint shows once: three triggers across the route, far enough apart that a ship crossing
  // within 25 degrees of square comes within its radius (at most 0.85) of only one of them.
  auto hintRow = [&](double distance, int32_t tag) {
    acrossRoute(bonus::kHint, distance, tag, 3, kHintRowSpacing);
  };
  auto zone = [&](int32_t kind, double fraction, float radius) {
    RoutePoint p = AlongRoute(route, fraction * routeLength);
    bonus(kind, p.x, 0, p.z, radius, 0);
  };
  if (tutorial) {
    // Met in this order on the straight first stretch: mouse steering a few units ahead, once
    // the opening hint (which names the keys) is read and the ship under way, then the guns,
    // the panels, the radar, the rockets and the rest, all before the first fight.
    const std::pair<int32_t, double> lessons[] = {
        {hint_tag::kMouse, 3},      {hint_tag::kGuns, 8},   {hint_tag::kInfoPanel, 14},
        {hint_tag::kUpgrades, 20},  {hint_tag::kRadar, 26}, {hint_tag::kWeaponS, 32},
        {hint_tag::kEverything, 38}};
    for (auto [tag, distance] : lessons) hintRow(distance, tag);
  }
  if (plan.features & kCoinHint) hintRow(0.3 * routeLength, hint_tag::kCoins);
  if (plan.features & (kKeyDoor1 | kKeyDoor2 | kKeyDoor3))
    hintRow(0.28 * routeLength, hint_tag::kKeys);
  if (plan.features & kKeyDoor1) acrossRoute(bonus::kKey1, 0.31 * routeLength, 0, 5);
  if (plan.features & kKeyDoor2) acrossRoute(bonus::kKey2, 0.45 * routeLength, 0, 5);
  if (plan.features & kKeyDoor3) acrossRoute(bonus::kKey3, 0.57 * routeLength, 0, 5);
  if (plan.features & kSwitchLock) hintRow(0.68 * routeLength, hint_tag::kSwitch);
  if (plan.features & kSnow) {
    hintRow(0.15 * routeLength, hint_tag::kSnow);
    zone(bonus::kSnowStarts, 0.16, 5);
    zone(bonus::kSnowStops, 0.85, 5);
  }
  if (plan.features & kDark) {
    hintRow(0.3 * routeLength, hint_tag::kDark);
    zone(bonus::kDarkness, 0.31, 5);
    zone(bonus::kLightAgain, 0.8, 5);
  }
  if (plan.features & kHiddenGate) hintRow(0.5 * routeLength, hint_tag::kSecret);
  if (plan.boss > 0) {
    double lair = RouteLength(route, 4);
    acrossRoute(bonus::kSavePoint, lair - 40, 0, 5);
    hintRow(lair - 30, hint_tag::kBoss);
  }
  if (plan.skyZone > 0) zone(plan.skyZone, 0.5, 30);
  const int32_t pickups[] = {
      bonus::kCoin,   bonus::kCoin,      bonus::kCoin,       bonus::kCoin,     bonus::kCoin,
      bonus::kCoin,   bonus::kCoinStack, bonus::kCoinStack,  bonus::kCoinPile, bonus::kMedkit,
      bonus::kMedkit, bonus::kSpeedUp,   bonus::kProtection, bonus::kSavePoint};
  for (int32_t kind : pickups) {
    auto [x, z] = seaSpot(1.0, 10);
    bonus(kind, x, 0.2, z, 0, 0);
  }
  // Medkits along the route for the fights on the way.
  for (double f : {0.25, 0.55, 0.85}) acrossRoute(bonus::kMedkit, f * routeLength, 0, 1);
  return level;
}

}  // namespace skerrow::content
