// The model and effect share of the content pack: the 3DS writer read back through the game's
// reader, every generated model and picture loadable, file names and texture directories as
// the loaders form them, byte-identical output across runs, and preview renderings.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "content.h"
#include "engine/file3ds.h"
#include "engine/ktzgl.h"
#include "engine/model.h"
#include "engine/picture.h"
#include "max3ds_writer.h"
#include "mesh.h"
#include "models_ships.h"
#include "object_kinds.h"
#include "platform/platform.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The game looks names up without regard to case: finds rel (with '/') under root that way.
std::string FindNoCase(const fs::path& root, const std::string& rel) {
  fs::path at = root;
  size_t start = 0;
  while (start <= rel.size()) {
    size_t slash = rel.find('/', start);
    std::string part =
        rel.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (!part.empty()) {
      bool found = false;
      std::error_code ec;
      for (const auto& e : fs::directory_iterator(at, ec)) {
        if (Lower(e.path().filename().string()) == Lower(part)) {
          at = e.path();
          found = true;
          break;
        }
      }
      if (!found) return "";
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return at.string();
}

Max3dsScene SmallScene() {
  Max3dsScene s;
  Max3dsMaterial painted;
  painted.name = "Paint";
  painted.ambient = {255, 0, 51};
  painted.diffuse = {10, 20, 30};
  painted.shininessPercent = 25;
  painted.textureFile = "paint.qvt";
  Max3dsMaterial cloth;
  cloth.name = "Cloth";
  cloth.twoSided = true;
  s.materials = {painted, cloth};
  Mesh box = Box({-1, -2, 0}, {1, 2, 3}, 0, 2);
  for (size_t i = 6; i < box.tris.size(); ++i) box.tris[i].material = 1;
  s.meshes.push_back(ToMax3ds(box, "box"));
  Max3dsMesh bare;
  bare.name = "bare";
  bare.hidden = true;
  bare.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  bare.faces = {{0, 1, 2, 0, 1}};
  s.meshes.push_back(bare);
  Max3dsNode parent;
  parent.name = "box";
  parent.instance = "01";
  parent.id = 0;
  Max3dsNode child;
  child.name = "bare";
  child.id = 1;
  child.parent = 0;
  child.pivot = {1, 2, 3};
  child.position = {4, 5, 6};
  child.angle = 0.5f;
  child.scale = {2, 2, 2};
  s.nodes = {parent, child};
  return s;
}

TEST(Max3dsWriter, ReadsBackThroughTheGameReader) {
  Max3dsScene scene = SmallScene();
  TFile3DS file(Encode3ds(scene));
  EXPECT_EQ(file.RootId(), kChunkM3DMagic);
  EXPECT_EQ(file.DatabaseRelease(), kRelease3);
  EXPECT_EQ(file.MeshRelease(), kRelease3);

  ASSERT_EQ(file.Materials().Count(), 2);
  TMaterial3DS paint = file.Materials().Material(0);
  EXPECT_EQ(paint.name, "Paint");
  EXPECT_FLOAT_EQ(paint.ambient.r, 1.0f);
  EXPECT_FLOAT_EQ(paint.ambient.b, 0.2f);
  EXPECT_NEAR(paint.diffuse.g, 20 / 255.0f, 1e-6);
  EXPECT_FLOAT_EQ(paint.shininess, 0.25f);
  EXPECT_FLOAT_EQ(paint.transparency, 0.0f);
  EXPECT_EQ(paint.shading, 3);
  EXPECT_FALSE(paint.twoSided);
  EXPECT_EQ(paint.textureName, "paint.qvt");
  TMaterial3DS cloth = file.Materials().Material(1);
  EXPECT_TRUE(cloth.twoSided);
  EXPECT_EQ(cloth.textureName, "");

  ASSERT_EQ(file.Objects().MeshCount(), 2);
  TMesh3DS box = file.Objects().Mesh(0);
  const Max3dsMesh& want = scene.meshes[0];
  EXPECT_EQ(box.name, "box");
  EXPECT_FALSE(box.hidden);
  ASSERT_EQ(box.vertices.size(), want.vertices.size());
  for (size_t i = 0; i < want.vertices.size(); ++i) {
    EXPECT_EQ(box.vertices[i].x, want.vertices[i][0]);
    EXPECT_EQ(box.vertices[i].z, want.vertices[i][2]);
  }
  ASSERT_EQ(box.texCoords.size(), want.uvs.size());
  EXPECT_EQ(box.texCoords[5].u, want.uvs[5][0]);
  EXPECT_EQ(box.texCoords[5].v, want.uvs[5][1]);
  ASSERT_EQ(box.faces.size(), 12u);
  ASSERT_EQ(box.smoothing.size(), 12u);
  for (size_t i = 0; i < 12; ++i) {
    // Stored as (a, c, b), the order the loader's release-3 normal needs.
    EXPECT_EQ(box.faces[i].a, want.faces[i].a);
    EXPECT_EQ(box.faces[i].b, want.faces[i].c);
    EXPECT_EQ(box.faces[i].c, want.faces[i].b);
    EXPECT_EQ(box.smoothing[i], want.faces[i].smoothing);
  }
  // The loader's release-3 normal, (a - b) x (c - b) of the stored corners, points out of the box.
  for (const TFace3DS& f : box.faces) {
    Vec3 a{box.vertices[f.a].x, box.vertices[f.a].y, box.vertices[f.a].z};
    Vec3 b{box.vertices[f.b].x, box.vertices[f.b].y, box.vertices[f.b].z};
    Vec3 c{box.vertices[f.c].x, box.vertices[f.c].y, box.vertices[f.c].z};
    Vec3 centreToFace = (a + b + c) * (1.0f / 3) - Vec3{0, 0, 1.5f};
    EXPECT_GT(Dot(Cross(a - b, c - b), centreToFace), 0);
  }
  ASSERT_EQ(box.materialGroups.size(), 2u);
  EXPECT_EQ(box.materialGroups[0].materialName, "Paint");
  EXPECT_EQ(box.materialGroups[0].faces, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(box.materialGroups[1].materialName, "Cloth");
  EXPECT_EQ(box.materialGroups[1].faces.size(), 6u);
  EXPECT_EQ(box.matrix, (std::array<float, 12>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));

  TMesh3DS bare = file.Objects().Mesh(1);
  EXPECT_TRUE(bare.hidden);
  EXPECT_TRUE(bare.texCoords.empty());
  ASSERT_EQ(bare.materialGroups.size(), 1u);
  EXPECT_EQ(bare.materialGroups[0].materialName, "Cloth");

  ASSERT_EQ(file.KeyFramer().MeshNodeCount(), 2);
  TMeshNode3DS p = file.KeyFramer().MeshNode(0);
  TMeshNode3DS c = file.KeyFramer().MeshNode(1);
  EXPECT_EQ(p.name, "box.01");
  EXPECT_EQ(p.parentName, "");
  EXPECT_EQ(c.name, "bare");
  EXPECT_EQ(c.parentName, "box.01");
  EXPECT_EQ(c.pivot.z, 3.0f);
  ASSERT_EQ(c.position.keys.size(), 1u);
  EXPECT_EQ(c.position.keys[0].frame, 0u);
  EXPECT_EQ(c.position.keys[0].y, 5.0f);
  ASSERT_EQ(c.rotation.keys.size(), 1u);
  EXPECT_EQ(c.rotation.keys[0].angle, 0.5f);
  EXPECT_EQ(c.rotation.keys[0].z, 1.0f);
  ASSERT_EQ(c.scale.keys.size(), 1u);
  EXPECT_EQ(c.scale.keys[0].x, 2.0f);
}

TEST(Max3dsWriter, RefusesWhatA3dsFileCannotHold) {
  struct Case {
    const char* what;
    void (*spoil)(Max3dsScene&);
  };
  const Case cases[] = {
      {"face corner past the vertices", [](Max3dsScene& s) { s.meshes[1].faces[0].c = 3; }},
      {"material past the list", [](Max3dsScene& s) { s.meshes[1].faces[0].material = 2; }},
      {"uvs not one per vertex",
       [](Max3dsScene& s) {
         s.meshes[1].uvs = {{0, 0}};
       }},
      {"name over 255 characters",
       [](Max3dsScene& s) { s.meshes[1].name = std::string(256, 'n'); }},
      {"more than 65535 vertices", [](Max3dsScene& s) { s.meshes[1].vertices.resize(65536); }},
  };
  for (const Case& c : cases) {
    Max3dsScene s = SmallScene();
    c.spoil(s);
    EXPECT_THROW(Encode3ds(s), std::invalid_argument) << c.what;
  }
  Max3dsScene s = SmallScene();
  s.meshes[1].name = std::string(255, 'n');
  EXPECT_NO_THROW(Encode3ds(s));
}

TEST(MeshKit, PrimitivesFaceOutwards) {
  // Every triangle's counter-clockwise normal points away from the solid's centre.
  struct Case {
    const char* what;
    Mesh mesh;
    Vec3 centre;
  };
  Mesh mirrored = Box({0, 0, 0}, {2, 2, 2}, 0, 1);
  mirrored.Scale({-1, 1, 1});
  std::vector<HullStation> st = {
      {-50, 0, 10, -8}, {-20, 15, 8, -8}, {20, 15, 8, -8}, {50, 12, 9, -8}};
  const Case cases[] = {
      {"box", Box({-1, -2, -3}, {3, 2, 1}, 0, 1), {1, 0, -1}},
      {"mirrored box", mirrored, {-1, 1, 1}},
      {"cylinder along y", Cylinder({0, -5, 0}, {0, 5, 0}, 2, 2, 8, 0, true), {0, 0, 0}},
      {"cone", Cylinder({0, 0, 0}, {0, 0, 6}, 3, 0, 8, 0, true), {0, 0, 1.5f}},
      {"sphere", Sphere({1, 1, 1}, 2, 8, 5, 0), {1, 1, 1}},
      {"hull", LoftHull(st, 0, 1, 10, 1), {0, 0, 0}},
  };
  for (const Case& c : cases) {
    int inward = 0;
    for (const MeshTri& t : c.mesh.tris) {
      Vec3 a = c.mesh.pos[t.a], b = c.mesh.pos[t.b], d = c.mesh.pos[t.c];
      Vec3 n = Cross(b - a, d - a);
      Vec3 mid = (a + b + d) * (1.0f / 3);
      if (Dot(n, n) > 1e-10f && Dot(n, mid - c.centre) < 0) ++inward;
    }
    EXPECT_EQ(inward, 0) << c.what;
  }
}

// ---- the generated pack ----

class GeneratedPack : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // One directory per process: ctest runs the cases of this suite in parallel processes.
    std::random_device rd;
    root_ = new fs::path(fs::temp_directory_path() /
                         ("skerrow_content_models_" + std::to_string(rd()) + std::to_string(rd())));
    fs::remove_all(*root_);
    Output out(*root_ / "gdata");
    GenerateModels(out);
    GenerateEffects(out);
    written_ = new std::vector<std::string>(out.Written());
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*root_, ec);
    delete root_;
    delete written_;
  }
  static fs::path Gdata() { return *root_ / "gdata"; }
  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::vector<uint8_t> b;
    EXPECT_TRUE(ReadFileBytes(path, b)) << path;
    return b;
  }

  static fs::path* root_;
  static std::vector<std::string>* written_;
};
fs::path* GeneratedPack::root_ = nullptr;
std::vector<std::string>* GeneratedPack::written_ = nullptr;

