// Sound pieces of the content generator shared by the sound, music, voice and movie writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skerrow::content {

class Output;

inline constexpr int kAudioRate = 22050;  // every generated sound and track

// PCM WAV bytes: 8-bit unsigned or 16-bit signed samples, interleaved.
std::vector<uint8_t> EncodeWav(int rate, int channels, int bits, const std::vector<uint8_t>& data);
// Float samples in [-1, 1] to 8-bit unsigned / 16-bit little-endian signed PCM bytes.
std::vector<uint8_t> ToPcm8(const std::vector<float>& s);
std::vector<int16_t> ToPcm16(const std::vector<float>& s);
// MP3 bytes (MPEG-1/2 layer III, mono) of 16-bit samples, through libsndfile.
std::vector<uint8_t> EncodeMp3(int rate, const std::vector<int16_t>& samples);

// A Russian voice (WAV) for every hint text (ata/hints/*.txt) written to `out` so far, at the
// name the game looks for: sounds/hints/<name>.wav, and ata/hints/get<N>.wav for Get<N>.
void GenerateVoices(Output& out);

// The logo chime of movie `k` (0..2): a short mono piece at kAudioRate.
std::vector<float> LogoChime(int k, double seconds);

}  // namespace skerrow::content
