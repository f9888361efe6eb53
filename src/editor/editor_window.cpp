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
#include <deque>
#include <functional>

#include "editor/editor_store.h"
#include "engine/textures.h"
#include "platform/numeric.h"
#include "platform/paths.h"
#include "platform/sdl/raw_events.h"
#include "render/renderer.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr int kWindowWidth = 347;
constexpr int kWindowHeight = 818;
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

// Spins over packed record fields: a copy is edited, the field written when it changed.
template <typename T>
bool SpinDouble(const char* label, T& field, double step = 0.1, double lo = -1e9, double hi = 1e9) {
  double v = field;
  if (!ImGui::InputDouble(label, &v, step, step * 10, "%.4f")) return false;
  field = static_cast<T>(std::clamp(v, lo, hi));
  return true;
}
template <typename T>
bool SpinInt(const char* label, T& field, int lo, int hi) {
  int v = static_cast<int>(field);
  if (!ImGui::InputInt(label, &v)) return false;
  field = static_cast<T>(std::clamp(v, lo, hi));
  return true;
}
bool Check(const char* label, uint8_t& byte) {
  bool v = byte == 1;
  if (!ImGui::Checkbox(label, &v)) return false;
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
  if (!ImGui::InputText(label, buffer, sizeof buffer)) return false;
  text = buffer;
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

// Shows the picture `file` (a game path) at 96 x 96, loaded when the name changes; a missing
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
    ImGui::Image(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(slot.texture)), ImVec2(96, 96),
                 ImVec2(0, 1), ImVec2(1, 0));
  } else {
    ImGui::Dummy(ImVec2(96, 96));
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
  };
  std::deque<Click> clicks;  // scripted clicks still to make
  int busyFrames = 0;        // frames still drawn at once after an event of the window
  uint32_t lastDrawMs = 0;
  uint64_t shownHash = 0;  // of the draw lists last presented
  bool markClean = false;  // a save or load this frame: clean once the frame's step is closed
  // Preview pictures: the new static, unit and trigger kinds and the selected ones.
  struct Preview {
    std::string file;
    uint32_t texture = 0;
  };
  Preview previews[6];
  int clickPhase = 0;  // 0 move, 1 press, 2 release
};

TEditform::TEditform(WorldState& w, Renderer& renderer, EditorHost& host)
    : w_(w), renderer_(renderer), host_(host) {}

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
      int gx = 0, gy = 0, gw = 0;
      SDL_GetWindowPosition(game, &gx, &gy);
      SDL_GetWindowSize(game, &gw, nullptr);
      ui_->window = SDL_CreateWindow("Editor", gx + gw + 8, gy, kWindowWidth, kWindowHeight,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_ALWAYS_ON_TOP);
    }
    if (ui_->window != nullptr) {
      ui_->windowId = SDL_GetWindowID(ui_->window);
      ImGuiContext* previous = ImGui::GetCurrentContext();
      ui_->imgui = ImGui::CreateContext();
      ImGui::SetCurrentContext(ui_->imgui);
      ImGui::GetIO().IniFilename = nullptr;  // the layout is fixed: no imgui.ini
      ImGui::StyleColorsClassic();
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
  if (ui_) ui_->clicks.push_back({x, y});
}

void TEditform::Undo() {
  EditorContext c = Context();
  EditorUndo(c);
}

