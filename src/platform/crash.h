// The crash report: on SIGSEGV, SIGBUS, SIGFPE, SIGILL or SIGABRT a short report with a
// backtrace goes to stderr and the log file, and a block armed for it (the saved game while a
// game is running) is written raw into its own file; then the signal takes its default course.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace skerrow::platform {

// Installs the handlers (once; later calls do nothing).
void InstallCrashHandler();

// Arms the emergency save: at a crash, while the int32 at byte `modeOffset` of the block equals
// `wantedMode` (a game is running), the `size` bytes at `block` are written to `path` + ".tmp"
// and renamed over `path`. The block must stay valid until DisarmEmergencySave; `path` is
// copied now (the handler allocates nothing).
void ArmEmergencySave(const void* block, size_t size, size_t modeOffset, int32_t wantedMode,
                      const std::string& path);
void DisarmEmergencySave();

}  // namespace skerrow::platform
