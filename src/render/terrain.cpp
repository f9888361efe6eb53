// Sea-floor renderers: Max (rippled, two texture units, trapezoid), High (the same trapezoid
// in row and column pairs, no ripple), Good, Norm and Low (sampled rectangles), Full (every
// cell of an enlarged rectangle) and the menu background's floor.
#include "render/terrain.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <numbers>
#include <vector>

#include "engine/ktzgl.h"
#include "platform/numeric.h"
#include "render/game_resources.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

// Half-width in grid cells of each row of the Max and High trapezoids, by the row's distance
// from the back edge (the jump after the 39th row belongs to the table).
constexpr int32_t kRowHalfWidth[] = {25, 25, 25, 25, 25, 26, 26, 26, 26, 26, 27, 27, 27, 27, 27, 28,
                                     28, 28, 28, 28, 29, 29, 29, 29, 29, 30, 30, 30, 30, 30, 31, 31,
                                     32, 32, 32, 33, 33, 33, 34, 42, 43, 43, 43, 43, 43, 44, 44, 45,
                                     45, 45, 46, 46, 46, 46, 46, 46, 46, 46, 46, 46, 47, 47, 47, 47,
                                     47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 48, 48, 48, 48};
constexpr int32_t kRowTableSize = static_cast<int32_t>(std::size(kRowHalfWidth));
static_assert(kRowTableSize == 79);

constexpr int32_t kLast = kMapSize - 1;  // 2047
// The fast sea draws the Max rows from this one on in cells of 2 x 2 (after a stitch row).
constexpr int32_t kFastSeaFarRow = 10;

int32_t Clamp(int64_t v, int32_t lo, int32_t hi) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

// Pascal Trunc of an integer quotient (toward zero) on 64 bits.
int64_t TruncDiv(int64_t a, int64_t b) {
  return a / b;
}

// Every cell of the rectangle, clamped to the grid: one strip per row, two vertices a column.
template <typename Sink>
void EmitRectangleStrips(Sink& sink, const TerrainArea& a) {
  const int32_t r0 = Clamp(a.back, 1, kLast), r1 = Clamp(a.ahead, 1, kLast);
  const int32_t c0 = Clamp(a.left, 1, kLast), c1 = Clamp(a.right, 1, kLast);
  for (int32_t r = r0; r <= r1; ++r) {
    sink.BeginStrip();
    for (int32_t c = c0; c <= c1; ++c) {
      sink.Vertex(c - 1, r - 1);
      sink.Vertex(c - 1, r);
    }
    sink.EndStrip();
  }
}

// v rounded down to an odd number (the columns of the High and the fast far rows' grid).
int64_t OddAtOrBelow(int64_t v) {
  return v - ((v % 2 + 2) % 2 == 0 ? 1 : 0);
}

// The fast sea's far rows (Max quality, row index kFastSeaFarRow - 1 on): a stitch row whose
// near edge has every column of the row before and whose far edge every other column, as
// triangles fanned from the middle near vertex of each column pair, then row pairs in cells of
// 2 x 2 on the same columns, up to the end of the row table or of the area. Every edge is
// shared vertex for vertex: no crack opens.
template <typename Sink>
void WalkFarRows(int32_t r, int32_t r1, int64_t back, int64_t X2, Sink& sink) {
  auto columns = [&](int64_t idx, int32_t& c0, int32_t& c1) {
    const int32_t hw = kRowHalfWidth[std::min<int64_t>(idx, kRowTableSize - 1)];
    c0 = Clamp(OddAtOrBelow(X2 - hw), 1, kLast);
    c1 = Clamp(OddAtOrBelow(X2 + hw) + 2, 1, kLast);
  };
  // Stitch: row r from z = r - 1 to z = r.
  int32_t c0 = 0, c1 = 0;
  columns(r - back, c0, c1);
  sink.BeginTriangles();
  for (int32_t c = c0; c + 2 <= c1; c += 2) {
    const int32_t x = c - 1;
    sink.Vertex(x + 1, r - 1);
    sink.Vertex(x, r - 1);
    sink.Vertex(x, r);
    sink.Vertex(x + 1, r - 1);
    sink.Vertex(x, r);
    sink.Vertex(x + 2, r);
    sink.Vertex(x + 1, r - 1);
    sink.Vertex(x + 2, r);
    sink.Vertex(x + 2, r - 1);
  }
  sink.EndStrip();
  // Pairs of rows from z = r.
  for (int32_t z = r; z < r1; z += 2) {
    const int64_t idx = static_cast<int64_t>(z) + 1 - back;
    if (idx >= kRowTableSize) break;
    const int32_t z2 = std::min(z + 2, r1);
    columns(idx + 1, c0, c1);
    sink.BeginStrip();
    for (int32_t c = c0; c <= c1; c += 2) {
      sink.Vertex(c - 1, z);
      sink.Vertex(c - 1, z2);
    }
    sink.EndStrip();
  }
}

