// The GUI toolkit: item creators, hit tests with dragging and close boxes, the font and the
// drawing of windows from the atlas GUI.TGA.
#include "gui/gui.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "platform/cp1251.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "world/raw_io.h"

namespace skerrow {
namespace {

constexpr int32_t kWindowTop = kGuiHeight - kGuiTopBand;  // 574: GUI height of y = 0
constexpr int32_t kMaxGlyphWidth = 16;

// The windows in press order and in draw order.
std::array<TWindow*, 7> PressOrder(GuiWindows& w) {
  return {&w.options,  &w.keys,          &w.hintWindow, &w.inGameMenu,
          &w.mainMenu, &w.networkNotice, &w.saveLoad};
}
std::array<const TWindow*, 7> DrawOrder(const GuiWindows& w) {
  return {&w.inGameMenu, &w.mainMenu, &w.networkNotice, &w.hintWindow,
          &w.options,    &w.saveLoad, &w.keys};
}

bool Inside(int32_t v, int32_t low, int32_t high) {
  return low < v && v < high;  // every hit test is strict: edges are outside
}

void PressButton(TGui& gui, TButton& b) {
  if (gui.pressedButton != nullptr && gui.pressedButton != &b) gui.pressedButton->pressed = 0;
  b.pressed = 1;
  gui.pressedButton = &b;
}

bool PressWindow(TGui& gui, TWindow& win, bool repeat) {
  if (win.visible != 1) return false;
  const GuiPointer& p = gui.pointer;
  if (gui.dragging == 1) {
    if (gui.draggedWindow != nullptr) {
      gui.draggedWindow->x = gui.dragOffsetX + p.x;
      gui.draggedWindow->y = gui.dragOffsetY - p.y + kGuiHeight;
    }
    return true;
  }
  const int32_t px = p.x, py = kWindowTop - p.y;
  if (!Inside(px, win.x, win.x + win.width) || !Inside(py, win.y, win.y + win.height)) {
    return false;
  }
  if (Inside(px, win.x + win.width - 22, win.x + win.width - 6) &&
      Inside(py, win.y + 8, win.y + 24)) {
    if (!repeat) {
      win.visible = 0;
      if (win.onClose) win.onClose();
    }
    return true;
  }
  if (Inside(py, win.y + 1, win.y + 26)) {
    if (!repeat) {
      gui.dragging = 1;
      gui.draggedWindow = &win;
      gui.dragOffsetX = win.x - p.x;
      gui.dragOffsetY = win.y - (kGuiHeight - p.y);
    }
    return true;
  }
  const int32_t rx = px - win.x, ry = py - win.y;
  for (TButton& b : win.buttons) {
    if (Inside(rx, b.x, b.x + b.width) && Inside(ry, b.y, b.y + b.height)) {
      PressButton(gui, b);
      return true;
    }
  }
  for (TCheckBox& box : win.checkBoxes) {
    if (Inside(rx, box.x, box.x + kCheckBoxSize) && Inside(ry, box.y, box.y + kCheckBoxSize)) {
      if (!repeat) {
        box.checked = box.checked == 1 ? 0 : 1;
        if (box.action) box.action();
      }
      return true;
    }
  }
  return false;
}

// ---- Drawing ----

// One atlas piece: texture coordinates in 1/128 of the side (v upwards) onto the rectangle
// (x, y, w, h) of the window, y downwards from its top.
void AtlasPiece(float u1, float v1, float u2, float v2, float x, float y, float w, float h) {
  constexpr float k = 1.0f / 128.0f;
  glBegin(GL_QUADS);
  glTexCoord2f(u1 * k, v1 * k);
  glVertex2f(x, -(y + h));
  glTexCoord2f(u2 * k, v1 * k);
  glVertex2f(x + w, -(y + h));
  glTexCoord2f(u2 * k, v2 * k);
  glVertex2f(x + w, -y);
  glTexCoord2f(u1 * k, v2 * k);
  glVertex2f(x, -y);
  glEnd();
}

// A rectangle with the whole bound texture (or a part, s/t in 0..1).
void TexturedRect(float x, float y, float w, float h, float s1 = 0, float t1 = 0, float s2 = 1,
                  float t2 = 1) {
  glBegin(GL_QUADS);
  glTexCoord2f(s1, t1);
  glVertex2f(x, -(y + h));
  glTexCoord2f(s2, t1);
  glVertex2f(x + w, -(y + h));
  glTexCoord2f(s2, t2);
  glVertex2f(x + w, -y);
  glTexCoord2f(s1, t2);
  glVertex2f(x, -y);
  glEnd();
}

// A piece split into a fixed left part, a stretched middle and a fixed right part.
struct ThreePiece {
  float uLeft, uMiddle, uRight, uEnd;  // atlas u edges
  float v1, v2;
  float leftWidth, rightWidth;
};

void DrawThree(const ThreePiece& p, float x, float y, float w, float h) {
  AtlasPiece(p.uLeft, p.v1, p.uMiddle, p.v2, x, y, p.leftWidth, h);
  AtlasPiece(p.uMiddle, p.v1, p.uRight, p.v2, x + p.leftWidth, y, w - p.leftWidth - p.rightWidth,
             h);
  AtlasPiece(p.uRight, p.v1, p.uEnd, p.v2, x + w - p.rightWidth, y, p.rightWidth, h);
}

constexpr ThreePiece kTitleBar = {0, 64, 96, 128, 101, 128, 63, 32};
constexpr ThreePiece kBottomEdge = {0, 64, 96, 128, 0, 27, 63, 32};
constexpr ThreePiece kButtonNormal = {41, 46, 50, 55, 70, 95, 6, 6};
constexpr ThreePiece kButtonPressed = {57, 62, 66, 71, 70, 95, 6, 6};

// Panel texture as a nine-patch with 10-unit borders (texture margins 0.1), reaching 10 units
// outside the panel's rectangle.
void DrawPanel(const TPanel& p) {
  const float xs[4] = {p.x - 10.0f, p.x + 0.0f, p.x + p.width + 0.0f, p.x + p.width + 10.0f};
  const float ys[4] = {p.y - 10.0f, p.y + 0.0f, p.y + p.height + 0.0f, p.y + p.height + 10.0f};
  constexpr float s[4] = {0, 0.1f, 0.9f, 1};
  constexpr float t[4] = {1, 0.9f, 0.1f, 0};  // top of the texture at the panel's top
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      TexturedRect(xs[i], ys[j], xs[i + 1] - xs[i], ys[j + 1] - ys[j], s[i], t[j + 1], s[i + 1],
                   t[j]);
    }
  }
}

