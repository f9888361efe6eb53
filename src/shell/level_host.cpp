// Level changes of the main form: EnterLevel with the form's graphics, timers and music, and
// the direct start of a game from the command line (--start E:L).
#include "shell/level_host.h"

#include <charconv>
#include <chrono>
#include <csignal>
#include <iostream>

#include "engine/picture.h"
#include "engine/textures.h"
#include "gui/interface.h"
#include "platform/cp1251.h"
#include "platform/file_read.h"
#include "platform/log.h"
#include "platform/media.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "render/game_resources.h"
#include "shell/session.h"
#include "shell/skerrow_form.h"
#include "simulation/upgrades.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Play steps between entering the first level of a new game and its first save.
constexpr int kNewGameSettleSteps = 16;
// The read budget of one episode's art (LoadEpisodeArt).
constexpr uint64_t kMaxEpisodeArtBytes = uint64_t{512} << 20;

// The personal name of hero 1 when no name was typed.
constexpr const char* kHeroOneName = "Эдвард";

}  // namespace

void ShowLoaderMessages(const TLoaderMessages& messages) {
  for (const TPictureError& m : messages) {
    if (!m.file.empty()) platform::LogFileOnly("skerrow: refused " + Cp1251ToUtf8(m.file));
    platform::ShowMessage(m.caption, m.text);
  }
}

// ---- FormLevelHost ----

bool FormLevelHost::ReadPicture(const std::string& gamePath, LevelPicture& out) {
  return reader_.ReadPicture(gamePath, out);
}

bool FormLevelHost::ReadPictureWidth(const std::string& gamePath, int32_t& width) {
  if (!PathExists(gamePath)) return false;
  int32_t height = 0;
  return ReadBitmapFileSize(ResolvePath(gamePath), width, height);
}

void FormLevelHost::ShowLevelMessage(const LevelMessage& message) {
  platform::ShowMessage(message.caption, message.text);
}

void FormLevelHost::ResetLoadingProgress() {
  form_.ResetLoadingProgress();
}

void FormLevelHost::LoadLoadingPicture(int32_t episode) {
  WorldState& ws = form_.World();
  if (!form_.Display().HasGL()) return;
  TLoaderMessages messages;
  LoadTexture(ws.appPath + "gdata\\textures\\int\\loadingW" + std::to_string(episode) + ".qvt",
              form_.Resources().handles.loadingTexture, ws.textureQuality == 1, messages);
  ShowLoaderMessages(messages);
}

void FormLevelHost::LoadEpisodeArt(const std::string& episodeName) {
  EpisodeArtOptions options;
  options.displayHeight = form_.Display().Height();
  options.terrainReflections = form_.Settings().terrainreflections;
  TLoaderMessages messages;
  // What one episode's art may read in all: the game's own is some 60 MB (pictures of at most
  // 64 MB, models of 16 MB and terrain pieces of 8 MB each could otherwise add up to gigabytes).
  const platform::ScopedReadBudget episodeBudget(kMaxEpisodeArtBytes);
  skerrow::LoadEpisodeArt(form_.World(), form_.Resources(), episodeName, options, reader_, *this,
                          form_.Display().HasGL(), messages);
  ShowLoaderMessages(messages);
}

void FormLevelHost::LoadMinimap(const std::string& gamePath) {
  WorldState& ws = form_.World();
  if (!form_.Display().HasGL()) return;
  TLoaderMessages messages;
  LoadTexture(gamePath, form_.Resources().handles.levelMinimapTexture, ws.textureQuality == 1,
              messages);
  ShowLoaderMessages(messages);
}

void FormLevelHost::SetFpsTimer(bool enabled) {
  form_.timers_.SetEnabled(form_.fpsTimer_, enabled);
}

void FormLevelHost::StartEpisodeMusic(int32_t episode) {
  platform::MusicPlayer* music = form_.musicPlayer_.get();
  if (music == nullptr) return;
  music->Stop();
  music->Play(form_.World().appPath + EpisodeMusic(episode));
  music->SetVolume(form_.Settings().t_musicvolume);
}

void FormLevelHost::ShowEpisodeHint(const std::string& voiceFile, const std::string& textFile) {
  form_.ShowHint(textFile, voiceFile);
}

void FormLevelHost::ShowOutro() {
  skerrow::ShowOutro(form_.Interface());
}

void FormLevelHost::ShowLoadingProgress(int32_t percent) {
  form_.ShowLoadingProgress(percent);
}

// ---- New game set-up ----

StartingPoints HeroBonusPoints(int32_t hero) {
  switch (hero) {
    case 1:
      return {0, 0, 25};
    case 2:
      return {25, 0, 0};
    case 3:
      return {0, 25, 0};
    default:
      return {};
  }
}

StartingPoints ShipStartingPoints(int32_t ship) {
  switch (ship) {
    case kind::kPaddleSteamer:
      return {25, 51, 50};
    case kind::kSternWheeler:
      return {45, 80, 30};
    case kind::kCruiser:
      return {85, 33, 75};
    default:
      return {};
  }
}

