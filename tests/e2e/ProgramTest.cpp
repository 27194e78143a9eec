// The built program in an Xvfb server with its keys typed into a pseudo-terminal: the
// window's pixels are read back from the X server and compared with the same screens
// drawn in this process on the off-screen surface; the console is read from the pty.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "console/IO.h"
#include "console/Lib.h"
#include "game/Program.h"
#include "graph/Graph.h"
#include "graph/Palette.h"
#include "tests/common/Io.h"
#include "tests/common/Pty.h"
#include "tests/common/RecordingPlayer.h"
#include "tests/common/ScriptedKeys.h"
#include "tests/common/Xvfb.h"

// Xlib's header defines macros that clash with the game's names; a few calls are all
// this test needs (keys typed into the window go through XTEST).
extern "C" {
struct _XDisplay;
_XDisplay* XOpenDisplay(const char* name);
int XCloseDisplay(_XDisplay* display);
int XSync(_XDisplay* display, int discard);
unsigned char XKeysymToKeycode(_XDisplay* display, unsigned long keysym);
int XTestFakeKeyEvent(_XDisplay* display, unsigned int keycode, int isPress, unsigned long delay);
}

namespace {

using namespace std::chrono_literals;
using Surface = std::vector<std::uint32_t>;
constexpr int W = 1024, H = 700;
// X key symbols.
constexpr unsigned long kXEscape = 0xFF1B, kXReturn = 0xFF0D, kXLeft = 0xFF51, kXUp = 0xFF52,
                        kXRight = 0xFF53, kXDown = 0xFF54, kXSpace = ' ', kXZero = '0',
                        kXLeftCtrl = 0xFFE3;
constexpr const std::uint32_t* kColour = Graph::kStdPalette;

// One whole session drawn in process with the keys of the real run below; the screens
// are kept by name at the moments the real run looks at them.
const std::map<std::string, Surface>& Expected() {
  static const std::map<std::string, Surface> shots = [] {
    std::map<std::string, Surface> s;
    static IO::ScriptedKeySource keys;
    static Lib::VirtualClock clock;
    static StandardSound::RecordingPlayer quiet;
    // What to type at each idle moment of the menu or help page, and what is then shown.
    const std::vector<std::pair<std::string, std::function<void()>>> idle = {
        {"menu", [] { keys.PushCode('h'); }}, {"help", [] { keys.PushCode('x'); }},
        {"help2", [] { keys.PushCode(27); }}, {"menu2", [] { keys.PushCode('H'); }},
        {"menu3", [] { keys.PushUp(); }},     {"menu4", [] { keys.PushCode(13); }}};
    std::size_t step = 0;
    // The skipped story polls too; the menu and the help page are the waiting screens
    // with the grey panel.
    keys.onIdle = [&] {
      if (step < idle.size() && Graph::ReadPixel(10, 10) == kColour[7]) {
        s[idle[step].first] = Graph::ReadSurface();
        idle[step++].second();
      }
    };
    clock.onSleep = [&](Lib::CARDINAL ms) {
      const char* name = ms == 1500 && step == 2   ? "helpReply"
                         : ms == 1000 && step == 4 ? "menuReply"
                         : ms == 4500              ? "panel"
                         : ms == 1900              ? "gameover"
                         : ms == 2000              ? "credits"
                                                   : nullptr;
      if (name != nullptr && !s.count(name)) s[name] = Graph::ReadSurface();
      if (ms == 4500) keys.PushCode(27);  // lose at the first tick
    };
    // The program's own entry, on stand-in services.
    const NovaGunner::Services services{&keys, &clock, &quiet, Graph::WindowSystemKind::None};
    keys.PushCode(27);
    testing::internal::CaptureStdout();  // the console is the real run's to check
    const int status = NovaGunner::Program::Main(NovaGunner::Options{}, services);
    testing::internal::GetCapturedStdout();
    if (status != 0) return std::map<std::string, Surface>{};
    s["end"] = Graph::ReadSurface();
    clock.onSleep = nullptr;  // its captures end here
    keys.onIdle = nullptr;
    return s;
  }();
  return shots;
}

struct Box {
  int x0, y0, x1, y1;  // [x0, x1) x [y0, y1)
};
constexpr Box kWhole{0, 0, W, H}, kPanel{0, 0, 249, H};

// Pixels of box that differ between the window and the expected screen.
int Differ(const testing_x::WindowPixels& win, const Surface& want, Box b) {
  int n = 0;
  for (int y = b.y0; y < std::min(b.y1, win.height); ++y)
    for (int x = b.x0; x < std::min(b.x1, win.width); ++x)
      n += win.at(x, y) != want[static_cast<std::size_t>(y) * W + x];
  return n;
}

// The numbers of each whole "tick T X Y ..." line of a trace.
std::vector<std::vector<long>> Ticks(const std::string& text) {
  std::vector<std::vector<long>> ticks;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line) && !in.eof();) {
    std::istringstream numbers(line.rfind("tick ", 0) == 0 ? line.substr(5) : "");
    if (numbers.str().empty()) continue;
    ticks.emplace_back(std::istream_iterator<long>(numbers), std::istream_iterator<long>());
  }
  return ticks;
}

