// Command-line parsing and the scripted-input format.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "shell/scripted_input.h"

namespace skerrow {
namespace {

TEST(CommandLine, AcceptsEveryOption) {
  CommandLine cl;
  std::string msg;
  ASSERT_EQ(ParseCommandLine({"-editor",    "--root",
                              "/tmp/x",     "--windowed",
                              "--size",     "1280x1024",
                              "--headless", "--seed",
                              "42",         "--ticks",
                              "10",         "--input",
                              "in.txt",     "--dump-state",
                              "s.qvs",      "--screenshot",
                              "f.tga",      "--bench",
                              "--start",    "1:3",
                              "--ship",     "2",
                              "--slot",     "99",
                              "--load",     "7"},
                             cl, msg),
            ParseResult::kRun)
      << msg;
  EXPECT_TRUE(cl.editor);
  EXPECT_EQ(cl.root, "/tmp/x");
  EXPECT_EQ(cl.fullscreen, false);
  EXPECT_EQ(cl.width, 1280);
  EXPECT_EQ(cl.height, 1024);
  EXPECT_TRUE(cl.headless);
  EXPECT_EQ(cl.seed, 42u);
  EXPECT_EQ(cl.ticks, 10);
  EXPECT_EQ(cl.inputFile, "in.txt");
  EXPECT_EQ(cl.dumpState, "s.qvs");
  EXPECT_EQ(cl.screenshot, "f.tga");
  EXPECT_TRUE(cl.bench);
  EXPECT_EQ(cl.start, "1:3");
  EXPECT_EQ(cl.ship, 2);
  EXPECT_EQ(cl.slot, 99);
  EXPECT_EQ(cl.load, 7);
}

TEST(CommandLine, RejectsBadInput) {
  const std::vector<std::vector<std::string>> bad = {
      {"--frobnicate"},          {"--size", "800"},  {"--size", "0x600"}, {"--size", "axb"},
      {"--ticks", "-1"},         {"--ticks", "ten"}, {"--seed", "-5"},    {"--seed"},
      {"--start", "1"},          {"--start", "0:1"}, {"--ship", "4"},     {"--root", ""},
      {"--slot", "0"},           {"--slot", "100"},  {"--load", "0"},     {"--load", "x"},
      {"--slot", "5"},  // without --start nothing would save into it
      {"--size", "16384x16384"}, {"--size", "8193x64"}, {"--size", "8192x4096"},
      {"--windowed", "-EDITOR"},  // -EDITOR counts only as
                                  // the first argument
  };
  for (const auto& args : bad) {
    CommandLine cl;
    std::string msg;
    EXPECT_EQ(ParseCommandLine(args, cl, msg), ParseResult::kError)
        << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_FALSE(msg.empty());
  }
  CommandLine cl;
  std::string msg;
  // The largest display taken: 5120 x 2880, and 8192 on one side.
  EXPECT_EQ(ParseCommandLine({"--size", "5120x2880"}, cl, msg), ParseResult::kRun) << msg;
  EXPECT_EQ(ParseCommandLine({"--size", "8192x1024"}, cl, msg), ParseResult::kRun) << msg;
  EXPECT_EQ(ParseCommandLine({"--help"}, cl, msg), ParseResult::kExitOk);
  EXPECT_NE(msg.find("--dump-state"), std::string::npos);
  EXPECT_EQ(ParseCommandLine({"--version"}, cl, msg), ParseResult::kExitOk);
}

TEST(ScriptedInput, ParsesAndOrdersByTick) {
  std::vector<ScriptEvent> ev;
  std::string err;
  ASSERT_TRUE(
      ParseInputScript("# comment\n5 key-down 87\r\n\n2 mouse-move 10 20\n2 mouse-down 0\n"
                       "5 key-up 87\n0 char 224\n6 editor-button  Delete all units \r\n",
                       ev, err))
      << err;
  ASSERT_EQ(ev.size(), 6u);
  EXPECT_EQ(ev[0].tick, 0);
  EXPECT_EQ(ev[0].type, ScriptEvent::kChar);
  EXPECT_EQ(ev[0].a, 224);
  EXPECT_EQ(ev[1].type, ScriptEvent::kMouseMove);
  EXPECT_EQ(ev[1].b, 20);
  EXPECT_EQ(ev[2].type, ScriptEvent::kMouseDown);  // file order kept within a tick
  EXPECT_EQ(ev[3].type, ScriptEvent::kKeyDown);
  EXPECT_EQ(ev[4].type, ScriptEvent::kKeyUp);
  EXPECT_EQ(ev[5].type, ScriptEvent::kEditorButton);
  EXPECT_EQ(ev[5].text, "Delete all units");  // the rest of the line, spaces inside kept
}

TEST(ScriptedInput, ReportsTheBadLine) {
  const char* bad[] = {"x key-down 1",    "1 key-down 256",    "1 key-down",  "1 mouse-down 3",
                       "1 mouse-move 5",  "1 jump 2",          "-1 key-up 3", "1 char 0",
                       "1 editor-button", "1 editor-button   "};
  for (const char* line : bad) {
    std::vector<ScriptEvent> ev;
    std::string err;
    EXPECT_FALSE(ParseInputScript(std::string("1 key-down 65\n") + line, ev, err)) << line;
    EXPECT_EQ(err.rfind("line 2:", 0), 0u) << err;
  }
}

}  // namespace
}  // namespace skerrow
