// The pack's radar as the player sees it: its pictures drawn by the HUD on a headless GL
// context at 800 x 600, read back. The disc is centred on the ship's point, and an enemy due
// west of the ship shows to the left of it, at the same height.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/ktzgl.h"
#include "engine/textures.h"
#include "platform/platform.h"
#include "render/game_resources.h"
#include "render/later_passes.h"
#include "render/render_state.h"
#include "render/world_passes.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

constexpr int kW = 800, kH = 600;
const std::string kArt = std::string(SKERROW_BINARY_DIR) + "/gdata/textures/int/";

// The top-right quarter of the frame, where the radar is, rows from the top.
std::vector<uint8_t> ReadCorner() {
  std::vector<uint8_t> rgb(static_cast<size_t>(kW / 2) * (kH / 2) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(kW / 2, kH / 2, kW / 2, kH / 2, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

struct Spot {
  double x = 0, y = 0;  // window pixels, y from the top
  int count = 0;
};

// The middle of the pixels of the corner for which `pick(index)` holds.
template <typename Pick>
Spot Middle(Pick pick) {
  Spot s;
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (int row = 0; row < kH / 2; ++row) {
    for (int col = 0; col < kW / 2; ++col) {
      if (!pick((static_cast<size_t>(row) * (kW / 2) + col) * 3)) continue;
      const double x = kW / 2 + col, y = kH / 2 - 1 - row;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
      ++s.count;
    }
  }
  s.x = (minX + maxX) / 2, s.y = (minY + maxY) / 2;
  return s;
}

TEST(PackRadar, TheDiscIsCentredOnTheShipAndAnEnemyDueWestShowsLeftOfIt) {
  if (!fs::exists(kArt + "podlogka.qvt")) GTEST_SKIP() << "no content pack";
  auto window = platform::CreateSdlWindow();
  platform::DisplayConfig config;
  config.headless = true;
  if (!window->Open(config) || !window->HasGL()) GTEST_SKIP() << "no GL context";
  auto w = std::make_unique<WorldState>();
  auto res = std::make_unique<GameResources>();
  RenderState rs;
  res->scene = std::make_unique<TKTZGL_Scene>();
  res->scene->InitGL(*window, kW, kH, 0.1, 50.0);
  TLoaderMessages messages;
  for (const char* n : {"podlogka", "kompas"}) {
    uint32_t t = 0;
    ASSERT_TRUE(LoadTextureWithAlpha(kArt + n + ".qvt", kArt + n + "a.qvt", true, t, messages));
    res->textures[n] = t;
  }
  w->GameMode = game_mode::kPlay;
  w->playerUnit = 1;
  w->skyFogColour = {1, 1, 1, 1};
  w->pickupFlashLevel = -10;
  w->radarUnlocked = 1;
  w->radarAlpha = 1;
  UnitRecord& p = w->units[1];
  p.alive = 1;
  p.unitKind = kind::kPaddleSteamer;
  p.posX = p.posZ = 100;
  auto draw = [&] {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);
    res->scene->Camera.FieldOfView = 90;
    res->scene->Camera.SetProjection(kW, kH);
    glLoadIdentity();
    DrawContext c{*w, *res, *res->scene, rs};
    DrawHud(c, w->radarContacts);
    return ReadCorner();
  };
  const std::vector<uint8_t> art = draw();
  // Due west: world +x, 20 units off.
  UnitRecord& u = w->units[2];
  u.alive = 1;
  u.unitKind = kind::kGunboat;
  u.posX = 120;
  u.posZ = 100;
  const std::vector<uint8_t> withEnemy = draw();
  ASSERT_EQ(w->radarContacts, 1);

  const Spot disc = Middle([&](size_t i) { return art[i] + art[i + 1] + art[i + 2] > 30; });
  const Spot dot = Middle([&](size_t i) {
    return std::abs(withEnemy[i] - art[i]) + std::abs(withEnemy[i + 1] - art[i + 1]) > 60;
  });
  ASSERT_GT(disc.count, 1000);
  ASSERT_GT(dot.count, 0);
  // The ship's point: overlay (1.13, 0.82) at 4:3.
  const double shipX = (1.13 * 0.75 + 1) / 2 * kW, shipY = (1 - 0.82) / 2 * kH;
  EXPECT_NEAR(disc.x, shipX, 3);
  EXPECT_NEAR(disc.y, shipY, 3);
  EXPECT_LT(dot.x, disc.x - 10) << "the enemy shows right of the radar's centre";
  EXPECT_NEAR(dot.y, disc.y, 3);
  res.reset();
}

}  // namespace
}  // namespace skerrow
