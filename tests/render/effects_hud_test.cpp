// The effects and the HUD: which texture a particle or bonus takes (explosion frames by age,
// wakes by ship kind, triggers only in the editor view), the halo's rise and fall, the HUD's
// text and radar rules, and on a headless GL context what the HUD puts where: the lives text
// cells, the bars' extent, the radar dot at the edge of its range and the radar's fade, the
// upgrade panel over the information panel, and a full particle pool drawn without a heap
// allocation.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "engine/ktzgl.h"
#include "platform/heap_count.h"
#include "platform/platform.h"
#include "render/effects.h"
#include "render/frame.h"
#include "render/game_resources.h"
#include "render/hud.h"
#include "render/later_passes.h"
#include "render/render_state.h"
#include "render/world_passes.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

// ---- Texture choices, without GL: handles are distinct made-up numbers ----

class EffectChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    res_ = std::make_unique<GameResources>();
    for (int32_t s = 1; s < kEffectSets; ++s)
      for (int32_t f = 0; f < kEffectFrames; ++f) res_->handles.effectFrames[s][f] = s * 100 + f;
    for (int32_t k = 1; k < kBonusKinds; ++k)
      for (int32_t f = 0; f < kBonusFrames; ++f) res_->handles.bonusFrames[k][f] = k * 1000 + f;
    for (int32_t k = 1; k <= 255; ++k) res_->handles.wakeTextures[k] = 50000 + k;
    res_->textures["dim"] = 7;
  }
  ParticleStyle Style(int32_t kind, double age, int32_t param = 0) {
    ParticleRecord p{};
    p.kind = kind;
    p.age = age;
    p.param168 = param;
    return ParticleStyleOf(*res_, p);
  }
  std::unique_ptr<GameResources> res_;
};

TEST_F(EffectChoiceTest, ExplosionFrameFollowsAgeWithinItsSet) {
  struct Case {
    int32_t kind;
    double age;
    uint32_t texture;
    float tilt;
  };
  const Case cases[] = {
      {particle::kDestructA, 0, 101, 48},   {particle::kDestructA, 40, 125, 48},
      {particle::kDestructB, 7.9, 307, 48}, {particle::kExplosion, 0, 401, 48},
      {particle::kExplosion, 40, 431, 48},  {particle::kMiniExplosion, 40, 631, 48},
      {particle::kFireball, 12.5, 712, 48}, {particle::kSplashRing, 40, 531, 90},
      {particle::kCannonSmoke, 0, 801, 48}, {particle::kSplashColumn, 40, 931, 48},
      {particle::kWreckFire, 40, 1131, 90}, {particle::kExplosion, -5, 401, 48},
      {particle::kExplosion, NAN, 401, 48}, {particle::kExplosion, 1e300, 431, 48},
  };
  for (const Case& c : cases) {
    const ParticleStyle s = Style(c.kind, c.age);
    EXPECT_TRUE(s.drawn) << c.kind << " at " << c.age;
    EXPECT_EQ(s.texture, c.texture) << c.kind << " at " << c.age;
    EXPECT_EQ(s.tilt, c.tilt) << c.kind;
  }
}

TEST_F(EffectChoiceTest, UnknownKindsAndWakeNumbersDrawNothing) {
  EXPECT_EQ(Style(particle::kWake, 0, 7).texture, 50007u);
  EXPECT_TRUE(Style(particle::kWake, 0, 255).drawn);
  for (int32_t param : {0, -1, 256, 1 << 30}) EXPECT_FALSE(Style(particle::kWake, 0, param).drawn);
  for (int32_t kind : {0, 16, 20, 22, -1, 1000}) EXPECT_FALSE(Style(kind, 3).drawn) << kind;
  // Smoke is blended by its alpha and tinted by the sky; the additive kinds are not.
  EXPECT_TRUE(Style(particle::kSmoke, 0).skyTinted);
  EXPECT_EQ(Style(particle::kSmoke, 0).texture, 7u);
  EXPECT_FALSE(Style(particle::kExplosion, 0).skyTinted);
}

