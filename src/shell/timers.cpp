// Window-style timers driven by the idle loop.
#include "shell/timers.h"

#include <algorithm>
#include <limits>

namespace skerrow {

int TimerService::Add(int32_t intervalMs, Callback callback) {
  Timer t;
  t.interval = std::max<int32_t>(intervalMs, 1);
  t.callback = std::move(callback);
  t.last = now_;
  timers_.push_back(std::move(t));
  return static_cast<int>(timers_.size()) - 1;
}

void TimerService::SetEnabled(int id, bool enabled) {
  if (id < 0 || id >= static_cast<int>(timers_.size())) return;
  Timer& t = timers_[id];
  if (enabled && !t.enabled) t.last = now_;
  t.enabled = enabled;
}

bool TimerService::Enabled(int id) const {
  return id >= 0 && id < static_cast<int>(timers_.size()) && timers_[id].enabled;
}

void TimerService::Advance(uint64_t nowMs) {
  if (firing_) return;
  now_ = std::max(now_, nowMs);
  firing_ = true;
  for (size_t i = 0; i < timers_.size(); ++i) {
    Timer& t = timers_[i];
    if (!t.enabled || now_ - t.last < static_cast<uint64_t>(t.interval)) continue;
    uint64_t elapsed = now_ - t.last;
    t.last = now_;
    // A long stall arrives as one call, like coalesced window timer messages.
    int32_t e =
        static_cast<int32_t>(std::min<uint64_t>(elapsed, std::numeric_limits<int32_t>::max()));
    Callback cb = t.callback;  // the callback may add timers and move the vector
    cb(e);
  }
  firing_ = false;
}

}  // namespace skerrow
