// Fuzz target: play steps, each followed by the world writes of its frame, over a world
// patched with arbitrary bytes, as a hostile level, unit, bonus or kind file or a save game
// would leave it. Input: steps (1 byte), held keys (4 bytes, bit vk % 32), then patches of
// [region][slot: 2][offset: 2][length][bytes].
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/random.h"
#include "render/frame_world.h"
#include "simulation/play_host.h"
#include "simulation/play_update.h"
#include "support/play_world.h"
#include "world/world_state.h"

namespace {

using namespace skerrow;

class FuzzHost : public PlayHost {
 public:
  uint32_t keys = 0;
  bool KeyDown(int vk) override { return ((keys >> (static_cast<uint32_t>(vk) % 32)) & 1) != 0; }
};

// A small level: the player, a few ships and shore kinds around it, islands with relief.
void BuildBase(WorldState& w) {
  SharedRandom().Seed(1);
  test::SetPlayDefaults(w);
  w.levelSize = 400;
  const int32_t classes[] = {1, 2, 5, 3, 2, 5, 6, 8, 7, 9, 10, 4};
  for (int32_t k = 1; k < kKindCount; ++k) w.kindTable[k].kindClass = classes[k % 12];
  w.kindTable[1].kindClass = 1;
  for (int32_t kind = 1; kind <= 4; ++kind)
    for (int32_t a = 0; a < kPieceGridSize; ++a)
      for (int32_t b = 0; b < kPieceGridSize; ++b) {
        w.islandHeights[kind][a][b] = static_cast<uint8_t>((a * b) % 256);
        w.terrainShadowMaps[kind][a][b] = static_cast<uint8_t>((a + b) % 256);
      }
  for (int32_t s = 1; s <= 4; ++s) {
    StaticRecord& st = w.statics[s];
    st.alive = 1;
    st.terrainKind = s;
    st.posX = 180.0 + 12 * s;
    st.posZ = 215.0;
    st.objects[1].alive = 1;
    st.objects[1].objectKind = s;
  }
  for (int32_t i = 1; i <= 12; ++i) {
    UnitRecord& u = w.units[i];
    u.alive = 1;
    u.unitKind = i;
    u.posX = 200.0 + (i % 4) * 3.0;
    u.posZ = 200.0 + (i / 4) * 3.0;
    test::SetShipStats(u);
    u.reloadSpeed = 0.01f;
    u.sideReloadSpeed = 0.01f;
  }
  for (int32_t b = 1; b <= 4; ++b) {
    w.bonuses[b].alive = 1;
    w.bonuses[b].posX = 201.0 + b;
    w.bonuses[b].posZ = 201.0;
  }
}

struct Fixture {
  std::unique_ptr<WorldState> world = std::make_unique<WorldState>();
  std::unique_ptr<SavedState> saved = std::make_unique<SavedState>();
  KindTable kinds;
  OneBased<UnitRecord, kHeroCount> heroes;
  Fixture() {
    BuildBase(*world);
    *saved = *world;
    kinds = world->kindTable;
    heroes = world->heroDefaults;
  }
  // Back to the base world: the saved block, the tables beside it and the scalars a step moves.
  WorldState& Reset() {
    WorldState& w = *world;
    static_cast<SavedState&>(w) = *saved;
    w.kindTable = kinds;
    w.heroDefaults = heroes;
    w.levelSize = 400;
    w.frameCounter = w.lagAccumulator = w.lastLagCount = 0;
    w.aiPhase = 0;
    w.terrainAnimPhase = w.wavePhase = w.respawnY = 0;
    w.waterShiftX = w.waterShiftZ = w.wakeDirection = 0;
    w.pickupFlash = w.pickupFlashLevel = w.flashScale = w.hudAnimFrame = w.radarAlpha = 0;
    w.radarContacts = 0;
    w.hoverName.clear();
    SharedRandom().Seed(1);
    return w;
  }
};

// Copies `n` bytes into element `slot` of an array of `count` records at `offset`, clipped to
// the record.
template <typename T>
void Patch(T* records, int32_t count, uint32_t slot, uint32_t offset, const uint8_t* bytes,
           size_t n) {
  uint8_t* base = reinterpret_cast<uint8_t*>(&records[slot % static_cast<uint32_t>(count)]);
  offset %= sizeof(T);
  if (n > sizeof(T) - offset) n = sizeof(T) - offset;
  std::memcpy(base + offset, bytes, n);
}

void PatchRange(void* begin, size_t size, uint32_t offset, const uint8_t* bytes, size_t n) {
  offset %= static_cast<uint32_t>(size);
  if (n > size - offset) n = size - offset;
  std::memcpy(static_cast<uint8_t*>(begin) + offset, bytes, n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture* fixture = new Fixture;
  if (size < 5) return 0;
  WorldState& w = fixture->Reset();
  FuzzHost host;
  const int steps = 1 + data[0] % 12;
  std::memcpy(&host.keys, data + 1, 4);
  size_t at = 5;
  while (at + 6 <= size) {
    const uint8_t region = data[at];
    const uint32_t slot = data[at + 1] | (data[at + 2] << 8);
    const uint32_t offset = data[at + 3] | (data[at + 4] << 8);
    size_t n = data[at + 5] % 64;
    at += 6;
    if (n > size - at) n = size - at;
    const uint8_t* bytes = data + at;
    at += n;
    SavedState& s = w;
    switch (region % 10) {
      case 0:
        Patch(s.units, kUnitSlots, slot, offset, bytes, n);
        break;
      case 1:
        Patch(s.statics, kStaticSlots, slot, offset, bytes, n);
        break;
      case 2:
        Patch(w.kindTable.kinds.data(), kKindCount, slot, offset, bytes, n);
        break;
      case 3:
        Patch(s.bonuses, kBonusSlots, slot, offset, bytes, n);
        break;
      case 4:
        Patch(s.projectiles, kProjectileSlots, slot, offset, bytes, n);
        break;
      case 5:
        Patch(s.particles.slots, kParticleSlots, slot, offset, bytes, n);
        break;
      case 6:  // everything ahead of the height map: header, projectiles, camera, lives
        PatchRange(&s, offsetof(SavedState, heightMap), slot << 16 | offset, bytes, n);
        break;
      case 7: {  // the scalars after the land range
        const size_t tail = offsetof(SavedState, neighbourPlusX);
        PatchRange(reinterpret_cast<uint8_t*>(&s) + tail, sizeof(SavedState) - tail,
                   slot << 16 | offset, bytes, n);
        break;
      }
      case 8:
        Patch(w.heroDefaults.slots, kHeroCount, slot, offset, bytes, n);
        break;
      case 9:
        PatchRange(&w.levelSize, sizeof(w.levelSize), offset, bytes, n);
        break;
    }
  }
  // The frame's drawing needs a display; what it writes into the world does not.
  static FireColours* fires = new FireColours;
  for (int i = 0; i < steps; ++i) {
    PlayUpdate(w, host);
    ApplyFrameWorldWrites(w, FrameWorldPasses{}, *fires);
  }
  return 0;
}
