// Fuzz target: the text files the interface shows: the glyph widths of font.fnt, a hint text
// wrapped into the hint window's lines, and the same bytes as a save slot's description file.
// Input: font length (2 bytes, little-endian, taken modulo 300), the font.fnt bytes, then the
// hint text.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "enemies/hints.h"
#include "fuzz_files.h"
#include "gui/gui.h"
#include "gui/interface.h"
#include "platform/messages.h"
#include "world/save_game.h"
#include "world/world_state.h"

namespace {

using namespace skerrow;

struct Fixture {
  std::string appPath = fuzz::ScratchAppPath("text");
  std::unique_ptr<WorldState> world = std::make_unique<WorldState>();
  MenuHost menuHost;
  HintHost hintHost;
  Fixture() {
    platform::SetMessageHandler([](const std::string&, const std::string&) {});
    world->appPath = appPath;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture* f = new Fixture;
  if (size < 2 || size > 2 * kHintFileLimit) return 0;
  size_t fontLength = (data[0] | (data[1] << 8)) % 300;
  if (fontLength > size - 2) fontLength = size - 2;
  const std::span<const uint8_t> font(data + 2, fontLength);
  const std::span<const uint8_t> text(data + 2 + fontLength, size - 2 - fontLength);
  fuzz::WriteWholeFile(f->appPath + "gdata/ata/font.fnt", font);
  const std::string hintFile = f->appPath + "gdata/ata/hints/hint1.txt";
  fuzz::WriteWholeFile(hintFile, text);

  // The interface reads the widths as it is built.
  TInterface ui;
  BuildInterface(ui, *f->world, f->menuHost, 0, 0, false);
  for (uint8_t width : ui.gui.glyphWidths) {
    if (width > 16) __builtin_trap();
  }
  HintWindow window;
  if (!ShowHint(window, f->hintHost, hintFile, "")) __builtin_trap();
  for (int32_t i = 0; i < kHintLines; ++i) {
    const std::string& line = window.lines[static_cast<size_t>(i)];
    if (line.size() > kHintLineChars) __builtin_trap();
    if (GuiTextWidth(ui.gui, line) > static_cast<int32_t>(kHintLineChars) * 17) __builtin_trap();
    SetHintLine(ui, i + 1, line);
  }
  const SlotDescription lines =
      ParseDescriptionFile({reinterpret_cast<const char*>(text.data()), text.size()});
  for (const std::string& line : lines) GuiTextWidth(ui.gui, line);
  return 0;
}
