// Game events to sound files, handed to the player the module was started on.
#include "support/StandardSound.h"

#include <cstring>

#include "console/IO.h"

namespace StandardSound {

namespace {

constexpr int kEvents = START + 1;
constexpr const char* kFileNames[kEvents] = {"missile.wav", "boom.wav",    "fire.wav", "outro.wav",
                                             "intro.wav",   "powerup.wav", "start.wav"};

bool gActive = false;
SoundRc gSoundList[kEvents] = {};
SoundPlayer* gPlayer = nullptr;

}  // namespace

void Init(SoundPlayer& player) {
  gPlayer = &player;
  gActive = false;
  std::memset(gSoundList, 0, sizeof gSoundList);
}

bool InitSound(bool asynchronousSound) {
  const std::uint32_t flags = (asynchronousSound ? SND_ASYNC : SND_SYNC) + SND_FILENAME;
  IO::WrLn();
  for (int e = 0; e < kEvents; ++e) {
    std::strncpy(gSoundList[e].fileName, kFileNames[e], sizeof gSoundList[e].fileName - 1);
    gSoundList[e].soundFlag = flags;
  }
  gActive = gPlayer != nullptr;
  if (gActive) gPlayer->Prepare(std::vector<std::string>(kFileNames, kFileNames + kEvents));
  return true;
}

void PlaySoundEvent(SoundEventEn e) {
  // An out-of-range value would index past the table.
  if (!gActive || e >= kEvents) return;
  const SoundRc& entry = gSoundList[e];
  if (!gPlayer->Play(entry.fileName, entry.soundFlag)) {
    IO::WrStr("Sound ERROR : it seems it was not possible to play the sound");
    IO::WrLn();
    IO::WrStr("       file need here! ");
    IO::WrStr(entry.fileName);
    IO::WrLn();
    IO::WrStr("       Check whether you have to file AND it is at the good place");
    IO::WrLn();
  }
}

}  // namespace StandardSound
