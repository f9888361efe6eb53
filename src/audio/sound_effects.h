// The battle sound list: 22 sounds addressed by number, each with a pool of positional
// channels used round-robin and one flat copy; the listener; and the hint voice stream.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skerrow::audio {

class AudioDevice;
class AudioStream;

inline constexpr int32_t kSoundCount = 22;

struct SoundTableRow {
  const char* file;  // under gdata\sounds\battle\; nullptr: channels but no file
  int32_t channels;  // 4..26
  int32_t seconds;   // channel length: a longer file is cut there
};
extern const std::array<SoundTableRow, kSoundCount> kSoundTable;

// Maps a world position to the sound space: offset 500, scale 1/5, heights of sounds 1/25
// (the listener's 1/5 is applied by the play step).
struct SoundPosition {
  float x, y, z;
};
SoundPosition SoundSpace(double x, double y, double z);

class SoundEffects {
 public:
  SoundEffects();
  ~SoundEffects();
  SoundEffects(const SoundEffects&) = delete;
  SoundEffects& operator=(const SoundEffects&) = delete;

  // On an open device: creates every channel, loads the sounds under appPath and opens the
  // hint voice stream. A channel the device refuses leaves the whole sound system off (one
  // line on stderr) and returns false; the game goes on silently.
  bool InitSound(AudioDevice& device, const std::string& appPath, bool threadedVoice = true);
  // Loads every sound of the table whose file exists into its flat copy and all its channels;
  // a missing file leaves the sound silent, a damaged one is skipped with a line on stderr.
  void LoadSounds(const std::string& appPath);
  bool Initialised() const { return initialised_; }

  // Restarts the next channel of `index` at the world position (round-robin), or with
  // `sound3D` false plays the flat copy once. Nothing when not initialised or out of range.
  // Allocates nothing.
  void PlaySound(int32_t index, double x, double y, double z, bool sound3D);
  void PlayFlat(int32_t index);
  // The listener in sound space (the play step has applied offset and scale).
  void SetListener(double x, double y, double z);

  // The hint voice: stops it, then streams `diskPath` from its start; StopVoice stops it.
  void PlayVoice(const std::string& diskPath);
  void StopVoice();
  AudioStream* Voice() { return voice_.get(); }

  void ReleaseSound();

  // For tests: the channel the next play of `index` uses, and a channel's state.
  int32_t NextChannel(int32_t index) const;
  bool ChannelPlaying(int32_t index, int32_t channel) const;
  int32_t ChannelSampleOffset(int32_t index, int32_t channel) const;
  bool FlatPlaying(int32_t index) const;

 private:
  struct Sound {
    std::vector<uint32_t> channels;  // AL sources
    uint32_t flat = 0;               // AL source of the flat copy
    uint32_t buffer = 0;             // AL buffer shared by the channels and the flat copy
    int32_t nextChannel = 0;
  };
  std::array<Sound, kSoundCount> sounds_;
  std::unique_ptr<AudioStream> voice_;
  bool initialised_ = false;
};

}  // namespace skerrow::audio