// The trace of a demo file replayed without a window; none when the replay fails.
std::vector<std::vector<long>> Replayed(const std::string& demo) {
  const std::string command =
      std::string(NOVA_GUNNER_PATH) + " --timedemo " + demo + " --headless --nosound --trace";
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
  return pipe != nullptr && ::pclose(pipe) == 0 ? Ticks(out) : std::vector<std::vector<long>>{};
}

class ProgramTest : public ::testing::Test {
 protected:
  // The program up to its menu, the story skipped with Escape in its opening pauses,
  // typed in the terminal or in the window.
  void StartToMenu(std::vector<std::string> args = {}, bool inWindow = false) {
    Start("", args);
    ToMenu(inWindow);
  }
  void ToMenu(bool inWindow = false) {
    ASSERT_TRUE(testing_x::WaitForWindow(x.Display(), "Graph", 30s))
        << program.Read(10ms) << Console();
    inWindow ? TypeInWindow({kXEscape}) : program.Write("\x1b");
    ASSERT_TRUE(Shows("menu"));
  }
  // The program with args, or with argv[0] "bash": a bash script with $NOVA the program.
  void Start(const std::string& stdinPath = "", std::vector<std::string> args = {}) {
    testing_pty::PtyOptions o;
    o.argv = {NOVA_GUNNER_PATH};
    o.argv.insert(o.argv.end(), args.begin(), args.end());
    if (!args.empty() && args[0] == "bash") o.argv = {"/bin/bash", "-c", args[1]};
    o.env = {"SDL_AUDIODRIVER=dummy", "NOVA_LEGACY_KEYS=1", "NOVA_GRAPH_MESSAGES=stderr",
             std::string("NOVA=") + NOVA_GUNNER_PATH};
    o.workingDir = NOVA_RUN_DIR;
    o.stdinPath = stdinPath;
    ASSERT_TRUE(program.Start(o));
  }
  // Types keys (X key symbols) into the window, which has the keyboard focus in Xvfb.
  void TypeInWindow(std::initializer_list<unsigned long> keys) {
    for (unsigned long key : keys) {
      XTestFakeKeyEvent(keepAlive, XKeysymToKeycode(keepAlive, key), 1, 0);
      XTestFakeKeyEvent(keepAlive, XKeysymToKeycode(keepAlive, key), 0, 0);
    }
    XSync(keepAlive, 0);
  }
  testing_x::WindowPixels Window() {
    auto w = testing_x::ReadWindowPixels(x.Display(), "Graph");
    return w ? *w : testing_x::WindowPixels{};
  }
  // Waits until box of the window shows the expected screen; FALSE with the last
  // difference reported when it does not within timeout.
  bool Shows(const std::string& name, Box b = kWhole, std::chrono::milliseconds timeout = 15s) {
    const Surface& want = Expected().at(name);
    int last = -1;
    for (auto end = std::chrono::steady_clock::now() + timeout;
         std::chrono::steady_clock::now() < end;) {
      const testing_x::WindowPixels w = Window();
      if (w.width > 0 && (last = Differ(w, want, b)) == 0) return true;
      program.Read(50ms);
    }
    ADD_FAILURE() << "the window does not show " << name << ": " << last << " pixels differ";
    return false;
  }
  std::string Console() {
    std::string out = program.Output();
    std::erase(out, '\r');
    return out;
  }
  int ExitStatus() {
    auto status = program.Wait(20s);
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
  }
  int Count(const testing_x::WindowPixels& w, Box b, int colour) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y)
      for (int x2 = b.x0; x2 < b.x1; ++x2) n += w.at(x2, y) == kColour[colour];
    return n;
  }
  void SetUp() override {
    ASSERT_FALSE(Expected().empty()) << "the off-screen reference did not start";
    if (!x.Running()) GTEST_SKIP() << "no Xvfb";
    // Xvfb resets itself whenever its last client leaves, and a program connecting
    // meanwhile is turned away: one connection stays open for the whole test.
    keepAlive = XOpenDisplay(x.Display().c_str());
  }
  void TearDown() override {
    if (keepAlive != nullptr) XCloseDisplay(keepAlive);
  }

  // Left typed 30 times a second for 0.6 s as a held key repeats (the ship's stop is 19
  // steps away): in how many ticks after the one printed before the last Left it moved.
  int MovesAfterHeldLeft(std::vector<std::string> args) {
    args.push_back("--trace");
    StartToMenu(args);
    program.Write("\r");
    if (HasFatalFailure() || !program.WaitFor("tick ", 15s)) return -1;
    for (int k = 1; k < 18; ++k) program.Write("\x1b[D"), program.Read(33ms);
    const long last = Ticks(Console()).back()[0];
    program.Write("\x1b[D");
    program.Read(1500ms);
    const auto ticks = Ticks(Console());
    int moves = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i)
      moves += ticks[i][0] > last && ticks[i][1] != ticks[i - 1][1];
    return moves;
  }

  testing_x::XvfbServer x;
  testing_pty::PtyProcess program;
  _XDisplay* keepAlive = nullptr;
};

