// The editor-view step: the five height brushes on a flat floor against their tables, the
// smoothing, the map-edge clamp, driving the selected unit, the camera glide and the edge
// scrolling.
#include "enemies/editor_view.h"

#include <cmath>
#include <cstring>

#include "editor_fixture.h"

namespace skerrow::test {
namespace {

class EditorViewTest : public EditorTest {
 protected:
  EditorViewInput in;
  EditorViewTest() {
    in.modifyTerrain = true;
    in.screenWidth = 800;
    in.screenHeight = 600;
    in.cursorX = 400;
    in.cursorY = 300;
    // Cursor cell (1000, 600): the brush covers x 996..1003, z 596..603.
    w.mouseWorldPos = {500.2, 0.0, 300.3, 0.0};
  }
  int Cell(int x, int z) const { return w.heightMap[x][z]; }
};

// The five brushes as the level designers' table gives them: row = x offset, digit = z offset.
constexpr const char* kBrushRows[kHeightBrushCount][8] = {
    {"00333300", "03444430", "34555543", "34555543", "34555543", "34555543", "03444430",
     "00333300"},
    {"00000000", "00000000", "00000000", "00022000", "00022000", "00000000", "00000000",
     "00000000"},
    {"00000000", "00000000", "00011000", "00122100", "00122100", "00011000", "00000000",
     "00000000"},
    {"00000000", "00111100", "01222210", "01233210", "01233210", "01222210", "00111100",
     "00000000"},
    {"01111110", "11222211", "12333321", "12333321", "12333321", "12333321", "11222211",
     "01111110"},
};

TEST_F(EditorViewTest, EachBrushRaisesAndLowersAFlatFloorByItsTable) {
  for (int32_t brush = 1; brush <= kHeightBrushCount; ++brush) {
    SCOPED_TRACE(brush);
    std::memset(w.heightMap, 100, sizeof(w.heightMap));
    w.heightBrush = brush;
    w.mouseLeftHeld = 1;
    UpdateEditorView(w, in);
    w.mouseLeftHeld = 0;
    for (int i = -1; i <= 8; ++i) {
      for (int j = -1; j <= 8; ++j) {
        const bool inside = i >= 0 && i < 8 && j >= 0 && j < 8;
        const int m = inside ? kBrushRows[brush - 1][i][j] - '0' : 0;
        ASSERT_EQ(Cell(996 + i, 596 + j), 100 + m) << i << "," << j;
      }
    }
    w.mouseRightHeld = 1;
    UpdateEditorView(w, in);
    UpdateEditorView(w, in);
    w.mouseRightHeld = 0;
    for (int i = 0; i < 8; ++i) {
      for (int j = 0; j < 8; ++j)
        ASSERT_EQ(Cell(996 + i, 596 + j), 100 - (kBrushRows[brush - 1][i][j] - '0'));
    }
  }
}

TEST_F(EditorViewTest, BrushTwoForTenStepsRaisesTheCentreByTwentyButNeverAbove255) {
  w.heightBrush = 2;
  w.mouseLeftHeld = 1;
  w.heightMap[1000][600] = 250;
  for (int k = 0; k < 10; ++k) UpdateEditorView(w, in);
  EXPECT_EQ(Cell(999, 599), 120);
  EXPECT_EQ(Cell(999, 600), 120);
  EXPECT_EQ(Cell(1000, 599), 120);
  EXPECT_EQ(Cell(1000, 600), 255);
  EXPECT_EQ(Cell(1001, 600), 100);
}

TEST_F(EditorViewTest, LoweringStopsAtZero) {
  w.heightBrush = 1;
  std::memset(w.heightMap, 3, sizeof(w.heightMap));
  w.mouseRightHeld = 1;
  UpdateEditorView(w, in);
  EXPECT_EQ(Cell(1000, 600), 0);
  EXPECT_EQ(Cell(996, 598), 0);  // weight 3
  EXPECT_EQ(Cell(996, 596), 3);  // weight 0
}

TEST_F(EditorViewTest, SmoothingLeavesAFlatFloorAndFlattensASpike) {
  w.heightBrush = 1;
  w.mouseMiddleHeld = 1;
  UpdateEditorView(w, in);
  for (int i = 990; i < 1010; ++i)
    for (int j = 590; j < 610; ++j) ASSERT_EQ(Cell(i, j), 100);
  w.heightMap[1000][600] = 116;
  UpdateEditorView(w, in);
  EXPECT_EQ(Cell(1000, 600), 100);
  for (int a = -1; a <= 1; ++a) {
    for (int b = -1; b <= 1; ++b) {
      if (a != 0 || b != 0) {
        EXPECT_EQ(Cell(1000 + a, 600 + b), 102) << a << "," << b;
      }
    }
  }
}

TEST_F(EditorViewTest, AtTheMapEdgeTheEdgeRowTakesEveryRowOutsideTheMap) {
  w.heightBrush = 5;
  w.mouseLeftHeld = 1;
  w.mouseWorldPos = {0.0, 0.0, 500.0, 0.0};  // cursor cell (0, 1000)
  UpdateEditorView(w, in);
  // Column j = 3 (z 999): rows 0..4 land on x = 0 (weights 1, 2, 3, 3, 3), row 5 on x = 1.
  EXPECT_EQ(Cell(0, 999), 112);
  EXPECT_EQ(Cell(1, 999), 103);
  EXPECT_EQ(Cell(3, 999), 101);
  EXPECT_EQ(Cell(4, 999), 100);
  // The brush window the undo journal captures is the clamped one.
  const HeightBrushWindow win = BrushWindowAt(w);
  EXPECT_EQ(win.x0, 0);
  EXPECT_EQ(win.x1, 3);
  EXPECT_EQ(win.z0, 996);
  EXPECT_EQ(win.z1, 1003);
}

TEST_F(EditorViewTest, BrushesActOnlyWithModifyTerrain) {
  in.modifyTerrain = false;
  w.mouseLeftHeld = 1;
  UpdateEditorView(w, in);
  EXPECT_EQ(Cell(1000, 600), 100);
}

TEST_F(EditorViewTest, ArrowKeysDriveTheSelectedUnitOnlyWhileItIsAlive) {
  UnitRecord& u = w.units[7];
  u.alive = 1;
  u.posX = 10.0;
  u.posZ = 20.0;
  in.selectedUnit = 7;
  in.up = true;
  UpdateEditorView(w, in);
  EXPECT_DOUBLE_EQ(u.posZ, 20.0 - 0.055);
  EXPECT_DOUBLE_EQ(u.posX, 10.0);
  in.up = false;
  in.left = true;
  UpdateEditorView(w, in);
  EXPECT_DOUBLE_EQ(u.rotY, 0.025);
  in.left = false;
  in.down = true;
  UpdateEditorView(w, in);
  EXPECT_DOUBLE_EQ(u.posX, 10.0 + 0.055 * std::sin(0.025));
  u.alive = 0;
  const UnitRecord before = u;
  UpdateEditorView(w, in);
  EXPECT_EQ(std::memcmp(&before, &u, sizeof u), 0);
}

TEST_F(EditorViewTest, CameraGlidesTowardItsTargetAtThePlayersHeight) {
  w.units[1].alive = 1;
  w.units[1].posY = 1.2;
  w.cameraPos = {0.0, 0.0, 0.0, 0.0};
  w.editorCameraTarget = {100.0, 0.0, 50.0, 0.0};
  UpdateEditorView(w, in);
  EXPECT_DOUBLE_EQ(w.editorCameraTarget.y, 10.0);
  EXPECT_DOUBLE_EQ(w.cameraPos.x, 100.0 * 40 * 0.0055);
  EXPECT_DOUBLE_EQ(w.cameraPos.y, 10.0 * 40 * 0.0055);
  EXPECT_DOUBLE_EQ(w.cameraPos.z, 50.0 * 40 * 0.0055);
}

TEST_F(EditorViewTest, CursorAtAScreenEdgeScrollsTheTarget) {
  struct Row {
    int x, y;
    bool shift;
    double dx, dz;
    bool outside = false;  // the pointer left the window there (for the editor's window)
  };
  const Row rows[] = {
      {400, 300, false, 0.0, 0.0},   {400, 0, false, 0.0, 0.14},
      {400, 599, false, 0.0, -0.14}, {0, 300, false, 0.14, 0.0},
      {799, 300, false, -0.14, 0.0}, {798, 598, false, 0.0, 0.0},
      {0, 0, true, 0.39, 0.39},      {799, 599, true, -0.39, -0.39},
      {-5, 700, false, 0.14, -0.14}, {799, 300, false, 0.0, 0.0, true},
      {0, 0, true, 0.0, 0.0, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.x << "," << r.y << (r.shift ? " shift" : "")
                                    << (r.outside ? " outside" : ""));
    w.editorCameraTarget = {50.0, 0.0, 60.0, 0.0};
    in.cursorX = r.x;
    in.cursorY = r.y;
    in.shift = r.shift;
    in.pointerInside = !r.outside;
    UpdateEditorView(w, in);
    EXPECT_NEAR(w.editorCameraTarget.x, 50.0 + r.dx, 1e-12);
    EXPECT_NEAR(w.editorCameraTarget.z, 60.0 + r.dz, 1e-12);
  }
}

TEST_F(EditorViewTest, WaterDriftsAndFollowsTheCameraAtMostFiveCellsPerStep) {
  w.cameraPos = {100.0, 8.8, 0.0, 0.0};
  w.editorCameraTarget = w.cameraPos;
  w.skyFogColour.a = 0.2f;
  UpdateEditorView(w, in);
  EXPECT_EQ(w.waterShiftX, -5);
  EXPECT_NEAR(w.waterOriginX, 5 * 1.38 - 0.00001, 1e-9);
  EXPECT_EQ(w.skyFogColour.a, 1.0f);
}

}  // namespace
}  // namespace skerrow::test
