// Undo and redo: a mixed sequence of editor actions and brush strokes is taken back and
// forth byte for byte; the journal keeps only changed bytes, at least 100 steps, and knows
// whether the level differs from its last save.
#include <cstring>

#include "editor_fixture.h"

namespace skerrow::test {
namespace {

std::vector<uint8_t> Snapshot(const WorldState& w) {
  return {SavedBytes(w).begin(), SavedBytes(w).end()};
}

bool Same(const std::vector<uint8_t>& a, const WorldState& w) {
  return std::equal(a.begin(), a.end(), SavedBytes(w).begin());
}

class UndoTest : public EditorTest {
 protected:
  EditorViewInput in;
  UndoTest() {
    in.modifyTerrain = true;
    in.screenWidth = 800;
    in.screenHeight = 600;
    in.cursorX = 400;
    in.cursorY = 300;
  }
  // A stroke of `steps` editor-view steps with the left (raise) or middle (smooth) button
  // from (x, z) eastwards, then one step with the button up.
  void Stroke(uint8_t WorldState::*button, double x, double z, int steps) {
    w.*button = 1;
    for (int k = 0; k < steps; ++k) {
      w.mouseWorldPos = {x + 0.3 * k, 0.0, z, 0.0};
      EditorViewStep(c, in);
    }
    w.*button = 0;
    EditorViewStep(c, in);
  }
};

TEST_F(UndoTest, AMixedSequenceUndoesAndRedoesByteForByte) {
  UseScratchRoot("editor_undo");
  w.units[5].alive = 1;
  std::vector<std::vector<uint8_t>> states{Snapshot(w)};
  auto step = [&](auto&& action) {
    action();
    states.push_back(Snapshot(w));
  };
  w.mouseWorldPos = {40.0, 0.0, 60.0, 0.0};
  step([&] { CreateUnit(c); });
  step([&] { Stroke(&WorldState::mouseLeftHeld, 40.0, 60.0, 30); });
  step([&] { CreateStatic(c); });
  step([&] { SetStaticPosition(c, 0, 41.5); });
  step([&] { Stroke(&WorldState::mouseMiddleHeld, 40.5, 60.0, 12); });
  step([&] { CreateTrigger(c); });
  step([&] { SetCameraNumber(c, 3); });
  step([&] {  // a drive with the arrow keys is one step too
    in.selectedUnit = 1;
    in.up = true;
    for (int k = 0; k < 5; ++k) EditorViewStep(c, in);
    in.up = false;
    EditorViewStep(c, in);
  });
  step([&] { SetSnow(c, true); });
  step([&] { DeleteAllUnits(c); });
  step([&] { DeleteUnit(c); });
  ASSERT_EQ(undo.UndoCount(), states.size() - 1);

  // Camera glide and water drift are not editor actions: put them back before comparing.
  auto settle = [&](const std::vector<uint8_t>& s) {
    w.cameraPos = reinterpret_cast<const SavedState*>(s.data())->cameraPos;
    w.editorCameraTarget = reinterpret_cast<const SavedState*>(s.data())->editorCameraTarget;
    w.waterOriginX = reinterpret_cast<const SavedState*>(s.data())->waterOriginX;
    w.waterOriginZ = reinterpret_cast<const SavedState*>(s.data())->waterOriginZ;
    std::memcpy(&w.skyFogColour, &reinterpret_cast<const SavedState*>(s.data())->skyFogColour,
                sizeof w.skyFogColour);
  };
  for (size_t k = states.size() - 1; k > 0; --k) {
    ASSERT_TRUE(EditorUndo(c));
    settle(states[k - 1]);
    ASSERT_TRUE(Same(states[k - 1], w)) << "after undoing step " << k;
  }
  EXPECT_FALSE(EditorUndo(c));
  for (size_t k = 1; k < states.size(); ++k) {
    ASSERT_TRUE(EditorRedo(c));
    settle(states[k]);
    ASSERT_TRUE(Same(states[k], w)) << "after redoing step " << k;
  }
  EXPECT_FALSE(EditorRedo(c));
  // Only changed bytes are kept: far below one copy of the block.
  EXPECT_LT(undo.KeptBytes(), 64u * 1024);
}

TEST_F(UndoTest, KeepsAtLeastAHundredStepsAndANewActionDropsTheRedoSteps) {
  const auto start = Snapshot(w);
  for (int k = 0; k < 150; ++k) SetStaticPosition(c, 0, k + 1.0);
  EXPECT_EQ(undo.UndoCount(), 150u);
  for (int k = 0; k < 150; ++k) ASSERT_TRUE(EditorUndo(c));
  EXPECT_TRUE(Same(start, w));
  ASSERT_TRUE(EditorRedo(c));
  EXPECT_EQ(undo.RedoCount(), 149u);
  SetStaticPosition(c, 2, 5.0);
  EXPECT_EQ(undo.RedoCount(), 0u);
  EXPECT_EQ(undo.UndoCount(), 2u);
}

TEST_F(UndoTest, AnActionThatChangesNothingMakesNoStep) {
  SetStaticPosition(c, 0, 0.0);
  HealUnit(c);
  EXPECT_EQ(undo.UndoCount(), 0u);
  EXPECT_FALSE(undo.Modified());
}

TEST_F(UndoTest, ModifiedFollowsTheLastSave) {
  UseScratchRoot("editor_modified");
  EXPECT_FALSE(undo.Modified());
  SetStaticPosition(c, 0, 3.0);
  EXPECT_TRUE(undo.Modified());
  undo.MarkClean();  // what the window does after a save or a load
  EXPECT_FALSE(undo.Modified());
  EditorUndo(c);
  EXPECT_TRUE(undo.Modified());
  EditorRedo(c);
  EXPECT_FALSE(undo.Modified());
  EditorUndo(c);
  SetStaticPosition(c, 0, 4.0);  // the saved state can no longer be reached
  EditorUndo(c);
  EditorRedo(c);
  EXPECT_TRUE(undo.Modified());
}

// Level, units and bonuses each know whether they differ from their own last save or load.
TEST_F(UndoTest, ModifiedIsKeptPerFile) {
  const std::string root = UseScratchRoot("editor_modified_files");
  AddFileParts(undo);
  ctl.levelFile = root + "l.lan";
  ctl.unitsFile = root + "u.unt";
  ctl.bonusesFile = root + "b.bon";
  EXPECT_EQ(ModifiedFiles(c), "");
  // A view switch is no edit.
  SetEditorMode(c, 0);
  SetEditorMode(c, 1);
  EXPECT_EQ(undo.UndoCount(), 0u);
  EXPECT_EQ(ModifiedFiles(c), "");

  Stroke(&WorldState::mouseLeftHeld, 40.0, 60.0, 4);  // the level
  w.mouseWorldPos = {40.0, 0.0, 60.0, 0.0};
  CreateUnit(c);
  CreateTrigger(c);
  EXPECT_EQ(ModifiedFiles(c), "level, units, bonuses");
  ASSERT_TRUE(EditorSaveUnits(c, ctl.unitsFile));  // one save cleans only its own file
  EXPECT_EQ(ModifiedFiles(c), "level, bonuses");
  EXPECT_TRUE(FileModified(c, kLevelFile));
  EXPECT_FALSE(FileModified(c, kUnitsFile));
  ASSERT_TRUE(EditorSaveLevel(c, ctl.levelFile));
  EXPECT_EQ(ModifiedFiles(c), "bonuses");
  // Undoing the bonus makes the bonuses as loaded again; undoing the unit past its save makes
  // the units differ; redoing it makes them match the save.
  EditorUndo(c);
  EXPECT_EQ(ModifiedFiles(c), "");
  EditorUndo(c);
  EXPECT_EQ(ModifiedFiles(c), "units");
  EditorRedo(c);
  EXPECT_EQ(ModifiedFiles(c), "");
  // A new step while the bonus step waits for a redo: the bonuses stay as loaded (the dropped
  // step changed them back), the new static changes the level.
  SetStaticPosition(c, 0, 7.0);
  EXPECT_EQ(ModifiedFiles(c), "level");
  // A load inside an open step (the window's frame step) cleans its file when the step closes.
  undo.Open();
  ASSERT_TRUE(EditorLoadLevel(c, ctl.levelFile));
  EXPECT_TRUE(undo.Close(w));
  EXPECT_EQ(ModifiedFiles(c), "");
  EditorUndo(c);
  EXPECT_EQ(ModifiedFiles(c), "level");
  // A level change starts every file afresh.
  GoToLevel(c, 2);
  EXPECT_EQ(ModifiedFiles(c), "");
}

TEST_F(UndoTest, APartSavedBeforeTheOldestStepStaysCleanOnlyIfThatStepLeftItAlone) {
  UndoJournal small(2);
  AddFileParts(small);
  EditorContext sc{w, ctl, host, small};
  w.mouseWorldPos = {40.0, 0.0, 60.0, 0.0};
  CreateTrigger(sc);              // bonuses; goes first when the list is full
  SetStaticPosition(sc, 0, 1.0);  // level
  SetStaticPosition(sc, 0, 2.0);
  EXPECT_EQ(small.UndoCount(), 2u);
  EXPECT_EQ(ModifiedFiles(sc), "level, bonuses");
  EXPECT_FALSE(small.Modified(kUnitsFile));
}

TEST_F(UndoTest, TheOldestStepsGoWhenTheLimitIsReached) {
  UndoJournal small(3);
  EditorContext sc{w, ctl, host, small};
  for (int k = 0; k < 5; ++k) SetStaticPosition(sc, 0, k + 1.0);
  EXPECT_EQ(small.UndoCount(), 3u);
  while (small.Undo(w)) {
  }
  EXPECT_DOUBLE_EQ(w.statics[1].posX, 2.0);
}

}  // namespace
}  // namespace skerrow::test