// Walks the strips of one quality. The sink gets BeginStrip() (a quad strip follows) or
// BeginTriangles(), Vertex(x, z) for grid points (always inside 0..2047) and EndStrip().
// `fastFar`: at Max quality the rows from kFastSeaFarRow on are the fast sea's (WalkFarRows).
template <typename Sink>
void WalkTerrain(const WorldState& w, double cx, double cz, int32_t quality, Sink& sink,
                 bool fastFar = false) {
  const TerrainArea a = TerrainAreaFor(w, cx, cz, quality);
  const int64_t X2 = 2 * static_cast<int64_t>(TruncToInt(cx));
  switch (quality) {
    case 0: {  // Max: every row, trapezoid
      const int32_t r0 = Clamp(a.back, 1, kLast), r1 = Clamp(a.ahead, 1, kLast);
      for (int32_t r = r0; r <= r1; ++r) {
        const int64_t idx = static_cast<int64_t>(r) - a.back;
        // A taller view than the table (the menu's) stops at its last row.
        if (idx < 0 || idx >= kRowTableSize) break;
        if (fastFar && idx == kFastSeaFarRow - 1 && r < r1) {
          WalkFarRows(r, r1, a.back, X2, sink);
          break;
        }
        const int32_t hw = kRowHalfWidth[idx];
        sink.BeginStrip();
        for (int32_t c = Clamp(X2 - hw, 1, kLast); c <= Clamp(X2 + hw, 1, kLast); ++c) {
          sink.Vertex(c - 1, r - 1);
          sink.Vertex(c - 1, r);
        }
        sink.EndStrip();
      }
      break;
    }
    case 1: {  // High: the Max trapezoid taken in row pairs and column pairs
      const int32_t r0 = Clamp(a.back, 1, kLast - 1), r1 = Clamp(a.ahead, 1, kLast - 1);
      for (int32_t r = r0; r <= r1; r += 2) {
        const int64_t idx = static_cast<int64_t>(r) - a.back;
        if (idx < 0 || idx >= kRowTableSize) break;
        const int32_t hw = kRowHalfWidth[idx];
        // Columns on one fixed grid of odd c (even grid points) in every row pair: a pair whose
        // half-width differs in parity from its neighbour's would otherwise put its shared row's
        // vertices between the neighbour's, and the floor would crack open along the row.
        const int32_t c0 = Clamp(OddAtOrBelow(X2 - hw), 1, kLast);
        const int32_t c1 = Clamp(OddAtOrBelow(X2 + hw) + ((X2 + hw) % 2 == 0 ? 2 : 0), 1, kLast);
        sink.BeginStrip();
        for (int32_t c = c0; c <= c1; c += 2) {
          sink.Vertex(c - 1, r - 1);
          sink.Vertex(c - 1, r + 1);
        }
        sink.EndStrip();
      }
      break;
    }
    case 2:
    case 3:
    case 4: {
      // Band v covers rows step*v - 1 .. step*v + rowsSpan - 1; columns colStep*i - 1. The
      // band and column indices are kept where every row and column lies inside the grid.
      const int32_t rowStep = quality == 2 ? 2 : 4;
      const int32_t colStep = quality == 4 ? 4 : 2;
      const int32_t vMax = (kLast + 1 - rowStep) / rowStep;  // rowStep * v + rowStep - 1 <= 2047
      const int32_t iMax = (kLast + 1) / colStep;            // colStep * i - 1 <= 2047
      const int32_t v0 = Clamp(TruncDiv(a.back, rowStep), 1, vMax);
      const int32_t v1 = Clamp(TruncDiv(a.ahead, rowStep), 1, vMax);
      const int32_t i0 = Clamp(TruncDiv(a.left, colStep), 1, iMax);
      const int32_t i1 = Clamp(TruncDiv(a.right, colStep), 1, iMax);
      for (int32_t v = v0; v <= v1; ++v) {
        const int32_t z1 = rowStep * v - 1, z2 = rowStep * v + rowStep - 1;
        sink.BeginStrip();
        for (int32_t i = i0; i <= i1; ++i) {
          sink.Vertex(colStep * i - 1, z1);
          sink.Vertex(colStep * i - 1, z2);
        }
        sink.EndStrip();
      }
      break;
    }
    case 5: {  // Full: every cell of the enlarged rectangle
      EmitRectangleStrips(sink, a);
      break;
    }
    default:
      break;
  }
}

