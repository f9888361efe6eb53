// Off-screen capture of a frame: the viewport for a w x h capture and the one read-back of the
// drawn pixels (screenshots, thumbnails, the loading-screen capture and --screenshot).
#pragma once

#include <cstdint>
#include <vector>

namespace skerrow {
// Viewport w x h and depth test less-or-equal, before the frame is drawn.
void BeginFrameCapture(int32_t width, int32_t height);
// Reads the drawn frame into `bgr` (resized to w * h * 3) and restores the viewport to the
// display size.
void EndFrameCapture(int32_t width, int32_t height, std::vector<uint8_t>& bgr, int32_t displayWidth,
                     int32_t displayHeight);
// The lower-left w x h pixels of the back buffer as bottom-up B, G, R triples; `bgr` is
// resized to w * h * 3.
void ReadFrameBgr(int32_t width, int32_t height, std::vector<uint8_t>& bgr);
}  // namespace skerrow
