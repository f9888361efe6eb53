// Crash handlers: async-signal-safe writes of a report, a backtrace and an emergency save.
#include "platform/crash.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "platform/log.h"

namespace skerrow::platform {
namespace {

constexpr size_t kPathBytes = 4096;  // PATH_MAX on Linux
constexpr int kMaxFrames = 64;

struct EmergencySave {
  const void* block = nullptr;
  size_t size = 0;
  size_t modeOffset = 0;
  int32_t wantedMode = 0;
  char path[kPathBytes] = {};
  char tmpPath[kPathBytes + 4] = {};
  char folder[kPathBytes] = {};  // the path up to its last '/', made when missing
};

EmergencySave g_save;
std::atomic<bool> g_armed{false};
std::atomic<bool> g_installed{false};
volatile sig_atomic_t g_inHandler = 0;

// Only write(2) from here on: no stdio, no allocation, no locks.
void Put(int fd, const char* text) {
  if (fd < 0) return;
  size_t n = std::strlen(text);
  while (n > 0) {
    const ssize_t w = ::write(fd, text, n);
    if (w <= 0) return;
    text += w;
    n -= static_cast<size_t>(w);
  }
}

void PutBoth(int logFd, const char* text) {
  Put(STDERR_FILENO, text);
  Put(logFd, text);
}

const char* SignalName(int sig) {
  switch (sig) {
    case SIGSEGV:
      return "SIGSEGV (invalid memory access)";
    case SIGBUS:
      return "SIGBUS (bus error)";
    case SIGFPE:
      return "SIGFPE (arithmetic fault)";
    case SIGILL:
      return "SIGILL (illegal instruction)";
    case SIGABRT:
      return "SIGABRT (abort)";
    default:
      return "a fatal signal";
  }
}

bool GameRunning() {
  if (!g_armed.load(std::memory_order_acquire) || g_save.block == nullptr) return false;
  int32_t mode = 0;
  std::memcpy(&mode, static_cast<const char*>(g_save.block) + g_save.modeOffset, sizeof mode);
  return mode == g_save.wantedMode;
}

// True when the whole block reached the disk under its final name.
bool WriteEmergencySave() {
  if (g_save.folder[0] != '\0') ::mkdir(g_save.folder, 0755);
  const int fd = ::open(g_save.tmpPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* p = static_cast<const char*>(g_save.block);
  size_t left = g_save.size;
  while (left > 0) {
    const ssize_t w = ::write(fd, p, left);
    if (w <= 0) break;
    p += w;
    left -= static_cast<size_t>(w);
  }
  const bool whole = left == 0 && ::fsync(fd) == 0;
  ::close(fd);
  if (!whole || ::rename(g_save.tmpPath, g_save.path) != 0) {
    ::unlink(g_save.tmpPath);
    return false;
  }
  return true;
}

void OnCrash(int sig) {
  // A second fault inside the handler: straight to the default action.
  if (g_inHandler) {
    ::signal(sig, SIG_DFL);
    ::raise(sig);
    return;
  }
  g_inHandler = 1;
  const int logFd = LogFd();
  PutBoth(logFd, "skerrow: crash: ");
  PutBoth(logFd, SignalName(sig));
  PutBoth(logFd, "\nskerrow: backtrace:\n");
  void* frames[kMaxFrames];
  const int count = ::backtrace(frames, kMaxFrames);
  ::backtrace_symbols_fd(frames, count, STDERR_FILENO);
  if (logFd >= 0) ::backtrace_symbols_fd(frames, count, logFd);
  if (GameRunning()) {
    if (WriteEmergencySave()) {
      PutBoth(logFd, "skerrow: emergency save written to ");
      PutBoth(logFd, g_save.path);
      PutBoth(logFd, "\n");
    } else {
      PutBoth(logFd, "skerrow: the emergency save could not be written to ");
      PutBoth(logFd, g_save.path);
      PutBoth(logFd, "\n");
    }
  }
  if (logFd >= 0) ::fsync(logFd);
  // SA_RESETHAND put the default action back: the signal ends the process as it would have.
  ::raise(sig);
}

}  // namespace

void InstallCrashHandler() {
  if (g_installed.exchange(true)) return;
  // backtrace() loads libgcc on its first call, which allocates: do that now, not in a crash.
  void* warm[1];
  ::backtrace(warm, 1);
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = OnCrash;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESETHAND | SA_NODEFER;
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::sigaction(sig, &sa, nullptr);
}

void ArmEmergencySave(const void* block, size_t size, size_t modeOffset, int32_t wantedMode,
                      const std::string& path) {
  g_armed.store(false, std::memory_order_release);
  if (path.empty() || path.size() >= kPathBytes || modeOffset + sizeof(int32_t) > size) return;
  g_save.block = block;
  g_save.size = size;
  g_save.modeOffset = modeOffset;
  g_save.wantedMode = wantedMode;
  std::memcpy(g_save.path, path.c_str(), path.size() + 1);
  std::memcpy(g_save.tmpPath, path.c_str(), path.size());
  std::memcpy(g_save.tmpPath + path.size(), ".tmp", 5);
  const size_t slash = path.rfind('/');
  const size_t folderBytes = slash == std::string::npos || slash == 0 ? 0 : slash;
  std::memcpy(g_save.folder, path.c_str(), folderBytes);
  g_save.folder[folderBytes] = '\0';
  g_armed.store(true, std::memory_order_release);
}

void DisarmEmergencySave() {
  g_armed.store(false, std::memory_order_release);
}

}  // namespace skerrow::platform
