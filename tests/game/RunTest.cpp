// The game loop: its schedule, keys, boxes, hits and the limits of its pools.
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;
using gametest::GameTest;

TEST_F(GameTest, ReleaseScheduleIsTheSameInEveryGame) {
  StartGame();
  you.hitpoints = 1 << 30;  // the ship's fate does not touch the timers
  std::vector<int> enemyTicks, boxTicks;
  for (int t = 1; t <= 4000; ++t) {
    const INTEGER enemies = S().aantalvijanden, boxes = S().aantalbox;
    Ticks(1);
    if (S().aantalvijanden != enemies) enemyTicks.push_back(t);
    if (S().aantalbox != boxes) boxTicks.push_back(t);
  }
  ASSERT_EQ(enemyTicks.size(), 52u);  // slots 2..52, then the boss in 53
  EXPECT_EQ(enemyTicks[0], 63);
  EXPECT_EQ(enemyTicks[50], 3973);
  EXPECT_EQ(enemyTicks[51], 4000);
  EXPECT_EQ(S().aantalvijanden, 53);
  EXPECT_EQ(them[53].id, ID_BOSS);
  EXPECT_EQ(them[53].hitpoints, 2500);
  ASSERT_GE(boxTicks.size(), 2u);
  EXPECT_EQ(boxTicks[0], 201);
  EXPECT_EQ(boxTicks[1], 472);
  EXPECT_FALSE(S().boxbool[1]);  // the first slot only times the first drop
}

TEST_F(GameTest, BombsCoolDownAndEmptyAmmunitionDoesNothing) {
  StartGame();
  keys.PushCode('0');
  Ticks(1);  // a bomb is possible on the very first tick
  EXPECT_EQ(S().rakettenover, 9);
  EXPECT_EQ(S().proj[1].id, ID_BOMB);
  EXPECT_EQ(S().proj[1].x, you.x + 16 - 7);
  for (int t = 0; t < 15; ++t) {
    keys.PushCode('0');
    Ticks(1);
  }
  EXPECT_EQ(S().rakettenover, 9);
  keys.PushCode('0');
  Ticks(1);
  EXPECT_EQ(S().rakettenover, 8);
  EXPECT_EQ(sounds.Count("missile.wav"), 2);

  S().kogelsover = 0;
  S().rakettenover = 0;
  S().raketpenaltycounter = 100;
  keys.PushCode(' ');
  Ticks(1);
  keys.PushCode('0');
  Ticks(1);
  EXPECT_EQ(S().aantalprojectielen, 2);
  EXPECT_EQ(S().fired, 2);
  EXPECT_EQ(sounds.Count("fire.wav"), 0);
  EXPECT_EQ(S().kogelsover, 0);
  EXPECT_EQ(S().rakettenover, 0);
}

TEST_F(GameTest, AShotAtTheTopIsSpentAllTheSame) {
  StartGame();
  keys.PushCode(' ');
  Ticks(1);
  EXPECT_EQ(S().proj[1].x, you.x + 16);
  EXPECT_TRUE(S().bullet[1]);
  you.y = 30;
  keys.PushCode(' ');
  Ticks(1);
  EXPECT_EQ(sounds.Count("fire.wav"), 2);
  EXPECT_EQ(S().aantalprojectielen, 2);
  EXPECT_EQ(S().kogelsover, 98);
  EXPECT_FALSE(S().bullet[2]);
}

TEST_F(GameTest, EscapeEndsTheGameAsLost) {
  InitObjects();
  keys.PushCode('H');  // a letter on its own is ignored
  keys.PushCode(27);
  NovaGunner::Run();
  EXPECT_TRUE(gameover);
  EXPECT_FALSE(win);
  EXPECT_EQ(S().tick, 2);
}

TEST_F(GameTest, BoxesArePickedUpOrCaughtByEveryEnemyTouchingThem) {
  StartGame();
  const INTEGER kinds[3] = {ID_BULLETBOX, ID_BOMBBOX, ID_SHIELDBOX};
  for (int j = 2; j <= 4; ++j) {
    box[j].id = kinds[j - 2];
    box[j].x = 635 + 5 * j, box[j].y = 330;
    S().boxbool[j] = true;
  }
  S().aantalbox = 4;
  Ticks(1);
  EXPECT_EQ(S().kogelsover, 120);
  EXPECT_EQ(S().rakettenover, 15);
  EXPECT_EQ(you.hitpoints, 350);
  for (int j = 2; j <= 4; ++j) EXPECT_FALSE(S().boxbool[j]);

  // Two overlapping enemies under a shield box both take its 150 points.
  them[1].x = 490, them[1].y = 190;
  them[2].x = 495, them[2].y = 195;
  S().aantalvijanden = 2;
  box[5].id = ID_SHIELDBOX;
  box[5].x = 500, box[5].y = 200;
  S().boxbool[5] = true;
  S().aantalbox = 5;
  Ticks(1);
  EXPECT_EQ(them[1].hitpoints, 250);
  EXPECT_EQ(them[2].hitpoints, 250);
  EXPECT_EQ(you.hitpoints, 350);
  EXPECT_FALSE(S().boxbool[5]);
}

