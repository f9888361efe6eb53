// Access to raw SDL events for other SDL users in the process (the level editor's window, a
// GUI overlay): the hook sees every event before the game window translates it. No SDL types
// here; the pointer is a `const SDL_Event*`.
#pragma once

#include <functional>

namespace skerrow::platform {

// Returns true when it consumed the event, which the game window then does not see.
using RawEventHook = std::function<bool(const void* sdlEvent)>;

// Installs `hook` (empty removes it) for Window::PumpEvents of the SDL backend; returns the
// previous one.
RawEventHook SetRawEventHook(RawEventHook hook);

}  // namespace skerrow::platform
