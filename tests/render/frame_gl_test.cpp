// Frames on a headless GL context: world fog by darkness, picking over open sea, the screen
// fade, stencil shadows (one darkening for overlapping shadows, maxShadows), tag copies on the
// first frame, the water and floor passes, and each floor quality drawing something.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/ktzgl.h"
#include "engine/model.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "render/frame.h"
#include "render/frame_world.h"
#include "render/game_resources.h"
#include "render/render_state.h"
#include "render/terrain.h"
#include "render/water.h"
#include "render/world_passes.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

std::unique_ptr<platform::Window> g_window;

class FrameGlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (g_window) return;
    auto window = platform::CreateSdlWindow();
    platform::DisplayConfig config;
    config.headless = true;
    if (window->Open(config) && window->HasGL()) g_window = std::move(window);
  }
  void SetUp() override {
    if (!g_window) GTEST_SKIP() << "no GL context";
    w_ = std::make_unique<WorldState>();
    res_ = std::make_unique<GameResources>();
    rs_ = std::make_unique<RenderState>();
    res_->scene = std::make_unique<TKTZGL_Scene>();
    res_->scene->InitGL(*g_window, 800, 600, 0.1, 50.0);
    w_->GameMode = 2;
    w_->fixedCamera = 1;
    w_->levelSize = 400;
    w_->playerUnit = 1;
    w_->skyFogColour = {1, 1, 1, 1};
    w_->shadowPlanePoint = {-1, 0, -1, 0};
    w_->shadowPlaneNormal = {0, 1, 0, 0};
    w_->terrainView[0] = 47;
    w_->terrainView[1] = 14;
    w_->terrainView[2] = 47;
    w_->terrainView[3] = 64;
    // Camera 1 over (100, 100): 8.8 up, looking down at 45 degrees.
    w_->cameraPos = {100, 8.8, 100 - 9.7, 0};
    w_->cameraRot = {-std::numbers::pi / 4, 0, 0, 0};
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  void TearDown() override {
    if (!g_window) return;
    for (auto& m : ownedLists_) glDeleteLists(m, 1);
    res_.reset();
  }
  // A flat 400 x 400 model-unit square in the model's x-y plane (z up), as a ship hull.
  void GiveKindASquareHull(int32_t kind) {
    auto m = std::make_unique<TKTZGL_Model>();
    m->ModelList = glGenLists(1);
    ownedLists_.push_back(m->ModelList);
    glNewList(m->ModelList, GL_COMPILE);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    glVertex3f(-200, -200, 100);
    glVertex3f(200, -200, 100);
    glVertex3f(200, 200, 100);
    glVertex3f(-200, 200, 100);
    glEnd();
    glEndList();
    // The box Build measures for a list of these vertices.
    const float lo[3] = {-200, -200, 100}, hi[3] = {200, 200, 100};
    std::memcpy(m->BoundsMin, lo, sizeof(lo));
    std::memcpy(m->BoundsMax, hi, sizeof(hi));
    m->HasBounds = 1;
    res_->shipModels[kind][0] = std::move(m);
  }
  UnitRecord& AddUnit(int32_t i, int32_t kind, double x, double z) {
    UnitRecord& u = w_->units[i];
    u.alive = 1;
    u.unitKind = kind;
    u.posX = x;
    u.posZ = z;
    u.lightLevel = 1;
    return u;
  }
  static std::array<int, 3> Pixel(int x, int y) {
    uint8_t rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, 600 - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
  }
  DrawContext Context() { return DrawContext{*w_, *res_, *res_->scene, *rs_}; }
  void WorldView() {
    TKTZGL_Camera& cam = res_->scene->Camera;
    cam.LookByAngles = 1;
    cam.Position = w_->cameraPos;
    cam.Pitch = w_->cameraRot.x;
    cam.Yaw = w_->cameraRot.y;
    cam.FieldOfView = 50;
    cam.SetProjection(800, 600);
    glLoadIdentity();
    cam.Apply();
  }
  // Clears to blue and draws the sea floor alone at quality `q`, untinted and undarkened.
  void DrawFloorAlone(int32_t q, bool fastSea = false) {
    w_->landscapeQuality = q;
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    WorldView();
    w_->darkness = 0;
    w_->terrainTintColour = {0, 0, 0, 1};
    DrawTerrain(*w_, *res_->scene, res_->handles, 0, fastSea);
  }

  std::unique_ptr<WorldState> w_;
  std::unique_ptr<GameResources> res_;
  std::unique_ptr<RenderState> rs_;
  std::vector<uint32_t> ownedLists_;
};

