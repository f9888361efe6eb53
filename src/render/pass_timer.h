// CPU time of the play frame's passes, each ended by glFinish, for whoever measures next
// (SKERROW_PASS_TIMES=1 with --bench; with LP_NUM_THREADS=0 llvmpipe's rasterising is
// counted in the pass that asked for it). Off, it costs one test per pass.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace skerrow {

// The timed stretches of the play frame, in drawing order.
enum PassTime : int32_t {
  kTimeSky,         // clear and sky box
  kTimeFloor,       // islands and sea floor
  kTimeObjects,     // objects' shadow models, units below the sea, projectiles
  kTimeWater,       // water sheet and level edges
  kTimeUnits,       // units above the sea
  kTimeDecals,      // island decals and baked shadows
  kTimeDarkening,   // objects and the shadow darkening
  kTimeDepthPlane,  // bonuses and the water depth plane
  kTimeHalos,       // explosion halos
  kTimeParticles,   // particles
  kTimeGlows,       // bonus and projectile glows, snow
  kTimeOverlay,     // HUD, fade, GUI and cursor
  kPassTimeCount
};

class PassTimer {
 public:
  PassTimer() = default;
  // A copy of a render state (a test's fresh state) starts with the timer off and no samples.
  PassTimer(const PassTimer&) {}
  PassTimer& operator=(const PassTimer&) {
    *this = PassTimer{};
    return *this;
  }
  PassTimer(PassTimer&&) = default;
  PassTimer& operator=(PassTimer&&) = default;
  // Allocates the sample store (before the frames: they allocate nothing).
  void Enable();
  bool On() const { return samples_ != nullptr; }
  // glFinish, then the frame's clock starts.
  void BeginFrame();
  // glFinish, then the time since the last mark is added to `pass`.
  void Mark(PassTime pass);
  // Keeps this frame's times (up to kMaxFrames frames).
  void EndFrame();
  // One line: "passes_cpu_us_median sky=.. floor=.. ... frames=N".
  void Print(std::FILE* out) const;

  static constexpr int32_t kMaxFrames = 4096;

 private:
  using Samples = std::array<std::array<float, kMaxFrames>, kPassTimeCount>;
  std::unique_ptr<Samples> samples_;
  std::array<double, kPassTimeCount> frame_{};
  double last_ = 0;
  int32_t frames_ = 0;
};

}  // namespace skerrow
