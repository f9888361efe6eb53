// SDL key codes and events to Windows virtual-key codes and the game's event handlers.
#include "platform/sdl/sdl_events.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/cp1251.h"
#include "platform/key_bindings.h"
#include "platform/vk_codes.h"

namespace skerrow::platform {
namespace {

// Keys whose code follows the layout: ASCII letters, digits and the OEM punctuation keys.
int VkFromCharacterKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return kVkA + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return kVk0 + (key - SDLK_0);
  switch (key) {
    case SDLK_SEMICOLON:
      return kVkOem1;
    case SDLK_EQUALS:
      return kVkOemPlus;
    case SDLK_COMMA:
      return kVkOemComma;
    case SDLK_MINUS:
      return kVkOemMinus;
    case SDLK_PERIOD:
      return kVkOemPeriod;
    case SDLK_SLASH:
      return kVkOem2;
    case SDLK_BACKQUOTE:
      return kVkOem3;
    case SDLK_LEFTBRACKET:
      return kVkOem4;
    case SDLK_BACKSLASH:
      return kVkOem5;
    case SDLK_RIGHTBRACKET:
      return kVkOem6;
    case SDLK_QUOTE:
      return kVkOem7;
    default:
      return 0;
  }
}

// Every key by position (US layout), as the keyboard reports it.
int VkFromScancode(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return kVkA + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return kVk0 + 1 + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return kVkF1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return kVkF1 + 12 + (sc - SDL_SCANCODE_F13);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    return kVkNumpad0 + 1 + (sc - SDL_SCANCODE_KP_1);
  }
  switch (sc) {
    case SDL_SCANCODE_0:
      return kVk0;
    case SDL_SCANCODE_RETURN:
      return kVkReturn;
    case SDL_SCANCODE_RETURN2:
      return kVkReturn;
    case SDL_SCANCODE_ESCAPE:
      return kVkEscape;
    case SDL_SCANCODE_BACKSPACE:
      return kVkBack;
    case SDL_SCANCODE_TAB:
      return kVkTab;
    case SDL_SCANCODE_SPACE:
      return kVkSpace;
    case SDL_SCANCODE_MINUS:
      return kVkOemMinus;
    case SDL_SCANCODE_EQUALS:
      return kVkOemPlus;
    case SDL_SCANCODE_LEFTBRACKET:
      return kVkOem4;
    case SDL_SCANCODE_RIGHTBRACKET:
      return kVkOem6;
    case SDL_SCANCODE_BACKSLASH:
      return kVkOem5;
    case SDL_SCANCODE_NONUSHASH:
      return kVkOem5;
    case SDL_SCANCODE_SEMICOLON:
      return kVkOem1;
    case SDL_SCANCODE_APOSTROPHE:
      return kVkOem7;
    case SDL_SCANCODE_GRAVE:
      return kVkOem3;
    case SDL_SCANCODE_COMMA:
      return kVkOemComma;
    case SDL_SCANCODE_PERIOD:
      return kVkOemPeriod;
    case SDL_SCANCODE_SLASH:
      return kVkOem2;
    case SDL_SCANCODE_NONUSBACKSLASH:
      return kVkOem102;
    case SDL_SCANCODE_CAPSLOCK:
      return kVkCapital;
    case SDL_SCANCODE_PRINTSCREEN:
      return kVkSnapshot;
    case SDL_SCANCODE_SYSREQ:
      return kVkSnapshot;
    case SDL_SCANCODE_SCROLLLOCK:
      return kVkScroll;
    case SDL_SCANCODE_PAUSE:
      return kVkPause;
    case SDL_SCANCODE_INSERT:
      return kVkInsert;
    case SDL_SCANCODE_HOME:
      return kVkHome;
    case SDL_SCANCODE_PAGEUP:
      return kVkPrior;
    case SDL_SCANCODE_DELETE:
      return kVkDelete;
    case SDL_SCANCODE_END:
      return kVkEnd;
    case SDL_SCANCODE_PAGEDOWN:
      return kVkNext;
    case SDL_SCANCODE_RIGHT:
      return kVkRight;
    case SDL_SCANCODE_LEFT:
      return kVkLeft;
    case SDL_SCANCODE_DOWN:
      return kVkDown;
    case SDL_SCANCODE_UP:
      return kVkUp;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return kVkNumLock;
    case SDL_SCANCODE_KP_DIVIDE:
      return kVkDivide;
    case SDL_SCANCODE_KP_MULTIPLY:
      return kVkMultiply;
    case SDL_SCANCODE_KP_MINUS:
      return kVkSubtract;
    case SDL_SCANCODE_KP_PLUS:
      return kVkAdd;
    case SDL_SCANCODE_KP_ENTER:
      return kVkReturn;
    case SDL_SCANCODE_KP_0:
      return kVkNumpad0;
    case SDL_SCANCODE_KP_PERIOD:
      return kVkDecimal;
    case SDL_SCANCODE_KP_COMMA:
      return kVkSeparator;
    case SDL_SCANCODE_KP_EQUALS:
      return kVkOemPlus;
    case SDL_SCANCODE_APPLICATION:
      return kVkApps;
    case SDL_SCANCODE_LCTRL:
      return kVkControl;
    case SDL_SCANCODE_RCTRL:
      return kVkControl;
    case SDL_SCANCODE_LSHIFT:
      return kVkShift;
    case SDL_SCANCODE_RSHIFT:
      return kVkShift;
    case SDL_SCANCODE_LALT:
      return kVkMenu;
    case SDL_SCANCODE_RALT:
      return kVkMenu;
    case SDL_SCANCODE_LGUI:
      return kVkLWin;
    case SDL_SCANCODE_RGUI:
      return kVkRWin;
    default:
      return 0;
  }
}

