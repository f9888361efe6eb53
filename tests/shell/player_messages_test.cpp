// Every text the game itself shows a player is Russian: the refusals of damaged saves and
// levels, the first-run message, the notices of the last life, the windows' captions; and a
// path in a message has one kind of separator. (The loaders' picture and model messages keep
// their own fixed texts, and the log may stay English.)
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/interface.h"
#include "gui/model_slots.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "shell/session.h"
#include "simulation/play_update.h"
#include "support/temp_dir.h"
#include "world/level_files.h"
#include "world/save_game.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;

// What may stay Latin in a Russian text: the tool's name, the data folder and the options a
// first-run message names, "3D", the menus' "Выйти в Windows", the picture format "BMP", and
// the paths in «» (the player's own folders).
constexpr std::string_view kLatinAllowed[] = {
    "skerrow-content", "--out", "--root", "gdata", "Skerrow.qvp", "DIR", "3D", "Windows", "BMP"};

bool IsCyrillic(char32_t c) {
  return c >= 0x400 && c <= 0x4FF;
}

// Decodes UTF-8 (the texts are the game's own, well-formed).
std::u32string Decode(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
    for (int k = 1; k < n && i + k < s.size(); ++k) c = (c << 6) | (s[i + k] & 0x3F);
    out += c;
    i += n;
  }
  return out;
}

// Empty when `text` reads as Russian: Cyrillic words, and no Latin letter outside the allowed
// names and the «» quotes; otherwise what is wrong.
std::string NotRussian(std::string text) {
  for (size_t open; (open = text.find("«")) != std::string::npos;) {
    const size_t close = text.find("»", open);
    if (close == std::string::npos) return "an unclosed «";
    const std::string path = text.substr(open + 2, close - open - 2);
    if (path.find('\\') != std::string::npos) return "a path with a backslash: " + path;
    text.erase(open, close + 2 - open);
  }
  for (std::string_view name : kLatinAllowed) {
    for (size_t at; (at = text.find(name)) != std::string::npos;) text.erase(at, name.size());
  }
  bool cyrillic = false;
  for (char32_t c : Decode(text)) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return "a Latin letter";
    cyrillic = cyrillic || IsCyrillic(c);
  }
  return cyrillic ? "" : "no Russian word";
}

TEST(PlayerMessages, TheCheckTellsRussianFromEnglish) {
  EXPECT_EQ(NotRussian("Сохранение «/home/a/slot4.qvs» не загружается."), "");
  EXPECT_NE(NotRussian("Save game «/home/a/slot4.qvs» cannot be loaded."), "");
  EXPECT_NE(NotRussian("Сохранение «/home/a\\gdata\\slot4.qvs» не загружается."), "");
  EXPECT_NE(NotRussian("1..3"), "");
}

// Every reason a save is refused for, in the message the player sees.
TEST(PlayerMessages, DamagedSavesAreRefusedInRussianWithTheirPath) {
  const fs::path root = test::ScratchDir("russian_saves");
  fs::create_directories(root / "gdata" / "savegame");
  const std::string appPath = root.string() + "/";
  const fs::path slot = root / "gdata" / "savegame" / "slot4.qvs";
  const auto write = [&](const void* bytes, size_t n) {
    std::ofstream(slot, std::ios::binary | std::ios::trunc)
        .write(static_cast<const char*>(bytes), static_cast<std::streamsize>(n));
    InvalidatePathCache();
  };
  // A sound block: every check passes.
  auto good = std::make_unique<SavedState>();
  good->GameMode = 2;
  good->menuScreen = 1;
  good->playerUnit = 1;
  good->units[1].unitKind = 1;
  good->episode = 1;
  good->episodeName.Set(EpisodeName(1));
  good->levelNumber = 1;
  good->heroLevel = 1;
  good->cameraNumber = 1;
  ASSERT_EQ(CheckSavedBlock(*good), "");
  const std::function<void(SavedState&)> damages[] = {
      [](SavedState& s) { s.GameMode = 9; },
      [](SavedState& s) { s.menuScreen = 0; },
      [](SavedState& s) { s.playerUnit = 300; },
      [](SavedState& s) { s.units[1].unitKind = 0; },
      [](SavedState& s) { s.units[1].posX = std::nan(""); },
      [](SavedState& s) { s.episode = 5; },
      [](SavedState& s) { s.levelNumber = 201; },
      [](SavedState& s) { s.heroLevel = 0; },
      [](SavedState& s) { s.cameraNumber = 11; },
      [](SavedState& s) { s.lives = -1; },
      [](SavedState& s) { s.airTarget = 256; },
      [](SavedState& s) { s.playerName.Set("a\r\nb"); },
      [](SavedState& s) { s.statusIcons[3] = 99; },
      [](SavedState& s) {
        s.units[9].alive = 1;
        s.units[9].unitKind = 256;
      },
      [](SavedState& s) {
        s.units[9].alive = 1;
        s.units[9].unitKind = 7;
        s.units[9].rotY = std::nan("");
      },
      [](SavedState& s) {
        s.statics[1].alive = 1;
        s.statics[1].terrainKind = 128;
      },
      [](SavedState& s) {
        s.statics[1].alive = 1;
        s.statics[1].terrainKind = 1;
        s.statics[1].posY = std::nan("");
      },
      [](SavedState& s) {
        s.statics[1].alive = 1;
        s.statics[1].terrainKind = 1;
        s.statics[1].objects[1].alive = 1;
      },
      [](SavedState& s) {
        s.statics[1].alive = 1;
        s.statics[1].terrainKind = 1;
        s.statics[1].objects[1].alive = 1;
        s.statics[1].objects[1].objectKind = 1;
        s.statics[1].objects[1].rotX = std::nan("");
      },
      [](SavedState& s) { s.bonuses[200].kind = 20; },
      [](SavedState& s) {
        s.bonuses[200].alive = 1;
        s.bonuses[200].radius = INFINITY;
      },
      [](SavedState& s) {
        s.projectiles[4].active = 1;
        s.projectiles[4].owner = -3;
      },
      [](SavedState& s) {
        s.particles[1960].active = 1;
        s.particles[1960].kind = 22;
      },
      [](SavedState& s) {
        s.snowflakes[1].active = 1;
        s.snowflakes[1].variant = 9;
      },
  };
  std::vector<std::string> shown;
  for (const auto& damage : damages) {
    auto s = std::make_unique<SavedState>(*good);
    damage(*s);
    write(s.get(), sizeof(SavedState));
    auto into = std::make_unique<SavedState>();
    shown.push_back(ReadSaveSlot(appPath, 4, *into).message.text);
  }
  write(good.get(), 1000);  // the short file of the report
  auto into = std::make_unique<SavedState>();
  shown.push_back(ReadSaveSlot(appPath, 4, *into).message.text);
  write(good.get(), 0);
  shown.push_back(ReadSaveSlot(appPath, 4, *into).message.text);
  std::vector<uint8_t> longer(kSavedBlockSize + 1);
  write(longer.data(), longer.size());
  shown.push_back(ReadSaveSlot(appPath, 4, *into).message.text);
  for (const std::string& text : shown) {
    ASSERT_NE(text, "") << "a damage the checks let through";
    EXPECT_NE(text.find((slot).string()), std::string::npos) << text;
    EXPECT_EQ(NotRussian(text), "") << text;
  }
  EXPECT_NE(shown[shown.size() - 3].find("1000"), std::string::npos);
}

