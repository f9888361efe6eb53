// Window input of the main game object: the form's handlers keep the live key state and pass
// every event to the mode handling here (screenshots, names, panels, clicks, upgrade buttons).
#include "shell/input.h"

#include <cstdio>

#include "editor/editor_window.h"
#include "engine/picture.h"
#include "gui/key_window.h"
#include "platform/cp1251.h"
#include "platform/notices.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/vk_codes.h"
#include "render/frame.h"
#include "render/renderer.h"
#include "shell/form_interface.h"
#include "shell/form_play_host.h"
#include "shell/skerrow_form.h"
#include "simulation/particles.h"
#include "simulation/upgrades.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr size_t kNameLimit = 21;  // characters of a typed hero or ship name

// Screenshot sizes by display width.
struct ShotSize {
  int32_t displayWidth, width, height;
};
constexpr ShotSize kShotSizes[] = {{320, 256, 128},   {512, 512, 256},   {640, 512, 256},
                                   {800, 512, 512},   {1024, 1024, 512}, {1152, 1024, 512},
                                   {1600, 1024, 1024}};

bool HasDisplay(const InputContext& c) {
  return c.displayWidth > 0 && c.displayHeight > 0;
}

void ScreenshotFailed(const std::string& name) {
  platform::ReportFailure(platform::Failure::kScreenshot,
                          "could not write the screenshot " + Cp1251ToUtf8(name));
}

// Frame of the current mode at the display size, for Print Screen.
void SaveScreenBmp(InputContext& c) {
  if (!HasDisplay(c)) return;
  const std::string name = FreeScreenshotName(c.w.appPath, ".bmp");
  if (name.empty()) return;
  std::vector<uint8_t> bgr(static_cast<size_t>(c.displayWidth) * c.displayHeight * 3, 0);
  c.frames.RenderFrame(c.displayWidth, c.displayHeight, bgr);
  if (!WriteBmp24(ResolvePath(name), PixelsFromBgr(c.displayWidth, c.displayHeight, bgr))) {
    ScreenshotFailed(name);
  }
  InvalidatePathCache();
}

void TakeScreenshot(InputContext& c) {
  int32_t w = 0, h = 0;
  if (!ScreenshotSize(c.displayWidth, c.displayHeight, w, h)) return;
  const std::string name = FreeScreenshotName(c.w.appPath, ".tga");
  if (name.empty()) return;
  if (!CaptureScreenshot(c.w, c.frames, ResolvePath(name), w, h)) ScreenshotFailed(name);
  InvalidatePathCache();
}

std::string* TypedName(WorldState& w) {
  if (w.GameMode != game_mode::kMenu) return nullptr;
  if (w.menuScreen == menu_screen::kHeroChoice) return &w.heroChoiceName;
  if (w.menuScreen == menu_screen::kShipChoice) return &w.shipChoiceName;
  return nullptr;
}

// The click marker: a white ring on the water under the cursor.
void SpawnClickMarker(WorldState& w) {
  Random& r = SharedRandom();
  ParticleRecord& t = w.particleTemplate;
  t.kind = particle::kSplashRing;
  t.pos = {w.mouseWorldPos.x, 0.01, w.mouseWorldPos.z, t.pos.w};
  t.size = {0.3, 0.0, 0.3, t.size.w};
  t.colour = {1.0f, 1.0f, 1.0f, 1.0f};
  t.fadeRate = 0.016 + r.Real() * 0.001;
  t.angle = r.Int(360);
  const double gx = 3.7e-4 + r.Real() * 8e-5;
  const double gz = 3.7e-4 + r.Real() * 8e-5;
  t.vel = {gx, 0.0, gz, 0.0};
  SpawnParticle(w, t);
}

void SetHeld(WorldState& w, int button, uint8_t value) {
  if (button == platform::kMouseLeft) w.mouseLeftHeld = value;
  if (button == platform::kMouseRight) w.mouseRightHeld = value;
  if (button == platform::kMouseMiddle) w.mouseMiddleHeld = value;
}

}  // namespace

