// The busy scene of the effects benchmark: the particle pool refilled after every play step.
#include "shell/bench_busy.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

// A fixed scramble of (slot, step) into [0, 1): the filler draws nothing from the shared
// generator, so the game's own random sequence is that of a quiet run with the same input.
double Hash01(uint32_t a, uint32_t b) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return static_cast<double>(h >> 8) / static_cast<double>(1u << 24);
}

struct BusyKind {
  int32_t kind;
  double sizeBase, sizeSpan;  // half-width of the quad at age 0: base + span * [0, 1)
  double fadeRate;            // age per ms of game time
  Color4f colour;
};

// Sizes and rates of the game's own templates: a shell's blast debris (explosion and
// fireball), a battery's cannon smoke, a cruiser's funnel smoke.
constexpr BusyKind kBusyKinds[] = {
    {particle::kExplosion, 0.3, 0.5, 0.03, {1, 1, 1, 1}},
    {particle::kFireball, 0.3, 0.5, 0.03, {1, 1, 1, 1}},
    {particle::kCannonSmoke, 0.15, 0.01, 0.032, {0.8f, 0.8f, 0.8f, 1}},
    {particle::kSmoke, 0.05, 0.05, 0.011, {1, 1, 1, 0.15f}},
};

}  // namespace

bool BenchBusyRequested(const char* value) {
  return value != nullptr && std::strcmp(value, "1") == 0;
}

bool BenchBusyFireKey(int64_t step) {
  return step % kBroadsideSteps == 0;
}

void ReloadBatteriesForBench(WorldState& w) {
  UnitRecord* player = PlayerUnit(w);
  if (player != nullptr) player->sideReload = player->maxSideReload;
}

void FillParticlesForBench(WorldState& w, int64_t step) {
  const UnitRecord* player = PlayerUnit(w);
  if (player == nullptr) return;
  const double cx = player->posX, cz = player->posZ;
  const uint32_t s = static_cast<uint32_t>(step);
  for (int32_t i = FreeParticleSlot(w); i != 0; i = FreeParticleSlot(w, i + 1)) {
    const uint32_t slot = static_cast<uint32_t>(i);
    const BusyKind& k = kBusyKinds[slot % std::size(kBusyKinds)];
    ParticleRecord& p = w.particles[i];
    p = ParticleRecord{};
    p.kind = k.kind;
    p.age = 3.0 * Hash01(slot, s);
    p.fadeRate = k.fadeRate;
    p.angle = 360.0 * Hash01(slot, s + 1);
    p.vel = {0.0002, 0.007, 0.0002, 0.001};  // growth in x and z, rise, turn per ms
    p.colour = k.colour;
    p.pos = {cx - 7.0 + 14.0 * Hash01(slot, s + 2), 0.1 + 0.3 * Hash01(slot, s + 3),
             cz - 6.0 + 12.0 * Hash01(slot, s + 4), 1.0};
    const double size = k.sizeBase + k.sizeSpan * Hash01(slot, s + 5);
    p.size = {size, 0.0, size, 1.0};
    p.active = 1;
  }
}

}  // namespace skerrow