// The texture directory the game uses for a model file (relative, '/').
std::string TextureDirFor(const std::string& rel) {
  static const std::map<std::string, std::string> singles = {
      {"models/ships/koleso.3ds", "models/ships/Ship1/"},
      {"models/ships/kolesa.3ds", "models/ships/Ship2/"},
      {"models/ships/vint.3ds", "models/ships/Ship6/"},
      {"models/ships/hvint.3ds", "models/ships/Ship25/"},
      {"models/ships/kvint.3ds", "models/ships/Ship46/"},
      {"models/ships/mvint.3ds", "models/ships/Ship24/"},
      {"models/ships/gvint.3ds", "models/ships/Ship25/"},
      {"models/rocket.3ds", "models/ships/ship10/"},
      {"models/mine.3ds", "models/"},
      {"models/torpedo.3ds", "models/"},
      {"models/zenitka.3ds", "models/"},
  };
  auto it = singles.find(rel);
  if (it != singles.end()) return it->second;
  if (rel.starts_with("models/objects/")) return "models/objects/";
  if (rel.starts_with("models/ships/Oskolki/")) return "models/ships/Oskolki/";
  if (rel.starts_with("models/flag")) return "models/";  // and Ship35/, checked separately
  if (rel.starts_with("models/ships/ship")) {
    std::string n = rel.substr(17);
    n = n.substr(0, n.find_first_of("-."));
    return "models/ships/ship" + n + "/";
  }
  return "";
}

