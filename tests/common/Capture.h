// What the code under test writes to standard output (file descriptor 1).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

// Everything written to standard output between construction and Text().
class StdoutCapture {
 public:
  StdoutCapture() : saved_(dup(STDOUT_FILENO)) {
    std::fflush(stdout);
    dup2(fileno(file_), STDOUT_FILENO);
  }
  ~StdoutCapture() {
    Restore();
    std::fclose(file_);
  }
  std::string Text() {
    Restore();
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
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
  std::FILE* file_ = std::tmpfile();
  int saved_;
};

template <typename Fn>
std::string CaptureStdout(Fn fn) {
  StdoutCapture capture;
  fn();
  return capture.Text();
}