// With --window-keys, typed in the window. (The menu it shows is the reference's, whose
// pixels the screens test pins.)
TEST_F(ProgramTest, EscapeInTheStoryAndInTheMenuQuits) {
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--window-keys"}, true));
  TypeInWindow({kXEscape});
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(Console(), "\n\n Quiting program.... you Don't know What your Missing Though...");
}

// A play typed into the window, recorded, replays to the trace the live play printed;
// fire and bomb bound to other keys (Space now bombs) give the codes the game always read.
// The play kept beside the recording holds the same keys, and its replay proves its notes.
TEST_F(ProgramTest, APlayTypedInTheWindowReplaysToTheSameTrace) {
  ScratchDir scratch;
  const std::string demo = scratch.File("window.demo");
  ::setenv("XDG_DATA_HOME", scratch.path().c_str(), 1);  // the kept plays' folder is in it
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--window-keys", "--record", demo, "--trace", "--keep-plays",
                                       "--bind-fire", "Left Ctrl", "--bind-bomb", "Space"},
                                      true));
  TypeInWindow({kXReturn});
  ASSERT_TRUE(Shows("panel", kPanel, 5s));
  program.Read(4600ms);  // the play's opening pause
  for (unsigned long key : {kXRight, kXRight, kXLeftCtrl, kXUp, kXSpace, kXLeft, kXZero, kXDown})
    TypeInWindow({key}), program.Read(150ms);
  TypeInWindow({kXEscape});
  ASSERT_TRUE(program.WaitFor("You lose", 5s)) << Console();
  const std::string recorded = ReadFile(demo);
  for (const char* code : {" 0 77\n", " 0 72\n", " 0 75\n", " 0 80\n", " 32\n", " 48\n", " 27\n"})
    EXPECT_NE(recorded.find(code), std::string::npos) << code << " not in\n" << recorded;
  // 0, bound to nothing now, gave nothing: one bomb.
  EXPECT_EQ(recorded.find(" 48\n"), recorded.rfind(" 48\n")) << recorded;
  const auto ticks = Ticks(Console());
  ASSERT_FALSE(ticks.empty());
  EXPECT_EQ(Replayed(demo), ticks);
  const auto kept = std::filesystem::directory_iterator(scratch.path() / "nova-gunner/plays");
  ASSERT_NE(kept, std::filesystem::directory_iterator()) << "no play kept";
  const std::string text = ReadFile(kept->path());
  const auto keys = [](const std::string& demo) {  // its lines without the notes
    return std::regex_replace(demo, std::regex("^#.*\n", std::regex::multiline), "");
  };
  EXPECT_EQ(keys(text), keys(recorded)) << text;
  const std::string outcome = "\n# outcome: lost ticks=" + std::to_string(ticks.back()[0]) +
                              " score=" + std::to_string(ticks.back()[4]) + " ";
  EXPECT_NE(text.find(outcome), std::string::npos) << text;
  std::string best;
  std::FILE* pipe = ::popen(NOVA_GUNNER_PATH " --best", "r");
  for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) best += static_cast<char>(c);
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_TRUE(pipe != nullptr && ::pclose(pipe) == 0);
  EXPECT_NE(best.find("    1 "), std::string::npos) << best;
  EXPECT_NE(best.find(kept->path().filename().string() + "\n"), std::string::npos) << best;
  EXPECT_EQ(best.find("Not proven"), std::string::npos) << best;
}

