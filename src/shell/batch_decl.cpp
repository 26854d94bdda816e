// Batch commands over the declarations of a folder: demo, recalc and summary.
#include "shell/batch_decl.h"

#include <chrono>
#include <ostream>

#include "base/codepage.h"
#include "base/xtext.h"
#include "decl/demo.h"
#include "decl/workset.h"
#include "ids/ids.h"
#include "store/abertura.h"
#include "store/configura.h"
#include "store/records.h"
#include "tax/calc.h"

namespace kardo::shell {
namespace {

using base::Code;
using base::Decimal;
using base::Status;

std::string utf8(std::string_view cp850) { return base::cp850_to_utf8(cp850); }
std::string trimmed(std::string_view s) { return std::string(base::RTRIM(s)); }

// The tax engines as a load and a save run them: a full silent recomputation, and before the
// register is written the whole summary.
struct TaxEngines {
  std::unique_ptr<tax::Calc> calc;
  decl::Engines engines() {
    decl::Engines e;
    e.recompute = [this](store::Session& s, decl::Declaration& d) {
      tax::Settings settings;
      settings.today = s.clock().today();
      calc = std::make_unique<tax::Calc>(d, s.op, settings);
      calc->BALANCO();
    };
    e.final_step = [this](store::Session&, decl::Declaration&) {
      if (calc) calc->CALC(7);
    };
    return e;
  }
};

std::string model_of(const decl::Vars& v) { return trimmed(v.USAPADRAO) == "S" ? "simplificado" : "completo"; }

std::string balance_of(const decl::Vars& v) {
  if (v.IMPPGRE > Decimal()) return "a pagar " + v.IMPPGRE.text(2);
  if (v.IMPPGRE < Decimal()) return "a restituir " + (-v.IMPPGRE).text(2);
  return "sem saldo 0.00";
}

struct RegisterRow {
  std::string cpf, nusuat;
  Decimal estatus;
};

// The register of the current folder in CPF order (or the one CPF asked for).
base::Result<std::vector<RegisterRow>> register_rows(store::Session& s, const std::string& only) {
  if (Status st = store::ABERTURA(s, 9); !st) return st;
  xbase::Table* t = s.table(9);
  int cpf = t->field_index("CPF"), nusuat = t->field_index("NUSUAT"), estatus = t->field_index("ESTATUS");
  std::vector<RegisterRow> rows;
  if (Status st = t->set_order(1); !st) return st;
  if (Status st = only.empty() ? t->go_top() : t->seek(only); !st) return st;
  while (!t->eof()) {
    std::string c = t->text(cpf);
    if (!only.empty() && c != only) break;
    rows.push_back({c, trimmed(t->text(nusuat)), t->number(estatus)});
    if (Status st = t->skip(1); !st) return st;
  }
  s.close_slot(9);
  return rows;
}

int run_recalc(BatchContext& c) {
  store::Session& s = c.session;
  if (Status st = store::load_define(s); !st) {
    c.err << "kardo --batch recalc: " << utf8(st.message()) << "\n";
    return BATCH_CANNOT_RUN;
  }
  std::string only;
  if (auto it = c.options.extra.find("cpf"); it != c.options.extra.end()) {
    auto cpf = ids::Cpf::parse(it->second);
    if (!cpf) {
      c.err << "kardo --batch recalc: " << it->second << " is not a valid CPF\n";
      return BATCH_CANNOT_RUN;
    }
    only = cpf->digits();
  }
  auto rows = register_rows(s, only);
  if (!rows) {
    c.err << "kardo --batch recalc: " << utf8(rows.status().message()) << "\n";
    return BATCH_CANNOT_RUN;
  }
  if (!only.empty() && rows->empty()) {
    c.err << "kardo --batch recalc: CPF " << only << " is not in the register of " << s.folders.LOCARQ << "\n";
    return BATCH_CANNOT_RUN;
  }
  int failed = 0;
  for (const RegisterRow& r : *rows) {
    if (!r.nusuat.empty()) {
      c.out << r.cpf << " skipped open on terminal " << r.nusuat << "\n";
      continue;
    }
    if (store::protected_status(s.define, r.estatus)) {
      c.out << r.cpf << " skipped protected status " << r.estatus.text(0) << "\n";
      continue;
    }
    TaxEngines tax;
    decl::Engines engines = tax.engines();
    decl::Declaration d;
    Status st = decl::INIC_VAR(s, d, r.cpf, {.mark_open = false}, engines);
    if (st) st = decl::SALVATUDO(s, d, {.final = true, .batch = true}, engines);
    store::close_all_but_mark(s);
    if (!st) {
      ++failed;
      c.out << r.cpf << " failed " << utf8(st.message()) << "\n";
      continue;
    }
    c.out << r.cpf << " ok " << model_of(d.vars) << " " << balance_of(d.vars) << "\n";
  }
  return failed ? BATCH_SOME_FAILED : BATCH_OK;
}

int run_demo(BatchContext& c) {
  store::Session& s = c.session;
  long count = 0;
  uint64_t seed = 1;
  auto number = [&](const char* name, auto& into) {
    auto it = c.options.extra.find(name);
    if (it == c.options.extra.end()) return true;
    if (!base::all_digits(it->second) || it->second.size() > 9) return false;
    into = std::stol(it->second);
    return true;
  };
  if (!number("taxpayers", count) || !number("seed", seed) || count <= 0) {
    c.err << "kardo --batch demo: --taxpayers N (1 or more) [--seed S] are needed\n";
    return BATCH_CANNOT_RUN;
  }
  TaxEngines tax;
  long added = 0;
  Status st = decl::write_demo_declarations(s, seed, count, tax.engines(), &added);
  store::close_all_but_mark(s);
  if (!st) {
    c.err << "kardo --batch demo: " << utf8(st.message()) << "\n";
    return BATCH_SOME_FAILED;
  }
  c.out << added << " taxpayers added to " << s.folders.LOCARQ << "\n";
  return BATCH_OK;
}

int run_summary(BatchContext& c) {
  store::Session& s = c.session;
  auto it = c.options.extra.find("cpf");
  std::optional<ids::Cpf> cpf = it == c.options.extra.end() ? std::nullopt : ids::Cpf::parse(it->second);
  if (!cpf) {
    c.err << "kardo --batch summary: --cpf CPF (a valid CPF) is needed\n";
    return BATCH_CANNOT_RUN;
  }
  // The stored return and register, as the export reads them.
  store::imp01::Record ret;
  store::imp09::Record reg;
  for (int n : {1, 9}) {
    if (Status st = store::ABERTURA(s, n); !st) {
      c.err << "kardo --batch summary: " << utf8(st.message()) << "\n";
      return BATCH_CANNOT_RUN;
    }
    xbase::Table* t = s.table(n);
    t->set_order(1);
    t->seek(cpf->digits());
    if (!t->found()) {
      c.err << "kardo --batch summary: CPF " << cpf->digits() << " has no " << (n == 1 ? "return" : "register record")
            << " in " << s.folders.LOCARQ << "\n";
      return BATCH_CANNOT_RUN;
    }
    Status st = n == 1 ? store::read_record(*t, ret) : store::read_record(*t, reg);
    if (!st) {
      c.err << "kardo --batch summary: " << utf8(st.message()) << "\n";
      return BATCH_CANNOT_RUN;
    }
  }
  ret.visit([&](std::string_view name, auto, const auto& member) {
    if constexpr (std::is_same_v<std::decay_t<decltype(member)>, Decimal>)
      if (name.starts_with("I13_") && name.size() == 6 && base::all_digits(name.substr(4)))
        c.out << name << " " << member.text(2) << "\n";
  });
  // The better model: the comparison of a computation on the stored declaration, not saved.
  decl::Declaration d;
  TaxEngines tax;
  Status st = decl::INIC_VAR(s, d, cpf->digits(), {.mark_open = false}, tax.engines());
  store::close_all_but_mark(s);
  c.out << "MODELO " << (trimmed(reg.USAPADRAO) == "S" ? "simplificado" : "completo") << "\n";
  if (!st || !tax.calc) {
    c.err << "kardo --batch summary: the better model cannot be computed: " << utf8(st.message()) << "\n";
    return BATCH_SOME_FAILED;
  }
  c.out << "MELHOR " << (tax.calc->comparison().better == 'S' ? "simplificado" : "completo") << "\n";
  return BATCH_OK;
}

}  // namespace

std::vector<BatchCommand> declaration_commands() {
  return {
      {"demo", "--taxpayers N [--seed S] [--folder DIR]", run_demo},
      {"recalc", "[--cpf CPF] [--folder DIR]", run_recalc},
      {"summary", "--cpf CPF [--folder DIR]", run_summary},
  };
}

int recover_before_batch(BatchContext& c) {
  Status st = decl::recover_interrupted_save(c.session);
  if (st) return BATCH_OK;
  c.err << "kardo --batch: an interrupted save of this terminal cannot be completed: " << utf8(st.message()) << "\n";
  return BATCH_CANNOT_RUN;
}

}  // namespace kardo::shell
