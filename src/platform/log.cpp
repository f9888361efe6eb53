// The log file and the copy of std::cerr's lines into it.
#include "platform/log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <iostream>
#include <mutex>
#include <streambuf>

namespace skerrow::platform {
namespace {

// write(2) to the end of whatever is accepted; a full disk or a closed stderr loses the rest.
void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

// std::cerr's buffer while the log is open: every character to stderr as before, and whole
// lines to the log file.
class TeeBuffer final : public std::streambuf {
 public:
  void Attach(int fd) { fd_ = fd; }

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    const char ch = static_cast<char>(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    WriteAll(STDERR_FILENO, s, static_cast<size_t>(n));
    if (fd_ >= 0) WriteAll(fd_, s, static_cast<size_t>(n));
    return n;
  }

 private:
  int fd_ = -1;
};

struct LogState {
  std::mutex mutex;
  int fd = -1;
  bool shared = false;  // another running game had the file open first
  TeeBuffer tee;
  std::streambuf* previous = nullptr;  // std::cerr's own buffer while the tee is in place
};

// Never destroyed: std::cerr may still point at the tee when the last static destructors flush
// it at exit (a library's stream flush after ours would otherwise write through a dead buffer).
LogState& State() {
  static LogState* const state = new LogState;
  return *state;
}

}  // namespace

bool OpenLog(const std::string& path) {
  CloseLog();
  LogState& s = State();
  // Every write appends (O_APPEND), so that two games sharing the folder never write over each
  // other's lines. The first game holds a shared lock while it runs; one that finds no game
  // holding it empties the file first (one file per run), a later one appends to the file.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool alone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (alone && ::ftruncate(fd, 0) != 0) {
    // Not emptied: the run's lines follow the old ones.
  }
  ::flock(fd, LOCK_SH);
  std::lock_guard<std::mutex> lock(s.mutex);
  s.shared = !alone;
  s.fd = fd;
  s.tee.Attach(fd);
  std::cerr.flush();
  s.previous = std::cerr.rdbuf(&s.tee);
  return true;
}

void Log(std::string_view line) {
  LogState& s = State();
  std::string text = "skerrow: ";
  text.append(line);
  text += '\n';
  std::lock_guard<std::mutex> lock(s.mutex);
  WriteAll(STDERR_FILENO, text.data(), text.size());
  if (s.fd >= 0) WriteAll(s.fd, text.data(), text.size());
}

void LogFileOnly(std::string_view line) {
  LogState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.fd < 0) return;
  WriteAll(s.fd, line.data(), line.size());
  WriteAll(s.fd, "\n", 1);
}

bool LogShared() {
  return State().shared;
}

int LogFd() {
  return State().fd;
}

void CloseLog() {
  LogState& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.previous != nullptr) std::cerr.rdbuf(s.previous);
  s.previous = nullptr;
  s.tee.Attach(-1);
  if (s.fd >= 0) ::close(s.fd);
  s.fd = -1;
}

}  // namespace skerrow::platform
