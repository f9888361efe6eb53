// The ship weapons fired by the unit update: bow gun, side batteries and the special weapons
// S (homing rockets), X (flame-thrower) and Z (mines), and the one routine that puts a shot
// into the projectile table. Each weapon takes the firing unit's index and resets its own
// reload; a salvo depends on the firing unit's kind alone.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace skerrow {

struct WorldState;
class PlayHost;

// Takes the lowest free projectile slot 1..511 and fills kind, owner, velocity (world units
// per millisecond of game time), start vector, position and variant, with active = 1; nothing
// else of the slot changes. Returns the slot, or 0 when the table is full (the shot is lost).
int32_t SpawnProjectile(WorldState& w, int32_t kind, int32_t owner, const Vector4d& vel,
                        const Vector4d& start, const Vector4d& pos, int32_t variant);

// Bow gun salvo of the unit's kind; `reload` and `power` go to 0 after every salvo, whether a
// slot was free or not. Kinds without a salvo do nothing and keep their reload.
void FireMainGun(WorldState& w, PlayHost& host, int32_t unit);
// side: 0 left, 1 right. `sideReload` and `sidePower` go to 0 after every salvo; kinds
// without a side salvo do nothing.
void FireSideBattery(WorldState& w, PlayHost& host, int32_t unit, int32_t side);
// Homing rocket of the hero ships; every unit that calls it clears `airTarget` first.
void FireWeaponS(WorldState& w, PlayHost& host, int32_t unit);
// Flame-thrower, every step while held: slows the ship, up to three flames.
void FireWeaponX(WorldState& w, PlayHost& host, int32_t unit);
// Floating mine laid 1 behind a hero ship.
void FireWeaponZ(WorldState& w, PlayHost& host, int32_t unit);

// The nearest other live unit within 25 of `unit` (lowest index on a tie) into `airTarget`,
// 0 when there is none: the target of guided shells of variants 1 and 2 and of the rockets.
void SearchAirTarget(WorldState& w, int32_t unit);

// charge / maximum for the sp and pp ratios of the muzzle smoke and the shot's rise: 0 when
// the maximum is not above 0 or the ratio is not finite (values from a damaged file).
double ChargeRatio(double charge, double maximum);

// Growth of size x and z (0.00016 + 0.0001R each), rise (0.007 + 0.0001R) and turn (0.0007 +
// 0.001R) of the muzzle smoke puffs, also of the splash columns and debris of impacts.
Vector4d MuzzleSmokeMotion();
// size = (base + span R, 0, base + span R, 1), x and z drawn apart.
void SetParticleSize(ParticleRecord& t, double base, double span);

}  // namespace skerrow
