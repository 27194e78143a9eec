// The console on a real pseudo-terminal: keys arrive as codes, and the terminal gets
// its settings back however the program ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <thread>

#include "tests/common/Pty.h"

namespace {

using namespace std::chrono_literals;
using testing_pty::PtyOptions;
using testing_pty::PtyProcess;

PtyOptions Child() {
  PtyOptions o;
  o.argv = {PTY_CHILD_PATH};
  o.env = {"TERM=xterm-256color", "ASAN_OPTIONS=detect_leaks=0"};
  return o;
}

// Starts the child, answers its terminal query (by default as a terminal without the
// kitty protocol would) and waits until it is reading keys in raw mode.
void StartReady(PtyProcess& p, PtyOptions o = Child(), const char* answer = "\x1b[?62;22c") {
  ASSERT_TRUE(p.Start(o));
  ASSERT_TRUE(p.WaitFor("\x1b[c", 5s)) << p.Output();
  p.Write(answer);
  ASSERT_TRUE(p.WaitFor("READY", 5s)) << p.Output();
}

// Waits for the end: exit status 0, or death by `signal`; `text` in the output and the
// terminal's settings back.
void ExpectEnd(PtyProcess& p, int signal, std::string_view text) {
  auto status = p.Wait(5s);
  ASSERT_TRUE(status) << p.Output();
  EXPECT_TRUE(signal ? WIFSIGNALED(*status) && WTERMSIG(*status) == signal
                     : WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
  EXPECT_NE(p.Output().find(text), std::string::npos) << p.Output();
  EXPECT_TRUE(testing_pty::SameSettings(p.Settings(), PtyProcess::CookedSettings()));
}

TEST(Pty, KeysArriveAsCodesInRawModeWithTheirTimingAndTheSettingsComeBack) {
  PtyProcess p;
  StartReady(p);
  const termios raw = p.Settings();
  EXPECT_EQ(raw.c_lflag & (ICANON | ECHO | IEXTEN), 0u);
  EXPECT_EQ(raw.c_iflag & (IXON | ICRNL), 0u);
  EXPECT_NE(raw.c_lflag & ISIG, 0u);
  EXPECT_NE(raw.c_oflag & OPOST, 0u);
  p.Write("h\r");
  p.Write("\x1b[A");
  p.Write("\x1bOB\x1b[1;5D\x1b[15~");
  ASSERT_TRUE(p.WaitFor("[104][13][0][72][0][80][0][115][0][63]", 5s)) << p.Output();
  // Keys typed while the program pauses keep their own timing: Escape, then Space 30 ms
  // later, are two keys, not Alt+Space; the Escape ends the program.
  p.Write("d");
  ASSERT_TRUE(p.WaitFor("[100]", 5s));
  p.Write("\x1b");
  std::this_thread::sleep_for(30ms);
  p.Write(" ");
  ExpectEnd(p, 0, "[27]BYE");
}

TEST(Pty, EverySignalAndCrashPathRestoresTheTerminal) {
  struct Case {
    const char* name;
    int signal;         // sent with kill, or 0
    const char* bytes;  // typed, or nullptr
    int dies;           // the signal it dies of, or 0 for a plain exit status
  };
  const Case cases[] = {
      {"SIGTERM", SIGTERM, nullptr, SIGTERM},
      {"SIGHUP", SIGHUP, nullptr, SIGHUP},
      {"Ctrl+C", 0, "\x03", SIGINT},
      {"SIGQUIT", SIGQUIT, nullptr, SIGQUIT},
      {"segfault", 0, "s", SIGSEGV},
      {"uncaught exception", 0, "x", SIGABRT},
      {"exit()", 0, "e", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyProcess p;
    StartReady(p);
    ASSERT_EQ(p.Settings().c_lflag & ICANON, 0u);
    if (c.signal != 0) p.Signal(c.signal);
    if (c.bytes != nullptr) p.Write(c.bytes);
    auto status = p.Wait(10s);
    ASSERT_TRUE(status);
    if (c.dies == 0) {
      EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 3);
    } else {
      // Under a sanitizer a crash ends in the sanitizer's report and exit instead.
      EXPECT_TRUE(WIFSIGNALED(*status) ? WTERMSIG(*status) == c.dies
                                       : c.dies == SIGSEGV || c.dies == SIGABRT);
      const std::string hook = "HOOK" + std::to_string(c.dies / 10) + std::to_string(c.dies % 10);
      EXPECT_NE(p.Output().find(hook), std::string::npos) << p.Output();
    }
    EXPECT_TRUE(testing_pty::SameSettings(p.Settings(), PtyProcess::CookedSettings()));
  }
}

TEST(Pty, InputFromDevNullEndsTheProgram) {
  PtyProcess p;
  PtyOptions o = Child();
  o.stdinPath = "/dev/null";
  ASSERT_TRUE(p.Start(o));
  ExpectEnd(p, 0, "[27]BYE");
}

TEST(Pty, KittyProtocolWhenTheTerminalConfirmsIt) {
  PtyProcess p;
  StartReady(p, Child(), "\x1b[?0u\x1b[?62;22c");  // the query asks for both answers
  EXPECT_NE(p.Output().find("\x1b[?u\x1b[c"), std::string::npos);
  EXPECT_NE(p.Output().find("\x1b[>31u"), std::string::npos);  // switched on
  // h press and release, Shift alone, Up, Ctrl+Right, Shift+a with its text.
  p.Write("\x1b[104u\x1b[104;1:3u\x1b[57441;2u\x1b[1;1A\x1b[1;5C\x1b[97:65;2;65u");
  ASSERT_TRUE(p.WaitFor("[104][0][72][0][116][65]", 5s)) << p.Output();
  p.Write("\x1b[99;5u");            // Ctrl+C as the protocol reports it still ends the program
  ExpectEnd(p, SIGINT, "\x1b[<u");  // switched off
}

// Job control needs a shell: Ctrl+Z stops the program with the terminal given back, and
// fg brings it back in raw mode.
TEST(Pty, SuspendGivesTheTerminalBackAndContinueTakesItAgain) {
  PtyProcess p;
  PtyOptions o = Child();
  o.argv = {"/bin/bash", "-m", "-c", "\"$0\"; echo STOPPED; read -r line; fg; echo \"EXIT $?\"",
            PTY_CHILD_PATH};
  StartReady(p, o);
  p.Write("a");
  ASSERT_TRUE(p.WaitFor("[97]", 5s));
  EXPECT_EQ(p.Settings().c_lflag & ICANON, 0u);
  p.Write("\x1a");  // Ctrl+Z
  ASSERT_TRUE(p.WaitFor("STOPPED", 5s)) << p.Output();
  const termios stopped = p.Settings();
  EXPECT_NE(stopped.c_lflag & ICANON, 0u);
  EXPECT_NE(stopped.c_lflag & ECHO, 0u);
  // After fg the program reads keys in raw mode again.
  p.Write("\n");
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while ((p.Settings().c_lflag & ICANON) != 0 && std::chrono::steady_clock::now() < deadline)
    p.Read(10ms);
  EXPECT_EQ(p.Settings().c_lflag & ICANON, 0u);
  p.Write("b");
  EXPECT_TRUE(p.WaitFor("[98]", 5s)) << p.Output();
  p.Write("q");
  EXPECT_TRUE(p.WaitFor("EXIT 0", 5s)) << p.Output();
  p.Wait(5s);
}

}  // namespace
