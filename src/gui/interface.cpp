// The six GUI windows with their contents and button actions, the menu step's light shafts and
// the main menu screen's step and frame.
#include "gui/interface.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "engine/ktzgl.h"
#include "engine/textures.h"
#include "gui/key_window.h"
#include "gui/screens.h"
#include "gui/slot_actions.h"
#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/numeric.h"
#include "platform/random.h"
#include "render/frame.h"
#include "render/game_resources.h"
#include "render/later_passes.h"
#include "render/renderer.h"
#include "render/terrain.h"
#include "render/world_passes.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

// Every button action begins with the click.
TButtonAction Clicked(TInterface& ui, void (*action)(TInterface&)) {
  return [&ui, action](TButton&, int32_t) {
    ui.host->PlayFlat(kClickSound);
    action(ui);
  };
}

namespace {

constexpr int32_t kButtonHeight = 25;

std::string Cp(std::string_view utf8) {
  return Utf8ToCp1251(utf8);
}

void HideInGameMenu(TInterface& ui) {
  HideWindow(ui.gui, ui.gui.windows.inGameMenu);
}

void RestartFromSave(TInterface& ui) {
  // Only while the in-game menu is still visible when the button is released.
  if (ui.gui.windows.inGameMenu.visible != 1) return;
  ui.host->ReloadSlot();
  HideWindow(ui.gui, ui.gui.windows.inGameMenu);
}

void OpenForLoading(TInterface& ui) {
  OpenSlotWindow(ui, SlotMode::kLoad);
}

void OpenForNewGame(TInterface& ui) {
  OpenSlotWindow(ui, SlotMode::kChoose);
}

void Quit(TInterface& ui) {
  ui.host->CloseMainWindow();
}

void CloseNotice(TInterface& ui) {
  HideWindow(ui.gui, ui.gui.windows.networkNotice);
  ShowMainMenu(ui);
}

void BuildMenus(TInterface& ui) {
  GuiWindows& g = ui.gui.windows;
  TWindow& inGame = g.inGameMenu;
  InitWindow(inGame, 295, 100, 290, 210);
  const struct {
    const char* caption;
    void (*action)(TInterface&);
  } kInGame[] = {{"Продолжить игру", HideInGameMenu}, {"Начать заново", RestartFromSave},
                 {"Загрузить игру", OpenForLoading},  {"Настройки", OpenOptions},
                 {"Выйти в меню", ReturnToMainMenu},  {"Выйти в Windows", Quit}},
    kMain[] = {{"Новая игра", OpenForNewGame},      {"Загрузить игру", OpenForLoading},
               {"Сетевая игра", OpenNetworkNotice}, {"Настройки", OpenOptions},
               {"Разработчики", ShowCredits},       {"Выйти в Windows", Quit}};
  for (int i = 0; i < 6; ++i) {
    AddButton(inGame, 25, 50 + 35 * i, Cp(kInGame[i].caption), kButtonHeight, 160,
              Clicked(ui, kInGame[i].action));
  }
  HideWindow(ui.gui, inGame);

  TWindow& main = g.mainMenu;
  InitWindow(main, 570, 120, 290, 210);
  for (int i = 0; i < 6; ++i) {
    AddButton(main, 25, 50 + 35 * i, Cp(kMain[i].caption), kButtonHeight, 160,
              Clicked(ui, kMain[i].action));
  }
  HideWindow(ui.gui, main);

  TWindow& notice = g.networkNotice;
  InitWindow(notice, 250, 200, 200, 300);
  AddButton(notice, 220, 140, Cp("Ок"), kButtonHeight, 55, Clicked(ui, CloseNotice));
  AddPanel(notice, 25, 45, 85, 250);
  // The game has no web site of its own: the last two lines point to where its updates come.
  const char* kNotice[] = {"Сетевая игра будет доступна в самое", "ближайшее время в виде патча.",
                           "Следите за обновлениями игры", "в вашем дистрибутиве."};
  for (int i = 0; i < 4; ++i) AddText(notice, 37, 55 + 15 * i, Cp(kNotice[i]));
  HideWindow(ui.gui, notice);

  TWindow& hint = g.hintWindow;
  InitWindow(hint, 200, 150, 295, 400);
  AddButton(hint, 220, 230, Cp("Продолжить игру"), kButtonHeight, 155,
            Clicked(ui, ContinueFromHint));
  hint.onClose = [&ui] { ContinueFromHint(ui); };  // the close box closes it as its button does
  AddPanel(hint, 25, 45, 175, 350);
  for (int i = 1; i <= kHintLines; ++i) {
    AddText(hint, 37, 55 + 15 * (i - 1), "Line" + std::to_string(i));
  }
  HideWindow(ui.gui, hint);

  TWindow& options = g.options;
  InitWindow(options, 200, 175, 250, 300);
  AddPanel(options, 25, 45, 135, 250);
  AddButton(options, 190, 190, Cp("Закрыть"), kButtonHeight, 90, Clicked(ui, CloseOptions));
  AddButton(options, 25, 190, Cp("Клавиши"), kButtonHeight, 90, Clicked(ui, OpenKeyWindow));
  AddText(options, 70, 55, Cp("Опции графики"));
  const struct {
    int32_t y;
    const char* text;
  } kBoxes[] = {{70, "Включить тени от объектов"},   {85, "Включить тени от ландшафта"},
                {100, "Высококачественные эффекты"}, {145, "3D звук (рекомендуется)"},
                {160, "Озвучивать подсказки"},       {115, "Быстрое море (без видеокарты)"}};
  static_assert(std::size(kBoxes) == kBoxFastSea + 1);
  for (const auto& b : kBoxes) {
    AddText(options, 53, b.y, Cp(b.text));
    AddCheckBox(options, 35, b.y, true);
  }
  AddText(options, 70, 130, Cp("Опции звука"));
  HideWindow(ui.gui, options);

  TWindow& slots = g.saveLoad;
  InitWindow(slots, 115, 120, 260, 570);
  AddButton(slots, 460, 200, "", kButtonHeight, 90, Clicked(ui, SlotAction));
  AddButton(slots, 360, 200, Cp("Удалить"), kButtonHeight, 70, Clicked(ui, DeleteSlot));
  AddButton(slots, 205, 200, "<<", kButtonHeight, 70, Clicked(ui, PreviousSlot));
  AddButton(slots, 275, 200, ">>", kButtonHeight, 70, Clicked(ui, NextSlot));
  AddPicture(slots, 25, 50, 0, 120, 160);
  AddPanel(slots, 205, 50, 135, 340);
  AddPanel(slots, 25, 185, 40, 160);
  const char* kSlotLines[] = {
      "Игрок : ", "Корабль : ", "Эпизод : ", "Уровень : ", "Здоровье : ", "Игрок : ", "Опыт : "};
  for (int i = 0; i < kDescriptionLines; ++i) AddText(slots, 220, 65 + 15 * i, Cp(kSlotLines[i]));
  AddText(slots, 40, 200, Cp("Номер сохранения : "));
  HideWindow(ui.gui, slots);
}

void ShowMessages(const TLoaderMessages& messages) {
  for (const TPictureError& m : messages) platform::ShowMessage(m.caption, m.text);
}

// The main menu screen's share of the step: fade, floor animation, water phase, keyboard.
void MainScreenStep(TInterface& ui) {
  WorldState& w = *ui.world;
  w.screenFade = std::max(w.screenFade - w.gameSpeed * 1.8e-4, 0.0);
  AdvanceMenuPhases(ui);
}

}  // namespace

