// The editor-view update: unit driving, height brushes, the editor camera with edge
// scrolling, particles and projectiles, and the water drift.
#include "enemies/editor_view.h"

#include <algorithm>
#include <cmath>

#include "enemies/projectiles.h"
#include "platform/numeric.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/play_update.h"
#include "world/world_state.h"

namespace skerrow {

// clang-format off
const uint8_t kHeightBrushes[kHeightBrushCount][kHeightBrushSide][kHeightBrushSide] = {
    {{0, 0, 3, 3, 3, 3, 0, 0},
     {0, 3, 4, 4, 4, 4, 3, 0},
     {3, 4, 5, 5, 5, 5, 4, 3},
     {3, 4, 5, 5, 5, 5, 4, 3},
     {3, 4, 5, 5, 5, 5, 4, 3},
     {3, 4, 5, 5, 5, 5, 4, 3},
     {0, 3, 4, 4, 4, 4, 3, 0},
     {0, 0, 3, 3, 3, 3, 0, 0}},
    {{0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 2, 2, 0, 0, 0},
     {0, 0, 0, 2, 2, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0}},
    {{0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 1, 1, 0, 0, 0},
     {0, 0, 1, 2, 2, 1, 0, 0},
     {0, 0, 1, 2, 2, 1, 0, 0},
     {0, 0, 0, 1, 1, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0}},
    {{0, 0, 0, 0, 0, 0, 0, 0},
     {0, 0, 1, 1, 1, 1, 0, 0},
     {0, 1, 2, 2, 2, 2, 1, 0},
     {0, 1, 2, 3, 3, 2, 1, 0},
     {0, 1, 2, 3, 3, 2, 1, 0},
     {0, 1, 2, 2, 2, 2, 1, 0},
     {0, 0, 1, 1, 1, 1, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 0}},
    {{0, 1, 1, 1, 1, 1, 1, 0},
     {1, 1, 2, 2, 2, 2, 1, 1},
     {1, 2, 3, 3, 3, 3, 2, 1},
     {1, 2, 3, 3, 3, 3, 2, 1},
     {1, 2, 3, 3, 3, 3, 2, 1},
     {1, 2, 3, 3, 3, 3, 2, 1},
     {1, 1, 2, 2, 2, 2, 1, 1},
     {0, 1, 1, 1, 1, 1, 1, 0}},
};
// clang-format on

namespace {

constexpr int32_t kMapLast = kMapSize - 1;
constexpr double kDriveTurn = 0.025;       // radians per step
constexpr double kDriveMove = 0.055;       // world units per step
constexpr double kCameraGlide = 0.0055;    // per gameSpeed unit
constexpr double kEdgeScroll = 0.14;       // target units per step at a screen edge
constexpr double kEdgeScrollShift = 0.25;  // more with Shift
constexpr int kWaterShiftsPerStep = 5;

int32_t ClampCell(int32_t v) {
  return std::clamp(v, 0, kMapLast);
}

// Brush cell (i, j) at map cell (ClampCell(X + i - 4), ClampCell(Z + j - 4)).
struct BrushOrigin {
  int32_t x, z;
};
BrushOrigin OriginAt(const WorldState& w) {
  return {TruncToInt(2.0 * w.mouseWorldPos.x), TruncToInt(2.0 * w.mouseWorldPos.z)};
}
int32_t CellX(BrushOrigin o, int32_t i) {
  // 64-bit sum: the origin may saturate at the int32 limits.
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{o.x} + i - 4, 0, kMapLast));
}
int32_t CellZ(BrushOrigin o, int32_t j) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{o.z} + j - 4, 0, kMapLast));
}

void DriveUnit(WorldState& w, const EditorViewInput& in) {
  if (in.selectedUnit < 1 || in.selectedUnit >= kUnitSlots) return;
  UnitRecord& u = w.units[in.selectedUnit];
  if (u.alive != 1) return;
  if (in.left) u.rotY += kDriveTurn;
  if (in.right) u.rotY -= kDriveTurn;
  if (in.up) {
    u.posX -= kDriveMove * std::sin(u.rotY);
    u.posZ -= kDriveMove * std::cos(u.rotY);
  }
  if (in.down) {
    u.posX += kDriveMove * std::sin(u.rotY);
    u.posZ += kDriveMove * std::cos(u.rotY);
  }
}

