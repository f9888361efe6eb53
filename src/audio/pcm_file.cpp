// libsndfile reading with the limits a hostile file cannot pass.
#include "audio/pcm_file.h"

#include <sndfile.h>

#include <algorithm>

#include "platform/file_read.h"

namespace skerrow::audio {
namespace {

constexpr int32_t kSliceFrames = 4096;

}  // namespace

bool PcmFile::Open(const std::string& diskPath, std::string& error) {
  Close();
  if (!platform::RegularFile(diskPath)) {
    error = "cannot open " + diskPath + ": it is missing or not a regular file";
    return false;
  }
  SF_INFO info{};
  SNDFILE* file = sf_open(diskPath.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    // libsndfile's own text ("... possibly a pipe?") misleads for a file it cannot decode.
    error = "cannot open " + diskPath + ": it is not a sound file the game can read";
    return false;
  }
  if (info.channels < 1 || info.channels > kMaxFileChannels || info.samplerate < kMinSampleRate ||
      info.samplerate > kMaxSampleRate) {
    error = "unsupported sound file " + diskPath + " (" + std::to_string(info.channels) +
            " channels at " + std::to_string(info.samplerate) + " Hz)";
    sf_close(file);
    return false;
  }
  file_ = file;
  rate_ = info.samplerate;
  channels_ = info.channels;
  scratch_.assign(static_cast<size_t>(kSliceFrames) * static_cast<size_t>(channels_), 0);
  return true;
}

void PcmFile::Close() {
  if (file_ != nullptr) sf_close(static_cast<SNDFILE*>(file_));
  file_ = nullptr;
  rate_ = 0;
  channels_ = 0;
}

int32_t PcmFile::Read(int16_t* out, int32_t frames, bool mono) {
  if (file_ == nullptr || frames <= 0) return 0;
  const int32_t outChannels = mono ? 1 : OutputChannels();
  int32_t done = 0;
  while (done < frames) {
    const int32_t want = std::min(kSliceFrames, frames - done);
    const sf_count_t got = sf_readf_short(static_cast<SNDFILE*>(file_), scratch_.data(), want);
    if (got <= 0) break;
    for (sf_count_t f = 0; f < got; ++f) {
      const int16_t* in = &scratch_[static_cast<size_t>(f) * static_cast<size_t>(channels_)];
      int16_t* o = out + static_cast<size_t>(done + f) * static_cast<size_t>(outChannels);
      if (outChannels == 1) {
        int32_t sum = 0;
        for (int32_t c = 0; c < channels_; ++c) sum += in[c];
        o[0] = static_cast<int16_t>(sum / channels_);
      } else {
        o[0] = in[0];
        o[1] = in[1];
      }
    }
    done += static_cast<int32_t>(got);
    if (got < want) break;
  }
  return done;
}

bool ReadMonoClip(const std::string& diskPath, int32_t maxSeconds, MonoClip& clip,
                  std::string& error) {
  PcmFile file;
  if (!file.Open(diskPath, error)) return false;
  // Bounded by the channel's length, whatever length the header claims.
  const int64_t limit = static_cast<int64_t>(std::max(maxSeconds, 0)) * file.Rate();
  clip.rate = file.Rate();
  clip.samples.assign(static_cast<size_t>(limit), 0);
  const int32_t got = file.Read(clip.samples.data(), static_cast<int32_t>(limit), true);
  clip.samples.resize(static_cast<size_t>(got));
  if (got == 0) {
    error = "no sound in " + diskPath;
    return false;
  }
  return true;
}

}  // namespace skerrow::audio
