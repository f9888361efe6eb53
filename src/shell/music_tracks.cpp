// The battle rotation and the menu's repeating prelude.
#include "shell/music_tracks.h"

#include "platform/cp1251.h"
#include "platform/random.h"
#include "world/level_files.h"
#include "world/vocabulary.h"

namespace skerrow {
namespace {

constexpr const char* kBattleTracks[kBattleChoices - 1] = {
    "GData\\Music\\batle\\2-атмосфера.mp3", "GData\\Music\\batle\\Мрак.mp3",
    "GData\\Music\\batle\\Остров.mp3",      "GData\\Music\\batle\\Подъем.mp3",
    "GData\\Music\\batle\\Простор.mp3",     "GData\\Music\\batle\\Чувства.mp3",
};

}  // namespace

std::string BattleRotationTrack(int32_t choice, int32_t episode) {
  if (choice < 1 || choice > kBattleChoices) return "";
  if (choice == kBattleChoices) return EpisodeMusic(episode);
  return Utf8ToCp1251(kBattleTracks[choice - 1]);
}

std::string TrackAfterEnd(int32_t gameMode, int32_t episode, Random& random) {
  switch (gameMode) {
    case game_mode::kMenu:
      return Utf8ToCp1251(kMusicPrelude);
    case game_mode::kPlay:
      return BattleRotationTrack(1 + random.Int(kBattleChoices), episode);
    default:
      return "";
  }
}

}  // namespace skerrow
