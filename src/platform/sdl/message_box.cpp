// A message box before any window exists, through SDL's own simple message box.
#include "platform/sdl/message_box.h"

#include <SDL.h>

namespace skerrow::platform {

bool ShowErrorBoxWithoutWindow(const std::string& caption, const std::string& text) {
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) ==
         0;
}

}  // namespace skerrow::platform
