// The run's place on the desktop, settled before the game object starts: the folder that holds
// the data, where the player's files go, the log, the crash handler, and the first-run check.
#pragma once

#include <string>
#include <vector>

#include "platform/paths.h"
#include "shell/command_line.h"

namespace skerrow {

// Files every start reads, as game paths below the data folder: when one is missing the pack
// is missing or incomplete.
extern const std::vector<std::string> kKeyDataFiles;

// The first key file missing under `root` (its game path below it), or "" when all exist.
std::string MissingKeyFile(const std::string& root);

// The first-run message: the folders looked in, the missing file, how to get the free pack.
std::string MissingDataMessage(const GameFolders& folders, const std::string& missingFile);

// Finds the data (`options.root` is set to its folder), chooses portable or per-user files,
// creates the per-user folders, opens the log, installs the crash handler and logs the start.
// Returns the exit code when the game must not start (no or incomplete data: the message is
// shown first; with --headless it goes to stderr and the run goes on), or -1 to go on.
int StartSession(CommandLine& options);

// The hidden crash test (SKERROW_CRASH_TEST=1): a crash when a level is entered in play.
bool CrashTestRequested();

}  // namespace skerrow
