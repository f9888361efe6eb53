// The fixed-step main loop tick: 40 ms simulation steps, a 250 ms ceiling on the lag
// accumulator, seven step attempts per tick, then one frame.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;

constexpr int32_t kStepMs = 40;
constexpr int32_t kLagCeilingMs = 250;
constexpr int kStepAttemptsPerTick = 7;

// What the tick drives: one simulation step and one frame of the current GameMode.
class LoopHost {
 public:
  virtual ~LoopHost() = default;
  virtual void UpdateDispatch() = 0;
  virtual void RenderDispatch() = 0;
};

// One tick with `elapsed` whole milliseconds since the previous one (at least 1).
// Returns the number of steps run (0..6).
int MainLoopTick(WorldState& world, int32_t elapsed, LoopHost& host);

}  // namespace skerrow
