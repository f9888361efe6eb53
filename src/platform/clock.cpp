// The real monotonic clock for the shell's tick source and the thread CPU clock of the
// measurements (neither is read by the simulation).
#include <time.h>

#include <chrono>

#include "platform/platform.h"

namespace skerrow::platform {

uint64_t RealMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

double ThreadCpuMicroseconds() {
  timespec t{};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) != 0) return 0;
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

}  // namespace skerrow::platform
