// The main form's side of level loading: what EnterLevel and LoadEpisodeArt need from the
// game (pictures, textures and models, the loading bar, the FPS timer, music and hints).
#pragma once

#include <cstdint>
#include <string>

#include "render/game_resources.h"
#include "world/level_files.h"

namespace skerrow {

class TSkerrowForm;

class FormLevelHost final : public LevelHost, public LoadingProgress {
 public:
  explicit FormLevelHost(TSkerrowForm& form) : form_(form) {}

  bool ReadPicture(const std::string& gamePath, LevelPicture& out) override;
  // Reads only the bitmap's headers.
  bool ReadPictureWidth(const std::string& gamePath, int32_t& width) override;
  void ResetLoadingProgress() override;
  void LoadLoadingPicture(int32_t episode) override;
  void LoadEpisodeArt(const std::string& episodeName) override;
  void LoadMinimap(const std::string& gamePath) override;
  void SetFpsTimer(bool enabled) override;
  void StartEpisodeMusic(int32_t episode) override;
  void ShowEpisodeHint(const std::string& voiceFile, const std::string& textFile) override;
  void ShowOutro() override;
  void ShowLevelMessage(const LevelMessage& message) override;
  void ShowLoadingProgress(int32_t percent) override;

 private:
  TSkerrowForm& form_;
  EnginePictureReader reader_;
};

// The loaders' messages as message boxes, one each in order. The loaders show nothing; start-up
// and the level host show what a group of loads handed back once the group is done.
void ShowLoaderMessages(const TLoaderMessages& messages);

// Hero bonus and ship starting points (guns, speed, armour) of a new game; zeros outside 1..3.
struct StartingPoints {
  int32_t guns = 0, speed = 0, armour = 0;
};
StartingPoints HeroBonusPoints(int32_t hero);
StartingPoints ShipStartingPoints(int32_t ship);

// StartNewGame's player set-up for hero `hero` and ship `ship` (both 1..3): the player's unit
// from unit<ship>.par, the points, life 100, three lives and the names (Windows-1251).
void SetUpNewPlayer(WorldState& ws, int32_t hero, int32_t ship, const std::string& playerName,
                    const std::string& shipName);

}  // namespace skerrow
