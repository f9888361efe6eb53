// The frame's writes into the world: tag copies, emitter particles, fire colours and the sky
// alpha, before the first pass draws anything.
#include "render/frame_world.h"

#include <cstring>

#include "platform/random.h"
#include "render/world_passes.h"
#include "simulation/particles.h"
#include "world/slots.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

// Smoke and sparks of the burning statics (kinds 12 and 14) and of objects of kinds 4 and 28.
void EmitSmoke(WorldState& w, double x, double y, double z, Color4f colour, double size,
               int32_t kind) {
  ParticleRecord& t = w.particleTemplate;
  std::memset(&t, 0, sizeof(t));
  Random& rnd = SharedRandom();
  t.kind = kind;
  t.pos = {x, y, z, 0};
  t.size = {size, 0, size, 0};
  t.angle = rnd.Real() * 360;
  t.vel = {0.002, 0.002, 0.001 + rnd.Real() * 0.002, rnd.Real() * 2 - 1};
  t.colour = colour;
  t.fadeRate = 0.002;
  SpawnParticle(w, t);
}

constexpr Color4f kObjectSmoke = {0.3f, 0.3f, 0.3f, 0.15f};

// The emitters' odds: Random(5 * lagAccumulator) >= atLeast; never while no lag is pending.
bool LagChance(const WorldState& w, int32_t atLeast) {
  return w.lagAccumulator > 0 && SharedRandom().Int(5 * w.lagAccumulator) >= atLeast;
}

void StaticEmitters(WorldState& w) {
  const Color4f& sky = w.skyFogColour;
  const bool darkSky = sky.r + sky.g + sky.b < 2.1f;
  Random& rnd = SharedRandom();
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1) continue;
    if (w.editorPlanes != 1 && !InStaticsWindow(w, s.posX, s.posZ)) continue;
    // Burning statics smoke; kind 14 glows only under a dark sky.
    const bool emits = s.terrainKind == 12 || (s.terrainKind == 14 && darkSky);
    if (!emits || !LagChance(w, 6)) continue;  // Random(5 * lag) > 5
    if (s.terrainKind == 12) {
      EmitSmoke(w, s.posX, s.posY + 1.2, s.posZ, {0.4862745f, 0.24313726f, 0.24313726f, 0.15f},
                0.97, particle::kSmoke);
    } else {
      for (double dx : {4.8, -4.8}) {
        const Color4f warm = {0.9f + 0.1f * static_cast<float>(rnd.Real()),
                              0.3f + 0.3f * static_cast<float>(rnd.Real()), 0.1f, 0.8f};
        EmitSmoke(w, s.posX + dx, s.posY + 0.7, s.posZ, warm, 0.1, particle::kWarmSmoke);
      }
    }
  }
}

// The objects drawn in one pass of the static objects (1 shadow models, 0 objects).
void ObjectWrites(WorldState& w, int32_t pass, FireColours& fires) {
  Random& rnd = SharedRandom();
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1 || !InStaticsWindow(w, s.posX, s.posZ)) continue;
    for (int32_t k = 1; k < kStaticObjectSlots; ++k) {
      const StaticObjectRecord& o = s.objects[k];
      if (o.alive != 1) continue;
      const double ox = s.posX + o.posX, oy = s.posY + o.posY, oz = s.posZ + o.posZ;
      if (o.objectKind == 28) {
        if (LagChance(w, 6)) EmitSmoke(w, ox, oy + 0.3, oz, kObjectSmoke, 0.3, particle::kSmoke);
      } else if (o.objectKind == 4) {
        Color4f& c = fires.colour[pass][i][k];
        c.r = 0.9f + 0.1f * static_cast<float>(rnd.Real());
        c.g = 0.3f + 0.2f * static_cast<float>(rnd.Real());
        c.b = 0.15f + 0.1f * static_cast<float>(rnd.Real());
        c.a = 1;
        if (pass == 0 && LagChance(w, 6))
          EmitSmoke(w, ox, oy + 0.3, oz, kObjectSmoke, 0.3, particle::kSmoke);
      }
    }
  }
}

// Tag copies of the units of one height band (0 at or below the sea, 1 above it).
void UnitCopies(WorldState& w, int32_t band) {
  for (int32_t i = 1; i < kUnitSlots; ++i) {
    const UnitRecord& u = w.units[i];
    if (u.alive != 1) continue;
    if ((u.posY > 0.5) != (band == 1)) continue;
    if (w.editorPlanes != 1 && !InUnitsWindow(w, u.posX, u.posZ)) continue;
    if (w.GameMode == game_mode::kPlay && u.tag > 0) CopyTaggedUnit(w, i);
  }
}

}  // namespace

int32_t CopyTaggedUnit(WorldState& w, int32_t i) {
  if (i < 1 || i >= kUnitSlots) return 0;
  const int32_t copies = w.units[i].tag;
  int32_t made = 0;
  Random& rnd = SharedRandom();
  for (int32_t k = 0; k < copies; ++k) {
    const int32_t j = FreeUnitSlot(w);
    if (j == 0) break;  // the table is full: the remaining copies are skipped
    UnitRecord& c = w.units[j];
    c = w.units[i];
    c.tag = 0;
    c.pok = static_cast<float>(rnd.Real());
    const double r1 = rnd.Real(), r2 = rnd.Real();
    c.posX = w.units[i].posX + r1 * 0.1 - 0.05;
    c.posZ = w.units[i].posZ + r2 * 0.1 - 0.05;
    ++made;
  }
  w.units[i].tag = 0;
  return made;
}

void ApplyFrameWorldWrites(WorldState& w, const FrameWorldPasses& passes, FireColours& fires) {
  if (passes.statics) StaticEmitters(w);
  if (passes.staticObjects) ObjectWrites(w, 1, fires);
  if (passes.unitsLow) UnitCopies(w, 0);
  if (passes.unitsHigh) UnitCopies(w, 1);
  if (passes.staticObjects) ObjectWrites(w, 0, fires);
  if (passes.unitsLow || passes.unitsHigh) w.skyFogColour.a = 1;
}

}  // namespace skerrow
