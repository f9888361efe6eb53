// Buffer-queue streaming on OpenAL with a decoder thread.
#include "audio/audio_stream.h"

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <utility>

#include "audio/audio_device.h"

namespace skerrow::audio {
namespace {

constexpr int32_t kBufferCount = 4;
constexpr auto kPumpInterval = std::chrono::milliseconds(20);

}  // namespace

AudioStream::AudioStream(bool threaded) : threaded_(threaded) {}

AudioStream::~AudioStream() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  file_.Close();
  if (source_ != 0) {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
  }
  if (!buffers_.empty()) {
    alDeleteBuffers(static_cast<ALsizei>(buffers_.size()), buffers_.data());
  }
}

bool AudioStream::Create(int32_t bufferMs) {
  TakeAlError();
  alGenSources(1, &source_);
  if (TakeAlError()) {
    source_ = 0;
    std::cerr << "skerrow: the sound device refused a stream\n";
    return false;
  }
  // Played as it is, on the listener.
  alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
  alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
  buffers_.assign(kBufferCount, 0);
  alGenBuffers(kBufferCount, buffers_.data());
  if (TakeAlError()) {
    buffers_.clear();
    std::cerr << "skerrow: the sound device refused a stream\n";
    return false;
  }
  sliceMs_ = std::max(bufferMs / kBufferCount, 10);
  // Room for a slice of stereo at the highest rate accepted.
  slice_.assign(static_cast<size_t>(kMaxSampleRate) * sliceMs_ / 1000 * 2, 0);
  if (threaded_) thread_ = std::thread([this] { Run(); });
  return true;
}

void AudioStream::Start(const std::string& diskPath) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingPath_ = diskPath;
    pendingStart_ = true;
    pendingStop_ = false;
    ended_ = false;
  }
  wake_.notify_all();
}

void AudioStream::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingStart_ = false;
    pendingStop_ = true;
    ended_ = false;
  }
  wake_.notify_all();
}

bool AudioStream::Playing() const {
  if (source_ == 0) return false;
  ALint state = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

void AudioStream::SetGain(float gain) {
  if (source_ != 0) alSourcef(source_, AL_GAIN, gain);
}

float AudioStream::Gain() const {
  ALfloat gain = 0.0f;
  if (source_ != 0) alGetSourcef(source_, AL_GAIN, &gain);
  return gain;
}

void AudioStream::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!quit_) {
    wake_.wait_for(lock, kPumpInterval);
    if (quit_) break;
    lock.unlock();
    Pump();
    lock.lock();
  }
}

void AudioStream::StopSource() {
  alSourceStop(source_);
  alSourcei(source_, AL_BUFFER, 0);  // unqueues every buffer
  file_.Close();
  atEnd_ = true;
  active_ = false;
}

void AudioStream::FillBuffer(uint32_t buffer) {
  const int32_t frames = file_.Rate() * sliceMs_ / 1000;
  const int32_t channels = file_.OutputChannels();
  const int32_t got = file_.Read(slice_.data(), frames, false);
  if (got < frames) atEnd_ = true;
  if (got <= 0) return;
  alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, slice_.data(),
               static_cast<ALsizei>(static_cast<size_t>(got) * channels * sizeof(int16_t)),
               file_.Rate());
  alSourceQueueBuffers(source_, 1, &buffer);
}

void AudioStream::Pump() {
  if (source_ == 0) return;
  std::string path;
  bool start = false, stop = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    start = std::exchange(pendingStart_, false);
    stop = std::exchange(pendingStop_, false);
    if (start) path = std::move(pendingPath_);
  }
  if (stop || start) StopSource();
  if (start) {
    std::string error;
    if (!file_.Open(path, error)) {
      // The rotation asks for the next track every second: a track that cannot be played is
      // said once.
      if (refused_.insert(path).second) std::cerr << "skerrow: music: " << error << "\n";
      ended_ = true;
      return;
    }
    atEnd_ = false;
    active_ = true;
    for (ALuint b : buffers_) {
      if (atEnd_) break;
      FillBuffer(b);
    }
    alSourcePlay(source_);
    return;
  }
  if (!active_) return;
  ALint processed = 0;
  alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
  while (processed-- > 0) {
    ALuint b = 0;
    alSourceUnqueueBuffers(source_, 1, &b);
    if (!atEnd_) FillBuffer(b);
  }
  ALint state = 0, queued = 0;
  alGetSourcei(source_, AL_SOURCE_STATE, &state);
  alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
  if (state != AL_PLAYING) {
    if (queued > 0) {
      alSourcePlay(source_);  // ran dry before the refill: go on
    } else if (atEnd_) {
      active_ = false;
      file_.Close();
      // A stop asked for meanwhile wins over the end.
      std::lock_guard<std::mutex> lock(mutex_);
      if (!pendingStop_ && !pendingStart_) ended_ = true;
    }
  }
}

}  // namespace skerrow::audio
