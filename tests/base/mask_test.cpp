#include "base/mask.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

using kardo::base::CAR_TO_VAL;
using kardo::base::Date;
using kardo::base::Decimal;
using kardo::base::Mask;
using namespace kardo::base::literals;
using Kind = Mask::Kind;

namespace {
Decimal D(const char* s) { return Decimal::parse(s).value(); }
}  // namespace

TEST(CarToVal, ReadsDisplayText) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"1.234,56", "1234.56"}, {"", "0"},          {"   ", "0"},        {"12,5", "12.5"},
      {"-1.234,5", "-1234.5"}, {" 999.999.999,99", "999999999.99"},   {"1234", "1234"},
      {"12,34,56", "12.34"},   // only the first comma becomes the point
      {"1.234.567", "1234567"}, {"abc", "0"},       {"7,5%", "7.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(CAR_TO_VAL(c.in), D(c.out)) << c.in;
  EXPECT_EQ(CAR_TO_VAL(D("3.5")), D("3.5"));
}

TEST(Mask, ParsesFlagsAndPicture) {
  Mask m = Mask::parse("@Ez 999,999,999.99");
  EXPECT_TRUE(m.comma_decimal() && m.blank_zero());
  EXPECT_FALSE(m.insert_literals());
  EXPECT_EQ(m.picture(), "999,999,999.99");
  EXPECT_EQ(Mask::parse("@S30").scroll_width(), 30);
  EXPECT_EQ(Mask::parse("@s18").scroll_width(), 18);
  Mask ks = Mask::parse("@KS");
  EXPECT_TRUE(ks.clear_on_first_key());
  EXPECT_EQ(ks.scroll_width(), 0);
  EXPECT_TRUE(Mask::parse("@r 9999").insert_literals());
  EXPECT_EQ(Mask::parse("@Z99").picture(), "99");  // no blank before the picture
  EXPECT_TRUE(Mask::parse("@Z99").blank_zero());
  EXPECT_EQ(Mask::parse("@ 9999").picture(), "9999");
  EXPECT_EQ(Mask::parse("999").picture(), "999");
  EXPECT_TRUE(Mask::parse("@!").upper());
  EXPECT_TRUE(Mask::parse("@d").date());
  EXPECT_EQ(Mask::parse("@A").picture(), "");  // a flag without effect, not a picture
  EXPECT_EQ(Mask::parse("@(Z 999").picture(), "999");
}

// Numbers both ways: the display text, and that text read back as an edit buffer.
TEST(Mask, NumbersBothWays) {
  struct Case { const char* mask; const char* value; const char* shown; const char* back; } cases[] = {
      {"@Ez 999,999,999.99", "1234567.89", "  1.234.567,89", "1234567.89"},
      {"@Ez 999,999,999.99", "0", "              ", "0"},
      {"@Ez 999,999,999.99", "-1234.5", "     -1.234,50", "-1234.5"},
      {"@Ez 999,999,999.99", "999999999.99", "999.999.999,99", "999999999.99"},
      {"@Ez 999,999,999.99", "1000000000", "***********,**", nullptr},  // too large
      {"@Ez 999,999,999.99", "0.005", "          0,01", "0.01"},       // rounded half up
      {"@Ez 999,999,999.99", "0.004", "              ", "0"},          // zero once rounded
      {"@E 99.99", "1.5", " 1,50", "1.5"},
      {"@E 99.99", "-1.5", "-1,50", "-1.5"},
      {"@E 99.99", "-0.5", "-0,50", "-0.5"},
      {"@E 99.99", "0", " 0,00", "0"},
      {"@E 99.99", "99.995", "**,**", nullptr},  // rounds to 100.00
      {"@E 99.99", "-10", "**,**", nullptr},     // no room for the sign
      {"@EZ 99.99", "0", "     ", "0"},
      {"@EZ 99.99", "12.34", "12,34", "12.34"},
      {"@E 99.99%", "7.5", " 7,50%", "7.5"},
      {"999", "5", "  5", "5"},
      {"999", "12.5", " 13", "13"},
      {"999", "-12", "-12", "-12"},
      {"999", "1000", "***", nullptr},
      {"@Z 999.99", "1.5", "  1.50", "1.5"},
      {"9,999.99", "1234.5", "1,234.50", "1234.5"},
      {"9,999.99", "123", "  123.00", "123"},
      {"@Ez 999,999", "-123", "   -123", "-123"},
      {"@Ez 999,999", "1234", "  1.234", "1234"},
      {"@ez 9999.999", "3.14159", "   3,142", "3.142"},
      {"@Z99", "5", " 5", "5"},
  };
  for (const Case& c : cases) {
    Mask m = Mask::parse(c.mask);
    std::string shown = m.format(D(c.value));
    EXPECT_EQ(shown, c.shown) << c.mask << " " << c.value;
    auto back = m.unformat_number(shown);
    if (c.back) {
      ASSERT_TRUE(back) << c.mask << " " << shown;
      EXPECT_EQ(*back, D(c.back)) << c.mask << " " << shown;
    } else {
      EXPECT_FALSE(back) << c.mask << " " << shown;
    }
  }
}

