// TKTZGL_Model: builds meshes, normals, materials, lights, display lists and the collider.
#include "engine/model.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <unordered_map>

#include "engine/file3ds.h"
#include "engine/smoothing.h"
#include "engine/textures.h"
#include "platform/numeric.h"
#include "platform/paths.h"

namespace skerrow {

namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = UpperAscii(c);
  return r;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

// Inserts into a list kept sorted by upper-cased name; a duplicate name is refused.
template <typename T>
void SortedInsert(std::vector<std::pair<std::string, T>>& list, const std::string& name,
                  const T& value) {
  const std::string key = Upper(name);
  auto it = std::lower_bound(
      list.begin(), list.end(), key,
      [](const std::pair<std::string, T>& e, const std::string& k) { return Upper(e.first) < k; });
  if (it != list.end() && Upper(it->first) == key) return;
  list.insert(it, {name, value});
}

// 4x4 matrices, row-vector convention (v' = v * M), translation in elements 12..14; the flat
// array is what glMultMatrixf takes.
using Mat4 = std::array<float, 16>;

Mat4 Identity() {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 r{};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + col];
      r[row * 4 + col] = sum;
    }
  }
  return r;
}

// Inverse of an affine matrix (3x3 part + translation); identity when the 3x3 part is singular.
Mat4 InverseAffine(const Mat4& m) {
  const double a = m[0], b = m[1], c = m[2];
  const double d = m[4], e = m[5], f = m[6];
  const double g = m[8], h = m[9], i = m[10];
  const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  if (det == 0 || !std::isfinite(det)) return Identity();
  const double inv[9] = {(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det,
                         (f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det,
                         (d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det};
  Mat4 r = Identity();
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) r[row * 4 + col] = static_cast<float>(inv[row * 3 + col]);
  }
  for (int col = 0; col < 3; ++col) {
    double t = 0;
    for (int k = 0; k < 3; ++k) t -= m[12 + k] * inv[k * 3 + col];
    r[12 + col] = static_cast<float>(t);
  }
  return r;
}

Mat4 ScaleMatrix(const float s[3]) {
  Mat4 r = Identity();
  r[0] = s[0];
  r[5] = s[1];
  r[10] = s[2];
  return r;
}

Mat4 RotationMatrix(float angle, float ax, float ay, float az) {
  const double len = std::sqrt(double(ax) * ax + double(ay) * ay + double(az) * az);
  if (len == 0 || !std::isfinite(len)) return Identity();
  const double x = ax / len, y = ay / len, z = az / len;
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  Mat4 r = Identity();
  r[0] = float(t * x * x + c);
  r[1] = float(t * x * y - z * s);
  r[2] = float(t * z * x + y * s);
  r[4] = float(t * x * y + z * s);
  r[5] = float(t * y * y + c);
  r[6] = float(t * y * z - x * s);
  r[8] = float(t * z * x - y * s);
  r[9] = float(t * y * z + x * s);
  r[10] = float(t * z * z + c);
  return r;
}

ModelVec3 Sub(const ModelVec3& a, const ModelVec3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

ModelVec3 Cross(const ModelVec3& a, const ModelVec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

ModelVec3 Normalised(const ModelVec3& v) {
  const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(len > 0) || !std::isfinite(len)) return v;
  return {v.x / len, v.y / len, v.z / len};
}

struct Corner {
  uint32_t index[3];
};

// Copies the mesh, gives every vertex a normal from the smoothing groups (splitting vertices
// that several groups share, SplitBySmoothingGroups) and returns the faces' corners after the
// split. Faces naming a vertex that does not exist are dropped (valid[f] = 0).
void BuildMeshGeometry(const ModelSourceMesh& src, bool release3, ModelMesh& mesh,
                       std::vector<Corner>& corners, std::vector<uint8_t>& valid) {
  const uint32_t original = static_cast<uint32_t>(src.vertices.size());
  const std::vector<uint32_t> faces(src.faces.begin(), src.faces.end());
  const TSmoothingSplit split = SplitBySmoothingGroups(original, faces, src.smoothing);
  const size_t outCount = split.sourceVertex.size();

  mesh.vertices.clear();
  mesh.vertices.reserve(outCount);
  for (uint32_t s : split.sourceVertex) mesh.vertices.push_back(src.vertices[s]);
  mesh.texCoords.clear();
  if (!src.texCoords.empty()) {
    mesh.texCoords.reserve(outCount);
    for (uint32_t s : split.sourceVertex) {
      mesh.texCoords.push_back(s < src.texCoords.size() ? src.texCoords[s] : ModelVec2{0, 0});
    }
  }
  // A vertex normal is the sum of the face normals of the corners using it, in face order.
  mesh.normals.assign(outCount, ModelVec3{0, 0, 0});
  std::vector<uint8_t> touched(outCount, 0);

  const size_t faceCount = faces.size() / 3;
  corners.assign(faceCount, Corner{{0, 0, 0}});
  valid.assign(faceCount, 0);
  for (size_t f = 0; f < faceCount; ++f) {
    if (!FaceIsValid(original, faces, f)) continue;
    valid[f] = 1;
    const ModelVec3& pa = src.vertices[faces[f * 3]];
    const ModelVec3& pb = src.vertices[faces[f * 3 + 1]];
    const ModelVec3& pc = src.vertices[faces[f * 3 + 2]];
    const ModelVec3 n = release3 ? Normalised(Cross(Sub(pa, pb), Sub(pc, pb)))
                                 : Normalised(Cross(Sub(pc, pb), Sub(pa, pb)));
    for (int i = 0; i < 3; ++i) {
      const uint32_t out = split.corners[f * 3 + i];
      ModelVec3& acc = mesh.normals[out];
      acc = touched[out] ? ModelVec3{acc.x + n.x, acc.y + n.y, acc.z + n.z} : n;
      touched[out] = 1;
      corners[f].index[i] = out;
    }
  }
  for (auto& n : mesh.normals) n = Normalised(n);
  mesh.vertexCount = static_cast<int32_t>(mesh.vertices.size());
}

void SendMaterial(const ModelMaterial& source, uint32_t magFilter) {
  ModelMaterial m = source;
  // Opaque materials arrive with alpha 0.
  if (m.ambient.a == 0) m.ambient.a = 1;
  if (m.diffuse.a == 0) m.diffuse.a = 1;
  if (m.specular.a == 0) m.specular.a = 1;
  glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.shininess, 0, 128));
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &m.emission.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &m.ambient.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &m.diffuse.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, &m.specular.r);
  glShadeModel(m.shadeModel);
  if (m.twoSided == 1) {
    glDisable(GL_CULL_FACE);
  } else {
    glEnable(GL_CULL_FACE);
  }
  if (m.texture != 0) {
    glBindTexture(GL_TEXTURE_2D, m.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(m.wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(m.wrapT));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(m.envMode));
  }
}

}  // namespace

