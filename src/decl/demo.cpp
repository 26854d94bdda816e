#include "decl/demo.h"

#include <array>
#include <set>
#include <string>
#include <type_traits>

#include "base/xtext.h"
#include "ids/ids.h"
#include "store/abertura.h"
#include "store/records.h"

namespace kardo::decl {
namespace {

using base::Date;
using base::Decimal;

// splitmix64: small, fast and the same on every machine, so a seed always gives one folder.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int between(int lo, int hi) { return lo + int(next() % uint64_t(hi - lo + 1)); }
  bool chance(int percent) { return between(1, 100) <= percent; }
  template <class T, size_t N>
  const T& pick(const std::array<T, N>& a) { return a[next() % N]; }
  // An amount in reais between lo and hi, with cents.
  Decimal money(int lo, int hi) { return Decimal::of(between(lo, hi) * 100LL + between(0, 99), 2); }

 private:
  uint64_t s_;
};

constexpr std::array<const char*, 20> kFirst = {"ANA",    "JOAO",  "MARIA",  "JOSE",   "ANTONIO", "FRANCISCA", "CARLOS",
                                                "PAULO",  "LUCAS", "JULIA",  "MARCOS", "RAFAEL",  "FERNANDA",  "PEDRO",
                                                "BRUNA",  "LUIZ",  "CAMILA", "DANIEL", "PATRICIA", "RICARDO"};
constexpr std::array<const char*, 16> kLast = {"SILVA", "SANTOS",  "OLIVEIRA", "SOUZA",   "RODRIGUES", "FERREIRA",
                                               "ALVES", "PEREIRA", "LIMA",     "GOMES",   "COSTA",     "RIBEIRO",
                                               "MARTINS", "CARVALHO", "ARAUJO", "ROCHA"};
constexpr std::array<const char*, 8> kStreet = {"DAS FLORES", "SETE DE SETEMBRO", "BRASIL", "DOS ANDRADAS",
                                                "SAO JOAO",   "DA CONSOLACAO",   "PAULISTA", "XV DE NOVEMBRO"};
constexpr std::array<const char*, 6> kEmployer = {"COMERCIO DE ALIMENTOS PAULISTA LTDA", "INDUSTRIA METALURGICA DO SUL SA",
                                                  "SERVICOS DE INFORMATICA CENTRO LTDA", "TRANSPORTES RAPIDO NORTE LTDA",
                                                  "HOSPITAL SANTA CLARA",                "PREFEITURA MUNICIPAL"};

std::string person_name(Rng& r) {
  return std::string(r.pick(kFirst)) + " " + r.pick(kLast) + " " + r.pick(kLast);
}

std::string digits(Rng& r, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += char('0' + r.between(0, 9));
  return s;
}

std::string cnpj_display(Rng& r) { return ids::Cnpj::from_base(digits(r, 8) + "0001")->display(); }
std::string cpf_digits(Rng& r) { return ids::Cpf::from_base(digits(r, 9))->digits(); }

// The monthly tax table of 2018, for plausible amounts withheld by employers.
Decimal withheld_per_month(Decimal base) {
  struct Bracket { long long upto_cents; int rate_tenths; long long deduction_cents; };
  constexpr Bracket table[] = {{190398, 0, 0}, {282665, 75, 14280}, {375105, 150, 35480}, {466468, 225, 63613},
                               {-1, 275, 86936}};
  for (const Bracket& b : table) {
    if (b.upto_cents < 0 || base <= Decimal::of(b.upto_cents, 2)) {
      Decimal t = base * Decimal::of(b.rate_tenths, 3) - Decimal::of(b.deduction_cents, 2);
      return t.is_negative() ? Decimal() : base::DESPREZA(t);
    }
  }
  return Decimal();
}

// Sets the numeric field with this index of a typed record (the monthly fields are runs of
// the layout, addressed by their first field's index plus an offset).
template <class Record>
void set_number(Record& rec, int index, Decimal value) {
  rec.visit([&](std::string_view, int i, auto& member) {
    if constexpr (std::is_same_v<std::decay_t<decltype(member)>, Decimal>)
      if (i == index) member = value;
  });
}

}  // namespace

