#include "ui/field.h"

#include <functional>

#include "fixture.h"
#include "term/keys.h"

namespace kardo::ui::testing {
namespace {

using base::Date;
using base::Decimal;
namespace key = term::key;
Decimal D(const char* s) { return Decimal::parse(s).value(); }

class Fields : public UiTest {
 protected:
  int refusals() {
    int n = 0;
    for (auto t : h.tones()) n += t == term::HeadlessBackend::Tone{800, 10};
    return n;
  }
};

TEST_F(Fields, EditingUnderMasks) {
  struct Case {
    const char* what;
    std::function<Field()> make;
    const char* keys;  // key names; "'…'" is typed text
    const char* display;
    int end_key;
    int refusals;
  } cases[] = {
      {"CPF picture, full field goes on", [] { return Field::Text(5, 5, "", 11, "@R 999.999.999-99"); },
       "1 2 3 4 5 6 7 8 9 0 9", "123.456.789-09", '9', 0},
      {"a letter in a digit place", [] { return Field::Text(5, 5, "", 11, "@R 999.999.999-99"); },
       "1 2 a 3 Enter", "123.   .   -  ", key::ENTER, 1},
      {"upper case", [] { return Field::Text(5, 5, "", 5, "@!"); }, "a b ç Enter", "ABÇ  ", key::ENTER, 0},
      {"end and backspace", [] { return Field::Text(5, 5, "abcde", 8); }, "End Backspace x Enter", "abcdx   ", key::ENTER, 0},
      {"insert", [] { return Field::Text(5, 5, "abcd", 6); }, "Home Ins X Enter", "Xabcd ", key::ENTER, 0},
      {"delete", [] { return Field::Text(5, 5, "abcd", 4); }, "Home Del Enter", "bcd ", key::ENTER, 0},
      {"clear to the end", [] { return Field::Text(5, 5, "abcd", 4); }, "Right Ctrl+Y Enter", "a   ", key::ENTER, 0},
      {"K clears on the first key", [] { return Field::Text(5, 5, "abcd", 4, "@K"); }, "z Enter", "z   ", key::ENTER, 0},
      {"K: a movement first keeps the text", [] { return Field::Text(5, 5, "abcd", 4, "@K"); }, "Right z Enter", "azcd", key::ENTER, 0},
      {"words", [] { return Field::Text(5, 5, "um dois tres", 12); }, "Ctrl+Right Ctrl+Right X Ctrl+Left Ctrl+Left Ctrl+Left Y Enter",
       "Ym dois Xres", key::ENTER, 0},
      {"amount", [] { return Field::Number(5, 5, Decimal(5), 9, 2, "@E 999,999.99"); }, "1 2 3 4 , 5 Enter",
       "  1.234,50", key::ENTER, 0},
      {"the first digit replaces", [] { return Field::Number(5, 5, Decimal(77), 9, 2, "@E 999,999.99"); }, "3 Enter",
       "      3,00", key::ENTER, 0},
      {"backspace takes digits back", [] { return Field::Number(5, 5, D("1234.5"), 9, 2, "@E 999,999.99"); },
       "Backspace Backspace Backspace Enter", "    123,00", key::ENTER, 0},
      {"a 7th whole digit", [] { return Field::Number(5, 5, Decimal(), 9, 2, "@E 999,999.99"); },
       "1 2 3 4 5 6 7 Enter", "123.456,00", key::ENTER, 1},
      {"negative", [] { return Field::Number(5, 5, Decimal(), 9, 2, "@E 999,999.99"); }, "- 5 Enter", "     -5,00", key::ENTER, 0},
      {"the last decimal goes on", [] { return Field::Number(5, 5, Decimal(), 9, 2, "@E 999,999.99"); }, "1 , 2 5",
       "      1,25", '5', 0},
      {"blank when zero", [] { return Field::Number(5, 5, Decimal(8), 9, 2, "@Ez 999,999.99"); }, "Del Enter",
       "          ", key::ENTER, 0},
      {"no picture", [] { return Field::Number(5, 5, Decimal(), 5, 0); }, "1 2 3 4 5", "12345", '5', 0},
      {"date", [] { return Field::DateField(5, 5, Date()); }, "3 1 1 2 2 0 1 8", "31/12/2018", '8', 0},
      {"an impossible date stays", [] { return Field::DateField(5, 5, Date()); }, "3 1 0 2 2 0 1 8 Home 2 8 Enter",
       "28/02/2018", key::ENTER, 1},
      {"logical S/N", [] { return Field::Logical(5, 5, false, "Y"); }, "x s", "S", 's', 1},
  };
  for (const Case& c : cases) {
    h.clear_tones();
    std::vector<Field> fields{c.make()};
    h.keys(c.keys);
    Reader reader(ui, fields);
    EXPECT_EQ(reader.run(), c.end_key) << c.what;
    EXPECT_EQ(base::cp850_to_utf8(fields[0].display()), c.display) << c.what;
    EXPECT_EQ(refusals(), c.refusals) << c.what;
    EXPECT_EQ(h.pending(), 0u) << c.what;
  }
}

TEST_F(Fields, StoredValues) {
  std::vector<Field> f{Field::Text(1, 1, "", 11, "@R 999.999.999-99"), Field::Number(2, 1, Decimal(), 12, 2, "@Ez 999,999,999.99"),
                       Field::DateField(3, 1, Date()), Field::Text(4, 1, "", 4, "@R 99-99")};
  h.keys("1 1 1 4 4 4 7 7 7 3 5 1 5 0 0 , 7 5 0 1 0 2 1 9 9 9 1 2 Enter");  // full fields go on by themselves
  Reader(ui, f).run();
  EXPECT_EQ(f[0].text, "11144477735");  // the picture's literals are not stored
  EXPECT_EQ(f[1].number, D("1500.75"));
  EXPECT_EQ(f[2].date, Date(1999, 2, 1));
  EXPECT_EQ(f[3].text, "12  ");
}

TEST_F(Fields, ReaderMovesBetweenFieldsAndEnds) {
  auto make = [] {
    return std::vector<Field>{Field::Text(3, 10, "", 10), Field::Number(4, 10, Decimal(), 9, 2, "@E 999,999.99"),
                              Field::DateField(5, 10, Date())};
  };
  {  // Enter and Up move; an exit key ends after committing the field it leaves.
    auto f = make();
    h.type("Ana").keys("Enter 5 0 0 Up Down 7 F10");
    Reader r(ui, f);
    EXPECT_EQ(r.run(), key::F10);
    EXPECT_EQ(r.current(), 1);
    EXPECT_TRUE(r.updated());
    EXPECT_EQ(f[0].text, "Ana       ");
    EXPECT_EQ(f[1].number, Decimal(7));  // Up and Down re-entered it; the first digit replaced it
  }
  {  // Esc: the field being edited keeps its old value, those left before keep theirs.
    auto f = make();
    f[1].number = Decimal(9);
    h.type("Bia").keys("Enter 1 2 Esc");
    Reader r(ui, f);
    EXPECT_EQ(r.run(), key::ESC);
    EXPECT_EQ(f[0].text, "Bia       ");
    EXPECT_EQ(f[1].number, Decimal(9));
  }
  {  // A field whose `when` is false is skipped; Enter past the last field ends the read.
    auto f = make();
    f[1].when = [](const Field&) { return false; };
    h.keys("Enter Enter");
    Reader r(ui, f);
    EXPECT_EQ(r.run(), key::ENTER);
    EXPECT_EQ(r.current(), 2);
  }
  {  // A click moves to the field clicked, at the place clicked.
    auto f = make();
    f[0].text = "abcdefghij";
    h.click(5, 10).click(3, 13).keys("X PgDn");
    Reader r(ui, f);
    EXPECT_EQ(r.run(), key::PGDN);
    EXPECT_EQ(f[0].text, "abcXefghij");
  }
  {  // The field being edited in the enhanced colour, the others in the unselected one.
    auto f = make();
    h.when_idle([&](term::HeadlessBackend& hb) {
      EXPECT_EQ(hb.shown().at(3, 10).colour, 7);     // W/N
      EXPECT_EQ(hb.shown().at(4, 10).colour, 0xF0);  // N/W+
      EXPECT_EQ(hb.shown().cursor_row(), 3);
      EXPECT_EQ(hb.shown().cursor_col(), 10);
      hb.when_idle(nullptr);
      hb.keys("Esc");
    });
    Reader(ui, f).run();
  }
}

TEST_F(Fields, ValidationKeepsTheCursorOrReplacesTheValue) {
  std::vector<Field> f{Field::Number(3, 10, Decimal(), 9, 2, "@E 999,999.99"), Field::Text(4, 10, "", 5)};
  f[0].valid = [&](Field& x) {
    if (x.number > Decimal(100)) {
      ui.AVISOSN({"Valor acima do limite"}, base::BOX_ERROR);
      return false;
    }
    return true;
  };
  f[1].valid = [](Field& x) {
    if (x.text == "x    ") x.text = "xis  ";  // replaced, and the read goes on
    return true;
  };
  h.keys("5 0 0 Enter").keys("Enter").keys("5 0 Enter x Enter");
  Reader r(ui, f);
  EXPECT_EQ(r.run(), key::ENTER);
  EXPECT_EQ(f[0].number, Decimal(50));
  EXPECT_EQ(f[1].text, "xis  ");
  EXPECT_EQ(s().text(4, 10, 5), "xis  ");
  ASSERT_EQ(h.boxes().size(), 1u);
  EXPECT_EQ(h.boxes()[0].lines[0], "Valor acima do limite");
}

TEST_F(Fields, ClipboardPasteAndScrolling) {
  std::vector<Field> f{Field::Text(3, 10, "copiado", 30, "@S10"), Field::Text(4, 10, "", 30, "@S10")};
  h.keys("Ctrl+C Enter").paste("colado\r\nresto").keys("Alt+V");
  h.when_idle([&](term::HeadlessBackend& hb) {
    EXPECT_EQ(hb.shown().text(4, 10, 11), "docopiado  ");  // ten columns, scrolled to the cursor
    EXPECT_EQ(hb.shown().text(3, 10, 11), "copiado    ");
    hb.when_idle(nullptr);
    hb.keys("Enter");
  });
  Reader(ui, f).run();
  EXPECT_EQ(h.clipboard(), "copiado");
  EXPECT_EQ(base::RTRIM(f[1].text), "coladocopiado");
}

TEST_F(Fields, CalculatorIntoField) {
  std::vector<Field> f{Field::Number(3, 10, Decimal(), 9, 2, "@E 999,999.99"), Field::Text(4, 10, "Total", 20)};
  Reader::Options o;
  o.on_key = [](int k, Reader& r) {
    if (k != key::alt('S')) return false;
    r.calculator_into_field();
    return true;
  };
  h.keys("Alt+S 1 0 / 4 = Ctrl+Enter Enter Alt+S 1 2 + 3 = Ctrl+Enter Enter");
  Reader(ui, f, o).run();
  EXPECT_EQ(f[0].number, D("2.5"));
  EXPECT_EQ(base::RTRIM(f[1].text), "Total 15");
}

}  // namespace
}  // namespace kardo::ui::testing
