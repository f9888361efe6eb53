// Whole play steps over a small world with the real sub-steps and no shell: the order of the
// sub-steps as seen from the host, the per-step rates of the fades, timers and phases, and a
// short voyage with enemies, sinking and destruction.
#include <cmath>
#include <numbers>
#include <string>

#include "platform/vk_codes.h"
#include "sim_fixture.h"
#include "simulation/play_update.h"

namespace skerrow::test {
namespace {

// What the sub-steps have written by the time the step calls its host.
struct Mark {
  std::string call;
  float skyR;
  double cameraZ, screenFade;
  int32_t heroLevel;
  double radarAlpha, hudAnimFrame;
  uint8_t aiPhase;
  double bonusTimer, particleAge;
  double playerX, darkness, terrainAnimPhase;
};

class OrderHost : public FakeHost {
 public:
  explicit OrderHost(WorldState& w) : w_(w) {}
  std::vector<Mark> marks;

  void PlaceListener(double, double, double) override { Note("listener"); }
  bool PlayWindowOpen() override {
    Note("window");
    return false;
  }
  void RefreshKeyboard() override { Note("keyboard"); }
  bool EnterLevel(int32_t level) override {
    Note("level");
    return FakeHost::EnterLevel(level);
  }
  void PlaySound(int32_t s, double x, double y, double z) override {
    Note("sound");
    FakeHost::PlaySound(s, x, y, z);
  }

