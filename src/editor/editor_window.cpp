// The level editor window: an SDL window sharing the game's GL context, its controls drawn
// with Dear ImGui (SDL2 and OpenGL2 backends), its events taken from the game's event pump.
#include "editor/editor_window.h"

#include <GL/gl.h>
#include <SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>

#include "editor/editor_store.h"
#include "editor/window_place.h"
#include "engine/textures.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/sdl/raw_events.h"
#include "render/renderer.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

// Wide enough for the six tabs' names and the longest row of buttons with a scroll bar beside.
constexpr int kWindowWidth = 400;
constexpr int kWindowHeight = 818;
constexpr int kWindowGap = 8;  // between the game's window frame and the editor's
// An idle window (no event, no drag) is redrawn every 100 ms, like the editor's refresh
// timer; after an event of the window the next frames are all drawn, so a press and its
// release each get their frame.
constexpr uint32_t kIdleRedrawMs = 100;
constexpr int kBusyFrames = 4;

constexpr const char* kBrushTypeNames[kBrushTypeCount] = {
    "Modify terrain", "Set islands",    "Set units",      "Set bonuses",
    "Select units",   "Select islands", "Select triggers"};
constexpr const char* kSwitchNames[] = {"p_clear",
                                        "p_drawlandscape",
                                        "p_drawterrains",
                                        "p_drawstaters",
                                        "p_drawships",
                                        "p_drawbullets",
                                        "p_drawwater",
                                        "p_drawships2",
                                        "p_drawshadows",
                                        "p_fillshades",
                                        "p_drawbonuses",
                                        "p_drawwaterz",
                                        "p_drawexplosionhalos",
                                        "p_expdraw",
                                        "p_drawbonuseshalos",
                                        "p_drawbulletshalos",
                                        "p_drawint",
                                        "p_rendergui",
                                        "p_drawcursor"};
static_assert(std::size(kSwitchNames) == sizeof(RenderSwitches));
constexpr const char* kQualityNames[] = {"Max", "High", "Good", "Norm", "Low", "Full"};

// Where each control was drawn in the last frame (window pixels, by its full label), so that a
// scripted click can name a control instead of a pixel; and the controls that did not show
// whole: past the window's right edge, or a tab narrower than its label.
struct ControlPlaces {
  struct Rect {
    float x0, y0, x1, y1;
  };
  std::unordered_map<std::string, Rect> rects;
  std::vector<std::string> cut;
};
ControlPlaces* g_places = nullptr;  // of the frame being drawn; only the GUI thread draws

void NotePlace(const char* label, bool tab = false) {
  if (g_places == nullptr) return;
  const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
  g_places->rects[label] = {a.x, a.y, b.x, b.y};
  const float right = ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x;
  const float text = ImGui::CalcTextSize(label, nullptr, true).x;
  const bool narrow = tab && b.x - a.x < text + 2 * ImGui::GetStyle().FramePadding.x;
  if (b.x > right + 0.5f || narrow) g_places->cut.emplace_back(label);
}
bool Button(const char* label) {
  const bool pressed = ImGui::Button(label);
  NotePlace(label);
  return pressed;
}
bool SmallButton(const char* label) {
  const bool pressed = ImGui::SmallButton(label);
  NotePlace(label);
  return pressed;
}
bool Radio(const char* label, bool active) {
  const bool pressed = ImGui::RadioButton(label, active);
  NotePlace(label);
  return pressed;
}
bool CheckBox(const char* label, bool* v) {
  const bool changed = ImGui::Checkbox(label, v);
  NotePlace(label);
  return changed;
}
bool TabItem(const char* label) {
  const bool open = ImGui::BeginTabItem(label);
  NotePlace(label, true);
  return open;
}

