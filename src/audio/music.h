// The music player on OpenAL: MP3 tracks streamed through libsndfile on the stream's thread,
// one at a time, at a volume given in hundredths of a decibel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/media.h"

namespace skerrow::audio {

class AudioDevice;
class AudioStream;

// `t_musicvolume` 0..100 to hundredths of a decibel: (volume - 100) * 45, so 100 plays at
// full level (0) and 0 at -4500 (-45 dB), linear in decibels.
int32_t MusicVolumeHundredths(int32_t volume);
// Hundredths of a decibel to an OpenAL gain factor (0 -> 1.0, -2000 -> 0.1).
float GainFromHundredths(int32_t hundredths);

class MusicPlayerAl final : public platform::MusicPlayer {
 public:
  // MusicInitialize: the stream on an open device. `threaded` false for tests (Pump()).
  explicit MusicPlayerAl(bool threaded = true);
  ~MusicPlayerAl() override;
  // False when the device refuses the stream; the caller then treats music as off.
  bool MusicInitialize(AudioDevice& device);

  bool Play(const std::string& gamePath) override;
  void Stop() override;
  void SetVolume(int32_t volume) override;
  bool Ended() const override;

  AudioStream& Stream() { return *stream_; }

 private:
  std::unique_ptr<AudioStream> stream_;
};

}  // namespace skerrow::audio
