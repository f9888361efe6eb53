// A game controller in the interface windows: pointer travel from the sticks and the d-pad, and
// a run with the controller alone from the main menu into play that closes level 1's hints,
// with B stepping back out of the options, the key window and the in-game menu.
#include "shell/input_pad.h"

#include <gtest/gtest.h>

#include <memory>

#include "gui/interface.h"
#include "platform/platform.h"
#include "platform/vk_codes.h"
#include "render/renderer.h"
#include "shell/skerrow_form.h"
#include "support/pack_root.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

using platform::PadState;

TEST(PadPointerTravel, DeadZoneProportionalClampedAndTheDpadAtHalfSpeed) {
  // 40 ms on a 600-pixel-high display: 24 pixels at full deflection.
  const struct {
    const char* name;
    int16_t left, right;
    int dpad;
    int64_t ms;
    double pixels;
  } kCases[] = {
      {"at rest", 0, 0, 0, 40, 0.0},
      {"inside the dead zone", kPadDeadZone, -kPadDeadZone, 0, 40, 0.0},
      {"right stick full", 0, 32767, 0, 40, 24.0},
      {"right stick full the other way", 0, -32768, 0, 40, -24.0},
      {"half way past the dead zone", 0,
       static_cast<int16_t>(kPadDeadZone + (32767 - kPadDeadZone) / 2), 0, 40, 12.0},
      {"both sticks full: clamped", 32767, 32767, 0, 40, 24.0},
      {"sticks against each other", 32767, -32768, 0, 40, 0.0},
      {"d-pad alone", 0, 0, -1, 40, -12.0},
      {"d-pad and a full stick: clamped", 0, 32767, 1, 40, 24.0},
      {"no time", 0, 32767, 1, 0, 0.0},
  };
  for (const auto& c : kCases) {
    EXPECT_NEAR(PadPointerTravel(c.left, c.right, c.dpad, c.ms, 600), c.pixels, 0.01) << c.name;
  }
}

// The game on a copy of the content pack after start-up at 800 x 600, no window: the menu.
std::unique_ptr<TSkerrowForm> RunGame() {
  CommandLine cl;
  cl.headless = true;
  cl.ticks = 0;
  cl.root = test::GameRoot("pad").string();
  cl.fullscreen = false;
  cl.width = 800;
  cl.height = 600;
  auto form = std::make_unique<TSkerrowForm>(cl, platform::CreateNullWindow());
  EXPECT_EQ(form->Run(), 0);
  return form;
}

// The right stick pushed toward a point of the interface (x to the right, y downwards from the
// screen's top) report by report of 40 ms, as a player steers it, until the pointer is there.
void SteerTo(TSkerrowForm& form, int gx, int gyDown) {
  const int tx = gx * form.Display().Width() / kGuiWidth;
  const int ty = gyDown * form.Display().Height() / kGuiHeight;
  const double full = PadPointerTravel(0, 32767, 0, 40, form.Display().Height());
  const auto deflection = [full](int distance) {
    const double f = std::min(1.0, std::abs(distance) / full);
    const int v = kPadDeadZone + 1 + static_cast<int>(f * (32767 - kPadDeadZone - 1));
    return static_cast<int16_t>(distance < 0 ? -v : v);
  };
  const TPoint& mouse = form.Render().state.mouse;
  for (int i = 0; i < 200 && (mouse.x != tx || mouse.y != ty); ++i) {
    PadState pad;
    if (mouse.x != tx) pad.rightX = deflection(tx - mouse.x);
    if (mouse.y != ty) pad.rightY = deflection(ty - mouse.y);
    form.PadInput(pad, 40);
  }
  form.PadInput(PadState{}, 40);
  ASSERT_EQ(mouse.x, tx);
  ASSERT_EQ(mouse.y, ty);
}

// A press and release of one button of the controller, 40 ms apart.
void Tap(TSkerrowForm& form, uint8_t PadState::*button) {
  PadState pad;
  pad.*button = 1;
  form.PadInput(pad, 40);
  form.PadInput(PadState{}, 40);
}