// Spins over packed record fields: a copy is edited, the field written when it changed.
template <typename T>
bool SpinDouble(const char* label, T& field, double step = 0.1, double lo = -1e9, double hi = 1e9) {
  double v = field;
  const bool changed = ImGui::InputDouble(label, &v, step, step * 10, "%.4f");
  NotePlace(label);
  if (!changed) return false;
  field = static_cast<T>(std::clamp(v, lo, hi));
  return true;
}
template <typename T>
bool SpinInt(const char* label, T& field, int lo, int hi) {
  int v = static_cast<int>(field);
  const bool changed = ImGui::InputInt(label, &v);
  NotePlace(label);
  if (!changed) return false;
  field = static_cast<T>(std::clamp(v, lo, hi));
  return true;
}
bool Check(const char* label, uint8_t& byte) {
  bool v = byte == 1;
  if (!CheckBox(label, &v)) return false;
  byte = v ? 1 : 0;
  return true;
}
// A gauge: 100 * value / maximum, rounded.
void Gauge(float value, float maximum) {
  const int32_t percent = maximum != 0.0f ? RoundToInt(100.0 * value / maximum) : 0;
  ImGui::ProgressBar(std::clamp(percent, 0, 100) / 100.0f, ImVec2(-1, 0),
                     std::to_string(percent).c_str());
}
bool FileBox(const char* label, std::string& text) {
  char buffer[512];
  const size_t n = std::min(text.size(), sizeof buffer - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = '\0';
  const bool changed = ImGui::InputText(label, buffer, sizeof buffer);
  NotePlace(label);
  if (!changed) return false;
  text = buffer;
  return true;
}

// A file-name box sized to leave room for `buttons` after it on the same row; returns the
// index of the button pressed, -1 for none.
int FileRow(const char* id, std::string& text, std::initializer_list<const char*> buttons) {
  const ImGuiStyle& style = ImGui::GetStyle();
  float used = 0;
  for (const char* b : buttons) {
    used +=
        style.ItemSpacing.x + ImGui::CalcTextSize(b, nullptr, true).x + 2 * style.FramePadding.x;
  }
  ImGui::SetNextItemWidth(std::max(ImGui::GetContentRegionAvail().x - used, 60.0f));
  FileBox(id, text);
  int pressed = -1, k = 0;
  for (const char* b : buttons) {
    ImGui::SameLine();
    if (Button(b)) pressed = k;
    ++k;
  }
  return pressed;
}

// Three real fields in one row (a position or a rotation X, Y, Z); true when one changed,
// with `axis` set to it.
bool Spin3(const char* label, double& x, double& y, double& z, int* axis = nullptr) {
  double v[3] = {x, y, z};
  ImGui::SetNextItemWidth(3 * 70.0f);
  const bool changed =
      ImGui::InputScalarN(label, ImGuiDataType_Double, v, 3, nullptr, nullptr, "%.3f");
  NotePlace(label);
  if (!changed) return false;
  double* fields[3] = {&x, &y, &z};
  for (int k = 0; k < 3; ++k) {
    if (v[k] == *fields[k]) continue;
    if (axis != nullptr) *axis = k;
    *fields[k] = v[k];
  }
  return true;
}

// FNV-1a over the vertices, indices and commands of a frame's draw lists.
uint64_t DrawDataHash(const ImDrawData* d) {
  uint64_t h = 14695981039346656037ull;
  auto mix = [&h](const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  };
  for (int i = 0; d != nullptr && i < d->CmdListsCount; ++i) {
    const ImDrawList* l = d->CmdLists[i];
    mix(l->VtxBuffer.Data, static_cast<size_t>(l->VtxBuffer.Size) * sizeof(ImDrawVert));
    mix(l->IdxBuffer.Data, static_cast<size_t>(l->IdxBuffer.Size) * sizeof(ImDrawIdx));
    for (const ImDrawCmd& c : l->CmdBuffer) {
      mix(&c.ClipRect, sizeof c.ClipRect);
      mix(&c.ElemCount, sizeof c.ElemCount);
    }
  }
  return h;
}

// DejaVu Sans with its Cyrillic letters (the episode folders and the hints are Russian); the
// built-in font, Latin only, when no copy is installed.
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",    // Debian, Ubuntu (fonts-dejavu-core)
    "/usr/share/fonts/dejavu-sans-fonts/DejaVuSans.ttf",  // Fedora
    "/usr/share/fonts/TTF/DejaVuSans.ttf",                // Arch
};
constexpr float kFontPixels = 13.0f;

void LoadEditorFont() {
  ImGuiIO& io = ImGui::GetIO();
  for (const char* file : kFontFiles) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) continue;
    if (io.Fonts->AddFontFromFileTTF(file, kFontPixels, nullptr,
                                     io.Fonts->GetGlyphRangesCyrillic()) != nullptr) {
      return;
    }
  }
  std::fprintf(stderr, "skerrow: no DejaVu Sans font: the editor shows Latin letters only\n");
  io.Fonts->AddFontDefault();
}

constexpr float kPreviewSide = 64;

// Shows the picture `file` (a game path) at 64 x 64, loaded when the name changes; a missing
// or unreadable picture shows a blank square.
template <typename Slot>
void ShowPreview(Slot& slot, const std::string& file) {
  if (file != slot.file) {
    slot.file = file;
    DeleteTexture(slot.texture);
    slot.texture = 0;
    TLoaderMessages messages;  // a preview that does not load is simply blank
    if (PathExists(file) && !LoadTexture(file, slot.texture, true, messages)) slot.texture = 0;
  }
  if (slot.texture != 0) {
    ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(slot.texture)),
                 ImVec2(kPreviewSide, kPreviewSide), ImVec2(0, 1), ImVec2(1, 0));
  } else {
    ImGui::Dummy(ImVec2(kPreviewSide, kPreviewSide));
  }
}

}  // namespace

struct TEditform::Ui {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;  // the game's
  ImGuiContext* imgui = nullptr;
  uint32_t windowId = 0;
  std::string title;
  std::string question;         // the open question box, "" when none
  std::function<void()> onYes;  // what a Yes answer does
  std::string hintText;
  int32_t hintFor = -1, hintTag = -1;
  bool drawn = false;
  struct Click {
    int32_t x, y;
    std::string label;  // a control's label: its centre in the last frame, instead of x, y
  };
  std::deque<Click> clicks;  // scripted clicks still to make
  ControlPlaces places;      // of the last frame drawn
  // The "Undo" or "Redo" button pressed this frame (-1, +1): run once the frame's own undo step
  // is closed, which an open step would refuse.
  int history = 0;
  int busyFrames = 0;  // frames still drawn at once after an event of the window
  uint32_t lastDrawMs = 0;
  uint64_t shownHash = 0;  // of the draw lists last presented
  // Preview pictures: the new static, unit and trigger kinds and the selected ones.
  struct Preview {
    std::string file;
    uint32_t texture = 0;
  };
  Preview previews[6];
  int clickPhase = 0;  // 0 move, 1 press, 2 release
};

