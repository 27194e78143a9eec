// Keys typed in the window and a game pad's controls reach the key sink as the codes the
// same keys give in the terminal, under an Xvfb of the test's own.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "console/KeyCodes.h"
#include "graph/Graph.h"
#include "tests/common/Io.h"
#include "tests/common/Xvfb.h"

// Last: Xlib's macros (None, Bool, Status) would meet names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::mutex codesLock;
std::string codes;  // what IO.RdKey would give for the sink's events, as [n]

void Record(const IO::KeyEvent& e) {
  const IO::KeyCodes c = IO::CodesOf(e);
  std::lock_guard guard(codesLock);
  if (e.virtualKey == 0x13 && e.scanCode == 69 && e.character == 0 && e.state == 0)
    return void(codes += "[Pause]");  // as a console reports it
  codes += "[" + std::to_string(c.first) + "]";
  if (c.first == 0) codes += "[" + std::to_string(c.second) + "]";
}

std::string Codes() {
  std::lock_guard guard(codesLock);
  return codes;
}

// Waits until the sink has had the codes; the complaint when it has had others.
std::string Got(const std::string& expected) {
  for (auto end = std::chrono::steady_clock::now() + 5s;
       Codes() != expected && std::chrono::steady_clock::now() < end;)
    std::this_thread::sleep_for(10ms);
  return Codes() == expected ? "" : "got " + Codes() + " instead of " + expected + "\n";
}

// Types rows of keys through the X server, the keys of a row held down in turn, then let go.
// Apart in the server's time: a press at the release's time is SDL's sign of auto-repeat.
void Type(Display* d, std::vector<std::vector<KeySym>> rows) {
  for (const auto& keys : rows) {
    for (KeySym k : keys) XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), True, 30);
    for (auto k = keys.rbegin(); k != keys.rend(); ++k)
      XTestFakeKeyEvent(d, XKeysymToKeycode(d, *k), False, 30);
  }
  XSync(d, False);
}

// The stand-in terminal has the focus at the start; the window takes it and keeps it, so
// the keys reach the window.
std::string TypeKeys(Display* d) {
  std::this_thread::sleep_for(300ms);  // shown and activated
  Type(d, {{XK_a}, {XK_Shift_L, XK_a}, {XK_Shift_L, XK_1}, {XK_Control_L, XK_Left}});
  Type(d, {{XK_Alt_L, XK_Home}, {XK_F1}, {XK_F10}, {XK_KP_8}, {XK_Return}, {XK_Escape}});
  Type(d, {{XK_space}, {XK_Delete}, {XK_Pause}});
  // Shift alone gives nothing; Num Lock is off, so the keypad 8 is an Up arrow.
  const std::string us =
      "[97][65][33][0][115][0][151][0][59][0][68][0][72][13][27][32][0][83][Pause]";
  std::string complaint = Got(us);
  // The 1 key of a French layout: & and, with Shift, 1.
  KeySym french[2] = {XK_ampersand, XK_1};
  XChangeKeyboardMapping(d, XKeysymToKeycode(d, XK_1), 2, french, 1);
  Type(d, {{XK_1}, {XK_Shift_L, XK_1}});
  return complaint + Got(us + "[38][49]");
}

// SDL's virtual game pad, plugged in during the run: each control, a held one repeating.
std::string PlayAPad() {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;  // button n is the controller's button n
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  SDL_Joystick* pad = SDL_JoystickOpen(device);
  if (pad == nullptr) return std::string("no virtual pad: ") + SDL_GetError();
  for (int i = 0; i < 500 && !SDL_GameControllerFromInstanceID(SDL_JoystickInstanceID(pad)); ++i)
    std::this_thread::sleep_for(10ms);  // until the window has taken it
  std::string expected = Codes(), complaint;
  auto set = [&](int button, int value, const char* code) {
    SDL_JoystickSetVirtualButton(pad, button, value);
    complaint += Got(expected += code);
  };
  const int buttons[] = {SDL_CONTROLLER_BUTTON_A,     SDL_CONTROLLER_BUTTON_B,
                         SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK,
                         SDL_CONTROLLER_BUTTON_Y,     SDL_CONTROLLER_BUTTON_DPAD_LEFT};
  const char* codes[] = {"[32]", "[48]", "[13]", "[27]", "[104]", "[0][75]"};
  for (int i = 0; i < 6; ++i) set(buttons[i], 1, codes[i]), set(buttons[i], 0, "");
  // Held, the right arrow repeats; let go, it stops. Then the stick pushed up.
  set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1, "[0][77]");
  std::this_thread::sleep_for(600ms);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
  std::this_thread::sleep_for(100ms);
  const std::string held = Codes().substr(expected.size());
  std::size_t repeats = 0;
  while (held.compare(repeats * 7, 7, "[0][77]") == 0) ++repeats;
  if (repeats < 3 || repeats * 7 != held.size()) complaint += "held right gave " + held + "\n";
  expected = Codes();
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, -30000);
  complaint += Got(expected += "[0][72]");
  // A pad pulled out while held repeats no more.
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(device);
  std::this_thread::sleep_for(100ms);
  const std::string atRemoval = Codes();
  std::this_thread::sleep_for(400ms);
  if (Codes() != atRemoval) complaint += "repeats after the pad went: " + Codes() + "\n";
  return complaint;
}

