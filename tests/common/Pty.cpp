#include "tests/common/Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace testing_pty {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

termios PtyProcess::CookedSettings() {
  termios t{};
  t.c_iflag = ICRNL | IXON | BRKINT | IMAXBEL | IUTF8;
  t.c_oflag = OPOST | ONLCR;
  t.c_cflag = CS8 | CREAD;
  t.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | IEXTEN;
  const std::pair<int, cc_t> keys[] = {{VINTR, 3}, {VQUIT, 28}, {VERASE, 127}, {VKILL, 21},
                                       {VEOF, 4},  {VSUSP, 26}, {VMIN, 1}};  // VTIME 0
  for (auto [index, key] : keys) t.c_cc[index] = key;
  cfsetspeed(&t, B38400);
  return t;
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_lflag == b.c_lflag &&
         a.c_cc[VMIN] == b.c_cc[VMIN] && a.c_cc[VTIME] == b.c_cc[VTIME] &&
         a.c_cc[VINTR] == b.c_cc[VINTR];
}

PtyProcess::~PtyProcess() {
  Signal(SIGKILL);
  Wait(std::chrono::seconds(5));
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

bool PtyProcess::Start(const PtyOptions& options) {
  termios settings = CookedSettings();
  winsize size{24, 80, 0, 0};
  if (openpty(&master_, &slave_, nullptr, &settings, &size) != 0) return false;
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave_, F_SETFD, FD_CLOEXEC);

  // All the child needs is made before fork: after it, only async-signal-safe calls are
  // allowed in a threaded process. execve's char* is historical; it changes nothing.
  std::vector<char*> argv, envp;
  for (const std::string& arg : options.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  for (char** e = environ; *e != nullptr; ++e) {
    auto replaces = [&](const std::string& x) {
      return std::strncmp(*e, x.c_str(), x.find('=') + 1) == 0;
    };
    if (std::ranges::none_of(options.env, replaces)) envp.push_back(*e);
  }
  for (const std::string& extra : options.env) envp.push_back(const_cast<char*>(extra.c_str()));
  argv.push_back(nullptr), envp.push_back(nullptr);

  pid_ = ::fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    ::close(master_);
    if (login_tty(::fcntl(slave_, F_DUPFD, 3)) != 0) _exit(126);  // it closes the fd it gets
    if (!options.stdinPath.empty()) {
      const int in = ::open(options.stdinPath.c_str(), O_RDONLY | O_CLOEXEC);
      if (in < 0 || ::dup2(in, STDIN_FILENO) < 0) _exit(126);
    }
    if (!options.workingDir.empty() && ::chdir(options.workingDir.c_str()) != 0) _exit(126);
    // Default signal dispositions and mask for the program, whatever the test runner had.
    const sigset_t none{};  // zero: empty
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGTSTP, SIGTTOU, SIGTTIN})
      ::signal(sig, SIG_DFL);
    ::execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return true;
}

void PtyProcess::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(master_, bytes.data(), bytes.size());
    if (n < 0 && errno != EINTR) return;
    if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string PtyProcess::Read(milliseconds timeout) {
  const std::size_t from = output_.size();
  for (const auto deadline = Clock::now() + timeout;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    pollfd p{master_, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(std::max<long long>(0, left)));
    if (r < 0 && errno == EINTR) continue;
    char buf[4096];
    const ssize_t n = r > 0 ? ::read(master_, buf, sizeof buf) : 0;
    if (n <= 0) break;
    output_.append(buf, static_cast<std::size_t>(n));
    if (left <= 0) break;
  }
  return output_.substr(from);
}

bool PtyProcess::WaitFor(std::string_view text, milliseconds timeout) {
  for (const auto deadline = Clock::now() + timeout; output_.find(text) == std::string::npos;
       Read(milliseconds(20)))
    if (Clock::now() >= deadline) return false;
  return true;
}

termios PtyProcess::Settings() const {
  termios t{};
  ::tcgetattr(slave_, &t);
  return t;
}

void PtyProcess::Signal(int signal) {
  if (pid_ > 0 && !status_) ::kill(pid_, signal);
}

std::optional<int> PtyProcess::Wait(milliseconds timeout) {
  // Reading meanwhile keeps the terminal drained, so a program blocked on output goes on.
  for (const auto deadline = Clock::now() + timeout; pid_ > 0 && !status_; Read(milliseconds(5))) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = status;
      // What the program wrote last: the terminal keeps it after the end.
      while (!Read(milliseconds(10)).empty()) {
      }
    } else if (Clock::now() >= deadline) {
      break;
    }
  }
  return status_;
}

}  // namespace testing_pty
