// Bonuses and event triggers: medkits, speed-ups, coins, save points, sky colour zones, hints
// with their unlocks, protection, keys, snow and darkness. A record fires once and stays as a
// dead record of kind 0.
#include "enemies/triggers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "enemies/show_hint.h"
#include "platform/random.h"
#include "simulation/geometry.h"
#include "simulation/particles.h"
#include "simulation/play_host.h"
#include "simulation/units.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr double kRadToDeg = 180.0 / std::numbers::pi;

double R() {
  return SharedRandom().Real();
}

// Sparkle colour of the pickups by bonus kind; alpha 0 = no sparkle.
struct KindLook {
  Color4f sparkle;
  Color4f sky;  // sky and fog target of the sky colour zones; alpha 0 = none
};
constexpr Color4f kNone = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr Color4f Sky(float r, float g, float b) {
  return {r / 255.0f, g / 255.0f, b / 255.0f, 1.0f};
}
constexpr KindLook kLooks[bonus::kCount] = {
    {kNone, kNone},                     // 0
    {{1.0f, 0.3f, 0.3f, 1.0f}, kNone},  // medkit
    {{0.3f, 1.0f, 0.3f, 1.0f}, kNone},  // speed-up
    {{1.0f, 0.7f, 0.3f, 1.0f}, kNone},  // coin
    {{0.7f, 0.7f, 0.7f, 1.0f}, kNone},  // coin stack
    {{1.0f, 0.5f, 0.3f, 1.0f}, kNone},  // coin pile
    {{0.3f, 0.1f, 0.7f, 1.0f}, kNone},  // save point
    {kNone, Sky(225, 185, 217)},        // sky zones 7..10
    {kNone, Sky(255, 255, 228)},
    {kNone, Sky(221, 120, 87)},
    {kNone, Sky(98, 85, 113)},
    {kNone, kNone},                     // hint
    {{0.7f, 0.7f, 0.7f, 1.0f}, kNone},  // protection
    {{1.0f, 0.1f, 0.1f, 1.0f}, kNone},  // keys 1..3
    {{0.1f, 1.0f, 0.1f, 1.0f}, kNone},
    {{1.0f, 1.0f, 0.1f, 1.0f}, kNone},
    {kNone, kNone},  // snow starts
    {kNone, kNone},  // snow stops
    {kNone, kNone},  // darkness
    {kNone, kNone},  // light again
};
static_assert(std::size(kLooks) == static_cast<size_t>(bonus::kCount), "bonus kinds 0..19");

void Sparkle(WorldState& w, int32_t i, const BonusRecord& b) {
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSparkle;
  t.fadeRate = 0.016 + 0.001 * R();
  // The record has no heading: the unit of the same index lends its own.
  t.angle = -w.units[i].rotY * kRadToDeg;
  const double gx = 0.00057 + 0.0001 * R();
  const double gz = 0.00057 + 0.0001 * R();
  t.vel = {gx, 0.0, gz, 0.0};
  t.colour = kLooks[b.kind].sparkle;
  t.pos = {b.posX, b.posY, b.posZ, t.pos.w};
  t.size = {0.3, 0.0, 0.3, 1.0};
  SpawnParticle(w, t);
}

void AddCoins(WorldState& w, int32_t n) {
  w.coins += n;
  w.pickupFlash = 2.5;
  if (w.coins >= 100) {
    w.lives += 1;
    w.coins -= 100;
  }
}

void HintTrigger(WorldState& w, PlayHost& host, const BonusRecord& b) {
  if (w.mouseLeftHeld == 1) w.skipNextRelease = 1;
  const std::string name = "hint" + std::to_string(b.tag);  // a decimal number, never a path
  ShowHint(host, HintTextFile(w, name), HintVoiceFile(w, name));
  UnlockByHintTag(w, b.tag);
}

