// Fuzz target: a whole save game loaded through LoadGame, then played. The valid save of a
// small level is written once; an input patches it in place (the 7.5 MB file is not part of
// the input). Input: steps (1 byte), flags (1 byte: 1 the file one byte short, 2 one byte
// long, 4 loaded from the menu, 8 loaded while in episode 2), then patches (fuzz_world.h;
// only the regions inside the saved block reach the file).
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz_files.h"
#include "fuzz_world.h"
#include "platform/messages.h"
#include "world/save_game.h"

namespace {

using namespace skerrow;

struct Fixture {
  std::string appPath = fuzz::ScratchAppPath("save");
  std::unique_ptr<WorldState> world = std::make_unique<WorldState>();
  std::unique_ptr<SavedState> before = std::make_unique<SavedState>();
  std::unique_ptr<fuzz::PatchedFile> slot;
  PlayHost playHost;
  fuzz::FuzzLevelHost levelHost;
  Fixture() {
    platform::SetMessageHandler([](const std::string&, const std::string&) {});
    WorldState& w = *world;
    w.appPath = appPath;
    w.saveSlot = 1;
    fuzz::BuildSaveableBase(w);
    fuzz::WriteLevelPictures(appPath, 1, 1);
    slot = std::make_unique<fuzz::PatchedFile>(appPath + "gdata/savegame/slot1.qvs", SavedBytes(w));
    *before = w;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture* f = new Fixture;
  if (size < 2) return 0;
  WorldState& w = *f->world;
  static_cast<SavedState&>(w) = *f->before;
  SharedRandom().Seed(1);
  const int steps = 1 + data[0] % 8;
  const uint8_t flags = data[1];
  size_t at = 2;
  fuzz::Patch patch;
  while (fuzz::NextPatch(data, size, at, patch)) {
    if (const auto range = fuzz::SavedPatchRange(w, patch)) {
      f->slot->Write(range->offset, patch.bytes, range->n);
    }
  }
  if (flags & 1) f->slot->Resize(f->slot->Size() - 1);
  if (flags & 2) f->slot->Resize(f->slot->Size() + 1);
  if (flags & 4) w.GameMode = 1;
  if (flags & 8) {
    w.episode = 2;
    w.episodeName.Set(EpisodeName(2));
  }
  const SlotLoadResult r = LoadGame(w, f->levelHost);
  f->slot->Restore();
  if (r.status == SlotLoad::kMissing) __builtin_trap();
  if (r.status == SlotLoad::kRefused) {
    // A refused save leaves the running game as it was.
    if ((flags & 12) == 0 && std::memcmp(&Saved(w), f->before.get(), sizeof(SavedState)) != 0) {
      __builtin_trap();
    }
    return 0;
  }
  // What passed the checks plays: the loaded game mode's own steps.
  w.GameMode = 2;
  fuzz::RunPlaySteps(w, f->playHost, steps);
  return 0;
}
