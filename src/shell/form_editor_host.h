// The main form's side of the level editor: messages, level changes, pictures and the stored
// options the editor's General tab writes; and the editor window the form owns.
#pragma once

#include <string>

#include "editor/editor_actions.h"
#include "render/game_resources.h"

namespace skerrow {

class TSkerrowForm;

class FormEditorHost final : public EditorHost {
 public:
  explicit FormEditorHost(TSkerrowForm& form) : form_(form) {}
  void ShowMessage(const std::string& text) override;
  bool EnterLevel(int32_t number) override;
  bool ReadPicture(const std::string& gamePath, LevelPicture& out) override;
  bool Option(EditorOption option) override;
  void SetOption(EditorOption option, bool on) override;

 private:
  TSkerrowForm& form_;
  EnginePictureReader reader_;
};

}  // namespace skerrow
