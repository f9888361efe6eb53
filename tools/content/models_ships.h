// The unit kinds the model generator builds ship<N>.3ds for, with what each looks like. W: the
// kind pack should give these kinds matching classes (heroes 1..3 full ships; 4, 5, 7, 16 enemy
// ships; 8 a shore battery emplacement; 10 an exit gate; 13 a float; 15 the episode boss;
// 28 a coastal fort). Models are z-up, bow towards -x, waterline at z = 0.
#pragma once

#include <cstdint>

namespace skerrow::content {

struct ShipKindInfo {
  int32_t kind;
  const char* looks;
  float drawScale;    // the scale the unit renderer draws this kind at
  float lengthWorld;  // overall length (or width) in world units
  int32_t parts;      // ship<N>-<k>.3ds part files written (k = 1..parts)
};

inline constexpr ShipKindInfo kShipKinds[] = {
    {1, "hero: white side-wheel paddle steamer, tall red funnel (wheels koleso.3ds)", 0.005f, 1.6f,
     0},
    {2, "hero: olive stern-wheel gunboat, bow gun, low casemate (wheel kolesa.3ds)", 0.005f, 1.9f,
     0},
    {3, "hero: grey protected cruiser, three funnels, twin turrets fore and aft", 0.005f, 3.0f, 0},
    {4, "enemy patrol boat: small dark launch with a bow gun", 0.005f, 1.0f, 0},
    {5, "enemy gunboat: one tall funnel, guns fore and aft", 0.005f, 1.6f, 0},
    {7, "enemy destroyer: long narrow hull, two raked funnels, three guns", 0.005f, 2.6f, 0},
    {8, "shore battery: concrete gun pit with a heavy gun pointing to -x", 0.005f, 0.8f, 0},
    {10, "exit gate: two stone towers with a floating chain boom across y", 0.005f, 3.0f, 0},
    {13, "float: red and white channel buoy", 0.005f, 0.3f, 0},
    {15, "boss: armoured monitor; part 1 damaged, part 2 sinking", 0.055f, 3.2f, 2},
    {16, "enemy torpedo boat: low hull, one funnel, deck torpedo tubes", 0.005f, 1.3f, 0},
    {28, "coastal fort: round stone fort with battlements and a gun (drawn unlit)", 0.01f, 2.0f, 0},
};

}  // namespace skerrow::content
