// Sound events: the on/off state, the table, the console lines of a failed play.
#include <gtest/gtest.h>

#include "support/SdlMixerPlayer.h"
#include "support/StandardSound.h"
#include "tests/support/SoundTestSupport.h"

namespace StandardSound {
namespace {

using soundtest::FailureLines;
using soundtest::StdoutCapture;

constexpr SoundEventEn kAll[] = {MISSILE, BOOM, FIRE, OUTRO, INTRO, POWERUPSOUND, START};

class StandardSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    SetSoundPlayer(&player_);
  }
  void TearDown() override {
    SetSoundPlayer(nullptr);
    Reset();
  }
  RecordingPlayer player_{false};
};

TEST_F(StandardSoundTest, EventsAreSilentBeforeInitSoundAndAfterSilence) {
  StdoutCapture out;
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(out.Text(), "");
  EXPECT_FALSE(IsActive());

  StdoutCapture silenced;
  Silence();  // --nosound: InitSound still runs as usual, events stay silent
  EXPECT_TRUE(InitSound(true));
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(silenced.Text(), "\n");
  EXPECT_TRUE(player_.calls.empty());
}

TEST_F(StandardSoundTest, InitSoundFillsTheTableAndWritesOneEmptyLine) {
  // No sound file exists in a fresh directory: the start does not look at them.
  soundtest::ScratchDir dir;
  soundtest::WorkingDir cwd(dir.path());
  player_.result = true;
  StdoutCapture out;
  EXPECT_TRUE(InitSound(true));
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(out.Text(), "\n");
  const char* names[] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                         "intro.wav",   "powerup.wav", "start.wav"};
  ASSERT_EQ(player_.calls.size(), 7u);
  for (SoundEventEn e : kAll) {
    EXPECT_STREQ(SoundEntry(e).fileName, names[e]);
    EXPECT_EQ(SoundEntry(e).soundFlag, 0x20001u);
    EXPECT_EQ(player_.calls[e].fileName, names[e]);
    EXPECT_EQ(player_.calls[e].flags, 0x20001u);
  }

  StdoutCapture again;
  EXPECT_TRUE(InitSound(false));
  EXPECT_EQ(again.Text(), "\n");
  for (SoundEventEn e : kAll) EXPECT_EQ(SoundEntry(e).soundFlag, 0x20000u);
}

TEST_F(StandardSoundTest, FailedPlayWritesThreeLinesEveryTime) {
  StdoutCapture out;
  InitSound(true);
  PlaySoundEvent(FIRE);
  PlaySoundEvent(FIRE);
  PlaySoundEvent(POWERUPSOUND);
  // A value outside the enumeration must not read past the table.
  PlaySoundEvent(static_cast<SoundEventEn>(7));
  PlaySoundEvent(static_cast<SoundEventEn>(255));
  EXPECT_EQ(out.Text(), "\n" + FailureLines("fire.wav") + FailureLines("fire.wav") +
                            FailureLines("powerup.wav"));
  EXPECT_EQ(player_.calls.size(), 3u);
  EXPECT_TRUE(IsActive());
}

}  // namespace
}  // namespace StandardSound