// Keys without a character, for events that carry no scancode (synthesised ones).
int VkFromNamedKey(SDL_Keycode key) {
  if (key >= SDLK_F1 && key <= SDLK_F12) return kVkF1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return kVkNumpad0 + 1 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_BACKSPACE:
      return kVkBack;
    case SDLK_TAB:
      return kVkTab;
    case SDLK_RETURN:
      return kVkReturn;
    case SDLK_ESCAPE:
      return kVkEscape;
    case SDLK_SPACE:
      return kVkSpace;
    case SDLK_DELETE:
      return kVkDelete;
    case SDLK_INSERT:
      return kVkInsert;
    case SDLK_HOME:
      return kVkHome;
    case SDLK_END:
      return kVkEnd;
    case SDLK_PAGEUP:
      return kVkPrior;
    case SDLK_PAGEDOWN:
      return kVkNext;
    case SDLK_LEFT:
      return kVkLeft;
    case SDLK_UP:
      return kVkUp;
    case SDLK_RIGHT:
      return kVkRight;
    case SDLK_DOWN:
      return kVkDown;
    case SDLK_PRINTSCREEN:
      return kVkSnapshot;
    case SDLK_PAUSE:
      return kVkPause;
    case SDLK_CAPSLOCK:
      return kVkCapital;
    case SDLK_NUMLOCKCLEAR:
      return kVkNumLock;
    case SDLK_SCROLLLOCK:
      return kVkScroll;
    case SDLK_KP_0:
      return kVkNumpad0;
    case SDLK_KP_MULTIPLY:
      return kVkMultiply;
    case SDLK_KP_PLUS:
      return kVkAdd;
    case SDLK_KP_MINUS:
      return kVkSubtract;
    case SDLK_KP_PERIOD:
      return kVkDecimal;
    case SDLK_KP_DIVIDE:
      return kVkDivide;
    case SDLK_KP_ENTER:
      return kVkReturn;
    case SDLK_LSHIFT:
      return kVkShift;
    case SDLK_RSHIFT:
      return kVkShift;
    case SDLK_LCTRL:
      return kVkControl;
    case SDLK_RCTRL:
      return kVkControl;
    case SDLK_LALT:
      return kVkMenu;
    case SDLK_RALT:
      return kVkMenu;
    default:
      return 0;
  }
}

int MouseButton(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return kMouseLeft;
    case SDL_BUTTON_RIGHT:
      return kMouseRight;
    case SDL_BUTTON_MIDDLE:
      return kMouseMiddle;
    default:
      return -1;  // side buttons: the game has no use for them
  }
}

}  // namespace

