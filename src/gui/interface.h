// The game's interface: the six GUI windows with their button actions, the menu step and menu
// frame of GameMode 1 with its six screens (main menu, credits, hero and ship selection, intro,
// outro), and what they ask of the main form (MenuHost).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "enemies/hints.h"  // kHintLines
#include "gui/gui.h"
#include "platform/key_bindings.h"
#include "world/records.h"      // Vector4d
#include "world/slot_window.h"  // SlotWindow, SlotMode, SlotActionResult

namespace skerrow {

struct WorldState;
struct Renderer;

// The stored options the options window shows (one check box each).
struct OptionBoxes {
  bool fourpeppelines = true;
  bool tershadows = true;
  bool hqeffects = true;
  bool sound3d = true;
  bool hintssound = true;
  bool fastsea = false;
};

// What the interface needs from the main form. Every method has a do-nothing default.
class MenuHost {
 public:
  virtual ~MenuHost() = default;
  // Sound number `sound` of the battle list, unplaced (18 is the click), when the sound device
  // is initialised.
  virtual void PlayFlat(int32_t /*sound*/) {}
  // When music is on: stop it, start the file (a game path) and set the stored volume.
  virtual void PlayMusic(const std::string& /*gamePath*/) {}
  virtual void StopVoice() {}
  // The hint window's "Продолжить игру": the form closes its hint (model, voice, window).
  virtual void CloseHint() {}
  // Leaving the game for the main menu: the hint shown and those waiting are dropped.
  virtual void DropHints() {}
  // A new keyboard snapshot (the menu screens keep it fresh as the play step does).
  virtual void RefreshKeyboard() {}
  // Close the main window: the program ends after this tick.
  virtual void CloseMainWindow() {}
  // Reads saveSlot's save back into the saved block ("Начать заново").
  virtual void ReloadSlot() {}
  // The stored options, and storing them back with the settings file written.
  virtual OptionBoxes ReadOptions() { return {}; }
  virtual void StoreOptions(const OptionBoxes& /*boxes*/) {}
  // The key bindings in force, and new ones to put in force (stored by the StoreOptions that
  // follows).
  virtual KeyBindings ReadKeyBindings() { return {}; }
  virtual void StoreKeyBindings(const KeyBindings& /*bindings*/) {}
  // The menu landscape gdata\ata\menu.qvt into the height map.
  virtual void ReloadMenuLandscape() {}
  // StartNewGame once the player set-up is done: GameMode 2, episode 1 level 1, the save, the
  // episode music and the opening hint.
  virtual void EnterNewGame() {}
  // The save and load window's model (the one the form keeps; null: none, the window stays
  // hidden) and its buttons: open it in a mode, ">>", "<<", "Удалить" (true when it acted) and
  // the action button. The GUI shows the model as these leave it.
  virtual const SlotWindow* Slots() { return nullptr; }
  virtual void OpenSlots(SlotMode /*mode*/) {}
  virtual void NextSlotClick() {}
  virtual void PreviousSlotClick() {}
  virtual bool DeleteSlotClick() { return false; }
  virtual SlotActionResult SlotActionClick() { return SlotActionResult::kNone; }
};

// One of the ten menu light shafts: brightness, its change per step, and its rectangle in
// percent of the screen (left, top, right, bottom in x, y, z, w).
struct LightShaft {
  double level = 0;
  double rate = 0;
  Vector4d rect = {};
};

// Pictures of the menu screens (0 = not loaded).
struct ScreenTextures {
  uint32_t largeFont = 0;  // font1.qvt + font1d.qvt
  uint32_t creditsPage = 0;
  uint32_t introA = 0, introB = 0, introText = 0;
  uint32_t outroPicture = 0, outroText = 0;
  std::array<uint32_t, 4> heroPictures{};         // [1..3]
  std::array<uint32_t, 4> heroHighlights{};       // [1..3]
  std::array<uint32_t, 4> descriptionPictures{};  // [1..3]
};

// Index of each option's check box in the options window.
enum OptionBox : int32_t {
  kBoxObjectShadows = 0,  // fourpeppelines
  kBoxTerrainShadows,     // tershadows
  kBoxHqEffects,          // hqeffects
  kBoxSound3d,            // sound3d
  kBoxHintVoices,         // hintssound
  kBoxFastSea,            // fastsea (drawn under the graphics options)
};

// Buttons of the save and load window (their actions live in slot_actions.cpp).
enum SlotButton : int32_t {
  kSlotActionButton = 1,
  kSlotDeleteButton,
  kSlotPreviousButton,
  kSlotNextButton,
};
// Its other items: the thumbnail picture, the description lines (texts 0..6) and the slot number
// line after them.
inline constexpr int32_t kSlotThumbnailPicture = 0;
inline constexpr int32_t kSlotNumberText = kDescriptionLines;

inline constexpr int32_t kLightShafts = 10;
inline constexpr int32_t kNameRecordLength = 255;  // characters of playerName and shipName

// The interface's whole state; one owner (the main form), built once by BuildInterface.
struct TInterface {
  TInterface() = default;
  TInterface(const TInterface&) = delete;
  TInterface& operator=(const TInterface&) = delete;

