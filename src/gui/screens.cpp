// The menu screens around a game: credits, hero and ship selection with typed names, the intro
// that starts a new game, and the outro after the last level.
#include "gui/screens.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ktzgl.h"
#include "engine/model.h"
#include "engine/textures.h"
#include "platform/cp1251.h"
#include "platform/messages.h"
#include "render/frame.h"
#include "render/game_resources.h"
#include "render/renderer.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

constexpr int32_t kCreditsPages = 10;
constexpr int32_t kIntroPages = 5;

struct PercentRect {
  int32_t left, top, right, bottom;
};
// [1..3]: the hero pictures (also their click areas) and descriptions, the ships' click and
// hover areas and descriptions.
constexpr PercentRect kHeroAreas[4] = {{}, {3, 3, 33, 43}, {35, 14, 65, 54}, {67, 3, 97, 43}};
constexpr PercentRect kHeroText[4] = {{}, {3, 44, 33, 84}, {35, 55, 65, 95}, {67, 44, 97, 84}};
constexpr PercentRect kShipAreas[4] = {{}, {3, 16, 33, 56}, {35, 14, 65, 54}, {67, 16, 97, 56}};
constexpr PercentRect kShipText[4] = {{}, {3, 57, 33, 97}, {35, 55, 65, 95}, {67, 57, 97, 97}};

std::string Cp(std::string_view utf8) {
  return Utf8ToCp1251(utf8);
}

std::string IntPath(const WorldState& w, const std::string& name) {
  return w.appPath + "gdata\\textures\\int\\" + name;
}

// A texture of gdata\textures\int, loaded only with a graphics context.
void LoadIntTexture(TInterface& ui, const std::string& name, uint32_t& texture, bool full) {
  if (!ui.withGL) return;
  TLoaderMessages messages;
  LoadTexture(IntPath(*ui.world, name), texture, full, messages);
  for (const TPictureError& m : messages) platform::ShowMessage(m.caption, m.text);
}

void LoadIntPair(TInterface& ui, const std::string& colour, const std::string& alpha,
                 uint32_t& texture, bool full) {
  if (!ui.withGL) return;
  TLoaderMessages messages;
  LoadTextureWithAlpha(IntPath(*ui.world, colour), IntPath(*ui.world, alpha), full, texture,
                       messages);
  for (const TPictureError& m : messages) platform::ShowMessage(m.caption, m.text);
}

bool Quality(const TInterface& ui) {
  return ui.world->textureQuality == 1;
}

bool Contains(const PercentRect& r, int32_t x, int32_t y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

void DrawPercent(TKTZGL_Scene& scene, const PercentRect& r) {
  scene.DrawRectPercent(r.left, r.top, r.right, r.bottom);
}

// A picture added onto what is drawn (highlights and the description pictures, light on
// black).
void DrawAdded(TKTZGL_Scene& scene, uint32_t texture, const PercentRect& r) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(1, 1, 1, 1);
  DrawPercent(scene, r);
}

void SetDescriptions(TInterface& ui, const char* prefix) {
  for (int k = 1; k <= 3; ++k) {
    LoadIntTexture(ui, prefix + std::to_string(k) + ".qvt", ui.textures.descriptionPictures[k],
                   Quality(ui));
  }
}

// The prompt and the typed name followed by "_" (the name prompts' table: the vertical
// places are fractions of the display width).
void DrawNamePrompt(TInterface& ui, TKTZGL_Scene& scene, const std::string& prompt,
                    double promptTop, const std::string& name, double nameTop) {
  const int32_t W = scene.Width, H = scene.Height;
  const auto P = [](double p, int32_t side) { return PercentPixels(p, side); };
  const TRect promptCell = {P(7.3, W) + P(1, W), P(promptTop, W) + P(0.5, H), P(7.3, W) + P(4, W),
                            P(promptTop, W) + P(4, H)};
  DrawLargeText(ui, scene, promptCell, prompt, -P(1.4, W), 0.7f, 0.7f, 0.7f);
  const TRect nameCell = {P(5.3, W) + P(1, W), P(nameTop, W) + P(0.5, H), P(5.3, W) + P(6, W),
                          P(nameTop, W) + P(6, H)};
  ui.typedLine.assign(name);
  ui.typedLine += '_';
  DrawLargeText(ui, scene, nameCell, ui.typedLine, -P(1.6, W), 0.9f, 0.9f, 0.9f);
}

