// The program's icon against the ship the game draws: the same cells, colours and
// background, blown up and centred.
#include <set>

#include "game/Ship.h"
#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

struct Box {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  void Add(int x, int y) {
    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  }
};

TEST_F(GameTest, ShipIconIsTheDrawnShipBlownUpOnTransparency) {
  Graph::PutImage(100, 100, NovaGunner::bitmapyou, Graph::_GPSET);
  const std::vector<std::uint32_t> surface = Graph::ReadSurface();
  Box ship;
  std::set<std::uint32_t> shipColours;
  for (int y = 100; y < 140; ++y) {
    for (int x = 100; x < 140; ++x) {
      if (surface[y * 1024 + x] != 0) ship.Add(x, y), shipColours.insert(surface[y * 1024 + x]);
    }
  }
  for (int side : {16, 32, 48, 64, 128, 256}) {
    const std::vector<std::uint32_t> icon = NovaGunner::ShipIcon(side);
    ASSERT_EQ(icon.size(), std::size_t(side) * side);
    Box drawn;
    for (int i = 0; i < side * side; ++i) {
      if (icon[i] == 0) continue;
      drawn.Add(i % side, i / side);
      EXPECT_TRUE(shipColours.count(icon[i] ^ 0xFF000000u)) << side;
    }
    EXPECT_LE(std::abs(drawn.x0 - (side - 1 - drawn.x1)), 1) << side;  // centred
    EXPECT_LE(std::abs(drawn.y0 - (side - 1 - drawn.y1)), 1) << side;
    if (side < ship.x1 - ship.x0 + 1) continue;  // shrunk: its colours only
    const int k = (drawn.x1 - drawn.x0 + 1) / (ship.x1 - ship.x0 + 1);
    EXPECT_EQ(k, side / 31) << side;  // the largest whole blow-up of the 31 x 30 ship
    for (int y = drawn.y0; y <= drawn.y1; ++y) {
      for (int x = drawn.x0; x <= drawn.x1; ++x) {
        const std::uint32_t cell =
            surface[(ship.y0 + (y - drawn.y0) / k) * 1024 + ship.x0 + (x - drawn.x0) / k];
        ASSERT_EQ(icon[y * side + x], cell == 0 ? 0 : cell | 0xFF000000u)
            << side << " " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace gametest
