// Movement: the ship by the arrow keys, enemies and the boss by a bouncing random
// walk, projectiles up, enemy shots and boxes down. Each move erases, moves, draws.
#include "game/NovaGunner.h"
#include "game/World.h"
#include "support/StandardLib.h"

namespace NovaGunner {

namespace {
constexpr INTEGER kLeftEdge = 250;
constexpr INTEGER kRightEdge = 1024;
constexpr INTEGER kBottom = 700;
constexpr INTEGER kEnemyTurnTicks = 13;
constexpr INTEGER kBossTurnTicks = 60;
}  // namespace

CARDINAL RdArrowKey() {
  switch (World::ReadKey()) {
    case 72:
      return 0;  // up
    case 77:
      return 1;  // right
    case 80:
      return 2;  // down
    case 75:
      return 3;  // left
    default:
      return 4;
  }
}

void Moveself(Object& self) {
  const CARDINAL m = RdArrowKey();
  bool moves = false;
  switch (m) {
    case 0:
      moves = self.y - 2 * self.step > 0;
      break;
    case 1:
      moves = self.x + self.length + self.step + 5 < kRightEdge;
      break;
    case 2:
      moves = self.y + self.height + 20 + self.step < kBottom;
      break;
    case 3:
      moves = self.x - self.step > kLeftEdge;
      break;
    default:
      break;
  }
  if (!moves) return;
  Go(self, false);
  switch (m) {
    case 0:
      self.y -= self.step;
      break;
    case 1:
      self.x += self.step;
      break;
    case 2:
      self.y += self.step;
      break;
    case 3:
      self.x -= self.step;
      break;
  }
  Go(self, true);
}

void Moveauto(Object& obj) {
  Go(obj, false);
  const bool boss = obj.id == ID_BOSS;
  if (boss) {
    obj.directionchangerY += 1;
    if (obj.directionchangerY == kBossTurnTicks) {
      obj.directionchangerY = 0;
      obj.directionY = static_cast<INTEGER>(StandardLib::RandomCard(1, 2));
    }
    // Two separate tests: a turn at the top moves up and back down in the same tick.
    if (obj.directionY == 1) {
      if (obj.y - 2 * obj.step <= 0) {
        obj.directionY = 2;
        obj.directionchangerY = 0;
      }
      obj.y -= obj.step;
    }
    if (obj.directionY == 2) {
      if (obj.y + obj.height + 2 * obj.step >= kBottom) {
        obj.directionY = 1;
        obj.directionchangerY = 0;
      }
      obj.y += obj.step;
    }
  } else {
    obj.y += 2;  // enemies sink without end, also below the play field
  }

  obj.directionchanger += 1;
  if (obj.directionchanger == (boss ? kBossTurnTicks : kEnemyTurnTicks)) {
    obj.directionchanger = 0;
    obj.direction = static_cast<INTEGER>(StandardLib::RandomCard(1, 2));
  }
  if (obj.direction == 1) {
    if (obj.x - 2 * obj.step <= kLeftEdge) {
      obj.direction = 2;
      obj.directionchanger = 0;
    }
    obj.x -= obj.step;
  } else if (obj.direction == 2) {
    if (obj.x + obj.length + 2 * obj.step >= kRightEdge) {
      obj.direction = 1;
      obj.directionchanger = 0;
    }
    obj.x += obj.step;
  }
  Go(obj, true);
}

bool Shoot(Object& proj) {
  Go(proj, false);
  if (proj.y - proj.height - 3 * proj.step > 0) {
    proj.y -= proj.step;
    Go(proj, true);
    return true;
  }
  return false;
}

bool ThemShoot(Object& shot) {
  Go(shot, false);
  if (shot.y < kBottom) {
    shot.y += shot.step;
    Go(shot, true);
    return true;
  }
  return false;
}

bool BoxDrop(Object& b) {
  return ThemShoot(b);
}

}  // namespace NovaGunner