void ClearBlack() {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

// The scrolling text overlay: left 16 %, right 84 %, from 100 - scroll down by `depth` percent.
void DrawTextOverlay(TKTZGL_Scene& scene, uint32_t texture, double scroll, double depth, float r,
                     float g, float b, float a) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(r, g, b, a);
  scene.DrawRectPercent(16, 100 - scroll, 84, 100 - scroll + depth);
  glColor4f(1, 1, 1, 1);
}

// The three display ships of the ship selection, lit in (r, g, b) with the first light over
// the point under the cursor.
void DrawSelectionShips(TInterface& ui, Renderer& r, float cr, float cg, float cb) {
  WorldState& w = *ui.world;
  TKTZGL_Scene& scene = *r.resources.scene;
  w.skyFogColour = {1, 0.8f, 0.9f, 1};
  glColor4f(1, 1, 1, 1);
  glDisable(GL_COLOR_MATERIAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const Color4f ambient = {0.3f * cr, 0.3f * cg, 0.3f * cb, 1};
  const Color4f full = {cr, cg, cb, 1};
  scene.Light1.Ambient = ambient;
  scene.Light1.Position = {150, 150, -150, 1};
  scene.Light1.Diffuse = {0.5f * cr, 0.5f * cg, 0.5f * cb, 1};
  scene.Light1.Specular = full;
  scene.Light1.Directional = 0;
  scene.Light1.Enabled = 1;
  scene.Light1.Apply();
  scene.Light0.Position = {w.mouseWorldPos.x, 15, w.mouseWorldPos.z, 1};
  scene.Light0.Ambient = ambient;
  scene.Light0.Diffuse = full;
  scene.Light0.Specular = full;
  scene.Light0.Directional = 0;
  scene.Light0.Enabled = 1;
  scene.Light0.Apply();
  constexpr double kDeg = 180.0 / std::numbers::pi;
  for (int j = 1; j <= kHeroCount; ++j) {
    const UnitRecord& u = w.heroDefaults[j];
    glEnable(GL_NORMALIZE);
    glPushMatrix();
    glTranslated(u.posX, u.posY, u.posZ);
    glRotated(-90, 1, 0, 0);
    glRotated(-u.rotX, 1, 0, 0);
    glRotated(-u.rotZ, 0, 1, 0);
    glRotated(u.rotY * kDeg - 90, 0, 0, 1);
    glRotated(u.heel * kDeg, 1, 0, 0);
    glScaled(0.007, 0.007, 0.007);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    const TKTZGL_Model* hull = ShipModel(r.resources, u.unitKind, 0);
    if (hull != nullptr && hull->ModelList != 0) glCallList(hull->ModelList);
    const TKTZGL_Model* wheel = nullptr;
    double wx = 0, wz = 0;
    if (u.unitKind == kind::kPaddleSteamer) {
      wheel = r.resources.paddleWheel.get();
      wx = 47.5;
      wz = 44.2;
    } else if (u.unitKind == kind::kSternWheeler) {
      wheel = r.resources.paddleWheels.get();
      wx = 135.5;
      wz = 29.8;
    }
    if (wheel != nullptr && wheel->ModelList != 0) {
      glTranslated(wx, 0, wz);
      glRotated(PropPhase(u) * kDeg, 0, 1, 0);
      glCallList(wheel->ModelList);
    }
    glPopMatrix();
    glDisable(GL_NORMALIZE);
  }
  glDisable(GL_LIGHTING);
  w.skyFogColour.a = 1;
}

}  // namespace

std::string HeroDefaultName(int32_t hero) {
  switch (hero) {
    case 1:
      return "Эдвард";
    case 2:
      return "Ирина";
    case 3:
      return "Тарас";
    default:
      return {};
  }
}

void PointerPercent(const TInterface& ui, int32_t& x, int32_t& y) {
  x = ui.gui.pointer.x * 100 / kGuiWidth;
  y = (kGuiHeight - ui.gui.pointer.y) * 100 / kGuiHeight;
}

