// The built content pack in the real play step, without graphics or sound: a level host that
// only reads pictures, a play host whose keyboard the test holds, and a new player entering a
// level of the pack. Shared by the campaign autopilot and the content tests that play.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "render/game_resources.h"
#include "shell/level_host.h"
#include "simulation/play_host.h"
#include "world/level_files.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

namespace skerrow::content {

inline const std::string kPackRoot = std::string(SKERROW_BINARY_DIR) + "/";

// Level loading over the pack without graphics or sound; it keeps the hints it was asked for.
class QuietLevelHost : public LevelHost {
 public:
  bool ReadPicture(const std::string& p, LevelPicture& out) override {
    return reader_.ReadPicture(p, out);
  }
  void ResetLoadingProgress() override {}
  void LoadLoadingPicture(int32_t) override {}
  void LoadEpisodeArt(const std::string&) override {}
  void LoadMinimap(const std::string&) override {}
  void SetFpsTimer(bool) override {}
  void StartEpisodeMusic(int32_t) override {}
  void ShowEpisodeHint(const std::string&, const std::string&) override {}
  void ShowLevelMessage(const LevelMessage&) override {}
  void ShowOutro() override { outro = true; }
  bool outro = false;

 private:
  EnginePictureReader reader_;
};

// The play step's keyboard is the set `held`; its level changes go to the real EnterLevel; the
// hints it raises are listed by their text file and never stop play.
class PackPlayHost : public PlayHost {
 public:
  PackPlayHost(WorldState& ws, QuietLevelHost& levels) : ws_(ws), levels_(levels) {}
  bool KeyDown(int vk) override { return held.count(vk) > 0; }
  bool EnterLevel(int32_t level) override { return skerrow::EnterLevel(ws_, levels_, level); }
  void ShowHint(const std::string& textFile, const std::string&) override {
    hints.push_back(textFile);
  }
  std::set<int> held;
  std::vector<std::string> hints;

 private:
  WorldState& ws_;
  QuietLevelHost& levels_;
};

// A new player with the first hero and ship in play on `level` of `episode` (a number 1..200,
// or 200 + e for an episode's first level), entered as the game enters it; nullptr when it did
// not load.
inline std::unique_ptr<WorldState> NewPlayerOn(int32_t episode, int32_t level,
                                               QuietLevelHost& levels) {
  auto ws = std::make_unique<WorldState>();
  ws->appPath = kPackRoot;
  ws->playerUnit = 1;
  ws->gameSpeed = 40;
  ws->cameraNumber = 1;
  LoadKindPack(*ws);
  LoadHeroDefaults(*ws);
  SetUpNewPlayer(*ws, 1, 1, "Autopilot", "Autopilot");
  ws->episode = episode;
  ws->GameMode = game_mode::kPlay;
  if (!EnterLevel(*ws, levels, level)) return nullptr;
  return ws;
}

}  // namespace skerrow::content
