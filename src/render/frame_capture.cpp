// Frame capture for screenshots and thumbnails through the graphics library.
#include "render/frame_capture.h"

#include <GL/gl.h>

#include <cstddef>

namespace skerrow {

void BeginFrameCapture(int32_t width, int32_t height) {
  glViewport(0, 0, width, height);
  glDepthFunc(GL_LEQUAL);
}

void EndFrameCapture(int32_t width, int32_t height, std::vector<uint8_t>& bgr, int32_t displayWidth,
                     int32_t displayHeight) {
  ReadFrameBgr(width, height, bgr);
  glViewport(0, 0, displayWidth, displayHeight);
}

void ReadFrameBgr(int32_t width, int32_t height, std::vector<uint8_t>& bgr) {
  if (width <= 0 || height <= 0) {
    bgr.clear();
    return;
  }
  bgr.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, bgr.data());
}

}  // namespace skerrow