TEST(HaloBrightness, RisesToAgeFiveAndIsGoneAtThirtyOne) {
  double brightest = -1, at = -1;
  for (double age = 0; age <= 40; age += 0.25) {
    const double b = HaloBrightness(age);
    EXPECT_GE(b, 0) << age;
    EXPECT_LE(b, 1) << age;
    if (b > brightest) brightest = b, at = age;
  }
  EXPECT_EQ(at, 5);
  EXPECT_EQ(brightest, 1);
  EXPECT_DOUBLE_EQ(HaloBrightness(2.5), 0.5);
  EXPECT_DOUBLE_EQ(HaloBrightness(18), 0.5);
  EXPECT_GT(HaloBrightness(30.9), 0);
  EXPECT_EQ(HaloBrightness(31), 0);
  EXPECT_EQ(HaloBrightness(NAN), 0);
  EXPECT_TRUE(HasHalo(particle::kExplosion));
  EXPECT_TRUE(HasHalo(particle::kWreckFire));
  EXPECT_FALSE(HasHalo(particle::kSplashRing));
}

TEST_F(EffectChoiceTest, TriggersShowOnlyInTheEditorViewAndKeysShareOneAnimation) {
  struct Case {
    int32_t kind;
    double frame;
    bool play, editor;
    uint32_t texture;
  };
  const Case cases[] = {
      {bonus::kCoin, 4.5, true, true, 3004},
      {bonus::kSkyZoneFirst, 4, false, true, 7000},
      {bonus::kSkyZoneLast, 0, false, true, 10000},
      {bonus::kSnowStarts, 9, false, true, 16000},
      {bonus::kLightAgain, 0, false, true, 19000},
      {bonus::kKey2, 31.9, true, true, 13031},
      {bonus::kKey3, 0, true, true, 13000},
      {0, 0, false, false, 0},
      {20, 0, false, false, 0},
      {-4, 0, false, false, 0},
      {bonus::kCoin, 32, false, false, 0},
      {bonus::kCoin, -0.5, true, true, 3000},
      {bonus::kCoin, -1, false, false, 0},
      {bonus::kCoin, NAN, true, true, 3000},
  };
  for (const Case& c : cases) {
    BonusRecord b{};
    b.kind = c.kind;
    b.animFrame = c.frame;
    uint32_t t = 0;
    EXPECT_EQ(BonusTexture(*res_, b, game_mode::kPlay, t), c.play) << c.kind << "/" << c.frame;
    t = 0;
    EXPECT_EQ(BonusTexture(*res_, b, game_mode::kEditorView, t), c.editor) << c.kind;
    EXPECT_EQ(t, c.texture) << c.kind << "/" << c.frame;
  }
}

// ---- HUD rules ----

TEST(HudText, StatusTimersAndCounters) {
  struct Case {
    double timer;
    const char* text;
  };
  for (const Case& c : {Case{7.9, " 7"}, Case{12.3, "12"}, Case{0, " 0"}, Case{9.99, " 9"},
                        Case{10, "10"}, Case{NAN, " 0"}}) {
    EXPECT_EQ(StatusTimerText(c.timer).View(), c.text) << c.timer;
  }
  EXPECT_EQ(DecimalText("x", 12).View(), "x12");
  EXPECT_EQ(DecimalText("x", -2147483648LL).View(), "x-2147483648");
}

TEST(HudText, CellsAreAnchoredInPercentOfTheWidth) {
  // Anchor (6, 1), 5 x 5 at 800 x 600: left 48 + 8, top 8 + 3, right 48 + 40, bottom 8 + 30.
  const TRect r = TextCell(800, 600, 6, 1, 5, 5);
  EXPECT_EQ(r.left, 56);
  EXPECT_EQ(r.top, 11);
  EXPECT_EQ(r.right, 88);
  EXPECT_EQ(r.bottom, 38);
  // The status column steps by 5.5 % of the width: on 4:3 it drifts below its icons.
  EXPECT_EQ(TextCell(800, 600, 84, 5.5 * 2 + 15, 5, 5).top, 208 + 3);
  EXPECT_EQ(TextSpacing(800, -1.6), -13);
  EXPECT_EQ(TextSpacing(1280, -1.2), -15);  // -15.36
}

