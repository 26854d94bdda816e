#include "decl/workset.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "base/codepage.h"
#include "base/xtext.h"
#include "base/year.h"
#include "store/abertura.h"
#include "store/catalog.h"
#include "store/configura.h"
#include "store/records.h"

namespace kardo::decl {
namespace {

using namespace base::literals;
using base::Code;
using base::Decimal;
using base::Status;
using xbase::Table;

constexpr int kRegister = 9;
constexpr int kReturn = 1;
// The item tables of an open declaration, in the order they are loaded and saved.
constexpr int kItemTables[] = {2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 14, 15, 16, 17, 18, 19, 20};

bool is_rural(int n) { return n >= 15 && n <= 19; }

std::string two(int n) { return base::STRZERO(Decimal(n), 2); }

// Calls f(rows) with the Declaration's rows of item table n.
template <class F>
void with_rows(Declaration& d, int n, F&& f) {
  switch (n) {
    case 2: f(d.IMP02); break;
    case 3: f(d.IMP03); break;
    case 4: f(d.IMP04); break;
    case 5: f(d.IMP05); break;
    case 6: f(d.IMP06); break;
    case 7: f(d.IMP07); break;
    case 8: f(d.IMP08); break;
    case 10: f(d.IMP10); break;
    case 11: f(d.IMP11); break;
    case 12: f(d.IMP12); break;
    case 14: f(d.IMP14); break;
    case 15: f(d.IMP15); break;
    case 16: f(d.IMP16); break;
    case 17: f(d.IMP17); break;
    case 18: f(d.IMP18); break;
    case 19: f(d.IMP19); break;
    case 20: f(d.IMP20); break;
    default: break;
  }
}

// --- the work set's files ---

// The work copies are the terminal's private files: written through the session's Env (so a
// test's faults reach them) but without flushing each to the disk, which would cost more than
// the whole save. The work set's state file says when they are complete; the save marker,
// which is flushed, is written only after that.
class UnflushedEnv final : public xbase::Env {
 public:
  explicit UnflushedEnv(xbase::Env& base) : base_(base) {}
  base::Result<std::unique_ptr<xbase::File>> open(const std::string& path, xbase::OpenMode mode) override {
    auto f = base_.open(path, mode);
    if (!f) return f.status();
    return std::unique_ptr<xbase::File>(new UnflushedFile(std::move(*f)));
  }
  Status rename(const std::string& from, const std::string& to) override { return base_.rename(from, to); }
  Status remove(const std::string& path) override { return base_.remove(path); }
  bool exists(const std::string& path) override { return base_.exists(path); }
  std::string resolve_case(const std::string& path) override { return base_.resolve_case(path); }
  Status sync_folder(const std::string&) override { return {}; }
  base::Result<xbase::FileId> id(const std::string& path) override { return base_.id(path); }

 private:
  class UnflushedFile final : public xbase::File {
   public:
    explicit UnflushedFile(std::unique_ptr<xbase::File> f) : f_(std::move(f)) {}
    Status read_at(uint64_t off, void* buf, size_t n, size_t* got) override { return f_->read_at(off, buf, n, got); }
    Status write_at(uint64_t off, const void* buf, size_t n) override { return f_->write_at(off, buf, n); }
    base::Result<uint64_t> size() override { return f_->size(); }
    Status truncate(uint64_t size) override { return f_->truncate(size); }
    Status sync() override { return {}; }
    Status lock(uint64_t off, uint64_t len, bool exclusive) override { return f_->lock(off, len, exclusive); }
    Status unlock(uint64_t off, uint64_t len) override { return f_->unlock(off, len); }
    const std::string& path() const override { return f_->path(); }
    base::Result<xbase::FileId> id() override { return f_->id(); }

