// Movie and music players as the game sees them. The null players, always available, report
// every movie as absent and play no music; real backends replace them through the factories.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace skerrow::platform {

// The logo movie player: open a file, place it, play it, ask whether it still plays, stop it.
class MoviePlayer {
 public:
  virtual ~MoviePlayer() = default;
  // False when the file is missing or cannot be played; then nothing plays.
  virtual bool Open(const std::string& gamePath) = 0;
  virtual int Width() const = 0;  // the open movie's own size in pixels
  virtual int Height() const = 0;
  virtual void SetDisplayRect(int left, int top, int width, int height) = 0;
  virtual void Play() = 0;
  virtual bool Playing() const = 0;
  virtual void Stop() = 0;
  // While playing: the picture that has become due since the last call, RGBA rows top to
  // bottom at the movie's own size; nullptr when the one shown stays (or there is none).
  virtual const uint8_t* CurrentPicture() { return nullptr; }
};

// The music player: one file at a time, volume 0..100.
class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;
  // Starts the file from its beginning, replacing what played. False only when the file does
  // not exist; then whatever played goes on.
  virtual bool Play(const std::string& gamePath) = 0;
  virtual void Stop() = 0;
  virtual void SetVolume(int32_t volume) = 0;
  // True once the track started last has played to its end (never after Stop).
  virtual bool Ended() const = 0;
};

class NullMoviePlayer final : public MoviePlayer {
 public:
  bool Open(const std::string&) override { return false; }
  int Width() const override { return 0; }
  int Height() const override { return 0; }
  void SetDisplayRect(int, int, int, int) override {}
  void Play() override {}
  bool Playing() const override { return false; }
  void Stop() override {}
};

class NullMusicPlayer final : public MusicPlayer {
 public:
  bool Play(const std::string&) override { return true; }
  void Stop() override {}
  void SetVolume(int32_t) override {}
  bool Ended() const override { return false; }
};

}  // namespace skerrow::platform
