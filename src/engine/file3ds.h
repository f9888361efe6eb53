// 3D Studio (.3ds) reader: builds the chunk tree of a file and answers the model loader's
// queries (release levels, atmosphere, materials, meshes, lights, keyframer mesh nodes).
// Every query returns records owned by the caller; failures raise E3DSError.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace skerrow {

// Raised by every reader failure; what() is the reader's message (ASCII, '\r' as in the data).
class E3DSError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Chunk ids the reader knows (standard 3DS names).
enum : uint16_t {
  kChunkM3DMagic = 0x4D4D,
  kChunkCMagic = 0xC23D,
  kChunkMLibMagic = 0x3DAA,
  kChunkM3DVersion = 0x0002,
  kChunkMData = 0x3D3D,
  kChunkMeshVersion = 0x3D3E,
  kChunkMatEntry = 0xAFFF,
  kChunkMatName = 0xA000,
  kChunkMatAmbient = 0xA010,
  kChunkMatDiffuse = 0xA020,
  kChunkMatSpecular = 0xA030,
  kChunkMatShininess = 0xA040,
  kChunkMatTransparency = 0xA050,
  kChunkMatTwoSide = 0xA081,
  kChunkMatWire = 0xA085,
  kChunkMatXpfallin = 0xA08A,
  kChunkMatShading = 0xA100,
  kChunkMatTexmap = 0xA200,
  kChunkMatMapname = 0xA300,
  kChunkNamedObject = 0x4000,
  kChunkObjHidden = 0x4010,
  kChunkNTriObject = 0x4100,
  kChunkPointArray = 0x4110,
  kChunkFaceArray = 0x4120,
  kChunkMshMatGroup = 0x4130,
  kChunkSmoothGroup = 0x4150,
  kChunkTexVerts = 0x4140,
  kChunkMeshMatrix = 0x4160,
  kChunkNDirectLight = 0x4600,
  kChunkDlSpotlight = 0x4610,
  kChunkDlOff = 0x4620,
  kChunkFog = 0x2200,
  kChunkLayerFog = 0x2302,
  kChunkDistanceCue = 0x2300,
  kChunkUseFog = 0x2201,
  kChunkUseLayerFog = 0x2303,
  kChunkUseDistanceCue = 0x2301,
  kChunkColorF = 0x0010,
  kChunkColor24 = 0x0011,
  kChunkLinColor24 = 0x0012,
  kChunkIntPercentage = 0x0030,
  kChunkFloatPercentage = 0x0031,
  kChunkKfData = 0xB000,
  kChunkObjectNodeTag = 0xB002,
  kChunkNodeId = 0xB030,
  kChunkNodeHdr = 0xB010,
  kChunkInstanceName = 0xB011,
  kChunkPivot = 0xB013,
  kChunkPosTrackTag = 0xB020,
  kChunkRotTrackTag = 0xB021,
  kChunkSclTrackTag = 0xB022,
};

// Release levels: 0 = release 1, 1 = release 2, 2 = release 3, 3 = not known.
inline constexpr int32_t kRelease1 = 0;
inline constexpr int32_t kRelease2 = 1;
inline constexpr int32_t kRelease3 = 2;
inline constexpr int32_t kReleaseUnknown = 3;

struct TColor3DS {
  float r = 0, g = 0, b = 0;  // 0..1
};

struct TMaterial3DS {
  std::string name;  // Windows-1251 bytes as stored
  TColor3DS ambient, diffuse, specular;
  float shininess = 0;     // INT_PERCENTAGE / 100, or FLOAT_PERCENTAGE unchanged
  float transparency = 0;  // same scale; MAT_XPFALLIN negates it
  uint16_t shading = 0;    // 0 wire, 1 flat, 2 Gouraud, 3 Phong, 4 metal
  bool twoSided = false;
  std::string textureName;  // texture map 1 file name, empty = none
};

struct TPoint3DS {
  float x = 0, y = 0, z = 0;
};
struct TTexVert3DS {
  float u = 0, v = 0;
};
// Corners as stored: one may name a vertex the mesh lacks (the model builder drops that face).
struct TFace3DS {
  uint16_t a = 0, b = 0, c = 0, flags = 0;
};
struct TMaterialGroup3DS {
  std::string materialName;
  std::vector<uint16_t> faces;  // face numbers, each below the mesh's face count
};

struct TMesh3DS {
  std::string name;
  bool hidden = false;
  std::vector<TPoint3DS> vertices;
  // Empty when the file has no TEX_VERTS; otherwise exactly one per vertex.
  std::vector<TTexVert3DS> texCoords;
  std::vector<TFace3DS> faces;
  // Empty when the file has no SMOOTH_GROUP; otherwise exactly one mask per face.
  std::vector<uint32_t> smoothing;
  std::vector<TMaterialGroup3DS> materialGroups;
  // Three axis rows (x, y, z each), then the origin; all 0 without MESH_MATRIX.
  std::array<float, 12> matrix{};
};

struct TLight3DS {
  std::string name;
  TPoint3DS position;
  TColor3DS color;
  bool off = false;
  bool spot = false;
  TPoint3DS target;  // spotlights only
  float hotspot = 0, falloff = 0;
};

