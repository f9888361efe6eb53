// TSkerrowForm: start-up sequence, idle loop, timers, input handlers and the exit actions of
// the headless harness.
#include "shell/skerrow_form.h"

#include <GL/gl.h>

#include <algorithm>
#include <cfenv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <numeric>
#include <thread>

#include "audio/audio_device.h"
#include "audio/sound_effects.h"
#include "editor/editor_window.h"
#include "enemies/editor_view.h"
#include "engine/ktzgl.h"
#include "engine/picture.h"
#include "gui/interface.h"
#include "platform/file_read.h"
#include "platform/heap_count.h"
#include "platform/media.h"
#include "platform/messages.h"
#include "platform/notices.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/vk_codes.h"
#include "render/fill_bench.h"
#include "render/frame.h"
#include "render/frame_capture.h"
#include "render/game_resources.h"
#include "render/renderer.h"
#include "render/water.h"
#include "shell/bench_battle.h"
#include "shell/bench_busy.h"
#include "shell/form_editor_host.h"
#include "shell/form_interface.h"
#include "shell/form_play_host.h"
#include "shell/input.h"
#include "shell/level_host.h"
#include "shell/music_tracks.h"
#include "simulation/play_update.h"
#include "world/raw_io.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

namespace {

constexpr int32_t kStartupTimerMs = 205;
constexpr int32_t kFpsTimerMs = 1000;
// A script of a few hundred thousand events; a longer file is not read (200 MB took 1.1 GB).
constexpr size_t kMaxInputScriptBytes = size_t{16} << 20;

double NowUs() {
  using namespace std::chrono;
  return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

}  // namespace

TSkerrowForm::TSkerrowForm(const CommandLine& options, std::unique_ptr<platform::Window> window)
    : options_(options), world_(std::make_unique<WorldState>()), window_(std::move(window)) {
  if (!window_) window_ = platform::CreateSdlWindow();
  dtimer_ = timers_.Add(1, [this](int32_t e) { dtimerTimer(e); });
  timer_ = timers_.Add(kStartupTimerMs, [this](int32_t) { TimerTimer(); });
  fpsTimer_ = timers_.Add(kFpsTimerMs, [this](int32_t) { FPStimerTimer(); });
  // Until LoadResources builds the windows they are empty and hidden: input handlers that run
  // before start-up find nothing to press.
  interface_ = std::make_unique<TInterface>();
  menuHost_ = std::make_unique<FormMenuHost>(*this);
  interface_->world = world_.get();
  interface_->host = menuHost_.get();
  // SKERROW_BENCH_BUSY=1 with --bench: the busy scene of the effects benchmark (README,
  // Performance); never in a run without --bench.
  benchBusy_ = options_.bench && BenchBusyRequested(std::getenv("SKERROW_BENCH_BUSY"));
  // SKERROW_BENCH_BATTLE=1 with --bench: the battle scene (bench_battle.h).
  benchBattle_ = options_.bench && BenchBattleRequested(std::getenv("SKERROW_BENCH_BATTLE"));
}

TSkerrowForm::~TSkerrowForm() = default;

GameResources& TSkerrowForm::Resources() {
  return renderer_->resources;
}

void TSkerrowForm::dtimerTimer(int32_t elapsed) {
  if (ticksSinceStartup_ >= 0) {
    ++ticksSinceStartup_;
    DeliverScriptedInput();
  }
  MainLoopTick(*world_, elapsed, *this);
  ReportSaveFailure();
  if (options_.ticks >= 0 && ticksSinceStartup_ >= options_.ticks) quit_ = true;
}

void TSkerrowForm::ReportSaveFailure() {
  if (std::string failure = slotWriter_.TakeFailure(); !failure.empty()) {
    platform::ReportFailure(platform::Failure::kSave, failure);
  }
}

void TSkerrowForm::FPStimerTimer() {
  WorldState& w = *world_;
  // A track at its end: the menu repeats the prelude, play draws the next of the rotation.
  if (musicPlayer_ && musicPlayer_->Ended()) {
    const std::string next = TrackAfterEnd(w.GameMode, w.episode, SharedRandom());
    if (!next.empty()) musicPlayer_->Play(w.appPath + next);
    musicPlayer_->SetVolume(settings_.t_musicvolume);
  }
  if (editor_) editor_->SetFps(w.frameCounter);
  w.frameCounter = 0;
}

void TSkerrowForm::UpdateDispatch() {
  double t0 = options_.bench ? NowUs() : 0.0;
  WorldState& w = *world_;
  switch (w.GameMode) {
    case game_mode::kMenu:
      MenuStep(*interface_);
      break;
    case game_mode::kPlay: {
      FormPlayHost host(*this);
      // The renderer's wave field moves with the step, before it (the step's own first
      // sub-step, the listener, reads nothing of it).
      AnimateWaterForPlayStep(w, renderer_->state);
      if (benchBusy_) {
        // The right battery's key, through the same handlers as scripted input.
        constexpr int kVkD = kVkA + ('D' - 'A');
        const bool down = BenchBusyFireKey(benchBusyStep_);
        ReloadBatteriesForBench(w);
        scriptKeys_.SetDown(kVkD, down);
        if (down) {
          OnKeyDown(kVkD, 0);
        } else {
          OnKeyUp(kVkD, 0);
        }
      }
      if (benchBattle_) StageBattleStep();
      PlayUpdate(w, host);
      if (benchBusy_) FillParticlesForBench(w, benchBusyStep_++);
      break;
    }
    case game_mode::kEditorView:
      EditorViewStep();
      break;
    default:
      break;
  }
  if (options_.bench) stepUs_.push_back(NowUs() - t0);
}

void TSkerrowForm::StageBattleStep() {
  // The hints pause play until their button is pressed: the scene presses it at once.
  if (interface_->gui.windows.hintWindow.visible == 1) CloseHintWindow();
  StageBattleForBench(*world_, benchBattleStep_);
  // The fire keys, through the same handlers as scripted input.
  const BattleKeys keys = BenchBattleKeys(benchBattleStep_);
  const std::pair<int, bool> held[] = {{kVkA + ('W' - 'A'), keys.bowGun},
                                       {kVkA + ('D' - 'A'), keys.rightBattery},
                                       {kVkA, keys.leftBattery}};
  for (const auto& [vk, down] : held) {
    scriptKeys_.SetDown(vk, down);
    if (down) {
      OnKeyDown(vk, 0);
    } else {
      OnKeyUp(vk, 0);
    }
  }
  ++benchBattleStep_;
}

void TSkerrowForm::DrawModeFrame() {
  WorldState& w = *world_;
  glDepthFunc(GL_LEQUAL);
  switch (w.GameMode) {
    case game_mode::kMenu:
      MenuFrame(*interface_, *renderer_);
      break;
    case game_mode::kPlay:
      DrawPlayFrame(w, *renderer_);
      break;
    case game_mode::kEditorView:
      DrawEditorViewFrame(w, *renderer_);
      break;
    default:
      break;
  }
}

void TSkerrowForm::RenderDispatch() {
  double t0 = options_.bench ? NowUs() : 0.0;
  const double cpu0 = options_.bench ? platform::ThreadCpuMicroseconds() : 0.0;
  const int64_t heap0 = options_.bench ? platform::HeapAllocations() : -1;
  if (window_->HasGL()) {
    // The editor window draws on the same context with a viewport of its own size: each frame
    // sets its own, or the picture and the world point under the cursor follow the editor's.
    glViewport(0, 0, window_->Width(), window_->Height());
    DrawModeFrame();
    // Under --bench the frame ends when the rasteriser has finished it. Headless and offscreen
    // too: with no display to pace it, Mesa's software driver queues frame after frame (the
    // menu grew to 2.4 GB) unless each one is finished.
    static const bool offscreen = [] {
      const char* driver = std::getenv("SDL_VIDEODRIVER");
      return driver != nullptr && std::string_view(driver) == "offscreen";
    }();
    if (options_.bench || options_.headless || offscreen) glFinish();
  }
  // Frames after the first kWarmFrames must not allocate: the draw's arrays have grown by then.
  if (heap0 >= 0 && frameUs_.size() >= kWarmFrames) {
    steadyFrameAllocs_ += platform::HeapAllocations() - heap0;
  }
  window_->SwapBuffers();
  NoteFrameForBench();
  if (options_.bench) {
    frameUs_.push_back(NowUs() - t0);
    const double cpu = platform::ThreadCpuMicroseconds() - cpu0;
    frameCpuUs_.push_back(cpu);
    // Play frames once the level's fade-in is over: what a player sees for the rest of it.
    if (world_->GameMode == game_mode::kPlay && world_->screenFade <= 0) {
      clearFrameCpuUs_.push_back(cpu);
    }
  }
  if (editor_ && editor_->Visible()) {
    // The editor window's own frame, timed apart from the game's (ended by glFinish too).
    const double e0 = options_.bench ? NowUs() : 0.0;
    editor_->Frame();
    if (options_.bench) {
      glFinish();
      editorFrameUs_.push_back(NowUs() - e0);
    }
  }
}

void TSkerrowForm::RefreshKeyboard() {
  KeyboardState physical;
  if (!window_->ReadKeyboard(physical)) {
    snapshot_ = liveKeys_;
    return;
  }
  physical.Add(scriptKeys_);
  KeyboardState held;
  held.AddMapped(physical, keyMap_);
  held.Add(padKeys_);
  snapshot_ = held;
}

void TSkerrowForm::ApplyKeyBindings(const KeyBindings& bindings) {
  settings_.keys = bindings;
  keyMap_ = MakeKeyMap(bindings);
}

void TSkerrowForm::FollowWindowSize() {
  if (!window_->HasGL() || !renderer_ || !renderer_->resources.scene) return;
  TKTZGL_Scene& scene = *renderer_->resources.scene;
  const int width = std::max(window_->Width(), 1);
  const int height = std::max(window_->Height(), 1);
  if (scene.Width <= 0 || (scene.Width == width && scene.Height == height)) return;
  scene.Width = width;
  scene.Height = height;
  scene.Aspect = static_cast<double>(width) / height;
  glViewport(0, 0, width, height);
  scene.Camera.SetProjection(width, height);
  world_->screenAspect = scene.Aspect;
}

void TSkerrowForm::DeliverScriptedInput() {
  while (scriptNext_ < script_.size() && script_[scriptNext_].tick <= ticksSinceStartup_) {
    const ScriptEvent& e = script_[scriptNext_++];
    // Ctrl (17) and Shift (16) held by the script are the modifiers of its later keys and
    // clicks, as a held key is on a keyboard.
    const bool key = e.type == ScriptEvent::kKeyDown || e.type == ScriptEvent::kKeyUp;
    uint32_t shift = 0;
    if (scriptKeys_.IsDown(kVkControl) && !(key && e.a == kVkControl))
      shift |= platform::kShiftCtrl;
    if (scriptKeys_.IsDown(kVkShift) && !(key && e.a == kVkShift)) shift |= platform::kShiftShift;
    switch (e.type) {
      case ScriptEvent::kKeyDown:
        scriptKeys_.SetDown(e.a, true);
        OnKeyDown(e.a, shift);
        break;
      case ScriptEvent::kKeyUp:
        scriptKeys_.SetDown(e.a, false);
        OnKeyUp(e.a, shift);
        break;
      case ScriptEvent::kChar:
        OnChar(static_cast<uint8_t>(e.a));
        break;
      case ScriptEvent::kMouseMove:
        scriptMouseX_ = e.a;
        scriptMouseY_ = e.b;
        OnMouseMove(e.a, e.b, shift);
        break;
      case ScriptEvent::kMouseDown:
        OnMouseDown(e.a, scriptMouseX_, scriptMouseY_, shift);
        break;
      case ScriptEvent::kMouseUp:
        OnMouseUp(e.a, scriptMouseX_, scriptMouseY_, shift);
        break;
      case ScriptEvent::kEditorClick:
        if (editor_) editor_->ScriptClick(e.a, e.b);
        break;
      case ScriptEvent::kEditorButton:
        if (editor_) editor_->ScriptClick(e.text);
        break;
    }
  }
}

uint64_t TSkerrowForm::ClockNow() {
  if (options_.headless) return virtualClock_ += kStepMs;
  return platform::RealMilliseconds();
}

bool TSkerrowForm::WriteFrameTga(const std::string& path) {
  const int w = window_->Width(), h = window_->Height();
  std::vector<uint8_t> bgr(
      static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0)) * 3, 0);
  if (window_->HasGL()) {
    glViewport(0, 0, w, h);
    DrawModeFrame();
    ReadFrameBgr(w, h, bgr);
  }
  return WriteTga(path, PixelsFromBgr(w, h, bgr));
}

