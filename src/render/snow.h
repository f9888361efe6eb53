// The snowfall pass of the play frame: one textured quad per falling flake.
#pragma once

namespace skerrow {
struct WorldState;
class TKTZGL_Scene;
struct TextureHandles;
// Draws every active flake; call while snowActive is 1. Leaves depth writes on.
void DrawSnow(const WorldState& w, const TKTZGL_Scene& scene, const TextureHandles& t);
}  // namespace skerrow
