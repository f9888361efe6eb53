// Shared pieces of the model and effect generators: the procedural texture painters and the
// scene assembly helpers (material tables, one model file per call).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "content.h"
#include "max3ds_writer.h"
#include "mesh.h"

namespace skerrow::content {

using Rgb = std::array<uint8_t, 3>;

// Texture painters, all deterministic in `seed`; sizes are powers of two.
Image PaintHull(uint32_t seed, Rgb paint);   // plates, rust streaks, red bottom below v 0.3
Image PaintDeck(uint32_t seed);              // weathered planks along u
Image PaintHouse(uint32_t seed, Rgb paint);  // painted plates with a row of windows
Image PaintPlain(uint32_t seed, Rgb paint, double grime);  // painted metal, noise and grime
Image PaintFunnel(uint32_t seed, Rgb band);  // band colour with a sooty black top (v > 0.8)
Image PaintWood(uint32_t seed, Rgb wood);    // grained wood
Image PaintStone(uint32_t seed, Rgb stone);  // masonry blocks
Image PaintRock(uint32_t seed, Rgb stone);   // weathered natural rock with cracks and lichen
Image PaintLeaves(uint32_t seed, Rgb leaf);  // palm / bush foliage
Image PaintThatch(uint32_t seed);            // straw roof
Image PaintCloth(uint32_t seed, Rgb a, Rgb b, int stripes);  // flag cloth with stripes

// A model being assembled: materials by name, meshes by name.
class ModelBuilder {
 public:
  // Adds (or finds) a material with a texture file; returns its index. Two-sided: see
  // Max3dsFace for why solid models need it too.
  uint16_t Material(const std::string& name, const std::string& texture, Rgb tint = {230, 230, 230},
                    bool twoSided = true);
  void Add(const std::string& meshName, const Mesh& mesh);
  const Max3dsScene& Scene() const { return scene_; }
  Max3dsScene& Scene() { return scene_; }
  void Write(Output& out, const std::string& rel) const;

 private:
  Max3dsScene scene_;
};

}  // namespace skerrow::content
