// 3D Studio (.3ds) reader: chunk tree and queries. The file is held in memory; every query
// decodes its chunks through a ByteReader limited to the chunk, so nothing reads past a chunk.
#include "engine/file3ds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "engine/byte_reader.h"
#include "engine/picture.h"
#include "platform/file_read.h"

namespace skerrow {

namespace {

const char* const kInvalidChunk =
    "An invalid Chunk structure was encountered while reading\rthe database. Usually caused by "
    "a corrupt database or file.";
const char* const kNotCreated = "The database passed as an argument has not be created yet.";
const char* const kWrongDatabase =
    "The database passed as an argument is the wrong kind of\rdatabase for this function.";
const char* const kNoMemory = "Not enough memory to complete operation.";

constexpr int kMaxDepth = 32;  // deeper chunks are kept as leaves
constexpr size_t kMaxChunks = size_t{1} << 22;
// A model's budget: the game's largest model is some 60 KB; 16 MB holds any ship or object a
// level draws, and what it unpacks to stays some hundred megabytes (a 196 MB file took 3.1 GB).
constexpr size_t kMaxFileBytes = size_t{16} << 20;

[[noreturn]] void Raise(const char* message) {
  throw E3DSError(message);
}

[[noreturn]] void RaiseIndex(int32_t index) {
  char text[48];
  std::snprintf(text, sizeof text, "Invalid index %d.", index);
  throw E3DSError(text);
}

bool IsRoot(uint16_t id) {
  return id == kChunkM3DMagic || id == kChunkCMagic || id == kChunkMLibMagic;
}

bool IsNodeTag(uint16_t id) {
  return id >= 0xB001 && id <= 0xB007;
}

bool IsContainer(uint16_t id) {
  switch (id) {
    case kChunkM3DMagic:
    case kChunkCMagic:
    case kChunkMLibMagic:
    case kChunkMData:
    case kChunkMatEntry:
    case kChunkMatAmbient:
    case kChunkMatDiffuse:
    case kChunkMatSpecular:
    case kChunkMatShininess:
    case kChunkMatTransparency:
    case kChunkMatTexmap:
    case kChunkNTriObject:
    case kChunkKfData:
      return true;
    default:
      return IsNodeTag(id);
  }
}

// Sub-chunk ids a MAT_ENTRY may hold; anything else means a corrupt material.
bool IsMaterialSubChunk(uint16_t id) {
  if (id >= 0x8000 && id <= 0x80FF) return true;
  if (id >= 0xA080 && id <= 0xA085) return true;
  if (id >= 0xA320 && id <= 0xA322) return true;
  if (id >= 0xA324 && id <= 0xA326) return true;
  if (id >= 0xA33C && id <= 0xA33E) return true;
  static constexpr uint16_t kSingles[] = {
      0xA000, 0xA010, 0xA020, 0xA030, 0xA040, 0xA041, 0xA042, 0xA050, 0xA052, 0xA053, 0xA087,
      0xA088, 0xA08A, 0xA08C, 0xA08E, 0xA100, 0xA200, 0xA204, 0xA210, 0xA220, 0xA230, 0xA240,
      0xA250, 0xA310, 0xA328, 0xA32A, 0xA32C, 0xA32E, 0xA330, 0xA332, 0xA334, 0xA336, 0xA338,
      0xA33A, 0xA340, 0xA342, 0xA344, 0xA346, 0xA348, 0xA34A, 0xA34C};
  return std::find(std::begin(kSingles), std::end(kSingles), id) != std::end(kSingles);
}

int32_t ReleaseFromVersion(uint32_t version) {
  return version >= 1 && version <= 3 ? static_cast<int32_t>(version) - 1 : kReleaseUnknown;
}

float Clamp01(float v) {
  return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

}  // namespace

// ---- construction and the chunk tree ----

TFile3DS::TFile3DS(const std::string& fileName) {
  // Refused before it is read when it is past the budget.
  const platform::FileRead r = platform::ReadRegularFile(fileName, kMaxFileBytes, bytes_);
  if (r == platform::FileRead::kTooLarge) Raise(kNoMemory);
  if (r != platform::FileRead::kOk) throw E3DSError("Cannot open file \"" + fileName + "\".");
  if (bytes_.size() > kMaxFileBytes) Raise(kNoMemory);
  BuildTree();
}

TFile3DS::TFile3DS(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() > kMaxFileBytes) Raise(kNoMemory);
  BuildTree();
}

void TFile3DS::BuildTree() {
  ByteReader r(bytes_.data(), bytes_.size());
  const uint16_t id = r.U16();
  const uint32_t length = r.U32();
  if (!r.Ok() || !IsRoot(id)) return;
  TChunk3DS root;
  root.id = id;
  root.length = length;
  root.position = 0;
  // A root that claims more than the file holds ends at the end of the file.
  root.end = static_cast<uint32_t>(std::clamp<uint64_t>(length, 6, bytes_.size()));
  chunks_.push_back(root);
  BuildNode(0, 0);
  parentNames_.assign(chunks_.size(), std::string());
  ResolveParentNames();
  BuildLists();
}

void TFile3DS::BuildLists() {
  materialEntries_ = FindMaterialEntries();
  for (int32_t c : FindNamedObjects()) {
    if (FindChild(c, kChunkNTriObject) >= 0) meshObjects_.push_back(c);
    const int32_t light = FindChild(c, kChunkNDirectLight);
    if (light < 0) continue;
    if (FindChild(light, kChunkDlSpotlight) >= 0) {
      spotLights_.push_back(c);
    } else {
      omniLights_.push_back(c);
    }
  }
  meshNodes_ = FindMeshNodeChunks();
}

void TFile3DS::BuildNode(int32_t index, int depth) {
  const uint16_t id = chunks_[index].id;
  const uint32_t end = chunks_[index].end;
  const uint32_t dataStart = chunks_[index].position + 6;
  if (depth >= kMaxDepth) return;
  // Size of the chunk's own data before its sub-chunks.
  uint64_t own = 0;
  ByteReader r(bytes_.data(), bytes_.size());
  r.SetLimit(end);
  r.Seek(dataStart);
  switch (id) {
    case kChunkNamedObject:
      r.CString();
      if (!r.Ok()) return;  // unterminated name: no room for sub-chunks
      own = r.Position() - dataStart;
      break;
    case kChunkFaceArray:
      own = 2 + uint64_t{r.U16()} * 8;
      break;
    case kChunkNDirectLight:
      own = 12;
      break;
    case kChunkFog:
    case kChunkLayerFog:
      own = 16;
      break;
    default:
      if (!IsContainer(id)) return;
  }
  if (!r.Ok() || own > end - dataStart) return;
  uint64_t pos = dataStart + own;
  while (pos + 6 <= end) {
    ByteReader h(bytes_.data(), end);
    h.Seek(static_cast<size_t>(pos));
    const uint16_t childId = h.U16();
    const uint32_t childLength = h.U32();
    if (!h.Ok() || childLength < 6) break;  // a zero or broken length ends the scan
    if (chunks_.size() >= kMaxChunks) Raise(kNoMemory);
    TChunk3DS child;
    child.id = childId;
    child.length = childLength;
    child.position = static_cast<uint32_t>(pos);
    child.end = static_cast<uint32_t>(std::min<uint64_t>(pos + childLength, end));
    child.parent = index;
    const int32_t childIndex = static_cast<int32_t>(chunks_.size());
    chunks_.push_back(std::move(child));
    chunks_[index].children.push_back(childIndex);
    BuildNode(childIndex, depth + 1);
    pos = chunks_[childIndex].end;
  }
}

int32_t TFile3DS::FindChild(int32_t parent, uint16_t id) const {
  if (parent < 0) return -1;
  for (int32_t c : chunks_[parent].children) {
    if (chunks_[c].id == id) return c;
  }
  return -1;
}

int32_t TFile3DS::FindDepthFirst(int32_t from, uint16_t id) const {
  if (from < 0) return -1;
  // Chunks are stored in depth-first order, so the subtree of `from` is a contiguous run.
  for (size_t i = static_cast<size_t>(from) + 1; i < chunks_.size(); ++i) {
    int32_t p = chunks_[i].parent;
    while (p > from) p = chunks_[p].parent;
    if (p != from) break;
    if (chunks_[i].id == id) return static_cast<int32_t>(i);
  }
  return -1;
}

uint16_t TFile3DS::RootId() const {
  return chunks_.empty() ? 0 : chunks_[0].id;
}

int32_t TFile3DS::MData() const {
  if (chunks_.empty() || chunks_[0].id == kChunkMLibMagic) return -1;
  return FindChild(0, kChunkMData);
}

void TFile3DS::RequireTree() const {
  if (chunks_.empty()) Raise(kNotCreated);
}

void TFile3DS::RequireMeshDatabase() const {
  RequireTree();
  if (chunks_[0].id != kChunkM3DMagic && chunks_[0].id != kChunkCMagic) Raise(kWrongDatabase);
}

// ---- releases and atmosphere ----

namespace {

ByteReader ChunkData(const std::vector<uint8_t>& bytes, const TChunk3DS& c) {
  ByteReader r(bytes.data(), bytes.size());
  r.SetLimit(c.end);
  r.Seek(c.position + 6);
  return r;
}

}  // namespace

int32_t TFile3DS::MeshRelease() const {
  if (chunks_.empty() || chunks_[0].id == kChunkMLibMagic) return kReleaseUnknown;
  const int32_t c = FindDepthFirst(0, kChunkMeshVersion);
  if (c < 0) return kReleaseUnknown;
  ByteReader r = ChunkData(bytes_, chunks_[c]);
  const uint32_t v = r.U32();
  return r.Ok() ? ReleaseFromVersion(v) : kReleaseUnknown;
}

int32_t TFile3DS::DatabaseRelease() const {
  if (chunks_.empty()) return kReleaseUnknown;
  switch (chunks_[0].id) {
    case kChunkMLibMagic:
      return kRelease3;
    case kChunkCMagic:
      return MeshRelease();
    default: {
      const int32_t c = FindChild(0, kChunkM3DVersion);
      if (c < 0) return kReleaseUnknown;
      ByteReader r = ChunkData(bytes_, chunks_[c]);
      const uint32_t v = r.U32();
      return r.Ok() ? ReleaseFromVersion(v) : kReleaseUnknown;
    }
  }
}

TAtmosphere3DS TFile3DS::Atmosphere() const {
  TAtmosphere3DS a;
  const int32_t md = MData();
  if (md < 0) return a;
  a.fog.farPlane = 1000;
  a.fog.farDensity = 100;
  a.fog.background = true;
  a.layerFog.zMax = 100;
  a.layerFog.density = 50;
  a.layerFog.background = true;
  a.distanceCue.farPlane = 1000;
  a.distanceCue.farDimming = 100;
  const int32_t fog = FindChild(md, kChunkFog);
  if (fog < 0) return a;
  auto colourF = [&](int32_t chunk, TColor3DS& colour) {
    const int32_t c = FindChild(chunk, kChunkColorF);
    if (c < 0) return;
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    TColor3DS v{r.F32(), r.F32(), r.F32()};
    if (r.Ok()) colour = v;
  };
  {
    ByteReader r = ChunkData(bytes_, chunks_[fog]);
    const float f[4] = {r.F32(), r.F32(), r.F32(), r.F32()};
    if (r.Ok()) {
      a.fog.nearPlane = f[0];
      a.fog.nearDensity = f[1];
      a.fog.farPlane = f[2];
      a.fog.farDensity = f[3];
    }
    colourF(fog, a.fog.color);
  }
  if (const int32_t layer = FindChild(md, kChunkLayerFog); layer >= 0) {
    ByteReader r = ChunkData(bytes_, chunks_[layer]);
    const float zMin = r.F32(), zMax = r.F32(), density = r.F32();
    const uint32_t flags = r.U32();
    if (r.Ok()) {
      a.layerFog.zMin = zMin;
      a.layerFog.zMax = zMax;
      a.layerFog.density = density;
      a.layerFog.fallOff = (flags & 2) ? 1 : ((flags & 1) ? 2 : 0);
      a.layerFog.background = (flags & (1u << 20)) != 0;
    }
    colourF(layer, a.layerFog.color);
  }
  if (const int32_t cue = FindChild(md, kChunkDistanceCue); cue >= 0) {
    ByteReader r = ChunkData(bytes_, chunks_[cue]);
    const float f[4] = {r.F32(), r.F32(), r.F32(), r.F32()};
    if (r.Ok()) a.distanceCue = TDistanceCue3DS{f[0], f[1], f[2], f[3]};
  }
  if (FindChild(md, kChunkUseFog) >= 0) {
    a.activeType = 1;
  } else if (FindChild(md, kChunkUseLayerFog) >= 0) {
    a.activeType = 2;
  } else if (FindChild(md, kChunkUseDistanceCue) >= 0) {
    a.activeType = 3;
  }
  return a;
}

// ---- materials ----

std::vector<int32_t> TFile3DS::FindMaterialEntries() const {
  std::vector<int32_t> out;
  if (chunks_.empty()) return out;
  const int32_t holder = chunks_[0].id == kChunkMLibMagic ? 0 : MData();
  if (holder < 0) return out;
  for (int32_t c : chunks_[holder].children) {
    if (chunks_[c].id == kChunkMatEntry) out.push_back(c);
  }
  return out;
}

TMaterial3DS TFile3DS::ReadMaterial(int32_t chunk) const {
  if (chunks_[chunk].id != kChunkMatEntry) Raise(kInvalidChunk);
  TMaterial3DS m;
  // Colour chunk: LIN_COLOR_24 wins over COLOR_24; a chunk with only COLOR_F uses that
  // (clamped to 0..1); a chunk with no colour at all reads black.
  auto colour = [&](int32_t holder) {
    TColor3DS c24, lin, cf;
    bool has24 = false, hasLin = false, hasF = false;
    for (int32_t c : chunks_[holder].children) {
      ByteReader r = ChunkData(bytes_, chunks_[c]);
      if (chunks_[c].id == kChunkColor24 || chunks_[c].id == kChunkLinColor24) {
        const uint8_t rgb[3] = {r.U8(), r.U8(), r.U8()};
        if (!r.Ok()) continue;
        const TColor3DS v{rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f};
        if (chunks_[c].id == kChunkColor24) {
          c24 = v;
          has24 = true;
        } else {
          lin = v;
          hasLin = true;
        }
      } else if (chunks_[c].id == kChunkColorF) {
        const float f[3] = {r.F32(), r.F32(), r.F32()};
        if (!r.Ok()) continue;
        cf = TColor3DS{Clamp01(f[0]), Clamp01(f[1]), Clamp01(f[2])};
        hasF = true;
      }
    }
    return hasLin ? lin : (has24 ? c24 : (hasF ? cf : TColor3DS{}));
  };
  auto percentage = [&](int32_t holder) {
    float value = 0;
    for (int32_t c : chunks_[holder].children) {
      ByteReader r = ChunkData(bytes_, chunks_[c]);
      if (chunks_[c].id == kChunkIntPercentage) {
        const int16_t v = r.I16();
        if (r.Ok()) value = v / 100.0f;
      } else if (chunks_[c].id == kChunkFloatPercentage) {
        const float v = r.F32();
        if (r.Ok()) value = v;
      }
    }
    return value;
  };
  for (int32_t c : chunks_[chunk].children) {
    const uint16_t id = chunks_[c].id;
    if (!IsMaterialSubChunk(id)) Raise(kInvalidChunk);
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    switch (id) {
      case kChunkMatName:
        m.name = r.CString();
        break;
      case kChunkMatAmbient:
        m.ambient = colour(c);
        break;
      case kChunkMatDiffuse:
        m.diffuse = colour(c);
        break;
      case kChunkMatSpecular:
        m.specular = colour(c);
        break;
      case kChunkMatShininess:
        m.shininess = percentage(c);
        break;
      case kChunkMatTransparency:
        m.transparency = percentage(c);
        break;
      case kChunkMatTwoSide:
        m.twoSided = true;
        break;
      case kChunkMatWire:
        m.shading = 0;
        break;
      case kChunkMatXpfallin:
        m.transparency = -m.transparency;
        break;
      case kChunkMatShading: {
        const uint16_t v = r.U16();
        if (r.Ok()) m.shading = v;
        break;
      }
      case kChunkMatTexmap:
        if (const int32_t name = FindChild(c, kChunkMatMapname); name >= 0) {
          ByteReader n = ChunkData(bytes_, chunks_[name]);
          m.textureName = n.CString();
        }
        break;
      default:
        break;  // accepted, not used
    }
  }
  return m;
}

int32_t TMaterialList::Count() const {
  return static_cast<int32_t>(file_.materialEntries_.size());
}

TMaterial3DS TMaterialList::Material(int32_t index) const {
  file_.RequireTree();
  const std::vector<int32_t>& entries = file_.materialEntries_;
  if (index < 0 || index >= static_cast<int32_t>(entries.size())) RaiseIndex(index);
  return file_.ReadMaterial(entries[index]);
}

// ---- named objects: meshes and lights ----

std::vector<int32_t> TFile3DS::FindNamedObjects() const {
  std::vector<int32_t> out;
  const int32_t first = FindDepthFirst(MData(), kChunkNamedObject);
  if (first < 0) return out;
  const std::vector<int32_t>& siblings = chunks_[chunks_[first].parent].children;
  auto it = std::find(siblings.begin(), siblings.end(), first);
  for (; it != siblings.end(); ++it) {
    if (chunks_[*it].id == kChunkNamedObject) out.push_back(*it);
  }
  return out;
}

TMesh3DS TFile3DS::ReadMesh(int32_t chunk) const {
  const int32_t tri = FindChild(chunk, kChunkNTriObject);
  if (tri < 0) {
    Raise(
        "The Name passed to the functions exists but is not the type of object asked for.\r"
        "For example asking for a mesh object with the GetCameraByName3DS function.");
  }
  TMesh3DS mesh;
  {
    ByteReader r = ChunkData(bytes_, chunks_[chunk]);
    mesh.name = r.CString();
  }
  mesh.hidden = FindChild(chunk, kChunkObjHidden) >= 0;
  if (const int32_t c = FindChild(tri, kChunkPointArray); c >= 0) {
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    const uint16_t n = r.U16();
    if (!r.Ok() || r.Remaining() / 12 < n) Raise(kInvalidChunk);
    mesh.vertices.resize(n);
    for (TPoint3DS& p : mesh.vertices) p = TPoint3DS{r.F32(), r.F32(), r.F32()};
  }
  const uint32_t vertexCount = static_cast<uint32_t>(mesh.vertices.size());
  if (const int32_t c = FindChild(tri, kChunkTexVerts); c >= 0) {
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    const uint16_t n = r.U16();
    if (!r.Ok() || r.Remaining() / 8 < n) Raise(kInvalidChunk);
    // One per vertex: extra entries are dropped, missing ones read (0, 0).
    mesh.texCoords.resize(vertexCount);
    for (uint32_t i = 0; i < n; ++i) {
      const TTexVert3DS t{r.F32(), r.F32()};
      if (i < vertexCount) mesh.texCoords[i] = t;
    }
  }
  if (const int32_t c = FindChild(tri, kChunkFaceArray); c >= 0) {
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    const uint16_t n = r.U16();
    if (!r.Ok() || r.Remaining() / 8 < n) Raise(kInvalidChunk);
    mesh.faces.resize(n);
    // Corners are kept as stored; the model builder drops a face naming a missing vertex.
    for (TFace3DS& f : mesh.faces) f = TFace3DS{r.U16(), r.U16(), r.U16(), r.U16()};
    for (int32_t sub : chunks_[c].children) {
      ByteReader s = ChunkData(bytes_, chunks_[sub]);
      if (chunks_[sub].id == kChunkMshMatGroup) {
        TMaterialGroup3DS group;
        group.materialName = s.CString();
        const uint16_t count = s.U16();
        if (!s.Ok() || s.Remaining() / 2 < count) Raise(kInvalidChunk);
        group.faces.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
          const uint16_t face = s.U16();
          if (face < n) group.faces.push_back(face);  // a face number past the array is dropped
        }
        mesh.materialGroups.push_back(std::move(group));
      } else if (chunks_[sub].id == kChunkSmoothGroup) {
        // One mask per face; masks the chunk lacks read 0, extra ones are ignored.
        mesh.smoothing.assign(n, 0);
        for (uint32_t i = 0; i < n && s.Remaining() >= 4; ++i) mesh.smoothing[i] = s.U32();
      }
    }
  }
  if (const int32_t c = FindChild(tri, kChunkMeshMatrix); c >= 0) {
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    std::array<float, 12> m{};
    for (float& v : m) v = r.F32();
    if (r.Ok()) mesh.matrix = m;
  }
  return mesh;
}

