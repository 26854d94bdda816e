#include "store/catalog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>
#include <map>
#include <optional>
#include <set>
#include <type_traits>

#include "base/year.h"
#include "store/catalog_defaults.h"

namespace kardo::store {
namespace {

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

// Counts and record lengths counted by hand from the field lists.
TEST(Catalog, HandCountedLayouts) {
  struct Case {
    int slot;
    size_t fields;
    size_t record_length;
  };
  const Case cases[] = {
      {1, 158, 1925}, {3, 9, 107}, {6, 20, 287}, {7, 180, 0}, {9, 110, 1244},
      {12, 93, 1115}, {14, 3, 64}, {19, 8, 80},  {67, 7, 80},
  };
  for (const Case& c : cases) {
    const TableSpec* t = find_table(c.slot);
    ASSERT_NE(t, nullptr) << c.slot;
    EXPECT_EQ(t->fields.size(), c.fields) << t->name;
    if (c.record_length) {
      EXPECT_EQ(record_length(t->fields), c.record_length) << t->name;
    }
  }
  static_assert(imp01::kFieldCount == 158 && imp07::kFieldCount == 180 && imp09::kFieldCount == 110);
}

// The runs the layouts give as patterns expand in the order their notes fix.
TEST(Catalog, PatternRunsInStoredOrder) {
  // Each pair is (field, the field stored right after it).
  const std::pair<int, int> imp01_pairs[] = {
      {imp01::CPF, imp01::I3_01},     {imp01::I3_01, imp01::I4_01},   {imp01::I4_01, imp01::I3_02},
      {imp01::I4_12, imp01::I3_13},   {imp01::I3_24, imp01::I3_04GCPV}, {imp01::NomCompa, imp01::I13_01},
      {imp01::I13_51, imp01::IR_EXTER}, {imp01::SO_REC, imp01::NOVREG},
  };
  for (auto [a, b] : imp01_pairs) EXPECT_EQ(a + 1, b) << imp01::kFields[a].name;
  const std::pair<int, int> other_pairs[] = {
      {imp02::NEW1 + 1, imp02::I1_401}, {imp02::I1_401 + 1, imp02::I1_501}, {imp02::I1_501 + 1, imp02::I1_601},
      {imp02::I1_601 + 1, imp02::I1_402}, {imp02::I1_612 + 1, imp02::kFieldCount},
      {imp07::MOV_ACAO + 1, imp07::REC_MES01}, {imp07::REC_MES01 + 1, imp07::VAL_TRI01},
      {imp07::IMP_LEI01 + 1, imp07::REC_USA01}, {imp07::VAL_USA01 + 1, imp07::REC_MES02},
      {imp07::VAL_USA12 + 1, imp07::kFieldCount},
      {imp12::CPFdepen + 1, imp12::I2_101}, {imp12::I2_101 + 1, imp12::I2_201}, {imp12::I2_701 + 1, imp12::I2_102},
      {imp12::I2_713 + 1, imp12::kFieldCount},
      {imp15::ATV_BRASIL + 1, imp15::I3_01OR}, {imp15::I3_01OR + 1, imp15::I3_01OD},
      {imp15::I3_12OD + 1, imp15::I4R_01}, {imp15::OPT_20E + 1, imp15::I7_1A}, {imp15::I7_1V1 + 1, imp15::I7_2A},
      {imp15::I7_5V1 + 1, imp15::I7_V1}, {imp06::I6_412 + 1, imp06::kFieldCount},
  };
  for (auto [a, b] : other_pairs) EXPECT_EQ(a, b);
  // The fields the layout version check looks for.
  EXPECT_EQ(imp01::kFields[imp01::Meeiro].name, "Meeiro");
  EXPECT_EQ(imp07::kFields[imp07::MOV_ACAO].type, 'N');
}

// Every layout stays within what the table engine and the file format take.
TEST(Catalog, LayoutsWithinEngineLimits) {
  std::vector<std::pair<std::string_view, std::span<const FieldSpec>>> layouts;
  for (const TableSpec& t : tables())
    if (!t.fields.empty()) layouts.emplace_back(t.name, t.fields);
  ASSERT_EQ(layouts.size(), 20u + 18u);
  for (auto [table, fields] : layouts) {
    std::set<std::string> names;
    for (const FieldSpec& f : fields) {
      SCOPED_TRACE(std::string(table) + "." + std::string(f.name));
      EXPECT_LE(f.name.size(), 10u);
      EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(f.name[0])));
      for (char c : f.name) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_');
      // A repeated stored name is allowed only where the layout declares it (own member name).
      const bool repeated = !names.insert(upper(f.name)).second;
      EXPECT_EQ(repeated, f.member != f.name);
      switch (f.type) {
        case 'C': EXPECT_TRUE(f.width >= 1 && f.width <= 512 && f.decimals == 0); break;
        case 'N':
          EXPECT_TRUE(f.width >= 1 && f.width <= 18 && f.decimals <= 8);
          EXPECT_TRUE(f.decimals == 0 || f.decimals <= f.width - 2);  // room for "0." at least
          break;
        case 'D': EXPECT_EQ(f.width, 8); break;
        case 'L': EXPECT_EQ(f.width, 1); break;
        case 'M': EXPECT_EQ(f.width, 10); break;
        default: ADD_FAILURE() << "type " << f.type;
      }
    }
    EXPECT_LT(record_length(fields), 65536u) << table;
  }
}

