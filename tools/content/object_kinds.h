// The objects placed on the islands of the content pack: kind number, what the model shows and
// its size. The world generator places them; the model generator builds object<kind>.3ds and
// Shadow<kind>.3ds for every row.
//
// Models are z-up and drawn at scale 0.005 (200 model units = 1 world unit), origin at the foot
// of the object on the ground. Kinds must stay contiguous from 1: the level loader stops
// loading object models at the first missing Shadow<kind>.3ds. The draw style follows from
// the number (1, 5..24: alpha blended with depth writes off in the shadow pass; 2, 3: depth
// writes kept; 4: additive fire with smoke), so a kind's number is chosen for its look.
#pragma once

#include <cstdint>

namespace skerrow::content {

struct ObjectKindInfo {
  int32_t kind;
  const char* name;
  const char* looks;  // what the model should show
  float heightWorld;  // approximate height in world units
  float footprint;    // approximate radius of the base in world units
};

inline constexpr ObjectKindInfo kObjectKinds[] = {
    {1, "palm",
     "tall coconut palm: curved brown ringed trunk, 6-7 drooping green fronds, a few coconuts",
     1.6f, 0.6f},
    {2, "boulder", "rounded grey-brown boulder, slightly flattened, lichen patches", 0.5f, 0.45f},
    {3, "rock stack", "cluster of three jagged grey rocks of different heights", 0.9f, 0.6f},
    {4, "campfire",
     "ring of stones with a small heap of burning logs (drawn additive in fire colours)", 0.25f,
     0.25f},
    {5, "leaning palm", "shorter palm leaning strongly to one side, fronds spread wide", 1.2f,
     0.7f},
    {6, "hut", "native hut: bamboo walls on short stilts, steep thatched straw roof, dark doorway",
     1.0f, 0.6f},
    {7, "watchtower", "wooden lookout tower on four legs with a railed platform and a small roof",
     1.8f, 0.4f},
    {8, "bush", "low round tropical bush, dense dark-green leaves with a few red flowers", 0.4f,
     0.4f},
    {9, "fort wall", "straight segment of a stone fort wall with crenellations, 1.6 long", 0.6f,
     0.8f},
    {10, "lighthouse", "white and red striped round lighthouse with a glass lantern room on top",
     2.4f, 0.45f},
    {11, "crates", "stack of wooden crates with two barrels beside it", 0.5f, 0.4f},
    {12, "jetty", "short wooden pier on posts, planks running along +x, 2.0 long and 0.5 wide",
     0.3f, 1.0f},
};

inline constexpr int32_t kObjectKindCount =
    static_cast<int32_t>(sizeof(kObjectKinds) / sizeof(kObjectKinds[0]));
static_assert(kObjectKindCount == 12);

}  // namespace skerrow::content
