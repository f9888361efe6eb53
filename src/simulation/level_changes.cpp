// The one-level-change-per-step allowance of the play step.
#include "simulation/level_changes.h"

#include "simulation/play_host.h"
#include "world/world_state.h"

namespace skerrow {

PlayStepScope::PlayStepScope(WorldState& w) : w_(w) {
  if (w_.playStepDepth++ == 0) w_.levelChangedThisStep = 0;
}

PlayStepScope::~PlayStepScope() {
  --w_.playStepDepth;
}

bool MayChangeLevel(const WorldState& w) {
  return w.levelChangedThisStep == 0;
}

bool EnterLevelFromPlay(WorldState& w, PlayHost& host, int32_t level) {
  if (w.levelChangedThisStep != 0) return false;
  w.levelChangedThisStep = 1;
  return host.EnterLevel(level);
}

}  // namespace skerrow
