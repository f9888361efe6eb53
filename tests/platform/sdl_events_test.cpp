// SDL key and event translation, without a window: virtual-key codes, typed characters,
// mouse buttons and close requests.
#include "platform/sdl/sdl_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/recording_sink.h"
#include "platform/vk_codes.h"

namespace skerrow::platform {
namespace {

SDL_Event Key(Uint32 type, SDL_Keycode sym, SDL_Scancode sc, Uint16 mod = KMOD_NONE,
              Uint8 repeat = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = sc;
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event Text(const std::string& utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, utf8.c_str(), sizeof e.text.text - 1);
  return e;
}

TEST(VkFromSdlKey, KeysOfAUsLayout) {
  struct Case {
    SDL_Keycode sym;
    SDL_Scancode sc;
    int vk;
  };
  const Case cases[] = {
      {SDLK_a, SDL_SCANCODE_A, 65},
      {SDLK_w, SDL_SCANCODE_W, 87},
      {SDLK_z, SDL_SCANCODE_Z, 90},
      {SDLK_0, SDL_SCANCODE_0, 48},
      {SDLK_1, SDL_SCANCODE_1, 49},
      {SDLK_9, SDL_SCANCODE_9, 57},
      {SDLK_F1, SDL_SCANCODE_F1, 112},
      {SDLK_F5, SDL_SCANCODE_F5, 116},
      {SDLK_F12, SDL_SCANCODE_F12, 123},
      {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},
      {SDLK_UP, SDL_SCANCODE_UP, 38},
      {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
      {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
      {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
      {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
      {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
      {SDLK_TAB, SDL_SCANCODE_TAB, 9},
      {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
      {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
      {SDLK_INSERT, SDL_SCANCODE_INSERT, 45},
      {SDLK_HOME, SDL_SCANCODE_HOME, 36},
      {SDLK_END, SDL_SCANCODE_END, 35},
      {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 33},
      {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 34},
      {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 44},
      {SDLK_PAUSE, SDL_SCANCODE_PAUSE, 19},
      {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 192},
      {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 186},
      {SDLK_EQUALS, SDL_SCANCODE_EQUALS, 187},
      {SDLK_COMMA, SDL_SCANCODE_COMMA, 188},
      {SDLK_MINUS, SDL_SCANCODE_MINUS, 189},
      {SDLK_PERIOD, SDL_SCANCODE_PERIOD, 190},
      {SDLK_SLASH, SDL_SCANCODE_SLASH, 191},
      {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 219},
      {SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, 220},
      {SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, 221},
      {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 222},
      {SDLK_KP_0, SDL_SCANCODE_KP_0, 96},
      {SDLK_KP_5, SDL_SCANCODE_KP_5, 101},
      {SDLK_KP_9, SDL_SCANCODE_KP_9, 105},
      {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 106},
      {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 107},
      {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 109},
      {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 110},
      {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 111},
      {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
      {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 16},
      {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
      {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 17},
      {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},
      {SDLK_LALT, SDL_SCANCODE_LALT, 18},
      {SDLK_RALT, SDL_SCANCODE_RALT, 18},
      {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 20},
      {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, 144},
      {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, 145},
      {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
      {SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VkFromSdlKey(c.sym, c.sc), c.vk) << SDL_GetScancodeName(c.sc);
  }
  // Every letter and function key, not only the samples above.
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(VkFromSdlKey(SDLK_a + i, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i)), 65 + i);
  }
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(VkFromSdlKey(SDLK_F1 + i, static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i)), 112 + i);
  }
}

TEST(KeyboardFromSdlState, HeldScancodesByVirtualKey) {
  std::vector<uint8_t> state(SDL_NUM_SCANCODES, 0);
  state[SDL_SCANCODE_UP] = 1;
  state[SDL_SCANCODE_W] = 1;
  state[SDL_SCANCODE_KP_4] = 1;
  KeyboardState keys;
  keys.SetDown(kVkLeft, true);  // the previous state goes
  KeyboardFromSdlState(state.data(), static_cast<int>(state.size()), keys);
  EXPECT_TRUE(keys.IsDown(kVkUp));
  EXPECT_TRUE(keys.IsDown('W'));
  EXPECT_TRUE(keys.IsDown(100));  // keypad 4
  EXPECT_FALSE(keys.IsDown(kVkLeft));
  EXPECT_FALSE(keys.IsDown(kVkDown));
  // A short array (an older SDL) is read only as far as it goes.
  KeyboardFromSdlState(state.data(), SDL_SCANCODE_UP, keys);
  EXPECT_FALSE(keys.IsDown(kVkUp));
  EXPECT_TRUE(keys.IsDown('W'));
}

TEST(VkFromSdlKey, LayoutsAndKeysWithoutAScancode) {
  // French layout: the key in the Q position types 'a' and is VK 'A', as on Windows.
  EXPECT_EQ(VkFromSdlKey(SDLK_a, SDL_SCANCODE_Q), 65);
  // Russian layout: the W key types 'ц'; a non-Latin symbol falls back to the position.
  EXPECT_EQ(VkFromSdlKey(0x0446, SDL_SCANCODE_W), 87);
  // French top row: '&' on the 1 key is still digit 1.
  EXPECT_EQ(VkFromSdlKey(SDLK_AMPERSAND, SDL_SCANCODE_1), 49);
  // Keypad keys go by position whatever their symbol (NumLock off gives navigation symbols).
  EXPECT_EQ(VkFromSdlKey(SDLK_KP_7, SDL_SCANCODE_KP_7), 103);
  EXPECT_EQ(VkFromSdlKey(SDLK_HOME, SDL_SCANCODE_KP_7), 103);
  // Synthesised events without a scancode.
  EXPECT_EQ(VkFromSdlKey(SDLK_F3, SDL_SCANCODE_UNKNOWN), 114);
  EXPECT_EQ(VkFromSdlKey(SDLK_KP_3, SDL_SCANCODE_UNKNOWN), 99);
  EXPECT_EQ(VkFromSdlKey(SDLK_ESCAPE, SDL_SCANCODE_UNKNOWN), 27);
  EXPECT_EQ(VkFromSdlKey(SDLK_x, SDL_SCANCODE_UNKNOWN), 88);
}

TEST(TranslateEvent, KeysWithShiftStateAndRepeats) {
  RecordingSink sink;
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_w, SDL_SCANCODE_W, KMOD_LSHIFT, 1), sink, 0);
  TranslateEvent(Key(SDL_KEYUP, SDLK_w, SDL_SCANCODE_W, KMOD_RCTRL | KMOD_LALT), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT), sink, 0);
  TranslateEvent(Key(SDL_KEYUP, SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP), sink, 0);  // no code
  const std::vector<std::string> expected = {
      "down 87 0", "down 87 1", "up 87 6", "down 16 1", "up 44 0",
  };
  EXPECT_EQ(sink.log, expected);
}

TEST(TranslateEvent, ControlKeysAlsoTypeTheirCharacter) {
  RecordingSink sink;
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0, 1), sink, 0);
  TranslateEvent(Key(SDL_KEYUP, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), sink, 0);
  TranslateEvent(Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A), sink, 0);  // 'a' comes as text
  const std::vector<std::string> expected = {
      "down 8 0", "char 8",    "down 8 0", "char 8",    "up 8 0",  "down 13 0",
      "char 13",  "down 13 0", "char 13",  "down 27 0", "char 27", "down 65 0",
  };
  EXPECT_EQ(sink.log, expected);
}

TEST(TranslateEvent, TextInputBecomesWindows1251Bytes) {
  RecordingSink sink;
  TranslateEvent(Text("Ёж№"), sink, 0);
  TranslateEvent(Text("a☃b"), sink, 0);  // the snowman has no Windows-1251 byte
  TranslateEvent(Text("€"), sink, 0);
  TranslateEvent(Text("\xD0"), sink, 0);  // a broken sequence types nothing
  EXPECT_EQ(sink.chars, Utf8ToCp1251("Ёж№ab€"));
  EXPECT_EQ(sink.chars,
            "\xA8\xE6\xB9"
            "ab\x88");
}

TEST(TranslateEvent, TextOfTheFullEventSizeIsNotOverread) {
  // SDL fills `text` up to its 32 bytes; a missing terminator must not run past it.
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::memset(e.text.text, 'q', sizeof e.text.text);
  RecordingSink sink;
  TranslateEvent(e, sink, 0);
  EXPECT_EQ(sink.chars, std::string(sizeof e.text.text, 'q'));
}

TEST(TranslateEvent, MouseButtonsMotionAndClose) {
  RecordingSink sink;
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = 10;
  e.button.y = 20;
  TranslateEvent(e, sink, KMOD_LSHIFT);
  e.button.button = SDL_BUTTON_RIGHT;
  TranslateEvent(e, sink, 0);
  e.type = SDL_MOUSEBUTTONUP;
  e.button.button = SDL_BUTTON_MIDDLE;
  TranslateEvent(e, sink, KMOD_CTRL);
  e.button.button = SDL_BUTTON_X1;  // side buttons are not the game's
  TranslateEvent(e, sink, 0);

  SDL_Event m{};
  m.type = SDL_MOUSEMOTION;
  m.motion.x = 799;
  m.motion.y = 599;
  TranslateEvent(m, sink, KMOD_ALT);

  SDL_Event w{};
  w.type = SDL_WINDOWEVENT;
  w.window.event = SDL_WINDOWEVENT_CLOSE;
  w.window.windowID = 7;
  TranslateEvent(w, sink, 0, 3);  // another window (the editor): not ours to close
  TranslateEvent(w, sink, 0, 7);
  SDL_Event q{};
  q.type = SDL_QUIT;
  TranslateEvent(q, sink, 0, 7);
  // The pointer leaving the game's window for the editor's: the editor's own leave is not ours.
  w.window.event = SDL_WINDOWEVENT_LEAVE;
  TranslateEvent(w, sink, 0, 3);
  TranslateEvent(w, sink, 0, 7);

  const std::vector<std::string> expected = {
      "mdown 0 10 20 1", "mdown 1 10 20 0", "mup 2 10 20 4", "move 799 599 2",
      "close",           "close",           "leave",
  };
  EXPECT_EQ(sink.log, expected);
}

TEST(TranslateEvent, InputForAnotherWindowIsIgnored) {
  RecordingSink sink;
  SDL_Event key = Key(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE);
  key.key.windowID = 3;  // the editor's window
  TranslateEvent(key, sink, 0, 7);
  SDL_Event text = Text("x");
  text.text.windowID = 3;
  TranslateEvent(text, sink, 0, 7);
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_LEFT;
  click.button.windowID = 3;
  TranslateEvent(click, sink, 0, 7);
  EXPECT_TRUE(sink.log.empty());
  key.key.windowID = 7;
  TranslateEvent(key, sink, 0, 7);
  key.key.windowID = 0;  // no focus window given: taken as the game's
  TranslateEvent(key, sink, 0, 7);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"down 32 0", "down 32 0"}));
}

