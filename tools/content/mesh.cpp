// Mesh primitives and transforms of the content generator.
#include "mesh.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace skerrow::content {

namespace {
constexpr float kPi = 3.14159265358979f;
}

Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Normalised(Vec3 a) {
  float l = std::sqrt(Dot(a, a));
  return l > 0 ? a * (1.0f / l) : a;
}

uint32_t Mesh::Vertex(Vec3 p, Vec2 t) {
  pos.push_back(p);
  uv.push_back(t);
  return static_cast<uint32_t>(pos.size() - 1);
}

void Mesh::Tri(uint32_t a, uint32_t b, uint32_t c, uint32_t smoothing, uint16_t material) {
  tris.push_back({a, b, c, smoothing, material});
}

void Mesh::Quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t smoothing,
                uint16_t material) {
  Tri(a, b, c, smoothing, material);
  Tri(a, c, d, smoothing, material);
}

void Mesh::Append(const Mesh& other) {
  uint32_t base = static_cast<uint32_t>(pos.size());
  pos.insert(pos.end(), other.pos.begin(), other.pos.end());
  uv.insert(uv.end(), other.uv.begin(), other.uv.end());
  for (MeshTri t : other.tris) {
    t.a += base;
    t.b += base;
    t.c += base;
    tris.push_back(t);
  }
}

Mesh& Mesh::Translate(Vec3 d) {
  for (Vec3& p : pos) p = p + d;
  return *this;
}

Mesh& Mesh::Scale(Vec3 s) {
  for (Vec3& p : pos) p = {p.x * s.x, p.y * s.y, p.z * s.z};
  if (s.x * s.y * s.z < 0)
    for (MeshTri& t : tris) std::swap(t.b, t.c);
  return *this;
}

