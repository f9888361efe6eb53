// Ship, emplacement, mine and chest models of the unit kinds (ship<N>.3ds with their textures and
// part files), built from lofted hulls and simple solids.
#include "models_ships.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "models_common.h"
#include "models_internal.h"

namespace skerrow::content {

namespace {

constexpr float kPi = 3.14159265f;

struct ShipMats {
  uint16_t hull, deck, house, paint, metal, funnel, wood, dark;
};

ShipMats StandardMaterials(ModelBuilder& b) {
  ShipMats m;
  m.hull = b.Material("Hull", "hull.qvt");
  m.deck = b.Material("Deck", "deck.qvt");
  m.house = b.Material("House", "house.qvt");
  m.paint = b.Material("Paint", "paint.qvt");
  m.metal = b.Material("Metal", "metal.qvt");
  m.funnel = b.Material("Funnel", "funnel.qvt");
  m.wood = b.Material("Wood", "wood.qvt");
  m.dark = b.Material("Dark", "dark.qvt");
  return m;
}

// Sets the material of every upward-facing triangle (roofs of deckhouses).
void Roof(Mesh& m, uint16_t material) {
  for (MeshTri& t : m.tris) {
    Vec3 n = Normalised(Cross(m.pos[t.b] - m.pos[t.a], m.pos[t.c] - m.pos[t.a]));
    if (n.z > 0.9f) t.material = material;
  }
}

Mesh Hull(float length, float halfBeam, float deckZ, float keelZ, float bowSheer, float sternBeam) {
  const float ts[] = {0.0f, 0.03f, 0.08f, 0.15f, 0.24f, 0.34f,
                      0.5f, 0.65f, 0.8f,  0.9f,  0.97f, 1.0f};
  std::vector<HullStation> st;
  for (float t : ts) {
    HullStation s;
    s.x = -length / 2 + t * length;
    float hb = t < 0.36f ? std::pow(std::sin(t / 0.36f * kPi / 2), 0.8f)
                         : (t > 0.8f ? 1 - (t - 0.8f) / 0.2f * (1 - sternBeam) : 1.0f);
    s.halfBeam = halfBeam * hb;
    float bow = t < 0.4f ? (1 - t / 0.4f) * (1 - t / 0.4f) : 0;
    s.deckZ = deckZ + bowSheer * bow + (t > 0.9f ? (t - 0.9f) * deckZ * 0.5f : 0);
    s.keelZ = keelZ * (t < 0.05f ? 0.4f + t * 12 : 1.0f);
    st.push_back(s);
  }
  return LoftHull(st, 0, 1, deckZ + bowSheer, 3);
}

void Deckhouse(Mesh& into, const ShipMats& m, float x0, float x1, float hw, float z0, float z1) {
  Mesh box = Box({x0, -hw, z0}, {x1, hw, z1}, m.house, 64);
  Roof(box, m.paint);
  into.Append(box);
}

void Funnel(Mesh& into, const ShipMats& m, float x, float z, float r, float h, float rake) {
  into.Append(Cylinder({x, 0, z}, {x + rake, 0, z + h}, r, r, 14, m.funnel, false));
  into.Append(Cylinder({x + rake, 0, z + h - 4}, {x + rake, 0, z + h - 3}, r * 0.92f, r * 0.92f, 14,
                       m.dark, true));
}

void Mast(Mesh& into, const ShipMats& m, float x, float z, float h, float r, float yard) {
  into.Append(Cylinder({x, 0, z}, {x, 0, z + h}, r, r * 0.6f, 6, m.dark, true));
  if (yard > 0)
    into.Append(
        Box({x - r, -yard, z + h * 0.78f}, {x + r, yard, z + h * 0.78f + r * 1.2f}, m.dark, 64));
}

// A gun on a round mount; facing +1 points the barrels to the bow (-x), -1 to the stern.
void Gun(Mesh& into, const ShipMats& m, float x, float y, float z, float r, float facing,
         int barrels, bool shield) {
  into.Append(Cylinder({x, y, z}, {x, y, z + r * 0.45f}, r, r * 0.95f, 12, m.metal, true));
  if (shield) {
    Mesh house = Box({x - r * 0.75f, y - r * 0.7f, z + r * 0.4f},
                     {x + r * 0.75f, y + r * 0.7f, z + r * 1.05f}, m.paint, 48);
    into.Append(house);
  }
  for (int i = 0; i < barrels; ++i) {
    float off = barrels == 1 ? 0 : (i - (barrels - 1) / 2.0f) * r * 0.55f;
    float bz = z + r * 0.72f;
    Vec3 a{x - facing * r * 0.5f, y + off, bz};
    Vec3 b{x - facing * (r * 0.5f + r * 1.9f), y + off, bz + r * 0.08f};
    into.Append(Cylinder(a, b, r * 0.14f, r * 0.11f, 8, m.dark, true));
  }
}

void Boat(Mesh& into, const ShipMats& m, float x, float y, float z, float len) {
  Mesh s = Sphere({0, 0, 0}, 1, 10, 6, m.paint);
  s.Scale({len / 2, len / 6, len / 8});
  for (Vec3& p : s.pos) p.z = std::min(p.z, len / 16);
  s.Translate({x, y, z + len / 10});
  into.Append(s);
}

void Railing(Mesh& into, const ShipMats& m, float x0, float x1, float y, float z) {
  into.Append(Box({x0, y - 0.6f, z + 9}, {x1, y + 0.6f, z + 10.5f}, m.paint, 64));
  for (float x = x0; x <= x1; x += 18)
    into.Append(Box({x - 0.6f, y - 0.6f, z}, {x + 0.6f, y + 0.6f, z + 9}, m.paint, 64));
}

struct ShipTextures {
  Rgb hull, house, paint, funnel;
};

void WriteShipTextures(Output& out, const std::string& dir, uint32_t seed, const ShipTextures& t) {
  out.WriteBmp(dir + "hull.qvt", PaintHull(seed, t.hull));
  out.WriteBmp(dir + "deck.qvt", PaintDeck(seed + 1));
  out.WriteBmp(dir + "house.qvt", PaintHouse(seed + 2, t.house));
  out.WriteBmp(dir + "paint.qvt", PaintPlain(seed + 3, t.paint, 0.3));
  out.WriteBmp(dir + "metal.qvt", PaintPlain(seed + 4, {105, 108, 112}, 0.5));
  out.WriteBmp(dir + "funnel.qvt", PaintFunnel(seed + 5, t.funnel));
  out.WriteBmp(dir + "wood.qvt", PaintWood(seed + 6, {150, 105, 62}));
  out.WriteBmp(dir + "dark.qvt", PaintPlain(seed + 7, {48, 48, 52}, 0.2));
}

// The patrol boat shares its directory with the propeller vint.3ds, written as Ship6/, and kinds
// 24, 25, 35 and 46 theirs with rotors and flags: one spelling per directory, so the
// case-insensitive lookup has only one to find.
std::string ShipDir(int32_t k) {
  const bool capital = k == kind::kPatrolBoat || k == kind::kAutogyro || k == kind::kSeaplane ||
                       k == kind::kSwitch || k == kind::kFlyingFortress;
  return std::string(capital ? "models/ships/Ship" : "models/ships/ship") + std::to_string(k) + "/";
}
std::string ShipFile(int32_t k) {
  return "models/ships/ship" + std::to_string(k) + ".3ds";
}
// Element 0 is the hull file, element e > 0 the part file ship<K>-<e>.3ds.
std::string PartFile(int32_t k, int element) {
  return element == 0
             ? ShipFile(k)
             : "models/ships/ship" + std::to_string(k) + "-" + std::to_string(element) + ".3ds";
}

void WriteShip(Output& out, int kind, const Mesh& body, const ShipMats&, ModelBuilder& b) {
  b.Add("hull", body);
  b.Write(out, ShipFile(kind));
}

// Hero 1: side-wheel paddle steamer. Wheels (koleso.3ds) turn at (47.5, 0, 44.2).
Mesh PaddleSteamer(const ShipMats& m) {
  Mesh s = Hull(320, 34, 26, -22, 12, 0.75f);
  // Open wheel guards: an arc over each wheel, with a sponson walkway fore and aft of it.
  for (float side : {-1.0f, 1.0f}) {
    std::vector<uint32_t> inner, outer;
    for (int i = 0; i <= 10; ++i) {
      float a = 0.3f + (kPi - 0.6f) * i / 10;
      Vec3 p{47.5f + std::cos(a) * 54, 0, 44.2f + std::sin(a) * 54};
      inner.push_back(s.Vertex({p.x, side * 37, p.z}, {i / 10.0f, 0}));
      outer.push_back(s.Vertex({p.x, side * 60, p.z}, {i / 10.0f, 1}));
    }
    for (int i = 0; i < 10; ++i) {
      if (side > 0)
        s.Quad(inner[i], outer[i], outer[i + 1], inner[i + 1], 16, m.paint);
      else
        s.Quad(inner[i], inner[i + 1], outer[i + 1], outer[i], 16, m.paint);
    }
    s.Append(
        Box({-10, side > 0 ? 30.0f : -60.0f, 22}, {0, side > 0 ? 60.0f : -30.0f, 26}, m.deck, 64));
    s.Append(
        Box({95, side > 0 ? 30.0f : -60.0f, 22}, {105, side > 0 ? 60.0f : -30.0f, 26}, m.deck, 64));
  }
  Deckhouse(s, m, -60, 110, 24, 26, 52);
  Deckhouse(s, m, -40, 20, 18, 52, 72);
  s.Append(Box({-48, -30, 72}, {-30, 30, 75}, m.paint, 64));  // bridge wings
  Funnel(s, m, 72, 52, 11, 62, 8);
  Mast(s, m, -105, 26, 95, 2.5f, 22);
  Mast(s, m, 140, 30, 70, 2, 0);
  Gun(s, m, -128, 0, 30, 9, 1, 1, false);
  Boat(s, m, 100, 22, 52, 34);
  Boat(s, m, 100, -22, 52, 34);
  Railing(s, m, -120, 140, 30, 26);
  Railing(s, m, -120, 140, -30, 26);
  return s;
}

// Hero 2: stern-wheel gunboat; the wheel (kolesa.3ds) turns at (135.5, 0, 29.8).
Mesh SternWheeler(const ShipMats& m) {
  Mesh s = Hull(300, 40, 18, -14, 8, 0.95f);
  s.Translate({-50, 0, 0});
  // Wheel frame: two beams along the sides, clear of the wheel, and a cross beam behind it.
  for (float side : {-1.0f, 1.0f})
    s.Append(Box({90, side * 47 - 4, 14}, {182, side * 47 + 4, 40}, m.wood, 48));
  s.Append(Box({174, -51, 34}, {182, 51, 40}, m.wood, 48));
  Deckhouse(s, m, -80, 90, 30, 18, 44);   // armoured casemate
  Deckhouse(s, m, -50, -10, 20, 44, 62);  // pilot house
  Funnel(s, m, 60, 44, 9, 34, 4);
  Funnel(s, m, 40, 44, 9, 34, 4);
  Gun(s, m, -150, 0, 22, 14, 1, 1, true);
  Gun(s, m, -60, 30, 44, 7, 1, 1, false);
  Gun(s, m, -60, -30, 44, 7, 1, 1, false);
  Mast(s, m, -110, 20, 70, 2, 16);
  return s;
}

// Hero 3: protected cruiser.
Mesh Cruiser(const ShipMats& m) {
  Mesh s = Hull(600, 46, 32, -28, 12, 0.7f);
  Deckhouse(s, m, -170, -110, 30, 32, 64);
  Deckhouse(s, m, -160, -125, 22, 64, 84);
  s.Append(Box({-152, -42, 84}, {-138, 42, 87}, m.paint, 64));
  Deckhouse(s, m, -100, 190, 26, 32, 52);
  Funnel(s, m, -70, 52, 13, 80, 10);
  Funnel(s, m, 0, 52, 13, 80, 10);
  Funnel(s, m, 70, 52, 13, 80, 10);
  Mast(s, m, -185, 32, 150, 3.5f, 34);
  Mast(s, m, 205, 52, 120, 3, 26);
  Gun(s, m, -230, 0, 38, 24, 1, 2, true);
  Gun(s, m, 240, 0, 36, 24, -1, 2, true);
  for (float side : {-1.0f, 1.0f}) {
    Gun(s, m, -40, side * 30, 52, 9, 1, 1, true);
    Gun(s, m, 120, side * 30, 52, 9, -1, 1, true);
    Boat(s, m, 30, side * 20, 52, 40);
    Boat(s, m, 120, side * 14, 52, 34);
  }
  return s;
}

Mesh PatrolBoat(const ShipMats& m) {
  Mesh s = Hull(200, 22, 16, -12, 8, 0.8f);
  Deckhouse(s, m, -20, 50, 14, 16, 34);
  Funnel(s, m, 30, 34, 6, 20, 3);
  Mast(s, m, -10, 34, 40, 1.5f, 10);
  Gun(s, m, -70, 0, 20, 8, 1, 1, true);
  Gun(s, m, 80, 0, 18, 6, -1, 1, false);
  return s;
}

Mesh Gunboat(const ShipMats& m) {
  Mesh s = Hull(320, 32, 22, -20, 10, 0.75f);
  Deckhouse(s, m, -60, 70, 22, 22, 46);
  Deckhouse(s, m, -50, -10, 16, 46, 62);
  Funnel(s, m, 20, 46, 12, 56, 6);
  Mast(s, m, -80, 22, 90, 2.5f, 20);
  Gun(s, m, -110, 0, 28, 16, 1, 1, true);
  Gun(s, m, 115, 0, 26, 14, -1, 1, true);
  Boat(s, m, 60, 16, 46, 26);
  return s;
}

Mesh TorpedoBoat(const ShipMats& m) {
  Mesh s = Hull(260, 18, 12, -12, 10, 0.6f);
  s.Append(Box({-100, -10, 12}, {-70, 10, 24}, m.paint, 64));  // conning tower
  Deckhouse(s, m, -40, 30, 10, 12, 22);
  Funnel(s, m, -10, 22, 7, 30, 6);
  for (float side : {-1.0f, 1.0f})
    s.Append(Cylinder({40, side * 9, 18}, {110, side * 9, 18}, 4, 4, 8, m.dark, true));
  Gun(s, m, 95, 0, 12, 6, -1, 1, false);
  return s;
}

// The monitor, modelled at scale 0.005 then shrunk for its 0.055 draw scale. `state` 0
// intact, 1 damaged (blackened, broken funnel), 2 sinking (heeled, bow down).
Mesh Monitor(const ShipMats& m, uint16_t burnt, int state) {
  Mesh s = Hull(640, 60, 12, -18, 6, 0.9f);
  uint16_t house = state ? burnt : m.house;
  Mesh tower = Box({-160, -26, 12}, {-100, 26, 58}, house, 64);
  s.Append(tower);
  Gun(s, m, -230, 0, 14, 46, 1, 2, true);
  Gun(s, m, 200, 0, 14, 46, -1, 2, true);
  Deckhouse(s, m, -60, 120, 30, 12, 40);
  float fh = state ? 30.0f : 90.0f;
  s.Append(Cylinder({20, 0, 40}, {26, 0, 40 + fh}, 18, 18, 14, state ? burnt : m.funnel, false));
  Mast(s, m, -80, 58, 120, 3, 24);
  if (state) {
    for (MeshTri& t : s.tris)
      if (t.material == m.deck || t.material == m.paint) t.material = burnt;
  }
  if (state == 2) s.RotateX(0.22f).RotateY(0.12f).Translate({0, 0, -14});
  s.Scale({0.005f / 0.055f, 0.005f / 0.055f, 0.005f / 0.055f});
  return s;
}

Mesh Fort(const ShipMats& m) {
  Mesh s = Cylinder({0, 0, 0}, {0, 0, 90}, 190, 170, 24, m.house, true);
  Roof(s, m.deck);
  for (int i = 0; i < 24; ++i) {
    if (i % 2) continue;
    float a = 2 * kPi * i / 24;
    Mesh merlon = Box({-16, -8, 0}, {16, 8, 22}, m.house, 64);
    merlon.RotateZ(a + kPi / 2).Translate({std::cos(a) * 172, std::sin(a) * 172, 90});
    s.Append(merlon);
  }
  Mesh keep = Cylinder({40, 0, 90}, {40, 0, 160}, 50, 46, 14, m.house, true);
  Roof(keep, m.paint);
  s.Append(keep);
  Gun(s, m, -90, 0, 90, 40, 1, 1, true);
  s.Append(Cylinder({40, 0, 160}, {40, 0, 240}, 2, 2, 5, m.dark, true));
  return s;
}

// Fire ship: an old tarred wooden hull heaped with powder barrels round a short stack.
Mesh FireShip(const ShipMats& m) {
  Mesh s = Hull(260, 30, 20, -18, 12, 0.8f);
  for (MeshTri& t : s.tris)
    if (t.material == m.hull) t.material = m.wood;
  s.Append(Box({50, -22, 20}, {100, 22, 34}, m.wood, 48));  // deckhouse aft
  Funnel(s, m, 70, 34, 8, 26, 4);
  Mast(s, m, -70, 20, 70, 2, 14);
  const float barrels[][3] = {{-90, -12, 20}, {-90, 12, 20}, {-60, -14, 20}, {-60, 14, 20},
                              {-30, -14, 20}, {-30, 14, 20}, {0, -14, 20},   {0, 14, 20},
                              {-75, 0, 34},   {-45, 0, 34},  {-15, 0, 34},   {-60, -7, 48}};
  for (const auto& b : barrels) {  // powder barrels on end, a second layer on top
    s.Append(Cylinder({b[0], b[1], b[2]}, {b[0], b[1], b[2] + 14}, 7, 7, 10, m.funnel, true));
    s.Append(
        Cylinder({b[0], b[1], b[2] + 6}, {b[0], b[1], b[2] + 8}, 7.4f, 7.4f, 10, m.dark, false));
  }
  return s;
}

// Square sail hanging from a yard across y, bellied slightly forward (towards -x); both faces.
void Sail(Mesh& into, const ShipMats& m, float x, float zTop, float zBottom, float halfWidth) {
  into.Append(Cylinder({x, -halfWidth - 6, zTop}, {x, halfWidth + 6, zTop}, 2, 2, 6, m.wood, true));
  const int cols = 6, rows = 4;
  std::vector<uint32_t> front, back;
  for (int r = 0; r <= rows; ++r) {
    for (int c = 0; c <= cols; ++c) {
      float v = static_cast<float>(r) / rows, u = static_cast<float>(c) / cols;
      float y = -halfWidth + 2 * halfWidth * u;
      float z = zTop - (zTop - zBottom) * v;
      float belly = 10 * std::sin(kPi * u) * std::sin(kPi * (0.2f + 0.8f * v));
      front.push_back(into.Vertex({x - belly - 0.8f, y, z}, {u, v}));
      back.push_back(into.Vertex({x - belly + 0.8f, y, z}, {u, v}));
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      uint32_t i = static_cast<uint32_t>(r * (cols + 1) + c), n = cols + 1;
      into.Quad(front[i], front[i + n], front[i + n + 1], front[i + 1], 8, m.paint);
      into.Quad(back[i], back[i + 1], back[i + n + 1], back[i + n], 8, m.paint);
    }
  }
}

// Pirate brig: black wooden hull, raised quarterdeck, two masts with dark square sails.
Mesh Brig(const ShipMats& m) {
  Mesh s = Hull(340, 36, 26, -24, 16, 0.85f);
  s.Append(Box({100, -30, 26}, {165, 30, 40}, m.wood, 48));  // quarterdeck
  for (float x : {-80.0f, 40.0f}) {
    Mast(s, m, x, 26, 190, 3, 0);
    Sail(s, m, x, 200, 130, 52);
    Sail(s, m, x, 120, 60, 62);
  }
  s.Append(Cylinder({-170, 0, 34}, {-240, 0, 56}, 2.5f, 1.5f, 6, m.dark, true));  // bowsprit
  for (float side : {-1.0f, 1.0f}) {
    for (float x : {-60.0f, -10.0f, 40.0f})  // guns run out of the ports
      s.Append(Cylinder({x, side * 30, 24}, {x, side * 44, 24}, 3, 2.5f, 8, m.dark, true));
  }
  s.Append(Box({40.5f, -1, 214}, {41.5f, 22, 230}, m.funnel, 32));  // the black flag
  return s;
}

// Steam frigate: a long hull with a gun row on each side, three masts with yards, one funnel.
Mesh Frigate(const ShipMats& m) {
  Mesh s = Hull(560, 44, 30, -26, 14, 0.8f);
  Deckhouse(s, m, -40, 60, 24, 30, 50);
  Funnel(s, m, 10, 50, 13, 60, 8);
  Mast(s, m, -170, 30, 200, 3.5f, 56);
  Mast(s, m, -60, 30, 220, 3.5f, 62);
  Mast(s, m, 150, 30, 180, 3, 50);
  for (float side : {-1.0f, 1.0f}) {
    for (int i = 0; i < 9; ++i) {  // the broadside
      float x = -200 + i * 44.0f;
      s.Append(Cylinder({x, side * 38, 22}, {x, side * 58, 23}, 4, 3.2f, 8, m.dark, true));
    }
    Boat(s, m, 110, side * 26, 30, 40);
  }
  Gun(s, m, -240, 0, 34, 12, 1, 1, true);
  return s;
}

// Floating chest: an iron-bound wooden box, its lid thrown open on a heap of gold coins. In
// model units of the 0.012 draw scale (83 units to a world unit).
Mesh CoinChest(const ShipMats& m) {
  Mesh s = Box({-34, -22, -6}, {34, 22, 22}, m.wood, 40);
  for (float x : {-26.0f, 0.0f, 26.0f})  // iron bands
    s.Append(Box({x - 2.5f, -23, -6}, {x + 2.5f, 23, 23}, m.dark, 32));
  Mesh lid = Box({-34, -2, 0}, {34, 2, 30}, m.wood, 40);
  lid.RotateX(-0.35f).Translate({0, 24, 22});
  s.Append(lid);
  Mesh gold = Sphere({0, 0, 0}, 1, 12, 6, m.funnel);
  gold.Scale({30, 18, 10});
  for (Vec3& p : gold.pos) p.z = std::max(p.z, 0.0f);
  gold.Translate({0, -1, 21});
  s.Append(gold);
  for (int i = 0; i < 6; ++i) {  // loose coins on the heap
    float a = i * 1.05f;
    Vec3 c{std::cos(a) * 18, std::sin(a) * 9, 26};
    s.Append(Cylinder(c, c + Vec3{0, 0, 2}, 4, 4, 10, m.funnel, true));
  }
  return s;
}

// Contact mine: a black sphere with horns, riding on a float ring at the waterline.
Mesh SeaMine(const ShipMats& m) {
  const Vec3 centre{0, 0, 30};
  Mesh s = Sphere(centre, 44, 14, 8, m.dark);
  for (int i = 0; i < 8; ++i) {
    float a = 2 * kPi * i / 8;
    for (float e : {0.45f, -0.1f}) {
      if (e < 0 && i % 2) continue;
      Vec3 d{std::cos(a) * std::cos(e), std::sin(a) * std::cos(e), std::sin(e)};
      s.Append(Cylinder(centre + d * 40, centre + d * 58, 5, 3, 6, m.metal, true));
    }
  }
  s.Append(Cylinder({0, 0, 70}, {0, 0, 90}, 4, 4, 6, m.metal, true));
  for (int i = 0; i < 12; ++i) {  // float ring
    float a0 = 2 * kPi * i / 12, a1 = 2 * kPi * (i + 1) / 12;
    s.Append(Cylinder({std::cos(a0) * 52, std::sin(a0) * 52, 2},
                      {std::cos(a1) * 52, std::sin(a1) * 52, 2}, 9, 9, 8, m.paint, false));
  }
  return s;
}

// One frame of the shore battery: the gun swept by `sweep` radians about z; damaged frames are
// blackened, the gun tipped on its mount and sandbags gone. Modelled at scale 0.005, then
// shrunk for the 0.039 draw scale.
Mesh ShoreBatteryFrame(const ShipMats& m, uint16_t burnt, float sweep, bool damaged) {
  Mesh s = Cylinder({0, 0, 0}, {0, 0, 20}, 80, 72, 16, damaged ? burnt : m.house, true);
  Roof(s, damaged ? burnt : m.paint);
  for (int i = 0; i < 14; ++i) {  // sandbag ring
    float a = 2 * kPi * i / 14;
    if (std::cos(a) < -0.75f) continue;  // open towards the gun's field of fire
    if (damaged && i % 3 == 1) continue;
    Mesh bag = Box({-10, -5, 0}, {10, 5, 9}, m.wood, 32);
    bag.RotateZ(a + kPi / 2).Translate({std::cos(a) * 66, std::sin(a) * 66, 20});
    s.Append(bag);
  }
  Mesh gun;
  Gun(gun, m, 0, 0, 0, 30, 1, 1, true);
  if (damaged) gun.SetMaterial(burnt).RotateY(-0.35f);
  gun.RotateZ(sweep).Translate({0, 0, 20});
  s.Append(gun);
  const float shrink = 0.005f / 0.039f;
  s.Scale({shrink, shrink, shrink});
  return s;
}

// A small aircraft or airship body along x (nose towards -x): fuselage, wings and tail.
Mesh Aircraft(const ShipMats& m, float length, float span, float radius, int engines) {
  Mesh s =
      Cylinder({length / 2, 0, 0}, {-length / 2, 0, 0}, radius * 0.5f, radius, 12, m.paint, true);
  s.Append(
      Cylinder({-length / 2, 0, 0}, {-length / 2 - radius, 0, 0}, radius, 0, 12, m.dark, false));
  s.Append(Box({-length * 0.12f, -span / 2, -radius * 0.2f},
               {length * 0.08f, span / 2, radius * 0.1f}, m.house, 64));
  s.Append(Box({length * 0.38f, -span / 5, -radius * 0.1f},
               {length * 0.5f, span / 5, radius * 0.1f}, m.house, 64));
  s.Append(Box({length * 0.4f, -2, 0}, {length * 0.5f, 2, radius * 1.8f}, m.house, 64));
  for (int e = 0; e < engines; ++e) {
    float y = engines == 1 ? 0 : (e - (engines - 1) / 2.0f) * span / engines;
    if (engines > 1)
      s.Append(Cylinder({0, y, -radius * 0.2f}, {-length * 0.2f, y, -radius * 0.2f}, radius * 0.3f,
                        radius * 0.25f, 8, m.metal, true));
  }
  s.Append(Box({-length * 0.3f, -radius * 0.4f, radius * 0.6f},
               {-length * 0.15f, radius * 0.4f, radius * 1.1f}, m.dark, 32));  // cockpit
  return s;
}

// A gate between two stone towers: a grille of bars with a lock plate for a key gate, or the
// solid leaf of a sluice. Along x (the heading it slides along), modelled at scale 0.01.
Mesh GateLeaf(const ShipMats& m, bool solid, bool banded) {
  Mesh s;
  for (float y : {-90.0f, 90.0f}) {
    s.Append(Box({-24, y - 24, -20}, {24, y + 24, 110}, m.house, 48));
    s.Append(Box({-28, y - 28, 110}, {28, y + 28, 122}, m.paint, 48));
  }
  if (solid) {
    s.Append(Box({-8, -66, -20}, {8, 66, 90}, m.metal, 48));
    for (float z : {10.0f, 45.0f, 80.0f}) s.Append(Box({-10, -66, z}, {10, 66, z + 6}, m.dark, 32));
  } else {
    for (float y = -60; y <= 60; y += 15)
      s.Append(Cylinder({0, y, -20}, {0, y, 92}, 3, 3, 6, m.dark, true));
    for (float z : {0.0f, 50.0f, 90.0f}) s.Append(Box({-4, -66, z}, {4, 66, z + 6}, m.dark, 32));
  }
  if (banded) s.Append(Box({-12, -30, 60}, {12, 30, 78}, m.funnel, 32));  // the lock plate
  // Across the bow axis: a door slides along its heading, so the leaf lies along it.
  s.RotateZ(kPi / 2);
  return s;
}

// Kinds modelled here, element by element, already at their draw scale. `element` 0 is the
// hull; higher elements are the part frames the unit drawing selects.
Mesh FleetBody(int32_t k, const ShipMats& m, uint16_t burnt, int element) {
  Mesh s;
  switch (k) {
    case kind::kHeavyGunship: {
      s = Cylinder({0, 0, -10}, {0, 0, 24}, 70, 62, 16, m.house, true);
      Roof(s, m.paint);
      Gun(s, m, 0, 0, 24, 34, 1, 2, true);
      break;
    }
    case kind::kBuoy: {
      s = Cylinder({0, 0, -20}, {0, 0, 30}, 40, 30, 12, m.funnel, true);
      s.Append(Cylinder({0, 0, 30}, {0, 0, 120}, 4, 3, 6, m.dark, true));
      s.Append(Sphere({0, 0, 130}, 14, 10, 6, m.paint));
      break;
    }
    case kind::kSubmarine: {
      // Frames 0..40 follow the bobbing phase: the boat rides a little lower, then higher.
      s = Hull(420, 24, 6, -30, 2, 0.3f);
      s.Append(Box({-60, -12, 6}, {10, 12, 44}, m.paint, 48));
      s.Append(Cylinder({-30, 0, 44}, {-30, 0, 80}, 2, 2, 5, m.dark, true));
      s.Append(Box({-170, -6, 10}, {-90, 6, 14}, m.metal, 48));
      s.Translate({0, 0, -8 + 6 * std::sin(2 * kPi * static_cast<float>(element) / 41)});
      break;
    }
    case kind::kSteamRam: {
      s = Hull(300, 30, 18, -20, 4, 0.8f);
      s.Append(Cylinder({-150, 0, 2}, {-200, 0, -4}, 12, 2, 8, m.metal, true));  // the ram
      Deckhouse(s, m, 10, 80, 20, 18, 40);
      // Frames 0..22: the funnel's smoke cap rocks with the engine.
      Funnel(s, m, 40, 40, 10, 40 + 4 * std::sin(element * 0.55f), 4);
      break;
    }
    case kind::kFortTower: {
      s = Cylinder({0, 0, 0}, {0, 0, 180}, 90, 75, 16, m.house, true);
      Roof(s, m.paint);
      Gun(s, m, -20, 0, 180, 32, 1, 2, true);
      s.Append(Cylinder({40, 0, 180}, {40, 0, 260}, 2, 2, 5, m.dark, true));
      break;
    }
    case kind::kFlameGunboat:
    case kind::kFlameWallA:
    case kind::kFlameWallB: {
      const float len = k == kind::kFlameGunboat ? 320.0f : (k == kind::kFlameWallA ? 220 : 260);
      s = Hull(len, len / 10, 18, -16, 8, 0.75f);
      Deckhouse(s, m, -len * 0.1f, len * 0.2f, len / 16, 18, 38);
      Funnel(s, m, len * 0.1f, 38, 9, 34, 4);
      s.Append(Cylinder({-len * 0.3f, 0, 20}, {-len * 0.3f, 0, 40}, 12, 10, 10, m.funnel, true));
      s.Append(Cylinder({-len * 0.3f, 0, 34}, {-len * 0.5f, 0, 38}, 4, 6, 8, m.metal, true));
      break;
    }
    case kind::kBomber:
      // Drawn at 0.001: five times the model units of the 0.005 kinds.
      s = Aircraft(m, 380, 520, 30, 2).Translate({0, 0, 60}).Scale({5, 5, 5});
      break;
    case kind::kHeavyBomber:
      s = Aircraft(m, 460, 640, 38, 4).Translate({0, 0, 70});
      break;
    case kind::kShipOfTheLine: {
      s = Frigate(m);
      s.Append(Box({150, -40, 30}, {260, 40, 60}, m.wood, 48));  // stern castle
      s.Scale({1.2f, 1.15f, 1.1f});
      break;
    }
    case kind::kSkimmer: {
      s = Hull(200, 26, 10, -6, 6, 0.9f);
      s.Append(Box({-10, -12, 10}, {40, 12, 24}, m.house, 48));
      s.Append(Cylinder({60, 0, 20}, {60, 0, 60}, 3, 3, 6, m.dark, true));
      if (element == 1) s.RotateY(-0.05f).Translate({0, 0, 3});  // the second frame hops
      break;
    }
    case kind::kItemWreck22:
    case kind::kItemWreck37:
    case kind::kItemWreck50: {
      // Schooner, paddle steamer and barge wrecks: damaged (1) and sinking (2) frames blackened.
      const float len = k == kind::kItemWreck50 ? 420.0f : 360.0f;
      s = Hull(len, k == kind::kItemWreck50 ? 60 : 40, 22, -20, k == kind::kItemWreck50 ? 0 : 12,
               0.8f);
      if (k == kind::kItemWreck22) {
        for (float x : {-70.0f, 60.0f}) Mast(s, m, x, 22, element ? 80 : 160, 3, 40);
      } else if (k == kind::kItemWreck37) {
        Deckhouse(s, m, -40, 60, 26, 22, 50);
        Funnel(s, m, 10, 50, 12, element ? 20 : 60, 2);
      } else {
        for (float x : {-120.0f, -40.0f, 40.0f, 120.0f})
          s.Append(Box({x - 30, -40, 22}, {x + 30, 40, 60}, m.wood, 40));
      }
      if (element) {
        for (MeshTri& t : s.tris)
          if (t.material != m.hull) t.material = burnt;
      }
      if (element == 2) s.RotateX(0.25f).RotateY(-0.15f).Translate({0, 0, -16});
      s.Scale({0.005f / 0.055f, 0.005f / 0.055f, 0.005f / 0.055f});
      return s;
    }
    case kind::kAutogyro: {
      s = Aircraft(m, 160, 60, 20, 1).Translate({0, 0, 40});
      s.Append(Cylinder({0, 0, 60}, {0, 0, 163}, 3, 3, 6, m.dark, true));
      s.Append(Box({-6, -4, -10}, {6, 4, 40}, m.dark, 32));
      if (element == 2) s.RotateY(0.2f);  // nose down: the falling frame
      break;
    }
    case kind::kSeaplane: {
      s = Aircraft(m, 240, 320, 22, 1).Translate({0, 0, 70});
      for (float y : {-60.0f, 60.0f}) {
        s.Append(Cylinder({80, y, 10}, {-90, y, 10}, 12, 8, 10, m.paint, true));
        s.Append(Box({-10, y - 2, 10}, {10, y + 2, 62}, m.dark, 32));
      }
      if (element == 2) s.RotateX(0.4f);  // wing down
      break;
    }
    case kind::kMortarBoat: {
      s = Hull(280, 38, 16, -16, 4, 0.9f);
      Deckhouse(s, m, 50, 110, 22, 16, 40);
      // Frame e: the mortar raised by e steps as the reload fills.
      Mesh mortar = Cylinder({0, 0, 0}, {0, 0, 60}, 18, 15, 12, m.dark, true);
      mortar.RotateY(-1.2f + 0.15f * static_cast<float>(element)).Translate({-50, 0, 22});
      s.Append(Cylinder({-50, 0, 16}, {-50, 0, 26}, 30, 30, 12, m.metal, true));
      s.Append(mortar);
      break;
    }
    case kind::kGate:
    case kind::kGate2:
      return GateLeaf(m, false, false);
    case kind::kKeyGate1:
    case kind::kKeyGate2:
    case kind::kKeyGate3:
    case kind::kKeyGate1b:
    case kind::kKeyGate2b:
    case kind::kKeyGate3b:
      return GateLeaf(m, false, true);
    case kind::kLock:
    case kind::kLock2:
      return GateLeaf(m, true, false);
    case 34:
    case 38: {
      s = Box({-40, -160, -20}, {40, 160, 80}, m.house, 48);
      for (float y = -150; y <= 150; y += 50)
        s.Append(Box({-44, y - 15, 80}, {44, y + 15, 100}, m.house, 48));
      s.RotateZ(kPi / 2);  // along the heading, in line with the gate it flanks
      break;
    }
    case kind::kSwitch: {
      // Modelled at the 0.012 draw scale: a post on a float with the lever up.
      s = Cylinder({0, 0, -10}, {0, 0, 8}, 30, 26, 12, m.funnel, true);
      s.Append(Box({-6, -6, 8}, {6, 6, 50}, m.metal, 32));
      s.Append(Cylinder({0, 0, 50}, {-24, 0, 80}, 3, 3, 6, m.dark, true));
      s.Append(Sphere({-24, 0, 82}, 6, 8, 5, m.paint));
      return s;
    }
    case kind::kPirateFlagship: {
      s = Brig(m);
      s.Append(Box({120, -34, 40}, {190, 34, 64}, m.wood, 48));
      s.Scale({1.5f, 1.45f, 1.3f});
      break;
    }
    case kind::kSluiceGate: {
      s = GateLeaf(m, true, true);
      s.Scale({2, 2, 2});
      break;
    }
    case kind::kFlyingFortress: {
      // An airship: a long envelope over a gondola with guns, four engines.
      Mesh env = Sphere({0, 0, 0}, 1, 16, 10, m.house);
      env.Scale({300, 80, 80}).Translate({0, 0, 200});
      s = env;
      s.Append(Box({-90, -26, 80}, {90, 26, 120}, m.paint, 48));
      for (float y : {-70.0f, 70.0f})
        for (float x : {-60.0f, 60.0f})
          s.Append(Cylinder({x, y, 130}, {x - 40, y, 130}, 14, 10, 8, m.metal, true));
      Gun(s, m, -100, 0, 70, 16, 1, 2, false);
      for (float y : {-1.0f, 1.0f})
        s.Append(Box({260, y * 2, 200}, {320, y * 90, 206}, m.dark, 48));  // fins
      break;
    }
    case kind::kIronclad: {
      s = Monitor(m, burnt, 0);
      s.Scale({0.055f / 0.005f, 0.055f / 0.005f, 0.055f / 0.005f});
      Funnel(s, m, 60, 40, 14, 70, 4);
      Gun(s, m, 0, 0, 58, 30, 1, 2, true);
      break;
    }
    case kind::kFighter:
      s = Aircraft(m, 200, 260, 16, 1).Translate({0, 0, 50});
      break;
    default:
      throw std::runtime_error("fleet kind without a builder");
  }
  return s;
}

}  // namespace

void GenerateShips(Output& out) {
  struct Palette {
    int32_t kind;
    ShipTextures tex;
  };
  const Palette palettes[] = {
      {kind::kPaddleSteamer, {{232, 228, 218}, {240, 236, 224}, {214, 206, 186}, {200, 55, 40}}},
      {kind::kSternWheeler, {{96, 110, 72}, {120, 132, 92}, {150, 150, 120}, {60, 64, 50}}},
      {kind::kCruiser, {{150, 158, 166}, {186, 190, 196}, {120, 126, 134}, {196, 170, 120}}},
      {kind::kPatrolBoat, {{70, 72, 78}, {110, 112, 118}, {90, 92, 98}, {40, 40, 44}}},
      {kind::kGunboat, {{64, 66, 72}, {120, 116, 108}, {96, 96, 100}, {160, 40, 34}}},
      {kind::kFireShip, {{84, 60, 40}, {120, 92, 62}, {90, 70, 50}, {150, 60, 30}}},
      {kind::kTorpedoBoat, {{40, 42, 46}, {80, 82, 88}, {70, 72, 78}, {34, 34, 36}}},
      {kind::kBrig, {{36, 34, 34}, {110, 84, 58}, {58, 52, 50}, {30, 30, 30}}},
      {kind::kCoastalFort, {{150, 142, 126}, {160, 150, 132}, {120, 114, 104}, {80, 78, 72}}},
      {kind::kMonitor, {{54, 56, 60}, {96, 98, 104}, {80, 82, 88}, {140, 36, 30}}},
      {kind::kFrigate, {{46, 48, 54}, {196, 190, 176}, {208, 204, 192}, {60, 58, 56}}},
      {kind::kCoinChest, {{120, 84, 50}, {130, 96, 60}, {110, 80, 50}, {232, 190, 60}}},
      {kind::kShoreBattery, {{140, 136, 126}, {150, 146, 136}, {110, 108, 100}, {90, 88, 80}}},
      {kind::kSeaMine, {{60, 60, 60}, {90, 90, 90}, {200, 60, 40}, {60, 60, 60}}},
      {kind::kSluiceGate, {{110, 112, 116}, {130, 132, 136}, {90, 92, 96}, {200, 160, 40}}},
      {kind::kBuoy, {{200, 60, 40}, {220, 220, 210}, {230, 200, 40}, {200, 60, 40}}},
      {kind::kSubmarine, {{52, 58, 60}, {80, 88, 92}, {70, 76, 80}, {40, 44, 46}}},
      {kind::kSteamRam, {{70, 62, 56}, {130, 110, 90}, {96, 90, 84}, {150, 50, 30}}},
      {kind::kFortTower, {{160, 150, 134}, {170, 160, 140}, {120, 116, 106}, {80, 78, 72}}},
      {kind::kFlameGunboat, {{90, 50, 40}, {140, 120, 100}, {110, 70, 50}, {230, 120, 30}}},
      {kind::kBomber, {{110, 120, 90}, {140, 150, 110}, {120, 130, 96}, {60, 60, 60}}},
      {kind::kHeavyBomber, {{90, 96, 104}, {130, 136, 144}, {100, 106, 114}, {50, 50, 54}}},
      {kind::kShipOfTheLine, {{60, 44, 34}, {200, 190, 170}, {180, 150, 80}, {50, 46, 44}}},
      {kind::kSkimmer, {{180, 60, 40}, {220, 210, 190}, {200, 70, 50}, {40, 40, 44}}},
      {kind::kItemWreck22, {{96, 80, 64}, {140, 120, 96}, {110, 96, 80}, {60, 56, 50}}},
      {kind::kAutogyro, {{160, 150, 60}, {180, 170, 90}, {170, 160, 70}, {50, 50, 50}}},
      {kind::kSeaplane, {{200, 200, 196}, {220, 220, 216}, {190, 60, 50}, {50, 50, 50}}},
      {kind::kMortarBoat, {{70, 76, 64}, {120, 124, 110}, {90, 96, 84}, {40, 40, 40}}},
      {kind::kGate, {{150, 146, 136}, {160, 154, 140}, {120, 116, 108}, {90, 88, 80}}},
      {kind::kKeyGate1, {{150, 146, 136}, {160, 154, 140}, {120, 116, 108}, {210, 50, 40}}},
      {kind::kKeyGate3, {{150, 146, 136}, {160, 154, 140}, {120, 116, 108}, {230, 200, 40}}},
      {kind::kKeyGate2, {{150, 146, 136}, {160, 154, 140}, {120, 116, 108}, {50, 170, 60}}},
      {kind::kFlameWallA, {{80, 46, 40}, {150, 130, 110}, {120, 70, 50}, {230, 120, 30}}},
      {kind::kFlameWallB, {{70, 40, 36}, {140, 120, 100}, {110, 64, 46}, {230, 120, 30}}},
      {34, {{140, 136, 128}, {150, 146, 136}, {110, 108, 100}, {90, 88, 80}}},
      {kind::kSwitch, {{120, 120, 124}, {160, 160, 164}, {200, 40, 30}, {230, 200, 40}}},
      {kind::kLock, {{110, 112, 116}, {130, 132, 136}, {90, 92, 96}, {70, 72, 76}}},
      {kind::kItemWreck37, {{200, 196, 186}, {210, 206, 196}, {190, 186, 176}, {180, 50, 40}}},
      {38, {{120, 130, 136}, {140, 150, 156}, {100, 110, 116}, {80, 88, 92}}},
      {kind::kGate2, {{120, 130, 136}, {140, 150, 156}, {100, 110, 116}, {90, 88, 80}}},
      {kind::kKeyGate1b, {{120, 130, 136}, {140, 150, 156}, {100, 110, 116}, {210, 50, 40}}},
      {kind::kKeyGate3b, {{120, 130, 136}, {140, 150, 156}, {100, 110, 116}, {230, 200, 40}}},
      {kind::kKeyGate2b, {{120, 130, 136}, {140, 150, 156}, {100, 110, 116}, {50, 170, 60}}},
      {kind::kLock2, {{100, 104, 110}, {120, 124, 130}, {80, 84, 90}, {60, 64, 70}}},
      {kind::kPirateFlagship, {{30, 26, 26}, {120, 90, 60}, {60, 20, 20}, {30, 30, 30}}},
      {kind::kHeavyGunship, {{130, 128, 120}, {140, 136, 128}, {100, 100, 96}, {80, 78, 72}}},
      {kind::kFlyingFortress, {{160, 150, 130}, {190, 180, 160}, {90, 90, 96}, {60, 60, 64}}},
      {kind::kIronclad, {{60, 62, 66}, {100, 102, 108}, {84, 86, 92}, {40, 40, 44}}},
      {kind::kItemWreck50, {{110, 96, 80}, {130, 110, 90}, {100, 90, 76}, {60, 56, 50}}},
      {kind::kFighter, {{150, 160, 170}, {190, 196, 200}, {170, 40, 40}, {50, 50, 50}}},
  };
  static_assert(std::size(palettes) == std::size(kShipKinds));
  for (size_t i = 0; i < std::size(palettes); ++i) {
    const Palette& p = palettes[i];
    if (p.kind != kShipKinds[i].kind) throw std::runtime_error("ship palettes out of order");
    WriteShipTextures(out, ShipDir(p.kind), 1000u + static_cast<uint32_t>(p.kind) * 17u, p.tex);
    ModelBuilder b;
    ShipMats m = StandardMaterials(b);
    Mesh body;
    switch (p.kind) {
      case kind::kPaddleSteamer:
        body = PaddleSteamer(m);
        break;
      case kind::kSternWheeler:
        body = SternWheeler(m);
        break;
      case kind::kCruiser:
        body = Cruiser(m);
        break;
      case kind::kPatrolBoat:
        body = PatrolBoat(m);
        break;
      case kind::kGunboat:
        body = Gunboat(m);
        break;
      case kind::kFireShip:
        body = FireShip(m);
        break;
      case kind::kTorpedoBoat:
        body = TorpedoBoat(m);
        break;
      case kind::kBrig:
        body = Brig(m);
        break;
      case kind::kCoastalFort:
        body = Fort(m);
        break;
      case kind::kFrigate:
        body = Frigate(m);
        break;
      case kind::kCoinChest:
        body = CoinChest(m);
        break;
      case kind::kSeaMine:
        body = SeaMine(m);
        break;
      case kind::kMonitor: {
        out.WriteBmp(ShipDir(p.kind) + "burnt.qvt", PaintPlain(77, {46, 38, 32}, 1.0));
        for (int state = 0; state <= kShipKinds[i].parts; ++state) {
          ModelBuilder part;
          ShipMats pm = StandardMaterials(part);
          uint16_t burnt = part.Material("Burnt", "burnt.qvt");
          part.Add("hull", Monitor(pm, burnt, state));
          part.Write(out, PartFile(p.kind, state));
        }
        continue;
      }
      case kind::kShoreBattery: {
        // Elements 0..10 sweep the gun through one cycle of the unit's phase; elements 11..21
        // (and the spare 22) are the same sweep wrecked.
        out.WriteBmp(ShipDir(p.kind) + "burnt.qvt", PaintPlain(78, {50, 44, 38}, 1.0));
        for (int element = 0; element <= kShipKinds[i].parts; ++element) {
          const int frame = element % 11;
          const float sweep = 0.3f * std::sin(2 * kPi * static_cast<float>(frame) / 11);
          ModelBuilder part;
          ShipMats pm = StandardMaterials(part);
          uint16_t burnt = part.Material("Burnt", "burnt.qvt");
          part.Add("hull", ShoreBatteryFrame(pm, burnt, sweep, element >= 11));
          part.Write(out, PartFile(p.kind, element));
        }
        continue;
      }
      default: {
        // The kinds of FleetBody: every element written, each at its draw scale.
        out.WriteBmp(ShipDir(p.kind) + "burnt.qvt", PaintPlain(79, {48, 40, 34}, 1.0));
        for (int element = 0; element <= kShipKinds[i].parts; ++element) {
          ModelBuilder part;
          ShipMats pm = StandardMaterials(part);
          uint16_t burnt = part.Material("Burnt", "burnt.qvt");
          part.Add("hull", FleetBody(p.kind, pm, burnt, element));
          part.Write(out, PartFile(p.kind, element));
        }
        continue;
      }
    }
    WriteShip(out, p.kind, body, m, b);
  }
}

// Paddle wheels, as drawn for heroes 1 (pair, axle across y) and 2 (one wide stern wheel).
Mesh PaddleWheel(uint16_t wood, uint16_t iron, float radius, float halfWidth, int paddles) {
  Mesh s;
  for (float side : {-1.0f, 1.0f}) {
    float y = side * halfWidth;
    for (int i = 0; i < 20; ++i) {  // rim
      float a0 = 2 * kPi * i / 20, a1 = 2 * kPi * (i + 1) / 20;
      Vec3 p0{std::cos(a0) * radius, y, std::sin(a0) * radius},
          p1{std::cos(a1) * radius, y, std::sin(a1) * radius};
      s.Append(Cylinder(p0, p1, 1.8f, 1.8f, 5, iron, false));
    }
    for (int i = 0; i < paddles; ++i) {  // spokes
      float a = 2 * kPi * i / paddles;
      s.Append(Cylinder({0, y, 0}, {std::cos(a) * radius, y, std::sin(a) * radius}, 1.4f, 1.2f, 5,
                        iron, false));
    }
  }
  s.Append(Cylinder({0, -halfWidth - 4, 0}, {0, halfWidth + 4, 0}, 4, 4, 8, iron, true));  // axle
  for (int i = 0; i < paddles; ++i) {
    float a = 2 * kPi * i / paddles + kPi / paddles;
    Mesh board = Box({-radius * 0.32f, -halfWidth, -1.5f}, {0, halfWidth, 1.5f}, wood, 32);
    board.Translate({radius, 0, 0}).RotateY(-a);
    s.Append(board);
  }
  return s;
}

void GenerateWheels(Output& out) {
  // koleso.3ds takes its textures from ship1/, kolesa.3ds from ship2/ (written with the ships).
  for (int which = 0; which < 2; ++which) {
    ModelBuilder b;
    uint16_t wood = b.Material("Wood", "wood.qvt");
    uint16_t iron = b.Material("Dark", "dark.qvt");
    Mesh wheels;
    if (which == 0) {
      for (float side : {-1.0f, 1.0f}) {
        Mesh w = PaddleWheel(wood, iron, 46, 9, 10);
        w.Translate({0, side * 48, 0});
        wheels.Append(w);
      }
      wheels.Append(Cylinder({0, -60, 0}, {0, 60, 0}, 3, 3, 8, iron, true));
    } else {
      wheels = PaddleWheel(wood, iron, 34, 38, 12);
    }
    b.Add("wheel", wheels);
    b.Write(out, which == 0 ? "models/ships/koleso.3ds" : "models/ships/kolesa.3ds");
  }
}

}  // namespace skerrow::content
