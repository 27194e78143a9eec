// The game's data: its objects, their kinds, the pools' sizes, and the two plain structs
// of module state. Only types: the state itself lives in the play (Play.h) and the
// sprites (NovaGunner.h).
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

// The game's variables, zero at program start.
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

}  // namespace NovaGunner