void DrawButton(const TGui& gui, const TButton& b) {
  const bool down = b.pressed == 1;
  DrawThree(down ? kButtonPressed : kButtonNormal, static_cast<float>(b.x), static_cast<float>(b.y),
            static_cast<float>(b.width), static_cast<float>(b.height));
  const float shift = down ? 1.0f : 0.0f;
  // Centred on an assumed 6 units per character.
  const float tx = b.x + (b.width - 6.0f * static_cast<float>(b.caption.size())) / 2 + shift;
  DrawGuiText(gui, tx, -(b.y + 20.0f + shift), b.caption);
  glBindTexture(GL_TEXTURE_2D, gui.textures.atlas);
}

void DrawWindow(const TGui& gui, const TWindow& win) {
  if (win.visible != 1) return;
  const float w = static_cast<float>(win.width), h = static_cast<float>(win.height);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_DEPTH_TEST);
  glColor4f(1, 1, 1, win.alpha);
  glPushMatrix();
  glTranslatef(static_cast<float>(win.x), static_cast<float>(kWindowTop - win.y), win.depth);

  // The frame first: the body at the same depth then fills only what the frame left (the
  // GUI is drawn with a less-than depth test).
  glBindTexture(GL_TEXTURE_2D, gui.textures.atlas);
  DrawThree(kTitleBar, 0, 0, w, 27);
  AtlasPiece(0, 27, 6, 101, 0, 27, 6, h - 54);
  AtlasPiece(121, 27, 128, 101, w - 7, 27, 7, h - 54);
  DrawThree(kBottomEdge, 0, h - 27, w, 27);
  glBindTexture(GL_TEXTURE_2D, gui.textures.body);
  TexturedRect(6, 0, w - 13, h - 25);
  glBindTexture(GL_TEXTURE_2D, gui.textures.atlas);
  glPushMatrix();
  glTranslatef(0, 0, 0.01f);
  AtlasPiece(104, 80, 120, 96, w - 22, 8, 16, 16);
  glPopMatrix();

  glTranslatef(0, 0, 0.02f);
  glBindTexture(GL_TEXTURE_2D, gui.textures.panel);
  for (const TPanel& p : win.panels) {
    if (p.visible == 1) DrawPanel(p);
  }
  glTranslatef(0, 0, 0.02f);
  glBindTexture(GL_TEXTURE_2D, gui.textures.atlas);
  for (const TButton& b : win.buttons) {
    if (b.width > 0 && b.height > 0) DrawButton(gui, b);
  }
  glTranslatef(0, 0, 0.02f);
  for (const TPicture& p : win.pictures) {
    glBindTexture(GL_TEXTURE_2D, p.texture);
    TexturedRect(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.width),
                 static_cast<float>(p.height));
  }
  glTranslatef(0, 0, 0.02f);
  glBindTexture(GL_TEXTURE_2D, gui.textures.atlas);
  for (const TCheckBox& box : win.checkBoxes) {
    if (box.visible != 1) continue;
    const float u = box.checked == 1 ? 88.0f : 72.0f;
    AtlasPiece(u, 80, u + 16, 96, static_cast<float>(box.x), static_cast<float>(box.y),
               kCheckBoxSize, kCheckBoxSize);
  }
  for (const TText& t : win.texts) {
    DrawGuiText(gui, static_cast<float>(t.x), -(t.y + 16.0f), t.caption);
  }
  glPopMatrix();
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_BLEND);
}

}  // namespace

