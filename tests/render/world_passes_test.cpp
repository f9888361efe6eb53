// Pure parts of the world passes and the sea floor: visibility windows, the shadow matrix,
// tag copies, the sinking fade, unit scales, and the grid walks of the six floor qualities.
#include "render/world_passes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/random.h"
#include "render/frame_world.h"
#include "render/terrain.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

TEST(VisibilityWindow, EdgesAreExclusive) {
  auto w = std::make_unique<WorldState>();
  w->cameraPos = {100, 8.8, 100, 0};
  struct Case {
    double x, z;
    bool statics, units;
  };
  const Case cases[] = {
      {100, 100, true, true},    {77.01, 100, true, false}, {77, 100, false, false},
      {122.9, 100, true, false}, {100, 90.01, true, false}, {100, 90, false, false},
      {100, 129.9, true, true},  {100, 130, false, true},   {100, 132.9, false, true},
      {100, 133, false, false},  {100, 92.01, true, true},  {100, 92, true, false},
      {NAN, 100, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InStaticsWindow(*w, c.x, c.z), c.statics) << c.x << "," << c.z;
    EXPECT_EQ(InUnitsWindow(*w, c.x, c.z), c.units) << c.x << "," << c.z;
  }
}

// Applies a column-major matrix to (x, y, z, 1) and divides by w.
std::array<double, 3> Transform(const std::array<float, 16>& m, double x, double y, double z) {
  double out[4];
  for (int i = 0; i < 4; ++i) out[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
  return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

TEST(ShadowMatrix, FlattensOntoTheSeaAlongTheLineFromTheLight) {
  const Vector4d light = {17, 9.7, 27, 1};
  const auto m = ShadowMatrix(light, {-1, 0, -1, 0}, {0, 1, 0, 0});
  // A point at height 4.85 (half way up) lands twice as far from the light's foot.
  const auto p = Transform(m, 10, 4.85, 20);
  EXPECT_NEAR(p[1], 0, 1e-5);
  EXPECT_NEAR(p[0], 17 + (10 - 17) * 2, 1e-4);
  EXPECT_NEAR(p[2], 27 + (20 - 27) * 2, 1e-4);
  // Points on the plane stay where they are.
  const auto q = Transform(m, 3, 0, -8);
  EXPECT_NEAR(q[0], 3, 1e-5);
  EXPECT_NEAR(q[1], 0, 1e-5);
  EXPECT_NEAR(q[2], -8, 1e-5);
}

TEST(UnitModelScale, KindTable) {
  struct Case {
    int32_t kind;
    double scale;
  };
  for (const Case& c :
       {Case{1, 0.005}, Case{11, 0.01}, Case{12, 0.007}, Case{15, 0.055}, Case{17, 0.001},
        Case{23, 0.012}, Case{26, 0.039}, Case{28, 0.01}, Case{35, 0.012}, Case{43, 0.01},
        Case{51, 0.005}, Case{255, 0.005}, Case{0, 0.005}, Case{-3, 0.005}, Case{100000, 0.005}}) {
    EXPECT_DOUBLE_EQ(UnitModelScale(c.kind), c.scale) << c.kind;
  }
}

class UnitStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w_ = std::make_unique<WorldState>();
    w_->GameMode = 2;
  }
  UnitRecord& Unit(int32_t i, double x, double z) {
    UnitRecord& u = w_->units[i];
    u.alive = 1;
    u.unitKind = 5;
    u.posX = x;
    u.posZ = z;
    return u;
  }
  std::unique_ptr<WorldState> w_;
};

TEST_F(UnitStateTest, TaggedUnitBecomesFourUnitsCloseTogether) {
  SharedRandom().Seed(3);
  Unit(1, 50, 60);  // the player
  UnitRecord& u = Unit(4, 10, 20);
  u.tag = 3;
  u.life = 77;
  EXPECT_EQ(CopyTaggedUnit(*w_, 4), 3);
  EXPECT_EQ(w_->units[4].tag, 0);
  int32_t copies = 0;
  for (int32_t j : {2, 3, 5}) {
    const UnitRecord& c = w_->units[j];
    ASSERT_EQ(c.alive, 1) << j;
    EXPECT_EQ(c.tag, 0);
    EXPECT_EQ(c.life, 77);
    EXPECT_LE(std::fabs(c.posX - 10), 0.05);
    EXPECT_LE(std::fabs(c.posZ - 20), 0.05);
    EXPECT_GE(c.pok, 0.0f);
    EXPECT_LT(c.pok, 1.0f);
    ++copies;
  }
  EXPECT_EQ(copies, 3);
  EXPECT_EQ(w_->units[6].alive, 0);
}

TEST_F(UnitStateTest, CopiesAreSkippedWhenTheTableIsFullAndTheTagStillClears) {
  for (int32_t i = 1; i < kUnitSlots; ++i) Unit(i, i, i);
  w_->units[9].alive = 0;
  w_->units[9].posX = -1;
  w_->units[7].tag = 5;
  EXPECT_EQ(CopyTaggedUnit(*w_, 7), 1);
  EXPECT_EQ(w_->units[9].alive, 1);
  EXPECT_NEAR(w_->units[9].posX, 7, 0.05);
  EXPECT_EQ(w_->units[7].tag, 0);
  EXPECT_EQ(CopyTaggedUnit(*w_, 0), 0);
  EXPECT_EQ(CopyTaggedUnit(*w_, 256), 0);
}

