// Start-up sequence of the main game object: options, display, movie stages and resource
// loading, ending in the menu mode; and shutdown.
#include <algorithm>
#include <cfenv>
#include <chrono>
#include <iostream>

#include "platform/paths.h"
#include "platform/random.h"
#include "shell/skerrow_form.h"
#include "world/world_state.h"

namespace skerrow {

void TSkerrowForm::FormCreate() {
  WorldState& w = *world_;
  if (options_.seed) {
    SharedRandom().Seed(*options_.seed);
  } else {
    SharedRandom().Seed(
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  }
  w.levelNumber = 1;
  std::string root = options_.root.empty() ? ExecutableDirectory() : options_.root;
  if (root.back() != '/' && root.back() != '\\') root += '/';
  w.appPath = root;
  w.browseSlot = 1;
  // Every floating-point exception stays masked (the default environment masks them all).
  std::fesetenv(FE_DFL_ENV);
}

bool TSkerrowForm::ddrawInitialize() {
  platform::DisplayConfig cfg;
  cfg.headless = options_.headless;
  if (options_.width > 0) {
    cfg.width = options_.width;
    cfg.height = options_.height;
  }
  cfg.fullscreen = options_.fullscreen.value_or(false) && !options_.headless;
  if (!window_->Open(cfg)) {
    if (!options_.headless) {
      std::cerr << "skerrow: cannot open the display: " << window_->Error() << "\n";
      return false;
    }
    std::cerr << "skerrow: no offscreen GL (" << window_->Error()
              << "); running without a display\n";
    window_ = platform::CreateNullWindow();
    window_->Open(cfg);
  }
  WorldState& w = *world_;
  window_->ShowCursor(false);
  w.cameraNumber = 1;
  w.fixedCamera = 1;
  w.gameSpeed = 40;
  w.screenAspect = static_cast<double>(window_->Width()) / std::max(window_->Height(), 1);
  w.playerUnit = 1;
  w.skyFogColour = {180.0f / 255.0f, 180.0f / 255.0f, 120.0f / 255.0f, 1.0f};
  // Movie stage 0 ("gdata\movies\Pelk.avi"): no movie player yet, so every stage is
  // skipped as for a missing file.
  movieStage_ = 1;
  timers_.SetEnabled(timer_, true);
  return true;
}

void TSkerrowForm::dsoundInitialize() {}

void TSkerrowForm::TimerTimer() {
  // Stages 1 and 2 would play "Orvel.avi" and "Dunmar.avi"; absent movies move straight on.
  if (movieStage_ == 1 || movieStage_ == 2) {
    ++movieStage_;
    return;
  }
  if (movieStage_ != 3) return;
  WorldState& w = *world_;
  timers_.SetEnabled(timer_, false);
  LoadResources(true);
  w.GameMode = 1;
  w.menuScreen = 1;
  timers_.SetEnabled(dtimer_, true);
  w.skyFogTarget = {1.0f, 1.0f, 1.0f, 1.0f};
  w.heightBrush = 5;
  w.screenFade = 1.2;
  timers_.SetEnabled(fpsTimer_, true);
  window_->ShowCursor(true);
  ticksSinceStartup_ = 0;
  if (options_.ticks == 0) quit_ = true;
}

void TSkerrowForm::LoadResources(bool) {}

void TSkerrowForm::FormDestroy() {
  window_->Close();
}

}  // namespace skerrow
