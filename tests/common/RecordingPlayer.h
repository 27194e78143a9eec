// A sound player that records every Play and reports a fixed result: for tests and benches.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "support/SoundPlayer.h"

namespace StandardSound {

class RecordingPlayer final : public SoundPlayer {
 public:
  struct Call {
    std::string fileName;
    std::uint32_t flags;
  };
  explicit RecordingPlayer(bool result = true) : result(result) {}
  bool Play(const char* fileName, std::uint32_t flags) override {
    calls.push_back({fileName, flags});
    return result;
  }
  // How many Plays named fileName.
  int Count(const std::string& fileName) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const Call& c) { return c.fileName == fileName; }));
  }
  std::vector<Call> calls;
  bool result;
};

}  // namespace StandardSound