void InitWindow(TWindow& window, int32_t x, int32_t y, int32_t height, int32_t width) {
  window.x = x;
  window.y = y;
  window.height = height;
  window.width = width;
  window.visible = 1;
  window.alpha = 0.9f;
  window.depth = 0;
  window.buttons.clear();
  window.texts.clear();
  window.panels.clear();
  window.pictures.clear();
  window.checkBoxes.clear();
  AddButton(window, 0, 0, "", 0, 0);
}

int32_t AddButton(TWindow& window, int32_t x, int32_t y, std::string_view caption, int32_t height,
                  int32_t width, TButtonAction action) {
  TButton b;
  b.x = x;
  b.y = y;
  b.height = height;
  b.width = width;
  b.caption = caption;
  b.index = static_cast<int32_t>(window.buttons.size());
  b.owner = &window;
  b.action = std::move(action);
  window.buttons.push_back(std::move(b));
  return window.buttons.back().index;
}

int32_t AddText(TWindow& window, int32_t x, int32_t y, std::string_view text) {
  window.texts.push_back({x, y, std::string(text), &window});
  return static_cast<int32_t>(window.texts.size()) - 1;
}

int32_t AddPanel(TWindow& window, int32_t x, int32_t y, int32_t height, int32_t width) {
  window.panels.push_back({x, y, width, height, 1, &window});
  return static_cast<int32_t>(window.panels.size()) - 1;
}

int32_t AddCheckBox(TWindow& window, int32_t x, int32_t y, bool checked, TCheckBoxAction action) {
  window.checkBoxes.push_back(
      {x, y, 1, static_cast<uint8_t>(checked ? 1 : 0), &window, std::move(action)});
  return static_cast<int32_t>(window.checkBoxes.size()) - 1;
}

int32_t AddPicture(TWindow& window, int32_t x, int32_t y, uint32_t texture, int32_t height,
                   int32_t width) {
  window.pictures.push_back({x, y, width, height, texture, &window});
  return static_cast<int32_t>(window.pictures.size()) - 1;
}

