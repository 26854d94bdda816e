#include <gtest/gtest.h>

#include "base/codepage.h"
#include "term/clipboard.h"
#include "term/colour.h"
#include "term/headless.h"
#include "term/keyseq.h"
#include "term/keys.h"
#include "term/screen.h"

using namespace kardo::term;
using namespace kardo::base::literals;

TEST(Colour, PairsBothWays) {
  struct Case { int number; const char* pair; } cases[] = {
      {30, "GR+/B"}, {112, "N/W"}, {79, "W+/R"}, {7, "W/N"}, {48, "N/BG"}, {31, "W+/B"},
      {0xC7, "W/R+"}, {240, "N/W+"}, {121, "B+/W"}, {0x5D, "BR+/BR"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colour_pair(c.number), c.pair) << c.number;
    EXPECT_EQ(colour_number(c.pair), c.number) << c.pair;
  }
  for (int n = 0; n < 256; ++n) EXPECT_EQ(colour_number(colour_pair(n)), n) << n;
  // Spellings settings carry: lower case, letters in either order, blink as bright
  // background, a list of pairs, an empty side.
  struct Loose { const char* pair; int number; } loose[] = {
      {"gr+/b", 30}, {"GB/N", 3}, {"RB/N", 5}, {"R/W*", 0xF4}, {"W/N,N/W", 7}, {"W+", 15}, {"/W", 112},
  };
  for (const Loose& l : loose) EXPECT_EQ(colour_number(l.pair), l.number) << l.pair;
  for (const char* bad : {"Y/B", "W/+", "12"}) EXPECT_FALSE(colour_number(bad)) << bad;
}

TEST(Screen, WritesAndSavedAreasAreClippedToTheGrid) {
  Screen s;
  s.write(24, 75, "ABCDEFGH", 30);  // runs past the right edge
  EXPECT_EQ(s.text(24, 75, 5), "ABCDE");
  EXPECT_EQ(s.at(24, 79).colour, 30);
  s.write(-1, 0, "lost", 30);
  s.put(25, 0, 'X', 30);
  s.put(0, -1, 'X', 30);
  EXPECT_EQ(s.row_text(0), std::string(80, ' '));

  // A rectangle half off the screen keeps and restores just its visible part.
  Screen before = s;
  SavedArea a = s.save({20, 70, 30, 90});
  EXPECT_EQ(a.rect, (Rect{20, 70, 24, 79}));
  EXPECT_EQ(a.cells.size(), 5u * 10u);
  s.fill({20, 70, 30, 90}, 'x', 0x1F);
  s.restore(a);
  for (int r = 0; r < Screen::ROWS; ++r)
    for (int c = 0; c < Screen::COLS; ++c) ASSERT_EQ(s.at(r, c), before.at(r, c)) << r << "," << c;
  EXPECT_TRUE(s.save({-5, -5, -1, 10}).cells.empty());
}

TEST(Screen, DumpIsUtf8) {
  Screen s;
  s.write(3, 2, "ATENÇÃO ░"_cp, 7);
  EXPECT_TRUE(s.shows("ATENÇÃO"_cp));
  std::string dump = s.dump();
  size_t line3 = 0;
  for (int i = 0; i < 3; ++i) line3 = dump.find('\n', line3) + 1;
  EXPECT_EQ(dump.substr(line3, 15), "  ATENÇÃO ░");
}