   private:
    std::unique_ptr<xbase::File> f_;
  };
  xbase::Env& base_;
};

// --- small files of the work set: state and save marker ---

std::string state_path(store::Session& s) { return s.folders.LOCTRAB + "TMP_SET" + s.NUSU + ".TXT"; }
std::string marker_path(store::Session& s) { return s.folders.LOCTRAB + "TMP_SAV" + s.NUSU + ".TXT"; }
std::string work_copy_path(store::Session& s, int n) {
  return s.folders.LOCTRAB + "TMP_" + two(n) + s.NUSU;
}

// Writes a small text file whole: a temporary file renamed over the old one; `flushed` puts it
// on the disk before the call returns.
Status write_small_file(xbase::Env& env, const std::string& path, const std::string& text, bool flushed) {
  std::string tmp = path + ".NEW";
  auto f = env.open(tmp, xbase::OpenMode::CREATE_TRUNC);
  if (!f) return f.status();
  if (Status st = (*f)->write_at(0, text.data(), text.size()); !st) return st;
  if (flushed)
    if (Status st = (*f)->sync(); !st) return st;
  f->reset();
  if (Status st = env.rename(tmp, path); !st) return st;
  if (!flushed) return {};
  size_t slash = path.rfind('/');
  return env.sync_folder(slash == std::string::npos ? "." : path.substr(0, slash));
}

base::Result<std::string> read_small_file(xbase::Env& env, const std::string& path) {
  auto f = env.open(path, xbase::OpenMode::READ);
  if (!f) return f.status();
  auto size = (*f)->size();
  if (!size) return size.status();
  std::string text(size_t(*size), '\0');
  size_t got = 0;
  if (Status st = (*f)->read_at(0, text.data(), text.size(), &got); !st) return st;
  text.resize(got);
  return text;
}

// "KEY=value" lines.
std::string value_of(const std::string& text, const std::string& key) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return "";
}

Status write_state(store::Session& s, const std::string& cpf, bool complete) {
  return write_small_file(s.env, state_path(s),
                          "CPF=" + cpf + "\nFOLDER=" + s.folders.LOCARQ + "\nCOMPLETE=" + (complete ? "S" : "N") + "\n",
                          false);
}

// --- waiting for tables ---

// Waits half a second before the next attempt at something another terminal holds. False
// when the wait is over: a batch run past its limit, or the operator pressed Esc and chose
// not to wait again.
bool wait_again(store::Session& s, base::Clock::TimePoint started, std::string_view message, bool operator_may_stop) {
  if (s.wait_limit && s.clock().now() - started >= *s.wait_limit) return false;
  s.op.message_line(message);
  if (operator_may_stop && s.op.escape_pressed()) {
    base::Box ask;
    ask.mode = base::BOX_YES_NO;
    ask.lines = {std::string("Outro terminal está usando os arquivos desta pasta."_cp),
                 std::string("Continua aguardando?"_cp)};
    if (s.op.AVISOSN(ask) != "S") return false;
  }
  s.clock().sleep_for(std::chrono::milliseconds(500));
  return true;
}

// Opens declaration table n for copying its rows out: the register shared, the others
// exclusively, waiting for a terminal that holds them.
Status open_for_loading(store::Session& s, int n) {
  auto started = s.clock().now();
  for (;;) {
    Status st = store::ABERTURA(s, n, n != kRegister);
    if (st || st.code() != Code::LOCKED) return st;
    if (n == kReturn) {
      if (!wait_again(s, started, "Aguardando outro Terminal carregar dados..."_cp, false))
        return Status(Code::CANCELLED, "IMP01: held by another terminal");
      continue;
    }
    if (s.wait_limit) {
      if (!wait_again(s, started, "Aguardando outro Terminal carregar dados..."_cp, false))
        return Status(Code::CANCELLED, "IMP" + two(n) + ": held by another terminal");
      continue;
    }
    base::Box ask;
    ask.mode = base::BOX_YES_NO;
    ask.lines = {std::string("Outro terminal esta usando o arquivo IMP"_cp) + two(n) + std::string(base::CANOATUAL) + ".DBF",
                 "                Aguarde ?"};
    if (s.op.AVISOSN(ask) != "S") return Status(Code::CANCELLED, "IMP" + two(n) + ": the operator gave up waiting");
    s.clock().sleep_for(std::chrono::milliseconds(500));
  }
}

// --- rows ---

template <class R>
Status read_taxpayer_rows(Table& t, const std::string& cpf, const std::string& atv, std::vector<R>& out) {
  out.clear();
  int cpf_field = t.field_index("CPF");
  int atv_field = atv.empty() ? -1 : t.field_index("ATV_BRASIL");
  if (cpf_field < 0) return Status(Code::DAMAGED, t.path() + ": no CPF field");
  if (Status st = t.set_order(1); !st) return st;
  if (Status st = t.seek(cpf); !st) return st;
  while (!t.eof() && t.raw(cpf_field) == cpf) {
    if (atv_field < 0 || base::RTRIM(t.raw(atv_field)) == base::RTRIM(atv)) {
      R r;
      if (Status st = store::read_record(t, r); !st) return st;
      out.push_back(std::move(r));
    }
    if (Status st = t.skip(1); !st) return st;
  }
  return {};
}

// Replaces the taxpayer's rows in place: its records overwritten in record order, extra rows
// appended, surplus records cleared of their CPF and marked deleted.
// Deletes the live rows without a CPF: only a save that a crash interrupted between clearing
// a surplus row's CPF and marking it deleted leaves one.
Status purge_rows_without_cpf(Table& t, int cpf_field) {
  const std::string blank(11, ' ');
  for (;;) {
    if (Status st = t.seek(blank); !st) return st;
    if (t.eof() || t.raw(cpf_field) != blank) return {};
    if (Status st = t.delete_record(); !st) return st;
  }
}

template <class R>
Status replace_taxpayer_rows(Table& t, const std::string& cpf, const std::string& atv, const std::vector<R>& rows,
                             bool redo) {
  int cpf_field = t.field_index("CPF");
  int atv_field = atv.empty() ? -1 : t.field_index("ATV_BRASIL");
  if (cpf_field < 0) return Status(Code::DAMAGED, t.path() + ": no CPF field");
  std::vector<uint32_t> recnos;
  if (Status st = t.set_order(1); !st) return st;
  if (Status st = t.seek(cpf); !st) return st;
  while (!t.eof() && t.raw(cpf_field) == cpf) {
    if (atv_field < 0 || base::RTRIM(t.raw(atv_field)) == base::RTRIM(atv)) recnos.push_back(t.recno());
    if (Status st = t.skip(1); !st) return st;
  }
  std::sort(recnos.begin(), recnos.end());
  for (size_t i = 0; i < rows.size(); ++i) {
    Status st = i < recnos.size() ? t.go_to(recnos[i]) : t.append_blank();
    if (!st) return st;
    if (st = store::write_record(t, rows[i]); !st) return st;
    if (st = t.commit(); !st) return st;
  }
  for (size_t i = rows.size(); i < recnos.size(); ++i) {
    if (Status st = t.go_to(recnos[i]); !st) return st;
    if (Status st = t.set_text(cpf_field, ""); !st) return st;
    if (Status st = t.commit(); !st) return st;
    if (Status st = t.delete_record(); !st) return st;
  }
  if (redo)
    if (Status st = purge_rows_without_cpf(t, cpf_field); !st) return st;
  return t.flush();
}

// Writes one work copy whole, with its index.
// An empty one is no file at all (reading a missing work copy gives no rows), which spares the
// load and the save most of the tables a typical declaration does not use.
template <class R>
Status write_work_copy(store::Session& s, int n, const std::vector<R>& rows) {
  const store::WorkCopySpec* w = store::find_work_copy(n + 20);
  std::string path = work_copy_path(s, n);
  UnflushedEnv env(s.env);
  if (rows.empty()) {
    for (const char* ext : {".DBF", ".CDX"})
      if (env.exists(path + ext))
        if (Status st = env.remove(path + ext); !st) return st;
    return {};
  }
  auto t = Table::create(env, path + ".DBF", store::field_defs(R::fields()), xbase::Share::EXCLUSIVE, true);
  if (!t) return t.status();
  for (const R& r : rows) {
    if (Status st = (*t)->append_blank(); !st) return st;
    if (Status st = store::write_record(**t, r); !st) return st;
  }
  if (Status st = (*t)->create_index(path + ".CDX", w->key); !st) return st;
  return (*t)->close();
}

// Reads a work copy back in record order (its index is not trusted after a crash).
template <class R>
Status read_work_copy(store::Session& s, int n, std::vector<R>& rows) {
  rows.clear();
  std::string path = work_copy_path(s, n) + ".DBF";
  if (!s.env.exists(path)) return {};
  auto t = Table::open(s.env, path, xbase::Share::EXCLUSIVE);
  if (!t) return t.status();
  if (Status st = (*t)->go_top(); !st) return st;
  while (!(*t)->eof()) {
    R r;
    if (Status st = store::read_record(**t, r); !st) return st;
    rows.push_back(std::move(r));
    if (Status st = (*t)->skip(1); !st) return st;
  }
  return (*t)->close();
}

// The holder's carnê-leão row: the record whose CPFdepen is blank.
store::imp12::Record* holder_leao(Declaration& d) {
  for (auto& r : d.IMP12)
    if (base::is_blank(r.CPFdepen)) return &r;
  return nullptr;
}

// The holder's carnê-leão row follows the variables; one is added when they hold amounts.
void sync_holder_leao(Declaration& d) {
  store::imp12::Record* leao = holder_leao(d);
  store::imp12::Record fresh;
  store_carne_leao(d.vars, leao ? *leao : fresh);
  (leao ? *leao : fresh).CPFdepen = "";
  if (leao) return;
  bool amounts = false;
  fresh.visit([&](std::string_view, auto, const auto& member) {
    if constexpr (std::is_same_v<std::decay_t<decltype(member)>, Decimal>) amounts = amounts || !member.is_zero();
  });
  if (amounts) d.IMP12.insert(d.IMP12.begin(), fresh);
}

bool uses_rural(const Declaration& d) { return base::RTRIM(d.vars.TEMRURAL) == "S"; }
std::string rural_location(const Declaration& d) { return std::string(base::RTRIM(d.vars.ATV_BRASIL)); }

// --- the save's preparation ---

template <class R, class Key>
void stable_order(std::vector<R>& rows, Key key) {
  std::stable_sort(rows.begin(), rows.end(), [&](const R& a, const R& b) { return key(a) < key(b); });
}

// Items numbered 1, 2, 3 … in their order, then 10, 20, 30 … when the last stays below 9999;
// all or nothing.
template <class R, class Member>
void renumber(std::vector<R>& rows, Member member) {
  stable_order(rows, [&](const R& r) { return r.*member; });
  bool times_ten = Decimal(static_cast<long long>(rows.size()) * 10) < Decimal(9999);
  for (size_t i = 0; i < rows.size(); ++i) rows[i].*member = Decimal(static_cast<long long>(i + 1) * (times_ten ? 10 : 1));
}

// Reads the numeric field `index` of a record (the monthly runs are addressed by offset).
template <class R>
Decimal number_at(const R& rec, int index) {
  Decimal out;
  rec.visit([&](std::string_view, auto i, const auto& member) {
    if constexpr (std::is_same_v<std::decay_t<decltype(member)>, Decimal>)
      if (int(i) == index) out = member;
  });
  return out;
}

void prepare_rows(Declaration& d) {
  stable_order(d.IMP02, [](const store::imp02::Record& r) { return r.DT_LC; });
  renumber(d.IMP04, &store::imp04::Record::I7_0);
  renumber(d.IMP05, &store::imp05::Record::I8_0);
  stable_order(d.IMP06, [](const store::imp06::Record& r) { return r.I6_3; });
  for (auto& op : d.IMP07)
    if (op.TIPO_BEM != Decimal(4) && base::is_blank(op.CPFALIEN)) op.CPFALIEN = d.vars.CPF;
  for (int n : kItemTables)
    with_rows(d, n, [&](auto& rows) {
      for (auto& r : rows) r.CPF = d.vars.CPF;
    });
}

// The DARF bookkeeping of the register and the declaration's size.
void bookkeeping(Declaration& d) {
  Vars& v = d.vars;
  // carnê-leão: months with a positive amount I2_7mm, over every person's grid
  int leao_months = 0;
  Decimal leao_sum;
  for (const auto& r : d.IMP12)
    for (int m = 0; m < 12; ++m) {
      Decimal x = number_at(r, store::imp12::I2_701 + 7 * m);
      if (x > Decimal()) {
        ++leao_months;
        leao_sum += x;
      }
    }
  v.NRCLEAO = leao_months;
  v.DFCLEAO = leao_sum;

  // capital gains: months whose tax still due is positive; −1 when none is but operations count
  int gain_months = 0, counting_ops = 0;
  Decimal gain_sum;
  constexpr int kMonthStride = store::imp07::REC_MES02 - store::imp07::REC_MES01;
  for (int m = 0; m < 12; ++m) {
    Decimal due;
    for (const auto& op : d.IMP07)
      if (op.TIPO_BEM != Decimal(4))
        due += number_at(op, store::imp07::IMP_DEV01 + kMonthStride * m) - number_at(op, store::imp07::IMP_PAG01 + kMonthStride * m);
    if (due > Decimal()) {
      ++gain_months;
      gain_sum += due;
    }
  }
  for (const auto& op : d.IMP07)
    if (op.TIPO_BEM != Decimal(4) && (op.VAL_ALI <= op.CUS_ATUAL || op.GAN_TRIV.is_zero())) ++counting_ops;
  v.NRGCAPIT = gain_months > 0 ? gain_months : (counting_ops > 0 ? -1 : 0);
  v.DFGCAPIT = gain_sum;

  // variable income: kind 4 operations numbered above 24 without a day-trade mark
  int vi_months = 0;
  bool vi_positive_amount = false;
  Decimal vi_sum;
  for (int m = 0; m < 12; ++m) {
    Decimal month;
    for (const auto& op : d.IMP07) {
      if (op.TIPO_BEM != Decimal(4) || op.RVAR_NRO <= Decimal(24) || !base::is_blank(op.DAY_TRADE)) continue;
      Decimal amount = number_at(op, store::imp07::REC_MES01 + kMonthStride * m);
      if (amount > Decimal()) vi_positive_amount = true;
      month += op.RVAR_NRO == Decimal(25) ? amount : -amount;
    }
    if (month > Decimal()) {
      ++vi_months;
      vi_sum += month;
    }
  }
  v.NRRVARIV = vi_months > 0 ? vi_months : (vi_positive_amount ? -1 : 0);
  v.DFRVARIV = vi_sum;

  v.NRQUOTA = v.QTD_QUOTA;
  v.DFQUOTA = v.I13_37;

  // the declaration's size: every work copy of tables 1 … 14 as a file would be
  auto file_size = [](std::span<const store::FieldSpec> f, size_t rows) {
    return store::record_length(f) * rows + 32 * (f.size() + 1) + 1 + 1;
  };
  size_t size = file_size(store::imp01::Record::fields(), 1) + file_size(store::imp09::Record::fields(), 1);
  for (int n : kItemTables)
    if (n <= 14)
      with_rows(d, n, [&](auto& rows) {
        using R = typename std::decay_t<decltype(rows)>::value_type;
        size += file_size(R::fields(), rows.size());
      });
  v.TAM_USO = Decimal(static_cast<long long>(std::min<size_t>(size, 999999)));

  // limits of what the register's fields hold
  if (v.INDGAS > Decimal(999)) v.INDGAS = Decimal(999);
  if (v.INDGAS < Decimal::of(-9999, 2)) v.INDGAS = Decimal::of(-9999, 2);
  if (v.SALDO < Decimal::of(-9999999999LL, 2)) v.SALDO = Decimal::of(-9999999999LL, 2);
}

// The register record as the save writes it: the variables, with its two adjusted copies.
store::imp09::Record register_record(const Vars& v, const std::string& nusuat) {
  store::imp09::Record r;
  store_register(v, r);
  r.I13_27 = v.I13_27 + v.I13_28;
  r.I13_35 = v.I13_35 - v.I13_34;
  r.NUSUAT = nusuat;
  return r;
}

Status write_work_set(store::Session& s, Declaration& d) {
  if (Status st = write_state(s, d.vars.CPF, false); !st) return st;
  store::imp01::Record ret;
  store_return(d.vars, ret);
  store::imp09::Record reg;
  store_register(d.vars, reg);
  if (Status st = write_work_copy(s, kReturn, std::vector<store::imp01::Record>{ret}); !st) return st;
  if (Status st = write_work_copy(s, kRegister, std::vector<store::imp09::Record>{reg}); !st) return st;
  for (int n : kItemTables) {
    Status st;
    with_rows(d, n, [&](auto& rows) { st = write_work_copy(s, n, rows); });
    if (!st) return st;
  }
  return write_state(s, d.vars.CPF, true);
}

// Opens, exclusively, every table a save writes besides the register; all or none, so a save
// that cannot get one of them writes nothing. Waits while another terminal holds one.
Status open_tables_for_saving(store::Session& s, const std::vector<int>& tables) {
  auto started = s.clock().now();
  for (;;) {
    Status failure;
    for (int n : tables) {
      failure = store::ABERTURA(s, n, true);
      if (!failure) break;
    }
    if (failure) return {};
    for (int n : tables) s.close_slot(n);
    if (failure.code() != Code::LOCKED) return failure;
    if (!wait_again(s, started, "Aguardando outro Terminal carregar dados..."_cp, true))
      return Status(Code::CANCELLED, failure.message());
  }
}

std::vector<int> tables_saved(const Declaration& d) {
  std::vector<int> out = {kReturn};
  for (int n : kItemTables)
    if (!is_rural(n) || uses_rural(d)) out.push_back(n);
  return out;
}

// Positions the register on the taxpayer's record and locks it, or appends one.
Status lock_register_record(store::Session& s, const std::string& cpf) {
  if (Status st = store::ABERTURA(s, kRegister); !st) return st;
  s.current = kRegister;
  bool found = false;
  return store::PREP_REG(s, cpf, &found);
}

// Writes the work set's rows into the declaration folder: the return and the item tables,
// then the register record (NUSUAT last). Tables and the register lock are already held.
Status apply_save(store::Session& s, Declaration& d, const std::vector<int>& tables, const std::string& nusuat,
                  bool redo) {
  const std::string& cpf = d.vars.CPF;
  std::string atv = rural_location(d);
  for (int n : tables) {
    Table* t = s.table(n);
    if (!t) return Status(Code::INVALID, "IMP" + two(n) + ": not open for saving");
    Status st;
    if (n == kReturn) {
      store::imp01::Record ret;
      store_return(d.vars, ret);
      st = replace_taxpayer_rows(*t, cpf, "", std::vector<store::imp01::Record>{ret}, redo);
    } else {
      with_rows(d, n, [&](auto& rows) { st = replace_taxpayer_rows(*t, cpf, is_rural(n) ? atv : "", rows, redo); });
    }
    if (!st) return Status(st.code(), "IMP" + two(n) + ": " + st.message());
    s.op.message_line(std::string("Salvando IMP"_cp) + two(n));
  }
  Table* reg = s.table(kRegister);
  if (Status st = store::write_record(*reg, register_record(d.vars, nusuat)); !st) return st;
  if (Status st = reg->unlock(); !st) return st;
  return reg->flush();
}

Status save_marker(store::Session& s, const Declaration& d, bool final) {
  return write_small_file(s.env, marker_path(s),
                          "CPF=" + d.vars.CPF + "\nFOLDER=" + s.folders.LOCARQ + "\nFINAL=" + (final ? "S" : "N") + "\n",
                          true);
}

// The writing half of a save, also run to complete an interrupted one (`redo`): then every
// index of the tables is rebuilt first, since a crash may have left one behind its table.
Status write_declaration(store::Session& s, Declaration& d, bool final, bool redo) {
  const std::string nusuat = final ? "" : s.NUSU;
  std::vector<int> tables = tables_saved(d);
  bool rebuild = s.REFAZ_IND;
  s.REFAZ_IND = redo;
  Status st = lock_register_record(s, d.vars.CPF);
  if (st) {
    st = open_tables_for_saving(s, tables);
    if (!st) s.close_slot(kRegister);
  }
  s.REFAZ_IND = rebuild;
  if (!st) return st;
  if (!redo) st = save_marker(s, d, final);
  if (st) st = apply_save(s, d, tables, nusuat, redo);
  for (int n : tables) s.close_slot(n);
  s.close_slot(kRegister);
  if (!st) return st;  // the marker stays: the next start completes the save
  return s.env.remove(marker_path(s));
}

}  // namespace

