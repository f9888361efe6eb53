// The one game state object: the saved block plus the state that lives in memory only, and the
// byte ranges that the save, level, parameter and kind pack files transfer.
#pragma once

#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "world/records.h"
#include "world/vocabulary.h"

namespace skerrow {

inline constexpr int32_t kTerrainPieceSlots = 127;  // terrain pieces 1..127 of an episode
inline constexpr int32_t kShadowMapSlots = 100;     // shadow maps exist for pieces 1..100 only
inline constexpr int32_t kPieceGridSize = 128;      // side of a piece's height and shadow grid
inline constexpr int32_t kHeroCount = 3;            // hero ships 1..3 (unit1.par .. unit3.par)
inline constexpr int32_t kEffectSets = 12;          // effect animation sets 1..11
inline constexpr int32_t kEffectFrames = 32;
inline constexpr int32_t kBonusKinds = bonus::kCount;  // bonus kinds 1..19
inline constexpr int32_t kBonusFrames = 32;

// A 1-based table too large for the stack or the block, allocated zero-filled on the heap.
// operator[](i) maps i = 1..N to the i-th entry; `at` returns nullptr outside 1..N.
template <typename T, int32_t N>
class HeapOneBased {
 public:
  HeapOneBased() : data_(std::make_unique<T[]>(N)) {}  // value-initialised: all zero

  T& operator[](int32_t i) {
    assert(i >= 1 && i <= N);
    return data_[static_cast<size_t>(i - 1)];
  }
  const T& operator[](int32_t i) const {
    assert(i >= 1 && i <= N);
    return data_[static_cast<size_t>(i - 1)];
  }
  T* at(int32_t i) { return i >= 1 && i <= N ? &data_[static_cast<size_t>(i - 1)] : nullptr; }
  const T* at(int32_t i) const {
    return i >= 1 && i <= N ? &data_[static_cast<size_t>(i - 1)] : nullptr;
  }
  static constexpr int32_t kFirst = 1;
  static constexpr int32_t kLast = N;

 private:
  std::unique_ptr<T[]> data_;
};

// Height grid of one terrain piece: [a][b], stored turned by 180 degrees against its picture.
using IslandHeightGrid = int32_t[kPieceGridSize][kPieceGridSize];
// Shadow intensity of one terrain piece: [a][b] = red of pixel (a, b) of its shadow picture.
using TerrainShadowMap = uint8_t[kPieceGridSize][kPieceGridSize];

// The game state. The saved block (the base) is the byte image of a save game; the members
// below it live in memory only and survive a save-game load. Engine objects (the scene and the
// terrain, ship, object and shadow models, the texture names), the water wave field and the sound
// and music handles live with the engine, renderer and audio sides, which keep world free of them.
//
// About 8.5 MB plus 74 MB of heap tables: always create it on the heap with
// std::make_unique<WorldState>(). The saved block starts zero-filled.
struct WorldState : SavedState {
  WorldState() {
    std::memset(static_cast<SavedState*>(this), 0, sizeof(SavedState));
    std::memset(&kindTable, 0, sizeof(kindTable));
    std::memset(&heroDefaults, 0, sizeof(heroDefaults));
    std::memset(&particleTemplate, 0, sizeof(particleTemplate));
    terrainColour.resize(static_cast<size_t>(kMapSize) * kMapSize);
  }
  WorldState(const WorldState&) = delete;
  WorldState& operator=(const WorldState&) = delete;

  // Directory of the executable with a trailing backslash; game paths are appPath + a relative
  // path written with backslashes.
  std::string appPath;

  KindTable kindTable;                            // the unit kind pack, Skerrow.qvp
  OneBased<UnitRecord, kHeroCount> heroDefaults;  // unit1.par .. unit3.par

  HeapOneBased<IslandHeightGrid, kTerrainPieceSlots> islandHeights;   // [1..127][a][b]
  HeapOneBased<TerrainShadowMap, kShadowMapSlots> terrainShadowMaps;  // [1..100][a][b]
  // Lit colour of each height-map point, element x * kMapSize + z; see TerrainColourAt.
  std::vector<Color4f> terrainColour;

  // Frame timing (main loop).
  int32_t frameCounter = 0;
  int32_t lagAccumulator = 0;  // milliseconds not yet simulated, capped at 250
  int32_t lastLagCount = 0;

  // Step state.
  uint8_t aiPhase = 0;  // the enemy behaviour and the triggers run every second step
  // Play steps running (the settling steps after a level change nest inside the step that
  // made it), and whether the outermost one has changed level: one change per step.
  int32_t playStepDepth = 0;
  uint8_t levelChangedThisStep = 0;
  // Reloads of the current slot by the last life lost: a level change's settling steps that
  // reloaded do not save.
  uint32_t slotReloads = 0;
  double terrainAnimPhase = 0;
  double wavePhase = 0;
  int32_t waterShiftX = 0;
  int32_t waterShiftZ = 0;
  double respawnY = 0;

  // Unit motion scratch.
  int32_t wakeDirection = 0;
  std::string hoverName;  // name of the unit kind under the cursor (Windows-1251)

  ParticleRecord particleTemplate;  // filled before each particle spawn

