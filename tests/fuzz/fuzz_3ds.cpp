// Fuzz target: the 3DS reader and every query the model loader makes.
#include <cstdint>
#include <vector>

#include "engine/file3ds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skerrow;
  try {
    TFile3DS f(std::vector<uint8_t>(data, data + size));
    f.DatabaseRelease();
    f.MeshRelease();
    f.Atmosphere();
    for (int32_t i = 0; i < f.Materials().Count(); ++i) f.Materials().Material(i);
    for (int32_t i = 0; i < f.Objects().MeshCount(); ++i) {
      const TMesh3DS m = f.Objects().Mesh(i);
      for (const TFace3DS& face : m.faces) {
        if (face.a >= m.vertices.size() || face.b >= m.vertices.size() ||
            face.c >= m.vertices.size())
          __builtin_trap();
      }
      for (const TMaterialGroup3DS& g : m.materialGroups) {
        for (uint16_t face : g.faces) {
          if (face >= m.faces.size()) __builtin_trap();
        }
      }
    }
    for (int32_t i = 0; i < f.Objects().OmniLightCount(); ++i) f.Objects().OmniLight(i);
    for (int32_t i = 0; i < f.Objects().SpotLightCount(); ++i) f.Objects().SpotLight(i);
    for (int32_t i = 0; i < f.KeyFramer().MeshNodeCount(); ++i) f.KeyFramer().MeshNode(i);
  } catch (const E3DSError&) {
  }
  return 0;
}