TEST_F(GeneratedPack, EveryModelReadsBackWithTexturedMaterialsAndSmoothing) {
  int models = 0;
  for (const std::string& rel : *written_) {
    if (!rel.ends_with(".3ds")) continue;
    ++models;
    SCOPED_TRACE(rel);
    std::string dir = TextureDirFor(rel);
    ASSERT_FALSE(dir.empty());
    TFile3DS file((Gdata() / rel).string());
    ASSERT_EQ(file.RootId(), kChunkM3DMagic);
    std::set<std::string> names;
    for (int32_t i = 0; i < file.Materials().Count(); ++i) {
      TMaterial3DS m = file.Materials().Material(i);
      names.insert(m.name);
      EXPECT_GT(m.shininess, 0.0f) << "shininess 0 would draw the texture unlit";
      if (m.textureName.empty()) continue;
      EXPECT_NE(FindNoCase(Gdata(), dir + m.textureName), "") << dir + m.textureName;
      if (rel.starts_with("models/flag")) {
        EXPECT_NE(FindNoCase(Gdata(), "models/ships/Ship35/" + m.textureName), "");
      }
    }
    ASSERT_GE(file.Objects().MeshCount(), 1);
    for (int32_t i = 0; i < file.Objects().MeshCount(); ++i) {
      TMesh3DS mesh = file.Objects().Mesh(i);
      EXPECT_GE(mesh.vertices.size(), 3u);
      EXPECT_EQ(mesh.texCoords.size(), mesh.vertices.size());
      EXPECT_EQ(mesh.smoothing.size(), mesh.faces.size());
      size_t grouped = 0;
      for (const TMaterialGroup3DS& g : mesh.materialGroups) {
        EXPECT_TRUE(names.count(g.materialName)) << g.materialName;
        grouped += g.faces.size();
      }
      EXPECT_EQ(grouped, mesh.faces.size());
      for (float v : {mesh.vertices[0].x, mesh.vertices[0].y, mesh.vertices[0].z})
        EXPECT_TRUE(std::isfinite(v));
    }
  }
  EXPECT_GT(models, 50);
}

