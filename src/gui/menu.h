// The menu step and the menu frame (GameMode 1).
#pragma once

namespace skerrow {
struct WorldState;
void UpdateMenu(WorldState& world);
void DrawMenuFrame(WorldState& world);
}  // namespace skerrow
