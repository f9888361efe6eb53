// Sound costs on an in-process loopback device: one PlaySound during a step (goal: median
// under 20 microseconds, no allocation), and starting a music track (goal: the caller never
// waits for decoding; the stream's thread does it).
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/audio_device.h"
#include "audio/music.h"
#include "audio/sound_effects.h"

// C allocations (OpenAL Soft is C): this program's malloc counts each call and hands it to
// glibc's own.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t n, size_t size);
extern "C" void* __libc_realloc(void* p, size_t size);
static std::atomic<int64_t> g_mallocs{0};
extern "C" void* malloc(size_t size) {
  g_mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t n, size_t size) {
  g_mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, size_t size) {
  g_mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, size);
}

namespace skerrow {
namespace {

namespace fs = std::filesystem;

// A pack of the 22 sounds (2 s of 8-bit noise each) and one 60 s MP3, in a scratch folder.
fs::path MakeFiles() {
  const fs::path root = fs::temp_directory_path() / "skerrow_audio_bench";
  const fs::path battle = root / "gdata" / "sounds" / "battle";
  fs::create_directories(battle);
  for (const audio::SoundTableRow& row : audio::kSoundTable) {
    if (row.file == nullptr) continue;
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    SNDFILE* f = sf_open((battle / row.file).c_str(), SFM_WRITE, &info);
    std::vector<short> s(44100);
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<short>((i * 7919) % 20000 - 10000);
    sf_writef_short(f, s.data(), static_cast<sf_count_t>(s.size()));
    sf_close(f);
  }
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  SNDFILE* f = sf_open((root / "track.mp3").c_str(), SFM_WRITE, &info);
  std::vector<short> s(22050 * 60);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<short>(8000 * std::sin(i * 0.05));
  sf_writef_short(f, s.data(), static_cast<sf_count_t>(s.size()));
  sf_close(f);
  return root;
}

void BM_PlaySound(benchmark::State& state) {
  const fs::path root = MakeFiles();
  audio::AudioDevice device;
  device.OpenLoopback(44100);
  audio::SoundEffects sounds;
  sounds.InitSound(device, root.string() + "/", false);
  std::vector<int16_t> mix(2 * 441);
  int32_t n = 0;
  int64_t allocations = 0;
  for (auto _ : state) {
    // Both counts include the heap counter's own operator new calls (which go to malloc too).
    const int64_t before = g_mallocs.load();
    sounds.PlaySound(n % 20, 100.0 * (n % 7), 3.0, 50.0 * (n % 5), true);
    allocations += g_mallocs.load() - before;
    ++n;
    // Between plays the mixer runs now and then, as it does on its own thread in the game.
    if (n % 64 == 0) {
      state.PauseTiming();
      device.RenderLoopback(mix.data(), 441);
      state.ResumeTiming();
    }
  }
  state.counters["allocations"] = static_cast<double>(allocations);
  sounds.ReleaseSound();
}
BENCHMARK(BM_PlaySound)->Repetitions(5)->ReportAggregatesOnly(true);

// The time PlayMusic holds the game thread: the decoding runs on the stream's thread.
void BM_StartMusic(benchmark::State& state) {
  const fs::path root = MakeFiles();
  audio::AudioDevice device;
  device.OpenLoopback(44100);
  audio::MusicPlayerAl music;
  music.MusicInitialize(device);
  for (auto _ : state) {
    music.Play((root / "track.mp3").string());
  }
}
BENCHMARK(BM_StartMusic)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace skerrow
