// Windows-1251 <-> UTF-8. The data files hold Windows-1251 text; the source code keeps UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skerrow {

// UTF-8 to Windows-1251; characters Windows-1251 cannot hold are dropped, as are bytes that
// are not valid UTF-8.
std::string Utf8ToCp1251(std::string_view utf8);
// Windows-1251 to UTF-8 (0x98, unassigned, becomes U+FFFD).
std::string Cp1251ToUtf8(std::string_view cp1251);
// One code point to its Windows-1251 byte, or nothing.
std::optional<uint8_t> CodePointToCp1251(uint32_t cp);
// Whether `s` is well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view s);
// Lower case of a Windows-1251 byte: ASCII and every Cyrillic capital (Ё, Ђ, Ї, Ґ, ...);
// other bytes are returned unchanged.
uint8_t Cp1251ToLower(uint8_t c);
std::string Cp1251ToLower(std::string_view cp1251);

}  // namespace skerrow
