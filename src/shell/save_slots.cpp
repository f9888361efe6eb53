// The main form's save games (the thumbnail and the saving picture of SaveGame, the reload of
// the current slot with its refusal shown to the player, the save and load window's buttons)
// and its hint window.
#include <GL/gl.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/ktzgl.h"
#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "render/game_resources.h"
#include "render/renderer.h"
#include "shell/form_play_host.h"
#include "shell/input.h"
#include "shell/level_host.h"
#include "shell/skerrow_form.h"
#include "world/save_game.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

// The saving picture's rectangle in percent of the window (y from the top).
constexpr double kSavingLeft = 43, kSavingTop = 47, kSavingRight = 57, kSavingBottom = 53;

// The hint window's outside: the GUI's pressed-mouse flag, the voice option and the voice.
class FormHintHost final : public HintHost {
 public:
  explicit FormHintHost(TSkerrowForm& form) : form_(form) {}
  void ClearPressedMouse() override { form_.Interface().gui.pointer.held = 0; }
  bool HintVoiceOn() override { return form_.Settings().hintssound; }
  // The voice file is a full game path (appPath included).
  void PlayVoice(const std::string& file) override { form_.PlayVoice(file); }
  void StopVoice() override { form_.StopVoice(); }

 private:
  TSkerrowForm& form_;
};

}  // namespace

bool TSkerrowForm::ShowHint(const std::string& textFile, const std::string& voiceFile,
                            HintOrder order) {
  if (hintsHeld_ || HintOpen()) {
    if (!PathExists(textFile)) return false;
    if (order == HintOrder::kFirst) {
      hintQueue_.emplace_front(textFile, voiceFile);
    } else {
      hintQueue_.emplace_back(textFile, voiceFile);
    }
    return true;
  }
  FormHintHost host(*this);
  if (!skerrow::ShowHint(hintWindow_, host, textFile, voiceFile)) return false;
  ShowHintWindow();
  return true;
}

void TSkerrowForm::ShowNotice(const std::string& text) {
  FormHintHost host(*this);
  ShowHintText(hintWindow_, host, Utf8ToCp1251(text));
  ShowHintWindow();
}

void TSkerrowForm::ShowHintWindow() {
  // The GUI's hint window shows the model's lines; its button comes back to CloseHintWindow.
  for (int32_t i = 0; i < kHintLines; ++i) SetHintLine(*interface_, i + 1, hintWindow_.lines[i]);
  interface_->gui.windows.hintWindow.visible = 1;
}

void TSkerrowForm::CloseHintWindow() {
  FormHintHost host(*this);
  CloseHint(host);
  HideWindow(interface_->gui, interface_->gui.windows.hintWindow);
  HoldHints(hintsHeld_);  // the next one waiting
}

void TSkerrowForm::HoldHints(bool held) {
  hintsHeld_ = held;
  while (!hintsHeld_ && !HintOpen() && !hintQueue_.empty()) {
    const std::pair<std::string, std::string> next = std::move(hintQueue_.front());
    hintQueue_.pop_front();
    ShowHint(next.first, next.second);  // a text file gone meanwhile: the one after it
  }
}

void TSkerrowForm::DropHints() {
  hintQueue_.clear();
  hintsHeld_ = false;
  if (!HintOpen()) return;
  FormHintHost host(*this);
  CloseHint(host);
  HideWindow(interface_->gui, interface_->gui.windows.hintWindow);
}

bool TSkerrowForm::HintOpen() const {
  return interface_->gui.windows.hintWindow.visible == 1;
}

void TSkerrowForm::ReplaceHintLine(int32_t line, const std::string& text) {
  if (line < 1 || line > kHintLines) return;
  hintWindow_.lines[line - 1] = text;
  SetHintLine(*interface_, line, text);
}

void TSkerrowForm::OpenSlots(SlotMode mode) {
  FinishSaves();
  OpenSlotWindow(*world_, slotWindow_, mode);
}

void TSkerrowForm::NextSlotClick() {
  FinishSaves();
  NextSlot(*world_, slotWindow_);
}

void TSkerrowForm::PreviousSlotClick() {
  FinishSaves();
  PreviousSlot(*world_, slotWindow_);
}

bool TSkerrowForm::DeleteSlotClick() {
  FinishSaves();
  return DeleteSlot(*world_, slotWindow_);
}

SlotActionResult TSkerrowForm::SlotActionClick() {
  FinishSaves();
  const SlotActionOutcome r = SlotAction(*world_, slotWindow_, *levelHost_);
  if (r.result == SlotActionResult::kRefused) {
    platform::ShowMessage(r.message.caption, r.message.text);
  }
  return r.result;
}

LevelHost& TSkerrowForm::Levels() {
  return *levelHost_;
}

bool TSkerrowForm::SaveGame(bool showPicture) {
  WorldState& w = *world_;
  // No slot (a game started without one): no thumbnail frame either, whose drawing would
  // write into the world and draw from the shared random generator.
  if (w.saveSlot < 1 || w.saveSlot > kSaveSlots) return false;
  FormFrameSource frames(*this);
  const std::vector<uint8_t> thumbnail = CaptureTga(w, frames, kThumbnailWidth, kThumbnailHeight);
  if (showPicture && window_->HasGL() && renderer_ && renderer_->resources.scene) {
    glViewport(0, 0, window_->Width(), window_->Height());
    DrawModeFrame();  // depth test less-or-equal
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, renderer_->resources.Texture("saving"));
    renderer_->resources.scene->DrawRectPercent(kSavingLeft, kSavingTop, kSavingRight,
                                                kSavingBottom);
    glEnable(GL_DEPTH_TEST);
    window_->SwapBuffers();
  }
  return slotWriter_.Save(w, thumbnail);
}

bool TSkerrowForm::RestartFromSave() {
  FinishSaves();
  const SlotLoadResult r = ReloadSlot(*world_);
  if (r.status == SlotLoad::kRefused) platform::ShowMessage(r.message.caption, r.message.text);
  return r.status == SlotLoad::kLoaded;
}

}  // namespace skerrow
