// Placeholder model and effect generators so the content tool links before the real ones exist.
// Developer M: delete this file when you add your GenerateModels / GenerateEffects.
#include "content.h"

namespace skerrow::content {

void GenerateModels(Output&) {}
void GenerateEffects(Output&) {}

}  // namespace skerrow::content