TLight3DS TFile3DS::ReadLight(int32_t chunk) const {
  const int32_t light = FindChild(chunk, kChunkNDirectLight);
  if (light < 0) {
    Raise(
        "The Name passed to the functions exists but is not the type of object asked for.\r"
        "For example asking for a mesh object with the GetCameraByName3DS function.");
  }
  TLight3DS l;
  {
    ByteReader r = ChunkData(bytes_, chunks_[chunk]);
    l.name = r.CString();
  }
  ByteReader r = ChunkData(bytes_, chunks_[light]);
  l.position = TPoint3DS{r.F32(), r.F32(), r.F32()};
  if (!r.Ok()) Raise(kInvalidChunk);
  for (int32_t c : chunks_[light].children) {
    ByteReader s = ChunkData(bytes_, chunks_[c]);
    switch (chunks_[c].id) {
      case kChunkColorF: {
        const TColor3DS v{s.F32(), s.F32(), s.F32()};
        if (s.Ok()) l.color = v;
        break;
      }
      case kChunkColor24: {
        const uint8_t rgb[3] = {s.U8(), s.U8(), s.U8()};
        if (s.Ok()) l.color = TColor3DS{rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f};
        break;
      }
      case kChunkDlOff:
        l.off = true;
        break;
      case kChunkDlSpotlight: {
        l.spot = true;
        l.target = TPoint3DS{s.F32(), s.F32(), s.F32()};
        l.hotspot = s.F32();
        l.falloff = s.F32();
        if (!s.Ok()) Raise(kInvalidChunk);
        break;
      }
      default:
        break;
    }
  }
  return l;
}

