// Objects, sprites, movement, hits and the status panel of the game world.
#include <array>

#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;
using gametest::GameTest;

Object Bullet() {
  Object b{};
  b.height = 5, b.id = ID_BULLET, b.step = 7, b.damage = 50;
  return b;
}

Object At(INTEGER x, INTEGER y, INTEGER length, INTEGER height) {
  Object o{};
  o.x = x, o.y = y, o.length = length, o.height = height;
  return o;
}

TEST_F(GameTest, StartingValuesFollowTheSeededDraws) {
  InitObjects();
  EXPECT_EQ(you.x, 637);
  EXPECT_EQ(you.y, 350);
  EXPECT_EQ(you.hitpoints, 200);
  const std::array<INTEGER, 5> one{them[1].x, them[1].y, them[1].direction, them[1].tijdkogels,
                                   them[1].showtime};
  const std::array<INTEGER, 5> two{them[2].x, them[2].y, them[2].direction, them[2].tijdkogels,
                                   them[2].showtime};
  EXPECT_EQ(one, (std::array<INTEGER, 5>{763, 21, 2, 32, 62}));
  EXPECT_EQ(two, (std::array<INTEGER, 5>{573, 44, 1, 40, 46}));
  EXPECT_EQ((std::array<INTEGER, 6>{bigboss.x, bigboss.y, bigboss.direction, bigboss.directionY,
                                    bigboss.tijdkogels, bigboss.showtime}),
            (std::array<INTEGER, 6>{587, 40, 2, 2, 11, 4000}));
  EXPECT_EQ(box[1].id, ID_BULLETBOX);
  EXPECT_EQ(box[1].x, 573);
  EXPECT_EQ(box[1].showtime, 200);
  EXPECT_EQ(box[2].id, ID_BULLETBOX);
  EXPECT_EQ(box[2].x, 674);
  EXPECT_EQ(box[2].showtime, 270);
  EXPECT_EQ(box[3].id, ID_BOMBBOX);
  EXPECT_EQ(box[3].x, 593);
  int kinds[3] = {};
  for (int k = 1; k <= MAXBOX; ++k) {
    ++kinds[box[k].id - ID_BULLETBOX];
    EXPECT_EQ(box[k].y, 0);
    EXPECT_TRUE(box[k].x >= 250 && box[k].x <= 1004) << k;
  }
  EXPECT_EQ(kinds[0], 124);
  EXPECT_EQ(kinds[1], 49);
  EXPECT_EQ(kinds[2], 27);
  for (int k = 1; k <= MAXTHEM; ++k) {
    EXPECT_TRUE(them[k].x >= 260 && them[k].x <= 970 && them[k].y >= 10 && them[k].y <= 60);
  }
  EXPECT_EQ(kogel[2000].damage, 50);
  EXPECT_EQ(raket[2000].length, 15);
  EXPECT_EQ(themkogel[2000].id, ID_ENEMYSHOT);
}

TEST_F(GameTest, DrawingAndErasingCoverTheObjectsBox) {
  InitObjects();
  Graph::Rectangle(600, 300, 720, 420, 15, true);  // white under the ship
  You(you, false);
  // Columns 637..669, rows 350..384 blanked; the column and row after stay white.
  EXPECT_EQ(CountColour(637, 350, 669, 384, 0), 33 * 35);
  EXPECT_EQ(Pixel(670, 360), Palette(15));
  EXPECT_EQ(Pixel(650, 385), Palette(15));
  Object bomb = raket[1];
  bomb.x = 100, bomb.y = 200;
  Graph::Rectangle(90, 190, 130, 230, 15, true);
  Raket(bomb, false);
  EXPECT_EQ(Pixel(114, 217), Palette(0));
  EXPECT_EQ(Pixel(114, 218), Palette(15));  // the bomb is wiped one row shorter

  Graph::Rectangle(0, 0, 1025, 701, 0, true);
  Object bullet = kogel[1];
  bullet.x = 653, bullet.y = 340;
  Go(bullet, true);
  EXPECT_EQ(CountColour(653, 336, 653, 340, 15), 5);
  EXPECT_EQ(Pixel(653, 335), Palette(0));
  Go(bullet, false);
  EXPECT_EQ(CountColour(653, 336, 653, 340, 0), 5);
  Object shot = themkogel[1];
  shot.x = 400, shot.y = 100;
  Go(shot, true);
  EXPECT_EQ(CountColour(400, 96, 400, 100, 11), 5);
}

// The size of an image and its black border, found by putting it on a marked ground.
struct Footprint {
  int w = 0, h = 0;
};
Footprint Measure(GameTest* t, CARDINAL image, int marker) {
  (void)t;
  Graph::Rectangle(0, 0, 1025, 701, marker, true);
  Graph::PutImage(300, 300, image, Graph::_GPSET);
  const std::uint32_t mark = Graph::ReadPixel(0, 0);
  Footprint f;
  while (Graph::ReadPixel(300 + f.w, 300) != mark && f.w < 400) ++f.w;
  while (Graph::ReadPixel(300, 300 + f.h) != mark && f.h < 400) ++f.h;
  return f;
}

