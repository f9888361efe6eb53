// What the renderer keeps outside the world state: the render switches of the editor's
// Perfomance tab, the water wave field and the inputs a frame takes from the shell and the
// editor (cursor pixel, editor selections).
#pragma once

#include <cstdint>
#include <functional>

#include "engine/ktzgl.h"  // TPoint, Color4f
#include "platform/random.h"
#include "render/effects.h"
#include "render/fill_clip.h"
#include "render/frame_world.h"
#include "render/pass_timer.h"

namespace skerrow {

// One byte per gated pass, 1 = drawn. All on at start; the editor's Perfomance tab writes
// them. The play frame and the menu frame test them; the editor-view frame does not.
struct RenderSwitches {
  uint8_t clear = 1;            // p_clear: depth/stencil clear and culling set-up
  uint8_t landscape = 1;        // p_drawlandscape: sea floor
  uint8_t statics = 1;          // p_drawterrains: statics, solid pass
  uint8_t staticObjects = 1;    // p_drawstaters: both passes of the objects on statics
  uint8_t unitsLow = 1;         // p_drawships: units at or below the sea
  uint8_t projectiles = 1;      // p_drawbullets
  uint8_t water = 1;            // p_drawwater: water pass and the water animation
  uint8_t unitsHigh = 1;        // p_drawships2: units above the sea
  uint8_t decals = 1;           // p_drawshadows: static ground decals and baked shadows
  uint8_t shadowDarkening = 1;  // p_fillshades
  uint8_t bonuses = 1;          // p_drawbonuses
  uint8_t depthPlane = 1;       // p_drawwaterz
  uint8_t explosionHalos = 1;   // p_drawexplosionhalos
  uint8_t particles = 1;        // p_expdraw
  uint8_t bonusGlows = 1;       // p_drawbonuseshalos
  uint8_t projectileGlows = 1;  // p_drawbulletshalos
  uint8_t hud = 1;              // p_drawint
  uint8_t gui = 1;              // p_rendergui
  uint8_t cursor = 1;           // p_drawcursor
};
static_assert(sizeof(RenderSwitches) == 19);

// Wave field array sizes: 31 x 181 cells inside a zero border of 35 x 185 elements.
inline constexpr int32_t kWaterRows = 35;
inline constexpr int32_t kWaterColumns = 185;
inline constexpr int32_t kWaterGridRows = 31;      // cell rows 0..30
inline constexpr int32_t kWaterGridColumns = 181;  // cell columns 0..180

// The integer wave simulation whose normals light the sea. Cell (r, c) of a height buffer is
// element [r + 1][c + 1]; the border elements stay 0. The sheet's whole-cell shifts are the
// world state's waterShiftX / waterShiftZ, written by the play step.
struct WaterField {
  float currentNormals[kWaterRows][kWaterColumns][3];  // drawn, [row][column]
  float oldNormals[kWaterRows][kWaterColumns][3];
  float newNormals[kWaterRows][kWaterColumns][3];
  int32_t heights[2][kWaterRows][kWaterColumns];     // [buffer][row][column]
  int32_t gridXY[kWaterGridRows][kWaterColumns][2];  // ((r - 15) * 20, (c - 90) * 20)
  Color4f waterColour;
  float blend;  // 0 .. <1 between oldNormals and newNormals
  int32_t currentBuffer;
  int32_t previousBuffer;
};

// Renderer state held by the main form beside the world state. About 0.5 MB: create it on
// the heap.
struct RenderState {
  RenderState();
  RenderSwitches switches;
  WaterField water;
  TPoint mouse{0, 0};  // cursor pixel, y from the top
  // Editor selections ("static number", "object number", "unit number"); 0 = none.
  int32_t editorStatic = 0;
  int32_t editorObject = 0;
  int32_t editorUnit = 0;
  // This frame's fire colours, drawn from the shared generator by ApplyFrameWorldWrites.
  FireColours fires{};
  // The flicker of glows, lightning and status icons. The passes' own generator: drawing a
  // frame never moves the shared one, so what is drawn cannot change the simulation.
  mutable Random flicker;
  // The effect passes' sprite corners and draw order: scratch of one frame, kept here so that
  // a frame allocates nothing (about 0.4 MB).
  mutable EffectScratch effects;
  // Where this frame's unit shadows reach on the screen, grown as they mark the stencil buffer:
  // the darkening fills only that box.
  mutable ScreenBox shadowReach;
  // Draws the GUI windows over the play and editor-view frames (set by the shell; empty: none).
  std::function<void()> drawGuiWindows;
  // The play frame's per-pass CPU times (off unless SKERROW_PASS_TIMES=1 under --bench).
  PassTimer passTimes;
  // The options window's "fast sea", for machines that draw without a graphics card: the sea
  // floor from one texture baked from the floor and its caustic frame, its far rows in cells
  // twice as large, and the water sheet in strips four columns wide.
  bool fastSea = false;
};

}  // namespace skerrow