TEST(HudRules, UpgradeButtonsIncludeTheirEdges) {
  struct Case {
    int x, y, k;
    bool on;
  };
  // 1000 x 1000 display: pixels are per mille.
  for (const Case& c : {Case{965, 815, 0, true}, Case{980, 835, 0, true}, Case{964, 820, 0, false},
                        Case{981, 820, 0, false}, Case{970, 836, 0, false}, Case{970, 840, 1, true},
                        Case{970, 860, 1, true}, Case{970, 865, 2, true}, Case{970, 885, 2, true},
                        Case{970, 886, 2, false}}) {
    EXPECT_EQ(OnUpgradeButton(1000, 1000, {c.x, c.y}, c.k), c.on)
        << c.x << "," << c.y << " " << c.k;
  }
  EXPECT_FALSE(OnUpgradeButton(0, 0, {0, 0}, 0));
}

TEST(HudRules, RadarDotsReachExactlyTwentyEightUnits) {
  auto w = std::make_unique<WorldState>();
  w->playerUnit = 1;
  auto unit = [&](int32_t i, int32_t kind, double x, double y, double z) {
    UnitRecord& u = w->units[i];
    u.alive = 1;
    u.unitKind = kind;
    u.posX = x, u.posY = y, u.posZ = z;
  };
  unit(1, kind::kPaddleSteamer, 100, 0, 100);
  unit(2, kind::kGunboat, 128, 0, 100);
  unit(3, kind::kGunboat, 100, 0, 128.001);
  unit(4, kind::kCoinChest, 100, 0, 90);
  unit(5, kind::kGate, 101, 0, 100);
  unit(6, kind::kGunboat, 100, 28, 100);  // 28 straight up: the distance is in 3D
  unit(7, kind::kGunboat, 110, 0, 100);
  w->units[7].sinking = 1;
  RadarDot d;
  ASSERT_TRUE(RadarDotOf(*w, 2, d));
  EXPECT_EQ(d.r, 1);
  EXPECT_EQ(d.g, 0);
  EXPECT_NEAR(d.x, 1.13 - 28.0 / 210, 1e-12);
  EXPECT_NEAR(d.y, 0.82, 1e-12);
  EXPECT_FALSE(RadarDotOf(*w, 3, d));
  ASSERT_TRUE(RadarDotOf(*w, 4, d));
  EXPECT_EQ(d.g, 1);  // yellow
  EXPECT_NEAR(d.y, 0.82 - 10.0 / 210, 1e-12);
  EXPECT_FALSE(RadarDotOf(*w, 5, d));
  EXPECT_TRUE(RadarDotOf(*w, 6, d));
  EXPECT_FALSE(RadarDotOf(*w, 7, d));
  EXPECT_FALSE(RadarDotOf(*w, 1, d));  // the player's own unit
  w->playerUnit = 300;                 // no player unit: no radar dots at all
  EXPECT_FALSE(RadarDotOf(*w, 2, d));
}

// ---- On a headless GL context ----

std::unique_ptr<platform::Window> g_hudWindow;

class HudGlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (g_hudWindow) return;
    auto window = platform::CreateSdlWindow();
    platform::DisplayConfig config;
    config.headless = true;
    if (window->Open(config) && window->HasGL()) g_hudWindow = std::move(window);
  }
  void SetUp() override {
    if (!g_hudWindow) GTEST_SKIP() << "no GL context";
    w_ = std::make_unique<WorldState>();
    res_ = std::make_unique<GameResources>();
    rs_ = std::make_unique<RenderState>();
    res_->scene = std::make_unique<TKTZGL_Scene>();
    res_->scene->InitGL(*g_hudWindow, kW, kH, 0.1, 50.0);
    w_->GameMode = game_mode::kPlay;
    w_->playerUnit = 1;
    w_->skyFogColour = {1, 1, 1, 1};
    w_->pickupFlashLevel = -10;  // the coin counter out of sight
    UnitRecord& p = w_->units[1];
    p.alive = 1;
    p.unitKind = kind::kPaddleSteamer;
    p.posX = p.posZ = 100;
    clear_ = MakeTexture(0, 0, 0, 0);
    res_->handles.largeFontTexture = clear_;
    for (const char* n : {"interfacetex", "minimap", "podlogka", "kompas", "parbtn", "params"})
      res_->textures[n] = clear_;
  }
  void TearDown() override {
    if (!g_hudWindow) return;
    if (!textures_.empty())
      glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
    res_.reset();
  }
  GLuint MakeTexture(float r, float g, float b, float a) {
    const uint8_t px[4] = {static_cast<uint8_t>(r * 255), static_cast<uint8_t>(g * 255),
                           static_cast<uint8_t>(b * 255), static_cast<uint8_t>(a * 255)};
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    textures_.push_back(t);
    return t;
  }
  // A 512 x 512 font whose every cell is a 4-texel opaque bar at its left edge: each drawn
  // character leaves one separate bar.
  GLuint MakeBarFont() {
    std::vector<uint8_t> px(512 * 512 * 4, 0);
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x)
        if (x % 32 < 4) std::fill_n(&px[(static_cast<size_t>(y) * 512 + x) * 4], 4, 255);
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    textures_.push_back(t);
    return t;
  }
  // Clears to mid grey and draws the HUD as the play frame does, with the overlay camera.
  void DrawHudAlone() {
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);  // the play frame turns the fog off before the HUD
    res_->scene->Camera.FieldOfView = 90;
    res_->scene->Camera.SetProjection(kW, kH);
    glLoadIdentity();
    DrawContext c{*w_, *res_, *res_->scene, *rs_};
    DrawHud(c, w_->radarContacts);
  }
  static std::array<int, 3> Pixel(int x, int y) {
    uint8_t rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, kH - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
  }
  static bool Grey(const std::array<int, 3>& c) {
    return std::abs(c[0] - 128) < 3 && std::abs(c[1] - 128) < 3 && std::abs(c[2] - 128) < 3;
  }

  static constexpr int kW = 800, kH = 600;
  std::unique_ptr<WorldState> w_;
  std::unique_ptr<GameResources> res_;
  std::unique_ptr<RenderState> rs_;
  std::vector<GLuint> textures_;
  GLuint clear_ = 0;
};

TEST_F(HudGlTest, LivesDrawOneGlyphCellPerCharacter) {
  res_->handles.largeFontTexture = MakeBarFont();
  w_->flashScale = 1;
  struct Case {
    int32_t lives;
    int cells;
  };
  for (const Case& c : {Case{12, 3}, Case{5, 2}, Case{100, 4}}) {
    w_->lives = c.lives;
    DrawHudAlone();
    // White bars along the middle of the text row (y 11..38); the black shadow lies 2 px to
    // the right of each and 2 px lower.
    int runs = 0;
    bool in = false;
    for (int x = 0; x < 300; ++x) {
      const auto p = Pixel(x, 30);
      const bool white = p[0] > 240 && p[1] > 240 && p[2] > 240;
      if (white && !in) ++runs;
      in = white;
    }
    EXPECT_EQ(runs, c.cells) << "lives " << c.lives;
  }
  w_->flashScale = 0;
  DrawHudAlone();
  EXPECT_TRUE(Grey(Pixel(57, 30)));
}

TEST_F(HudGlTest, BarsSpanTheirShareOfTheStripAndAZeroBarIsNotDrawn) {
  w_->gunsUnlocked = 1;
  res_->textures["stripe1A"] = res_->textures["stripe2A"] = MakeTexture(1, 1, 1, 1);
  res_->textures["stripe1"] = MakeTexture(1, 0, 0, 1);
  res_->textures["stripe2"] = MakeTexture(0, 0, 1, 1);
  UnitRecord& p = w_->units[1];
  p.life = p.maxLife = 100;
  p.reload = 50;
  p.maxReload = 100;
  p.sideReload = 0;
  p.maxSideReload = 100;
  DrawHudAlone();
  auto span = [&](int y, auto pred) {
    int first = -1, last = -1;
    for (int x = 0; x < kW; ++x) {
      if (!pred(Pixel(x, y))) continue;
      if (first < 0) first = x;
      last = x;
    }
    return std::pair{first, last};
  };
  const auto red = [](const std::array<int, 3>& c) { return c[0] > 240 && c[1] < 10 && c[2] < 10; };
  const auto blue = [](const std::array<int, 3>& c) { return c[2] > 240 && c[0] < 10; };
  // Life: 5.4 % .. 19.9 % of 800 = pixels 43.2 .. 159.2, rows 94.55 % .. 98.95 % of 600.
  const auto life = span(580, red);
  EXPECT_NEAR(life.first, 43, 1);
  EXPECT_NEAR(life.second, 159, 1);
  // Reload at half: 5.4 % .. 12.65 % = 43.2 .. 101.2, rows 83.4 % .. 87.8 %.
  const auto reload = span(514, blue);
  EXPECT_NEAR(reload.first, 43, 1);
  EXPECT_NEAR(reload.second, 101, 1);
  // The side reload at 0 leaves its row (88.9 % .. 93.3 %) as it was.
  for (int x = 30; x < 170; x += 4) EXPECT_TRUE(Grey(Pixel(x, 546))) << x;
}

