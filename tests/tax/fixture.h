// A declaration built in memory for the tax tests, with the few row builders they need.
#pragma once

#include <ostream>
#include <string>

#include "base/clock.h"
#include "base/decimal.h"
#include "base/operator.h"
#include "decl/declaration.h"
#include "tax/calc.h"

namespace kardo::base {
inline void PrintTo(const Decimal& d, std::ostream* os) { *os << d.text(4); }
}  // namespace kardo::base

namespace kardo::tax::testing {

inline base::Decimal D(const char* s) { return base::Decimal::parse(s).value(); }

struct Fixture {
  base::FixedClock clock{base::Date(2019, 3, 15)};
  base::ScriptedOperator op{clock};
  decl::Declaration d;
  Calc calc{d, op};

  Fixture() {
    decl::LIMPVAR(d.vars);
    d.vars.CPF = "12345678909";
    d.vars.USAPADRAO = "N";
    d.vars.INDALERTA = 10;
  }

  store::imp02::Record& income(const char* kind, const char* amount, const char* withheld = "0",
                               const char* social = "0") {
    store::imp02::Record r;
    r.CPF = d.vars.CPF;
    r.I1_1 = kind;
    r.I1_11 = std::string(kind) == "D" ? "N" : "S";
    r.I1_4 = D(amount);
    r.I1_5 = D(withheld);
    r.I1_6 = D(social);
    d.IMP02.push_back(r);
    return d.IMP02.back();
  }
  store::imp06::Record& pay(int code, const char* amount, int person = 0, const char* nondeductible = "0") {
    store::imp06::Record r;
    r.CPF = d.vars.CPF;
    r.I6_3 = code;
    r.I6_4 = D(amount);
    r.I6_5 = D(nondeductible);
    r.I6_6 = person;
    d.IMP06.push_back(r);
    calc.totals().JA_CALC = false;  // as every edit of the payments grid does
    return d.IMP06.back();
  }
  store::imp03::Record& family(int code, base::Date born = {}, const char* cpf = "", int number = 0) {
    store::imp03::Record r;
    r.CPF = d.vars.CPF;
    r.CODIDEPEN = code;
    r.DATADEPEN = born;
    r.CPFDEPEN = cpf;
    r.NRODEPEN = number;
    d.IMP03.push_back(r);
    return d.IMP03.back();
  }
  // Whole recomputation as saving does it.
  void recompute() {
    calc.BALANCO();
    calc.CALC(7, 0);
  }
};

}  // namespace kardo::tax::testing