void TSkerrowForm::PrintBench() const {
  // The rasteriser's fill-rate floor, measured in the same run as the frames.
  double fillCpuUs = 0;
  const double fillUs = window_->HasGL() && renderer_ && renderer_->resources.scene
                            ? MeasureFillMicroseconds(*renderer_->resources.scene, 31, &fillCpuUs)
                            : 0.0;
  std::printf(
      "bench ticks=%lld steps=%zu step_us_median=%.1f step_us_p99=%.1f frames=%zu "
      "frame_us_median=%.1f frame_us_p99=%.1f startup_ms=%.1f level_ms=%.1f "
      "fill_us_median=%.1f steady_frame_allocs=%lld editor_frame_us_mean=%.1f "
      "frame_cpu_us_median=%.1f fill_cpu_us_median=%.1f clear_frames=%zu "
      "clear_frame_cpu_us_median=%.1f\n",
      static_cast<long long>(std::max<int64_t>(ticksSinceStartup_, 0)), stepUs_.size(),
      Percentile(stepUs_, 0.5), Percentile(stepUs_, 0.99), frameUs_.size(),
      Percentile(frameUs_, 0.5), Percentile(frameUs_, 0.99), std::max(startupMs_, 0.0),
      std::max(levelMs_, 0.0), fillUs,
      static_cast<long long>(platform::HeapAllocations() < 0 ? -1 : steadyFrameAllocs_),
      editorFrameUs_.empty() ? 0.0
                             : std::accumulate(editorFrameUs_.begin(), editorFrameUs_.end(), 0.0) /
                                   static_cast<double>(editorFrameUs_.size()),
      Percentile(frameCpuUs_, 0.5), fillCpuUs, clearFrameCpuUs_.size(),
      Percentile(clearFrameCpuUs_, 0.5));
  if (renderer_) renderer_->state.passTimes.Print(stdout);
  std::fflush(stdout);
}

