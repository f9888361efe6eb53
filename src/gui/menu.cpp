// The menu step and the menu frame (GameMode 1). Until the menu screens exist the frame
// clears to the sky colour.
#include "gui/menu.h"

#include <GL/gl.h>

#include "world/world_state.h"

namespace skerrow {

void UpdateMenu(WorldState&) {}

void DrawMenuFrame(WorldState& world) {
  const auto& c = world.skyFogColour;
  glClearColor(c.r, c.g, c.b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

}  // namespace skerrow