TEST(Mask, NumbersWithoutPictureUseTheFieldShape) {
  EXPECT_EQ(Mask::parse("@E").format(D("1234.5"), 10, 2), "   1234,50");
  EXPECT_EQ(Mask::parse("@Ez").format(Decimal(), 10, 2), "          ");
  EXPECT_EQ(Mask().format(D("-3.14159"), 8, 3), "  -3.142");
  EXPECT_EQ(Mask().format(D("123456"), 4, 0), "****");
  EXPECT_EQ(Mask::parse("@E").unformat_number("  1.234,50"), D("1234.5"));
  EXPECT_EQ(Mask().unformat_number(" -12.5"), D("-12.5"));
  EXPECT_EQ(Mask().unformat_number("    "), Decimal());
  EXPECT_FALSE(Mask().unformat_number("12a"));
  EXPECT_FALSE(Mask().unformat_number("1-2"));
}

TEST(Mask, TypedNumberBuffers) {
  Mask m = Mask::parse("@E 999,999.99");
  struct Case { const char* buffer; const char* value; } cases[] = {
      {"     12,5 ", "12.5"}, {"  1.012,30", "1012.3"}, {"  1 012,30", "1012.3"},
      {"       ,  ", "0"},     {"  -   5,00", "-5"},
  };
  for (const Case& c : cases) EXPECT_EQ(m.unformat_number(c.buffer), D(c.value)) << c.buffer;
  EXPECT_FALSE(m.unformat_number("  5 - 3,00"));
  EXPECT_FALSE(m.unformat_number("  5 x 3,00"));
}

// Texts both ways: R pictures insert their literals and drop them again.
TEST(Mask, TextsBothWays) {
  struct Case { const char* mask; std::string_view value; std::string_view shown; std::string_view back; } cases[] = {
      {"@R 999.999.999-99", "11144477735", "111.444.777-35", "11144477735"},
      {"@R 999.999.999-99", "123", "123.   .   -  ", "123        "},
      {"@r 99.999.999/9999-99", "11222333000181", "11.222.333/0001-81", "11222333000181"},
      {"@R 999.99999.99-9", "12345678901", "123.45678.90-1", "12345678901"},
      {"@r 9999999999-99", "123456789012", "1234567890-12", "123456789012"},
      {"@R #9999-9999", "912345678", "91234-5678", "912345678"},
      {"@R !!!!!-!", "abcdef", "ABCDE-F", "ABCDEF"},
      {"@R ##:##", "0930", "09:30", "0930"},
      // without R the picture's literals stand in their own positions and are stored
      {"999.999.999-99", "111.444.777-35", "111.444.777-35", "111.444.777-35"},
      {"999.999.999-99", "11144477735   ", "111.447.735-  ", "111.447.735-  "},
      {"@!", "joão da silva"_cp, "JOÃO DA SILVA"_cp, "JOÃO DA SILVA"_cp},
      {"!", "s", "S", "S"},
      {"@S30", "Rua das Flores", "Rua das Flores", "Rua das Flores"},
      {"", "abc ", "abc ", "abc "},
  };
  for (const Case& c : cases) {
    Mask m = Mask::parse(c.mask);
    std::string shown = m.format(c.value);
    EXPECT_EQ(shown, c.shown) << c.mask << " " << c.value;
    EXPECT_EQ(m.unformat_text(shown), c.back) << c.mask << " " << shown;
  }
}

