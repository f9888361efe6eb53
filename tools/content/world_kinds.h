// The unit kinds of the content pack: one table row per kind with its name, movement class,
// enemy distances and default unit parameters. The kind pack and every .par file come from it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "world/records.h"

namespace skerrow::content {

// Movement and behaviour classes as the unit update dispatches them.
enum : int32_t {
  kClassNone = 0,
  kClassShip = 1,         // full ship (player heroes)
  kClassSmallCraft = 2,   // small craft: boats, aircraft, the summoning boss
  kClassShipBoss = 3,     // full ship rules, funnel smoke (bosses 44, 47)
  kClassEnemyShip = 5,    // enemy ship
  kClassEmplacement = 6,  // fixed gun, mine
  kClassExitGate = 7,     // exit gate / level-exit marker
  kClassDoor = 8,
  kClassLinkedGun = 9,
  kClassFloat = 10,  // floating decoration, switch, coin chest
};

// Unit kind used for the invisible, armed level-exit markers (never an obstacle to ships).
inline constexpr int32_t kExitMarkerKind = 133;

struct KindInfo {
  int32_t kind;
  const char* nameUtf8;  // shown when the mouse points at the unit (stored as Windows-1251)
  int32_t kindClass;
  float alertRadius;  // the unit notices the player within alertRadius + 3.5
  float standoffMin;  // broadside ships: distance band for firing abeam
  float standoffMax;
  // Default unit parameters. Speeds are given in play terms and converted by MakeUnitRecord:
  float speed;  // top speed, world units per second (0 = does not move)
  float turn;   // top turn rate, radians per second
  float life;
  float mass;
  float radius;
  float kren;        // heel amount
  float reloadTime;  // seconds for the main gun to reload (0 = no main gun)
  float sideReloadTime;
  float chargeTime;  // seconds to full main-gun / side charge
  uint8_t haveAI;
};

// Every kind the pack defines, in kind order.
std::span<const KindInfo> WorldKinds();
// The row of `kind`, or nullptr.
const KindInfo* FindKind(int32_t kind);
// The default unit of a kind (alive, at the origin): the content of its unit<K>.par.
UnitRecord MakeUnitRecord(const KindInfo& info);
// Skerrow.qvp: 256 kind records and 16 trailing bytes (827,408 bytes).
std::vector<uint8_t> BuildKindPack();

}  // namespace skerrow::content