std::string DefaultShipName(int32_t ship) {
  switch (ship) {
    case kind::kPaddleSteamer:
      return "Блуждающая звезда";
    case kind::kSternWheeler:
      return "Буревестник";
    case kind::kCruiser:
      return "Грозный";
    default:
      return {};
  }
}

int32_t HeroUnderPoint(int32_t x, int32_t y) {
  for (int k = 1; k <= 3; ++k) {
    if (Contains(kHeroAreas[k], x, y)) return k;
  }
  return 0;
}

int32_t ShipUnderPoint(int32_t x, int32_t y) {
  for (int k = 1; k <= 3; ++k) {
    if (Contains(kShipAreas[k], x, y)) return k;
  }
  return 0;
}

// ---- Credits ----

void ShowCredits(TInterface& ui) {
  ui.world->menuScreen = menu_screen::kCredits;
  HideWindow(ui.gui, ui.gui.windows.mainMenu);
  ui.creditsPage = 1;
  ui.creditsFade = 0;
  ui.creditsFadingIn = 1;
  LoadIntTexture(ui, "c1.qvt", ui.textures.creditsPage, true);
  ui.host->PlayMusic(Cp("GData\\Music\\Авторы.mp3"));
}

void CreditsStep(TInterface& ui) {
  if (ui.creditsPage > kCreditsPages) {
    HideWindow(ui.gui, ui.gui.windows.mainMenu);
    ui.world->menuScreen = menu_screen::kMain;
    ui.host->PlayMusic(Cp("GData\\Music\\Прелюдия.mp3"));
  }
  if (ui.creditsFadingIn == 1) {
    if (ui.creditsFade >= 2.5) ui.creditsFadingIn = 0;
    ui.creditsFade = std::min(ui.creditsFade + 0.02, 2.5);
  } else {
    if (ui.creditsFade <= 0) {
      ui.creditsFadingIn = 1;
      ++ui.creditsPage;
      // Page 11 is asked for once, as the last page fades out; it need not exist.
      LoadIntTexture(ui, "c" + std::to_string(ui.creditsPage) + ".qvt", ui.textures.creditsPage,
                     true);
    }
    ui.creditsFade = std::max(ui.creditsFade - 0.03, 0.0);
  }
}

void CreditsFrame(TInterface& ui, Renderer& r) {
  TKTZGL_Scene& scene = *r.resources.scene;
  ClearBlack();
  BeginOverlay(scene);
  DrawBlack(scene, 1);
  DrawPictureOver(scene, ui.textures.creditsPage, 1);
  DrawBlack(scene, static_cast<float>(std::max(1 - ui.creditsFade, 0.0)));
}

// ---- Hero and ship selection ----

void ShowHeroSelection(TInterface& ui) {
  WorldState& w = *ui.world;
  w.menuScreen = menu_screen::kHeroChoice;
  HideWindow(ui.gui, ui.gui.windows.saveLoad);
  for (int k = 1; k <= 3; ++k) {
    const std::string n = std::to_string(k);
    if (ui.textures.heroPictures[k] == 0) {
      LoadIntPair(ui, "hero" + n + ".qvt", "hero" + n + "a.qvt", ui.textures.heroPictures[k],
                  Quality(ui));
    }
    if (ui.textures.heroHighlights[k] == 0) {
      LoadIntTexture(ui, "hero" + n + "l.qvt", ui.textures.heroHighlights[k], Quality(ui));
    }
  }
  SetDescriptions(ui, "text");
  w.heroChoiceName.clear();
  w.shipChoiceName.clear();
}

void ChooseHero(TInterface& ui, int32_t hero) {
  if (hero < 1 || hero > 3) return;
  WorldState& w = *ui.world;
  if (w.heroChoiceName.empty()) w.heroChoiceName = Cp(HeroDefaultName(hero));
  ui.host->PlayFlat(kClickSound);
  w.heroChoice = hero;
  w.menuScreen = menu_screen::kShipChoice;
  SetDescriptions(ui, "textx");
}

void ChooseShip(TInterface& ui, int32_t ship) {
  if (ship < 1 || ship > 3) return;
  WorldState& w = *ui.world;
  if (w.shipChoiceName.empty()) w.shipChoiceName = Cp(DefaultShipName(ship));
  if (UnitRecord* p = PlayerUnit(w)) {
    p->unitKind = ship;
    LoadUnitParameters(*p, w.appPath + "gdata\\parameters\\unit" + std::to_string(ship) + ".par");
  }
  w.shipChoice = ship;
  ui.host->PlayFlat(kClickSound);
  ShowIntro(ui);
}

