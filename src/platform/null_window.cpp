// The null backend: a window that never shows, has no GL context and produces no events.
#include <memory>

#include "platform/platform.h"

namespace skerrow::platform {
namespace {

class NullWindow final : public Window {
 public:
  bool Open(const DisplayConfig& config) override {
    width_ = config.width;
    height_ = config.height;
    open_ = true;
    return true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool HasGL() const override { return false; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SwapBuffers() override {}
  void PumpEvents(EventSink&) override {}
  void ShowCursor(bool) override {}
  void* GetProcAddress(const char*) override { return nullptr; }
  const std::string& Error() const override { return error_; }

 private:
  bool open_ = false;
  int width_ = 0;
  int height_ = 0;
  std::string error_;
};

}  // namespace

std::unique_ptr<Window> CreateNullWindow() {
  return std::make_unique<NullWindow>();
}

}  // namespace skerrow::platform