TEditform::TEditform(WorldState& w, Renderer& renderer, EditorHost& host)
    : w_(w), renderer_(renderer), host_(host) {
  AddFileParts(undo_);
}

TEditform::~TEditform() {
  if (ui_) {
    SaveEditorStore(EditorStorePath(), ctl_);
    if (ui_->window) {
      platform::SetRawEventHook({});
      SDL_Window* game = SDL_GL_GetCurrentWindow();
      SDL_GL_MakeCurrent(ui_->window, ui_->context);
      ImGui::SetCurrentContext(ui_->imgui);
      ImGui_ImplOpenGL2_Shutdown();
      ImGui_ImplSDL2_Shutdown();
      ImGui::DestroyContext(ui_->imgui);
      SDL_GL_MakeCurrent(game, ui_->context);
      SDL_DestroyWindow(ui_->window);
    }
  }
}

void TEditform::Show() {
  if (!ui_) {
    ui_ = std::make_unique<Ui>();
    LoadEditorStore(EditorStorePath(), ctl_);
    // The window shares the game's context: it exists only where the game has one.
    SDL_Window* game = SDL_GL_GetCurrentWindow();
    ui_->context = SDL_GL_GetCurrentContext();
    if (game != nullptr && ui_->context != nullptr) {
      ScreenRect g, desktop;
      SDL_GetWindowPosition(game, &g.x, &g.y);
      SDL_GetWindowSize(game, &g.width, &g.height);
      SDL_Rect usable{};
      if (SDL_GetDisplayUsableBounds(std::max(SDL_GetWindowDisplayIndex(game), 0), &usable) == 0) {
        desktop = {usable.x, usable.y, usable.w, usable.h};
      } else {
        desktop = {0, 0, 1 << 20, 1 << 20};  // unknown: no limit
      }
      FrameBorders b;  // the game's frame; none known (full screen, offscreen) counts as none
      if (SDL_GetWindowBordersSize(game, &b.top, &b.left, &b.bottom, &b.right) != 0) b = {};
      const ScreenRect r =
          EditorWindowPlace(g, desktop, b, kWindowWidth, kWindowHeight, kWindowGap);
      ui_->window = SDL_CreateWindow("Editor", r.x, r.y, r.width, r.height,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_ALWAYS_ON_TOP);
    }
    if (ui_->window != nullptr) {
      ui_->windowId = SDL_GetWindowID(ui_->window);
      ImGuiContext* previous = ImGui::GetCurrentContext();
      ui_->imgui = ImGui::CreateContext();
      ImGui::SetCurrentContext(ui_->imgui);
      ImGui::GetIO().IniFilename = nullptr;  // the layout is fixed: no imgui.ini
      ImGui::StyleColorsClassic();
      LoadEditorFont();
      ImGui_ImplSDL2_InitForOpenGL(ui_->window, ui_->context);
      ImGui_ImplOpenGL2_Init();
      ImGui::SetCurrentContext(previous);
      // Events of the editor window go to ImGui; closing it hides it.
      platform::SetRawEventHook([this](const void* raw) {
        const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
        uint32_t id = 0;
        switch (e.type) {
          case SDL_WINDOWEVENT:
            id = e.window.windowID;
            break;
          case SDL_KEYDOWN:
          case SDL_KEYUP:
            id = e.key.windowID;
            break;
          case SDL_TEXTINPUT:
            id = e.text.windowID;
            break;
          case SDL_MOUSEMOTION:
            id = e.motion.windowID;
            break;
          case SDL_MOUSEBUTTONDOWN:
          case SDL_MOUSEBUTTONUP:
            id = e.button.windowID;
            break;
          case SDL_MOUSEWHEEL:
            id = e.wheel.windowID;
            break;
          default:
            return false;
        }
        if (id != ui_->windowId) return false;
        ui_->busyFrames = kBusyFrames;
        if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE) {
          Hide();
          return true;
        }
        ImGuiContext* prev = ImGui::GetCurrentContext();
        ImGui::SetCurrentContext(ui_->imgui);
        ImGui_ImplSDL2_ProcessEvent(&e);
        ImGui::SetCurrentContext(prev);
        if (e.type == SDL_KEYDOWN && (e.key.keysym.mod & KMOD_CTRL) != 0) {
          const bool shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
          if (e.key.keysym.sym == SDLK_z && !shift) Undo();
          if (e.key.keysym.sym == SDLK_y || (e.key.keysym.sym == SDLK_z && shift)) Redo();
        }
        return true;
      });
    }
    // The preview and panel handlers run once when the window is first shown. A target never
    // set (a game started without the menu) would fly the editor camera to the map's corner:
    // it starts where the camera is.
    const Vector4d& t = w_.editorCameraTarget;
    if (t.x == 0.0 && t.y == 0.0 && t.z == 0.0) w_.editorCameraTarget = w_.cameraPos;
    if (w_.heightBrush < 1 || w_.heightBrush > kHeightBrushCount) w_.heightBrush = 5;
    SyncRenderer();
  }
  visible_ = true;
  if (ui_->window != nullptr) SDL_ShowWindow(ui_->window);
}

