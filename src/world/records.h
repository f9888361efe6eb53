// Byte layout of the saved game block and of every record in it; the same layout is the format
// of save games, level files, unit parameter files and the unit kind pack. Records only.
#pragma once

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <type_traits>

namespace skerrow {

static_assert(std::endian::native == std::endian::little,
              "the game files are little-endian byte images of these records");

// Sizes of the whole block, its file ranges and its tables.
inline constexpr size_t kSavedBlockSize = 7'515'316;  // a .qvs save game
inline constexpr size_t kLandRangeBegin = 57'648;     // a .lan file: saved-block offsets
inline constexpr size_t kLandRangeSize = 6'986'776;   // 57,648 .. 7,044,423
inline constexpr int32_t kMapSize = 2048;             // height-map side in cells
inline constexpr int32_t kUnitSlots = 256;            // units[0..255], slot 0 unused
inline constexpr int32_t kBonusSlots = 256;           // bonuses[0..255], slot 0 unused
inline constexpr int32_t kStaticSlots = 512;          // statics[0..511], slot 0 unused
inline constexpr int32_t kStaticObjectSlots = 33;     // objects[0..32] of a static, slot 0 unused
inline constexpr int32_t kProjectileSlots = 512;      // projectiles[0..511], slot 0 unused
inline constexpr int32_t kParticleSlots = 1960;       // particles[1..1960]
inline constexpr int32_t kSnowflakeSlots = 210;       // snowflakes[1..210]
inline constexpr int32_t kStatusIconSlots = 10;       // statusIcons[1..10]
inline constexpr int32_t kKindCount = 256;            // kind table records 0..255
inline constexpr size_t kKindPackSize = 827'408;      // Skerrow.qvp: 256 kind records + 16 bytes

#pragma pack(push, 1)

// Four float64; positions, velocities and rotations. x east-west, y height above the sea plane
// (surface at y = 0), z north-south; w is carried along.
struct Vector4d {
  double x;
  double y;
  double z;
  double w;
};

// RGBA, float32 each.
struct Color4f {
  float r;
  float g;
  float b;
  float a;
};

// Pascal short string: length byte and up to 255 Windows-1251 characters; bytes after the
// length are undefined.
struct ShortString {
  uint8_t length;
  char chars[255];

  std::string_view View() const { return std::string_view(chars, length); }
  // Stores `bytes`, cut at 255; the bytes after the new length keep their old contents.
  void Set(std::string_view bytes) {
    const size_t n = bytes.size() < sizeof(chars) ? bytes.size() : sizeof(chars);
    if (n > 0) std::memcpy(chars, bytes.data(), n);
    length = static_cast<uint8_t>(n);
  }
};

// A table used from index 1: operator[](i) maps i = 1..N to storage slot i - 1. `at` is the
// checked form for indices that come from data: nullptr outside 1..N.
template <typename T, int32_t N>
struct OneBased {
  T slots[N];

  static constexpr int32_t kFirst = 1;
  static constexpr int32_t kLast = N;