TEST(Mask, DatesAndLogicals) {
  Mask d = Mask::parse("@D");
  EXPECT_EQ(d.format(Date(2018, 12, 31)), "31/12/2018");
  EXPECT_EQ(d.format(Date()), "  /  /    ");
  EXPECT_EQ(Mask::parse("@DZ").format(Date()), "          ");
  EXPECT_EQ(d.unformat_date("31/12/2018"), Date(2018, 12, 31));
  EXPECT_EQ(d.unformat_date("01/02/53  "), Date(1953, 2, 1));
  EXPECT_EQ(d.unformat_date("  /  /    "), Date());
  EXPECT_FALSE(d.unformat_date("31/02/2018"));
  EXPECT_FALSE(d.unformat_date("3a/02/2018"));

  EXPECT_EQ(Mask::parse("L").format_logical(true), "T");
  EXPECT_EQ(Mask::parse("Y").format_logical(false), "N");
  EXPECT_TRUE(Mask::parse("Y").unformat_logical("S"));
  EXPECT_TRUE(Mask().unformat_logical("T"));
  EXPECT_FALSE(Mask().unformat_logical("F"));
  EXPECT_FALSE(Mask().unformat_logical(" "));
}

TEST(Mask, EditPositionsAndKeys) {
  Mask cpf = Mask::parse("@R 999.999.999-99");
  EXPECT_TRUE(cpf.editable(Kind::TEXT, 0));
  EXPECT_FALSE(cpf.editable(Kind::TEXT, 3));   // '.'
  EXPECT_FALSE(cpf.editable(Kind::TEXT, 11));  // '-'
  EXPECT_FALSE(cpf.editable(Kind::TEXT, 14));  // past the picture
  EXPECT_EQ(cpf.accept(Kind::TEXT, 0, '5'), '5');
  EXPECT_FALSE(cpf.accept(Kind::TEXT, 0, 'a'));
  EXPECT_FALSE(cpf.accept(Kind::TEXT, 0, '-'));  // signs only in numbers
  EXPECT_FALSE(cpf.accept(Kind::TEXT, 3, '5'));

  Mask amount = Mask::parse("@E 999,999.99");
  EXPECT_EQ(amount.decimal_point(), 7u);
  EXPECT_FALSE(amount.editable(Kind::NUMBER, 3));  // thousands separator
  EXPECT_FALSE(amount.editable(Kind::NUMBER, 7));  // decimal point
  EXPECT_TRUE(amount.editable(Kind::NUMBER, 8));
  EXPECT_EQ(amount.accept(Kind::NUMBER, 0, '-'), '-');
  EXPECT_FALSE(amount.accept(Kind::NUMBER, 0, 'x'));
  EXPECT_EQ(Mask::parse("#9").accept(Kind::TEXT, 0, ' '), ' ');
  EXPECT_EQ(Mask::parse("@E").decimal_point(), std::string::npos);
  EXPECT_EQ(Mask::parse("@E").accept(Kind::NUMBER, 4, ','), ',');

  struct Key { const char* mask; char typed; std::optional<char> got; } keys[] = {
      {"@!", "ç"_cp[0], "Ç"_cp[0]}, {"@!", 'a', 'A'},   {"!", 'b', 'B'},  {"X", 'b', 'b'},
      {"A", '1', std::nullopt},      {"A", "é"_cp[0], "é"_cp[0]},   {"N", '1', '1'},
      {"N", '-', std::nullopt},      {"X", '\x07', std::nullopt},  {"@S30", 'q', 'q'},
  };
  for (const Key& k : keys) EXPECT_EQ(Mask::parse(k.mask).accept(Kind::TEXT, 0, k.typed), k.got) << k.mask;

  Mask date = Mask::parse("@D");
  EXPECT_TRUE(date.editable(Kind::DATE, 0));
  EXPECT_FALSE(date.editable(Kind::DATE, 2));
  EXPECT_FALSE(date.editable(Kind::DATE, 10));
  EXPECT_FALSE(date.accept(Kind::DATE, 0, 'a'));
  EXPECT_EQ(Mask::parse("L").accept(Kind::LOGICAL, 0, 's'), 'T');
  EXPECT_EQ(Mask::parse("Y").accept(Kind::LOGICAL, 0, 'y'), 'S');
  EXPECT_FALSE(Mask::parse("Y").accept(Kind::LOGICAL, 0, 'T'));
  EXPECT_FALSE(Mask::parse("Y").editable(Kind::LOGICAL, 1));
}