TEST_F(GeneratedPack, HasEveryFileTheLoadersAskFor) {
  std::vector<std::string> want = {
      "models/ships/koleso.3ds",   "models/ships/kolesa.3ds", "models/ships/vint.3ds",
      "models/ships/hvint.3ds",    "models/ships/kvint.3ds",  "models/ships/mvint.3ds",
      "models/ships/gvint.3ds",    "models/mine.3ds",         "models/rocket.3ds",
      "models/torpedo.3ds",        "models/zenitka.3ds",      "models/flag.3ds",
      "textures/effects/halo1.qvt"};
  for (const ShipKindInfo& k : kShipKinds) {
    want.push_back("models/ships/ship" + std::to_string(k.kind) + ".3ds");
    for (int p = 1; p <= k.parts; ++p)
      want.push_back("models/ships/ship" + std::to_string(k.kind) + "-" + std::to_string(p) +
                     ".3ds");
  }
  for (int k = 1; k <= 7; ++k)
    want.push_back("models/ships/Oskolki/Os" + std::to_string(k) + ".3ds");
  for (int k = 1; k <= 10; ++k) want.push_back("models/flag" + std::to_string(k) + ".3ds");
  // Object models load only up to the first missing shadow: both must run from kind 1 unbroken.
  for (int k = 1; k <= kObjectKindCount; ++k) {
    want.push_back("models/objects/object" + std::to_string(k) + ".3ds");
    want.push_back("models/objects/Shadow" + std::to_string(k) + ".3ds");
  }
  for (int k = 1; k <= 255; ++k)
    want.push_back("textures/effects/sleda" + std::to_string(k) + ".qvt");
  char num[8];
  for (int kind : {1, 2, 3, 4, 5, 6, 11, 12, 13})
    for (int f = 0; f < 32; ++f) {
      std::snprintf(num, sizeof num, "%04d", f);
      want.push_back("textures/bonuses/bonus" + std::to_string(kind) + "/an" + num + ".qvt");
    }
  for (int kind : {7, 8, 9, 10, 16, 17, 18, 19})
    want.push_back("textures/bonuses/bonus" + std::to_string(kind) + ".qvt");
  for (int set : {1, 3})
    for (int f = 1; f <= 16; ++f)
      want.push_back("textures/effects/gexplos/destruct" + std::to_string(set) + std::to_string(f) +
                     ".pct");
  for (const char* set : {"exp", "vsplesk", "mini", "fire", "cannon", "water", "light", "expxe"})
    for (int f = 0; f < 32; ++f) {
      std::snprintf(num, sizeof num, "%04d", f);
      want.push_back(std::string("textures/effects/") + set + "/" + set + num + ".qvt");
    }
  for (const std::string& rel : want) EXPECT_TRUE(fs::exists(Gdata() / rel)) << rel;
  EXPECT_TRUE(fs::exists(Gdata() / "textures/effects/gexplos/destruct116.pct"));
  EXPECT_FALSE(fs::exists(Gdata() / "textures/effects/gexplos/destruct21.pct"));
  // One spelling per directory, so the case-insensitive lookup cannot pick between two.
  std::set<std::string> dirs;
  for (const std::string& rel : *written_) {
    std::string d = rel.substr(0, rel.rfind('/'));
    dirs.insert(d);
  }
  std::set<std::string> lowered;
  for (const std::string& d : dirs) EXPECT_TRUE(lowered.insert(Lower(d)).second) << d;
}

