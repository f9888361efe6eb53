// Fuzz target: BMP/QVT pictures through the platform decoder, the direct 24-bit loader, the
// half-resolution path and the alpha merge.
#include <cstdint>

#include "engine/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skerrow;
  // Keep the fuzzer's memory in bounds (the decoders accept up to 4096 x 4096 pixels).
  if (size > (size_t{8} << 20)) return 0;
  TPixels p, direct;
  TPictureError error;
  if (DecodeBitmap({data, size}, p, &error)) {
    const TPixels half = HalvePixels(p);
    const TPixels merged = MergeAlpha(p, half, true);
    if (merged.data.size() != size_t(p.width) * p.height * 4) __builtin_trap();
  }
  DecodeBmp24({data, size}, direct, &error);
  return 0;
}