// A folder for the kept plays that cannot be made costs one line, nothing else.
TEST_F(ProgramTest, HelpWrongKeysPlayLostAndCredits) {
  ::setenv("XDG_DATA_HOME", "/dev/null", 1);
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--keep-plays"}));
  ::unsetenv("XDG_DATA_HOME");
  TypeInWindow({kXEscape});  // without --window-keys, keys typed in the window reach nothing
  program.Read(300ms);
  program.Write("h");
  ASSERT_TRUE(Shows("help"));
  program.Write("x");
  EXPECT_TRUE(Shows("helpReply", kWhole, 1400ms));
  EXPECT_TRUE(Shows("help2"));  // painted over, the enemies line written again
  EXPECT_EQ(Differ(Window(), Expected().at("help"), kWhole), 0);
  program.Write("\x1b");
  const Box menuButBorder{250, 0, W, H};  // column 249 keeps a trace of the help page
  EXPECT_TRUE(Shows("menu2"));
  EXPECT_EQ(Differ(Window(), Expected().at("menu"), menuButBorder), 0);
  EXPECT_EQ(Differ(Window(), Expected().at("menu"), kPanel), 0);
  program.Write("H");
  EXPECT_TRUE(Shows("menuReply", kWhole, 900ms));
  EXPECT_TRUE(Shows("menu2"));
  program.Write("\x1b[A");  // two codes: the second waits for the next key
  EXPECT_TRUE(Shows("menuReply", kWhole, 900ms));
  EXPECT_TRUE(Shows("menu2"));
  program.Read(1500ms);
  EXPECT_TRUE(Shows("menu2", kWhole, 100ms));
  program.Write("\r");
  EXPECT_TRUE(Shows("menuReply", kWhole, 900ms));
  EXPECT_TRUE(Shows("panel", kPanel, 5s));  // shields 200, ammunition 100 and 10, score 0
  program.Read(4500ms);                     // the play's opening pause
  program.Write("\x1b");
  EXPECT_TRUE(program.WaitFor("You lose", 5s));
  EXPECT_TRUE(Shows("gameover"));
  program.Write(" ");
  EXPECT_TRUE(Shows("credits", kPanel, 6s));  // the final score stays through the roll
  EXPECT_TRUE(program.WaitFor("Press any key 3 times to finish the program", 40s));
  EXPECT_TRUE(Shows("end", kWhole, 2s));
  for (int k = 0; k < 3; ++k) program.Write(" "), program.Read(100ms);
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(Console(),
            "nova-gunner: cannot keep plays in '/dev/null/nova-gunner/plays': Not a directory; "
            "the game goes on\n\n\nYou losePress any key 3 times to finish the program\n\n\n");
}

// Also where the only display is a Wayland compositor without a seat (weston's headless
// backend, as on a server), where SDL 2.26's Wayland driver would crash.
TEST_F(ProgramTest, WithoutAUsableDisplayTheProgramSaysSoAndEnds) {
  const std::string display = x.Display();
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  Start("",
        {"bash",
         "\"$NOVA\"; echo \" ended=$?\"; export XDG_RUNTIME_DIR=$(mktemp -d) WAYLAND_DISPLAY=w\n"
         "timeout 60 weston --backend=headless-backend.so --socket=w --no-config "
         "--shell=kiosk-shell.so &>/dev/null &\n"
         "while [ ! -S $XDG_RUNTIME_DIR/w ] && kill -0 $! 2>/dev/null; do sleep .02; done\n"
         "[ -S $XDG_RUNTIME_DIR/w ] || echo -n 'no weston'; \"$NOVA\"; s=$?\n"
         "kill $! 2>/dev/null; wait; rm -r $XDG_RUNTIME_DIR; exit $s"});
  EXPECT_EQ(ExitStatus(), 1);
  program.Read(100ms);
  const bool weston = Console().find("no weston") == std::string::npos;
  const std::string sorry = "\nSorry, graphics doesn't work\n";
  EXPECT_EQ(Console(), sorry + " ended=1\n" + (weston ? "" : "no weston") + sorry);
  ::setenv("DISPLAY", display.c_str(), 1);
  if (!weston) GTEST_SKIP() << "no weston: tried without any display only";
}

