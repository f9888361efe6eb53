// Music tracks and their volume.
#include "audio/music.h"

#include <algorithm>
#include <cmath>

#include "audio/audio_device.h"
#include "audio/audio_stream.h"
#include "platform/paths.h"

namespace skerrow::audio {
namespace {

// A second of music queued ahead, decoded a quarter at a time.
constexpr int32_t kMusicBufferMs = 1000;

}  // namespace

int32_t MusicVolumeHundredths(int32_t volume) {
  return (std::clamp(volume, 0, 100) - 100) * 45;
}

float GainFromHundredths(int32_t hundredths) {
  return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

MusicPlayerAl::MusicPlayerAl(bool threaded) : stream_(std::make_unique<AudioStream>(threaded)) {}

MusicPlayerAl::~MusicPlayerAl() = default;

bool MusicPlayerAl::MusicInitialize(AudioDevice& device) {
  return device.IsOpen() && stream_->Create(kMusicBufferMs);
}

bool MusicPlayerAl::Play(const std::string& gamePath) {
  if (!PathExists(gamePath)) return false;
  stream_->Start(ResolvePath(gamePath));
  return true;
}

void MusicPlayerAl::Stop() {
  stream_->Stop();
}

void MusicPlayerAl::SetVolume(int32_t volume) {
  stream_->SetGain(GainFromHundredths(MusicVolumeHundredths(volume)));
}

bool MusicPlayerAl::Ended() const {
  return stream_->Ended();
}

}  // namespace skerrow::audio
