#include "decl/declaration.h"

#include <gtest/gtest.h>

using namespace kardo;

TEST(DeclarationVars, AFieldTheRegisterAndTheReturnShareHoldsTheReturnsValue) {
  store::imp09::Record reg;
  store::imp01::Record ret;
  reg.I13_27 = base::Decimal(100);
  ret.I13_27 = base::Decimal(250);
  reg.NOMECONTR = "FULANO";
  decl::Vars v;
  decl::load_register(v, reg);
  decl::load_return(v, ret);
  EXPECT_EQ(v.I13_27, base::Decimal(250));
  EXPECT_EQ(v.NOMECONTR, "FULANO");  // a register-only field keeps its value

  store::imp09::Record back;
  decl::store_register(v, back);
  EXPECT_EQ(back.I13_27, base::Decimal(250));  // the register copy follows the variable
}

TEST(DeclarationVars, LimpvarGivesANewDeclarationItsDefaults) {
  decl::Vars v;
  v.I13_01 = base::Decimal(5);
  v.NOMECONTR = "X";
  decl::LIMPVAR(v);
  EXPECT_EQ(v.I13_01, base::Decimal());
  EXPECT_EQ(v.NOMECONTR, "");
  EXPECT_EQ(v.I9_4 + v.I9_5 + v.I9_6 + v.EBRASIL + v.EXTERIOR + v.TEMRURAL + v.E_INVALIDO, "NNSSNNN");
  EXPECT_EQ(v.CAL_AUTO, base::Decimal(1));
}
