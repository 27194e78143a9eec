// Helpers of the sound tests: console capture, a scratch directory, a changed working
// directory and environment, a player installed for one test.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/StandardSound.h"
#include "tests/common/Capture.h"

namespace soundtest {

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

// The sound state from scratch with `player` installed, and from scratch again after.
struct Installed {
  explicit Installed(StandardSound::SoundPlayer& player) {
    StandardSound::Reset();
    StandardSound::SetSoundPlayer(&player);
  }
  ~Installed() {
    StandardSound::SetSoundPlayer(nullptr);
    StandardSound::Reset();
  }
};

inline std::string FailureLines(const std::string& file) {
  return "Sound ERROR : it seems it was not possible to play the sound\n"
         "       file need here! " +
         file + "\n       Check whether you have to file AND it is at the good place\n";
}

}  // namespace soundtest
