// The main form as the play step's host and as the frame source of screenshots. The in-play
// windows and save games keep the do-nothing defaults until those parts of the form exist.
#include "shell/form_play_host.h"

#include "gui/menu.h"
#include "render/frame.h"
#include "render/frame_capture.h"
#include "render/renderer.h"
#include "shell/skerrow_form.h"
#include "world/world_state.h"

namespace skerrow {

void FormPlayHost::RefreshKeyboard() {
  form_.RefreshKeyboard();
}

bool FormPlayHost::KeyDown(int vk) {
  return form_.KeyDown(vk);
}

void FormPlayHost::PlaceListener(double x, double y, double z) {
  form_.SetListener(x, y, z);
}

void FormPlayHost::PlaySound(int32_t sound, double x, double y, double z) {
  form_.PlaySound(sound, x, y, z);
}

void FormPlayHost::EnterLevel(int32_t level) {
  form_.EnterLevel(level);
}

void FormPlayHost::UpdateDispatch() {
  form_.UpdateDispatch();
}

bool FormFrameSource::RenderFrame(int32_t width, int32_t height, std::vector<uint8_t>& bgr) {
  platform::Window& display = form_.Display();
  if (!display.HasGL()) return false;
  BeginFrameCapture(width, height);
  form_.DrawModeFrame();
  EndFrameCapture(width, height, bgr, display.Width(), display.Height());
  return true;
}

}  // namespace skerrow
