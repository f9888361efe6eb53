// The real monotonic clock for the shell's tick source (never read by the simulation).
#include <chrono>

#include "platform/platform.h"

namespace skerrow::platform {

uint64_t RealMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace skerrow::platform
