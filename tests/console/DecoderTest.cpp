// The terminal decoder: byte sequences to console key events, however the bytes are
// split, the settle time of a lone ESC, and what must never turn into keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/IO.h"
#include "console/TermDecoder.h"

namespace {

using namespace IO;

struct Ev {
  std::uint16_t vk, sc;
  CHAR ch;
  std::uint32_t state;
  bool down = true;
  bool operator==(const Ev&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Ev& e) {
  return os << "{vk " << e.vk << " sc " << e.sc << " ch " << int(e.ch) << " state 0x" << std::hex
            << e.state << std::dec << (e.down ? "" : " up") << "}";
}

std::vector<Ev> Drain(TermDecoder& d) {
  std::vector<Ev> out;
  while (d.HasEvent()) {
    KeyEvent k = d.Pop();
    out.push_back({k.virtualKey, k.scanCode, k.character, k.state, k.keyDown});
  }
  return out;
}

std::span<const std::uint8_t> Bytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Feeds the pieces at one instant, then the input ends.
std::vector<Ev> Decode(const std::vector<std::string_view>& pieces) {
  TermDecoder d;
  for (auto piece : pieces) d.Feed(Bytes(piece), 1000);
  d.Finish();
  return Drain(d);
}

constexpr std::uint32_t E = ENHANCED_KEY, S = SHIFT, C = LEFT_CTRL, A = LEFT_ALT;

const Ev kUp{0x26, 72, 0, E}, kDown{0x28, 80, 0, E}, kRight{0x27, 77, 0, E}, kLeft{0x25, 75, 0, E},
    kHome{0x24, 71, 0, E}, kEnd{0x23, 79, 0, E}, kEsc{0x1B, 1, 27, 0}, kEnter{0x0D, 28, 13, 0},
    kIns{0x2D, 82, 0, E}, kDel{0x2E, 83, 0, E}, kPgUp{0x21, 73, 0, E}, kPgDn{0x22, 81, 0, E},
    kPadEnter{0x0D, 28, 13, E}, kPad5{0x0C, 76, 0, 0}, kBad{0, 0, '?', 0};
Ev F(int n, std::uint32_t st = 0) {
  return {static_cast<std::uint16_t>(0x6F + n),
          static_cast<std::uint16_t>(n <= 10 ? 58 + n : 76 + n), 0, st};
}
Ev With(Ev e, std::uint32_t st, bool down = true) {
  e.state |= st;
  e.down = down;
  return e;
}
Ev Ch(char c, std::uint16_t vk, std::uint16_t sc, std::uint32_t st = 0) {
  return {vk, sc, static_cast<CHAR>(c), st};
}

struct Row {
  std::string bytes;
  std::vector<Ev> events;
};

const std::vector<Row>& Table() {
  static const std::vector<Row> rows = {
      // characters and control bytes
      {"a", {Ch('a', 'A', 30)}},
      {"A", {Ch('A', 'A', 30, S)}},
      {"0 h", {Ch('0', '0', 11), Ch(' ', 0x20, 57), Ch('h', 'H', 35)}},
      {"?~", {Ch('?', 0xBF, 53, S), Ch('~', 0xC0, 41, S)}},
      {"\r\n", {kEnter, kEnter}},
      {"\t\x7f\x08", {Ch(9, 9, 15), Ch(8, 8, 14), Ch(8, 8, 14)}},
      {"\x01\x1a", {Ch(1, 'A', 30, C), Ch(26, 'Z', 44, C)}},
      {"\x1b", {kEsc}},
      // arrows and the editing block, CSI and SS3 forms, with modifiers
      {"\x1b[A\x1b[B\x1b[C\x1b[D", {kUp, kDown, kRight, kLeft}},
      {"\x1bOA\x1bOB\x1bOC\x1bOD", {kUp, kDown, kRight, kLeft}},
      {"\x1b[1;2A\x1b[1;5D\x1b[1;3C\x1b[1;8B",
       {With(kUp, S), With(kLeft, C), With(kRight, A), With(kDown, S | A | C)}},
      {"\x1b[a\x1bOd", {With(kUp, S), With(kLeft, C)}},  // rxvt
      {"\x1b[H\x1b[F\x1bOH\x1bOF\x1b[1~\x1b[4~\x1b[7~\x1b[8~",
       {kHome, kEnd, kHome, kEnd, kHome, kEnd, kHome, kEnd}},
      {"\x1b[2~\x1b[3~\x1b[5~\x1b[6~", {kIns, kDel, kPgUp, kPgDn}},
      {"\x1b[5;5~\x1b[2$\x1b[5^\x1b[3@",
       {With(kPgUp, C), With(kIns, S), With(kPgUp, C), With(kDel, C | S)}},
      {"\x1b[E\x1bOE\x1b[G", {kPad5, kPad5, kPad5}},
      // function keys: xterm, vt220, Linux console, rxvt
      {"\x1bOP\x1bOQ\x1bOR\x1bOS", {F(1), F(2), F(3), F(4)}},
      {"\x1b[11~\x1b[12~\x1b[13~\x1b[14~\x1b[15~", {F(1), F(2), F(3), F(4), F(5)}},
      {"\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~\x1b[23~\x1b[24~",
       {F(6), F(7), F(8), F(9), F(10), F(11), F(12)}},
      {"\x1b[[A\x1b[[E", {F(1), F(5)}},
      {"\x1b[1;2P\x1b[15;5~\x1b[25~\x1b[34~", {F(1, S), F(5, C), F(3, S), F(10, S)}},
      // keypad in application mode, Shift+Tab
      {"\x1bOM\x1bOp\x1bOy\x1bOj\x1bOo",
       {kPadEnter, Ch('0', 0x60, 82), Ch('9', 0x69, 73), Ch('*', 0x6A, 55), Ch('/', 0x6F, 53, E)}},
      {"\x1b[Z", {Ch(9, 9, 15, S)}},
      // Alt as an ESC prefix
      {"\x1bx\x1bX\x1b\x01\x1b\r",
       {Ch('x', 'X', 45, A), Ch('X', 'X', 45, A | S), Ch(1, 'A', 30, A | C), With(kEnter, A)}},
      {"\x1b\x1b[A\x1b\x1b", {With(kUp, A), kEsc, kEsc}},
      {"\x1b[", {Ch('[', 0xDB, 26, A)}},
      // UTF-8: Latin-1 characters pass, others and broken bytes become one '?' each
      {"\xc3\xa9\xc3\xbf", {Ch('\xe9', 0, 0), Ch('\xff', 0, 0)}},
      {"\xe2\x82\xac\xf0\x9f\x98\x80", {kBad, kBad}},
      {"\xff\x80", {kBad, kBad}},
      {"\xc3z", {kBad, Ch('z', 'Z', 44)}},
      {"\xe0\x80\xaf", {kBad, kBad, kBad}},  // overlong
      {"\xed\xa0\x80", {kBad, kBad, kBad}},  // surrogate
      {"\xf0\x9f", {kBad}},                  // cut short
      {"\x1b\xc3\xa9", {Ch('\xe9', 0, 0, A)}},
      // never keys: mouse reports, paste marks, focus, answers, unknown and overlong
      {"\x1b[M !!\x1b[M\xff\xff\xffk", {Ch('k', 'K', 37)}},
      {"\x1b[<0;10;20M\x1b[<64;3;4m\x1b[32;5;6M", {}},
      {"\x1b[200~hi\x1b[201~", {Ch('h', 'H', 35), Ch('i', 'I', 23)}},
      {"\x1b[I\x1b[O\x1b[?62;22c\x1b[?15u\x1b[99~\x1b[1;5X\x1b[>1;2m", {}},
      {"\x1b[" + std::string(200, '1') + "Ab", {Ch('b', 'B', 48)}},
      {"\x1b[" + std::string(100, ';') + "\rx", {kEnter, Ch('x', 'X', 45)}},
      {"\x1b[1;5\r", {kEnter}},
      {"\x1b[12", {}},
      // xterm modifyOtherKeys
      {"\x1b[27;5;97~\x1b[27;3;120~", {Ch(1, 'A', 30, C), Ch('x', 'X', 45, A)}},
      // kitty keyboard protocol: presses, repeats, releases, lone modifiers, text
      {"\x1b[97u\x1b[97;1:2u\x1b[97;1:3u",
       {Ch('a', 'A', 30), Ch('a', 'A', 30), With(Ch('a', 'A', 30), 0, false)}},
      {"\x1b[97;5u\x1b[97:65;2;65u\x1b[49:33;2u\x1b[97;65u",
       {Ch(1, 'A', 30, C), Ch('A', 'A', 30, S), Ch('!', '1', 2, S), Ch('A', 'A', 30, CAPSLOCK_ON)}},
      {"\x1b[57441;2u\x1b[57441;1:3u\x1b[57448;5u\x1b[57443;3u",
       {{0x10, 42, 0, S},
        {0x10, 42, 0, 0, false},
        {0x11, 29, 0, RIGHT_CTRL | E},
        {0x12, 56, 0, A}}},
      {"\x1b[13u\x1b[27u\x1b[9;2u\x1b[127u", {kEnter, kEsc, Ch(9, 9, 15, S), Ch(8, 8, 14)}},
      {"\x1b[1;1:3A\x1b[1;5:2D\x1b[13~\x1b[57399u\x1b[57414u\x1b[233u",
       {With(kUp, 0, false), With(kLeft, C), F(3), Ch('0', 0x60, 82), kPadEnter, Ch('\xe9', 0, 0)}},
      {"\x1b[57376u\x1b[57428u", {}},  // F13 and media keys: nothing here
  };
  return rows;
}

TEST(Decoder, TableWholeByteByByteAndSplitAtEveryOffset) {
  for (const Row& row : Table()) {
    SCOPED_TRACE(::testing::PrintToString(row.bytes));
    const std::string_view b = row.bytes;
    ASSERT_EQ(Decode({b}), row.events);
    std::vector<std::string_view> single;
    for (std::size_t i = 0; i < b.size(); ++i) single.push_back(b.substr(i, 1));
    EXPECT_EQ(Decode(single), row.events);
    for (std::size_t k = 1; k < b.size(); ++k)
      EXPECT_EQ(Decode({b.substr(0, k), b.substr(k)}), row.events) << "split at " << k;
  }
}

TEST(Decoder, LoneEscapeSettlesOnlyThroughAdvanceAfterFiftyMilliseconds) {
  TermDecoder d;
  EXPECT_EQ(d.MsUntilSettle(0), -1);
  d.Feed(Bytes("\x1b"), 100);
  EXPECT_EQ(d.MsUntilSettle(130), 20);
  d.Advance(149);
  EXPECT_FALSE(d.HasEvent());
  d.Advance(150);
  EXPECT_EQ(Drain(d), std::vector<Ev>{kEsc});
  EXPECT_EQ(d.MsUntilSettle(150), -1);

  d.Feed(Bytes("\x1b"), 200);  // a '[' after a settle is a character of its own
  d.Advance(250);
  d.Feed(Bytes("["), 260);
  EXPECT_EQ(Drain(d), (std::vector<Ev>{kEsc, Ch('[', 0xDB, 26)}));

  d.Feed(Bytes("\x1b"), 300);  // in time it makes a sequence
  d.Feed(Bytes("[A"), 349);
  EXPECT_EQ(Drain(d), std::vector<Ev>{kUp});

  d.Feed(Bytes("\x1b[1;5"), 400);  // an unfinished sequence is dropped when it settles
  d.Advance(450);
  d.Feed(Bytes("A"), 451);
  EXPECT_EQ(Drain(d), std::vector<Ev>{Ch('A', 'A', 30, S)});

  // With no Advance in between, bytes join up however late they are fed: a read that
  // stopped inside a sequence is never split into an Escape, and an ESC with the next
  // byte is Alt with that key.
  d.Feed(Bytes(" \x1b"), 500);
  d.Feed(Bytes(" "), 530);
  d.Feed(Bytes("\x1b"), 560);
  d.Feed(Bytes("\x1b[A"), 580);
  d.Feed(Bytes("\x1b["), 600);
  d.Feed(Bytes("C"), 5000);
  d.Feed(Bytes("\x1b"), 6000);
  d.Feed(Bytes("OB"), 9000);
  EXPECT_EQ(Drain(d), (std::vector<Ev>{Ch(' ', 0x20, 57), Ch(' ', 0x20, 57, A), With(kUp, A),
                                       kRight, kDown}));
}

TEST(Decoder, AnswersAreNotedNotTyped) {
  TermDecoder d;
  d.Feed(Bytes("x\x1b[?1u\x1b[?62;c"), 0);
  EXPECT_TRUE(d.KittyReplySeen());
  EXPECT_TRUE(d.DeviceAttributesSeen());
  EXPECT_EQ(Drain(d), std::vector<Ev>{Ch('x', 'X', 45)});
}

}  // namespace