int VkFromSdlKey(SDL_Keycode key, SDL_Scancode scancode) {
  // The keypad's keys are told apart by position: their symbols vary with NumLock.
  const bool keypad = scancode >= SDL_SCANCODE_KP_DIVIDE && scancode <= SDL_SCANCODE_KP_PERIOD;
  if (!keypad) {
    if (const int vk = VkFromCharacterKey(key)) return vk;
  }
  if (const int vk = VkFromScancode(scancode)) return vk;
  return VkFromNamedKey(key);
}

void KeyboardFromSdlState(const uint8_t* state, int count, KeyboardState& keys) {
  keys.Clear();
  for (int sc = 0; state != nullptr && sc < count && sc < SDL_NUM_SCANCODES; ++sc) {
    if (state[sc] == 0) continue;
    const auto scancode = static_cast<SDL_Scancode>(sc);
    if (const int vk = VkFromSdlKey(SDL_GetKeyFromScancode(scancode), scancode))
      keys.SetDown(vk, true);
  }
}

uint32_t ShiftFromSdlMod(uint16_t mod) {
  uint32_t shift = 0;
  if (mod & KMOD_SHIFT) shift |= kShiftShift;
  if (mod & KMOD_ALT) shift |= kShiftAlt;
  if (mod & KMOD_CTRL) shift |= kShiftCtrl;
  return shift;
}

namespace {

// Half a stick's travel steers or drives; a quarter of a trigger's drives.
constexpr int kStickThreshold = 16384;
constexpr int kTriggerThreshold = 8192;

// The game key of a rebindable action (the controller is never remapped).
int GameKey(KeyAction action) {
  return KeyActionRow(action).gameKey;
}

}  // namespace

void AddControllerKeys(const int16_t (&axes)[SDL_CONTROLLER_AXIS_MAX],
                       const uint8_t (&buttons)[SDL_CONTROLLER_BUTTON_MAX], KeyboardState& keys) {
  const auto hold = [&keys](bool held, KeyAction action) {
    if (held) keys.SetDown(GameKey(action), true);
  };
  const auto button = [&buttons](SDL_GameControllerButton b) { return buttons[b] != 0; };
  hold(axes[SDL_CONTROLLER_AXIS_LEFTX] <= -kStickThreshold, kKeyTurnLeft);
  hold(axes[SDL_CONTROLLER_AXIS_LEFTX] >= kStickThreshold, kKeyTurnRight);
  hold(axes[SDL_CONTROLLER_AXIS_LEFTY] <= -kStickThreshold, kKeyForward);
  hold(axes[SDL_CONTROLLER_AXIS_LEFTY] >= kStickThreshold, kKeyBack);
  hold(axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT] >= kTriggerThreshold, kKeyForward);
  hold(axes[SDL_CONTROLLER_AXIS_TRIGGERLEFT] >= kTriggerThreshold, kKeyBack);
  hold(button(SDL_CONTROLLER_BUTTON_DPAD_UP), kKeyForward);
  hold(button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), kKeyBack);
  hold(button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), kKeyTurnLeft);
  hold(button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), kKeyTurnRight);
  hold(button(SDL_CONTROLLER_BUTTON_A), kKeyMainGun);
  hold(button(SDL_CONTROLLER_BUTTON_X), kKeySideLeft);
  hold(button(SDL_CONTROLLER_BUTTON_B), kKeySideRight);
  hold(button(SDL_CONTROLLER_BUTTON_Y), kKeyWeaponS);
  hold(button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), kKeyWeaponX);
  hold(button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), kKeyWeaponZ);
  hold(button(SDL_CONTROLLER_BUTTON_BACK), kKeyPanels);
  hold(button(SDL_CONTROLLER_BUTTON_START), kKeyMenu);
}