TEST_F(GameTest, SpriteImagesHaveTheirSizesAndBorders) {
  struct Case {
    CARDINAL image;
    int w, h;
  } cases[] = {{bitmapyou, 35, 36},       {bitmapyououtro, 33, 34}, {bitmapthem, 36, 36},
               {bitmapthemoutro, 34, 34}, {bitmapbigboss, 145, 64}, {bitmapschildbox, 20, 21},
               {bitmapkogelbox, 20, 21},  {bitmapraketbox, 20, 21}, {bitmapraket, 16, 19},
               {bitmapexplosie, 44, 44}};
  for (const Case& c : cases) {
    const Footprint f = Measure(this, c.image, 13);
    EXPECT_EQ(f.w, c.w) << "image " << c.image;
    EXPECT_EQ(f.h, c.h) << "image " << c.image;
  }
  Measure(this, bitmapyou, 13);  // one black pixel all round
  EXPECT_EQ(CountColour(300, 300, 334, 300, 0) + CountColour(300, 335, 334, 335, 0), 70);
  EXPECT_EQ(CountColour(300, 300, 300, 335, 0) + CountColour(334, 300, 334, 335, 0), 72);
  Measure(this, bitmapschildbox, 13);  // black top row above the ground colour 6
  EXPECT_EQ(CountColour(300, 300, 319, 300, 0), 20);
  EXPECT_EQ(Pixel(300, 301), Palette(6));
  Measure(this, bitmapexplosie, 13);  // two black columns and rows at right and bottom
  EXPECT_EQ(CountColour(342, 300, 343, 343, 0) + CountColour(300, 342, 343, 343, 0), 2 * 88);
  Measure(this, bitmapyououtro, 13);  // the outro ship stands on colour 9, cockpit too
  EXPECT_EQ(Pixel(300, 300), Palette(9));
  EXPECT_EQ(Pixel(315, 316), Palette(9));
  // Building left nothing but the ship at its start place.
  const gametest::Shared& s = gametest::Process();
  EXPECT_GE(s.leftMinX, 638);
  EXPECT_GE(s.leftMinY, 351);
  EXPECT_LE(s.leftMaxX, 670);
  EXPECT_LE(s.leftMaxY, 384);
}

TEST_F(GameTest, ShipStopsAtTheEdgesOfThePlayField) {
  InitObjects();
  struct Case {
    INTEGER x, y;
    std::uint16_t scan;
    INTEGER wantX, wantY;
  } cases[] = {{257, 350, 75, 257, 350}, {277, 350, 75, 257, 350}, {637, 30, 72, 637, 30},
               {637, 50, 72, 637, 30},   {637, 630, 80, 637, 630}, {637, 610, 80, 637, 630},
               {977, 350, 77, 977, 350}, {957, 350, 77, 977, 350}};
  for (const auto& c : cases) {
    you.x = c.x, you.y = c.y;
    keys.PushExtended(c.scan);
    ASSERT_EQ(IO::RdKey(), 0);
    Moveself(you);
    EXPECT_EQ(you.x, c.wantX) << c.x << "," << c.y << " key " << c.scan;
    EXPECT_EQ(you.y, c.wantY) << c.x << "," << c.y << " key " << c.scan;
  }
}

TEST_F(GameTest, EnemiesAndTheBossBounceOffTheSidesAStepLate) {
  Object e = At(258, 100, 34, 34);
  e.id = ID_ENEMY, e.step = 4, e.direction = 1;
  Moveauto(e);
  EXPECT_EQ(e.x, 254);
  EXPECT_EQ(e.y, 102);
  EXPECT_EQ(e.direction, 2);
  Moveauto(e);
  EXPECT_EQ(e.x, 258);

  // A new heading is drawn on the 13th move, and a bounce restarts the count.
  Object f = At(600, 10, 34, 34);
  f.id = ID_ENEMY, f.step = 4, f.direction = 1;
  for (int i = 0; i < 12; ++i) Moveauto(f);
  EXPECT_EQ(f.directionchanger, 12);
  Moveauto(f);
  EXPECT_EQ(f.directionchanger, 0);

  Object b = At(876, 300, 144, 70);
  b.id = ID_BOSS, b.step = 2, b.direction = 2, b.directionY = 2;
  Moveauto(b);
  EXPECT_EQ(b.x, 878);
  EXPECT_EQ(b.direction, 1);
  // At the top the boss turns and moves up and back down in one tick.
  Object top = At(600, 4, 144, 70);
  top.id = ID_BOSS, top.step = 2, top.direction = 2, top.directionY = 1;
  Moveauto(top);
  EXPECT_EQ(top.y, 4);
  EXPECT_EQ(top.directionY, 2);
  // At the bottom it makes its last step down and turns for the next tick.
  Object low = At(600, 626, 144, 70);
  low.id = ID_BOSS, low.step = 2, low.direction = 2, low.directionY = 2;
  Moveauto(low);
  EXPECT_EQ(low.y, 628);
  EXPECT_EQ(low.directionY, 1);
}

