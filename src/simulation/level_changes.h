// Level changes made from play (a linked edge, the loss of the last life): at most one per
// top-level play step. The 16 settling steps after a change run inside that step, so none of
// them can change level again, however the neighbours hand the ship back and forth.
#pragma once

#include <cstdint>

namespace skerrow {

class PlayHost;

// Marks a play step (or a direct level-bounds pass) as running. The outermost scope starts a
// new step whose allowance is one level change; nested scopes share it.
class PlayStepScope {
 public:
  PlayStepScope();
  ~PlayStepScope();
  PlayStepScope(const PlayStepScope&) = delete;
  PlayStepScope& operator=(const PlayStepScope&) = delete;
};

// True while the running step has not changed level.
bool MayChangeLevel();

// Enters `level` through the host unless the running step has changed level already.
// Returns whether it asked the host.
bool EnterLevelFromPlay(PlayHost& host, int32_t level);

}  // namespace skerrow
