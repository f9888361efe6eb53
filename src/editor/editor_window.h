// TEditform: the level editor's tool window, a second SDL window beside the game's that shares
// its GL context and draws its controls with Dear ImGui. Every control acts on the live world
// through editor_actions.h; closing the window hides it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_actions.h"

namespace skerrow {

struct Renderer;

class TEditform {
 public:
  TEditform(WorldState& w, Renderer& renderer, EditorHost& host);
  ~TEditform();  // writes the editor store
  TEditform(const TEditform&) = delete;
  TEditform& operator=(const TEditform&) = delete;

  // Creates the window on first use (and reads the editor store), then shows it. Without a
  // display (null window backend) the editor still works, with no window.
  void Show();
  void Hide();
  bool Visible() const { return visible_; }
  // Draws one frame of the window if it is shown; the game's context stays current after.
  void Frame();
  // The last frame of the window as bottom-up BGR triples; false when none was drawn.
  bool ReadFrame(int32_t& width, int32_t& height, std::vector<uint8_t>& bgr);

  // Hooks of the main window: a click and the Delete key in the editor view, one editor-view
  // step, the FPS timer.
  void ViewClick();
  void DeleteUnitKey();
  void ViewStep(EditorViewInput in);
  void SetFps(int32_t fps) { fps_ = fps; }
  // Undo and redo (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z in either window).
  void Undo();
  void Redo();

  // A scripted left click at window pixel (x, y) for headless runs: over the next three frames
  // the pointer moves there, presses and releases.
  void ScriptClick(int32_t x, int32_t y);
  // The same on the control drawn with `label` (its full label, "Delete##static"), at its
  // centre as the last frame drew it; a label the window does not show is reported on stderr.
  void ScriptClick(const std::string& label);

  // The labels of the controls the last frame drew cut off (past the window's edge, or a tab
  // narrower than its name); and whether the window's font draws `codepoint`.
  std::vector<std::string> CutControls() const;
  bool HasGlyph(uint32_t codepoint) const;

  EditorControls& Controls() { return ctl_; }
  UndoJournal& Journal() { return undo_; }
  EditorContext Context() { return {w_, ctl_, host_, undo_}; }

 private:
  struct Ui;
  void DrawControls();
  void SyncRenderer();

  WorldState& w_;
  Renderer& renderer_;
  EditorHost& host_;
  EditorControls ctl_;
  UndoJournal undo_;
  std::unique_ptr<Ui> ui_;
  bool visible_ = false;
  bool frameStepOpen_ = false;
  int32_t fps_ = 100;
  int32_t screenWidth_ = 0, screenHeight_ = 0;  // the main window, as the last view step saw it
};

}  // namespace skerrow
