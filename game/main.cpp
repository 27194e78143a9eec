// Entry point: without options the game as it always was; options add replays.
#include "game/NovaGunner.h"
#include "game/Replay.h"

int main(int argc, char** argv) {
  if (argc <= 1) return NovaGunner::Body();
  return NovaGunner::Replay::Main(argc, argv);
}
