// Fuzz support: the small play world the world targets start from, and the patches their
// inputs make to it. A patch is [region][slot: 2][offset: 2][length][bytes] (length taken
// modulo 64 and cut at the input's end); it overwrites bytes of one record of a table, or of
// a range of scalars, clipped to that record or range.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/picture.h"
#include "fuzz_files.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "render/frame_world.h"
#include "render/game_resources.h"
#include "simulation/play_host.h"
#include "simulation/play_update.h"
#include "support/play_world.h"
#include "world/level_files.h"
#include "world/world_state.h"

namespace skerrow::fuzz {

// A small level: the player, a few ships and shore kinds around it, islands with relief.
inline void BuildBase(WorldState& w) {
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

// BuildBase plus what a save game holds besides: level 1 of episode 1, the main menu screen,
// camera 1.
inline void BuildSaveableBase(WorldState& w) {
  BuildBase(w);
  w.episode = 1;
  w.episodeName.Set(EpisodeName(1));
  w.levelNumber = 1;
  w.menuScreen = 1;
  w.cameraNumber = 1;
  w.heroLevel = 1;
}

struct Patch {
  uint8_t region = 0;  // taken modulo 10
  uint32_t slot = 0;
  uint32_t offset = 0;
  const uint8_t* bytes = nullptr;
  size_t n = 0;
};

// The next patch of the input at `at` (advanced past it); false at the input's end.
inline bool NextPatch(const uint8_t* data, size_t size, size_t& at, Patch& p) {
  if (at + 6 > size) return false;
  p.region = data[at] % 10;
  p.slot = data[at + 1] | (data[at + 2] << 8);
  p.offset = data[at + 3] | (data[at + 4] << 8);
  p.n = data[at + 5] % 64;
  at += 6;
  if (p.n > size - at) p.n = size - at;
  p.bytes = data + at;
  at += p.n;
  return true;
}

// Where a patch lands in the saved block: its offset there and its clipped length.
struct SavedRange {
  size_t offset = 0;
  size_t n = 0;
};

namespace detail {
template <typename T>
SavedRange InTable(const SavedState& s, const T* records, int32_t count, const Patch& p) {
  const size_t base = static_cast<size_t>(reinterpret_cast<const uint8_t*>(records) -
                                          reinterpret_cast<const uint8_t*>(&s));
  const size_t offset = p.offset % sizeof(T);
  const size_t n = std::min(p.n, sizeof(T) - offset);
  return {base + (p.slot % static_cast<uint32_t>(count)) * sizeof(T) + offset, n};
}
inline SavedRange InRange(size_t begin, size_t size, const Patch& p) {
  const size_t offset = (p.slot << 16 | p.offset) % size;
  return {begin + offset, std::min(p.n, size - offset)};
}
}  // namespace detail

// Regions 0 units, 1 statics, 3 bonuses, 4 projectiles, 5 particles, 6 everything ahead of the
// height map (header, projectiles, camera, lives), 7 the scalars after the land range. The
// others (2 kinds, 8 hero defaults, 9 the level size) lie outside the saved block: none.
inline std::optional<SavedRange> SavedPatchRange(const SavedState& s, const Patch& p) {
  switch (p.region) {
    case 0:
      return detail::InTable(s, s.units, kUnitSlots, p);
    case 1:
      return detail::InTable(s, s.statics, kStaticSlots, p);
    case 3:
      return detail::InTable(s, s.bonuses, kBonusSlots, p);
    case 4:
      return detail::InTable(s, s.projectiles, kProjectileSlots, p);
    case 5:
      return detail::InTable(s, s.particles.slots, kParticleSlots, p);
    case 6:
      return detail::InRange(0, offsetof(SavedState, heightMap), p);
    case 7: {
      const size_t tail = offsetof(SavedState, neighbourPlusX);
      return detail::InRange(tail, sizeof(SavedState) - tail, p);
    }
    default:
      return std::nullopt;
  }
}

// Applies the patch to the world in memory.
inline void ApplyPatch(WorldState& w, const Patch& p) {
  if (const std::optional<SavedRange> r = SavedPatchRange(w, p)) {
    std::memcpy(reinterpret_cast<uint8_t*>(&Saved(w)) + r->offset, p.bytes, r->n);
    return;
  }
  uint8_t* base = nullptr;
  size_t size = 0;
  switch (p.region) {
    case 2: {
      const size_t slot = p.slot % kKindCount;
      base = reinterpret_cast<uint8_t*>(&w.kindTable.kinds[slot]);
      size = sizeof(KindRecord);
      break;
    }
    case 8:
      base = reinterpret_cast<uint8_t*>(&w.heroDefaults.slots[p.slot % kHeroCount]);
      size = sizeof(UnitRecord);
      break;
    default:
      base = reinterpret_cast<uint8_t*>(&w.levelSize);
      size = sizeof(w.levelSize);
      break;
  }
  const size_t offset = p.offset % size;
  std::memcpy(base + offset, p.bytes, std::min(p.n, size - offset));
}

// A level host that reads pictures as the game's does (the level size from the header alone)
// and does nothing else.
class FuzzLevelHost : public LevelHost {
 public:
  bool ReadPicture(const std::string& gamePath, LevelPicture& out) override {
    return reader_.ReadPicture(gamePath, out);
  }
  bool ReadPictureWidth(const std::string& gamePath, int32_t& width) override {
    if (!PathExists(gamePath)) return false;
    int32_t height = 0;
    return ReadBitmapFileSize(ResolvePath(gamePath), width, height);
  }
  void ResetLoadingProgress() override {}
  void LoadLoadingPicture(int32_t) override {}
  void LoadEpisodeArt(const std::string&) override {}
  void LoadMinimap(const std::string&) override {}
  void SetFpsTimer(bool) override {}
  void StartEpisodeMusic(int32_t) override {}
  void ShowEpisodeHint(const std::string&, const std::string&) override {}
  void ShowOutro() override {}
  void ShowLevelMessage(const LevelMessage&) override {}

 private:
  EnginePictureReader reader_;
};

// The episode directory's pictures of level `level`: size (400 wide), landscape colours and
// their height gradient.
inline void WriteLevelPictures(const std::string& appPath, int32_t episode, int32_t level) {
  const std::string data =
      appPath + "gdata/Worlds/" + Cp1251ToUtf8(EpisodeName(episode)) + "/Data/";
  const std::string n = std::to_string(level);
  WriteWholeFile(data + "size" + n + ".qvt", Bitmap24(400, 1, [](int32_t, int32_t) { return 0; }));
  WriteWholeFile(data + "landscape" + n + ".qvt", Bitmap24(32, 32, [](int32_t x, int32_t y) {
                   return static_cast<uint32_t>(x * 8 << 16 | y * 8 << 8 | 0x40);
                 }));
  WriteWholeFile(data + "ugrad" + n + ".qvt", Bitmap24(1, 256, [](int32_t, int32_t y) {
                   return static_cast<uint32_t>(y * 0x010101);
                 }));
}

// `steps` play steps, each followed by the world writes of its frame (no display needed).
inline void RunPlaySteps(WorldState& w, PlayHost& host, int steps) {
  static FireColours* fires = new FireColours;
  for (int i = 0; i < steps; ++i) {
    PlayUpdate(w, host);
    ApplyFrameWorldWrites(w, FrameWorldPasses{}, *fires);
  }
}

}  // namespace skerrow::fuzz
