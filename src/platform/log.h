// The run's log: one line per notable event, to stderr and to skerrow.log (emptied at start,
// unless another running game writes it too).
#pragma once

#include <string>
#include <string_view>

namespace skerrow::platform {

// Opens `path` as this run's log file and sends every later line of std::cerr there too. The
// file is created, or emptied when no other running game has it open; every line is appended.
// False (and the log stays on stderr alone) when it cannot be opened.
bool OpenLog(const std::string& path);
// True when another running game had the log open first: its lines and this run's are mixed.
bool LogShared();
// Writes "skerrow: <line>" to stderr and the log file.
void Log(std::string_view line);
// Writes `line` (ended by a new line) to the log file alone; for lines already on stderr.
void LogFileOnly(std::string_view line);
// The log file's descriptor for the crash handler's direct writes, or -1.
int LogFd();
// Restores std::cerr and closes the file (a test may open another log after).
void CloseLog();

}  // namespace skerrow::platform