void TEditform::Redo() {
  EditorContext c = Context();
  EditorRedo(c);
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
  if (!ui_->clicks.empty()) {
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
  DrawControls();
  // Closed every frame: between two frames the game's own steps run, and their changes must
  // not join an editor step.
  if (frameStepOpen_) {
    undo_.Close(w_);
    frameStepOpen_ = false;
  }
  if (ui_->markClean && !frameStepOpen_) {
    undo_.MarkClean();
    ui_->markClean = false;
  }
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

  const std::string title = undo_.Modified() ? "Editor - modified" : "Editor";
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

  // Asks before an action that would load over unsaved changes.
  auto guarded = [this](std::function<void()> action) {
    if (undo_.Modified()) {
      ui_->question = "The level has unsaved changes. Load anyway?";
      ui_->onYes = std::move(action);
    } else {
      action();
    }
  };

  // ---- Outside the tabs ----
  ImGui::TextUnformatted("Mode:");
  ImGui::SameLine();
  int mode = w.GameMode == game_mode::kEditorView ? 1 : 0;
  if (ImGui::RadioButton("Game", mode == 0)) SetEditorMode(c, 0);
  ImGui::SameLine();
  if (ImGui::RadioButton("Editor", mode == 1)) SetEditorMode(c, 1);
  ImGui::TextUnformatted("Brush type:");
  ImGui::Columns(3, nullptr, false);
  for (int32_t k = 0; k < kBrushTypeCount; ++k) {
    if (ImGui::RadioButton(kBrushTypeNames[k], static_cast<int32_t>(ctl_.brushType) == k))
      ctl_.brushType = static_cast<BrushType>(k);
    ImGui::NextColumn();
  }
  ImGui::Columns(1);
  SpinInt("Speed :", w.gameSpeed, 1, 100);
  SpinInt("Height Brush:", w.heightBrush, 1, 5);
  ImGui::Text("FPS : %d", fps_);
  ImGui::SameLine(180);
  ImGui::Text("Level size : %d", w.levelSize);
  ImGui::Text("Undo: %zu  Redo: %zu", undo_.UndoCount(), undo_.RedoCount());
  ImGui::SameLine();
  if (ImGui::SmallButton("Undo")) Undo();
  ImGui::SameLine();
  if (ImGui::SmallButton("Redo")) Redo();

  if (ImGui::BeginTabBar("tabs")) {
    // ---- General ----
    if (ImGui::BeginTabItem("General")) {
      FileBox("##level", ctl_.levelFile);
      ImGui::SameLine();
      if (ImGui::Button("Save level") && EditorSaveLevel(c, ctl_.levelFile)) ui_->markClean = true;
      ImGui::SameLine();
      if (ImGui::Button("Load level")) {
        guarded([this, c]() mutable {
          if (EditorLoadLevel(c, ctl_.levelFile)) ui_->markClean = true;
        });
      }
      FileBox("##bitmap", ctl_.bitmapFile);
      if (ImGui::Button("Load landscape")) EditorLoadLandscape(c, ctl_.bitmapFile);
      ImGui::SameLine();
      if (ImGui::Button("Save landscape")) EditorSaveLandscape(c, ctl_.bitmapFile);
      ImGui::SameLine();
      if (ImGui::Button("Load colors")) EditorLoadColors(c, ctl_.bitmapFile);
      if (ImGui::Button("Write collisions")) WriteCollisions(c, ctl_.bitmapFile);
      FileBox("##units", ctl_.unitsFile);
      ImGui::SameLine();
      if (ImGui::Button("Save units") && EditorSaveUnits(c, ctl_.unitsFile)) ui_->markClean = true;
      ImGui::SameLine();
      if (ImGui::Button("Load units")) {
        guarded([this, c]() mutable {
          if (EditorLoadUnits(c, ctl_.unitsFile)) ui_->markClean = true;
        });
      }
      FileBox("##bonuses", ctl_.bonusesFile);
      ImGui::SameLine();
      if (ImGui::Button("Save bonuses") && EditorSaveBonuses(c, ctl_.bonusesFile))
        ui_->markClean = true;
      ImGui::SameLine();
      if (ImGui::Button("Load bonuses")) {
        guarded([this, c]() mutable {
          if (EditorLoadBonuses(c, ctl_.bonusesFile)) ui_->markClean = true;
        });
      }
      int32_t player = w.playerUnit;
      if (SpinInt("Playership :", player, 1, 255)) SetPlayerShip(c, player);
      int32_t camera = w.cameraNumber;
      if (SpinInt("Camera:", camera, 1, 10)) SetCameraNumber(c, camera);
      Check("Planes", w.editorPlanes);
      SpinInt("##level number", ctl_.gotoLevel, 1, 255);
      ImGui::SameLine();
      if (ImGui::Button("Go to level number"))
        guarded([this, c]() mutable { GoToLevel(c, ctl_.gotoLevel); });
      SpinInt("##episode number", ctl_.gotoEpisode, 1, 255);
      ImGui::SameLine();
      if (ImGui::Button("Go to episode number"))
        guarded([this, c]() mutable { GoToEpisode(c, ctl_.gotoEpisode); });
      bool snow = w.snowActive == 1;
      if (ImGui::Checkbox("snow enabled", &snow)) SetSnow(c, snow);
      for (const auto& [label, option] :
           {std::pair{"High quality water", EditorOption::kQualityTerrainTexture},
            std::pair{"Shadows from objects", EditorOption::kFourPipelines}}) {
        bool on = host_.Option(option);
        if (ImGui::Checkbox(label, &on)) host_.SetOption(option, on);
      }
      SpinInt("Max number of shadows", w.maxShadows, 0, 255);
      ImGui::TextUnformatted("Landscape quality");
      for (int32_t q = 0; q < 6; ++q) {
        if (q % 3 != 0) ImGui::SameLine();
        if (ImGui::RadioButton(kQualityNames[q], w.landscapeQuality == q)) w.landscapeQuality = q;
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
    if (ImGui::BeginTabItem("Map")) {
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
    if (ImGui::BeginTabItem("Perfomance")) {
      uint8_t* switches = reinterpret_cast<uint8_t*>(&renderer_.state.switches);
      for (size_t k = 0; k < std::size(kSwitchNames); ++k) Check(kSwitchNames[k], switches[k]);
      ImGui::EndTabItem();
    }
    // ---- Statics ----
    if (ImGui::BeginTabItem("Statics")) {
      SpinInt("Brush:", ctl_.staticBrush, 1, 255);
      const std::string preview = EpisodeDirectory(w) + "Textures\\Main\\Terrain" +
                                  std::to_string(ctl_.staticBrush) + "\\terrain.qvt";
      const bool canCreate = PathExists(preview);
      ShowPreview(ui_->previews[0], preview);
      ImGui::SameLine();
      ImGui::BeginDisabled(!canCreate);
      if (ImGui::Button("Create")) CreateStatic(c);
      ImGui::EndDisabled();
      int32_t number = ctl_.staticNumber;
      if (SpinInt("Static number", number, 1, kStaticSlots - 1)) SelectStatic(c, number);
      StaticRecord& s = w.statics[ctl_.staticNumber];
      ShowPreview(ui_->previews[1], EpisodeDirectory(w) + "Textures\\Main\\Terrain" +
                                        std::to_string(s.terrainKind) + "\\terrain.qvt");
      ImGui::Text("Alive : %s", s.alive == 1 ? "True" : "False");
      ImGui::SameLine();
      if (ImGui::Button("Delete##static")) DeleteStatic(c);
      ImGui::TextUnformatted("Position : X,Y,Z.");
      const double pos[3] = {s.posX, s.posY, s.posZ};
      for (int32_t axis = 0; axis < 3; ++axis) {
        double v = pos[axis];
        const char* labels[3] = {"X##static", "Y##static", "Z##static"};
        if (ImGui::InputDouble(labels[axis], &v, 0.1, 1.0, "%.4f")) SetStaticPosition(c, axis, v);
      }
      ImGui::Checkbox("Trunc positions", &ctl_.truncPositions);
      ImGui::SameLine();
      ImGui::SetNextItemWidth(80);
      if (ImGui::InputDouble("##truncvalue", &ctl_.truncValue, 0.1))
        ctl_.truncValue = std::clamp(ctl_.truncValue, 0.0, 1.0);
      ImGui::Separator();
      SpinInt("Object number", ctl_.objectNumber, 1, kStaticObjectSlots - 1);
      SpinInt("Object kind", ctl_.objectKind, 1, 511);
      StaticObjectRecord& o = s.objects[ctl_.objectNumber];
      ImGui::Text("Alive : %s", o.alive == 1 ? "True" : "False");
      int32_t kind = o.objectKind;
      if (SpinInt("Kind##object", kind, 0, 511)) o.objectKind = kind;
      ImGui::TextUnformatted("Position : X,Y,Z.");
      SpinDouble("X##object", o.posX);
      SpinDouble("Y##object", o.posY);
      SpinDouble("Z##object", o.posZ);
      ImGui::TextUnformatted("Rotation : X,Y,Z.");
      SpinDouble("X##objrot", o.rotX);
      SpinDouble("Y##objrot", o.rotY);
      SpinDouble("Z##objrot", o.rotZ);
      if (ImGui::Button("Add object")) AddObject(c);
      ImGui::SameLine();
      if (ImGui::Button("Delete##object")) DeleteObject(c);
      ImGui::SameLine();
      if (ImGui::Button("Randomize")) RandomizeObject(c);
      ImGui::InputDouble("Min distance", &ctl_.minDistance, 0.1);
      if (ImGui::Button("Snap Y position")) SnapObjectY(c);
      ImGui::SameLine();
      if (ImGui::Button("Snap X && Z rotation")) SnapObjectRotation(c);
      ImGui::SameLine();
      if (ImGui::Button("<>")) {
        SnapObjectY(c);
        SnapObjectRotation(c);
      }
      if (ImGui::Button("Clear")) {
        ui_->question = "Sure to clear all objects?";
        ui_->onYes = [this] {
          EditorContext cc = Context();
          ClearObjects(cc);
        };
      }
      if (ImGui::Button("Delete all islands")) DeleteAllIslands(c);
      ImGui::SameLine();
      if (ImGui::Button("Delete all units")) DeleteAllUnits(c);
      if (ImGui::Button("Delete all bonuses")) DeleteAllBonuses(c);
      ImGui::EndTabItem();
    }
    // ---- Units ----
    if (ImGui::BeginTabItem("Units")) {
      SpinInt("Unit kind:##new", ctl_.newUnitKind, 1, 255);
      const std::string preview =
          w.appPath + "gdata\\bitmaps\\units\\unit" + std::to_string(ctl_.newUnitKind) + ".qvt";
      const bool canCreate = PathExists(preview);
      ShowPreview(ui_->previews[2], preview);
      ImGui::SameLine();
      ImGui::BeginDisabled(!canCreate);
      if (ImGui::Button("Create##unit")) CreateUnit(c);
      ImGui::EndDisabled();
      ImGui::Separator();
      int32_t number = ctl_.unitNumber;
      if (SpinInt("Unit number:", number, 1, kUnitSlots - 1)) SelectUnit(c, number);
      UnitRecord& u = w.units[ctl_.unitNumber];
      ShowPreview(ui_->previews[3],
                  w.appPath + "gdata\\bitmaps\\units\\unit" + std::to_string(u.unitKind) + ".qvt");
      ImGui::Text("Alive : %s", u.alive == 1 ? "True" : "False");
      ImGui::Checkbox("Auto update params", &ctl_.autoUpdate);
      ImGui::BeginDisabled(u.alive != 1);
      if (ImGui::Button("Delete##unit")) DeleteUnit(c);
      ImGui::SameLine();
      if (ImGui::Button("Heal this unit")) HealUnit(c);
      ImGui::SameLine();
      if (ImGui::Button("Clone this unit")) CloneUnit(c);
      if (ImGui::Button("Randomize unit pok")) RandomizeUnitPok(c);
      ImGui::SameLine();
      if (ImGui::Button("Load default params")) LoadDefaultParams(c);
      if (ImGui::Button("Save as defaults")) SaveAsDefaults(c);
      ImGui::SameLine();
      if (ImGui::Button("Set all to defaults")) SetAllToDefaults(c);
      ImGui::TextUnformatted("Position:");
      SpinDouble("X##unit", u.posX);
      SpinDouble("Y##unit", u.posY);
      SpinDouble("Z##unit", u.posZ);
      ImGui::TextUnformatted("Rotation:");
      SpinDouble("X##unitrot", u.rotX);
      SpinDouble("Y##unitrot", u.rotY);
      SpinDouble("Z##unitrot", u.rotZ);
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
    if (ImGui::BeginTabItem("Triggers")) {
      SpinInt("Trigger kind:##new", ctl_.newTriggerKind, 1, 255);
      const std::string preview = w.appPath + "gdata\\bitmaps\\triggers\\bonus" +
                                  std::to_string(ctl_.newTriggerKind) + ".qvt";
      const bool canCreate = PathExists(preview);
      ShowPreview(ui_->previews[4], preview);
      ImGui::SameLine();
      ImGui::BeginDisabled(!canCreate);
      if (ImGui::Button("Create##trigger")) CreateTrigger(c);
      ImGui::EndDisabled();
      ImGui::SameLine();
      ImGui::Checkbox("Trunc", &ctl_.triggerTrunc);
      ImGui::Separator();
      int32_t number = ctl_.triggerNumber;
      if (SpinInt("Trigger number:", number, 1, kBonusSlots - 1)) SelectTrigger(c, number);
      BonusRecord& b = w.bonuses[ctl_.triggerNumber];
      ShowPreview(ui_->previews[5],
                  w.appPath + "gdata\\bitmaps\\triggers\\bonus" + std::to_string(b.kind) + ".qvt");
      ImGui::Text("Alive : %s", b.alive == 1 ? "True" : "False");
      ImGui::TextUnformatted("Position:");
      SpinDouble("X##trigger", b.posX);
      SpinDouble("Y##trigger", b.posY);
      SpinDouble("Z##trigger", b.posZ);
      SpinInt("Trigger kind:", b.kind, 1, 255);
      SpinDouble("Radius:##trigger", b.radius, 0.1, 0.0, 1e6);
      SpinInt("Tag:", b.tag, 0, 1'000'000);
      ImGui::BeginDisabled(b.alive != 1);
      if (ImGui::Button("Delete##trigger")) DeleteTrigger(c);
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
    const bool yes = ImGui::Button("Yes");
    ImGui::SameLine();
    const bool no = ImGui::Button("No");
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