void TEditform::Hide() {
  visible_ = false;
  if (ui_ && ui_->window != nullptr) SDL_HideWindow(ui_->window);
  if (ui_) SaveEditorStore(EditorStorePath(), ctl_);
}

void TEditform::SyncRenderer() {
  renderer_.state.editorUnit = ctl_.unitNumber;
  renderer_.state.editorStatic = ctl_.staticNumber;
  renderer_.state.editorObject = ctl_.objectNumber;
}

void TEditform::ViewClick() {
  EditorContext c = Context();
  EditorViewClick(c);
  SyncRenderer();
}

void TEditform::DeleteUnitKey() {
  EditorContext c = Context();
  DeleteUnit(c);
}

void TEditform::ViewStep(EditorViewInput in) {
  screenWidth_ = in.screenWidth;
  screenHeight_ = in.screenHeight;
  in.selectedUnit = ctl_.unitNumber;
  in.modifyTerrain = ctl_.brushType == BrushType::kModifyTerrain;
  EditorContext c = Context();
  EditorViewStep(c, in);
}

void TEditform::ScriptClick(int32_t x, int32_t y) {
  if (ui_) ui_->clicks.push_back({x, y, {}});
}

void TEditform::ScriptClick(const std::string& label) {
  if (ui_ && !label.empty()) ui_->clicks.push_back({0, 0, label});
}

void TEditform::Undo() {
  EditorContext c = Context();
  EditorUndo(c);
}

void TEditform::Redo() {
  EditorContext c = Context();
  EditorRedo(c);
}

std::vector<std::string> TEditform::CutControls() const {
  return ui_ ? ui_->places.cut : std::vector<std::string>{};
}

bool TEditform::HasGlyph(uint32_t codepoint) const {
  if (!ui_ || ui_->imgui == nullptr) return false;
  ImGuiContext* previous = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(ui_->imgui);
  const ImFontAtlas& atlas = *ImGui::GetIO().Fonts;
  const bool found = !atlas.Fonts.empty() && atlas.Fonts[0]->FindGlyphNoFallback(
                                                 static_cast<ImWchar>(codepoint)) != nullptr;
  ImGui::SetCurrentContext(previous);
  return found;
}

