// NovaGunner: the game module. Objects and pools, drawing by kind, movement, hits,
// the status panel, the game loop, sprites, big letters, screens and program start.
// Module state lives in two plain structs, Game and Sprites, each field reached by its
// own name through a reference; pools are numbered from 1 (slot 0 is never used).
#pragma once

#include <cstdint>

#include "graph/WindowOptions.h"

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

// The module's state, zero at program start. Each part is put back by assigning it a
// fresh value, so a field added here is reset with the rest.
struct Game {
  Object you;
  Object bigboss;
  Object them[MAXTHEM + 1];
  Object box[MAXBOX + 1];
  Object kogel[MAXPROJ + 1];
  Object raket[MAXPROJ + 1];
  Object themkogel[MAXPROJ + 1];
  CARDINAL score;
  bool quit;
  bool gameover;
  bool win;
  // Colour that the big letters paint into their background cells.
  CARDINAL COLOR;
};

// Image handles of the sprites, 0 until they are built.
struct Sprites {
  CARDINAL bitmapyou;
  CARDINAL bitmapyououtro;
  CARDINAL bitmapthem;
  CARDINAL bitmapthemoutro;
  CARDINAL bitmapbigboss;
  CARDINAL bitmapschildbox;
  CARDINAL bitmapkogelbox;
  CARDINAL bitmapraketbox;
  CARDINAL bitmapraket;
  CARDINAL bitmapexplosie;
};

inline Game game;
inline Sprites sprites;

// The fields by name. The bindings are constants: a use compiles to the field itself.
inline Object& you = game.you;
inline Object& bigboss = game.bigboss;
inline Object (&them)[MAXTHEM + 1] = game.them;
inline Object (&box)[MAXBOX + 1] = game.box;
inline Object (&kogel)[MAXPROJ + 1] = game.kogel;
inline Object (&raket)[MAXPROJ + 1] = game.raket;
inline Object (&themkogel)[MAXPROJ + 1] = game.themkogel;
inline CARDINAL& score = game.score;
inline bool& quit = game.quit;
inline bool& gameover = game.gameover;
inline bool& win = game.win;
inline CARDINAL& COLOR = game.COLOR;

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

// Puts the whole module back to its state at program start: the play, the sprite
// handles, and the game loop's state and hooks (tests).
void ResetState();

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
// The body of the module: start to end of one normal run, the window as StartUp opens it.
// Returns the exit status.
int Body(bool again = false, Graph::WindowSystemKind system = Graph::WindowSystemKind::Sdl,
         const Graph::WindowOptions& window = {});
// The start every run shares, once Lib and IO have started on the run's clock and keys:
// the other modules started, each after those it uses (for the game, then an empty
// console line), the starting values set, the window opened on the window system given, as
// the options say. FALSE, with the console told, when the window cannot be.
bool StartUp(bool game, Graph::WindowSystemKind system = Graph::WindowSystemKind::Sdl,
             const Graph::WindowOptions& window = {});
// The eight sprite images built.
void BuildSprites();

}  // namespace NovaGunner