// ---- index keys -----------------------------------------------------------------------------

// What a key expression is made of, worked out from the layout: the fields it names, its type
// and its width in bytes (a lone number or date is an 8-byte key).
struct KeyShape {
  std::string error;
  char type = '?';  // '?' when a field's type is unknown (reference tables list names only)
  int width = 0;
};

class KeyReader {
 public:
  // `field` gives the named field's FieldSpec (type '?' for a known field of unknown type),
  // or nullopt for a name the table does not have.
  using Lookup = std::function<std::optional<FieldSpec>(std::string_view)>;
  KeyReader(std::string_view text, Lookup field) : s_(text), field_(std::move(field)) {}

  KeyShape read() {
    KeyShape k = sum();
    if (k.error.empty() && p_ != s_.size()) k.error = "trailing text at " + std::to_string(p_);
    if (k.error.empty() && (k.type == 'N' || k.type == 'D')) k.width = 8;
    return k;
  }

 private:
  KeyShape sum() {
    KeyShape k = term();
    while (k.error.empty() && peek() == '+') {
      ++p_;
      KeyShape r = term();
      if (!r.error.empty()) return r;
      if ((k.type != 'C' && k.type != '?') || (r.type != 'C' && r.type != '?')) k.error = "'+' on a non-text value";
      k.width += r.width;
      if (r.type == '?') k.type = '?';
    }
    return k;
  }
  KeyShape term() {
    std::string name = ident();
    KeyShape k;
    if (name.empty()) return {"name expected at " + std::to_string(p_)};
    if (peek() != '(') {
      std::optional<FieldSpec> f = field_(name);
      if (!f) return {"unknown field " + name};
      return {"", f->type, f->width};
    }
    ++p_;
    KeyShape arg = sum();
    if (!arg.error.empty()) return arg;
    std::vector<int> nums;
    while (peek() == ',') {
      ++p_;
      nums.push_back(number());
    }
    if (peek() != ')') return {"')' expected in " + name};
    ++p_;
    const std::string f = upper(name);
    auto want = [&](char type) { return arg.type == type || arg.type == '?'; };
    auto len = [&](int n) { return arg.type == '?' ? 0 : n; };
    if (f == "STR" && want('N')) return {"", 'C', nums.empty() ? 10 : nums[0]};
    if (f == "STRZERO" && want('N') && !nums.empty()) return {"", 'C', nums[0]};
    if (f == "DTOS" && want('D')) return {"", 'C', 8};
    if (f == "DTOC" && want('D')) return {"", 'C', 10};  // dd/mm/yyyy
    if (f == "UPPER" && want('C')) return {"", 'C', arg.width};
    if (f == "SUBSTR" && want('C') && !nums.empty())
      return {"", 'C', nums.size() > 1 ? nums[1] : len(arg.width - nums[0] + 1)};
    if ((f == "LEFT" || f == "RIGHT") && want('C') && nums.size() == 1) return {"", 'C', nums[0]};
    return {"bad call of " + name};
  }
  std::string ident() {
    skip();
    size_t b = p_;
    while (p_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '_')) ++p_;
    return std::string(s_.substr(b, p_ - b));
  }
  int number() {
    skip();
    int n = 0;
    while (p_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p_]))) n = n * 10 + (s_[p_++] - '0');
    return n;
  }
  char peek() {
    skip();
    return p_ < s_.size() ? s_[p_] : '\0';
  }
  void skip() {
    while (p_ < s_.size() && s_[p_] == ' ') ++p_;
  }

  std::string_view s_;
  size_t p_ = 0;
  KeyReader::Lookup field_;
};