void prepare_for_saving(Declaration& d) {
  prepare_rows(d);
  sync_holder_leao(d);
  bookkeeping(d);
}

store::imp09::Record saved_register_record(const Vars& v, const std::string& nusuat) {
  return register_record(v, nusuat);
}

base::Result<WorkSetState> work_set_state(store::Session& s) {
  if (!s.env.exists(state_path(s))) return WorkSetState{};
  auto text = read_small_file(s.env, state_path(s));
  if (!text) return text.status();
  return WorkSetState{value_of(*text, "CPF"), value_of(*text, "FOLDER"), value_of(*text, "COMPLETE") == "S"};
}

Status read_work_set(store::Session& s, Declaration& d) {
  d = Declaration();
  std::vector<store::imp09::Record> reg;
  std::vector<store::imp01::Record> ret;
  if (Status st = read_work_copy(s, kRegister, reg); !st) return st;
  if (Status st = read_work_copy(s, kReturn, ret); !st) return st;
  if (reg.empty() || ret.empty()) return Status(Code::DAMAGED, "the work set has no register or return record");
  for (int n : kItemTables) {
    Status st;
    with_rows(d, n, [&](auto& rows) { st = read_work_copy(s, n, rows); });
    if (!st) return st;
  }
  load_register(d.vars, reg.front());
  load_return(d.vars, ret.front());
  if (store::imp12::Record* leao = holder_leao(d)) load_carne_leao(d.vars, *leao);
  return {};
}