void AdvanceMenuPhases(TInterface& ui) {
  WorldState& w = *ui.world;
  w.terrainAnimPhase += w.gameSpeed * 0.018;
  if (w.terrainAnimPhase >= 32) w.terrainAnimPhase -= 32;
  w.wavePhase += w.gameSpeed * 0.0015;
  if (w.wavePhase >= 2 * std::numbers::pi) w.wavePhase -= 2 * std::numbers::pi;
  ui.host->RefreshKeyboard();
}

void BuildInterface(TInterface& ui, WorldState& w, MenuHost& host, uint32_t bodyTexture,
                    uint32_t panelTexture, bool withGL) {
  ui.world = &w;
  ui.host = &host;
  ui.withGL = withGL;
  const std::string in = w.appPath + "gdata\\textures\\int\\";
  if (withGL) {
    TLoaderMessages messages;
    LoadGuiTexture(in + "GUI.TGA", ui.gui.textures.atlas, false, messages);
    LoadTextureWithAlpha(in + "font2.qvt", in + "font2d.qvt", true, ui.gui.textures.font, messages);
    LoadTextureWithAlpha(in + "font1.qvt", in + "font1d.qvt", true, ui.textures.largeFont,
                         messages);
    ShowMessages(messages);
  }
  ui.gui.textures.body = bodyTexture;
  ui.gui.textures.panel = panelTexture;
  LoadFont(ui.gui, w.appPath);
  ui.versionText = Cp("Версия: 1.01");
  ui.playerPrompt = Cp("Имя игрока:");
  ui.shipPrompt = Cp("Название корабля:");
  ui.typedLine.reserve(kNameRecordLength + 1);
  BuildMenus(ui);
  BuildKeyWindow(ui);
}

