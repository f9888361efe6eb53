// Triggers: reach, table order, the medkit and the save point that stay armed, coins to lives, sparkles and
// sounds, the hint trigger's files and unlocks, and the world flags of the event kinds.
#include "enemies/triggers.h"

#include "enemies_fixture.h"

namespace skerrow::test {
namespace {

class TriggersTest : public EnemiesTest {
 protected:
  BonusRecord& Bonus(int32_t i, int32_t kind, double x = 100.0, double z = 100.0) {
    BonusRecord& b = w.bonuses[i];
    b = BonusRecord{};
    b.alive = 1;
    b.kind = kind;
    b.posX = x;
    b.posZ = z;
    return b;
  }
  void Update() { UpdateTriggers(w, host); }
  int Sparkles() const {
    int n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i)
      n += w.particles[i].active == 1 && w.particles[i].kind == particle::kSparkle;
    return n;
  }
};

// A save point reached by a ship that may not be saved (sinking, out of life, dead) does not
// save and stays armed; it saves once the ship is afloat again.
TEST_F(TriggersTest, ASavePointWaitsForAShipThatMayBeSaved) {
  const struct {
    const char* state;
    uint8_t alive, sinking;
    float life;
  } kStates[] = {{"sinking", 1, 1, 0.0f}, {"out of life", 1, 0, -1.0f}, {"dead", 0, 1, 0.0f}};
  for (const auto& c : kStates) {
    SCOPED_TRACE(c.state);
    host.thumbnailSaves = 0;
    Bonus(6, bonus::kSavePoint);
    P().alive = c.alive;
    P().sinking = c.sinking;
    P().life = c.life;
    Update();
    EXPECT_EQ(host.thumbnailSaves, 0);
    EXPECT_EQ(+w.bonuses[6].alive, 1);
    EXPECT_EQ(+w.bonuses[6].kind, bonus::kSavePoint);
    P().alive = 1;
    P().sinking = 0;
    P().life = P().maxLife;
    Update();
    EXPECT_EQ(host.thumbnailSaves, 1);
    EXPECT_EQ(+w.bonuses[6].alive, 0);
  }
}

TEST_F(TriggersTest, TwoRecordsInReachFireInTableOrderAndStayAsDeadRecordsOfKindZero) {
  Bonus(5, bonus::kCoin);
  Bonus(3, bonus::kCoinPile, 100.5, 100.0);
  Bonus(4, bonus::kKey2, 103.0, 100.0);  // out of reach
  Update();
  ASSERT_EQ(host.sounds.size(), 2u);
  EXPECT_EQ(host.sounds[0].sound, sound::kCoinPile);
  EXPECT_EQ(host.sounds[0].x, 100.5);  // at the record
  EXPECT_EQ(host.sounds[1].sound, sound::kCoin);
  EXPECT_EQ(+w.coins, 13);
  for (int32_t i : {3, 5}) {
    EXPECT_EQ(+w.bonuses[i].alive, 0);
    EXPECT_EQ(+w.bonuses[i].kind, 0);
  }
  EXPECT_EQ(+w.bonuses[4].alive, 1);
  EXPECT_EQ(Sparkles(), 2);
  Update();  // dead records never fire again
  EXPECT_EQ(host.sounds.size(), 2u);
}

TEST_F(TriggersTest, ReachIsTheShipRadiusPlusTheRecordRadius) {
  BonusRecord& b = Bonus(1, bonus::kSpeedUp, 106.0, 100.0);
  b.radius = 5.0f;
  P().posX = 99.999;
  Update();
  EXPECT_EQ(+b.alive, 1);
  P().posX = 100.0;  // exactly 5 + 1
  Update();
  EXPECT_EQ(+b.alive, 0);
  EXPECT_EQ(+w.bonusTimer, 15.0);
}

TEST_F(TriggersTest, MedkitStaysArmedUntilTheShipIsDamagedAndUnprotected) {
  w.episode = 3;
  P().maxLife = 1000.0f;
  P().life = 1000.0f;
  BonusRecord& m = Bonus(1, bonus::kMedkit);
  Update();
  EXPECT_EQ(+m.alive, 1);
  EXPECT_EQ(+m.kind, bonus::kMedkit);
  P().life = 100.0f;
  w.respawnProtection = 0.5;
  Update();
  EXPECT_EQ(+m.alive, 1);
  EXPECT_TRUE(host.sounds.empty());
  EXPECT_EQ(Sparkles(), 0);
  w.respawnProtection = 0.0;
  Update();
  EXPECT_EQ(+m.alive, 0);
  EXPECT_EQ(+P().life, 550.0f);  // 50 * 3^2
  EXPECT_EQ(host.CountSound(sound::kMedkit), 1);

  P().life = 900.0f;
  Bonus(2, bonus::kMedkit);
  Update();
  EXPECT_EQ(+P().life, 1000.0f);  // never above maxLife
}

TEST_F(TriggersTest, NinetyNineCoinsPlusACoinPileGiveElevenCoinsAndALife) {
  w.coins = 99;
  w.lives = 1;
  Bonus(1, bonus::kCoinPile);
  Update();
  EXPECT_EQ(+w.coins, 11);
  EXPECT_EQ(+w.lives, 2);
  EXPECT_EQ(+w.pickupFlash, 2.5);
}

TEST_F(TriggersTest, HintTriggerShowsItsFilesAndUnlocksByTag) {
  UseGameFolder("hint");
  WriteGameFile("gdata/ata/hints/hint7.txt", "text\n");
  w.mouseLeftHeld = 1;
  w.infoPanelOpen = 1;
  BonusRecord& b = Bonus(1, bonus::kHint);
  b.tag = 7;
  Update();
  ASSERT_EQ(host.hints.size(), 1u);
  EXPECT_EQ(host.hints[0].first, w.appPath + "gdata\\ata\\hints\\hint7.txt");
  EXPECT_EQ(host.hints[0].second, w.appPath + "gdata\\sounds\\hints\\hint7.wav");
  EXPECT_EQ(+w.skipNextRelease, 1);
  EXPECT_EQ(+w.mouseSteering, 1);
  EXPECT_EQ(+w.gunsUnlocked, 1);
  EXPECT_EQ(+w.infoPanelUnlocked, 1);
  EXPECT_EQ(+w.upgradePanelUnlocked, 1);
  EXPECT_EQ(+w.infoPanelOpen, 0);
  EXPECT_EQ(+w.upgradePanelOpen, 1);
  EXPECT_EQ(Sparkles(), 0);
  EXPECT_TRUE(host.sounds.empty());
}

TEST_F(TriggersTest, AMissingHintFileShowsNothingButStillUnlocksAndIsUsedUp) {
  UseGameFolder("hint_missing");
  BonusRecord& b = Bonus(1, bonus::kHint);
  b.tag = 15;
  Update();
  EXPECT_TRUE(host.hints.empty());
  EXPECT_EQ(+b.alive, 0);
  EXPECT_EQ(+b.kind, 0);
  EXPECT_EQ(+w.skipNextRelease, 0);  // the button was not held
  for (uint8_t flag : {w.mouseSteering, w.gunsUnlocked, w.infoPanelUnlocked, w.upgradePanelUnlocked,
                       w.radarUnlocked, w.weaponZUnlocked, w.weaponSUnlocked})
    EXPECT_EQ(+flag, 1);
  EXPECT_EQ(+w.weaponXUnlocked, 0);
}

TEST_F(TriggersTest, UnlocksByTag) {
  struct Case {
    int32_t tag;
    uint8_t SavedState::*flag;  // the flag it sets, null for none
  };
  const Case cases[] = {{2, &SavedState::mouseSteering},
                        {3, &SavedState::gunsUnlocked},
                        {5, &SavedState::infoPanelUnlocked},
                        {8, &SavedState::radarUnlocked},
                        {13, &SavedState::weaponSUnlocked},
                        {1, nullptr},
                        {-7, nullptr},
                        {1000000, nullptr}};
  for (const Case& c : cases) {
    auto fresh = std::make_unique<WorldState>();
    UnlockByHintTag(*fresh, c.tag);
    int set = 0;
    for (uint8_t SavedState::*f :
         {&SavedState::mouseSteering, &SavedState::gunsUnlocked, &SavedState::infoPanelUnlocked,
          &SavedState::upgradePanelUnlocked, &SavedState::radarUnlocked,
          &SavedState::weaponZUnlocked, &SavedState::weaponSUnlocked, &SavedState::weaponXUnlocked})
      set += (*fresh).*f;
    EXPECT_EQ(set, c.flag != nullptr ? 1 : 0) << c.tag;
    if (c.flag != nullptr) {
      EXPECT_EQ(+((*fresh).*(c.flag)), 1) << c.tag;
    }
  }
}

TEST_F(TriggersTest, HostileTagsAreDecimalNamesInTheHintFolder) {
  UseGameFolder("hint_hostile");
  WriteGameFile("gdata/ata/hints/hint-2147483648.txt", "x\n");
  Bonus(1, bonus::kHint).tag = -2147483647 - 1;
  Update();
  ASSERT_EQ(host.hints.size(), 1u);
  EXPECT_EQ(host.hints[0].first, w.appPath + "gdata\\ata\\hints\\hint-2147483648.txt");
}

TEST_F(TriggersTest, EventKinds) {
  Bonus(1, bonus::kSkyZoneFirst + 2);
  Bonus(2, bonus::kKey3);
  Bonus(3, bonus::kSnowStarts);
  Bonus(4, bonus::kDarkness);
  Bonus(5, bonus::kProtection);
  Bonus(6, bonus::kSavePoint);
  Update();
  EXPECT_FLOAT_EQ(w.skyFogTarget.r, 221.0f / 255.0f);
  EXPECT_FLOAT_EQ(w.skyFogTarget.g, 120.0f / 255.0f);
  EXPECT_FLOAT_EQ(w.skyFogTarget.b, 87.0f / 255.0f);
  EXPECT_EQ(+w.keys[2], 1);
  EXPECT_EQ(+w.keys[0], 0);
  EXPECT_EQ(+w.snowActive, 1);
  EXPECT_EQ(+w.snowOn, 1);
  EXPECT_LT(+w.snowDrift.x, 0.04);
  EXPECT_EQ(+w.snowDrift.w, 1.0);
  EXPECT_EQ(+w.darknessOn, 1);
  EXPECT_EQ(+w.respawnProtection, 10.0);
  EXPECT_EQ(host.thumbnailSaves, 1);
  EXPECT_EQ(host.CountSound(sound::kKey), 2);
  EXPECT_EQ(Sparkles(), 3);  // key, protection, save point

  Bonus(1, bonus::kSnowStops);
  Bonus(2, bonus::kLightAgain);
  Update();
  EXPECT_EQ(+w.snowOn, 0);
  EXPECT_EQ(+w.snowActive, 1);  // the snow fades out by itself
  EXPECT_EQ(+w.darknessOn, 0);
}

TEST_F(TriggersTest, KindsWithoutAnActionAreClearedQuietly) {
  for (int32_t k : {0, 20, -5, 1000000}) {
    BonusRecord& b = Bonus(1, k);
    Update();
    EXPECT_EQ(+b.alive, 0) << k;
    EXPECT_EQ(+b.kind, 0) << k;
  }
  EXPECT_TRUE(host.sounds.empty());
  EXPECT_EQ(Sparkles(), 0);
}

}  // namespace
}  // namespace skerrow::test
