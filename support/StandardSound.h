// StandardSound: game events to short sounds, played by a replaceable player.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace StandardSound {

enum SoundEventEn : std::uint8_t { MISSILE, BOOM, FIRE, OUTRO, INTRO, POWERUPSOUND, START };

struct SoundRc {
  char fileName[100];
  std::uint32_t soundFlag;
};

inline constexpr std::uint32_t SND_SYNC = 0x0;
inline constexpr std::uint32_t SND_ASYNC = 0x1;
inline constexpr std::uint32_t SND_FILENAME = 0x20000;

// Plays a sound file by name; TRUE when it is playing or has been played.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual bool Play(const char* fileName, std::uint32_t flags) = 0;
  // Called by InitSound with the files the events play: a player may get its device
  // ready and load them in the background here, so that no sound waits for that.
  virtual void Prepare(const std::vector<std::string>& /*fileNames*/) {}
};

// Records every Play and reports a fixed result; for tests.
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

// Uses player for later events (nullptr: the default SDL2_mixer player). Must outlive use.
void SetSoundPlayer(SoundPlayer* player);
// Makes every later event do nothing, as before InitSound (--nosound).
void Silence();

void Init();
bool InitSound(bool asynchronousSound);
void PlaySoundEvent(SoundEventEn e);

// Read access for tests and traces: the table entry of e, and whether events play.
const SoundRc& SoundEntry(SoundEventEn e);
bool IsActive();
// Back to the state at program start: off, not silenced, empty table (tests only).
void Reset();

}  // namespace StandardSound
