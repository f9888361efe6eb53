// Particle pool and snow: the visibility window, the low-quality halving, the full pool,
// lifetimes and fades by kind, templates, and the snow density and fall.
#include "simulation/particles.h"

#include <cmath>
#include <limits>

#include "sim_fixture.h"

namespace skerrow::test {
namespace {

class ParticleTest : public SimTest {
 protected:
  ParticleRecord Template(int32_t kind, double fadeRate) {
    ParticleRecord t{};
    t.kind = kind;
    t.fadeRate = fadeRate;
    t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
    t.pos = {w.cameraPos.x, 0.0, w.cameraPos.z, 0.0};
    return t;
  }
  int32_t LiveCount() {
    int32_t n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) n += w.particles[i].active == 1;
    return n;
  }
  // Steps until the particle in `slot` ends (capped).
  int StepsToEnd(int32_t slot, int cap = 100000) {
    int steps = 0;
    while (w.particles[slot].active == 1 && steps < cap) {
      UpdateParticles(w);
      ++steps;
    }
    return steps;
  }
};

TEST_F(ParticleTest, VisibilityWindowEdges) {
  struct Case {
    double dx;  // particle x - camera x
    double dz;  // camera z - particle z
    bool kept;
  };
  for (Case c :
       {Case{0, 0, true}, Case{20.999, 0, true}, Case{21, 0, false}, Case{-21, 0, false},
        Case{0, 7.999, true}, Case{0, 8, false}, Case{0, -32.999, true}, Case{0, -33, false}}) {
    ParticleRecord t = Template(13, 0.01);
    t.pos.x = w.cameraPos.x + c.dx;
    t.pos.z = w.cameraPos.z - c.dz;
    EXPECT_EQ(SpawnParticle(w, t) != 0, +c.kept) << c.dx << " " << c.dz;
  }
  ParticleRecord t = Template(13, 0.01);
  t.pos.x = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(SpawnParticle(w, t), 0);
}

TEST_F(ParticleTest, FullPoolDropsAndLowQualityHalves) {
  for (int32_t i = 1; i <= kParticleSlots; ++i) ASSERT_EQ(SpawnParticle(w, Template(13, 0.01)), i);
  w.particles[1].fadeRate = 0.5;  // marks the oldest particle
  EXPECT_EQ(SpawnParticle(w, Template(4, 0.02)), 0);
  EXPECT_EQ(+w.particles[1].kind, 13);  // nothing is replaced
  w.particles[700].active = 0;
  EXPECT_EQ(SpawnParticle(w, Template(4, 0.02)), 700);  // the lowest free slot

  for (int32_t i = 1; i <= kParticleSlots; ++i) w.particles[i].active = 0;
  w.hqEffects = 0;
  int kept = 0;
  for (int k = 0; k < 1000; ++k) kept += SpawnParticle(w, Template(13, 0.01)) != 0;
  EXPECT_GT(kept, 430);
  EXPECT_LT(kept, 570);
}

TEST_F(ParticleTest, LifetimesByKindAndGameSpeed) {
  // A still kind ends after lifetime / (g * fadeRate) steps and never moves.
  for (int32_t g : {40, 1, 100}) {
    w.gameSpeed = g;
    ParticleRecord t = Template(13, 0.01);
    t.vel = {0.001, 0.5, 0.002, 0.3};
    const int32_t slot = SpawnParticle(w, t);
    const int steps = StepsToEnd(slot);
    EXPECT_NEAR(steps, std::ceil(31.0 / (g * 0.01) - 1e-9), 1) << g;
    EXPECT_EQ(+w.particles[slot].pos.y, 0.0);
    EXPECT_NEAR(+w.particles[slot].size.x, steps * g * 0.001, 1e-9);
    EXPECT_NEAR(+w.particles[slot].angle, steps * g * 0.3, 1e-6);
  }
  w.gameSpeed = 40;
  EXPECT_EQ(ParticleLifetime(1), 16.0);
  EXPECT_EQ(ParticleLifetime(10), 45.0);
  EXPECT_EQ(ParticleLifetime(21), 12.0);
  // Kinds outside 1..21 (only from damaged files) end on their first update.
  for (int32_t kind : {0, 22, -1}) {
    w.particles[5] = Template(kind, 0.0);
    w.particles[5].active = 1;
    UpdateParticles(w);
    EXPECT_EQ(+w.particles[5].active, 0) << kind;
  }
}

TEST_F(ParticleTest, SmokeRisesFadesInToCapThenOutBeforeItsLifetime) {
  ParticleRecord t = Template(11, 0.003);
  t.colour.a = 0.0f;
  t.vel = {0, 0.0055, 0, 0};
  const int32_t slot = SpawnParticle(w, t);
  double peak = 0;
  int steps = 0;
  while (w.particles[slot].active == 1) {
    UpdateParticles(w);
    ++steps;
    peak = std::fmax(peak, w.particles[slot].colour.a);
    if (steps == 10) {
      EXPECT_NEAR(+w.particles[slot].pos.y, 10 * 0.011, 1e-12);
    }
  }
  EXPECT_NEAR(peak, 0.37, 1e-6);
  // Alpha reaches 0 (0.37 / (3.2 * 0.003) ~ 39 steps after age 3 at step 25) before age 12.
  EXPECT_LT(steps, static_cast<int>(12.0 / (40 * 0.003)));
  EXPECT_GT(steps, 25);
}

TEST_F(ParticleTest, GlintBrightensToThreeQuartersThenFades) {
  ParticleRecord t = Template(10, 0.003);
  t.colour.a = 0.05f;
  const int32_t slot = SpawnParticle(w, t);
  double peak = 0;
  int steps = 0;
  while (w.particles[slot].active == 1 && steps < 1000) {
    UpdateParticles(w);
    ++steps;
    peak = std::fmax(peak, w.particles[slot].colour.a);
  }
  EXPECT_NEAR(peak, 0.75, 1e-6);
  EXPECT_NEAR(steps, std::ceil(45.0 / (40 * 0.003)), 1);  // ends by age: float alpha stays > 0
  // Additive kinds darken.
  ParticleRecord wake = Template(8, 0.0001);
  const int32_t ws = SpawnParticle(w, wake);
  UpdateParticles(w);
  EXPECT_NEAR(+w.particles[ws].colour.r, 0.99 * 0.99, 1e-6);
  EXPECT_EQ(+w.particles[ws].colour.a, 1.0f);
}

TEST_F(ParticleTest, SeaGlitterOnlyOverOpenWater) {
  int spawned = 0;
  for (int k = 0; k < 200; ++k) SpawnSeaGlitter(w);
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    const ParticleRecord& p = w.particles[i];
    if (p.active != 1) continue;
    ++spawned;
    EXPECT_EQ(+p.kind, 10);
    EXPECT_EQ(+p.pos.y, 0.07);
    EXPECT_LT(std::fabs(p.pos.x - P().posX), 22.5);
    EXPECT_LT(std::fabs(p.pos.z - P().posZ), 35.0);
  }
  EXPECT_GT(spawned, 0);
  // An island covering the whole glitter rectangle stops every request.
  for (int32_t i = 1; i <= kParticleSlots; ++i) w.particles[i].active = 0;
  for (auto& row : w.islandHeights[1])
    for (int32_t& c : row) c = 100;
  int32_t slot = 1;
  for (double x = P().posX - 25; x <= P().posX + 25; x += 8)
    for (double z = P().posZ - 38; z <= P().posZ + 38; z += 8) {
      StaticRecord& s = w.statics[slot++];
      s.alive = 1;
      s.terrainKind = 1;
      s.posX = x;
      s.posZ = z;
    }
  for (int k = 0; k < 100; ++k) SpawnSeaGlitter(w);
  int after = 0;
  for (int32_t i = 1; i <= kParticleSlots; ++i) after += w.particles[i].active;
  EXPECT_EQ(after, 0);
}

