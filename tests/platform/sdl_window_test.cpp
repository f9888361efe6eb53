// The SDL backend on the offscreen video driver: a real GL context at the requested size.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recording_sink.h"
#include "platform/sdl/raw_events.h"

namespace skerrow::platform {
namespace {

DisplayConfig Headless(int width, int height) {
  DisplayConfig config;
  config.width = width;
  config.height = height;
  config.headless = true;
  return config;
}

TEST(SdlWindow, HeadlessWindowHasACompatibilityContextThatClearsAndReadsBack) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(800, 600))) << window->Error();
  EXPECT_TRUE(window->IsOpen());
  EXPECT_TRUE(window->HasGL());
  EXPECT_EQ(window->Width(), 800);
  EXPECT_EQ(window->Height(), 600);

  GLint depth = 0, stencil = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  glGetIntegerv(GL_STENCIL_BITS, &stencil);
  EXPECT_GE(depth, 16);
  EXPECT_GE(stencil, 1);
  // Fixed-function entry points exist only in a compatibility context.
  EXPECT_NE(window->GetProcAddress("glBegin"), nullptr);
  EXPECT_NE(window->GetProcAddress("glActiveTextureARB"), nullptr);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  glViewport(0, 0, 800, 600);
  glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  std::array<uint8_t, 4> corner{}, far{};
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner.data());
  glReadPixels(799, 599, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, far.data());
  for (const auto& px : {corner, far}) {
    EXPECT_NEAR(px[0], 51, 1);
    EXPECT_NEAR(px[1], 102, 1);
    EXPECT_NEAR(px[2], 153, 1);
  }
  window->SwapBuffers();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  RecordingSink sink;
  window->PumpEvents(sink);  // returns at once with nothing that needs the game
  window->ShowCursor(false);
  window->ShowCursor(true);

  window->Close();
  EXPECT_FALSE(window->IsOpen());
  EXPECT_FALSE(window->HasGL());
  EXPECT_EQ(window->GetProcAddress("glBegin"), nullptr);
}

TEST(SdlWindow, ReopensAtAnotherSizeAndRejectsAnEmptyOne) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(320, 240))) << window->Error();
  EXPECT_EQ(window->Width(), 320);
  EXPECT_EQ(window->Height(), 240);
  ASSERT_TRUE(window->Open(Headless(640, 480))) << window->Error();
  EXPECT_EQ(window->Width(), 640);
  EXPECT_EQ(window->Height(), 480);
  window.reset();  // the destructor closes

  auto bad = CreateSdlWindow();
  EXPECT_FALSE(bad->Open(Headless(0, 600)));
  EXPECT_FALSE(bad->Error().empty());
  EXPECT_FALSE(bad->IsOpen());
}

TEST(SdlWindow, CloseRequestIsDeliveredOnce) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(200, 100))) << window->Error();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  SDL_PushEvent(&quit);
  RecordingSink sink;
  window->PumpEvents(sink);
  EXPECT_EQ(sink.log, std::vector<std::string>{"close"});
}

TEST(SdlWindow, RawEventHookSeesEventsFirstAndMayConsumeThem) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(200, 100))) << window->Error();
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  int seen = 0;
  const RawEventHook before = SetRawEventHook([&](const void* raw) {
    const auto* event = static_cast<const SDL_Event*>(raw);
    if (event->type != SDL_KEYDOWN) return false;
    ++seen;
    return event->key.keysym.sym == SDLK_a;  // the hook keeps 'A' for itself
  });
  for (const SDL_Keycode sym : {SDLK_a, SDLK_b}) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
  }
  RecordingSink sink;
  window->PumpEvents(sink);
  SetRawEventHook(before);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(sink.log, std::vector<std::string>{"down 66 0"});
}

