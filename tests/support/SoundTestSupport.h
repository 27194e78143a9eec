// Helpers of the sound tests: console capture, a scratch directory, a changed working
// directory and environment.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace soundtest {

// Everything written to standard output between construction and Text().
class StdoutCapture {
 public:
  StdoutCapture() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    char name[] = "/tmp/nova-stdout-XXXXXX";
    file_ = mkstemp(name);
    unlink(name);
    dup2(file_, STDOUT_FILENO);
  }
  ~StdoutCapture() { Restore(); }
  std::string Text() {
    Restore();
    std::string text;
    char buf[4096];
    lseek(file_, 0, SEEK_SET);
    for (ssize_t n; (n = read(file_, buf, sizeof buf)) > 0;)
      text.append(buf, static_cast<size_t>(n));
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    saved_ = -1;
  }
  int saved_ = -1;
  int file_ = -1;
};

class ScratchDir {
 public:
  ScratchDir() {
    char name[] = "/tmp/nova-sound-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class WorkingDir {
 public:
  explicit WorkingDir(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~WorkingDir() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

// SDL reads its audio driver when audio starts, so each player picks up these values.
class EnvVar {
 public:
  EnvVar(const char* name, const std::string& value) : name_(name) {
    setenv(name, value.c_str(), 1);
  }
  ~EnvVar() { unsetenv(name_); }

 private:
  const char* name_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline const std::string kFailure =
    "Sound ERROR : it seems it was not possible to play the sound\n"
    "       file need here! ";
inline const std::string kFailureEnd =
    "\n       Check whether you have to file AND it is at the good place\n";
inline std::string FailureLines(const std::string& file) {
  return kFailure + file + kFailureEnd;
}

}  // namespace soundtest
