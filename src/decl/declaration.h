// An open declaration: its variables and the rows of its work copies.
//
// `vars` is the one set of variables the screens and the computations work on: every field
// of the register (IMP09), the return (IMP01) and the carnê-leão record (IMP12), loaded in
// that order, so a field the register and the return share holds the return's value. The
// item rows are the rows of the work copies TMP_nn<tt>, one vector per declaration table
// (IMP13, the cash book, is not part of an open declaration). The loader fills them from the
// declaration tables and the saver writes them back; engines read and change them in memory.
#pragma once

#include <vector>

#include "decl/vars.h"
#include "store/catalog_records.h"

namespace kardo::decl {

struct Declaration {
  Vars vars;

  std::vector<store::imp02::Record> IMP02;  // income items
  std::vector<store::imp03::Record> IMP03;  // dependants, alimony beneficiaries, heirs
  std::vector<store::imp04::Record> IMP04;  // assets and rights
  std::vector<store::imp05::Record> IMP05;  // debts and charges
  std::vector<store::imp06::Record> IMP06;  // payments and donations
  std::vector<store::imp07::Record> IMP07;  // capital-gain and variable-income operations
  std::vector<store::imp08::Record> IMP08;  // their cost lines and share movements
  std::vector<store::imp10::Record> IMP10;  // monthly expense estimates per asset
  std::vector<store::imp11::Record> IMP11;  // notes and consistency-check findings
  std::vector<store::imp12::Record> IMP12;  // carnê-leão grids: the holder's and each dependant's
  std::vector<store::imp14::Record> IMP14;  // losses to carry forward
  std::vector<store::imp15::Record> IMP15;  // rural activity of the current location
  std::vector<store::imp16::Record> IMP16;
  std::vector<store::imp17::Record> IMP17;
  std::vector<store::imp18::Record> IMP18;
  std::vector<store::imp19::Record> IMP19;
  std::vector<store::imp20::Record> IMP20;  // estate: sharing among heirs, instalments
};

// The variables of a taxpayer registered now (LIMPVAR): blanks and zeros everywhere, with
// the defaults a new declaration starts from.
void LIMPVAR(Vars& v);

}  // namespace kardo::decl
