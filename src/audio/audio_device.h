// The OpenAL device and context shared by the sound effects, the hint voice, the music and the
// movie sound: a real output device, or an in-process loopback device that tests render.
#pragma once

#include <cstdint>

namespace skerrow::audio {

class AudioDevice {
 public:
  AudioDevice() = default;
  ~AudioDevice() { Close(); }
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;

  // Opens the default device that OpenAL Soft offers (any backend, its wave-file writer too).
  // False, with one line on stderr, when there is none: the game then runs silently.
  bool Open();
  // Opens an in-process loopback device of 16-bit stereo at `frequency` Hz; nothing plays
  // until RenderLoopback pulls the mix.
  bool OpenLoopback(int32_t frequency);
  // Mixes `frames` stereo frames (left, right interleaved) of the loopback device.
  void RenderLoopback(int16_t* stereo, int32_t frames);
  bool IsOpen() const { return context_ != nullptr; }
  // Every source and buffer must be deleted by its owner before.
  void Close();

 private:
  bool MakeContext();
  void* device_ = nullptr;   // ALCdevice*
  void* context_ = nullptr;  // ALCcontext*
  bool loopback_ = false;
  int32_t loopbackFrequency_ = 44100;
};

// Keeps the sound libraries' own messages off the terminal (OpenAL Soft's log level, unless the
// player set ALSOFT_LOGLEVEL; ALSA's and JACK's printers go to the log file). Once per process,
// before the first device is opened; Open and OpenLoopback call it.
void QuietSoundLibraries();

// Clears OpenAL's error flag; true when a call since the last check failed.
bool TakeAlError();

}  // namespace skerrow::audio
