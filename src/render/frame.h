// The play frame (GameMode 2) and the editor-view frame (GameMode 3).
#pragma once

namespace skerrow {
struct WorldState;
void DrawPlayFrame(WorldState& world);
void DrawEditorViewFrame(WorldState& world);
}  // namespace skerrow
