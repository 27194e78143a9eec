// A program on a pseudo-terminal of its own: keys in, output, settings, signals, exit status.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_pty {

struct PtyOptions {
  std::vector<std::string> argv;  // argv[0] is the program path
  std::vector<std::string> env;   // "NAME=value" on top of the parent's environment
  std::string workingDir;         // empty: the parent's
  std::string stdinPath;          // standard input from this file instead of the terminal
};

class PtyProcess {
 public:
  PtyProcess() = default;
  PtyProcess(const PtyProcess&) = delete;
  PtyProcess& operator=(const PtyProcess&) = delete;
  ~PtyProcess();  // kills (SIGKILL) and reaps a program still running

  bool Start(const PtyOptions& options);  // FALSE (with errno) on failure
  void Write(std::string_view bytes);
  // Reads whatever arrives within timeout into Output(); returns the new text.
  std::string Read(std::chrono::milliseconds timeout);
  // Reads until Output() contains text (TRUE) or timeout passes (FALSE).
  bool WaitFor(std::string_view text, std::chrono::milliseconds timeout);
  const std::string& Output() const { return output_; }

  termios Settings() const;  // the terminal's settings now, also after the program ended
  void Signal(int signal);
  // The wait status once the program ended within timeout.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  pid_t Pid() const { return pid_; }

  // A fresh 80x24 terminal's settings: canonical input with echo, like a login shell's.
  static termios CookedSettings();

 private:
  int master_ = -1;
  int slave_ = -1;  // kept open so the settings stay readable after the program ends
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string output_;
};

// Whether two settings agree on every flag and control character that raw mode touches.
bool SameSettings(const termios& a, const termios& b);

}  // namespace testing_pty
