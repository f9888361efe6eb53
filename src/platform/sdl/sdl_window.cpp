// The SDL2 backend: one window with an OpenGL compatibility context, events translated to the
// game's handlers, game controllers (hot-plugged) read as the game's keys, and the Alt+Enter
// full-screen toggle.
#include <SDL.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/sdl/raw_events.h"
#include "platform/sdl/sdl_events.h"

namespace skerrow::platform {
namespace {

// Passes events on but lets only the first close request of one pump through: closing the
// last window raises both a window close event and SDL_QUIT.
class OneCloseSink final : public EventSink {
 public:
  explicit OneCloseSink(EventSink& inner) : inner_(inner) {}
  void OnKeyDown(int vk, uint32_t shift) override { inner_.OnKeyDown(vk, shift); }
  void OnKeyUp(int vk, uint32_t shift) override { inner_.OnKeyUp(vk, shift); }
  void OnChar(uint8_t c) override { inner_.OnChar(c); }
  void OnMouseDown(int b, int x, int y, uint32_t s) override { inner_.OnMouseDown(b, x, y, s); }
  void OnMouseUp(int b, int x, int y, uint32_t s) override { inner_.OnMouseUp(b, x, y, s); }
  void OnMouseMove(int x, int y, uint32_t s) override { inner_.OnMouseMove(x, y, s); }
  void OnPointerLeave() override { inner_.OnPointerLeave(); }
  void OnPad(const PadState& pad) override { inner_.OnPad(pad); }
  void OnClose() override {
    if (closed_) return;
    closed_ = true;
    inner_.OnClose();
  }

 private:
  EventSink& inner_;
  bool closed_ = false;
};

// Framebuffer requests, best first: depth 24 with 8 stencil bits, then what older drivers give.
struct BufferRequest {
  int depth;
  int stencil;
};
constexpr BufferRequest kBufferRequests[] = {{24, 8}, {16, 8}, {16, 1}};

RawEventHook& CurrentRawEventHook() {
  static RawEventHook hook;
  return hook;
}

// SDL video and the GL library are started once per process and stay up until exit: closing
// and reopening the window (a display mode change) then keeps the driver and the GL library
// loaded. The first Open decides the driver: `headless` selects the offscreen one.
bool InitVideoOnce(bool headless, std::string& error) {
  static bool initialised = false;
  if (initialised) return true;
  if (headless) {
    // Above the SDL_VIDEODRIVER environment variable, which a plain hint would not beat.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("SDL video initialisation failed: ") + SDL_GetError();
    return false;
  }
  if (SDL_GL_LoadLibrary(nullptr) != 0) {
    error = std::string("cannot load the OpenGL library: ") + SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  // Game controllers are optional: without the subsystem the keyboard still plays.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "skerrow: no game controller support: %s\n", SDL_GetError());
  }
  initialised = true;
  return true;
}

class SdlWindow final : public Window {
 public:
  ~SdlWindow() override {
    Close();
    // Controllers stay open while the window reopens (a display change): they were announced
    // once, when the subsystem started.
    for (SDL_GameController* c : controllers_) SDL_GameControllerClose(c);
  }

  bool Open(const DisplayConfig& config) override {
    Close();
    error_.clear();
    if (config.width <= 0 || config.height <= 0) {
      error_ = "invalid window size " + std::to_string(config.width) + "x" +
               std::to_string(config.height);
      return false;
    }
    if (!InitVideoOnce(config.headless, error_)) return false;

    DisplayConfig sized = config;
    if (config.fitToDesktop && !config.fullscreen && !config.headless) {
      SDL_Rect usable{0, 0, 0, 0};
      if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
      FitWindowToDesktop(sized.width, sized.height, usable.w, usable.h);
    }

    Uint32 flags = SDL_WINDOW_OPENGL;
    flags |= config.headless ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    if (config.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;

    for (const BufferRequest& request : kBufferRequests) {
      if (TryCreate(sized, flags, request)) break;
    }
    if (!context_) {
      Close();
      return false;
    }
    error_.clear();             // earlier attempts may have left a message
    SDL_GL_SetSwapInterval(0);  // the main loop paces itself
    windowId_ = SDL_GetWindowID(window_);
    UpdateSize();
    SDL_StartTextInput();

    if (!config.headless) {
      previousHandler_ = SetMessageHandler([](const std::string& caption, const std::string& text) {
        if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(),
                                     nullptr) != 0) {
          // No message box available (no display server): stderr as the default handler.
          std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        }
      });
      ownsHandler_ = true;
    }
    return true;
  }

  void Close() override {
    if (ownsHandler_) {
      SetMessageHandler(std::move(previousHandler_));
      previousHandler_ = nullptr;
      ownsHandler_ = false;
    }
    if (context_) {
      SDL_StopTextInput();
      SDL_GL_MakeCurrent(window_, nullptr);
      SDL_GL_DeleteContext(context_);
      context_ = nullptr;
    }
    if (window_) {
      SDL_DestroyWindow(window_);
      window_ = nullptr;
    }
    windowId_ = 0;
    width_ = height_ = 0;
  }

