// Episode 1 levels of the content pack: island placement, units, pickups and exits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/records.h"

namespace skerrow::content {

inline constexpr const char* kEpisode1Name = "Заманчивые тропики";  // directory under gdata/Worlds
inline constexpr int32_t kEpisode1Levels = 3;
inline constexpr int32_t kLevelSize = 256;  // world units; the width of Data/size<N>.qvt

// The saved-block slice a level's files hold: land (height map, statics), units and bonuses.
struct LevelData {
  std::unique_ptr<SavedState> state;  // only the land, unit and bonus ranges are filled
  int32_t number = 0;
};

// Builds level `number` (1..kEpisode1Levels) deterministically.
LevelData BuildLevel(int32_t number);

// Land height (world units, 0 over water) at a world point, over the level's statics: the same
// rule the game uses, computed from the pieces' continuous shapes.
double LevelLandHeight(const SavedState& s, double x, double z);

}  // namespace skerrow::content
