// Helpers of the sound tests: console capture, a scratch directory, a changed working
// directory and environment.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace soundtest {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything written to standard output between construction and Text().
class StdoutCapture {
 public:
  StdoutCapture() : saved_(dup(STDOUT_FILENO)) {
    fflush(stdout);
    dup2(fileno(file_), STDOUT_FILENO);
  }
  ~StdoutCapture() {
    Restore();
    fclose(file_);
  }
  std::string Text() {
    Restore();
    std::string text;
    rewind(file_);
    for (int c; (c = fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::FILE* file_ = tmpfile();
  int saved_;
};

struct ScratchDir {
  ScratchDir() {
    char name[] = "/tmp/nova-sound-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path path_;
};

struct WorkingDir {
  explicit WorkingDir(const std::filesystem::path& dir) { std::filesystem::current_path(dir); }
  ~WorkingDir() { std::filesystem::current_path(old); }
  std::filesystem::path old = std::filesystem::current_path();
};

// SDL reads its audio driver when audio starts, so each player picks up these values.
struct EnvVar {
  EnvVar(const char* name, const std::string& value) : name(name) {
    setenv(name, value.c_str(), 1);
  }
  ~EnvVar() { unsetenv(name); }
  const char* name;
};

inline std::string FailureLines(const std::string& file) {
  return "Sound ERROR : it seems it was not possible to play the sound\n"
         "       file need here! " +
         file + "\n       Check whether you have to file AND it is at the good place\n";
}

}  // namespace soundtest