TEST_F(GeneratedPack, PicturesDecodeWithBothBitmapLoaders) {
  int pictures = 0;
  for (const std::string& rel : *written_) {
    if (rel.ends_with(".3ds")) continue;
    ++pictures;
    SCOPED_TRACE(rel);
    std::vector<uint8_t> bytes = Bytes((Gdata() / rel).string());
    TPixels platform, direct;
    TPictureError error;
    ASSERT_TRUE(DecodeBitmap(bytes, platform, &error)) << error.text;
    ASSERT_TRUE(DecodeBmp24(bytes, direct, &error)) << error.text;
    EXPECT_EQ(platform.width, direct.width);
    EXPECT_EQ(platform.data, direct.data);
    EXPECT_EQ(direct.width & (direct.width - 1), 0);
    EXPECT_EQ(direct.height & (direct.height - 1), 0);
  }
  EXPECT_GT(pictures, 900);
}

TEST_F(GeneratedPack, EffectsFadeToBlackAtTheirBorder) {
  // Additive sprites: a bright border would draw the square's edge.
  for (const std::string& rel : *written_) {
    if (!rel.starts_with("textures/") || rel.find("/bonus") != std::string::npos) continue;
    std::vector<uint8_t> bytes = Bytes((Gdata() / rel).string());
    TPixels px;
    ASSERT_TRUE(DecodeBmp24(bytes, px, nullptr));
    int worst = 0;
    for (int x = 0; x < px.width; ++x)
      for (int y : {0, px.height - 1})
        for (int c = 0; c < 3; ++c)
          worst = std::max<int>(worst, px.data[(y * px.width + x) * 3 + c]);
    EXPECT_LE(worst, 8) << rel;
  }
}

TEST_F(GeneratedPack, SecondRunWritesTheSameBytes) {
  fs::path again = *root_ / "again";
  Output out(again);
  GenerateModels(out);
  GenerateEffects(out);
  ASSERT_EQ(out.Written(), *written_);
  for (const std::string& rel : *written_)
    ASSERT_EQ(Bytes((again / rel).string()), Bytes((Gdata() / rel).string())) << rel;
}

// ---- preview rendering: a small software rasteriser over the files the game reads ----

struct Canvas {
  int w, h;
  std::vector<uint8_t> rgb;
  std::vector<float> depth;
  Canvas(int w_, int h_) : w(w_), h(h_), rgb(w_ * h_ * 3, 0), depth(w_ * h_, 1e30f) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {  // sea blue background
        rgb[(y * w + x) * 3 + 0] = 30;
        rgb[(y * w + x) * 3 + 1] = 70;
        rgb[(y * w + x) * 3 + 2] = 105;
      }
  }
};

uint32_t Crc(const uint8_t* d, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= d[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void WritePng(const std::string& path, const Canvas& c) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < c.h; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), c.rgb.begin() + y * c.w * 3, c.rgb.begin() + (y + 1) * c.w * 3);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
  for (size_t at = 0; at < raw.size(); at += 65535) {
    size_t n = std::min<size_t>(65535, raw.size() - at);
    z.push_back(at + n == raw.size() ? 1 : 0);
    z.push_back(n & 0xFF), z.push_back(n >> 8), z.push_back(~n & 0xFF),
        z.push_back((~n >> 8) & 0xFF);
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
  }
  uint32_t adler = (b << 16) | a;
  for (int s = 24; s >= 0; s -= 8) z.push_back(static_cast<uint8_t>(adler >> s));
  std::ofstream f(path, std::ios::binary);
  auto be32 = [&](uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) f.put(static_cast<char>(v >> s));
  };
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    be32(static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> td(type, type + 4);
    td.insert(td.end(), data.begin(), data.end());
    f.write(reinterpret_cast<const char*>(td.data()), static_cast<std::streamsize>(td.size()));
    be32(Crc(td.data(), td.size()));
  };
  f.write("\x89PNG\r\n\x1a\n", 8);
  std::vector<uint8_t> ihdr = {0,
                               0,
                               static_cast<uint8_t>(c.w >> 8),
                               static_cast<uint8_t>(c.w),
                               0,
                               0,
                               static_cast<uint8_t>(c.h >> 8),
                               static_cast<uint8_t>(c.h),
                               8,
                               2,
                               0,
                               0,
                               0};
  chunk("IHDR", ihdr);
  chunk("IDAT", z);
  chunk("IEND", {});
}

// Renders a model (z-up file) seen from above at `elevation` degrees, bow (-x) to the left,
// lit from the upper left. Returns the fraction of pixels the model covers.
struct Part {
  std::string model, texDir;
  Vec3 offset;  // where the unit renderer places the part, model units
};

