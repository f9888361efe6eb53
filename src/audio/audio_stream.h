// One streaming OpenAL source fed from a sound file (the hint voice, the music, a movie's
// sound): decoding runs on the stream's own thread in slices of a quarter of the buffer, so
// starting a long MP3 never stalls the caller.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "audio/pcm_file.h"

namespace skerrow::audio {

class AudioStream {
 public:
  // `threaded` false: nothing decodes until Pump() is called (tests drive it by hand).
  explicit AudioStream(bool threaded = true);
  ~AudioStream();
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;

  // Creates the source and its buffers on the current device, `bufferMs` of sound queued
  // ahead. False when the device refuses them.
  bool Create(int32_t bufferMs);

  // Stops what plays and streams the file at `diskPath` from its beginning. A file that
  // cannot be opened is skipped with a line on stderr and counts as ended at once.
  void Start(const std::string& diskPath);
  // Stops playing; the stream is then neither playing nor ended.
  void Stop();
  // True once the last started file has played to its end.
  bool Ended() const { return ended_.load(); }
  bool Playing() const;
  // OpenAL gain of the source (1 = full level).
  void SetGain(float gain);
  float Gain() const;

  // One round of the decoder's work: handles a pending start or stop, refills the played
  // buffers and notes the end. The thread calls it every 20 ms.
  void Pump();

 private:
  void Run();
  void FillBuffer(uint32_t buffer);  // queues the next slice; sets atEnd_ at the end
  void StopSource();

  const bool threaded_;
  uint32_t source_ = 0;
  std::vector<uint32_t> buffers_;
  int32_t sliceMs_ = 0;
  std::vector<int16_t> slice_;

  // Shared with the caller's thread.
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::string pendingPath_;
  bool pendingStart_ = false;
  bool pendingStop_ = false;
  bool quit_ = false;
  std::atomic<bool> ended_{false};

  // The decoder's own (the thread's, or Pump's caller's).
  PcmFile file_;
  std::set<std::string> refused_;  // tracks that could not be opened, said once each
  bool atEnd_ = true;  // no more data to queue
  bool active_ = false;
  std::thread thread_;
};

}  // namespace skerrow::audio
