// Fuzz target: the unit kind pack Skerrow.qvp and the unit parameter files (.par) as the game
// reads them: the pack and the heroes' defaults at start-up, a ship's file when the player
// chooses it, a minion's when a boss summons one; then play over the result. The valid pack of
// a small level is written once; an input patches it in place. Input: steps (1 byte), flags
// (1 byte: 1 choose ship 1 + flags / 2 % 3, 8 summon a minion), .par length (2 bytes,
// little-endian, modulo 273) and bytes (every .par file the game reads here), then patches
// (fuzz_world.h; kind patches reach the pack, the others the world in memory).
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "enemies/enemy_behaviour.h"
#include "fuzz_files.h"
#include "fuzz_world.h"
#include "gui/interface.h"
#include "platform/messages.h"
#include "world/vocabulary.h"

namespace {

using namespace skerrow;

struct Fixture {
  std::string appPath = fuzz::ScratchAppPath("kinds");
  std::unique_ptr<WorldState> world = std::make_unique<WorldState>();
  std::unique_ptr<SavedState> before = std::make_unique<SavedState>();
  KindTable kinds;
  std::unique_ptr<fuzz::PatchedFile> pack;
  PlayHost playHost;
  MenuHost menuHost;

  Fixture() {
    platform::SetMessageHandler([](const std::string&, const std::string&) {});
    WorldState& w = *world;
    w.appPath = appPath;
    fuzz::BuildBase(w);
    pack = std::make_unique<fuzz::PatchedFile>(appPath + "gdata/Skerrow.qvp", KindPackBytes(w));
    *before = w;
    kinds = w.kindTable;
  }
};

// The unit parameter files read here: the three heroes' ships, the summoned minions.
constexpr int32_t kParameterFiles[] = {1, 2, 3, kind::kSkimmer, kind::kAutogyro, kind::kSeaplane};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture* f = new Fixture;
  if (size < 4) return 0;
  WorldState& w = *f->world;
  static_cast<SavedState&>(w) = *f->before;
  w.kindTable = f->kinds;
  std::memset(&w.heroDefaults, 0, sizeof(w.heroDefaults));
  w.levelSize = 400;
  w.episode = 1;
  SharedRandom().Seed(1);
  const int steps = 1 + data[0] % 8;
  const uint8_t flags = data[1];
  size_t parLength = (data[2] | (data[3] << 8)) % (sizeof(UnitRecord) + 1);
  if (parLength > size - 4) parLength = size - 4;
  const std::span<const uint8_t> par(data + 4, parLength);
  for (int32_t k : kParameterFiles) {
    fuzz::WriteWholeFile(f->appPath + "gdata/parameters/unit" + std::to_string(k) + ".par", par);
  }
  size_t at = 4 + parLength;
  fuzz::Patch patch;
  while (fuzz::NextPatch(data, size, at, patch)) {
    if (patch.region == 2) {
      const size_t offset =
          (patch.slot % kKindCount) * sizeof(KindRecord) + patch.offset % sizeof(KindRecord);
      f->pack->Write(offset, patch.bytes,
                     std::min(patch.n, sizeof(KindRecord) - patch.offset % sizeof(KindRecord)));
    } else {
      fuzz::ApplyPatch(w, patch);
    }
  }

  LoadKindPack(w);
  LoadHeroDefaults(w);
  f->pack->Restore();
  if ((flags & 1) != 0) {
    TInterface ui;
    BuildInterface(ui, w, f->menuHost, 0, 0, false);
    ChooseShip(ui, 1 + (flags / 2) % 3);
  }
  if ((flags & 8) != 0) {
    const int32_t j = SummonMinion(w);
    if (j < 0 || j >= kUnitSlots) __builtin_trap();
    // Only a whole record is taken.
    if (j != 0 && parLength != sizeof(UnitRecord)) __builtin_trap();
  }
  w.GameMode = 2;
  fuzz::RunPlaySteps(w, f->playHost, steps);
  return 0;
}
