// Ship, emplacement and gate models of the unit kinds (ship<N>.3ds with their textures and
// part files), built from lofted hulls and simple solids.
#include "models_ships.h"

#include <cmath>
#include <string>

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

std::string ShipDir(int kind) {
  return "models/ships/ship" + std::to_string(kind) + "/";
}
std::string ShipFile(int kind) {
  return "models/ships/ship" + std::to_string(kind) + ".3ds";
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

Mesh Destroyer(const ShipMats& m) {
  Mesh s = Hull(520, 26, 22, -18, 14, 0.7f);
  Deckhouse(s, m, -150, -100, 20, 24, 50);
  Deckhouse(s, m, -40, 120, 14, 22, 34);
  Funnel(s, m, -60, 22, 10, 58, 14);
  Funnel(s, m, 10, 22, 10, 58, 14);
  Mast(s, m, -110, 50, 80, 2, 16);
  Gun(s, m, -190, 0, 34, 12, 1, 1, true);
  Gun(s, m, 60, 0, 34, 10, -1, 1, true);
  Gun(s, m, 200, 0, 26, 12, -1, 1, true);
  for (float x : {100.0f, 150.0f})
    s.Append(Cylinder({x - 25, 0, 28}, {x + 25, 0, 28}, 5, 5, 8, m.dark, true));  // torpedo tubes
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

Mesh ShoreBattery(const ShipMats& m) {
  Mesh s = Cylinder({0, 0, 0}, {0, 0, 20}, 80, 72, 16, m.house, true);  // concrete pit
  Roof(s, m.paint);
  for (int i = 0; i < 14; ++i) {  // sandbag ring
    float a = 2 * kPi * i / 14;
    if (std::cos(a) < -0.75f) continue;  // open towards the gun's field of fire
    Mesh bag = Box({-10, -5, 0}, {10, 5, 9}, m.wood, 32);
    bag.RotateZ(a + kPi / 2).Translate({std::cos(a) * 66, std::sin(a) * 66, 20});
    s.Append(bag);
  }
  Gun(s, m, 0, 0, 20, 30, 1, 1, true);
  return s;
}

Mesh ExitGate(const ShipMats& m) {
  Mesh s;
  for (float side : {-1.0f, 1.0f}) {
    Mesh tower = Cylinder({0, side * 270, -20}, {0, side * 270, 150}, 42, 36, 12, m.house, true);
    Roof(tower, m.paint);
    s.Append(tower);
    for (int i = 0; i < 8; ++i) {
      float a = 2 * kPi * i / 8;
      s.Append(Box({std::cos(a) * 34 - 6, side * 270 + std::sin(a) * 34 - 6, 150},
                   {std::cos(a) * 34 + 6, side * 270 + std::sin(a) * 34 + 6, 164}, m.house, 64));
    }
  }
  // Boom: floats linked by a chain beam, with a barrier of stakes.
  for (int i = -5; i <= 5; ++i) {
    float y = i * 42.0f;
    s.Append(Cylinder({-12, y, 4}, {12, y, 4}, 10, 10, 8, m.wood, true));
    s.Append(Box({-2, y - 2, 4}, {2, y + 2, 40}, m.dark, 32));
  }
  s.Append(Box({-2, -240, 30}, {2, 240, 36}, m.dark, 64));
  s.Append(Box({-2, -240, 10}, {2, 240, 14}, m.dark, 64));
  return s;
}

Mesh Buoy(const ShipMats& m) {
  Mesh s = Cylinder({0, 0, -10}, {0, 0, 12}, 22, 22, 12, m.funnel, true);
  s.Append(Cylinder({0, 0, 12}, {0, 0, 52}, 16, 4, 12, m.paint, false));
  s.Append(Sphere({0, 0, 56}, 5, 8, 5, m.paint));
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
  // Built at scale 0.005 units, shrunk for the 0.01 draw scale.
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
  s.Scale({0.5f, 0.5f, 0.5f});
  return s;
}

}  // namespace

void GenerateShips(Output& out) {
  struct Palette {
    int kind;
    ShipTextures tex;
  };
  const Palette palettes[] = {
      {1, {{232, 228, 218}, {240, 236, 224}, {214, 206, 186}, {200, 55, 40}}},
      {2, {{96, 110, 72}, {120, 132, 92}, {150, 150, 120}, {60, 64, 50}}},
      {3, {{150, 158, 166}, {186, 190, 196}, {120, 126, 134}, {196, 170, 120}}},
      {4, {{70, 72, 78}, {110, 112, 118}, {90, 92, 98}, {40, 40, 44}}},
      {5, {{64, 66, 72}, {120, 116, 108}, {96, 96, 100}, {160, 40, 34}}},
      {7, {{58, 62, 70}, {104, 108, 116}, {84, 88, 96}, {60, 60, 66}}},
      {8, {{140, 136, 126}, {150, 146, 136}, {110, 108, 100}, {90, 88, 80}}},
      {10, {{120, 116, 108}, {150, 142, 126}, {110, 104, 96}, {170, 40, 34}}},
      {13, {{200, 40, 34}, {230, 230, 226}, {240, 200, 60}, {200, 40, 34}}},
      {15, {{54, 56, 60}, {96, 98, 104}, {80, 82, 88}, {140, 36, 30}}},
      {16, {{40, 42, 46}, {80, 82, 88}, {70, 72, 78}, {34, 34, 36}}},
      {28, {{150, 142, 126}, {160, 150, 132}, {120, 114, 104}, {80, 78, 72}}},
  };
  for (const Palette& p : palettes) {
    WriteShipTextures(out, ShipDir(p.kind), 1000u + p.kind * 17u, p.tex);
    ModelBuilder b;
    ShipMats m = StandardMaterials(b);
    Mesh body;
    switch (p.kind) {
      case 1:
        body = PaddleSteamer(m);
        break;
      case 2:
        body = SternWheeler(m);
        break;
      case 3:
        body = Cruiser(m);
        break;
      case 4:
        body = PatrolBoat(m);
        break;
      case 5:
        body = Gunboat(m);
        break;
      case 7:
        body = Destroyer(m);
        break;
      case 8:
        body = ShoreBattery(m);
        break;
      case 10:
        body = ExitGate(m);
        break;
      case 13:
        body = Buoy(m);
        break;
      case 16:
        body = TorpedoBoat(m);
        break;
      case 28:
        body = Fort(m);
        break;
      case 15: {
        out.WriteBmp(ShipDir(15) + "burnt.qvt", PaintPlain(77, {46, 38, 32}, 1.0));
        for (int state = 0; state < 3; ++state) {
          ModelBuilder part;
          ShipMats pm = StandardMaterials(part);
          uint16_t burnt = part.Material("Burnt", "burnt.qvt");
          part.Add("hull", Monitor(pm, burnt, state));
          part.Write(out, state == 0 ? ShipFile(15)
                                     : "models/ships/ship15-" + std::to_string(state) + ".3ds");
        }
        continue;
      }
      default:
        continue;
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
