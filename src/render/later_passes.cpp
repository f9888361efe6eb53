// Empty passes, in their places in the frames until their drawing exists.
#include "render/later_passes.h"

#include "render/render_state.h"
#include "render/world_passes.h"

namespace skerrow {

void DrawProjectiles(DrawContext&) {}
void DrawProjectileGlows(DrawContext&) {}
void DrawParticles(DrawContext&) {}
void DrawExplosionHalos(DrawContext&) {}
void DrawBonuses(DrawContext&) {}
void DrawBonusGlows(DrawContext&) {}
void DrawHud(DrawContext&) {}
void DrawGuiWindows(DrawContext& c) {
  if (c.rs.drawGuiWindows) c.rs.drawGuiWindows();
}
void DrawCursor(DrawContext&) {}

}  // namespace skerrow
