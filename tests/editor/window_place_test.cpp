// Where the editor window opens: beside the game's window when the desktop has room on either
// side, otherwise inside the desktop's right edge; never off the desktop, and no taller than it.
#include "editor/window_place.h"

#include <gtest/gtest.h>

namespace skerrow::test {
namespace {

TEST(EditorWindowPlace, BesideTheGameWhereThereIsRoomAndAlwaysInsideTheDesktop) {
  const ScreenRect desktop1280{0, 0, 1280, 1024};
  const FrameBorders none{};
  const FrameBorders framed{28, 2, 2, 2};  // a title bar and thin sides
  struct Row {
    const char* name;
    ScreenRect game, desktop;
    FrameBorders borders;
    ScreenRect expected;
  };
  const Row rows[] = {
      {"room on the right", {0, 0, 800, 600}, desktop1280, none, {808, 0, 347, 818}},
      {"framed, room on the right",
       {2, 28, 800, 600},
       desktop1280,
       framed,
       {2 + 800 + 2 + 8 + 2, 28, 347, 818}},
      // The game centred on the desktop: 240 + 800 + 8 + 347 is past 1280, and 240 - 8 - 347
      // before 0: inside the right edge, over the game.
      {"centred game", {240, 212, 800, 600}, desktop1280, none, {933, 206, 347, 818}},
      {"room on the left only", {470, 100, 800, 600}, desktop1280, none, {115, 100, 347, 818}},
      {"full screen", {0, 0, 1280, 1024}, desktop1280, none, {933, 0, 347, 818}},
      // A desktop lower than the window: as tall as it holds, frame included.
      {"low desktop", {0, 0, 640, 480}, {0, 0, 1024, 768}, framed, {652, 28, 347, 738}},
      // A second monitor to the right and a panel on top of the first.
      {"second monitor", {1300, 60, 800, 600}, {1280, 32, 1920, 1048}, none, {2108, 60, 347, 818}},
      {"panel on top", {0, 0, 800, 600}, {0, 32, 1280, 992}, none, {808, 32, 347, 818}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const ScreenRect p = EditorWindowPlace(r.game, r.desktop, r.borders, 347, 818, 8);
    EXPECT_EQ(p.x, r.expected.x);
    EXPECT_EQ(p.y, r.expected.y);
    EXPECT_EQ(p.width, r.expected.width);
    EXPECT_EQ(p.height, r.expected.height);
    // Frame and all inside the desktop's usable area.
    EXPECT_GE(p.x - r.borders.left, r.desktop.x);
    EXPECT_GE(p.y - r.borders.top, r.desktop.y);
    EXPECT_LE(p.x + p.width + r.borders.right, r.desktop.x + r.desktop.width);
    EXPECT_LE(p.y + p.height + r.borders.bottom, r.desktop.y + r.desktop.height);
  }
}

}  // namespace
}  // namespace skerrow::test