double RenderModel(const fs::path& gdata, const std::vector<Part>& parts, float elevation,
                   Canvas& cv) {
  std::map<std::string, TPixels> textures;
  std::vector<std::string> matNames;
  std::vector<std::string> matTex;
  std::vector<bool> matTwoSided;
  struct V {
    float x, y, z, u, v;
  };
  struct T {
    V p[3];
    int mat;
  };
  std::vector<T> tris;
  float ce = std::cos(elevation * 3.14159f / 180), se = std::sin(elevation * 3.14159f / 180);
  float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
  for (const Part& part : parts) {
    const std::string& texDir = part.texDir;
    TFile3DS file((gdata / part.model).string());
    for (int32_t i = 0; i < file.Materials().Count(); ++i) {
      TMaterial3DS m = file.Materials().Material(i);
      matNames.push_back(m.name);
      matTex.push_back(m.textureName);
      matTwoSided.push_back(m.twoSided);
      matTex.back() = texDir + m.textureName;
      if (!m.textureName.empty() && !textures.count(matTex.back())) {
        TPixels px;
        LoadBitmapFile(FindNoCase(gdata, texDir + m.textureName), px, nullptr);
        textures[matTex.back()] = px;
      }
    }
    for (int32_t mi = 0; mi < file.Objects().MeshCount(); ++mi) {
      TMesh3DS mesh = file.Objects().Mesh(mi);
      std::vector<int> faceMat(mesh.faces.size(), -1);
      for (const auto& g : mesh.materialGroups)
        for (uint16_t f : g.faces)
          faceMat[f] = static_cast<int>(
              std::find(matNames.begin(), matNames.end(), g.materialName) - matNames.begin());
      for (size_t f = 0; f < mesh.faces.size(); ++f) {
        T t;
        t.mat = faceMat[f];
        // Back to counter-clockwise from the front (the file stores a, c, b).
        uint16_t idx[3] = {mesh.faces[f].a, mesh.faces[f].c, mesh.faces[f].b};
        for (int k = 0; k < 3; ++k) {
          TPoint3DS p = mesh.vertices[idx[k]];
          p.x += part.offset.x, p.y += part.offset.y, p.z += part.offset.z;
          // Camera on the +y side (the ship's starboard), looking down.
          float sx = p.x, sy = p.z * ce + p.y * se, dz = p.y * ce - p.z * se;
          t.p[k] = {sx, sy, dz, mesh.texCoords.empty() ? 0 : mesh.texCoords[idx[k]].u,
                    mesh.texCoords.empty() ? 0 : mesh.texCoords[idx[k]].v};
          lo[0] = std::min(lo[0], sx), hi[0] = std::max(hi[0], sx);
          lo[1] = std::min(lo[1], sy), hi[1] = std::max(hi[1], sy);
          t.p[k].x = p.x, t.p[k].y = p.y, t.p[k].z = p.z;  // keep model space for lighting
        }
        tris.push_back(t);
      }
    }
  }
  float scale = 0.9f * std::min(cv.w / (hi[0] - lo[0]), cv.h / (hi[1] - lo[1]));
  float ox = cv.w / 2 - scale * (lo[0] + hi[0]) / 2, oy = cv.h / 2 + scale * (lo[1] + hi[1]) / 2;
  const float light[3] = {-0.4f, 0.5f, 0.77f};
  int covered = 0;
  std::vector<uint8_t> hit(cv.w * cv.h, 0);
  for (const T& t : tris) {
    float sx[3], sy[3], sz[3];
    for (int k = 0; k < 3; ++k) {
      const V& p = t.p[k];
      sx[k] = ox + scale * p.x;
      sy[k] = oy - scale * (p.z * ce + p.y * se);
      sz[k] = p.y * ce - p.z * se;  // distance along the view direction
    }
    float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    bool twoSided =
        t.mat >= 0 && t.mat < static_cast<int>(matTwoSided.size()) && matTwoSided[t.mat];
    // Counter-clockwise in model space is clockwise on screen (y down).
    if (area >= 0 && !twoSided) continue;
    float e1[3] = {t.p[1].x - t.p[0].x, t.p[1].y - t.p[0].y, t.p[1].z - t.p[0].z};
    float e2[3] = {t.p[2].x - t.p[0].x, t.p[2].y - t.p[0].y, t.p[2].z - t.p[0].z};
    float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                  e1[0] * e2[1] - e1[1] * e2[0]};
    float nl = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    float facing = area >= 0 ? -1.0f : 1.0f;
    float lambert =
        nl > 0 ? std::max(0.0f, facing * (n[0] * light[0] + n[1] * light[1] + n[2] * light[2]) / nl)
               : 0;
    float shade = 0.45f + 0.65f * lambert;
    const TPixels* tex = nullptr;
    if (t.mat >= 0 && t.mat < static_cast<int>(matTex.size()) && textures.count(matTex[t.mat]))
      tex = &textures[matTex[t.mat]];
    int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    int x1 = std::min(cv.w - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    int y1 = std::min(cv.h - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        float px = x + 0.5f, py = y + 0.5f;
        float w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
        float w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
        float w2 = 1 - w0 - w1;
        if (w0 < 0 || w1 < 0 || w2 < 0) continue;
        float z = w0 * sz[0] + w1 * sz[1] + w2 * sz[2];
        if (z >= cv.depth[y * cv.w + x]) continue;
        cv.depth[y * cv.w + x] = z;
        float rgb[3] = {200, 200, 200};
        if (tex && tex->width > 0) {
          float u = w0 * t.p[0].u + w1 * t.p[1].u + w2 * t.p[2].u;
          float v = w0 * t.p[0].v + w1 * t.p[1].v + w2 * t.p[2].v;
          int tx = ((static_cast<int>(std::floor(u * tex->width)) % tex->width) + tex->width) %
                   tex->width;
          int ty = ((static_cast<int>(std::floor(v * tex->height)) % tex->height) + tex->height) %
                   tex->height;
          const uint8_t* s = &tex->data[(ty * tex->width + tx) * 3];  // row 0 = bottom = v 0
          rgb[0] = s[0], rgb[1] = s[1], rgb[2] = s[2];
        }
        for (int c = 0; c < 3; ++c)
          cv.rgb[(y * cv.w + x) * 3 + c] = static_cast<uint8_t>(std::min(255.0f, rgb[c] * shade));
        if (!hit[y * cv.w + x]) hit[y * cv.w + x] = 1, ++covered;
      }
  }
  return static_cast<double>(covered) / (cv.w * cv.h);
}