// Acts by the record's kind; false for a medkit or save point that stays armed.
bool Fire(WorldState& w, PlayHost& host, int32_t i, BonusRecord& b, UnitRecord& ship) {
  int32_t sound = -1;
  switch (b.kind) {
    case bonus::kMedkit: {
      if (ship.life >= ship.maxLife || w.respawnProtection > 0.0) return false;
      const double e = w.episode;
      ship.life = static_cast<float>(std::min<double>(ship.life + 50.0 * e * e, ship.maxLife));
      sound = sound::kMedkit;
      break;
    }
    case bonus::kSpeedUp:
      w.bonusTimer += 15.0;
      sound = sound::kSpeedUp;
      break;
    case bonus::kCoin:
      AddCoins(w, 1);
      sound = sound::kCoin;
      break;
    case bonus::kCoinStack:
      AddCoins(w, 3);
      sound = sound::kCoinStack;
      break;
    case bonus::kCoinPile:
      AddCoins(w, 12);
      sound = sound::kCoinPile;
      break;
    case bonus::kSavePoint:
      if (!PlayerShipSavable(w)) return false;  // stays armed until the ship may be saved
      host.SaveToCurrentSlotWithThumbnail();
      sound = sound::kKey;
      break;
    case bonus::kHint:
      HintTrigger(w, host, b);
      break;
    case bonus::kProtection:
      w.respawnProtection += 10.0;
      sound = sound::kSpeedUp;
      break;
    case bonus::kKey1:
    case bonus::kKey2:
    case bonus::kKey3:
      w.keys[b.kind - bonus::kKey1] = 1;
      sound = sound::kKey;
      break;
    case bonus::kSnowStarts: {
      w.snowActive = 1;
      w.snowOn = 1;
      const double dx = 0.04 * R();
      const double dz = 0.03 * R();
      w.snowDrift = {dx, 0.0, dz, 1.0};
      break;
    }
    case bonus::kSnowStops:
      w.snowOn = 0;
      break;
    case bonus::kDarkness:
      w.darknessOn = 1;
      break;
    case bonus::kLightAgain:
      w.darknessOn = 0;
      break;
    default:
      if (b.kind >= bonus::kSkyZoneFirst && b.kind <= bonus::kSkyZoneLast)
        w.skyFogTarget = kLooks[b.kind].sky;
      break;  // kinds 0, 20 and above: no action
  }
  if (b.kind >= 0 && b.kind < bonus::kCount && kLooks[b.kind].sparkle.a > 0.0f) Sparkle(w, i, b);
  if (sound >= 0) host.PlaySound(sound, b.posX, b.posY, b.posZ);
  return true;
}

void UnlockSteeringGunsAndPanels(WorldState& w) {
  w.mouseSteering = 1;
  w.gunsUnlocked = 1;
  w.infoPanelUnlocked = 1;
  w.upgradePanelUnlocked = 1;
}

}  // namespace

void UnlockByHintTag(WorldState& w, int32_t tag) {
  switch (tag) {
    case 2:
      w.mouseSteering = 1;
      break;
    case 3:
      w.gunsUnlocked = 1;
      break;
    case 5:
      w.infoPanelUnlocked = 1;
      w.infoPanelOpen = 1;
      break;
    case 7:
      UnlockSteeringGunsAndPanels(w);
      w.infoPanelOpen = 0;
      w.upgradePanelOpen = 1;
      break;
    case 8:
      w.radarUnlocked = 1;
      break;
    case 13:
      w.weaponSUnlocked = 1;
      break;
    case 15:
      UnlockSteeringGunsAndPanels(w);
      w.radarUnlocked = 1;
      w.weaponZUnlocked = 1;
      w.weaponSUnlocked = 1;
      break;
    default:
      break;
  }
}

void UpdateTriggers(WorldState& w, PlayHost& host) {
  UnitRecord* ship = PlayerUnit(w);
  if (ship == nullptr) return;
  for (int32_t i = 1; i < kBonusSlots; ++i) {
    BonusRecord& b = w.bonuses[i];
    if (b.alive != 1) continue;
    const double d = Distance3({b.posX, b.posY, b.posZ, 0.0}, UnitPos(*ship));
    const double reach = static_cast<double>(ship->radius) + b.radius;
    if (!(d <= reach)) continue;  // NaN positions never fire
    b.alive = 0;
    if (Fire(w, host, i, b, *ship)) {
      b.kind = 0;
    } else {
      b.alive = 1;  // the medkit or save point stays armed with its kind
    }
  }
}

}  // namespace skerrow