void FillModelSource(const TFile3DS& file, ModelSource& out) {
  out = ModelSource{};
  out.meshRelease = file.MeshRelease();
  out.databaseRelease = file.DatabaseRelease();
  const TAtmosphere3DS atmosphere = file.Atmosphere();
  out.fogType = atmosphere.activeType;
  out.fogNear = atmosphere.fog.nearPlane;
  out.fogNearDensity = atmosphere.fog.nearDensity;
  out.fogFar = atmosphere.fog.farPlane;
  out.fogFarDensity = atmosphere.fog.farDensity;
  out.fogColour[0] = atmosphere.fog.color.r;
  out.fogColour[1] = atmosphere.fog.color.g;
  out.fogColour[2] = atmosphere.fog.color.b;
  out.layerLow = atmosphere.layerFog.zMin;
  out.layerHigh = atmosphere.layerFog.zMax;
  out.layerDensity = atmosphere.layerFog.density;
  out.layerColour[0] = atmosphere.layerFog.color.r;
  out.layerColour[1] = atmosphere.layerFog.color.g;
  out.layerColour[2] = atmosphere.layerFog.color.b;

  const TMaterialList& materials = file.Materials();
  for (int32_t i = 0, n = materials.Count(); i < n; ++i) {
    const TMaterial3DS m = materials.Material(i);
    ModelSourceMaterial s;
    s.name = m.name;
    s.ambient[0] = m.ambient.r, s.ambient[1] = m.ambient.g, s.ambient[2] = m.ambient.b;
    s.diffuse[0] = m.diffuse.r, s.diffuse[1] = m.diffuse.g, s.diffuse[2] = m.diffuse.b;
    s.specular[0] = m.specular.r, s.specular[1] = m.specular.g, s.specular[2] = m.specular.b;
    s.shininess = m.shininess;
    s.transparency = m.transparency;
    s.shading = m.shading;
    s.twoSided = m.twoSided ? 1 : 0;
    s.textureName = m.textureName;
    out.materials.push_back(std::move(s));
  }

  const TObjectList& objects = file.Objects();
  for (int32_t i = 0, n = objects.MeshCount(); i < n; ++i) {
    const TMesh3DS m = objects.Mesh(i);
    ModelSourceMesh s;
    s.name = m.name;
    s.hidden = m.hidden ? 1 : 0;
    for (const TPoint3DS& p : m.vertices) s.vertices.push_back({p.x, p.y, p.z});
    for (const TTexVert3DS& t : m.texCoords) s.texCoords.push_back({t.u, t.v});
    for (const TFace3DS& f : m.faces) s.faces.insert(s.faces.end(), {f.a, f.b, f.c});
    s.smoothing = m.smoothing;
    for (const TMaterialGroup3DS& g : m.materialGroups) {
      s.groups.push_back(ModelSourceGroup{g.materialName, g.faces});
    }
    std::copy(m.matrix.begin(), m.matrix.end(), s.matrix);
    out.meshes.push_back(std::move(s));
  }
  auto light = [](const TLight3DS& l) {
    ModelSourceLight s;
    s.name = l.name;
    s.position = {l.position.x, l.position.y, l.position.z};
    s.colour[0] = l.color.r, s.colour[1] = l.color.g, s.colour[2] = l.color.b;
    s.off = l.off ? 1 : 0;
    return s;
  };
  for (int32_t i = 0, n = objects.OmniLightCount(); i < n; ++i) {
    out.omniLights.push_back(light(objects.OmniLight(i)));
  }
  for (int32_t i = 0, n = objects.SpotLightCount(); i < n; ++i) {
    out.spotLights.push_back(light(objects.SpotLight(i)));
  }

  const TKeyFramer& keyFramer = file.KeyFramer();
  auto firstKey = [](const TTrack3DS& track, bool rotation) {
    ModelSourceKey key;
    if (track.keys.empty() || track.keys.front().frame != 0) return key;
    const TKey3DS& k = track.keys.front();
    key.present = 1;
    if (rotation) {
      key.value[0] = k.angle, key.value[1] = k.x, key.value[2] = k.y, key.value[3] = k.z;
    } else {
      key.value[0] = k.x, key.value[1] = k.y, key.value[2] = k.z;
    }
    return key;
  };
  for (int32_t i = 0, n = keyFramer.MeshNodeCount(); i < n; ++i) {
    const TMeshNode3DS node = keyFramer.MeshNode(i);
    ModelSourceNode s;
    s.name = node.name;
    s.parentName = node.parentName;
    s.pivot = {node.pivot.x, node.pivot.y, node.pivot.z};
    s.position = firstKey(node.position, false);
    s.rotation = firstKey(node.rotation, true);
    s.scale = firstKey(node.scale, false);
    out.nodes.push_back(std::move(s));
  }
}