TEST_F(GeneratedPack, PreviewRenderingsShowTexturedModels) {
  // Writes <build>/content-previews/*.png for a look; checks each model fills a fair part of
  // the frame with varied (textured, shaded) colour.
  fs::path dir = fs::path(SKERROW_BINARY_DIR) / "content-previews";
  fs::create_directories(dir);
  struct Shot {
    std::vector<Part> parts;
    std::string png;
    float elevation;
  };
  std::vector<Shot> shots;
  for (const ShipKindInfo& k : kShipKinds) {
    std::string n = std::to_string(k.kind);
    Shot shot{{{"models/ships/ship" + n + ".3ds", "models/ships/ship" + n + "/", {}}},
              "ship" + n + ".png",
              42};
    // The wheels where the unit renderer draws them.
    if (k.kind == 1)
      shot.parts.push_back({"models/ships/koleso.3ds", "models/ships/Ship1/", {47.5f, 0, 44.2f}});
    if (k.kind == 2)
      shot.parts.push_back({"models/ships/kolesa.3ds", "models/ships/Ship2/", {135.5f, 0, 29.8f}});
    shots.push_back(shot);
  }
  shots.push_back(
      {{{"models/ships/ship15-2.3ds", "models/ships/ship15/", {}}}, "ship15-2.png", 42});
  shots.push_back({{{"models/ships/koleso.3ds", "models/ships/ship1/", {}}}, "koleso.png", 20});
  for (int k = 1; k <= kObjectKindCount; ++k)
    shots.push_back(
        {{{"models/objects/object" + std::to_string(k) + ".3ds", "models/objects/", {}}},
         "object" + std::to_string(k) + ".png",
         35});
  for (const Shot& s : shots) {
    SCOPED_TRACE(s.png);
    Canvas cv(320, 200);
    double covered = RenderModel(Gdata(), s.parts, s.elevation, cv);
    WritePng((dir / s.png).string(), cv);
    EXPECT_GT(covered, 0.03);
    std::set<int> colours;
    for (size_t i = 0; i < cv.rgb.size(); i += 3)
      colours.insert((cv.rgb[i] >> 3) << 10 | (cv.rgb[i + 1] >> 3) << 5 | (cv.rgb[i + 2] >> 3));
    EXPECT_GT(colours.size(), 25u);
  }
}