TEST_F(GameTest, AShotBoxExplodesTwiceOnTheTickOfTheHit) {
  StartGame();
  box[2].x = 500, box[2].y = 200;
  S().boxbool[2] = true;
  S().aantalbox = 2;
  S().proj[1] = kogel[1];
  S().proj[1].x = 510, S().proj[1].y = 220;
  S().bullet[1] = true;
  S().aantalprojectielen = 1;
  Ticks(1);
  EXPECT_FALSE(S().bullet[1]);
  EXPECT_TRUE(S().boxplode[2]);
  EXPECT_EQ(box[2].explosiecounter, 2);
  EXPECT_EQ(S().kogelsover, 100);  // nothing gained
  Ticks(12);
  EXPECT_EQ(box[2].x, 500);
  Ticks(1);
  EXPECT_EQ(box[2].explosiecounter, 15);
  EXPECT_EQ(box[2].x, 0);
}

TEST_F(GameTest, AProjectileInTwoEnemiesDamagesBoth) {
  StartGame();
  them[1].x = 500, them[1].y = 300;
  them[2].x = 510, them[2].y = 300;
  S().aantalvijanden = 2;
  S().proj[1] = kogel[1];
  S().proj[1].x = 525, S().proj[1].y = 327;
  S().bullet[1] = true;
  S().aantalprojectielen = 1;
  Ticks(1);
  EXPECT_EQ(them[1].hitpoints, 50);
  EXPECT_EQ(them[2].hitpoints, 50);
  EXPECT_EQ(score, 0u);
  S().proj[2] = raket[2];
  S().proj[2].x = 510, S().proj[2].y = them[1].y + 20;
  S().bullet[2] = true;
  S().aantalprojectielen = 2;
  Ticks(1);
  EXPECT_TRUE(S().dead[1] && S().dead[2]);
  EXPECT_EQ(score, 10u);
  EXPECT_EQ(them[1].explosiecounter, 1);  // the kill's own frame; the next tick adds one
  Ticks(1);
  EXPECT_EQ(them[1].explosiecounter, 2);
}

TEST_F(GameTest, ColliderIsDestroyedWithoutScoreAndTheGameIsLost) {
  StartGame();
  them[1].x = 640, them[1].y = 340;
  Ticks(1);
  EXPECT_TRUE(gameover);
  EXPECT_TRUE(S().exit);
  EXPECT_TRUE(S().dead[1]);
  EXPECT_EQ(score, 0u);
  EXPECT_EQ(you.explosiecounter, 1);
}

TEST_F(GameTest, BothShotsOfTheLastTickCount) {
  StartGame();
  you.hitpoints = 50;
  for (int m = 1; m <= 2; ++m) {
    themkogel[m].x = 650, themkogel[m].y = 345;
    S().thembullet[m] = true;
  }
  S().aantalvijandigeprojectielen = 2;
  Ticks(1);
  EXPECT_EQ(you.hitpoints, -50);
  EXPECT_TRUE(gameover);
  EXPECT_TRUE(S().exit);
}

TEST_F(GameTest, FullShotPoolsReuseTheLowestFreeSlot) {
  StartGame();
  for (int n = 1; n <= MAXPROJ; ++n) S().thembullet[n] = n != 7 && n != 9;
  S().aantalvijandigeprojectielen = MAXPROJ;
  S().shootcounter[1] = them[1].tijdkogels - 1;
  Ticks(1);
  EXPECT_EQ(S().shots, 1);
  EXPECT_EQ(S().aantalvijandigeprojectielen, MAXPROJ);
  EXPECT_TRUE(S().thembullet[7]);
  EXPECT_EQ(themkogel[7].x, them[1].x + 17);
  EXPECT_EQ(themkogel[7].y, them[1].y + 34 + 14);  // fired and moved on in one tick

  for (int n = 1; n <= MAXPROJ; ++n) S().bullet[n] = n != 5;
  S().aantalprojectielen = MAXPROJ;
  keys.PushCode(' ');
  Ticks(1);
  EXPECT_EQ(S().fired, 1);
  EXPECT_EQ(S().proj[5].id, ID_BULLET);
  EXPECT_EQ(S().proj[5].x, you.x + 16);
  EXPECT_EQ(S().kogelsover, 99);
}

TEST_F(GameTest, ReleasesStopAtThePoolsEndsAndTheBossKeepsItsSlot) {
  StartGame();
  S().aantalbox = MAXBOX;
  S().tijdbox = 1000;
  S().aantalvijanden = MAXTHEM - 1;
  S().tijdvijanden = 1000;
  Ticks(1);
  EXPECT_EQ(S().aantalbox, MAXBOX);
  EXPECT_EQ(S().aantalvijanden, MAXTHEM - 1);
  S().tijdbigboss = bigboss.showtime - 1;
  Ticks(1);
  EXPECT_EQ(S().aantalvijanden, MAXTHEM);
  EXPECT_EQ(them[MAXTHEM].id, ID_BOSS);
  Ticks(1);
  EXPECT_EQ(S().aantalvijanden, MAXTHEM);
}

}  // namespace
