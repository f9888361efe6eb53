// Fuzz target: play steps over a world patched with arbitrary bytes, as a hostile level, unit,
// bonus or kind file or a save game would leave it; each step is followed by the world writes
// of its frame, and the input may ask for the enemy, trigger and projectile updates on every
// step, editor-view steps, and drawn frames (play, editor view, menu) on an offscreen GL
// context. Input: steps (1 byte), held keys (4 bytes, bit vk % 32), flags (1 byte, below),
// then patches (fuzz_world.h).
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "enemies/editor_view.h"
#include "enemies/enemy_behaviour.h"
#include "enemies/projectiles.h"
#include "enemies/triggers.h"
#include "engine/ktzgl.h"
#include "engine/model.h"
#include "fuzz_world.h"
#include "gui/interface.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "render/frame_world.h"
#include "render/renderer.h"
#include "simulation/play_host.h"
#include "simulation/play_update.h"
#include "world/world_state.h"

namespace {

using namespace skerrow;

// Bits of the flag byte. Drawing is what costs: the fuzzer asks for it on part of its inputs.
enum Flag : uint8_t {
  kDrawPlay = 1,       // one play frame after the steps
  kEditorView = 2,     // two editor-view steps (arrows and Shift from the keys), then its frame
  kMenu = 4,           // a menu step and the menu frame of the world's menu screen
  kDirectUpdates = 8,  // enemy, trigger and projectile updates after every play step
  kOpenWindows = 16,   // the in-game menu and the hint window open over the frames
  kQualityShift = 5,   // bits 5..7: the floor renderer (modulo 6)
};

constexpr int kFrameWidth = 160;
constexpr int kFrameHeight = 120;

class FuzzHost : public PlayHost {
 public:
  uint32_t keys = 0;
  bool KeyDown(int vk) override { return ((keys >> (static_cast<uint32_t>(vk) % 32)) & 1) != 0; }
};

// The drawing side, made once per process: a small offscreen window and the renderer with one
// square model for the first ships, pieces and objects. The renderer's state and the
// interface drawn over the frames start afresh for every input.
struct Graphics {
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<Renderer> renderer = std::make_unique<Renderer>();
  std::unique_ptr<RenderState> freshState;
  std::unique_ptr<TInterface> ui;
  MenuHost menuHost;

