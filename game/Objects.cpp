// The game's objects and pools, their starting values and drawing by kind.
#include "game/NovaGunner.h"
#include "graph/Graph.h"
#include "support/StandardLib.h"

namespace NovaGunner {

namespace {

INTEGER Draw(CARDINAL min, CARDINAL max) {
  return static_cast<INTEGER>(StandardLib::RandomCard(min, max));
}

// Image kinds are erased with one black rectangle over their box; `extra` is how far
// below the box the rectangle reaches (the bomb reaches one pixel less than the rest).
void PutOrErase(const Object& obj, bool b, CARDINAL image, INTEGER extra) {
  if (b) {
    Graph::PutImage(obj.x, obj.y, image, Graph::_GPSET);
  } else {
    Graph::Rectangle(obj.x, obj.y, obj.x + obj.length + 1, obj.y + obj.height + extra, 0, true);
  }
}

// A line covers rows y down to y - height + 1.
void LineShot(const Object& obj, bool b, CARDINAL colour) {
  Graph::Line(obj.x, obj.y, obj.x, obj.y - obj.height, b ? colour : 0);
}

}  // namespace

void InitObjects() {
  you = Object{};
  you.x = 637;
  you.y = 350;
  you.length = 33;
  you.height = 34;
  you.step = 20;
  you.hitpoints = 200;
  you.id = ID_SHIP;

  for (int k = 1; k <= MAXTHEM; ++k) {
    Object& t = them[k];
    t = Object{};
    t.x = 250 + Draw(10, 720);
    t.y = Draw(10, 60);
    t.length = 34;
    t.height = 34;
    t.step = 4;
    t.id = ID_ENEMY;
    t.hitpoints = 100;
    t.direction = Draw(1, 2);
    t.tijdkogels = Draw(10, 50);
    t.showtime = Draw(30, 130);
  }

  bigboss = Object{};
  bigboss.x = 250 + Draw(10, 720);
  bigboss.y = Draw(10, 60);
  bigboss.length = 144;
  bigboss.height = 70;
  bigboss.step = 2;
  bigboss.id = ID_BOSS;
  bigboss.hitpoints = 2500;
  bigboss.direction = Draw(1, 2);
  bigboss.directionY = Draw(1, 2);
  bigboss.tijdkogels = Draw(5, 15);
  bigboss.showtime = 4000;

  for (int k = 1; k <= MAXBOX; ++k) {
    Object& b = box[k];
    b = Object{};
    b.length = 20;
    b.height = 20;
    b.step = 6;
    b.y = 0;
    b.x = Draw(250, 1024 - b.length);
    const INTEGER kind = Draw(1, 8);
    b.id = kind <= 5 ? ID_BULLETBOX : kind <= 7 ? ID_BOMBBOX : ID_SHIELDBOX;
    b.showtime = Draw(200, 300);
  }

  for (int n = 1; n <= MAXPROJ; ++n) {
    kogel[n] = Object{};
    kogel[n].height = 5;
    kogel[n].step = 7;
    kogel[n].id = ID_BULLET;
    kogel[n].damage = 50;

    raket[n] = Object{};
    raket[n].length = 15;
    raket[n].height = 18;
    raket[n].step = 3;
    raket[n].id = ID_BOMB;
    raket[n].damage = 200;

    themkogel[n] = Object{};
    themkogel[n].height = 5;
    themkogel[n].step = 7;
    themkogel[n].id = ID_ENEMYSHOT;
    themkogel[n].damage = 50;
  }

  quit = false;
  score = 0;
}

void You(Object obj, bool b) {
  PutOrErase(obj, b, bitmapyou, 2);
}
void Them(Object obj, bool b) {
  PutOrErase(obj, b, bitmapthem, 2);
}
void Bigboss(Object obj, bool b) {
  PutOrErase(obj, b, bitmapbigboss, 2);
}
void Raket(Object obj, bool b) {
  PutOrErase(obj, b, bitmapraket, 1);
}
void KogelBox(Object obj, bool b) {
  PutOrErase(obj, b, bitmapkogelbox, 2);
}
void RaketBox(Object obj, bool b) {
  PutOrErase(obj, b, bitmapraketbox, 2);
}
void SchildBox(Object obj, bool b) {
  PutOrErase(obj, b, bitmapschildbox, 2);
}
void Kogel(Object obj, bool b) {
  LineShot(obj, b, 15);
}
void ThemKogel(Object obj, bool b) {
  LineShot(obj, b, 11);
}

void Go(Object obj, bool b) {
  switch (obj.id) {
    case ID_SHIP:
      You(obj, b);
      break;
    case ID_ENEMY:
      Them(obj, b);
      break;
    case ID_BOSS:
      Bigboss(obj, b);
      break;
    case ID_BULLET:
      Kogel(obj, b);
      break;
    case ID_BOMB:
      Raket(obj, b);
      break;
    case ID_ENEMYSHOT:
      ThemKogel(obj, b);
      break;
    case ID_BULLETBOX:
      KogelBox(obj, b);
      break;
    case ID_BOMBBOX:
      RaketBox(obj, b);
      break;
    case ID_SHIELDBOX:
      SchildBox(obj, b);
      break;
    default:
      break;  // every slot that is drawn was given its kind by InitObjects
  }
}

void NewPlay() {
  play = Play{};
  InitObjects();
}

}  // namespace NovaGunner
