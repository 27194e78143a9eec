// Sound events and the SDL2_mixer player: what each event plays, the lines a failure writes,
// and the generated WAV files played on SDL's disk driver and on a machine without a device.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <thread>

#include "support/SdlMixerPlayer.h"
#include "support/StandardSound.h"
#include "tests/common/Io.h"
#include "tests/common/RecordingPlayer.h"

namespace StandardSound {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct WorkingDir {
  explicit WorkingDir(const fs::path& dir) { fs::current_path(dir); }
  ~WorkingDir() { fs::current_path(old); }
  fs::path old = fs::current_path();
};

// SDL reads its audio driver when audio starts, so each player picks up these values.
struct EnvVar {
  EnvVar(const char* name, const std::string& value) : name(name) {
    setenv(name, value.c_str(), 1);
  }
  ~EnvVar() { unsetenv(name); }
  const char* name;
};

// The module on `player`, and on a stand-in once the player is gone.
struct Installed {
  explicit Installed(SoundPlayer& player) { Init(player); }
  ~Installed() {
    static RecordingPlayer standIn;
    Init(standIn);
  }
};

std::string FailureLines(const std::string& file) {
  return "Sound ERROR : it seems it was not possible to play the sound\n       file need here! " +
         file + "\n       Check whether you have to file AND it is at the good place\n";
}

// The 16-bit samples from byte `from` on: how many pass `threshold` in magnitude, and
// their RMS in dB of full scale.
struct Scan {
  Scan(const std::string& pcm, std::size_t from, int threshold) {
    double sum = 0;
    for (std::size_t i = from; i + 1 < pcm.size(); i += 2) {
      const int v = std::int16_t(std::uint8_t(pcm[i]) | std::uint8_t(pcm[i + 1]) << 8);
      loud += std::abs(v) > threshold, sum += double(v) * v, peak = std::max(peak, std::abs(v));
    }
    rmsDb = 10 * std::log10(sum / double((pcm.size() - from) / 2) / (32768.0 * 32768));
  }
  std::size_t loud = 0;
  double rmsDb = 0;
  int peak = 0;
};

constexpr SoundEventEn kAll[] = {MISSILE, BOOM, FIRE, OUTRO, INTRO, POWERUPSOUND, START};
constexpr const char* kFiles[] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                                  "intro.wav",   "powerup.wav", "start.wav"};

TEST(StandardSound, EventsPlayTheirFilesFromInitSoundToTheNextStart) {
  RecordingPlayer player;
  Installed installed(player);
  StdoutCapture out;
  for (SoundEventEn e : kAll) PlaySoundEvent(e);  // before InitSound: nothing
  EXPECT_TRUE(InitSound(true));
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  ASSERT_EQ(player.calls.size(), 7u);
  for (SoundEventEn e : kAll) {
    EXPECT_EQ(player.calls[e].fileName, kFiles[e]);
    EXPECT_EQ(player.calls[e].flags, SND_FILENAME | SND_ASYNC);
  }
  Init(player);  // a start puts the events off until the game's InitSound
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(player.calls.size(), 7u);
  EXPECT_EQ(out.Text(), "\n");  // InitSound's empty line, and nothing else
}

class DiskAudio : public ::testing::Test {
 protected:
  ScratchDir dir_;
  const fs::path output_ = dir_.path() / "audio.raw";
  EnvVar driver_{"SDL_AUDIODRIVER", "disk"};
  EnvVar file_{"SDL_DISKAUDIOFILE", output_.string()};
  SdlMixerPlayer player_;
  Installed installed_{player_};
};

