// Shared headless GL window for the engine tests.
#include "gl_fixture.h"

#include <GL/gl.h>

#include <fstream>
#include <random>

#include "engine/textures.h"
#include "platform/paths.h"

namespace skerrow::test {

namespace {
std::unique_ptr<platform::Window> g_window;
TKTZGL_Scene g_scene;
}  // namespace

void GlTest::SetUpTestSuite() {
  if (g_window) return;  // kept open for the whole run
  auto window = platform::CreateSdlWindow();
  platform::DisplayConfig config;
  config.width = 800;
  config.height = 600;
  config.headless = true;
  if (window->Open(config) && window->HasGL()) g_window = std::move(window);
}

void GlTest::TearDownTestSuite() {}

TKTZGL_Scene& GlTest::Scene() {
  return g_scene;
}
bool GlTest::HasWindow() {
  return g_window != nullptr;
}

void GlTest::SetUp() {
  previous_ =
      platform::SetMessageHandler([this](const std::string& caption, const std::string& text) {
        shown_.push_back({caption, text});
      });
  std::random_device rd;
  dir_ = std::filesystem::temp_directory_path() /
         ("skerrow_engine_" + std::to_string(rd()) + "_" + std::to_string(rd()));
  std::filesystem::create_directories(dir_);
  InvalidatePathCache();
  if (!g_window) return;
  g_scene = TKTZGL_Scene{};
  g_scene.InitGL(*g_window, 800, 600, 0.1, 50.0);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlTest::TearDown() {
  platform::SetMessageHandler(previous_);
  for (const TPictureError& m : shown_) ADD_FAILURE() << "message box shown: " << m.text;
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
  InvalidatePathCache();
  if (g_window) {
    while (glGetError() != GL_NO_ERROR) {
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    glLoadIdentity();
  }
}

void GlTest::UseOverlay() {
  g_scene.Camera.Perspective = 0;
  g_scene.Camera.SetProjection(g_scene.Width, g_scene.Height);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_DEPTH_TEST);
  glColor4f(1, 1, 1, 1);
}

std::array<int, 3> GlTest::Pixel(int x, int y) {
  uint8_t rgb[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(x, g_scene.Height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  return {rgb[0], rgb[1], rgb[2]};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteBmp24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const uint32_t imageSize = static_cast<uint32_t>(stride * height);
  std::string b;
  auto u16 = [&b](uint32_t v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  b += "BM";
  u32(54 + imageSize);
  u32(0);
  u32(54);
  u32(40);
  u32(static_cast<uint32_t>(width));
  u32(static_cast<uint32_t>(height));
  u16(1);
  u16(24);
  u32(0);
  u32(imageSize);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int row = height - 1; row >= 0; --row) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      const size_t i = (static_cast<size_t>(row) * width + x) * 3;
      b.push_back(static_cast<char>(rgb[i + 2]));
      b.push_back(static_cast<char>(rgb[i + 1]));
      b.push_back(static_cast<char>(rgb[i]));
    }
    for (int p = width * 3; p < stride; ++p) b.push_back(0);
  }
  WriteFile(path, b);
}

}  // namespace skerrow::test
