// Empty passes, in their places in the frames until their drawing exists.
#include "render/later_passes.h"

#include "render/world_passes.h"

namespace skerrow {

void DrawProjectiles(DrawContext&) {}
void DrawProjectileGlows(DrawContext&) {}
void DrawParticles(DrawContext&) {}
void DrawExplosionHalos(DrawContext&) {}
void DrawBonuses(DrawContext&) {}
void DrawBonusGlows(DrawContext&) {}
void DrawHud(DrawContext&) {}
void DrawGuiWindows(DrawContext&) {}
void DrawCursor(DrawContext&) {}

}  // namespace skerrow