TEST_F(UnitStateTest, BrightnessByPassClassAndSinking) {
  UnitRecord& u = Unit(3, 10, 10);
  u.lightLevel = 0.4;
  EXPECT_DOUBLE_EQ(UnitBrightness(*w_, u, 1), 1.0);
  EXPECT_DOUBLE_EQ(UnitBrightness(*w_, u, 0), 0.4);
  w_->kindTable[5].kindClass = 7;
  EXPECT_DOUBLE_EQ(UnitBrightness(*w_, u, 0), 1.0);
  w_->kindTable[5].kindClass = 0;
  // Sinking over a floor of height 0: f = 5; at depth 1 the fade is (5 - 1) / 5 capped at 0.7.
  u.sinking = 1;
  u.posY = -1;
  w_->heightMap[20][20] = 0;
  EXPECT_DOUBLE_EQ(UnitBrightness(*w_, u, 0), 0.7);
  u.posY = -3;
  EXPECT_NEAR(UnitBrightness(*w_, u, 0), 0.4, 1e-12);
  // A floor where the fade's f is zero (h / 255 * 9.97 / 2 = 5 never holds exactly for a
  // byte, but f can be tiny) must not divide by zero; positions far outside clamp.
  u.posX = 1e30;
  u.posZ = NAN;
  EXPECT_TRUE(std::isfinite(UnitBrightness(*w_, u, 0)));
}

class TerrainWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w_ = std::make_unique<WorldState>();
    w_->terrainView[0] = 47;
    w_->terrainView[1] = 14;
    w_->terrainView[2] = 47;
    w_->terrainView[3] = 64;
  }
  std::unique_ptr<WorldState> w_;
};

TEST_F(TerrainWalkTest, MaxDrawsTheTrapezoidOfTheRowTable) {
  // Centre well inside: 79 rows of 2 * w + 1 columns, two vertices each.
  int64_t expected = 0;
  const int32_t widths[] = {25, 25, 25, 25, 25, 26, 26, 26, 26, 26, 27, 27, 27, 27, 27, 28,
                            28, 28, 28, 28, 29, 29, 29, 29, 29, 30, 30, 30, 30, 30, 31, 31,
                            32, 32, 32, 33, 33, 33, 34, 42, 43, 43, 43, 43, 43, 44, 44, 45,
                            45, 45, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 47, 47, 47, 47,
                            47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 48, 48, 48, 48};
  for (int32_t hw : widths) expected += 2 * (2 * hw + 1);
  EXPECT_EQ(TerrainVertexCount(*w_, 300.5, 300.5, 0), expected);
}

TEST_F(TerrainWalkTest, EveryQualityDrawsAFloorAndHighIsCheaperThanMax) {
  int64_t counts[6];
  for (int32_t q = 0; q < 6; ++q) {
    counts[q] = TerrainVertexCount(*w_, 300, 300, q);
    EXPECT_GT(counts[q], 0) << q;
  }
  EXPECT_LT(counts[1], counts[0]);
  EXPECT_GT(counts[1], counts[2] / 4);
  EXPECT_LT(counts[3], counts[2]);
  EXPECT_LT(counts[4], counts[3]);
  EXPECT_GT(counts[5], counts[0]);
  EXPECT_EQ(TerrainVertexCount(*w_, 300, 300, 6), 0);
  EXPECT_EQ(TerrainVertexCount(*w_, 300, 300, -1), 0);
}

TEST_F(TerrainWalkTest, CornersAndHugeViewsStayInsideTheGrid) {
  // The walkers assert nothing themselves; the sanitizer build and the counts show that no
  // grid point outside 0..2047 is touched and that the corner clamps to row and column 1.
  for (int32_t q = 0; q < 6; ++q) {
    EXPECT_GE(TerrainVertexCount(*w_, 0, 0, q), 0) << q;
    EXPECT_GE(TerrainVertexCount(*w_, 1023.9, 1023.9, q), 0) << q;
    EXPECT_GE(TerrainVertexCount(*w_, -1e12, 1e12, q), 0) << q;
  }
  w_->terrainView[0] = w_->terrainView[1] = w_->terrainView[2] = w_->terrainView[3] = INT32_MAX;
  for (int32_t q = 2; q < 5; ++q) EXPECT_GT(TerrainVertexCount(*w_, 500, 500, q), 0) << q;
  // A view taller than the row table (the menu's back 14, ahead 75) stops after 79 rows.
  w_->terrainView[0] = 57;
  w_->terrainView[1] = 14;
  w_->terrainView[2] = 57;
  w_->terrainView[3] = 75;
  const TerrainArea a = TerrainAreaFor(*w_, 300, 300, 0);
  EXPECT_EQ(a.back, 600 - 14);
  EXPECT_EQ(a.ahead, 600 + 75);
  TerrainWalkTest::SetUp();
  EXPECT_EQ(TerrainVertexCount(*w_, 300, 300, 0) > 0, true);
}

}  // namespace
}  // namespace skerrow