TEST_F(FrameGlTest, WorldFogFollowsDarkness) {
  struct Case {
    double darkness;
    bool enabled;
    float start, end;
  };
  for (const Case& c : {Case{0, false, 75, 84}, Case{0.5, true, 40, 53.5}, Case{1, true, 5, 23}}) {
    w_->darkness = c.darkness;
    ApplyWorldFog(*w_, *res_->scene);
    GLfloat start = 0, end = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_EQ(glIsEnabled(GL_FOG) == GL_TRUE, c.enabled) << c.darkness;
    EXPECT_FLOAT_EQ(start, c.start);
    EXPECT_FLOAT_EQ(end, c.end);
  }
}

TEST_F(FrameGlTest, MouseOverOpenSeaPicksTheSeaSurface) {
  rs_->mouse = {400, 400};
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_NEAR(w_->mouseWorldPos.y, 0, 0.02);
  EXPECT_GT(w_->mouseWorldPos.z, 95);
  EXPECT_NEAR(w_->mouseWorldPos.x, 100, 5);
  // A cursor beyond the window is clamped to width - 2, height - 2.
  rs_->mouse = {5000, 5000};
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_TRUE(std::isfinite(w_->mouseWorldPos.x));
  EXPECT_NEAR(w_->mouseWorldPos.y, 0, 0.02);
}

TEST_F(FrameGlTest, FullFadeIsBlackAndTheGuiLayerStillRuns) {
  w_->screenFade = 1.5;
  rs_->mouse = {600, 100};  // the cursor is drawn after the fade and stays visible
  DrawPlayFrame(*w_, *res_, *rs_);
  for (auto p : {Pixel(10, 10), Pixel(400, 300), Pixel(790, 590)}) {
    EXPECT_EQ(p, (std::array<int, 3>{0, 0, 0}));
  }
  EXPECT_NE(Pixel(605, 110), (std::array<int, 3>{0, 0, 0}));
  // The GUI layer runs after the fade with the less-than depth test and then restores it.
  GLint func = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &func);
  EXPECT_EQ(func, GL_LEQUAL);
  // Without a fade the floor and the sea show.
  w_->screenFade = 0;
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_NE(Pixel(400, 300), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(FrameGlTest, OverlappingShadowsDarkenOnceAndMaxShadowsCounts) {
  GiveKindASquareHull(5);
  w_->fourPipelines = 1;
  w_->terrainShadows = 1;
  w_->maxShadows = 50;
  AddUnit(1, 5, 100, 100);
  AddUnit(2, 5, 100.2, 100.2);
  AddUnit(3, 5, 101, 99);
  // White sea floor-free scene: clear, draw the shadows and darken.
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  WorldView();
  DrawContext c = Context();
  // Shadows only: the units themselves are moved far below the view after marking.
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  EXPECT_EQ(DrawUnits(c, 0), 3);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_FOG);
  // The darkening over the whole window, then only where the shadows reach: the same pixels,
  // from a box well inside the window.
  std::vector<uint8_t> whole(800 * 600 * 3), px(800 * 600 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  DrawShadowDarkening(c, false);
  glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, whole.data());
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);  // the darkening wrote the sea's depth
  DrawShadowDarkening(c, true);
  glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, px.data());
  EXPECT_TRUE(whole == px);
  const int32_t viewport[4] = {0, 0, 800, 600};
  const ScissorRect reach = ScissorFor(rs_->shadowReach, viewport);
  EXPECT_GT(reach.width, 0);
  EXPECT_LT(reach.width * reach.height, 800 * 600 / 4);
  // Every darkened pixel has the same value: black at alpha 0.3 over white, once.
  int darkened = 0;
  for (size_t i = 0; i < px.size(); i += 3) {
    if (px[i] == 255) continue;
    ++darkened;
    ASSERT_NEAR(px[i], 178, 2) << i;
  }
  EXPECT_GT(darkened, 1000);

  w_->maxShadows = 1;
  EXPECT_EQ(DrawUnits(c, 0), 1);
  w_->units[3].posY = 2;  // the high band has its own count
  EXPECT_EQ(DrawUnits(c, 1), 1);
  w_->maxShadows = 0;
  EXPECT_EQ(DrawUnits(c, 0), 0);
  w_->fourPipelines = 0;
  w_->maxShadows = 5;
  EXPECT_EQ(DrawUnits(c, 0), 0);
}