void HideWindow(TGui& gui, TWindow& window) {
  window.visible = 0;
  // Only a press on this window is cancelled; one pending on another window still fires.
  if (gui.pressedButton != nullptr && gui.pressedButton->owner == &window) {
    gui.pressedButton->pressed = 0;
    gui.pressedButton = &window.buttons[0];
  }
  if (gui.draggedWindow == &window) {
    gui.dragging = 0;
    gui.draggedWindow = nullptr;
  }
}

bool PressGUI(TGui& gui, bool repeat) {
  for (TWindow* w : PressOrder(gui.windows)) {
    if (PressWindow(gui, *w, repeat)) return true;
  }
  return false;
}

void ReleaseGUI(TGui& gui, int32_t arg) {
  gui.dragging = 0;
  gui.draggedWindow = nullptr;
  gui.pointer.held = 0;
  TButton* b = gui.pressedButton;
  gui.pressedButton = nullptr;
  if (b == nullptr || b->pressed != 1) return;
  b->pressed = 0;
  // The action may rebuild nothing but may hide or show windows: it gets the button itself.
  if (b->action) b->action(*b, arg);
}

bool LoadFont(TGui& gui, const std::string& appPath) {
  const std::string path = appPath + "gdata\\ata\\font.fnt";
  gui.glyphWidths.fill(0);
  if (!PathExists(path)) {
    platform::ShowMessage("Font Loader", "Unable to find font.fnt");
    return false;
  }
  ReadFileRange(path, gui.glyphWidths);
  for (uint8_t& w : gui.glyphWidths) w = std::min<uint8_t>(w, kMaxGlyphWidth);
  return true;
}

int32_t GuiTextWidth(const TGui& gui, std::string_view text) {
  int32_t width = 0;
  for (char ch : text) width += gui.glyphWidths[static_cast<uint8_t>(ch)] + 1;
  return width;
}

std::string FitGuiText(const TGui& gui, std::string_view text, int32_t width) {
  if (GuiTextWidth(gui, text) <= width) return std::string(text);
  const int32_t room = width - GuiTextWidth(gui, "..");
  size_t n = 0;
  for (int32_t used = 0; n < text.size(); ++n) {
    used += gui.glyphWidths[static_cast<uint8_t>(text[n])] + 1;
    if (used > room) break;
  }
  return std::string(text.substr(0, n)) + (room >= 0 ? ".." : "");
}

void DrawGuiText(const TGui& gui, float x, float y, std::string_view text) {
  glBindTexture(GL_TEXTURE_2D, gui.textures.font);
  glColor4f(0.2f, 0, 0, 1);
  float pen = x;
  glBegin(GL_QUADS);
  for (char ch : text) {
    const int c = static_cast<uint8_t>(ch);
    const float w = gui.glyphWidths[c];
    // Glyph c sits centred in cell (c mod 16, c div 16) of the 256 x 256 font picture.
    const float u1 = (c % 16) / 16.0f + (16 - w) / 512.0f;
    const float u2 = u1 + w / 256.0f + 1 / 512.0f;
    const float v2 = 1 - (c / 16) / 16.0f;
    const float v1 = v2 - 1 / 16.0f;
    glTexCoord2f(u1, v1);
    glVertex3f(pen, y, 0.05f);
    glTexCoord2f(u2, v1);
    glVertex3f(pen + w, y, 0.05f);
    glTexCoord2f(u2, v2);
    glVertex3f(pen + w, y + 16, 0.05f);
    glTexCoord2f(u1, v2);
    glVertex3f(pen, y + 16, 0.05f);
    pen += w + 1;
  }
  glEnd();
  glColor4f(1, 1, 1, 1);
  glBindTexture(GL_TEXTURE_2D, gui.textures.atlas);
}

void DrawGUI(const TGui& gui) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kGuiWidth, 0, kGuiHeight, 0, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -1);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_CULL_FACE);
  for (const TWindow* w : DrawOrder(gui.windows)) DrawWindow(gui, *w);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 800.0 / 600.0, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace skerrow
