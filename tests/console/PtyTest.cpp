// The console on a real pseudo-terminal: keys arrive as codes, and the terminal gets
// its settings back however the program ends.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <thread>

#include "tests/common/Io.h"
#include "tests/common/Pty.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_pty;

PtyOptions Child(std::vector<std::string> argv = {PTY_CHILD_PATH}, std::string stdinPath = "") {
  return {argv, {"TERM=xterm-256color", "ASAN_OPTIONS=detect_leaks=0"}, "", stdinPath};
}

// Starts the child, answers its terminal query (by default as a terminal without the
// kitty protocol would) and waits until it is reading keys in raw mode.
void StartReady(PtyProcess& p, PtyOptions o = Child(), const char* answer = "\x1b[?62;22c") {
  ASSERT_TRUE(p.Start(o));
  ASSERT_TRUE(p.WaitFor("\x1b[c", 5s)) << p.Output();
  p.Write(answer);
  ASSERT_TRUE(p.WaitFor("READY", 5s)) << p.Output();
}

// Waits for the end: death by `signal`, or else exit status `code` (a sanitizer's report
// ends a crash in an exit); `text` in the output and the terminal's settings back.
void ExpectEnd(PtyProcess& p, int signal, std::string_view text, int code = 0) {
  auto status = p.Wait(10s);
  ASSERT_TRUE(status) << p.Output();
  EXPECT_TRUE(WIFSIGNALED(*status) ? WTERMSIG(*status) == signal
                                   : signal == SIGSEGV || signal == SIGABRT ||
                                         (signal == 0 && WEXITSTATUS(*status) == code));
  EXPECT_NE(p.Output().find(text), std::string::npos) << p.Output();
  EXPECT_TRUE(SameSettings(p.Settings(), PtyProcess::CookedSettings()));
}

TEST(Pty, KeysArriveAsCodesInRawModeWithTheirTimingAndTheSettingsComeBack) {
  PtyProcess p;
  StartReady(p);
  p.Write("h\r\x1b[A\x1bOB\x1b[1;5D\x1b[15~");
  ASSERT_TRUE(p.WaitFor("[104][13][0][72][0][80][0][115][0][63]", 5s)) << p.Output();
  // Keys typed while the program pauses keep their own timing: Escape, then Space 100 ms
  // later, are two keys, not Alt+Space; the Escape ends the program.
  p.Write("d");
  ASSERT_TRUE(p.WaitFor("[100]", 5s));
  p.Write("\x1b");
  std::this_thread::sleep_for(100ms);
  p.Write(" ");
  ExpectEnd(p, 0, "[27]BYE");
}

// Keys pushed from another thread (the window's) wake a waiting read and join the terminal's
// in the order they came, also during a pause and behind an Escape still settling. The
// pauses between the writes only make that order certain.
TEST(Pty, PushedKeysWakeAWaitingReadAndJoinTheTerminalsInOrder) {
  ScratchDir scratch;
  const std::string fifo = scratch.File("keys");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  PtyProcess p;
  StartReady(p, Child({PTY_CHILD_PATH, "push", fifo}));
  const int pushed = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
  auto push = [pushed](std::string_view bytes) {
    ASSERT_EQ(::write(pushed, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  };
  push("\x1b[A");
  ASSERT_TRUE(p.WaitFor("[0][72]", 5s)) << p.Output();
  p.Write("d");  // a pause of 300 ms, which reads the input as it comes
  ASSERT_TRUE(p.WaitFor("[100]", 5s)) << p.Output();
  for (const char* keys : {"bc", "fg"}) {
    p.Write(std::string(1, keys[0]));
    std::this_thread::sleep_for(30ms);
    push(std::string(1, keys[1]));
    std::this_thread::sleep_for(30ms);
  }
  p.Write("\x1b");
  std::this_thread::sleep_for(15ms);
  push("h");  // waits behind the Escape, which ends the program
  ExpectEnd(p, 0, "[100][98][99][102][103][27]BYE");
  ::close(pushed);
}

// One write of minutes' worth of key repeat while the program reads slowly: the keys come
// over in chunks that end inside sequences, and none may turn into an Escape. (Any bytes
// split anywhere give the same keys: DecoderTest and the fuzzer.)
TEST(Pty, AFloodReadSlowlyGivesExactlyTheKeysTyped) {
  std::string arrows, expected;
  for (int i = 0; i < 10000; ++i) arrows += "\x1b[C", expected += "[0][77]";
  PtyProcess p;
  StartReady(p, Child({PTY_CHILD_PATH, "slow"}));
  std::thread typist([&p, &arrows] { p.Write(arrows); });
  p.WaitFor(expected, 10s);
  typist.join();
  p.Read(100ms);  // time for anything more, such as an ESC settling late
  const std::string got = p.Output().substr(p.Output().find("READY\r\n") + 7);
  const auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
  EXPECT_TRUE(got == expected) << "from code text offset " << diff.first - got.begin() << ": "
                               << got.substr(diff.first - got.begin(), 60);
}

// A signal from outside, Ctrl+C typed, a crash, an uncaught exception and exit(): each
// gives the terminal back.
TEST(Pty, SignalsCrashesAndExitRestoreTheTerminal) {
  const struct {
    int send;           // sent with kill, or 0
    const char* typed;  // or typed
    int dies;           // the signal it dies of, or 0 for exit status 3
  } cases[] = {{SIGTERM, "", SIGTERM},
               {0, "\x03", SIGINT},
               {0, "s", SIGSEGV},
               {0, "x", SIGABRT},
               {0, "e", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dies);
    PtyProcess p;
    StartReady(p);
    if (c.send != 0) p.Signal(c.send);
    p.Write(c.typed);
    ExpectEnd(p, c.dies, "", 3);
  }
}

TEST(Pty, InputFromDevNullEndsTheProgram) {
  PtyProcess p;
  ASSERT_TRUE(p.Start(Child({PTY_CHILD_PATH}, "/dev/null")));
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
  StartReady(
      p, Child({"/bin/bash", "-m", "-c", "\"$0\"; echo STOPPED; read -r line; fg; echo \"EXIT $?\"",
                PTY_CHILD_PATH}));
  p.Write("\x1a");  // Ctrl+Z
  ASSERT_TRUE(p.WaitFor("STOPPED", 5s)) << p.Output();
  EXPECT_EQ(p.Settings().c_lflag & (ICANON | ECHO), tcflag_t{ICANON | ECHO});
  p.Write("\n");
  for (auto end = std::chrono::steady_clock::now() + 5s;
       (p.Settings().c_lflag & ICANON) != 0 && std::chrono::steady_clock::now() < end;)
    p.Read(10ms);
  p.Write("b");  // after fg the program reads keys in raw mode again
  EXPECT_TRUE(p.WaitFor("[98]", 5s)) << p.Output();
  EXPECT_EQ(p.Settings().c_lflag & ICANON, 0u);
  p.Write("q");
  EXPECT_TRUE(p.WaitFor("EXIT 0", 5s)) << p.Output();
}

}  // namespace
