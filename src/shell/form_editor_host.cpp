// The main form's editor host and the form's editor hooks: the editor window on Space, the
// editor-view step with the keyboard and cursor, the editor window's frame after each game
// frame.
#include "shell/form_editor_host.h"

#include "editor/editor_window.h"
#include "platform/messages.h"
#include "platform/vk_codes.h"
#include "render/renderer.h"
#include "shell/form_play_host.h"
#include "shell/skerrow_form.h"
#include "world/world_state.h"

namespace skerrow {

void FormEditorHost::ShowMessage(const std::string& text) {
  platform::ShowMessage("Editor", text);
}

bool FormEditorHost::EnterLevel(int32_t number) {
  return form_.EnterLevel(number);
}

bool FormEditorHost::ReadPicture(const std::string& gamePath, LevelPicture& out) {
  return reader_.ReadPicture(gamePath, out);
}

bool FormEditorHost::Option(EditorOption option) {
  const StoredSettings& s = form_.Settings();
  return option == EditorOption::kQualityTerrainTexture ? s.qualityterraintexture
                                                        : s.fourpeppelines;
}

void FormEditorHost::SetOption(EditorOption option, bool on) {
  StoredSettings& s = form_.Settings();
  (option == EditorOption::kQualityTerrainTexture ? s.qualityterraintexture : s.fourpeppelines) =
      on;
}

TEditform& TSkerrowForm::Editor() {
  if (!editor_) {
    editorHost_ = std::make_unique<FormEditorHost>(*this);
    editor_ = std::make_unique<TEditform>(*world_, *renderer_, *editorHost_);
  }
  return *editor_;
}

void TSkerrowForm::EditorViewStep() {
  // The step reads a fresh keyboard snapshot, as the play step does.
  RefreshKeyboard();
  EditorViewInput in;
  in.left = KeyDown(kVkLeft);
  in.right = KeyDown(kVkRight);
  in.up = KeyDown(kVkUp);
  in.down = KeyDown(kVkDown);
  in.shift = KeyDown(kVkShift);
  in.cursorX = renderer_->state.mouse.x;
  in.cursorY = renderer_->state.mouse.y;
  in.screenWidth = window_->Width();
  in.screenHeight = window_->Height();
  in.pointerInside = pointerInside_;
  FormPlayHost host(*this);
  in.host = &host;
  if (editor_) {
    editor_->ViewStep(in);
  } else {
    UpdateEditorView(*world_, in);
  }
}

}  // namespace skerrow
