// Platform layer interface: window + GL context, input events, clock, message boxes.
// Backends: the SDL2 one (platform/sdl) and the null one (always built, no window at all).
// Nothing here includes SDL, GL or OpenAL; those stay inside the backends' .cpp files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/keyboard.h"

namespace skerrow::platform {

// Display request. width/height are the client area in pixels; with `fullscreen` the SDL
// backend takes the whole desktop and reports the size it got through Window::Width/Height.
struct DisplayConfig {
  int width = 800;
  int height = 600;
  bool fullscreen = false;
  // Offscreen video driver: a real GL context, nothing shown on screen.
  bool headless = false;
  // A window (not full screen, not headless) whose size came from settings.dat: it is fitted
  // to the desktop's usable area with FitWindowToDesktop when it opens.
  bool fitToDesktop = false;
  std::string title = "Skerrow";
};

// Mouse buttons in the handlers' terms.
enum : int { kMouseLeft = 0, kMouseRight = 1, kMouseMiddle = 2 };

// Shift state bits passed with key and mouse events (Windows TShiftState order).
// kShiftController marks a key event made by a game controller: its code is already the game
// key of the control (never remapped by the key bindings).
enum : uint32_t { kShiftShift = 1, kShiftAlt = 2, kShiftCtrl = 4, kShiftController = 8 };

// The game controllers' sticks and the buttons that work the interface windows, every plugged
// controller together: of each axis the larger deflection, a button down on any of them.
struct PadState {
  int16_t leftX = 0, leftY = 0, rightX = 0, rightY = 0;           // -32768..32767, y downwards
  uint8_t dpadUp = 0, dpadDown = 0, dpadLeft = 0, dpadRight = 0;  // 1 = down
  uint8_t a = 0, b = 0;
};

// Receives translated window events. Key codes are Windows virtual-key codes (vk_codes.h),
// characters are Windows-1251 bytes, coordinates are client-area pixels.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void OnKeyDown(int vk, uint32_t shift) = 0;
  virtual void OnKeyUp(int vk, uint32_t shift) = 0;
  virtual void OnChar(uint8_t cp1251) = 0;
  virtual void OnMouseDown(int button, int x, int y, uint32_t shift) = 0;
  virtual void OnMouseUp(int button, int x, int y, uint32_t shift) = 0;
  virtual void OnMouseMove(int x, int y, uint32_t shift) = 0;
  // The pointer left the window (for another window, or off it); the next move brings it back.
  virtual void OnPointerLeave() {}
  // The user asked to close the window.
  virtual void OnClose() = 0;
  // Once per PumpEvents while a game controller is plugged in, after the key events it made
  // (kShiftController); once more with everything released when the last one is pulled out.
  virtual void OnPad(const PadState& /*pad*/) {}
};

// One window with an OpenGL 1.x compatibility context: double-buffered RGBA, depth >= 16,
// stencil >= 1. Created at its final size.
class Window {
 public:
  virtual ~Window() = default;
  // Opens the window and makes its context current. Returns false with a message in Error().
  virtual bool Open(const DisplayConfig& config) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // True when a GL context exists (false for the null backend).
  virtual bool HasGL() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SwapBuffers() = 0;
  // Delivers every pending event to `sink`; returns at once when there is none.
  virtual void PumpEvents(EventSink& sink) = 0;
  virtual void ShowCursor(bool visible) = 0;
  // Puts the system's mouse cursor at a client-area pixel (a controller moves the pointer).
  virtual void WarpMouse(int /*x*/, int /*y*/) {}
  // The keyboard as the backend sees it, whichever of the program's windows has focus: every
  // held key by virtual-key code, as of the last PumpEvents. False, `keys` untouched, when the
  // backend has no keyboard (the null backend).
  virtual bool ReadKeyboard(KeyboardState& /*keys*/) { return false; }
  // Full screen at the desktop's size, or back to the window (Alt+Enter toggles it in
  // PumpEvents); the size that follows is reported by Width/Height. False when the backend
  // cannot change it (the null backend).
  virtual bool SetFullScreen(bool /*on*/) { return false; }
  virtual bool IsFullScreen() const { return false; }
  // GL entry point lookup (nullptr when absent or without a context).
  virtual void* GetProcAddress(const char* name) = 0;
  virtual const std::string& Error() const = 0;
};

// Smallest window the game opens from its stored size.
inline constexpr int kMinWindowWidth = 640;
inline constexpr int kMinWindowHeight = 480;
// Each side at most the desktop's usable size (a side of 0 or less is unknown and limits
// nothing), then at least kMinWindowWidth x kMinWindowHeight.
void FitWindowToDesktop(int& width, int& height, int desktopWidth, int desktopHeight);

std::unique_ptr<Window> CreateSdlWindow();
std::unique_ptr<Window> CreateNullWindow();

// Monotonic milliseconds for the idle tick source (real clock). Headless runs use a virtual
// clock in the shell instead.
uint64_t RealMilliseconds();

// CPU time this thread has used, in microseconds: for measurements only (with llvmpipe told
// LP_NUM_THREADS=0 it includes the rasteriser's work, whatever else the machine runs).
double ThreadCpuMicroseconds();

}  // namespace skerrow::platform