int32_t TObjectList::MeshCount() const {
  if (!file_.HasTree()) return 0;
  file_.RequireMeshDatabase();
  return static_cast<int32_t>(file_.meshObjects_.size());
}

TMesh3DS TObjectList::Mesh(int32_t index) const {
  file_.RequireMeshDatabase();
  const std::vector<int32_t>& meshes = file_.meshObjects_;
  if (index < 0 || index >= static_cast<int32_t>(meshes.size())) RaiseIndex(index);
  return file_.ReadMesh(meshes[index]);
}

int32_t TObjectList::OmniLightCount() const {
  if (!file_.HasTree()) return 0;
  file_.RequireMeshDatabase();
  return static_cast<int32_t>(file_.omniLights_.size());
}

TLight3DS TObjectList::OmniLight(int32_t index) const {
  file_.RequireMeshDatabase();
  const std::vector<int32_t>& lights = file_.omniLights_;
  if (index < 0 || index >= static_cast<int32_t>(lights.size())) RaiseIndex(index);
  return file_.ReadLight(lights[index]);
}

int32_t TObjectList::SpotLightCount() const {
  if (!file_.HasTree()) return 0;
  file_.RequireMeshDatabase();
  return static_cast<int32_t>(file_.spotLights_.size());
}

TLight3DS TObjectList::SpotLight(int32_t index) const {
  file_.RequireMeshDatabase();
  const std::vector<int32_t>& lights = file_.spotLights_;
  if (index < 0 || index >= static_cast<int32_t>(lights.size())) RaiseIndex(index);
  return file_.ReadLight(lights[index]);
}

