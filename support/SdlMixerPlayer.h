// The SDL2_mixer sound player behind StandardSound.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "support/SoundPlayer.h"

struct Mix_Chunk;

namespace StandardSound {

// Plays WAV files through SDL2_mixer, several at once. The audio device is opened on a
// thread of its own from Prepare (InitSound calls it), or else on the first Play, and
// never retried after a failure, so a machine without sound costs each event only a
// flag test. Files are looked up as named (relative to the working
// directory), then in each search directory when the name has no directory part.
// SDL2_mixer is one per process: keep one player open at a time.
class SdlMixerPlayer final : public SoundPlayer {
 public:
  explicit SdlMixerPlayer(std::vector<std::string> searchDirs = {});
  ~SdlMixerPlayer() override;
  SdlMixerPlayer(const SdlMixerPlayer&) = delete;
  SdlMixerPlayer& operator=(const SdlMixerPlayer&) = delete;

  bool Play(const char* fileName, std::uint32_t flags) override;
  // Starts opening the device and loading the files in the background; the first Play
  // waits for that.
  void Prepare(const std::vector<std::string>& fileNames) override;
  void SetVolume(int percent) override;
  void Mute(bool on) override { muted_ = on; }

  // Stops every sound, frees the loaded files and closes the device; a later Play
  // opens it again.
  void Close();

  int DeviceOpenAttempts() const { return openAttempts_; }
  bool DeviceOpen() const { return device_ == Device::Open; }
  // Why the device or the last file failed, for diagnostics.
  const std::string& LastError() const { return lastError_; }

  static constexpr int kChannels = 16;
  // The level of every channel, of the mixer's 128: the one place of the mix's headroom.
  // The effects are written at one loudness (tools/wavgen.cpp). At full level the worst
  // overlap play allows (a shot, a kill and so an explosion every tick, a bomb every 16
  // ticks: all 16 channels busy) peaks 6.9 dB above full scale; 51 (-8 dB) leaves 1 dB
  // to spare. bench/sound/MixBench.cpp prints the figures.
  static constexpr int kVolume = 51;
  // The level of every channel at a volume of 0 to 100: 100 is kVolume.
  static constexpr int MixerVolume(int percent) { return (kVolume * percent + 50) / 100; }
  // A sound started again this soon (in the same tick) is not started twice: the copies
  // would begin on the same sample, adding level and nothing to hear, and a bomb
  // through a pile of enemies would clip.
  static constexpr std::chrono::milliseconds kSameMoment{10};

 private:
  enum class Device { Unopened, Open, Failed };

  // What a file looked like when it could not be loaded; it is tried again only once
  // this changes, so a missing file costs a few stat calls per event.
  struct Stamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long ctimeNs = 0;  // changes with the content and with the permissions
    bool operator==(const Stamp&) const = default;
  };
  struct Entry {
    Mix_Chunk* chunk = nullptr;
    std::vector<std::string> candidates;
    Stamp failedAs;
  };

  bool OpenDevice();
  bool TryOpen();  // with the sound libraries' own complaints kept off standard error
  Mix_Chunk* Chunk(const char* fileName);
  Stamp Locate(const Entry& entry, std::string& path) const;
  void WaitUntilDone(int channel, const Mix_Chunk* chunk) const;

  std::vector<std::string> searchDirs_;
  std::unordered_map<std::string, Entry> cache_;
  std::unordered_map<const Mix_Chunk*, std::chrono::steady_clock::time_point> started_;
  Device device_ = Device::Unopened;
  bool audioSubsystem_ = false;
  int openAttempts_ = 0;
  int frequency_ = 0;
  int outChannels_ = 0;
  int bytesPerSample_ = 0;
  std::string lastError_;
  std::thread opener_;               // the background opening, until OpenDevice joins it
  bool openedInBackground_ = false;  // its result, read after the join
  int volume_ = 100;
  std::atomic<bool> muted_{false};  // read by the mixer's audio thread
};

// The program's player: an SdlMixerPlayer that also searches the program's own directory
// and the installed sound directories (<program dir>/../share/nova-gunner, then
// <program dir>/../share/games/nova-gunner). Made at the first call; it lives until the
// process ends and is never destroyed, so no exit-time teardown races the audio thread.
SoundPlayer& ProgramSoundPlayer();

}  // namespace StandardSound