// Every tick's keys are on disk as the play goes; losing the X server ends the program
// with status 1 and the terminal given back.
TEST_F(ProgramTest, ARecordingKeepsItsKeysWhenTheXServerDies) {
  ScratchDir scratch;
  const std::string file = scratch.File("x-lost.demo");
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--record", file}));
  program.Write("\r");
  ASSERT_TRUE(Shows("panel", kPanel, 5s));
  program.Read(4600ms);  // the play's opening pause
  for (int k = 0; k < 3; ++k) program.Write("\x1b[C"), program.Read(200ms);
  XCloseDisplay(keepAlive);
  keepAlive = nullptr;
  x.Kill();
  EXPECT_EQ(ExitStatus(), 1) << Console();
  EXPECT_NE(Console().find("nova-gunner: the connection to the X server was lost\n"),
            std::string::npos);
  EXPECT_TRUE(
      testing_pty::SameSettings(program.Settings(), testing_pty::PtyProcess::CookedSettings()));
  const std::string text = ReadFile(file);
  EXPECT_EQ(text.rfind("# nova-gunner demo 1\n", 0), 0u);
  std::size_t arrows = 0;
  for (std::size_t at = 0; (at = text.find(" 0 77\n", at)) != std::string::npos; ++at) ++arrows;
  EXPECT_EQ(arrows, 3u) << text;
}

// A window destroyed by another client, in any screen, is a closed window: the game goes
// on with the terminal's keys and ends through its screens.
TEST_F(ProgramTest, AWindowDestroyedByAnotherClientIsClosed) {
  ASSERT_NO_FATAL_FAILURE(Start("", {"bash",
                                     "for run in 1 2 3 4; do \"$NOVA\" --window-keys "
                                     "--pause --trace; echo \" ended$run=$?\"; done"}));
  auto destroyThenType = [&](std::initializer_list<const char*> keys) {
    ASSERT_TRUE(testing_x::DestroyWindow(x.Display(), "Graph"));
    for (const char* key : keys) program.Write(key), program.Read(1000ms);
  };
  ASSERT_TRUE(testing_x::WaitForWindow(x.Display(), "Graph", 30s));
  destroyThenType({"\x1b", "h", "\x1b", "\x1b"});  // in the story
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  destroyThenType({"\x1b"});
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  program.Write("h");
  ASSERT_TRUE(Shows("help"));
  destroyThenType({"\x1b", "\x1b"});
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  program.Write("\r");
  ASSERT_TRUE(program.WaitFor("tick 1 ", 15s));
  destroyThenType({"\x1b[C", "p", "p"});
  const std::size_t ticks = Ticks(Console()).size();
  program.Read(1000ms);
  EXPECT_GT(Ticks(Console()).size(), ticks + 10);  // some 16 ticks a second
  for (const char* key : {"\x1b", " "}) program.Write(key), program.Read(1000ms);  // lost, on
  ASSERT_TRUE(program.WaitFor("Press any key 3 times to finish the program", 45s)) << Console();
  for (int k = 0; k < 3; ++k) program.Write(" "), program.Read(100ms);
  EXPECT_EQ(ExitStatus(), 0);
  for (const char* ended : {" ended1=0\n", " ended2=0\n", " ended3=0\n", " ended4=0\n"})
    EXPECT_NE(Console().find(ended), std::string::npos) << Console();
}