struct CountSink {
  int64_t vertices = 0;
  void BeginStrip() {}
  void BeginTriangles() {}
  void Vertex(int32_t, int32_t) { ++vertices; }
  void EndStrip() {}
};

inline float FloorHeight(const WorldState& w, int32_t x, int32_t z) {
  return w.heightMap[x][z] / 255.0f * 11.95f - 12.0f;
}

// One vertex of the floor arrays: texture coordinates of unit 0 and unit 1, colour, position.
struct FloorVertex {
  float s, t;
  float s1, t1;
  float r, g, b, a;
  float x, y, z;
};

// The floor's vertex arrays, filled per frame and drawn one glDrawArrays per strip. They keep
// their capacity between frames, so drawing allocates nothing once they have grown to the
// largest area drawn. Used from the GL thread only.
struct FloorArrays {
  std::vector<FloorVertex> vertices;
  std::vector<int32_t> stripFirst;
  std::vector<uint32_t> stripMode;  // GL_QUAD_STRIP or GL_TRIANGLES
  // The ripple moves grid column x by rippleX[x] and row z by rippleZ[z]: each offset depends
  // on one coordinate only, so a frame computes it once per column and row, not per vertex.
  float rippleX[kMapSize];
  float rippleZ[kMapSize];
  uint32_t stampX[kMapSize] = {};  // frame number the ripple entry was computed for
  uint32_t stampZ[kMapSize] = {};
  uint32_t frame = 0;
};

FloorArrays& Arrays() {
  static const std::unique_ptr<FloorArrays> arrays = std::make_unique<FloorArrays>();
  return *arrays;
}

// Collects the strips of a renderer into the arrays. VertexOf(x, z, FloorVertex&) fills one.
template <typename VertexOf>
struct ArraySink {
  FloorArrays& a;
  VertexOf vertexOf;
  void BeginStrip() {
    a.stripFirst.push_back(static_cast<int32_t>(a.vertices.size()));
    a.stripMode.push_back(GL_QUAD_STRIP);
  }
  void BeginTriangles() {
    a.stripFirst.push_back(static_cast<int32_t>(a.vertices.size()));
    a.stripMode.push_back(GL_TRIANGLES);
  }
  void EndStrip() {}
  void Vertex(int32_t x, int32_t z) {
    FloorVertex& v = a.vertices.emplace_back();
    vertexOf(x, z, v);
  }
};

float RippleX(FloorArrays& a, double phase, int32_t x) {
  if (a.stampX[x] != a.frame) {
    a.stampX[x] = a.frame;
    a.rippleX[x] = static_cast<float>(0.12 * std::sin((x + 1) * 0.48 * std::numbers::pi + phase));
  }
  return a.rippleX[x];
}

float RippleZ(FloorArrays& a, double phase, int32_t z) {
  if (a.stampZ[z] != a.frame) {
    a.stampZ[z] = a.frame;
    a.rippleZ[z] = static_cast<float>(0.12 * std::cos(z * 0.39 * std::numbers::pi + phase));
  }
  return a.rippleZ[z];
}

