// Sound events and the SDL2_mixer player: the on/off state, what each event plays, and
// real WAV files (the generated effects) played on SDL's disk driver as the sound device
// and on a machine without a device.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>

#include "support/SdlMixerPlayer.h"
#include "support/StandardSound.h"
#include "tests/common/Io.h"

namespace StandardSound {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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

// The sound state from scratch with `player` installed, and from scratch again after.
struct Installed {
  explicit Installed(SoundPlayer& player) {
    Reset();
    SetSoundPlayer(&player);
  }
  ~Installed() {
    SetSoundPlayer(nullptr);
    Reset();
  }
};

std::string FailureLines(const std::string& file) {
  return "Sound ERROR : it seems it was not possible to play the sound\n"
         "       file need here! " +
         file + "\n       Check whether you have to file AND it is at the good place\n";
}

constexpr SoundEventEn kAll[] = {MISSILE, BOOM, FIRE, OUTRO, INTRO, POWERUPSOUND, START};
constexpr const char* kFiles[] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                                  "intro.wav",   "powerup.wav", "start.wav"};

class StandardSoundTest : public ::testing::Test {
 protected:
  RecordingPlayer player_{false};
  Installed installed_{player_};
};

TEST_F(StandardSoundTest, EventsAreSilentBeforeInitSoundAndAfterSilence) {
  StdoutCapture before;
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(before.Text(), "");
  EXPECT_FALSE(IsActive());
  StdoutCapture silenced;
  Silence();  // --nosound: InitSound still runs as usual, events stay silent
  EXPECT_TRUE(InitSound(true));
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(silenced.Text(), "\n");
  EXPECT_TRUE(player_.calls.empty());
}

TEST_F(StandardSoundTest, InitSoundWritesOneEmptyLineAndEventsPlayTheirFiles) {
  // No sound file exists in a fresh directory: the start does not look at them.
  ScratchDir dir;
  WorkingDir cwd(dir.path());
  player_.result = true;
  for (bool async : {true, false}) {
    player_.calls.clear();
    EXPECT_EQ(CaptureStdout([&] {
                EXPECT_TRUE(InitSound(async));
                for (SoundEventEn e : kAll) PlaySoundEvent(e);
              }),
              "\n");
    ASSERT_EQ(player_.calls.size(), 7u);
    for (SoundEventEn e : kAll) {
      EXPECT_EQ(player_.calls[e].fileName, kFiles[e]);
      EXPECT_EQ(player_.calls[e].flags, SND_FILENAME | (async ? SND_ASYNC : SND_SYNC));
    }
  }
}

std::uint32_t Le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

// Number of 16-bit samples whose magnitude passes threshold.
std::size_t Loud(const std::string& pcm, std::size_t from, int threshold) {
  std::size_t n = 0;
  for (std::size_t i = from; i + 1 < pcm.size(); i += 2) {
    n += std::abs(static_cast<std::int16_t>(Le(pcm, i, 2))) > threshold;
  }
  return n;
}

TEST(GeneratedSounds, AreValidNonSilentPcmWavs) {
  for (const char* name : kFiles) {
    SCOPED_TRACE(name);
    const std::string wav = ReadFile(fs::path(NOVA_SOUND_DIR) / name);
    ASSERT_GT(wav.size(), 44u + 2 * 22050 / 10);  // at least a tenth of a second
    EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
    // Sizes, PCM mono, 22050 Hz, 16 bits.
    EXPECT_EQ((std::array{Le(wav, 4, 4) + 8, Le(wav, 20, 4), Le(wav, 24, 4), Le(wav, 34, 2),
                          Le(wav, 40, 4) + 44}),
              (std::array<std::uint32_t, 5>{static_cast<std::uint32_t>(wav.size()), 0x10001u,
                                            22050u, 16u, static_cast<std::uint32_t>(wav.size())}));
    EXPECT_GT(Loud(wav, 44, 8000), 200u);
  }
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

TEST_F(DiskAudio, SynchronousFireReachesTheDevice) {
  WorkingDir cwd(NOVA_SOUND_DIR);
  StdoutCapture out;
  InitSound(false);
  const auto start = Clock::now();
  PlaySoundEvent(FIRE);
  const std::chrono::duration<double> took = Clock::now() - start;
  player_.Close();
  EXPECT_EQ(out.Text(), "\n");
  EXPECT_GE(took.count(), 0.15) << "a synchronous play returns once the 0.22 s effect ended";
  EXPECT_GT(Loud(ReadFile(output_), 0, 1000), 1000u);
}

TEST_F(DiskAudio, ManyAsynchronousEffectsMixWithoutFailing) {
  WorkingDir cwd(NOVA_SOUND_DIR);
  StdoutCapture out;
  InitSound(true);
  // More at once than there are channels: the oldest give way, none is reported lost.
  for (int i = 0; i < 1000; ++i) PlaySoundEvent(i % 3 == 0 ? BOOM : FIRE);
  for (auto end = Clock::now() + std::chrono::seconds(5);
       Loud(ReadFile(output_), 0, 1000) <= 1000 && Clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  player_.Close();
  EXPECT_EQ(out.Text(), "\n");
  EXPECT_GT(Loud(ReadFile(output_), 0, 1000), 1000u);
}

TEST_F(DiskAudio, MissingFileIsReportedInThreeLinesEveryTimeUntilItAppears) {
  WorkingDir cwd(dir_.path());
  StdoutCapture out;
  InitSound(true);
  PlaySoundEvent(BOOM);
  PlaySoundEvent(BOOM);
  fs::copy_file(fs::path(NOVA_SOUND_DIR) / "boom.wav", dir_.path() / "boom.wav");
  PlaySoundEvent(BOOM);
  fs::resize_file(dir_.path() / "boom.wav", 10);  // unreadable now, but already loaded
  PlaySoundEvent(BOOM);
  std::ofstream(dir_.path() / "start.wav") << "not a sound";
  PlaySoundEvent(START);
  // A value outside the enumeration must not read past the table.
  PlaySoundEvent(static_cast<SoundEventEn>(7));
  PlaySoundEvent(static_cast<SoundEventEn>(255));
  EXPECT_EQ(out.Text(),
            "\n" + FailureLines("boom.wav") + FailureLines("boom.wav") + FailureLines("start.wav"));
  EXPECT_TRUE(player_.DeviceOpen());
  EXPECT_TRUE(IsActive());  // failures do not switch the sound off

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
  for (int i = 0; i < 100; ++i) PlaySoundEvent(FIRE);
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(player.Play("fire.wav", SND_FILENAME | SND_ASYNC));
  const std::string err = testing::internal::GetCapturedStderr();
  std::string expected = "\n";
  for (int i = 0; i < 100; ++i) expected += FailureLines("fire.wav");
  EXPECT_EQ(out.Text(), expected);
  EXPECT_EQ(player.DeviceOpenAttempts(), 1);
  EXPECT_EQ(err, "nova-gunner: no sound: the audio device cannot be opened: " + player.LastError() +
                     "\n");
}

}  // namespace
}  // namespace StandardSound
