// StandardSound: game events to short sounds, played by the player the module starts on.
#pragma once

#include <cstdint>

#include "support/SoundPlayer.h"

namespace StandardSound {

enum SoundEventEn : std::uint8_t { MISSILE, BOOM, FIRE, OUTRO, INTRO, POWERUPSOUND, START };

struct SoundRc {
  char fileName[100];
  std::uint32_t soundFlag;
};

// Starts the module on player, which must outlive its use: events are off and the table
// empty until InitSound. Before the first start events do nothing.
void Init(SoundPlayer& player);
bool InitSound(bool asynchronousSound);
void PlaySoundEvent(SoundEventEn e);

}  // namespace StandardSound
