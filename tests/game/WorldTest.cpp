// The game world at its edges: movement, hits and the status panel. (The starting values,
// turns at the sides, projectiles at the top and explosions are pinned by the replays'
// golden traces and pictures.)
#include <array>

#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;
using gametest::GameTest;

Object At(INTEGER x, INTEGER y, INTEGER length, INTEGER height, INTEGER id = 0) {
  Object o{};
  o.x = x, o.y = y, o.length = length, o.height = height, o.id = id;
  o.step = 6;
  return o;
}

TEST_F(GameTest, ShipStopsAtTheEdgesOfThePlayField) {
  // Each side at the last position that still moves and the first that does not.
  const std::array<INTEGER, 5> cases[] = {{271, 350, 75, 251, 350}, {270, 350, 75, 270, 350},
                                          {637, 41, 72, 637, 21},   {637, 40, 72, 637, 40},
                                          {637, 625, 80, 637, 645}, {637, 626, 80, 637, 626},
                                          {965, 350, 77, 985, 350}, {966, 350, 77, 966, 350}};
  for (const auto& c : cases) {
    you.x = c[0], you.y = c[1];
    keys.PushExtended(static_cast<std::uint16_t>(c[2]));
    ASSERT_EQ(IO::RdKey(), 0);
    Moveself(you);
    EXPECT_EQ((std::array{you.x, you.y}), (std::array{c[3], c[4]})) << c[0] << "," << c[1];
  }
}

TEST_F(GameTest, ShotsAndBoxesEndAtTheBottom) {
  Object shot = At(400, 694, 0, 5, ID_ENEMYSHOT);  // a step of 6
  EXPECT_TRUE(ThemShoot(shot));
  EXPECT_FALSE(BoxDrop(shot));  // y 700 is past the field, for a box as for a shot
}

TEST_F(GameTest, HitAndCrashIncludeTheirBounds) {
  const Object enemy = At(300, 100, 34, 34);
  EXPECT_TRUE(Hit(At(300, 100, 0, 5), enemy));
  EXPECT_TRUE(Hit(At(334, 134, 0, 5), enemy));
  EXPECT_FALSE(Hit(At(335, 120, 0, 5), enemy));
  EXPECT_FALSE(Hit(At(310, 135, 0, 5), enemy));
  EXPECT_TRUE(Hit(At(290, 120, 15, 18), At(297, 100, 34, 34)));  // a bomb's point: x 297
  EXPECT_FALSE(Hit(At(290, 120, 15, 18), At(298, 100, 34, 34)));
  EXPECT_TRUE(Crash(At(300, 300, 33, 34), At(333, 334, 34, 34)));
  EXPECT_FALSE(Crash(At(300, 300, 33, 34), At(334, 334, 34, 34)));
  EXPECT_TRUE(Crash(At(367, 368, 20, 20), At(333, 334, 34, 34)));   // on the far edges
  EXPECT_TRUE(Crash(At(650, 360, 20, 20), At(637, 350, 33, 34)));   // corner inside the ship
  EXPECT_FALSE(Crash(At(290, 290, 60, 60), At(300, 300, 20, 20)));  // enclosing is no crash
}

// Two shots in the last tick take the shield below 0: the panel says 0. (What the panel
// shows otherwise is pinned by the replays' golden pictures.)
TEST_F(GameTest, StatusPanelShowsAShieldBelowZeroAsZero) {
  Background();
  DrawHitpoints(0);
  const std::vector<std::uint32_t> zero = Graph::ReadSurface();
  DrawHitpoints(-50);
  EXPECT_EQ(Graph::ReadSurface(), zero);
  DrawHitpoints(50);
  EXPECT_NE(Graph::ReadSurface(), zero);
}

}  // namespace
