// The GUI toolkit: windows with buttons, text lines, panels, pictures and check boxes in a
// virtual 800 x 600 space, drawn from one atlas and a 16 x 16-cell bitmap font; hit tests,
// dragging by the title bar, close boxes and button actions fired on release.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace skerrow {

// GUI space: x 0..800 to the right, y 0..600 upwards. Window and item positions are measured
// downwards: a window's y counts from the top band's lower edge at GUI height 574, an item's y
// from its window's top.
inline constexpr int32_t kGuiWidth = 800;
inline constexpr int32_t kGuiHeight = 600;
inline constexpr int32_t kGuiTopBand = 26;  // band at the top of the screen above the windows

struct TWindow;
struct TButton;

// A button's action, run on release with the button and the release argument.
using TButtonAction = std::function<void(TButton&, int32_t)>;
using TCheckBoxAction = std::function<void()>;

struct TButton {
  int32_t x = 0, y = 0;  // relative to the window's top-left, y downwards
  int32_t width = 0, height = 0;
  std::string caption;  // Windows-1251
  uint8_t pressed = 0;
  int32_t index = 0;  // place in the window's array
  TWindow* owner = nullptr;
  TButtonAction action;  // empty: none
};

struct TText {
  int32_t x = 0, y = 0;
  std::string caption;  // Windows-1251
  TWindow* owner = nullptr;
};

struct TPanel {
  int32_t x = 0, y = 0, width = 0, height = 0;
  uint8_t visible = 1;
  TWindow* owner = nullptr;
};

struct TPicture {
  int32_t x = 0, y = 0, width = 0, height = 0;
  uint32_t texture = 0;  // graphics-library texture name, 0 = none
  TWindow* owner = nullptr;
};

inline constexpr int32_t kCheckBoxSize = 16;

struct TCheckBox {
  int32_t x = 0, y = 0;
  uint8_t visible = 1;
  uint8_t checked = 0;
  TWindow* owner = nullptr;
  TCheckBoxAction action;  // empty: none
};

// Windows are built once and never move in memory: items keep a pointer to their owner and the
// toolkit remembers the pressed button by address.
struct TWindow {
  TWindow() = default;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  int32_t x = 0, y = 0;  // top-left corner, y downwards from GUI height 574
  int32_t width = 0, height = 0;
  uint8_t visible = 0;
  float depth = 0;
  float alpha = 0.9f;
  std::vector<TButton> buttons;  // [0]: the empty 0 x 0 button, which never fires
  std::vector<TText> texts;
  std::vector<TPanel> panels;
  std::vector<TPicture> pictures;
  std::vector<TCheckBox> checkBoxes;
  std::function<void()> onClose;  // run after the close box hid the window; empty: none
};

// The pointer in GUI coordinates and its button, written by the mouse handlers.
struct GuiPointer {
  int32_t x = 0, y = 0;
  uint8_t held = 0;
};

// The windows of the interface, in the order BuildInterface creates them: the six of the game
// and the key window, opened from the options.
struct GuiWindows {
  TWindow inGameMenu;
  TWindow mainMenu;
  TWindow networkNotice;
  TWindow hintWindow;
  TWindow options;
  TWindow saveLoad;
  TWindow keys;
};

// The graphics-library textures the toolkit draws with (0 = drawn untextured).
struct GuiTextures {
  uint32_t atlas = 0;  // GUI.TGA
  uint32_t body = 0;   // params.qvt + paramsa.qvt
  uint32_t panel = 0;  // window.qvt + windowa.qvt
  uint32_t font = 0;   // font2.qvt + font2d.qvt
};

// The toolkit's whole state: one owner, passed to every toolkit call.
struct TGui {
  GuiPointer pointer;
  TButton* pressedButton = nullptr;
  uint8_t dragging = 0;
  TWindow* draggedWindow = nullptr;
  int32_t dragOffsetX = 0, dragOffsetY = 0;
  GuiWindows windows;
  GuiTextures textures;
  // Pixel width 0..16 of each Windows-1251 glyph, from font.fnt.
  std::array<uint8_t, 256> glyphWidths{};
};

void InitWindow(TWindow& window, int32_t x, int32_t y, int32_t height, int32_t width);
// The creators take the height before the width. Each returns the new item's index.
int32_t AddButton(TWindow& window, int32_t x, int32_t y, std::string_view caption, int32_t height,
                  int32_t width, TButtonAction action = {});
int32_t AddText(TWindow& window, int32_t x, int32_t y, std::string_view text);
int32_t AddPanel(TWindow& window, int32_t x, int32_t y, int32_t height, int32_t width);
int32_t AddCheckBox(TWindow& window, int32_t x, int32_t y, bool checked,
                    TCheckBoxAction action = {});
int32_t AddPicture(TWindow& window, int32_t x, int32_t y, uint32_t texture, int32_t height,
                   int32_t width);

// visible = 0; a release pending on a button of this window then fires nothing.
void HideWindow(TGui& gui, TWindow& window);

// Press handling at the pointer, offered to the windows in the order options, keys, hint window,
// in-game menu, main menu, network notice, save and load. `repeat` marks the calls made on
// mouse moves while the button is held: they move a dragged window and may move the press to
// another button, but toggle no check box and close no window. True when a window took it.
bool PressGUI(TGui& gui, bool repeat = false);
// Release handling: ends a drag, clears the pointer's button and fires the pressed button's
// action (wherever the pointer now is) with (button, arg).
void ReleaseGUI(TGui& gui, int32_t arg);

// Reads gdata\ata\font.fnt: 256 bytes, byte c the width of glyph c (values above 16 count as
// 16; a short file leaves the rest 0). False with the message box "Unable to find font.fnt"
// (caption "Font Loader") when it cannot be opened.
bool LoadFont(TGui& gui, const std::string& appPath);
// Width in GUI units of `text` as DrawGuiText lays it out: each glyph's width plus 1.
int32_t GuiTextWidth(const TGui& gui, std::string_view text);
// `text` cut so that GuiTextWidth stays within `width`: the longest prefix that fits, ended by
// ".." when anything was cut (a saved name or description line must not run out of its window).
std::string FitGuiText(const TGui& gui, std::string_view text, int32_t width);

// Needs a current GL context. Draws `text` (Windows-1251) in dark red from (x, y), glyph
// bottoms at y, then leaves the colour opaque white and the atlas bound.
void DrawGuiText(const TGui& gui, float x, float y, std::string_view text);
// Draws the visible windows over the frame (in-game menu, main menu, network notice, hint
// window, options, save and load, keys), then leaves a 45 degree perspective projection (aspect
// 800 / 600, near 1, far 100) and an identity model-view matrix.
void DrawGUI(const TGui& gui);

}  // namespace skerrow
