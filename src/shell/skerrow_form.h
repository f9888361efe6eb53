// TSkerrowForm: the main game object. Owns the WorldState, the window, the timers and the
// input state; runs the start-up sequence and the idle loop that feeds the main-loop tick.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "enemies/hints.h"
#include "platform/keyboard.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/input_pad.h"
#include "shell/main_loop.h"
#include "shell/scripted_input.h"
#include "shell/settings.h"
#include "shell/timers.h"
#include "world/save_game.h"
#include "world/slot_window.h"

namespace skerrow {

struct WorldState;
struct GameResources;
struct Renderer;
struct TInterface;
class FormLevelHost;
class FormMenuHost;
class LevelHost;
class FormEditorHost;
class TEditform;
namespace platform {
class MoviePlayer;
class MusicPlayer;
}  // namespace platform
namespace audio {
class AudioDevice;
class SoundEffects;
}  // namespace audio

class TSkerrowForm : public platform::EventSink, public LoopHost {
 public:
  // `window` may be given by tests (a null or headless window); otherwise the SDL one is used.
  explicit TSkerrowForm(const CommandLine& options,
                        std::unique_ptr<platform::Window> window = nullptr);
  ~TSkerrowForm() override;
  TSkerrowForm(const TSkerrowForm&) = delete;
  TSkerrowForm& operator=(const TSkerrowForm&) = delete;

  // Runs the program: start-up, the idle loop until the window closes or --ticks is reached,
  // the exit actions (--screenshot, --dump-state, --bench) and shutdown. Returns the exit code.
  int Run();

  // Start-up handlers.
  void FormCreate();
  bool ddrawInitialize();
  void dsoundInitialize();
  void TimerTimer();
  void LoadResources(bool firstTime);
  void FormDestroy();
  // Stops the movie now playing, so that the next TimerTimer moves on.
  void loadingClick();

  // Loading screen: draws the bar up to `percent` (never backwards); the level loaders reset it.
  void ShowLoadingProgress(int32_t percent);
  void ResetLoadingProgress() { loadingTag_ = 0; }
  int32_t LoadingPercent() const { return loadingTag_; }
  // Level change through EnterLevel (1..200, 200 + e, 500); false when nothing was entered.
  bool EnterLevel(int32_t number);
  // A level change asked by play: EnterLevel, except that the level last refused (the same
  // episode and number) is not read again until another level has been entered, so a ship at
  // an edge that leads there stays without a message box every step.
  bool EnterLevelFromPlay(int32_t number);
  // SaveGame: a fresh 256 x 128 thumbnail without the fade; with `showPicture` the frame
  // redrawn with the saving picture over its middle and presented; then the slot files of
  // saveSlot (save_game.h). False when nothing was written (no slot 1..99, a write error).
  // The disk work runs on the slot writer's thread; true when it was started.
  bool SaveGame(bool showPicture);
  // Waits for a save still being written. Whatever reads or deletes slot files (the slot
  // window's actions, a load) calls it first; RestartFromSave and FormDestroy do.
  bool FinishSaves() { return slotWriter_.Finish(); }
  // A failed save (SlotWriter::TakeFailure) logged and, once per run, told to the player.
  void ReportSaveFailure();
  // ReloadSlot ("Начать заново" and the last life): true when saveSlot's save was loaded; a
  // refused save is shown as a message box and leaves the game as it was.
  bool RestartFromSave();
  // The save and load window's buttons over the form's slot window model, each after any save
  // still being written: open (choose or load), ">>", "<<", "Удалить" and the action. The
  // action shows a refused save's message; kHeroSelection asks the caller for the hero
  // selection screen. The GUI hides the menus and plays the sounds.
  const SlotWindow& Slots() const { return slotWindow_; }
  void OpenSlots(SlotMode mode);
  void NextSlotClick();
  void PreviousSlotClick();
  bool DeleteSlotClick();
  SlotActionResult SlotActionClick();
  // ShowHint into the form's hint window (the voice follows the hintssound option), and what
  // every way of closing it comes back to (its button "Продолжить игру", its close box, a
  // controller's B). While the window is shown the play step pauses. A hint raised while
  // another is shown, or while hints are held, waits in line (kFirst: at its head) and opens
  // when the window closes; false when its text file is missing.
  enum class HintOrder { kLast, kFirst };
  bool ShowHint(const std::string& textFile, const std::string& voiceFile,
                HintOrder order = HintOrder::kLast);
  // The game's own notice (UTF-8) in the hint window, without a voice.
  void ShowNotice(const std::string& text);
  void CloseHintWindow();
  // Held hints wait (a new game's settling steps and first save); releasing opens the first.
  void HoldHints(bool held);
  // The hint shown and those waiting are gone, the voice stopped (a new game, the main menu,
  // a loaded game).
  void DropHints();
  // Line 1..10 of the hint window (model and GUI) replaced by `text` (Windows-1251).
  void ReplaceHintLine(int32_t line, const std::string& text);
  const HintWindow& Hint() const { return hintWindow_; }
  // The GUI's hint window is shown: the one flag of the hint.
  bool HintOpen() const;
  // The level side of the form (EnterLevel, LoadGame and the slot window's action use it).
  LevelHost& Levels();
  // --start E:L after start-up: a new game with hero 1 and ship 1 (or --ship) straight into
  // level L of episode E. False (with a message) when that level has no files or is refused.
  bool StartDirect();  // with --slot N: 16 steps, then the first save into slot N
  // --load N after start-up (and --start): slot N loaded as a game, as the save and load
  // window's "Загрузить" does; a refused save shows its message and the game goes on as it
  // was. True when the slot was loaded.
  bool LoadDirect();
  // The stored options and SaveSettings (written only when the options window closes).
  StoredSettings& Settings() { return settings_; }
  bool SaveSettingsFile();
  GameResources& Resources();
  // The GUI windows and menu screens, built by LoadResources.
  TInterface& Interface() { return *interface_; }
  // The renderer's state and resources, passed to every frame.
  Renderer& Render() { return *renderer_; }