// Closed standard descriptors and a reader that went away neither hang the program nor
// kill it; results that went nowhere give a failing status.
TEST_F(ProgramTest, ClosedDescriptorsAndPipesNeitherHangNorKill) {
  const std::string demo = std::string(NOVA_TEST_DATA) + "/long-play.demo";
  ASSERT_NO_FATAL_FAILURE(Start("", {"bash",
                                     "\"$NOVA\" >&-; echo closed-out=$?\n"
                                     "setsid -w \"$NOVA\" <&-; echo closed-in=$?\n"
                                     "set -o pipefail; \"$NOVA\" | head -c 0; echo pipe=$?\n"
                                     "\"$NOVA\" --timedemo " +
                                         demo +
                                         " --headless >&-; "
                                         "echo results=$?\n"}));
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("closed-out=", 20s));
  ASSERT_TRUE(program.WaitFor("closed-in=", 20s));  // no terminal, no input: Escape ends it
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("results=", 20s));
  program.Read(100ms);
  const std::string out = Console();
  EXPECT_NE(out.find("closed-out=0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Missing Though...closed-in=0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("pipe=0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("results=3\n"), std::string::npos) << out;
}

TEST_F(ProgramTest, AHeldKeyGoesOnAfterTheRelease) {
  EXPECT_GE(MovesAfterHeldLeft({}), 5);  // about ten on an idle machine, more on a busy one
}

TEST_F(ProgramTest, WithoutTheBacklogAHeldKeyStopsAtTheRelease) {
  ScratchDir scratch;
  const std::string demo = scratch.File("held.demo");
  // At the release a tick may be in progress and one Left may still wait: two moves.
  EXPECT_LE(MovesAfterHeldLeft({"--no-key-backlog", "--record", demo}), 2);
  program.Write("\x1b[C ");  // two keys in one write: both arrive, in order
  program.Read(600ms);
  const std::string recorded = ReadFile(demo);
  const std::size_t right = recorded.find(" 0 77\n");
  ASSERT_NE(right, std::string::npos) << recorded;
  const long tick = std::atol(recorded.c_str() + recorded.rfind('\n', right) + 1);
  EXPECT_EQ(recorded.find(" 0 77\n" + std::to_string(tick + 1) + " 32\n"), right) << recorded;
}

// p pauses between two ticks: nothing is read or played meanwhile, PAUSED shows over the
// field, and the play replays to the same trace. In the menu p is a wrong key.
TEST_F(ProgramTest, PausedPlayWaitsAndReplaysToTheSameTrace) {
  ScratchDir scratch;
  const std::string demo = scratch.File("paused.demo");
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--pause", "--record", demo, "--trace"}));
  program.Write("p");
  EXPECT_TRUE(Shows("menuReply", {250, 0, W, H}, 900ms));
  program.Write("\r");
  ASSERT_TRUE(program.WaitFor("tick ", 15s));
  for (const char* key : {"\x1b[C", " ", "\x1b[C"}) program.Write(key), program.Read(150ms);
  const Box middle{250, 300, W, 400};
  const int before = Count(Window(), middle, 15);
  program.Write("p");
  program.Read(500ms);
  const std::size_t paused = Ticks(Console()).size();
  program.Write("\x1b[D");
  program.Read(2000ms);
  EXPECT_EQ(Ticks(Console()).size(), paused);
  const int during = Count(Window(), middle, 15);
  program.Write("p");
  program.Read(500ms);
  const int after = Count(Window(), middle, 15);
  EXPECT_GT(during, before + 500);
  EXPECT_LT(after, before + 100);
  const auto ticks = Ticks(Console());
  ASSERT_GT(ticks.size(), paused);
  EXPECT_LT(ticks[paused][1], ticks[paused - 1][1]);  // the Left typed while paused
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("You lose", 5s)) << Console();
  EXPECT_EQ(Replayed(demo), Ticks(Console()));
}

