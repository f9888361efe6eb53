// Where the editor window opens: beside the game's window, fully inside the desktop.
#pragma once

#include <cstdint>

namespace skerrow {

// A rectangle of desktop pixels (a window's client area, or the desktop's usable area).
struct ScreenRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};
// The window manager's frame around a client area (title bar on top).
struct FrameBorders {
  int32_t top = 0, left = 0, bottom = 0, right = 0;
};

// The client area of a `width` x `height` editor window whose frame is `borders`: to the right
// of the game's window (`game`, framed alike) with `gap` pixels between the frames when the
// desktop's usable area has room there, else to its left, else against the area's right edge
// (over the game); at the game's top, moved up as far as needed to end inside the area, and
// never taller or wider than the area holds.
ScreenRect EditorWindowPlace(const ScreenRect& game, const ScreenRect& desktop,
                             const FrameBorders& borders, int32_t width, int32_t height,
                             int32_t gap);

}  // namespace skerrow
