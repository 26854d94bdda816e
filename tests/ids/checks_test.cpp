#include "ids/checks.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

using namespace kardo;
using namespace kardo::ids;
using base::ScriptedOperator;

namespace {

// Runs a check against a fresh scripted operator; `shown` gets every box it showed, in
// UTF-8, lines joined by " / ", boxes by " | ". Every box of a check is an error box.
template <class F>
auto run(F check, std::string& shown) {
  base::FixedClock clock(base::Date(2019, 4, 1));
  ScriptedOperator op(clock);
  auto result = check(op);
  shown.clear();
  for (const auto& s : op.shown()) {
    if (s.kind != "box") continue;
    EXPECT_EQ(s.mode, base::BOX_ERROR);
    EXPECT_EQ(s.caption, "ERRO");
    std::string t;
    for (size_t i = 0; i < s.lines.size(); ++i) t += (i ? " / " : "") + base::cp850_to_utf8(s.lines[i]);
    shown += (shown.empty() ? "" : " | ") + t;
  }
  return result;
}

std::string cp(const char* utf8) { return base::utf8_to_cp850(utf8); }

}  // namespace

TEST(Checks, Cpf) {
  struct Case { const char* cpf; bool required; int mode; bool ok; const char* shown; bool blank_name = false; } cases[] = {
      {"11144477735", true, 0, true, ""},
      {"11144477736", true, 0, false, "ATENÇÃO! CPF 111.444.777-36 está incorreto.  / O dígito para esse número é:35"},
      {"12345678909", true, 0, true, ""},   // first digit 10 → 0, 9 added to the second sum
      {"52601815906", true, 0, true, ""},
      {"08301661305", true, 0, true, ""},   // first digit 0 from a remainder of 0
      {"76842684650", true, 0, true, ""},   // second digit 10 → 0
      {"99603082430", true, 0, true, ""},
      {"00000000191", true, 0, true, ""},
      {"11111111111", true, 0, true, ""},   // equal digits are no fault
      {"111.444.777-35", true, 0, true, ""},
      {"111.444.777-35    ", true, 0, true, ""},
      {"", true, 0, false, ""},             // required and empty: refused silently
      {"   .   .   -  ", true, 0, false, ""},
      {"", false, 0, true, ""},
      {"", true, 1, true, "", true},        // the register: the name is blanked, the field left
      {"", false, 1, true, ""},
      {"1114447", true, 0, false, "ATENÇÃO! CPF está incompleto."},
      {"1114447    ", true, 0, false, "ATENÇÃO! CPF está incompleto."},
      {" 11144477735", true, 0, false, "ATENÇÃO! CPF está incompleto."},
      {"1114 4777735", true, 0, false, "ATENÇÃO! CPF está incompleto."},
      {"1114447", true, 1, false, ""},      // incomplete outside mode 0: silent
      {"1114447", true, 2, false, ""},
      {"11144477736", true, 1, false, "ATENÇÃO! CPF 111.444.777-36 está incorreto.  / O dígito para esse número é:35"},
      {"11144477736", true, 2, false, ""},
      {"111444777  ", true, 0, false, "ATENÇÃO! CPF 111.444.777-   está incorreto.  / O dígito para esse número é:35"},
  };
  for (const Case& c : cases) {
    std::string shown;
    CpfCheck r = run([&](base::Operator& op) { return VAL_CPF(op, cp(c.cpf), c.required, c.mode); }, shown);
    EXPECT_EQ(r.ok, c.ok) << c.cpf << " mode " << c.mode;
    EXPECT_EQ(r.blank_name, c.blank_name) << c.cpf << " mode " << c.mode;
    EXPECT_EQ(shown, c.shown) << c.cpf << " mode " << c.mode;
  }
}

