// Figures of the screens, printed, never asserted:
//  - the built program under its own Xvfb, keys through a pseudo-terminal: time from
//    start to the story's first frame less its fixed pauses, and the CPU the whole
//    process uses over 10 s waiting in the menu and on the help page;
//  - in this process, with a real window on the same server: start-up to the first
//    frame without process start, and the time to draw the menu (14,440 title plots).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "console/IO.h"
#include "console/Lib.h"
#include "game/NovaGunner.h"
#include "game/Session.h"
#include "graph/Graph.h"
#include "tests/common/Pty.h"
#include "tests/common/RecordingPlayer.h"
#include "tests/common/ScriptedKeys.h"
#include "tests/common/Xvfb.h"

// Two Xlib calls; its header's macros clash with the game's names.
extern "C" {
struct _XDisplay;
_XDisplay* XOpenDisplay(const char* name);
}

// XProbe.cpp: TRUE when some pixel of the block of the "Graph" window is white.
bool WhiteInGraphWindow(const std::string& display, int x0, int y0, int x1, int y1);

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
constexpr double kFixedPausesMs = 750 + 1500;

double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// User plus system CPU time of the whole process (all threads), in seconds.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string skip;
  for (int k = 3; k < 14; ++k) fields >> skip;
  unsigned long long utime = 0, stime = 0;
  fields >> utime >> stime;
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double CpuPercentOver(pid_t pid, std::chrono::seconds span) {
  const double before = CpuSeconds(pid);
  const auto t = Clock::now();
  std::this_thread::sleep_for(span);
  return 100.0 * (CpuSeconds(pid) - before) / (MsSince(t) / 1000.0);
}

// Looks every millisecond from notBefore on; until then the program is left alone, so
// the look itself does not slow what is timed.
bool WaitForWhite(const std::string& display, int x0, int y0, int x1, int y1,
                  Clock::time_point notBefore = {}) {
  std::this_thread::sleep_until(notBefore);
  for (auto end = Clock::now() + 30s; Clock::now() < end;) {
    if (WhiteInGraphWindow(display, x0, y0, x1, y1)) return true;
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

void BuiltProgram(const std::string& display) {
  testing_pty::PtyProcess program;
  testing_pty::PtyOptions o;
  o.argv = {NOVA_GUNNER_PATH, "--no-config"};  // the faithful program, whatever the settings
  o.env = {"SDL_AUDIODRIVER=dummy", "NOVA_LEGACY_KEYS=1"};
  o.workingDir = NOVA_RUN_DIR;
  const auto start = Clock::now();
  if (!program.Start(o)) return (void)std::puts("the program did not start");
  // The hint is written right before the first frame, which cannot come before the
  // story's fixed pauses have passed.
  const auto pauses = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double, std::milli>(kFixedPausesMs - 5));
  if (!WaitForWhite(display, 10, 650, 186, 664, start + pauses))
    return (void)std::puts("no story hint seen");
  std::printf("program: start to the story's first frame, less its %.0f ms of pauses: %.1f ms\n",
              kFixedPausesMs, MsSince(start) - kFixedPausesMs);
  program.Write("\x1b");
  if (!WaitForWhite(display, 450, 550, 660, 564)) return (void)std::puts("no menu seen");
  std::this_thread::sleep_for(500ms);
  std::printf("program: CPU waiting in the menu, 10 s: %.2f %% of one core\n",
              CpuPercentOver(program.Pid(), 10s));
  program.Write("h");
  if (!WaitForWhite(display, 450, 605, 780, 619)) return (void)std::puts("no help page seen");
  std::this_thread::sleep_for(500ms);
  std::printf("program: CPU waiting on the help page, 10 s: %.2f %% of one core\n",
              CpuPercentOver(program.Pid(), 10s));
  program.Write("\x1b");
  std::this_thread::sleep_for(300ms);
  program.Write("\x1b");
  program.Wait(10s);
}

// kind: a real window, or the surface alone.
void InProcess(Graph::WindowSystemKind kind) {
  static IO::ScriptedKeySource keys;
  static Lib::VirtualClock clock;  // pauses take no time: only the work is timed
  static StandardSound::RecordingPlayer quiet;
  const auto start = Clock::now();
  if (!NovaGunner::StartUp({&keys, &clock, &quiet, kind}, {}))
    return (void)std::puts("no window in process");
  const double window = MsSince(start);
  NovaGunner::Sound();
  NovaGunner::BuildSprites();
  Graph::ReadPixel(0, 0);
  std::printf("in process: modules, objects and window %.1f ms, sound and sprites %.1f ms\n",
              window, MsSince(start) - window);
  bool first = true;
  clock.onSleep = [&](Lib::CARDINAL ms) {
    if (ms != 40 || !first) return;
    first = false;
    Graph::ReadPixel(0, 0);  // every request of the frame carried out
    std::printf("in process: start to the story's first frame, less its pauses: %.1f ms\n",
                MsSince(start));
    keys.PushCode(27);
  };
  NovaGunner::Intro();

  std::vector<double> menu;
  Clock::time_point t;
  clock.onSleep = nullptr;
  keys.onIdle = [&] {  // the menu waits: it is drawn
    Graph::ReadPixel(0, 0);
    menu.push_back(MsSince(t));
    keys.PushCode(27);
  };
  for (int k = 0; k < 7; ++k) {
    t = Clock::now();
    NovaGunner::OptionsScreen();
  }
  keys.onIdle = nullptr;
  std::sort(menu.begin(), menu.end());
  std::printf(
      "in process: drawing the menu (14,440 title plots), median of %zu: %.2f ms "
      "(min %.2f, max %.2f)\n",
      menu.size(), menu[menu.size() / 2], menu.front(), menu.back());
}

}  // namespace

// --surface-only: the in-process figures without a window (surface alone), no program run.
int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--surface-only") {
    std::puts("(surface only, no window)");
    InProcess(Graph::WindowSystemKind::None);
    return 0;
  }
  testing_x::XvfbServer x;
  if (!x.Running()) {
    std::puts("no Xvfb: nothing measured");
    return 1;
  }
  // Xvfb resets when its last client leaves; keep one connected throughout.
  XOpenDisplay(x.Display().c_str());
  BuiltProgram(x.Display());
  InProcess(Graph::WindowSystemKind::Sdl);
  Graph::Exit();  // before the server goes
  return 0;
}
