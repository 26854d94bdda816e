#include "store/catalog.h"

#include <algorithm>
#include <cctype>

#include "base/year.h"

namespace kardo::store {
namespace {

using I = IndexSpec;

// Work copies: one index each, in the file of the copy's own name. IMP04 and IMP05 are read in
// the order of their line numbers as text while the grids edit them, and in numeric order
// while they are written back.
constexpr WorkCopySpec kWork[] = {
    {21, 1, "TMP_01<tt>", "cpf", "", true},
    {22, 2, "TMP_02<tt>", "cpf", "", true},
    {23, 3, "TMP_03<tt>", "cpf", "", true},
    {24, 4, "TMP_04<tt>", "str(I7_0)", "I7_0", true},
    {25, 5, "TMP_05<tt>", "str(I8_0)", "I8_0", true},
    {26, 6, "TMP_06<tt>", "cpf", "", true},
    {27, 7, "TMP_07<tt>", "STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE", "", true},
    {28, 8, "TMP_08<tt>", "BEM_NRO", "", true},
    {29, 9, "TMP_09<tt>", "cpf", "", true},
    {30, 10, "TMP_10<tt>", "coddesp", "", true},
    {31, 11, "TMP_11<tt>", "codERR", "", true},
    {32, 12, "TMP_12<tt>", "cpf", "", true},
    {33, 13, "TMP_13<tt>", "cpf", "", false},
    {34, 14, "TMP_14<tt>", "cpf", "", true},
    {35, 15, "TMP_15<tt>", "cpf+ATV_BRASIL", "", true},
    {36, 16, "TMP_16<tt>", "cpf+ATV_BRASIL", "", true},
    {37, 17, "TMP_17<tt>", "I8R_0", "", true},
    {38, 18, "TMP_18<tt>", "I9R_0", "", true},
    {39, 19, "TMP_19<tt>", "cpf", "", true},
    {40, 20, "TMP_20<tt>", "cpf", "", true},
};

#define KARDO_CPF_INDEX(nn) constexpr I kIdx##nn[] = {{"CPF", "IMP" #nn "<yy>"}};
KARDO_CPF_INDEX(01)
KARDO_CPF_INDEX(02)
KARDO_CPF_INDEX(03)
KARDO_CPF_INDEX(07)
KARDO_CPF_INDEX(08)
KARDO_CPF_INDEX(10)
KARDO_CPF_INDEX(11)
KARDO_CPF_INDEX(12)
KARDO_CPF_INDEX(13)
KARDO_CPF_INDEX(14)
#undef KARDO_CPF_INDEX
constexpr I kIdx04[] = {{"CPF+str(I7_0,4)", "IMP04<yy>"}};
constexpr I kIdx05[] = {{"CPF+STR(I8_0,4)", "IMP05<yy>"}};
constexpr I kIdx06[] = {{"CPF+str(I6_3,2)", "IMP06<yy>"}};
constexpr I kIdx09[] = {{"CPF", "IMP09<yy>"}, {"UPPER(NOMECONTR)", "IMP09<yy>B"}, {"ESTATUS", "IMP09<yy>C"}};
constexpr I kIdx15[] = {{"CPF+ATV_BRASIL", "IMP15<yy>"}};
constexpr I kIdx16[] = {{"CPF+ATV_BRASIL", "IMP16<yy>"}};
constexpr I kIdx17[] = {{"CPF+ATV_BRASIL", "IMP17<yy>"}};
constexpr I kIdx18[] = {{"CPF+ATV_BRASIL", "IMP18<yy>"}};
constexpr I kIdx19[] = {{"CPF+ATV_BRASIL+DTOS(DT_LC)", "IMP19<yy>"}};
constexpr I kIdx20[] = {{"CPF", "IMP20<yy>"}, {"CPF+CPFHERDE", "IMP20<yy>B"}};

constexpr I kIdxConfig[] = {{"NRO_TERM", "CONFIG"}};
constexpr I kIdxDiret[] = {{"upper(DIRETOR)", "DIRET<tt>"}};
// The descriptions are 512 bytes wide but a key holds at most 240: the library is ordered and
// sought on their first 240 characters.
constexpr I kIdxAuxbens[] = {{"SUBSTR(DESCRICAO,1,240)", "AUXBENS"}};
constexpr I kIdxAuxpag[] = {{"NOME", "AUXPAG"}};
constexpr I kIdxLiserro[] = {{"CODERR", "LisErro"}};
constexpr I kIdxCores[] = {{"NRO_TERM", "CORES"}};
constexpr I kIdxListaimp[] = {{"NRO_TERM", "ListaIMP"}};
constexpr I kIdxFolhapg[] = {{"CPF", "FOLHAPG"}};
constexpr I kIdxBoleto[] = {{"NOSSONRO", "BOLETO"}};
constexpr I kIdxLisnome[] = {{"NOMECONTR", "LISNOME"}, {"CPF", "LISNOMEB"}};
constexpr I kIdxAgenda[] = {{"NOMEAG", "AGENDA"}, {"HORAG+DTOC(DATAG)", "AGENDAB"}, {"ANOTAG", "AGENDAC"}};
constexpr I kIdxUsolog[] = {{"NOMEAG", "USOLOG"}, {"CPF", "USOLOGB"}};
constexpr I kIdxAuxfon[] = {{"NOME", "AUXFON"}};
constexpr I kIdxAuxbanco[] = {{"CNPJ", "AuxBanco"}, {"NOME", "AuxBancoB"}};
constexpr I kIdxDecbens[] = {{"CPF", "DECBENS"}};

constexpr I kIdxHelptxt[] = {{"UPPER(NOME)", "HELPTXT"}};
constexpr I kIdxCodbens[] = {{"CODBEM", "CODBENS"}};
constexpr I kIdxCodepen[] = {{"CODDEP", "CODEPEN"}};
constexpr I kIdxCoddivi[] = {{"CODDIV", "CODDIVI"}};
constexpr I kIdxDespesa[] = {{"CODDES", "DESPESA"}};
constexpr I kIdxUfirm[] = {{"ANOMES", "UFIRM"}};
constexpr I kIdxBancos[] = {{"NUMBAN", "BANCOS"}, {"upper(NOMEBAN)", "BANCOSB"}};
constexpr I kIdxOcupacao[] = {{"CDPRO", "OCUPACAO"}, {"upper(OCUPACAO)", "OCUPACAB"}};
constexpr I kIdxCodnatur[] = {{"CODAT", "CODNATUR"}, {"UPPER(DESCRAT)", "CODNATB"}};
constexpr I kIdxTabpais[] = {{"CODPAIS", "TABPAIS"}};
constexpr I kIdxTabemba[] = {{"CD_EX", "TABEMBA"}};
constexpr I kIdxContas[] = {{"CDCONTA", "CONTAS"}};
constexpr I kIdxTabmuni[] = {{"UPPER(NOMEMUNI+UNIFED)", "TABMUNI", true}};
constexpr I kIdxTabMuni2[] = {{"UPPER(NOMEMUNI+UNIFED)", "TAB_MUNI", true}};
constexpr I kIdxTablogr[] = {{"upper(nomelogra)", "TABLOGR"}};
constexpr I kIdxStatus[] = {{"cod", "STATUS"}};
constexpr I kIdxCodabens[] = {{"CODBEM", "CODABENS"}};
constexpr I kIdxEcacidad[] = {{"NOME", "ECACIDAD"}};

constexpr TableSpec decl(int nn, std::string_view name, std::span<const FieldSpec> fields,
                         std::span<const IndexSpec> indexes) {
  return {nn, name, Folder::Declaration, Kind::Declaration, Sharing::AsAsked, fields, {}, indexes,
          &kWork[nn - 1]};
}
constexpr TableSpec data(int slot, std::string_view name, Kind kind, Sharing sharing,
                         std::span<const FieldSpec> fields, std::span<const IndexSpec> indexes) {
  return {slot, name, Folder::Data, kind, sharing, fields, {}, indexes};
}
constexpr TableSpec ref(int slot, std::string_view name, std::span<const std::string_view> reads,
                        std::span<const IndexSpec> indexes, bool needs_memo = false) {
  return {slot, name, Folder::Data, Kind::Reference, Sharing::Shared, {}, reads, indexes, nullptr, needs_memo};
}

constexpr Sharing S = Sharing::Shared, X = Sharing::Exclusive, A = Sharing::AsAsked;

constexpr TableSpec kTables[] = {
    decl(1, "IMP01<yy>", imp01::kFields, kIdx01),  // figures of the return and its summary
    decl(2, "IMP02<yy>", imp02::kFields, kIdx02),  // income items
    decl(3, "IMP03<yy>", imp03::kFields, kIdx03),  // dependants, alimony beneficiaries, heirs
    decl(4, "IMP04<yy>", imp04::kFields, kIdx04),  // assets and rights
    decl(5, "IMP05<yy>", imp05::kFields, kIdx05),  // debts and charges
    decl(6, "IMP06<yy>", imp06::kFields, kIdx06),  // payments and donations made
    decl(7, "IMP07<yy>", imp07::kFields, kIdx07),  // capital-gain and variable-income operations
    decl(8, "IMP08<yy>", imp08::kFields, kIdx08),  // cost lines and share movements
    decl(9, "IMP09<yy>", imp09::kFields, kIdx09),  // taxpayer register
    decl(10, "IMP10<yy>", imp10::kFields, kIdx10),  // monthly expense estimates per asset
    decl(11, "IMP11<yy>", imp11::kFields, kIdx11),  // notes and consistency-check results
    decl(12, "IMP12<yy>", imp12::kFields, kIdx12),  // monthly carnê-leão grid
    decl(13, "IMP13<yy>", imp13::kFields, kIdx13),  // recurring cash-book entries
    decl(14, "IMP14<yy>", imp14::kFields, kIdx14),  // losses to carry forward
    decl(15, "IMP15<yy>", imp15::kFields, kIdx15),  // rural activity: totals, result, herd
    decl(16, "IMP16<yy>", imp16::kFields, kIdx16),  // rural activity: properties
    decl(17, "IMP17<yy>", imp17::kFields, kIdx17),  // rural activity: assets
    decl(18, "IMP18<yy>", imp18::kFields, kIdx18),  // rural activity: debts
    decl(19, "IMP19<yy>", imp19::kFields, kIdx19),  // rural activity: cash book
    decl(20, "IMP20<yy>", imp20::kFields, kIdx20),  // estate sharing; instalments of properties

    data(42, "CONFIG", Kind::Settings, S, config::kFields, kIdxConfig),
    data(43, "DEFINE", Kind::Settings, S, define::kFields, {}),
    data(44, "IMPCORRIG", Kind::Office, X, impcorrig::kFields, {}),
    ref(45, "HELPTXT", helptxt::kReads, kIdxHelptxt, true),
    ref(46, "CODBENS", codbens::kReads, kIdxCodbens),
    ref(47, "CODEPEN", codepen::kReads, kIdxCodepen),
    ref(48, "CODDIVI", coddivi::kReads, kIdxCoddivi),
    ref(49, "DESPESA", despesa::kReads, kIdxDespesa),
    data(50, "DIRET<tt>", Kind::Settings, X, diret::kFields, kIdxDiret),
    ref(51, "UFIRM", ufirm::kReads, kIdxUfirm),
    data(52, "AUXBENS", Kind::Office, S, auxbens::kFields, kIdxAuxbens),
    data(53, "AUXPAG", Kind::Office, S, auxpag::kFields, kIdxAuxpag),
    data(54, "LisErro", Kind::Office, S, liserro::kFields, kIdxLiserro),
    ref(55, "BANCOS", bancos::kReads, kIdxBancos),
    data(56, "CORES", Kind::Settings, S, cores::kFields, kIdxCores),
    data(57, "ListaIMP", Kind::Settings, S, listaimp::kFields, kIdxListaimp),
    ref(58, "OCUPACAO", ocupacao::kReads, kIdxOcupacao),
    ref(59, "CODNATUR", codnatur::kReads, kIdxCodnatur),
    ref(60, "TABPAIS", tabpais::kReads, kIdxTabpais),
    ref(61, "TABEMBA", tabemba::kReads, kIdxTabemba),
    ref(62, "CONTAS", contas::kReads, kIdxContas),
    data(63, "FOLHAPG", Kind::Office, A, folhapg::kFields, kIdxFolhapg),
    ref(64, "TABMUNI", tabmuni::kReads, kIdxTabmuni),
    ref(65, "TABLOGR", tablogr::kReads, kIdxTablogr),
    ref(66, "STATUS", status::kReads, kIdxStatus),
    data(67, "BOLETO", Kind::Office, A, boleto::kFields, kIdxBoleto),
    data(68, "DETALH<tt>", Kind::Office, X, detalh::kFields, {}),
    ref(69, "CODABENS", codabens::kReads, kIdxCodabens),
    data(70, "LISNOME", Kind::Office, X, lisnome::kFields, kIdxLisnome),
    data(72, "AGENDA", Kind::Office, S, agenda::kFields, kIdxAgenda),
    data(73, "USOLOG", Kind::Office, S, usolog::kFields, kIdxUsolog),
    data(74, "AUXFON", Kind::Office, S, auxfon::kFields, kIdxAuxfon),
    ref(75, "ECACIDAD", ecacidad::kReads, kIdxEcacidad),
    data(77, "AuxBanco", Kind::Office, A, auxbanco::kFields, kIdxAuxbanco),
    data(78, "DECBENS", Kind::Office, X, decbens::kFields, kIdxDecbens),
    ref(94, "TAB_MUNI", tabmuni::kReads, kIdxTabMuni2),  // searched when TABMUNI has no match
};

bool iequal(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// Whether a file base name matches a pattern: <yy> stands for CANOATUAL, <tt> for any two
// digits; the pattern itself matches too.
bool matches(std::string_view pattern, std::string_view name) {
  if (iequal(pattern, name)) return true;
  size_t n = 0;
  for (size_t p = 0; p < pattern.size();) {
    if (pattern.substr(p, 4) == "<yy>") {
      if (name.size() < n + 2 || !iequal(name.substr(n, 2), base::CANOATUAL)) return false;
      p += 4, n += 2;
    } else if (pattern.substr(p, 4) == "<tt>") {
      if (name.size() < n + 2 || !std::isdigit(static_cast<unsigned char>(name[n])) ||
          !std::isdigit(static_cast<unsigned char>(name[n + 1])))
        return false;
      p += 4, n += 2;
    } else {
      if (n >= name.size() || !iequal(pattern.substr(p, 1), name.substr(n, 1))) return false;
      ++p, ++n;
    }
  }
  return n == name.size();
}

}  // namespace

std::span<const TableSpec> tables() { return kTables; }
std::span<const WorkCopySpec> work_copies() { return kWork; }

const TableSpec* find_table(int slot) {
  for (const TableSpec& t : kTables)
    if (t.slot == slot) return &t;
  return nullptr;
}

const TableSpec* find_table(std::string_view name) {
  for (const TableSpec& t : kTables)
    if (matches(t.name, name)) return &t;
  return nullptr;
}

const WorkCopySpec* find_work_copy(int slot) {
  return slot >= 21 && slot <= 40 ? &kWork[slot - 21] : nullptr;
}

const WorkCopySpec* find_work_copy(std::string_view name) {
  for (const WorkCopySpec& w : kWork)
    if (matches(w.name, name)) return &w;
  return nullptr;
}

std::span<const FieldSpec> layout_of_slot(int slot) {
  if (slot >= 21 && slot <= 40) slot -= 20;
  const TableSpec* t = find_table(slot);
  return t ? t->fields : std::span<const FieldSpec>{};
}

std::vector<xbase::FieldDef> field_defs(std::span<const FieldSpec> fields) {
  std::vector<xbase::FieldDef> out;
  out.reserve(fields.size());
  for (const FieldSpec& f : fields) {
    xbase::FieldDef d;
    d.name.assign(f.name);
    for (char& c : d.name) c = char(std::toupper(static_cast<unsigned char>(c)));
    d.type = f.type;
    d.width = f.width;
    d.decimals = f.decimals;
    out.push_back(std::move(d));
  }
  return out;
}

size_t record_length(std::span<const FieldSpec> fields) {
  size_t n = 1;
  for (const FieldSpec& f : fields) n += size_t(f.width);
  return n;
}

int field_index(std::span<const FieldSpec> fields, std::string_view name) {
  for (size_t i = 0; i < fields.size(); ++i)
    if (iequal(fields[i].name, name)) return int(i);
  return -1;
}

std::string resolve_name(std::string_view pattern, std::string_view terminal) {
  std::string out;
  for (size_t p = 0; p < pattern.size();) {
    if (pattern.substr(p, 4) == "<yy>") {
      out += base::CANOATUAL, p += 4;
    } else if (pattern.substr(p, 4) == "<tt>") {
      out += terminal, p += 4;
    } else {
      out += pattern[p++];
    }
  }
  return out;
}

}  // namespace kardo::store