void TEditform::Frame() {
  if (!visible_ || !ui_ || ui_->window == nullptr) return;
  const uint32_t now = SDL_GetTicks();
  const bool busy =
      ui_->busyFrames > 0 || !ui_->clicks.empty() || frameStepOpen_ || !ui_->question.empty();
  if (!busy && ui_->drawn && now - ui_->lastDrawMs < kIdleRedrawMs) return;
  if (ui_->busyFrames > 0) --ui_->busyFrames;
  ui_->lastDrawMs = now;
  SDL_Window* game = SDL_GL_GetCurrentWindow();
  if (SDL_GL_MakeCurrent(ui_->window, ui_->context) != 0) return;
  ImGuiContext* previous = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(ui_->imgui);
  ImGui_ImplOpenGL2_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  // A named control is looked up in the last frame drawn (none yet: this frame draws one).
  while (!ui_->clicks.empty() && ui_->clickPhase == 0 && !ui_->clicks.front().label.empty() &&
         !ui_->places.rects.empty()) {
    Ui::Click& k = ui_->clicks.front();
    const auto it = ui_->places.rects.find(k.label);
    const ImVec2 size = ImGui::GetIO().DisplaySize;
    if (it != ui_->places.rects.end()) {
      const ControlPlaces::Rect& r = it->second;
      k.x = TruncToInt((r.x0 + r.x1) / 2.0);
      k.y = TruncToInt((r.y0 + r.y1) / 2.0);
      // A control scrolled out of the window cannot be clicked.
      if (k.x >= 0 && k.y >= 0 && k.x < size.x && k.y < size.y) {
        k.label.clear();
        break;
      }
    }
    std::fprintf(stderr, "skerrow: the editor window shows no control \"%s\"\n", k.label.c_str());
    ui_->clicks.pop_front();
  }
  if (!ui_->clicks.empty() && ui_->clicks.front().label.empty()) {
    ImGuiIO& io = ImGui::GetIO();
    const Ui::Click& k = ui_->clicks.front();
    io.MousePos = ImVec2(static_cast<float>(k.x), static_cast<float>(k.y));
    io.MouseDown[0] = ui_->clickPhase == 1;
    if (++ui_->clickPhase == 3) {
      ui_->clickPhase = 0;
      ui_->clicks.pop_front();
    }
  }
  ImGui::NewFrame();

  // Field edits of one frame are one undo step: the records a panel edits are captured before
  // the controls run.
  if (!frameStepOpen_) {
    undo_.Open();
    frameStepOpen_ = true;
    const SavedState& s = w_;
    auto capture = [&](const auto& member) {
      undo_.Capture(s, BlockOffset(s, member), sizeof(member));
    };
    if (ctl_.unitNumber >= 1 && ctl_.unitNumber < kUnitSlots) capture(w_.units[ctl_.unitNumber]);
    if (ctl_.staticNumber >= 1 && ctl_.staticNumber < kStaticSlots)
      capture(w_.statics[ctl_.staticNumber]);
    if (ctl_.triggerNumber >= 1 && ctl_.triggerNumber < kBonusSlots)
      capture(w_.bonuses[ctl_.triggerNumber]);
    capture(w_.gameSpeed);
    capture(w_.playerUnit);
  }
  ui_->places.rects.clear();
  ui_->places.cut.clear();
  g_places = &ui_->places;
  DrawControls();
  g_places = nullptr;
  // Closed every frame: between two frames the game's own steps run, and their changes must
  // not join an editor step.
  if (frameStepOpen_) {
    undo_.Close(w_);
    frameStepOpen_ = false;
  }
  if (ui_->history < 0) Undo();
  if (ui_->history > 0) Redo();
  ui_->history = 0;
  SyncRenderer();

  ImGui::Render();
  // The rasteriser is the cost: a frame whose draw lists are those already on screen is not
  // drawn again.
  const uint64_t hash = DrawDataHash(ImGui::GetDrawData());
  if (!ui_->drawn || hash != ui_->shownHash) {
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(ui_->window, &width, &height);
    glViewport(0, 0, width, height);
    glClearColor(0.12f, 0.12f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    ui_->drawn = true;
    ui_->shownHash = hash;
    SDL_GL_SwapWindow(ui_->window);
  }
  ImGui::SetCurrentContext(previous);

  const EditorContext c = Context();
  const std::string modified = ModifiedFiles(c);
  const std::string title = modified.empty() ? "Editor" : "Editor - modified: " + modified;
  if (title != ui_->title) {
    SDL_SetWindowTitle(ui_->window, title.c_str());
    ui_->title = title;
  }
  SDL_GL_MakeCurrent(game, ui_->context);
}

bool TEditform::ReadFrame(int32_t& width, int32_t& height, std::vector<uint8_t>& bgr) {
  if (!ui_ || ui_->window == nullptr || !ui_->drawn) return false;
  // Draw the window once more without presenting, and read its back buffer.
  const bool wasVisible = visible_;
  visible_ = true;
  SDL_Window* game = SDL_GL_GetCurrentWindow();
  SDL_GL_GetDrawableSize(ui_->window, &width, &height);
  SDL_GL_MakeCurrent(ui_->window, ui_->context);
  ImGuiContext* previous = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(ui_->imgui);
  ImGui_ImplOpenGL2_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  DrawControls();
  ImGui::Render();
  glViewport(0, 0, width, height);
  glClearColor(0.12f, 0.12f, 0.15f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
  bgr.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, bgr.data());
  ImGui::SetCurrentContext(previous);
  SDL_GL_MakeCurrent(game, ui_->context);
  visible_ = wasVisible;
  return true;
}

void TEditform::DrawControls() {
  EditorContext c = Context();
  WorldState& w = w_;
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
  ImGui::Begin("Editor", nullptr,
               ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings);
  ImGui::PushItemWidth(150);

  // Asks before an action that would load over unsaved changes of `files` (all three: a
  // level change).
  auto guarded =
      [this, &c](std::function<void()> action,
                 std::initializer_list<EditorFile> files = {kLevelFile, kUnitsFile, kBonusesFile}) {
        const std::string names = ModifiedFiles(c, files);
        if (!names.empty()) {
          ui_->question = "Unsaved changes (" + names + ") will be lost. Load anyway?";
          ui_->onYes = std::move(action);
        } else {
          action();
        }
      };

  // ---- Outside the tabs ----
  ImGui::TextUnformatted("Mode:");
  ImGui::SameLine();
  int mode = w.GameMode == game_mode::kEditorView ? 1 : 0;
  if (Radio("Game", mode == 0)) SetEditorMode(c, 0);
  ImGui::SameLine();
  if (Radio("Editor", mode == 1)) SetEditorMode(c, 1);
  ImGui::TextUnformatted("Brush type:");
  // Three rows: the terrain and two creating brushes, bonuses and the first selecting brush,
  // the other two.
  for (int32_t k = 0; k < kBrushTypeCount; ++k) {
    if (k != 0 && k != 3 && k != 5) ImGui::SameLine();
    if (Radio(kBrushTypeNames[k], static_cast<int32_t>(ctl_.brushType) == k))
      ctl_.brushType = static_cast<BrushType>(k);
  }
  SpinInt("Speed :", w.gameSpeed, 1, 100);
  SpinInt("Height Brush:", w.heightBrush, 1, 5);
  ImGui::Text("FPS : %d", fps_);
  ImGui::SameLine(180);
  ImGui::Text("Level size : %d", w.levelSize);
  ImGui::Text("Undo: %zu  Redo: %zu", undo_.UndoCount(), undo_.RedoCount());
  ImGui::SameLine();
  if (SmallButton("Undo")) ui_->history = -1;
  ImGui::SameLine();
  if (SmallButton("Redo")) ui_->history = 1;

  if (ImGui::BeginTabBar("tabs")) {
    // ---- General ----
    if (TabItem("General")) {
      ImGui::TextUnformatted(LevelCaption(w).c_str());
      ImGui::SameLine();
      if (Button("This level's files")) UseLevelFiles(c);
      switch (FileRow("##level", ctl_.levelFile, {"Save level", "Load level"})) {
        case 0:
          EditorSaveLevel(c, ctl_.levelFile);
          break;
        case 1:
          guarded([this, c]() mutable { EditorLoadLevel(c, ctl_.levelFile); }, {kLevelFile});
          break;
      }
      switch (FileRow("##bitmap", ctl_.bitmapFile, {"Load landscape", "Save landscape"})) {
        case 0:
          EditorLoadLandscape(c, ctl_.bitmapFile);
          break;
        case 1:
          EditorSaveLandscape(c, ctl_.bitmapFile);
          break;
      }
      if (FileRow("##colors", ctl_.colorsFile, {"Load colors"}) == 0) {
        EditorLoadColors(c, ctl_.colorsFile);
      }
      if (FileRow("##collisions", ctl_.collisionsFile, {"Write collisions"}) == 0) {
        WriteCollisions(c, ctl_.collisionsFile);
      }
      switch (FileRow("##units", ctl_.unitsFile, {"Save units", "Load units"})) {
        case 0:
          EditorSaveUnits(c, ctl_.unitsFile);
          break;
        case 1:
          guarded([this, c]() mutable { EditorLoadUnits(c, ctl_.unitsFile); }, {kUnitsFile});
          break;
      }
      switch (FileRow("##bonuses", ctl_.bonusesFile, {"Save bonuses", "Load bonuses"})) {
        case 0:
          EditorSaveBonuses(c, ctl_.bonusesFile);
          break;
        case 1:
          guarded([this, c]() mutable { EditorLoadBonuses(c, ctl_.bonusesFile); }, {kBonusesFile});
          break;
      }
      int32_t player = w.playerUnit;
      if (SpinInt("Playership :", player, 1, 255)) SetPlayerShip(c, player);
      int32_t camera = w.cameraNumber;
      if (SpinInt("Camera:", camera, 1, 10)) SetCameraNumber(c, camera);
      Check("Planes", w.editorPlanes);
      SpinInt("##level number", ctl_.gotoLevel, 1, 255);
      ImGui::SameLine();
      if (Button("Go to level number"))
        guarded([this, c]() mutable { GoToLevel(c, ctl_.gotoLevel); });
      SpinInt("##episode number", ctl_.gotoEpisode, 1, 255);
      ImGui::SameLine();
      if (Button("Go to episode number"))
        guarded([this, c]() mutable { GoToEpisode(c, ctl_.gotoEpisode); });
      bool snow = w.snowActive == 1;
      if (CheckBox("snow enabled", &snow)) SetSnow(c, snow);
      for (const auto& [label, option] :
           {std::pair{"High quality water", EditorOption::kQualityTerrainTexture},
            std::pair{"Shadows from objects", EditorOption::kFourPipelines}}) {
        bool on = host_.Option(option);
        if (CheckBox(label, &on)) host_.SetOption(option, on);
      }
      SpinInt("Max number of shadows", w.maxShadows, 0, 255);
      ImGui::TextUnformatted("Landscape quality");
      for (int32_t q = 0; q < 6; ++q) {
        if (q % 3 != 0) ImGui::SameLine();
        if (Radio(kQualityNames[q], w.landscapeQuality == q)) w.landscapeQuality = q;
      }
      ImGui::Text("relative x : %.2f, z : %.2f", w.cameraPos.x, w.cameraPos.z);
      const TPoint m = renderer_.state.mouse;
      // The cursor in per cent of the main window.
      ImGui::Text("curposl x : %d, z : %d",
                  screenWidth_ > 0 ? static_cast<int>(100LL * m.x / screenWidth_) : 0,
                  screenHeight_ > 0 ? static_cast<int>(100LL * m.y / screenHeight_) : 0);
      ImGui::EndTabItem();
    }
    // ---- Map ----
    if (TabItem("Map")) {
      const ImVec2 origin = ImGui::GetCursorScreenPos();
      ImDrawList* draw = ImGui::GetWindowDrawList();
      const float side = static_cast<float>(kMapPanelSide);
      draw->AddRectFilled(origin, ImVec2(origin.x + side, origin.y + side),
                          IM_COL32(0, 0, 128, 255));
      ImGui::InvisibleButton("map", ImVec2(side, side));
      if (ImGui::IsItemClicked()) {
        const ImVec2 p = ImGui::GetMousePos();
        MapClick(c, TruncToInt(p.x - origin.x), TruncToInt(p.y - origin.y));
      }
      const MapMarker mk = MapMarkerRect(w);
      draw->AddRect(ImVec2(origin.x + mk.left, origin.y + mk.top),
                    ImVec2(origin.x + mk.left + std::max(mk.width, 2),
                           origin.y + mk.top + std::max(mk.height, 2)),
                    IM_COL32(255, 255, 255, 255));
      ImGui::EndTabItem();
    }
    // ---- Perfomance ----
    if (TabItem("Perfomance")) {
      uint8_t* switches = reinterpret_cast<uint8_t*>(&renderer_.state.switches);
      for (size_t k = 0; k < std::size(kSwitchNames); ++k) Check(kSwitchNames[k], switches[k]);
      ImGui::EndTabItem();
    }
    // ---- Statics ----
    if (TabItem("Statics")) {
      SpinInt("Brush:", ctl_.staticBrush, 1, 255);
      const std::string preview = EpisodeDirectory(w) + "Textures\\Main\\Terrain" +
                                  std::to_string(ctl_.staticBrush) + "\\terrain.qvt";
      const bool canCreate = PathExists(preview);
      ShowPreview(ui_->previews[0], preview);
      ImGui::SameLine();
      ImGui::BeginDisabled(!canCreate);
      if (Button("Create")) CreateStatic(c);
      ImGui::EndDisabled();
      int32_t number = ctl_.staticNumber;
      if (SpinInt("Static number", number, 1, kStaticSlots - 1)) SelectStatic(c, number);
      StaticRecord& s = w.statics[ctl_.staticNumber];
      ShowPreview(ui_->previews[1], EpisodeDirectory(w) + "Textures\\Main\\Terrain" +
                                        std::to_string(s.terrainKind) + "\\terrain.qvt");
      ImGui::SameLine();
      ImGui::BeginGroup();
      ImGui::Text("Alive : %s", s.alive == 1 ? "True" : "False");
      if (Button("Delete##static")) DeleteStatic(c);
      ImGui::EndGroup();
      double pos[3] = {s.posX, s.posY, s.posZ};
      int axis = 0;
      if (Spin3("Position X,Y,Z##static", pos[0], pos[1], pos[2], &axis)) {
        SetStaticPosition(c, axis, pos[axis]);
      }
      CheckBox("Trunc positions", &ctl_.truncPositions);
      ImGui::SameLine();
      ImGui::SetNextItemWidth(130);
      if (ImGui::InputDouble("##truncvalue", &ctl_.truncValue, 0.1))
        ctl_.truncValue = std::clamp(ctl_.truncValue, 0.0, 1.0);
      ImGui::Separator();
      int32_t objectNumber = ctl_.objectNumber;
      if (SpinInt("Object number", objectNumber, 1, kStaticObjectSlots - 1))
        SelectObject(c, objectNumber);
      StaticObjectRecord& o = s.objects[ctl_.objectNumber];
      ImGui::SameLine();
      ImGui::Text("Alive : %s", o.alive == 1 ? "True" : "False");
      int32_t kind = ctl_.objectKind;
      if (SpinInt("Object kind", kind, 1, 511)) SetObjectKind(c, kind);
      Spin3("Position X,Y,Z##object", o.posX, o.posY, o.posZ);
      Spin3("Rotation X,Y,Z##object", o.rotX, o.rotY, o.rotZ);
      if (Button("Add object")) AddObject(c);
      ImGui::SameLine();
      if (Button("Delete##object")) DeleteObject(c);
      ImGui::SameLine();
      if (Button("Randomize")) RandomizeObject(c);
      ImGui::InputDouble("Min distance", &ctl_.minDistance, 0.1);
      if (Button("Snap Y position")) SnapObjectY(c);
      ImGui::SameLine();
      if (Button("Snap X && Z rotation")) SnapObjectRotation(c);
      ImGui::SameLine();
      if (Button("<>")) {
        SnapObjectY(c);
        SnapObjectRotation(c);
      }
      if (Button("Clear")) {
        ui_->question = "Sure to clear all objects?";
        ui_->onYes = [this] {
          EditorContext cc = Context();
          ClearObjects(cc);
        };
      }
      if (Button("Delete all islands")) DeleteAllIslands(c);
      ImGui::SameLine();
      if (Button("Delete all units")) DeleteAllUnits(c);
      if (Button("Delete all bonuses")) DeleteAllBonuses(c);
      ImGui::EndTabItem();
    }
    // ---- Units ----
    if (TabItem("Units")) {
      SpinInt("Unit kind:##new", ctl_.newUnitKind, 1, 255);
      const std::string preview =
          w.appPath + "gdata\\bitmaps\\units\\unit" + std::to_string(ctl_.newUnitKind) + ".qvt";
      const bool canCreate = PathExists(preview);
      ShowPreview(ui_->previews[2], preview);
      ImGui::SameLine();
      ImGui::BeginDisabled(!canCreate);
      if (Button("Create##unit")) CreateUnit(c);
      ImGui::EndDisabled();
      ImGui::Separator();
      int32_t number = ctl_.unitNumber;
      if (SpinInt("Unit number:", number, 1, kUnitSlots - 1)) SelectUnit(c, number);
      UnitRecord& u = w.units[ctl_.unitNumber];
      ShowPreview(ui_->previews[3],
                  w.appPath + "gdata\\bitmaps\\units\\unit" + std::to_string(u.unitKind) + ".qvt");
      ImGui::SameLine();
      ImGui::BeginGroup();
      ImGui::Text("Alive : %s", u.alive == 1 ? "True" : "False");
      CheckBox("Auto update params", &ctl_.autoUpdate);
      ImGui::EndGroup();
      ImGui::BeginDisabled(u.alive != 1);
      if (Button("Delete##unit")) DeleteUnit(c);
      ImGui::SameLine();
      if (Button("Heal this unit")) HealUnit(c);
      ImGui::SameLine();
      if (Button("Clone this unit")) CloneUnit(c);
      if (Button("Randomize unit pok")) RandomizeUnitPok(c);
      ImGui::SameLine();
      if (Button("Load default params")) LoadDefaultParams(c);
      if (Button("Save as defaults")) SaveAsDefaults(c);
      ImGui::SameLine();
      if (Button("Set all to defaults")) SetAllToDefaults(c);
      Spin3("Position X,Y,Z##unit", u.posX, u.posY, u.posZ);
      Spin3("Rotation X,Y,Z##unit", u.rotX, u.rotY, u.rotZ);
      SpinDouble("Life:", u.life, 1.0, 0.0, 1e6);
      SpinDouble("Max Life:", u.maxLife, 1.0, 0.1, 1e6);
      Gauge(u.life, u.maxLife);
      int sinking = u.sinking == 1 ? 0 : 1;
      if (ImGui::Combo("Sinking : ", &sinking, "True\0False\0")) u.sinking = sinking == 0 ? 1 : 0;
      SpinInt("Unit kind:", u.unitKind, 1, 255);
      int ai = u.haveAI == 1 ? 0 : 1;
      if (ImGui::Combo("Have AI:", &ai, "True\0False\0")) u.haveAI = ai == 0 ? 1 : 0;
      SpinDouble("Kren:", u.kren, 1.0, 0.0, 1e6);
      SpinInt("Tag : ", u.tag, 0, 1'000'000);
      SpinDouble("Reload:", u.reload, 1.0, 0.0, 1e6);
      SpinDouble("Max reload:", u.maxReload, 1.0, 0.1, 1e6);
      Gauge(u.reload, u.maxReload);
      SpinDouble("Side Reload:", u.sideReload, 1.0, 0.0, 1e6);
      SpinDouble("Max side reload:", u.maxSideReload, 1.0, 0.1, 1e6);
      Gauge(u.sideReload, u.maxSideReload);
      SpinDouble("Mass:", u.mass, 1.0, 0.0, 1e6);
      SpinDouble("Radius:", u.radius, 0.1, 0.0, 1e6);
      SpinDouble("Reload speed:", u.reloadSpeed, 0.001, 0.0, 1e6);
      SpinDouble("Side reload spd:", u.sideReloadSpeed, 0.001, 0.0, 1e6);
      SpinDouble("Acceleration:", u.acceleration, 1e-7, 0.0, 1e4);
      SpinDouble("Rotate speed:", u.rotateSpeed, 1e-7, 0.0, 1e4);
      SpinDouble("Power:", u.power, 1.0, 0.0, 1e6);
      SpinDouble("Max power:", u.maxPower, 1.0, 0.1, 1e6);
      Gauge(u.power, u.maxPower);
      SpinDouble("Side Power:", u.sidePower, 1.0, 0.0, 1e6);
      SpinDouble("Max side power:", u.maxSidePower, 1.0, 0.1, 1e6);
      Gauge(u.sidePower, u.maxSidePower);
      SpinDouble("Power speed:", u.powerSpeed, 0.001, 0.0, 1e6);
      SpinDouble("Side Power speed:", u.sidePowerSpeed, 0.001, 0.0, 1e6);
      ImGui::EndDisabled();
      ImGui::EndTabItem();
    }
    // ---- Triggers ----
    if (TabItem("Triggers")) {
      SpinInt("Trigger kind:##new", ctl_.newTriggerKind, 1, 255);
      const std::string preview = w.appPath + "gdata\\bitmaps\\triggers\\bonus" +
                                  std::to_string(ctl_.newTriggerKind) + ".qvt";
      const bool canCreate = PathExists(preview);
      ShowPreview(ui_->previews[4], preview);
      ImGui::SameLine();
      ImGui::BeginDisabled(!canCreate);
      if (Button("Create##trigger")) CreateTrigger(c);
      ImGui::EndDisabled();
      ImGui::SameLine();
      CheckBox("Trunc", &ctl_.triggerTrunc);
      ImGui::Separator();
      int32_t number = ctl_.triggerNumber;
      if (SpinInt("Trigger number:", number, 1, kBonusSlots - 1)) SelectTrigger(c, number);
      BonusRecord& b = w.bonuses[ctl_.triggerNumber];
      ShowPreview(ui_->previews[5],
                  w.appPath + "gdata\\bitmaps\\triggers\\bonus" + std::to_string(b.kind) + ".qvt");
      ImGui::SameLine();
      ImGui::Text("Alive : %s", b.alive == 1 ? "True" : "False");
      Spin3("Position X,Y,Z##trigger", b.posX, b.posY, b.posZ);
      SpinInt("Trigger kind:", b.kind, 1, 255);
      SpinDouble("Radius:##trigger", b.radius, 0.1, 0.0, 1e6);
      SpinInt("Tag:", b.tag, 0, 1'000'000);
      ImGui::BeginDisabled(b.alive != 1);
      if (Button("Delete##trigger")) DeleteTrigger(c);
      ImGui::EndDisabled();
      if (ui_->hintFor != ctl_.triggerNumber || ui_->hintTag != b.tag + 1000 * b.kind) {
        ui_->hintFor = ctl_.triggerNumber;
        ui_->hintTag = b.tag + 1000 * b.kind;
        ui_->hintText = TriggerHintText(w, ctl_.triggerNumber);
      }
      ImGui::TextWrapped("%s", ui_->hintText.c_str());
      ImGui::EndTabItem();
    }
    ImGui::EndTabBar();
  }

  if (!ui_->question.empty()) ImGui::OpenPopup("question");
  ImGui::SetNextWindowPos(ImVec2(20, 380));
  if (ImGui::BeginPopupModal("question", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    ImGui::TextUnformatted(ui_->question.c_str());
    const bool yes = Button("Yes");
    ImGui::SameLine();
    const bool no = Button("No");
    if (yes || no) {
      if (yes && ui_->onYes) ui_->onYes();
      ui_->question.clear();
      ui_->onYes = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  ImGui::PopItemWidth();
  ImGui::End();
}

}  // namespace skerrow
