// The one owner of renderer state: the loaded scene, models and texture names (none of them is
// part of the saved world block) and the renderer's own state (render switches, wave field,
// cursor, editor selections, the frame's fire colours). The main form holds one and passes it
// to every frame; nothing of it is global. What a frame writes into the world is listed at
// ApplyFrameWorldWrites (frame_world.h).
#pragma once

#include <cstdint>
#include <string>

#include "render/game_resources.h"
#include "render/render_state.h"

namespace skerrow {

struct WorldState;

// About 1.5 MB with the wave field: create it on the heap.
struct Renderer {
  GameResources resources;
  RenderState state;
};

// Start-up settings for tests and measurements, handed over by the shell (which reads them
// from the environment): the floor renderer the editor's "Landscape quality" would pick
// (0..5, -1 keeps the world's), and the render switches as one '0' or '1' per switch in
// RenderSwitches' order (shorter strings leave the rest on).
struct RenderOverrides {
  int32_t landscapeQuality = -1;
  std::string switches;
  bool passTimes = false;  // time the play frame's passes (pass_timer.h)
  int32_t fastSea = -1;    // 0 or 1: the "fast sea" option for this run; -1 keeps the stored one
};
// SKERROW_LANDSCAPE_QUALITY's value ("0".."5"; anything else gives -1),
// SKERROW_RENDER_SWITCHES' value, SKERROW_PASS_TIMES' ("1" times the passes) and
// SKERROW_FAST_SEA's ("0" or "1"); any may be null.
RenderOverrides ParseRenderOverrides(const char* landscapeQuality, const char* switches,
                                     const char* passTimes = nullptr,
                                     const char* fastSea = nullptr);

// Puts the shadow plane on the sea surface (point (-1, 0, -1), normal (0, 1, 0)) and applies
// the overrides. Called once the scene exists.
void StartRenderer(WorldState& w, Renderer& r, const RenderOverrides& overrides);

// The frame of GameMode 2 or 3 with the renderer's resources and state; without a scene (or
// with a zero-size one) both clear to the sky colour.
void DrawPlayFrame(WorldState& w, Renderer& r);
void DrawEditorViewFrame(WorldState& w, Renderer& r);

}  // namespace skerrow
