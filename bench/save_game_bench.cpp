// One SaveGame(false) on level 1 of the content pack, headless: the 256 x 128 thumbnail frame
// and its read-back, the description and the copy of the block handed to the slot writer.
// Goal: median under 40 ms (one play step), so an automatic save is no visible hitch.
// BM_SlotWriteToDisk: the writer's share, the three files written and flushed to the disk.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "shell/skerrow_form.h"
#include "world/save_game.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

void BM_SaveGame(benchmark::State& state) {
  const fs::path pack = fs::path(SKERROW_BENCH_BINARY_DIR) / "gdata";
  if (!fs::exists(pack / "Skerrow.qvp")) {
    state.SkipWithError("no content pack");
    return;
  }
  // A game folder of its own whose gdata links the pack's entries: the saves land there.
  const fs::path root = fs::temp_directory_path() / "skerrow_save_bench";
  fs::remove_all(root);
  fs::create_directories(root / "gdata");
  for (const fs::directory_entry& e : fs::directory_iterator(pack)) {
    fs::create_directory_symlink(e.path(), root / "gdata" / e.path().filename());
  }
  InvalidatePathCache();
  CommandLine cl;
  cl.headless = true;
  cl.root = root.string();
  cl.start = "1:1";
  cl.slot = 5;
  TSkerrowForm form(cl);
  form.FormCreate();
  if (!form.ddrawInitialize()) {
    state.SkipWithError("no display");
    return;
  }
  form.dsoundInitialize();
  form.LoadResources(true);
  if (!form.StartDirect()) {
    state.SkipWithError("level 1 did not load");
    return;
  }
  // The hitch a player would see: SaveGame on the step, with no earlier save still being
  // written (automatic saves are seconds apart); the disk work then runs beside play.
  for (auto _ : state) {
    state.PauseTiming();
    form.FinishSaves();
    state.ResumeTiming();
    benchmark::DoNotOptimize(form.SaveGame(false));
  }
  form.FinishSaves();
  form.FormDestroy();
  fs::remove_all(root);
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond)->Iterations(30)->Repetitions(3);

void BM_SlotWriteToDisk(benchmark::State& state) {
  const fs::path root = fs::temp_directory_path() / "skerrow_slot_write_bench";
  fs::remove_all(root);
  auto w = std::make_unique<WorldState>();
  w->appPath = root.string() + "/";
  w->saveSlot = 1;
  const std::vector<uint8_t> thumbnail(18 + 256 * 128 * 3, 0);
  for (auto _ : state) benchmark::DoNotOptimize(WriteSaveSlot(*w, thumbnail));
  fs::remove_all(root);
}
BENCHMARK(BM_SlotWriteToDisk)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3);

}  // namespace
}  // namespace skerrow
