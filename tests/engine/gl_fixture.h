// Test fixture: one headless 800 x 600 window with a GL context and an initialised scene,
// shared by every engine GL test, plus pixel read-back and the loaders' message list.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/ktzgl.h"
#include "engine/textures.h"
#include "platform/messages.h"
#include "platform/platform.h"

namespace skerrow::test {

class GlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // The scene as InitGL left it (re-initialised for each test).
  static TKTZGL_Scene& Scene();
  static bool HasWindow();

  // Orthographic overlay camera with an identity modelview, lighting, fog and depth off.
  void UseOverlay();
  // RGB of one pixel, y counted from the top of the window.
  static std::array<int, 3> Pixel(int x, int y);
  // Directory for the test's files (removed after the test).
  std::string TempDir() const { return dir_.string() + "/"; }

  // Handed to the loaders: what they have to say, in order.
  TLoaderMessages messages_;

 private:
  // Message boxes shown during the test: the engine shows none, so TearDown expects this empty.
  std::vector<TPictureError> shown_;
  std::filesystem::path dir_;
  platform::MessageHandler previous_;
};

// Writes an uncompressed 24-bit bitmap; `rgb` holds the rows top-down as R, G, B.
void WriteBmp24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace skerrow::test

#define SKIP_WITHOUT_GL() \
  if (!HasWindow()) GTEST_SKIP() << "no GL context"