bool PlayWindowOpen(const TInterface& ui) {
  const GuiWindows& g = ui.gui.windows;
  return g.inGameMenu.visible == 1 || g.options.visible == 1 || g.saveLoad.visible == 1 ||
         g.hintWindow.visible == 1 || g.keys.visible == 1;
}

void ShowMainMenu(TInterface& ui) {
  ui.gui.windows.mainMenu.visible = 1;
}

void OpenInGameMenu(TInterface& ui) {
  ui.gui.windows.inGameMenu.visible = 1;
}

void ReturnToMainMenu(TInterface& ui) {
  WorldState& w = *ui.world;
  ui.host->PlayMusic(Cp("GData\\Music\\Прелюдия.mp3"));
  w.GameMode = game_mode::kMenu;
  w.menuScreen = menu_screen::kMain;
  w.hoverName.clear();  // the name of the unit last under the cursor stays in play
  ui.host->ReloadMenuLandscape();
  ui.host->DropHints();
  HideWindow(ui.gui, ui.gui.windows.hintWindow);
  HideWindow(ui.gui, ui.gui.windows.inGameMenu);
  ShowMainMenu(ui);
}

void OpenOptions(TInterface& ui) {
  const OptionBoxes o = ui.host->ReadOptions();
  ui.keyEdit = ui.host->ReadKeyBindings();
  std::vector<TCheckBox>& boxes = ui.gui.windows.options.checkBoxes;
  const bool values[] = {o.fourpeppelines, o.tershadows, o.hqeffects,
                         o.sound3d,        o.hintssound, o.fastsea};
  for (size_t i = 0; i < boxes.size() && i < std::size(values); ++i) {
    boxes[i].checked = values[i] ? 1 : 0;
  }
  GuiWindows& g = ui.gui.windows;
  HideWindow(ui.gui, g.mainMenu);
  HideWindow(ui.gui, g.networkNotice);
  HideWindow(ui.gui, g.inGameMenu);
  HideWindow(ui.gui, g.saveLoad);
  HideWindow(ui.gui, g.keys);
  g.options.visible = 1;
}

void CloseOptions(TInterface& ui) {
  const std::vector<TCheckBox>& boxes = ui.gui.windows.options.checkBoxes;
  const auto on = [&boxes](OptionBox b) {
    return static_cast<size_t>(b) < boxes.size() && boxes[b].checked == 1;
  };
  OptionBoxes o;
  o.fourpeppelines = on(kBoxObjectShadows);
  o.tershadows = on(kBoxTerrainShadows);
  o.hqeffects = on(kBoxHqEffects);
  o.sound3d = on(kBoxSound3d);
  o.hintssound = on(kBoxHintVoices);
  o.fastsea = on(kBoxFastSea);
  ui.host->StoreKeyBindings(ui.keyEdit);
  ui.host->StoreOptions(o);
  WorldState& w = *ui.world;
  w.hqEffects = o.hqeffects ? 1 : 0;
  w.fourPipelines = o.fourpeppelines ? 1 : 0;
  w.terrainShadows = o.tershadows ? 1 : 0;
  w.sound3D = o.sound3d ? 1 : 0;
  HideWindow(ui.gui, ui.gui.windows.options);
  if (w.GameMode == game_mode::kMenu) {
    ShowMainMenu(ui);
  } else {
    OpenInGameMenu(ui);
  }
}

