// Level changes made from play (a linked edge, the loss of the last life): at most one per
// top-level play step. The 16 settling steps after a change run inside that step, so none of
// them can change level again, however the neighbours hand the ship back and forth.
#pragma once

#include <cstdint>

namespace skerrow {

class PlayHost;
struct WorldState;

// Marks a play step (or a direct level-bounds pass) as running. The outermost scope starts a
// new step whose allowance is one level change; nested scopes share it. The count and the
// flag live in the world's step state (`playStepDepth`, `levelChangedThisStep`).
class PlayStepScope {
 public:
  explicit PlayStepScope(WorldState& w);
  ~PlayStepScope();
  PlayStepScope(const PlayStepScope&) = delete;
  PlayStepScope& operator=(const PlayStepScope&) = delete;

 private:
  WorldState& w_;
};

// True while the running step has not changed level.
bool MayChangeLevel(const WorldState& w);

// Enters `level` through the host unless the running step has changed level already. Returns
// whether the level was entered (false too when the host refused it; the step's one change is
// then spent all the same).
bool EnterLevelFromPlay(WorldState& w, PlayHost& host, int32_t level);

}  // namespace skerrow