// The layouts the installation creates the reference tables with (data/tables.tsv): the
// catalogue lists only the fields the system reads, the shipped layout gives their types.
using RefField = std::tuple<std::string, char, int, int>;
const std::map<std::string, std::vector<RefField>>& shipped_layouts() {
  static const std::map<std::string, std::vector<RefField>> layouts = [] {
    std::map<std::string, std::vector<RefField>> out;
    std::ifstream in(KARDO_SOURCE_DIR "/data/tables.tsv");
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
      std::istringstream row(line);
      std::string table, field, type, width, decimals;
      std::getline(row, table, '\t');
      std::getline(row, field, '\t');
      std::getline(row, type, '\t');
      std::getline(row, width, '\t');
      std::getline(row, decimals, '\t');
      out[upper(table)].emplace_back(field, type.empty() ? '?' : type[0], std::atoi(width.c_str()),
                                     std::atoi(decimals.c_str()));
    }
    return out;
  }();
  return layouts;
}

std::optional<FieldSpec> shipped_field(std::string_view table, std::string_view name) {
  auto it = shipped_layouts().find(upper(table));
  if (it == shipped_layouts().end()) return std::nullopt;
  for (const auto& [field, type, width, decimals] : it->second)
    if (upper(field) == upper(name)) return FieldSpec{field, field, type, width, decimals};
  return std::nullopt;
}

KeyShape shape_of(std::string_view key, const TableSpec& t) {
  return KeyReader(key, [&](std::string_view name) -> std::optional<FieldSpec> {
           int i = field_index(t.fields, name);
           if (i >= 0) return t.fields[size_t(i)];
           for (std::string_view r : t.reads)
             if (upper(r) == upper(name)) return shipped_field(t.name, r);
           return std::nullopt;
         }).read();
}

// Every field the system reads from a reference table is in the layout it ships with.
TEST(Catalog, ReferenceReadsAreShipped) {
  ASSERT_FALSE(shipped_layouts().empty()) << "data/tables.tsv not found";
  for (const TableSpec& t : tables())
    for (std::string_view r : t.reads) EXPECT_TRUE(shipped_field(t.name, r).has_value()) << t.name << "." << r;
}

TEST(Catalog, KeyReaderSeesFieldsTypesAndWidths) {
  const TableSpec& imp04 = *find_table(4);
  struct Case {
    std::string_view key;
    char type;
    int width;  // 0 = error expected
  };
  const Case cases[] = {
      {"CPF", 'C', 11},
      {"CPF+str(I7_0,4)", 'C', 15},
      {"str(I7_0)", 'C', 10},
      {"I7_0", 'N', 8},
      {"DTOS(DATA_IMO)+UPPER(ENDEIMO)", 'C', 38},
      {"SUBSTR(I7_2,1,240)", 'C', 240},
      {"SUBSTR(I7_2,501)", 'C', 12},
      {"CPF+I7_0", '?', 0},      // number added to text
      {"CPF+NOSUCH", '?', 0},    // not a field of the table
      {"UPPER(I7_0)", '?', 0},   // text function on a number
      {"DTOS(CPF)", '?', 0},
  };
  for (const Case& c : cases) {
    KeyShape k = shape_of(c.key, imp04);
    if (c.width == 0) {
      EXPECT_FALSE(k.error.empty()) << c.key;
    } else {
      EXPECT_EQ(k.error, "") << c.key;
      EXPECT_EQ(k.type, c.type) << c.key;
      EXPECT_EQ(k.width, c.width) << c.key;
    }
  }
}

// Every key of every table and work copy names only fields of its table, adds only text, and
// fits the 240 bytes an index key may hold.
TEST(Catalog, IndexKeysReferToOwnFieldsAndFit) {
  auto check = [](std::string_view key, const TableSpec& t, std::string_view where) {
    KeyShape k = shape_of(key, t);
    EXPECT_EQ(k.error, "") << where << ": " << key;
    EXPECT_LE(k.width, 240) << where << ": " << key;
  };
  for (const TableSpec& t : tables())
    for (const IndexSpec& i : t.indexes) check(i.key, t, t.name);
  for (const WorkCopySpec& w : work_copies()) {
    check(w.key, *find_table(w.table), w.name);
    if (!w.saving_key.empty()) {
      check(w.saving_key, *find_table(w.table), w.name);
    }
  }
  // The asset-description library keys on the first 240 bytes of its 512-byte field.
  EXPECT_EQ(shape_of(find_table("AUXBENS")->indexes[0].key, *find_table("AUXBENS")).width, 240);
}

