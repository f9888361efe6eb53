// The hint texts of the campaign: the tutorial and story hints raised by hint triggers, the
// episode openings, the boss rewards and the found items. Written as gdata/ata/hints/<name>.txt
// in Windows-1251 with CR LF line ends, one window line per text line.
#pragma once

#include <cstdint>
#include <span>

namespace skerrow::content {

class Output;

struct HintText {
  const char* name;      // file name without ".txt": hint<T>, Whint<e>, Boss<k>, Get<N>, ...
  const char* textUtf8;  // lines separated by '\n'; at most ten lines of about 45 characters
};

// Tags of the hint triggers the levels place (the file hint<T>.txt of each).
namespace hint_tag {
// The tutorial of episode 1, level 1, in the order the player meets them; each unlocks a part
// of the ship or the interface.
inline constexpr int32_t kMouse = 2;        // mouse steering
inline constexpr int32_t kGuns = 3;         // bow gun and side batteries
inline constexpr int32_t kInfoPanel = 5;    // the information panel
inline constexpr int32_t kUpgrades = 7;     // the upgrade panel
inline constexpr int32_t kRadar = 8;        // the radar
inline constexpr int32_t kWeaponS = 13;     // homing rockets
inline constexpr int32_t kEverything = 15;  // everything, the mines included
// Story hints: no unlock.
inline constexpr int32_t kKeys = 20;    // keys open the locked gates
inline constexpr int32_t kSwitch = 21;  // a switch opens the sluice and fires linked guns
inline constexpr int32_t kSnow = 22;    // the snow storm
inline constexpr int32_t kDark = 23;    // the harbour lights go out
inline constexpr int32_t kBoss = 24;    // a boss is near
inline constexpr int32_t kSecret = 25;  // the hidden sluice gate of episode 3
inline constexpr int32_t kCoins = 26;   // coins, chests and lives
}  // namespace hint_tag

// Every hint text of the pack.
std::span<const HintText> HintTexts();
// Writes every text to ata/hints/<name>.txt.
void WriteHintTexts(Output& out);

}  // namespace skerrow::content
