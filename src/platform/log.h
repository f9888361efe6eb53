// The run's log: one line per notable event, to stderr and to skerrow.log (replaced at start).
#pragma once

#include <string>
#include <string_view>

namespace skerrow::platform {

// Opens `path` (created or emptied) as this run's log file and sends every later line of
// std::cerr there too. False (and the log stays on stderr alone) when it cannot be opened.
bool OpenLog(const std::string& path);
// Writes "skerrow: <line>" to stderr and the log file.
void Log(std::string_view line);
// Writes `line` (ended by a new line) to the log file alone; for lines already on stderr.
void LogFileOnly(std::string_view line);
// The log file's descriptor for the crash handler's direct writes, or -1.
int LogFd();
// Restores std::cerr and closes the file (a test may open another log after).
void CloseLog();

}  // namespace skerrow::platform
