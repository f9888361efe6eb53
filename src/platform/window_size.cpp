// Fitting a stored window size to the desktop.
#include <algorithm>

#include "platform/platform.h"

namespace skerrow::platform {

void FitWindowToDesktop(int& width, int& height, int desktopWidth, int desktopHeight) {
  if (desktopWidth > 0) width = std::min(width, desktopWidth);
  if (desktopHeight > 0) height = std::min(height, desktopHeight);
  width = std::max(width, kMinWindowWidth);
  height = std::max(height, kMinWindowHeight);
}

}  // namespace skerrow::platform
