// The game loop: its schedule, keys, boxes, hits and the limits of its pools.
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;

class RunTest : public gametest::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    World::StartRun();  // ready for ticks
    sounds.calls.clear();
  }
  // A player projectile in flight in slot n, made from its template.
  void Fly(INTEGER n, const Object& tmpl, INTEGER x, INTEGER y) {
    S().proj[n] = tmpl;
    S().proj[n].x = x, S().proj[n].y = y;
    S().bullet[n] = true;
    S().aantalprojectielen = std::max(S().aantalprojectielen, n);
  }
  void Fall(INTEGER j, INTEGER id, INTEGER x, INTEGER y) {
    box[j].id = id, box[j].x = x, box[j].y = y;
    S().boxbool[j] = true;
    S().aantalbox = std::max(S().aantalbox, j);
  }
  void Key(IO::CHAR c) {
    keys.PushCode(c);
    Ticks(1);
  }
};

TEST_F(RunTest, BombsCoolDownEmptyAmmunitionDoesNothingEscapeGivesUp) {
  Key('0');  // possible on the very first tick
  EXPECT_EQ(S().rakettenover, 9);
  EXPECT_EQ(S().proj[1].x, you.x + 16 - 7);
  for (int t = 0; t < 15; ++t) Key('0');
  EXPECT_EQ(S().rakettenover, 9);
  Key('0');
  EXPECT_EQ(S().rakettenover, 8);
  EXPECT_EQ(sounds.Count("missile.wav"), 2);
  S().kogelsover = S().rakettenover = 0;
  S().raketpenaltycounter = 100;
  Key(' ');
  Key('0');
  EXPECT_EQ((std::array{S().aantalprojectielen, S().kogelsover, S().rakettenover}),
            (std::array{2, 0, 0}));
  EXPECT_EQ(sounds.Count("fire.wav"), 0);
  Key(27);
  EXPECT_TRUE(gameover && S().exit);
}

TEST_F(RunTest, AShotAtTheTopIsSpentAllTheSame) {
  Key(' ');
  EXPECT_EQ(S().proj[1].x, you.x + 16);
  EXPECT_TRUE(S().bullet[1]);
  you.y = 30;
  Key(' ');
  EXPECT_EQ(sounds.Count("fire.wav"), 2);
  EXPECT_EQ((std::array{S().aantalprojectielen, S().kogelsover}), (std::array{2, 98}));
  EXPECT_FALSE(S().bullet[2]);
}

TEST_F(RunTest, BoxesArePickedUpOrCaughtByEveryEnemyTouchingThem) {
  Fall(2, ID_BULLETBOX, 640, 330);
  Fall(3, ID_BOMBBOX, 645, 330);
  Fall(4, ID_SHIELDBOX, 650, 330);
  Ticks(1);
  EXPECT_EQ((std::array{S().kogelsover, S().rakettenover, you.hitpoints}),
            (std::array{120, 15, 350}));
  them[1].x = 490, them[1].y = 190;  // two overlapping enemies under a shield box
  them[2].x = 495, them[2].y = 195;
  S().aantalvijanden = 2;
  Fall(5, ID_SHIELDBOX, 500, 200);
  Ticks(1);
  EXPECT_EQ((std::array{them[1].hitpoints, them[2].hitpoints, you.hitpoints}),
            (std::array{250, 250, 350}));
  for (int j = 2; j <= 5; ++j) EXPECT_FALSE(S().boxbool[j]);
  Fly(1, raket[1], 500, 230);  // a bomb does not destroy a strengthened enemy
  Ticks(1);
  EXPECT_EQ((std::array{them[1].hitpoints, them[2].hitpoints}), (std::array{50, 50}));
  EXPECT_FALSE(S().dead[1] || S().dead[2]);
}

TEST_F(RunTest, AProjectileInTwoEnemiesDamagesBothAndBothExplode) {
  them[1].x = 500, them[1].y = 300;
  them[2].x = 510, them[2].y = 300;
  S().aantalvijanden = 2;
  Fly(1, kogel[1], 525, 327);
  Ticks(1);
  EXPECT_EQ((std::array{them[1].hitpoints, them[2].hitpoints}), (std::array{50, 50}));
  Fly(2, raket[2], 510, them[1].y + 20);
  Ticks(1);
  EXPECT_TRUE(S().dead[1] && S().dead[2]);
  EXPECT_EQ(score, 10u);
  EXPECT_EQ(them[1].explosiecounter, 1);   // the kill's own frame; the next tick adds one
  EXPECT_EQ(sounds.Count("boom.wav"), 2);  // a bang for each
  Ticks(1);
  EXPECT_EQ(them[1].explosiecounter, 2);
}

TEST_F(RunTest, BothShotsOfTheLastTickCount) {
  you.hitpoints = 50;
  for (int m = 1; m <= 2; ++m) {
    themkogel[m].x = 650, themkogel[m].y = 345;
    S().thembullet[m] = true;
  }
  S().aantalvijandigeprojectielen = 2;
  Ticks(1);
  EXPECT_EQ(you.hitpoints, -50);
  EXPECT_TRUE(gameover && S().exit);
}

TEST_F(RunTest, FullShotPoolsReuseTheLowestFreeSlot) {
  for (int n = 1; n <= MAXPROJ; ++n) S().thembullet[n] = n != 7 && n != 9;
  S().aantalvijandigeprojectielen = MAXPROJ;
  S().shootcounter[1] = them[1].tijdkogels - 1;
  Ticks(1);
  EXPECT_EQ(S().shots, 1);
  EXPECT_EQ(S().aantalvijandigeprojectielen, MAXPROJ);
  EXPECT_TRUE(S().thembullet[7]);
  EXPECT_EQ(themkogel[7].x, them[1].x + 17);
  EXPECT_EQ(themkogel[7].y, them[1].y + 34 + 14);  // fired and moved on in one tick
  for (int n = 1; n <= MAXPROJ; ++n) S().bullet[n] = n != MAXPROJ;  // the last slot alone
  S().aantalprojectielen = MAXPROJ;
  Key(' ');
  EXPECT_EQ((std::array{S().proj[MAXPROJ].id, S().proj[MAXPROJ].x, S().kogelsover}),
            (std::array{ID_BULLET, you.x + 16, 99}));
}

TEST_F(RunTest, ReleasesStopAtThePoolsEndsAndTheBossKeepsItsSlot) {
  S().aantalbox = MAXBOX;
  S().aantalvijanden = MAXTHEM - 1;
  S().tijdbox = S().tijdvijanden = 1000;
  Ticks(1);
  EXPECT_EQ((std::array{S().aantalbox, S().aantalvijanden}), (std::array{MAXBOX, MAXTHEM - 1}));
  S().tijdbigboss = bigboss.showtime - 1;
  Ticks(2);
  EXPECT_EQ(S().aantalvijanden, MAXTHEM);
  EXPECT_EQ(them[MAXTHEM].id, ID_BOSS);
}

}  // namespace
