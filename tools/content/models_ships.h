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
    ship_detail::Ship(kind::kSluiceGate,
                      "sluice gate: a banded iron leaf between towers, the exit it holds shut",
                      2.3f),
    ship_detail::Ship(kind::kBuoy, "channel buoy: red float, pole and ball top mark", 0.6f),
    ship_detail::Ship(kind::kSubmarine,
                      "submarine: low cigar hull and conning tower; frames ride lower and higher",
                      4.2f),
    ship_detail::Ship(
        kind::kSteamRam,
        "steam ram: low hull with an iron ram, the funnel cap rocking through 23 frames", 2.1f),
    ship_detail::Ship(kind::kFortTower, "fort tower: tall round stone tower with a twin gun on top",
                      1.0f),
    ship_detail::Ship(kind::kFlameGunboat,
                      "flame gunboat: gunboat with a flame nozzle on the foredeck", 1.6f),
    ship_detail::Ship(kind::kBomber, "bomber: twin-engined monoplane (two rotors drawn apart)",
                      1.9f),
    ship_detail::Ship(kind::kHeavyBomber, "heavy bomber: four-engined monoplane", 2.3f),
    ship_detail::Ship(kind::kShipOfTheLine,
                      "ship of the line: a larger frigate with a stern castle", 3.4f),
    ship_detail::Ship(kind::kSkimmer, "skimmer: red planing boat; frame 1 hops", 1.0f),
    ship_detail::Ship(kind::kItemWreck22, "schooner wreck; part 1 damaged, part 2 sinking", 3.6f),
    ship_detail::Ship(kind::kAutogyro, "autogyro: small fuselage under a rotor mast", 0.8f),
    ship_detail::Ship(kind::kSeaplane, "seaplane: monoplane on two floats", 1.2f),
    ship_detail::Ship(kind::kMortarBoat,
                      "mortar boat: squat hull with a mortar raised frame by frame as it reloads",
                      1.4f),
    ship_detail::Ship(kind::kGate, "gate: iron grille between two stone towers", 2.3f),
    ship_detail::Ship(kind::kKeyGate1, "key gate: grille with a red lock plate", 2.3f),
    ship_detail::Ship(kind::kKeyGate3, "key gate: grille with a yellow lock plate", 2.3f),
    ship_detail::Ship(kind::kKeyGate2, "key gate: grille with a green lock plate", 2.3f),
    ship_detail::Ship(kind::kFlameWallA, "flame launch: small boat with a flame nozzle", 1.1f),
    ship_detail::Ship(kind::kFlameWallB, "flame cutter: boat with a flame nozzle", 1.3f),
    ship_detail::Ship(34, "stone wall with battlements", 1.6f),
    ship_detail::Ship(kind::kSwitch, "switch: a lever on a float", 0.8f),
    ship_detail::Ship(kind::kLock, "sluice: solid iron leaf between two towers", 2.3f),
    ship_detail::Ship(kind::kItemWreck37, "paddle steamer wreck; part 1 damaged, part 2 sinking",
                      3.6f),
    ship_detail::Ship(38, "stone wall with battlements, grey", 1.6f),
    ship_detail::Ship(kind::kGate2, "gate: iron grille between two grey towers", 2.3f),
    ship_detail::Ship(kind::kKeyGate1b, "key gate: grey, red lock plate", 2.3f),
    ship_detail::Ship(kind::kKeyGate3b, "key gate: grey, yellow lock plate", 2.3f),
    ship_detail::Ship(kind::kKeyGate2b, "key gate: grey, green lock plate", 2.3f),
    ship_detail::Ship(kind::kLock2, "sluice: solid iron leaf, dark", 2.3f),
    ship_detail::Ship(kind::kPirateFlagship,
                      "pirate flagship: a great black brig with a raised stern", 5.1f),
    ship_detail::Ship(kind::kHeavyGunship, "linked heavy gun: twin barrels on a concrete pad", 1.0f),
    ship_detail::Ship(kind::kFlyingFortress,
                      "flying fortress: an airship with a gun gondola and four engines", 3.2f),
    ship_detail::Ship(kind::kIronclad, "ironclad: a monitor hull with a funnel and a twin turret",
                      3.5f),
    ship_detail::Ship(kind::kItemWreck50, "barge wreck with crates; part 1 damaged, part 2 sinking",
                      4.2f),
    ship_detail::Ship(kind::kFighter, "fighter: small single-engined monoplane", 1.0f),
};

}  // namespace skerrow::content
