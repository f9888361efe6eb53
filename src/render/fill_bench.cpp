// One textured quad over the whole window, timed to glFinish.
#include "render/fill_bench.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "engine/ktzgl.h"
#include "platform/platform.h"

namespace skerrow {

double MeasureFillMicroseconds(TKTZGL_Scene& scene, int repeats, double* cpuMedian) {
  if (cpuMedian != nullptr) *cpuMedian = 0;
  if (scene.Width <= 0 || scene.Height <= 0 || repeats <= 0) return 0;
  // A 256 x 256 grey texture, mipmapped like the game's, stretched over the window.
  std::vector<unsigned char> pixels(256 * 256 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
  GLuint tex = 0;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  scene.Camera.FieldOfView = 90;
  scene.Camera.SetProjection(scene.Width, scene.Height);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  glFinish();
  std::vector<double> us, cpu;
  us.reserve(static_cast<size_t>(repeats));
  cpu.reserve(static_cast<size_t>(repeats));
  for (int i = 0; i < repeats; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = platform::ThreadCpuMicroseconds();
    scene.DrawRectPercent(0, 0, 100, 100);
    glFinish();
    cpu.push_back(platform::ThreadCpuMicroseconds() - c0);
    us.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
  }
  glDeleteTextures(1, &tex);
  glEnable(GL_DEPTH_TEST);
  std::sort(us.begin(), us.end());
  std::sort(cpu.begin(), cpu.end());
  if (cpuMedian != nullptr) *cpuMedian = cpu[cpu.size() / 2];
  return us[us.size() / 2];
}

}  // namespace skerrow
