// Keyboard and mouse handling of the main form in every mode: screenshots, name typing, the
// in-game menu key, the HUD panel key, the editor key, clicks with their marker, the upgrade
// buttons, and the GUI pointer. The GUI parts are reached through InputGui.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skerrow {

struct WorldState;

// Frames of the current GameMode for the screenshot keys: renders one frame at width x height
// without presenting it and reads it back as bottom-up BGR triples into `bgr` (sized by the
// caller). False when no frame can be drawn; `bgr` then keeps what it held.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  virtual bool RenderFrame(int32_t /*width*/, int32_t /*height*/, std::vector<uint8_t>& /*bgr*/) {
    return false;
  }
};

// The GUI windows and actions the handlers reach. Defaults: nothing is open or visible and
// every action does nothing.
class InputGui {
 public:
  virtual ~InputGui() = default;
  virtual bool HintWindowOpen() { return false; }
  virtual bool InGameMenuOpen() { return false; }
  virtual bool SaveLoadWindowOpen() { return false; }
  virtual bool OptionsWindowOpen() { return false; }
  virtual bool MainMenuVisible() { return false; }
  virtual bool NetworkNoticeVisible() { return false; }
  virtual void ShowMainMenu() {}
  virtual void OpenInGameMenu() {}
  virtual void RestartMenuMusic() {}
  // GUI pointer in virtual 800 x 600 coordinates (y upwards) and its button.
  virtual void SetPointer(int32_t /*x*/, int32_t /*y*/) {}
  virtual bool PointerButtonHeld() { return false; }
  virtual void Press() {}  // press handling at the pointer (mouse down)
  // The press handling again on a move with the button held: moves a dragged window.
  virtual void PressWhileHeld() { Press(); }
  virtual void ReleaseButtonState() {}  // the pointer's button is up
  virtual void Release() {}             // release handling: fires the pressed button
  // Menu screens: choose the hero (screen 3) or ship (4) under the cursor, start the game
  // from the intro, restart the outro text.
  virtual void ChooseUnderCursor(int32_t /*menuScreen*/) {}
  virtual void StartGameFromIntro() {}
  virtual void ResetOutro() {}
  // Level editor: show its window, its unit "Delete" action, a click in the editor view.
  virtual void ShowEditor() {}
  virtual void EditorDeleteUnit() {}
  virtual void EditorViewClick() {}
};

struct InputContext {
  WorldState& w;
  FrameSource& frames;  // renders the frame for screenshots
  InputGui& gui;
  int32_t displayWidth;
  int32_t displayHeight;
  bool editorEnabled;  // first command-line argument "-EDITOR"
};

void InputKeyDown(InputContext& c, int vk);
void InputKeyUp(InputContext& c, int vk);
void InputKeyPress(InputContext& c, uint8_t ch);
void InputMouseDown(InputContext& c, int button, int x, int y);
void InputMouseUp(InputContext& c, int button, int x, int y);
void InputMouseMove(InputContext& c, int x, int y);

// Screenshot size for a display: the fixed size of the listed widths (320, 512, 640, 800,
// 1024, 1152, 1600) when it fits, otherwise the largest of those sizes that fits the display.
// False when none fits.
bool ScreenshotSize(int32_t displayWidth, int32_t displayHeight, int32_t& w, int32_t& h);

// appPath + "Screen" + n + ext for the smallest four-digit n whose file does not exist;
// empty when Screen0000..Screen9999 all exist.
std::string FreeScreenshotName(const std::string& appPath, const std::string& ext);

// Renders the current mode at w x h with screenFade off (kept in screenFadeSaved meanwhile) and
// encodes the frame as a 24-bit TGA; empty for a size outside 1..65535.
std::vector<uint8_t> CaptureTga(WorldState& w, FrameSource& frames, int32_t width, int32_t height);
// CaptureTga written to `file`.
bool CaptureScreenshot(WorldState& w, FrameSource& frames, const std::string& file, int32_t width,
                       int32_t height);

}  // namespace skerrow