bool ScreenshotSize(int32_t displayWidth, int32_t displayHeight, int32_t& w, int32_t& h) {
  for (const ShotSize& s : kShotSizes) {
    if (s.displayWidth == displayWidth && s.width <= displayWidth && s.height <= displayHeight) {
      w = s.width;
      h = s.height;
      return true;
    }
  }
  // Any other display: the largest of the sizes that fits (1280 x 1024 takes 1024 x 1024).
  bool found = false;
  for (const ShotSize& s : kShotSizes) {
    if (s.width > displayWidth || s.height > displayHeight) continue;
    if (!found || s.width * s.height > w * h) {
      w = s.width;
      h = s.height;
      found = true;
    }
  }
  return found;
}

std::string FreeScreenshotName(const std::string& appPath, const std::string& ext) {
  char number[8];
  for (int n = 0; n <= 9999; ++n) {
    std::snprintf(number, sizeof number, "%04d", n);
    const std::string name =
        UserFilePath(UserFile::kScreenshots, appPath) + "Screen" + number + ext;
    if (!PathExists(name)) return name;
  }
  return {};
}

namespace {

// The current mode at w x h (1..65535 each) with screenFade off, kept in screenFadeSaved.
TPixels CaptureFrame(WorldState& w, FrameSource& frames, int32_t width, int32_t height) {
  std::vector<uint8_t> bgr(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
  w.screenFadeSaved = w.screenFade;
  w.screenFade = 0.0;
  frames.RenderFrame(width, height, bgr);
  w.screenFade = w.screenFadeSaved;
  return PixelsFromBgr(width, height, bgr);
}

bool CaptureSize(int32_t width, int32_t height) {
  return width > 0 && height > 0 && width <= 65535 && height <= 65535;
}

}  // namespace

std::vector<uint8_t> CaptureTga(WorldState& w, FrameSource& frames, int32_t width, int32_t height) {
  if (!CaptureSize(width, height)) return {};
  return EncodeTga(CaptureFrame(w, frames, width, height));
}

bool CaptureScreenshot(WorldState& w, FrameSource& frames, const std::string& file, int32_t width,
                       int32_t height) {
  if (!CaptureSize(width, height)) return false;
  return WriteTga(file, CaptureFrame(w, frames, width, height));
}

void InputKeyDown(InputContext& c, int vk) {
  WorldState& w = c.w;
  if (vk == VkFunction(5)) TakeScreenshot(c);
  if (vk == kVkBack) {
    if (std::string* name = TypedName(w); name != nullptr && !name->empty()) name->pop_back();
  }
  if (w.GameMode == game_mode::kPlay && vk == kVkEscape && !c.gui.HintWindowOpen()) {
    c.gui.ReleaseButtonState();
    c.gui.OpenInGameMenu();
  }
  if (w.GameMode == game_mode::kPlay && vk == kVkOem3 && w.infoPanelUnlocked == 1 &&
      w.upgradePanelUnlocked != 0) {
    // Cycles information -> upgrades -> none.
    if (w.infoPanelOpen != 0) {
      w.infoPanelOpen = 0;
      w.upgradePanelOpen = 1;
    } else if (w.upgradePanelOpen != 0) {
      w.upgradePanelOpen = 0;
    } else {
      w.infoPanelOpen = 1;
    }
  }
  if (w.GameMode == game_mode::kEditorView && vk == kVkDelete) c.gui.EditorDeleteUnit();
  if (c.editorEnabled && vk == kVkSpace) c.gui.ShowEditor();
}

void InputKeyUp(InputContext& c, int vk) {
  // Linux has no clipboard picture of the screen: Print Screen saves the current frame.
  if (vk == kVkSnapshot) SaveScreenBmp(c);
}

void InputKeyPress(InputContext& c, uint8_t ch) {
  std::string* name = TypedName(c.w);
  if (name == nullptr) return;
  if (ch > 47 && name->size() < kNameLimit) name->push_back(static_cast<char>(ch));
}

namespace {
void SetGuiPointer(InputContext& c, int x, int y) {
  const double gx = static_cast<double>(x) * 800.0 / c.displayWidth;
  const double gy = static_cast<double>(c.displayHeight - y) * 600.0 / c.displayHeight;
  c.gui.SetPointer(RoundToInt(gx), RoundToInt(gy));
}
}  // namespace

void InputMouseMove(InputContext& c, int x, int y) {
  if (!HasDisplay(c)) return;
  SetGuiPointer(c, x, y);
  if (c.gui.PointerButtonHeld()) c.gui.PressWhileHeld();
}

void InputMouseDown(InputContext& c, int button, int x, int y) {
  WorldState& w = c.w;
  // The press happens where the button went down, whether or not a move reported it.
  if (HasDisplay(c)) SetGuiPointer(c, x, y);
  switch (w.GameMode) {
    case game_mode::kMenu:
      switch (w.menuScreen) {
        case menu_screen::kMain:
          if (c.gui.MainMenuVisible() || c.gui.NetworkNoticeVisible() ||
              c.gui.OptionsWindowOpen() || c.gui.SaveLoadWindowOpen()) {
            c.gui.Press();
          } else {
            c.gui.ShowMainMenu();  // the first click after the title
          }
          break;
        case menu_screen::kCredits:
          c.gui.ShowMainMenu();
          w.menuScreen = menu_screen::kMain;
          c.gui.RestartMenuMusic();
          break;
        case menu_screen::kHeroChoice:
        case menu_screen::kShipChoice:
          c.gui.ChooseUnderCursor(w.menuScreen);
          break;
        case menu_screen::kIntro:
          c.gui.StartGameFromIntro();
          break;
        case menu_screen::kOutro:
          c.gui.ResetOutro();
          break;
        default:
          break;
      }
      break;
    case game_mode::kPlay:
      if (c.gui.HintWindowOpen() || c.gui.InGameMenuOpen() || c.gui.SaveLoadWindowOpen() ||
          c.gui.OptionsWindowOpen())
        c.gui.Press();
      break;
    case game_mode::kEditorView:
      c.gui.EditorViewClick();
      break;
    default:
      break;
  }

  if (c.gui.HintWindowOpen() || c.gui.InGameMenuOpen()) return;
  bool counts = true;
  if (w.upgradePanelOpen != 0) {
    // With the upgrade panel open only clicks outside its right and bottom strips count.
    counts = HasDisplay(c) && static_cast<int64_t>(x) * 1000 / c.displayWidth < 820 &&
             static_cast<int64_t>(y) * 1000 / c.displayHeight < 820;
  }
  if (!counts) return;
  SetHeld(w, button, 1);
  SpawnClickMarker(w);
}

void InputMouseUp(InputContext& c, int button, int x, int y) {
  WorldState& w = c.w;
  if (w.GameMode == game_mode::kPlay && w.upgradePanelOpen == 1 && w.upgradePanelUnlocked == 1 &&
      HasDisplay(c)) {
    const int64_t px = static_cast<int64_t>(x) * 1000 / c.displayWidth;
    const int64_t py = static_cast<int64_t>(y) * 1000 / c.displayHeight;
    constexpr Upgrade kButtons[3] = {Upgrade::kArmour, Upgrade::kGuns, Upgrade::kSpeed};
    for (int i = 0; i < 3; ++i) {
      const int64_t t = i * 19 * 4 / 3;  // 0, 25, 50
      if (px < 965 || px > 980 || py < 815 + t || py > 835 + t) continue;
      if (c.gui.HintWindowOpen() || c.gui.InGameMenuOpen()) continue;
      BuyUpgrade(w, kButtons[i]);
    }
  }
  c.gui.ReleaseButtonState();
  if (w.skipNextRelease != 0) {
    w.skipNextRelease = 0;
  } else {
    c.gui.Release();
  }
  SetHeld(w, button, 0);
}

// ---- The form's handlers ----
// The frame source and the GUI parts hold no state of their own: each event builds them anew.

namespace {
// The interface's handlers and the editor's three hooks.
class FormInputWithEditor final : public FormInputGui {
 public:
  explicit FormInputWithEditor(TSkerrowForm& form) : FormInputGui(form.Interface()), form_(form) {}
  void ShowEditor() override { form_.Editor().Show(); }
  void EditorDeleteUnit() override {
    if (form_.HasEditor()) form_.Editor().DeleteUnitKey();
  }
  void EditorViewClick() override {
    if (form_.HasEditor()) form_.Editor().ViewClick();
  }

