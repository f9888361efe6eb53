// Passes of the play and editor-view frames that other parts of the renderer, the HUD and the
// GUI fill in: projectiles, particles, explosion halos, bonuses and their glows, the HUD, the
// GUI windows and the mouse cursor. They draw nothing yet.
#pragma once

namespace skerrow {

struct DrawContext;

void DrawProjectiles(DrawContext& c);
void DrawProjectileGlows(DrawContext& c);
void DrawParticles(DrawContext& c);
void DrawExplosionHalos(DrawContext& c);
void DrawBonuses(DrawContext& c);
void DrawBonusGlows(DrawContext& c);
void DrawHud(DrawContext& c);
void DrawGuiWindows(DrawContext& c);
void DrawCursor(DrawContext& c);

}  // namespace skerrow