  // Timer handlers.
  void dtimerTimer(int32_t elapsed);
  void FPStimerTimer();

  // Sound (nothing while the sound system is off): the listener in sound space, sound `index`
  // of the battle list at a world position (positional with sound3D, else flat), the flat
  // copy alone (interface sounds), and the hint voice (a game path).
  void SetListener(double x, double y, double z);
  void PlaySound(int32_t index, double x, double y, double z);
  void PlayFlat(int32_t index);
  void PlayVoice(const std::string& gamePath);
  void StopVoice();
  // Whether this run opened a sound device (stays true after shutdown released it).
  bool AudioDeviceOpened() const { return audioDeviceOpened_; }
  // The music player; null while music is off (the option, or no sound device).
  platform::MusicPlayer* Music() { return musicPlayer_.get(); }
  // Tests: the music player FormCreate makes when playmusic is on (instead of the device's).
  using MusicFactory = std::function<std::unique_ptr<platform::MusicPlayer>()>;
  void SetMusicFactory(MusicFactory factory) { musicFactory_ = std::move(factory); }

  // Window event handlers (virtual-key codes, Windows-1251 characters, window pixels).
  void FormKeyDown(int vk, uint32_t shift);
  void FormKeyUp(int vk, uint32_t shift);
  void FormKeyPress(uint8_t ch);
  void FormMouseDown(int button, int x, int y);
  void FormMouseUp(int button, int x, int y);
  void FormMouseMove(int x, int y);

  // Keyboard snapshot polled by the steps: the backend's keyboard whichever window has focus
  // (the editor window's too) plus the keys the input script holds, both through the key map,
  // plus the controllers' keys; with a backend that has no keyboard, the keys of the main
  // window's events.
  void RefreshKeyboard();
  // The key bindings in force: the stored ones at start-up, new ones from the key window.
  void ApplyKeyBindings(const KeyBindings& bindings);
  // After Alt+Enter (each main-loop turn): the scene, the viewport and screenAspect follow the
  // window's new size; nothing else in the world changes.
  void FollowWindowSize();
  bool KeyDown(int vk) const { return snapshot_.IsDown(vk); }

  // LoopHost: one simulation step and one frame of the current GameMode.
  void UpdateDispatch() override;
  void RenderDispatch() override;
  // Draws one frame of the current GameMode (menu, play or editor view) without presenting.
  void DrawModeFrame();

  // Renders one frame of the current mode without presenting and writes it as an uncompressed
  // 24-bit TGA of the display size. Returns false when the file cannot be written.
  bool WriteFrameTga(const std::string& path);

  // The level editor window (created on first use) and the editor-view step with its input.
  TEditform& Editor();
  bool HasEditor() const { return editor_ != nullptr; }
  void EditorViewStep();

  WorldState& World() { return *world_; }
  platform::Window& Display() { return *window_; }
  int64_t TicksSinceStartup() const { return ticksSinceStartup_; }
  void RequestQuit() { quit_ = true; }

  // platform::EventSink. Keys arrive as the player pressed them: the key window takes one while
  // it waits for a key, the rest go through the key map to FormKeyDown and FormKeyUp (a
  // controller's keys are game keys already).
  void OnKeyDown(int vk, uint32_t shift) override;
  void OnKeyUp(int vk, uint32_t shift) override;
  void OnChar(uint8_t ch) override { FormKeyPress(ch); }
  void OnMouseDown(int b, int x, int y, uint32_t) override { FormMouseDown(b, x, y); }
  void OnMouseUp(int b, int x, int y, uint32_t) override { FormMouseUp(b, x, y); }
  void OnMouseMove(int x, int y, uint32_t) override {
    pointerInside_ = true;
    FormMouseMove(x, y);
  }
  // The editor view scrolls at the window's edges only while the pointer is inside it.
  void OnPointerLeave() override { pointerInside_ = false; }
  void OnClose() override { quit_ = true; }
  // A game controller's report (input_pad.cpp): while a window holds the input (the menu
  // screens, or a window over play) its sticks move the pointer, A is the left mouse button and
  // B steps back; PadInput is the same `ms` milliseconds after the previous report.
  void OnPad(const platform::PadState& pad) override;
  void PadInput(const platform::PadState& pad, int64_t ms);