TEST_F(ParticleTest, SeaGlitterDrawsFiveNumbersInTemplateOrder) {
  // Fade rate, growth x, growth z, x, z: one draw each, so the draws after it keep their place.
  Random ref;
  ref.Seed(77);
  SharedRandom().Seed(77);
  SpawnSeaGlitter(w);
  const ParticleRecord& t = w.particleTemplate;
  EXPECT_EQ(+t.fadeRate, 0.003 + 0.0005 * ref.Real());
  EXPECT_EQ(+t.vel.x, 9.7e-7 + 1e-7 * ref.Real());
  EXPECT_EQ(+t.vel.z, 9.7e-7 + 1e-7 * ref.Real());
  EXPECT_NE(+t.vel.x, +t.vel.z);
  EXPECT_EQ(+t.pos.x, P().posX + 45.0 * ref.Real() - 22.5);
  EXPECT_EQ(+t.pos.z, P().posZ + 70.0 * ref.Real() - 35.0);
  EXPECT_EQ(SharedRandom().Next(), ref.Next());
}

TEST_F(ParticleTest, FunnelSmokeCountsAndColours) {
  struct Case {
    int32_t kind;
    int funnels;
  };
  for (Case c : {Case{1, 1}, Case{2, 1}, Case{3, 4}, Case{44, 4}, Case{47, 4}, Case{5, 0}}) {
    for (int32_t i = 1; i <= kParticleSlots; ++i) w.particles[i].active = 0;
    UnitRecord u = P();
    u.unitKind = c.kind;
    u.ctlForward = 1;
    u.reload = 0.0f;  // kind 47 smokes red while reloading
    SpawnFunnelSmoke(w, u);
    int n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) {
      const ParticleRecord& p = w.particles[i];
      if (p.active != 1) continue;
      ++n;
      EXPECT_EQ(+p.kind, 11);
      EXPECT_GE(+p.fadeRate, 0.011);
      if (c.kind == 44) {
        EXPECT_EQ(+p.colour.r, 0.0f);
      }
      if (c.kind == 47) {
        EXPECT_EQ(+p.colour.g, 0.0f);
      }
      if (c.kind == 1) {
        EXPECT_NEAR(+p.pos.y, 0.59, 1e-12);
      }
    }
    EXPECT_EQ(n, +c.funnels) << c.kind;
  }
  // Idle funnels puff only now and then.
  for (int32_t i = 1; i <= kParticleSlots; ++i) w.particles[i].active = 0;
  UnitRecord u = P();
  u.unitKind = 3;
  for (int k = 0; k < 100; ++k) SpawnFunnelSmoke(w, u);
  int idle = 0;
  for (int32_t i = 1; i <= kParticleSlots; ++i) idle += w.particles[i].active;
  EXPECT_GT(idle, 50);
  EXPECT_LT(idle, 110);
}

TEST_F(ParticleTest, SnowDensityRampsFlakesFallAndSnowStops) {
  w.snowOn = 1;
  w.snowActive = 1;
  w.snowDrift = {0.01, 0, -0.02, 0};
  for (int k = 0; k < 200; ++k) UpdateSnow(w);
  EXPECT_NEAR(+w.snowDensity, 1.0, 1e-9);
  int flakes = 0;
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i) {
    const SnowflakeRecord& f = w.snowflakes[i];
    if (f.active != 1) continue;
    ++flakes;
    EXPECT_GE(+f.variant, 1);
    EXPECT_LE(+f.variant, 3);
    EXPECT_LT(+f.pos.y, 9.0);
  }
  EXPECT_GT(flakes, 50);
  EXPECT_LE(flakes, kSnowflakeSlots);
  w.snowOn = 0;
  int steps = 0;
  while (w.snowActive == 1 && steps < 1000) {
    UpdateSnow(w);
    ++steps;
  }
  EXPECT_NEAR(steps, 334, 1);
  int left = 0;
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i) left += w.snowflakes[i].active;
  EXPECT_EQ(left, 0);  // flakes fall at least 0.05 per step from below 9
}

}  // namespace
}  // namespace skerrow::test
