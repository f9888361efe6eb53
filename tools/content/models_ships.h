// The unit kinds the model generator builds ship<K>.3ds for, with what each looks like. Kind K's
// model shows kind K's role in the shared vocabulary; the draw scale and the part files come
// from that role. Models are z-up, bow towards -x, waterline at z = 0.
#pragma once

#include <cstdint>

#include "world/vocabulary.h"

namespace skerrow::content {

struct ShipKindInfo {
  int32_t kind;
  const char* looks;
  float lengthWorld;  // overall length (or width) in world units
  int32_t parts;      // ship<K>-<k>.3ds part files written (k = 1..parts): the role's parts
  double drawScale;   // the scale the unit drawing applies: the role's
};

namespace ship_detail {
constexpr ShipKindInfo Ship(int32_t k, const char* looks, float lengthWorld) {
  return {k, looks, lengthWorld, kKindRoles[static_cast<size_t>(k)].modelParts,
          kKindRoles[static_cast<size_t>(k)].drawScale};
}
}  // namespace ship_detail

inline constexpr ShipKindInfo kShipKinds[] = {
    ship_detail::Ship(kind::kPaddleSteamer,
                      "hero: white side-wheel paddle steamer, tall red funnel (wheels koleso.3ds)",
                      1.6f),
    ship_detail::Ship(kind::kSternWheeler,
                      "hero: olive stern-wheel gunboat, bow gun, low casemate (wheel kolesa.3ds)",
                      1.9f),
    ship_detail::Ship(kind::kCruiser,
                      "hero: grey protected cruiser, three funnels, twin turrets fore and aft",
                      3.0f),
    ship_detail::Ship(kind::kPatrolBoat,
                      "patrol boat: small dark launch with a bow gun (propeller vint.3ds)", 1.0f),
    ship_detail::Ship(kind::kGunboat, "gunboat: one tall funnel, guns fore and aft", 1.6f),
    ship_detail::Ship(kind::kFireShip,
                      "fire ship: old tarred wooden hull heaped with powder barrels, one stack",
                      1.3f),
    ship_detail::Ship(kind::kTorpedoBoat,
                      "torpedo boat: low hull, one funnel, deck torpedo tubes (propeller vint.3ds)",
                      1.3f),
    ship_detail::Ship(kind::kBrig, "pirate brig: black hull, two masts with dark square sails",
                      1.8f),
    ship_detail::Ship(kind::kCoastalFort,
                      "coastal fort: round stone fort with battlements, a keep and a gun", 1.9f),
    ship_detail::Ship(kind::kMonitor, "armoured monitor; part 1 damaged, part 2 sinking", 3.2f),
    ship_detail::Ship(kind::kFrigate,
                      "steam frigate: three masts with yards, one funnel, a gun row on each side",
                      2.8f),
    ship_detail::Ship(kind::kCoinChest, "floating iron-bound chest, lid open on a heap of gold",
                      1.0f),
    ship_detail::Ship(kind::kShoreBattery,
                      "shore battery: concrete gun pit, heavy gun sweeping to and fro (frames "
                      "0..10), the same blackened with a drooping barrel (frames 11..21)",
                      1.8f),
    ship_detail::Ship(kind::kSeaMine, "floating contact mine: horned black sphere on a float ring",
                      0.8f),
};

}  // namespace skerrow::content