bool ReadModelSource(const std::string& fileName, ModelSource& out, TLoaderMessages& messages) {
  out = ModelSource{};
  try {
    TFile3DS file(ResolvePath(fileName));
    FillModelSource(file, out);
  } catch (const E3DSError& e) {
    out = ModelSource{};
    messages.push_back({"Skerrow", e.what()});
    return false;
  } catch (const std::bad_alloc&) {
    out = ModelSource{};
    messages.push_back({"Skerrow", "Not enough memory to complete operation."});
    return false;
  }
  return true;
}

TKTZGL_Model::~TKTZGL_Model() = default;

int32_t TKTZGL_Model::FindMaterial(const std::string& name) const {
  for (size_t i = 0; i < Materials.size(); ++i) {
    if (SameText(Materials[i].first, name)) return static_cast<int32_t>(i);
  }
  return -1;
}

void TKTZGL_Model::Clear() {
  for (ModelMesh& mesh : Meshes) {
    if (mesh.displayList != 0) glDeleteLists(mesh.displayList, 1);
  }
  Meshes.clear();
  Materials.clear();
  Lights.clear();
  if (ModelList != 0) glDeleteLists(ModelList, 1);
  ModelList = 0;
  Centre[0] = Centre[1] = Centre[2] = 0;
  HasBounds = 0;
}

