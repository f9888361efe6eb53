// Window input handlers of the main game object: keys, typed characters and mouse buttons.
#include "platform/platform.h"
#include "shell/skerrow_form.h"
#include "world/world_state.h"

namespace skerrow {

void TSkerrowForm::FormKeyDown(int vk, uint32_t) {
  liveKeys_.SetDown(vk, true);
}
void TSkerrowForm::FormKeyUp(int vk, uint32_t) {
  liveKeys_.SetDown(vk, false);
}
void TSkerrowForm::FormKeyPress(uint8_t) {}

void TSkerrowForm::FormMouseDown(int button, int, int) {
  WorldState& w = *world_;
  if (button == platform::kMouseLeft) w.mouseLeftHeld = 1;
  if (button == platform::kMouseRight) w.mouseRightHeld = 1;
  if (button == platform::kMouseMiddle) w.mouseMiddleHeld = 1;
}

void TSkerrowForm::FormMouseUp(int button, int, int) {
  WorldState& w = *world_;
  if (button == platform::kMouseLeft) w.mouseLeftHeld = 0;
  if (button == platform::kMouseRight) w.mouseRightHeld = 0;
  if (button == platform::kMouseMiddle) w.mouseMiddleHeld = 0;
}

void TSkerrowForm::FormMouseMove(int, int) {}

}  // namespace skerrow