TEST(Catalog, IndexFileNames) {
  for (const TableSpec& t : tables()) {
    for (size_t i = 0; i < t.indexes.size(); ++i) {
      std::string expected = std::string(t.name) + (i == 1 ? "B" : i == 2 ? "C" : "");
      // Two reference tables name their second index file otherwise.
      if (t.name == "OCUPACAO" && i == 1) expected = "OCUPACAB";
      if (t.name == "CODNATUR" && i == 1) expected = "CODNATB";
      EXPECT_EQ(t.indexes[i].file, expected) << t.name;
      EXPECT_EQ(t.indexes[i].on_demand, t.name == "TABMUNI" || t.name == "TAB_MUNI") << t.name;
    }
  }
  EXPECT_EQ(resolve_name(find_table(9)->indexes[1].file, "01"), "IMP0919B");
  EXPECT_EQ(resolve_name(find_table(50)->indexes[0].file, "07"), "DIRET07");
}

// ---- the table list -------------------------------------------------------------------------

TEST(Catalog, DeclarationTablesAndWorkCopies) {
  for (int nn = 1; nn <= 20; ++nn) {
    const TableSpec* t = find_table(nn);
    ASSERT_NE(t, nullptr) << nn;
    char name[16];
    std::snprintf(name, sizeof name, "IMP%02d19", nn);
    EXPECT_EQ(resolve_name(t->name, "03"), name);
    EXPECT_EQ(t->folder, Folder::Declaration);
    EXPECT_EQ(t->sharing, Sharing::AsAsked);
    EXPECT_EQ(t->indexes[0].file, t->name);
    ASSERT_NE(t->work, nullptr);
    EXPECT_EQ(t->work, find_work_copy(nn + 20));
    EXPECT_EQ(t->work->table, nn);
    std::snprintf(name, sizeof name, "TMP_%02d03", nn);
    EXPECT_EQ(resolve_name(t->work->name, "03"), name);
    EXPECT_EQ(t->work->copied_on_open, nn != 13);
    // The create routine gives slot nn + 20 the layout of table nn.
    EXPECT_EQ(layout_of_slot(nn + 20).data(), t->fields.data());
  }
  EXPECT_EQ(find_work_copy(24)->saving_key, "I7_0");
  EXPECT_EQ(find_work_copy(25)->saving_key, "I8_0");
}

TEST(Catalog, LookupBySlotAndName) {
  struct Case {
    std::string_view name;
    int slot;  // 0 = no table of that name
  };
  const Case cases[] = {
      {"IMP0919", 9}, {"imp0919", 9},  {"IMP09<yy>", 9}, {"IMP2019", 20},  {"DIRET07", 50},
      {"diret<tt>", 50}, {"DETALH99", 68}, {"auxbanco", 77}, {"LisErro", 54}, {"TAB_MUNI", 94},
      {"TABMUNI", 64}, {"IMP0918", 0},  {"IMP09", 0},     {"DIRET7", 0},    {"DIRETAB", 0},
      {"TMP_0901", 0}, {"", 0},
  };
  for (const Case& c : cases) {
    const TableSpec* t = find_table(c.name);
    EXPECT_EQ(t ? t->slot : 0, c.slot) << c.name;
  }
  EXPECT_EQ(find_work_copy("TMP_0901")->slot, 29);
  EXPECT_EQ(find_work_copy("tmp_1300")->slot, 33);
  EXPECT_EQ(find_work_copy("IMP0919"), nullptr);

  std::set<int> slots;
  for (const TableSpec& t : tables()) {
    EXPECT_TRUE(slots.insert(t.slot).second) << t.slot;
    EXPECT_EQ(find_table(t.slot), &t);
    EXPECT_EQ(find_table(t.name), &t);
    EXPECT_TRUE(t.slot <= 20 || (t.slot > 40 && t.slot <= 99)) << t.slot;
    EXPECT_EQ(t.fields.empty(), t.kind == Kind::Reference) << t.name;
    EXPECT_EQ(t.reads.empty(), t.kind != Kind::Reference) << t.name;
  }
  for (int slot : {0, 21, 40, 41, 71, 76, 100}) {
    EXPECT_EQ(find_table(slot), nullptr) << slot;
    if (slot < 21 || slot > 40) {
      EXPECT_TRUE(layout_of_slot(slot).empty()) << slot;
    }
  }
  EXPECT_TRUE(layout_of_slot(46).empty());  // a reference table is never created
  EXPECT_EQ(layout_of_slot(42).size(), config::kFieldCount);
}

