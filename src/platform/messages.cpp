// Message boxes through a replaceable handler; the default one writes to stderr.
#include "platform/messages.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "platform/log.h"

namespace skerrow::platform {
namespace {

void StderrHandler(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
}

std::mutex& HandlerMutex() {
  static std::mutex m;
  return m;
}

MessageHandler& CurrentHandler() {
  static MessageHandler handler = StderrHandler;
  return handler;
}

}  // namespace

void ShowMessage(const std::string& caption, const std::string& text) {
  MessageHandler handler;
  {
    std::lock_guard<std::mutex> lock(HandlerMutex());
    handler = CurrentHandler();
  }
  // Every message is a notable event: the log file keeps it (the handler shows it).
  LogFileOnly(caption + ": " + text);
  // Called outside the lock: a handler may itself replace the handler or show a message.
  handler(caption, text);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  if (!handler) handler = StderrHandler;
  std::lock_guard<std::mutex> lock(HandlerMutex());
  return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace skerrow::platform
