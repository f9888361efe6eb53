// The names of the game's numbers: game modes, movement classes, the unit kinds with special
// roles, sound numbers, particle kinds and bonus kinds, and the per-kind role table (name,
// movement class, drawn model) that the game and the content generator share. Data only.
#pragma once

#include <array>
#include <cstdint>

#include "world/records.h"

namespace skerrow {

// `GameMode` (saved-block offset 32). Any other value selects no update and no scene.
namespace game_mode {
inline constexpr int32_t kNone = 0;  // before start-up completes
inline constexpr int32_t kMenu = 1;
inline constexpr int32_t kPlay = 2;
inline constexpr int32_t kEditorView = 3;
}  // namespace game_mode

// `menuScreen`: which screen the menu mode shows.
namespace menu_screen {
inline constexpr int32_t kMain = 1;
inline constexpr int32_t kCredits = 2;
inline constexpr int32_t kHeroChoice = 3;
inline constexpr int32_t kShipChoice = 4;
inline constexpr int32_t kIntro = 5;
inline constexpr int32_t kOutro = 6;
}  // namespace menu_screen

// `kindClass` of a kind record: the movement and behaviour rules of the unit update.
namespace unit_class {
inline constexpr int32_t kNone = 0;        // not updated
inline constexpr int32_t kShip = 1;        // full ship rules (the heroes)
inline constexpr int32_t kSmallCraft = 2;  // boats and aircraft: no drag on sinking, bubbles
inline constexpr int32_t kHeavyShip = 3;   // full ship rules
// Full ship rules, destroyed on its first sinking step.
inline constexpr int32_t kShipSunkAtOnce = 4;
inline constexpr int32_t kEnemyShip = 5;
inline constexpr int32_t kEmplacement = 6;  // fixed gun, mine
inline constexpr int32_t kExitGate = 7;  // opens a level edge once destroyed; drawn at full light
inline constexpr int32_t kDoor = 8;
inline constexpr int32_t kLinkedGun = 9;
inline constexpr int32_t kFloat = 10;  // floating decoration, switch, coin chest
inline constexpr int32_t kCount = 11;  // classes 0..10; larger values are skipped like 0
}  // namespace unit_class

// `unitKind` values that the code treats specially. Kinds 1..3 are the heroes' ships
// (`shipChoice`); everything else is data of the kind pack.
namespace kind {
inline constexpr int32_t kPaddleSteamer = 1;  // hero ship: paddle wheels, one funnel
inline constexpr int32_t kSternWheeler = 2;   // hero ship: stern wheel; with AI the wanderer
inline constexpr int32_t kCruiser = 3;        // hero ship: four funnels
inline constexpr int32_t kSluiceGate = 4;     // destructible exit gate (class 7), no weapons
inline constexpr int32_t kBuoy = 5;           // class 10: floating decoration
inline constexpr int32_t kPatrolBoat = 6;     // gunboat small craft with a bow propeller
inline constexpr int32_t kGunboat = 7;        // skirmisher
inline constexpr int32_t kFireShip = 8;       // rammer, blasts on contact (factor 21)
inline constexpr int32_t kTorpedoBoat = 9;    // gunboat small craft with a bow propeller
inline constexpr int32_t kBrig = 10;          // skirmisher
inline constexpr int32_t kSubmarine = 11;     // drawn as animation frames
inline constexpr int32_t kSteamRam = 12;      // rammer, destroyed on its first sinking step
inline constexpr int32_t kCoastalFort = 13;   // turning battery, casts no shadow
inline constexpr int32_t kFortTower = 14;     // turning battery, casts no shadow
inline constexpr int32_t kMonitor = 15;       // found-item wreck, damaged and sinking models
inline constexpr int32_t kFlameGunboat = 16;  // skirmisher
inline constexpr int32_t kBomber = 17;        // two rotors
inline constexpr int32_t kHeavyBomber = 18;
inline constexpr int32_t kFrigate = 19;        // broadside ship
inline constexpr int32_t kShipOfTheLine = 20;  // broadside ship
inline constexpr int32_t kSkimmer = 21;        // summoned minion, two alternating frames
inline constexpr int32_t kItemWreck22 = 22;    // found-item wreck
inline constexpr int32_t kCoinChest = 23;      // coin cache, casts no shadow
inline constexpr int32_t kAutogyro = 24;       // summoned minion with a top rotor
inline constexpr int32_t kSeaplane = 25;       // summoned minion, skirmisher with forward battery
inline constexpr int32_t kShoreBattery = 26;   // fixed battery; stays in the table when destroyed
inline constexpr int32_t kMortarBoat = 27;     // frames follow its reload
inline constexpr int32_t kGate = 28;           // door opening for the player (unlit, like 29..31)
inline constexpr int32_t kKeyGate1 = 29;
inline constexpr int32_t kKeyGate3 = 30;
inline constexpr int32_t kKeyGate2 = 31;
inline constexpr int32_t kFlameWallA = 32;  // close-range attacker with a flame-thrower (weapon X)
inline constexpr int32_t kFlameWallB = 33;
inline constexpr int32_t kSwitch = 35;       // thrown by a hit; drives linked guns and locks
inline constexpr int32_t kLock = 36;         // door opened by its linked switch
inline constexpr int32_t kItemWreck37 = 37;  // found-item wreck
inline constexpr int32_t kGate2 = 39;
inline constexpr int32_t kKeyGate1b = 40;
inline constexpr int32_t kKeyGate3b = 41;
inline constexpr int32_t kKeyGate2b = 42;
inline constexpr int32_t kLock2 = 43;
inline constexpr int32_t kPirateFlagship = 44;  // first boss
// Fires the flagship's heavy shell and has no behaviour: the pack's linked gun (class 9).
inline constexpr int32_t kHeavyGunship = 45;
inline constexpr int32_t kFlyingFortress = 46;  // summoning boss, the last one
inline constexpr int32_t kIronclad = 47;        // second boss
inline constexpr int32_t kSeaMine = 48;         // blasts on contact; the last kind with a behaviour
inline constexpr int32_t kItemWreck50 = 50;     // found-item wreck
inline constexpr int32_t kFighter = 51;         // the player's aircraft: own shadow light, rotor
inline constexpr int32_t kExitMarker = 133;     // invisible armed exit gate, never an obstacle
inline constexpr int32_t kLastModelled = 128;   // ship models exist for kinds 1..128 only
}  // namespace kind

// Sound numbers of the battle list (gdata\sounds\battle\), 22 entries.
namespace sound {
inline constexpr int32_t kMedkit = 0;         // medict.wav
inline constexpr int32_t kSpeedUp = 1;        // speedup.wav
inline constexpr int32_t kShot = 2;           // shoot1.wav; also the slot deletion
inline constexpr int32_t kExplosion = 3;      // explos1.wav
inline constexpr int32_t kWaterBlast = 4;     // explosw.wav
inline constexpr int32_t kSinking = 5;        // sunking.wav
inline constexpr int32_t kEngineAhead = 6;    // startforvard.wav
inline constexpr int32_t kEngineAstern = 7;   // startback.wav
inline constexpr int32_t kExplosion1 = 8;     // explos1.wav again
inline constexpr int32_t kExplosion2 = 9;     // explos2.wav
inline constexpr int32_t kFalling = 10;       // fallin.wav: a small craft going down
inline constexpr int32_t kElectricShot = 11;  // electshoot.wav
inline constexpr int32_t kElectric = 12;      // elect.wav
inline constexpr int32_t kCoin = 13;          // moneta.wav
inline constexpr int32_t kCoinStack = 14;     // moneta2.wav
inline constexpr int32_t kCoinPile = 15;      // moneta3.wav
inline constexpr int32_t kMine = 16;          // mine.wav
inline constexpr int32_t kKey = 17;           // kluch.wav: keys and save points
inline constexpr int32_t kClick = 18;         // menu.wav
inline constexpr int32_t kGate = 19;          // gate1.wav
inline constexpr int32_t kCount = 22;         // 20 and 21 have channels but no file
}  // namespace sound

// `ParticleRecord::kind`, 1..21: update rule, lifetime and drawing.
namespace particle {
inline constexpr int32_t kDestructA = 1;      // explosion frames "destruct" set 1
inline constexpr int32_t kWaterRing = 2;      // additive, darkens out
inline constexpr int32_t kDestructB = 3;      // explosion frames "destruct" set 3
inline constexpr int32_t kExplosion = 4;      // "exp" frames, with a halo
inline constexpr int32_t kSplashRing = 5;     // "vsplesk" frames, additive
inline constexpr int32_t kMiniExplosion = 6;  // "mini" frames, with a halo
inline constexpr int32_t kFireball = 7;       // "fire" frames, with a halo
inline constexpr int32_t kWake = 8;           // param168 = the unitKind that made it
inline constexpr int32_t kSparkle = 9;        // pickup sparkle
inline constexpr int32_t kGlint = 10;         // sea glitter
inline constexpr int32_t kSmoke = 11;         // rises and drifts; funnels, bubbles, statics
inline constexpr int32_t kSpark = 12;         // like the glint, steeper
inline constexpr int32_t kCannonSmoke = 13;   // "cannon" frames
inline constexpr int32_t kSplashColumn = 14;  // "water" frames
inline constexpr int32_t kWreckFire = 15;     // "expxe" frames, with a halo
inline constexpr int32_t kWarmSmoke = 21;     // rises like smoke, additive
inline constexpr int32_t kCount = 22;         // kinds 1..21
}  // namespace particle

// `BonusRecord::kind`, 1..19: pickups and invisible triggers.
namespace bonus {
inline constexpr int32_t kMedkit = 1;
inline constexpr int32_t kSpeedUp = 2;
inline constexpr int32_t kCoin = 3;
inline constexpr int32_t kCoinStack = 4;
inline constexpr int32_t kCoinPile = 5;
inline constexpr int32_t kSavePoint = 6;
inline constexpr int32_t kSkyZoneFirst = 7;  // sky colour zones 7..10
inline constexpr int32_t kSkyZoneLast = 10;
inline constexpr int32_t kHint = 11;  // tag = hint number
inline constexpr int32_t kProtection = 12;
inline constexpr int32_t kKey1 = 13;
inline constexpr int32_t kKey2 = 14;
inline constexpr int32_t kKey3 = 15;
inline constexpr int32_t kSnowStarts = 16;
inline constexpr int32_t kSnowStops = 17;
inline constexpr int32_t kDarkness = 18;
inline constexpr int32_t kLightAgain = 19;
inline constexpr int32_t kCount = 20;  // kinds 1..19
}  // namespace bonus

// What a kind is: the name shown when the mouse points at it, its movement class, and how its
// ship model group is drawn. A kind without a name is not in the kind pack.
struct KindRole {
  int32_t kind;
  const char* nameUtf8;  // nullptr: no kind record (stored as Windows-1251 in the pack)
  int32_t kindClass;
  // Scale the unit drawing applies to the kind's models (model units are z-up); 0: the kind
  // has no model (kinds above 128, drawn as nothing).
  double drawScale;
  int32_t modelParts;  // ship<K>-1 .. ship<K>-<parts>.3ds loaded after the hull
};

namespace vocabulary_detail {

struct RoleRow {
  int32_t kind;
  const char* nameUtf8;
  int32_t kindClass;
};

// Every kind of the pack, in kind order.
inline constexpr RoleRow kRoleRows[] = {
    {kind::kPaddleSteamer, "Колёсный пароход", unit_class::kShip},
    {kind::kSternWheeler, "Броненосный пароход", unit_class::kShip},
    {kind::kCruiser, "Винтовой крейсер", unit_class::kShip},
    {kind::kSluiceGate, "Шлюзовые ворота", unit_class::kExitGate},
    {kind::kBuoy, "Бакен", unit_class::kFloat},
    {kind::kPatrolBoat, "Сторожевой катер", unit_class::kSmallCraft},
    {kind::kGunboat, "Канонерка", unit_class::kEnemyShip},
    {kind::kFireShip, "Брандер", unit_class::kEnemyShip},
    {kind::kTorpedoBoat, "Торпедный катер", unit_class::kSmallCraft},
    {kind::kBrig, "Пиратский бриг", unit_class::kEnemyShip},
    {kind::kSubmarine, "Подводная лодка", unit_class::kEnemyShip},
    {kind::kSteamRam, "Паровой таран", unit_class::kEnemyShip},
    {kind::kCoastalFort, "Береговой форт", unit_class::kEmplacement},
    {kind::kFortTower, "Башня форта", unit_class::kEmplacement},
    {kind::kMonitor, "Разбитый монитор", unit_class::kShipSunkAtOnce},
    {kind::kFlameGunboat, "Огнемётная канонерка", unit_class::kEnemyShip},
    {kind::kBomber, "Бомбардировщик", unit_class::kSmallCraft},
    {kind::kHeavyBomber, "Тяжёлый бомбардировщик", unit_class::kSmallCraft},
    {kind::kFrigate, "Фрегат", unit_class::kEnemyShip},
    {kind::kShipOfTheLine, "Линейный корабль", unit_class::kEnemyShip},
    {kind::kSkimmer, "Глиссер", unit_class::kEnemyShip},
    {kind::kItemWreck22, "Затонувшая шхуна", unit_class::kShipSunkAtOnce},
    {kind::kCoinChest, "Сундук с монетами", unit_class::kFloat},
    {kind::kAutogyro, "Автожир", unit_class::kSmallCraft},
    {kind::kSeaplane, "Гидроплан", unit_class::kSmallCraft},
    {kind::kShoreBattery, "Береговая батарея", unit_class::kEmplacement},
    {kind::kMortarBoat, "Мортирная лодка", unit_class::kEnemyShip},
    {kind::kGate, "Ворота", unit_class::kDoor},
    {kind::kKeyGate1, "Ворота с замком", unit_class::kDoor},
    {kind::kKeyGate3, "Ворота с замком", unit_class::kDoor},
    {kind::kKeyGate2, "Ворота с замком", unit_class::kDoor},
    {kind::kFlameWallA, "Огнемётный катер", unit_class::kHeavyShip},
    {kind::kFlameWallB, "Огнемётный бот", unit_class::kHeavyShip},
    {34, "Стена", unit_class::kDoor},
    {kind::kSwitch, "Рычаг", unit_class::kFloat},
    {kind::kLock, "Шлюз", unit_class::kDoor},
    {kind::kItemWreck37, "Обломки парохода", unit_class::kShipSunkAtOnce},
    {38, "Стена", unit_class::kDoor},
    {kind::kGate2, "Ворота", unit_class::kDoor},
    {kind::kKeyGate1b, "Ворота с замком", unit_class::kDoor},
    {kind::kKeyGate3b, "Ворота с замком", unit_class::kDoor},
    {kind::kKeyGate2b, "Ворота с замком", unit_class::kDoor},
    {kind::kLock2, "Шлюз", unit_class::kDoor},
    {kind::kPirateFlagship, "Флагман пиратов", unit_class::kHeavyShip},
    {kind::kHeavyGunship, "Тяжёлое орудие", unit_class::kLinkedGun},
    {kind::kFlyingFortress, "Летающая крепость", unit_class::kSmallCraft},
    {kind::kIronclad, "Броненосец", unit_class::kHeavyShip},
    {kind::kSeaMine, "Морская мина", unit_class::kEmplacement},
    {kind::kItemWreck50, "Затопленная баржа", unit_class::kShipSunkAtOnce},
    {kind::kFighter, "Истребитель", unit_class::kSmallCraft},
    {kind::kExitMarker, "Проход", unit_class::kExitGate},
};

// The unit drawing's scale by kind; every other kind up to 128 is drawn at 0.005.
constexpr double DrawScaleOf(int32_t k) {
  switch (k) {
    case kind::kSubmarine:
    case kind::kGate:
    case kind::kKeyGate1:
    case kind::kKeyGate3:
    case kind::kKeyGate2:
    case kind::kLock:
    case kind::kGate2:
    case kind::kKeyGate1b:
    case kind::kKeyGate3b:
    case kind::kKeyGate2b:
    case kind::kLock2:
      return 0.01;
    case kind::kSteamRam:
      return 0.007;
    case kind::kMonitor:
    case kind::kItemWreck22:
    case kind::kItemWreck37:
    case kind::kItemWreck50:
      return 0.055;
    case kind::kBomber:
      return 0.001;
    case kind::kCoinChest:
    case kind::kSwitch:
      return 0.012;
    case kind::kShoreBattery:
      return 0.039;
    default:
      return k >= 1 && k <= kind::kLastModelled ? 0.005 : 0.0;
  }
}

// Part models loaded after the hull (animation frames, damaged and sinking states).
constexpr int32_t ModelPartsOf(int32_t k) {
  switch (k) {
    case kind::kSubmarine:
      return 40;
    case kind::kSteamRam:
      return 23;
    case kind::kMonitor:
    case kind::kItemWreck22:
    case kind::kAutogyro:
    case kind::kSeaplane:
    case kind::kItemWreck37:
    case kind::kItemWreck50:
      return 2;
    case kind::kSkimmer:
      return 1;
    case kind::kShoreBattery:
      return 22;  // frames 1..10 intact, 11..21 damaged
    case kind::kMortarBoat:
      return 7;
    default:
      return 0;
  }
}

constexpr std::array<KindRole, kKindCount> MakeKindRoles() {
  std::array<KindRole, kKindCount> roles{};
  for (int32_t k = 0; k < kKindCount; ++k) {
    roles[static_cast<size_t>(k)] = {k, nullptr, unit_class::kNone, DrawScaleOf(k),
                                     ModelPartsOf(k)};
  }
  for (const RoleRow& r : kRoleRows) {
    KindRole& role = roles[static_cast<size_t>(r.kind)];
    role.nameUtf8 = r.nameUtf8;
    role.kindClass = r.kindClass;
  }
  return roles;
}

constexpr bool RoleRowsValid() {
  for (size_t i = 0; i < std::size(kRoleRows); ++i) {
    if (kRoleRows[i].kind < 1 || kRoleRows[i].kind >= kKindCount) return false;
    if (i > 0 && kRoleRows[i].kind <= kRoleRows[i - 1].kind) return false;
    if (kRoleRows[i].kindClass < 0 || kRoleRows[i].kindClass >= unit_class::kCount) return false;
  }
  return true;
}
static_assert(RoleRowsValid(), "role rows must be unique, ascending, with a class 0..10");

}  // namespace vocabulary_detail

// One row per kind 0..255, row k describing kind k.
inline constexpr std::array<KindRole, kKindCount> kKindRoles = vocabulary_detail::MakeKindRoles();
static_assert(kKindRoles.size() == static_cast<size_t>(kKindCount));
static_assert(kKindRoles[kind::kExitMarker].kindClass == unit_class::kExitGate &&
              kKindRoles[kind::kExitMarker].drawScale == 0.0);

// The role of `k`, or nullptr outside 0..255.
constexpr const KindRole* KindRoleOf(int32_t k) {
  return k >= 0 && k < kKindCount ? &kKindRoles[static_cast<size_t>(k)] : nullptr;
}

}  // namespace skerrow
