// The one-level-change-per-step allowance of the play step.
#include "simulation/level_changes.h"

#include "simulation/play_host.h"

namespace skerrow {

namespace {

// Play steps running (settling steps nest inside the step that changed level), and whether
// the outermost one has entered a level. Only the 40 ms step and its settling steps touch them.
int32_t stepDepth = 0;
bool levelChanged = false;

}  // namespace

PlayStepScope::PlayStepScope() {
  if (stepDepth++ == 0) levelChanged = false;
}

PlayStepScope::~PlayStepScope() {
  --stepDepth;
}

bool MayChangeLevel() {
  return !levelChanged;
}

bool EnterLevelFromPlay(PlayHost& host, int32_t level) {
  if (levelChanged) return false;
  levelChanged = true;
  host.EnterLevel(level);
  return true;
}

}  // namespace skerrow
