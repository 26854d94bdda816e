#include "store/configura.h"

#include "base/codepage.h"
#include "base/xtext.h"
#include "store/abertura.h"
#include "store/catalog.h"
#include "store/files.h"
#include "store/records.h"

namespace kardo::store {
namespace {

using base::Code;
using base::Status;
using namespace base::literals;

// Positions the table in `slot` on the terminal's record, appending it with `defaults` when
// missing, and reads it into `out`.
template <class R>
Status terminal_record(Session& s, int slot, const R& defaults, R& out) {
  s.current = slot;
  xbase::Table& t = *s.table(slot);
  const std::string key = s.NUSU;
  if (Status k = t.seek(key); !k) return k;
  if (!t.found()) {
    if (Status l = FIL_LOCK(s, 5); !l) return l;
    Status st = t.seek(key);
    if (st && !t.found()) {
      st = ADD_REC(s, 5);
      if (st) st = write_record(t, defaults);
    }
    if (Status u = t.unlock(); st && !u) st = u;
    if (!st) return st;
  }
  return read_record(t, out);
}

}  // namespace

SettingsContext settings_context(Session& s) {
  SettingsContext c;
  c.terminal = s.NUSU;
  c.data_folder = s.folders.ARQDEF;
  c.startup_folder = s.startup_folder;
  c.home = s.home;
  c.default_printer = s.default_printer;
  c.today = s.clock().today();
  return c;
}

Status CONFIGURA(Session& s) {
  if (Status o = ABERTURA(s, 42); !o) {
    s.op.AVISOSN("Arquivo de configuração sendo usado no momento"_cp, base::BOX_ERROR);
    return o;
  }
  return terminal_record(s, 42, default_config(settings_context(s)), s.config);
}

Status load_define(Session& s) {
  if (Status o = ABERTURA(s, 43); !o) return o;
  xbase::Table& t = *s.table(43);
  if (Status g = t.go_top(); !g) return g;
  if (t.eof()) {
    // A table without its record (emptied elsewhere): added once, under the file lock.
    if (Status l = FIL_LOCK(s, 5); !l) return l;
    Status st = t.go_top();
    if (st && t.eof()) {
      st = ADD_REC(s, 5);
      if (st) st = write_record(t, default_define(settings_context(s)));
    }
    if (Status u = t.unlock(); st && !u) st = u;
    if (!st) return st;
  }
  if (Status r = read_record(t, s.define); !r) return r;
  s.define.BOL_BANCO = base::PADR("341", 4);
  return {};
}

Status load_cores(Session& s) {
  if (Status o = ABERTURA(s, 56); !o) return o;
  return terminal_record(s, 56, default_cores(settings_context(s)), s.cores);
}

Status load_listaimp(Session& s) {
  if (Status o = ABERTURA(s, 57); !o) return o;
  return terminal_record(s, 57, default_listaimp(settings_context(s)), s.listaimp);
}

std::optional<config::Record> find_config(Session& s) {
  const std::string dbf = s.env.resolve_case(with_dbf(table_file(s, 42)));
  if (!s.env.exists(dbf)) return std::nullopt;
  auto t = xbase::Table::open(s.env, dbf, xbase::Share::SHARED, true);
  if (!t) return std::nullopt;
  const int f = (*t)->field_index("NRO_TERM");
  if (f < 0) return std::nullopt;
  for (Status st = (*t)->go_top(); st && !(*t)->eof(); st = (*t)->skip()) {
    if (base::RTRIM((*t)->raw(f)) != s.NUSU) continue;
    config::Record r;
    if (!read_record(**t, r)) return std::nullopt;
    return r;
  }
  return std::nullopt;
}

bool protected_status(const define::Record& d, const base::Decimal& estatus) {
  return !d.STATRAVA.is_zero() && estatus == d.STATRAVA;
}

}  // namespace kardo::store
