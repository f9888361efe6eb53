// Terrain and geometry queries: land height, land test and island shade at a point, distance
// and bearing. Pure functions over the world state; safe for any coordinates (NaN included).
#pragma once

#include "world/records.h"

namespace skerrow {

struct WorldState;

// Highest island surface at (x, z); 0 over open water; never negative.
double IslandHeightAt(const WorldState& w, double x, double z);
// 10 where some island's surface is above the water by the stricter offset, else 0.
double IsLandAt(const WorldState& w, double x, double z);
// Lowest island shade at (x, z), 0..255; 255 where no island shade reaches.
double ShadeAt(const WorldState& w, double x, double z);

double Distance3(const Vector4d& a, const Vector4d& b);
// Angle in [0, 2pi) from P to Q in the (x, z) plane; (sin b, -cos b) points from Q back to P.
double Bearing(const Vector4d& p, const Vector4d& q);

// Sea-floor height under (x, z) from the height map (indices clamped to the map).
double SeaFloorAt(const WorldState& w, double x, double z);

inline Vector4d UnitPos(const UnitRecord& u) {
  return {u.posX, u.posY, u.posZ, 0.0};
}

}  // namespace skerrow
