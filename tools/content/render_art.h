// Art the world renderer needs beyond the episode's own: the sea floor's animated overlay.
#pragma once

namespace skerrow::content {
class Output;
// textures/effects/caust/caust0000.qvt .. caust0031.qvt: 32 tileable frames of caustic light.
void GenerateRenderArt(Output& out);
}  // namespace skerrow::content
