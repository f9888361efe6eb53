// A message box before any window exists (the first-run message).
#pragma once

#include <string>

namespace skerrow::platform {

// Shows a modal error box with SDL; false when no display can show one (the caller has
// already written the text to stderr and the log).
bool ShowErrorBoxWithoutWindow(const std::string& caption, const std::string& text);

}  // namespace skerrow::platform
