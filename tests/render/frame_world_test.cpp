// The frame's world writes without a display: tag copies bounded by the free slots, emitters
// and fire colours gated by their passes, copies only in the play view, the sky alpha.
#include "render/frame_world.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <limits>
#include <memory>

#include "platform/random.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

class FrameWorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w_ = std::make_unique<WorldState>();
    fires_ = std::make_unique<FireColours>();
    w_->GameMode = 2;
    w_->cameraPos = {100, 8.8, 100 - 9.7, 0};
    w_->skyFogColour = {0.3f, 0.3f, 0.3f, 1};  // dark: kind 14 statics glow
    SharedRandom().Seed(5);
  }
  UnitRecord& Unit(int32_t i, double x, double z) {
    UnitRecord& u = w_->units[i];
    u.alive = 1;
    u.unitKind = 5;
    u.posX = x;
    u.posZ = z;
    return u;
  }
  int32_t LiveUnits() const {
    int32_t n = 0;
    for (int32_t i = 1; i < kUnitSlots; ++i) n += w_->units[i].alive;
    return n;
  }
  int32_t LiveParticles() const {
    int32_t n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) n += w_->particles[i].active == 1;
    return n;
  }
  // The next draw of the shared generator, compared with a generator seeded like SetUp's after
  // `draws` reals: true when the frame took exactly that many.
  static bool TookDraws(int32_t draws) {
    Random fresh;
    fresh.Seed(5);
    for (int32_t k = 0; k < draws; ++k) fresh.Real();
    return SharedRandom().Real() == fresh.Real();
  }
  std::unique_ptr<WorldState> w_;
  std::unique_ptr<FireColours> fires_;
};

// A hang guard, not a speed goal: the copies below take microseconds, a loop driven by the
// tag took minutes. SIGALRM ends the test program if the guarded block has not returned.
class HangGuard {
 public:
  HangGuard() { alarm(60); }
  ~HangGuard() { alarm(0); }
};

// A hostile unit file: tag 2^31 - 1 on a unit in sight. The copies stop at the table's end, so
// the frame returns at once whatever the tag.
TEST_F(FrameWorldTest, HugeTagWithAFullTableEndsTheCopyingAtOnce) {
  for (int32_t i = 1; i < kUnitSlots; ++i) Unit(i, 300, 300);  // out of sight
  Unit(7, 101, 99).tag = std::numeric_limits<int32_t>::max();
  {
    HangGuard guard;
    ApplyFrameWorldWrites(*w_, FrameWorldPasses{}, *fires_);
  }
  EXPECT_EQ(w_->units[7].tag, 0);
  EXPECT_EQ(LiveUnits(), kUnitSlots - 1);
  EXPECT_TRUE(TookDraws(0));
}

TEST_F(FrameWorldTest, HugeTagFillsTheFreeSlotsOnly) {
  for (int32_t i = 1; i < kUnitSlots; ++i) Unit(i, 300, 300);
  w_->units[40].alive = 0;
  w_->units[200].alive = 0;
  Unit(7, 101, 99).tag = std::numeric_limits<int32_t>::max();
  {
    HangGuard guard;
    EXPECT_EQ(CopyTaggedUnit(*w_, 7), 2);
  }
  EXPECT_EQ(LiveUnits(), kUnitSlots - 1);
  EXPECT_NEAR(w_->units[40].posX, 101, 0.05);
  EXPECT_NEAR(w_->units[200].posZ, 99, 0.05);
  EXPECT_TRUE(TookDraws(6));  // pok and two offsets per copy
}

TEST_F(FrameWorldTest, CopiesOnlyInThePlayViewAndOnlyWhileTheirPassRuns) {
  struct Case {
    const char* name;
    int32_t gameMode;
    double posY;
    bool unitsLow, unitsHigh;
    int32_t live;
  };
  const Case cases[] = {
      {"play, low band", 2, 0.0, true, true, 4}, {"play, high band", 2, 2.0, true, true, 4},
      {"low pass off", 2, 0.0, false, true, 1},  {"high pass off", 2, 2.0, true, false, 1},
      {"editor view", 3, 0.0, true, true, 1},
  };
  for (const Case& k : cases) {
    SetUp();
    w_->GameMode = k.gameMode;
    Unit(1, 101, 99).tag = 3;
    w_->units[1].posY = k.posY;
    FrameWorldPasses passes;
    passes.unitsLow = k.unitsLow;
    passes.unitsHigh = k.unitsHigh;
    ApplyFrameWorldWrites(*w_, passes, *fires_);
    EXPECT_EQ(LiveUnits(), k.live) << k.name;
  }
}

TEST_F(FrameWorldTest, BurningStaticsAndFiresWriteOnlyWhileTheirPassesRun) {
  w_->lagAccumulator = 250;  // Random(1250) > 5 almost always: the seed below passes it
  StaticRecord& s = w_->statics[3];
  s.alive = 1;
  s.terrainKind = 12;
  s.posX = 100;
  s.posZ = 100;
  s.objects[2].alive = 1;
  s.objects[2].objectKind = 4;
  FrameWorldPasses none;
  none.statics = none.staticObjects = none.unitsLow = none.unitsHigh = false;
  ApplyFrameWorldWrites(*w_, none, *fires_);
  EXPECT_EQ(LiveParticles(), 0);
  EXPECT_TRUE(TookDraws(0));

  const StaticRecord burning = s;  // SetUp makes a new world: `s` refers into the old one
  SetUp();
  w_->lagAccumulator = 250;
  w_->statics[3] = burning;
  ApplyFrameWorldWrites(*w_, FrameWorldPasses{}, *fires_);
  // One smoke of the burning static, one of the fire after its solid pass.
  EXPECT_EQ(LiveParticles(), 2);
  EXPECT_EQ(w_->particles[1].kind, 11);
  EXPECT_NEAR(w_->particles[1].pos.y, 1.2, 1e-9);
  for (int32_t pass : {0, 1}) {
    const Color4f& c = fires_->colour[pass][3][2];
    EXPECT_GE(c.r, 0.9f);
    EXPECT_LE(c.r, 1.0f);
    EXPECT_GE(c.g, 0.3f);
    EXPECT_LE(c.g, 0.5f);
    EXPECT_GE(c.b, 0.15f);
    EXPECT_LE(c.b, 0.25f);
    EXPECT_EQ(c.a, 1.0f);
  }
  EXPECT_NE(fires_->colour[0][3][2].r, fires_->colour[1][3][2].r);  // a draw per pass
}

TEST_F(FrameWorldTest, SkyAlphaIsResetWhenAUnitsPassRuns) {
  w_->skyFogColour.a = 0.25f;
  FrameWorldPasses noUnits;
  noUnits.unitsLow = noUnits.unitsHigh = false;
  ApplyFrameWorldWrites(*w_, noUnits, *fires_);
  EXPECT_EQ(w_->skyFogColour.a, 0.25f);
  FrameWorldPasses highOnly;
  highOnly.unitsLow = false;
  ApplyFrameWorldWrites(*w_, highOnly, *fires_);
  EXPECT_EQ(w_->skyFogColour.a, 1.0f);
}

}  // namespace
}  // namespace skerrow
