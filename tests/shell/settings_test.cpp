// settings.dat: defaults, value conversions, bad values, and the write-and-read round trip.
#include "shell/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

bool SameSettings(const StoredSettings& a, const StoredSettings& b) {
  return FormatSettings(a) == FormatSettings(b);
}

TEST(Settings, MissingFileKeepsTheDefaults) {
  StoredSettings s;
  EXPECT_FALSE(RestoreSettings("/tmp/skerrow-no-such-dir/settings.dat", s));
  EXPECT_TRUE(SameSettings(s, StoredSettings{}));
  EXPECT_EQ(s.ddraw_DisplayWidth, 1280);
  EXPECT_EQ(s.ddraw_DisplayHeight, 1024);
  EXPECT_EQ(s.ddraw_DisplayBitCount, 32);
  EXPECT_TRUE(s.FullScreen());
  EXPECT_FALSE(s.stretchmovies);
  EXPECT_FALSE(s.fastsea);
  EXPECT_TRUE(s.sounds && s.playmusic && s.hqeffects && s.tershadows && s.fourpeppelines);
  EXPECT_EQ(s.t_musicvolume, 100);
  EXPECT_EQ(s.maxshadowsnumber, 1);
  EXPECT_EQ(FormatDisplayOptions(s.ddraw_Options),
            "[doFullScreen,doAllowReboot,doWaitVBlank,doCenter,doRetainedMode,doHardware,"
            "doSelectDriver]");
}

TEST(Settings, ValuesReadAndBadOnesLeaveOnlyTheirProperty) {
  StoredSettings s;
  ParseSettings(
      "[Other]\r\n"
      "sounds_Checked=False\r\n"  // another section: ignored
      "[Skerrow Settings]\r\n"
      "FormVersion=0\r\n"
      "maxshadowsnumber_Value = 2.7 \r\n"
      "playmusic_Checked=  false\r\n"
      "t_musicvolume_Position=fifty\r\n"  // bad: keeps 100
      "ddraw_DisplayWidth=1920\n"
      "ddraw_DisplayHeight=-5\n"  // bad: keeps 1024
      "ddraw_Options=[doFullScreen]\n"
      "hqeffects_Checked=Yes\n"  // bad: keeps True
      "stretchmovies_Checked=True\n"
      "fastsea_Checked=True\n"
      "; sound3d_Checked=False\n"
      "hintssound_Checked=False\n"
      "hintssound_Checked=True\n",  // the first of repeated keys counts
      s);
  EXPECT_DOUBLE_EQ(s.maxshadowsnumber, 2.7);
  EXPECT_FALSE(s.playmusic);
  EXPECT_EQ(s.t_musicvolume, 100);
  EXPECT_EQ(s.ddraw_DisplayWidth, 1920);
  EXPECT_EQ(s.ddraw_DisplayHeight, 1024);
  EXPECT_EQ(s.ddraw_Options, DisplayOptionBit(doFullScreen));
  EXPECT_TRUE(s.FullScreen());
  EXPECT_TRUE(s.hqeffects);
  EXPECT_TRUE(s.stretchmovies);
  EXPECT_TRUE(s.fastsea);
  EXPECT_TRUE(s.sounds);
  EXPECT_TRUE(s.sound3d);
  EXPECT_FALSE(s.hintssound);
}

