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
  RecordingPlayer player_;
};

TEST_F(StandardSoundTest, EventsBeforeInitSoundAreSilent) {
  player_.result = false;
  StdoutCapture out;
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(out.Text(), "");
  EXPECT_TRUE(player_.calls.empty());
  EXPECT_FALSE(IsActive());
}

TEST_F(StandardSoundTest, InitSoundFillsTheTableAndWritesOneEmptyLine) {
  // No sound file exists in a fresh directory: the start does not look at them.
  soundtest::ScratchDir dir;
  soundtest::WorkingDir cwd(dir.path());
  StdoutCapture out;
  EXPECT_TRUE(InitSound(true));
  EXPECT_EQ(out.Text(), "\n");
  const char* names[] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                         "intro.wav",   "powerup.wav", "start.wav"};
  for (SoundEventEn e : kAll) {
    EXPECT_STREQ(SoundEntry(e).fileName, names[e]);
    EXPECT_EQ(SoundEntry(e).soundFlag, 0x20001u);
  }
  EXPECT_STREQ(SoundEntry(POWERUPSOUND).fileName, "powerup.wav");

  StdoutCapture again;
  EXPECT_TRUE(InitSound(false));
  EXPECT_EQ(again.Text(), "\n");
  for (SoundEventEn e : kAll) EXPECT_EQ(SoundEntry(e).soundFlag, 0x20000u);
}

TEST_F(StandardSoundTest, EventsHandTheirEntryToThePlayer) {
  StdoutCapture out;
  InitSound(true);
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(out.Text(), "\n");
  ASSERT_EQ(player_.calls.size(), 7u);
  for (SoundEventEn e : kAll) {
    EXPECT_EQ(player_.calls[e].fileName, SoundEntry(e).fileName);
    EXPECT_EQ(player_.calls[e].flags, 0x20001u);
  }
}

TEST_F(StandardSoundTest, FailedPlayWritesThreeLinesEveryTime) {
  player_.result = false;
  InitSound(true);
  StdoutCapture out;
  PlaySoundEvent(FIRE);
  PlaySoundEvent(FIRE);
  PlaySoundEvent(POWERUPSOUND);
  EXPECT_EQ(out.Text(),
            FailureLines("fire.wav") + FailureLines("fire.wav") + FailureLines("powerup.wav"));
  EXPECT_TRUE(IsActive());
}

TEST_F(StandardSoundTest, SilenceHoldsEvenAfterInitSound) {
  Silence();
  StdoutCapture out;
  EXPECT_TRUE(InitSound(true));
  for (SoundEventEn e : kAll) PlaySoundEvent(e);
  EXPECT_EQ(out.Text(), "\n");
  EXPECT_TRUE(player_.calls.empty());
}

TEST_F(StandardSoundTest, OutOfRangeEventIsIgnored) {
  player_.result = false;
  StdoutCapture out;
  InitSound(true);
  PlaySoundEvent(static_cast<SoundEventEn>(7));
  PlaySoundEvent(static_cast<SoundEventEn>(255));
  EXPECT_EQ(out.Text(), "\n");
  EXPECT_TRUE(player_.calls.empty());
}

}  // namespace
}  // namespace StandardSound