void ShipSelectionStep(TInterface& ui) {
  WorldState& w = *ui.world;
  int32_t px = 0, py = 0;
  PointerPercent(ui, px, py);
  const int32_t hovered = ShipUnderPoint(px, py);
  for (int j = 1; j <= kHeroCount; ++j) {
    UnitRecord& u = w.heroDefaults[j];
    u.posX = w.cameraPos.x - (j - 2) * 4.3;
    u.posZ = w.cameraPos.z + 9.7 + 1.2 * std::sin((j - 1) * std::numbers::pi / 2);
    u.rotY += u.turnRate;
    u.turnRate =
        hovered == j ? std::min(u.turnRate + 0.01, 0.1) : std::max(u.turnRate - 0.007, 0.0);
  }
  AdvanceMenuPhases(ui);
}

void HeroSelectionFrame(TInterface& ui, Renderer& r) {
  TKTZGL_Scene& scene = *r.resources.scene;
  ClearBlack();
  DrawMenuLandscape(ui, r);
  BeginOverlay(scene);
  for (int k = 1; k <= 3; ++k)
    DrawPictureOver(scene, ui.textures.heroPictures[k], 1, kHeroAreas[k].left, kHeroAreas[k].top,
                    kHeroAreas[k].right, kHeroAreas[k].bottom);
  DrawLightShafts(ui, r);
  int32_t px = 0, py = 0;
  PointerPercent(ui, px, py);
  if (const int32_t k = HeroUnderPoint(px, py); k != 0) {
    DrawAdded(scene, ui.textures.heroHighlights[k], kHeroAreas[k]);
    DrawAdded(scene, ui.textures.descriptionPictures[k], kHeroText[k]);
  }
  DrawNamePrompt(ui, scene, ui.playerPrompt, 68.3, ui.world->heroChoiceName, 70.3);
  DrawWindowsAndCursor(ui, r);
}

void ShipSelectionFrame(TInterface& ui, Renderer& r) {
  WorldState& w = *ui.world;
  TKTZGL_Scene& scene = *r.resources.scene;
  ClearBlack();
  DrawMenuLandscape(ui, r);
  PickMouseWorldPos(w, scene, r.state.mouse);
  DrawSelectionShips(ui, r, 1, 1, 1);
  BeginOverlay(scene);
  DrawLightShafts(ui, r);
  int32_t px = 0, py = 0;
  PointerPercent(ui, px, py);
  if (const int32_t k = ShipUnderPoint(px, py); k != 0) {
    DrawAdded(scene, ui.textures.descriptionPictures[k], kShipText[k]);
  }
  DrawNamePrompt(ui, scene, ui.shipPrompt, 5.3, w.shipChoiceName, 7.3);
  DrawWindowsAndCursor(ui, r);
}

// ---- Intro and the start of a game ----

void ShowIntro(TInterface& ui) {
  ui.world->menuScreen = menu_screen::kIntro;
  ui.introPage = 1;
  ui.introFade = 0;
  ui.introFadingIn = 1;
  ui.introScroll = 0;
  LoadIntTexture(ui, "intro0.qvt", ui.textures.introA, Quality(ui));
  LoadIntTexture(ui, "intro1.qvt", ui.textures.introB, Quality(ui));
  LoadIntPair(ui, "intext.qvt", "intexa.qvt", ui.textures.introText, Quality(ui));
  ui.host->PlayMusic(Cp("GData\\Music\\Вступление.mp3"));
}

void IntroStep(TInterface& ui) {
  ui.introScroll += 0.16;
  if (ui.introPage > kIntroPages) {
    StartNewGame(ui);
    return;
  }
  if (ui.introFadingIn == 1) {
    if (ui.introFade >= 2.5) ui.introFadingIn = 0;
    ui.introFade = std::min(ui.introFade + 0.0075, 2.5);
  } else {
    ui.introFade = 0;
    ui.introFadingIn = 1;
    ++ui.introPage;
    LoadIntTexture(ui, "intro" + std::to_string(ui.introPage - 1) + ".qvt", ui.textures.introA,
                   true);
    LoadIntTexture(ui, "intro" + std::to_string(ui.introPage) + ".qvt", ui.textures.introB, true);
  }
}

