// Program entry: parses the command line, settles the run's folders and log, and hands the
// command line to the main game object.
#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include "platform/crash.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "shell/command_line.h"
#include "shell/session.h"
#include "shell/skerrow_form.h"
#include "world/vocabulary.h"
#include "world/world_state.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  skerrow::CommandLine options;
  std::string message;
  switch (skerrow::ParseCommandLine(args, options, message)) {
    case skerrow::ParseResult::kExitOk:
      std::cout << message;
      return 0;
    case skerrow::ParseResult::kError:
      std::cerr << "skerrow: " << message << "\n";
      return 2;
    case skerrow::ParseResult::kRun:
      break;
  }
  if (const int code = skerrow::StartSession(options); code >= 0) return code;
  int code = 0;
  {
    skerrow::TSkerrowForm form(options);
    // A crash while a game is running leaves the saved block in its own file.
    const auto block = skerrow::SavedBytes(form.World());
    skerrow::platform::ArmEmergencySave(block.data(), block.size(),
                                        offsetof(skerrow::SavedState, GameMode),
                                        skerrow::game_mode::kPlay,
                                        skerrow::ResolvePath(skerrow::UserFilePath(
                                            skerrow::UserFile::kEmergencySave, options.root)));
    code = form.Run();
    skerrow::platform::DisarmEmergencySave();
  }
  skerrow::platform::Log("exit code " + std::to_string(code));
  skerrow::platform::CloseLog();
  return code;
}