 private:
  void Note(const char* call) {
    marks.push_back({call, w_.skyFogColour.r, w_.cameraPos.z, w_.screenFade, w_.heroLevel,
                     w_.radarAlpha, w_.hudAnimFrame, w_.aiPhase, w_.bonusTimer, w_.particles[5].age,
                     w_.units[1].posX, w_.darkness, w_.terrainAnimPhase});
  }
  WorldState& w_;
};

class PlayStepTest : public SimTest {};

TEST_F(PlayStepTest, SubStepsRunInTheirOrder) {
  OrderHost order(w);
  w.skyFogTarget = {0.5f, 0.5f, 0.5f, 1.0f};
  w.screenFade = 0.5;
  w.experience = 1000;
  w.radarContacts = 1;
  w.bonusTimer = 1.0;
  w.darknessOn = 1;
  w.particles[5].active = 1;
  w.particles[5].kind = 1;
  w.particles[5].fadeRate = 0.01;
  // The player in the -x band of a linked edge, moving east; an enemy ship about to sink.
  w.neighbourMinusX = 9;
  P().posX = 14.0;
  P().vel = {0.01, 0.0, 0.0, 0.0};
  MakeShip(2, 10, 60.0, 100.0).life = 0.0f;

  PlayUpdate(w, order);

  std::vector<std::string> calls;
  for (const Mark& m : order.marks) calls.push_back(m.call);
  ASSERT_EQ(calls, (std::vector<std::string>{"listener", "window", "keyboard", "level", "sound"}));
  const Mark& listener = order.marks[0];
  const Mark& window = order.marks[1];
  const Mark& keyboard = order.marks[2];
  const Mark& level = order.marks[3];
  const Mark& sound = order.marks[4];
  // The listener comes before the sky, the camera and the fade.
  EXPECT_EQ(listener.cameraZ, 90.0);
  EXPECT_EQ(listener.skyR, 0.0f);
  // Sky, camera, fade (and death) come before the pause test; the hero level after it.
  EXPECT_GT(window.skyR, 0.0f);
  EXPECT_NEAR(window.cameraZ, 100.0 - 9.7 - 1.9, 1e-12);
  EXPECT_LT(window.screenFade, 0.5);
  EXPECT_EQ(window.heroLevel, 1);
  // Hero level, radar, HUD animation before the controls; enemy phase and icons after them.
  EXPECT_EQ(keyboard.heroLevel, 2);
  EXPECT_EQ(keyboard.radarAlpha, 0.1);
  EXPECT_EQ(keyboard.hudAnimFrame, 0.5);
  EXPECT_EQ(keyboard.aiPhase, 0);
  EXPECT_EQ(keyboard.bonusTimer, 1.0);
  EXPECT_EQ(keyboard.particleAge, 0.0);
  // Enemy phase, icons and particles before the units, whose first act is the level bounds.
  EXPECT_EQ(level.aiPhase, 1);
  EXPECT_EQ(level.bonusTimer, 0.98);
  EXPECT_NEAR(level.particleAge, 0.4, 1e-15);
  EXPECT_EQ(level.playerX, 14.0);
  // Units in slot order: the player moved before unit 2 began to sink; darkness and phases
  // come after the units.
  EXPECT_GT(sound.playerX, 14.0);
  EXPECT_EQ(sound.darkness, 0.0);
  EXPECT_EQ(sound.terrainAnimPhase, 0.0);
  EXPECT_EQ(+w.darkness, 0.003);
  EXPECT_NEAR(+w.terrainAnimPhase, 40 * 0.018, 1e-15);
}

TEST_F(PlayStepTest, SeaGlitterComesAfterTheParticleUpdate) {
  // A glitter made in a step has not aged in it: it is requested after the particle update.
  auto glitters = [this](bool freshOnly) {
    int32_t n = 0;
    for (int32_t i = 1; i <= kParticleSlots; ++i) {
      const ParticleRecord& p = w.particles[i];
      n += p.active == 1 && p.kind == 10 && (!freshOnly || p.age == 0.0);
    }
    return n;
  };
  for (int k = 0; k < 50; ++k) {
    const int32_t before = glitters(false);
    PlayUpdate(w, host);
    if (glitters(false) > before) {  // none ends this early: one was made in this step
      EXPECT_EQ(glitters(true), 1);
      return;
    }
  }
  FAIL() << "no glitter in 50 steps";
}

// One step's change of each rate at game speed 40, each row from its own start value.
TEST_F(PlayStepTest, RatesPerStep) {
  struct Case {
    const char* name;
    std::function<void()> set;
    std::function<double()> read;
    double delta;
    double tolerance;
  };
  const double g = 40.0;
  const Case cases[] = {
      {"fade out", [&] { w.screenFade = 0.5; }, [&] { return +w.screenFade; }, -g * 1.8e-4, 1e-15},
      {"fade in while sinking",
       [&] {
         w.screenFade = 0.5;
         P().sinking = 1;
         P().posY = 0.0;
       },
       [&] { return +w.screenFade; }, g * 3.9e-4, 1e-15},
      {"darkness in",
       [&] {
         w.darknessOn = 1;
         w.darkness = 0.5;
       },
       [&] { return +w.darkness; }, 0.003, 1e-15},
      {"darkness out",
       [&] {
         w.darknessOn = 0;
         w.darkness = 0.5;
       },
       [&] { return +w.darkness; }, -0.004, 1e-15},
      {"radar in",
       [&] {
         w.radarContacts = 1;
         w.radarAlpha = 0.5;
       },
       [&] { return +w.radarAlpha; }, 0.1, 1e-15},
      {"radar out",
       [&] {
         w.radarContacts = 0;
         w.radarAlpha = 0.5;
       },
       [&] { return +w.radarAlpha; }, -0.04, 1e-15},
      {"pickup flash", [&] { w.pickupFlash = 1.0; }, [&] { return +w.pickupFlash; }, -0.04, 1e-15},
      {"flash level up",
       [&] {
         w.pickupFlash = 1.0;
         w.pickupFlashLevel = 0.0;
       },
       [&] { return +w.pickupFlashLevel; }, 3.0 * 0.19, 1e-15},
      {"flash level down",
       [&] {
         w.pickupFlash = 0.0;
         w.pickupFlashLevel = 0.0;
       },
       [&] { return +w.pickupFlashLevel; }, -10.0 * 0.08, 1e-15},
      {"HUD frame", [&] { w.hudAnimFrame = 1.0; }, [&] { return +w.hudAnimFrame; }, 0.5, 0},
      {"bonus timer", [&] { w.bonusTimer = 1.0; }, [&] { return +w.bonusTimer; }, -0.02, 1e-15},
      {"protection", [&] { w.respawnProtection = 1.0; }, [&] { return +w.respawnProtection; },
       -0.02, 1e-15},
      {"terrain phase", [&] { w.terrainAnimPhase = 1.0; }, [&] { return +w.terrainAnimPhase; },
       g * 0.018, 1e-15},
      {"wave phase", [&] { w.wavePhase = 1.0; }, [&] { return +w.wavePhase; }, g * 0.0015, 1e-15},
      {"sky up",
       [&] {
         w.skyFogColour.r = 0.25f;
         w.skyFogTarget.r = 0.5f;
       },
       [&] { return +w.skyFogColour.r; }, g * 1.8e-5, 1e-7},
      {"sky down",
       [&] {
         w.skyFogColour.r = 0.75f;
         w.skyFogTarget.r = 0.5f;
       },
       [&] { return +w.skyFogColour.r; }, -g * 1.8e-5, 1e-7},
      // The camera sits at x 100, z + 14 = 102.4: no whole-cell shift, only the drift.
      {"water drift x", [&] { w.waterOriginX = 100.0; }, [&] { return +w.waterOriginX; }, -g * 1e-5,
       1e-12},
      {"water drift z", [&] { w.waterOriginZ = 102.4; }, [&] { return +w.waterOriginZ; },
       -g * 1.6e-5, 1e-12},
      {"snow thickens",
       [&] {
         w.snowActive = 1;
         w.snowOn = 1;
         w.snowDensity = 0.5;
       },
       [&] { return +w.snowDensity; }, 0.005, 1e-15},
      {"snow thins",
       [&] {
         w.snowActive = 1;
         w.snowOn = 0;
         w.snowDensity = 0.5;
       },
       [&] { return +w.snowDensity; }, -0.003, 1e-15},
  };
  for (const Case& c : cases) {
    MakeShip(1, 1, 100.0, 100.0);
    c.set();
    const double before = c.read();
    PlayUpdate(w, host);
    EXPECT_NEAR(c.read() - before, c.delta, c.tolerance) << c.name;
  }
}

TEST_F(PlayStepTest, AVoyageWithEnemiesSinkingAndDestruction) {
  // Full ahead, with an enemy ship and a small craft alongside, both already beaten.
  w.kindTable[6].kindClass = 2;
  host.keysDown = {kVkUp};
  MakeShip(2, 10, 104.0, 96.0).life = 0.0f;
  MakeShip(3, 6, 96.0, 96.0).life = 0.0f;
  w.unitAlerted[2] = 1;
  w.unitAlerted[3] = 1;
  for (int k = 0; k < 400; ++k) PlayUpdate(w, host);
  EXPECT_LT(+P().posZ, 95.0);  // sailed north (toward -z)
  EXPECT_EQ(+P().alive, 1);
  EXPECT_EQ(host.CountSound(5), 1);   // the enemy ship began to sink
  EXPECT_EQ(host.CountSound(10), 1);  // the small craft too
  // Both reached the sea floor and were destroyed: dead and sinking. (Their alert bytes are
  // cleared by the destruction, but the wreck's flying debris alerts every unit near where it
  // lands, the dead alike, so they are not checked here.)
  for (int32_t i : {2, 3}) {
    EXPECT_EQ(+w.units[i].alive, 0) << i;
    EXPECT_EQ(+w.units[i].sinking, 1) << i;
  }
  int32_t wake = 0;
  for (int32_t i = 1; i <= kParticleSlots; ++i) wake += w.particles[i].kind == 8;
  EXPECT_GT(wake, 0);
  EXPECT_EQ(+w.aiPhase, 0);  // 400 toggles
}

}  // namespace
}  // namespace skerrow::test