TEST(Settings, ValueConversionTable) {
  struct Row {
    const char* text;
    bool ok;
    double value;
  };
  for (const Row& r : {Row{"2.7", true, 2.7}, Row{"50", true, 50}, Row{"1e1", true, 10},
                       Row{" 0.5", true, 0.5}, Row{"2,7", false, 0}, Row{"", false, 0},
                       Row{"nan", false, 0}, Row{"inf", false, 0}, Row{"3x", false, 0}}) {
    double v = -1;
    EXPECT_EQ(ParseSettingsNumber(r.text, v), r.ok) << r.text;
    if (r.ok) {
      EXPECT_DOUBLE_EQ(v, r.value) << r.text;
    }
  }
  // A stored set older than the form's version 0 is not restored at all.
  {
    StoredSettings old;
    ParseSettings("[Skerrow Settings]\nFormVersion=-1\nsounds_Checked=False\n", old);
    EXPECT_TRUE(old.sounds);
    ParseSettings("[Skerrow Settings]\nFormVersion=x\nsounds_Checked=False\n", old);
    EXPECT_FALSE(old.sounds);
  }
  // The spin edit (0..50) and the volume scroll bar (0..100) bring a value into their range,
  // as the controls themselves do; the display's sizes outside 1..16384 do not convert.
  struct ClampRow {
    const char* line;
    double shadows;
    int32_t volume;
    int32_t height;
  };
  for (const ClampRow& r :
       {ClampRow{"maxshadowsnumber_Value=51", 50, 100, 1024},
        ClampRow{"maxshadowsnumber_Value=60", 50, 100, 1024},
        ClampRow{"maxshadowsnumber_Value=-0.5", 0, 100, 1024},
        ClampRow{"maxshadowsnumber_Value=50", 50, 100, 1024},
        ClampRow{"t_musicvolume_Position=-5", 1, 0, 1024},
        ClampRow{"t_musicvolume_Position=101", 1, 100, 1024},
        ClampRow{"t_musicvolume_Position=99999999999", 1, 100, 1024},  // not an integer
        ClampRow{"ddraw_DisplayHeight=16385", 1, 100, 1024},
        ClampRow{"ddraw_DisplayHeight=0", 1, 100, 1024}}) {
    StoredSettings s;
    ParseSettings(std::string("[Skerrow Settings]\n") + r.line + "\n", s);
    EXPECT_DOUBLE_EQ(s.maxshadowsnumber, r.shadows) << r.line;
    EXPECT_EQ(s.t_musicvolume, r.volume) << r.line;
    EXPECT_EQ(s.ddraw_DisplayHeight, r.height) << r.line;
  }

  struct SetRow {
    const char* text;
    bool ok;
    uint32_t set;
  };
  for (const SetRow& r :
       {SetRow{"[]", true, 0}, SetRow{"[doFullScreen]", true, 1},
        SetRow{"[ doZBuffer , doFullScreen ]", true, (1u << 13) | 1u},
        SetRow{"[dofullscreen]", true, 1}, SetRow{"[doFullScreen,doWhatever]", false, 0},
        SetRow{"doFullScreen", false, 0}, SetRow{"[doFullScreen,]", false, 0},
        SetRow{"[", false, 0}}) {
    uint32_t v = 0xFFFF;
    EXPECT_EQ(ParseDisplayOptions(r.text, v), r.ok) << r.text;
    if (r.ok) {
      EXPECT_EQ(v, r.set) << r.text;
    }
  }
}

// Editors that save UTF-8 put a byte-order mark first; the first section still counts, and a
// rewrite does not keep the mark glued to a second copy of the section.
TEST(Settings, AByteOrderMarkBeforeTheFirstSectionIsSkipped) {
  const std::string text = "\xEF\xBB\xBF[Skerrow Settings]\r\nsounds_Checked=False\r\n";
  StoredSettings s;
  ParseSettings(text, s);
  EXPECT_FALSE(s.sounds);
  const std::string saved = FormatSettings(s, text);
  EXPECT_EQ(saved.find("\xEF\xBB\xBF"), std::string::npos);
  EXPECT_EQ(saved.find("[Skerrow Settings]"), saved.rfind("[Skerrow Settings]"));
}

// Two marks (a file saved twice by such an editor): the section counts as well, and the
// rewrite reads back as the same options instead of promoting a section it ignored.
TEST(Settings, RepeatedByteOrderMarksAreSkippedAndTheRewriteKeepsTheOptions) {
  const std::string text =
      "\xEF\xBB\xBF\xEF\xBB\xBF[Skerrow Settings]\r\nt_musicvolume_Position=25\r\n";
  StoredSettings s;
  ParseSettings(text, s);
  EXPECT_EQ(s.t_musicvolume, 25);
  StoredSettings again;
  ParseSettings(FormatSettings(s, text), again);
  EXPECT_EQ(again.t_musicvolume, 25);
}

