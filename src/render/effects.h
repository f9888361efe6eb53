// The short-lived and small things of the world: projectiles in flight with their glows and
// lightning, the particle pool as tilted quads, explosion halos, and bonuses with their glows.
// The passes themselves are declared in later_passes.h; these are the choices they make, for
// the passes and their tests.
#pragma once

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
