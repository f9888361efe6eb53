// The play frame (GameMode 2) and the editor-view frame (GameMode 3): pass order, cameras and
// fog, and the small passes of their own (sky box, water depth plane, picking, screen fade).
#pragma once

#include <cstdint>
#include <vector>

namespace skerrow {

struct WorldState;
struct GameResources;
struct TextureHandles;
struct RenderState;
struct TPoint;
struct TPictureError;
class TKTZGL_Scene;
using TLoaderMessages = std::vector<TPictureError>;  // as in engine/textures.h

// Both frames draw nothing while res.scene is null. Neither presents the frame. Each begins
// with ApplyFrameWorldWrites (frame_world.h), the frame's only writes into the world besides
// mouseWorldPos (picking) and terrainTintColour (after the floor).
void DrawPlayFrame(WorldState& w, GameResources& res, RenderState& rs);
void DrawEditorViewFrame(WorldState& w, GameResources& res, RenderState& rs);

// The six faces around the view's origin, each in its own skyTextures entry (`fallback`
// where an entry is 0), in skyFogColour.
void DrawSkyBox(const WorldState& w, const TextureHandles& handles, uint32_t fallback = 0);
// Depth-only quad at y = 0 around the camera: the sea occludes what lies below it.
void DrawWaterDepthPlane(const WorldState& w);
// mouseWorldPos := the world point under the cursor pixel (clamped to width - 2, height - 2).
void PickMouseWorldPos(WorldState& w, const TKTZGL_Scene& scene, TPoint mouse);
// The scene camera at cameraPos and cameraRot (radians), 50 degree view, depth test on.
void ApplyWorldCamera(const WorldState& w, TKTZGL_Scene& scene);
// World fog: start 75 - 70 * darkness, end 84 - 61 * darkness, on while darkness > 0.
void ApplyWorldFog(const WorldState& w, TKTZGL_Scene& scene);

// The floor's 32 animated overlay frames, "gdata\\textures\\effects\\caust\\caust0000.qvt" ..
// "caust0031.qvt" (quality textures). Needs GL. The loaders' messages are appended in order.
void LoadFloorOverlayFrames(const WorldState& w, GameResources& res, TLoaderMessages& messages);

}  // namespace skerrow
