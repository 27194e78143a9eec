// The screens around the play: the story crawl, the help page, the lost and won
// screens and the closing credits. Each paints the window from scratch, runs its
// sequence to the end and leaves the window as its last step drew it.
#include <cstddef>

#include "console/IO.h"
#include "console/Lib.h"
#include "console/WholeStr.h"
#include "game/NovaGunner.h"
#include "graph/Graph.h"
#include "support/StandardSound.h"

namespace NovaGunner {

namespace {

constexpr IO::CHAR ESC = 27;

struct TextLine {
  CARDINAL x;
  CARDINAL y;
  const char* text;
};

// The story, one line every 50 pixels below the crawl's moving top.
constexpr TextLine kStory[] = {
    {400, 50, " Welcome to Nova Gunner!!! "},
    {278, 100, " The year is 3512 and Planet Earth is on the edge of destruction.. "},
    {280, 150, " The evil Dr. Orvath has got a very evil plan to whipe us all out."},
    {264, 200, " All American Special Forces have tried to stop him.. but they all failed"},
    {370, 250, " Now, hope lies only with one man..."},
    {290, 300, " The biggest nerd on earth has got to try and stop Dr. Orvath "},
    {220, 350,
     " We hope you are up for the job because you are about to get thrown into the "
     "action..."},
    {380, 400, " If you are too chicken to play..."},
    {335, 450, " you shouldn't have gotten yourself into this!! "},
    {430, 500, " Enough talking..."},
    {362, 550, " Press any key and LETS GET IT ON!!!!!!"},
};

constexpr TextLine kHelp[] = {
    {22, 25, " Welcome to the help section! "},
    {8, 350, " Press ESC to quit help at any time."},
    {16, 375, " During game press ESC to quit"},
    {450, 25, " This is the goal of the game, and how to play it: "},
    {300, 75, " The goal is easy: kill all enemies, and stay alive "},
    {300, 125, " Press spacebar to shoot with bullets. "},
    {300, 150, " Pressing 0 will throw a bomb, a bomb can kill an enemy in one strike!! "},
    {450, 225, " This is you. Use the arrow keys to move yourself through space. "},
    {450, 300, " These are the enemies. Try to kill them, and make sure they don't get you! "},
    {450, 375, " This is a Shieldbox. Try to catch it, it will increase your shields. =)"},
    {450, 395, " Do not shoot it and make sure the enemy doesn't get it. "},
    {450, 470, " this is a Bulletbox. Try to catch it, it will give you extra ammo. "},
    {450, 490, " Watch out: Shooting it equals destroying it!! "},
    {450, 565, " Bomb-box. Definitely get them, they will give you extra bombs. "},
    {450, 585, " They are very rare so take your chance as they appear. "},
    {450, 605, " Again: Don't shoot it, they are very valuable! "},
};
// The enemies line of the help page, partly under the wrong-key reply's erase area.
constexpr std::size_t kHelpEnemiesLine = 8;

// The rolling credits, each at its offset below the roll's moving top.
constexpr TextLine kCredits[] = {
    {465, 100, " Written in C++ for Linux by the Nova Gunner developers "},
    {300, 150, " Graphics, console, sound, world and screens: the Nova Gunner developers "},
    {480, 200, " Thanks to the computers of our faculty "},
    {535, 250, " Thanks to our teacher "},
    {495, 400, " And you for playing this magnificent game!! "},
};

constexpr char kFarewell[] = "We Hope you enjoyed playing Nova Gunner\xAE !!";

void Write(const TextLine& line, CARDINAL top, CARDINAL colour) {
  Graph::RawOutText(line.x, top + line.y, colour, line.text);
}

// Both result screens: the left panel, a black field, the word in big letters.
void ResultScreen(std::span<const TitleLetter> word) {
  COLOR = 0;
  PaintScreen(0);
  DrawTitle(word, 320);
  Graph::RawOutText(520, 520, 15, " press any key to continue ");
  IO::NewPrompt();
  IO::RdKey();
}

}  // namespace

void WrongKeyReply(CARDINAL ms) {
  Graph::RawOutText(450, 310, 9, "The Alfabet Realy Isn't THAT Hard Is It?");
  Lib::Delay(ms);
  Graph::Rectangle(420, 300, 800, 350, 9, true);
}

void Intro() {
  Graph::Rectangle(0, 0, 1024, 700, 0, true);
  Lib::Delay(750);
  StandardSound::PlaySoundEvent(StandardSound::INTRO);
  Lib::Delay(1500);
  Graph::RawOutText(10, 650, 15, " press ESC to skip intro ");

  bool skip = false;
  for (CARDINAL k = 700; k >= 1; --k) {
    if (IO::KeyPressed()) {
      if (IO::RdKey() == ESC) skip = true;
    }
    if (!skip) {
      Graph::Rectangle(215, 0, 1024, 700, 0, true);
      for (const TextLine& line : kStory) Write(line, k, 15);
      Lib::Delay(40);
    }
  }
  if (!skip) {
    IO::RdKey();
    Graph::Rectangle(0, 0, 1024, 700, 9, true);
  }
}

void HelpScherm() {
  PaintScreen(9);
  for (const TextLine& line : kHelp) Write(line, 0, 15);

  Graph::PutImage(350, 222, bitmapyououtro, Graph::_GPSET);
  Graph::PutImage(350, 297, bitmapthemoutro, Graph::_GPSET);
  Graph::PutImage(350, 373, bitmapschildbox, Graph::_GPSET);
  Graph::PutImage(350, 468, bitmapkogelbox, Graph::_GPSET);
  Graph::PutImage(350, 563, bitmapraketbox, Graph::_GPSET);

  for (;;) {
    if (!IO::KeyPressed()) continue;
    const IO::CHAR z = IO::RdKey();
    if (z == ESC) return;
    WrongKeyReply(1500);
    // The erase area cuts through the enemies line: write it again so the page
    // stays as it was.
    Write(kHelp[kHelpEnemiesLine], 0, 15);
  }
}

void GameOverScreen() {
  static constexpr TitleLetter kGameOver[] = {{letterG, 420}, {letterA, 460}, {letterM, 500},
                                              {letterE, 540}, {letterO, 660}, {letterV, 700},
                                              {letterE, 740}, {letterR, 780}};
  ResultScreen(kGameOver);
}

void WinScreen() {
  static constexpr TitleLetter kYouWin[] = {{letterY, 460}, {letterO, 500}, {letterU, 540},
                                            {letterW, 660}, {letterI, 700}, {letterN, 740}};
  ResultScreen(kYouWin);
}

void Outro() {
  char scoreText[100];
  WholeStr::CardToStr(score, scoreText);

  StandardSound::PlaySoundEvent(StandardSound::OUTRO);
  PaintScreen(9);
  Graph::RawOutText(55, 500, 10, "Makers:");
  Graph::RawOutText(42, 520, 10, "\"Nova Gunner developers\"");
  Graph::RawOutText(30, 50, 10, " !!! Your Final Score !!! ");
  Graph::RawOutText(90, 70, 10, scoreText);
  Lib::Delay(2000);

  for (INTEGER k = 700; k > 0; k -= 3) {
    Graph::Rectangle(250, 0, 1024, 700, 9, true);
    for (const TextLine& line : kCredits) Write(line, k, 15);
    Graph::PutImage(580, k + 320, bitmapyououtro, Graph::_GPSET);
    Graph::PutImage(680, k + 320, bitmapthemoutro, Graph::_GPSET);
    Lib::Delay(40);
  }

  Lib::Delay(4000);
  Graph::Rectangle(0, 0, 1024, 700, 9, true);
  Lib::Delay(40);

  Graph::RawOutText(390, 310, 14, kFarewell);
  Lib::Delay(750);
  Graph::Rectangle(300, 300, 850, 450, 9, true);
  Lib::Delay(750);
  Graph::RawOutText(390, 310, 14, kFarewell);
  Lib::Delay(4000);
  Graph::Rectangle(300, 300, 850, 450, 9, true);

  Graph::RawOutText(400, 310, 15, " Press a key trice to stop the program. ");
  IO::WrStr("Press any key 3 times to finish the program");
  IO::NewPrompt();
  for (int key = 0; key < 3; ++key) {
    IO::RdKey();
    IO::WrLn();
    IO::RdLn();
  }
}

}  // namespace NovaGunner
