// The play update: one 40 ms step of the world while GameMode is 2, and the small per-step
// updates it owns (camera, status icons, hero level).
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

void PlayUpdate(WorldState& w, PlayHost& host);

// What the player is told when the ship sinks with no lives left: the world went back to the
// last save, or (with none to load) the level started again.
inline constexpr const char* kLastLifeBackToSave =
    "Корабль затонул, а жизней больше нет. Игра вернулась к последнему сохранению: туда, где "
    "вы были, когда входили на уровень или проходили точку сохранения.";
inline constexpr const char* kLastLifeLevelAgain =
    "Корабль затонул, а жизней больше нет. Сохранения пока нет, поэтому уровень начинается "
    "заново, и у вас снова три жизни.";

// Experience needed to leave hero level `level`: (25 (level - 1))^2 + 1000 level, saturated.
int32_t HeroLevelThreshold(int32_t level);

void UpdateCamera(WorldState& w);
void UpdateStatusIcons(WorldState& w);
// The water sheet follows the camera by whole cells, at most `passes` shifts per axis (25 in
// play, 5 in the editor view).
void FollowWaterGrid(WorldState& w, int passes);

}  // namespace skerrow