// Starts a frame's collection: empties the arrays and invalidates the ripple tables.
FloorArrays& BeginArrays() {
  FloorArrays& a = Arrays();
  a.vertices.clear();
  a.stripFirst.clear();
  a.stripMode.clear();
  if (++a.frame == 0) {  // wrapped: old stamps could match again
    std::fill(std::begin(a.stampX), std::end(a.stampX), 0u);
    std::fill(std::begin(a.stampZ), std::end(a.stampZ), 0u);
    a.frame = 1;
  }
  return a;
}

// Draws the collected strips (quad strips, or triangles). `twoUnits`: unit 1 takes (s1, t1);
// `colours`: per-vertex colours (else the current colour stays).
// Afterwards the current colour and texture coordinates are those of the last vertex, as if
// the strips had been sent vertex by vertex.
void DrawArrays(const FloorArrays& a, bool twoUnits, bool colours) {
  if (a.vertices.empty()) return;
  const FloorVertex* v = a.vertices.data();
  constexpr GLsizei kStride = sizeof(FloorVertex);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, &v->x);
  if (colours) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, kStride, &v->r);
  }
  const bool unit1 = twoUnits && Extensions().ClientActiveTextureARB != nullptr &&
                     Extensions().MultiTexCoord2fARB != nullptr;
  if (unit1) {
    ClientActiveTextureARB(kGlTexture1Arb);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, kStride, &v->s1);
    ClientActiveTextureARB(kGlTexture0Arb);
  }
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, kStride, &v->s);

  const size_t strips = a.stripFirst.size();
  for (size_t k = 0; k < strips; ++k) {
    const int32_t first = a.stripFirst[k];
    const int32_t end =
        k + 1 < strips ? a.stripFirst[k + 1] : static_cast<int32_t>(a.vertices.size());
    // An empty strip (High quality's column loop) draws nothing either way.
    if (end > first) glDrawArrays(a.stripMode[k], first, end - first);
  }

  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  if (unit1) {
    ClientActiveTextureARB(kGlTexture1Arb);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    ClientActiveTextureARB(kGlTexture0Arb);
  }
  if (colours) glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);

  const FloorVertex& last = a.vertices.back();
  if (colours) glColor4f(last.r, last.g, last.b, last.a);
  if (unit1) {
    Extensions().MultiTexCoord2fARB(kGlTexture0Arb, last.s, last.t);
    Extensions().MultiTexCoord2fARB(kGlTexture1Arb, last.s1, last.t1);
  } else {
    glTexCoord2f(last.s, last.t);
  }
}

uint32_t AnimFrame(const WorldState& w, const TextureHandles& t) {
  return t.terrainAnimFrames[ClampIndex(w.terrainAnimPhase, 31)];
}

// Unit 0 = base, unit 1 = the animated overlay with an identity texture matrix.
void BeginTwoUnits(uint32_t base, uint32_t overlay) {
  ActiveTextureARB(kGlTexture0Arb);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, base);
  ActiveTextureARB(kGlTexture1Arb);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, overlay);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glMatrixMode(GL_TEXTURE);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

void EndTwoUnits() {
  ActiveTextureARB(kGlTexture1Arb);
  glMatrixMode(GL_TEXTURE);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  ActiveTextureARB(kGlTexture0Arb);
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
}

// The fast sea's floor textures: the floor texture times each of the 32 overlay frames,
// baked the first time a floor is drawn with them and kept until either changes. GL thread
// only.
struct BakedFloor {
  uint32_t floor = 0;
  uint32_t frames[32] = {};
  uint32_t baked[32] = {};
};

BakedFloor& Baked() {
  static BakedFloor baked;
  return baked;
}

// Level 0 of a texture as RGBA; false when it has none.
bool ReadTexture(uint32_t texture, int32_t& width, int32_t& height, std::vector<uint8_t>& rgba) {
  if (texture == 0) return false;
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  if (w <= 0 || h <= 0) return false;
  width = w;
  height = h;
  rgba.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return true;
}

