// Everything a play or editor-view frame writes into the world, done in one place before the
// frame's first pass: the copies of tagged units, the particles of the burning statics and
// objects, the sky alpha, and every draw the frame takes from the shared random generator.
// No graphics-library calls: the play fuzzer runs it over hostile worlds.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace skerrow {

struct WorldState;

// Which of the world passes that write the world run in this frame (the play frame gates
// them with its render switches; the editor-view frame runs them all).
struct FrameWorldPasses {
  bool statics = true;        // the burning statics emit smoke and sparks while drawn
  bool staticObjects = true;  // both object passes: fires and object kind 28 smoke
  bool unitsLow = true;       // units at or below the sea: tag copies
  bool unitsHigh = true;      // units above the sea: tag copies
};

// The random colours of the fire objects (object kind 4), one per static, object and pass
// (0 objects, 1 shadow models), drawn by the static objects passes.
struct FireColours {
  Color4f colour[2][kStaticSlots][kStaticObjectSlots];
};

// The frame's world writes, in the order the passes that need them come in the frame (the
// shared generator's draws stay in the order the drawing would take them):
// 1. statics in the statics window (or all with editorPlanes): terrain kind 12, and kind 14
//    under a dark sky (r + g + b < 2.1), spawn particles when Random(5 * lagAccumulator) > 5;
// 2. objects, shadow pass: kind 28 smokes when Random(5 * lagAccumulator) >= 6; fires
//    (kind 4) take a warm colour;
// 3. units at or below the sea, then units above it, in the units window (or all with
//    editorPlanes): in the play view (GameMode 2) a positive `tag` makes that many copies;
// 4. objects, solid pass: as 2, and each fire smokes afterwards at the same odds;
// 5. when a units pass runs, skyFogColour.alpha := 1.
// The only other world fields a frame writes are mouseWorldPos (picking, which needs the
// depth buffer), terrainTintColour (after the floor, which reads the previous frame's) and
// radarContacts (the HUD's radar).
void ApplyFrameWorldWrites(WorldState& w, const FrameWorldPasses& passes, FireColours& fires);

// Play view: makes `tag` copies of unit i in the lowest free slots (copies get tag 0, a random
// pok and a position within 0.05 of the unit), then clears the unit's tag. A full table ends
// the copying at once, so the work is bounded by the table, not by the tag. Returns the
// number of copies made.
int32_t CopyTaggedUnit(WorldState& w, int32_t i);

}  // namespace skerrow
