// Windows-1251 <-> UTF-8 conversion: the whole table, the letters that matter, bad UTF-8.
#include "platform/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace skerrow {
namespace {

TEST(Cp1251, EveryAssignedByteRoundTripsThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    if (b == 0x98) continue;  // unassigned
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = Cp1251ToUtf8(one);
    EXPECT_TRUE(IsValidUtf8(utf8)) << "byte " << b;
    EXPECT_EQ(Utf8ToCp1251(utf8), one) << "byte " << b;
  }
}

TEST(Cp1251, UnassignedByteBecomesReplacementCharacterAndIsDroppedBack) {
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToCp1251("a\xEF\xBF\xBD"
                         "b"),
            "ab");
}

TEST(Cp1251, KnownCharacters) {
  struct Case {
    const char* utf8;
    uint8_t byte;
  };
  const Case cases[] = {
      {"А", 0xC0}, {"Я", 0xDF}, {"а", 0xE0}, {"я", 0xFF}, {"Ё", 0xA8}, {"ё", 0xB8},
      {"№", 0xB9}, {"€", 0x88}, {"«", 0xAB}, {"»", 0xBB}, {"“", 0x93}, {"”", 0x94},
      {"„", 0x84}, {"‘", 0x91}, {"’", 0x92}, {"–", 0x96}, {"—", 0x97}, {"…", 0x85},
      {"™", 0x99}, {"Ђ", 0x80}, {"џ", 0x9F}, {"Ї", 0xAF}, {"ґ", 0xB4}, {"\xC2\xA0", 0xA0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp1251(c.utf8), std::string(1, static_cast<char>(c.byte))) << c.utf8;
    EXPECT_EQ(Cp1251ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8) << c.utf8;
  }
  EXPECT_EQ(Utf8ToCp1251("Прелюдия.mp3"), "\xCF\xF0\xE5\xEB\xFE\xE4\xE8\xFF.mp3");
}

TEST(Cp1251, CharactersOutsideTheCodePageAreDropped) {
  EXPECT_EQ(Utf8ToCp1251("a☃b"), "ab");    // U+2603, three bytes
  EXPECT_EQ(Utf8ToCp1251("x😀y"), "xy");    // four bytes
  EXPECT_EQ(Utf8ToCp1251("é ü ß"), "  ");  // Latin-1 letters are not in 1251
  EXPECT_FALSE(CodePointToCp1251(0xFFFD).has_value());
  EXPECT_FALSE(CodePointToCp1251(0x110000).has_value());
  EXPECT_EQ(CodePointToCp1251(0x2116), uint8_t{0xB9});
}

TEST(Cp1251, InvalidUtf8IsDroppedAndDecodingResumes) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"a\x80z", "az"},              // stray continuation byte
      {"a\xC0\xAFz", "az"},          // overlong '/'
      {"a\xC1\xBFz", "az"},          // overlong
      {"a\xE0\x80\xAFz", "az"},      // overlong three-byte
      {"a\xF0\x80\x80\xAFz", "az"},  // overlong four-byte
      {"a\xED\xA0\x80z", "az"},      // surrogate U+D800
      {"a\xF4\x90\x80\x80z", "az"},  // above U+10FFFF
      {"a\xF5\x80\x80\x80z", "az"},  // F5 lead byte
      {"a\xFFz", "az"},
      {"a\xD0", "a"},                                    // truncated at the end
      {"a\xE2\x84", "a"},                                // truncated three-byte at the end
      {std::string("a\xD0") + "\xD0\x96", "a\xC6"},      // truncated, then a valid Ж is kept
      {"\xE2\x84z", "z"},                                // truncated in the middle, ASCII follows
      {std::string("a\0b", 3), std::string("a\0b", 3)},  // NUL is a character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp1251(c.in), c.out);
  }
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_TRUE(IsValidUtf8("Ёжик №5 €"));
}

TEST(Cp1251, LowerCaseCoversCyrillicCapitals) {
  // Every byte whose Unicode lower case lies in the code page maps to it; nothing else moves.
  for (int b = 0; b < 256; ++b) {
    const uint8_t lower = Cp1251ToLower(static_cast<uint8_t>(b));
    if (lower == b) continue;
    EXPECT_EQ(Cp1251ToLower(lower), lower) << b;  // lower case is a fixed point
  }
  EXPECT_EQ(Cp1251ToLower(Utf8ToCp1251("ЁЖИК ЂЃЉЊЌЋЏЎЈҐЄЇІЅ ABC")),
            Utf8ToCp1251("ёжик ђѓљњќћџўјґєїіѕ abc"));
  EXPECT_EQ(Cp1251ToLower(Utf8ToCp1251("№«»€")), Utf8ToCp1251("№«»€"));
}

}  // namespace
}  // namespace skerrow
