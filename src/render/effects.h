// The short-lived and small things of the world: projectiles in flight with their glows and
// lightning, the particle pool as tilted quads, explosion halos, and bonuses with their glows.
// The passes themselves are declared in later_passes.h; these are the choices they make, for
// the passes and their tests.
#pragma once

#include <array>
#include <cstdint>

#include "world/records.h"

namespace skerrow {

struct GameResources;

// How one particle is drawn. `drawn` is false for a kind without a drawing or a texture index
// (explosion frame, wake number) outside its table; texture 0 with `drawn` true is a texture
// that was not loaded and draws untextured.
struct ParticleStyle {
  bool drawn = false;
  uint32_t texture = 0;
  float tilt = 0;         // degrees about x
  uint32_t blendSrc = 0;  // GL blend factors
  uint32_t blendDst = 0;
  bool skyTinted = false;  // colour x sky colour with the particle's alpha
};
ParticleStyle ParticleStyleOf(const GameResources& res, const ParticleRecord& p);

// One corner of a billboard quad in world space, laid out for the vertex arrays.
struct SpriteVertex {
  float s, t;        // texture coordinates
  float r, g, b, a;  // colour
  float x, y, z;     // world position
};

// A particle's place in the draw order of the particle pass (DrawParticles, effects.cpp).
struct SpriteDraw {
  int32_t level;  // drawn by ascending level: overlapping sprites keep their order
  uint32_t blendSrc, blendDst, texture;
  int32_t quad;  // index of its four corners in EffectScratch::quads
  int32_t slot;  // particles[slot]
  float tilt;    // degrees about x
};

// Screen cells of the overlap test of the particle pass: 64 x 64 over the display.
inline constexpr int32_t kSpriteGrid = 64;

// Scratch of the billboard passes, owned by the renderer so that a frame allocates nothing.
struct EffectScratch {
  std::array<SpriteVertex, 4 * kParticleSlots> quads;  // one quad per drawn sprite
  std::array<SpriteDraw, kParticleSlots> draws;
  // Per cell the highest level of a sprite covering it so far (-1: none): any sprite, and
  // sprites that are not additive.
  std::array<int16_t, kSpriteGrid * kSpriteGrid> anyLevel, blendedLevel;
};

// Brightness 0..1 of an explosion halo at `age`: rising to 1 at age 5, gone at age 31 and
// after.
double HaloBrightness(double age);
// True for the particle kinds that carry a halo (4, 6, 7, 15).
bool HasHalo(int32_t kind);

// The texture of bonus `b` in game mode `gameMode`; false when it is not drawn (kind 0, an
// unknown kind or frame, or a trigger marker outside the editor view).
bool BonusTexture(const GameResources& res, const BonusRecord& b, int32_t gameMode,
                  uint32_t& texture);
// The bonus colour table (kinds 0..19); white for any other kind.
Color4f BonusColour(int32_t kind);

}  // namespace skerrow
