// The player's controls: the keyboard snapshot and the mouse steering copied into the control
// bytes of the player's unit once per play step.
#pragma once

namespace skerrow {

struct WorldState;
class PlayHost;

void UpdatePlayerControls(WorldState& w, PlayHost& host);

}  // namespace skerrow
