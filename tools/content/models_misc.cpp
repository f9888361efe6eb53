// Weapon, propeller, debris, flag and island-object models, and GenerateModels.
#include <cmath>
#include <string>

#include "models_common.h"
#include "models_internal.h"
#include "noise.h"
#include "object_kinds.h"

namespace skerrow::content {

namespace {

constexpr float kPi = 3.14159265f;

Mesh Propeller(uint16_t mat, float radius, int blades, bool axisX) {
  Mesh s = Cylinder({0, 0, -radius * 0.12f}, {0, 0, radius * 0.12f}, radius * 0.14f, radius * 0.1f,
                    10, mat, true);
  for (int i = 0; i < blades; ++i) {
    float a = 2 * kPi * i / blades;
    Mesh blade = Box({radius * 0.1f, -radius * 0.11f, -radius * 0.02f},
                     {radius, radius * 0.11f, radius * 0.02f}, mat, 32);
    blade.RotateX(0.5f).RotateZ(a);
    s.Append(blade);
  }
  if (axisX) s.RotateY(kPi / 2);
  return s;
}

void WriteSingle(Output& out, const std::string& rel, const std::string& meshName, const Mesh& mesh,
                 ModelBuilder& b) {
  b.Add(meshName, mesh);
  b.Write(out, rel);
}

// A deformed plate fragment for the debris models.
Mesh Fragment(Rng& rng, uint16_t mat, float size) {
  Mesh s = Box({-size, -size * 0.6f, -size * 0.12f}, {size, size * 0.6f, size * 0.12f}, mat, 48);
  for (Vec3& p : s.pos) {
    p.x *= static_cast<float>(rng.Range(0.6, 1.3));
    p.y *= static_cast<float>(rng.Range(0.6, 1.3));
    p.z += static_cast<float>(rng.Range(-0.2, 0.2)) * size * 0.3f;
  }
  s.RotateZ(static_cast<float>(rng.Range(0, 6.28)))
      .RotateX(static_cast<float>(rng.Range(-0.6, 0.6)));
  return s;
}

// Flag on its pole: the cloth is a waving strip along +x, two-sided.
Mesh FlagCloth(uint16_t cloth, float len, float height, float phase) {
  Mesh s;
  const int n = 8;
  std::vector<uint32_t> lo, hi;
  for (int i = 0; i <= n; ++i) {
    float t = static_cast<float>(i) / n;
    float y = std::sin(t * 5.0f + phase) * 6.0f * t;
    lo.push_back(s.Vertex({t * len, y, 0}, {t, 0}));
    hi.push_back(s.Vertex({t * len, y, height - t * 3}, {t, 1}));
  }
  for (int i = 0; i < n; ++i) s.Quad(lo[i], lo[i + 1], hi[i + 1], hi[i], 1, cloth);
  return s;
}

}  // namespace

void GenerateWeapons(Output& out) {
  struct PropFile {
    const char* file;
    const char* dir;
    float radius;
    int blades;
    bool axisX;
  };
  // vint turns about x (kinds 6, 9); the others are rotors turning about z.
  const PropFile props[] = {{"vint", "Ship6", 40, 3, true},
                            {"hvint", "Ship25", 160, 2, false},
                            {"kvint", "Ship46", 140, 3, false},
                            {"mvint", "Ship24", 180, 2, false},
                            {"gvint", "Ship25", 90, 4, false}};
  bool shared25 = false;
  for (const PropFile& p : props) {
    std::string dir = std::string("models/ships/") + p.dir + "/";
    // Ship6/ already holds the patrol boat's textures, metal.qvt among them.
    const bool shipTextures = std::string(p.dir) == "Ship6";
    if (!shipTextures && (std::string(p.dir) != "Ship25" || !shared25)) {
      out.WriteBmp(dir + "metal.qvt", PaintPlain(300 + p.blades, {120, 118, 112}, 0.4));
      if (std::string(p.dir) == "Ship25") shared25 = true;
    }
    ModelBuilder b;
    uint16_t metal = b.Material("Metal", "metal.qvt");
    WriteSingle(out, std::string("models/ships/") + p.file + ".3ds", "rotor",
                Propeller(metal, p.radius, p.blades, p.axisX), b);
  }
  // Rocket (textures in ship10/, written with the brig), mine, torpedo, flak gun.
  {
    ModelBuilder b;
    uint16_t body = b.Material("Paint", "paint.qvt");
    uint16_t dark = b.Material("Dark", "dark.qvt");
    Mesh r = Cylinder({40, 0, 0}, {-30, 0, 0}, 7, 7, 10, body, false);
    r.Append(Cylinder({-30, 0, 0}, {-55, 0, 0}, 7, 0, 10, dark, false));
    r.Append(Cylinder({40, 0, 0}, {46, 0, 0}, 7, 4, 10, dark, true));
    for (int i = 0; i < 4; ++i) {
      Mesh fin = Box({26, -1, 6}, {44, 1, 18}, dark, 32);
      fin.RotateX(kPi / 2 * i);
      r.Append(fin);
    }
    WriteSingle(out, "models/rocket.3ds", "rocket", r, b);
  }
  out.WriteBmp("models/mine.qvt", PaintPlain(401, {52, 54, 50}, 0.8));
  out.WriteBmp("models/torpedo.qvt", PaintPlain(402, {140, 140, 132}, 0.3));
  out.WriteBmp("models/zenitka.qvt", PaintPlain(403, {96, 104, 84}, 0.5));
  {
    ModelBuilder b;
    uint16_t m = b.Material("Mine", "mine.qvt");
    Mesh s = Sphere({0, 0, 0}, 30, 12, 8, m);
    for (int i = 0; i < 6; ++i) {
      Vec3 d = i < 2 ? Vec3{0, 0, i ? 1.0f : -1.0f}
                     : Vec3{std::cos(i * kPi / 2), std::sin(i * kPi / 2), 0};
      s.Append(Cylinder(d * 26, d * 40, 4, 3, 6, m, true));
    }
    WriteSingle(out, "models/mine.3ds", "mine", s, b);
  }
  {
    ModelBuilder b;
    uint16_t m = b.Material("Torpedo", "torpedo.qvt");
    Mesh s = Cylinder({-50, 0, 0}, {40, 0, 0}, 7, 7, 10, m, false);
    s.Append(Sphere({-50, 0, 0}, 7, 10, 6, m));
    s.Append(Cylinder({40, 0, 0}, {56, 0, 0}, 7, 2, 10, m, false));
    s.Append(Propeller(m, 7, 4, true).Translate({58, 0, 0}));
    WriteSingle(out, "models/torpedo.3ds", "torpedo", s, b);
  }
  {
    ModelBuilder b;
    uint16_t m = b.Material("Gun", "zenitka.qvt");
    Mesh s = Cylinder({0, 0, 0}, {0, 0, 14}, 30, 26, 12, m, true);
    s.Append(Box({-16, -14, 14}, {16, 14, 32}, m, 32));
    for (float y : {-6.0f, 6.0f}) s.Append(Cylinder({0, y, 26}, {-50, y, 70}, 3, 2.5f, 6, m, true));
    WriteSingle(out, "models/zenitka.3ds", "gun", s, b);
  }
}

void GenerateDebrisAndFlags(Output& out) {
  const std::string os = "models/ships/Oskolki/";
  out.WriteBmp(os + "hull.qvt", PaintHull(501, {70, 72, 76}));
  out.WriteBmp(os + "wood.qvt", PaintWood(502, {120, 84, 52}));
  for (int k = 1; k <= 7; ++k) {
    Rng rng(600 + k);
    ModelBuilder b;
    uint16_t hull = b.Material("Hull", "hull.qvt");
    uint16_t wood = b.Material("Wood", "wood.qvt");
    Mesh s;
    int pieces = 1 + k % 3;
    for (int i = 0; i < pieces; ++i) {
      Mesh f = Fragment(rng, (k + i) % 2 ? hull : wood, static_cast<float>(rng.Range(10, 24)));
      f.Translate(
          {static_cast<float>(rng.Range(-12, 12)), static_cast<float>(rng.Range(-12, 12)), 0});
      s.Append(f);
    }
    WriteSingle(out, os + "Os" + std::to_string(k) + ".3ds", "debris", s, b);
  }
  // Flags: flag.3ds and flag1..10.3ds, each with its own cloth texture, written in both texture
  // directories the loader uses for them.
  const Rgb colours[11][2] = {{{200, 30, 30}, {240, 240, 240}}, {{30, 60, 170}, {240, 240, 240}},
                              {{200, 30, 30}, {30, 60, 170}},   {{30, 140, 50}, {240, 220, 60}},
                              {{240, 240, 240}, {30, 30, 30}},  {{240, 200, 40}, {200, 30, 30}},
                              {{30, 30, 30}, {200, 30, 30}},    {{30, 140, 160}, {240, 240, 240}},
                              {{120, 40, 140}, {240, 220, 60}}, {{240, 120, 30}, {240, 240, 240}},
                              {{30, 60, 170}, {240, 200, 40}}};
  for (int k = 0; k <= 10; ++k) {
    std::string name = k == 0 ? "flag" : "flag" + std::to_string(k);
    Image cloth = PaintCloth(700 + k, colours[k][0], colours[k][1], 1 + k % 4);
    out.WriteBmp("models/ships/Ship35/" + name + ".qvt", cloth);
    out.WriteBmp("models/" + name + ".qvt", cloth);
    ModelBuilder b;
    uint16_t c = b.Material("Cloth", name + ".qvt", {230, 230, 230}, true);
    uint16_t pole = b.Material("Pole", "", {90, 80, 70});
    Mesh s = Cylinder({0, 0, 0}, {0, 0, 120}, 1.8f, 1.4f, 6, pole, true);
    s.Append(FlagCloth(c, 60, 36, k * 0.7f).Translate({1.5f, 0, 82}));
    WriteSingle(out, "models/" + name + ".3ds", "flag", s, b);
  }
}

namespace {

Mesh Palm(uint16_t trunk, uint16_t leaf, uint16_t nut, float height, float lean, uint32_t seed) {
  Mesh s;
  Rng rng(seed);
  const int segs = 8;
  Vec3 prev{0, 0, 0};
  for (int i = 1; i <= segs; ++i) {
    float t = static_cast<float>(i) / segs;
    Vec3 p{lean * t * t * height, 0, t * height};
    s.Append(Cylinder(prev, p, 9 - 3 * t + (i % 2), 8 - 3 * t, 8, trunk, i == segs));
    prev = p;
  }
  int fronds = 7;
  for (int f = 0; f < fronds; ++f) {
    float a = 2 * kPi * f / fronds + static_cast<float>(rng.Range(-0.2, 0.2));
    float len = height * static_cast<float>(rng.Range(0.42, 0.55));
    // A frond: a strip arching up then drooping, two-sided leaf material.
    std::vector<uint32_t> l, r;
    for (int i = 0; i <= 6; ++i) {
      float t = i / 6.0f;
      float w = std::sin(t * kPi) * len * 0.16f + 1;
      float dist = t * len, drop = (t * 0.9f - t * t * 1.5f) * len * 0.5f;
      Vec3 c{std::cos(a) * dist, std::sin(a) * dist, drop};
      Vec3 side{-std::sin(a) * w, std::cos(a) * w, 0};
      l.push_back(s.Vertex(prev + c - side, {0, t}));
      r.push_back(s.Vertex(prev + c + side, {1, t}));
    }
    for (int i = 0; i < 6; ++i) s.Quad(l[i], l[i + 1], r[i + 1], r[i], 2, leaf);
  }
  for (int i = 0; i < 3; ++i) {
    float a = 2 * kPi * i / 3;
    s.Append(Sphere(prev + Vec3{std::cos(a) * 7, std::sin(a) * 7, -6}, 5, 6, 4, nut));
  }
  return s;
}

Mesh Rock(uint16_t mat, float radius, float flatten, uint32_t seed) {
  Mesh s = Sphere({0, 0, 0}, radius, 14, 9, mat);
  for (Vec3& p : s.pos) {
    Vec3 d = Normalised(p);
    double n = Fbm(d.x * 2 + 5, d.y * 2 + d.z * 1.7 + 5, seed, 3);
    p = p * static_cast<float>(0.75 + 0.5 * n);
    p.z = p.z * flatten;
    if (p.z < -radius * 0.2f) p.z = -radius * 0.2f;
  }
  s.Translate({0, 0, radius * 0.15f});
  return s;
}

// The object's soft shadow: a dark textured quad on the ground, offset away from the lights.
Mesh ShadowQuad(uint16_t mat, float radius, float height) {
  float off = height * 0.35f;
  Mesh s = Quad({-radius, -radius - off, 1}, {radius, -radius - off, 1}, {radius, radius * 0.6f, 1},
                {-radius, radius * 0.6f, 1}, mat);
  return s;
}

}  // namespace

void GenerateObjects(Output& out) {
  const std::string dir = "models/objects/";
  out.WriteBmp(dir + "bark.qvt", PaintWood(801, {120, 92, 62}));
  out.WriteBmp(dir + "frond.qvt", PaintLeaves(802, {70, 140, 50}));
  out.WriteBmp(dir + "bush.qvt", PaintLeaves(803, {40, 100, 36}));
  out.WriteBmp(dir + "rock.qvt", PaintRock(804, {130, 124, 114}));
  out.WriteBmp(dir + "stone.qvt", PaintStone(805, {170, 160, 140}));
  out.WriteBmp(dir + "thatch.qvt", PaintThatch(806));
  out.WriteBmp(dir + "plank.qvt", PaintWood(807, {150, 112, 70}));
  out.WriteBmp(dir + "white.qvt", PaintPlain(808, {236, 232, 224}, 0.3));
  out.WriteBmp(dir + "red.qvt", PaintPlain(809, {190, 40, 34}, 0.3));
  // The campfire is drawn additively: flames bright at the base fading to black at the tips,
  // and a round glow for its ground model.
  {
    Image fire(64, 64), glow(64, 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        double v = 1 - (y + 0.5) / 64;  // texture v: 0 at the flame's base
        double n = Fbm(x / 8.0, y / 8.0, 811, 3, 8);
        double heat = Clamp01((1 - v) * (0.7 + 0.6 * n));
        uint8_t* p = fire.At(x, y);
        p[0] = static_cast<uint8_t>(255 * Clamp01(heat * 1.6));
        p[1] = static_cast<uint8_t>(255 * Clamp01(heat * 1.3 - 0.25));
        p[2] = static_cast<uint8_t>(255 * Clamp01(heat - 0.6));
        double dx = (x - 31.5) / 31.5, dy = (y - 31.5) / 31.5;
        double g = std::exp(-(dx * dx + dy * dy) * 5) *
                   (1 - SmoothStep(0.85, 1.0, std::sqrt(dx * dx + dy * dy)));
        uint8_t* q = glow.At(x, y);
        q[0] = static_cast<uint8_t>(230 * g);
        q[1] = static_cast<uint8_t>(120 * g);
        q[2] = static_cast<uint8_t>(40 * g);
      }
    out.WriteBmp(dir + "fire.qvt", fire);
    out.WriteBmp(dir + "glow.qvt", glow);
  }
  // Shadow texture: black, with a soft round alpha in its companion (name + "a").
  {
    Image black(64, 64);
    std::vector<uint8_t> alpha(64 * 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        double dx = (x - 31.5) / 31.5, dy = (y - 31.5) / 31.5;
        double d = std::sqrt(dx * dx + dy * dy);
        alpha[y * 64 + x] = static_cast<uint8_t>(150 * (1 - SmoothStep(0.35, 1.0, d)));
      }
    out.WriteBmp(dir + "objshad.qvt", black);
    out.WriteAlphaBmp(dir + "objshad.qvta", 64, 64, alpha);
  }
  for (const ObjectKindInfo& info : kObjectKinds) {
    ModelBuilder b;
    uint16_t bark = b.Material("Bark", "bark.qvt");
    uint16_t frond = b.Material("Frond", "frond.qvt", {230, 230, 230}, true);
    uint16_t rock = b.Material("Rock", "rock.qvt");
    uint16_t stone = b.Material("Stone", "stone.qvt");
    uint16_t thatch = b.Material("Thatch", "thatch.qvt");
    uint16_t plank = b.Material("Plank", "plank.qvt");
    uint16_t white = b.Material("White", "white.qvt");
    uint16_t red = b.Material("Red", "red.qvt");
    uint16_t bush = b.Material("Bush", "bush.qvt");
    float h = info.heightWorld * 200, r = info.footprint * 200;
    Mesh s;
    switch (info.kind) {
      case 1:
        s = Palm(bark, frond, bark, h, 0.15f, 11);
        break;
      case 5:
        s = Palm(bark, frond, bark, h, 0.7f, 15);
        break;
      case 2:
        s = Rock(rock, r, 0.75f, 21);
        break;
      case 3:
        s = Rock(rock, r * 0.6f, 2.2f, 31);
        s.Append(Rock(rock, r * 0.45f, 1.6f, 32).Translate({r * 0.6f, r * 0.3f, 0}));
        s.Append(Rock(rock, r * 0.4f, 1.2f, 33).Translate({-r * 0.4f, r * 0.55f, 0}));
        break;
      case 4: {
        uint16_t fire = b.Material("Fire", "fire.qvt");
        for (int i = 0; i < 8; ++i) {
          float a = 2 * kPi * i / 8;
          // Dark stones: the whole model is added onto the frame in fire colours.
          s.Append(Rock(bark, 9, 0.8f, 40 + i).Translate({std::cos(a) * 36, std::sin(a) * 36, 0}));
        }
        for (int i = 0; i < 3; ++i) {
          Mesh log = Cylinder({-26, 0, 6}, {26, 0, 6}, 5, 5, 6, plank, true);
          s.Append(log.RotateZ(i * kPi / 3));
        }
        s.Append(Cylinder({0, 0, 6}, {0, 0, 50}, 20, 0, 8, fire, false));
        s.Append(Cylinder({10, 6, 6}, {8, 4, 34}, 10, 0, 6, fire, false));
        break;
      }
      case 6: {
        for (float x : {-1.0f, 1.0f})
          for (float y : {-1.0f, 1.0f})
            s.Append(Cylinder({x * 90, y * 70, 0}, {x * 90, y * 70, 30}, 5, 5, 6, bark, true));
        s.Append(Box({-100, -80, 30}, {100, 80, 36}, plank, 64));
        s.Append(Box({-90, -70, 36}, {90, 70, 110}, plank, 64));
        s.Append(Box({-92, -20, 36}, {-90.5f, 20, 90}, rock, 64));  // doorway (dark stone texture)
        Mesh roof = Cylinder({0, 0, 105}, {0, 0, 200}, 135, 0, 4, thatch, true);
        roof.RotateZ(kPi / 4);
        s.Append(roof);
        break;
      }
      case 7: {
        for (float x : {-1.0f, 1.0f})
          for (float y : {-1.0f, 1.0f})
            s.Append(Cylinder({x * 60, y * 60, 0}, {x * 40, y * 40, 280}, 5, 4, 6, bark, true));
        s.Append(Box({-55, -55, 280}, {55, 55, 290}, plank, 64));
        for (float x : {-1.0f, 1.0f}) {
          s.Append(Box({-55, x * 54 - 1, 290}, {55, x * 54 + 1, 316}, plank, 64));
          s.Append(Box({x * 54 - 1, -55, 290}, {x * 54 + 1, 55, 316}, plank, 64));
        }
        Mesh roof = Cylinder({0, 0, 330}, {0, 0, 370}, 75, 0, 4, thatch, true);
        roof.RotateZ(kPi / 4);
        s.Append(roof);
        for (float x : {-1.0f, 1.0f})
          for (float y : {-1.0f, 1.0f})
            s.Append(
                Cylinder({x * 44, y * 44, 290}, {x * 44, y * 44, 332}, 2.5f, 2.5f, 5, bark, false));
        break;
      }
      case 8:
        s = Rock(bush, r, 0.8f, 81);
        for (int i = 0; i < 5; ++i) {
          float a = i * 1.3f;
          s.Append(
              Sphere({std::cos(a) * r * 0.7f, std::sin(a) * r * 0.7f, r * 0.8f}, 6, 6, 4, red));
        }
        break;
      case 9: {
        s = Box({-160, -30, 0}, {160, 30, 100}, stone, 64);
        for (int i = 0; i < 8; ++i) {
          float x = -150 + i * 42.0f;
          s.Append(Box({x, -30, 100}, {x + 22, 30, 124}, stone, 64));
        }
        break;
      }
      case 10: {
        for (int i = 0; i < 5; ++i) {
          float z0 = i * 76.0f, z1 = z0 + 76;
          float r0 = 70 - z0 * 0.08f, r1 = 70 - z1 * 0.08f;
          s.Append(Cylinder({0, 0, z0}, {0, 0, z1}, r0, r1, 16, i % 2 ? red : white, false));
        }
        s.Append(Cylinder({0, 0, 380}, {0, 0, 390}, 50, 50, 16, red, true));
        s.Append(Cylinder({0, 0, 390}, {0, 0, 430}, 28, 28, 12, stone, false));
        s.Append(Cylinder({0, 0, 430}, {0, 0, 470}, 34, 0, 12, red, true));
        break;
      }
      case 11: {
        s = Box({-40, -40, 0}, {40, 40, 70}, plank, 48);
        s.Append(Box({-30, -30, 70}, {30, 30, 110}, plank, 48));
        s.Append(Box({44, -50, 0}, {90, -4, 46}, plank, 48));
        s.Append(Cylinder({-50, 60, 0}, {-50, 60, 60}, 20, 20, 10, bark, true));
        s.Append(Cylinder({-5, 64, 0}, {-5, 64, 60}, 20, 20, 10, bark, true));
        break;
      }
      case 12: {
        s = Box({-200, -50, 50}, {200, 50, 58}, plank, 64);
        for (float x = -190; x <= 190; x += 76)
          for (float y : {-44.0f, 44.0f})
            s.Append(Cylinder({x, y, -40}, {x, y, 62}, 6, 6, 6, bark, true));
        break;
      }
      default:
        s = Rock(rock, r, 1.0f, 90 + info.kind);
        break;
    }
    b.Add("object", s);
    b.Write(out, dir + "object" + std::to_string(info.kind) + ".3ds");

    ModelBuilder sb;
    Mesh shadow;
    if (info.kind == 4) {
      uint16_t glow = sb.Material("Glow", "glow.qvt", {255, 255, 255}, true);
      shadow = Quad({-90, -90, 2}, {90, -90, 2}, {90, 90, 2}, {-90, 90, 2}, glow);
    } else {
      uint16_t shade = sb.Material("Shadow", "objshad.qvt", {255, 255, 255}, true);
      shadow = ShadowQuad(shade, std::max(r * 1.3f, 40.0f), h);
    }
    sb.Add("shadow", shadow);
    sb.Write(out, dir + "Shadow" + std::to_string(info.kind) + ".3ds");
  }
}

void GenerateModels(Output& out) {
  GenerateShips(out);
  GenerateWheels(out);
  GenerateWeapons(out);
  GenerateDebrisAndFlags(out);
  GenerateObjects(out);
}

}  // namespace skerrow::content
