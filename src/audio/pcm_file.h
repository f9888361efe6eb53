// Sound files read through libsndfile (WAV of any rate, depth and channel count, MP3 and the
// other formats it knows), checked and converted to 16-bit PCM for OpenAL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skerrow::audio {

// Rates outside this range are refused as damaged (OpenAL resamples anything inside it).
inline constexpr int32_t kMinSampleRate = 1000;
inline constexpr int32_t kMaxSampleRate = 192000;
// More channels than this are refused as damaged.
inline constexpr int32_t kMaxFileChannels = 8;

// An opened sound file, read in slices. Not copyable; closes itself.
class PcmFile {
 public:
  PcmFile() = default;
  ~PcmFile() { Close(); }
  PcmFile(const PcmFile&) = delete;
  PcmFile& operator=(const PcmFile&) = delete;

  // Opens a file on disk. False with `error` set ("cannot open ...", "unsupported ...") when
  // it is missing, unreadable or has a rate or channel count outside the limits above.
  bool Open(const std::string& diskPath, std::string& error);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  int32_t Rate() const { return rate_; }
  // 1 or 2: files of three or more channels are read as their first two.
  int32_t OutputChannels() const { return channels_ >= 2 ? 2 : 1; }

  // Reads up to `frames` frames as 16-bit samples of OutputChannels() (mono when `mono`,
  // averaging the channels) into `out` (which must hold frames * channels samples). Returns
  // the frames read: 0 at the end or after a read error.
  int32_t Read(int16_t* out, int32_t frames, bool mono);

 private:
  void* file_ = nullptr;  // SNDFILE*
  int32_t rate_ = 0;
  int32_t channels_ = 0;
  std::vector<int16_t> scratch_;  // one slice of interleaved file samples
};

// A whole short clip, mono: for the effect channels and the movie sound.
struct MonoClip {
  int32_t rate = 0;
  std::vector<int16_t> samples;
};

// Reads at most `maxSeconds` of a file into `clip` (mono). False with `error` set when the file
// cannot be opened or holds no sample.
bool ReadMonoClip(const std::string& diskPath, int32_t maxSeconds, MonoClip& clip,
                  std::string& error);

}  // namespace skerrow::audio