void OpenNetworkNotice(TInterface& ui) {
  GuiWindows& g = ui.gui.windows;
  HideWindow(ui.gui, g.mainMenu);
  HideWindow(ui.gui, g.inGameMenu);
  HideWindow(ui.gui, g.saveLoad);
  HideWindow(ui.gui, g.options);
  g.networkNotice.visible = 1;
}

void OpenSlotWindow(TInterface& ui, SlotMode mode) {
  GuiWindows& g = ui.gui.windows;
  HideWindow(ui.gui, g.mainMenu);
  if (mode == SlotMode::kLoad) HideWindow(ui.gui, g.inGameMenu);
  ui.host->OpenSlots(mode);
  RefreshSlotWindow(ui);
}

void SetHintLine(TInterface& ui, int32_t line, const std::string& text) {
  std::vector<TText>& lines = ui.gui.windows.hintWindow.texts;
  if (line < 1 || line > static_cast<int32_t>(lines.size())) return;
  lines[line - 1].caption = text;
}

void MenuStep(TInterface& ui) {
  WorldState& w = *ui.world;
  // No unit is under the cursor in the menus, whatever way play was left (the outro too).
  w.hoverName.clear();
  Random& r = SharedRandom();
  for (int i = 1; i <= kLightShafts; ++i) {
    LightShaft& s = ui.shafts[i];
    s.level = std::max(s.level + s.rate, 0.0);
    if (s.level > 1 && r.Int(25) == 1) s.rate = -(0.03 + r.Real() * 0.1);
  }
  if (r.Int(15) == 1) {
    for (int i = 1; i <= kLightShafts; ++i) {
      LightShaft& s = ui.shafts[i];
      if (s.level > 0) continue;
      s.rate = 0.05 + r.Real() * 0.1;
      const double left = r.Real() * 25;
      const double top = -3.5 * r.Real();
      const double bottom = 75 + r.Real() * 25;
      s.rect = {left, top, 45, bottom};
    }
  }
  switch (w.menuScreen) {
    case menu_screen::kMain:
      MainScreenStep(ui);
      break;
    case menu_screen::kCredits:
      CreditsStep(ui);
      break;
    case menu_screen::kHeroChoice:
      AdvanceMenuPhases(ui);
      break;
    case menu_screen::kShipChoice:
      ShipSelectionStep(ui);
      break;
    case menu_screen::kIntro:
      IntroStep(ui);
      break;
    case menu_screen::kOutro:
      OutroStep(ui);
      break;
    default:
      // A state from a save names no screen: the main menu's step keeps the world still.
      break;
  }
}

void DrawMenuLandscape(TInterface& ui, Renderer& r) {
  WorldState& w = *ui.world;
  TKTZGL_Scene& scene = *r.resources.scene;
  w.cameraPos = {32, 8.8, 135, w.cameraPos.w};
  w.editorCameraTarget = w.cameraPos;
  // The camera eases toward pitch -pi/4, yaw 0 by a fixed fraction per frame.
  const double f = w.gameSpeed * 0.0055;
  w.cameraRot.x += (-std::numbers::pi / 4 - w.cameraRot.x) * f;
  w.cameraRot.y += (0 - w.cameraRot.y) * f;
  ApplyWorldCamera(w, scene);
  scene.Fog.Colour = {0.1f, 0.07f, 0.03f, 1};
  scene.Fog.Start = 5;
  scene.Fog.End = 45;
  scene.Fog.Mode = 0;
  scene.Fog.Enabled = 1;
  scene.ApplyFog(scene.Fog);
  DrawMenuFloor(w, r.resources.handles, w.cameraPos);
  scene.Fog.Enabled = 0;
  scene.ApplyFog(scene.Fog);
}