Declaration make_demo_declaration(uint64_t seed, uint32_t index) {
  Rng r(seed * 1000003ull + index);
  Declaration d;
  Vars& v = d.vars;
  LIMPVAR(v);

  // Nine base digits derived from the index keep CPFs distinct within a folder.
  uint64_t base9 = (uint64_t(index) * 7919 + seed % 1000) % 1000000000ull;
  std::string nine = base::STRZERO(Decimal(static_cast<long long>(base9)), 9);
  v.CPF = ids::Cpf::from_base(nine)->digits();
  v.NOMECONTR = person_name(r);
  v.TIPOEND = "RUA";
  v.ENDERECO = r.pick(kStreet);
  v.NUMERO = std::to_string(r.between(1, 2999));
  v.BAIRRO = "CENTRO";
  v.CEP = digits(r, 5) + "-" + digits(r, 3);
  v.CODMUNI = "7107";
  v.MUNICIPIO = "SAO PAULO";
  v.UF = "SP";
  v.DDDTEL = "11";
  v.TELEFO = digits(r, 8);
  v.NASCIMENTO = Date(r.between(1940, 1998), unsigned(r.between(1, 12)), unsigned(r.between(1, 28)));
  v.CDPRO = "212";
  v.CODAT = "01";
  v.ESTATUS = r.between(1, 3);
  v.USAPADRAO = r.chance(40) ? "S" : "N";
  v.QTD_QUOTA = 1;

  // Income from one or two employers.
  int employers = r.chance(30) ? 2 : 1;
  for (int e = 0; e < employers; ++e) {
    store::imp02::Record in;
    in.CPF = v.CPF;
    in.I1_1 = "J";
    in.I1_11 = "S";
    in.I1_2 = r.pick(kEmployer);
    in.I1_3 = cnpj_display(r);
    Decimal monthly = r.money(1500, 15000);
    in.I1_4 = monthly * Decimal(12);
    in.I1_6 = base::DESPREZA(in.I1_4 * Decimal::of(11, 2));
    in.I1_5 = withheld_per_month(monthly - base::DESPREZA(monthly * Decimal::of(11, 2))) * Decimal(12);
    in.I1_7 = monthly;
    in.I1_39 = withheld_per_month(monthly);
    for (int m = 0; m < 12; ++m) set_number(in, store::imp02::I1_401 + 3 * m, monthly);
    d.IMP02.push_back(std::move(in));
  }

  // Income from individuals (rent or work), with its carnê-leão months.
  if (r.chance(25)) {
    store::imp02::Record in;
    in.CPF = v.CPF;
    in.I1_1 = "F";
    in.I1_11 = "S";
    in.I1_41 = r.chance(50) ? "A" : "T";
    in.I1_2 = person_name(r);
    in.I1_3 = cpf_digits(r);
    store::imp12::Record leao;
    leao.CPF = v.CPF;
    Decimal monthly = r.money(800, 4000);
    Decimal total;
    for (int m = 0; m < 12; ++m) {
      set_number(in, store::imp02::I1_401 + 3 * m, monthly);
      set_number(leao, store::imp12::I2_101 + 7 * m, monthly);
      total += monthly;
    }
    in.I1_4 = total;
    leao.I2_113 = total;
    d.IMP02.push_back(std::move(in));
    d.IMP12.push_back(std::move(leao));
  }

  // Dependants: a spouse and children.
  int children = r.between(0, 3);
  bool spouse = r.chance(40);
  int number = 0;
  auto add_dependant = [&](int code, Date born) {
    store::imp03::Record dep;
    dep.CPF = v.CPF;
    dep.NOMEDEPEN = person_name(r);
    dep.CODIDEPEN = code;
    dep.DATADEPEN = born;
    dep.CPFDEPEN = cpf_digits(r);
    dep.NRODEPEN = ++number;
    d.IMP03.push_back(std::move(dep));
  };
  if (spouse) add_dependant(11, Date(r.between(1945, 1995), unsigned(r.between(1, 12)), 10));
  for (int c = 0; c < children; ++c) add_dependant(21, Date(r.between(1998, 2017), unsigned(r.between(1, 12)), 15));

  // Payments: health plan, doctors, education of the children, private pension.
  auto add_payment = [&](int code, const std::string& name, const std::string& id, Decimal paid, int person) {
    store::imp06::Record p;
    p.CPF = v.CPF;
    p.I6_1 = name;
    p.I6_2 = id;
    p.I6_3 = code;
    p.I6_4 = paid;
    p.I6_6 = person;
    d.IMP06.push_back(std::move(p));
  };
  if (r.chance(60)) add_payment(26, "PLANO DE SAUDE NACIONAL SA", cnpj_display(r), r.money(2000, 12000), 0);
  if (r.chance(50)) add_payment(10, "DR. " + person_name(r), ids::Cpf::from_base(digits(r, 9))->display(), r.money(200, 3000), 0);
  for (int c = 0; c < children && c < 2; ++c)
    if (r.chance(70)) add_payment(1, "COLEGIO SAO PAULO LTDA", cnpj_display(r), r.money(3000, 20000), c + 1 + (spouse ? 1 : 0));
  if (r.chance(25)) add_payment(36, "PREVIDENCIA PRIVADA SA", cnpj_display(r), r.money(1000, 10000), 0);

  // Assets: a home, a car, a bank account; sometimes a loan.
  int item = 0;
  auto add_asset = [&](int code, const std::string& what, Decimal before, Decimal after) {
    store::imp04::Record a;
    a.CPF = v.CPF;
    a.I7_0 = ++item * 10;
    a.I7_1 = item;
    a.I7_2 = what;
    a.I7_3 = before;
    a.I7_4 = after;
    a.I7_5 = code;
    a.I7_8 = "105";
    d.IMP04.push_back(std::move(a));
  };
  if (r.chance(55)) {
    Decimal home = r.money(150000, 900000);
    add_asset(11, "APARTAMENTO RESIDENCIAL NA RUA " + std::string(r.pick(kStreet)) + ", ADQUIRIDO EM 2010", home, home);
  }
  if (r.chance(60)) add_asset(21, "AUTOMOVEL DE PASSEIO, ANO 2015", r.money(20000, 80000), r.money(20000, 80000));
  add_asset(61, "SALDO EM CONTA CORRENTE", r.money(0, 20000), r.money(0, 30000));
  if (r.chance(20)) {
    store::imp05::Record debt;
    debt.CPF = v.CPF;
    debt.I8_0 = 10;
    debt.I8_1 = 1;
    debt.I8_2 = "EMPRESTIMO PESSOAL JUNTO A BANCO COMERCIAL";
    debt.I8_3 = r.money(5000, 50000);
    debt.I8_4 = base::DESPREZA(debt.I8_3 * Decimal::of(60, 2));
    debt.I8_5 = 11;
    debt.I8_7 = base::DESPREZA(debt.I8_3 * Decimal::of(45, 2));
    d.IMP05.push_back(std::move(debt));
  }
  return d;
}

}  // namespace kardo::decl