TEST_F(FrameGlTest, TaggedUnitsAreCopiedOnTheirFirstPlayFrameOnly) {
  GiveKindASquareHull(5);
  AddUnit(1, 5, 100, 100);
  AddUnit(2, 5, 103, 98).tag = 3;
  AddUnit(3, 5, 300, 300).tag = 2;  // outside the window: not yet
  DrawPlayFrame(*w_, *res_, *rs_);
  int alive = 0;
  for (int i = 1; i < kUnitSlots; ++i) alive += w_->units[i].alive;
  EXPECT_EQ(alive, 6);
  EXPECT_EQ(w_->units[2].tag, 0);
  EXPECT_EQ(w_->units[3].tag, 2);
  DrawPlayFrame(*w_, *res_, *rs_);
  alive = 0;
  for (int i = 1; i < kUnitSlots; ++i) alive += w_->units[i].alive;
  EXPECT_EQ(alive, 6);
  // The editor view makes no copies.
  w_->GameMode = 3;
  w_->cameraPos = {300, 8.8, 300 - 9.7, 0};
  DrawEditorViewFrame(*w_, *res_, *rs_);
  EXPECT_EQ(w_->units[3].tag, 2);
}

// The passes only read the world: a frame changes the saved block and the shared generator
// exactly as its world writes alone do (mouseWorldPos and terrainTintColour live outside it).
TEST_F(FrameGlTest, AFrameWritesTheWorldOnlyThroughItsWorldWrites) {
  GiveKindASquareHull(5);
  AddUnit(1, 5, 100, 100);
  AddUnit(2, 5, 103, 98).tag = 3;
  AddUnit(4, 5, 98, 99).posY = 2;
  w_->units[4].tag = 1;
  w_->lagAccumulator = 250;
  w_->skyFogColour = {0.3f, 0.3f, 0.3f, 0.5f};
  for (int32_t i : {1, 2}) {
    StaticRecord& s = w_->statics[i];
    s.alive = 1;
    s.terrainKind = i == 1 ? 12 : 14;
    s.posX = 96 + 6 * i;
    s.posZ = 101;
    s.objects[1].alive = 1;
    s.objects[1].objectKind = 4;
    s.objects[2].alive = 1;
    s.objects[2].objectKind = 28;
  }
  auto expected = std::make_unique<WorldState>();
  static_cast<SavedState&>(*expected) = *w_;
  expected->lagAccumulator = w_->lagAccumulator;
  auto fires = std::make_unique<FireColours>();
  SharedRandom().Seed(11);
  ApplyFrameWorldWrites(*expected, FrameWorldPasses{}, *fires);
  const double nextDraw = SharedRandom().Real();

  SharedRandom().Seed(11);
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_EQ(SharedRandom().Real(), nextDraw);
  EXPECT_EQ(std::memcmp(static_cast<const SavedState*>(w_.get()),
                        static_cast<const SavedState*>(expected.get()), sizeof(SavedState)),
            0);
}

