// TKTZGL_Model: a 3D Studio model compiled into display lists (smoothing-group normals, materials
// with cached textures, keyframer pose), its collision copy, and OBJ terrain pieces.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/ktzgl.h"
#include "engine/textures.h"

namespace skerrow {

struct ModelVec3 {
  float x, y, z;
};
struct ModelVec2 {
  float u, v;
};

// ---- what the model is built from (filled from a .3ds file, or directly by tests) ----

// Release levels: 0 release 1, 1 release 2, 2 release 3, 3 unknown.
struct ModelSourceMaterial {
  std::string name;
  float ambient[3] = {0, 0, 0};  // 0..1
  float diffuse[3] = {0, 0, 0};
  float specular[3] = {0, 0, 0};
  float shininess = 0;     // fraction; *128 gives the GL exponent
  float transparency = 0;  // may be negative (fall-in flag); its absolute value is the alpha
  int32_t shading = 0;     // 0 wire, 1 flat, 2 Gouraud, 3 Phong, 4 metal
  uint8_t twoSided = 0;
  std::string textureName;  // map 1 file name; empty = none
};

struct ModelSourceGroup {
  std::string materialName;
  std::vector<uint16_t> faces;  // face numbers; checked against the face count before use
};

struct ModelSourceMesh {
  std::string name;
  uint8_t hidden = 0;
  std::vector<ModelVec3> vertices;
  std::vector<ModelVec2> texCoords;  // empty: none
  std::vector<uint16_t> faces;       // 3 vertex indices per face; checked before use
  std::vector<uint32_t> smoothing;   // one mask per face, or empty
  std::vector<ModelSourceGroup> groups;
  float matrix[12] = {};  // three axis rows, then the origin
};

struct ModelSourceLight {
  std::string name;
  ModelVec3 position{};
  float colour[3] = {0, 0, 0};
  uint8_t off = 0;
};

// First key of a keyframer track.
struct ModelSourceKey {
  uint8_t present = 0;            // 1: the track has keys and its first key is at frame 0
  float value[4] = {0, 0, 0, 0};  // x, y, z; rotation: angle (radians), axis x, y, z
};

struct ModelSourceNode {
  std::string name;        // "name" or "name.instance"
  std::string parentName;  // empty: no parent
  ModelVec3 pivot{};
  ModelSourceKey position, rotation, scale;
};

struct ModelSource {
  int32_t meshRelease = 3;
  int32_t databaseRelease = 3;
  int32_t fogType = 0;  // 1 fog, 2 layer fog, 3 distance cue, 0 none
  float fogNear = 0, fogNearDensity = 0, fogFar = 0, fogFarDensity = 0;
  float fogColour[3] = {0, 0, 0};
  float layerLow = 0, layerHigh = 0, layerDensity = 0;
  float layerColour[3] = {0, 0, 0};
  std::vector<ModelSourceMaterial> materials;
  std::vector<ModelSourceMesh> meshes;
  std::vector<ModelSourceLight> omniLights;
  std::vector<ModelSourceLight> spotLights;
  std::vector<ModelSourceNode> nodes;
};

class TFile3DS;

// Asks an open 3DS reader everything the model is built from; reader errors propagate.
void FillModelSource(const TFile3DS& file, ModelSource& out);

// Reads a .3ds file through the 3DS reader. On a reader error appends its message and returns
// false with `out` empty.
bool ReadModelSource(const std::string& fileName, ModelSource& out, TLoaderMessages& messages);

// ---- the built model ----

struct ModelMaterial {
  Color4f ambient{};
  Color4f diffuse{};
  Color4f specular{};
  Color4f emission{};
  int32_t shininess = 0;
  uint32_t polygonMode = 0;  // GL_FILL / GL_LINE
  uint32_t shadeModel = 0;   // GL_FLAT / GL_SMOOTH
  uint8_t twoSided = 0;
  std::string textureFileName;
  uint32_t texture = 0;
  uint32_t wrapS = 0;
  uint32_t wrapT = 0;
  uint32_t minFilter = 0;
  uint32_t magFilter = 0;
  uint32_t envMode = 0;  // GL_DECAL for shininess 0, GL_MODULATE otherwise
};

struct FaceGroup {
  int32_t materialIndex = 0;  // position in the sorted material list
  int32_t indexCount = 0;     // 3 per triangle
  std::vector<uint32_t> indices;
};

struct ModelMesh {
  std::string name;
  uint32_t displayList = 0;
  uint8_t visible = 1;
  int32_t vertexCount = 0;
  std::vector<ModelVec3> vertices;
  std::vector<ModelVec3> normals;
  std::vector<ModelVec2> texCoords;  // empty when the file has none
  std::vector<FaceGroup> faceGroups;
};

struct ModelLight {
  uint8_t enabled = 0;
  uint8_t kind = 0;  // 1 omni, 2 spot
  float position[4] = {0, 0, 0, 1};
  Color4f ambient{};
  Color4f diffuse{};
  Color4f specular{};
  float spotCutoff = 180;
};

// How the model list draws the mesh of one keyframer node.
struct ModelNodeDraw {
  int32_t mesh = -1;   // index into Meshes
  uint8_t placed = 0;  // 1: under `matrix`; 0: as stored (a node without a parent)
  // Row-vector convention (v' = v * M), translation in elements 12..14, as glMultMatrixf takes.
  std::array<float, 16> matrix{};
};

class TKTZGL_Model : public TKTZGL_Object {
 public:
  TKTZGL_Model() = default;
  ~TKTZGL_Model();
  TKTZGL_Model(const TKTZGL_Model&) = delete;
  TKTZGL_Model& operator=(const TKTZGL_Model&) = delete;

