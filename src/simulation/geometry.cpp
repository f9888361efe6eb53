// Terrain and geometry queries over the statics, their island grids and the height map.
#include "simulation/geometry.h"

#include <cmath>
#include <numbers>

#include "platform/numeric.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr int32_t kLastCell = kPieceGridSize - 1;  // grid indices past the edge clamp here

// Samples a 128 x 128 grid at (u, v): cell centres along u (half-cell offset), cell corners
// along v. Indices past the grid clamp to 0..127.
template <typename Cell>
double SampleGrid(const Cell (&g)[kPieceGridSize][kPieceGridSize], double u, double v) {
  const int32_t iu = ClampIndex(u, kLastCell);
  const int32_t iv = ClampIndex(v, kLastCell);
  const double fu = u - std::trunc(u);
  const double fv = v - std::trunc(v);
  int32_t ua, ub;
  double t;
  if (fu > 0.5) {
    ua = iu;
    ub = iu + 1 > kLastCell ? kLastCell : iu + 1;
    t = fu - 0.5;
  } else {
    ua = ClampIndex(u - 1.0, kLastCell);  // truncation toward zero: row 0 for u below 1
    ub = iu;
    t = fu + 0.5;
  }
  const int32_t iv1 = iv + 1 > kLastCell ? kLastCell : iv + 1;
  const double r0 = Lerp(static_cast<double>(g[ua][iv]), static_cast<double>(g[ub][iv]), t);
  const double r1 = Lerp(static_cast<double>(g[ua][iv1]), static_cast<double>(g[ub][iv1]), t);
  return Lerp(r0, r1, fv);
}

// Height sample of the island of static `s` at (x, z), or false when the point is outside its
// 10 x 10 square or its terrain kind has no grid.
bool IslandSample(const WorldState& w, const StaticRecord& s, double x, double z, double& h) {
  const double dx = x - s.posX;
  const double dz = z - s.posZ;
  if (!(std::fabs(dx) < 5.0 && std::fabs(dz) < 5.0)) return false;
  const IslandHeightGrid* grid = w.islandHeights.at(s.terrainKind);
  if (grid == nullptr) return false;
  h = SampleGrid(*grid, (dx + 5.0) * 12.8, (dz + 5.0) * 12.8);
  return true;
}

}  // namespace

double IslandHeightAt(const WorldState& w, double x, double z) {
  double result = 0.0;
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1) break;  // the table ends at the first absent static
    double h;
    if (!IslandSample(w, s, x, z, h)) continue;
    const double height = std::fmax(h / 51.0 - 0.05, 0.0);
    if (height > result) result = height;
  }
  return result;
}

double IsLandAt(const WorldState& w, double x, double z) {
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1) break;
    double h;
    if (IslandSample(w, s, x, z, h) && h / 51.0 - 0.07 > 0.0) return 10.0;
  }
  return 0.0;
}

double ShadeAt(const WorldState& w, double x, double z) {
  double result = 255.0;
  for (int32_t i = 1; i < kStaticSlots; ++i) {
    const StaticRecord& s = w.statics[i];
    if (s.alive != 1) break;
    if (s.terrainKind == 13) continue;  // this piece casts no island shade
    const double dx = x - s.posX;
    const double dz = z - s.posZ;
    if (!(std::fabs(dx) < 10.0 && std::fabs(dz) < 10.0)) continue;
    const double u = 128.0 - (dx + 10.0) * 6.4;
    const double v = 128.0 - (dz + 10.0) * 6.4;
    if (!(u > 1.0 && u < 127.0 && v > 1.0 && v < 127.0)) continue;
    const TerrainShadowMap* map = w.terrainShadowMaps.at(s.terrainKind);
    if (map == nullptr) continue;  // pieces above 100 have no shadow map
    const double shade = std::fmax(SampleGrid(*map, u, v), 0.0);
    if (shade < result) result = shade;
  }
  return result;
}

double Distance3(const Vector4d& a, const Vector4d& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double Bearing(const Vector4d& p, const Vector4d& q) {
  constexpr double kPi = std::numbers::pi;
  const double dx = q.x - p.x;
  const double dz = q.z - p.z;
  // On the axes the values continue the neighbouring quadrants, so that (sin b, -cos b) still
  // points from Q back to P (the unit push moves units apart along it).
  if (dz == 0.0) return dx > 0.0 ? 3.0 * kPi / 2.0 : kPi / 2.0;
  if (dx == 0.0) return dz > 0.0 ? 0.0 : kPi;
  if (dx < 0.0 && dz < 0.0) return std::atan(dz / dx) + kPi / 2.0;
  if (dx > 0.0 && dz < 0.0) return std::atan(dx / -dz) + kPi;
  if (dx > 0.0 && dz > 0.0) return std::atan(dz / dx) + 3.0 * kPi / 2.0;
  if (dx < 0.0 && dz > 0.0) return std::atan(-dx / dz);
  return 0.0;  // NaN coordinates
}

double SeaFloorAt(const WorldState& w, double x, double z) {
  const int32_t ix = ClampIndex(2.0 * x, kMapSize - 1);
  const int32_t iz = ClampIndex(2.0 * z, kMapSize - 1);
  return w.heightMap[ix][iz] * 9.97 / 255.0 / 2.0 - 5.0;
}

}  // namespace skerrow
