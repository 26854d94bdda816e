#include "ids/ids.h"

#include <gtest/gtest.h>

using namespace kardo::ids;

TEST(Punctuation, TiraPonto) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"111.444.777-35", "11144477735"}, {"11.222.333/0001-81", "11222333000181"},
      {"  12 a3 ", "123"},               {"", ""},  {"abc", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TIRA_PONTO(c.in), c.out) << c.in;
}

TEST(Punctuation, ContaPonto) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"11222333000181", "11.222.333/0001-81"},
      {"11144477735", "111.444.777-35    "},
      {" 11144477735  ", "111.444.777-35    "},       // trimmed length counts
      {"111.444.777-35    ", "111.444.777-35    "},   // already punctuated: '.' in position 4
      {"11.222.333/0001-81", "11.222.333/0001-81"},   // '.' in position 3
      {"123 4567890123", "123 4567890123"},           // a blank in position 4
      {"123456789012", "123456789012"},               // neither 11 nor 14 long
      {"123", "123"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CONTAPONTO(c.in), c.out) << c.in;
}

TEST(Punctuation, PoePontoByPaymentCode) {
  struct Case { const char* in; int mode, code; const char* out; } cases[] = {
      {"11222333000181", 0, 10, "11.222.333/0001-81"},  // mode 0: by length
      {"11144477735", 1, 1, "11.144.477/735 -  "},      // code 1 is a CNPJ, whatever the length
      {"11144477735", 1, 98, "11.144.477/735 -  "},
      {"11144477735", 1, 10, "111.444.777-35    "},
      {"11144477735", 1, 94, "111.444.777-35    "},
      {"12345678901", 1, 50, "123.45678.90-1    "},     // NIT
      {"11222333000181", 1, 21, "11.222.333/0001-81"},
      {"11222333000181", 1, 9, "11.222.333/0001-81"},   // too long for a CPF: by length
      {"11222333000181", 1, 2, "11.222.333/0001-81"},   // other codes: by length
      {"11144477735", 1, 2, "111.444.777-35    "},
      {"111.444.777-35    ", 1, 1, "111.444.777-35    "}, // already punctuated
      {"", 1, 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(POEPONTO(c.in, c.mode, c.code), c.out) << c.in << " code " << c.code;
}

TEST(CheckDigits, Modulo11) {
  struct Case { const char* digits; int substitute; const char* dv; } cases[] = {
      {"6694503", 0, "8"},   {"4990311", 0, "0"},  // 11 − 1 = 10: substituted
      {"6023029", 0, "0"},   // 11 − 0 = 11: substituted
      {"4990311", 1, "1"},   {"1", 0, "9"},  {" 6694503 ", 0, "8"},
      {"", 0, ""},           {"   ", 0, ""}, {"12a", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MODULO_11(c.digits, c.substitute), c.dv) << c.digits;
}

// The usual statement of the CPF digits: weights 10 … 2, then 11 … 2 over the nine digits
// and the first check digit, remainder below 2 giving 0.
static std::string usual_cpf_digits(const std::string& nine) {
  int s = 0;
  for (int i = 0; i < 9; ++i) s += (nine[size_t(i)] - '0') * (10 - i);
  int dv1 = s % 11 < 2 ? 0 : 11 - s % 11;
  s = 0;
  std::string ten = nine + char('0' + dv1);
  for (int i = 0; i < 10; ++i) s += (ten[size_t(i)] - '0') * (11 - i);
  int dv2 = s % 11 < 2 ? 0 : 11 - s % 11;
  return {char('0' + dv1), char('0' + dv2)};
}

TEST(CheckDigits, CpfAgreesWithTheUsualStatement) {
  unsigned long long x = 88172645463325252ull;
  for (int n = 0; n < 20000; ++n) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    std::string nine = std::to_string(x % 1000000000ull);
    nine = std::string(9 - nine.size(), '0') + nine;
    ASSERT_EQ(Cpf::check_digits(nine), usual_cpf_digits(nine)) << nine;
  }
}

TEST(Values, CpfAndCnpj) {
  for (const char* good : {"11144477735", "111.444.777-35", " 111.444.777-35    ", "12345678909", "00000000191",
                           "11111111111", "52601815906", "08301661305", "99603082430", "76842684650"})
    EXPECT_TRUE(Cpf::parse(good)) << good;
  for (const char* bad : {"11144477736", "1114447773", "111444777355", "1114447773a", "111 444777-35", ""})
    EXPECT_FALSE(Cpf::parse(bad)) << bad;
  EXPECT_EQ(Cpf::parse("111.444.777-35")->digits(), "11144477735");
  EXPECT_EQ(Cpf::parse("11144477735")->display(), "111.444.777-35");
  EXPECT_EQ(Cpf::from_base("111444777")->digits(), "11144477735");
  EXPECT_FALSE(Cpf::from_base("11144477"));
  EXPECT_EQ(Cpf::check_digits("12345678a"), "");

  for (const char* good : {"11222333000181", "11.222.333/0001-81", "50793510265860", "14985203009307",
                           "68906028298940", "47358951311104"})
    EXPECT_TRUE(Cnpj::parse(good)) << good;
  for (const char* bad : {"11222333000182", "1122233300018", "11144477735"}) EXPECT_FALSE(Cnpj::parse(bad)) << bad;
  EXPECT_EQ(Cnpj::parse("11222333000181")->display(), "11.222.333/0001-81");
  EXPECT_EQ(Cnpj::from_base("112223330001")->digits(), "11222333000181");
}

TEST(CheckDigits, FundReference) {
  EXPECT_EQ(DVFUNDO(*Cnpj::parse("11222333000181")), "89");
  EXPECT_EQ(DVFUNDO(*Cnpj::parse("78841085582666")), "11");  // both digits substituted by 1
}
