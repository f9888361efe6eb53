// The music tracks by situation, and the track the one-second timer starts when one has ended.
#pragma once

#include <cstdint>
#include <string>

namespace skerrow {

class Random;

// Game paths relative to appPath, UTF-8 here; the callers pass them through Utf8ToCp1251.
inline constexpr const char* kMusicPrelude = "GData\\Music\\Прелюдия.mp3";
inline constexpr const char* kMusicCredits = "GData\\Music\\Авторы.mp3";
inline constexpr const char* kMusicIntro = "GData\\Music\\Вступление.mp3";
inline constexpr const char* kMusicVictory = "GData\\Music\\Победа.mp3";
inline constexpr const char* kMusicBoss = "GData\\Music\\Босс.mp3";

// Choices 1..6 of the battle rotation: the six battle tracks; 7: the episode's theme.
inline constexpr int32_t kBattleChoices = 7;
// Game path (Windows-1251) of rotation choice 1..7 during episode `episode`; "" out of range.
std::string BattleRotationTrack(int32_t choice, int32_t episode);

// Game path (Windows-1251) of the track that follows an ended one: the prelude in the menu
// screens (GameMode 1, credits, intro and outro included), in play a uniform choice of the
// seven of the rotation (one draw from `random`), and "" in any other mode.
std::string TrackAfterEnd(int32_t gameMode, int32_t episode, Random& random);

}  // namespace skerrow
