// The main form as the interface's host (music, options, quitting, the new game, the save and
// load window's slots) and as the GUI side of the input handlers.
#pragma once

#include "gui/interface.h"
#include "shell/input.h"

namespace skerrow {

class TSkerrowForm;

class FormMenuHost final : public MenuHost {
 public:
  explicit FormMenuHost(TSkerrowForm& form) : form_(form) {}

  void PlayFlat(int32_t sound) override;
  void PlayMusic(const std::string& gamePath) override;
  void RefreshKeyboard() override;
  void CloseMainWindow() override;
  OptionBoxes ReadOptions() override;
  void StoreOptions(const OptionBoxes& boxes) override;
  KeyBindings ReadKeyBindings() override;
  void StoreKeyBindings(const KeyBindings& bindings) override;
  void ReloadMenuLandscape() override;
  void EnterNewGame() override;
  void CloseHint() override;
  void DropHints() override;
  void ReloadSlot() override;
  const SlotWindow* Slots() override;
  void OpenSlots(SlotMode mode) override;
  void NextSlotClick() override;
  void PreviousSlotClick() override;
  bool DeleteSlotClick() override;
  SlotActionResult SlotActionClick() override;

 private:
  TSkerrowForm& form_;
};

// The input handlers' view of the interface: window states, the pointer, presses and
// releases, and the clicks of the menu screens.
class FormInputGui : public InputGui {
 public:
  explicit FormInputGui(TInterface& ui) : ui_(ui) {}

  bool HintWindowOpen() override { return ui_.gui.windows.hintWindow.visible == 1; }
  bool InGameMenuOpen() override { return ui_.gui.windows.inGameMenu.visible == 1; }
  bool SaveLoadWindowOpen() override { return ui_.gui.windows.saveLoad.visible == 1; }
  bool OptionsWindowOpen() override {  // the key window opened from them counts too
    return ui_.gui.windows.options.visible == 1 || ui_.gui.windows.keys.visible == 1;
  }
  bool MainMenuVisible() override { return ui_.gui.windows.mainMenu.visible == 1; }
  bool NetworkNoticeVisible() override { return ui_.gui.windows.networkNotice.visible == 1; }
  void ShowMainMenu() override { skerrow::ShowMainMenu(ui_); }
  void OpenInGameMenu() override { skerrow::OpenInGameMenu(ui_); }
  void RestartMenuMusic() override;
  void SetPointer(int32_t x, int32_t y) override {
    ui_.gui.pointer.x = x;
    ui_.gui.pointer.y = y;
  }
  bool PointerButtonHeld() override { return ui_.gui.pointer.held == 1; }
  void Press() override {
    ui_.gui.pointer.held = 1;
    PressGUI(ui_.gui);
  }
  void PressWhileHeld() override { PressGUI(ui_.gui, true); }
  void ReleaseButtonState() override { ui_.gui.pointer.held = 0; }
  void Release() override { ReleaseGUI(ui_.gui, 0); }
  void ChooseUnderCursor(int32_t menuScreen) override;
  void StartGameFromIntro() override;
  void ResetOutro() override;

 private:
  TInterface& ui_;
};

}  // namespace skerrow
