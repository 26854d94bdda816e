// Typed records of every table the system creates, derived from the layout lists in
// store/layouts/. For a table `t` (imp01 ... imp20, config, define, cores, listaimp, diret,
// impcorrig, auxbens, auxpag, auxfon, liserro, folhapg, boleto, detalh, lisnome, agenda,
// usolog, auxbanco, decbens) the namespace store::t holds:
//
//   enum Field     the index of each field in stored order: imp01::CPF == 0, imp01::I3_01 == 1
//   kFields        the layout: one FieldSpec per stored field, in stored order
//   Record         one member per field, named after it (imp01::Record::I13_20), with
//                  visit(v) calling v(name, index, member) for every field in stored order
//
// Members are std::string for C and M fields (code page 850 bytes, blanks kept), base::Decimal
// for N, base::Date for D and bool for L. A misspelt field name does not compile.
//
// For a reference table `r` (helptxt, codbens, codepen, coddivi, despesa, ufirm, bancos,
// ocupacao, codnatur, tabpais, tabemba, contas, tabmuni, tablogr, status, codabens, ecacidad)
// store::r holds the enum Field and kReads, the names of the fields the system reads.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/date.h"
#include "base/decimal.h"
#include "store/layouts/imp01.h"
#include "store/layouts/imp02.h"
#include "store/layouts/imp03.h"
#include "store/layouts/imp04.h"
#include "store/layouts/imp05.h"
#include "store/layouts/imp06.h"
#include "store/layouts/imp07.h"
#include "store/layouts/imp08.h"
#include "store/layouts/imp09.h"
#include "store/layouts/imp10.h"
#include "store/layouts/imp11.h"
#include "store/layouts/imp12.h"
#include "store/layouts/imp13.h"
#include "store/layouts/imp14.h"
#include "store/layouts/imp15.h"
#include "store/layouts/imp16.h"
#include "store/layouts/imp17.h"
#include "store/layouts/imp18.h"
#include "store/layouts/imp19.h"
#include "store/layouts/imp20.h"
#include "store/layouts/office.h"
#include "store/layouts/reference.h"
#include "store/layouts/settings.h"