// `src` (sw x sh RGBA) resampled to w x h by nearest texel (the sizes are powers of two: a
// larger picture keeps every texel of a smaller one).
void Resample(const std::vector<uint8_t>& src, int32_t sw, int32_t sh, int32_t w, int32_t h,
              std::vector<uint8_t>& out) {
  out.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (int32_t y = 0; y < h; ++y) {
    const int64_t sy = int64_t{y} * sh / h;
    for (int32_t x = 0; x < w; ++x) {
      const int64_t sx = int64_t{x} * sw / w;
      std::memcpy(
          &out[(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4],
          &src[static_cast<size_t>(sy * sw + sx) * 4], 4);
    }
  }
}

// The baked texture of the floor and the current overlay frame (0: none could be made).
uint32_t BakedFloorTexture(uint32_t floor, const TextureHandles& t, double phase) {
  BakedFloor& b = Baked();
  bool current = b.floor == floor;
  for (int32_t k = 0; k < 32 && current; ++k) current = b.frames[k] == t.terrainAnimFrames[k];
  if (!current) {
    for (uint32_t& tex : b.baked) {
      if (tex != 0) glDeleteTextures(1, &tex);
      tex = 0;
    }
    b.floor = floor;
    std::copy(std::begin(t.terrainAnimFrames), std::end(t.terrainAnimFrames), b.frames);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    std::vector<uint8_t> base, overlay, scaledBase, scaledOverlay, product;
    int32_t bw = 0, bh = 0;
    if (ReadTexture(floor, bw, bh, base)) {
      for (int32_t k = 0; k < 32; ++k) {
        int32_t ow = 0, oh = 0;
        if (!ReadTexture(b.frames[k], ow, oh, overlay)) continue;
        const int32_t w = std::max(bw, ow), h = std::max(bh, oh);
        Resample(base, bw, bh, w, h, scaledBase);
        Resample(overlay, ow, oh, w, h, scaledOverlay);
        product.resize(scaledBase.size());
        ModulateTexels(scaledBase.data(), scaledOverlay.data(), product.data(),
                       static_cast<size_t>(w) * static_cast<size_t>(h));
        GLuint tex = 0;
        glGenTextures(1, &tex);
        glBindTexture(GL_TEXTURE_2D, tex);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGBA, GL_UNSIGNED_BYTE, product.data());
        b.baked[k] = tex;
      }
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  }
  return b.baked[ClampIndex(phase, 31)];
}

}  // namespace

void ModulateTexels(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t texels) {
  for (size_t i = 0; i < texels * 4; i += 4) {
    for (size_t c = 0; c < 3; ++c) {
      out[i + c] = static_cast<uint8_t>((a[i + c] * b[i + c] + 127) / 255);
    }
    out[i + 3] = a[i + 3];
  }
}

TerrainArea TerrainAreaFor(const WorldState& w, double centreX, double centreZ, int32_t quality) {
  const int64_t X2 = 2 * static_cast<int64_t>(TruncToInt(centreX));
  const int64_t Z2 = 2 * static_cast<int64_t>(TruncToInt(centreZ));
  int64_t l = w.terrainView[0], b = w.terrainView[1], r = w.terrainView[2], a = w.terrainView[3];
  if (quality == 5) {
    l *= 3;
    b *= 3;
    r *= 3;
    a *= 5;
  }
  // Kept inside int32 whatever a level file holds; the walkers clamp to the grid anyway.
  auto fit = [](int64_t v) { return Clamp(v, -(1 << 24), 1 << 24); };
  return {fit(X2 - l), fit(Z2 - b), fit(X2 + r), fit(Z2 + a)};
}

int64_t TerrainVertexCount(const WorldState& w, double centreX, double centreZ, int32_t quality) {
  CountSink sink;
  WalkTerrain(w, centreX, centreZ, quality, sink);
  return sink.vertices;
}