TEST_F(HudGlTest, RadarDotAtTheEdgeOfItsRangeAndNoneForThePlayer) {
  w_->radarUnlocked = 1;
  w_->radarAlpha = 1;
  // Overlay (x, y) to pixels at 4:3: px = (x / (4/3) + 1) / 2 * 800, py = (1 - y) / 2 * 600.
  auto pixelOf = [](double x, double y) {
    return std::pair{static_cast<int>((x * 0.75 + 1) / 2 * kW), static_cast<int>((1 - y) / 2 * kH)};
  };
  const auto player = pixelOf(1.13, 0.82);
  const auto enemy = pixelOf(1.13 - 28.0 / 210, 0.82);
  w_->radarContacts = 1;
  DrawHudAlone();
  EXPECT_EQ(w_->radarContacts, 0);
  EXPECT_TRUE(Grey(Pixel(player.first, player.second)));

  UnitRecord& u = w_->units[2];
  u.alive = 1;
  u.unitKind = kind::kGunboat;
  u.posX = 128;
  u.posZ = 100;
  DrawHudAlone();
  EXPECT_EQ(w_->radarContacts, 1);
  const auto dot = Pixel(enemy.first, enemy.second);
  EXPECT_GT(dot[0], 200);
  EXPECT_LT(dot[1], 60);
  EXPECT_TRUE(Grey(Pixel(player.first, player.second)));

  u.posX = 128.01;
  DrawHudAlone();
  EXPECT_EQ(w_->radarContacts, 0);
  EXPECT_TRUE(Grey(Pixel(enemy.first, enemy.second)));
}

TEST_F(HudGlTest, RadarVanishesEntirelyAtAlphaZero) {
  w_->radarUnlocked = 1;
  res_->textures["podlogka"] = MakeTexture(0, 0, 1, 1);
  UnitRecord& u = w_->units[2];
  u.alive = 1;
  u.unitKind = kind::kGunboat;
  u.posX = 110;
  u.posZ = 100;
  w_->radarAlpha = 1;
  DrawHudAlone();
  EXPECT_FALSE(Grey(Pixel(700, 100)));  // the background is there at full alpha
  w_->radarAlpha = 0;
  DrawHudAlone();
  for (int y = 0; y < 210; y += 5)
    for (int x = 600; x < 800; x += 5) ASSERT_TRUE(Grey(Pixel(x, y))) << x << "," << y;
}

TEST_F(HudGlTest, UpgradePanelIsDrawnOverTheInformationPanel) {
  res_->handles.levelMinimapTexture = MakeTexture(1, 0, 0, 1);
  res_->textures["params"] = MakeTexture(0, 1, 0, 1);
  w_->infoPanelUnlocked = w_->infoPanelOpen = 1;
  DrawHudAlone();
  const auto info = Pixel(723, 524);  // 90.4 %, 87.4 %: inside both panels
  EXPECT_GT(info[0], 240);
  EXPECT_LT(info[1], 10);
  w_->upgradePanelUnlocked = w_->upgradePanelOpen = 1;
  DrawHudAlone();
  const auto both = Pixel(723, 524);
  EXPECT_LT(both[0], 10);
  EXPECT_NEAR(both[1], 255 * kUpgradePanelShade, 4);  // the panel at its shade of the sky colour
}

