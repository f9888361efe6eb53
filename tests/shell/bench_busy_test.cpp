// The busy scene of the effects benchmark: a full, reproducible particle pool in view.
#include "shell/bench_busy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "simulation/particles.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

std::unique_ptr<WorldState> WorldWithPlayer() {
  auto w = std::make_unique<WorldState>();
  w->playerUnit = 1;
  UnitRecord& u = w->units[1];
  u.alive = 1;
  u.posX = 100;
  u.posZ = 200;
  u.rotY = 0.7;
  w->cameraPos = {100, 8.8, 188.5, 1};  // where the play camera sits for this ship
  return w;
}

TEST(BenchBusy, OnlyTheValueOneAsksForTheBusyScene) {
  const struct {
    const char* value;
    bool busy;
  } kCases[] = {{nullptr, false}, {"", false},   {"0", false},
                {"1", true},      {"11", false}, {"yes", false}};
  for (const auto& c : kCases) {
    EXPECT_EQ(BenchBusyRequested(c.value), c.busy) << (c.value ? c.value : "(unset)");
  }
}

TEST(BenchBusy, TheFireKeyIsPressedOncePerBroadsidePeriod) {
  int presses = 0;
  for (int64_t step = 0; step < 10 * kBroadsideSteps; ++step) presses += BenchBusyFireKey(step);
  EXPECT_EQ(presses, 10);
  EXPECT_TRUE(BenchBusyFireKey(0));
  EXPECT_FALSE(BenchBusyFireKey(1));
}

TEST(BenchBusy, FillsEveryFreeSlotInViewAndKeepsLiveParticles) {
  auto w = WorldWithPlayer();
  ParticleRecord& live = w->particles[7];
  live.kind = particle::kWake;
  live.age = 9;
  live.active = 1;
  FillParticlesForBench(*w, 3);
  int halos = 0, smoke = 0;
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    const ParticleRecord& p = w->particles[i];
    ASSERT_EQ(p.active, 1) << "slot " << i;
    if (i == 7) continue;
    EXPECT_TRUE(InVisibilityWindow(*w, p.pos.x, p.pos.z)) << "slot " << i;
    EXPECT_GT(p.size.x, 0.0);
    EXPECT_LT(p.age, ParticleLifetime(p.kind));
    halos += p.kind == particle::kExplosion || p.kind == particle::kFireball;
    smoke += p.kind == particle::kCannonSmoke || p.kind == particle::kSmoke;
  }
  EXPECT_EQ(live.kind, particle::kWake);
  EXPECT_EQ(live.age, 9);
  EXPECT_GT(halos, kParticleSlots / 3);
  EXPECT_GT(smoke, kParticleSlots / 3);
}

TEST(BenchBusy, TheSameStepGivesTheSameParticles) {
  auto a = WorldWithPlayer();
  auto b = WorldWithPlayer();
  FillParticlesForBench(*a, 41);
  FillParticlesForBench(*b, 41);
  EXPECT_EQ(
      std::memcmp(&a->particles[1], &b->particles[1], sizeof(ParticleRecord) * kParticleSlots), 0);
  auto c = WorldWithPlayer();
  FillParticlesForBench(*c, 42);
  EXPECT_NE(a->particles[1].pos.x, c->particles[1].pos.x);
}

TEST(BenchBusy, NoPlayerUnitNoParticles) {
  auto w = std::make_unique<WorldState>();
  w->playerUnit = 0;
  FillParticlesForBench(*w, 0);
  for (int32_t i = 1; i <= kParticleSlots; ++i) ASSERT_EQ(w->particles[i].active, 0);
}

}  // namespace
}  // namespace skerrow
