// Game events to sound files, handed to the current SoundPlayer.
#include "support/StandardSound.h"

#include <cstring>

#include "console/IO.h"
#include "support/SdlMixerPlayer.h"

namespace StandardSound {

namespace {

constexpr int kEvents = START + 1;
constexpr const char* kFileNames[kEvents] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                                             "intro.wav",   "powerup.wav", "start.wav"};

bool gActive = false;
// --nosound: kept apart from gActive so that a later InitSound cannot switch sound back on.
bool gSilenced = false;
SoundRc gSoundList[kEvents] = {};
SoundPlayer* gPlayer = nullptr;

SoundPlayer& Player() {
  return gPlayer != nullptr ? *gPlayer : DefaultSoundPlayer();
}

}  // namespace

void SetSoundPlayer(SoundPlayer* player) {
  gPlayer = player;
}

void Silence() {
  gSilenced = true;
}

// IO and Lib are started by the program body before this module; nothing to do here.
void Init() {}

bool InitSound(bool asynchronousSound) {
  const std::uint32_t flags = (asynchronousSound ? SND_ASYNC : SND_SYNC) + SND_FILENAME;
  IO::WrLn();
  for (int e = 0; e < kEvents; ++e) {
    std::strncpy(gSoundList[e].fileName, kFileNames[e], sizeof gSoundList[e].fileName - 1);
    gSoundList[e].soundFlag = flags;
  }
  gActive = true;
  if (!gSilenced) Player().Prepare(std::vector<std::string>(kFileNames, kFileNames + kEvents));
  return true;
}

void PlaySoundEvent(SoundEventEn e) {
  // An out-of-range value would index past the table.
  if (!gActive || gSilenced || e >= kEvents) return;
  const SoundRc& entry = gSoundList[e];
  if (!Player().Play(entry.fileName, entry.soundFlag)) {
    IO::WrStr("Sound ERROR : it seems it was not possible to play the sound");
    IO::WrLn();
    IO::WrStr("       file need here! ");
    IO::WrStr(entry.fileName);
    IO::WrLn();
    IO::WrStr("       Check whether you have to file AND it is at the good place");
    IO::WrLn();
  }
}

const SoundRc& SoundEntry(SoundEventEn e) {
  return gSoundList[e < kEvents ? e : 0];
}

bool IsActive() {
  return gActive && !gSilenced;
}

void Reset() {
  gActive = false;
  gSilenced = false;
  std::memset(gSoundList, 0, sizeof gSoundList);
}

}  // namespace StandardSound
