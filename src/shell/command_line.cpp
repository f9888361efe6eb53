// Command-line parsing for the game and its headless harness.
#include "shell/command_line.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>

namespace skerrow {

namespace {

bool ParseInt(const std::string& s, int64_t lo, int64_t hi, int64_t& out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

bool ParseU64(const std::string& s, uint64_t& out) {
  if (s.empty() || s[0] == '-') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long v = std::strtoull(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  out = v;
  return true;
}

// A display of at most 8192 on a side and 5120 x 2880 pixels (a 5K display): the frame's
// buffers and read-backs stay some 200 MB (16384 x 16384 took 3.3 GB, and a frame a minute).
constexpr int64_t kMaxDisplaySide = 8192;
constexpr int64_t kMaxDisplayPixels = int64_t{5120} * 2880;

bool ParseSize(const std::string& s, int& w, int& h) {
  size_t x = s.find_first_of("xX");
  if (x == std::string::npos) return false;
  int64_t a = 0, b = 0;
  if (!ParseInt(s.substr(0, x), 64, kMaxDisplaySide, a) ||
      !ParseInt(s.substr(x + 1), 64, kMaxDisplaySide, b) || a * b > kMaxDisplayPixels)
    return false;
  w = static_cast<int>(a);
  h = static_cast<int>(b);
  return true;
}

bool ParseStart(const std::string& s) {
  size_t c = s.find(':');
  if (c == std::string::npos) return false;
  int64_t e = 0, l = 0;
  return ParseInt(s.substr(0, c), 1, 99, e) && ParseInt(s.substr(c + 1), 1, 200, l);
}

}  // namespace

std::string HelpText() {
  return "Usage: skerrow [-EDITOR] [options]\n"
         "\n"
         "  -EDITOR            make the level editor available on the Space key (first argument)\n"
         "  --root DIR         directory holding gdata (see Files below)\n"
         "  --windowed         run in a window this time (not stored)\n"
         "  --fullscreen       run full screen this time (not stored)\n"
         "  --size WxH         display size for this run (not stored; sides 64..8192,\n"
         "                     at most 5120 x 2880 pixels)\n"
         "  --headless         no visible window and no sound; virtual 40 ms clock per tick\n"
         "  --seed N           seed the random generator\n"
         "  --ticks N          exit after N main-loop ticks after start-up\n"
         "  --input FILE       scripted input: lines 'TICK key-down VK', 'TICK key-up VK',\n"
         "                     'TICK char CODE', 'TICK mouse-move X Y', 'TICK mouse-down BUTTON',\n"
         "                     'TICK mouse-up BUTTON' (VK a Windows virtual-key code, CODE a\n"
         "                     Windows-1251 byte, BUTTON 0 left, 1 right, 2 middle)\n"
         "  --dump-state FILE  at exit, write the saved game block byte for byte\n"
         "  --screenshot FILE  at exit, write one frame as an uncompressed 24-bit TGA\n"
         "  --bench            at exit, print step and frame timings\n"
         "  --start E:L        start playing episode E, level L\n"
         "  --ship K           with --start: the hero's ship 1..3\n"
         "  --slot N           with --start: save the game into slot 1..99\n"
         "  --load N           after start-up (and --start), load slot 1..99 as a game\n"
         "  --help, --version\n"
         "\n"
         "Files:\n"
         "  The game data (gdata) is looked for in --root DIR when given, otherwise beside\n"
         "  the executable, then in <exe>/../share/skerrow, then in the installed data folder.\n"
         "  With --root, or data in a writable folder beside the executable (portable mode),\n"
         "  settings.dat, gdata/savegame/slot<N>.qvs/.tga/.txt, ScreenNNNN.tga/.bmp and\n"
         "  skerrow.log sit beside gdata. Otherwise (an installed game) they go to the\n"
         "  player's folders: settings.dat in $XDG_CONFIG_HOME/skerrow (~/.config/skerrow);\n"
         "  savegame/, screenshots/ and skerrow.log in $XDG_DATA_HOME/skerrow\n"
         "  (~/.local/share/skerrow). The level editor keeps editor.ini in\n"
         "  $XDG_CONFIG_HOME/skerrow. After a crash in play, savegame/emergency.qvs holds the\n"
         "  game as it was (rename it to a free slot<N>.qvs to load it).\n"
         "  Missing data: skerrow-content --out DIR/gdata writes the free content pack.\n";
}

std::string VersionText() {
  return "skerrow 0.1.0\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args, CommandLine& out,
                             std::string& message) {
  out = CommandLine{};
  size_t i = 0;
  if (!args.empty() && strcasecmp(args[0].c_str(), "-EDITOR") == 0) {
    out.editor = true;
    i = 1;
  }
  auto value = [&](const std::string& opt, std::string& v) {
    if (i + 1 >= args.size()) {
      message = "option " + opt + " needs a value";
      return false;
    }
    v = args[++i];
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    if (a == "--help" || a == "-h") {
      message = HelpText();
      return ParseResult::kExitOk;
    } else if (a == "--version") {
      message = VersionText();
      return ParseResult::kExitOk;
    } else if (a == "--root") {
      if (!value(a, v)) return ParseResult::kError;
      if (v.empty()) {
        message = "--root needs a directory";
        return ParseResult::kError;
      }
      out.root = v;
    } else if (a == "--windowed") {
      out.fullscreen = false;
    } else if (a == "--fullscreen") {
      out.fullscreen = true;
    } else if (a == "--size") {
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseSize(v, out.width, out.height)) {
        message = "bad --size '" + v + "' (expected WxH, each 64..8192, at most 5120 x 2880 pixels)";
        return ParseResult::kError;
      }
    } else if (a == "--headless") {
      out.headless = true;
    } else if (a == "--seed") {
      uint64_t s = 0;
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseU64(v, s)) {
        message = "bad --seed '" + v + "' (expected a non-negative integer)";
        return ParseResult::kError;
      }
      out.seed = s;
    } else if (a == "--ticks") {
      int64_t n = 0;
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseInt(v, 0, INT64_MAX / 2, n)) {
        message = "bad --ticks '" + v + "' (expected a non-negative integer)";
        return ParseResult::kError;
      }
      out.ticks = n;
    } else if (a == "--input") {
      if (!value(a, out.inputFile)) return ParseResult::kError;
    } else if (a == "--dump-state") {
      if (!value(a, out.dumpState)) return ParseResult::kError;
    } else if (a == "--screenshot") {
      if (!value(a, out.screenshot)) return ParseResult::kError;
    } else if (a == "--bench") {
      out.bench = true;
    } else if (a == "--start") {
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseStart(v)) {
        message = "bad --start '" + v + "' (expected E:L, episode 1..99, level 1..200)";
        return ParseResult::kError;
      }
      out.start = v;
    } else if (a == "--ship") {
      int64_t n = 0;
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseInt(v, 1, 3, n)) {
        message = "bad --ship '" + v + "' (expected 1, 2 or 3)";
        return ParseResult::kError;
      }
      out.ship = static_cast<int>(n);
    } else if (a == "--slot") {
      int64_t n = 0;
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseInt(v, 1, 99, n)) {
        message = "bad --slot '" + v + "' (expected 1..99)";
        return ParseResult::kError;
      }
      out.slot = static_cast<int>(n);
    } else if (a == "--load") {
      int64_t n = 0;
      if (!value(a, v)) return ParseResult::kError;
      if (!ParseInt(v, 1, 99, n)) {
        message = "bad --load '" + v + "' (expected 1..99)";
        return ParseResult::kError;
      }
      out.load = static_cast<int>(n);
    } else {
      message = "unknown option '" + a + "' (see --help)";
      return ParseResult::kError;
    }
  }
  if (out.slot > 0 && out.start.empty()) {
    message = "--slot needs --start (the game started by --start saves into the slot)";
    return ParseResult::kError;
  }
  return ParseResult::kRun;
}

}  // namespace skerrow
