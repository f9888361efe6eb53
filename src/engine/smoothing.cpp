// Vertex splitting by smoothing groups (see smoothing.h).
#include "engine/smoothing.h"

#include <array>
#include <bit>

namespace skerrow {

bool FaceIsValid(uint32_t vertexCount, std::span<const uint32_t> faces, size_t face) {
  return faces[face * 3] < vertexCount && faces[face * 3 + 1] < vertexCount &&
         faces[face * 3 + 2] < vertexCount;
}

TSmoothingSplit SplitBySmoothingGroups(uint32_t vertexCount, std::span<const uint32_t> faces,
                                       std::span<const uint32_t> masks) {
  TSmoothingSplit out;
  const size_t faceCount = faces.size() / 3;
  out.corners.assign(faceCount * 3, 0);
  out.sourceVertex.reserve(vertexCount + faceCount * 3);
  for (uint32_t v = 0; v < vertexCount; ++v) out.sourceVertex.push_back(v);
  // Per output vertex: used flag and the vertex that holds each of the 32 smoothing bits.
  std::vector<uint8_t> used(vertexCount, 0);
  std::vector<std::array<int32_t, 32>> table(vertexCount);
  for (auto& t : table) t.fill(-1);
  auto append = [&](uint32_t source) {
    out.sourceVertex.push_back(source);
    used.push_back(1);
    std::array<int32_t, 32> t;
    t.fill(-1);
    table.push_back(t);
    return static_cast<uint32_t>(out.sourceVertex.size() - 1);
  };
  for (size_t f = 0; f < faceCount; ++f) {
    if (!FaceIsValid(vertexCount, faces, f)) continue;  // corners left at 0
    const uint32_t g = f < masks.size() ? masks[f] : 0;
    const int k = g ? std::countr_zero(g) : 0;
    for (int c = 0; c < 3; ++c) {
      const uint32_t v = faces[f * 3 + c];
      uint32_t target = v;
      if (!used[v]) {
        used[v] = 1;
        if (g) table[v][k] = static_cast<int32_t>(v);
      } else if (g) {
        if (table[v][k] < 0) {
          target = append(out.sourceVertex[v]);
          table[v][k] = static_cast<int32_t>(target);
          table[target][k] = static_cast<int32_t>(target);
        } else {
          target = static_cast<uint32_t>(table[v][k]);
        }
      } else {
        target = append(out.sourceVertex[v]);
      }
      out.corners[f * 3 + c] = target;
    }
  }
  return out;
}

uint32_t CountSplitVertices(uint32_t vertexCount, std::span<const uint32_t> faces,
                            std::span<const uint32_t> masks) {
  return static_cast<uint32_t>(
      SplitBySmoothingGroups(vertexCount, faces, masks).sourceVertex.size());
}

}  // namespace skerrow
