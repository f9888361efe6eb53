// Windows-1251 <-> UTF-8 conversion with a strict UTF-8 decoder.
#include "platform/cp1251.h"

#include <array>

namespace skerrow {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F (А..я) in order.
// 0x98 is unassigned and holds U+FFFD.
constexpr std::array<uint16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80 Ђ Ѓ ‚ ѓ „ … † ‡
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88 € ‰ Љ ‹ Њ Ќ Ћ Џ
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90 ђ ‘ ’ “ ” • – —
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98 ™ љ › њ ќ ћ џ
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0 nbsp Ў ў Ј ¤ Ґ ¦ §
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8 Ё © Є « ¬ shy ® Ї
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0 ° ± І і ґ µ ¶ ·
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8 ё № є » ј Ѕ ѕ ї
};

uint32_t Cp1251ToCodePoint(uint8_t b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  return kHigh[b - 0x80];
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    // Every Windows-1251 character lies in the Basic Multilingual Plane.
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point at `s[i]`, advancing `i`. Returns nothing for an invalid sequence
// (stray continuation byte, bad lead byte, truncated sequence, overlong form, surrogate or a
// value above U+10FFFF); `i` then stands past the lead byte only, so decoding resumes at the
// next byte and a valid character following a truncated sequence is kept.
std::optional<uint32_t> DecodeUtf8(std::string_view s, size_t& i) {
  const uint8_t lead = static_cast<uint8_t>(s[i++]);
  if (lead < 0x80) return lead;
  int extra;
  uint32_t cp;
  uint32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return std::nullopt;  // continuation byte, C0/C1 (always overlong) or F5..FF
  }
  if (s.size() - i < static_cast<size_t>(extra)) return std::nullopt;
  for (int k = 0; k < extra; ++k) {
    const uint8_t c = static_cast<uint8_t>(s[i + k]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += extra;
  return cp;
}

}  // namespace

std::optional<uint8_t> CodePointToCp1251(uint32_t cp) {
  if (cp < 0x80) return static_cast<uint8_t>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<uint8_t>(0xC0 + (cp - 0x0410));
  if (cp == kReplacement) return std::nullopt;  // stands in the table for the unassigned 0x98
  for (size_t k = 0; k < kHigh.size(); ++k) {
    if (kHigh[k] == cp) return static_cast<uint8_t>(0x80 + k);
  }
  return std::nullopt;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    if (!DecodeUtf8(s, i)) return false;
  }
  return true;
}

uint8_t Cp1251ToLower(uint8_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDF) return c + 0x20;  // А..Я -> а..я
  switch (c) {
    case 0x80:
      return 0x90;  // Ђ
    case 0x81:
      return 0x83;  // Ѓ
    case 0x8A:
      return 0x9A;  // Љ
    case 0x8C:
      return 0x9C;  // Њ
    case 0x8D:
      return 0x9D;  // Ќ
    case 0x8E:
      return 0x9E;  // Ћ
    case 0x8F:
      return 0x9F;  // Џ
    case 0xA1:
      return 0xA2;  // Ў
    case 0xA3:
      return 0xBC;  // Ј
    case 0xA5:
      return 0xB4;  // Ґ
    case 0xA8:
      return 0xB8;  // Ё
    case 0xAA:
      return 0xBA;  // Є
    case 0xAF:
      return 0xBF;  // Ї
    case 0xB2:
      return 0xB3;  // І
    case 0xBD:
      return 0xBE;  // Ѕ
    default:
      return c;
  }
}

std::string Cp1251ToLower(std::string_view cp1251) {
  std::string out(cp1251);
  for (char& c : out) c = static_cast<char>(Cp1251ToLower(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    if (const auto cp = DecodeUtf8(utf8, i)) {
      if (const auto b = CodePointToCp1251(*cp)) out += static_cast<char>(*b);
    }
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (const char c : cp1251) AppendUtf8(out, Cp1251ToCodePoint(static_cast<uint8_t>(c)));
  return out;
}

}  // namespace skerrow