TEST_F(DiskAudio, EffectsPlayAtOneLoudnessAndTheBusiestTicksMixWithoutClipping) {
  WorkingDir cwd(NOVA_SOUND_DIR);
  StdoutCapture out;
  InitSound(true);
  double quietest = 0, loudest = -100;
  for (const char* name : kFiles) {  // each generated effect loads, and none stands out
    EXPECT_TRUE(player_.Play(name, SND_FILENAME | SND_ASYNC)) << name;
    const double rms = Scan(ReadFile(name), 44, 0).rmsDb;
    quietest = std::min(quietest, rms), loudest = std::max(loudest, rms);
  }
  EXPECT_TRUE(loudest - quietest < 1.5 && quietest > -25) << quietest << " " << loudest;
  player_.Close();  // the burst gets a capture of its own
  // Ticks as busy as play gets: a shot, a bomb, three explosions in one tick (a bomb
  // through overlapping enemies), a tick apart. At full level, or with each explosion
  // started, the sum clips.
  for (int tick = 0; tick < 4; ++tick) {
    if (tick == 0) PlaySoundEvent(MISSILE);
    PlaySoundEvent(FIRE), PlaySoundEvent(BOOM), PlaySoundEvent(BOOM), PlaySoundEvent(BOOM);
    std::this_thread::sleep_for(60ms);
  }
  std::this_thread::sleep_for(1200ms);
  player_.Close();
  EXPECT_EQ(Scan(ReadFile(output_), 0, 32766).loud, 0u);    // no sample at full scale
  EXPECT_GT(Scan(ReadFile(output_), 0, 1000).loud, 1000u);  // the device got the sound
  // More at once than there are channels: the oldest give way, none is reported lost.
  for (int i = 0; i < 24; ++i) {
    PlaySoundEvent(i % 3 == 0 ? BOOM : FIRE);
    std::this_thread::sleep_for(SdlMixerPlayer::kSameMoment + 1ms);
  }
  player_.Close();
  EXPECT_EQ(out.Text(), "\n");
}

// --volume scales the mix (100 the level as always, 0 silence); muted, the device gets
// silence, and unmuted the sound again.
TEST_F(DiskAudio, VolumeScalesTheMixAndMuteSilencesIt) {
  WorkingDir cwd(NOVA_SOUND_DIR);
  const auto peak = [&](int volume, bool muted) {
    player_.SetVolume(volume);
    player_.Mute(muted);
    EXPECT_TRUE(player_.Play("fire.wav", SND_FILENAME | SND_SYNC));
    player_.Close();
    return Scan(ReadFile(output_), 0, 0).peak;
  };
  const int full = peak(100, false), half = peak(50, false);
  EXPECT_GT(full, 5000);
  EXPECT_NEAR(double(half) / full, 0.5, 0.02) << half << " of " << full;
  EXPECT_EQ(peak(0, false), 0);
  EXPECT_EQ(peak(100, true), 0);
  EXPECT_EQ(peak(100, false), full);
}

TEST_F(DiskAudio, MissingFileIsReportedInThreeLinesEveryTimeUntilItAppears) {
  WorkingDir cwd(dir_.path());
  StdoutCapture out;
  InitSound(true);
  PlaySoundEvent(BOOM);
  PlaySoundEvent(BOOM);
  fs::copy_file(fs::path(NOVA_SOUND_DIR) / "boom.wav", "boom.wav");
  PlaySoundEvent(BOOM);
  fs::resize_file("boom.wav", 10);  // unreadable now, but already loaded
  PlaySoundEvent(BOOM);
  std::ofstream("start.wav") << "not a sound";
  PlaySoundEvent(START);  // still reported: failures do not switch the sound off
  PlaySoundEvent(static_cast<SoundEventEn>(7));  // outside the enumeration: nothing
  EXPECT_EQ(out.Text(),
            "\n" + FailureLines("boom.wav") + FailureLines("boom.wav") + FailureLines("start.wav"));
  // The installed game also looks in its sound directory; a name with a directory stays put.
  SdlMixerPlayer installed({NOVA_SOUND_DIR});
  EXPECT_TRUE(installed.Play("fire.wav", SND_FILENAME | SND_ASYNC));
  EXPECT_FALSE(installed.Play("./intro.wav", SND_FILENAME | SND_ASYNC));
}

TEST(NoAudioDevice, EveryEventIsReportedAndTheReasonOnceOnStandardError) {
  EnvVar driver("SDL_AUDIODRIVER", "nova-no-such-driver");
  WorkingDir cwd(NOVA_SOUND_DIR);
  SdlMixerPlayer player;
  Installed installed(player);
  StdoutCapture out;
  testing::internal::CaptureStderr();
  InitSound(true);
  std::string expected = "\n";
  for (int i = 0; i < 100; ++i) PlaySoundEvent(FIRE), expected += FailureLines("fire.wav");
  EXPECT_EQ(
      testing::internal::GetCapturedStderr(),
      "nova-gunner: no sound: the audio device cannot be opened: " + player.LastError() + "\n");
  EXPECT_EQ(out.Text(), expected);
  EXPECT_EQ(player.DeviceOpenAttempts(), 1);
}

}  // namespace
}  // namespace StandardSound
