// The unit kinds of the content pack: one table row per kind with its enemy distances and
// default unit parameters; the name and the movement class are the kind's role in the shared
// vocabulary. The kind pack and every .par file come from it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "world/records.h"
#include "world/vocabulary.h"

namespace skerrow::content {

struct KindInfo {
  int32_t kind;
  const char* nameUtf8;  // the role's name (stored as Windows-1251)
  int32_t kindClass;     // the role's movement class
  float alertRadius;     // the unit notices the player within alertRadius + 3.5
  float standoffMin;     // broadside ships: distance band for firing abeam
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
  // Height above the sea that an aircraft is placed and summoned at (0: a ship on the water).
  // Above 0.5 it is drawn among the flying units; above 3 the homing rockets find it.
  float flightHeight;
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