  T& operator[](int32_t i) {
    assert(i >= 1 && i <= N);
    return slots[i - 1];
  }
  const T& operator[](int32_t i) const {
    assert(i >= 1 && i <= N);
    return slots[i - 1];
  }
  T* at(int32_t i) { return i >= 1 && i <= N ? &slots[i - 1] : nullptr; }
  const T* at(int32_t i) const { return i >= 1 && i <= N ? &slots[i - 1] : nullptr; }
};

// Indices of the twelve control bytes of a unit (UnitRecord offsets 109..120), for code that
// walks them as an array (Controls / PreviousControls below). A weapon fires on the release of
// its control: control 0 while the latched copy in ctlPrevious is 1.
inline constexpr int kCtlTurnLeft = 0;
inline constexpr int kCtlTurnRight = 1;
inline constexpr int kCtlForward = 2;
inline constexpr int kCtlBack = 3;
inline constexpr int kCtlWeaponS = 4;
inline constexpr int kCtlMainGun = 5;
inline constexpr int kCtlSideLeft = 6;
inline constexpr int kCtlSideRight = 7;
inline constexpr int kCtlSpare8 = 8;
inline constexpr int kCtlWeaponX = 9;
inline constexpr int kCtlSpare10 = 10;
inline constexpr int kCtlWeaponZ = 11;
inline constexpr int kControlCount = 12;

// One unit: ships, emplacements, gates, doors, markers. Also the whole of a .par file.
struct UnitRecord {
  double posX;
  double posY;  // height above the water plane
  double posZ;
  uint8_t reserved24[8];  // w of the position; kept for the player across level changes
  double rotX;            // pitch for drawing, degrees
  double rotY;            // heading, radians; forward is (-sin rotY, -cos rotY) in (x, z)
  double rotZ;            // roll for drawing, degrees
  double heel;            // lean, radians (w of the rotation vector)
  Vector4d vel;           // per gameSpeed unit; vel.w (offset 88) is the propeller phase
  float mass;
  float radius;      // collision and pickup radius
  int32_t unitKind;  // index into the kind table; 1..3 are the heroes' ships
  uint8_t alive;     // 1 = slot in use
  uint8_t ctlTurnLeft;
  uint8_t ctlTurnRight;
  uint8_t ctlForward;
  uint8_t ctlBack;
  uint8_t ctlWeaponS;
  uint8_t ctlMainGun;
  uint8_t ctlSideLeft;
  uint8_t ctlSideRight;
  uint8_t ctlSpare8;
  uint8_t ctlWeaponX;
  uint8_t ctlSpare10;
  uint8_t ctlWeaponZ;
  uint8_t ctlPrevious[kControlCount];  // latched copies, indexed by kCtl*
  uint8_t reserved133[3];
  float life;
  float maxLife;
  Vector4d sinkMotion;  // set when sinking starts; meaning depends on the kind's class
  double lightLevel;    // 0..1 from the island shade
  uint8_t haveAI;       // 1 = driven by the enemy behaviour
  uint8_t reserved185[3];
  float acceleration;  // level-exit marker: its edge 1..4, rounded
  float turnRate;      // rotY advances by gameSpeed * turnRate per step
  float rotateSpeed;   // level-exit marker: its target level, rounded
  float kren;          // amount of heel in turns
  float pok;           // bobbing phase, radians
  uint8_t sinking;     // 1 while sinking; arms a level-exit marker
  // 1 once the death event ran for a sinking unit that stays live (found-item wrecks): the
  // unit update does not run it again. Cleared when sinking starts.
  uint8_t destroyed;
  uint8_t reserved210[2];
  float reload;  // main gun reload counter
  float maxReload;
  float reloadSpeed;
  float sideReload;
  float maxSideReload;
  float sideReloadSpeed;
  float power;  // main gun charge
  float maxPower;
  float powerSpeed;
  float sidePower;
  float maxSidePower;
  float sidePowerSpeed;
  int32_t tag;          // links the unit to events
  int32_t reserved264;  // kept for the player across level changes
  uint8_t reserved268;  // the same
  uint8_t reserved269[3];
};

// The propeller animation phase is the w component of the velocity (offset 88).
inline double& PropPhase(UnitRecord& u) {
  return u.vel.w;
}
inline double PropPhase(const UnitRecord& u) {
  return u.vel.w;
}

// The twelve control bytes as an array indexed by kCtl*.
inline std::span<uint8_t, kControlCount> Controls(UnitRecord& u) {
  return std::span<uint8_t, kControlCount>(reinterpret_cast<uint8_t*>(&u) + 109, kControlCount);
}
inline std::span<const uint8_t, kControlCount> Controls(const UnitRecord& u) {
  return std::span<const uint8_t, kControlCount>(reinterpret_cast<const uint8_t*>(&u) + 109,
                                                 kControlCount);
}
inline std::span<uint8_t, kControlCount> PreviousControls(UnitRecord& u) {
  return std::span<uint8_t, kControlCount>(u.ctlPrevious);
}
inline std::span<const uint8_t, kControlCount> PreviousControls(const UnitRecord& u) {
  return std::span<const uint8_t, kControlCount>(u.ctlPrevious);
}

// A pickup or an event trigger; `kind` (1..19) decides which.
struct BonusRecord {
  double posX;
  double posY;
  double posZ;
  uint8_t reserved24[16];
  double animFrame;  // 0..32
  uint8_t reserved48[48];
  float radius;   // trigger radius; 0 for pickups
  int32_t kind;   // 1..19
  uint8_t alive;  // 1 = armed
  uint8_t reserved105[11];
  int32_t tag;  // parameter; the hint number for kind 11
  uint8_t reserved120[12];
};

// An object placed on a static (a house, a gun, a tree).
struct StaticObjectRecord {
  double posX;  // relative to the static's centre
  double posY;
  double posZ;  // relative to the static's centre
  uint8_t reserved24[8];
  double rotX;
  double rotY;
  double rotZ;
  uint8_t reserved56[48];
  int32_t objectKind;  // model object<kind>.3ds, 1..128
  uint8_t alive;       // 1 = slot in use
  uint8_t reserved109[55];
};

// A static: an island or another fixed terrain piece placed in the level.
struct StaticRecord {
  uint8_t alive;  // 1 = slot in use; used slots are contiguous from 1
  uint8_t reserved1[3];
  int32_t terrainKind;  // terrain piece of the episode, 1..127
  double posX;          // centre
  double posY;
  double posZ;  // centre
  uint8_t reserved32[8];
  StaticObjectRecord objects[kStaticObjectSlots];  // slots 1..32 used
};

// A shell, rocket, flame or mine in flight.
struct ProjectileRecord {
  Vector4d pos;
  Vector4d start;  // the firing unit's rotation at spawn; some kinds keep their own state here
  Vector4d vel;    // per gameSpeed unit; w is used by some kinds
  int32_t kind;
  uint8_t active;  // 1 = slot in use
  uint8_t reserved101[3];
  int32_t owner;  // index of the unit that fired it
  int32_t variant;
};

// One particle of the pool.
struct ParticleRecord {
  int32_t kind;  // selects texture, blending and behaviour
  double age;    // frames
  Vector4d pos;
  Vector4d size;  // half extents of the drawn quad
  uint8_t reserved76[8];
  double angle;  // about the vertical axis, degrees
  uint8_t reserved92[16];
  Vector4d vel;  // growth of size.x and size.z, rise, turn of angle
  Color4f colour;
  double fadeRate;
  uint8_t active;  // 1 = slot in use
  uint8_t reserved165[3];
  int32_t param168;  // wake (kind 8): unitKind of the ship that made it
  int32_t param172;  // copied from the template; carries nothing
};

struct SnowflakeRecord {
  Vector4d pos;
  Vector4d vel;
  uint8_t reserved64[8];
  double angle;  // radians
  uint8_t reserved80[16];
  uint8_t active;   // 1 = slot in use
  uint8_t variant;  // texture 1..3
  uint8_t reserved98[2];
};

// One record of the unit kind pack. Only the named fields are interpreted.
struct KindRecord {
  uint8_t reserved0[16];
  ShortString kindName;  // shown when the mouse points at a unit of this kind
  uint8_t reserved272[2816];
  int32_t kindClass;  // movement and behaviour class 0..10
  uint8_t reserved3092[44];
  float kindAlertRadius;
  float kindStandoffMin;
  float kindStandoffMax;
  uint8_t reserved3148[84];
};

// The unit kind pack as read from Skerrow.qvp: records 0..255 and 16 trailing bytes that are
// read with them and not interpreted. `at` is the checked access for kinds taken from data.
struct KindTable {
  std::array<KindRecord, kKindCount> kinds;
  uint8_t trailing[16];

