// Fitting the stored window size to the desktop's usable area, without a display.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace skerrow::platform {
namespace {

TEST(WindowSize, FitsTheDesktopAndKeepsTheMinimum) {
  struct Row {
    int width, height;                // stored
    int desktopWidth, desktopHeight;  // usable area; 0 = unknown
    int fitWidth, fitHeight;
  };
  const Row rows[] = {
      {16384, 16384, 1920, 1040, 1920, 1040},  // the hostile settings file
      {1280, 1024, 1920, 1040, 1280, 1024},    // fits as it is
      {1280, 1024, 1920, 1000, 1280, 1000},    // one side too tall
      {1, 1, 1920, 1040, 640, 480},            // at least 640 x 480
      {16384, 200, 0, 0, 16384, 480},          // desktop unknown: only the minimum holds
      {2000, 2000, 600, 400, 640, 480},        // a desktop below the minimum
  };
  for (const Row& r : rows) {
    int w = r.width, h = r.height;
    FitWindowToDesktop(w, h, r.desktopWidth, r.desktopHeight);
    EXPECT_EQ(w, r.fitWidth) << r.width << " x " << r.height;
    EXPECT_EQ(h, r.fitHeight) << r.width << " x " << r.height;
  }
}

}  // namespace
}  // namespace skerrow::platform