base::Result<WorkSetState> unsaved_work_set(store::Session& s) {
  auto state = work_set_state(s);
  if (!state || state->cpf.empty() || !state->complete) return state ? WorkSetState{} : state;
  // Its declaration is still marked open on this terminal: the opening that wrote the work
  // set never ended with a save or a leave.
  auto reg = Table::open(s.env, state->folder + "IMP09" + std::string(base::CANOATUAL) + ".DBF", xbase::Share::SHARED, true);
  if (!reg) return WorkSetState{};
  int cpf = (*reg)->field_index("CPF"), nusuat = (*reg)->field_index("NUSUAT");
  if (cpf < 0 || nusuat < 0) return WorkSetState{};
  for ((*reg)->go_top(); !(*reg)->eof(); (*reg)->skip(1))
    if ((*reg)->raw(cpf) == state->cpf) return base::RTRIM((*reg)->raw(nusuat)) == s.NUSU ? *state : WorkSetState{};
  return WorkSetState{};
}

Status INIC_VAR(store::Session& s, Declaration& d, const std::string& cpf, const LoadOptions& options,
                const Engines& engines) {
  if (options.recovering) {
    auto state = work_set_state(s);
    if (!state) return state.status();
    if (state->cpf != cpf || state->folder != s.folders.LOCARQ || !state->complete)
      return Status(Code::INVALID, "the work set is not the complete set of CPF " + cpf + " of this folder");
    if (Status st = read_work_set(s, d); !st) return st;
  } else {
    // Loading afresh replaces the work set; one that holds another taxpayer's unsaved work is
    // replaced only when the operator says so.
    auto unsaved = unsaved_work_set(s);
    if (unsaved && !unsaved->cpf.empty() && (unsaved->cpf != cpf || unsaved->folder != s.folders.LOCARQ)) {
      base::Box ask;
      ask.mode = base::BOX_YES_NO;
      ask.lines = {std::string("As últimas informações trabalhadas do CPF "_cp) + base::PADR(unsaved->cpf, 11) +
                       std::string(" não foram salvas."_cp),
                   std::string("Descarta essas informações e abre outro contribuinte?"_cp)};
      if (s.op.AVISOSN(ask) != "S") return Status(Code::CANCELLED, "the work set holds unsaved work of CPF " + unsaved->cpf);
    }
    d = Declaration();
    LIMPVAR(d.vars);
    d.vars.CPF = cpf;
    // The register first, then the return, so a field both hold keeps the return's value.
    if (Status st = open_for_loading(s, kRegister); !st) return st;
    {
      std::vector<store::imp09::Record> reg;
      if (Status st = read_taxpayer_rows(*s.table(kRegister), cpf, "", reg); !st) return st;
      if (!reg.empty()) load_register(d.vars, reg.front());
    }
    if (Status st = open_for_loading(s, kReturn); !st) return st;
    {
      std::vector<store::imp01::Record> ret;
      Status st = read_taxpayer_rows(*s.table(kReturn), cpf, "", ret);
      s.close_slot(kReturn);
      if (!st) return st;
      if (!ret.empty()) {
        s.op.message_line("Reprocessando..."_cp);
        load_return(d.vars, ret.front());
      } else {
        s.op.message_line("Criando os dados."_cp);
      }
    }
    std::string atv = rural_location(d);
    for (int n : kItemTables) {
      if (Status st = open_for_loading(s, n); !st) return st;
      Status st;
      with_rows(d, n, [&](auto& rows) { st = read_taxpayer_rows(*s.table(n), cpf, is_rural(n) ? atv : "", rows); });
      s.close_slot(n);
      if (!st) return Status(st.code(), "IMP" + two(n) + ": " + st.message());
    }
    if (store::imp12::Record* leao = holder_leao(d)) load_carne_leao(d.vars, *leao);
    d.vars.CPF = cpf;
    if (Status st = write_work_set(s, d); !st) return st;
  }
  if (engines.recompute) engines.recompute(s, d);
  if (options.mark_open) {
    if (Status st = store::ABERTURA(s, kRegister); !st) return st;
    Table* reg = s.table(kRegister);
    s.current = kRegister;
    if (Status st = reg->set_order(1); !st) return st;
    if (Status st = reg->seek(cpf); !st) return st;
    if (reg->found()) {
      if (Status st = store::REC_LOCK(s, 5); !st) return st;
      if (Status st = reg->set_text(reg->field_index("NUSUAT"), s.NUSU); !st) return st;
      if (Status st = reg->unlock(); !st) return st;
    }
  }
  return {};
}

