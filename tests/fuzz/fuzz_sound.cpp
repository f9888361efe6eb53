// Fuzz target: sound files (WAV, MP3 and whatever libsndfile recognises) through the clip
// reader of the effect channels and the sliced reader of the streams.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/pcm_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skerrow::audio;
  if (size > (size_t{1} << 20)) return 0;
  // libsndfile reads paths: the input lives in an anonymous memory file.
  static const int fd = memfd_create("fuzz_sound", 0);
  if (fd < 0) return 0;
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  MonoClip clip;
  std::string error;
  if (ReadMonoClip(path, 7, clip, error)) {
    // Never more than the channel holds at the file's rate.
    if (clip.samples.size() > size_t(7) * size_t(clip.rate)) __builtin_trap();
  }
  PcmFile file;
  if (file.Open(path, error)) {
    std::vector<int16_t> slice(4096 * 2);
    for (int i = 0; i < 64 && file.Read(slice.data(), 4096, false) > 0; ++i) {
    }
  }
  return 0;
}