TEST(Catalog, SharingModes) {
  const std::set<int> exclusive = {44, 50, 68, 70, 78};
  const std::set<int> as_asked = {63, 67, 77};
  for (const TableSpec& t : tables()) {
    if (t.slot <= 20) continue;
    Sharing expected = exclusive.count(t.slot) ? Sharing::Exclusive
                       : as_asked.count(t.slot) ? Sharing::AsAsked
                                                : Sharing::Shared;
    EXPECT_EQ(t.sharing, expected) << t.name;
    EXPECT_EQ(t.folder, Folder::Data) << t.name;
  }
  EXPECT_TRUE(find_table("HELPTXT")->needs_memo);
}

// ---- records --------------------------------------------------------------------------------

TEST(Catalog, RecordsCarryTheLayout) {
  // Members have the type of their field; visit walks the fields in stored order.
  static_assert(std::is_same_v<decltype(imp01::Record::CpfInvent), std::string>);
  static_assert(std::is_same_v<decltype(imp01::Record::I13_20), base::Decimal>);
  static_assert(std::is_same_v<decltype(imp01::Record::DataParti), base::Date>);
  static_assert(std::is_same_v<decltype(imp01::Record::SO_REC), bool>);

  auto walk = [](const auto& record, std::span<const FieldSpec> fields) {
    size_t n = 0;
    record.visit([&](std::string_view name, auto index, const auto& member) {
      using M = std::decay_t<decltype(member)>;
      ASSERT_EQ(size_t(index), n);
      EXPECT_EQ(name, fields[n].name);
      const char t = fields[n].type;
      EXPECT_TRUE((std::is_same_v<M, std::string> && (t == 'C' || t == 'M')) ||
                  (std::is_same_v<M, base::Decimal> && t == 'N') || (std::is_same_v<M, base::Date> && t == 'D') ||
                  (std::is_same_v<M, bool> && t == 'L'))
          << name;
      ++n;
    });
    EXPECT_EQ(n, fields.size());
  };
  walk(imp01::Record{}, imp01::kFields);
  walk(imp07::Record{}, imp07::kFields);
  walk(imp15::Record{}, imp15::kFields);
  walk(config::Record{}, config::kFields);
  walk(boleto::Record{}, boleto::kFields);

  // The repeated NRODOCUM: two members, one stored name.
  boleto::Record b;
  b.NRODOCUM = 1;
  b.NRODOCUM_2 = 2;
  std::vector<std::pair<std::string_view, base::Decimal>> seen;
  b.visit([&](std::string_view name, auto, auto& member) {
    if constexpr (std::is_same_v<std::decay_t<decltype(member)>, base::Decimal>)
      if (name == "NRODOCUM") seen.emplace_back(name, member);
  });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].second, base::Decimal(1));
  EXPECT_EQ(seen[1].second, base::Decimal(2));
  EXPECT_EQ(boleto::kFields[boleto::NRODOCUM_2].member, "NRODOCUM_2");

  // The engine gets the names upper-cased, widths and decimals as laid out.
  std::vector<xbase::FieldDef> defs = field_defs(imp01::kFields);
  ASSERT_EQ(defs.size(), 158u);
  EXPECT_EQ(defs[imp01::CpfInvent].name, "CPFINVENT");
  EXPECT_EQ(defs[imp01::I13_20].width, 12);
  EXPECT_EQ(defs[imp01::I13_20].decimals, 2);
  EXPECT_EQ(field_index(imp01::kFields, "cpfinvent"), int(imp01::CpfInvent));
  EXPECT_EQ(field_index(imp01::kFields, "NOSUCH"), -1);
}

// ---- settings defaults ----------------------------------------------------------------------

TEST(Catalog, DefaultsNameFieldsAndParse) {
  const std::pair<std::span<const FieldDefault>, std::span<const FieldSpec>> lists[] = {
      {kConfigDefaults, config::kFields},   {kDefineDefaults, define::kFields}, {kCoresDefaults, cores::kFields},
      {kListaimpDefaults, listaimp::kFields}, {kDiretFirstRow, diret::kFields},
  };
  for (auto [defaults, fields] : lists) {
    std::set<std::string> named;
    for (const FieldDefault& d : defaults) {
      int i = field_index(fields, d.field);
      ASSERT_GE(i, 0) << d.field;
      EXPECT_TRUE(named.insert(upper(d.field)).second) << d.field;
      if (d.from != DefaultFrom::Text) continue;
      const FieldSpec& f = fields[size_t(i)];
      if (f.type == 'N') {
        EXPECT_TRUE(base::Decimal::parse(d.text).has_value()) << d.field;
      }
      if (f.type == 'D') {
        EXPECT_FALSE(base::Date::from_dtos(d.text).value_or(base::Date()).empty()) << d.field;
      }
    }
  }
}