  void Open(WorldState& w) {
    auto opened = platform::CreateSdlWindow();
    platform::DisplayConfig config;
    config.width = kFrameWidth;
    config.height = kFrameHeight;
    config.headless = true;
    if (!opened->Open(config) || !opened->HasGL()) return;
    window = std::move(opened);
    GameResources& res = renderer->resources;
    res.scene = std::make_unique<TKTZGL_Scene>();
    res.scene->InitGL(*window, kFrameWidth, kFrameHeight, 0.1, 50.0);
    StartRenderer(w, *renderer, {});
    const uint32_t list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    glVertex3f(-200, -200, 100);
    glVertex3f(200, -200, 100);
    glVertex3f(200, 200, 100);
    glVertex3f(-200, 200, 100);
    glEnd();
    glEndList();
    auto square = [list] {
      auto m = std::make_unique<TKTZGL_Model>();
      m->ModelList = list;
      return m;
    };
    for (int32_t k = 1; k <= 16; ++k) {
      res.shipModels[k][0] = square();
      res.shipModels[k][1] = square();
    }
    for (int32_t k = 1; k <= 4; ++k) {
      res.models[k] = square();
      res.objectModels[k] = square();
      res.objectShadowModels[k] = square();
    }
    res.propeller = square();
    res.rocket = square();
    res.mine = square();
    freshState = std::make_unique<RenderState>(renderer->state);
  }
  // A fresh renderer state and interface over `w`.
  TInterface& Restart(WorldState& w) {
    renderer->state = *freshState;
    ui = std::make_unique<TInterface>();
    BuildInterface(*ui, w, menuHost, 0, 0, true);
    renderer->state.drawGuiWindows = [this] { DrawInterfaceWindows(*ui); };
    return *ui;
  }
};

struct Fixture {
  std::unique_ptr<WorldState> world = std::make_unique<WorldState>();
  std::unique_ptr<SavedState> saved = std::make_unique<SavedState>();
  KindTable kinds;
  OneBased<UnitRecord, kHeroCount> heroes;
  Graphics graphics;
  Fixture() {
    // Missing textures and the font would only flood the log.
    platform::SetMessageHandler([](const std::string&, const std::string&) {});
    fuzz::BuildBase(*world);
    graphics.Open(*world);
    *saved = *world;
    kinds = world->kindTable;
    heroes = world->heroDefaults;
  }
  // Back to the base world: the saved block, the tables beside it and the scalars a step moves.
  WorldState& Reset() {
    WorldState& w = *world;
    static_cast<SavedState&>(w) = *saved;
    w.kindTable = kinds;
    w.heroDefaults = heroes;
    w.levelSize = 400;
    w.frameCounter = w.lagAccumulator = w.lastLagCount = 0;
    w.aiPhase = 0;
    w.terrainAnimPhase = w.wavePhase = w.respawnY = 0;
    w.waterShiftX = w.waterShiftZ = w.wakeDirection = 0;
    w.pickupFlash = w.pickupFlashLevel = w.flashScale = w.hudAnimFrame = w.radarAlpha = 0;
    w.radarContacts = 0;
    w.hoverName.clear();
    w.landscapeQuality = 0;
    w.heightBrush = 0;
    w.mouseWorldPos = {};
    w.mouseLeftHeld = w.mouseRightHeld = w.mouseMiddleHeld = 0;
    SharedRandom().Seed(1);
    return w;
  }
};

// Two editor-view steps: the player's unit driven by the arrow keys, the brush, the cursor and
// the host taken from the held keys.
void RunEditorView(WorldState& w, FuzzHost& host) {
  EditorViewInput in;
  in.selectedUnit = w.playerUnit;
  in.modifyTerrain = host.KeyDown(0);
  in.left = host.KeyDown(37);
  in.up = host.KeyDown(38);
  in.right = host.KeyDown(39);
  in.down = host.KeyDown(40);
  in.shift = host.KeyDown(16);
  in.cursorX = static_cast<int32_t>(host.keys % 200) - 20;
  in.cursorY = static_cast<int32_t>((host.keys >> 8) % 160) - 20;
  in.screenWidth = kFrameWidth;
  in.screenHeight = kFrameHeight;
  // Held key 3: the projectiles' sounds go to the host; otherwise the step runs silent.
  in.host = host.KeyDown(3) ? &host : nullptr;
  w.heightBrush = static_cast<int32_t>(host.keys >> 24) % 7;
  w.mouseLeftHeld = host.KeyDown(1) ? 1 : 0;
  w.mouseRightHeld = host.KeyDown(2) ? 1 : 0;
  w.mouseMiddleHeld = host.KeyDown(4) ? 1 : 0;
  for (int i = 0; i < 2; ++i) UpdateEditorView(w, in);
}

void DrawFrames(Fixture& f, WorldState& w, uint8_t flags) {
  Graphics& g = f.graphics;
  if (!g.window || (flags & (kDrawPlay | kEditorView | kMenu)) == 0) return;
  Renderer& r = *g.renderer;
  TInterface& ui = g.Restart(w);
  w.landscapeQuality = (flags >> kQualityShift) % 6;
  if (flags & kOpenWindows) {
    OpenInGameMenu(ui);
    ui.gui.windows.hintWindow.visible = 1;
    SetHintLine(ui, 1, std::string(w.playerName.View()));
    SetHintLine(ui, 2, std::string(w.shipName.View()));
  }
  glDepthFunc(GL_LEQUAL);
  if (flags & kDrawPlay) DrawPlayFrame(w, r);
  if (flags & kEditorView) DrawEditorViewFrame(w, r);
  if (flags & kMenu) {
    MenuStep(ui);
    MenuFrame(ui, r);
  }
  glFinish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture* fixture = new Fixture;
  if (size < 6) return 0;
  WorldState& w = fixture->Reset();
  FuzzHost host;
  const int steps = 1 + data[0] % 12;
  std::memcpy(&host.keys, data + 1, 4);
  const uint8_t flags = data[5];
  size_t at = 6;
  fuzz::Patch patch;
  while (fuzz::NextPatch(data, size, at, patch)) fuzz::ApplyPatch(w, patch);
  // The frame's drawing needs a display; what it writes into the world does not.
  static FireColours* fires = new FireColours;
  for (int i = 0; i < steps; ++i) {
    PlayUpdate(w, host);
    if (flags & kDirectUpdates) {
      UpdateEnemyBehaviour(w, host);
      UpdateTriggers(w, host);
      UpdateProjectiles(w, host);
    }
    ApplyFrameWorldWrites(w, FrameWorldPasses{}, *fires);
  }
  if (flags & kEditorView) RunEditorView(w, host);
  DrawFrames(*fixture, w, flags);
  return 0;
}
