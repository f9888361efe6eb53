// Program entry: parses the command line and hands it to the main game object.
#include <iostream>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/skerrow_form.h"

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
  skerrow::TSkerrowForm form(options);
  return form.Run();
}
