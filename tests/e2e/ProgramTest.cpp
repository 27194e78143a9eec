// The built program in an Xvfb server with its keys typed into a pseudo-terminal: the
// window's pixels are read back from the X server and compared with the screens that the
// in-process tests pin; the console is read from the pty.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

#include "graph/Raster.h"
#include "tests/common/Io.h"
#include "tests/common/Pty.h"
#include "tests/common/Xvfb.h"

// Last: Xlib's macros (None, Bool, Status) would meet names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace {

using namespace std::chrono_literals;

// The fingerprint of each screen tests/game/ScreensTest pins (tests/data/screens.pictures).
std::uint64_t Golden(const std::string& name) {
  std::istringstream in(ReadFile(NOVA_TEST_DATA "/screens.pictures"));
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(name + " ")) return std::stoull(line.substr(name.size() + 1), nullptr, 16);
  ADD_FAILURE() << "no picture " << name;
  return 0;
}

// The numbers of each whole "tick T X Y ..." line of a trace.
std::vector<std::vector<long>> Ticks(const std::string& text) {
  std::vector<std::vector<long>> ticks;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line) && !in.eof();)
    if (std::istringstream numbers(line); line.starts_with("tick ") && numbers.ignore(5))
      ticks.emplace_back(std::istream_iterator<long>(numbers), std::istream_iterator<long>());
  return ticks;
}

// The standard output of the program run with args; empty when its status is not 0.
std::string Output(const std::string& args) {
  std::string out;
  std::FILE* pipe = ::popen((std::string(NOVA_GUNNER_PATH) + " " + args).c_str(), "r");
  for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
  return pipe != nullptr && ::pclose(pipe) == 0 ? out : "";
}

