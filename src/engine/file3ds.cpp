// 3D Studio (.3ds) reader (work in progress).
#include "engine/file3ds.h"

namespace skerrow {

TFile3DS::TFile3DS(const std::string& fileName) {}
TFile3DS::TFile3DS(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
uint16_t TFile3DS::RootId() const {
  return 0;
}
int32_t TFile3DS::DatabaseRelease() const {
  return kReleaseUnknown;
}
int32_t TFile3DS::MeshRelease() const {
  return kReleaseUnknown;
}
TAtmosphere3DS TFile3DS::Atmosphere() const {
  return {};
}
int32_t TMaterialList::Count() const {
  return 0;
}
TMaterial3DS TMaterialList::Material(int32_t) const {
  return {};
}
int32_t TObjectList::MeshCount() const {
  return 0;
}
TMesh3DS TObjectList::Mesh(int32_t) const {
  return {};
}
int32_t TObjectList::OmniLightCount() const {
  return 0;
}
TLight3DS TObjectList::OmniLight(int32_t) const {
  return {};
}
int32_t TObjectList::SpotLightCount() const {
  return 0;
}
TLight3DS TObjectList::SpotLight(int32_t) const {
  return {};
}
int32_t TKeyFramer::MeshNodeCount() const {
  return 0;
}
TMeshNode3DS TKeyFramer::MeshNode(int32_t) const {
  return {};
}

}  // namespace skerrow