// A at the middle of button `index` of `window`.
void PressButton(TSkerrowForm& form, const TWindow& window, int index) {
  const TButton& b = window.buttons[index];
  SteerTo(form, window.x + b.x + b.width / 2, kGuiTopBand + window.y + b.y + b.height / 2);
  Tap(form, &PadState::a);
}

TEST(PadInWindows, AControllerAloneReachesPlayFromTheMenuAndClosesTheHints) {
  if (!test::HavePack()) GTEST_SKIP() << "no content pack";
  auto form = RunGame();
  WorldState& w = form->World();
  GuiWindows& g = form->Interface().gui.windows;
  ASSERT_EQ(+g.mainMenu.visible, 1);

  // "Настройки", then "Клавиши"; B steps back to the options, and B again to the main menu.
  PressButton(*form, g.mainMenu, 4);
  ASSERT_EQ(+g.options.visible, 1);
  PressButton(*form, g.options, 2);
  ASSERT_EQ(+g.keys.visible, 1);
  Tap(*form, &PadState::b);
  EXPECT_EQ(+g.keys.visible, 0);
  EXPECT_EQ(+g.options.visible, 1);
  Tap(*form, &PadState::b);
  EXPECT_EQ(+g.options.visible, 0);
  ASSERT_EQ(+g.mainMenu.visible, 1);

  // "Новая игра", "Выбрать" (slot 1), hero 1, ship 1 (their names as they come), the intro.
  PressButton(*form, g.mainMenu, 1);
  ASSERT_EQ(+g.saveLoad.visible, 1);
  PressButton(*form, g.saveLoad, kSlotActionButton);
  ASSERT_EQ(w.menuScreen, menu_screen::kHeroChoice);
  SteerTo(*form, 144, 138);  // 18 %, 23 %: hero 1
  Tap(*form, &PadState::a);
  ASSERT_EQ(w.menuScreen, menu_screen::kShipChoice);
  SteerTo(*form, 144, 216);  // 18 %, 36 %: ship 1
  Tap(*form, &PadState::a);
  Tap(*form, &PadState::a);  // skips the intro
  ASSERT_EQ(w.GameMode, game_mode::kPlay);

  // Level 1 opens its hint: A on "Продолжить игру" closes it, B closes the next one.
  ASSERT_EQ(+g.hintWindow.visible, 1);
  PressButton(*form, g.hintWindow, 1);
  for (int i = 0; i < 4 && g.hintWindow.visible == 1; ++i) Tap(*form, &PadState::b);
  EXPECT_EQ(+g.hintWindow.visible, 0);
  EXPECT_FALSE(PlayWindowOpen(form->Interface()));

  // Start opens the in-game menu; B takes the player back to play when it is let go, so that
  // its hold never reaches the right battery.
  form->OnKeyDown(kVkEscape, platform::kShiftController);
  form->OnKeyUp(kVkEscape, platform::kShiftController);
  ASSERT_EQ(+g.inGameMenu.visible, 1);
  PadState backHeld;
  backHeld.b = 1;
  form->PadInput(backHeld, 40);
  EXPECT_EQ(+g.inGameMenu.visible, 1);
  form->PadInput(PadState{}, 40);
  EXPECT_EQ(+g.inGameMenu.visible, 0);

  // In play with no window the controller is the ship's: the stick leaves the pointer, A and B
  // open nothing.
  const TPoint before = form->Render().state.mouse;
  PadState pad;
  pad.rightX = 32767;
  pad.a = 1;
  pad.b = 1;
  form->PadInput(pad, 40);
  form->PadInput(PadState{}, 40);
  EXPECT_EQ(form->Render().state.mouse.x, before.x);
  EXPECT_FALSE(PlayWindowOpen(form->Interface()));
  EXPECT_EQ(form->Interface().gui.pointer.held, 0);
}

}  // namespace
}  // namespace skerrow