// After each play the menu comes back for the same game; Escape there ends with the
// credits. Each play is recorded to its own file; one that lost its reader loses that
// play's keys alone, and the status says so at the end. A play left on its first tick is
// not kept.
TEST_F(ProgramTest, AgainPlaysTheSameGameAndRecordsEachPlay) {
  ScratchDir scratch;
  const std::string fifo = scratch.File("play.demo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ::setenv("XDG_DATA_HOME", scratch.path().c_str(), 1);
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--again", "--record", fifo, "--trace", "--keep-plays"}));
  ::unsetenv("XDG_DATA_HOME");
  ::close(reader);  // the recording was opened before anything was drawn
  for (int play = 1; play <= 2; ++play) {
    program.Write("\r");
    program.Read(2500ms);
    program.Write("\x1b");  // in the opening pause: read at the first tick
    program.Read(4500ms);
    program.Write(" ");  // past the result screen
    ASSERT_TRUE(Shows("menu", {250, 0, W, H})) << play;
  }
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("Press any key 3 times to finish the program", 40s)) << Console();
  for (int k = 0; k < 3; ++k) program.Write(" "), program.Read(100ms);
  EXPECT_EQ(ExitStatus(), 3);
  std::vector<std::vector<std::vector<long>>> plays;  // split where the ticks start again
  for (const auto& tick : Ticks(Console())) {
    if (plays.empty() || tick[0] == 1) plays.emplace_back();
    plays.back().push_back(tick);
  }
  ASSERT_EQ(plays.size(), 2u) << Console();
  EXPECT_EQ(plays[0], plays[1]);
  EXPECT_EQ(Replayed(scratch.File("play-2.demo")), plays[1]);
  const std::string out = Console();
  EXPECT_NE(out.find("cannot write recording '" + fifo + "': Broken pipe"), std::string::npos);
  EXPECT_NE(out.find("You lose", out.find("You lose") + 1), std::string::npos) << out;
  EXPECT_EQ(out.find("Quiting"), std::string::npos) << out;
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path() / "nova-gunner/plays"));
}

// --desktop under a window manager, standard input at its end from the start: the play is
// typed in the window; the window manager's close ends the run at once, the recording whole.
TEST_F(ProgramTest, ADesktopGameNeedsNoTerminalAndEndsWhenTheWindowManagerClosesIt) {
  testing_x::WindowManager openbox(x.Display());
  ASSERT_TRUE(openbox.Running()) << "no openbox (tools/install-deps installs it)";
  ScratchDir scratch;
  const std::string demo = scratch.File("desktop.demo");
  Start("/dev/null", {"--desktop", "--record", demo, "--trace"});
  ASSERT_NO_FATAL_FAILURE(ToMenu(true));
  TypeInWindow({kXReturn});
  ASSERT_TRUE(program.WaitFor("tick 1 ", 15s)) << Console();
  for (unsigned long key : {kXRight, kXSpace, kXUp, kXZero, kXLeft})
    TypeInWindow({key}), program.Read(150ms);
  const auto closed = std::chrono::steady_clock::now();
  ASSERT_TRUE(testing_x::CloseByWindowManager(x.Display(), "Graph"));
  const std::optional<int> status = program.Wait(10s);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - closed;
  std::printf("the window manager's close ended the run in %.3f s\n", took.count());
  EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Console();
  EXPECT_EQ(Console().find("Quiting"), std::string::npos) << Console();  // input's end: no key
  const std::string recorded = ReadFile(demo);
  for (const char* code : {" 0 77\n", " 32\n", " 0 72\n", " 48\n", " 0 75\n"})
    EXPECT_NE(recorded.find(code), std::string::npos) << code << " not in\n" << recorded;
  // The replay goes on past the close, with no keys, to the play's end.
  const auto live = Ticks(Console());
  auto replayed = Replayed(demo);
  ASSERT_GE(replayed.size(), live.size());
  replayed.resize(live.size());
  EXPECT_EQ(replayed, live);
}

// The settings file (its default place) sets the scale; the command line wins over it.
TEST_F(ProgramTest, TheSettingsFileScalesTheWindow) {
  testing_x::XvfbServer big("2200x1500x24");
  ScratchDir home;
  std::filesystem::create_directory(home.path() / "nova-gunner");
  home.File("nova-gunner/nova-gunner.ini", "# larger\nscale = 2\n");
  const std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
  for (const char* scale : {"", "1"}) {
    testing_pty::PtyProcess run;
    testing_pty::PtyOptions o;
    o.argv = {NOVA_GUNNER_PATH};
    if (*scale) o.argv.insert(o.argv.end(), {"--scale", scale});
    o.env = {"SDL_AUDIODRIVER=dummy", "NOVA_GRAPH_MESSAGES=stderr"};
    ASSERT_TRUE(run.Start(o));
    ASSERT_TRUE(testing_x::WaitForWindow(big.Display(), "Graph", 30s)) << run.Read(10ms);
    const auto window = testing_x::ReadWindowPixels(big.Display(), "Graph");
    ASSERT_TRUE(window);
    const std::pair<int, int> want = *scale ? std::pair{1024, 700} : std::pair{2048, 1400};
    EXPECT_EQ((std::pair{window->width, window->height}), want) << scale;
  }
  ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

}  // namespace