void TKTZGL_Model::AddToBounds(const ModelMesh& mesh, const float* rowMatrix) {
  for (const ModelVec3& v : mesh.vertices) {
    float p[3] = {v.x, v.y, v.z};
    if (rowMatrix != nullptr) {
      const float* m = rowMatrix;
      for (int i = 0; i < 3; ++i) p[i] = v.x * m[i] + v.y * m[4 + i] + v.z * m[8 + i] + m[12 + i];
    }
    for (int i = 0; i < 3; ++i) {
      BoundsMin[i] = HasBounds == 0 ? p[i] : std::min(BoundsMin[i], p[i]);
      BoundsMax[i] = HasBounds == 0 ? p[i] : std::max(BoundsMax[i], p[i]);
    }
    HasBounds = 1;
  }
}

void TKTZGL_Model::LoadFromFile(const std::string& fileName, bool noMaterials, float ambientBoost,
                                int32_t /*textureFlag: callers pass 1; it selects nothing*/,
                                TLoaderMessages& messages) {
  if (!PathExists(fileName)) return;
  ModelSource source;
  if (!ReadModelSource(fileName, source, messages)) {
    Clear();
    Collider = TKTZGL_collider{};
    return;
  }
  const int32_t dropped = Build(source, noMaterials, ambientBoost, messages);
  if (dropped > 0) {
    std::fprintf(stderr, "%s: %d face(s) naming a vertex the mesh lacks were left out\n",
                 fileName.c_str(), dropped);
  }
}

namespace {

// Release: the mesh section's, replaced by the database's when unknown or older; true for
// release 3 (which winds its faces the other way).
bool IsRelease3(const ModelSource& source) {
  int32_t release = source.meshRelease;
  if (release < 0 || release > 3) release = 3;
  int32_t dbRelease = source.databaseRelease;
  if (dbRelease < 0 || dbRelease > 3) dbRelease = 3;
  if (release == 3 || release < dbRelease) release = dbRelease;
  if (release == 3) release = 2;
  return release >= 2;
}

// A node's first keys as matrices, made once per node however often the node is walked.
struct NodeKeys {
  bool scale = false, rotation = false, position = false;
  Mat4 scaleMatrix{}, rotationMatrix{};
  float offset[3] = {0, 0, 0};
};

NodeKeys MakeNodeKeys(const ModelSourceNode& node) {
  NodeKeys k;
  k.scale = node.scale.present == 1;
  if (k.scale) k.scaleMatrix = ScaleMatrix(node.scale.value);
  k.rotation = node.rotation.present == 1;
  if (k.rotation) {
    const float* v = node.rotation.value;
    k.rotationMatrix = RotationMatrix(v[0], v[1], v[2], v[3]);
  }
  k.position = node.position.present == 1;
  if (k.position) std::copy(node.position.value, node.position.value + 3, k.offset);
  return k;
}

void ApplyKeys(Mat4& m, const NodeKeys& k) {
  if (k.scale) m = Multiply(m, k.scaleMatrix);
  if (k.rotation) m = Multiply(m, k.rotationMatrix);
  if (k.position) {
    m[12] += k.offset[0];
    m[13] += k.offset[1];
    m[14] += k.offset[2];
  }
}

// Upper-cased name -> index of the first entry of that name.
template <typename T, typename Name>
std::unordered_map<std::string, int32_t> IndexByName(const std::vector<T>& list, Name name) {
  std::unordered_map<std::string, int32_t> index;
  index.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    index.emplace(Upper(name(list[i])), static_cast<int32_t>(i));
  }
  return index;
}

int32_t Find(const std::unordered_map<std::string, int32_t>& index, std::string_view name) {
  const auto it = index.find(Upper(name));
  return it == index.end() ? -1 : it->second;
}

}  // namespace