namespace kardo::store {

// One stored field of a layout.
struct FieldSpec {
  // The name as the layout spells it ("CpfInvent"). Field names are compared without regard
  // to case (the engine writes them upper-cased into the file header).
  std::string_view name;
  // The member of the record struct: the name itself, or a distinct name for a field whose
  // name the layout repeats (BOLETO's second NRODOCUM is NRODOCUM_2).
  std::string_view member;
  char type;  // 'C', 'N', 'D', 'L' or 'M'
  int width;
  int decimals;
};

template <char Type> struct FieldValue;
template <> struct FieldValue<'C'> { using type = std::string; };
template <> struct FieldValue<'M'> { using type = std::string; };
template <> struct FieldValue<'N'> { using type = base::Decimal; };
template <> struct FieldValue<'D'> { using type = base::Date; };
template <> struct FieldValue<'L'> { using type = bool; };

// The list macros call F(member, type, width, decimals[, stored name]).
#define KARDO_STORE_FIRST_(a, ...) a
#define KARDO_STORE_NAME_(m, ...) KARDO_STORE_FIRST_(__VA_OPT__(#__VA_ARGS__, ) #m)
#define KARDO_STORE_ENUM_(m, t, w, d, ...) m,
#define KARDO_STORE_SPEC_(m, t, w, d, ...) \
  ::kardo::store::FieldSpec{KARDO_STORE_NAME_(m __VA_OPT__(, ) __VA_ARGS__), #m, t, w, d},
#define KARDO_STORE_MEMBER_(m, t, w, d, ...) typename ::kardo::store::FieldValue<t>::type m{};
#define KARDO_STORE_VISIT_(m, t, w, d, ...) v(kFields[Field::m].name, Field::m, m);

#define KARDO_STORE_TABLE(ns, LIST)                                                    \
  namespace ns {                                                                       \
  enum Field : int { LIST(KARDO_STORE_ENUM_) kFieldCount };                            \
  inline constexpr ::kardo::store::FieldSpec kFields[] = {LIST(KARDO_STORE_SPEC_)};    \
  struct Record {                                                                      \
    LIST(KARDO_STORE_MEMBER_)                                                          \
    static constexpr std::span<const ::kardo::store::FieldSpec> fields() { return kFields; } \
    template <class V> void visit(V&& v) { LIST(KARDO_STORE_VISIT_) }                  \
    template <class V> void visit(V&& v) const { LIST(KARDO_STORE_VISIT_) }            \
    friend bool operator==(const Record&, const Record&) = default;                    \
  };                                                                                   \
  }

#define KARDO_STORE_READ_ENUM_(m) m,
#define KARDO_STORE_READ_NAME_(m) #m,
#define KARDO_STORE_READS(ns, LIST)                                           \
  namespace ns {                                                              \
  enum Field : int { LIST(KARDO_STORE_READ_ENUM_) kFieldCount };              \
  inline constexpr std::string_view kReads[] = {LIST(KARDO_STORE_READ_NAME_)}; \
  }

KARDO_STORE_TABLE(imp01, KARDO_IMP01_FIELDS)
KARDO_STORE_TABLE(imp02, KARDO_IMP02_FIELDS)
KARDO_STORE_TABLE(imp03, KARDO_IMP03_FIELDS)
KARDO_STORE_TABLE(imp04, KARDO_IMP04_FIELDS)
KARDO_STORE_TABLE(imp05, KARDO_IMP05_FIELDS)
KARDO_STORE_TABLE(imp06, KARDO_IMP06_FIELDS)
KARDO_STORE_TABLE(imp07, KARDO_IMP07_FIELDS)
KARDO_STORE_TABLE(imp08, KARDO_IMP08_FIELDS)
KARDO_STORE_TABLE(imp09, KARDO_IMP09_FIELDS)
KARDO_STORE_TABLE(imp10, KARDO_IMP10_FIELDS)
KARDO_STORE_TABLE(imp11, KARDO_IMP11_FIELDS)
KARDO_STORE_TABLE(imp12, KARDO_IMP12_FIELDS)
KARDO_STORE_TABLE(imp13, KARDO_IMP13_FIELDS)
KARDO_STORE_TABLE(imp14, KARDO_IMP14_FIELDS)
KARDO_STORE_TABLE(imp15, KARDO_IMP15_FIELDS)
KARDO_STORE_TABLE(imp16, KARDO_IMP16_FIELDS)
KARDO_STORE_TABLE(imp17, KARDO_IMP17_FIELDS)
KARDO_STORE_TABLE(imp18, KARDO_IMP18_FIELDS)
KARDO_STORE_TABLE(imp19, KARDO_IMP19_FIELDS)
KARDO_STORE_TABLE(imp20, KARDO_IMP20_FIELDS)

KARDO_STORE_TABLE(config, KARDO_CONFIG_FIELDS)
KARDO_STORE_TABLE(define, KARDO_DEFINE_FIELDS)
KARDO_STORE_TABLE(cores, KARDO_CORES_FIELDS)
KARDO_STORE_TABLE(listaimp, KARDO_LISTAIMP_FIELDS)
KARDO_STORE_TABLE(diret, KARDO_DIRET_FIELDS)

KARDO_STORE_TABLE(impcorrig, KARDO_IMPCORRIG_FIELDS)
KARDO_STORE_TABLE(auxbens, KARDO_AUXBENS_FIELDS)
KARDO_STORE_TABLE(auxpag, KARDO_AUXPAG_FIELDS)
KARDO_STORE_TABLE(auxfon, KARDO_AUXFON_FIELDS)
KARDO_STORE_TABLE(liserro, KARDO_LISERRO_FIELDS)
KARDO_STORE_TABLE(folhapg, KARDO_FOLHAPG_FIELDS)
KARDO_STORE_TABLE(boleto, KARDO_BOLETO_FIELDS)
KARDO_STORE_TABLE(detalh, KARDO_DETALH_FIELDS)
KARDO_STORE_TABLE(lisnome, KARDO_LISNOME_FIELDS)
KARDO_STORE_TABLE(agenda, KARDO_AGENDA_FIELDS)
KARDO_STORE_TABLE(usolog, KARDO_USOLOG_FIELDS)
KARDO_STORE_TABLE(auxbanco, KARDO_AUXBANCO_FIELDS)
KARDO_STORE_TABLE(decbens, KARDO_DECBENS_FIELDS)

KARDO_STORE_READS(helptxt, KARDO_HELPTXT_READS)
KARDO_STORE_READS(codbens, KARDO_CODBENS_READS)
KARDO_STORE_READS(codepen, KARDO_CODEPEN_READS)
KARDO_STORE_READS(coddivi, KARDO_CODDIVI_READS)
KARDO_STORE_READS(despesa, KARDO_DESPESA_READS)
KARDO_STORE_READS(ufirm, KARDO_UFIRM_READS)
KARDO_STORE_READS(bancos, KARDO_BANCOS_READS)
KARDO_STORE_READS(ocupacao, KARDO_OCUPACAO_READS)
KARDO_STORE_READS(codnatur, KARDO_CODNATUR_READS)
KARDO_STORE_READS(tabpais, KARDO_TABPAIS_READS)
KARDO_STORE_READS(tabemba, KARDO_TABEMBA_READS)
KARDO_STORE_READS(contas, KARDO_CONTAS_READS)
KARDO_STORE_READS(tabmuni, KARDO_TABMUNI_READS)
KARDO_STORE_READS(tablogr, KARDO_TABLOGR_READS)
KARDO_STORE_READS(status, KARDO_STATUS_READS)
KARDO_STORE_READS(codabens, KARDO_CODABENS_READS)
KARDO_STORE_READS(ecacidad, KARDO_ECACIDAD_READS)

}  // namespace kardo::store