void MoveCamera(WorldState& w, const EditorViewInput& in) {
  Vector4d& t = w.editorCameraTarget;
  if (const UnitRecord* p = PlayerUnit(w)) t.y = p->posY + 8.8;
  const double k = w.gameSpeed * kCameraGlide;
  w.cameraPos.x += (t.x - w.cameraPos.x) * k;
  w.cameraPos.y += (t.y - w.cameraPos.y) * k;
  w.cameraPos.z += (t.z - w.cameraPos.z) * k;
  // Cursor at or beyond an edge of the window scrolls the target away from it, while the
  // pointer is in the window (one that left it stays recorded at the edge it crossed).
  if (!in.pointerInside) return;
  const bool top = in.cursorY < 1, bottom = in.cursorY >= in.screenHeight - 1;
  const bool leftEdge = in.cursorX < 1, rightEdge = in.cursorX >= in.screenWidth - 1;
  for (const double d : {kEdgeScroll, in.shift ? kEdgeScrollShift : 0.0}) {
    if (top) t.z += d;
    if (bottom) t.z -= d;
    if (leftEdge) t.x += d;
    if (rightEdge) t.x -= d;
  }
}

}  // namespace

HeightBrushWindow BrushWindowAt(const WorldState& w) {
  const BrushOrigin o = OriginAt(w);
  return {CellX(o, 0), CellX(o, kHeightBrushSide - 1), CellZ(o, 0), CellZ(o, kHeightBrushSide - 1)};
}

void ApplyHeightBrush(WorldState& w) {
  if (w.heightBrush < 1 || w.heightBrush > kHeightBrushCount) return;
  const auto& mask = kHeightBrushes[w.heightBrush - 1];
  const BrushOrigin o = OriginAt(w);
  // Near an edge clamped cells repeat, so they change once per brush cell that lands on them.
  if (w.mouseLeftHeld == 1) {
    for (int32_t i = 0; i < kHeightBrushSide; ++i) {
      for (int32_t j = 0; j < kHeightBrushSide; ++j) {
        uint8_t& cell = w.heightMap[CellX(o, i)][CellZ(o, j)];
        cell = static_cast<uint8_t>(std::min(255, cell + mask[i][j]));
      }
    }
  }
  if (w.mouseRightHeld == 1) {
    for (int32_t i = 0; i < kHeightBrushSide; ++i) {
      for (int32_t j = 0; j < kHeightBrushSide; ++j) {
        uint8_t& cell = w.heightMap[CellX(o, i)][CellZ(o, j)];
        cell = static_cast<uint8_t>(std::max(0, cell - mask[i][j]));
      }
    }
  }
  if (w.mouseMiddleHeld == 1) {
    // Every new value comes from the old map; they are written afterwards.
    uint8_t smoothed[kHeightBrushSide][kHeightBrushSide];
    for (int32_t i = 0; i < kHeightBrushSide; ++i) {
      for (int32_t j = 0; j < kHeightBrushSide; ++j) {
        const int32_t x = CellX(o, i), z = CellZ(o, j);
        int32_t sum = 0;
        for (int32_t a = -1; a <= 1; ++a) {
          for (int32_t b = -1; b <= 1; ++b) {
            if (a != 0 || b != 0) sum += w.heightMap[ClampCell(x + a)][ClampCell(z + b)];
          }
        }
        const double c = w.heightMap[x][z];
        const double v = c + (sum / 8.0 - c) * mask[i][j] / 5.0;
        smoothed[i][j] = static_cast<uint8_t>(std::clamp(RoundToInt(v), 0, 255));
      }
    }
    for (int32_t i = 0; i < kHeightBrushSide; ++i) {
      for (int32_t j = 0; j < kHeightBrushSide; ++j) {
        w.heightMap[CellX(o, i)][CellZ(o, j)] = smoothed[i][j];
      }
    }
  }
}

void UpdateEditorView(WorldState& w, const EditorViewInput& in) {
  DriveUnit(w, in);
  if (in.modifyTerrain) ApplyHeightBrush(w);
  w.skyFogColour.a = 1.0f;
  MoveCamera(w, in);
  UpdateParticles(w);
  PlayHost silent;
  UpdateProjectiles(w, in.host != nullptr ? *in.host : silent);
  w.waterOriginX -= 0.00001;
  w.waterOriginZ -= 0.000016;
  FollowWaterGrid(w, kWaterShiftsPerStep);
}

}  // namespace skerrow
