// Fuzz target: the OBJ terrain-piece reader.
#include <cstdint>
#include <string_view>

#include "engine/obj_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skerrow::TOBJModel m;
  try {
    m.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const skerrow::EOBJError&) {
  }
  if (m.Groups.empty()) __builtin_trap();
  return 0;
}
