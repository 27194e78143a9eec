// NovaGunner: the game module. Objects and pools, drawing by kind, movement, hits,
// the status panel, the game loop, sprites, big letters, screens and the menu.
// Module state lives in two plain structs (Game.h): Game, a part of the play (Play.h), and
// Sprites; each field is reached by its own name through a reference. Pools are numbered
// from 1 (slot 0 is never used).
#pragma once

#include <span>

#include "game/Game.h"
#include "game/Play.h"

namespace NovaGunner {

inline Sprites sprites;  // built once per run (BuildSprites), kept across plays

// The fields by name. The bindings are constants: a use compiles to the field itself.
inline Object& you = play.game.you;
inline Object& bigboss = play.game.bigboss;
inline Object (&them)[MAXTHEM + 1] = play.game.them;
inline Object (&box)[MAXBOX + 1] = play.game.box;
inline Object (&kogel)[MAXPROJ + 1] = play.game.kogel;
inline Object (&raket)[MAXPROJ + 1] = play.game.raket;
inline Object (&themkogel)[MAXPROJ + 1] = play.game.themkogel;
inline CARDINAL& score = play.game.score;
inline bool& quit = play.game.quit;
inline bool& gameover = play.game.gameover;
inline bool& win = play.game.win;
inline CARDINAL& COLOR = play.game.COLOR;

inline CARDINAL& bitmapyou = sprites.bitmapyou;
inline CARDINAL& bitmapyououtro = sprites.bitmapyououtro;
inline CARDINAL& bitmapthem = sprites.bitmapthem;
inline CARDINAL& bitmapthemoutro = sprites.bitmapthemoutro;
inline CARDINAL& bitmapbigboss = sprites.bitmapbigboss;
inline CARDINAL& bitmapschildbox = sprites.bitmapschildbox;
inline CARDINAL& bitmapkogelbox = sprites.bitmapkogelbox;
inline CARDINAL& bitmapraketbox = sprites.bitmapraketbox;
inline CARDINAL& bitmapraket = sprites.bitmapraket;
inline CARDINAL& bitmapexplosie = sprites.bitmapexplosie;

// ---- Objects: starting values and drawing by kind ----
void InitObjects();  // the set-up of starting values, with its random draws in order
void Go(Object obj, bool b);
void You(Object obj, bool b);
void Them(Object obj, bool b);
void Bigboss(Object obj, bool b);
void Kogel(Object obj, bool b);
void Raket(Object obj, bool b);
void ThemKogel(Object obj, bool b);
void KogelBox(Object obj, bool b);
void RaketBox(Object obj, bool b);
void SchildBox(Object obj, bool b);

// ---- Sprites ----
void InitYou();
void InitThem();
void InitBigboss();
void InitSchildbox();
void InitKogelbox();
void InitRaketbox();
void InitRaket();
void InitExplode();
// The eight sprite images built.
void BuildSprites();

// ---- Movement ----
CARDINAL RdArrowKey();
void Moveself(Object& you);
void Moveauto(Object& obj);
bool Shoot(Object& proj);
bool ThemShoot(Object& shot);
bool BoxDrop(Object& b);

// ---- Hits, damage, explosions, status panel ----
bool Hit(Object proj, Object obj);
bool Crash(Object small, Object big);
bool Weaken(Object& obj, Object proj);
void Explode(Object& obj);
void Score(CARDINAL& score);
void DrawHitpoints(INTEGER hitpoints);
void DrawKogels(INTEGER kogelsover);
void DrawRaketten(INTEGER rakettenover);
void Background();
// The grey status panel on the left and the field beside it in colour field.
void PaintScreen(CARDINAL field);

// ---- The game loop ----
void Run();

// ---- Big letters ----
void letterA(Object a, bool b);
void letterE(Object e, bool b);
void letterG(Object g, bool b);
void letterI(Object i, bool b);
void letterM(Object m, bool b);
void letterY(Object y, bool b);
void letterW(Object w, bool b);
void letterN(Object n, bool b);
void letterO(Object o, bool b);
void letterR(Object r, bool b);
void letterV(Object v, bool b);
void letterU(Object u, bool b);

// One big letter of a title and the column it stands at.
struct TitleLetter {
  void (*draw)(Object, bool);
  INTEGER x;
};
// Draws the letters of a title, in order, on the row at y.
void DrawTitle(std::span<const TitleLetter> title, INTEGER y);

// ---- Screens ----
void Intro();
void HelpScherm();
void GameOverScreen();
void WinScreen();
void Outro();
// The reply to a key the menu or the help page does not know: shown for ms, then
// painted over with the background colour.
void WrongKeyReply(CARDINAL ms);

// ---- The menu ----
void Sound();
void Hoofd();
CARDINAL OptionsScreen();

}  // namespace NovaGunner
