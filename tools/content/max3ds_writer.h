// Writer of 3D Studio .3ds files: materials with texture maps, triangle meshes with texture
// coordinates, smoothing groups and material groups, and keyframer mesh nodes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace skerrow::content {

struct Max3dsMaterial {
  std::string name;
  std::array<uint8_t, 3> ambient{200, 200, 200};
  std::array<uint8_t, 3> diffuse{200, 200, 200};
  std::array<uint8_t, 3> specular{40, 40, 40};
  int16_t shininessPercent = 12;  // 0 makes the loader replace the lit colour by the texture
  int16_t transparencyPercent = 0;
  uint16_t shading = 3;  // 1 flat, 2 Gouraud, 3 Phong
  bool twoSided = false;
  std::string textureFile;  // map 1 file name, empty = untextured
};

// Faces are given counter-clockwise seen from their front. The file stores them as (a, c, b):
// the game's loader takes (a - b) x (c - b) of the stored corners as the lit normal of a
// release-3 file, which for that order points out of the front. Its front-face winding for
// release 3 is counter-clockwise, so the stored order faces away from the camera: materials
// of solid models are two-sided (culling off) to keep the outside drawn.
struct Max3dsFace {
  uint16_t a = 0, b = 0, c = 0;  // counter-clockwise seen from the front
  uint32_t smoothing = 0;        // smoothing-group mask, 0 = none
  uint16_t material = 0;         // index into Max3dsScene::materials
};

struct Max3dsMesh {
  std::string name;
  bool hidden = false;
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<float, 2>> uvs;  // empty or one per vertex
  std::vector<Max3dsFace> faces;
};

// One keyframer mesh node; its tracks carry a single key at frame 0.
struct Max3dsNode {
  std::string name;      // the mesh name
  std::string instance;  // optional instance name ("box" + "01" reads back as "box.01")
  int16_t id = 0;
  int16_t parent = -1;  // id of the parent node, -1 none
  std::array<float, 3> pivot{0, 0, 0};
  std::array<float, 3> position{0, 0, 0};
  float angle = 0;  // radians about `axis`
  std::array<float, 3> axis{0, 0, 1};
  std::array<float, 3> scale{1, 1, 1};
};

struct Max3dsScene {
  std::vector<Max3dsMaterial> materials;
  std::vector<Max3dsMesh> meshes;
  std::vector<Max3dsNode> nodes;  // empty: no keyframer section
};

// The bytes of a release-3 .3ds file. Throws std::invalid_argument for a mesh with more than
// 65535 vertices or faces, a face or material index out of range, uvs not matching vertices,
// or a name longer than 255 characters.
std::vector<uint8_t> Encode3ds(const Max3dsScene& scene);

}  // namespace skerrow::content
