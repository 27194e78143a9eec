// A sound player that records every Play, each reported as played: for tests and benches.
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
  bool Play(const char* fileName, std::uint32_t flags) override {
    calls.push_back({fileName, flags});
    return true;
  }
  // How many Plays named fileName.
  int Count(const std::string& fileName) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const Call& c) { return c.fileName == fileName; }));
  }
  std::vector<Call> calls;
};

}  // namespace StandardSound
