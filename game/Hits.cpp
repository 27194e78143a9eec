// Hits, damage, explosions, the score and the status panel on the left.
#include "console/WholeStr.h"
#include "game/NovaGunner.h"
#include "graph/Graph.h"
#include "support/StandardSound.h"

namespace NovaGunner {

namespace {

constexpr CARDINAL kGreen = 2;
constexpr CARDINAL kWhite = 15;

// A counter as the panel shows it: its digits in a 6-character text.
void WriteCounter(CARDINAL x, CARDINAL y, const char* blank, INTEGER value) {
  Graph::RawOutText(x, y, kGreen, blank);
  char text[6] = {};
  // Below 0 only when two shots break the last shield in one tick: the panel says 0.
  WholeStr::CardToStr(value < 0 ? 0u : static_cast<CARDINAL>(value), text);
  Graph::RawOutText(x, y, kGreen, std::string_view(text, sizeof text));
}

void WriteScore(CARDINAL value) {
  char text[100] = {};
  WholeStr::CardToStr(value, text);
  Graph::RawOutText(80, 620, kGreen, std::string_view(text, sizeof text));
}

}  // namespace

bool Hit(Object proj, Object obj) {
  const INTEGER cx = proj.x + proj.length / 2;
  return obj.x <= cx && cx <= obj.x + obj.length && obj.y <= proj.y && proj.y <= obj.y + obj.height;
}

bool Crash(Object small, Object big) {
  auto within = [](INTEGER v, INTEGER lo, INTEGER span) { return lo <= v && v <= lo + span; };
  const bool vertical =
      within(small.y, big.y, big.height) || within(small.y + small.height, big.y, big.height);
  const bool horizontal =
      within(small.x, big.x, big.length) || within(small.x + small.length, big.x, big.length);
  return vertical && horizontal;
}

bool Weaken(Object& obj, Object proj) {
  obj.hitpoints -= proj.damage;
  if (obj.hitpoints > 0) return false;
  Explode(obj);
  return true;
}

void Explode(Object& obj) {
  obj.explosiecounter += 1;
  if (obj.explosiecounter == 1) {
    Go(obj, false);
    Graph::PutImage(obj.x, obj.y, bitmapexplosie, Graph::_GPSET);
    StandardSound::PlaySoundEvent(StandardSound::BOOM);
  } else if (obj.explosiecounter == 15) {
    Graph::Rectangle(obj.x, obj.y, obj.x + 44, obj.y + 44, 0, true);
    obj.x = 0;
    obj.y = 0;
  }
}

void Score(CARDINAL& s) {
  s += 5;
  WriteScore(s);  // over the old digits: the score only grows, so no blanking is needed
}

void DrawHitpoints(INTEGER hitpoints) {
  WriteCounter(120, 90, "       %", hitpoints);
}
void DrawKogels(INTEGER kogelsover) {
  WriteCounter(120, 240, "       ", kogelsover);
}
void DrawRaketten(INTEGER rakettenover) {
  WriteCounter(120, 270, "       ", rakettenover);
}

void PaintScreen(CARDINAL field) {
  Graph::Rectangle(0, 0, 250, 700, 7, true);
  Graph::Rectangle(250, 0, 1024, 700, field, true);
}

void Background() {
  PaintScreen(0);
  Graph::Rectangle(50, 590, 170, 650, 0, true);
  Graph::RawOutText(60, 600, kWhite, "Your Score Is:");
  Graph::RawOutText(80, 620, kGreen, "0");
  Graph::Rectangle(50, 50, 170, 130, 0, true);
  Graph::RawOutText(60, 60, kWhite, "Your Shields: ");
  DrawHitpoints(you.hitpoints);
  Graph::PutImage(70, 85, bitmapschildbox, Graph::_GPSET);
  Graph::Rectangle(50, 200, 170, 300, 0, true);
  Graph::RawOutText(60, 210, kWhite, "Ammo:");
  Graph::RawOutText(120, 240, kGreen, "100");
  Graph::RawOutText(120, 270, kGreen, "10");
  Graph::PutImage(70, 235, bitmapkogelbox, Graph::_GPSET);
  Graph::PutImage(70, 265, bitmapraketbox, Graph::_GPSET);
}

}  // namespace NovaGunner
