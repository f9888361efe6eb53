// The game's command line: -EDITOR, display overrides, and the headless harness options
// that tests and benchmarks drive the game with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skerrow {

struct CommandLine {
  bool editor = false;             // first argument "-EDITOR", letter case ignored
  std::string root;                // directory holding gdata and settings.dat; "" = executable's
  std::optional<bool> fullscreen;  // --windowed / --fullscreen, this run only
  int width = 0, height = 0;       // --size WxH, this run only (0 = not given)
  bool headless = false;           // offscreen GL, null audio, virtual clock
  std::optional<uint64_t> seed;    // --seed N
  int64_t ticks = -1;              // --ticks N: exit after N ticks after start-up (-1 = run)
  std::string inputFile;           // --input FILE: scripted input
  std::string dumpState;           // --dump-state FILE: the saved block at exit
  std::string screenshot;          // --screenshot FILE: one frame as a 24-bit TGA at exit
  bool bench = false;              // --bench: timing line at exit
  std::string start;               // --start E:L (handled by level loading)
  int ship = 0;                    // --ship K with --start
  int slot = 0;                    // --slot N with --start: the game saves into slot 1..99
  int load = 0;                    // --load N: after start-up, load slot 1..99 (0 = none)
};

enum class ParseResult { kRun, kExitOk, kError };

// Parses argv[1..]. On kExitOk `message` holds the help or version text for stdout; on
// kError a one-line reason for stderr (the caller exits with code 2).
ParseResult ParseCommandLine(const std::vector<std::string>& args, CommandLine& out,
                             std::string& message);

std::string HelpText();
std::string VersionText();

}  // namespace skerrow
