// Vertex splitting by 3DS smoothing groups, as a pure function over faces and masks: which
// vertex each face corner uses after splitting and which file vertex each output vertex copies.
// A vertex normal is then the normalised sum of the face normals of the corners that use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skerrow {

struct TSmoothingSplit {
  std::vector<uint32_t> corners;       // 3 per face: output vertex of corners a, b, c
  std::vector<uint32_t> sourceVertex;  // per output vertex: the file vertex it copies
};

// `faces` holds 3 vertex indices per face. A face naming a vertex at or above vertexCount is
// left out whole: it marks no vertex used and its corners stay 0 (see FaceIsValid).
// `masks` holds one smoothing mask per face, or is empty (then every reused vertex splits).
// Only the lowest set bit of a mask counts; mask 0 splits every reused vertex.
// True when all three corners of face `face` (an index below faces.size() / 3) name a vertex
// below vertexCount.
bool FaceIsValid(uint32_t vertexCount, std::span<const uint32_t> faces, size_t face);

TSmoothingSplit SplitBySmoothingGroups(uint32_t vertexCount, std::span<const uint32_t> faces,
                                       std::span<const uint32_t> masks);

// Output vertex count of the split alone (what the asset inspector prints).
uint32_t CountSplitVertices(uint32_t vertexCount, std::span<const uint32_t> faces,
                            std::span<const uint32_t> masks);

}  // namespace skerrow
