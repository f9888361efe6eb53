// The sea floor: the height map drawn as quad strips around the camera in six qualities, with
// its own fog, and the menu background's floor.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skerrow {

struct WorldState;
struct Vector4d;
struct TextureHandles;
class TKTZGL_Scene;

// Grid bounds a renderer walks, inclusive, for tests and for the drawing itself.
struct TerrainArea {
  int32_t left, back, right, ahead;  // grid cells around the centre (2X, 2Z)
};
// The drawn area for a centre and landscapeQuality 0..5 (quality 5 enlarges it).
TerrainArea TerrainAreaFor(const WorldState& w, double centreX, double centreZ, int32_t quality);

// Number of vertices one DrawTerrainRenderer call sends (what the strips of that quality
// hold), without drawing; every grid point used lies in 0..2047.
int64_t TerrainVertexCount(const WorldState& w, double centreX, double centreZ, int32_t quality);

// The terrain pass: sets the floor fog (linear) on the scene, then the renderer of
// landscapeQuality around (camera x, camera z + 10). `fallbackFloor` is drawn while the
// level has no terrainTexture of its own; the overlay is terrainAnimFrames[terrainAnimPhase].
// `fastSea` (Max and High): one texture unit with the floor and the overlay frame baked into
// one texture (made for all 32 frames the first time a floor texture is drawn so), and at
// Max the rows from kFastSeaFarRow on in cells of 2 x 2.
void DrawTerrain(WorldState& w, TKTZGL_Scene& scene, const TextureHandles& t,
                 uint32_t fallbackFloor = 0, bool fastSea = false);

// Texel by texel product of two RGB(A) pictures of the same size, as two GL_MODULATE texture
// units give it: (a * b + 127) / 255 per channel (alpha from `a`).
void ModulateTexels(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t texels);
// The menu background's floor around `centre` over the plain terrainView rectangle.
void DrawMenuFloor(const WorldState& w, const TextureHandles& t, const Vector4d& centre);

}  // namespace skerrow