TEST_F(HudGlTest, TriggerMarkersShowInTheEditorViewOnly) {
  const GLuint white = MakeTexture(1, 1, 1, 1);
  res_->handles.bonusFrames[bonus::kSnowStarts][0] = white;
  res_->handles.bonusFrames[bonus::kCoin][4] = white;
  w_->cameraPos = {100, 8.8, 100 - 9.7, 0};
  auto whitePixels = [&](int32_t kind, int32_t mode) {
    BonusRecord& b = w_->bonuses[1];
    b = {};
    b.alive = 1;
    b.kind = kind;
    b.animFrame = 4.5;
    b.posX = 100;
    b.posY = 0.5;
    b.posZ = 100;
    w_->GameMode = mode;
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);
    TKTZGL_Camera& cam = res_->scene->Camera;
    cam.LookByAngles = 1;
    cam.Position = w_->cameraPos;
    cam.Pitch = -std::numbers::pi / 4;
    cam.Yaw = 0;
    cam.FieldOfView = 50;
    cam.SetProjection(kW, kH);
    glLoadIdentity();
    cam.Apply();
    DrawContext c{*w_, *res_, *res_->scene, *rs_};
    DrawBonuses(c);
    std::vector<uint8_t> px(kW * kH * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 3) n += px[i] > 250 && px[i + 1] > 250 ? 1 : 0;
    return n;
  };
  EXPECT_EQ(whitePixels(bonus::kSnowStarts, game_mode::kPlay), 0);
  EXPECT_GT(whitePixels(bonus::kSnowStarts, game_mode::kEditorView), 100);
  EXPECT_GT(whitePixels(bonus::kCoin, game_mode::kPlay), 100);
  EXPECT_GT(whitePixels(bonus::kCoin, game_mode::kEditorView), 100);
}

TEST_F(HudGlTest, ParticlesDrawTheSamePixelsAsInSlotOrder) {
  // The pass groups sprites by blending and texture; smoke (blended over the screen) between
  // additive sprites keeps its place wherever they overlap.
  res_->handles.effectFrames[particle::kExplosion][1] = MakeTexture(0.6f, 0.2f, 0.1f, 1);
  res_->handles.effectFrames[8][1] = MakeTexture(0.1f, 0.5f, 0.2f, 1);  // cannon smoke
  res_->textures["dim"] = MakeTexture(0.2f, 0.2f, 0.9f, 0.7f);
  w_->cameraPos = {100, 8.8, 100 - 9.7, 0};
  const struct {
    int32_t kind;
    double x, z, size;
  } kSlots[] = {
      {particle::kExplosion, 100, 100, 1},    {particle::kSmoke, 100.3, 100, 1},
      {particle::kCannonSmoke, 100, 100, 1},  {particle::kExplosion, 99.8, 100.2, 1},
      {particle::kSmoke, 100, 100, 0.6},      {particle::kExplosion, 96, 102, 0.5},
      {particle::kCannonSmoke, 96, 102, 0.5}, {particle::kExplosion, 100, 100, 0.4},
  };
  int32_t slot = 1;
  for (const auto& k : kSlots) {
    ParticleRecord& p = w_->particles[slot];
    p.active = 1;
    p.kind = k.kind;
    p.age = 1;
    p.pos = {k.x, 0.5, k.z, 0};
    p.size = {k.size, 0, k.size, 0};
    p.angle = 10.0 * slot;
    p.colour = {0.9f, 0.8f, 0.7f, 0.6f};
    slot += 3;  // free slots between them
  }
  auto frame = [&](bool slotOrder) {
    glClearColor(0.3f, 0.3f, 0.3f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);
    TKTZGL_Camera& cam = res_->scene->Camera;
    cam.LookByAngles = 1;
    cam.Position = w_->cameraPos;
    cam.Pitch = -std::numbers::pi / 4;
    cam.Yaw = 0;
    cam.FieldOfView = 50;
    cam.SetProjection(kW, kH);
    glLoadIdentity();
    cam.Apply();
    glEnable(GL_DEPTH_TEST);
    if (slotOrder) {
      // Every particle with its own state, one after the other.
      glDepthMask(GL_FALSE);
      glEnable(GL_TEXTURE_2D);
      glDisable(GL_CULL_FACE);
      glDisable(GL_LIGHTING);
      glEnable(GL_BLEND);
      for (int32_t i = 1; i <= kParticleSlots; ++i) {
        const ParticleRecord& p = w_->particles[i];
        const ParticleStyle s = ParticleStyleOf(*res_, p);
        if (p.active != 1 || !s.drawn) continue;
        glBindTexture(GL_TEXTURE_2D, s.texture);
        glBlendFunc(s.blendSrc, s.blendDst);
        const Color4f& sky = w_->skyFogColour;
        const float t = s.skyTinted ? 1.0f : 0.0f;
        glColor4f(p.colour.r * (t * sky.r + 1 - t), p.colour.g * (t * sky.g + 1 - t),
                  p.colour.b * (t * sky.b + 1 - t), p.colour.a);
        glPushMatrix();
        glTranslated(p.pos.x, p.pos.y, p.pos.z);
        glRotatef(s.tilt, 1, 0, 0);
        glRotated(p.angle, 0, 0, 1);
        res_->scene->DrawQuadAtZero(-p.size.x, -p.size.x, p.size.z, p.size.z);
        glPopMatrix();
      }
      glDepthMask(GL_TRUE);
    } else {
      DrawContext c{*w_, *res_, *res_->scene, *rs_};
      DrawParticles(c);
    }
    std::vector<uint8_t> px(kW * kH * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
  };
  const std::vector<uint8_t> expected = frame(true);
  const std::vector<uint8_t> drawn = frame(false);
  size_t differ = 0, lit = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    differ += expected[i] != drawn[i];
    lit += expected[i] != 77;  // the clear colour, 0.3 of 255
  }
  EXPECT_GT(lit, 10000u);
  EXPECT_EQ(differ, 0u);
}

