// The fixed-step main loop tick.
#include "shell/main_loop.h"

#include <algorithm>

#include "world/world_state.h"

namespace skerrow {

int MainLoopTick(WorldState& world, int32_t elapsed, LoopHost& host) {
  world.frameCounter += 1;
  // 64-bit sum: `elapsed` after a long stall may be large; the ceiling applies at once.
  int64_t lag = static_cast<int64_t>(world.lagAccumulator) + std::max<int32_t>(elapsed, 0);
  world.lagAccumulator = static_cast<int32_t>(std::min<int64_t>(lag, kLagCeilingMs));
  int steps = 0;
  // Seven attempts, not "while": with the 250 ms ceiling at most six can succeed, and the
  // rest of a long stall is dropped so the world slows down instead of jumping.
  for (int attempt = 0; attempt < kStepAttemptsPerTick; ++attempt) {
    if (world.lagAccumulator >= kStepMs) {
      world.lagAccumulator -= kStepMs;
      host.UpdateDispatch();
      ++steps;
    }
  }
  host.RenderDispatch();
  world.lastLagCount = elapsed;
  return steps;
}

}  // namespace skerrow
