// The free pack's sounds: the 22-sound battle list (8-bit mono WAV), the music tracks (MP3,
// composed here) and the spoken hint voices (libespeak-ng, Russian), plus the logo movies.
#include "audio_generate.h"

#include <espeak-ng/speak_lib.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "content.h"
#include "noise.h"
#include "platform/cp1251.h"

namespace skerrow::content {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kRate = kAudioRate;

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<float> Silence(double seconds) {
  return std::vector<float>(static_cast<size_t>(seconds * kRate), 0.0f);
}

// Adds `gain` * f(t) for t in [start, start + length) seconds.
void Mix(std::vector<float>& s, double start, double length, double gain,
         const std::function<double(double)>& f) {
  const size_t a = static_cast<size_t>(std::max(0.0, start) * kRate);
  const size_t b = std::min(s.size(), static_cast<size_t>((start + length) * kRate));
  for (size_t i = a; i < b; ++i) s[i] += static_cast<float>(gain * f(i / kRate - start));
}

// One-pole low-pass noise source: `cut` 0..1 (1 = white).
struct Noise {
  Rng rng;
  double y = 0;
  explicit Noise(uint64_t seed) : rng(seed) {}
  double Next(double cut) {
    y += cut * (rng.Range(-1, 1) - y);
    return y;
  }
};

void Normalise(std::vector<float>& s, double peak) {
  float m = 1e-6f;
  for (float v : s) m = std::max(m, std::fabs(v));
  for (float& v : s) v = static_cast<float>(v * peak / m);
}

// A cannon or an explosion: a thump, low-passed noise and a rumble tail.
std::vector<float> Blast(double seconds, double thumpHz, double cut, double decay, uint64_t seed) {
  std::vector<float> s = Silence(seconds);
  Noise n(seed);
  Mix(s, 0, seconds, 1.0, [&](double t) {
    const double env = std::exp(-t * decay);
    const double thump = std::sin(kTwoPi * thumpHz * t * (1.0 - 0.3 * t)) * std::exp(-t * 8);
    return env * n.Next(cut * (0.3 + 0.7 * std::exp(-t * 3))) * 2.5 + thump;
  });
  Normalise(s, 0.95);
  return s;
}

std::vector<float> Splash(uint64_t seed) {
  std::vector<float> s = Blast(2.0, 45, 0.25, 2.2, seed);
  Noise hiss(seed + 1);
  Mix(s, 0.08, 1.6, 0.5,
      [&](double t) { return hiss.Next(0.9) * std::exp(-t * 2.5) * std::min(1.0, t * 20); });
  Normalise(s, 0.95);
  return s;
}

std::vector<float> Tones(const std::vector<std::pair<double, double>>& notes, double length,
                         double decay) {
  double end = 0;
  for (const auto& n : notes) end = std::max(end, n.first + length);
  std::vector<float> s = Silence(end + 0.05);
  for (const auto& [start, hz] : notes) {
    Mix(s, start, length, 0.5, [hz = hz, decay](double t) {
      return (std::sin(kTwoPi * hz * t) + 0.3 * std::sin(kTwoPi * 2 * hz * t)) *
             std::exp(-t * decay) * std::min(1.0, t * 400);
    });
  }
  Normalise(s, 0.8);
  return s;
}

// A tone gliding from `from` to `to` Hz, with `harmonics` of a saw-like timbre.
std::vector<float> Glide(double seconds, double from, double to, int harmonics, double gain) {
  std::vector<float> s = Silence(seconds);
  double phase = 0;
  Mix(s, 0, seconds, gain, [&](double t) {
    const double hz = from + (to - from) * t / seconds;
    phase += kTwoPi * hz / kRate;
    double v = 0;
    for (int h = 1; h <= harmonics; ++h) v += std::sin(phase * h) / h;
    return v * std::min(1.0, t * 10) * std::min(1.0, (seconds - t) * 4);
  });
  return s;
}

std::vector<float> Zap(double seconds, double hz, uint64_t seed) {
  std::vector<float> s = Silence(seconds);
  Noise n(seed);
  double phase = 0;
  Mix(s, 0, seconds, 0.8, [&](double t) {
    phase += kTwoPi * hz * (1 + 0.5 * std::sin(kTwoPi * 37 * t)) / kRate;
    const double saw = std::fmod(phase / kTwoPi, 1.0) * 2 - 1;
    return (saw * 0.7 + n.Next(1.0) * 0.3) * std::exp(-t * 3 / seconds);
  });
  return s;
}

std::vector<float> Bubbles(double seconds, uint64_t seed) {
  std::vector<float> s = Blast(seconds, 35, 0.05, 0.8, seed);
  Rng rng(seed + 7);
  for (double t = 0.1; t < seconds - 0.2; t += rng.Range(0.05, 0.25)) {
    const double hz = rng.Range(180, 520);
    Mix(s, t, 0.12, 0.35,
        [hz](double u) { return std::sin(kTwoPi * hz * u * (1 + 3 * u)) * std::exp(-u * 30); });
  }
  Normalise(s, 0.9);
  return s;
}

std::vector<float> Clank(double seconds, double hz, uint64_t seed) {
  std::vector<float> s = Silence(seconds);
  Noise n(seed);
  Mix(s, 0, seconds, 0.7, [&](double t) {
    return (std::sin(kTwoPi * hz * t) + 0.6 * std::sin(kTwoPi * hz * 2.76 * t) +
            0.4 * std::sin(kTwoPi * hz * 5.4 * t) + n.Next(0.8) * std::exp(-t * 60)) *
           std::exp(-t * 6);
  });
  Normalise(s, 0.85);
  return s;
}

void WriteSound(Output& out, const std::string& name, const std::vector<float>& s) {
  out.Write("sounds/battle/" + name, EncodeWav(kAudioRate, 1, 8, ToPcm8(s)));
}

void GenerateSounds(Output& out) {
  WriteSound(out, "medict.wav", Tones({{0, 523.3}, {0.12, 659.3}, {0.24, 784.0}}, 0.6, 5));
  WriteSound(out, "speedup.wav", Glide(1.2, 220, 880, 4, 0.6));
  WriteSound(out, "shoot1.wav", Blast(1.0, 70, 0.5, 5.0, 11));
  WriteSound(out, "explos1.wav", Blast(2.0, 50, 0.35, 2.0, 12));
  WriteSound(out, "explosw.wav", Splash(13));
  WriteSound(out, "sunking.wav", Bubbles(4.0, 14));
  WriteSound(out, "startforvard.wav", Glide(1.5, 40, 95, 12, 0.7));
  WriteSound(out, "startback.wav", Glide(1.5, 95, 45, 12, 0.7));
  WriteSound(out, "explos2.wav", Blast(2.5, 38, 0.25, 1.6, 15));
  {
    std::vector<float> fall = Glide(2.5, 1400, 300, 2, 0.35);
    std::vector<float> hit = Blast(2.0, 45, 0.3, 2.2, 16);
    fall.resize(fall.size() + hit.size(), 0.0f);
    for (size_t i = 0; i < hit.size(); ++i) fall[fall.size() - hit.size() + i] += hit[i];
    Normalise(fall, 0.9);
    WriteSound(out, "fallin.wav", fall);
  }
  WriteSound(out, "electshoot.wav", Zap(0.6, 180, 17));
  WriteSound(out, "elect.wav", Zap(1.0, 95, 18));
  WriteSound(out, "moneta.wav", Tones({{0, 987.8}, {0.07, 1318.5}}, 0.4, 9));
  WriteSound(out, "moneta2.wav", Tones({{0, 987.8}, {0.06, 1318.5}, {0.12, 1568.0}}, 0.4, 9));
  WriteSound(out, "moneta3.wav",
             Tones({{0, 784}, {0.05, 987.8}, {0.1, 1174.7}, {0.15, 1568}, {0.2, 1975.5}}, 0.45, 8));
  WriteSound(out, "mine.wav", Clank(0.9, 210, 19));
  WriteSound(out, "kluch.wav",
             Tones({{0, 2093}, {0.05, 2637}, {0.1, 2349}, {0.16, 3136}}, 0.3, 14));
  WriteSound(out, "menu.wav", Tones({{0, 1500}}, 0.04, 90));
  {
    std::vector<float> gate = Glide(2.5, 30, 34, 20, 0.5);
    Noise n(20);
    Mix(gate, 0, 2.5, 0.3, [&](double t) { return n.Next(0.1) * std::min(1.0, (2.5 - t) * 2); });
    std::vector<float> thud = Clank(1.0, 90, 21);
    gate.resize(gate.size() + thud.size() / 2, 0.0f);
    for (size_t i = 0; i < thud.size() && gate.size() > thud.size(); ++i)
      gate[gate.size() - thud.size() + i] += thud[i];
    Normalise(gate, 0.9);
    WriteSound(out, "gate1.wav", gate);
  }
}

// ---- Music ----

double MidiHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// What makes one track sound unlike another.
struct Style {
  const char* path;  // under gdata, UTF-8
  double seconds;
  int root;  // MIDI note of the key
  bool minor;
  double bpm;
  int chords[4];  // scale degrees 0..6 of the four-bar progression
  int lead;       // 0 soft sine, 1 square-ish, 2 plucked, 3 brass-like saw
  bool drums;
  uint64_t seed;
};

constexpr Style kTracks[] = {
    {"Music/Прелюдия.mp3", 64, 57, true, 72, {0, 5, 3, 4}, 0, false, 101},
    {"Music/Авторы.mp3", 60, 60, false, 96, {0, 4, 5, 3}, 2, false, 102},
    {"Music/Вступление.mp3", 48, 50, true, 84, {0, 6, 5, 4}, 0, true, 103},
    {"Music/Победа.mp3", 48, 62, false, 120, {0, 3, 4, 0}, 3, true, 104},
    {"Music/Босс.mp3", 72, 52, true, 150, {0, 1, 0, 6}, 1, true, 105},
    {"Music/batle/Одиночество.mp3", 120, 55, true, 100, {0, 3, 6, 4}, 2, true, 106},
    {"Music/batle/Объединение.mp3", 120, 58, false, 112, {0, 4, 5, 3}, 3, true, 107},
    {"Music/batle/Неизвестность.mp3", 120, 53, true, 128, {0, 5, 1, 4}, 1, true, 108},
    {"Music/batle/2-атмосфера.mp3", 120, 56, true, 90, {0, 2, 5, 4}, 0, true, 109},
    {"Music/batle/Мрак.mp3", 120, 48, true, 104, {0, 1, 5, 6}, 1, true, 110},
    {"Music/batle/Остров.mp3", 120, 60, false, 118, {0, 5, 3, 4}, 2, true, 111},
    {"Music/batle/Подъем.mp3", 120, 59, false, 136, {0, 4, 0, 5}, 3, true, 112},
    {"Music/batle/Простор.mp3", 120, 54, false, 96, {0, 3, 0, 4}, 0, true, 113},
    {"Music/batle/Чувства.mp3", 120, 61, true, 108, {0, 5, 6, 3}, 2, true, 114},
};

int ScaleNote(const Style& st, int degree) {
  static const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
  static const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
  const int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
  const int d = degree - octave * 7;
  return st.root + 12 * octave + (st.minor ? kMinor[d] : kMajor[d]);
}

double Voice(int lead, double phase, double t) {
  switch (lead) {
    case 1:
      return std::tanh(3 * std::sin(phase)) * 0.6;
    case 2:
      return (std::sin(phase) + 0.5 * std::sin(2 * phase)) * std::exp(-t * 4);
    case 3: {
      double v = 0;
      for (int h = 1; h <= 6; ++h) v += std::sin(phase * h) / h;
      return v * 0.6;
    }
    default:
      return std::sin(phase) + 0.2 * std::sin(3 * phase);
  }
}

void AddNote(std::vector<float>& s, double start, double length, double hz, double gain, int lead) {
  Mix(s, start, length + 0.05, gain, [=](double t) {
    const double env = std::min(1.0, t * 60) * std::min(1.0, std::max(0.0, (length - t) * 20 + 1));
    return Voice(lead, kTwoPi * hz * t, t) * env;
  });
}

// A looping piece: a four-bar progression under a seeded melody of eight bars that varies
// on every repeat, with bass, pad chords and (for the action tracks) drums.
std::vector<float> Compose(const Style& st) {
  std::vector<float> s = Silence(st.seconds);
  const double beat = 60.0 / st.bpm;
  const double bar = beat * 4;
  Rng rng(st.seed);
  Noise snare(st.seed + 1), hat(st.seed + 2);
  // The melody's motif: eight bars of steps, reused with changes.
  std::vector<int> motif(32);
  for (int& m : motif) m = rng.Int(9) - 2;
  int barIndex = 0;
  for (double t0 = 0; t0 < st.seconds; t0 += bar, ++barIndex) {
    const int chord = st.chords[barIndex % 4];
    // Pad: the chord's triad, held for the bar.
    for (int k = 0; k < 3; ++k) {
      AddNote(s, t0, bar * 0.98, MidiHz(ScaleNote(st, chord + 2 * k)), 0.07, 0);
    }
    // Bass: root on every beat (octave jumps on the action tracks).
    for (int b = 0; b < 4; ++b) {
      const int note = ScaleNote(st, chord - 14) + (st.drums && b % 2 ? 12 : 0);
      AddNote(s, t0 + b * beat, beat * 0.8, MidiHz(note), 0.16, 0);
    }
    // Melody: four notes a bar from the motif, varied after each pass of eight bars.
    const int pass = barIndex / 8;
    for (int n = 0; n < 4; ++n) {
      int step = motif[(barIndex % 8) * 4 + n];
      if (pass > 0 && rng.Int(4) == 0) step += rng.Int(5) - 2;
      if (pass % 3 == 2 && n % 2 == 1) continue;  // a sparser pass now and then
      AddNote(s, t0 + n * beat, beat * 0.9, MidiHz(ScaleNote(st, chord + step + 7)), 0.12, st.lead);
    }
    if (!st.drums) continue;
    for (int b = 0; b < 4; ++b) {
      const double tb = t0 + b * beat;
      Mix(s, tb, 0.25, 0.35,
          [](double t) { return std::sin(kTwoPi * 55 * t * (1 - t)) * std::exp(-t * 18); });
      if (b % 2 == 1) {
        Mix(s, tb, 0.2, 0.18, [&](double t) { return snare.Next(0.7) * std::exp(-t * 20); });
      }
      Mix(s, tb + beat / 2, 0.06, 0.06,
          [&](double t) { return hat.Next(1.0) * std::exp(-t * 60); });
    }
  }
  // Fade the ends so the loop joins without a click.
  const size_t fade = static_cast<size_t>(0.5 * kRate);
  for (size_t i = 0; i < fade && i < s.size(); ++i) {
    s[i] *= static_cast<float>(i) / fade;
    s[s.size() - 1 - i] *= static_cast<float>(i) / fade;
  }
  Normalise(s, 0.85);
  return s;
}

// ---- Memory file for libsndfile ----

struct MemoryFile {
  std::vector<uint8_t> bytes;
  sf_count_t pos = 0;
};

sf_count_t MemLength(void* user) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}
sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  const sf_count_t base = whence == SEEK_CUR   ? m->pos
                          : whence == SEEK_END ? static_cast<sf_count_t>(m->bytes.size())
                                               : 0;
  m->pos = std::max<sf_count_t>(0, base + offset);
  return m->pos;
}
sf_count_t MemRead(void* ptr, sf_count_t count, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  const sf_count_t n =
      std::max<sf_count_t>(0, std::min(count, static_cast<sf_count_t>(m->bytes.size()) - m->pos));
  if (n > 0) std::memcpy(ptr, m->bytes.data() + m->pos, static_cast<size_t>(n));
  m->pos += n;
  return n;
}
sf_count_t MemWrite(const void* ptr, sf_count_t count, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  const size_t end = static_cast<size_t>(m->pos + count);
  if (m->bytes.size() < end) m->bytes.resize(end);
  std::memcpy(m->bytes.data() + m->pos, ptr, static_cast<size_t>(count));
  m->pos += count;
  return count;
}
sf_count_t MemTell(void* user) {
  return static_cast<MemoryFile*>(user)->pos;
}