  KindRecord& operator[](int32_t kind) {
    assert(kind >= 0 && kind < kKindCount);
    return kinds[static_cast<size_t>(kind)];
  }
  const KindRecord& operator[](int32_t kind) const {
    assert(kind >= 0 && kind < kKindCount);
    return kinds[static_cast<size_t>(kind)];
  }
  KindRecord* at(int32_t kind) {
    return kind >= 0 && kind < kKindCount ? &kinds[static_cast<size_t>(kind)] : nullptr;
  }
  const KindRecord* at(int32_t kind) const {
    return kind >= 0 && kind < kKindCount ? &kinds[static_cast<size_t>(kind)] : nullptr;
  }
};

// The saved block: the whole of a save game, 7,515,316 bytes. Offsets are bytes from the start
// of the file. Tables are used from slot 1; a slot 0, where present, stays empty but is written
// and read with the rest.
struct SavedState {
  uint8_t reserved0[32];
  int32_t GameMode;  // 1 menu, 2 play, 3 editor view
  uint8_t reserved36[16];
  Vector4d cameraTargetRot;  // pitch, yaw, roll the camera turns toward
  ProjectileRecord projectiles[kProjectileSlots];
  uint8_t reserved57428[112];
  uint8_t reserved57540[16];
  Vector4d cameraRot;           // smoothed camera rotation
  Vector4d editorCameraTarget;  // the point the editor camera glides toward
  uint8_t reserved57620[4];
  double screenFadeSaved;  // screenFade kept while a screenshot is drawn
  uint8_t reserved57632[8];
  int32_t lives;
  uint8_t infoPanelOpen;
  uint8_t upgradePanelOpen;
  uint8_t reserved57646[2];
  // First byte of a land file.
  uint8_t heightMap[kMapSize][kMapSize];  // heightMap[x][z]
  int32_t terrainView[4];  // visible terrain window in cells: left, back, right, front
  uint8_t reserved4251968[1024];
  StaticRecord statics[kStaticSlots];
  uint8_t reserved7044416[8];  // last bytes of a land file
  // Level entered across each edge: 0 closed, 1..200 a level of this episode, 200 + e the first
  // level of episode e, 500 the end of the game.
  int32_t neighbourPlusX;
  int32_t neighbourPlusZ;
  int32_t neighbourMinusX;
  int32_t neighbourMinusZ;
  uint8_t reserved7044440[20];
  ShortString episodeName;  // episode directory name, under gdata\Worlds
  OneBased<int32_t, kStatusIconSlots> statusIcons;
  int32_t upgradePoints;
  uint8_t radarUnlocked;
  uint8_t gunsUnlocked;
  uint8_t infoPanelUnlocked;
  uint8_t upgradePanelUnlocked;
  uint8_t mouseSteering;
  uint8_t weaponZUnlocked;
  uint8_t weaponSUnlocked;
  uint8_t weaponXUnlocked;
  int32_t speedPoints;
  int32_t armourPoints;
  int32_t gunPoints;
  double gunFactor;    // gunPoints / 90 * ship gun factor + 0.5
  double speedFactor;  // speedPoints / 80 + 0.25
  double darkness;     // 0..1
  uint8_t darknessOn;
  uint8_t reserved7044805[27];
  int32_t shipChoice;  // unit kind 1..3 chosen for a new game
  int32_t heroChoice;  // 1..3
  int32_t experience;
  Vector4d cameraPos;
  double waterOriginX;
  uint8_t reserved7044884[8];
  double waterOriginZ;
  uint8_t reserved7044900[8];
  int32_t coins;                 // 100 make a life
  int32_t cameraNumber;          // 1..10
  UnitRecord units[kUnitSlots];  // the .unt file
  uint8_t unitAlerted[kUnitSlots];
  int32_t menuScreen;  // 1 main, 2 credits, 3 hero selection, 4 ship selection, 5 intro, 6 outro
  int32_t playerUnit;  // index into units
  int32_t heroLevel;   // 1..99
  double screenFade;   // alpha of the black overlay
  int32_t gameSpeed;   // 40 = normal
  int32_t episode;
  uint8_t keys[3];  // keys 1..3 held
  uint8_t reserved7114835[1];
  double bonusTimer;  // speed-up time left
  int32_t airTarget;  // unit the homing weapons steer toward; 0 = none
  uint8_t snowOn;
  uint8_t snowActive;
  uint8_t reserved7114850[2];
  Vector4d snowDrift;
  double snowDensity;  // 0..1
  uint8_t reserved7114892[100];
  OneBased<SnowflakeRecord, kSnowflakeSlots> snowflakes;
  double respawnProtection;
  uint8_t reserved7136000[4];
  BonusRecord bonuses[kBonusSlots];  // the .bon file
  uint8_t reserved7169796[12];
  OneBased<ParticleRecord, kParticleSlots> particles;
  ShortString playerName;
  ShortString shipName;
  int32_t levelNumber;
  Color4f skyFogColour;
  Color4f skyFogTarget;
};

#pragma pack(pop)

// ---- Layout pins ----

template <typename T>
inline constexpr bool kPlainRecord = std::is_trivially_copyable_v<T>&& std::is_standard_layout_v<T>;

static_assert(kPlainRecord<Vector4d> && sizeof(Vector4d) == 32);
static_assert(kPlainRecord<Color4f> && sizeof(Color4f) == 16);
static_assert(kPlainRecord<ShortString> && sizeof(ShortString) == 256);
static_assert(kPlainRecord<OneBased<int32_t, 10>> && sizeof(OneBased<int32_t, 10>) == 40);
static_assert(offsetof(ShortString, chars) == 1);

static_assert(kPlainRecord<UnitRecord> && sizeof(UnitRecord) == 272);
static_assert(offsetof(UnitRecord, posX) == 0);
static_assert(offsetof(UnitRecord, posY) == 8);
static_assert(offsetof(UnitRecord, posZ) == 16);
static_assert(offsetof(UnitRecord, reserved24) == 24);
static_assert(offsetof(UnitRecord, rotX) == 32);
static_assert(offsetof(UnitRecord, rotY) == 40);
static_assert(offsetof(UnitRecord, rotZ) == 48);
static_assert(offsetof(UnitRecord, heel) == 56);
static_assert(offsetof(UnitRecord, vel) == 64);
static_assert(offsetof(UnitRecord, vel) + offsetof(Vector4d, w) == 88);
static_assert(offsetof(UnitRecord, mass) == 96);
static_assert(offsetof(UnitRecord, radius) == 100);
static_assert(offsetof(UnitRecord, unitKind) == 104);
static_assert(offsetof(UnitRecord, alive) == 108);
static_assert(offsetof(UnitRecord, ctlTurnLeft) == 109 + kCtlTurnLeft);
static_assert(offsetof(UnitRecord, ctlTurnRight) == 109 + kCtlTurnRight);
static_assert(offsetof(UnitRecord, ctlForward) == 109 + kCtlForward);
static_assert(offsetof(UnitRecord, ctlBack) == 109 + kCtlBack);
static_assert(offsetof(UnitRecord, ctlWeaponS) == 109 + kCtlWeaponS);
static_assert(offsetof(UnitRecord, ctlMainGun) == 109 + kCtlMainGun);
static_assert(offsetof(UnitRecord, ctlSideLeft) == 109 + kCtlSideLeft);
static_assert(offsetof(UnitRecord, ctlSideRight) == 109 + kCtlSideRight);
static_assert(offsetof(UnitRecord, ctlSpare8) == 109 + kCtlSpare8);
static_assert(offsetof(UnitRecord, ctlWeaponX) == 109 + kCtlWeaponX);
static_assert(offsetof(UnitRecord, ctlSpare10) == 109 + kCtlSpare10);
static_assert(offsetof(UnitRecord, ctlWeaponZ) == 109 + kCtlWeaponZ);
static_assert(offsetof(UnitRecord, ctlPrevious) == 121);
static_assert(offsetof(UnitRecord, reserved133) == 133);
static_assert(offsetof(UnitRecord, life) == 136);
static_assert(offsetof(UnitRecord, maxLife) == 140);
static_assert(offsetof(UnitRecord, sinkMotion) == 144);
static_assert(offsetof(UnitRecord, lightLevel) == 176);
static_assert(offsetof(UnitRecord, haveAI) == 184);
static_assert(offsetof(UnitRecord, reserved185) == 185);
static_assert(offsetof(UnitRecord, acceleration) == 188);
static_assert(offsetof(UnitRecord, turnRate) == 192);
static_assert(offsetof(UnitRecord, rotateSpeed) == 196);
static_assert(offsetof(UnitRecord, kren) == 200);
static_assert(offsetof(UnitRecord, pok) == 204);
static_assert(offsetof(UnitRecord, sinking) == 208);
static_assert(offsetof(UnitRecord, destroyed) == 209);
static_assert(offsetof(UnitRecord, reserved210) == 210);
static_assert(offsetof(UnitRecord, reload) == 212);
static_assert(offsetof(UnitRecord, maxReload) == 216);
static_assert(offsetof(UnitRecord, reloadSpeed) == 220);
static_assert(offsetof(UnitRecord, sideReload) == 224);
static_assert(offsetof(UnitRecord, maxSideReload) == 228);
static_assert(offsetof(UnitRecord, sideReloadSpeed) == 232);
static_assert(offsetof(UnitRecord, power) == 236);
static_assert(offsetof(UnitRecord, maxPower) == 240);
static_assert(offsetof(UnitRecord, powerSpeed) == 244);
static_assert(offsetof(UnitRecord, sidePower) == 248);
static_assert(offsetof(UnitRecord, maxSidePower) == 252);
static_assert(offsetof(UnitRecord, sidePowerSpeed) == 256);
static_assert(offsetof(UnitRecord, tag) == 260);
static_assert(offsetof(UnitRecord, reserved264) == 264);
static_assert(offsetof(UnitRecord, reserved268) == 268);
static_assert(offsetof(UnitRecord, reserved269) == 269);

static_assert(kPlainRecord<BonusRecord> && sizeof(BonusRecord) == 132);
static_assert(offsetof(BonusRecord, posX) == 0);
static_assert(offsetof(BonusRecord, posY) == 8);
static_assert(offsetof(BonusRecord, posZ) == 16);
static_assert(offsetof(BonusRecord, reserved24) == 24);
static_assert(offsetof(BonusRecord, animFrame) == 40);
static_assert(offsetof(BonusRecord, reserved48) == 48);
static_assert(offsetof(BonusRecord, radius) == 96);
static_assert(offsetof(BonusRecord, kind) == 100);
static_assert(offsetof(BonusRecord, alive) == 104);
static_assert(offsetof(BonusRecord, reserved105) == 105);
static_assert(offsetof(BonusRecord, tag) == 116);
static_assert(offsetof(BonusRecord, reserved120) == 120);

static_assert(kPlainRecord<StaticObjectRecord> && sizeof(StaticObjectRecord) == 164);
static_assert(offsetof(StaticObjectRecord, posX) == 0);
static_assert(offsetof(StaticObjectRecord, posY) == 8);
static_assert(offsetof(StaticObjectRecord, posZ) == 16);
static_assert(offsetof(StaticObjectRecord, reserved24) == 24);
static_assert(offsetof(StaticObjectRecord, rotX) == 32);
static_assert(offsetof(StaticObjectRecord, rotY) == 40);
static_assert(offsetof(StaticObjectRecord, rotZ) == 48);
static_assert(offsetof(StaticObjectRecord, reserved56) == 56);
static_assert(offsetof(StaticObjectRecord, objectKind) == 104);
static_assert(offsetof(StaticObjectRecord, alive) == 108);
static_assert(offsetof(StaticObjectRecord, reserved109) == 109);

static_assert(kPlainRecord<StaticRecord> && sizeof(StaticRecord) == 5452);
static_assert(offsetof(StaticRecord, alive) == 0);
static_assert(offsetof(StaticRecord, reserved1) == 1);
static_assert(offsetof(StaticRecord, terrainKind) == 4);
static_assert(offsetof(StaticRecord, posX) == 8);
static_assert(offsetof(StaticRecord, posY) == 16);
static_assert(offsetof(StaticRecord, posZ) == 24);
static_assert(offsetof(StaticRecord, reserved32) == 32);
static_assert(offsetof(StaticRecord, objects) == 40);

static_assert(kPlainRecord<ProjectileRecord> && sizeof(ProjectileRecord) == 112);
static_assert(offsetof(ProjectileRecord, pos) == 0);
static_assert(offsetof(ProjectileRecord, start) == 32);
static_assert(offsetof(ProjectileRecord, vel) == 64);
static_assert(offsetof(ProjectileRecord, kind) == 96);
static_assert(offsetof(ProjectileRecord, active) == 100);
static_assert(offsetof(ProjectileRecord, reserved101) == 101);
static_assert(offsetof(ProjectileRecord, owner) == 104);
static_assert(offsetof(ProjectileRecord, variant) == 108);

static_assert(kPlainRecord<ParticleRecord> && sizeof(ParticleRecord) == 176);
static_assert(offsetof(ParticleRecord, kind) == 0);
static_assert(offsetof(ParticleRecord, age) == 4);
static_assert(offsetof(ParticleRecord, pos) == 12);
static_assert(offsetof(ParticleRecord, size) == 44);
static_assert(offsetof(ParticleRecord, reserved76) == 76);
static_assert(offsetof(ParticleRecord, angle) == 84);
static_assert(offsetof(ParticleRecord, reserved92) == 92);
static_assert(offsetof(ParticleRecord, vel) == 108);
static_assert(offsetof(ParticleRecord, colour) == 140);
static_assert(offsetof(ParticleRecord, fadeRate) == 156);
static_assert(offsetof(ParticleRecord, active) == 164);
static_assert(offsetof(ParticleRecord, reserved165) == 165);
static_assert(offsetof(ParticleRecord, param168) == 168);
static_assert(offsetof(ParticleRecord, param172) == 172);

static_assert(kPlainRecord<SnowflakeRecord> && sizeof(SnowflakeRecord) == 100);
static_assert(offsetof(SnowflakeRecord, pos) == 0);
static_assert(offsetof(SnowflakeRecord, vel) == 32);
static_assert(offsetof(SnowflakeRecord, reserved64) == 64);
static_assert(offsetof(SnowflakeRecord, angle) == 72);
static_assert(offsetof(SnowflakeRecord, reserved80) == 80);
static_assert(offsetof(SnowflakeRecord, active) == 96);
static_assert(offsetof(SnowflakeRecord, variant) == 97);
static_assert(offsetof(SnowflakeRecord, reserved98) == 98);

static_assert(kPlainRecord<KindRecord> && sizeof(KindRecord) == 3232);
static_assert(offsetof(KindRecord, kindName) == 16);
static_assert(offsetof(KindRecord, reserved272) == 272);
static_assert(offsetof(KindRecord, kindClass) == 3088);
static_assert(offsetof(KindRecord, reserved3092) == 3092);
static_assert(offsetof(KindRecord, kindAlertRadius) == 3136);
static_assert(offsetof(KindRecord, kindStandoffMin) == 3140);
static_assert(offsetof(KindRecord, kindStandoffMax) == 3144);
static_assert(offsetof(KindRecord, reserved3148) == 3148);

static_assert(kPlainRecord<KindTable> && sizeof(KindTable) == kKindPackSize);
static_assert(offsetof(KindTable, trailing) == 256 * 3232);

static_assert(kPlainRecord<SavedState> && sizeof(SavedState) == kSavedBlockSize);
static_assert(offsetof(SavedState, reserved0) == 0);
static_assert(offsetof(SavedState, GameMode) == 32);
static_assert(offsetof(SavedState, reserved36) == 36);
static_assert(offsetof(SavedState, cameraTargetRot) == 52);
static_assert(offsetof(SavedState, projectiles) == 84);
static_assert(offsetof(SavedState, reserved57428) == 57'428);
static_assert(offsetof(SavedState, reserved57540) == 57'540);
static_assert(offsetof(SavedState, cameraRot) == 57'556);
static_assert(offsetof(SavedState, editorCameraTarget) == 57'588);
static_assert(offsetof(SavedState, reserved57620) == 57'620);
static_assert(offsetof(SavedState, screenFadeSaved) == 57'624);
static_assert(offsetof(SavedState, reserved57632) == 57'632);
static_assert(offsetof(SavedState, lives) == 57'640);
static_assert(offsetof(SavedState, infoPanelOpen) == 57'644);
static_assert(offsetof(SavedState, upgradePanelOpen) == 57'645);
static_assert(offsetof(SavedState, reserved57646) == 57'646);
static_assert(offsetof(SavedState, heightMap) == 57'648);
static_assert(offsetof(SavedState, heightMap) == kLandRangeBegin);
static_assert(offsetof(SavedState, terrainView) == 4'251'952);
static_assert(offsetof(SavedState, reserved4251968) == 4'251'968);
static_assert(offsetof(SavedState, statics) == 4'252'992);
static_assert(offsetof(SavedState, reserved7044416) == 7'044'416);
static_assert(offsetof(SavedState, neighbourPlusX) == 7'044'424);
static_assert(offsetof(SavedState, neighbourPlusX) == kLandRangeBegin + kLandRangeSize);
static_assert(offsetof(SavedState, neighbourPlusZ) == 7'044'428);
static_assert(offsetof(SavedState, neighbourMinusX) == 7'044'432);
static_assert(offsetof(SavedState, neighbourMinusZ) == 7'044'436);
static_assert(offsetof(SavedState, reserved7044440) == 7'044'440);
static_assert(offsetof(SavedState, episodeName) == 7'044'460);
static_assert(offsetof(SavedState, statusIcons) == 7'044'716);
static_assert(offsetof(SavedState, upgradePoints) == 7'044'756);
static_assert(offsetof(SavedState, radarUnlocked) == 7'044'760);
static_assert(offsetof(SavedState, gunsUnlocked) == 7'044'761);
static_assert(offsetof(SavedState, infoPanelUnlocked) == 7'044'762);
static_assert(offsetof(SavedState, upgradePanelUnlocked) == 7'044'763);
static_assert(offsetof(SavedState, mouseSteering) == 7'044'764);
static_assert(offsetof(SavedState, weaponZUnlocked) == 7'044'765);
static_assert(offsetof(SavedState, weaponSUnlocked) == 7'044'766);
static_assert(offsetof(SavedState, weaponXUnlocked) == 7'044'767);
static_assert(offsetof(SavedState, speedPoints) == 7'044'768);
static_assert(offsetof(SavedState, armourPoints) == 7'044'772);
static_assert(offsetof(SavedState, gunPoints) == 7'044'776);
static_assert(offsetof(SavedState, gunFactor) == 7'044'780);
static_assert(offsetof(SavedState, speedFactor) == 7'044'788);
static_assert(offsetof(SavedState, darkness) == 7'044'796);
static_assert(offsetof(SavedState, darknessOn) == 7'044'804);
static_assert(offsetof(SavedState, reserved7044805) == 7'044'805);
static_assert(offsetof(SavedState, shipChoice) == 7'044'832);
static_assert(offsetof(SavedState, heroChoice) == 7'044'836);
static_assert(offsetof(SavedState, experience) == 7'044'840);
static_assert(offsetof(SavedState, cameraPos) == 7'044'844);
static_assert(offsetof(SavedState, waterOriginX) == 7'044'876);
static_assert(offsetof(SavedState, reserved7044884) == 7'044'884);
static_assert(offsetof(SavedState, waterOriginZ) == 7'044'892);
static_assert(offsetof(SavedState, reserved7044900) == 7'044'900);
static_assert(offsetof(SavedState, coins) == 7'044'908);
static_assert(offsetof(SavedState, cameraNumber) == 7'044'912);
static_assert(offsetof(SavedState, units) == 7'044'916);
static_assert(offsetof(SavedState, unitAlerted) == 7'114'548);
static_assert(offsetof(SavedState, menuScreen) == 7'114'804);
static_assert(offsetof(SavedState, playerUnit) == 7'114'808);
static_assert(offsetof(SavedState, heroLevel) == 7'114'812);
static_assert(offsetof(SavedState, screenFade) == 7'114'816);
static_assert(offsetof(SavedState, gameSpeed) == 7'114'824);
static_assert(offsetof(SavedState, episode) == 7'114'828);
static_assert(offsetof(SavedState, keys) == 7'114'832);
static_assert(offsetof(SavedState, reserved7114835) == 7'114'835);
static_assert(offsetof(SavedState, bonusTimer) == 7'114'836);
static_assert(offsetof(SavedState, airTarget) == 7'114'844);
static_assert(offsetof(SavedState, snowOn) == 7'114'848);
static_assert(offsetof(SavedState, snowActive) == 7'114'849);
static_assert(offsetof(SavedState, reserved7114850) == 7'114'850);
static_assert(offsetof(SavedState, snowDrift) == 7'114'852);
static_assert(offsetof(SavedState, snowDensity) == 7'114'884);
static_assert(offsetof(SavedState, reserved7114892) == 7'114'892);
static_assert(offsetof(SavedState, snowflakes) == 7'114'992);
static_assert(offsetof(SavedState, respawnProtection) == 7'135'992);
static_assert(offsetof(SavedState, reserved7136000) == 7'136'000);
static_assert(offsetof(SavedState, bonuses) == 7'136'004);
static_assert(offsetof(SavedState, reserved7169796) == 7'169'796);
static_assert(offsetof(SavedState, particles) == 7'169'808);
static_assert(offsetof(SavedState, playerName) == 7'514'768);
static_assert(offsetof(SavedState, shipName) == 7'515'024);
static_assert(offsetof(SavedState, levelNumber) == 7'515'280);
static_assert(offsetof(SavedState, skyFogColour) == 7'515'284);
static_assert(offsetof(SavedState, skyFogTarget) == 7'515'300);

// File ranges as they appear in the table sizes.
static_assert(sizeof(SavedState::units) == 69'632);
static_assert(sizeof(SavedState::bonuses) == 33'792);
static_assert(sizeof(SavedState::snowflakes) == 21'000);
static_assert(sizeof(SavedState::particles) == 344'960);
static_assert(sizeof(SavedState::statics) == 2'791'424);

}  // namespace skerrow