TEST(Keys, NamesRoundTrip) {
  struct Case { const char* name; int key; } cases[] = {
      {"Enter", key::ENTER}, {"Ctrl+Enter", key::CTRL_ENTER}, {"Alt+A", key::alt('a')},
      {"F12", key::F12}, {"Shift+Tab", key::SHIFT_TAB}, {"Ctrl+C", key::ctrl('c')},
      {"a", 'a'}, {"+", '+'}, {"Alt++", key::alt('+')}, {"Space", ' '}, {"ç", 0x87},
      {"Ctrl+PgDn", key::CTRL | key::PGDN}, {"Alt+F2", key::ALT | key::F2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(key_from_name(c.name), c.key) << c.name;
    EXPECT_EQ(key_name(c.key), c.name) << c.name;
  }
  EXPECT_EQ(key_from_name("alt+a"), key::alt('A'));
  EXPECT_EQ(keys_from_names("5 + 3 = Ctrl+Enter"), (std::vector<int>{'5', '+', '3', '=', key::CTRL_ENTER}));
  EXPECT_THROW(keys_from_names("F13"), std::invalid_argument);
  EXPECT_THROW(keys_from_names("Ctrl+Entr"), std::invalid_argument);
}

TEST(Keys, TerminalSequences) {
  using K = detail::Decoded::Kind;
  struct Case { char intro; const char* body; K kind; int key; } cases[] = {
      {'[', "27;5;13~", K::KEY, key::CTRL_ENTER},  // xterm modifyOtherKeys
      {'[', "13;5u", K::KEY, key::CTRL_ENTER},     // CSI u
      {'[', "13;2u", K::KEY, key::SHIFT | key::ENTER},
      {'[', "97;3u", K::KEY, key::alt('a')},
      {'[', "27;6;65~", K::KEY, key::ctrl('A')},
      {'[', "1;5A", K::KEY, key::CTRL | key::UP},
      {'[', "1;3D", K::KEY, key::ALT | key::LEFT},
      {'[', "5;5~", K::KEY, key::CTRL | key::PGUP},
      {'[', "1;5H", K::KEY, key::CTRL | key::HOME},
      {'[', "15~", K::KEY, key::F5},
      {'[', "24;2~", K::KEY, key::SHIFT | key::F12},
      {'[', "1;2P", K::KEY, key::SHIFT | key::F1},
      {'[', "3~", K::KEY, key::DEL},
      {'[', "Z", K::KEY, key::SHIFT_TAB},
      {'O', "P", K::KEY, key::F1},
      {'O', "M", K::KEY, key::ENTER},
      {'[', "200~", K::PASTE_BEGIN, 0},
      {'[', "99~", K::UNKNOWN, 0},
      {'[', "?1;2c", K::UNKNOWN, 0},
  };
  for (const Case& c : cases) {
    detail::Decoded d = detail::decode_sequence(c.intro, c.body);
    EXPECT_EQ(d.kind, c.kind) << c.body;
    if (c.kind == K::KEY) {
      EXPECT_EQ(key_name(d.event.key), key_name(c.key)) << c.body;
    }
  }
  detail::Decoded m = detail::decode_sequence('[', "<0;10;5M");
  ASSERT_EQ(m.kind, K::MOUSE);
  EXPECT_EQ(m.event.mouse, Event::Mouse::CLICK);
  EXPECT_EQ(m.event.row, 4);
  EXPECT_EQ(m.event.col, 9);
  EXPECT_EQ(detail::decode_sequence('[', "<65;1;1M").event.mouse, Event::Mouse::WHEEL_DOWN);
  EXPECT_EQ(detail::decode_sequence('[', "<0;10;5m").kind, K::MOUSE_RELEASE);

  EXPECT_EQ(detail::key_of_byte(10), key::CTRL_ENTER);  // Ctrl+J
  EXPECT_EQ(detail::key_of_byte(13), key::ENTER);
  EXPECT_EQ(detail::key_of_byte(3), key::ctrl('C'));   // raw mode: Ctrl+C is a key
  EXPECT_EQ(detail::key_of_byte(127), key::BACKSPACE);
  EXPECT_EQ(detail::key_of_byte(27), std::nullopt);
}

TEST(Headless, ScriptAndRecords) {
  HeadlessBackend h;
  Terminal t(h);
  h.keys("F1 Alt+X").type("ção").click(3, 4).paste("colado").tick();
  t.screen().write(0, 0, "hello", 30);
  EXPECT_EQ(t.read_key(), key::F1);
  EXPECT_EQ(h.shown().text(0, 0, 5), "hello");  // waiting shows what was drawn
  EXPECT_EQ(t.read_key(), key::alt('X'));
  EXPECT_EQ(t.read_key(), 0x87);  // ç in code page 850
  t.read_key();
  t.read_key();
  Event click = t.wait();
  EXPECT_EQ(click.type, Event::Type::MOUSE);
  EXPECT_EQ(click.row, 3);
  EXPECT_EQ(t.wait().text, "colado");
  EXPECT_EQ(t.wait(100).type, Event::Type::TICK);
  EXPECT_FALSE(t.poll());
  EXPECT_THROW(t.read_key(), ScriptEnded);
  t.tone(800, 10);
  EXPECT_EQ(h.tones(), (std::vector<HeadlessBackend::Tone>{{800, 10}}));
}

TEST(Clipboard, Osc52EncodesUtf8InBase64) {
  EXPECT_EQ(SystemClipboard::osc52("Ma"), "\033]52;c;TWE=\a");
  EXPECT_EQ(SystemClipboard::osc52("Man"), "\033]52;c;TWFu\a");
  EXPECT_EQ(SystemClipboard::osc52("M"), "\033]52;c;TQ==\a");
}
