// Fuzz target: the land, unit and bonus files of a level and its size picture, read by
// EnterLevel, then played. The valid files of a small level are written once; an input patches
// them in place and may cut them short (a short file fills only its own length). Input: steps
// (1 byte), flags (1 byte: 1, 2, 4 cut the unit, bonus, land file; 8 enter through the
// episode's start, level 201; 16 the size picture's width from the next bytes), cut (1 byte:
// the kept part of a cut file in 256ths), width (4 bytes), then patches (fuzz_world.h; units,
// statics and bonuses reach the files).
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_files.h"
#include "fuzz_world.h"
#include "platform/cp1251.h"
#include "platform/messages.h"

namespace {

using namespace skerrow;

// A level file and the saved-block range it holds.
struct LevelFile {
  size_t begin = 0;
  std::unique_ptr<fuzz::PatchedFile> file;
};

struct Fixture {
  std::string appPath = fuzz::ScratchAppPath("level");
  std::unique_ptr<WorldState> world = std::make_unique<WorldState>();
  std::unique_ptr<SavedState> before = std::make_unique<SavedState>();
  LevelFile units, bonuses, land;
  std::unique_ptr<fuzz::PatchedFile> sizePicture;
  PlayHost playHost;
  fuzz::FuzzLevelHost levelHost;

  Fixture() {
    platform::SetMessageHandler([](const std::string&, const std::string&) {});
    WorldState& w = *world;
    w.appPath = appPath;
    fuzz::BuildSaveableBase(w);
    fuzz::WriteLevelPictures(appPath, 1, 1);
    const std::string dir = appPath + "gdata/Worlds/" + Cp1251ToUtf8(EpisodeName(1)) + "/";
    auto offsetOf = [&w](std::span<const uint8_t> range) {
      return static_cast<size_t>(range.data() - reinterpret_cast<const uint8_t*>(&Saved(w)));
    };
    units = {offsetOf(UnitBytes(w)),
             std::make_unique<fuzz::PatchedFile>(dir + "data/normal1.unt", UnitBytes(w))};
    bonuses = {offsetOf(BonusBytes(w)),
               std::make_unique<fuzz::PatchedFile>(dir + "data/normal1.bon", BonusBytes(w))};
    land = {kLandRangeBegin,
            std::make_unique<fuzz::PatchedFile>(dir + "data/Land1.lan", LandBytes(w))};
    sizePicture = std::make_unique<fuzz::PatchedFile>(
        dir + "Data/size1.qvt", fuzz::Bitmap24(400, 1, [](int32_t, int32_t) { return 0; }));
    *before = w;
  }

  // The patch into whichever level file holds its bytes.
  void Write(const fuzz::SavedRange& r, const uint8_t* bytes) {
    for (LevelFile* f : {&units, &bonuses, &land}) {
      if (r.offset >= f->begin && r.offset < f->begin + f->file->Size()) {
        f->file->Write(r.offset - f->begin, bytes, r.n);
      }
    }
  }
  void Restore() {
    for (LevelFile* f : {&units, &bonuses, &land}) f->file->Restore();
    sizePicture->Restore();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture* f = new Fixture;
  if (size < 7) return 0;
  WorldState& w = *f->world;
  static_cast<SavedState&>(w) = *f->before;
  w.levelSize = 400;
  SharedRandom().Seed(1);
  const int steps = 1 + data[0] % 8;
  const uint8_t flags = data[1];
  const uint8_t cut = data[2];
  size_t at = 7;
  fuzz::Patch patch;
  while (fuzz::NextPatch(data, size, at, patch)) {
    if (const auto range = fuzz::SavedPatchRange(w, patch)) f->Write(*range, patch.bytes);
  }
  LevelFile* files[3] = {&f->units, &f->bonuses, &f->land};
  for (int i = 0; i < 3; ++i) {
    if (flags & (1 << i)) files[i]->file->Resize(files[i]->file->Size() * cut / 256);
  }
  if (flags & 16) f->sizePicture->Write(18, data + 3, 4);  // the bitmap header's width

  // A refused level must leave the running game as it was, byte for byte.
  static SavedState* const kept = new SavedState;
  *kept = static_cast<SavedState&>(w);
  const bool entered = EnterLevel(w, f->levelHost, (flags & 8) ? 201 : 1);
  f->Restore();
  if (!entered) {
    if (std::memcmp(static_cast<SavedState*>(&w), kept, sizeof(SavedState)) != 0) __builtin_trap();
    return 0;
  }
  if (w.levelSize < 1 || w.levelSize > kMaxLevelSize) __builtin_trap();
  fuzz::RunPlaySteps(w, f->playHost, steps);
  return 0;
}