TEST(Checks, Cnpj) {
  struct Case { const char* cnpj; bool required; bool ok; const char* shown; } cases[] = {
      {"11222333000181", true, true, ""},
      {"11.222.333/0001-81", true, true, ""},
      {"50793510265860", true, true, ""},   // remainders 0 and 1 give the digit 0
      {"14985203009307", true, true, ""},
      {"68906028298940", true, true, ""},
      {"47358951311104", true, true, ""},
      {"11222333000182", true, false, "ATENÇÃO! CNPJ 11.222.333/0001-82 está incorreto.  / O dígito para esse número é:81"},
      {"112223330001  ", true, false, "ATENÇÃO! CNPJ 11.222.333/0001-   está incorreto.  / O dígito para esse número é:81"},
      {"1122233300", true, false, "ATENÇÃO! CNPJ está incompleto."},
      {"11222a333000181", true, false, "ATENÇÃO! CNPJ está incompleto."},
      {"", true, false, ""},
      {"", false, true, ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    bool ok = run([&](base::Operator& op) { return VAL_CGC(op, cp(c.cnpj), c.required); }, shown);
    EXPECT_EQ(ok, c.ok) << c.cnpj;
    EXPECT_EQ(shown, c.shown) << c.cnpj;
  }
}

TEST(Checks, CpfOrCnpjInOneField) {
  const char* kInstructions =
      " Digite o CPF/CNPJ com número correto  / de dígitos, 11 para CPF e 14 para CNPJ, / "
      "ou coloque os separadores no lugar correto. / CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn ";
  struct Case { const char* value; bool required; bool ok; const char* shown; } cases[] = {
      {"11222333000181", true, true, ""},  // 14 digits: punctuated and checked as a CNPJ
      {"11222333000182", true, false, "ATENÇÃO! CNPJ 11.222.333/0001-82 está incorreto.  / O dígito para esse número é:81"},
      {"11144477735", true, true, ""},
      {"111.444.777-35    ", true, true, ""},
      {"11144477736", true, false, "ATENÇÃO! CPF 111.444.777-36 está incorreto.  / O dígito para esse número é:35"},
      {"123.45678.90-1", true, true, ""},  // the NIT form passes unchecked
      {"123", true, false, "ATENÇÃO! CPF está incompleto."},
      {"11.222.333/00", true, false, "ATENÇÃO! CNPJ está incompleto."},
      {"12345", true, false, kInstructions},
      {"123456789012", true, false, kInstructions},
      {"", true, false, ""},
      {"", false, true, ""},
  };
  for (const Case& c : cases) {
    std::string shown;
    bool ok = run([&](base::Operator& op) { return CPFCGC(op, cp(c.value), c.required); }, shown);
    EXPECT_EQ(ok, c.ok) << c.value;
    EXPECT_EQ(shown, c.shown) << c.value;
  }

  struct Store { const char* value; bool ok; const char* stored; } stores[] = {
      {"11222333000181", true, "11.222.333/0001-81"},
      {"11144477736", false, "111.444.777-36    "},
      {"123.45678.90-1", true, "123.45678.90-1"},
      {"", true, ""},
  };
  for (const Store& s : stores) {
    std::string shown;
    Stored r = run([&](base::Operator& op) { return CPFCGC1(op, s.value, false); }, shown);
    EXPECT_EQ(r.ok, s.ok) << s.value;
    EXPECT_EQ(r.value, s.stored) << s.value;
  }
}

TEST(Checks, Nit) {
  const char* kWrong1 = "ATENÇÃO! NIT está incorreto.  / Se estiver digitado CPF use seta direita / até a última coluna e digite lá. ";
  struct Case { const char* nit; int mode; bool ok; const char* shown; } cases[] = {
      {"12345678900", 0, true, ""},
      {"123.45678.90-0", 0, true, ""},
      {"123.45678.90-0    ", 1, true, ""},
      {"98905907389", 0, true, ""},
      {"08769066270", 0, true, ""},  // remainder 0 gives 0
      {"34027188820", 0, true, ""},  // remainder 1 gives 0
      {"", 1, true, ""},
      {"12345678901", 0, false, "ATENÇÃO! NIT está incorreto. "},
      {"12345678901", 1, false, kWrong1},
      {"1234567890", 0, false, "ATENÇÃO! O NIT está incompleto... "},
      {"1234567890", 1, false, "ATENÇÃO! O NIT do empregado está errado."},
      {"123456789000", 0, false, "ATENÇÃO! O NIT está incompleto... "},
      // a letter is refused, not skipped: its digits alone would make a right NIT
      {"12345a678900", 0, false, "ATENÇÃO! O NIT está incompleto... "},
      {"1234567890O", 1, false, "ATENÇÃO! O NIT do empregado está errado."},
  };
  for (const Case& c : cases) {
    std::string shown;
    bool ok = run([&](base::Operator& op) { return VAL_NIT(op, c.nit, c.mode); }, shown);
    EXPECT_EQ(ok, c.ok) << c.nit << " mode " << c.mode;
    EXPECT_EQ(shown, c.shown) << c.nit << " mode " << c.mode;
  }
}

TEST(Checks, Nirf) {
  struct Case { const char* nirf; bool ok; } cases[] = {
      {"66945038", true}, {"49903110", true}, {"60230290", true},  // 10 and 11 give 0
      {"", true},         {"66945039", false}, {"6694503", false},  {"669450a8", false},
      {" 6694503", false},
  };
  for (const Case& c : cases) {
    std::string shown;
    bool ok = run([&](base::Operator& op) { return VENIRF(op, c.nirf); }, shown);
    EXPECT_EQ(ok, c.ok) << c.nirf;
    EXPECT_EQ(shown, c.ok ? "" : "NIRF inválido") << c.nirf;
  }
}

TEST(Checks, Renavam) {
  struct Case { const char* renavam; bool ok; const char* stored; } cases[] = {
      {"84311287523", true, "84311287523"},
      {"24131401880", true, "24131401880"},  // (sum × 10) mod 11 = 10 gives 0
      {"124", true, "00000000124"},
      {"  124    ", true, "00000000124"},
      {"123", false, "00000000123"},  // padded before it is checked
      {"84311287524", false, "84311287524"},
      {"", true, ""},
      // anything but digits is refused as typed, never read as the number before it
      {"123.4", false, "123.4"},
      {"8431128752-3", false, "8431128752-3"},
      {"12 4", false, "12 4"},
      {"123456789012", false, "123456789012"},
  };
  for (const Case& c : cases) {
    std::string shown;
    Stored r = run([&](base::Operator& op) { return VERENAVAM(op, c.renavam); }, shown);
    EXPECT_EQ(r.ok, c.ok) << c.renavam;
    EXPECT_EQ(r.value, c.stored) << c.renavam;
    EXPECT_EQ(shown, c.ok ? "" : "Renavam inválido") << c.renavam;
  }
}

TEST(Checks, ReceiptNumber) {
  struct Case { const char* receipt; bool ok; const char* stored; } cases[] = {
      {"123456789091", true, "123456789091"},
      {"1234567890-91", true, "123456789091"},
      {"1234567890", true, "123456789091"},    // check digits filled in
      {"1234567890  ", true, "123456789091"},
      {"470459968706", true, "470459968706"},  // the first digit substituted by 0
      {"", true, ""},
      {"123456789092", false, "123456789092"},
      {"1234567890 1", false, "1234567890 1"},
      {"12345", false, "12345"},
      {"123456789a91", false, "123456789a91"},
  };
  for (const Case& c : cases) {
    std::string shown;
    Stored r = run([&](base::Operator& op) { return VENROREC(op, c.receipt); }, shown);
    EXPECT_EQ(r.ok, c.ok) << c.receipt;
    EXPECT_EQ(r.value, c.stored) << c.receipt;
    EXPECT_EQ(shown, c.ok ? "" : "Número do recibo inválido") << c.receipt;
  }
}

TEST(Checks, FamilyMembers) {
  const std::vector<FamilyRow> rows = {
      {"11144477735", 1}, {"12345678909", 99}, {"", 3}, {"00000000191", 100}, {"52601815906", 98}};
  using O = FamilyLookup::Outcome;
  struct Case { const char* cpf; FamilyList list; O outcome; size_t row; const char* shown; } cases[] = {
      {"11144477735", FamilyList::DEPENDANTS, O::FOUND, 0, ""},
      {"111.444.777-35", FamilyList::DEPENDANTS, O::FOUND, 0, ""},
      {"12345678909", FamilyList::ALIMONY, O::FOUND, 1, ""},
      {"52601815906", FamilyList::ALIMONY, O::FOUND, 4, ""},
      {"12345678909", FamilyList::DEPENDANTS, O::NOT_FOUND, 0, "CPF digitado não consta na relação dos dependentes"},
      {"11144477735", FamilyList::ALIMONY, O::NOT_FOUND, 0, "CPF digitado não consta na relação dos alimentandos"},
      {"00000000191", FamilyList::DEPENDANTS, O::NOT_FOUND, 0, "CPF digitado não consta na relação dos dependentes"},
      {"", FamilyList::DEPENDANTS, O::EMPTY, 0, ""},  // a row without CPF is no match
      {"   .   .   -  ", FamilyList::ALIMONY, O::EMPTY, 0, ""},
  };
  for (const Case& c : cases) {
    base::FixedClock clock(base::Date(2019, 4, 1));
    ScriptedOperator op(clock);
    FamilyLookup r = VE_RELDEP(op, c.cpf, rows, c.list);
    EXPECT_EQ(r.outcome, c.outcome) << c.cpf;
    if (c.outcome == O::FOUND) { EXPECT_EQ(r.row, c.row) << c.cpf; }
    EXPECT_EQ(r.open_pick_list(), c.outcome != O::FOUND);
    auto boxes = op.box_texts();
    ASSERT_EQ(boxes.size(), *c.shown ? 1u : 0u) << c.cpf;
    if (*c.shown) {
      EXPECT_EQ(base::cp850_to_utf8(boxes[0]), c.shown);
      EXPECT_EQ(op.shown()[0].mode, base::BOX_INFO);
    }
  }

  struct Dep { const char* cpf; bool ok; O outcome; const char* shown; } deps[] = {
      {"11144477735", true, O::FOUND, ""},
      {"", true, O::EMPTY, ""},  // empty goes on to the list although the CPF is required
      {"11144477736", false, O::EMPTY, "ATENÇÃO! CPF 111.444.777-36 está incorreto.  / O dígito para esse número é:35"},
      {"1114447", false, O::EMPTY, "ATENÇÃO! CPF está incompleto."},
      {"12345678909", true, O::NOT_FOUND, "CPF digitado não consta na relação dos dependentes"},
  };
  for (const Dep& d : deps) {
    base::FixedClock clock(base::Date(2019, 4, 1));
    ScriptedOperator op(clock);
    FamilyCheck r = VERCPFDEPE(op, d.cpf, rows);
    EXPECT_EQ(r.ok, d.ok) << d.cpf;
    if (r.ok) { EXPECT_EQ(r.lookup.outcome, d.outcome) << d.cpf; }
    auto boxes = op.box_texts();
    EXPECT_EQ(boxes.empty() ? "" : base::cp850_to_utf8(boxes[0]), d.shown) << d.cpf;
  }
}