Mesh& Mesh::RotateX(float r) {
  float c = std::cos(r), s = std::sin(r);
  for (Vec3& p : pos) p = {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
  return *this;
}
Mesh& Mesh::RotateY(float r) {
  float c = std::cos(r), s = std::sin(r);
  for (Vec3& p : pos) p = {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
  return *this;
}
Mesh& Mesh::RotateZ(float r) {
  float c = std::cos(r), s = std::sin(r);
  for (Vec3& p : pos) p = {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
  return *this;
}

Mesh& Mesh::SetMaterial(uint16_t material) {
  for (MeshTri& t : tris) t.material = material;
  return *this;
}

Mesh& Mesh::PlanarUv(float unitsPerRepeat) {
  // Vertices may be shared between faces of different orientation; take each vertex's
  // projection from the first face that uses it.
  std::vector<char> done(pos.size(), 0);
  float k = 1.0f / unitsPerRepeat;
  for (const MeshTri& t : tris) {
    Vec3 n = Cross(pos[t.b] - pos[t.a], pos[t.c] - pos[t.a]);
    float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    for (uint32_t v : {t.a, t.b, t.c}) {
      if (done[v]) continue;
      done[v] = 1;
      Vec3 p = pos[v];
      if (az >= ax && az >= ay)
        uv[v] = {p.x * k, p.y * k};
      else if (ay >= ax)
        uv[v] = {p.x * k, p.z * k};
      else
        uv[v] = {p.y * k, p.z * k};
    }
  }
  return *this;
}

Mesh Box(Vec3 lo, Vec3 hi, uint16_t material, float unitsPerRepeat) {
  Mesh m;
  Vec3 c[8];
  for (int i = 0; i < 8; ++i)
    c[i] = {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
  // Faces as corner indices, counter-clockwise seen from outside.
  const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                           {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (int f = 0; f < 6; ++f) {
    uint32_t v[4];
    for (int k = 0; k < 4; ++k) v[k] = m.Vertex(c[faces[f][k]], {});
    m.Quad(v[0], v[1], v[2], v[3], 1u << (f + 2), material);
  }
  m.PlanarUv(unitsPerRepeat);
  return m;
}

Mesh Cylinder(Vec3 base, Vec3 top, float rBase, float rTop, int segments, uint16_t material,
              bool caps) {
  Mesh m;
  Vec3 axis = top - base;
  Vec3 dir = Normalised(axis);
  Vec3 helper = std::fabs(dir.z) < 0.9f ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
  Vec3 u = Normalised(Cross(helper, dir));
  Vec3 v = Cross(dir, u);
  std::vector<uint32_t> lower, upper;
  for (int i = 0; i <= segments; ++i) {
    float a = 2 * kPi * i / segments;
    Vec3 radial = u * std::cos(a) + v * std::sin(a);
    float tu = static_cast<float>(i) / segments;
    lower.push_back(m.Vertex(base + radial * rBase, {tu, 0}));
    upper.push_back(m.Vertex(top + radial * rTop, {tu, 1}));
  }
  for (int i = 0; i < segments; ++i)
    m.Quad(lower[i], lower[i + 1], upper[i + 1], upper[i], 1, material);
  if (caps) {
    for (int end = 0; end < 2; ++end) {
      float r = end ? rTop : rBase;
      if (r <= 0) continue;
      Vec3 centre = end ? top : base;
      uint32_t mid = m.Vertex(centre, {0.5f, 0.5f});
      std::vector<uint32_t> ring;
      for (int i = 0; i < segments; ++i) {
        float a = 2 * kPi * i / segments;
        ring.push_back(m.Vertex(centre + (u * std::cos(a) + v * std::sin(a)) * r,
                                {0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)}));
      }
      for (int i = 0; i < segments; ++i) {
        uint32_t a = ring[i], b = ring[(i + 1) % segments];
        if (end)
          m.Tri(mid, a, b, 2, material);
        else
          m.Tri(mid, b, a, 4, material);
      }
    }
  }
  return m;
}

Mesh Sphere(Vec3 centre, float radius, int segments, int rings, uint16_t material) {
  Mesh m;
  std::vector<std::vector<uint32_t>> grid(rings + 1);
  for (int r = 0; r <= rings; ++r) {
    float phi = kPi * r / rings - kPi / 2;
    for (int s = 0; s <= segments; ++s) {
      float th = 2 * kPi * s / segments;
      Vec3 p{std::cos(phi) * std::cos(th), std::cos(phi) * std::sin(th), std::sin(phi)};
      grid[r].push_back(m.Vertex(
          centre + p * radius, {static_cast<float>(s) / segments, static_cast<float>(r) / rings}));
    }
  }
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < segments; ++s)
      m.Quad(grid[r][s], grid[r][s + 1], grid[r + 1][s + 1], grid[r + 1][s], 1, material);
  return m;
}

Mesh Quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, uint16_t material) {
  Mesh m;
  uint32_t v0 = m.Vertex(a, {0, 0}), v1 = m.Vertex(b, {1, 0}), v2 = m.Vertex(c, {1, 1}),
           v3 = m.Vertex(d, {0, 1});
  m.Quad(v0, v1, v2, v3, 0, material);
  return m;
}

Mesh LoftHull(const std::vector<HullStation>& st, uint16_t sideMaterial, uint16_t deckMaterial,
              float vTopZ, float uRepeat) {
  // Section profile from the deck edge down to the keel (fractions of half beam and depth).
  const float profY[5] = {1.0f, 0.98f, 0.9f, 0.62f, 0.0f};
  const float profZ[5] = {1.0f, 0.0f, 0.45f, 0.85f, 1.0f};  // 0 = waterline, 1 = deck / keel
  Mesh m;
  auto sideV = [&](float z) { return z >= 0 ? 0.3f + 0.7f * z / vTopZ : 0.3f + 0.3f * z / 40.0f; };
  float x0 = st.front().x, len = st.back().x - st.front().x;
  std::vector<std::vector<uint32_t>> starboard(st.size()), port(st.size());
  for (size_t i = 0; i < st.size(); ++i) {
    const HullStation& s = st[i];
    float hb = std::max(s.halfBeam, 0.5f);
    for (int k = 0; k < 5; ++k) {
      float z = k == 0 ? s.deckZ : (k == 1 ? 0.0f : s.keelZ * profZ[k]);
      float y = hb * profY[k];
      float u = (s.x - x0) / len * uRepeat;
      starboard[i].push_back(m.Vertex({s.x, y, z}, {u, sideV(z)}));
      port[i].push_back(m.Vertex({s.x, -y, z}, {u, sideV(z)}));
    }
  }
  for (size_t i = 0; i + 1 < st.size(); ++i)
    for (int k = 0; k < 4; ++k) {
      // Starboard (y > 0) faces +y: going aft (+x) and down.
      m.Quad(starboard[i][k], starboard[i + 1][k], starboard[i + 1][k + 1], starboard[i][k + 1], 1,
             sideMaterial);
      m.Quad(port[i][k], port[i][k + 1], port[i + 1][k + 1], port[i + 1][k], 1, sideMaterial);
    }
  // Deck: strips between port and starboard deck edges.
  std::vector<uint32_t> ds, dp;
  for (size_t i = 0; i < st.size(); ++i) {
    float hb = std::max(st[i].halfBeam, 0.5f);
    ds.push_back(m.Vertex({st[i].x, hb, st[i].deckZ}, {st[i].x / 60.0f, hb / 60.0f}));
    dp.push_back(m.Vertex({st[i].x, -hb, st[i].deckZ}, {st[i].x / 60.0f, -hb / 60.0f}));
  }
  for (size_t i = 0; i + 1 < st.size(); ++i)
    m.Quad(dp[i], dp[i + 1], ds[i + 1], ds[i], 2, deckMaterial);
  // Transom (stern, +x) facing +x, and a bow cap when the bow is blunt.
  for (int end = 0; end < 2; ++end) {
    size_t i = end ? st.size() - 1 : 0;
    if (st[i].halfBeam < 1.0f) continue;
    for (int k = 0; k < 4; ++k) {
      Vec3 a = m.pos[starboard[i][k]], b = m.pos[starboard[i][k + 1]], c = m.pos[port[i][k + 1]],
           d = m.pos[port[i][k]];
      uint32_t va = m.Vertex(a, {a.y / 60, sideV(a.z)}), vb = m.Vertex(b, {b.y / 60, sideV(b.z)}),
               vc = m.Vertex(c, {c.y / 60, sideV(c.z)}), vd = m.Vertex(d, {d.y / 60, sideV(d.z)});
      if (end)
        m.Quad(va, vd, vc, vb, 8, sideMaterial);
      else
        m.Quad(va, vb, vc, vd, 8, sideMaterial);
    }
  }
  return m;
}

Max3dsMesh ToMax3ds(const Mesh& mesh, const std::string& name) {
  if (mesh.pos.size() > 65535 || mesh.tris.size() > 65535)
    throw std::invalid_argument("mesh too large for 3ds: " + name);
  Max3dsMesh out;
  out.name = name;
  for (const Vec3& p : mesh.pos) out.vertices.push_back({p.x, p.y, p.z});
  for (const Vec2& t : mesh.uv) out.uvs.push_back({t.u, t.v});
  for (const MeshTri& t : mesh.tris)
    out.faces.push_back({static_cast<uint16_t>(t.a), static_cast<uint16_t>(t.b),
                         static_cast<uint16_t>(t.c), t.smoothing, t.material});
  return out;
}

}  // namespace skerrow::content
