// The level editor's per-step costs: one editor-view step of a brush stroke (the brush, its
// undo capture, particles, projectiles and camera) and the undo and redo of a 100-step stroke.
// Goal: each under 1 ms median.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "editor/editor_actions.h"
#include "platform/random.h"
#include "support/play_world.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

class NoHost : public EditorHost {
 public:
  void ShowMessage(const std::string&) override {}
  bool EnterLevel(int32_t) override { return false; }
  bool ReadPicture(const std::string&, LevelPicture&) override { return false; }
};

struct Editor {
  Editor() : world(std::make_unique<WorldState>()), w(*world), c{w, ctl, host, undo} {
    SharedRandom().Seed(42);
    test::SetPlayDefaults(w);
    w.GameMode = 3;
    w.heightBrush = 1;
    std::memset(w.heightMap, 100, sizeof w.heightMap);
    in.modifyTerrain = true;
    in.screenWidth = 800;
    in.screenHeight = 600;
    in.cursorX = 400;
    in.cursorY = 300;
  }
  // One step of a stroke that moves a little east each step, alternating raise and smooth.
  void StrokeStep(int k) {
    w.mouseWorldPos = {300.0 + 0.05 * (k % 2000), 0.0, 300.0, 0.0};
    w.mouseLeftHeld = (k % 4) != 3;
    w.mouseMiddleHeld = (k % 4) == 3;
    EditorViewStep(c, in);
  }
  void EndStroke() {
    w.mouseLeftHeld = w.mouseMiddleHeld = 0;
    EditorViewStep(c, in);
  }
  std::unique_ptr<WorldState> world;
  WorldState& w;
  EditorControls ctl;
  NoHost host;
  UndoJournal undo;
  EditorContext c;
  EditorViewInput in;
};

void BM_BrushStrokeStep(benchmark::State& state) {
  Editor e;
  int k = 0;
  for (auto _ : state) {
    e.StrokeStep(k++);
    // A stroke of 100 steps, then a new one: the journal stays at a realistic size.
    if (k % 100 == 0) e.EndStroke();
  }
}
BENCHMARK(BM_BrushStrokeStep)->Unit(benchmark::kMicrosecond);

void BM_UndoAndRedoOf100StepStroke(benchmark::State& state) {
  Editor e;
  for (int k = 0; k < 100; ++k) e.StrokeStep(k);
  e.EndStroke();
  for (auto _ : state) {
    EditorUndo(e.c);
    EditorRedo(e.c);
  }
}
BENCHMARK(BM_UndoAndRedoOf100StepStroke)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace skerrow
