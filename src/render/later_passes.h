// Passes of the play and editor-view frames after the world: projectiles, particles, explosion
// halos, bonuses and their glows (effects.cpp), the HUD and the mouse cursor (hud.cpp), and the
// GUI windows (still empty).
#pragma once

#include <cstdint>

namespace skerrow {

struct DrawContext;

void DrawProjectiles(DrawContext& c);
void DrawProjectileGlows(DrawContext& c);
void DrawParticles(DrawContext& c);
void DrawExplosionHalos(DrawContext& c);
void DrawBonuses(DrawContext& c);
void DrawBonusGlows(DrawContext& c);
// The whole HUD of the play view, with the overlay camera set. `radarContacts` is the world's
// field: set to 1 when a radar dot was drawn, 0 when the radar was drawn without one, left
// alone when no radar was drawn.
void DrawHud(DrawContext& c, uint8_t& radarContacts);
void DrawGuiWindows(DrawContext& c);
// The mouse cursor with the hover name beside it; sets its own projection.
void DrawCursor(DrawContext& c);

}  // namespace skerrow