TEST(Settings, NumbersUseAPointWhateverTheLocale) {
  // A locale with a decimal comma, when the system has one.
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  const bool haveComma =
      std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "ru_RU.UTF-8");
  StoredSettings s;
  s.maxshadowsnumber = 2.5;
  const std::string text = FormatSettings(s);
  StoredSettings back;
  ParseSettings(text, back);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_NE(text.find("maxshadowsnumber_Value=2.5\r\n"), std::string::npos) << haveComma;
  EXPECT_DOUBLE_EQ(back.maxshadowsnumber, 2.5);
  EXPECT_EQ(FormatSettingsNumber(1), "1");
}

TEST(Settings, SaveWritesEveryKeyKeepsOtherLinesAndRoundTrips) {
  char tmpl[] = "/tmp/skerrow_settings_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const fs::path dir = tmpl;
  {
    std::ofstream out(dir / "Settings.dat", std::ios::binary);
    out << "[Editor]\r\nx=1\r\n[Skerrow Settings]\r\nsounds_Checked=False\r\nmine=7\r\n";
  }
  InvalidatePathCache();
  StoredSettings s;
  ASSERT_TRUE(RestoreSettings(dir.string() + "/settings.dat", s));  // any letter case
  EXPECT_FALSE(s.sounds);
  s.ddraw_Options = DisplayOptionBit(doCenter) | DisplayOptionBit(doHardware);
  s.maxshadowsnumber = 3.25;
  s.t_musicvolume = 0;
  s.stretchmovies = true;
  s.fastsea = true;
  ASSERT_TRUE(SaveSettings(dir.string() + "/settings.dat", s));

  std::ifstream in(dir / "Settings.dat", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  for (const char* key : {"FormVersion=0",
                          "ddraw_DisplayBitCount=32",
                          "ddraw_DisplayFixedBitCount=True",
                          "ddraw_DisplayFixedRatio=True",
                          "ddraw_DisplayFixedSize=False",
                          "ddraw_DisplayHeight=1024",
                          "ddraw_DisplayWidth=1280",
                          "ddraw_Options=[doCenter,doHardware]",
                          "qualityterraintexture_Checked=True",
                          "fourpeppelines_Checked=True",
                          "terrainreflections_Checked=True",
                          "maxshadowsnumber_Value=3.25",
                          "playmusic_Checked=True",
                          "t_musicvolume_Position=0",
                          "stretchmovies_Checked=True",
                          "sounds_Checked=False",
                          "sound3d_Checked=True",
                          "tershadows_Checked=True",
                          "hintssound_Checked=True",
                          "hqeffects_Checked=True",
                          "fastsea_Checked=True"}) {
    EXPECT_NE(text.find(std::string(key) + "\r\n"), std::string::npos) << key;
  }
  EXPECT_NE(text.find("[Editor]\r\nx=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("mine=7\r\n"), std::string::npos);
  EXPECT_EQ(text.find("sounds_Checked=False"), text.rfind("sounds_Checked=False"));
  // No temporary file is left beside it.
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir)) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);

  StoredSettings back;
  ASSERT_TRUE(RestoreSettings(dir.string() + "/settings.dat", back));
  EXPECT_TRUE(SameSettings(s, back));
  EXPECT_FALSE(back.FullScreen());
  // Saving what was read gives the same bytes.
  ASSERT_TRUE(SaveSettings(dir.string() + "/settings.dat", back));
  std::ifstream in2(dir / "Settings.dat", std::ios::binary);
  EXPECT_EQ(text, std::string((std::istreambuf_iterator<char>(in2)), {}));
  fs::remove_all(dir);
  InvalidatePathCache();
}

