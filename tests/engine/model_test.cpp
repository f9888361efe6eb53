// Model building under a headless GL context: smoothing-group normals and vertex splitting,
// materials in the display lists, face groups, keyframer pose, collider, and .3ds loading.
#include "engine/model.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "engine/textures.h"
#include "gl_fixture.h"
#include "support/chunk_writer.h"

namespace skerrow {
namespace {

using test::GlTest;

ModelVec3 Sub(ModelVec3 a, ModelVec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
ModelVec3 Cross(ModelVec3 a, ModelVec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(ModelVec3 a, ModelVec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Unit cube 0..1, two triangles per side, wound counter-clockwise seen from outside; side s
// gets the smoothing mask masks[s].
ModelSourceMesh Cube(const uint32_t masks[6]) {
  ModelSourceMesh m;
  m.name = "cube";
  for (int v = 0; v < 8; ++v) {
    m.vertices.push_back({float(v & 1), float((v >> 1) & 1), float((v >> 2) & 1)});
  }
  const int sides[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                           {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
  const ModelVec3 centre{0.5f, 0.5f, 0.5f};
  for (int s = 0; s < 6; ++s) {
    const int* q = sides[s];
    const int tris[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
    for (const auto& t : tris) {
      const ModelVec3 a = m.vertices[t[0]], b = m.vertices[t[1]], c = m.vertices[t[2]];
      const bool outward = Dot(Cross(Sub(b, a), Sub(c, a)), Sub(a, centre)) > 0;
      m.faces.push_back(static_cast<uint16_t>(t[0]));
      m.faces.push_back(static_cast<uint16_t>(outward ? t[1] : t[2]));
      m.faces.push_back(static_cast<uint16_t>(outward ? t[2] : t[1]));
      m.smoothing.push_back(masks[s]);
    }
  }
  return m;
}

class ModelTest : public GlTest {};

TEST_F(ModelTest, SmoothingGroupsSplitOrShareCubeVertices) {
  SKIP_WITHOUT_GL();
  const uint32_t sixGroups[6] = {1, 2, 4, 8, 16, 32};
  const uint32_t oneGroup[6] = {1, 1, 1, 1, 1, 1};
  struct Row {
    const uint32_t* masks;
    int release;
    int vertices;
    bool faceNormals;
    bool outward;
  };
  // Release 3 files take the opposite cross product of releases 1 and 2.
  const Row rows[] = {{sixGroups, 2, 24, true, false},
                      {oneGroup, 2, 8, false, false},
                      {oneGroup, 0, 8, false, true},
                      {sixGroups, 1, 24, true, true}};
  for (const Row& row : rows) {
    ModelSource src;
    src.meshRelease = row.release;
    src.databaseRelease = row.release;
    src.meshes.push_back(Cube(row.masks));
    TKTZGL_Model model;
    model.Build(src, true, 0, messages_);
    ASSERT_EQ(model.Meshes.size(), 1u);
    const ModelMesh& mesh = model.Meshes[0];
    EXPECT_EQ(mesh.vertexCount, row.vertices);
    ASSERT_EQ(mesh.normals.size(), mesh.vertices.size());
    for (size_t v = 0; v < mesh.vertices.size(); ++v) {
      const ModelVec3 n = mesh.normals[v];
      EXPECT_NEAR(std::sqrt(Dot(n, n)), 1.0f, 1e-5f);
      if (row.faceNormals) {
        EXPECT_NEAR(std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z), 1.0f, 1e-5f);
      } else {
        // The sum of the corner's triangle normals (one or two per side): every axis counts.
        EXPECT_GT(std::fabs(n.x), 0.3f);
        EXPECT_GT(std::fabs(n.y), 0.3f);
        EXPECT_GT(std::fabs(n.z), 0.3f);
      }
      const ModelVec3 out = Sub(mesh.vertices[v], {0.5f, 0.5f, 0.5f});
      EXPECT_EQ(Dot(n, out) > 0, row.outward) << "vertex " << v;
    }
    EXPECT_NEAR(model.Centre[0], 0.5f, 1e-5f);
    EXPECT_NE(model.ModelList, 0u);
    EXPECT_NE(mesh.displayList, 0u);
  }
}

TEST_F(ModelTest, OnlyTheLowestSmoothingBitCountsAndMaskZeroSplits) {
  SKIP_WITHOUT_GL();
  // Two triangles sharing the edge 1-2.
  struct Row {
    std::vector<uint32_t> masks;
    int vertices;
  };
  const Row rows[] = {
      {{0b110, 0b010}, 4},  // both in group bit 1
      {{0b110, 0b100}, 6},  // bit 1 against bit 2: the shared corners split
      {{0, 0}, 6},          // no group: every reused vertex splits
      {{}, 6},              // no smoothing data at all
      {{0b1000, 0b1000}, 4},
  };
  for (const Row& row : rows) {
    ModelSource src;
    ModelSourceMesh m;
    m.name = "pair";
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    m.faces = {0, 1, 2, 1, 3, 2};
    m.smoothing = row.masks;
    src.meshes.push_back(m);
    TKTZGL_Model model;
    model.Build(src, true, 0, messages_);
    ASSERT_EQ(model.Meshes.size(), 1u);
    EXPECT_EQ(model.Meshes[0].vertexCount, row.vertices) << row.masks.size();
    const FaceGroup& g = model.Meshes[0].faceGroups.at(0);
    EXPECT_EQ(g.indexCount, 6);
    for (uint32_t i : g.indices) EXPECT_LT(i, static_cast<uint32_t>(row.vertices));
  }
}

ModelSourceMaterial Material(const std::string& name, float shininess, float transparency) {
  ModelSourceMaterial m;
  m.name = name;
  m.ambient[0] = 1;
  m.diffuse[0] = 0.5f;
  m.shininess = shininess;
  m.transparency = transparency;
  m.shading = 3;
  return m;
}

// A square facing +z at z = -1, half size s, centred on (cx, 0).
ModelSourceMesh Square(const std::string& name, float s, float cx = 0) {
  ModelSourceMesh m;
  m.name = name;
  m.vertices = {{cx - s, -s, -1}, {cx + s, -s, -1}, {cx + s, s, -1}, {cx - s, s, -1}};
  m.faces = {0, 1, 2, 0, 2, 3};
  return m;
}

TEST_F(ModelTest, MaterialsBecomeGlMaterialStateInTheLists) {
  SKIP_WITHOUT_GL();
  ModelSource src;
  src.materials = {Material("matte", 0, 0), Material("Shiny", 0.5f, -0.25f),
                   Material("SHINY", 1, 0)};  // duplicate name (any case) is dropped
  src.materials[0].textureName = "skin.bmp";
  src.materials[1].shading = 0;
  ModelSourceMesh mesh = Square("sq", 0.5f);
  mesh.groups = {{"shiny", {0}}, {"MATTE", {1}}, {"nope", {0, 1}}, {"matte", {7, 1}}};
  src.meshes.push_back(mesh);

  const std::string d = TempDir();
  test::WriteBmp24(d + "skin.bmp", 4, 4, std::vector<uint8_t>(48, 200));
  TKTZGL_Model model;
  model.TextureDir = d;
  ResetTextureCache();
  model.Build(src, false, -0.3f, messages_);
  ResetTextureCache();

  ASSERT_EQ(model.Materials.size(), 2u);
  EXPECT_EQ(model.Materials[0].first, "matte");  // sorted without regard to case
  const ModelMaterial& matte = model.Materials[0].second;
  const ModelMaterial& shiny = model.Materials[1].second;
  EXPECT_EQ(matte.envMode, static_cast<uint32_t>(GL_DECAL));
  EXPECT_EQ(shiny.envMode, static_cast<uint32_t>(GL_MODULATE));
  EXPECT_EQ(shiny.shininess, 64);
  EXPECT_EQ(shiny.polygonMode, static_cast<uint32_t>(GL_LINE));
  EXPECT_EQ(shiny.shadeModel, static_cast<uint32_t>(GL_FLAT));
  EXPECT_EQ(matte.shadeModel, static_cast<uint32_t>(GL_SMOOTH));
  EXPECT_FLOAT_EQ(shiny.diffuse.a, 0.25f);  // |transparency|
  EXPECT_FLOAT_EQ(matte.ambient.r, 0.7f);   // 1 + ambient boost
  EXPECT_NE(matte.texture, 0u);

  const auto& groups = model.Meshes.at(0).faceGroups;
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[0].materialIndex, 1);
  EXPECT_EQ(groups[1].materialIndex, 0);
  EXPECT_EQ(groups[2].materialIndex, 0);  // unknown name: material 0
  EXPECT_EQ(groups[3].indexCount, 3);     // face 7 does not exist and is skipped
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Material 'nope' not found. Using default material.");

  // Calling the mesh list leaves the last group's material current: transparency 0 gives
  // alpha 1, and its texture is bound with the material's environment mode.
  glCallList(model.Meshes[0].displayList);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[0], 0.5f);
  EXPECT_FLOAT_EQ(diffuse[3], 1.0f);
  GLint env = 0, bound = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(env, GL_DECAL);
  EXPECT_EQ(static_cast<uint32_t>(bound), matte.texture);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(ModelTest, LitModelDrawsThroughItsList) {
  SKIP_WITHOUT_GL();
  ModelSource src;
  src.materials = {Material("red", 0.2f, 0)};
  ModelSourceMesh mesh = Square("sq", 0.5f);
  mesh.groups = {{"red", {0, 1}}};
  src.meshes.push_back(mesh);
  TKTZGL_Model model;
  model.Build(src, false, 0, messages_);
  UseOverlay();
  glEnable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glCallList(model.ModelList);
  const auto centre = Pixel(400, 300);
  EXPECT_GT(centre[0], 150);
  EXPECT_LT(centre[1], 60);
  EXPECT_LT(centre[2], 60);
  EXPECT_EQ(Pixel(20, 20), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(ModelTest, KeyframerPlacesChildNodesAndLeavesRootsAsStored) {
  SKIP_WITHOUT_GL();
  struct Row {
    bool parent;
    float key;  // x of the first position key
    int litX, darkX;
  };
  // Ortho overlay: x = 0.5 lands on pixel 550.
  const Row rows[] = {{false, 0.5f, 400, 550}, {true, 0.5f, 550, 400}};
  for (const Row& row : rows) {
    ModelSource src;
    src.meshes.push_back(Square("box", 0.1f));
    src.meshes[0].matrix[0] = src.meshes[0].matrix[4] = src.meshes[0].matrix[8] = 1;
    ModelSourceNode root;
    root.name = "root";
    ModelSourceNode node;
    node.name = "box";
    if (row.parent) node.parentName = "root";
    node.position.present = 1;
    node.position.value[0] = row.key;
    src.nodes = {root, node};
    TKTZGL_Model model;
    model.Build(src, true, 0, messages_);
    UseOverlay();
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(model.ModelList);
    EXPECT_NE(Pixel(row.litX, 300), (std::array<int, 3>{0, 0, 0})) << row.parent;
    EXPECT_EQ(Pixel(row.darkX, 300), (std::array<int, 3>{0, 0, 0})) << row.parent;
  }
}

TEST_F(ModelTest, BadIndicesAreDroppedAndColliderKeepsFileVertices) {
  SKIP_WITHOUT_GL();
  ModelSource src;
  ModelSourceMesh m = Square("sq", 1);
  m.faces.insert(m.faces.end(), {0, 1, 99});  // vertex 99 does not exist
  m.smoothing = {1, 1, 1};
  src.meshes.push_back(m);
  src.meshes.push_back(ModelSourceMesh{});  // fewer than 3 vertices: not built
  src.meshes.back().vertices = {{0, 0, 0}};
  TKTZGL_Model model;
  model.Build(src, true, 0, messages_);
  ASSERT_EQ(model.Meshes.size(), 1u);
  EXPECT_EQ(model.Meshes[0].faceGroups[0].indexCount, 6);
  ASSERT_EQ(model.Collider.meshCount, 2);
  const auto& c = model.Collider.meshes[0];
  EXPECT_EQ(c.faceCount, 2);
  ASSERT_EQ(c.triangles.size(), 6u);
  ASSERT_EQ(c.edges.size(), 12u);
  EXPECT_FLOAT_EQ(c.triangles[2].x, 1);  // face 0 corner c = vertex 2 (1, 1)
  EXPECT_FLOAT_EQ(c.edges[5].x, -1);     // edge (c, a) ends at vertex 0
  EXPECT_EQ(c.vertices.size(), 4u);

  // Building again clears the old lists first.
  const uint32_t oldList = model.ModelList;
  model.Build(src, true, 0, messages_);
  EXPECT_FALSE(glIsList(oldList) && oldList != model.ModelList);
  model.Clear();
  EXPECT_EQ(model.ModelList, 0u);
  EXPECT_TRUE(model.Meshes.empty());
}

// `badCorner`, when not 0, replaces corner c of the second face (a vertex index).
std::vector<uint8_t> QuadFile(uint16_t badMaterialChunk = 0, uint16_t badCorner = 0) {
  testsupport::ChunkWriter w;
  w.Begin(0x4D4D).Begin(0x0002).U32(3).End();
  w.Begin(0x3D3D).Begin(0x3D3E).U32(3).End();
  w.Begin(0xAFFF).Begin(0xA000).Str("Red").End();
  w.Begin(0xA010).Begin(0x0011).U8(255).U8(0).U8(0).End().End();
  w.Begin(0xA020).Begin(0x0011).U8(128).U8(0).U8(0).End().End();
  if (badMaterialChunk) w.Empty(badMaterialChunk);
  w.End();
  w.Begin(0x4000).Str("quad").Begin(0x4100);
  w.Begin(0x4110).U16(4);
  const float v[4][3] = {
      {-0.5f, -0.5f, -1}, {0.5f, -0.5f, -1}, {0.5f, 0.5f, -1}, {-0.5f, 0.5f, -1}};
  for (const auto& p : v) w.F32(p[0]).F32(p[1]).F32(p[2]);
  w.End();
  w.Begin(0x4120).U16(2).U16(0).U16(1).U16(2).U16(0).U16(0).U16(2);
  w.U16(badCorner ? badCorner : 3).U16(0);
  w.Begin(0x4130).Str("red").U16(2).U16(0).U16(1).End();
  w.Begin(0x4150).U32(1).U32(1).End();
  w.End();
  w.End().End();  // N_TRI_OBJECT, NAMED_OBJECT
  w.End().End();  // MDATA, M3DMAGIC
  return w.bytes;
}

void Save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST_F(ModelTest, LoadFromFileReadsA3dsFile) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  Save(d + "quad.3ds", QuadFile());
  TKTZGL_Model model;
  model.LoadFromFile(d + "QUAD.3DS", false, -0.3f, 1, messages_);  // found without regard to case
  ASSERT_EQ(model.Meshes.size(), 1u);
  EXPECT_EQ(model.Meshes[0].vertexCount, 4);
  ASSERT_EQ(model.Materials.size(), 1u);
  EXPECT_NEAR(model.Materials[0].second.ambient.r, 0.7f, 1e-6f);
  EXPECT_EQ(model.Meshes[0].faceGroups[0].materialIndex, 0);
  EXPECT_EQ(model.Collider.meshCount, 1);
  ASSERT_NE(model.ModelList, 0u);
  EXPECT_TRUE(messages_.empty());

  UseOverlay();
  glEnable(GL_LIGHTING);
  glCallList(model.ModelList);
  EXPECT_GT(Pixel(400, 300)[0], 100);

  // A missing file leaves the model as it was.
  const uint32_t list = model.ModelList;
  model.LoadFromFile(d + "missing.3ds", false, -0.3f, 1, messages_);
  EXPECT_EQ(model.ModelList, list);
  EXPECT_EQ(model.Meshes.size(), 1u);

  // A file the reader refuses shows the reader's message and leaves the model empty.
  Save(d + "bad.3ds", QuadFile(0xA0F0));
  model.LoadFromFile(d + "bad.3ds", false, -0.3f, 1, messages_);
  EXPECT_EQ(model.ModelList, 0u);
  EXPECT_TRUE(model.Meshes.empty());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].text.find("invalid Chunk structure"), std::string::npos);

  // Not a 3DS root: nothing to build.
  Save(d + "junk.3ds", std::vector<uint8_t>{0x12, 0x34, 6, 0, 0, 0});
  model.LoadFromFile(d + "junk.3ds", false, -0.3f, 1, messages_);
  EXPECT_EQ(model.ModelList, 0u);
  EXPECT_TRUE(model.Meshes.empty());
}

TEST_F(ModelTest, AFaceNamingAMissingVertexIsLeftOutAndTheRestKept) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  Save(d + "holed.3ds", QuadFile(0, 9));  // the quad has vertices 0..3
  TKTZGL_Model model;
  testing::internal::CaptureStderr();
  model.LoadFromFile(d + "holed.3ds", false, -0.3f, 1, messages_);
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(model.Meshes.size(), 1u);
  EXPECT_EQ(model.Meshes[0].faceGroups[0].indexCount, 3);
  EXPECT_NE(model.ModelList, 0u);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(model.Collider.meshes[0].faceCount, 1);
  // Said once, with the file's name.
  const std::string said = "holed.3ds: 1 face(s) naming a vertex the mesh lacks were left out\n";
  EXPECT_NE(err.find(said), std::string::npos) << err;
  EXPECT_EQ(err.find(said), err.rfind(said));
}

TEST_F(ModelTest, LoadMessagesAreHandedBackInOrder) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  Save(d + "bad.3ds", QuadFile(0xA0F0));
  TKTZGL_Model model;
  model.LoadFromFile(d + "bad.3ds", false, -0.3f, 1, messages_);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, "Skerrow");
  EXPECT_NE(messages_[0].text.find("invalid Chunk structure"), std::string::npos);

  // Two groups naming materials the model lacks: one message each, in group order, after what
  // the list already holds.
  ModelSource src;
  ModelSourceMesh mesh = Square("sq", 0.5f);
  mesh.groups = {{"first", {0}}, {"second", {1}}};
  src.meshes.push_back(mesh);
  model.Build(src, false, 0, messages_);
  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_NE(messages_[0].text.find("invalid Chunk structure"), std::string::npos);
  EXPECT_EQ(messages_[1].text, "Material 'first' not found. Using default material.");
  EXPECT_EQ(messages_[2].text, "Material 'second' not found. Using default material.");
  // The build without GL says the same.
  TLoaderMessages said;
  std::vector<ModelNodeDraw> draws;
  model.BuildWithoutGL(src, 0, &draws, said);
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[1].text, messages_[2].text);
}

TEST_F(ModelTest, BuildingLeavesTheClientArraysAsItFoundThem) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  Save(d + "quad.3ds", QuadFile());
  const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY};
  const GLenum pointers[] = {GL_VERTEX_ARRAY_POINTER, GL_NORMAL_ARRAY_POINTER,
                             GL_TEXTURE_COORD_ARRAY_POINTER};
  // Rows: which arrays are on before the load (bit i = arrays[i]).
  for (int on : {0, 1, 2, 4, 7}) {
    SCOPED_TRACE(on);
    static const float kData[12] = {};
    glVertexPointer(3, GL_FLOAT, 0, kData);
    glNormalPointer(GL_FLOAT, 0, kData);
    glTexCoordPointer(2, GL_FLOAT, 0, kData);
    for (int i = 0; i < 3; ++i) {
      if (on & (1 << i)) {
        glEnableClientState(arrays[i]);
      } else {
        glDisableClientState(arrays[i]);
      }
    }
    TKTZGL_Model model;
    model.LoadFromFile(d + "quad.3ds", false, -0.3f, 1, messages_);
    ASSERT_NE(model.ModelList, 0u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(glIsEnabled(arrays[i]) == GL_TRUE, (on & (1 << i)) != 0) << i;
      void* p = nullptr;
      glGetPointerv(pointers[i], &p);
      EXPECT_EQ(p, static_cast<const void*>(kData)) << i;
    }
  }
  for (GLenum a : arrays) glDisableClientState(a);
}

