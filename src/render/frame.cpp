// The play frame and the editor-view frame. Until the world passes exist both clear to the
// sky colour.
#include "render/frame.h"

#include <GL/gl.h>

#include "world/world_state.h"

namespace skerrow {

namespace {
void ClearToSky(const WorldState& world) {
  const auto& c = world.skyFogColour;
  glClearColor(c.r, c.g, c.b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}
}  // namespace

void DrawPlayFrame(WorldState& world) {
  ClearToSky(world);
}
void DrawEditorViewFrame(WorldState& world) {
  ClearToSky(world);
}

}  // namespace skerrow
