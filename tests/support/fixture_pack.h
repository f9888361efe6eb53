// A scratch game folder over the built content pack whose episode 1 holds only the levels a test
// writes itself (open sea, the units and bonuses it places), for runs of the executable that
// must not depend on the pack's own level layout.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/picture.h"
#include "platform/paths.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "world/world_state.h"

namespace skerrow::test {

// Episode 1's directory name on disk (UTF-8).
inline constexpr const char* kFixtureEpisode = "Заманчивые тропики";

// `<temp>/skerrow_<name><pid>` whose gdata links every entry of `pack` (a built gdata) except
// the save games, the hint texts and the episodes; episode 1 keeps the pack's textures and
// terrain pieces and gets an empty Data folder. Returns the folder to pass as --root.
inline std::filesystem::path FixturePack(const std::string& name,
                                         const std::filesystem::path& pack) {
  namespace fs = std::filesystem;
  const fs::path root = ScratchDir(name);
  const fs::path gdata = root / "gdata";
  fs::create_directories(gdata / "ata");
  for (const fs::directory_entry& e : fs::directory_iterator(pack)) {
    const std::string n = e.path().filename().string();
    if (n == "savegame" || n == "Worlds" || n == "ata") continue;
    fs::create_directory_symlink(e.path(), gdata / n);
  }
  // No hint texts: a hint window would pause play whenever the pack gains one.
  for (const fs::directory_entry& e : fs::directory_iterator(pack / "ata")) {
    if (e.path().filename() != "hints")
      fs::create_symlink(e.path(), gdata / "ata" / e.path().filename());
  }
  const fs::path episode = gdata / "Worlds" / kFixtureEpisode;
  fs::create_directories(episode / "Data");
  for (const char* dir : {"Textures", "refter"}) {
    if (fs::exists(pack / "Worlds" / kFixtureEpisode / dir)) {
      fs::create_directory_symlink(pack / "Worlds" / kFixtureEpisode / dir, episode / dir);
    }
  }
  InvalidatePathCache();
  return root;
}

// A live unit of `kind` at (x, 0, z) with heading `rotY` and `life`; the rest zero.
inline UnitRecord FixtureUnit(int32_t kind, double x, double z, double rotY, float life) {
  UnitRecord u{};
  u.alive = 1;
  u.unitKind = kind;
  u.posX = x;
  u.posZ = z;
  u.rotY = rotY;
  u.life = life;
  u.maxLife = life;
  u.mass = 4.0f;
  u.radius = 0.65f;
  return u;
}

// An armed bonus of `kind` at (x, 0, z) with `tag`.
inline BonusRecord FixtureBonus(int32_t kind, double x, double z, int32_t tag) {
  BonusRecord b{};
  b.alive = 1;
  b.kind = kind;
  b.posX = x;
  b.posZ = z;
  b.tag = tag;
  return b;
}

// Level `n` of the fixture episode under `root`: a 256-unit level of open sea (a flat floor at
// height 0, no islands) with the given units and bonuses by slot.
inline void WriteFixtureLevel(const std::filesystem::path& root, int32_t n,
                              const std::map<int32_t, UnitRecord>& units,
                              const std::map<int32_t, BonusRecord>& bonuses) {
  const std::filesystem::path data = root / "gdata" / "Worlds" / kFixtureEpisode / "Data";
  const std::string ns = std::to_string(n);
  WriteFileBytes(data / ("Land" + ns + ".lan"), std::vector<uint8_t>(kLandRangeSize, 0));
  std::vector<uint8_t> bytes(sizeof(UnitRecord) * kUnitSlots, 0);
  for (const auto& [slot, u] : units) {
    std::memcpy(bytes.data() + sizeof(UnitRecord) * static_cast<size_t>(slot), &u, sizeof u);
  }
  WriteFileBytes(data / ("normal" + ns + ".unt"), bytes);
  bytes.assign(sizeof(BonusRecord) * kBonusSlots, 0);
  for (const auto& [slot, b] : bonuses) {
    std::memcpy(bytes.data() + sizeof(BonusRecord) * static_cast<size_t>(slot), &b, sizeof b);
  }
  WriteFileBytes(data / ("normal" + ns + ".bon"), bytes);
  // The size picture: only its width counts.
  TPixels size{256, 1, 3, std::vector<uint8_t>(256 * 3, 0)};
  WriteFileBytes(data / ("size" + ns + ".qvt"), EncodeBmp24(size));
}

}  // namespace skerrow::test
