// Window-style timers on one service fed by the loop's clock: each fires from the idle loop
// once its interval has passed since it last fired (or was enabled), with the whole
// milliseconds elapsed since then. A timer never fires re-entrantly.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skerrow {

class TimerService {
 public:
  using Callback = std::function<void(int32_t elapsedMs)>;

  // Adds a timer with `intervalMs` (>= 1); returns its id.
  int Add(int32_t intervalMs, Callback callback);
  // Enabling (re)starts the interval at the current clock reading.
  void SetEnabled(int id, bool enabled);
  bool Enabled(int id) const;
  // Sets the clock and fires every enabled timer that is due, in the order they were added.
  // A callback may enable or disable timers; calls while a callback runs do nothing.
  void Advance(uint64_t nowMs);
  uint64_t Now() const { return now_; }

 private:
  struct Timer {
    int32_t interval = 1;
    bool enabled = false;
    uint64_t last = 0;
    Callback callback;
  };
  std::vector<Timer> timers_;
  uint64_t now_ = 0;
  bool firing_ = false;
};

}  // namespace skerrow
