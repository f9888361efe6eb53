// The campaign's levels: four episodes of connected levels with island placement, units,
// pickups, triggers, doors, bosses and exits, and the route from each level's start to its exit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/records.h"

namespace skerrow::content {

inline constexpr const char* kEpisode1Name = "Заманчивые тропики";  // directory under gdata/Worlds
inline constexpr int32_t kEpisode1Levels = 4;
inline constexpr int32_t kLevelSize = 256;  // world units; the width of Data/size<N>.qvt
inline constexpr int32_t kCampaignEpisodes = 4;

// The look an episode's pictures are painted in.
enum class Look : int32_t { kTropics = 1, kIce = 2, kHarbour = 3, kSecret = 4 };

struct EpisodeInfo {
  int32_t number;        // 1..4
  const char* nameUtf8;  // the directory under gdata/Worlds (the game's episode table)
  int32_t levels;        // levels 1..levels
  Look look;
};

// Episode e (1..kCampaignEpisodes); throws outside that range.
const EpisodeInfo& CampaignEpisode(int32_t episode);
// "Worlds/<name>/" of episode e.
std::string EpisodeFolder(int32_t episode);

// The saved-block slice a level's files hold: land (height map, statics), units and bonuses.
struct LevelData {
  std::unique_ptr<SavedState> state;  // only the land, unit and bonus ranges are filled
  int32_t episode = 0;
  int32_t number = 0;
};

// A point of a level's route, in world units.
struct Waypoint {
  double x = 0, z = 0;
};

// Builds level `number` of episode `episode` deterministically.
LevelData BuildLevel(int32_t episode, int32_t number);

// The route the level is laid out around: from the player's start through open water to the
// edge that leads on (for a boss level: to the boss, then to the edge its reward opens).
// Islands keep clear of it; keys, doors, triggers and the boss stand on it.
std::vector<Waypoint> LevelRoute(int32_t episode, int32_t number);

// Land height (world units, 0 over water) at a world point, over the level's statics: the same
// rule the game uses, computed from the pieces' continuous shapes.
double LevelLandHeight(const SavedState& s, double x, double z);

}  // namespace skerrow::content
