// Wave field simulation and the water sheet and level edge bands.
#include "render/water.h"

#define GL_GLEXT_PROTOTYPES 1  // glMultiDrawArrays (OpenGL 1.4)
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/numeric.h"
#include "platform/random.h"
#include "render/render_state.h"
#include "world/world_state.h"

namespace skerrow {

RenderState::RenderState() : water{} {
  InitWaterField(water);
}

void InitWaterField(WaterField& f) {
  for (int32_t r = 0; r < kWaterGridRows; ++r) {
    for (int32_t c = 0; c < kWaterGridColumns; ++c) {
      f.gridXY[r][c][0] = (r - 15) * 20;
      f.gridXY[r][c][1] = (c - 90) * 20;
    }
  }
  std::memset(f.heights, 0, sizeof(f.heights));
  f.currentBuffer = 0;
  f.previousBuffer = 1;
}

void DropWater(WaterField& f, int32_t row, int32_t column, int32_t radius, int32_t amplitude) {
  if (!(radius < row && row < 30 - radius && radius < column && column < 180 - radius)) return;
  if (f.currentBuffer != 0 && f.currentBuffer != 1) return;
  auto& cur = f.heights[f.currentBuffer];
  for (int32_t r = row - radius; r <= row + radius; ++r) {
    for (int32_t c = column - radius; c <= column + radius; ++c) {
      const int32_t d2 = (r - row) * (r - row) + (c - column) * (c - column);
      if (d2 > radius * radius) continue;
      cur[r + 1][c + 1] = RoundToInt(radius - std::sqrt(static_cast<double>(d2))) * amplitude;
    }
  }
}

void StepWater(WaterField& f) {
  f.blend = 0;
  if ((f.currentBuffer != 0 && f.currentBuffer != 1) || f.previousBuffer != 1 - f.currentBuffer) {
    f.currentBuffer = 0;
    f.previousBuffer = 1;
  }
  const auto& cur = f.heights[f.currentBuffer];
  auto& prev = f.heights[f.previousBuffer];
  for (int32_t r = 1; r <= kWaterGridRows; ++r) {
    for (int32_t c = 1; c <= kWaterGridColumns; ++c) {
      const int32_t s = (cur[r - 1][c] + cur[r + 1][c] + cur[r][c - 1] + cur[r][c + 1]) / 2;
      int32_t m = s - prev[r][c];
      if (m > 1) m -= m / 2;
      prev[r][c] = m;
    }
  }
  std::swap(f.currentBuffer, f.previousBuffer);
}

void ComputeWaterNormals(WaterField& f) {
  const auto& h = f.heights[f.previousBuffer & 1];
  for (int32_t r = 1; r <= 29; ++r) {
    for (int32_t c = 1; c <= 179; ++c) {
      const double px = f.gridXY[r][c][0], py = f.gridXY[r][c][1], pz = h[r][c];
      const double qx = f.gridXY[r][c + 1][0], qy = f.gridXY[r][c + 1][1], qz = h[r][c + 1];
      const double sx = f.gridXY[r + 1][c][0], sy = f.gridXY[r + 1][c][1], sz = h[r + 1][c];
      const double ax = px - qx, ay = py - qy, az = pz - qz;
      const double bx = qx - sx, by = qy - sy, bz = qz - sz;
      double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
      double len = std::sqrt(nx * nx + ny * ny + nz * nz);
      if (len == 0) len = 1;
      f.newNormals[r][c][0] = static_cast<float>(nx / len);
      f.newNormals[r][c][1] = static_cast<float>(ny / len);
      f.newNormals[r][c][2] = static_cast<float>(nz / len);
    }
  }
}

void AdvanceWater(WaterField& f, double dt) {
  float* cur = &f.currentNormals[0][0][0];
  const float* oldN = &f.oldNormals[0][0][0];
  const float* newN = &f.newNormals[0][0][0];
  constexpr int32_t kCount = kWaterRows * kWaterColumns * 3;
  for (int32_t k = 0; k < kCount; ++k) cur[k] = oldN[k] + (newN[k] - oldN[k]) * f.blend;
  for (int32_t r = 0; r < kWaterGridRows; ++r) {
    std::memcpy(f.currentNormals[r][1], f.currentNormals[r][179], sizeof(float) * 3);
  }
  for (int32_t c = 0; c < kWaterGridColumns; ++c) {
    std::memcpy(f.currentNormals[1][c], f.currentNormals[29][c], sizeof(float) * 3);
  }
  // A NaN or infinite step from a broken clock must not stall the field for good.
  if (!std::isfinite(dt)) dt = 0;
  f.blend = static_cast<float>(f.blend + dt);
  if (f.blend >= 1) {
    std::memcpy(f.oldNormals, f.newNormals, sizeof(f.oldNormals));
    StepWater(f);
    ComputeWaterNormals(f);
  }
}

void AnimateWaterForPlayStep(const WorldState& w, RenderState& state) {
  if (state.switches.water == 1) AdvanceWater(state.water, w.lastLagCount / 1800.0 * 0.75);
}

void SeedWater(WaterField& f, Random& random, void (*progress)(void*, int32_t), void* ctx) {
  InitWaterField(f);
  for (int32_t i = 0; i < 500; ++i) {
    const int32_t amplitude = random.Int(7);
    const int32_t column = random.Int(304) + 7;
    const int32_t row = random.Int(64) + 7;
    DropWater(f, row, column, 2, amplitude);
    StepWater(f);
  }
  if (progress) progress(ctx, 5);
  for (int32_t i = 0; i < 56; ++i) AdvanceWater(f, 1);
  if (progress) progress(ctx, 7);
}

namespace {
// v mod n in 0..n - 1; 64-bit so that a shift near the int32 limits cannot overflow.
inline int32_t Wrap(int64_t v, int32_t n) {
  const auto m = static_cast<int32_t>(v % n);
  return m < 0 ? m + n : m;
}

constexpr int32_t kSheetStrips = 178;
constexpr int32_t kSheetStripVertices = 58;  // rows j = 1..29, two vertices each
constexpr int32_t kSheetVertices = kSheetStrips * kSheetStripVertices;

struct SheetVertex {
  float c[4];  // the strip's colour
  float n[3];
  float p[3];
};
struct SheetArrays {
  SheetArrays() {
    for (int32_t i = 0; i < kSheetStrips; ++i) {
      first[i] = i * kSheetStripVertices;
      count[i] = kSheetStripVertices;
    }
  }
  SheetVertex vertices[kSheetVertices];
  GLint first[kSheetStrips];
  GLsizei count[kSheetStrips];
};
// Filled every frame from the wave field and the sheet's shifts; allocated once (about
// 250 KB). Used from the GL thread only.
SheetArrays& Sheet() {
  static const std::unique_ptr<SheetArrays> sheet = std::make_unique<SheetArrays>();
  return *sheet;
}

// One strip of the sheet from sheet column c0 to c1 (0..178), lit by the normals of field
// columns i0 and i1 (1..179), in the colour of column c0; 58 vertices from `v` on.
void FillStrip(const WorldState& w, const WaterField& f, SheetVertex* v, int32_t c0, int32_t c1,
               int32_t i0, int32_t i1) {
  const float R = f.waterColour.r, G = f.waterColour.g, B = f.waterColour.b;
  const float colour[4] = {c0 * R / 180 * 0.1f + R * 0.5f, c0 * G / 180 * 0.2f + R * 0.5f,
                           c0 * B / 180 * 0.3f + R * 0.5f, 1};
  // Sheet column c lies at (c - 90) * 20 before the scale, as the field's gridXY holds it.
  const float z0 = static_cast<float>((c0 - 90) * 20) * 0.007725f;
  const float z1 = static_cast<float>((c1 - 90) * 20) * 0.007725f;
  for (int32_t j = 1; j <= 29; ++j) {
    const int32_t row = Wrap(int64_t{j} + w.waterShiftX, 28);
    const float x = static_cast<float>((row - 15) * 20) * 0.069f;
    std::memcpy(v->c, colour, sizeof(v->c));
    std::memcpy(v->n, f.currentNormals[j][i0], sizeof(v->n));
    v->p[0] = x;
    v->p[1] = z0;
    v->p[2] = 0;
    ++v;
    std::memcpy(v->c, colour, sizeof(v->c));
    std::memcpy(v->n, f.currentNormals[j][i1], sizeof(v->n));
    v->p[0] = x;
    v->p[1] = z1;
    v->p[2] = 0;
    ++v;
  }
}
}  // namespace

void DrawWater(const WorldState& w, WaterField& f, uint32_t waterTexture, int32_t stripColumns) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_LIGHTING);
  glPushMatrix();
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);

  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glEnable(GL_TEXTURE_GEN_R);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, waterTexture);

  // The reflection tilts with the player's ship.
  glMatrixMode(GL_TEXTURE);
  glPushMatrix();
  const int32_t pu = w.playerUnit;
  if (pu >= 1 && pu < kUnitSlots) {
    glRotated(w.units[pu].rotX, 0, 1, 0);
    glRotated(w.units[pu].rotZ, 1, 0, 0);
  }
  glMatrixMode(GL_MODELVIEW);

  glTranslated(w.waterOriginX, 0, w.waterOriginZ);
  glRotatef(90, 1, 0, 0);
  const Color4f& sky = w.skyFogColour;
  f.waterColour = {sky.r * 0.4f + 0.3f, sky.g * 0.4f + 0.3f, sky.b * 0.4f + 0.3f, 1};

  // The sheet's 178 strips of 58 vertices go through one vertex array (colour, normal,
  // position) filled here, and one multi-draw.
  SheetArrays& a = Sheet();
  int32_t strips = kSheetStrips;
  if (stripColumns <= 1) {
    for (int32_t i = 1; i <= kSheetStrips; ++i) {
      const int32_t wz = Wrap(int64_t{i} + w.waterShiftZ, 178);
      FillStrip(w, f, &a.vertices[static_cast<size_t>(i - 1) * kSheetStripVertices], wz, wz + 1, i,
                i + 1);
    }
  } else {
    // Strips of `stripColumns` sheet columns, laid on the sheet's own columns from 0 so that
    // they meet whatever the shift; each takes the normals of the field columns its edges
    // show (the field repeats every 178 columns) and the colour of its first column.
    strips = 0;
    for (int32_t c0 = 0; c0 < kSheetStrips; c0 += stripColumns) {
      const int32_t c1 = std::min(c0 + stripColumns, kSheetStrips);
      const int32_t i0 = Wrap(int64_t{c0} - w.waterShiftZ - 1, 178) + 1;
      const int32_t i1 = Wrap(int64_t{i0} + (c1 - c0) - 1, 178) + 1;
      FillStrip(w, f, &a.vertices[static_cast<size_t>(strips) * kSheetStripVertices], c0, c1, i0,
                i1);
      ++strips;
    }
  }
  glDepthMask(GL_FALSE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(SheetVertex), a.vertices[0].p);
  glNormalPointer(GL_FLOAT, sizeof(SheetVertex), a.vertices[0].n);
  glColorPointer(4, GL_FLOAT, sizeof(SheetVertex), a.vertices[0].c);
  glMultiDrawArrays(GL_TRIANGLE_STRIP, a.first, a.count, strips);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  // The current normal of the last vertex.
  glNormal3fv(a.vertices[static_cast<size_t>(strips) * kSheetStripVertices - 1].n);
  glDepthMask(GL_TRUE);

  glColor4f(1, 1, 1, 1);
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glDisable(GL_TEXTURE_GEN_R);
  glMatrixMode(GL_TEXTURE);
  glPopMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  DrawLevelEdges(w);
}

