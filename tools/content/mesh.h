// A small mesh-building kit for the generated models: boxes, cylinders, cones, spheres, lofted
// hulls, quads, transforms and planar texture mapping, in 3DS model units (z up).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "max3ds_writer.h"

namespace skerrow::content {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s) {
  return {a.x * s, a.y * s, a.z * s};
}
Vec3 Cross(Vec3 a, Vec3 b);
float Dot(Vec3 a, Vec3 b);
Vec3 Normalised(Vec3 a);  // a zero vector stays zero

struct Vec2 {
  float u = 0, v = 0;
};

struct MeshTri {
  uint32_t a = 0, b = 0, c = 0;  // counter-clockwise seen from outside
  uint32_t smoothing = 0;
  uint16_t material = 0;
};

struct Mesh {
  std::vector<Vec3> pos;
  std::vector<Vec2> uv;
  std::vector<MeshTri> tris;

  uint32_t Vertex(Vec3 p, Vec2 t);
  void Tri(uint32_t a, uint32_t b, uint32_t c, uint32_t smoothing, uint16_t material);
  // Quad a-b-c-d counter-clockwise from outside, split along a-c.
  void Quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t smoothing, uint16_t material);
  void Append(const Mesh& other);
  Mesh& Translate(Vec3 d);
  Mesh& Scale(Vec3 s);  // a negative product flips the winding back to outside-facing
  Mesh& RotateX(float radians);
  Mesh& RotateY(float radians);
  Mesh& RotateZ(float radians);
  Mesh& SetMaterial(uint16_t material);
  // Replaces the texture coordinates by a planar projection along the dominant axis of each
  // face's normal; `unitsPerRepeat` model units per texture repeat.
  Mesh& PlanarUv(float unitsPerRepeat);
};

// Axis-aligned box; every face has its own vertices and smoothing bit.
Mesh Box(Vec3 lo, Vec3 hi, uint16_t material, float unitsPerRepeat);
// Cylinder or cone (rTop 0) from base to top along any axis; smooth sides (group 1, u around,
// v 0 at the base to 1 at the top), flat caps.
Mesh Cylinder(Vec3 base, Vec3 top, float rBase, float rTop, int segments, uint16_t material,
              bool caps);
Mesh Sphere(Vec3 centre, float radius, int segments, int rings, uint16_t material);
// Flat polygon quad, one-sided (counter-clockwise corners seen from its front).
Mesh Quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, uint16_t material);

// One cross-section of a lofted hull, bow towards -x.
struct HullStation {
  float x = 0;
  float halfBeam = 0;  // at the deck edge
  float deckZ = 0;     // deck edge height above the waterline (z = 0)
  float keelZ = 0;     // keel depth (negative)
};
// Hull sides (group 1, `sideMaterial`), deck (group 2, `deckMaterial`) and a flat transom.
// Side v runs 0.3 at the waterline to 1 at `vTopZ`, so the texture's lower 30 % is underwater.
Mesh LoftHull(const std::vector<HullStation>& stations, uint16_t sideMaterial,
              uint16_t deckMaterial, float vTopZ, float uRepeat);

Max3dsMesh ToMax3ds(const Mesh& mesh, const std::string& name);

}  // namespace skerrow::content