  TGui gui;
  WorldState* world = nullptr;
  MenuHost* host = nullptr;
  std::array<LightShaft, kLightShafts + 1> shafts{};  // [1..10]
  int32_t creditsPage = 1;                            // 1..10, 11 once the last has faded
  double creditsFade = 0, introFade = 0, outroFade = 0;
  uint8_t creditsFadingIn = 0, introFadingIn = 0, outroFadingIn = 0;
  int32_t introPage = 1;                    // 1..5, 6 when the game starts
  double introScroll = 0, outroScroll = 0;  // percent of the screen
  ScreenTextures textures;
  bool withGL = false;
  // The frames' lettering in Windows-1251, made once (frames allocate nothing).
  std::string versionText, playerPrompt, shipPrompt;
  std::string
      typedLine;  // a typed name and its "_"  // textures are loaded only with a graphics context
  // The key window: the bindings being edited since the options opened, and the action whose
  // row waits for a key (-1: none).
  KeyBindings keyEdit;
  int32_t keyWaiting = -1;
};

inline constexpr int32_t kClickSound = 18;
// A button action that plays the click, then runs `action`.
TButtonAction Clicked(TInterface& ui, void (*action)(TInterface&));

// Loads the atlas, the fonts and the font widths and creates the six windows and the key window
// (all hidden).
// `withGL` false skips every texture (the windows still work).
void BuildInterface(TInterface& ui, WorldState& w, MenuHost& host, uint32_t bodyTexture,
                    uint32_t panelTexture, bool withGL);

// The windows by role.
bool PlayWindowOpen(const TInterface& ui);  // in-game menu, options, keys, save and load, hint
void ShowMainMenu(TInterface& ui);
void OpenInGameMenu(TInterface& ui);
void ReturnToMainMenu(TInterface& ui);
void OpenOptions(TInterface& ui);
void CloseOptions(TInterface& ui);
void OpenNetworkNotice(TInterface& ui);
// Mode choose ("Выбрать", from "Новая игра") hides the main menu, mode load ("Загрузить") the
// in-game menu too; then the host's model is opened and shown.
void OpenSlotWindow(TInterface& ui, SlotMode mode);
// Replaces the hint window's ten lines (Windows-1251; missing lines become empty).
void SetHintLine(TInterface& ui, int32_t line, const std::string& text);

// The menu step (GameMode 1) and the menu frame. The frame draws nothing without a scene.
void MenuStep(TInterface& ui);
void MenuFrame(TInterface& ui, Renderer& r);
// The GUI windows over a play or editor-view frame.
void DrawInterfaceWindows(const TInterface& ui);

// The screens of the way into and out of a game.
void ShowCredits(TInterface& ui);
void ShowHeroSelection(TInterface& ui);
void ShowIntro(TInterface& ui);
void ShowOutro(TInterface& ui);
// A click on a menu screen other than the main menu: credits back to the menu, hero or ship
// under the pointer chosen (percent of the display, truncated), intro skipped, outro fading.
void ClickMenuScreen(TInterface& ui, int32_t xPercent, int32_t yPercent);
// The GUI pointer in percent of the display (x from the left, y from the top), truncated.
void PointerPercent(const TInterface& ui, int32_t& x, int32_t& y);
// The hero (1..3) or ship (1..3) whose area holds the point (percent of the display), or 0.
int32_t HeroUnderPoint(int32_t xPercent, int32_t yPercent);
int32_t ShipUnderPoint(int32_t xPercent, int32_t yPercent);
void ChooseHero(TInterface& ui, int32_t hero);
void ChooseShip(TInterface& ui, int32_t ship);
// The player's set-up of a new game from shipChoice and heroChoice and the typed names, then
// the host's EnterNewGame.
void StartNewGame(TInterface& ui);
// The default name of ship 1..3 (UTF-8), "" otherwise.
std::string DefaultShipName(int32_t ship);
// Personal name of hero 1..3 when none was typed (UTF-8), "" otherwise.
std::string HeroDefaultName(int32_t hero);

}  // namespace skerrow