struct TKey3DS {
  uint32_t frame = 0;
  uint16_t splineFlags = 0;
  float tension = 0, continuity = 0, bias = 0, easeTo = 0, easeFrom = 0;
  float angle = 0;            // rotation keys only, radians
  float x = 0, y = 0, z = 0;  // position / scale value, or the rotation axis
};
struct TTrack3DS {
  uint16_t flags = 0;
  std::vector<TKey3DS> keys;  // empty when the track chunk is missing
};

struct TMeshNode3DS {
  std::string name;  // NODE_HDR name, plus "." and the instance name when there is one
  uint16_t flags1 = 0, flags2 = 0;
  std::string parentName;  // empty = no parent
  TPoint3DS pivot;
  TTrack3DS position, rotation, scale;
};

struct TFog3DS {
  float nearPlane = 0, nearDensity = 0, farPlane = 0, farDensity = 0;
  TColor3DS color;
  bool background = false;
};
struct TLayerFog3DS {
  float zMin = 0, zMax = 0, density = 0;
  TColor3DS color;
  int32_t fallOff = 0;  // 0 none, 1 top, 2 bottom
  bool background = false;
};
struct TDistanceCue3DS {
  float nearPlane = 0, nearDimming = 0, farPlane = 0, farDimming = 0;
};
struct TAtmosphere3DS {
  TFog3DS fog;
  TLayerFog3DS layerFog;
  TDistanceCue3DS distanceCue;
  int32_t activeType = 0;  // 0 none, 1 fog, 2 layer fog, 3 distance cue
};

// One node of the chunk tree. `dataStart` is the first byte after the 6-byte header;
// `end` is clamped to the enclosing chunk and to the file.
struct TChunk3DS {
  uint16_t id = 0;
  uint32_t length = 0;    // as stored
  uint32_t position = 0;  // file offset of the header
  uint32_t end = 0;
  int32_t parent = -1;
  std::vector<int32_t> children;  // indices into the tree, file order
};

class TFile3DS;

class TMaterialList {
 public:
  explicit TMaterialList(const TFile3DS& file) : file_(file) {}
  int32_t Count() const;
  TMaterial3DS Material(int32_t index) const;

 private:
  const TFile3DS& file_;
};

class TObjectList {
 public:
  explicit TObjectList(const TFile3DS& file) : file_(file) {}
  int32_t MeshCount() const;
  TMesh3DS Mesh(int32_t index) const;
  int32_t OmniLightCount() const;
  TLight3DS OmniLight(int32_t index) const;
  int32_t SpotLightCount() const;
  TLight3DS SpotLight(int32_t index) const;

 private:
  const TFile3DS& file_;
};

class TKeyFramer {
 public:
  explicit TKeyFramer(const TFile3DS& file) : file_(file) {}
  int32_t MeshNodeCount() const;
  TMeshNode3DS MeshNode(int32_t index) const;

 private:
  const TFile3DS& file_;
};

class TFile3DS {
 public:
  // Reads the file (UTF-8 path on disk). A file that cannot be read raises E3DSError.
  explicit TFile3DS(const std::string& fileName);
  // Reads from bytes already in memory (tests, fuzzing, the asset inspector).
  explicit TFile3DS(std::vector<uint8_t> bytes);
  TFile3DS(const TFile3DS&) = delete;
  TFile3DS& operator=(const TFile3DS&) = delete;

  // Root chunk id, 0 when the file has no recognised root (then the tree is empty).
  uint16_t RootId() const;
  bool HasTree() const { return !chunks_.empty(); }
  int32_t DatabaseRelease() const;
  int32_t MeshRelease() const;
  TAtmosphere3DS Atmosphere() const;

  const TMaterialList& Materials() const { return materials_; }
  const TObjectList& Objects() const { return objects_; }
  const TKeyFramer& KeyFramer() const { return keyFramer_; }

  // The chunk tree (index 0 is the root when HasTree()).
  const std::vector<TChunk3DS>& Chunks() const { return chunks_; }

 private:
  friend class TMaterialList;
  friend class TObjectList;
  friend class TKeyFramer;

  void BuildTree();
  void BuildNode(int32_t index, int depth);
  void ResolveParentNames();
  int32_t FindChild(int32_t parent, uint16_t id) const;
  int32_t FindDepthFirst(int32_t from, uint16_t id) const;
  int32_t MData() const;
  void BuildLists();
  std::vector<int32_t> FindMaterialEntries() const;
  std::vector<int32_t> FindNamedObjects() const;
  std::vector<int32_t> FindMeshNodeChunks() const;
  void RequireTree() const;
  void RequireMeshDatabase() const;

  TMaterial3DS ReadMaterial(int32_t chunk) const;
  TMesh3DS ReadMesh(int32_t chunk) const;
  TLight3DS ReadLight(int32_t chunk) const;
  TMeshNode3DS ReadMeshNode(int32_t chunk) const;

  std::vector<uint8_t> bytes_;
  std::vector<TChunk3DS> chunks_;
  std::vector<std::string> parentNames_;  // per chunk index; only node chunks are filled
  // Chunk indices of what the index queries return, found once when the file is opened.
  std::vector<int32_t> materialEntries_, meshObjects_, omniLights_, spotLights_, meshNodes_;
  TMaterialList materials_{*this};
  TObjectList objects_{*this};
  TKeyFramer keyFramer_{*this};
};

}  // namespace skerrow