void AddControllerPad(const int16_t (&axes)[SDL_CONTROLLER_AXIS_MAX],
                      const uint8_t (&buttons)[SDL_CONTROLLER_BUTTON_MAX], PadState& pad) {
  const auto larger = [](int16_t& kept, int16_t v) {
    if (std::abs(static_cast<int>(v)) > std::abs(static_cast<int>(kept))) kept = v;
  };
  larger(pad.leftX, axes[SDL_CONTROLLER_AXIS_LEFTX]);
  larger(pad.leftY, axes[SDL_CONTROLLER_AXIS_LEFTY]);
  larger(pad.rightX, axes[SDL_CONTROLLER_AXIS_RIGHTX]);
  larger(pad.rightY, axes[SDL_CONTROLLER_AXIS_RIGHTY]);
  const auto down = [&buttons](uint8_t& kept, SDL_GameControllerButton b) {
    if (buttons[b] != 0) kept = 1;
  };
  down(pad.dpadUp, SDL_CONTROLLER_BUTTON_DPAD_UP);
  down(pad.dpadDown, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  down(pad.dpadLeft, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  down(pad.dpadRight, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  down(pad.a, SDL_CONTROLLER_BUTTON_A);
  down(pad.b, SDL_CONTROLLER_BUTTON_B);
}

bool IsFullScreenToggle(const SDL_Event& event, uint32_t mainWindowId) {
  if (event.type != SDL_KEYDOWN || event.key.repeat != 0) return false;
  if (mainWindowId != 0 && event.key.windowID != 0 && event.key.windowID != mainWindowId) {
    return false;
  }
  const SDL_Keysym& k = event.key.keysym;
  const bool enter = k.scancode == SDL_SCANCODE_RETURN || k.scancode == SDL_SCANCODE_KP_ENTER ||
                     k.sym == SDLK_RETURN || k.sym == SDLK_KP_ENTER;
  return enter && (k.mod & KMOD_ALT) != 0;
}

namespace {

// Window an input event belongs to (0 when it names none).
uint32_t InputWindowId(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_TEXTINPUT:
      return event.text.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    default:
      return 0;
  }
}

}  // namespace

void TranslateEvent(const SDL_Event& event, EventSink& sink, uint16_t mouseMod,
                    uint32_t mainWindowId) {
  // Input aimed at another window of the process (the level editor) is not the game's.
  const uint32_t target = InputWindowId(event);
  if (mainWindowId != 0 && target != 0 && target != mainWindowId) return;
  switch (event.type) {
    case SDL_QUIT:
      sink.OnClose();
      break;
    case SDL_WINDOWEVENT: {
      const bool ours = mainWindowId == 0 || event.window.windowID == mainWindowId;
      if (event.window.event == SDL_WINDOWEVENT_CLOSE && ours) sink.OnClose();
      if (event.window.event == SDL_WINDOWEVENT_LEAVE && ours) sink.OnPointerLeave();
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int vk = VkFromSdlKey(event.key.keysym.sym, event.key.keysym.scancode);
      const uint32_t shift = ShiftFromSdlMod(event.key.keysym.mod);
      if (event.type == SDL_KEYUP) {
        if (vk != 0) sink.OnKeyUp(vk, shift);
        break;
      }
      // Repeats arrive as further key-downs, as on Windows.
      if (vk != 0) sink.OnKeyDown(vk, shift);
      // Windows also types these as characters; SDL text input does not.
      if (vk == kVkBack || vk == kVkTab || vk == kVkReturn || vk == kVkEscape) {
        sink.OnChar(static_cast<uint8_t>(vk));
      }
      break;
    }
    case SDL_TEXTINPUT: {
      // `text` is NUL-terminated UTF-8 of at most 32 bytes.
      const char* text = event.text.text;
      const char* end = std::find(text, text + sizeof event.text.text, '\0');
      const std::string_view utf8(text, static_cast<size_t>(end - text));
      for (const char c : Utf8ToCp1251(utf8)) sink.OnChar(static_cast<uint8_t>(c));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int button = MouseButton(event.button.button);
      if (button < 0) break;
      const uint32_t shift = ShiftFromSdlMod(mouseMod);
      if (event.type == SDL_MOUSEBUTTONDOWN) {
        sink.OnMouseDown(button, event.button.x, event.button.y, shift);
      } else {
        sink.OnMouseUp(button, event.button.x, event.button.y, shift);
      }
      break;
    }
    case SDL_MOUSEMOTION:
      sink.OnMouseMove(event.motion.x, event.motion.y, ShiftFromSdlMod(mouseMod));
      break;
    default:
      break;
  }
}

}  // namespace skerrow::platform
