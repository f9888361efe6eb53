// Shared pieces of the audio tests: a loopback device, WAV bytes built in memory, and the
// loudness of a rendered stretch.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/audio_device.h"

namespace skerrow::test {

inline void PutLe(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A canonical PCM WAV file: 44-byte header, then `data` as given.
inline std::vector<uint8_t> WavBytes(int channels, int rate, int bits,
                                     const std::vector<uint8_t>& data) {
  std::vector<uint8_t> b;
  const uint32_t block = static_cast<uint32_t>(channels * bits / 8);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  PutLe(b, static_cast<uint32_t>(36 + data.size()), 4);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(b, 16, 4);
  PutLe(b, 1, 2);
  PutLe(b, static_cast<uint32_t>(channels), 2);
  PutLe(b, static_cast<uint32_t>(rate), 4);
  PutLe(b, static_cast<uint32_t>(rate) * block, 4);
  PutLe(b, block, 2);
  PutLe(b, static_cast<uint32_t>(bits), 2);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  PutLe(b, static_cast<uint32_t>(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// 8-bit mono at 22,050 Hz (the channel format): a 441 Hz square wave of `seconds`.
inline std::vector<uint8_t> SquareWav8(double seconds) {
  std::vector<uint8_t> data(static_cast<size_t>(22050 * seconds));
  for (size_t i = 0; i < data.size(); ++i) data[i] = (i / 25) % 2 ? 200 : 56;
  return WavBytes(1, 22050, 8, data);
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct StereoLevel {
  double left = 0, right = 0;  // RMS of each channel
};

inline StereoLevel Render(audio::AudioDevice& device, int frames) {
  std::vector<int16_t> mix(static_cast<size_t>(frames) * 2);
  device.RenderLoopback(mix.data(), frames);
  StereoLevel l;
  for (int i = 0; i < frames; ++i) {
    l.left += double(mix[2 * i]) * mix[2 * i];
    l.right += double(mix[2 * i + 1]) * mix[2 * i + 1];
  }
  l.left = std::sqrt(l.left / frames);
  l.right = std::sqrt(l.right / frames);
  return l;
}

}  // namespace skerrow::test
