// Helpers of the sound tests: a changed working directory and environment, a player
// installed for one test.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "support/StandardSound.h"
#include "tests/common/Io.h"

namespace soundtest {

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