// ---- Voices ----

std::vector<int16_t>* g_speech = nullptr;

int SpeechCallback(short* wav, int samples, espeak_EVENT*) {
  if (wav != nullptr && samples > 0 && g_speech != nullptr) {
    g_speech->insert(g_speech->end(), wav, wav + samples);
  }
  return 0;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Where the voice of hint text `name` (file name without extension) goes: the fallback texts
// Get<N> keep theirs beside the text as get<N>.wav, every other one under sounds\hints.
std::string VoicePath(const std::string& name) {
  const bool fallback = name.size() > 3 && Lower(name.substr(0, 3)) == "get" &&
                        name.find_first_not_of("0123456789", 3) == std::string::npos;
  if (fallback) return "ata/hints/get" + name.substr(3) + ".wav";
  return "sounds/hints/" + name + ".wav";
}

}  // namespace

std::vector<uint8_t> EncodeWav(int rate, int channels, int bits, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> b;
  const uint32_t block = static_cast<uint32_t>(channels * bits / 8);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put(b, static_cast<uint32_t>(36 + data.size()), 4);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put(b, 16, 4);
  Put(b, 1, 2);  // PCM
  Put(b, static_cast<uint32_t>(channels), 2);
  Put(b, static_cast<uint32_t>(rate), 4);
  Put(b, static_cast<uint32_t>(rate) * block, 4);
  Put(b, block, 2);
  Put(b, static_cast<uint32_t>(bits), 2);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put(b, static_cast<uint32_t>(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

std::vector<uint8_t> ToPcm8(const std::vector<float>& s) {
  std::vector<uint8_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    out[i] = static_cast<uint8_t>(std::lround(128 + 127 * std::clamp(s[i], -1.0f, 1.0f)));
  }
  return out;
}

std::vector<int16_t> ToPcm16(const std::vector<float>& s) {
  std::vector<int16_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    out[i] = static_cast<int16_t>(std::lround(32767 * std::clamp(s[i], -1.0f, 1.0f)));
  }
  return out;
}

std::vector<uint8_t> EncodeMp3(int rate, const std::vector<int16_t>& samples) {
  MemoryFile file;
  SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 1;
  info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  SNDFILE* f = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (f == nullptr) throw std::runtime_error(std::string("MP3 encoder: ") + sf_strerror(nullptr));
  // Variable bit rate at a middling quality: music of the pack, not of a record.
  int mode = SF_BITRATE_MODE_VARIABLE;
  sf_command(f, SFC_SET_BITRATE_MODE, &mode, sizeof(mode));
  double level = 0.6;
  sf_command(f, SFC_SET_COMPRESSION_LEVEL, &level, sizeof(level));
  sf_writef_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(f);
  return std::move(file.bytes);
}

std::vector<float> LogoChime(int k, double seconds) {
  static const std::vector<std::pair<double, double>> kChimes[3] = {
      {{0.2, 392.0}, {0.5, 587.3}, {0.8, 784.0}},
      {{0.2, 440.0}, {0.45, 554.4}, {0.7, 659.3}, {0.95, 880.0}},
      {{0.2, 293.7}, {0.6, 440.0}, {1.0, 349.2}},
  };
  std::vector<float> s = Tones(kChimes[k % 3], 1.2, 2.5);
  s.resize(static_cast<size_t>(seconds * kRate), 0.0f);
  for (float& v : s) v *= 0.6f;
  return s;
}

void GenerateVoices(Output& out) {
  std::vector<std::string> texts;
  for (const std::string& rel : out.Written()) {
    const std::string low = Lower(rel);
    if (low.rfind("ata/hints/", 0) == 0 && low.size() > 4 && low.substr(low.size() - 4) == ".txt")
      texts.push_back(rel);
  }
  if (texts.empty()) return;
  const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
  if (rate <= 0 || espeak_SetVoiceByName("ru") != EE_OK) {
    throw std::runtime_error("libespeak-ng has no Russian voice");
  }
  espeak_SetSynthCallback(SpeechCallback);
  for (const std::string& rel : texts) {
    std::ifstream in(out.Root() / std::filesystem::path(std::u8string(rel.begin(), rel.end())),
                     std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    const std::string utf8 = Cp1251ToUtf8(text);
    std::vector<int16_t> speech;
    g_speech = &speech;
    espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                 nullptr);
    espeak_Synchronize();
    g_speech = nullptr;
    std::vector<uint8_t> data;
    data.reserve(speech.size() * 2);
    for (int16_t v : speech) Put(data, static_cast<uint16_t>(v), 2);
    const std::string name =
        rel.substr(rel.find_last_of('/') + 1, rel.size() - 4 - rel.find_last_of('/') - 1);
    out.Write(VoicePath(name), EncodeWav(rate, 1, 16, data));
  }
  espeak_Terminate();
}

void GenerateMusic(Output& out) {
  for (const Style& st : kTracks) out.Write(st.path, EncodeMp3(kAudioRate, ToPcm16(Compose(st))));
}

void GenerateAudio(Output& out) {
  GenerateSounds(out);
  GenerateVoices(out);
  GenerateMovies(out);
}

}  // namespace skerrow::content