TEST_F(HudGlTest, FullParticlePoolAndProjectilesDrawWithoutHeapAllocation) {
  if (platform::HeapAllocations() < 0) GTEST_SKIP() << "this build does not count allocations";
  w_->fixedCamera = 1;
  w_->levelSize = 400;
  w_->cameraPos = {100, 8.8, 100 - 9.7, 0};
  w_->cameraRot = {-std::numbers::pi / 4, 0, 0, 0};
  w_->gunsUnlocked = w_->radarUnlocked = 1;
  w_->infoPanelUnlocked = w_->infoPanelOpen = 1;
  w_->upgradePanelUnlocked = w_->upgradePanelOpen = 1;
  w_->radarAlpha = 1;
  w_->flashScale = 1;
  w_->pickupFlashLevel = 3;
  w_->statusIcons[1] = 1;
  w_->statusIcons[2] = 12;
  w_->statusIcons[3] = bonus::kKey2;
  w_->hoverName = "long enough to need the heap, were it copied";
  const int32_t kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 21};
  for (int32_t i = 1; i <= kParticleSlots; ++i) {
    ParticleRecord& p = w_->particles[i];
    p.active = 1;
    p.kind = kinds[i % std::size(kinds)];
    p.age = i % 30;
    p.pos = {100 + i % 20 - 10.0, 0.5, 90 + i % 17 - 8.0, 0};
    p.size = {0.5, 0, 0.5, 0};
    p.colour = {1, 0.5f, 0.2f, 0.5f};
    p.param168 = i % 4;
  }
  const int32_t shots[] = {1, 3, 5, 6, 9, 11, 12, 14, 16, 44, 121};
  for (int32_t i = 1; i < kProjectileSlots; ++i) {
    ProjectileRecord& p = w_->projectiles[i];
    p.active = 1;
    p.kind = shots[i % std::size(shots)];
    p.variant = i % 3;
    p.owner = 2;
    p.pos = {100 + i % 9 - 4.0, 1, 95.0 + i % 7, 0};
    p.vel = {0.01, 0, 0.01, 0};
  }
  for (int32_t i = 1; i < kBonusSlots; ++i) {
    BonusRecord& b = w_->bonuses[i];
    b.alive = 1;
    b.kind = 1 + i % 19;
    b.posX = 100 + i % 11 - 5.0;
    b.posZ = 95 + i % 5;
  }
  // Warm: the GL driver compiles its code for each new combination of state on first use.
  for (int k = 0; k < 3; ++k) DrawPlayFrame(*w_, *res_, *rs_);
  const int64_t before = platform::HeapAllocations();
  DrawPlayFrame(*w_, *res_, *rs_);
  EXPECT_EQ(platform::HeapAllocations() - before, 0);
}

}  // namespace
}  // namespace skerrow
