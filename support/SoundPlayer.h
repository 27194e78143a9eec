// What plays the game's sound files: SDL2_mixer in the program, a recording player in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace StandardSound {

// Play's flags: wait until the sound ends, or return while it plays; the name is a file.
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
  // The loudness of all it plays, from 0 (silent) to 100 (the full level); before
  // Prepare and the first Play.
  virtual void SetVolume(int /*percent*/) {}
  // Silences all it plays at once (TRUE), or gives the sound back. From any thread: the
  // window's mute key calls it.
  virtual void Mute(bool /*on*/) {}
};

}  // namespace StandardSound