TEST(AddControllerKeys, SticksPadTriggersAndButtonsHoldTheGameKeys) {
  struct Row {
    int axis;  // -1: none
    int16_t value;
    int button;  // -1: none
    std::vector<int> held;
  };
  const std::vector<Row> rows = {
      {-1, 0, -1, {}},
      {SDL_CONTROLLER_AXIS_LEFTX, -16384, -1, {kVkLeft}},
      {SDL_CONTROLLER_AXIS_LEFTX, -16383, -1, {}},  // under half the travel: rest
      {SDL_CONTROLLER_AXIS_LEFTX, 32767, -1, {kVkRight}},
      {SDL_CONTROLLER_AXIS_LEFTY, -32768, -1, {kVkUp}},  // stick up: ahead
      {SDL_CONTROLLER_AXIS_LEFTY, 20000, -1, {kVkDown}},
      {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 8192, -1, {kVkUp}},
      {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 8191, -1, {}},
      {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, -1, {kVkDown}},
      {SDL_CONTROLLER_AXIS_RIGHTX, 32767, -1, {}},  // the right stick does nothing
      {-1, 0, SDL_CONTROLLER_BUTTON_DPAD_UP, {kVkUp}},
      {-1, 0, SDL_CONTROLLER_BUTTON_DPAD_DOWN, {kVkDown}},
      {-1, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, {kVkLeft}},
      {-1, 0, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {kVkRight}},
      {-1, 0, SDL_CONTROLLER_BUTTON_A, {'W'}},
      {-1, 0, SDL_CONTROLLER_BUTTON_X, {'A'}},
      {-1, 0, SDL_CONTROLLER_BUTTON_B, {'D'}},
      {-1, 0, SDL_CONTROLLER_BUTTON_Y, {'S'}},
      {-1, 0, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {'X'}},
      {-1, 0, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, {'Z'}},
      {-1, 0, SDL_CONTROLLER_BUTTON_BACK, {kVkOem3}},
      {-1, 0, SDL_CONTROLLER_BUTTON_START, {kVkEscape}},
      {-1, 0, SDL_CONTROLLER_BUTTON_GUIDE, {}},
  };
  for (const Row& r : rows) {
    int16_t axes[SDL_CONTROLLER_AXIS_MAX] = {};
    uint8_t buttons[SDL_CONTROLLER_BUTTON_MAX] = {};
    if (r.axis >= 0) axes[r.axis] = r.value;
    if (r.button >= 0) buttons[r.button] = 1;
    KeyboardState keys;
    AddControllerKeys(axes, buttons, keys);
    std::vector<int> held;
    for (int vk = 0; vk < 256; ++vk) {
      if (keys.IsDown(vk)) held.push_back(vk);
    }
    EXPECT_EQ(held, r.held) << "axis " << r.axis << " = " << r.value << ", button " << r.button;
  }
}

