// Sound events: the on/off state and what each event plays.
#include <gtest/gtest.h>

#include "support/SdlMixerPlayer.h"
#include "tests/support/SoundTestSupport.h"

namespace StandardSound {
namespace {

constexpr SoundEventEn kAll[] = {MISSILE, BOOM, FIRE, OUTRO, INTRO, POWERUPSOUND, START};

class StandardSoundTest : public ::testing::Test {
 protected:
  RecordingPlayer player_{false};
  soundtest::Installed installed_{player_};
};

TEST_F(StandardSoundTest, EventsAreSilentBeforeInitSoundAndAfterSilence) {
  EXPECT_EQ(CaptureStdout([] {
              for (SoundEventEn e : kAll) PlaySoundEvent(e);
            }),
            "");
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
  soundtest::WorkingDir cwd(dir.path());
  player_.result = true;
  const char* names[] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                         "intro.wav",   "powerup.wav", "start.wav"};
  for (bool async : {true, false}) {
    player_.calls.clear();
    EXPECT_EQ(CaptureStdout([&] {
                EXPECT_TRUE(InitSound(async));
                for (SoundEventEn e : kAll) PlaySoundEvent(e);
              }),
              "\n");
    ASSERT_EQ(player_.calls.size(), 7u);
    for (SoundEventEn e : kAll) {
      EXPECT_EQ(player_.calls[e].fileName, names[e]);
      EXPECT_EQ(player_.calls[e].flags, async ? 0x20001u : 0x20000u);
    }
  }
}

}  // namespace
}  // namespace StandardSound