// The same models through the game's own loader and fixed-function GL, drawn the way the unit
// renderer orients them (z-up file turned -90 about x, heading about z, scale 0.005) under its
// two lights above the sea. The lit deck must come out brighter than the hull side turned away
// from the lights: the stored face order gives outward normals.
TEST_F(GeneratedPack, GameLoaderLightsTheModelsFromAbove) {
  auto window = platform::CreateSdlWindow();
  platform::DisplayConfig config;
  config.width = 800;
  config.height = 600;
  config.headless = true;
  if (!window->Open(config) || !window->HasGL()) GTEST_SKIP() << "no GL window";
  TKTZGL_Scene scene;
  scene.InitGL(*window, 800, 600, 0.1, 50.0);
  fs::path dir = fs::path(SKERROW_BINARY_DIR) / "content-previews";
  fs::create_directories(dir);
  struct Shot {
    std::vector<Part> parts;
    std::string png;
  };
  const Shot shots[] = {
      {{{"models/ships/ship1.3ds", "models/ships/ship1/", {}},
        {"models/ships/koleso.3ds", "models/ships/Ship1/", {47.5f, 0, 44.2f}}},
       "gl_ship1.png"},
      {{{"models/ships/ship2.3ds", "models/ships/ship2/", {}},
        {"models/ships/kolesa.3ds", "models/ships/Ship2/", {135.5f, 0, 29.8f}}},
       "gl_ship2.png"},
      {{{"models/ships/ship3.3ds", "models/ships/ship3/", {}}}, "gl_ship3.png"},
      {{{"models/ships/ship7.3ds", "models/ships/ship7/", {}}}, "gl_ship7.png"},
  };
  for (const Shot& shot : shots) {
    SCOPED_TRACE(shot.png);
    std::vector<std::unique_ptr<TKTZGL_Model>> models;
    for (const Part& part : shot.parts) {
      auto model = std::make_unique<TKTZGL_Model>();
      model->TextureDir = (Gdata() / part.texDir).string();
      TLoaderMessages messages;
      model->LoadFromFile((Gdata() / part.model).string(), false, -0.3f, 1, messages);
      ASSERT_NE(model->ModelList, 0u);
      EXPECT_TRUE(messages.empty()) << messages.front().text;  // every texture and material found
      models.push_back(std::move(model));
    }
    // Mean brightness of the model's pixels with the lights above the sea (as in play) and,
    // for comparison, mirrored below it.
    double mean[2] = {0, 0};
    for (int below = 0; below < 2; ++below) {
      float ly = below ? -150.0f : 150.0f;
      glViewport(0, 0, 800, 600);
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      gluPerspective(45, 800.0 / 600.0, 0.1, 50);
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      gluLookAt(0, 2.2, 2.4, 0, 0, 0, 0, 1, 0);  // the play camera looks down from the south
      const float ambient[4] = {0.5f, 0.5f, 0.5f, 1}, diffuse[4] = {1, 1, 1, 1};
      const float light0[4] = {-150, ly, -150, 1}, light1[4] = {150, ly, -150, 1};
      for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        glLightfv(light, GL_AMBIENT, ambient);
        glLightfv(light, GL_DIFFUSE, diffuse);
        glLightfv(light, GL_SPECULAR, diffuse);
        glLightfv(light, GL_POSITION, light == GL_LIGHT0 ? light0 : light1);
        glEnable(light);
      }
      glEnable(GL_LIGHTING);
      glEnable(GL_DEPTH_TEST);
      glEnable(GL_CULL_FACE);
      glEnable(GL_TEXTURE_2D);
      glEnable(GL_NORMALIZE);
      glColor4f(1, 1, 1, 1);
      const float heading = 1.2f;  // radians; the bow (-x) turned a little towards the camera
      for (size_t i = 0; i < models.size(); ++i) {
        glPushMatrix();
        glRotatef(-90, 1, 0, 0);
        glRotatef(heading * 180 / 3.14159265f - 90, 0, 0, 1);
        glScalef(0.005f, 0.005f, 0.005f);
        const Vec3& o = shot.parts[i].offset;
        glTranslatef(o.x, o.y, o.z);
        glCallList(models[i]->ModelList);
        glPopMatrix();
      }
      glFinish();
      std::vector<uint8_t> px(800 * 600 * 3);
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, px.data());
      glDisable(GL_LIGHTING);
      glDisable(GL_TEXTURE_2D);
      glDisable(GL_CULL_FACE);
      double sum = 0;
      int n = 0;
      for (size_t i = 0; i < px.size(); i += 3) {
        if (px[i] == 0 && px[i + 1] == 0 && px[i + 2] == 0) continue;
        sum += (px[i] + px[i + 1] + px[i + 2]) / 3.0;
        ++n;
      }
      ASSERT_GT(n, 800 * 600 / 50);
      mean[below] = sum / n;
      if (!below) {
        Canvas cv(800, 600);
        for (int y = 0; y < 600; ++y)
          for (int x = 0; x < 800 * 3; ++x) {
            uint8_t v = px[(599 - y) * 2400 + x];
            if (v || px[(599 - y) * 2400 + x / 3 * 3] || px[(599 - y) * 2400 + x / 3 * 3 + 1] ||
                px[(599 - y) * 2400 + x / 3 * 3 + 2])
              cv.rgb[y * 2400 + x] = v;
          }
        WritePng((dir / shot.png).string(), cv);
      }
    }
    EXPECT_GT(mean[0], mean[1] * 1.08)
        << mean[0] << " lit from above, " << mean[1] << " from below";
  }
}

}  // namespace
}  // namespace skerrow::content
