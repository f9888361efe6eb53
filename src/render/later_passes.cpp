// The GUI windows pass, in its place in the frames until the GUI toolkit draws it. The other
// passes of later_passes.h live in effects.cpp and hud.cpp.
#include "render/later_passes.h"

#include "render/render_state.h"
#include "render/world_passes.h"

namespace skerrow {

void DrawGuiWindows(DrawContext& c) {
  if (c.rs.drawGuiWindows) c.rs.drawGuiWindows();
}

}  // namespace skerrow