TEST(AddControllerPad, TwoControllersGiveTheLargerDeflectionAndEitherButton) {
  int16_t first[SDL_CONTROLLER_AXIS_MAX] = {}, second[SDL_CONTROLLER_AXIS_MAX] = {};
  uint8_t firstButtons[SDL_CONTROLLER_BUTTON_MAX] = {},
          secondButtons[SDL_CONTROLLER_BUTTON_MAX] = {};
  first[SDL_CONTROLLER_AXIS_LEFTX] = -20000;
  second[SDL_CONTROLLER_AXIS_LEFTX] = 10000;
  first[SDL_CONTROLLER_AXIS_RIGHTY] = 300;
  second[SDL_CONTROLLER_AXIS_RIGHTY] = -32768;
  second[SDL_CONTROLLER_AXIS_RIGHTX] = 5;
  first[SDL_CONTROLLER_AXIS_TRIGGERRIGHT] = 32767;  // triggers are play's alone
  firstButtons[SDL_CONTROLLER_BUTTON_A] = 1;
  secondButtons[SDL_CONTROLLER_BUTTON_B] = 1;
  secondButtons[SDL_CONTROLLER_BUTTON_DPAD_LEFT] = 1;
  firstButtons[SDL_CONTROLLER_BUTTON_DPAD_DOWN] = 1;
  PadState pad;
  AddControllerPad(first, firstButtons, pad);
  AddControllerPad(second, secondButtons, pad);
  EXPECT_EQ(pad.leftX, -20000);
  EXPECT_EQ(pad.leftY, 0);
  EXPECT_EQ(pad.rightX, 5);
  EXPECT_EQ(pad.rightY, -32768);
  EXPECT_EQ(+pad.a, 1);
  EXPECT_EQ(+pad.b, 1);
  EXPECT_EQ(+pad.dpadLeft, 1);
  EXPECT_EQ(+pad.dpadDown, 1);
  EXPECT_EQ(pad.dpadUp + pad.dpadRight, 0);
}

TEST(IsFullScreenToggle, AltEnterOnTheGameWindowOnly) {
  struct Row {
    SDL_Event event;
    uint32_t window;
    bool toggles;
  };
  SDL_Event other = Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
  other.key.windowID = 9;
  for (const Row& r : {
           Row{Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT), 3, true},
           Row{Key(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_RALT), 3, true},
           Row{Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_UNKNOWN, KMOD_ALT), 0, true},
           Row{Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN), 3, false},
           Row{Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, 1), 3, false},
           Row{Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT), 3, false},
           Row{Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LALT), 3, false},
           Row{other, 3, false},
       }) {
    EXPECT_EQ(IsFullScreenToggle(r.event, r.window), r.toggles)
        << r.event.type << " " << r.event.key.keysym.sym << " " << r.event.key.keysym.mod;
  }
}

}  // namespace
}  // namespace skerrow::platform
