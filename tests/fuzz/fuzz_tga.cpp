// Fuzz target: the TGA readers (GUI loader and texture class).
#include <cstdint>

#include "engine/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skerrow;
  TPixels p;
  TPictureError error;
  if (DecodeTga({data, size}, "fuzz.tga", p, &error) &&
      p.data.size() != size_t(p.width) * p.height * p.channels)
    __builtin_trap();
  LoadTgaBgra({data, size}, "fuzz.tga", p, &error);
  return 0;
}
