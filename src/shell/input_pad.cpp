// A game controller in the interface windows: pointer travel from the sticks, A as the left
// mouse button and B as the way back, for the main form while a window holds the input.
#include "shell/input_pad.h"

#include <algorithm>
#include <cmath>

#include "gui/interface.h"
#include "platform/numeric.h"
#include "render/renderer.h"
#include "shell/skerrow_form.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

// Deflection past the dead zone as a fraction -1..1 of the rest of the travel.
double StickFraction(int16_t axis) {
  const int magnitude = std::abs(static_cast<int>(axis));
  if (magnitude <= kPadDeadZone) return 0.0;
  const double f = std::min(1.0, static_cast<double>(magnitude - kPadDeadZone) /
                                     static_cast<double>(32767 - kPadDeadZone));
  return axis < 0 ? -f : f;
}

// Fires the button `index` of `window` as a release over it does; false when it has none.
bool FireButton(TWindow& window, size_t index) {
  if (index == 0 || index >= window.buttons.size()) return false;
  TButton& b = window.buttons[index];
  if (!b.action) return false;
  b.action(b, 0);
  return true;
}

}  // namespace

double PadPointerTravel(int16_t leftStick, int16_t rightStick, int dpad, int64_t ms,
                        int displayHeight) {
  const double fraction = std::clamp(
      StickFraction(leftStick) + StickFraction(rightStick) + 0.5 * std::clamp(dpad, -1, 1), -1.0,
      1.0);
  return fraction * kPadFullSpeedHeightsPerMs * static_cast<double>(std::max(displayHeight, 0)) *
         static_cast<double>(std::max<int64_t>(ms, 0));
}

bool PadBack(TInterface& ui) {
  GuiWindows& g = ui.gui.windows;
  if (g.keys.visible == 1) return FireButton(g.keys, g.keys.buttons.size() - 1);  // "Готово"
  if (g.options.visible == 1) return FireButton(g.options, 1);        // "Закрыть"
  if (g.hintWindow.visible == 1) return FireButton(g.hintWindow, 1);  // "Продолжить игру"
  if (g.saveLoad.visible == 1) {
    HideWindow(ui.gui, g.saveLoad);
    if (ui.world != nullptr && ui.world->GameMode == game_mode::kPlay) {
      OpenInGameMenu(ui);
    } else {
      ShowMainMenu(ui);
    }
    return true;
  }
  if (g.networkNotice.visible == 1) return FireButton(g.networkNotice, 1);  // "Ок"
  if (g.inGameMenu.visible == 1) return FireButton(g.inGameMenu, 1);  // "Продолжить игру"
  return false;
}

void TSkerrowForm::OnPad(const platform::PadState& pad) {
  const uint64_t now = options_.headless ? virtualClock_ : platform::RealMilliseconds();
  // The first report moves nothing; a long gap (a level load) counts as one step at most.
  const int64_t ms = pad_.clockStarted != 0 && now >= pad_.lastMs
                         ? static_cast<int64_t>(std::min<uint64_t>(now - pad_.lastMs, 100))
                         : 0;
  pad_.lastMs = now;
  pad_.clockStarted = 1;
  PadInput(pad, ms);
}

void TSkerrowForm::PadInput(const platform::PadState& pad, int64_t ms) {
  const bool aPressed = pad.a != 0 && pad_.a == 0, aReleased = pad.a == 0 && pad_.a != 0;
  const bool bPressed = pad.b != 0 && pad_.b == 0, bReleased = pad.b == 0 && pad_.b != 0;
  pad_.a = pad.a;
  pad_.b = pad.b;
  if (!renderer_) return;  // before start-up: nothing to point at
  const WorldState& w = *world_;
  // The menu screens and the start-up movies take the pointer; in play only a window does, so
  // play keeps the controller's keys (A the bow gun, B the right battery) and its replays.
  const bool windows = w.GameMode == game_mode::kPlay ? PlayWindowOpen(*interface_)
                                                      : w.GameMode != game_mode::kEditorView;
  TPoint& mouse = Render().state.mouse;
  if (aReleased && pad_.leftDown != 0) {
    // Fires the button it pressed, also when that button's window has gone meanwhile.
    pad_.leftDown = 0;
    FormMouseUp(platform::kMouseLeft, mouse.x, mouse.y);
  }
  if (!windows) {
    pad_.backDown = 0;
    return;
  }
  // The real mouse moved the pointer since: the controller goes on from there.
  if (mouse.x != pad_.placedX || mouse.y != pad_.placedY) {
    pad_.x = mouse.x;
    pad_.y = mouse.y;
  }
  const int width = window_->Width(), height = window_->Height();
  const auto arrow = [](uint8_t minus, uint8_t plus) { return (plus != 0) - (minus != 0); };
  pad_.x += PadPointerTravel(pad.leftX, pad.rightX, arrow(pad.dpadLeft, pad.dpadRight), ms, height);
  pad_.y += PadPointerTravel(pad.leftY, pad.rightY, arrow(pad.dpadUp, pad.dpadDown), ms, height);
  pad_.x = std::clamp(pad_.x, 0.0, static_cast<double>(std::max(width - 1, 0)));
  pad_.y = std::clamp(pad_.y, 0.0, static_cast<double>(std::max(height - 1, 0)));
  const int32_t x = RoundToInt(pad_.x), y = RoundToInt(pad_.y);
  if (x != mouse.x || y != mouse.y) {
    window_->WarpMouse(x, y);
    FormMouseMove(x, y);
  }
  pad_.placedX = x;
  pad_.placedY = y;
  if (aPressed) {
    pad_.leftDown = 1;
    FormMouseDown(platform::kMouseLeft, x, y);
  }
  // B acts on its release, so that a window it closes does not hand its hold to the right
  // battery in play.
  if (bPressed) pad_.backDown = 1;
  if (bReleased && pad_.backDown != 0) {
    pad_.backDown = 0;
    if (interface_->gui.pressedButton == nullptr) PadBack(*interface_);
  }
}

}  // namespace skerrow
