// The toolkit's press and release handling: strict hit tests, buttons firing on release
// wherever the pointer is, close boxes, cancelled clicks of hidden windows, dragging, check
// boxes and the order in which windows take a press.
#include <gtest/gtest.h>

#include <string>

#include "gui/gui.h"

namespace skerrow {
namespace {

class ToolkitTest : public ::testing::Test {
 protected:
  // The options window at (100, 100), 150 high and 200 wide, with a button at (20, 40) of
  // 80 x 25 and a check box at (20, 90); the main menu window far away with one button.
  ToolkitTest() {
    TWindow& w = gui.windows.options;
    InitWindow(w, 100, 100, 150, 200);
    AddButton(w, 20, 40, "Ok", 25, 80, [this](TButton& b, int32_t arg) {
      ++fired;
      firedIndex = b.index;
      firedArg = arg;
    });
    AddCheckBox(w, 20, 90, false, [this] { ++toggled; });
    TWindow& m = gui.windows.mainMenu;
    InitWindow(m, 500, 300, 100, 120);
    AddButton(m, 10, 40, "Go", 25, 100, [this](TButton&, int32_t) { ++otherFired; });
  }

  // Puts the pointer at screen coordinates measured like window positions (y downwards from
  // the top band).
  void PointAt(int32_t x, int32_t yDown) {
    gui.pointer.x = x;
    gui.pointer.y = 574 - yDown;
  }
  bool PressAt(int32_t x, int32_t yDown) {
    PointAt(x, yDown);
    return PressGUI(gui);
  }