void DrawTerrain(WorldState& w, TKTZGL_Scene& scene, const TextureHandles& t,
                 uint32_t fallbackFloor, bool fastSea) {
  const uint32_t floorTexture = t.terrainTexture != 0 ? t.terrainTexture : fallbackFloor;
  glPushMatrix();
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  glFrontFace(GL_CCW);

  const double d = w.darkness;
  TKTZGL_Fog& fog = scene.Fog;
  fog.Enabled = 1;
  fog.Colour = {static_cast<float>(Lerp(w.terrainTintColour.r, w.skyFogColour.r, d)),
                static_cast<float>(Lerp(w.terrainTintColour.g, w.skyFogColour.g, d)),
                static_cast<float>(Lerp(w.terrainTintColour.b, w.skyFogColour.b, d)), 1};
  fog.Mode = 0;
  fog.Start = static_cast<float>(Lerp(5, 75 - 70 * d, d));
  fog.End = static_cast<float>(Lerp(75, 84 - 61 * d, d));
  scene.ApplyFog(fog);

  const double cx = scene.Camera.Position.x, cz = scene.Camera.Position.z + 10;
  const int32_t q = w.landscapeQuality;
  glDisable(GL_BLEND);
  glScalef(0.5f, 0.5f, 0.5f);
  const bool twoUnits = q == 0 || q == 1;
  const bool ripple = q == 0;
  const float skyR = w.skyFogColour.r, skyG = w.skyFogColour.g, skyB = w.skyFogColour.b;
  const double phase = w.wavePhase;
  FloorArrays& arrays = BeginArrays();
  auto vertexOf = [&](int32_t x, int32_t z, FloorVertex& v) {
    const Color4f& c = w.terrainColour[static_cast<size_t>(x) * kMapSize + static_cast<size_t>(z)];
    v.r = c.r * skyR;
    v.g = c.g * skyG;
    v.b = c.b * skyB;
    v.a = 1;
    v.s = v.s1 = (x + 1) / 12.0f;
    v.t = v.t1 = z / 12.0f;
    v.x = static_cast<float>(x);
    v.z = static_cast<float>(z);
    if (ripple) {
      v.x += RippleX(arrays, phase, x);
      v.z += RippleZ(arrays, phase, z);
    }
    v.y = FloorHeight(w, x, z);
  };
  ArraySink<decltype(vertexOf)> sink{arrays, vertexOf};
  const uint32_t baked =
      fastSea && twoUnits ? BakedFloorTexture(floorTexture, t, w.terrainAnimPhase) : 0;
  if (baked != 0) {
    // One unit: the floor and the overlay frame in one texture, the vertex colours over it.
    ActiveTextureARB(kGlTexture0Arb);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, baked);
    WalkTerrain(w, cx, cz, q, sink, true);
    DrawArrays(arrays, false, true);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
  } else if (twoUnits) {
    BeginTwoUnits(floorTexture, AnimFrame(w, t));
    WalkTerrain(w, cx, cz, q, sink, fastSea);
    DrawArrays(arrays, true, true);
    EndTwoUnits();
  } else if (q >= 2 && q <= 5) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, floorTexture);
    WalkTerrain(w, cx, cz, q, sink);
    DrawArrays(arrays, false, true);
  }
  glPopMatrix();
}

void DrawMenuFloor(const WorldState& w, const TextureHandles& t, const Vector4d& centre) {
  glPushMatrix();
  glDisable(GL_BLEND);
  glScalef(0.5f, 0.5f, 0.5f);
  BeginTwoUnits(t.menuFloorTexture, AnimFrame(w, t));
  FloorArrays& arrays = BeginArrays();
  const double phase = w.wavePhase;
  auto vertexOf = [&](int32_t x, int32_t z, FloorVertex& v) {
    v.s = (x + 1) / 35.0f;
    v.t = z / 25.0f;
    v.s1 = (x + 1) / 12.0f;
    v.t1 = z / 12.0f;
    v.x = static_cast<float>(x) + RippleX(arrays, phase, x);
    v.z = static_cast<float>(z) + RippleZ(arrays, phase, z);
    v.y = FloorHeight(w, x, z);
  };
  ArraySink<decltype(vertexOf)> sink{arrays, vertexOf};
  const TerrainArea a = TerrainAreaFor(w, centre.x, centre.z, 5 + 1);  // plain rectangle
  EmitRectangleStrips(sink, a);
  DrawArrays(arrays, true, false);
  EndTwoUnits();
  glPopMatrix();
}

}  // namespace skerrow
