// NovaGunner: the game module. Objects and pools, drawing by kind, movement, hits,
// the status panel, the game loop, sprites, big letters, screens and program start.
// Module state lives in plain globals, as the game has always kept it; pools are
// numbered from 1 (slot 0 is never used).
#pragma once

#include <cstdint>

namespace NovaGunner {

using INTEGER = std::int32_t;
using CARDINAL = std::uint32_t;

struct Object {
  INTEGER x;
  INTEGER y;
  INTEGER length;
  INTEGER height;
  INTEGER id;
  INTEGER step;
  INTEGER damage;
  INTEGER hitpoints;
  INTEGER direction;
  INTEGER directionchanger;
  INTEGER directionchangerY;
  INTEGER directionY;
  INTEGER tijdkogels;
  INTEGER showtime;
  INTEGER explosiecounter;
};

// Kind codes in Object::id.
inline constexpr INTEGER ID_SHIP = 1;
inline constexpr INTEGER ID_ENEMY = 2;
inline constexpr INTEGER ID_BOSS = 3;
inline constexpr INTEGER ID_BULLET = 101;
inline constexpr INTEGER ID_BOMB = 102;
inline constexpr INTEGER ID_ENEMYSHOT = 103;
inline constexpr INTEGER ID_BULLETBOX = 201;
inline constexpr INTEGER ID_BOMBBOX = 202;
inline constexpr INTEGER ID_SHIELDBOX = 203;

inline constexpr int MAXTHEM = 300;
inline constexpr int MAXBOX = 200;
inline constexpr int MAXPROJ = 2000;

extern Object you;
extern Object bigboss;
extern Object them[MAXTHEM + 1];
extern Object box[MAXBOX + 1];
extern Object kogel[MAXPROJ + 1];
extern Object raket[MAXPROJ + 1];
extern Object themkogel[MAXPROJ + 1];

extern CARDINAL score;
extern bool quit;
extern bool gameover;
extern bool win;

extern CARDINAL bitmapyou;
extern CARDINAL bitmapyououtro;
extern CARDINAL bitmapthem;
extern CARDINAL bitmapthemoutro;
extern CARDINAL bitmapbigboss;
extern CARDINAL bitmapschildbox;
extern CARDINAL bitmapkogelbox;
extern CARDINAL bitmapraketbox;
extern CARDINAL bitmapraket;
extern CARDINAL bitmapexplosie;

// Colour that the big letters paint into their background cells.
extern CARDINAL COLOR;

// Puts every global of the module back to its state at program start (tests).
void ResetForTests();

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

// ---- Screens ----
void Intro();
void HelpScherm();
void GameOverScreen();
void WinScreen();
void Outro();

// ---- Program start and menu ----
void Sound();
void Hoofd();
CARDINAL OptionsScreen();
// The body of the module: start to end of one normal run. Returns the exit status.
int Body();
// Its parts that replays share: the modules started, each after those it uses; the
// window opened (or the console told it cannot be); the eight sprite images built.
void StartModules();
bool OpenWindow();
void BuildSprites();

}  // namespace NovaGunner