  TGui gui;
  int fired = 0, firedIndex = -1, firedArg = 0, toggled = 0, otherFired = 0;
};

TEST_F(ToolkitTest, PressMoveOffAndReleaseStillFires) {
  ASSERT_TRUE(PressAt(100 + 30, 100 + 50));
  EXPECT_EQ(+gui.windows.options.buttons[1].pressed, 1);
  EXPECT_EQ(fired, 0);  // nothing fires on the press
  PointAt(5, 590);      // far outside every window
  EXPECT_FALSE(PressGUI(gui, true));
  ReleaseGUI(gui, 7);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(firedIndex, 1);
  EXPECT_EQ(firedArg, 7);
  EXPECT_EQ(+gui.windows.options.buttons[1].pressed, 0);
  ReleaseGUI(gui, 7);  // a second release has nothing to fire
  EXPECT_EQ(fired, 1);
}

TEST_F(ToolkitTest, EdgesAreOutsideEveryHitTest) {
  struct Case {
    const char* what;
    int32_t x, y;
    bool taken, buttonPressed;
  };
  const Case cases[] = {
      {"window left edge", 100, 150, false, false},
      {"window right edge", 300, 150, false, false},
      {"window top edge", 150, 100, false, false},
      {"window bottom edge", 150, 250, false, false},
      // Inside a window but on no item: not taken either.
      {"just inside the bottom-right corner", 299, 249, false, false},
      {"button left edge", 120, 150, false, false},
      {"button right edge", 200, 150, false, false},
      {"button top edge", 150, 140, false, false},
      {"button bottom edge", 150, 165, false, false},
      {"just inside the button", 121, 141, true, true},
  };
  for (const Case& c : cases) {
    gui.pressedButton = nullptr;
    gui.windows.options.buttons[1].pressed = 0;
    EXPECT_EQ(PressAt(c.x, c.y), c.taken) << c.what;
    EXPECT_EQ(gui.windows.options.buttons[1].pressed == 1, c.buttonPressed) << c.what;
    EXPECT_EQ(+gui.dragging, 0) << c.what;
  }
}

TEST_F(ToolkitTest, CloseBoxHidesTheWindowAndFiresNothing) {
  // The close box spans x 278..294 and y 108..124 of the screen (window + 178..194, + 8..24).
  ASSERT_TRUE(PressAt(100 + 200 - 14, 100 + 16));
  EXPECT_EQ(+gui.windows.options.visible, 0);
  ReleaseGUI(gui, 0);
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(otherFired, 0);
  // A hidden window takes no press: the click falls through to nothing.
  EXPECT_FALSE(PressAt(130, 150));
}

TEST_F(ToolkitTest, HidingBetweenPressAndReleaseCancelsOnlyThatWindowsClick) {
  ASSERT_TRUE(PressAt(130, 150));
  HideWindow(gui, gui.windows.options);  // e.g. a key handler
  ReleaseGUI(gui, 0);
  EXPECT_EQ(fired, 0);
  // A press pending on another window is not cancelled by hiding this one.
  gui.windows.options.visible = 1;
  ASSERT_TRUE(PressAt(500 + 50, 300 + 50));
  HideWindow(gui, gui.windows.options);
  ReleaseGUI(gui, 0);
  EXPECT_EQ(otherFired, 1);
}

TEST_F(ToolkitTest, DraggedWindowKeepsItsOffsetFromThePointer) {
  ASSERT_TRUE(PressAt(150, 110));  // title bar: 100 + 1 < y < 100 + 26
  ASSERT_EQ(+gui.dragging, 1);
  // Far outside the window, and past the screen's edges: the offset stays (-50, -10).
  for (const auto& [x, y] : {std::pair{400, 300}, std::pair{10, 20}, std::pair{-30, 700}}) {
    PointAt(x, y);
    EXPECT_TRUE(PressGUI(gui, true));
    EXPECT_EQ(gui.windows.options.x, x - 50);
    EXPECT_EQ(gui.windows.options.y, y - 10);
  }
  ReleaseGUI(gui, 0);
  EXPECT_EQ(+gui.dragging, 0);
  EXPECT_EQ(fired, 0);
  PointAt(700, 500);
  PressGUI(gui, true);
  EXPECT_EQ(gui.windows.options.x, -80);  // no longer follows
}

TEST_F(ToolkitTest, CheckBoxTogglesOnThePressOnly) {
  ASSERT_TRUE(PressAt(100 + 28, 100 + 98));
  EXPECT_EQ(+gui.windows.options.checkBoxes[0].checked, 1);
  EXPECT_EQ(toggled, 1);
  // Moves with the button held do not toggle it again.
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(PressGUI(gui, true));
  EXPECT_EQ(+gui.windows.options.checkBoxes[0].checked, 1);
  EXPECT_EQ(toggled, 1);
  ReleaseGUI(gui, 0);
  ASSERT_TRUE(PressAt(100 + 28, 100 + 98));
  EXPECT_EQ(+gui.windows.options.checkBoxes[0].checked, 0);
  EXPECT_EQ(toggled, 2);
}

TEST_F(ToolkitTest, WindowsTakeThePressInTheirOrderAndButtonZeroNeverFires) {
  // The main menu moved under the options' button: the options window is asked first.
  gui.windows.mainMenu.x = 100;
  gui.windows.mainMenu.y = 100;
  ASSERT_TRUE(PressAt(130, 150));
  ReleaseGUI(gui, 0);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(otherFired, 0);
  // The empty button 0 of size 0 x 0 cannot be pressed, even at its own corner.
  EXPECT_EQ(gui.windows.options.buttons[0].width, 0);
  EXPECT_FALSE(PressAt(100, 100));
}

TEST(ToolkitFont, GlyphWidthsAddOneEach) {
  TGui gui;
  gui.glyphWidths[static_cast<uint8_t>('\xCF')] = 10;  // П
  gui.glyphWidths[static_cast<uint8_t>('\xF0')] = 7;   // р
  EXPECT_EQ(GuiTextWidth(gui, "\xCF\xF0\xCF"), 11 + 8 + 11);
  EXPECT_EQ(GuiTextWidth(gui, ""), 0);
  // Cut to a width: the longest prefix with ".." that fits; a text that fits stays whole.
  gui.glyphWidths['.'] = 2;  // ".." is 6 wide
  EXPECT_EQ(FitGuiText(gui, "\xCF\xF0\xCF", 30), "\xCF\xF0\xCF");
  EXPECT_EQ(FitGuiText(gui, "\xCF\xF0\xCF", 29), "\xCF\xF0..");
  EXPECT_EQ(FitGuiText(gui, std::string(500, '\xCF'), 315).size(), 28u + 2);
  EXPECT_LE(GuiTextWidth(gui, FitGuiText(gui, std::string(500, '\xCF'), 315)), 315);
}

}  // namespace
}  // namespace skerrow