 private:
  friend class FormLevelHost;  // the FPS timer and the music player during level changes
  friend class FormMenuHost;   // the music player
  uint64_t ClockNow();
  void DeliverScriptedInput();
  void PrintBench() const;
  void PlayMovieStage(int stage);  // opens and starts movie 0..2 when it exists
  void ShowHintWindow();           // the GUI's hint window shows hintWindow_ as it is
  void StageBattleStep();          // the battle scene's share of a play step (bench_battle.h)
  void NoteFrameForBench();        // takes startup_ms at the first frame after start-up
  // The music player of this run: the factory's, the null one with --headless, the device's
  // stream, or null when no device is open.
  std::unique_ptr<platform::MusicPlayer> MusicInitialize();
  // While a movie stage runs: draws the movie's current picture on the panel and presents it.
  void ShowMoviePicture();
  bool MovieStageRunning() const { return movieStage_ >= 1 && movieStage_ <= 3; }

  CommandLine options_;
  std::unique_ptr<WorldState> world_;
  std::unique_ptr<platform::Window> window_;
  TimerService timers_;
  int dtimer_ = -1, timer_ = -1, fpsTimer_ = -1;
  int movieStage_ = 0;  // mplayer.Tag: the movie stage 1..3
  // liveKeys_ and padKeys_ hold game keys, scriptKeys_ the keys the script pressed.
  KeyboardState liveKeys_, scriptKeys_, padKeys_, snapshot_;
  KeyMap keyMap_;        // physical key -> game key (key_bindings.h)
  int capturedKey_ = 0;  // the key the key window took: its release is not the game's
  PadPointer pad_;       // the controller in the windows
  std::vector<ScriptEvent> script_;
  size_t scriptNext_ = 0;
  int scriptMouseX_ = 0, scriptMouseY_ = 0;  // where scripted button events happen
  bool pointerInside_ = true;                // no leave of the game's window since its last move
  int64_t ticksSinceStartup_ = -1;           // -1 until GameMode is first set
  uint64_t virtualClock_ = 0;
  bool quit_ = false;
  int exitCode_ = 0;
  // --bench: wall time of each step and each frame, in microseconds, and the frames' CPU time
  // on this thread (all, and those of play after the level's fade-in).
  std::vector<double> stepUs_, frameUs_, frameCpuUs_, clearFrameCpuUs_;
  std::vector<double> editorFrameUs_;  // the editor window's frames, while it is shown
  // --bench: heap allocations inside the frames after the first kWarmFrames (-1 in print when
  // the build does not count them).
  static constexpr size_t kWarmFrames = 50;
  int64_t steadyFrameAllocs_ = 0;
  bool benchBusy_ = false;     // SKERROW_BENCH_BUSY=1 under --bench (bench_busy.h)
  int64_t benchBusyStep_ = 0;  // play steps of the busy scene so far
  bool benchBattle_ = false;     // SKERROW_BENCH_BATTLE=1 under --bench (bench_battle.h)
  int64_t benchBattleStep_ = 0;  // play steps of the battle scene so far
  // Start-up and level loading (startup.cpp, level_host.cpp).
  StoredSettings settings_;
  std::unique_ptr<Renderer> renderer_;
  std::unique_ptr<FormLevelHost> levelHost_;
  std::unique_ptr<TInterface> interface_;
  std::unique_ptr<FormMenuHost> menuHost_;
  std::unique_ptr<platform::MoviePlayer> moviePlayer_;
  std::unique_ptr<platform::MusicPlayer> musicPlayer_;  // null when playmusic is off
  HintWindow hintWindow_;
  std::deque<std::pair<std::string, std::string>> hintQueue_;  // text and voice files
  bool hintsHeld_ = false;
  SlotWriter slotWriter_;       // the save games' disk writes
  SlotWindow slotWindow_;       // the save and load window's model
  int32_t loadingTag_ = 0;      // loading.Tag: the percentage the bar shows
  bool loadingVisible_ = true;  // the movie panel
  double startupMs_ = -1;       // --bench: program start to the first menu frame, movies excluded
  double movieMs_ = 0;          // time spent in the movie stages
  double levelMs_ = -1;         // --bench: the last EnterLevel
  int32_t refusedLevel_ = 0;    // the level EnterLevelFromPlay last saw refused, 0 = none
  std::string refusedEpisode_;  // and its episode directory name
  MusicFactory musicFactory_;
  // Sound device shared by effects, voice, music and movie sound: null with --headless, with
  // sounds and music off, or when no device opens (the run is then silent).
  std::unique_ptr<audio::AudioDevice> audioDevice_;
  std::unique_ptr<audio::SoundEffects> sounds_;  // null while the sound system is off
  int movieRect_[4] = {0, 0, 0, 0};              // the panel: left, top, width, height
  uint32_t movieTexture_ = 0;                    // GL texture of the movie's picture
  bool audioDeviceOpened_ = false;
  std::unique_ptr<FormEditorHost> editorHost_;
  std::unique_ptr<TEditform> editor_;
};

}  // namespace skerrow
