// The play frame (GameMode 2) and the editor-view frame (GameMode 3): pass order, cameras and
// fog, and the small passes of their own (sky box, water depth plane, picking, screen fade).
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
struct GameResources;
struct RenderState;
struct TPoint;
class TKTZGL_Scene;

// Both frames draw nothing while res.scene is null. Neither presents the frame.
void DrawPlayFrame(WorldState& w, GameResources& res, RenderState& rs);
void DrawEditorViewFrame(WorldState& w, GameResources& res, RenderState& rs);

// The six faces around the view's origin, each in its own skyTextures entry, in skyFogColour.
void DrawSkyBox(const WorldState& w);
// Depth-only quad at y = 0 around the camera: the sea occludes what lies below it.
void DrawWaterDepthPlane(const WorldState& w);
// mouseWorldPos := the world point under the cursor pixel (clamped to width - 2, height - 2).
void PickMouseWorldPos(WorldState& w, const TKTZGL_Scene& scene, TPoint mouse);
// World fog: start 75 - 70 * darkness, end 84 - 61 * darkness, on while darkness > 0.
void ApplyWorldFog(const WorldState& w, TKTZGL_Scene& scene);

// Without resources: clears to the sky colour (kept for callers that have none yet).
void DrawPlayFrame(WorldState& w);
void DrawEditorViewFrame(WorldState& w);

}  // namespace skerrow