void TKTZGL_Model::BuildMaterials(const ModelSource& source, float ambientBoost) {
  if (source.materials.empty()) {
    ModelMaterial m;
    m.ambient = MakeColor(0.1f, 0.1f, 0.1f, 1);
    m.diffuse = MakeColor(0.5f, 0.5f, 0.5f, 1);
    m.specular = MakeColor(1, 1, 1, 1);
    m.emission = MakeColor(0, 0, 0, 1);
    m.shininess = 128;
    m.polygonMode = GL_FILL;
    m.shadeModel = GL_SMOOTH;
    m.wrapS = m.wrapT = GL_REPEAT;
    m.minFilter = m.magFilter = MagFilter;
    m.envMode = GL_MODULATE;
    SortedInsert(Materials, std::string("Default"), m);
    return;
  }
  for (const ModelSourceMaterial& s : source.materials) {
    ModelMaterial m;
    const float alpha = std::fabs(s.transparency);
    m.ambient = MakeColor(s.ambient[0] + ambientBoost, s.ambient[1] + ambientBoost,
                          s.ambient[2] + ambientBoost, alpha);
    m.diffuse = MakeColor(s.diffuse[0], s.diffuse[1], s.diffuse[2], alpha);
    m.specular = MakeColor(s.specular[0], s.specular[1], s.specular[2], alpha);
    m.emission = MakeColor(0, 0, 0, 0);
    m.shininess = RoundToInt(static_cast<double>(s.shininess) * 128);
    m.polygonMode = s.shading == 0 ? GL_LINE : GL_FILL;
    m.shadeModel = (s.shading == 0 || s.shading == 1) ? GL_FLAT : GL_SMOOTH;
    m.twoSided = s.twoSided == 1 ? 1 : 0;
    m.wrapS = m.wrapT = GL_REPEAT;
    m.minFilter = m.magFilter = MagFilter;
    m.envMode = s.shininess == 0 ? GL_DECAL : GL_MODULATE;
    m.textureFileName = s.textureName;
    SortedInsert(Materials, s.name, m);
  }
}

int32_t TKTZGL_Model::BuildMeshes(const ModelSource& source, bool release3,
                                  TLoaderMessages& messages) {
  const auto materialIndex =
      IndexByName(Materials, [](const auto& entry) -> const std::string& { return entry.first; });
  int32_t dropped = 0;
  double centre[3] = {0, 0, 0};
  size_t totalVertices = 0;
  for (const ModelSourceMesh& src : source.meshes) {
    if (src.vertices.size() < 3) continue;
    ModelMesh mesh;
    mesh.name = src.name;
    mesh.visible = src.hidden == 1 ? 0 : 1;
    std::vector<Corner> corners;
    std::vector<uint8_t> valid;
    BuildMeshGeometry(src, release3, mesh, corners, valid);
    const size_t faceCount = corners.size();
    dropped += static_cast<int32_t>(std::count(valid.begin(), valid.end(), uint8_t{0}));
    auto addFace = [&](FaceGroup& group, size_t f) {
      if (f >= faceCount || valid[f] == 0) return;
      for (uint32_t index : corners[f].index) group.indices.push_back(index);
    };
    if (src.groups.empty()) {
      FaceGroup group;
      for (size_t f = 0; f < faceCount; ++f) addFace(group, f);
      group.indexCount = static_cast<int32_t>(group.indices.size());
      mesh.faceGroups.push_back(std::move(group));
    } else {
      for (const ModelSourceGroup& g : src.groups) {
        FaceGroup group;
        group.materialIndex = Find(materialIndex, g.materialName);
        if (group.materialIndex < 0) {
          messages.push_back(
              {"Skerrow", "Material '" + g.materialName + "' not found. Using default material."});
          group.materialIndex = 0;
        }
        for (uint16_t f : g.faces) addFace(group, f);
        group.indexCount = static_cast<int32_t>(group.indices.size());
        mesh.faceGroups.push_back(std::move(group));
      }
    }
    for (const ModelVec3& v : mesh.vertices) {
      centre[0] += v.x;
      centre[1] += v.y;
      centre[2] += v.z;
    }
    totalVertices += mesh.vertices.size();
    Meshes.push_back(std::move(mesh));
  }
  if (totalVertices > 0) {
    for (int i = 0; i < 3; ++i) Centre[i] = static_cast<float>(centre[i] / totalVertices);
  }
  return dropped;
}