// A level whose size picture is too wide, and the reasons a level's tables are refused for.
TEST(PlayerMessages, RefusedLevelsAreToldInRussian) {
  class WidePicture final : public PictureReader {
   public:
    bool ReadPicture(const std::string&, LevelPicture&) override { return false; }
    bool ReadPictureWidth(const std::string&, int32_t& width) override {
      width = 4096;
      return true;
    }
  } reader;
  int32_t size = 0;
  std::vector<std::string> shown = {
      LevelSizeOf(reader, "/games/skerrow/gdata\\Worlds\\Ep\\", 3, size).text};
  auto units = std::make_unique<UnitRecord[]>(3);
  units[2].alive = 1;
  units[2].unitKind = -1;
  shown.push_back(CheckUnitTable({units.get(), 3}));
  units[2].unitKind = 2;
  units[2].posX = std::nan("");
  shown.push_back(CheckUnitTable({units.get(), 3}));
  auto statics = std::make_unique<StaticRecord[]>(2);
  statics[1].alive = 1;
  shown.push_back(CheckStaticTable({statics.get(), 2}));
  auto bonuses = std::make_unique<BonusRecord[]>(2);
  bonuses[1].alive = 1;
  bonuses[1].posX = std::nan("");
  shown.push_back(CheckBonusPlaces({bonuses.get(), 2}));
  for (const std::string& text : shown) {
    ASSERT_NE(text, "");
    EXPECT_EQ(NotRussian(text), "") << text;
  }
}

TEST(PlayerMessages, TheFirstRunMessageAndTheNoticesAreRussian) {
  GameFolders none;
  none.searched = {"/opt/skerrow/", "/usr/share/skerrow/"};
  GameFolders partial;
  partial.root = "/home/a/skerrow/";
  const std::string shown[] = {
      MissingDataMessage(none, ""),
      MissingDataMessage(partial, "gdata\\Skerrow.qvp"),
      kLastLifeBackToSave,
      kLastLifeLevelAgain,
  };
  for (const std::string& text : shown) {
    // The folders it names are the player's: out of the check, as paths in «» are.
    std::string checked = text;
    for (const std::string& dir : {none.searched[0], none.searched[1], partial.root}) {
      for (size_t at; (at = checked.find(dir)) != std::string::npos;) checked.erase(at, dir.size());
    }
    EXPECT_EQ(NotRussian(checked), "") << text;
  }
}

// The captions and texts of the interface's windows, as built (the hint window's lines are
// placeholders its hints replace; "<<" and ">>" are arrows; the network notice names a site).
TEST(PlayerMessages, TheWindowsSpeakRussian) {
  auto w = std::make_unique<WorldState>();
  w->appPath = "/nonexistent/";
  test::ModelSlots host;
  host.world = w.get();
  TInterface ui;
  BuildInterface(ui, *w, host, 0, 0, false);
  const GuiWindows& g = ui.gui.windows;
  int checked = 0;
  for (const TWindow* window : {&g.inGameMenu, &g.mainMenu, &g.networkNotice, &g.hintWindow,
                                &g.options, &g.saveLoad, &g.keys}) {
    std::vector<std::string> texts;
    for (const TButton& b : window->buttons) texts.push_back(Cp1251ToUtf8(b.caption));
    if (window != &g.hintWindow) {
      for (const TText& t : window->texts) texts.push_back(Cp1251ToUtf8(t.caption));
    }
    for (const std::string& text : texts) {
      if (text.empty() || text == "<<" || text == ">>" || text == "skerrow.example.org") continue;
      if (window == &g.keys && text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ~") == 0) {
        continue;  // a key's own name on its button
      }
      ++checked;
      EXPECT_EQ(NotRussian(text), "") << text;
    }
  }
  EXPECT_GT(checked, 30);
}

}  // namespace
}  // namespace skerrow
