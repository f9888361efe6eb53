// The per-unit rules that the moving classes and the fixed units share (weapons, light,
// turning, charging and reload, bobbing, the start of sinking). Internal to the unit update.
#pragma once

#include <cstdint>

namespace skerrow {

struct WorldState;
struct UnitRecord;
class PlayHost;

// Moving-class variants sharing the ship rules.
enum class Ship { kFull, kEnemy };

// v with 2 pi taken off once it reaches 2 pi.
double WrapTwoPi(double v);
// |vel| over x, y and z.
double Speed(const UnitRecord& u);
// The weapons of the full ship (main gun, X, Z, S, left, right) and of the enemy ship (main
// gun, S, left, right), in this order; the player's full ship also needs the unlock flags.
void FireWeapons(WorldState& w, PlayHost& host, int32_t i, Ship ship);
// lightLevel eased toward (ShadeAt / 255)^5 by g * 0.03.
void LightFromShade(WorldState& w, UnitRecord& u, double g);
// Turn rate from the turn controls, heading from the rate; with `lean` the heel follows.
void Turn(UnitRecord& u, double g, bool lean);
// Main and side charge while held and reloaded, then both reloads; f scales the rates.
void ChargeAndReload(UnitRecord& u, double g, double f);
// pok += |vel| sqrt(g) 0.5 + g `rate`; rotX and rotZ from pok and kren.
void Bob(UnitRecord& u, double g, double rate);
// life 0, random sink attitude, sinking 1, sound 5; the player's ship keeps its height in
// respawnY.
void StartShipSinking(WorldState& w, PlayHost& host, UnitRecord& u, bool player);

}  // namespace skerrow