void TKTZGL_Model::BuildLights(const ModelSource& source) {
  // Kept with the model, never switched on by it.
  auto addLight = [this](const ModelSourceLight& l, uint8_t kind) {
    ModelLight light;
    light.enabled = l.off == 1 ? 0 : 1;
    light.kind = kind;
    light.position[0] = l.position.x;
    light.position[1] = l.position.y;
    light.position[2] = l.position.z;
    light.position[3] = 1;
    light.ambient = MakeColor(l.colour[0] / 5, l.colour[1] / 5, l.colour[2] / 5, 1);
    light.diffuse = MakeColor(l.colour[0], l.colour[1], l.colour[2], 1);
    light.specular = light.diffuse;
    light.spotCutoff = 180;
    SortedInsert(Lights, l.name, light);
  };
  for (const ModelSourceLight& l : source.omniLights) addLight(l, 1);
  for (const ModelSourceLight& l : source.spotLights) addLight(l, 2);
}

std::vector<ModelNodeDraw> TKTZGL_Model::NodeDraws(const ModelSource& source) const {
  std::vector<ModelNodeDraw> draws;
  const std::vector<ModelSourceNode>& nodes = source.nodes;
  // Every name is looked up in an index made once, so each step of the parent walk is one
  // array access.
  const auto meshIndex =
      IndexByName(Meshes, [](const ModelMesh& m) -> const std::string& { return m.name; });
  const auto sourceIndex = IndexByName(
      source.meshes, [](const ModelSourceMesh& m) -> const std::string& { return m.name; });
  const auto nodeIndex =
      IndexByName(nodes, [](const ModelSourceNode& n) -> const std::string& { return n.name; });
  std::vector<int32_t> parentOf(nodes.size(), -1);
  std::vector<NodeKeys> keys;
  keys.reserve(nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!nodes[i].parentName.empty()) parentOf[i] = Find(nodeIndex, nodes[i].parentName);
    keys.push_back(MakeNodeKeys(nodes[i]));
  }
  for (size_t i = 0; i < nodes.size(); ++i) {
    const ModelSourceNode& node = nodes[i];
    const std::string_view base = std::string_view(node.name).substr(0, node.name.find('.'));
    ModelNodeDraw draw;
    draw.mesh = Find(meshIndex, base);
    if (draw.mesh < 0) continue;
    if (node.parentName.empty()) {
      draws.push_back(draw);
      continue;
    }
    Mat4 m = Identity();
    if (const int32_t s = Find(sourceIndex, node.name); s >= 0) {
      const ModelSourceMesh& src = source.meshes[static_cast<size_t>(s)];
      Mat4 local = Identity();
      for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) local[row * 4 + col] = src.matrix[row * 3 + col];
      }
      m = InverseAffine(local);
    }
    m[12] -= node.pivot.x;
    m[13] -= node.pivot.y;
    m[14] -= node.pivot.z;
    ApplyKeys(m, keys[i]);
    // Ancestors: a parent cycle, or a chain longer than the node count, ends the walk.
    int32_t parent = parentOf[i];
    for (size_t depth = 0; parent >= 0 && depth < nodes.size(); ++depth) {
      ApplyKeys(m, keys[static_cast<size_t>(parent)]);
      parent = parentOf[static_cast<size_t>(parent)];
    }
    draw.placed = 1;
    draw.matrix = m;
    draws.push_back(draw);
  }
  return draws;
}

int32_t TKTZGL_Model::BuildWithoutGL(const ModelSource& source, float ambientBoost,
                                     std::vector<ModelNodeDraw>* draws, TLoaderMessages& messages) {
  MagFilter = GL_LINEAR;
  Clear();
  BuildCollider(source);
  if (draws) draws->clear();
  if (source.meshes.empty()) return 0;
  BuildMaterials(source, ambientBoost);
  const int32_t dropped = BuildMeshes(source, IsRelease3(source), messages);
  BuildLights(source);
  if (draws) *draws = NodeDraws(source);
  return dropped;
}

