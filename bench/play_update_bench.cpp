// One play step with full tables: 255 live, alerted, computer-controlled units of mixed kinds and
// classes spread over a level, 255 armed bonus records, every particle slot in use, every
// snowflake falling, and islands to sample; and the same with all 511 projectile slots in
// flight, of mixed kinds. Goal: median <= 0.4 ms.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "platform/random.h"
#include "simulation/play_host.h"
#include "simulation/play_update.h"
#include "support/play_world.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

std::unique_ptr<WorldState> MakeFullWorld() {
  auto world = std::make_unique<WorldState>();
  WorldState& w = *world;
  SharedRandom().Seed(42);
  Random& r = SharedRandom();
  test::SetPlayDefaults(w);
  w.levelSize = 400;
  const int32_t classes[] = {1, 2, 5, 3, 2, 5, 6, 8};
  for (int32_t k = 1; k < kKindCount; ++k) w.kindTable[k].kindClass = classes[k % 8];
  w.kindTable[1].kindClass = 1;
  // Islands: 60 statics with sloped height and shade grids.
  for (int32_t kind = 1; kind <= 10; ++kind)
    for (int32_t a = 0; a < kPieceGridSize; ++a)
      for (int32_t b = 0; b < kPieceGridSize; ++b) {
        w.islandHeights[kind][a][b] = (a * b) % 256;
        w.terrainShadowMaps[kind][a][b] = static_cast<uint8_t>((a + b) % 256);
      }
  for (int32_t s = 1; s <= 60; ++s) {
    StaticRecord& st = w.statics[s];
    st.alive = 1;
    st.terrainKind = 1 + s % 10;
    st.posX = 20.0 + r.Real() * 360.0;
    st.posZ = 20.0 + r.Real() * 360.0;
  }
  // Units: the player in the middle, a quarter of the others near it, the rest anywhere.
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    UnitRecord& u = w.units[i];
    u.alive = 1;
    u.unitKind = i == 1 ? 1 : 2 + static_cast<int32_t>(r.Int(47));  // kinds 2..48 all act
    u.haveAI = i == 1 ? 0 : 1;
    w.unitAlerted[i] = 1;
    const bool near = i == 1 || i % 4 == 0;
    u.posX = near ? 200.0 + r.Real() * 30.0 - 15.0 : 20.0 + r.Real() * 360.0;
    u.posZ = near ? 200.0 + r.Real() * 30.0 - 20.0 : 20.0 + r.Real() * 360.0;
    test::SetShipStats(u);
    u.rotY = r.Real() * 6.28;
    u.mass = 1.0f + static_cast<float>(r.Real());
    u.radius = 0.5f + static_cast<float>(r.Real());
    u.reloadSpeed = 0.001f;
    u.sideReloadSpeed = 0.001f;
    u.ctlForward = i % 3 != 0;
    u.ctlTurnLeft = i % 2;
  }
  for (int32_t k = 1; k < kKindCount; ++k) {
    w.kindTable[k].kindAlertRadius = 12.0f;
    w.kindTable[k].kindStandoffMin = 4.0f;
    w.kindTable[k].kindStandoffMax = 9.0f;
  }
  // Every bonus record armed, out of the player's reach so that they stay armed.
  for (int32_t i = 1; i < kBonusSlots; ++i) {
    BonusRecord& b = w.bonuses[i];
    b.alive = 1;
    b.kind = 1 + i % 19;
    b.posX = 20.0 + r.Real() * 360.0;
    b.posZ = i % 2 == 0 ? 20.0 + r.Real() * 150.0 : 250.0 + r.Real() * 130.0;
  }
  // Every particle slot in use, long-lived.
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    ParticleRecord& p = w.particles[i];
    p.active = 1;
    p.kind = 1 + i % 21;
    p.fadeRate = 0.0;
    p.colour = {1.0f, 1.0f, 1.0f, 0.5f};
    p.pos = {200.0, 0.1, 200.0, 0.0};
  }
  // Snow at full density; flakes fall slowly enough to stay all run.
  w.snowOn = 1;
  w.snowActive = 1;
  w.snowDensity = 1.0;
  for (int32_t i = 1; i <= kSnowflakeSlots; ++i) {
    SnowflakeRecord& f = w.snowflakes[i];
    f.active = 1;
    f.variant = 1;
    f.pos = {200.0, 1e6, 200.0, 1.0};
    f.vel = {1e-4, -1e-6, 1e-4, 1.0};
  }
  return world;
}

// Every projectile slot in flight around the player, a mix of every kind and variant the
// weapons fire, owned by random units, high enough to stay in the air for the whole run.
void FillProjectiles(WorldState& w) {
  Random& r = SharedRandom();
  const int32_t kinds[][2] = {{1, 0},  {1, 1},  {1, 27}, {3, 0},   {5, 0},   {6, 5},
                              {9, 3},  {11, 0}, {12, 0}, {14, 0},  {14, 1},  {16, 0},
                              {21, 0}, {21, 1}, {44, 0}, {121, 0}, {121, 1}, {121, 3}};
  for (int32_t i = 1; i < kProjectileSlots; ++i) {
    ProjectileRecord& p = w.projectiles[i];
    const auto& k = kinds[i % std::size(kinds)];
    p.active = 1;
    p.kind = k[0];
    p.variant = k[1];
    p.owner = 1 + r.Int(kUnitSlots - 1);
    p.pos = {200.0 + r.Real() * 30.0 - 15.0, 1.0 + r.Real() * 4.0, 200.0 + r.Real() * 30.0 - 20.0,
             0.0};
    p.vel = {r.Real() * 0.002 - 0.001, 0.0, r.Real() * 0.002 - 0.001, 1.0};
    p.start = {0.0, r.Real() * 6.28, 0.0, 0.0};
  }
  w.airTarget = 2;
}

// The full projectile table, the units and the random generator are restored before every
// step (outside the timing), so each step sees 511 projectiles among 255 units.
void BM_PlayUpdateFullProjectiles(benchmark::State& state) {
  auto world = MakeFullWorld();
  WorldState& w = *world;
  FillProjectiles(w);
  auto projectiles = std::make_unique<ProjectileRecord[]>(kProjectileSlots);
  auto units = std::make_unique<UnitRecord[]>(kUnitSlots);
  std::memcpy(projectiles.get(), w.projectiles, sizeof w.projectiles);
  std::memcpy(units.get(), w.units, sizeof w.units);
  PlayHost host;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(w.projectiles, projectiles.get(), sizeof w.projectiles);
    std::memcpy(w.units, units.get(), sizeof w.units);
    state.ResumeTiming();
    PlayUpdate(w, host);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlayUpdateFullProjectiles)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly();

void BM_PlayUpdate(benchmark::State& state) {
  auto world = MakeFullWorld();
  PlayHost host;
  for (auto _ : state) {
    PlayUpdate(*world, host);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlayUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();

}  // namespace
}  // namespace skerrow
