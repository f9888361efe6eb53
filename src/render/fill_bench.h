// The fill-rate floor of the rasteriser: wall time of one full-screen textured quad at the
// display size, ended by glFinish like a benchmarked frame.
#pragma once

namespace skerrow {
class TKTZGL_Scene;
// Median in microseconds over `repeats` quads (0 without a context); `cpuMedian`, when given,
// gets the median of the same quads in this thread's CPU time. Leaves the frame's colour
// buffer overwritten; call after the last frame.
double MeasureFillMicroseconds(TKTZGL_Scene& scene, int repeats = 31, double* cpuMedian = nullptr);
}  // namespace skerrow
