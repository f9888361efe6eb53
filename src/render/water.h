// The sea: the wave field simulation that lights it, the additive sphere-mapped water sheet
// that follows the camera, and the bands that mark the level's edges.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
struct WaterField;
struct RenderState;
class Random;

// gridXY filled, both height buffers cleared, currentBuffer 0, previousBuffer 1.
void InitWaterField(WaterField& f);
// Stamps a cone into the current buffer: cells within `radius` of (row, column) get
// Round(radius - distance) * amplitude. Nothing happens unless the disc lies inside the grid
// (radius < row < 30 - radius and radius < column < 180 - radius).
void DropWater(WaterField& f, int32_t row, int32_t column, int32_t radius, int32_t amplitude);
// One wave step: the previous buffer becomes (sum of the four neighbours) div 2 minus itself,
// positive values above 1 halved (rounding up), then the buffers swap. Resets blend.
void StepWater(WaterField& f);
// newNormals of rows 1..29, columns 1..179 from the heights of previousBuffer.
void ComputeWaterNormals(WaterField& f);
// Interpolates the drawn normals, copies the seams and, once blend reaches 1, runs one
// StepWater and ComputeWaterNormals. dt: lastLagCount / 1800 * 0.75 per play step.
void AdvanceWater(WaterField& f, double dt);
// The wave field's share of a play step, run by the shell just before the step: with the
// water switch on, AdvanceWater by the real milliseconds of the last tick
// (lastLagCount / 1800 * 0.75). It reads the world and writes only the renderer's field.
void AnimateWaterForPlayStep(const WorldState& w, RenderState& state);
// The start-up seeding: InitWaterField, 500 random drops of radius 2 each followed by a
// StepWater, then 56 AdvanceWater(1). `progress` (may be null) is called with 5 after the drops
// and 7 at the end.
void SeedWater(WaterField& f, Random& random, void (*progress)(void* ctx, int32_t percent),
               void* ctx);

// The water pass (play frame step 11): the sheet under the camera, then DrawLevelEdges.
// Needs a current GL context. `waterTexture` is the sky reflection of the episode. The sheet
// is drawn in strips of `stripColumns` of its 178 columns (1: the full detail; the fast sea
// takes 4, lit from the normals at the strips' edges: fewer, wider triangles).
void DrawWater(const WorldState& w, WaterField& f, uint32_t waterTexture,
               int32_t stripColumns = 1);
// Dark (or, toward a neighbour level, green) bands 15 units wide along the level's edges.
void DrawLevelEdges(const WorldState& w);

}  // namespace skerrow
