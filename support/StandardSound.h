// StandardSound: game events to short sounds, played by a replaceable player.
#pragma once

#include <cstdint>

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