void SetUpNewPlayer(WorldState& ws, int32_t hero, int32_t ship, const std::string& playerName,
                    const std::string& shipName) {
  ws.heroChoice = hero;
  ws.shipChoice = ship;
  if (ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots) {
    UnitRecord& p = ws.units[ws.playerUnit];
    LoadUnitParameters(p, ws.appPath + "gdata\\parameters\\unit" + std::to_string(ship) + ".par");
    p.unitKind = ship;
    p.life = 100;
    p.maxLife = 100;
  }
  ws.heroLevel = 1;
  // Everything the tutorial's hint triggers unlock starts locked, also after a finished game.
  ws.weaponXUnlocked = ws.weaponZUnlocked = ws.weaponSUnlocked = 0;
  ws.gunsUnlocked = ws.mouseSteering = ws.radarUnlocked = 0;
  ws.infoPanelUnlocked = ws.upgradePanelUnlocked = 0;
  ws.infoPanelOpen = ws.upgradePanelOpen = 0;
  const StartingPoints h = HeroBonusPoints(hero);
  const StartingPoints s = ShipStartingPoints(ship);
  ws.gunPoints = h.guns + s.guns;
  ws.speedPoints = h.speed + s.speed;
  ws.armourPoints = h.armour + s.armour;
  if (ws.playerUnit >= 1 && ws.playerUnit < kUnitSlots) ApplyUpgrades(ws);
  ws.lives = 3;
  ws.playerName.Set(playerName);
  ws.shipName.Set(shipName);
}

// ---- The form's level changes ----

bool TSkerrowForm::LoadDirect() {
  WorldState& ws = *world_;
  FinishSaves();
  const int32_t previousSlot = ws.saveSlot;
  ws.saveSlot = options_.load;
  const SlotLoadResult r = LoadGame(ws, *levelHost_);
  if (r.status == SlotLoad::kLoaded) {
    HideWindow(interface_->gui, interface_->gui.windows.mainMenu);
    return true;
  }
  ws.saveSlot = previousSlot;
  if (r.status == SlotLoad::kRefused) {
    platform::ShowMessage(r.message.caption, r.message.text);
  } else {
    std::cerr << "skerrow: --load " << options_.load << ": the slot holds no save game\n";
  }
  return false;
}

bool TSkerrowForm::EnterLevel(int32_t number) {
  const double t0 = NowMs();
  const bool entered = skerrow::EnterLevel(*world_, *levelHost_, number);
  if (entered) {
    levelMs_ = NowMs() - t0;
    platform::Log("entered level " + std::to_string(world_->levelNumber) + " of episode " +
                  Cp1251ToUtf8(std::string(world_->episodeName.View())) + " (" +
                  std::to_string(static_cast<int>(levelMs_)) + " ms)");
    // SKERROW_CRASH_TEST=1: the crash report and the emergency save, for the tests.
    if (CrashTestRequested() && world_->GameMode == game_mode::kPlay) std::raise(SIGSEGV);
    refusedLevel_ = 0;
  }
  return entered;
}

bool TSkerrowForm::EnterLevelFromPlay(int32_t number) {
  const std::string episode(world_->episodeName.View());
  if (number == refusedLevel_ && episode == refusedEpisode_) return false;
  if (EnterLevel(number)) return true;
  refusedLevel_ = number;
  refusedEpisode_ = episode;
  return false;
}

bool TSkerrowForm::StartDirect() {
  const std::string& s = options_.start;
  const size_t colon = s.find(':');
  int32_t episode = 0, level = 0;
  if (colon != std::string::npos) {
    std::from_chars(s.data(), s.data() + colon, episode);
    std::from_chars(s.data() + colon + 1, s.data() + s.size(), level);
  }
  WorldState& ws = *world_;
  if (!LevelFilesExist(ws.appPath, episode, level)) {
    std::cerr << "skerrow: --start " << s << ": episode " << episode << " has no level " << level
              << " in " << ws.appPath << "gdata/Worlds\n";
    return false;
  }
  const int32_t ship = options_.ship >= 1 && options_.ship <= 3 ? options_.ship : 1;
  SetUpNewPlayer(ws, 1, ship, Utf8ToCp1251(HeroDefaultName(1)),
                 Utf8ToCp1251(DefaultShipName(ship)));
  ws.episode = episode;
  ws.GameMode = game_mode::kPlay;
  // A refused level has shown its message: the run ends as for a level without files.
  if (!EnterLevel(kEpisodeLevelBase + episode) || (level != 1 && !EnterLevel(level))) {
    return false;
  }
  if (options_.slot >= 1) {
    // As a new game from the menu: 16 steps to settle, then the first save into the slot.
    ws.saveSlot = options_.slot;
    for (int i = 0; i < kNewGameSettleSteps; ++i) UpdateDispatch();
    SaveGame(false);
  }
  return true;
}

}  // namespace skerrow
