// The slot window's and the hint window's actions: the slot buttons go to the host's model and
// the window mirrors it; the hint button closes the host's hint.
#include "gui/slot_actions.h"

#include "engine/textures.h"
#include "gui/interface.h"
#include "platform/messages.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

// The description panel runs from x 205 to 545; its lines start at 220 and keep 10 units clear.
constexpr int32_t kSlotLineWidth = 545 - 220 - 10;

// The thumbnail texture anew: the slot's .tga through the GUI loader, empty.qvt at full
// resolution. Only with a graphics context; the old texture goes either way.
void LoadThumbnail(TInterface& ui, const SlotWindow& model) {
  uint32_t& texture = ui.gui.windows.saveLoad.pictures[kSlotThumbnailPicture].texture;
  DeleteTexture(texture);
  texture = 0;
  if (!ui.withGL) return;
  TLoaderMessages messages;
  const ScopedPictureLimit thumbnailSize(kMaxThumbnailSide);
  if (model.slotUsed) {
    LoadGuiTexture(model.thumbnail, texture, false, messages);
  } else {
    LoadTexture(model.thumbnail, texture, true, messages);
  }
  for (const TPictureError& m : messages) platform::ShowMessage(m.caption, m.text);
}

}  // namespace

void RefreshSlotWindow(TInterface& ui) {
  TWindow& window = ui.gui.windows.saveLoad;
  const SlotWindow* model = ui.host->Slots();
  // The window's items exist once BuildInterface has run.
  const bool built =
      window.texts.size() > static_cast<size_t>(kSlotNumberText) && !window.pictures.empty();
  if (model == nullptr || !model->visible || !built) {
    HideWindow(ui.gui, window);
    return;
  }
  window.visible = 1;
  window.buttons[kSlotActionButton].caption = model->actionCaption;
  // The lines come from the slot's .txt, of any length: each is cut to the description panel.
  for (int32_t i = 0; i < kDescriptionLines; ++i) {
    window.texts[i].caption = FitGuiText(ui.gui, model->lines[i], kSlotLineWidth);
  }
  window.texts[kSlotNumberText].caption = model->slotLine;
  LoadThumbnail(ui, *model);
}

void SlotAction(TInterface& ui) {
  if (ui.gui.windows.saveLoad.visible != 1) return;
  const SlotActionResult result = ui.host->SlotActionClick();
  RefreshSlotWindow(ui);
  if (result == SlotActionResult::kHeroSelection) ShowHeroSelection(ui);
  if (result == SlotActionResult::kLoaded) {
    // The loaded game runs at once: Esc may have opened the in-game menu over the window.
    HideWindow(ui.gui, ui.gui.windows.inGameMenu);
  }
}

void NextSlot(TInterface& ui) {
  if (ui.gui.windows.saveLoad.visible != 1) return;
  ui.host->NextSlotClick();
  RefreshSlotWindow(ui);
}

void PreviousSlot(TInterface& ui) {
  if (ui.gui.windows.saveLoad.visible != 1) return;
  ui.host->PreviousSlotClick();
  RefreshSlotWindow(ui);
}

void DeleteSlot(TInterface& ui) {
  if (ui.gui.windows.saveLoad.visible != 1) return;
  if (ui.host->DeleteSlotClick()) ui.host->PlayFlat(sound::kShot);
  RefreshSlotWindow(ui);
}

void ContinueFromHint(TInterface& ui) {
  HideWindow(ui.gui, ui.gui.windows.hintWindow);
  ui.host->StopVoice();
  ui.host->CloseHint();
}

}  // namespace skerrow
