// The play update: one 40 ms step of the world while GameMode is 2, and the small per-step
// updates it owns (camera, status icons, hero level).
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

void PlayUpdate(WorldState& w, PlayHost& host);

// Experience needed to leave hero level `level`: (25 (level - 1))^2 + 1000 level, saturated.
int32_t HeroLevelThreshold(int32_t level);

void UpdateCamera(WorldState& w);
void UpdateStatusIcons(WorldState& w);
// The water sheet follows the camera by whole cells, at most `passes` shifts per axis (25 in
// play, 5 in the editor view).
void FollowWaterGrid(WorldState& w, int passes);

}  // namespace skerrow
