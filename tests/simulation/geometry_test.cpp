// Land height, land test, shade, distance and bearing: island squares, grid interpolation,
// the table end at the first absent static, clamped edges and damaged coordinates.
#include "simulation/geometry.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "sim_fixture.h"

namespace skerrow::test {
namespace {

constexpr double kPi = std::numbers::pi;

class GeometryTest : public SimTest {
 protected:
  // Island of terrain kind `kind` centred at (x, z) in static slot `slot`.
  void PlaceIsland(int32_t slot, int32_t kind, double x, double z) {
    StaticRecord& s = w.statics[slot];
    s.alive = 1;
    s.terrainKind = kind;
    s.posX = x;
    s.posZ = z;
  }
  void FillHeights(int32_t kind, int32_t value) {
    for (auto& row : w.islandHeights[kind])
      for (int32_t& c : row) c = value;
  }
  void FillShade(int32_t kind, uint8_t value) {
    for (auto& row : w.terrainShadowMaps[kind])
      for (uint8_t& c : row) c = value;
  }
};

TEST_F(GeometryTest, IslandSquareEndsFiveUnitsFromTheCentre) {
  FillHeights(2, 255);
  PlaceIsland(1, 2, 50.0, 50.0);
  EXPECT_NEAR(IslandHeightAt(w, 50.0, 50.0), 4.95, 1e-12);
  EXPECT_NEAR(IslandHeightAt(w, 54.999, 50.0), 4.95, 1e-12);
  EXPECT_NEAR(IslandHeightAt(w, 50.0, 45.001), 4.95, 1e-12);
  EXPECT_EQ(IslandHeightAt(w, 55.0, 50.0), 0.0);
  EXPECT_EQ(IslandHeightAt(w, 50.0, 45.0), 0.0);
  EXPECT_EQ(IsLandAt(w, 54.999, 50.0), 10.0);
  EXPECT_EQ(IsLandAt(w, 55.0, 50.0), 0.0);
}

TEST_F(GeometryTest, HalfCellOffsetAlongXNoneAlongZ) {
  // Row 64 (along x) holds 51, every other sample 0: a ridge across z.
  for (int32_t v = 0; v < 128; ++v) w.islandHeights[1][64][v] = 51;
  PlaceIsland(1, 1, 0.0, 0.0);
  // u = (dx + 5) * 12.8. At u = 64.5 (cell centre) the full sample; at u = 65.0 halfway.
  const double atCentre = 64.5 / 12.8 - 5.0;
  EXPECT_NEAR(IslandHeightAt(w, atCentre, 0.0), 51 / 51.0 - 0.05, 1e-9);
  EXPECT_NEAR(IslandHeightAt(w, 65.0 / 12.8 - 5.0, 0.0), 0.5 - 0.05, 1e-9);
  // Along z the samples are corners: a column ridge at v = 64 peaks exactly at v = 64.
  FillHeights(1, 0);
  for (int32_t u = 0; u < 128; ++u) w.islandHeights[1][u][64] = 51;
  EXPECT_NEAR(IslandHeightAt(w, 0.0, 64.0 / 12.8 - 5.0), 0.95, 1e-9);
  EXPECT_NEAR(IslandHeightAt(w, 0.0, 64.5 / 12.8 - 5.0), 0.5 - 0.05, 1e-9);
}

TEST_F(GeometryTest, LowSamplesGiveZeroHeightAndTheStricterLandTest) {
  PlaceIsland(1, 1, 0.0, 0.0);
  FillHeights(1, 0);
  EXPECT_EQ(IslandHeightAt(w, 0.0, 0.0), 0.0);  // never -0.05
  // 3.0 / 51 - 0.05 > 0 but 3.0 / 51 - 0.07 < 0: height without land.
  FillHeights(1, 3);
  EXPECT_GT(IslandHeightAt(w, 0.0, 0.0), 0.0);
  EXPECT_LE(IslandHeightAt(w, 0.0, 0.0), 0.02);
  EXPECT_EQ(IsLandAt(w, 0.0, 0.0), 0.0);
  FillHeights(1, 4);
  EXPECT_EQ(IsLandAt(w, 0.0, 0.0), 10.0);
}

TEST_F(GeometryTest, OverlapsTakeHighestAndDarkestAndAGapEndsTheTable) {
  FillHeights(1, 51);
  FillHeights(2, 102);
  FillShade(1, 200);
  FillShade(2, 90);
  PlaceIsland(1, 1, 0.0, 0.0);
  PlaceIsland(2, 2, 1.0, 1.0);
  EXPECT_NEAR(IslandHeightAt(w, 0.5, 0.5), 2.0 - 0.05, 1e-9);
  EXPECT_NEAR(ShadeAt(w, 0.5, 0.5), 90.0, 1e-9);
  // An absent static in slot 2 hides slot 3.
  w.statics[2].alive = 2;
  PlaceIsland(3, 2, 1.0, 1.0);
  EXPECT_NEAR(IslandHeightAt(w, 0.5, 0.5), 0.95, 1e-9);
  EXPECT_NEAR(ShadeAt(w, 0.5, 0.5), 200.0, 1e-9);
}

TEST_F(GeometryTest, ShadeWindowKind13AndMissingGrids) {
  FillShade(5, 40);
  PlaceIsland(1, 5, 0.0, 0.0);
  EXPECT_EQ(ShadeAt(w, 0.0, 0.0), 40.0);
  EXPECT_EQ(ShadeAt(w, 9.99, 0.0), 255.0);  // u below 1
  EXPECT_EQ(ShadeAt(w, 10.0, 0.0), 255.0);
  w.statics[1].terrainKind = 13;
  FillShade(13, 0);
  EXPECT_EQ(ShadeAt(w, 0.0, 0.0), 255.0);
  // Kinds without a grid (shadow maps exist for 1..100, heights for 1..127) are no land.
  for (int32_t kind : {0, 101, 128, -7, 1 << 30}) {
    w.statics[1].terrainKind = kind;
    EXPECT_EQ(ShadeAt(w, 0.0, 0.0), 255.0) << kind;
    if (kind != 101) {
      EXPECT_EQ(IslandHeightAt(w, 0.0, 0.0), 0.0) << kind;
    }
  }
}

TEST_F(GeometryTest, OuterEdgeClampsToTheLastRowAndDamagedCoordinatesAreWater) {
  FillHeights(1, 0);
  for (int32_t v = 0; v < 128; ++v) w.islandHeights[1][127][v] = 255;
  for (int32_t u = 0; u < 128; ++u) w.islandHeights[1][u][127] = 255;
  PlaceIsland(1, 1, 0.0, 0.0);
  // u and v close to 128: both reads past the grid land on row / column 127.
  EXPECT_NEAR(IslandHeightAt(w, 4.9999, 4.9999), 4.95, 1e-6);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {nan, inf, -inf, 1e300}) {
    EXPECT_EQ(IslandHeightAt(w, bad, 0.0), 0.0);
    EXPECT_EQ(IsLandAt(w, 0.0, bad), 0.0);
    EXPECT_EQ(ShadeAt(w, bad, bad), 255.0);
    (void)SeaFloorAt(w, bad, -bad);  // clamped into the height map
  }
  w.statics[1].posX = nan;
  EXPECT_EQ(IslandHeightAt(w, 0.0, 0.0), 0.0);
}

TEST(Geometry, BearingQuadrantsAxesAndTheBackVector) {
  const Vector4d p = {10.0, 0.0, 20.0, 0.0};
  struct Case {
    double dx, dz;
  };
  // Off and on the axes, (sin b, -cos b) points from Q back toward P.
  for (Case c : {Case{-1, -2}, Case{3, -1}, Case{2, 5}, Case{-4, 1}, Case{0, 3}, Case{0, -3},
                 Case{5, 0}, Case{-5, 0}}) {
    const Vector4d q = {p.x + c.dx, 7.0, p.z + c.dz, 0.0};
    const double b = Bearing(p, q);
    EXPECT_GE(b, 0.0);
    EXPECT_LT(b, 2.0 * kPi);
    const double len = std::hypot(c.dx, c.dz);
    EXPECT_NEAR(std::sin(b), -c.dx / len, 1e-12) << c.dx << "," << c.dz;
    EXPECT_NEAR(-std::cos(b), -c.dz / len, 1e-12) << c.dx << "," << c.dz;
  }
  EXPECT_EQ(Bearing(p, {p.x, 0, p.z + 1, 0}), 0.0);
  EXPECT_EQ(Bearing(p, {p.x, 0, p.z - 1, 0}), kPi);
  EXPECT_EQ(Bearing(p, {p.x + 1, 0, p.z, 0}), 3 * kPi / 2);
  EXPECT_EQ(Bearing(p, {p.x - 1, 0, p.z, 0}), kPi / 2);
  EXPECT_DOUBLE_EQ(Distance3({1, 2, 3, 100}, {4, 6, 15, -50}), 13.0);
}

}  // namespace
}  // namespace skerrow::test
