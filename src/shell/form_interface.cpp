// The main form's side of the interface: music and options for the windows, the menu
// landscape, and the new game entered from the intro.
#include "shell/form_interface.h"

#include "engine/picture.h"
#include "platform/cp1251.h"
#include "platform/media.h"
#include "render/game_resources.h"
#include "render/renderer.h"
#include "shell/form_play_host.h"
#include "shell/level_host.h"
#include "shell/skerrow_form.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {

// Updates the main-loop count of the play step after the start of a game.
constexpr int32_t kNewGameSettlingSteps = 16;

void FormMenuHost::PlayFlat(int32_t sound) {
  form_.PlayFlat(sound);
}

void FormMenuHost::PlayMusic(const std::string& gamePath) {
  platform::MusicPlayer* music = form_.musicPlayer_.get();
  if (music == nullptr) return;
  music->Stop();
  music->Play(form_.World().appPath + gamePath);
  music->SetVolume(form_.Settings().t_musicvolume);
}

void FormMenuHost::CloseHint() {
  form_.CloseHintWindow();
}

void FormMenuHost::DropHints() {
  form_.DropHints();
}

void FormMenuHost::ReloadSlot() {
  form_.RestartFromSave();
}

const SlotWindow* FormMenuHost::Slots() {
  return &form_.Slots();
}

void FormMenuHost::OpenSlots(SlotMode mode) {
  form_.OpenSlots(mode);
}

void FormMenuHost::NextSlotClick() {
  form_.NextSlotClick();
}

void FormMenuHost::PreviousSlotClick() {
  form_.PreviousSlotClick();
}

bool FormMenuHost::DeleteSlotClick() {
  return form_.DeleteSlotClick();
}

SlotActionResult FormMenuHost::SlotActionClick() {
  return form_.SlotActionClick();
}

void FormMenuHost::RefreshKeyboard() {
  form_.RefreshKeyboard();
}

void FormMenuHost::CloseMainWindow() {
  form_.RequestQuit();
}

OptionBoxes FormMenuHost::ReadOptions() {
  const StoredSettings& s = form_.Settings();
  return {s.fourpeppelines, s.tershadows, s.hqeffects, s.sound3d, s.hintssound, s.fastsea};
}

void FormMenuHost::StoreOptions(const OptionBoxes& boxes) {
  StoredSettings& s = form_.Settings();
  s.fourpeppelines = boxes.fourpeppelines;
  s.tershadows = boxes.tershadows;
  s.hqeffects = boxes.hqeffects;
  s.sound3d = boxes.sound3d;
  s.hintssound = boxes.hintssound;
  s.fastsea = boxes.fastsea;
  form_.Render().state.fastSea = boxes.fastsea;  // from the next frame
  form_.SaveSettingsFile();
}

KeyBindings FormMenuHost::ReadKeyBindings() {
  return form_.Settings().keys;
}

void FormMenuHost::StoreKeyBindings(const KeyBindings& bindings) {
  form_.ApplyKeyBindings(bindings);
}

void FormMenuHost::ReloadMenuLandscape() {
  WorldState& w = form_.World();
  EnginePictureReader reader;
  LoadHeightMapBitmap(w, reader, w.appPath + "gdata\\ata\\menu.qvt");
}

void FormMenuHost::EnterNewGame() {
  TSkerrowForm& f = form_;
  WorldState& w = f.World();
  SetUpNewPlayer(w, w.heroChoice, w.shipChoice, w.heroChoiceName, w.shipChoiceName);
  w.episode = 1;
  if (w.GameMode == game_mode::kPlay) return;
  f.DropHints();
  TInterface& ui = f.Interface();
  HideWindow(ui.gui, ui.gui.windows.mainMenu);
  LevelHost& levels = f.Levels();
  levels.SetFpsTimer(false);
  w.episodeName.Set(EpisodeName(1));
  w.GameMode = game_mode::kPlay;
  levels.ResetLoadingProgress();
  levels.LoadLoadingPicture(1);
  levels.LoadEpisodeArt(EpisodeName(1));
  // Every hint waits until the first save: the settling steps run unpaused and the thumbnail
  // shows the sea, not the hint window. A tutorial hint the settling steps raise (the
  // steering hint on the start point) follows the opening hint.
  f.HoldHints(true);
  f.EnterLevel(1);
  for (int32_t i = 0; i < kNewGameSettlingSteps; ++i) f.UpdateDispatch();
  FormPlayHost(f).SaveToCurrentSlot();  // the chosen slot holds the game from its start
  levels.StartEpisodeMusic(1);
  levels.SetFpsTimer(true);
  // The opening hint goes to the head of the line, and opens when the hold ends.
  const bool opening = f.ShowHint(w.appPath + "gdata\\ata\\hints\\Whint1.txt",
                                  w.appPath + "gdata\\sounds\\hints\\Whint1.wav",
                                  TSkerrowForm::HintOrder::kFirst);
  f.HoldHints(false);
  if (opening) {
    f.ReplaceHintLine(1, Utf8ToCp1251("Добро пожаловать на борт, капитан ") +
                             std::string(w.playerName.View()) + "!");
  }
}

void FormInputGui::RestartMenuMusic() {
  ui_.host->PlayMusic(Utf8ToCp1251("GData\\Music\\Прелюдия.mp3"));
}

void FormInputGui::ChooseUnderCursor(int32_t) {
  int32_t x = 0, y = 0;
  PointerPercent(ui_, x, y);
  ClickMenuScreen(ui_, x, y);
}

void FormInputGui::StartGameFromIntro() {
  ClickMenuScreen(ui_, 0, 0);
}

void FormInputGui::ResetOutro() {
  ClickMenuScreen(ui_, 0, 0);
}

}  // namespace skerrow