int32_t TKTZGL_Model::Build(const ModelSource& source, bool noMaterials, float ambientBoost,
                            TLoaderMessages& messages) {
  MagFilter = GL_LINEAR;
  Clear();
  BuildCollider(source);
  if (source.meshes.empty()) return 0;
  const bool release3 = IsRelease3(source);

  // Fog of the file: only fog and layer fog are honoured, always linear.
  if (source.fogType == 1 || source.fogType == 2) {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const float* rgb = source.fogType == 1 ? source.fogColour : source.layerColour;
    const GLfloat colour[4] = {rgb[0], rgb[1], rgb[2], 1};
    glFogfv(GL_FOG_COLOR, colour);
    if (source.fogType == 1) {
      glFogf(GL_FOG_DENSITY, (source.fogNearDensity + source.fogFarDensity) / 2);
      glFogf(GL_FOG_START, source.fogNear);
      glFogf(GL_FOG_END, source.fogFar);
    } else {
      glFogf(GL_FOG_DENSITY, source.layerDensity);
      glFogf(GL_FOG_START, source.layerLow);
      glFogf(GL_FOG_END, source.layerHigh);
    }
  } else {
    glDisable(GL_FOG);
  }

  BuildMaterials(source, ambientBoost);
  if (!noMaterials) LoadMaterialTextures(*this, TextureDir, messages);
  const int32_t dropped = BuildMeshes(source, release3, messages);

  // One display list per mesh; the client arrays are read while compiling. Their switches and
  // pointers are client state that a list does not hold: they are put back as they were, so
  // nothing drawn later finds an array enabled that points into a model.
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  for (ModelMesh& mesh : Meshes) {
    mesh.displayList = glGenLists(1);
    if (mesh.displayList == 0) continue;
    glNewList(mesh.displayList, GL_COMPILE);
    glFrontFace(release3 ? GL_CCW : GL_CW);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.vertices.data());
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    if (!mesh.texCoords.empty()) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    } else {
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    for (const FaceGroup& group : mesh.faceGroups) {
      if (noMaterials) {
        glShadeModel(GL_FLAT);
      } else if (group.materialIndex >= 0 &&
                 static_cast<size_t>(group.materialIndex) < Materials.size()) {
        SendMaterial(Materials[static_cast<size_t>(group.materialIndex)].second, MagFilter);
      }
      if (group.indexCount > 0) {
        glDrawElements(GL_TRIANGLES, group.indexCount, GL_UNSIGNED_INT, group.indices.data());
      }
    }
    glEndList();
  }
  glPopClientAttrib();

  BuildLights(source);

  // The model list: the meshes in their modelled pose.
  ModelList = glGenLists(1);
  if (ModelList == 0) return dropped;
  glNewList(ModelList, GL_COMPILE);
  if (source.nodes.empty()) {
    for (const ModelMesh& mesh : Meshes) {
      if (mesh.visible == 1 && mesh.displayList != 0) {
        glCallList(mesh.displayList);
        AddToBounds(mesh, nullptr);
      }
    }
  } else {
    for (const ModelNodeDraw& d : NodeDraws(source)) {
      const ModelMesh& mesh = Meshes[static_cast<size_t>(d.mesh)];
      const bool draw = mesh.visible == 1 && mesh.displayList != 0;
      if (d.placed == 0) {
        if (draw) {
          glCallList(mesh.displayList);
          AddToBounds(mesh, nullptr);
        }
        continue;
      }
      glPushMatrix();
      glMultMatrixf(d.matrix.data());
      if (draw) {
        glCallList(mesh.displayList);
        AddToBounds(mesh, d.matrix.data());
      }
      glPopMatrix();
    }
  }
  glEndList();
  return dropped;
}

void TKTZGL_Model::BuildCollider(const ModelSource& source) {
  Collider = TKTZGL_collider{};
  for (const ModelSourceMesh& src : source.meshes) {
    TKTZGL_collider::Mesh mesh;
    for (const ModelVec3& v : src.vertices) mesh.vertices.push_back({v.x, v.y, v.z});
    const size_t count = src.vertices.size();
    for (size_t f = 0; f + 2 < src.faces.size(); f += 3) {
      const uint32_t a = src.faces[f], b = src.faces[f + 1], c = src.faces[f + 2];
      if (a >= count || b >= count || c >= count) continue;
      const auto& pa = mesh.vertices[a];
      const auto& pb = mesh.vertices[b];
      const auto& pc = mesh.vertices[c];
      mesh.triangles.insert(mesh.triangles.end(), {pa, pb, pc});
      mesh.edges.insert(mesh.edges.end(), {pa, pb, pb, pc, pc, pa});
      ++mesh.faceCount;
    }
    Collider.meshes.push_back(std::move(mesh));
  }
  Collider.meshCount = static_cast<int32_t>(Collider.meshes.size());
}

}  // namespace skerrow