// The trace of a demo file replayed without a window.
std::vector<std::vector<long>> Replayed(const std::string& demo) {
  return Ticks(Output("--timedemo " + demo + " --headless --nosound --trace"));
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
    inWindow ? TypeInWindow({XK_Escape}) : program.Write("\x1b");
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
  // Waits until the window shows the screen; FALSE with its fingerprint when it does not
  // within timeout.
  bool Shows(const std::string& name, std::chrono::milliseconds timeout = 15s) {
    const std::uint64_t want = Golden(name);
    std::uint64_t last = 0;
    for (auto end = std::chrono::steady_clock::now() + timeout;
         std::chrono::steady_clock::now() < end;) {
      testing_x::WindowPixels w = Window();
      if ((last = Graph::Raster::Fingerprint({w.pixels.data(), w.width, w.height})) == want)
        return true;
      program.Read(50ms);
    }
    ADD_FAILURE() << "the window does not show " << name << " but " << std::hex << last;
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
  // White pixels in the middle of the field, where PAUSED shows.
  int WhiteInTheMiddle() {
    const testing_x::WindowPixels w = Window();
    int n = 0;
    for (int y = 300; y < std::min(400, w.height); ++y)
      for (int x2 = 250; x2 < w.width; ++x2) n += w.at(x2, y) == 0xFFFFFF;
    return n;
  }
  void SetUp() override {
    if (!x.Running()) GTEST_SKIP() << "no Xvfb";
    // Xvfb resets itself whenever its last client leaves, and a program connecting
    // meanwhile is turned away: one connection stays open for the whole test.
    keepAlive = XOpenDisplay(x.Display().c_str());
  }
  void TearDown() override {
    if (keepAlive != nullptr) XCloseDisplay(keepAlive);
  }

  // Left typed in the play 30 times a second for 0.6 s as a held key repeats (the ship's
  // stop is 19 steps away): in how many ticks after the last Left's it moved.
  int MovesAfterHeldLeft() {
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
  Display* keepAlive = nullptr;
};

// A play typed into the window (started there too) and into the terminal, recorded, replays
// to the trace the live play printed: fire and bomb bound to other keys (Space now bombs)
// give the codes the game always read; p pauses between two ticks, nothing read or played
// meanwhile and PAUSED over the field. The play kept beside the recording holds the same
// keys, and --best ranks it as proven.
TEST_F(ProgramTest, APlayTypedInTheWindowAndPausedReplaysToTheSameTrace) {
  ScratchDir scratch;
  const std::string demo = scratch.File("window.demo");
  ::setenv("XDG_DATA_HOME", scratch.path().c_str(), 1);  // the kept plays' folder is in it
  ASSERT_NO_FATAL_FAILURE(
      StartToMenu({"--window-keys", "--pause", "--record", demo, "--trace", "--keep-plays",
                   "--bind-fire", "Left Ctrl", "--bind-bomb", "Space"},
                  true));
  TypeInWindow({XK_Return});
  ASSERT_TRUE(program.WaitFor("tick ", 15s)) << Console();
  for (unsigned long key :
       {XK_Right, XK_Right, XK_Control_L, XK_Up, XK_space, XK_Left, XK_0, XK_Down})
    TypeInWindow({key}), program.Read(150ms);
  const int before = WhiteInTheMiddle();
  program.Write("p");
  program.Read(500ms);
  const std::size_t paused = Ticks(Console()).size();
  program.Write("\x1b[D");
  program.Read(2000ms);
  EXPECT_EQ(Ticks(Console()).size(), paused);
  EXPECT_GT(WhiteInTheMiddle(), before + 500);
  program.Write("p");
  program.Read(500ms);
  EXPECT_LT(WhiteInTheMiddle(), before + 100);
  EXPECT_GE(MovesAfterHeldLeft(), 5);  // a held key goes on after the release: about ten
  TypeInWindow({XK_Escape});
  ASSERT_TRUE(program.WaitFor("You lose", 5s)) << Console();
  const auto ticks = Ticks(Console());
  ASSERT_GT(ticks.size(), paused);
  EXPECT_LT(ticks[paused][1], ticks[paused - 1][1]);  // the Left typed while paused
  const std::string recorded = ReadFile(demo);
  for (const char* code : {" 0 77\n", " 0 72\n", " 0 75\n", " 0 80\n", " 32\n", " 48\n", " 27\n"})
    EXPECT_NE(recorded.find(code), std::string::npos) << code << " not in\n" << recorded;
  // 0, bound to nothing now, gave nothing: one bomb.
  EXPECT_EQ(recorded.find(" 48\n"), recorded.rfind(" 48\n")) << recorded;
  EXPECT_EQ(Replayed(demo), ticks);
  const auto kept = std::filesystem::directory_iterator(scratch.path() / "nova-gunner/plays");
  ASSERT_NE(kept, std::filesystem::directory_iterator()) << "no play kept";
  const auto keys = [](const std::string& demo) {  // its lines without the notes
    return std::regex_replace(demo, std::regex("^#.*\n", std::regex::multiline), "");
  };
  EXPECT_EQ(keys(ReadFile(kept->path())), keys(recorded));
  const std::string best = Output("--best");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_NE(best.find("    1 "), std::string::npos) << best;
  EXPECT_NE(best.find(kept->path().filename().string() + "\n"), std::string::npos) << best;
  EXPECT_EQ(best.find("Not proven"), std::string::npos) << best;
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

// What the program stands on going away: a window destroyed by another client, in any
// screen, is a closed window (the game goes on with the terminal's keys and ends through its
// screens); closed standard descriptors and a reader that went away neither hang the program
// nor kill it.
TEST_F(ProgramTest, AWindowDestroyedByAnotherClientIsClosedAndClosedDescriptorsDoNoHarm) {
  ASSERT_NO_FATAL_FAILURE(Start("", {"bash",
                                     "for run in 1 2 3 4; do \"$NOVA\" --window-keys "
                                     "--pause --trace; echo \" ended$run=$?\"; done\n"
                                     "\"$NOVA\" >&-; echo closed-out=$?\n"
                                     "setsid -w \"$NOVA\" <&-; echo closed-in=$?\n"
                                     "set -o pipefail; \"$NOVA\" | head -c 0; echo pipe=$?\n"}));
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
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("closed-out=", 20s));
  ASSERT_TRUE(program.WaitFor("closed-in=", 20s));  // no terminal, no input: Escape ends it
  ASSERT_NO_FATAL_FAILURE(ToMenu());
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("pipe=", 20s));
  EXPECT_EQ(ExitStatus(), 0);
  for (const char* ended : {" ended1=0\n", " ended2=0\n", " ended3=0\n", " ended4=0\n",
                            "closed-out=0\n", "Missing Though...closed-in=0\n", "pipe=0\n"})
    EXPECT_NE(Console().find(ended), std::string::npos) << Console();
}

// Without the backlog a held key stops at the release, and two keys in one write both
// arrive, in order. Every tick's keys are on disk as the play goes: losing the X server
// then ends the program with status 1, the terminal given back and the recording whole.
TEST_F(ProgramTest, WithoutTheBacklogAHeldKeyStopsAtTheReleaseAndTheRecordingOutlivesX) {
  ScratchDir scratch;
  const std::string demo = scratch.File("held.demo");
  // At the release a tick may be in progress and one Left may still wait: two moves.
  ASSERT_NO_FATAL_FAILURE(StartToMenu({"--no-key-backlog", "--record", demo, "--trace"}));
  program.Write("\r");
  ASSERT_TRUE(program.WaitFor("tick ", 15s));
  EXPECT_LE(MovesAfterHeldLeft(), 2);
  program.Write("\x1b[C ");
  program.Read(600ms);
  const std::string recorded = ReadFile(demo);
  const std::size_t right = recorded.find(" 0 77\n");
  ASSERT_NE(right, std::string::npos) << recorded;
  const long tick = std::atol(recorded.c_str() + recorded.rfind('\n', right) + 1);
  EXPECT_EQ(recorded.find(" 0 77\n" + std::to_string(tick + 1) + " 32\n"), right) << recorded;
  XCloseDisplay(keepAlive);
  keepAlive = nullptr;
  x.Kill();
  EXPECT_EQ(ExitStatus(), 1) << Console();
  EXPECT_NE(Console().find("nova-gunner: the connection to the X server was lost\n"),
            std::string::npos);
  EXPECT_TRUE(
      testing_pty::SameSettings(program.Settings(), testing_pty::PtyProcess::CookedSettings()));
  EXPECT_TRUE(ReadFile(demo).starts_with(recorded));
}

// The screens typed in the terminal: a play given up at its first tick and GAME OVER; after
// each play the menu comes back for the same game (the help page and back between them),
// and Escape there ends with the credits. Each play is recorded to its own file; one that lost its
// reader loses that play's keys alone, and the status says so at the end. A play left on
// its first tick is not kept.
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
    EXPECT_TRUE(play == 2 || Shows("game-over"));
    program.Read(play == 1 ? 500ms : 4500ms);
    program.Write(" ");  // past the result screen; column 249 stays as the help page left it
    ASSERT_TRUE(Shows(play == 1 ? "menu" : "menu-after-help")) << play;
    if (play == 2) break;
    TypeInWindow({XK_Escape});  // without --window-keys, keys typed in the window reach nothing
    program.Read(300ms);
    program.Write("h");
    ASSERT_TRUE(Shows("help"));
    program.Write("\x1b");
    ASSERT_TRUE(Shows("menu-after-help"));
  }
  program.Write("\x1b");
  ASSERT_TRUE(program.WaitFor("Press any key 3 times to finish the program", 40s)) << Console();
  EXPECT_TRUE(Shows("goodbye", 2s));
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
// A folder for the kept plays that cannot be made costs one line, nothing else.
TEST_F(ProgramTest, ADesktopGameNeedsNoTerminalAndEndsWhenTheWindowManagerClosesIt) {
  testing_x::WindowManager openbox(x.Display());
  ASSERT_TRUE(openbox.Running()) << "no openbox (tools/install-deps installs it)";
  ScratchDir scratch;
  const std::string demo = scratch.File("desktop.demo");
  ::setenv("XDG_DATA_HOME", "/dev/null", 1);
  Start("/dev/null", {"--desktop", "--record", demo, "--trace"});
  ::unsetenv("XDG_DATA_HOME");
  ASSERT_NO_FATAL_FAILURE(ToMenu(true));
  TypeInWindow({XK_Return});
  ASSERT_TRUE(program.WaitFor("tick 1 ", 15s)) << Console();
  for (unsigned long key : {XK_Right, XK_space, XK_Up, XK_0, XK_Left})
    TypeInWindow({key}), program.Read(150ms);
  const auto closed = std::chrono::steady_clock::now();
  ASSERT_TRUE(testing_x::CloseByWindowManager(x.Display(), "Graph"));
  const std::optional<int> status = program.Wait(10s);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - closed;
  std::printf("the window manager's close ended the run in %.3f s\n", took.count());
  EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Console();
  EXPECT_EQ(Console().find("Quiting"), std::string::npos) << Console();  // input's end: no key
  EXPECT_TRUE(
      Console().starts_with("nova-gunner: cannot keep plays in '/dev/null/nova-gunner/"
                            "plays': Not a directory; the game goes on\n"))
      << Console();
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

// The settings file in its default place sets the scale (the command line winning over it:
// OptionsTest).
TEST_F(ProgramTest, TheSettingsFileScalesTheWindow) {
  testing_x::XvfbServer big("2200x1500x24");
  ScratchDir home;
  std::filesystem::create_directory(home.path() / "nova-gunner");
  home.File("nova-gunner/nova-gunner.ini", "# larger\nscale = 2\n");
  testing_pty::PtyProcess run;
  testing_pty::PtyOptions o;
  o.argv = {NOVA_GUNNER_PATH};
  o.env = {"SDL_AUDIODRIVER=dummy", "NOVA_GRAPH_MESSAGES=stderr",
           "XDG_CONFIG_HOME=" + home.path().string()};
  ASSERT_TRUE(run.Start(o));
  ASSERT_TRUE(testing_x::WaitForWindow(big.Display(), "Graph", 30s)) << run.Read(10ms);
  const auto window = testing_x::ReadWindowPixels(big.Display(), "Graph");
  ASSERT_TRUE(window);
  EXPECT_EQ((std::pair{window->width, window->height}), (std::pair{2048, 1400}));
}

}  // namespace