  // HUD animation.
  double pickupFlash = 0;
  double pickupFlashLevel = 0;
  double flashScale = 0;
  double hudAnimFrame = 0;
  double radarAlpha = 0;
  uint8_t radarContacts = 0;

  // Scene colours and planes.
  Color4f terrainTintColour = {};
  Vector4d shadowPlanePoint = {};
  Vector4d shadowPlaneNormal = {};

  // Copies of the stored options (booleans are 1 = on).
  uint8_t textureQuality = 0;
  uint8_t fourPipelines = 0;  // objects cast shadows
  uint8_t hqEffects = 0;
  uint8_t terrainShadows = 0;
  uint8_t sound3D = 0;
  uint8_t stretchMovies = 0;
  int32_t maxShadows = 0;

  // Renderer switches.
  int32_t landscapeQuality = 0;  // 0..5
  uint8_t editorPlanes = 0;

  int32_t saveSlot = 0;     // slot of the current game
  int32_t browseSlot = 0;   // slot shown by the save and load screens
  int32_t levelSize = 0;    // side length of the level in world units
  double screenAspect = 0;  // display width / height
  uint8_t fixedCamera = 0;  // 1 when cameraNumber is 1
  int32_t heightBrush = 0;  // editor height brush 1..5
  Vector4d mouseWorldPos = {};

  // Mouse buttons.
  uint8_t mouseLeftHeld = 0;
  uint8_t mouseRightHeld = 0;
  uint8_t mouseMiddleHeld = 0;
  uint8_t skipNextRelease = 0;

  // Names typed on the selection screens (Windows-1251), copied into playerName and shipName
  // when a game starts.
  std::string heroChoiceName;
  std::string shipChoiceName;
};

inline SavedState& Saved(WorldState& ws) {
  return ws;
}
inline const SavedState& Saved(const WorldState& ws) {
  return ws;
}

// The unit the player controls: units[playerUnit], or null while playerUnit (file data) names
// no unit slot 1..255.
inline UnitRecord* PlayerUnit(WorldState& ws) {
  return ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots ? &ws.units[ws.playerUnit] : nullptr;
}
inline const UnitRecord* PlayerUnit(const WorldState& ws) {
  return ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots ? &ws.units[ws.playerUnit] : nullptr;
}

// terrainColour[x][z] for 0 <= x, z < kMapSize (callers clamp indices taken from data).
inline Color4f& TerrainColourAt(WorldState& ws, int32_t x, int32_t z) {
  assert(x >= 0 && x < kMapSize && z >= 0 && z < kMapSize);
  return ws.terrainColour[static_cast<size_t>(x) * kMapSize + static_cast<size_t>(z)];
}

// ---- Byte ranges of the file transfers ----

// The whole saved block: a save game.
inline std::span<uint8_t> SavedBytes(SavedState& s) {
  return {reinterpret_cast<uint8_t*>(&s), sizeof(SavedState)};
}
inline std::span<const uint8_t> SavedBytes(const SavedState& s) {
  return {reinterpret_cast<const uint8_t*>(&s), sizeof(SavedState)};
}

// Saved-block offsets 57,648 .. 7,044,423: height map, terrain view, statics. A land file.
inline std::span<uint8_t> LandBytes(SavedState& s) {
  return SavedBytes(s).subspan(kLandRangeBegin, kLandRangeSize);
}
inline std::span<const uint8_t> LandBytes(const SavedState& s) {
  return SavedBytes(s).subspan(kLandRangeBegin, kLandRangeSize);
}

// The unit table, 256 records: a .unt file.
inline std::span<uint8_t> UnitBytes(SavedState& s) {
  return {reinterpret_cast<uint8_t*>(s.units), sizeof(s.units)};
}
inline std::span<const uint8_t> UnitBytes(const SavedState& s) {
  return {reinterpret_cast<const uint8_t*>(s.units), sizeof(s.units)};
}

// The bonus table, 256 records: a .bon file.
inline std::span<uint8_t> BonusBytes(SavedState& s) {
  return {reinterpret_cast<uint8_t*>(s.bonuses), sizeof(s.bonuses)};
}
inline std::span<const uint8_t> BonusBytes(const SavedState& s) {
  return {reinterpret_cast<const uint8_t*>(s.bonuses), sizeof(s.bonuses)};
}

// One unit record: a .par file.
inline std::span<uint8_t> UnitRecordBytes(UnitRecord& u) {
  return {reinterpret_cast<uint8_t*>(&u), sizeof(UnitRecord)};
}
inline std::span<const uint8_t> UnitRecordBytes(const UnitRecord& u) {
  return {reinterpret_cast<const uint8_t*>(&u), sizeof(UnitRecord)};
}

// The kind table and its 16 trailing bytes: Skerrow.qvp, 827,408 bytes.
inline std::span<uint8_t> KindPackBytes(WorldState& ws) {
  return {reinterpret_cast<uint8_t*>(&ws.kindTable), sizeof(KindTable)};
}
inline std::span<const uint8_t> KindPackBytes(const WorldState& ws) {
  return {reinterpret_cast<const uint8_t*>(&ws.kindTable), sizeof(KindTable)};
}

}  // namespace skerrow
