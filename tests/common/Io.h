// Test helpers for what the code under test writes: standard output (file descriptor 1)
// and files in a scratch directory.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Everything written to standard output between construction and the first Text().
class StdoutCapture {
 public:
  StdoutCapture() { std::fflush(stdout), dup2(fileno(file_), STDOUT_FILENO); }
  ~StdoutCapture() { Text(), std::fclose(file_); }
  std::string Text() {
    std::fflush(stdout);
    if (saved_ >= 0) dup2(saved_, STDOUT_FILENO), close(saved_), saved_ = -1;
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_ = std::tmpfile();
  int saved_ = dup(STDOUT_FILENO);  // after file_, before the constructor's dup2
};

template <typename Fn>
std::string CaptureStdout(Fn fn) {
  StdoutCapture capture;
  fn();
  return capture.Text();
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh directory, removed with everything in it.
class ScratchDir {
 public:
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  // The path of the file `name` in it, written with `text` unless that is empty.
  std::string File(const std::string& name, const std::string& text = "") const {
    if (!text.empty()) std::ofstream(path_ / name, std::ios::binary) << text;
    return path_ / name;
  }

 private:
  char name_[22] = "/tmp/nova-test-XXXXXX";
  std::filesystem::path path_ = mkdtemp(name_);
};