namespace kardo::decl {
namespace {

// Appends the rows of many declarations to one table in a single exclusive open, with its
// indexes built once at the end.
template <class R, class Rows>
base::Status append_all(store::Session& s, int n, const std::vector<Declaration>& decls, Rows rows_of) {
  if (base::Status st = store::ABERTURA(s, n, true); !st) return st;
  xbase::Table* t = s.table(n);
  std::vector<std::pair<std::string, std::string>> indexes;
  for (int i = 1; i <= t->index_count(); ++i) indexes.emplace_back(t->index_path(i), t->index_expression(i));
  t->detach_indexes();
  for (const Declaration& d : decls)
    for (const R& r : rows_of(d)) {
      if (base::Status st = t->append_blank(); !st) return st;
      if (base::Status st = store::write_record(*t, r); !st) return st;
    }
  if (base::Status st = t->flush(); !st) return st;
  for (const auto& [path, key] : indexes)
    if (base::Status st = t->create_index(path, key); !st) return st;
  s.close_slot(n);
  return {};
}

}  // namespace

base::Status write_demo_declarations(store::Session& s, uint64_t seed, long count, const Engines& engines,
                                     long* added) {
  *added = 0;
  std::set<std::string> present;
  if (base::Status st = store::ABERTURA(s, 9); !st) return st;
  {
    xbase::Table* t = s.table(9);
    int cpf = t->field_index("CPF");
    for (t->go_top(); !t->eof(); t->skip(1)) present.insert(t->text(cpf));
    s.close_slot(9);
  }
  std::vector<Declaration> decls;
  decls.reserve(size_t(count));
  for (uint32_t i = 0; long(decls.size()) < count; ++i) {
    Declaration d = make_demo_declaration(seed, i);
    if (present.count(d.vars.CPF)) continue;
    if (engines.recompute) engines.recompute(s, d);
    prepare_for_saving(d);
    if (engines.final_step) engines.final_step(s, d);
    decls.push_back(std::move(d));
  }
  using namespace store;
  base::Status st = append_all<imp09::Record>(s, 9, decls, [](const Declaration& d) {
    return std::vector<imp09::Record>{saved_register_record(d.vars, "")};
  });
  if (st)
    st = append_all<imp01::Record>(s, 1, decls, [](const Declaration& d) {
      imp01::Record r;
      store_return(d.vars, r);
      return std::vector<imp01::Record>{r};
    });
  auto rows = [](auto member) { return [member](const Declaration& d) -> const auto& { return d.*member; }; };
  if (st) st = append_all<imp02::Record>(s, 2, decls, rows(&Declaration::IMP02));
  if (st) st = append_all<imp03::Record>(s, 3, decls, rows(&Declaration::IMP03));
  if (st) st = append_all<imp04::Record>(s, 4, decls, rows(&Declaration::IMP04));
  if (st) st = append_all<imp05::Record>(s, 5, decls, rows(&Declaration::IMP05));
  if (st) st = append_all<imp06::Record>(s, 6, decls, rows(&Declaration::IMP06));
  if (st) st = append_all<imp12::Record>(s, 12, decls, rows(&Declaration::IMP12));
  if (st) *added = long(decls.size());
  return st;
}

}  // namespace kardo::decl