// ---- keyframer ----

namespace {

struct NodeHeader {
  std::string name;
  uint16_t flags1 = 0, flags2 = 0;
  int16_t parent = -1;
};

}  // namespace

std::vector<int32_t> TFile3DS::FindMeshNodeChunks() const {
  std::vector<int32_t> out;
  if (chunks_.empty() || chunks_[0].id == kChunkMLibMagic) return out;
  const int32_t kf = FindChild(0, kChunkKfData);
  if (kf < 0) return out;
  for (int32_t c : chunks_[kf].children) {
    if (chunks_[c].id == kChunkObjectNodeTag) out.push_back(c);
  }
  return out;
}

void TFile3DS::ResolveParentNames() {
  if (chunks_[0].id == kChunkMLibMagic) return;
  const int32_t kf = FindChild(0, kChunkKfData);
  if (kf < 0) return;
  struct Node {
    int32_t chunk;
    int32_t id;
    int16_t parent;
    std::string fullName;
  };
  std::vector<Node> nodes;
  bool allHaveIds = true;
  for (int32_t c : chunks_[kf].children) {
    if (!IsNodeTag(chunks_[c].id)) continue;
    Node node{c, -1, -1, {}};
    if (const int32_t idChunk = FindChild(c, kChunkNodeId); idChunk >= 0) {
      ByteReader r = ChunkData(bytes_, chunks_[idChunk]);
      const int16_t v = r.I16();
      if (r.Ok()) node.id = v;
    }
    if (node.id < 0) allHaveIds = false;
    std::string name;
    if (const int32_t hdr = FindChild(c, kChunkNodeHdr); hdr >= 0) {
      ByteReader r = ChunkData(bytes_, chunks_[hdr]);
      name = r.CString();
      r.Skip(4);  // flags 1 and 2
      const int16_t parent = r.I16();
      if (r.Ok()) node.parent = parent;
    }
    if (chunks_[c].id == kChunkObjectNodeTag) {
      if (const int32_t inst = FindChild(c, kChunkInstanceName); inst >= 0) {
        ByteReader r = ChunkData(bytes_, chunks_[inst]);
        const std::string instance = r.CString();
        if (!instance.empty()) name += "." + instance;
      }
    }
    node.fullName = std::move(name);
    nodes.push_back(std::move(node));
  }
  if (!allHaveIds) {
    for (size_t i = 0; i < nodes.size(); ++i) nodes[i].id = static_cast<int32_t>(i);
  }
  // Id -> first node in file order that carries it.
  std::unordered_map<int32_t, size_t> byId;
  byId.reserve(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) byId.emplace(nodes[i].id, i);
  for (const Node& node : nodes) {
    if (node.parent < 0) continue;
    if (const auto it = byId.find(node.parent); it != byId.end()) {
      parentNames_[node.chunk] = nodes[it->second].fullName;
    }
  }
}

