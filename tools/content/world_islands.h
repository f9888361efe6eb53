// Terrain pieces (islands) of every episode: one continuous height function per piece, baked into
// the OBJ mesh, the 128 x 128 height grid, the textures and the baked shadow grid so that all
// agree.
#pragma once

#include <cstdint>
#include <string>

#include "content.h"

namespace skerrow::content {

inline constexpr int32_t kIslandPieceCount = 6;  // terrain pieces 1..6

// Land height in world units at (dx, dz) from the piece's centre (|dx|, |dz| < 5); negative
// below the sea surface (the underwater shelf), never below -1.2.
double IslandHeight(int32_t piece, double dx, double dz);

// Height grid picture (Data\Terrain<k>.qvt): green = sample s with height s/51 - 0.05; grid
// cell (a, b) is pixel (127 - a, 127 - b).
Image IslandHeightPicture(int32_t piece);
// Baked shade (Terrain<k>\shadow.qvt and shadowx.qvt): red = 255 in full light; covers 20 x 20.
Image IslandShadePicture(int32_t piece);
// Base texture (terrain.qvt), its alpha (smooth.qvt) and the piece's detail texture. `look` is
// the episode's look: 1 tropical sand and jungle, 2 snow and ice, 3 concrete and rust, 4 basalt
// and red moss.
Image IslandBaseTexture(int32_t piece, int32_t look = 1);
Image IslandAlphaPicture(int32_t piece);
Image IslandDetailTexture(int32_t piece);
// The Wavefront mesh (refter\Terrain<k>.obj) in piece units (drawn at scale 0.1025).
std::string IslandObj(int32_t piece);

}  // namespace skerrow::content