void DrawLevelEdges(const WorldState& w) {
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glDisable(GL_TEXTURE_2D);
  const float L = static_cast<float>(w.levelSize);
  // Inner and outer colours of a band: green toward a neighbour level, dark otherwise.
  auto inner = [](int32_t n) {
    if (n != 0) {
      glColor4f(0, 1, 0, 0.1f);
    } else {
      glColor4f(0, 0, 0, 0);
    }
  };
  auto outer = [](int32_t n, float darkAlpha) {
    if (n != 0) {
      glColor4f(0, 1, 0, 0.5f);
    } else {
      glColor4f(0, 0, 0, darkAlpha);
    }
  };
  glBegin(GL_QUADS);
  // z = 0 edge
  inner(w.neighbourMinusZ);
  glVertex3f(15, 0, 15);
  glVertex3f(L - 15, 0, 15);
  outer(w.neighbourMinusZ, 0.7f);
  glVertex3f(L, 0, 0);
  glVertex3f(0, 0, 0);
  // z = L edge
  inner(w.neighbourPlusZ);
  glVertex3f(15, 0, L - 15);
  outer(w.neighbourPlusZ, 0.7f);
  glVertex3f(0, 0, L);
  glVertex3f(L, 0, L);
  inner(w.neighbourPlusZ);
  glVertex3f(L - 15, 0, L - 15);
  // x = 0 edge
  inner(w.neighbourMinusX);
  glVertex3f(15, 0, L - 15);
  glVertex3f(15, 0, 15);
  outer(w.neighbourMinusX, 0.7f);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 0, L);
  // x = L edge
  outer(w.neighbourPlusX, 0.9f);
  glVertex3f(L, 0, 0);
  inner(w.neighbourPlusX);
  glVertex3f(L - 15, 0, 15);
  glVertex3f(L - 15, 0, L - 15);
  outer(w.neighbourPlusX, 0.7f);
  glVertex3f(L, 0, L);
  glEnd();
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

}  // namespace skerrow