  bool IsOpen() const override { return window_ != nullptr; }
  bool HasGL() const override { return context_ != nullptr; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SwapBuffers() override {
    if (window_) SDL_GL_SwapWindow(window_);
  }

  void PumpEvents(EventSink& sink) override {
    if (!window_) return;
    OneCloseSink once(sink);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      // A copy, so a hook may replace itself.
      if (const RawEventHook hook = CurrentRawEventHook(); hook && hook(&event)) continue;
      if (IsFullScreenToggle(event, windowId_)) {
        SetFullScreen(!IsFullScreen());
        continue;
      }
      if (event.type == SDL_CONTROLLERDEVICEADDED || event.type == SDL_CONTROLLERDEVICEREMOVED) {
        PlugController(event);
        continue;
      }
      if (event.type == SDL_WINDOWEVENT && event.window.windowID == windowId_ &&
          event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        UpdateSize();
      }
      TranslateEvent(event, once, static_cast<uint16_t>(SDL_GetModState()), windowId_);
    }
    DeliverControllerKeys(once);
  }

  bool SetFullScreen(bool on) override {
    if (!window_) return false;
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
      return false;
    }
    UpdateSize();
    return true;
  }

  bool IsFullScreen() const override {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
  }

  void ShowCursor(bool visible) override {
    if (window_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }

  void WarpMouse(int x, int y) override {
    if (window_) SDL_WarpMouseInWindow(window_, x, y);
  }

  bool ReadKeyboard(KeyboardState& keys) override {
    if (!window_) return false;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    KeyboardFromSdlState(state, count, keys);
    return true;
  }

  void* GetProcAddress(const char* name) override {
    return context_ && name ? SDL_GL_GetProcAddress(name) : nullptr;
  }

  const std::string& Error() const override { return error_; }

 private:
  // Creates the window and a current context with at least 16 depth and 1 stencil bits for
  // one buffer request; on failure leaves nothing behind but a message in error_.
  bool TryCreate(const DisplayConfig& config, Uint32 flags, const BufferRequest& request) {
    SetGlAttributes(request);
    window_ = SDL_CreateWindow(config.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               config.width, config.height, flags);
    if (!window_) {
      error_ = std::string("cannot create the window: ") + SDL_GetError();
      return false;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
      error_ = std::string("cannot create an OpenGL context: ") + SDL_GetError();
    } else if (SDL_GL_MakeCurrent(window_, context_) != 0) {
      error_ = std::string("cannot make the OpenGL context current: ") + SDL_GetError();
    } else {
      int depth = 0;
      int stencil = 0;
      SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
      SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencil);
      if (depth >= 16 && stencil >= 1) return true;
      error_ = "the OpenGL context has " + std::to_string(depth) + " depth and " +
               std::to_string(stencil) + " stencil bits (16 and 1 needed)";
    }
    Close();
    return false;
  }

  static void SetGlAttributes(const BufferRequest& request) {
    SDL_GL_ResetAttributes();
    // No profile and no version: Mesa then gives a compatibility context with OpenGL 1.x.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencil);
  }

  void UpdateSize() { SDL_GL_GetDrawableSize(window_, &width_, &height_); }

  // A controller plugged in is opened (device index), one pulled out closed (instance id).
  void PlugController(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
      if (SDL_GameController* c = SDL_GameControllerOpen(event.cdevice.which)) {
        controllers_.push_back(c);
      }
      return;
    }
    for (auto it = controllers_.begin(); it != controllers_.end(); ++it) {
      SDL_Joystick* joystick = SDL_GameControllerGetJoystick(*it);
      if (SDL_JoystickInstanceID(joystick) == event.cdevice.which) {
        SDL_GameControllerClose(*it);
        controllers_.erase(it);
        return;
      }
    }
  }

  // The keys the controllers hold now against those of the last pump, as key events marked
  // kShiftController (a pulled-out controller releases its keys), then their sticks and
  // interface buttons (OnPad).
  void DeliverControllerKeys(EventSink& sink) {
    KeyboardState now;
    PadState pad;
    for (SDL_GameController* c : controllers_) {
      int16_t axes[SDL_CONTROLLER_AXIS_MAX] = {};
      uint8_t buttons[SDL_CONTROLLER_BUTTON_MAX] = {};
      for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) {
        axes[a] = SDL_GameControllerGetAxis(c, static_cast<SDL_GameControllerAxis>(a));
      }
      for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        buttons[b] = SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b));
      }
      AddControllerKeys(axes, buttons, now);
      AddControllerPad(axes, buttons, pad);
    }
    for (int vk = 1; vk < 256; ++vk) {
      if (now.IsDown(vk) == padKeys_.IsDown(vk)) continue;
      if (now.IsDown(vk)) {
        sink.OnKeyDown(vk, kShiftController);
      } else {
        sink.OnKeyUp(vk, kShiftController);
      }
    }
    padKeys_ = now;
    // The last controller pulled out reports once more, all released.
    if (!controllers_.empty() || padReported_) sink.OnPad(pad);
    padReported_ = !controllers_.empty();
  }

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  uint32_t windowId_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::string error_;
  MessageHandler previousHandler_;
  bool ownsHandler_ = false;
  std::vector<SDL_GameController*> controllers_;
  KeyboardState padKeys_;     // game keys the controllers held at the last pump
  bool padReported_ = false;  // the last pump reported a controller's state
};

}  // namespace

RawEventHook SetRawEventHook(RawEventHook hook) {
  return std::exchange(CurrentRawEventHook(), std::move(hook));
}

std::unique_ptr<Window> CreateSdlWindow() {
  return std::make_unique<SdlWindow>();
}

}  // namespace skerrow::platform