// A settings.dat that is there but cannot be read: the defaults, a reason for the player's
// message, never an exception or a wait; the options rewrite leaves it as it is.
TEST(Settings, AnUnreadableFileGivesTheDefaultsAndIsNotReplaced) {
  char tmpl[] = "/tmp/skerrow_settings_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const fs::path dir = tmpl;
  struct Case {
    const char* name;
    void (*make)(const fs::path& file);
    fs::file_type after;  // what the rewrite must leave in the file's place
  };
  const Case cases[] = {
      {"a directory", [](const fs::path& f) { fs::create_directory(f); },
       fs::file_type::directory},
      {"a FIFO", [](const fs::path& f) { ASSERT_EQ(mkfifo(f.c_str(), 0644), 0); },
       fs::file_type::fifo},
      {"an endless device", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); },
       fs::file_type::character},
      {"2 MB of line ends",  // 40 MB took a gigabyte of line records
       [](const fs::path& f) {
         std::ofstream(f, std::ios::binary) << "[Skerrow Settings]\nsounds_Checked=False\n"
                                            << std::string(2 << 20, '\n');
       },
       fs::file_type::regular},
  };
  for (const Case& c : cases) {
    const fs::path file = dir / "settings.dat";
    fs::remove_all(file);
    c.make(file);
    InvalidatePathCache();
    StoredSettings s;
    std::string problem;
    EXPECT_FALSE(RestoreSettings(file.string(), s, &problem)) << c.name;
    EXPECT_FALSE(problem.empty()) << c.name;
    EXPECT_TRUE(SameSettings(s, StoredSettings{})) << c.name;
    s.sounds = false;
    EXPECT_FALSE(SaveSettings(file.string(), s)) << c.name;
    EXPECT_EQ(fs::status(file).type(), c.after) << c.name;
    if (c.after == fs::file_type::regular) {
      EXPECT_GT(fs::file_size(file), size_t{2} << 20) << c.name;
    }
  }
  fs::remove_all(dir);
  InvalidatePathCache();
}

TEST(Settings, KeysSectionReadWithTheSettingsTolerance) {
  // A file of before the key section: today's keys.
  StoredSettings old;
  ParseSettings("[Skerrow Settings]\r\nsounds_Checked=False\r\n", old);
  EXPECT_EQ(old.keys, KeyBindings{});
  EXPECT_FALSE(old.sounds);

  StoredSettings s;
  ParseSettings(
      "[Skerrow Keys]\r\n"
      "ctlForward=75\r\n"
      "CTLMAINGUN = 81 \r\n"  // any letter case, blanks removed
      "ctlForward=76\r\n"     // the first of repeated keys counts
      "ctlWeaponZ=27\r\n"     // Esc cannot be bound: keeps Z
      "ctlBack=abc\r\n"       // does not convert: keeps Down
      "ctlSideLeft=300\r\n"   // no such key: keeps A
      "jump=32\r\n"           // not an action
      "[Skerrow Settings]\r\n"
      "playmusic_Checked=False\r\n",
      s);
  KeyBindings expected;
  expected.keys[kKeyForward] = 'K';
  expected.keys[kKeyMainGun] = 'Q';
  EXPECT_EQ(s.keys, expected);
  EXPECT_FALSE(s.playmusic);  // the section order does not matter

  // One key for two actions (K again, for the mines): the whole section is refused.
  StoredSettings clash;
  ParseSettings("[Skerrow Keys]\r\nctlForward=75\r\nctlWeaponZ=75\r\nmenu=80\r\n", clash);
  EXPECT_EQ(clash.keys, KeyBindings{});
}

TEST(Settings, KeysSectionIsWrittenBesideTheSettingsAndRoundTrips) {
  StoredSettings s;
  ASSERT_TRUE(BindKey(s.keys, kKeyTurnLeft, 'J'));
  ASSERT_TRUE(BindKey(s.keys, kKeyMenu, 'P'));
  const std::string text =
      FormatSettings(s, "[Skerrow Keys]\r\nctlForward=75\r\nnote=mine\r\n[Other]\r\ny=2\r\n");
  const size_t settings = text.find("[Skerrow Settings]\r\n");
  const size_t keys = text.find(
      "[Skerrow Keys]\r\nctlForward=38\r\nctlBack=40\r\n"
      "ctlTurnLeft=74\r\nctlTurnRight=39\r\n");
  ASSERT_NE(settings, std::string::npos);
  ASSERT_NE(keys, std::string::npos);
  EXPECT_EQ(text.find("[Skerrow Keys]"), text.rfind("[Skerrow Keys]"));
  EXPECT_EQ(text.find("ctlForward="), text.rfind("ctlForward="));
  for (const char* line : {"menu=80\r\n", "screenshot=116\r\n", "screenshotBmp=44\r\n",
                           "panels=192\r\n", "note=mine\r\n", "[Other]\r\ny=2\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  StoredSettings back;
  ParseSettings(text, back);
  EXPECT_EQ(back.keys, s.keys);
  EXPECT_EQ(FormatSettings(back, text), text);
}

}  // namespace
}  // namespace skerrow
