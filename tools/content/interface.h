// Interface pictures of the content pack.
#pragma once

#include "content.h"

namespace skerrow::content {

// The loading screen: textures/int/loading.qvt (picture), striper.qvt (bar fill), stripel.qvt
// (bar frame) and loadingW1.qvt .. loadingW4.qvt (the episodes' loading pictures).
void GenerateLoadingScreens(Output& out);

}  // namespace skerrow::content
