// Internal to the SDL backend and its tests: SDL key and event translation to the game's terms
// (Windows virtual-key codes, Windows-1251 characters). Includes SDL, so never include it from
// a public header.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/keyboard.h"
#include "platform/platform.h"

namespace skerrow::platform {

// Windows virtual-key code for an SDL key, 0 when the key has none. Letters, digits and
// punctuation follow the keyboard layout (the key's symbol) as on Windows; a key whose symbol
// is not Latin (a Cyrillic layout) falls back to its position, so W stays W.
int VkFromSdlKey(SDL_Keycode key, SDL_Scancode scancode);

// `keys` = the held keys of an SDL keyboard state (one byte per scancode, `count` of them, as
// SDL_GetKeyboardState gives it), each by the virtual-key code of its key in the current layout.
void KeyboardFromSdlState(const uint8_t* state, int count, KeyboardState& keys);

// kShift* bits from SDL modifier state.
uint32_t ShiftFromSdlMod(uint16_t mod);

// Game keys held by one game controller, from its axes (by SDL_GameControllerAxis: sticks
// -32768..32767, y downwards; triggers 0..32767) and buttons (by SDL_GameControllerButton,
// 1 = down): left stick, d-pad and triggers steer and drive, the face and shoulder buttons fire
// the weapons, Back cycles the panels and Start is Esc. Keys already held in `keys` stay held.
void AddControllerKeys(const int16_t (&axes)[SDL_CONTROLLER_AXIS_MAX],
                       const uint8_t (&buttons)[SDL_CONTROLLER_BUTTON_MAX], KeyboardState& keys);

// Adds one game controller's sticks, d-pad, A and B (same arrays as AddControllerKeys) to `pad`:
// each axis keeps the larger deflection of the two, each button is down when either has it down.
void AddControllerPad(const int16_t (&axes)[SDL_CONTROLLER_AXIS_MAX],
                      const uint8_t (&buttons)[SDL_CONTROLLER_BUTTON_MAX], PadState& pad);

// Alt+Enter (either Enter key, no repeat) aimed at the game window (0: any window): the full
// screen toggle, which the game itself never sees.
bool IsFullScreenToggle(const SDL_Event& event, uint32_t mainWindowId);

// Delivers one SDL event to `sink`. `mouseMod` is the modifier state reported with mouse
// events (SDL mouse events carry none). `mainWindowId` is the game window's id: its close
// request becomes OnClose and input aimed at other windows is ignored (0 takes every window's
// events); SDL_QUIT always becomes OnClose.
void TranslateEvent(const SDL_Event& event, EventSink& sink, uint16_t mouseMod,
                    uint32_t mainWindowId = 0);

}  // namespace skerrow::platform