void IntroFrame(TInterface& ui, Renderer& r) {
  TKTZGL_Scene& scene = *r.resources.scene;
  ClearBlack();
  BeginOverlay(scene);
  DrawPictureOver(scene, ui.textures.introA, 1);
  DrawPictureOver(scene, ui.textures.introB, static_cast<float>(std::min(ui.introFade, 1.0)));
  const double depth = 136.0 * scene.Width / std::max(scene.Height, 1);
  if (ui.introPage > kIntroPages) {
    DrawTextOverlay(scene, ui.textures.introText, ui.introScroll, depth, 0, 0, 0, 1);
  } else {
    const float a = ui.introPage >= kIntroPages ? static_cast<float>(1 - ui.introFade) : 1.0f;
    DrawTextOverlay(scene, ui.textures.introText, ui.introScroll, depth, 1, 1, 1, a);
  }
  DrawWindowsAndCursor(ui, r);
}

void StartNewGame(TInterface& ui) {
  WorldState& w = *ui.world;
  // shipChoice and heroChoice may come from a save: anything outside 1..3 takes the first.
  if (w.shipChoice < 1 || w.shipChoice > 3) w.shipChoice = 1;
  if (w.heroChoice < 1 || w.heroChoice > 3) w.heroChoice = 1;
  ui.introPage = 1;
  ui.host->EnterNewGame();
}

// ---- Outro ----

void ShowOutro(TInterface& ui) {
  ui.world->menuScreen = menu_screen::kOutro;
  ui.outroFade = 0;
  ui.outroFadingIn = 1;
  ui.outroScroll = 0;
  LoadIntTexture(ui, "outro.qvt", ui.textures.outroPicture, true);
  LoadIntPair(ui, "outext.qvt", "outexa.qvt", ui.textures.outroText, true);
  ui.host->PlayMusic(Cp("GData\\Music\\Победа.mp3"));
}

void OutroStep(TInterface& ui) {
  ui.outroScroll += 0.16;
  if (ui.outroFadingIn == 1) {
    if (ui.outroFade >= 7.5) ui.outroFadingIn = 0;
    ui.outroFade = std::min(ui.outroFade + 0.0075, 7.5);
  } else {
    if (ui.outroFade <= 0) {
      ui.host->ReloadMenuLandscape();
      ShowCredits(ui);
    }
    ui.outroFade = std::max(ui.outroFade - 0.0075, 0.0);
  }
}

void OutroFrame(TInterface& ui, Renderer& r) {
  TKTZGL_Scene& scene = *r.resources.scene;
  ClearBlack();
  BeginOverlay(scene);
  DrawPictureOver(scene, ui.textures.outroPicture, static_cast<float>(std::min(ui.outroFade, 1.0)));
  const double depth = 68.0 * scene.Width / std::max(scene.Height, 1);
  DrawTextOverlay(scene, ui.textures.outroText, ui.outroScroll, depth, 1, 1, 1, 1);
  DrawWindowsAndCursor(ui, r);
}

// ---- Clicks ----

void ClickMenuScreen(TInterface& ui, int32_t xPercent, int32_t yPercent) {
  WorldState& w = *ui.world;
  switch (w.menuScreen) {
    case menu_screen::kCredits:
      ShowMainMenu(ui);
      w.menuScreen = menu_screen::kMain;
      ui.host->PlayMusic(Cp("GData\\Music\\Прелюдия.mp3"));
      break;
    case menu_screen::kHeroChoice:
      ChooseHero(ui, HeroUnderPoint(xPercent, yPercent));
      break;
    case menu_screen::kShipChoice:
      ChooseShip(ui, ShipUnderPoint(xPercent, yPercent));
      break;
    case menu_screen::kIntro:
      ui.host->PlayMusic(Cp("GData\\Music\\Прелюдия.mp3"));
      StartNewGame(ui);
      break;
    case menu_screen::kOutro:
      ui.outroFadingIn = 0;
      ui.outroFade = 1;
      break;
    default:
      break;
  }
}

}  // namespace skerrow
