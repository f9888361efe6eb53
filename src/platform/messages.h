// Modal message boxes with a caption. Texts are UTF-8 here; the default handler writes them
// to stderr and never blocks; the SDL backend installs a real message box unless headless.
#pragma once

#include <functional>
#include <string>

namespace skerrow::platform {

using MessageHandler = std::function<void(const std::string& caption, const std::string& text)>;

// Shows a message through the current handler.
void ShowMessage(const std::string& caption, const std::string& text);
// Replaces the handler; an empty handler restores the stderr one. Returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace skerrow::platform