Status SALVATUDO(store::Session& s, Declaration& d, const SaveOptions& options, const Engines& engines) {
  if (store::protected_status(s.define, d.vars.ESTATUS)) {
    if (options.final)
      s.op.AVISOSN({std::string("Declaração com Status de proteção contra alteração."_cp),
                    std::string("Não é permitido salvar qualquer modificação!"_cp)});
    else
      s.op.AVISOSN({std::string("Declaração com Status de proteção contra alteração."_cp),
                    std::string("Configurado para não salvar qualquer modificação!"_cp),
                    std::string("Se desejar salvar mude o Status na tela F11"_cp)});
    return Status(Code::ACCESS_DENIED, "protected status");
  }
  if (engines.recompute) engines.recompute(s, d);
  prepare_for_saving(d);
  if (engines.final_step) engines.final_step(s, d);
  if (!options.final) s.op.message_line("      Salvando as informaçoes               "_cp);
  if (Status st = write_work_set(s, d); !st) return st;
  Status st = write_declaration(s, d, options.final, false);
  s.op.message_line("");
  return st;
}

Status recover_interrupted_save(store::Session& s) {
  if (!s.env.exists(marker_path(s))) return {};
  auto marker = read_small_file(s.env, marker_path(s));
  if (!marker) return marker.status();
  std::string cpf = value_of(*marker, "CPF");
  std::string folder = value_of(*marker, "FOLDER");
  bool final = value_of(*marker, "FINAL") == "S";
  auto state = work_set_state(s);
  if (!state) return state.status();
  if (state->cpf != cpf || state->folder != folder || !state->complete)
    return Status(Code::DAMAGED, "the interrupted save of CPF " + cpf + " has no complete work set");
  Declaration d;
  if (Status st = read_work_set(s, d); !st) return st;
  std::string current = s.folders.LOCARQ;
  s.folders.LOCARQ = folder;
  Status st = write_declaration(s, d, final, true);
  s.folders.LOCARQ = current;
  return st;
}

Status clear_open_mark(store::Session& s, const std::string& cpf) {
  if (Status st = store::ABERTURA(s, kRegister); !st) return st;
  Table* reg = s.table(kRegister);
  s.current = kRegister;
  if (Status st = reg->set_order(1); !st) return st;
  if (Status st = reg->seek(cpf); !st) return st;
  if (!reg->found()) return {};
  if (Status st = store::REC_LOCK(s, 5); !st) return st;
  if (Status st = reg->set_text(reg->field_index("NUSUAT"), ""); !st) return st;
  return reg->unlock();
}

}  // namespace kardo::decl
