#include "tests/common/Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

extern char** environ;

namespace testing_pty {

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
  if (Running()) {
    ::kill(pid_, SIGKILL);
    Wait(std::chrono::seconds(5));
  }
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

bool PtyProcess::Start(const PtyOptions& options) {
  termios settings = CookedSettings();
  winsize size{24, 80, 0, 0};
  if (openpty(&master_, &slave_, nullptr, &settings, &size) != 0) return false;
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave_, F_SETFD, FD_CLOEXEC);

  // Everything the child needs is prepared before fork: after it, only async-signal-safe
  // calls are allowed in a threaded test process.
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
  for (const std::string& extra : options.env) {
    std::string name = extra.substr(0, extra.find('=') + 1);
    std::erase_if(envStrings, [&](const std::string& s) { return s.starts_with(name); });
    envStrings.push_back(extra);
  }
  std::vector<char*> envp, argv;
  for (std::string& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = options.argv;
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);
  const int slave = slave_;

  pid_ = ::fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    ::close(master_);
    int fd = ::fcntl(slave, F_DUPFD, 3);  // login_tty closes the fd it is given
    if (login_tty(fd) != 0) _exit(126);
    if (!options.stdinPath.empty()) {
      int in = ::open(options.stdinPath.c_str(), O_RDONLY);
      if (in < 0 || ::dup2(in, STDIN_FILENO) < 0) _exit(126);
      ::close(in);
    }
    if (!options.workingDir.empty() && ::chdir(options.workingDir.c_str()) != 0) _exit(126);
    // Default signal dispositions and mask for the program, whatever the test runner had.
    sigset_t none;
    sigemptyset(&none);
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
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string PtyProcess::Read(std::chrono::milliseconds timeout) {
  std::string got;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{master_, POLLIN, 0};
    int r = ::poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count())));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    char buf[4096];
    ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, static_cast<std::size_t>(n));
    if (left.count() <= 0) break;
  }
  output_ += got;
  return got;
}

bool PtyProcess::WaitFor(std::string_view text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (output_.find(text) == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    Read(std::min(left, std::chrono::milliseconds(20)));
  }
  return true;
}

termios PtyProcess::Settings() const {
  termios t{};
  ::tcgetattr(slave_, &t);
  return t;
}

void PtyProcess::Signal(int signal) {
  if (Running()) ::kill(pid_, signal);
}

std::optional<int> PtyProcess::Wait(std::chrono::milliseconds timeout) {
  if (status_) return status_;
  if (pid_ <= 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      status_ = status;
      // Collect what the program wrote last; the terminal keeps it after the end.
      while (!Read(std::chrono::milliseconds(10)).empty()) {
      }
      return status_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    // Keep the terminal drained so a program blocked on output can go on.
    Read(std::chrono::milliseconds(5));
  }
}

}  // namespace testing_pty
