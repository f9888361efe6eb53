// GenerateWorld: the kind pack, unit parameters, episode 1 levels and their terrain.
#include "content.h"

namespace skerrow::content {

void GenerateWorld(Output&) {}

}  // namespace skerrow::content
