// Fuzz target: the 3DS reader, every query the model loader makes, and the model build that
// needs no GL (normals, face groups, the keyframer's parent walk).
#include <cstdint>
#include <vector>

#include "engine/file3ds.h"
#include "engine/model.h"
#include "platform/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace skerrow;
  // Missing-material messages would only flood the log.
  static const bool quiet = [] {
    platform::SetMessageHandler([](const std::string&, const std::string&) {});
    return true;
  }();
  (void)quiet;
  try {
    TFile3DS f(std::vector<uint8_t>(data, data + size));
    f.DatabaseRelease();
    f.MeshRelease();
    f.Atmosphere();
    for (int32_t i = 0; i < f.Materials().Count(); ++i) f.Materials().Material(i);
    for (int32_t i = 0; i < f.Objects().MeshCount(); ++i) {
      const TMesh3DS m = f.Objects().Mesh(i);
      for (const TMaterialGroup3DS& g : m.materialGroups) {
        for (uint16_t face : g.faces) {
          if (face >= m.faces.size()) __builtin_trap();
        }
      }
    }
    for (int32_t i = 0; i < f.Objects().OmniLightCount(); ++i) f.Objects().OmniLight(i);
    for (int32_t i = 0; i < f.Objects().SpotLightCount(); ++i) f.Objects().SpotLight(i);
    for (int32_t i = 0; i < f.KeyFramer().MeshNodeCount(); ++i) f.KeyFramer().MeshNode(i);

    ModelSource source;
    FillModelSource(f, source);
    TKTZGL_Model model;
    std::vector<ModelNodeDraw> draws;
    TLoaderMessages messages;
    model.BuildWithoutGL(source, -0.3f, &draws, messages);
    for (const ModelMesh& mesh : model.Meshes) {
      if (mesh.normals.size() != mesh.vertices.size()) __builtin_trap();
      for (const FaceGroup& group : mesh.faceGroups) {
        if (group.materialIndex < 0 || size_t(group.materialIndex) >= model.Materials.size())
          __builtin_trap();
        for (uint32_t index : group.indices) {
          if (index >= mesh.vertices.size()) __builtin_trap();
        }
      }
    }
    for (const ModelNodeDraw& d : draws) {
      if (d.mesh < 0 || size_t(d.mesh) >= model.Meshes.size()) __builtin_trap();
    }
  } catch (const E3DSError&) {
  }
  return 0;
}
