// The fill-rate floor of the rasteriser: wall time of one full-screen textured quad at the
// display size, ended by glFinish like a benchmarked frame.
#pragma once

namespace skerrow {
class TKTZGL_Scene;
// Median in microseconds over `repeats` quads (0 without a context). Leaves the frame's
// colour buffer overwritten; call after the last frame.
double MeasureFillMicroseconds(TKTZGL_Scene& scene, int repeats = 31);
}  // namespace skerrow