TMeshNode3DS TFile3DS::ReadMeshNode(int32_t chunk) const {
  if (chunks_[chunk].id != kChunkObjectNodeTag) {
    Raise(
        "The Name passed to the functions exists but is not the type of object asked for.\r"
        "For example asking for a mesh object with the GetCameraByName3DS function.");
  }
  TMeshNode3DS node;
  std::string instance;
  bool hasInstance = false;
  auto readTrack = [&](int32_t c, bool rotation, TTrack3DS& track) {
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    track.flags = r.U16();
    r.Skip(8);  // two unused u32
    const uint32_t count = r.U32();
    // Smallest key: frame, spline flags and the value.
    const size_t minKey = 4 + 2 + (rotation ? 16 : 12);
    if (!r.Ok() || r.Remaining() / minKey < count) Raise(kInvalidChunk);
    track.keys.resize(count);
    for (TKey3DS& k : track.keys) {
      k.frame = r.U32();
      k.splineFlags = r.U16();
      float* spline[5] = {&k.tension, &k.continuity, &k.bias, &k.easeTo, &k.easeFrom};
      for (int bit = 0; bit < 5; ++bit) {
        if (k.splineFlags & (1u << bit)) *spline[bit] = r.F32();
      }
      if (rotation) k.angle = r.F32();
      k.x = r.F32();
      k.y = r.F32();
      k.z = r.F32();
    }
    if (!r.Ok()) Raise(kInvalidChunk);
  };
  for (int32_t c : chunks_[chunk].children) {
    ByteReader r = ChunkData(bytes_, chunks_[c]);
    switch (chunks_[c].id) {
      case kChunkNodeHdr: {
        node.name = r.CString();
        const uint16_t f1 = r.U16(), f2 = r.U16();
        if (r.Ok()) {
          node.flags1 = f1;
          node.flags2 = f2;
        }
        break;
      }
      case kChunkInstanceName:
        instance = r.CString();
        hasInstance = !instance.empty();
        break;
      case kChunkPivot: {
        const TPoint3DS p{r.F32(), r.F32(), r.F32()};
        if (r.Ok()) node.pivot = p;
        break;
      }
      case kChunkPosTrackTag:
        readTrack(c, false, node.position);
        break;
      case kChunkRotTrackTag:
        readTrack(c, true, node.rotation);
        break;
      case kChunkSclTrackTag:
        readTrack(c, false, node.scale);
        break;
      default:
        break;
    }
  }
  if (hasInstance) node.name += "." + instance;
  node.parentName = parentNames_[chunk];
  return node;
}

int32_t TKeyFramer::MeshNodeCount() const {
  return static_cast<int32_t>(file_.meshNodes_.size());
}

TMeshNode3DS TKeyFramer::MeshNode(int32_t index) const {
  file_.RequireTree();
  const std::vector<int32_t>& nodes = file_.meshNodes_;
  if (index < 0 || index >= static_cast<int32_t>(nodes.size())) RaiseIndex(index);
  return file_.ReadMeshNode(nodes[index]);
}

}  // namespace skerrow
