// The game's start and the menu: one whole session, from the modules' start through the
// introduction and the menu to at most one play (more with --again) and its ending screens.
#include "game/Session.h"

#include <utility>

#include "console/IO.h"
#include "console/Lib.h"
#include "game/NovaGunner.h"
#include "graph/Graph.h"
#include "support/StandardLib.h"
#include "support/StandardSound.h"

namespace NovaGunner {

namespace {

// Choice codes of the menu.
constexpr CARDINAL PLAY = 1;
constexpr CARDINAL HELP = 2;
constexpr CARDINAL LEAVE = 3;

constexpr IO::CHAR ESC = 27;
constexpr IO::CHAR ENTER = 13;
constexpr IO::CHAR LOWER_H = 104;

}  // namespace

void Sound() {
  if (!StandardSound::InitSound(true)) {
    IO::WrStr(" Unable to init sound, program will run without sounds");
  }
}

CARDINAL OptionsScreen() {
  static constexpr TitleLetter kTitle[] = {
      {letterN, 400}, {letterO, 440}, {letterV, 480}, {letterA, 520}, {letterG, 660},
      {letterU, 700}, {letterN, 740}, {letterN, 780}, {letterE, 820}, {letterR, 860}};
  COLOR = 9;

  PaintScreen(9);
  DrawTitle(kTitle, 50);

  Graph::RawOutText(450, 400, 15, " First of all, choose the option you want to: ");
  Graph::RawOutText(450, 450, 15, " 1. <ENTER>   Play the game!! ");
  Graph::RawOutText(450, 500, 15, " 2. <H>       Go to the help file/tutorial. ");
  Graph::RawOutText(450, 550, 15, " 3. <ESC>     Chicken out.... ");

  for (;;) {
    if (!IO::KeyPressed()) continue;
    const IO::CHAR k = IO::RdKey();
    if (k == ESC) return LEAVE;
    if (k == ENTER) return PLAY;
    if (k == LOWER_H) return HELP;
    WrongKeyReply(1000);
  }
}

void Hoofd() {
  for (;;) {
    const CARDINAL c = OptionsScreen();
    if (c == PLAY) {
      StandardSound::PlaySoundEvent(StandardSound::START);
      return;
    }
    if (c == HELP) {
      HelpScherm();
      continue;
    }
    quit = true;
    return;
  }
}

bool StartUp(const Services& services, const StartOptions& options) {
  Lib::Init(*services.clock);
  IO::Init(*services.keys, options.keys);
  services.sounds->SetVolume(options.volume);
  StandardSound::Init(*services.sounds);
  StandardLib::Init(play.random);
  World::Init(options.watcher);
  if (options.game) IO::WrLn();
  NewPlay();
  // The window's keys go to IO (with options.window.windowKeys alone), unless the run
  // takes them itself.
  Graph::WindowOptions window = options.window;
  if (!window.keySink) window.keySink = IO::PushKey;
  window.muteSink = [sounds = services.sounds](bool muted) { sounds->Mute(muted); };
  if (Graph::Init(1, 1, 1024, 700, services.window, std::move(window))) return true;
  IO::WrStr("Sorry, graphics doesn't work");
  IO::WrLn();
  return false;
}

void BuildSprites() {
  InitYou();
  InitThem();
  InitBigboss();
  InitSchildbox();
  InitKogelbox();
  InitRaketbox();
  InitRaket();
  InitExplode();
}

namespace {

// The menu and its plays, from the menu (or, with played, from the end of a play).
void Plays(bool again, bool played) {
  for (bool first = true;; first = false, played = true) {
    if (!first || !played) {
      Hoofd();
      if (quit && !played) {
        IO::WrStr(" Quiting program.... you Don't know What your Missing Though...");
        return;
      }
      if (quit) break;

      Background();
      Run();
    }
    Lib::Delay(1000);
    if (gameover) {
      IO::WrStr("You lose");
      GameOverScreen();
    } else if (win) {
      IO::WrStr("You win!!!");
      WinScreen();
    }
    if (!again) break;
    IO::WrLn();  // the next play's text, and its trace, start on a line of their own
    NewPlay();
  }
  Lib::Delay(1900);
  Outro();
}

}  // namespace

void Session(bool again) {
  Sound();
  BuildSprites();
  Intro();
  Plays(again, false);
}

void SessionAfterPlay(bool again) {
  Plays(again, true);
}

}  // namespace NovaGunner
