// Windows virtual-key codes: the key numbers the game's handlers and the keyboard snapshot use.
#pragma once

namespace skerrow {

constexpr int kVkBack = 8;  // Backspace
constexpr int kVkTab = 9;
constexpr int kVkClear = 12;  // numpad 5 without NumLock
constexpr int kVkReturn = 13;
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;  // Alt
constexpr int kVkPause = 19;
constexpr int kVkCapital = 20;  // Caps Lock
constexpr int kVkEscape = 27;
constexpr int kVkSpace = 32;
constexpr int kVkPrior = 33;  // Page Up
constexpr int kVkNext = 34;   // Page Down
constexpr int kVkEnd = 35;
constexpr int kVkHome = 36;
constexpr int kVkLeft = 37;
constexpr int kVkUp = 38;
constexpr int kVkRight = 39;
constexpr int kVkDown = 40;
constexpr int kVkSnapshot = 44;  // Print Screen
constexpr int kVkInsert = 45;
constexpr int kVkDelete = 46;
// Digits '0'..'9' and letters 'A'..'Z' use their ASCII codes.
constexpr int kVk0 = 48;
constexpr int kVk9 = 57;
constexpr int kVkA = 65;
constexpr int kVkZ = 90;
constexpr int kVkLWin = 91;
constexpr int kVkRWin = 92;
constexpr int kVkApps = 93;  // context menu key
constexpr int kVkNumpad0 = 96;
constexpr int kVkNumpad9 = 105;
constexpr int kVkMultiply = 106;
constexpr int kVkAdd = 107;
constexpr int kVkSeparator = 108;
constexpr int kVkSubtract = 109;
constexpr int kVkDecimal = 110;
constexpr int kVkDivide = 111;
constexpr int kVkF1 = 112;
constexpr int kVkF12 = 123;
constexpr int kVkNumLock = 144;
constexpr int kVkScroll = 145;
constexpr int kVkLShift = 160;
constexpr int kVkRShift = 161;
constexpr int kVkLControl = 162;
constexpr int kVkRControl = 163;
constexpr int kVkLMenu = 164;
constexpr int kVkRMenu = 165;
constexpr int kVkOem1 = 186;       // ';:'
constexpr int kVkOemPlus = 187;    // '=+'
constexpr int kVkOemComma = 188;   // ',<'
constexpr int kVkOemMinus = 189;   // '-_'
constexpr int kVkOemPeriod = 190;  // '.>'
constexpr int kVkOem2 = 191;       // '/?'
constexpr int kVkOem3 = 192;       // '`~', the tilde key
constexpr int kVkOem4 = 219;       // '[{'
constexpr int kVkOem5 = 220;       // '\|'
constexpr int kVkOem6 = 221;       // ']}'
constexpr int kVkOem7 = 222;       // quote
constexpr int kVkOem102 = 226;     // the extra '<>' or '\|' key of 102-key keyboards

// Letter or digit key code from its character ('a'..'z', 'A'..'Z', '0'..'9'); 0 otherwise.
constexpr int VkFromAscii(char c) {
  if (c >= 'a' && c <= 'z') return kVkA + (c - 'a');
  if (c >= 'A' && c <= 'Z') return kVkA + (c - 'A');
  if (c >= '0' && c <= '9') return kVk0 + (c - '0');
  return 0;
}

constexpr int VkFunction(int n) {
  return n >= 1 && n <= 24 ? kVkF1 + n - 1 : 0;
}  // F1..F24
constexpr int VkNumpad(int n) {
  return n >= 0 && n <= 9 ? kVkNumpad0 + n : 0;
}

}  // namespace skerrow
