// Everything outside the world that a play step needs: keyboard snapshot, sound, in-play window
// state, level changes and saves, music and hints. The shell implements it for the main
// form; tests use a fake. Every method has a do-nothing default.
#pragma once

#include <cstdint>
#include <string>

namespace skerrow {

class PlayHost {
 public:
  virtual ~PlayHost() = default;

  // Keyboard: a new snapshot once per step, then key-down queries by virtual-key code.
  virtual void RefreshKeyboard() {}
  virtual bool KeyDown(int /*vk*/) { return false; }

  // Sound: the 3D listener position (ignored while the sound system is not initialised) and
  // sound number `sound` of the battle list played at a world position.
  virtual void PlaceListener(double /*x*/, double /*y*/, double /*z*/) {}
  virtual void PlaySound(int32_t /*sound*/, double /*x*/, double /*y*/, double /*z*/) {}

  // True while the in-play menu or a window opened from it is visible: the world pauses.
  virtual bool PlayWindowOpen() { return false; }

  // Level change (1..200 a level of the episode, 200 + e episode e, 500 the outro), the update
  // dispatch of the current GameMode, and the automatic save into the current slot without a
  // new thumbnail. EnterLevel is false when the level was refused (its message shown) and the
  // world is as it was.
  virtual bool EnterLevel(int32_t /*level*/) { return true; }
  virtual void UpdateDispatch() {}
  virtual void SaveToCurrentSlot() {}
  // The save point's save: into the current slot, with a thumbnail of the current frame.
  virtual void SaveToCurrentSlotWithThumbnail() {}

  // Music: stop the current track; start `file` (appPath + game path, Windows-1251) from its
  // beginning. The host makes no call at all while the playmusic option is off.
  virtual void StopMusic() {}
  virtual void PlayMusic(const std::string& /*file*/) {}

  // The hint window with the text file `textFile` (which exists) and, when the hint voice
  // option is on and the file exists, the voice `voiceFile`; both appPath + game path.
  virtual void ShowHint(const std::string& /*textFile*/, const std::string& /*voiceFile*/) {}
  // The last life lost: the current slot's save replaces the saved block (ReloadSlot). False
  // when there is none to load (no slot, a missing or refused file).
  virtual bool ReloadCurrentSlot() { return false; }
  // A notice in the hint window (`text` UTF-8, wrapped to its lines), which pauses play until
  // its "Продолжить игру" as a hint does.
  virtual void ShowNotice(const std::string& /*text*/) {}
};

}  // namespace skerrow
