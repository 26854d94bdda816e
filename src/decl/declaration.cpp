#include "decl/declaration.h"

namespace kardo::decl {

void LIMPVAR(Vars& v) {
  v = Vars();
  v.I9_4 = "N";  // no link to the spouse's declaration
  v.I9_5 = "N";
  v.I9_6 = "S";
  v.EBRASIL = "S";
  v.EXTERIOR = "N";
  v.TEMRURAL = "N";
  v.E_INVALIDO = "N";
  v.CAL_AUTO = 1;
}

}  // namespace kardo::decl
