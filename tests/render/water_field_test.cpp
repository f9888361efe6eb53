// Wave field: drops that do not fit, the wave step against hand-computed cells, the normal
// interpolation and its step, the seams, a play step's advance and the start-up seeding.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/random.h"
#include "render/render_state.h"
#include "render/water.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

class WaterFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f_ = std::make_unique<WaterField>();
    std::memset(f_.get(), 0, sizeof(WaterField));
    InitWaterField(*f_);
  }
  // Cell (r, c) of a buffer.
  int32_t& Cell(int32_t buffer, int32_t r, int32_t c) { return f_->heights[buffer][r + 1][c + 1]; }
  bool AllZero() const {
    for (const auto& b : f_->heights)
      for (const auto& row : b)
        for (int32_t v : row)
          if (v != 0) return false;
    return true;
  }
  std::unique_ptr<WaterField> f_;
};

TEST_F(WaterFieldTest, InitFillsGridAndBuffers) {
  EXPECT_EQ(f_->gridXY[0][0][0], -300);
  EXPECT_EQ(f_->gridXY[0][0][1], -1800);
  EXPECT_EQ(f_->gridXY[30][180][0], 300);
  EXPECT_EQ(f_->gridXY[30][180][1], 1800);
  EXPECT_EQ(f_->currentBuffer, 0);
  EXPECT_EQ(f_->previousBuffer, 1);
  EXPECT_TRUE(AllZero());
}

TEST_F(WaterFieldTest, DropsOutsideTheGridChangeNothing) {
  struct Case {
    int32_t row, column, radius;
  };
  for (const Case& k : {Case{40, 50, 2}, Case{0, 50, 0}, Case{2, 50, 2}, Case{28, 50, 2},
                        Case{10, 2, 2}, Case{10, 178, 2}, Case{-5, -5, 2}}) {
    DropWater(*f_, k.row, k.column, k.radius, 5);
    EXPECT_TRUE(AllZero()) << k.row << "," << k.column << " r" << k.radius;
  }
}

TEST_F(WaterFieldTest, DropStampsACone) {
  DropWater(*f_, 10, 50, 2, 3);
  EXPECT_EQ(Cell(0, 10, 50), 6);  // Round(2 - 0) * 3
  EXPECT_EQ(Cell(0, 9, 50), 3);   // Round(2 - 1) * 3
  EXPECT_EQ(Cell(0, 9, 49), 3);   // Round(2 - 1.414) = 1
  EXPECT_EQ(Cell(0, 8, 50), 0);   // distance 2
  EXPECT_EQ(Cell(0, 8, 49), 0);   // outside the disc
  EXPECT_EQ(Cell(1, 10, 50), 0);  // only the current buffer
}

TEST_F(WaterFieldTest, StepOfZeroFieldStaysZero) {
  StepWater(*f_);
  EXPECT_TRUE(AllZero());
  EXPECT_EQ(f_->currentBuffer, 1);
  EXPECT_EQ(f_->previousBuffer, 0);
}

TEST_F(WaterFieldTest, StepSpreadsOneCellToItsNeighbours) {
  Cell(0, 10, 50) = 8;
  f_->blend = 0.5f;
  StepWater(*f_);
  EXPECT_EQ(f_->blend, 0.0f);
  // The new state is in buffer 1 (now current): neighbours 8 div 2 = 4, halved to 2.
  EXPECT_EQ(Cell(1, 9, 50), 2);
  EXPECT_EQ(Cell(1, 11, 50), 2);
  EXPECT_EQ(Cell(1, 10, 49), 2);
  EXPECT_EQ(Cell(1, 10, 51), 2);
  EXPECT_EQ(Cell(1, 10, 50), 0);
  EXPECT_EQ(Cell(1, 9, 49), 0);
  // Second step: the centre gets (2 * 4) div 2 - 8 = -4 (negative values are not damped);
  // the old neighbours 0 - 2 ... read from the state before: prev holds the 8.
  StepWater(*f_);
  EXPECT_EQ(Cell(0, 10, 50), 4 - 8);
  EXPECT_EQ(Cell(0, 8, 50), 1);  // (2) div 2 = 1, not damped
}

TEST_F(WaterFieldTest, DampingRoundsUpAndNeighboursAtTheBorderReadZero) {
  Cell(0, 0, 0) = 7;
  StepWater(*f_);
  EXPECT_EQ(Cell(1, 0, 1), 2);  // 7 div 2 = 3, 3 - 3 div 2 = 2
  EXPECT_EQ(Cell(1, 1, 0), 2);
  EXPECT_EQ(f_->heights[1][0][1], 0);  // the border stays zero
}