std::vector<bool> muted;  // what the mute key asked for

// The window's own keys, F9 and F12, never reach the sink: F9 mutes and unmutes, F12
// writes the surface as it is, pixel for pixel, a file per press; a folder that cannot be
// written costs one line, and the keys go on.
std::string TheWindowsOwnKeys(Display* d, const fs::path& pictures) {
  Graph::ClearScreen(0);
  for (Graph::CARDINAL i = 0; i < 16; ++i)
    Graph::Rectangle(i * 60, i * 40, i * 60 + 90, 699, i, true);
  Graph::RawOutText(300, 300, 14, "Nova Gunner");
  const std::vector<std::uint32_t> surface = Graph::ReadSurface();
  const std::string before = Codes();
  Type(d, {{XK_F9}, {XK_F12}, {XK_F12}, {XK_F9}, {XK_a}});
  std::string complaint = Got(before + "[97]");
  std::vector<fs::path> files;
  for (int i = 0; i < 500 && files.size() < 2; ++i) {
    std::this_thread::sleep_for(10ms);
    files.clear();
    std::error_code none;  // the folder comes with the first file
    for (const auto& f : fs::directory_iterator(pictures / "nova-gunner", none)) files.push_back(f);
  }
  if (files.size() != 2) complaint += "not two screenshots\n";
  for (const fs::path& file : files) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<png_byte> rgb(1024 * 700 * 3);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_begin_read_from_file(&image, file.c_str()) || image.width != 1024 ||
        image.height != 700 || !png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
      return complaint + "cannot read " + file.string() + "\n";
    for (std::size_t i = 0; i < surface.size(); ++i)
      if (surface[i] != (std::uint32_t(rgb[3 * i]) << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2]))
        return complaint + file.string() + " differs at pixel " + std::to_string(i) + "\n";
  }
  if (muted != std::vector<bool>{true, false})
    complaint += "the mute key did not mute and unmute: " + std::to_string(muted.size()) + "\n";
  // A folder that cannot be made: one line, and the window goes on.
  std::ofstream(pictures / "file") << "in the way";
  setenv("XDG_PICTURES_DIR", (pictures / "file").c_str(), 1);
  testing::internal::CaptureStderr();
  Type(d, {{XK_F12}, {XK_a}});
  complaint += Got(before + "[97][97]");
  std::this_thread::sleep_for(300ms);
  const std::string said = testing::internal::GetCapturedStderr();
  if (!said.starts_with("nova-gunner: no screenshot: ") || std::ranges::count(said, '\n') != 1)
    complaint += "the unwritable folder gave: " + said;
  return complaint;
}

// A process opens the window once: the scenario runs in a child process, which passes when
// no complaint came back.
TEST(WindowKeysTest, KeysTypedInTheWindowAndAPadGiveTheTerminalsCodes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto child = [] {
    testing_x::XvfbServer x;
    testing_x::XStandIn terminal(x.Display(), "terminal");
    Graph::WindowOptions options;
    options.windowKeys = true;
    options.keySink = Record;
    options.muteSink = [](bool m) { muted.push_back(m); };
    ScratchDir pictures;
    setenv("XDG_PICTURES_DIR", pictures.path().c_str(), 1);
    std::string complaint = "no window";
    if (x.Running() && Graph::Init(1, 1, 1024, 700, Graph::WindowSystemKind::Sdl, options)) {
      Display* d = XOpenDisplay(x.Display().c_str());
      complaint = TypeKeys(d);  // in turn: each expects the codes before its own
      complaint += PlayAPad();
      complaint += TheWindowsOwnKeys(d, pictures.path());
      XCloseDisplay(d);
      Graph::Exit();
    }
    fs::remove_all(pictures.path());  // std::exit leaves it otherwise
    std::fprintf(stderr, "%s", complaint.c_str());
    std::fflush(nullptr);
    std::exit(complaint.empty() ? 0 : 1);
  };
  EXPECT_EXIT(child(), testing::ExitedWithCode(0), "");
}

}  // namespace
