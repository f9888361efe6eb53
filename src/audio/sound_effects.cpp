// The battle sound list on OpenAL: every channel is a source sharing its sound's buffer, so a
// play is one stop, one position update and one start.
#include "audio/sound_effects.h"

#include <AL/al.h>

#include <iostream>

#include "audio/audio_device.h"
#include "audio/audio_stream.h"
#include "audio/pcm_file.h"
#include "platform/paths.h"

namespace skerrow::audio {

const std::array<SoundTableRow, kSoundCount> kSoundTable = {{
    {"medict.wav", 4, 3},        // 0
    {"speedup.wav", 4, 3},       // 1
    {"shoot1.wav", 26, 3},       // 2
    {"explos1.wav", 16, 3},      // 3
    {"explosw.wav", 16, 3},      // 4
    {"sunking.wav", 6, 5},       // 5
    {"startforvard.wav", 6, 3},  // 6
    {"startback.wav", 6, 3},     // 7
    {"explos1.wav", 16, 3},      // 8: the same file as 3
    {"explos2.wav", 16, 3},      // 9
    {"fallin.wav", 6, 7},        // 10
    {"electshoot.wav", 6, 3},    // 11
    {"elect.wav", 6, 3},         // 12
    {"moneta.wav", 6, 3},        // 13
    {"moneta2.wav", 6, 3},       // 14
    {"moneta3.wav", 6, 3},       // 15
    {"mine.wav", 6, 3},          // 16
    {"kluch.wav", 6, 3},         // 17
    {"menu.wav", 6, 3},          // 18
    {"gate1.wav", 6, 5},         // 19
    {nullptr, 6, 3},             // 20
    {nullptr, 6, 3},             // 21
}};

namespace {

// The hint voice queues 2,500 ms ahead.
constexpr int32_t kVoiceBufferMs = 2500;

}  // namespace

SoundPosition SoundSpace(double x, double y, double z) {
  // OpenAL's axes are right-handed, DirectSound's left-handed: z changes sign for the listener
  // and every sound alike, so left, right, front and back stay where they were.
  return {static_cast<float>(500.0 - x / 5.0), static_cast<float>(500.0 - y / 25.0),
          static_cast<float>(-(500.0 - z / 5.0))};
}

SoundEffects::SoundEffects() = default;

SoundEffects::~SoundEffects() {
  ReleaseSound();
}

bool SoundEffects::InitSound(AudioDevice& device, const std::string& appPath, bool threadedVoice) {
  ReleaseSound();
  if (!device.IsOpen()) return false;
  TakeAlError();
  for (int32_t i = 0; i < kSoundCount; ++i) {
    Sound& s = sounds_[static_cast<size_t>(i)];
    s.channels.assign(static_cast<size_t>(kSoundTable[static_cast<size_t>(i)].channels), 0);
    alGenSources(static_cast<ALsizei>(s.channels.size()), s.channels.data());
    if (TakeAlError()) {
      s.channels.assign(s.channels.size(), 0);
      std::cerr << "skerrow: the sound device refused a channel of sound " << i
                << "; sound is off for this run\n";
      ReleaseSound();
      return false;
    }
    alGenSources(1, &s.flat);
    if (TakeAlError()) {
      s.flat = 0;
      std::cerr << "skerrow: the sound device refused a channel of sound " << i
                << "; sound is off for this run\n";
      ReleaseSound();
      return false;
    }
    // The flat copy sits on the listener whatever its position.
    alSourcei(s.flat, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(s.flat, AL_POSITION, 0.0f, 0.0f, 0.0f);
    for (ALuint c : s.channels) alSourcei(c, AL_LOOPING, AL_FALSE);
    s.nextChannel = 0;
  }
  initialised_ = true;
  LoadSounds(appPath);
  voice_ = std::make_unique<AudioStream>(threadedVoice);
  if (!voice_->Create(kVoiceBufferMs)) voice_.reset();
  return true;
}

void SoundEffects::LoadSounds(const std::string& appPath) {
  if (!initialised_) return;
  for (int32_t i = 0; i < kSoundCount; ++i) {
    const SoundTableRow& row = kSoundTable[static_cast<size_t>(i)];
    if (row.file == nullptr) continue;
    const std::string gamePath = appPath + "gdata\\sounds\\battle\\" + row.file;
    if (!PathExists(gamePath)) continue;  // a missing sound stays silent
    MonoClip clip;
    std::string error;
    if (!ReadMonoClip(ResolvePath(gamePath), row.seconds, clip, error)) {
      std::cerr << "skerrow: sound " << i << " skipped: " << error << "\n";
      continue;
    }
    Sound& s = sounds_[static_cast<size_t>(i)];
    TakeAlError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, clip.samples.data(),
                 static_cast<ALsizei>(clip.samples.size() * sizeof(int16_t)), clip.rate);
    if (TakeAlError()) {
      std::cerr << "skerrow: the sound device refused the buffer of sound " << i << "\n";
      alDeleteBuffers(1, &buffer);
      continue;
    }
    for (ALuint c : s.channels) {
      alSourceStop(c);
      alSourcei(c, AL_BUFFER, static_cast<ALint>(buffer));
    }
    alSourceStop(s.flat);
    alSourcei(s.flat, AL_BUFFER, static_cast<ALint>(buffer));
    if (s.buffer != 0) alDeleteBuffers(1, &s.buffer);
    s.buffer = buffer;
  }
}

void SoundEffects::PlaySound(int32_t index, double x, double y, double z, bool sound3D) {
  if (!initialised_ || index < 0 || index >= kSoundCount) return;
  if (!sound3D) {
    PlayFlat(index);
    return;
  }
  Sound& s = sounds_[static_cast<size_t>(index)];
  const ALuint c = s.channels[static_cast<size_t>(s.nextChannel)];
  const SoundPosition p = SoundSpace(x, y, z);
  alSourceStop(c);
  alSource3f(c, AL_POSITION, p.x, p.y, p.z);
  alSourcePlay(c);
  ++s.nextChannel;
  if (s.nextChannel >= static_cast<int32_t>(s.channels.size())) s.nextChannel = 0;
}

void SoundEffects::PlayFlat(int32_t index) {
  if (!initialised_ || index < 0 || index >= kSoundCount) return;
  const ALuint f = sounds_[static_cast<size_t>(index)].flat;
  alSourceStop(f);
  alSourcePlay(f);
}

void SoundEffects::SetListener(double x, double y, double z) {
  if (!initialised_) return;
  alListener3f(AL_POSITION, static_cast<float>(x), static_cast<float>(y), static_cast<float>(-z));
}

void SoundEffects::PlayVoice(const std::string& diskPath) {
  if (!initialised_ || !voice_) return;
  voice_->Start(diskPath);
}

void SoundEffects::StopVoice() {
  if (voice_) voice_->Stop();
}

void SoundEffects::ReleaseSound() {
  voice_.reset();
  for (Sound& s : sounds_) {
    for (ALuint c : s.channels) {
      if (c != 0) alDeleteSources(1, &c);
    }
    s.channels.clear();
    if (s.flat != 0) alDeleteSources(1, &s.flat);
    s.flat = 0;
    if (s.buffer != 0) alDeleteBuffers(1, &s.buffer);
    s.buffer = 0;
    s.nextChannel = 0;
  }
  initialised_ = false;
}

int32_t SoundEffects::NextChannel(int32_t index) const {
  if (index < 0 || index >= kSoundCount) return 0;
  return sounds_[static_cast<size_t>(index)].nextChannel;
}

namespace {

ALint SourceInt(ALuint source, ALenum param) {
  ALint v = 0;
  if (source != 0) alGetSourcei(source, param, &v);
  return v;
}

}  // namespace

bool SoundEffects::ChannelPlaying(int32_t index, int32_t channel) const {
  if (index < 0 || index >= kSoundCount) return false;
  const Sound& s = sounds_[static_cast<size_t>(index)];
  if (channel < 0 || channel >= static_cast<int32_t>(s.channels.size())) return false;
  return SourceInt(s.channels[static_cast<size_t>(channel)], AL_SOURCE_STATE) == AL_PLAYING;
}

int32_t SoundEffects::ChannelSampleOffset(int32_t index, int32_t channel) const {
  if (index < 0 || index >= kSoundCount) return 0;
  const Sound& s = sounds_[static_cast<size_t>(index)];
  if (channel < 0 || channel >= static_cast<int32_t>(s.channels.size())) return 0;
  return SourceInt(s.channels[static_cast<size_t>(channel)], AL_SAMPLE_OFFSET);
}

bool SoundEffects::FlatPlaying(int32_t index) const {
  if (index < 0 || index >= kSoundCount) return false;
  return SourceInt(sounds_[static_cast<size_t>(index)].flat, AL_SOURCE_STATE) == AL_PLAYING;
}

}  // namespace skerrow::audio
