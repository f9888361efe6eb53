// The editor-view update: one 40 ms step while GameMode is 3. The world stands still; the
// selected unit can be driven, the sea floor shaped with the five height brushes, the camera
// glides and scrolls at the screen edges, and particles and projectiles finish their course.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
class PlayHost;

// What the step reads from outside the world: the editor's selections, the arrow keys and
// Shift, and the cursor in window pixels (y from the top) with the window size.
struct EditorViewInput {
  int32_t selectedUnit = 0;    // "Unit number:", 1..255 (anything else drives nothing)
  bool modifyTerrain = false;  // "Brush type:" is "Modify terrain"
  bool left = false, right = false, up = false, down = false, shift = false;
  int32_t cursorX = 0, cursorY = 0;
  int32_t screenWidth = 0, screenHeight = 0;
  // The pointer is in the game's window: the cursor position is where it left it otherwise,
  // and it scrolls nothing.
  bool pointerInside = true;
  PlayHost* host = nullptr;  // where the projectiles' sounds go; none: silent
};

// The five height brushes: [brush - 1][x offset 0..7][z offset 0..7], covering cells -4..+3
// around the cursor cell.
inline constexpr int32_t kHeightBrushCount = 5;
inline constexpr int32_t kHeightBrushSide = 8;
extern const uint8_t kHeightBrushes[kHeightBrushCount][kHeightBrushSide][kHeightBrushSide];

// The height-map cells the brush can change this step: rows x0..x1 (inclusive), columns
// z0..z1 of heightMap[x][z], from mouseWorldPos with the map-edge clamp.
struct HeightBrushWindow {
  int32_t x0, x1, z0, z1;
};
HeightBrushWindow BrushWindowAt(const WorldState& w);

// One brush application at mouseWorldPos with the held mouse buttons (left raises, right
// lowers, middle smooths; in that order). `heightBrush` outside 1..5 does nothing.
void ApplyHeightBrush(WorldState& w);

void UpdateEditorView(WorldState& w, const EditorViewInput& in);

}  // namespace skerrow
