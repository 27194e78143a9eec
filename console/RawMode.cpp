// Raw mode on the terminal and its restore on every way out.
#include "console/RawMode.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <exception>

#include "console/WriteAll.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#define NOVA_SANITIZED 1
#endif

namespace IO::detail {

namespace {

int gTtyFd = -1;
termios gSaved{};
termios gRawSettings{};
std::atomic<int> gRaw{0};
volatile sig_atomic_t gKitty = 0;   // the kitty keyboard protocol was switched on
volatile sig_atomic_t gActive = 0;  // raw mode wanted: from start until the final exit
struct sigaction gOld[NSIG];
std::terminate_handler gPreviousTerminate = nullptr;

// Report key releases and repeats, every key as an escape code, shifted keys and text.
constexpr char kKittyPush[] = "\x1b[>31u";
constexpr char kKittyPop[] = "\x1b[<u";

// Every signal whose default ends the program, so that no way out leaves the terminal raw.
constexpr int kFatalSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGSEGV, SIGBUS,
                                 SIGFPE,  SIGILL,  SIGABRT, SIGSYS,  SIGTRAP, SIGPIPE,
                                 SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ};

void RawOff() {
  if (gRaw.exchange(0) == 0) return;
  if (gKitty) WriteAll(gTtyFd, kKittyPop, sizeof kKittyPop - 1);
  ::tcsetattr(gTtyFd, TCSANOW, &gSaved);
}

void RawOn() {
  if (gRaw.exchange(1) == 1) return;
  ::tcsetattr(gTtyFd, TCSANOW, &gRawSettings);
  if (gKitty) WriteAll(gTtyFd, kKittyPush, sizeof kKittyPush - 1);
}

bool InForeground() {
  return gTtyFd >= 0 && ::tcgetpgrp(gTtyFd) == ::getpgrp();
}

void OnFatalSignal(int sig, siginfo_t* info, void*) {
  const int savedErrno = errno;
  gActive = 0;
  RawOff();
  // Hand the signal on to whoever had it before (by default: the end of the program).
  ::sigaction(sig, &gOld[sig], nullptr);
  const bool fault = (sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL) &&
                     info != nullptr && info->si_code > 0;
  if (!fault) ::raise(sig);  // delivered when this handler returns; a fault simply recurs
  errno = savedErrno;
}

void OnStop(int) {
  const int savedErrno = errno;
  const bool wasRaw = gRaw.load() != 0;
  RawOff();
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  struct sigaction ours {};
  ::sigaction(SIGTSTP, &dfl, &ours);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &tstp, nullptr);
  ::raise(SIGTSTP);  // stops here until continued
  ::sigaction(SIGTSTP, &ours, nullptr);
  if (wasRaw && gActive && InForeground()) RawOn();
  errno = savedErrno;
}

void OnContinue(int) {
  const int savedErrno = errno;
  if (gActive && InForeground()) RawOn();
  errno = savedErrno;
}

void RestoreAtExit() {
  gActive = 0;
  RawOff();
}

void OnTerminate() {
  gActive = 0;
  RawOff();
  if (gPreviousTerminate != nullptr) gPreviousTerminate();
  std::abort();
}

void InstallSignalHandlers() {
  static bool done = false;
  if (done) return;
  done = true;

  // Room to run the handler when the crash is a stack overflow.
  stack_t current{};
  if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) != 0) {
    static char altStack[64 * 1024];
    stack_t alt{};
    alt.ss_sp = altStack;
    alt.ss_size = sizeof altStack;
    ::sigaltstack(&alt, nullptr);
  }
  for (int sig : kFatalSignals) {
    struct sigaction old {};
    ::sigaction(sig, nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;  // e.g. SIGHUP under nohup stays ignored
    gOld[sig] = old;
    struct sigaction sa {};
    sa.sa_sigaction = OnFatalSignal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigfillset(&sa.sa_mask);  // nothing else runs on top of the restore
    ::sigaction(sig, &sa, nullptr);
  }
  struct sigaction old {};
  ::sigaction(SIGTSTP, nullptr, &old);
  if (old.sa_handler != SIG_IGN) {
    struct sigaction sa {};
    sa.sa_handler = OnStop;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTSTP, &sa, nullptr);
  }
  struct sigaction cont {};
  cont.sa_handler = OnContinue;
  cont.sa_flags = SA_RESTART;
  sigemptyset(&cont.sa_mask);
  ::sigaction(SIGCONT, &cont, nullptr);
}

}  // namespace

// The signal a terminal makes of Ctrl+C, Ctrl+Z or Ctrl+\ (0 for any other key).
int SignalOf(const KeyEvent& e) {
  const std::uint32_t mods = e.state & (LEFT_CTRL | RIGHT_CTRL | LEFT_ALT | RIGHT_ALT);
  if (!e.keyDown || mods == 0 || (mods & (LEFT_ALT | RIGHT_ALT)) != 0) return 0;
  if (e.virtualKey == 'C') return SIGINT;
  if (e.virtualKey == 'Z') return SIGTSTP;
  if (e.virtualKey == 0xDC) return SIGQUIT;
  return 0;
}

bool EnterRawMode() {
  static bool done = false;
  if (done) return false;
  done = true;
  if (::isatty(STDIN_FILENO)) {
    gTtyFd = STDIN_FILENO;
  } else {
    gTtyFd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (gTtyFd < 0) return false;  // no terminal at all: nothing to set up
  }
  if (::tcgetattr(gTtyFd, &gSaved) != 0) return false;
  gRawSettings = gSaved;
  gRawSettings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  gRawSettings.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
  gRawSettings.c_cc[VMIN] = 1;
  gRawSettings.c_cc[VTIME] = 0;

  InstallSignalHandlers();
  std::atexit(RestoreAtExit);
  std::at_quick_exit(RestoreAtExit);  // a lost X connection ends the program that way
#ifdef NOVA_SANITIZED
  __sanitizer_set_death_callback(RestoreAtExit);  // a sanitizer report ends with _exit
#endif
  gPreviousTerminate = std::set_terminate(OnTerminate);
  gActive = 1;
  RawOn();
  return gTtyFd == STDIN_FILENO;
}

void KittyOn() {
  gKitty = 1;
  WriteAll(gTtyFd, kKittyPush, sizeof kKittyPush - 1);
}

}  // namespace IO::detail
