// The editor window's place beside the game's window.
#include "editor/window_place.h"

#include <algorithm>

namespace skerrow {

ScreenRect EditorWindowPlace(const ScreenRect& game, const ScreenRect& desktop,
                             const FrameBorders& borders, int32_t width, int32_t height,
                             int32_t gap) {
  // Client-area limits inside the usable area, frames included.
  const int32_t left = desktop.x + borders.left;
  const int32_t top = desktop.y + borders.top;
  const int32_t right = desktop.x + desktop.width - borders.right;
  const int32_t bottom = desktop.y + desktop.height - borders.bottom;
  ScreenRect r;
  r.width = std::clamp(width, 1, std::max(right - left, 1));
  r.height = std::clamp(height, 1, std::max(bottom - top, 1));
  const int32_t besideRight = game.x + game.width + borders.right + gap + borders.left;
  const int32_t besideLeft = game.x - borders.left - gap - borders.right - r.width;
  if (besideRight + r.width <= right) {
    r.x = besideRight;
  } else if (besideLeft >= left) {
    r.x = besideLeft;
  } else {
    r.x = right - r.width;
  }
  r.x = std::max(r.x, left);
  r.y = std::clamp(game.y, top, std::max(bottom - r.height, top));
  return r;
}

}  // namespace skerrow