TEST_F(WaterFieldTest, AdvanceInterpolatesAndStepsWhenBlendReachesOne) {
  f_->oldNormals[5][5][1] = 0;
  f_->newNormals[5][5][1] = 1;
  AdvanceWater(*f_, 0.25);
  EXPECT_FLOAT_EQ(f_->currentNormals[5][5][1], 0.0f);
  EXPECT_FLOAT_EQ(f_->blend, 0.25f);
  AdvanceWater(*f_, 0.25);
  EXPECT_FLOAT_EQ(f_->currentNormals[5][5][1], 0.25f);
  // Reaching 1 copies new into old, steps (blend back to 0) and recomputes the normals.
  const int32_t before = f_->currentBuffer;
  AdvanceWater(*f_, 0.5);
  EXPECT_EQ(f_->blend, 0.0f);
  EXPECT_NE(f_->currentBuffer, before);
  EXPECT_FLOAT_EQ(f_->oldNormals[5][5][1], 1.0f);
  // A flat field has the normal (0, 0, -1) in the sheet's coordinates (length 1).
  EXPECT_FLOAT_EQ(f_->newNormals[5][5][2] * f_->newNormals[5][5][2] +
                      f_->newNormals[5][5][0] * f_->newNormals[5][5][0] +
                      f_->newNormals[5][5][1] * f_->newNormals[5][5][1],
                  1.0f);
}

TEST_F(WaterFieldTest, SeamsRepeatTheSheet) {
  f_->oldNormals[7][179][0] = 0.5f;
  f_->newNormals[7][179][0] = 0.5f;
  f_->oldNormals[29][33][2] = -0.75f;
  f_->newNormals[29][33][2] = -0.75f;
  AdvanceWater(*f_, 0.1);
  EXPECT_FLOAT_EQ(f_->currentNormals[7][1][0], 0.5f);
  EXPECT_FLOAT_EQ(f_->currentNormals[1][33][2], -0.75f);
}

TEST_F(WaterFieldTest, NonFiniteStepDoesNotStallTheField) {
  AdvanceWater(*f_, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(f_->blend, 0.0f);
  AdvanceWater(*f_, 1.0);
  EXPECT_EQ(f_->blend, 0.0f);  // stepped
}

// A play step's share: the real milliseconds of the last tick, only with the water switch on.
TEST(WaterPlayStep, AdvancesByTheLastTickWhileTheWaterSwitchIsOn) {
  struct Case {
    uint8_t water;
    int32_t lag;
    float blend;
  };
  auto w = std::make_unique<WorldState>();
  auto state = std::make_unique<RenderState>();
  for (const Case& c :
       {Case{1, 40, static_cast<float>(40 / 1800.0 * 0.75)}, Case{0, 40, 0.0f}, Case{1, 0, 0.0f}}) {
    state->water.blend = 0;
    state->switches.water = c.water;
    w->lastLagCount = c.lag;
    AnimateWaterForPlayStep(*w, *state);
    EXPECT_FLOAT_EQ(state->water.blend, c.blend) << int(c.water) << " " << c.lag;
  }
}

TEST_F(WaterFieldTest, SeedingLeavesMovingWavesAndReportsProgress) {
  Random rnd;
  rnd.Seed(7);
  std::vector<int32_t> progress;
  SeedWater(
      *f_, rnd, [](void* ctx, int32_t p) { static_cast<std::vector<int32_t>*>(ctx)->push_back(p); },
      &progress);
  EXPECT_EQ(progress, (std::vector<int32_t>{5, 7}));
  EXPECT_FALSE(AllZero());
  // Some normal leans away from the flat (0, 0, +-1).
  bool tilted = false;
  for (int r = 1; r <= 29 && !tilted; ++r)
    for (int c = 1; c <= 179 && !tilted; ++c)
      tilted = std::abs(f_->currentNormals[r][c][0]) > 0.01f;
  EXPECT_TRUE(tilted);
  // The same seed gives the same field.
  auto g = std::make_unique<WaterField>();
  Random again;
  again.Seed(7);
  SeedWater(*g, again, nullptr, nullptr);
  EXPECT_EQ(std::memcmp(f_->heights, g->heights, sizeof(f_->heights)), 0);
}

}  // namespace
}  // namespace skerrow