int TSkerrowForm::Run() {
  if (!options_.inputFile.empty()) {
    std::vector<uint8_t> bytes;
    const platform::FileRead r =
        platform::ReadRegularFile(options_.inputFile, kMaxInputScriptBytes, bytes);
    if (r != platform::FileRead::kOk) {
      std::cerr << "skerrow: cannot read input script '" << options_.inputFile
                << "': it " << platform::FileReadText(r, kMaxInputScriptBytes) << "\n";
      return 2;
    }
    std::string error;
    if (!ParseInputScript(std::string(bytes.begin(), bytes.end()), script_, error)) {
      std::cerr << "skerrow: " << options_.inputFile << ": " << error << "\n";
      return 2;
    }
  }
  FormCreate();
  if (!ddrawInitialize()) return 1;
  dsoundInitialize();
  uint64_t last = ClockNow();
  timers_.Advance(last);
  while (!quit_) {
    window_->PumpEvents(*this);
    if (quit_) break;
    FollowWindowSize();
    uint64_t now = ClockNow();
    if (now == last) {
      // The tick source fires at most once per millisecond.
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    last = now;
    timers_.Advance(now);
    if (MovieStageRunning()) ShowMoviePicture();
  }
  if (!options_.screenshot.empty() && !WriteFrameTga(options_.screenshot)) {
    std::cerr << "skerrow: cannot write screenshot '" << options_.screenshot << "'\n";
    exitCode_ = 1;
  }
  if (!options_.dumpState.empty()) {
    auto bytes = SavedBytes(*world_);
    if (!WriteFileInPlace(options_.dumpState, bytes)) {
      std::cerr << "skerrow: cannot write state dump '" << options_.dumpState << "'\n";
      exitCode_ = 1;
    }
  }
  if (options_.bench) PrintBench();
  // SKERROW_EDITOR_SCREENSHOT=file.tga: the editor window's last frame, at exit.
  if (const char* shot = std::getenv("SKERROW_EDITOR_SCREENSHOT"); shot != nullptr && editor_) {
    int32_t ew = 0, eh = 0;
    std::vector<uint8_t> bgr;
    if (!editor_->ReadFrame(ew, eh, bgr) || !WriteTga(shot, PixelsFromBgr(ew, eh, bgr))) {
      std::cerr << "skerrow: cannot write the editor screenshot '" << shot << "'\n";
      exitCode_ = 1;
    }
  }
  editor_.reset();  // writes the editor store while the GL context still exists
  FormDestroy();
  return exitCode_;
}

}  // namespace skerrow