TEST_F(FrameGlTest, UnitKindWithoutModelOrOutOfRangeDrawsNothing) {
  AddUnit(1, 0, 100, 100);
  AddUnit(2, 999, 100, 100);
  AddUnit(3, -7, 100, 100);
  AddUnit(4, 11, 100, 100).pok = 1e9f;  // frame index far beyond the parts
  AddUnit(5, 27, 100, 100).reload = -1e30f;
  w_->fourPipelines = 1;
  w_->maxShadows = 10;
  DrawContext c = Context();
  WorldView();
  DrawUnits(c, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FrameGlTest, EveryFloorQualityDrawsTheSeaFloor) {
  for (int x = 0; x < kMapSize; x += 1)
    for (int z = 0; z < kMapSize; z += 1) TerrainColourAt(*w_, x, z) = {0.9f, 0.8f, 0.1f, 1};
  std::memset(w_->heightMap, 128, sizeof(w_->heightMap));
  for (int32_t q = 0; q < 6; ++q) {
    DrawFloorAlone(q);
    // Centre of the view lies on the floor (about 14 units ahead): yellowish, not the clear.
    const auto p = Pixel(400, 300);
    EXPECT_GT(p[0], 100) << "quality " << q;
    EXPECT_LT(p[2], 200) << "quality " << q;
  }
}

TEST_F(FrameGlTest, FloorHasNoCracksAtAnyQuality) {
  // A rough floor: where two strips met on different vertices, the clear would show through.
  for (int x = 0; x < kMapSize; ++x)
    for (int z = 0; z < kMapSize; ++z) {
      TerrainColourAt(*w_, x, z) = {0.9f, 0.8f, 0.1f, 1};
      w_->heightMap[x][z] = static_cast<uint8_t>(100 + (x * 7 + z * 13) % 40);
    }
  glDisable(GL_CULL_FACE);
  std::vector<uint8_t> px(static_cast<size_t>(800) * 600 * 3);
  // Qualities 0..5, then Max and High with the fast sea (its far rows and their stitch row
  // lie in the upper rows checked).
  for (int32_t k = 0; k < 8; ++k) {
    const int32_t q = k < 6 ? k : k - 6;
    const bool fast = k >= 6;
    w_->wavePhase = 1.3;
    DrawFloorAlone(q, fast);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    int clear = 0;
    for (int y = 100; y < (fast ? 550 : 300);
         ++y)  // rows from the bottom: the floor near the camera
      for (int x = 150; x < 650; ++x) {
        const uint8_t* p = &px[(static_cast<size_t>(y) * 800 + x) * 3];
        clear += (p[2] > 200 && p[0] < 50) ? 1 : 0;
      }
    EXPECT_EQ(clear, 0) << "quality " << q << (fast ? " fast" : "");
  }
}

TEST_F(FrameGlTest, WaterPassLightensTheSeaAndMarksClosedEdgesDark) {
  Random rnd;
  rnd.Seed(1);
  SeedWater(rs_->water, rnd, nullptr, nullptr);
  w_->waterOriginX = w_->cameraPos.x;
  w_->waterOriginZ = w_->cameraPos.z + 14;
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  WorldView();
  DrawWater(*w_, rs_->water, res_->handles.waterTexture);
  const auto sea = Pixel(400, 300);
  EXPECT_GT(sea[0] + sea[1] + sea[2], 30);  // additive: something over black
  // Near the z = 0 edge with no neighbour the band darkens a white background.
  w_->cameraPos = {100, 8.8, -9.7 + 5, 0};
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  WorldView();
  DrawLevelEdges(*w_);
  const auto dark = Pixel(400, 300);
  EXPECT_LT(dark[1], 240);
  EXPECT_EQ(dark[0], dark[1]);
  w_->neighbourMinusZ = 3;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawLevelEdges(*w_);
  const auto green = Pixel(400, 300);
  EXPECT_GT(green[1], green[0]);
}

TEST_F(FrameGlTest, SwitchedOffPassesAreSkipped) {
  GiveKindASquareHull(5);
  AddUnit(1, 5, 100, 100);
  for (int x = 0; x < kMapSize; ++x)
    for (int z = 0; z < kMapSize; ++z) TerrainColourAt(*w_, x, z) = {1, 0, 0, 1};
  std::memset(w_->heightMap, 128, sizeof(w_->heightMap));
  rs_->switches.water = 0;
  rs_->switches.unitsLow = 0;
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_GT(Pixel(400, 500)[0], 100);  // the floor shows
  rs_->switches.landscape = 0;
  glClear(GL_COLOR_BUFFER_BIT);
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_EQ(Pixel(400, 500), (std::array<int, 3>{0, 0, 255}));  // nothing drew over the clear
}

}  // namespace
}  // namespace skerrow