void BeginOverlay(TKTZGL_Scene& scene) {
  scene.Camera.FieldOfView = 90.0;
  scene.Camera.SetProjection(scene.Width, scene.Height);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glDisable(GL_FOG);
  glEnable(GL_TEXTURE_2D);
}

void DrawLightShafts(const TInterface& ui, Renderer& r) {
  TKTZGL_Scene& scene = *r.resources.scene;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_COLOR, GL_ONE);
  glBindTexture(GL_TEXTURE_2D, r.resources.Texture("lit"));
  for (int i = 1; i <= kLightShafts; ++i) {
    const LightShaft& s = ui.shafts[i];
    if (s.level <= 0) continue;
    const float c = static_cast<float>(0.7 * s.level);
    glColor4f(c, c, c, 1);
    scene.DrawRectPercent(s.rect.x, s.rect.y, s.rect.z, s.rect.w);
  }
  glColor4f(1, 1, 1, 1);
}

void DrawPictureOver(TKTZGL_Scene& scene, uint32_t texture, float alpha, double left, double top,
                     double right, double bottom) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(1, 1, 1, alpha);
  scene.DrawRectPercent(left, top, right, bottom);
  glColor4f(1, 1, 1, 1);
}

void DrawBlack(TKTZGL_Scene& scene, float alpha) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_TEXTURE_2D);
  glColor4f(0, 0, 0, alpha);
  scene.DrawRectPercent(0, 0, 100, 100);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
}

void DrawLargeText(const TInterface& ui, TKTZGL_Scene& scene, const TRect& cell,
                   std::string_view text, int32_t spacing, float r, float g, float b) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, ui.textures.largeFont);
  glColor4f(r, g, b, 1);
  scene.DrawText(cell, text, spacing);
  glColor4f(1, 1, 1, 1);
}

void DrawWindowsAndCursor(const TInterface& ui, Renderer& r) {
  glDepthFunc(GL_LESS);
  DrawGUI(ui.gui);
  glDepthFunc(GL_LEQUAL);
  TKTZGL_Scene& scene = *r.resources.scene;
  BeginOverlay(scene);
  DrawContext c{*ui.world, r.resources, scene, r.state};
  DrawCursor(c);
}

void MenuFrame(TInterface& ui, Renderer& r) {
  WorldState& w = *ui.world;
  if (!r.resources.scene || r.resources.scene->Width <= 0) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return;
  }
  TKTZGL_Scene& scene = *r.resources.scene;
  switch (w.menuScreen) {
    case menu_screen::kCredits:
      CreditsFrame(ui, r);
      return;
    case menu_screen::kHeroChoice:
      HeroSelectionFrame(ui, r);
      return;
    case menu_screen::kShipChoice:
      ShipSelectionFrame(ui, r);
      return;
    case menu_screen::kIntro:
      IntroFrame(ui, r);
      return;
    case menu_screen::kOutro:
      OutroFrame(ui, r);
      return;
    default:
      break;
  }
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  DrawMenuLandscape(ui, r);
  BeginOverlay(scene);
  DrawLightShafts(ui, r);
  if (w.screenFade > 0) DrawBlack(scene, static_cast<float>(std::min(w.screenFade, 1.0)));
  DrawPictureOver(scene, r.resources.Texture("menu"), 1);
  const int32_t W = scene.Width, H = scene.Height;
  const TRect cell = {PercentPixels(17, W), PercentPixels(1, W) + PercentPixels(0.5, H),
                      PercentPixels(19.1, W), PercentPixels(1, W) + PercentPixels(3.1, H)};
  DrawLargeText(ui, scene, cell, ui.versionText, -PercentPixels(1.2, W), 0.7f, 0.8f, 0.8f);
  DrawWindowsAndCursor(ui, r);
}

int32_t PercentPixels(double p, int32_t side) {
  return RoundToInt(p * side / 100);
}

void DrawInterfaceWindows(const TInterface& ui) {
  DrawGUI(ui.gui);
}

}  // namespace skerrow
