// The play step's link to the main form: keyboard snapshot, level changes, update dispatch,
// frames for screenshots, and the enemy-side sub-steps.
#pragma once

#include "simulation/play_host.h"

namespace skerrow {

class TSkerrowForm;

class FormPlayHost : public PlayHost {
 public:
  explicit FormPlayHost(TSkerrowForm& form) : form_(form) {}

  void RefreshKeyboard() override;
  bool KeyDown(int vk) override;
  void EnterLevel(int32_t level) override;
  void UpdateDispatch() override;
  void UpdateEnemyBehaviour(WorldState& w) override;
  void UpdateTriggers(WorldState& w) override;
  void UpdateProjectiles(WorldState& w) override;
  void DestroyUnit(WorldState& w, int32_t unit) override;
  bool RenderFrame(int32_t width, int32_t height, std::vector<uint8_t>& bgr) override;
  bool WaterSwitchOn() override;
  void AnimateWater(double amount) override;

 private:
  TSkerrowForm& form_;
};

}  // namespace skerrow
