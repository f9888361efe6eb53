// The editor-view update: one 40 ms step while GameMode is 3.
#pragma once

namespace skerrow {
struct WorldState;
void UpdateEditorView(WorldState& world);
}  // namespace skerrow