TEST_F(GameTest, ProjectilesEndAtTheTopShotsAndBoxesAtTheBottom) {
  Object bullet = Bullet();
  bullet.x = 400, bullet.y = 34;
  EXPECT_TRUE(Shoot(bullet));  // 34 - 5 - 21 > 0
  EXPECT_EQ(bullet.y, 27);
  EXPECT_TRUE(Shoot(bullet));
  EXPECT_EQ(bullet.y, 20);
  EXPECT_FALSE(Shoot(bullet));
  EXPECT_EQ(bullet.y, 20);

  Object b = At(500, 0, 20, 20);
  b.id = ID_BULLETBOX, b.step = 6;
  int steps = 0;
  while (BoxDrop(b)) ++steps;
  EXPECT_EQ(steps, 117);
  EXPECT_EQ(b.y, 702);
}

TEST_F(GameTest, HitAndCrashIncludeTheirBounds) {
  const Object enemy = At(300, 100, 34, 34);
  Object bullet = At(300, 120, 0, 5);
  EXPECT_TRUE(Hit(bullet, enemy));
  bullet.x = 334;
  EXPECT_TRUE(Hit(bullet, enemy));
  bullet.x = 335;
  EXPECT_FALSE(Hit(bullet, enemy));
  bullet.x = 310, bullet.y = 134;
  EXPECT_TRUE(Hit(bullet, enemy));
  bullet.y = 135;
  EXPECT_FALSE(Hit(bullet, enemy));
  EXPECT_TRUE(Hit(At(290, 120, 15, 18), At(297, 100, 34, 34)));  // bomb point x 297
  EXPECT_FALSE(Hit(At(290, 120, 15, 18), At(298, 100, 34, 34)));

  EXPECT_TRUE(Crash(At(300, 300, 33, 34), At(333, 334, 34, 34)));
  EXPECT_FALSE(Crash(At(300, 300, 33, 34), At(334, 334, 34, 34)));
  EXPECT_TRUE(Crash(At(650, 360, 20, 20), At(637, 350, 33, 34)));  // corner inside the ship
  // Only the small object's edges count: one enclosing the other on an axis misses.
  EXPECT_FALSE(Crash(At(290, 290, 60, 60), At(300, 300, 20, 20)));
}

TEST_F(GameTest, WeakenAndExplodeRunTheirCourse) {
  Object enemy = At(400, 200, 34, 34);
  enemy.id = ID_ENEMY, enemy.hitpoints = 100;
  const Object bullet = Bullet();
  EXPECT_FALSE(Weaken(enemy, bullet));
  EXPECT_EQ(enemy.hitpoints, 50);
  EXPECT_EQ(sounds.Count("boom.wav"), 0);
  EXPECT_TRUE(Weaken(enemy, bullet));  // 0 counts as destroyed
  EXPECT_EQ(enemy.explosiecounter, 1);
  EXPECT_EQ(sounds.Count("boom.wav"), 1);
  EXPECT_GT(CountColour(400, 200, 443, 243, 12), 0);  // the burst is on screen
  for (int frame = 2; frame < 15; ++frame) Explode(enemy);
  EXPECT_EQ(enemy.x, 400);
  Explode(enemy);
  EXPECT_EQ(enemy.x, 0);
  EXPECT_EQ(enemy.y, 0);
  EXPECT_EQ(CountColour(400, 200, 443, 243, 0), 44 * 44);
  Explode(enemy);  // later frames draw nothing and never bring it back
  EXPECT_EQ(enemy.explosiecounter, 16);
  EXPECT_EQ(sounds.Count("boom.wav"), 1);
}

TEST_F(GameTest, StatusPanelBlanksOldDigitsAndKeepsThePercentSign) {
  InitObjects();
  Background();
  const int green = CountColour(120, 90, 168, 104, 2);
  EXPECT_GT(green, 0);                              // "200"
  EXPECT_GT(CountColour(169, 90, 176, 104, 2), 0);  // the percent sign, right of 7 cells
  DrawHitpoints(5);
  EXPECT_EQ(CountColour(127, 90, 168, 104, 2), 0);  // old digits gone
  EXPECT_GT(CountColour(120, 90, 126, 104, 2), 0);
  EXPECT_GT(CountColour(169, 90, 176, 104, 2), 0);
  // Below 0 (two shots in the last tick) the panel says 0, like a 0 would.
  DrawHitpoints(0);
  const std::vector<std::uint32_t> zero = Graph::ReadSurface();
  DrawHitpoints(-50);
  EXPECT_EQ(Graph::ReadSurface(), zero);
  DrawKogels(100);
  DrawKogels(7);
  EXPECT_EQ(CountColour(127, 240, 168, 254, 2), 0);
  EXPECT_GT(CountColour(120, 240, 126, 254, 2), 0);
  // The score is written over the old one, growing by 5.
  Score(score);
  Score(score);
  EXPECT_EQ(score, 10u);
  EXPECT_GT(CountColour(80, 620, 93, 634, 2), 0);
}

}  // namespace