// Node i is "box.<i>" with parent "box.<i-1>" and a first position key of x = 1, so the walk
// up from node i adds i + 1. Every name lookup of the walk goes through an index made once.
TEST(ModelNodes, ALongParentChainIsWalkedAndACycleEnds) {
  ModelSource src;
  ModelSourceMesh box;
  box.name = "box";
  box.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  box.faces = {0, 1, 2};
  src.meshes.push_back(box);
  constexpr int kChain = 6000;
  for (int i = 0; i < kChain; ++i) {
    ModelSourceNode n;
    n.name = "box." + std::to_string(i);
    if (i > 0) n.parentName = "BOX." + std::to_string(i - 1);  // any letter case
    n.position.present = 1;
    n.position.value[0] = 1;
    src.nodes.push_back(n);
  }
  TKTZGL_Model model;
  std::vector<ModelNodeDraw> draws;
  TLoaderMessages messages;
  EXPECT_EQ(model.BuildWithoutGL(src, 0, &draws, messages), 0);
  ASSERT_EQ(draws.size(), size_t{kChain});
  EXPECT_EQ(draws[0].placed, 0);  // a root is drawn as stored
  EXPECT_EQ(draws[0].mesh, 0);
  EXPECT_EQ(draws[1].placed, 1);
  EXPECT_FLOAT_EQ(draws[1].matrix[12], 2);
  EXPECT_FLOAT_EQ(draws[kChain - 1].matrix[12], kChain);

  // a -> b -> a: each node's own key, then as many ancestors as there are nodes.
  src.nodes.clear();
  for (const char* name : {"box.a", "box.b"}) {
    ModelSourceNode n;
    n.name = name;
    n.parentName = name[4] == 'a' ? "box.b" : "box.a";
    n.position.present = 1;
    n.position.value[0] = name[4] == 'a' ? 1.0f : 10.0f;
    src.nodes.push_back(n);
  }
  model.BuildWithoutGL(src, 0, &draws, messages);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_FLOAT_EQ(draws[0].matrix[12], 1 + 10 + 1);
  EXPECT_FLOAT_EQ(draws[1].matrix[12], 10 + 1 + 10);
}

}  // namespace
}  // namespace skerrow