  std::vector<ModelMesh> Meshes;
  // Sorted by name without regard to letter case; a second material of the same name is dropped.
  std::vector<std::pair<std::string, ModelMaterial>> Materials;
  std::vector<std::pair<std::string, ModelLight>> Lights;
  std::string TextureDir;  // prefix of the material texture files, set before loading
  float Centre[3] = {0, 0, 0};
  // The box around every vertex the model list draws, in model units (HasBounds 0: no list, or
  // a list that draws nothing). The renderer keeps fills that cannot reach the model off-screen.
  float BoundsMin[3] = {0, 0, 0};
  float BoundsMax[3] = {0, 0, 0};
  uint8_t HasBounds = 0;
  uint32_t MagFilter = 0;
  uint32_t ModelList = 0;
  TKTZGL_collider Collider;
  int32_t PieceKind = 0;  // 1 3DS terrain piece, 2 OBJ terrain piece
  uint32_t BaseTexture = 0;
  uint32_t DetailTexture = 0;

  // Loads a .3ds file; a missing file leaves the model as it was, a broken one leaves it empty.
  // The game passes noMaterials false, ambientBoost -0.3, textureFlag 1 (unused). Every message
  // of the load (the reader's, the textures', missing materials) is appended in order.
  void LoadFromFile(const std::string& fileName, bool noMaterials, float ambientBoost,
                    int32_t textureFlag, TLoaderMessages& messages);
  // Builds the model and its collider from already read data (what LoadFromFile does after
  // reading the file). Returns the number of faces left out for naming a vertex the mesh lacks.
  int32_t Build(const ModelSource& source, bool noMaterials, float ambientBoost,
                TLoaderMessages& messages);
  // The part of Build that needs no GL context: collider, materials (without textures), meshes
  // with normals and face groups, lights, and where the model list would draw each node's mesh.
  // No display list is made. Returns what Build returns.
  int32_t BuildWithoutGL(const ModelSource& source, float ambientBoost,
                         std::vector<ModelNodeDraw>* draws, TLoaderMessages& messages);
  // Releases display lists, arrays, materials and lights. Textures stay: the cache shares them.
  void Clear();

  // An OBJ terrain piece with a base texture on unit 0 and a detail texture on unit 1. The
  // textures' messages and a bad number's message (which ends the load) are appended in order.
  void LoadObjPiece(const std::string& objFile, const std::string& textureFile,
                    const std::string& detailFile, const float detailScale[3], uint8_t sendNormals,
                    uint8_t skipUnderwater, TLoaderMessages& messages);

  // Index of a material by name (any letter case), or -1.
  int32_t FindMaterial(const std::string& name) const;

 private:
  void BuildCollider(const ModelSource& source);
  void BuildMaterials(const ModelSource& source, float ambientBoost);
  int32_t BuildMeshes(const ModelSource& source, bool release3, TLoaderMessages& messages);
  void BuildLights(const ModelSource& source);
  std::vector<ModelNodeDraw> NodeDraws(const ModelSource& source) const;
  // Grows the bounds by the mesh's vertices, under `rowMatrix` (v * M) when not null.
  void AddToBounds(const ModelMesh& mesh, const float* rowMatrix);
};

}  // namespace skerrow