TEST(SdlWindow, AltEnterTogglesFullScreenAndTheGameNeverSeesIt) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(320, 240))) << window->Error();
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  ASSERT_FALSE(window->IsFullScreen());
  const auto altEnter = [] {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_RETURN;
    e.key.keysym.scancode = SDL_SCANCODE_RETURN;
    e.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&e);
  };
  RecordingSink sink;
  altEnter();
  window->PumpEvents(sink);
  EXPECT_TRUE(window->IsFullScreen());
  altEnter();
  window->PumpEvents(sink);
  EXPECT_FALSE(window->IsFullScreen());
  for (const std::string& line : sink.log) EXPECT_EQ(line.find("down"), std::string::npos);
  EXPECT_EQ(sink.chars.find('\r'), std::string::npos);  // no Enter typed either
  // Back in a window: the size it had.
  EXPECT_EQ(window->Width(), 320);
  EXPECT_EQ(window->Height(), 240);
  EXPECT_FALSE(CreateNullWindow()->SetFullScreen(true));
}

TEST(SdlWindow, AVirtualControllerSteersPlugsInAndOut) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(200, 100))) << window->Error();
  ASSERT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
  // SDL ignores controllers while no window has focus, and the hidden window never has it.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  const int device = SDL_JoystickAttachVirtual(
      SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(device, 0) << SDL_GetError();
  SDL_Joystick* stick = SDL_JoystickOpen(device);
  ASSERT_NE(stick, nullptr) << SDL_GetError();
  RecordingSink sink;
  window->PumpEvents(sink);  // the controller is announced and opened
  EXPECT_TRUE(sink.log.empty());

  // Left stick fully left: the turn-left key, marked as a controller's game key.
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 1);
  window->PumpEvents(sink);
  const std::string flag = std::to_string(kShiftController);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"down 27 " + flag, "down 37 " + flag}));
  sink.log.clear();
  window->PumpEvents(sink);  // held: no repeat
  EXPECT_TRUE(sink.log.empty());
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 0);
  window->PumpEvents(sink);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"up 27 " + flag}));
  sink.log.clear();

  // Pulled out while steering: its key is released.
  SDL_JoystickClose(stick);
  ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0) << SDL_GetError();
  window->PumpEvents(sink);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"up 37 " + flag}));
}

TEST(SdlWindow, AVirtualControllerReportsItsSticksAndButtonsForTheWindows) {
  auto window = CreateSdlWindow();
  ASSERT_TRUE(window->Open(Headless(200, 100))) << window->Error();
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  RecordingSink sink;
  window->PumpEvents(sink);
  EXPECT_TRUE(sink.pads.empty());  // no controller: no report
  const int device = SDL_JoystickAttachVirtual(
      SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(device, 0) << SDL_GetError();
  SDL_Joystick* stick = SDL_JoystickOpen(device);
  ASSERT_NE(stick, nullptr) << SDL_GetError();
  window->PumpEvents(sink);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_RIGHTX, -30000);
  SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_RIGHTY, 12000);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
  sink.pads.clear();
  window->PumpEvents(sink);
  ASSERT_EQ(sink.pads.size(), 1u);  // one report a pump
  EXPECT_EQ(sink.pads[0].rightX, -30000);
  EXPECT_EQ(sink.pads[0].rightY, 12000);
  EXPECT_EQ(+sink.pads[0].a, 1);
  EXPECT_EQ(+sink.pads[0].b, 0);

  // Pulled out with A down: one last report, all released, then none.
  SDL_JoystickClose(stick);
  ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0) << SDL_GetError();
  sink.pads.clear();
  window->PumpEvents(sink);
  ASSERT_EQ(sink.pads.size(), 1u);
  EXPECT_EQ(sink.pads[0].rightX, 0);
  EXPECT_EQ(+sink.pads[0].a, 0);
  window->PumpEvents(sink);
  EXPECT_EQ(sink.pads.size(), 1u);
}

TEST(NullWindow, ReportsTheConfiguredSizeWithoutGL) {
  auto window = CreateNullWindow();
  DisplayConfig config;
  config.width = 1024;
  config.height = 768;
  ASSERT_TRUE(window->Open(config));
  EXPECT_TRUE(window->IsOpen());
  EXPECT_FALSE(window->HasGL());
  EXPECT_EQ(window->Width(), 1024);
  EXPECT_EQ(window->Height(), 768);
  EXPECT_EQ(window->GetProcAddress("glBegin"), nullptr);
  RecordingSink sink;
  window->PumpEvents(sink);
  window->SwapBuffers();
  EXPECT_TRUE(sink.log.empty());
  window->Close();
  EXPECT_FALSE(window->IsOpen());
}

}  // namespace
}  // namespace skerrow::platform