 private:
  TSkerrowForm& form_;
};
struct FormInput {
  FormInput(TSkerrowForm& form, WorldState& w, platform::Window& display, bool editor)
      : frames(form), gui(form), c{w, frames, gui, display.Width(), display.Height(), editor} {}
  FormFrameSource frames;
  FormInputWithEditor gui;
  InputContext c;
};
}  // namespace

void TSkerrowForm::FormKeyDown(int vk, uint32_t shift) {
  liveKeys_.SetDown(vk, true);
  // The editor's undo and redo keys also work in the editor view of the main window.
  if (editor_ && world_->GameMode == game_mode::kEditorView && (shift & platform::kShiftCtrl)) {
    const bool withShift = (shift & platform::kShiftShift) != 0;
    if (vk == kVkZ && !withShift) editor_->Undo();
    if (vk == 'Y' || (vk == kVkZ && withShift)) editor_->Redo();
  }
  FormInput in(*this, *world_, *window_, options_.editor);
  InputKeyDown(in.c, vk);
}

void TSkerrowForm::FormKeyUp(int vk, uint32_t) {
  liveKeys_.SetDown(vk, false);
  FormInput in(*this, *world_, *window_, options_.editor);
  InputKeyUp(in.c, vk);
}

void TSkerrowForm::OnKeyDown(int vk, uint32_t shift) {
  if ((shift & platform::kShiftController) != 0) {
    padKeys_.SetDown(vk, true);
    FormKeyDown(vk, shift);
    return;
  }
  if (vk != 0 && vk == capturedKey_) return;  // the taken key repeating
  if (KeyWindowWaiting(*interface_)) {
    TakeKey(*interface_, vk);
    capturedKey_ = vk;
    return;
  }
  if (const int game = keyMap_.Map(vk)) FormKeyDown(game, shift);
}

void TSkerrowForm::OnKeyUp(int vk, uint32_t shift) {
  if ((shift & platform::kShiftController) != 0) {
    padKeys_.SetDown(vk, false);
    FormKeyUp(vk, shift);
    return;
  }
  if (vk != 0 && vk == capturedKey_) {
    capturedKey_ = 0;
    return;
  }
  if (const int game = keyMap_.Map(vk)) FormKeyUp(game, shift);
}

void TSkerrowForm::FormKeyPress(uint8_t ch) {
  FormInput in(*this, *world_, *window_, options_.editor);
  InputKeyPress(in.c, ch);
}

void TSkerrowForm::FormMouseDown(int button, int x, int y) {
  if (MovieStageRunning()) {
    loadingClick();  // a click on the movie panel skips the movie
    return;
  }
  FormInput in(*this, *world_, *window_, options_.editor);
  InputMouseDown(in.c, button, x, y);
}

void TSkerrowForm::FormMouseUp(int button, int x, int y) {
  FormInput in(*this, *world_, *window_, options_.editor);
  InputMouseUp(in.c, button, x, y);
}

void TSkerrowForm::FormMouseMove(int x, int y) {
  Render().state.mouse = {x, y};  // the next frame picks the world point under it
  FormInput in(*this, *world_, *window_, options_.editor);
  InputMouseMove(in.c, x, y);
}

}  // namespace skerrow
