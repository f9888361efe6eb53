// The passes that draw what stands in the world: statics (islands and terrain pieces), the
// objects on them with their baked ground shadows and decals, the units with their moving
// parts and the real-time unit shadows marked in the stencil buffer and darkened once.
#pragma once

#include <array>
#include <cstdint>

#include "world/records.h"

namespace skerrow {

struct WorldState;
struct GameResources;
struct RenderState;
class TKTZGL_Scene;
class TKTZGL_Model;

// What every world pass reads: the state, the loaded models and textures, the scene and the
// renderer's own inputs. The passes only read the world; its writes are ApplyFrameWorldWrites'.
struct DrawContext {
  const WorldState& w;
  const GameResources& res;
  TKTZGL_Scene& scene;
  const RenderState& rs;
};

// The windows around the camera in which table entries are drawn (dx = camera x - x,
// dz = camera z - z): statics and their objects |dx| < 23, -30 < dz < 10; bonuses, units and
// the editor marker |dx| < 21, -33 < dz < 8. False for NaN positions.
bool InStaticsWindow(const WorldState& w, double x, double z);
bool InUnitsWindow(const WorldState& w, double x, double z);

// Column-major 4 x 4 matrix that flattens geometry onto the plane (point P, normal N) as seen
// from the point L.
std::array<float, 16> ShadowMatrix(const Vector4d& light, const Vector4d& planePoint,
                                   const Vector4d& planeNormal);

// Model scale of a unit kind (0.005 unless the kind table says otherwise).
double UnitModelScale(int32_t unitKind);
// Brightness of unit i in a pass: 1 in pass 1 and for kind class 7; the sinking fade for
// sinking units; otherwise lightLevel.
double UnitBrightness(const WorldState& w, const UnitRecord& u, int32_t pass);

// Turns a 3DS model (z-up) upright, then applies pitch, roll, heading and heel (radians).
void OrientModel(double rotX, double rotY, double rotZ, double heel);
// The two scene lights from the sky colour at brightness b, as every unit is lit.
void SetUnitLights(TKTZGL_Scene& scene, const Color4f& sky, double b);

// Statics pass 0: the terrain pieces. Returns the number of pieces drawn.
int32_t DrawStatics(DrawContext& c, int32_t pass);
// True when every piece DrawStatics would draw is an OBJ piece, whose model list sends only
// vertex attributes: drawn before the floor it leaves the floor's state as it was.
bool StaticsOnlyObjPieces(const DrawContext& c);
// Objects on the statics: pass 1 their shadow models, pass 0 the objects.
void DrawStaticObjects(DrawContext& c, int32_t pass);
// Flat base texture of OBJ pieces, the editor's static markers and the baked shadows. With
// `clipToTexels` each quad is scissored to where its texture changes pixels (the play frame's
// camera samples the textures from the levels that were measured; the editor's may not).
void DrawStaticDecals(DrawContext& c, bool clipToTexels);
// Units: pass 0 those with posY <= 0.5, pass 1 the others. Returns the number of stencil
// shadows drawn.
int32_t DrawUnits(DrawContext& c, int32_t pass);
// Darkens every stencil-marked pixel once with black at alpha 0.3. With
// `onlyWhereShadowsReach` (the stencil buffer was cleared this frame) the fill is scissored to
// the screen box the frame's shadows grew in the render state.
void DrawShadowDarkening(DrawContext& c, bool onlyWhereShadowsReach);
// Editor view: the selection square of the editor's unit.
void DrawEditorUnitMarker(DrawContext& c);

}  // namespace skerrow
