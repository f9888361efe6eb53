// Per-pass CPU times of the play frame and their medians.
#include "render/pass_timer.h"

#include <GL/gl.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/platform.h"

namespace skerrow {

namespace {
constexpr const char* kPassNames[] = {"sky",   "floor",     "objects",   "water",
                                      "units", "decals",    "darkening", "depthplane",
                                      "halos", "particles", "glows",     "overlay"};
static_assert(std::size(kPassNames) == kPassTimeCount);
}  // namespace

void PassTimer::Enable() {
  if (!samples_) samples_ = std::make_unique<Samples>();
}

void PassTimer::BeginFrame() {
  if (!On()) return;
  glFinish();
  frame_.fill(0);
  last_ = platform::ThreadCpuMicroseconds();
}

void PassTimer::Mark(PassTime pass) {
  if (!On() || pass < 0 || pass >= kPassTimeCount) return;
  glFinish();
  const double now = platform::ThreadCpuMicroseconds();
  frame_[static_cast<size_t>(pass)] += now - last_;
  last_ = now;
}

void PassTimer::EndFrame() {
  if (!On() || frames_ >= kMaxFrames) return;
  for (size_t p = 0; p < frame_.size(); ++p) {
    (*samples_)[p][static_cast<size_t>(frames_)] = static_cast<float>(frame_[p]);
  }
  ++frames_;
}

void PassTimer::Print(std::FILE* out) const {
  if (!On()) return;
  std::fprintf(out, "passes_cpu_us_median");
  std::vector<float> v;
  for (size_t p = 0; p < kPassTimeCount; ++p) {
    v.assign((*samples_)[p].begin(), (*samples_)[p].begin() + frames_);
    float median = 0;
    if (!v.empty()) {
      std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
      median = v[v.size() / 2];
    }
    std::fprintf(out, " %s=%.0f", kPassNames[p], static_cast<double>(median));
  }
  std::fprintf(out, " frames=%d\n", static_cast<int>(frames_));
}

}  // namespace skerrow
