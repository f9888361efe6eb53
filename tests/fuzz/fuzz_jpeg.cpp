// Fuzz target: JPEG decoding through libjpeg with the error manager that returns failure.
#include <cstdint>

#include "engine/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skerrow;
  TPixels p;
  TPictureError error;
  // A smaller picture cap than the game's keeps each run fast and small.
  DecodeJpeg({data, size}, "fuzz.jpg", p, &error, int64_t{2048} * 2048);
  return 0;
}
