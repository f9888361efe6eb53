// Internal to the interface: the menu screens' steps and frames and the drawing pieces they
// share with the main menu screen.
#pragma once

#include <cstdint>
#include <string_view>

#include "gui/interface.h"

namespace skerrow {

class TKTZGL_Scene;
struct TRect;

// terrainAnimPhase and wavePhase advance as on the main menu, and the keyboard is refreshed.
void AdvanceMenuPhases(TInterface& ui);

void CreditsStep(TInterface& ui);
void ShipSelectionStep(TInterface& ui);
void IntroStep(TInterface& ui);
void OutroStep(TInterface& ui);

void CreditsFrame(TInterface& ui, Renderer& r);
void HeroSelectionFrame(TInterface& ui, Renderer& r);
void ShipSelectionFrame(TInterface& ui, Renderer& r);
void IntroFrame(TInterface& ui, Renderer& r);
void OutroFrame(TInterface& ui, Renderer& r);

// The menu landscape's 3D pass (50 degree perspective, the camera easing toward its menu
// angles, linear brown fog 5..45).
void DrawMenuLandscape(TInterface& ui, Renderer& r);
// 90 degree overlay projection, identity model-view, depth test, lighting and fog off.
void BeginOverlay(TKTZGL_Scene& scene);
void DrawLightShafts(const TInterface& ui, Renderer& r);
// A texture over a rectangle in percent of the screen with alpha blending.
void DrawPictureOver(TKTZGL_Scene& scene, uint32_t texture, float alpha, double left = 0,
                     double top = 0, double right = 100, double bottom = 100);
void DrawBlack(TKTZGL_Scene& scene, float alpha);
// Text with the large menu font; `cell` is the first character's cell in pixels.
void DrawLargeText(const TInterface& ui, TKTZGL_Scene& scene, const TRect& cell,
                   std::string_view text, int32_t spacing, float r, float g, float b);
// The GUI windows (depth test less-than) and the mouse cursor.
void DrawWindowsAndCursor(const TInterface& ui, Renderer& r);
// p percent of a display side, rounded to a pixel.
int32_t PercentPixels(double p, int32_t side);

}  // namespace skerrow
