// The game loop: one fixed-rate tick after another until the game is lost or won.
#include "console/IO.h"
#include "console/Lib.h"
#include "game/NovaGunner.h"
#include "game/World.h"
#include "support/StandardSound.h"

namespace NovaGunner {

namespace World {

namespace {

RunState& state = play.loop;
TickWatcher* watcher = nullptr;

// The slot for a new shot: the next one while the pool lasts, then the lowest free one.
// With at most one player shot and one shot per enemy per tick, and every shot gone
// within about a hundred ticks, a full pool always has free slots; 0 would mean none.
INTEGER NextSlot(INTEGER& used, const bool* inflight) {
  if (used < MAXPROJ) return ++used;
  for (INTEGER n = 1; n <= MAXPROJ; ++n) {
    if (!inflight[n]) return n;
  }
  return 0;
}

// The next player projectile, a copy of its slot's template, starts centred on the
// ship's upper edge (a bullet has no width) and takes its first step; one too near the
// top is spent all the same.
void Launch(RunState& s, const Object* templates) {
  const INTEGER n = NextSlot(s.aantalprojectielen, s.bullet);
  s.fired += 1;
  if (n == 0) return;
  Object& p = s.proj[n];
  p = templates[n];
  p.x = you.x + you.length / 2 - p.length / 2;
  p.y = you.y - p.height;
  s.bullet[n] = Shoot(p);
}

void FireBullet(RunState& s) {
  if (s.kogelsover <= 0) return;
  StandardSound::PlaySoundEvent(StandardSound::FIRE);
  Launch(s, kogel);
  s.kogelsover -= 1;
  DrawKogels(s.kogelsover);
}

void FireBomb(RunState& s) {
  if (s.raketpenaltycounter <= 15 || s.rakettenover <= 0) return;
  StandardSound::PlaySoundEvent(StandardSound::MISSILE);
  Launch(s, raket);
  s.rakettenover -= 1;
  DrawRaketten(s.rakettenover);
  s.raketpenaltycounter = 0;
}

void Timers(RunState& s) {
  s.raketpenaltycounter += 1;
  s.tijdbigboss += 1;
  if (s.tijdbigboss < bigboss.showtime) {
    s.tijdvijanden += 1;
  } else if (s.tijdbigboss == bigboss.showtime && s.aantalvijanden < MAXTHEM) {
    s.aantalvijanden += 1;
    them[s.aantalvijanden] = bigboss;
    s.bossslot = s.aantalvijanden;
  }
  // Ordinary releases stop one short of the pool's end, keeping a slot for the boss.
  if (them[s.aantalvijanden].showtime < s.tijdvijanden && s.aantalvijanden < MAXTHEM - 1) {
    s.aantalvijanden += 1;
    s.tijdvijanden = 0;
  }
  s.tijdbox += 1;
  if (box[s.aantalbox].showtime < s.tijdbox && s.aantalbox < MAXBOX) {
    s.aantalbox += 1;
    s.boxbool[s.aantalbox] = true;
    s.tijdbox = 0;
  }
}

void Key(RunState& s) {
  if (!IO::KeyPressed()) return;
  switch (ReadKey()) {
    case 0:
      Moveself(you);
      break;
    case 27:
      s.exit = true;
      gameover = true;
      break;
    case 32:
      FireBullet(s);
      break;
    case 48:
      FireBomb(s);
      break;
    default:
      break;
  }
}

void Enemies(RunState& s) {
  for (INTEGER i = 1; i <= s.aantalvijanden; ++i) {
    if (!s.dead[i]) {
      Moveauto(them[i]);
      s.shootcounter[i] += 1;
      if (s.shootcounter[i] == them[i].tijdkogels) {
        const INTEGER m = NextSlot(s.aantalvijandigeprojectielen, s.thembullet);
        s.shots += 1;
        if (m != 0) {
          themkogel[m].x = them[i].x + them[i].length / 2;
          themkogel[m].y = them[i].y + them[i].height;
          s.thembullet[m] = ThemShoot(themkogel[m]);
        }
        s.shootcounter[i] = 0;
      }
      if (Crash(you, them[i])) {
        Explode(you);
        gameover = true;
        s.dead[i] = true;
        s.exit = true;
      }
    }
    if (s.dead[i]) Explode(them[i]);
  }
}

void Boxes(RunState& s) {
  for (INTEGER j = 1; j <= s.aantalbox; ++j) {
    if (s.boxbool[j]) {
      // Every sub-step runs for a box that was falling when the step began.
      Object& b = box[j];
      s.boxbool[j] = BoxDrop(b);
      if (Crash(b, you)) {
        s.boxbool[j] = false;
        Go(b, false);
        Go(you, true);
        switch (b.id) {
          case ID_BULLETBOX:
            s.kogelsover += 20;
            DrawKogels(s.kogelsover);
            break;
          case ID_BOMBBOX:
            s.rakettenover += 5;
            DrawRaketten(s.rakettenover);
            break;
          case ID_SHIELDBOX:
            you.hitpoints += 150;
            DrawHitpoints(you.hitpoints);
            break;
          default:
            break;
        }
      }
      for (INTEGER i = 1; i <= s.aantalvijanden; ++i) {
        if (!s.dead[i] && Crash(b, them[i])) {
          s.boxbool[j] = false;
          if (b.id == ID_SHIELDBOX) them[i].hitpoints += 150;
          Go(b, false);
        }
      }
      for (INTEGER i = 1; i <= s.aantalprojectielen; ++i) {
        if (s.bullet[i] && Hit(s.proj[i], b)) {
          s.boxbool[j] = false;
          Explode(b);
          s.boxplode[j] = true;
          s.bullet[i] = false;
          Go(s.proj[i], false);
        }
      }
    }
    if (s.boxplode[j]) Explode(box[j]);
  }
}

void Projectiles(RunState& s) {
  for (INTEGER i = 1; i <= s.aantalprojectielen; ++i) {
    if (!s.bullet[i]) continue;
    Object& p = s.proj[i];
    s.bullet[i] = Shoot(p);
    // Tested against every live enemy, even after a hit or leaving the top.
    for (INTEGER k = 1; k <= s.aantalvijanden; ++k) {
      if (!s.dead[k] && Hit(p, them[k])) {
        s.dead[k] = Weaken(them[k], p);
        if (s.dead[k]) {
          Score(score);
          if (them[k].id == ID_BOSS) {
            s.exit = true;
            win = true;
          }
        }
        s.bullet[i] = false;
        Go(p, false);
      }
    }
  }
}

void EnemyShots(RunState& s) {
  for (INTEGER i = 1; i <= s.aantalvijandigeprojectielen; ++i) {
    if (!s.thembullet[i]) continue;
    s.thembullet[i] = ThemShoot(themkogel[i]);
    if (Hit(themkogel[i], you)) {
      const bool deadself = Weaken(you, themkogel[i]);
      DrawHitpoints(you.hitpoints);
      s.thembullet[i] = false;
      ThemKogel(themkogel[i], false);
      if (deadself) {
        s.exit = true;
        gameover = true;
      }
    }
  }
}

}  // namespace

RunState& State() {
  return state;
}

void StartRun() {
  RunState& s = state;
  gameover = false;
  win = false;
  for (auto& f : s.bullet) f = false;
  for (auto& f : s.thembullet) f = false;
  for (auto& f : s.dead) f = false;
  for (auto& f : s.boxbool) f = false;
  for (auto& f : s.boxplode) f = false;
  for (auto& c : s.shootcounter) c = 1;
  Lib::Delay(4500);
  Go(you, true);
  s.aantalvijanden = 1;
  s.tijdvijanden = 0;
  s.tijdbigboss = 0;
  s.aantalbox = 1;
  s.tijdbox = 0;
  s.aantalprojectielen = 0;
  s.aantalvijandigeprojectielen = 0;
  s.kogelsover = 100;
  s.rakettenover = 10;
  s.raketpenaltycounter = 15;
  s.exit = false;
  s.tick = 0;
  s.fired = 0;
  s.shots = 0;
  s.bossslot = 0;
}

void Tick() {
  RunState& s = state;
  s.input = TickInput{};
  s.input.tick = s.tick + 1;
  Timers(s);
  Key(s);
  Enemies(s);
  Boxes(s);
  Projectiles(s);
  EnemyShots(s);
  Lib::Delay(kTickMs);
  s.tick += 1;
}

TickReport Report() {
  const RunState& s = state;
  TickReport r{};
  r.tick = s.tick;
  r.x = you.x;
  r.y = you.y;
  r.hitpoints = you.hitpoints;
  r.score = score;
  r.kogelsover = s.kogelsover;
  r.rakettenover = s.rakettenover;
  r.aantalvijanden = s.aantalvijanden;
  for (INTEGER i = 1; i <= s.aantalvijanden; ++i) r.alive += s.dead[i] ? 0 : 1;
  r.aantalbox = s.aantalbox;
  r.fired = s.fired;
  r.shots = s.shots;
  r.bosshitpoints = s.bossslot != 0 ? them[s.bossslot].hitpoints : bigboss.hitpoints;
  return r;
}

void Init(TickWatcher* w) {
  watcher = w;
}

std::uint8_t ReadKey() {
  const std::uint8_t code = IO::RdKey();
  TickInput& in = state.input;
  if (in.count < 2) in.codes[in.count++] = code;  // the loop reads at most two a tick
  return code;
}

}  // namespace World

void Run() {
  using namespace World;
  StartRun();
  while (!state.exit) {
    if (watcher != nullptr) watcher->BeforeTick(state.tick + 1);
    Tick();
    if (watcher != nullptr) watcher->AfterTick(Report(), state.input);
  }
}

}  // namespace NovaGunner