TEST(Catalog, DefaultRecords) {
  SettingsContext ctx;
  ctx.terminal = "07";
  ctx.data_folder = "/srv/kardo19/";
  ctx.startup_folder = "/srv/kardo19";
  ctx.home = "/home/ana";
  ctx.default_printer = "laser";
  ctx.today = base::Date(2019, 3, 10);

  config::Record c = default_config(ctx);
  EXPECT_EQ(c.NRO_TERM, "07");
  EXPECT_EQ(c.ROTADOANO, "/srv/kardo19");
  EXPECT_EQ(c.dirtrab, "/srv/kardo19");
  EXPECT_EQ(c.DIRPROV, "/srv/kardo19");
  EXPECT_EQ(c.ROTAANTER, "/home/ana/Kardo18");
  EXPECT_EQ(c.ROTAREANT, "/home/ana/ProgramasRFB/IRPF2018/transmitidas");
  EXPECT_EQ(c.ROTARECEI, "/home/ana/ProgramasRFB/IRPF2019/aplicacao/dados");
  EXPECT_EQ(c.ROTAJAVA, c.ROTARECEI);
  EXPECT_EQ(c.ROTABACK, "");
  EXPECT_EQ(c.ENV_STAT, base::Decimal(2));
  EXPECT_EQ(c.NRO_LIN, base::Decimal(60));
  EXPECT_EQ(c.OPC_TRAN, base::Decimal(7));
  EXPECT_EQ(c.SOESTE, base::Decimal(9));
  EXPECT_EQ(c.mosimp, "S");
  EXPECT_EQ(c.mosCPF, "");
  EXPECT_EQ(c.OPCIRPF, "J");
  EXPECT_EQ(c.ULTBACK, ctx.today);
  EXPECT_EQ(c.NOMEAG, "");

  define::Record d = default_define(ctx);
  const base::Date due[] = {d.VCTO1, d.VCTO2, d.VCTO3, d.VCTO4, d.VCTO5, d.VCTO6, d.VCTO7, d.VCTO8};
  for (unsigned q = 0; q < 8; ++q) {
    EXPECT_EQ(due[q].year(), base::NANOATUAL);
    EXPECT_EQ(due[q].month(), q + 4);
    // The last weekday of its month.
    EXPECT_TRUE(due[q].DOW() >= 2 && due[q].DOW() <= 6) << q + 1;
    for (base::Date day = due[q].plus_days(1); day <= due[q].month_end(); day = day.plus_days(1))
      EXPECT_TRUE(day.DOW() == 1 || day.DOW() == 7) << q + 1;
  }
  EXPECT_EQ(d.VAL_DOLAR, *base::Decimal::parse("3.2585"));
  EXPECT_EQ(d.VAL_MIN, base::Decimal(120));
  EXPECT_EQ(d.TEMP_SAL, base::Decimal(15));
  EXPECT_EQ(d.PROGCOMP, "S");
  EXPECT_EQ(d.STATRAVA, base::Decimal(0));

  cores::Record k = default_cores(ctx);
  EXPECT_EQ(k.NRO_TERM, "07");
  EXPECT_EQ(k.COR_MENS, base::Decimal(112));
  EXPECT_EQ(k.COR_1_CLI, "GR+/B");
  EXPECT_EQ(k.COR_ENCH_C, "W+/B");

  listaimp::Record l = default_listaimp(ctx);
  EXPECT_EQ(l.NOMEIMP, "NAO DOS");
  EXPECT_EQ(l.IPADRAO, "laser");
  EXPECT_EQ(l.SEQ0, "<0");  // kept to the field's two characters
  EXPECT_EQ(l.SEQ1, "<0");

  diret::Record r = first_diret_row(ctx);
  EXPECT_EQ(r.SELEC, "S");
  EXPECT_EQ(r.DIRETOR, "/srv/kardo19");
  ctx.data_folder = "/";
  EXPECT_EQ(first_diret_row(ctx).DIRETOR, "/");
}

}  // namespace
}  // namespace kardo::store
