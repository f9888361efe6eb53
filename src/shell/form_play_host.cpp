// The main form as the play step's host. Sound, water animation, the in-play windows and save
// games keep the do-nothing defaults until those parts of the form exist.
#include "shell/form_play_host.h"

#include "enemies/destroy_unit.h"
#include "enemies/enemy_behaviour.h"
#include "enemies/projectiles.h"
#include "enemies/triggers.h"
#include "gui/menu.h"
#include "render/frame.h"
#include "render/frame_capture.h"
#include "render/renderer.h"
#include "render/water.h"
#include "shell/skerrow_form.h"
#include "world/world_state.h"

namespace skerrow {

void FormPlayHost::RefreshKeyboard() {
  form_.RefreshKeyboard();
}

bool FormPlayHost::KeyDown(int vk) {
  return form_.KeyDown(vk);
}

void FormPlayHost::EnterLevel(int32_t level) {
  form_.EnterLevel(level);
}

void FormPlayHost::UpdateDispatch() {
  form_.UpdateDispatch();
}

void FormPlayHost::UpdateEnemyBehaviour(WorldState& w) {
  skerrow::UpdateEnemyBehaviour(w);
}

void FormPlayHost::UpdateTriggers(WorldState& w) {
  skerrow::UpdateTriggers(w);
}

void FormPlayHost::UpdateProjectiles(WorldState& w) {
  skerrow::UpdateProjectiles(w);
}

void FormPlayHost::DestroyUnit(WorldState& w, int32_t unit) {
  skerrow::DestroyUnit(w, unit);
}

bool FormPlayHost::RenderFrame(int32_t width, int32_t height, std::vector<uint8_t>& bgr) {
  platform::Window& display = form_.Display();
  if (!display.HasGL()) return false;
  BeginFrameCapture(width, height);
  form_.DrawModeFrame();
  EndFrameCapture(width, height, bgr, display.Width(), display.Height());
  return true;
}

bool FormPlayHost::WaterSwitchOn() {
  return form_.Render().state.switches.water == 1;
}

void FormPlayHost::AnimateWater(double amount) {
  AdvanceWater(form_.Render().state.water, amount);
}

}  // namespace skerrow
