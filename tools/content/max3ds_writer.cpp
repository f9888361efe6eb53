// Chunk-by-chunk encoder of .3ds files (little-endian, each chunk: u16 id, u32 length).
#include "max3ds_writer.h"

#include <cstring>
#include <stdexcept>

namespace skerrow::content {

namespace {

class ChunkWriter {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
  }
  void Str(const std::string& s) {
    if (s.size() > 255) throw std::invalid_argument("3ds name longer than 255 characters: " + s);
    for (char c : s) U8(static_cast<uint8_t>(c));
    U8(0);
  }
  // Opens a chunk; Close patches its length once its data and sub-chunks are written.
  size_t Open(uint16_t id) {
    size_t at = bytes_.size();
    U16(id);
    U32(0);
    return at;
  }
  void Close(size_t at) {
    uint32_t len = static_cast<uint32_t>(bytes_.size() - at);
    for (int i = 0; i < 4; ++i) bytes_[at + 2 + i] = static_cast<uint8_t>(len >> (8 * i));
  }
  void Empty(uint16_t id) { Close(Open(id)); }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

void Colour(ChunkWriter& w, uint16_t id, const std::array<uint8_t, 3>& rgb) {
  size_t c = w.Open(id);
  size_t c24 = w.Open(0x0011);  // COLOR_24
  for (uint8_t v : rgb) w.U8(v);
  w.Close(c24);
  w.Close(c);
}

void Percent(ChunkWriter& w, uint16_t id, int16_t value) {
  size_t c = w.Open(id);
  size_t p = w.Open(0x0030);  // INT_PERCENTAGE
  w.I16(value);
  w.Close(p);
  w.Close(c);
}

void WriteMaterial(ChunkWriter& w, const Max3dsMaterial& m) {
  size_t entry = w.Open(0xAFFF);
  size_t name = w.Open(0xA000);
  w.Str(m.name);
  w.Close(name);
  Colour(w, 0xA010, m.ambient);
  Colour(w, 0xA020, m.diffuse);
  Colour(w, 0xA030, m.specular);
  Percent(w, 0xA040, m.shininessPercent);
  Percent(w, 0xA050, m.transparencyPercent);
  if (m.twoSided) w.Empty(0xA081);
  size_t shading = w.Open(0xA100);
  w.U16(m.shading);
  w.Close(shading);
  if (!m.textureFile.empty()) {
    size_t map = w.Open(0xA200);
    size_t amount = w.Open(0x0030);  // map strength 100 %
    w.I16(100);
    w.Close(amount);
    size_t file = w.Open(0xA300);
    w.Str(m.textureFile);
    w.Close(file);
    w.Close(map);
  }
  w.Close(entry);
}

void CheckMesh(const Max3dsMesh& mesh, size_t materialCount) {
  if (mesh.vertices.size() > 65535 || mesh.faces.size() > 65535)
    throw std::invalid_argument("3ds mesh too large: " + mesh.name);
  if (!mesh.uvs.empty() && mesh.uvs.size() != mesh.vertices.size())
    throw std::invalid_argument("3ds mesh texture coordinates do not match vertices: " + mesh.name);
  for (const Max3dsFace& f : mesh.faces) {
    if (f.a >= mesh.vertices.size() || f.b >= mesh.vertices.size() || f.c >= mesh.vertices.size())
      throw std::invalid_argument("3ds face index out of range: " + mesh.name);
    if (f.material >= materialCount)
      throw std::invalid_argument("3ds face material out of range: " + mesh.name);
  }
}

void WriteMesh(ChunkWriter& w, const Max3dsMesh& mesh, const Max3dsScene& scene) {
  size_t object = w.Open(0x4000);
  w.Str(mesh.name);
  if (mesh.hidden) w.Empty(0x4010);
  size_t tri = w.Open(0x4100);

  size_t points = w.Open(0x4110);
  w.U16(static_cast<uint16_t>(mesh.vertices.size()));
  for (const auto& v : mesh.vertices)
    for (float c : v) w.F32(c);
  w.Close(points);

  if (!mesh.uvs.empty()) {
    size_t tex = w.Open(0x4140);
    w.U16(static_cast<uint16_t>(mesh.uvs.size()));
    for (const auto& t : mesh.uvs)
      for (float c : t) w.F32(c);
    w.Close(tex);
  }

  // Identity local frame: three axis rows, then the origin.
  size_t matrix = w.Open(0x4160);
  const float identity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  for (float v : identity) w.F32(v);
  w.Close(matrix);

  size_t faces = w.Open(0x4120);
  w.U16(static_cast<uint16_t>(mesh.faces.size()));
  for (const Max3dsFace& f : mesh.faces) {
    w.U16(f.a);  // stored clockwise: see Max3dsFace
    w.U16(f.c);
    w.U16(f.b);
    w.U16(7);  // edge visibility flags AB, BC, CA
  }
  // One material group per material the faces use, in material order.
  for (size_t m = 0; m < scene.materials.size(); ++m) {
    std::vector<uint16_t> list;
    for (size_t i = 0; i < mesh.faces.size(); ++i)
      if (mesh.faces[i].material == m) list.push_back(static_cast<uint16_t>(i));
    if (list.empty()) continue;
    size_t group = w.Open(0x4130);
    w.Str(scene.materials[m].name);
    w.U16(static_cast<uint16_t>(list.size()));
    for (uint16_t i : list) w.U16(i);
    w.Close(group);
  }
  size_t smooth = w.Open(0x4150);
  for (const Max3dsFace& f : mesh.faces) w.U32(f.smoothing);
  w.Close(smooth);
  w.Close(faces);

  w.Close(tri);
  w.Close(object);
}

void TrackHeader(ChunkWriter& w) {
  w.U16(0);  // track flags
  w.U32(0);
  w.U32(0);
  w.U32(1);  // one key
  w.U32(0);  // at frame 0
  w.U16(0);  // no spline values follow
}

void WriteNode(ChunkWriter& w, const Max3dsNode& n) {
  size_t node = w.Open(0xB002);
  size_t id = w.Open(0xB030);
  w.I16(n.id);
  w.Close(id);
  size_t hdr = w.Open(0xB010);
  w.Str(n.name);
  w.U16(0x4000);
  w.U16(0);
  w.I16(n.parent);
  w.Close(hdr);
  if (!n.instance.empty()) {
    size_t inst = w.Open(0xB011);
    w.Str(n.instance);
    w.Close(inst);
  }
  size_t pivot = w.Open(0xB013);
  for (float v : n.pivot) w.F32(v);
  w.Close(pivot);
  size_t pos = w.Open(0xB020);
  TrackHeader(w);
  for (float v : n.position) w.F32(v);
  w.Close(pos);
  size_t rot = w.Open(0xB021);
  TrackHeader(w);
  w.F32(n.angle);
  for (float v : n.axis) w.F32(v);
  w.Close(rot);
  size_t scl = w.Open(0xB022);
  TrackHeader(w);
  for (float v : n.scale) w.F32(v);
  w.Close(scl);
  w.Close(node);
}

}  // namespace

std::vector<uint8_t> Encode3ds(const Max3dsScene& scene) {
  for (const Max3dsMesh& mesh : scene.meshes) CheckMesh(mesh, scene.materials.size());
  ChunkWriter w;
  size_t root = w.Open(0x4D4D);
  size_t version = w.Open(0x0002);
  w.U32(3);
  w.Close(version);

  size_t mdata = w.Open(0x3D3D);
  size_t meshVersion = w.Open(0x3D3E);
  w.U32(3);
  w.Close(meshVersion);
  for (const Max3dsMaterial& m : scene.materials) WriteMaterial(w, m);
  size_t scale = w.Open(0x0100);  // master scale 1
  w.F32(1.0f);
  w.Close(scale);
  for (const Max3dsMesh& mesh : scene.meshes) WriteMesh(w, mesh, scene);
  w.Close(mdata);

  if (!scene.nodes.empty()) {
    size_t kf = w.Open(0xB000);
    for (const Max3dsNode& n : scene.nodes) WriteNode(w, n);
    w.Close(kf);
  }
  w.Close(root);
  return w.Take();
}

}  // namespace skerrow::content
