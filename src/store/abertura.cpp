#include "store/abertura.h"

#include <filesystem>

#include "base/codepage.h"
#include "base/xtext.h"
#include "base/year.h"
#include "store/catalog.h"
#include "store/catalog_defaults.h"
#include "store/configura.h"
#include "store/files.h"
#include "store/records.h"

namespace kardo::store {
namespace {

using base::Code;
using base::Status;
using namespace base::literals;
using std::chrono::milliseconds;

std::string S(std::string_view v) { return std::string(v); }

// Message text from pieces: code page 850 literals, file names.
template <class... A>
std::string cat(const A&... a) {
  std::string r;
  (r.append(std::string_view(a)), ...);
  return r;
}

void error_box(Session& s, std::string text) { s.op.AVISOSN(std::move(text), base::BOX_ERROR); }

// A line in the progress window (window 10) the opening routines use with MOS_MENS.
void window_text(Session& s, std::string text) {
  base::Mens m;
  m.mode = 3;
  m.window = 10;
  m.text = std::move(text);
  s.op.MENS(m);
}

bool iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (base::cp850_upper(static_cast<unsigned char>(a[i])) != base::cp850_upper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool exists(xbase::Env& env, const std::string& path) { return env.exists(env.resolve_case(path)); }

std::string dbf_of(Session& s, const std::string& file) { return s.env.resolve_case(with_dbf(file)); }

bool is_folder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

// The index file of key i: the one given (in the table's folder when it names no folder), or
// the table's own name, that name + "B", + "C".
std::string index_file(const std::string& file, const IndexKey& k, size_t i) {
  std::string base;
  if (!k.file.empty()) base = k.file.find('/') == std::string::npos ? folder_of(file) + k.file : k.file;
  else if (i == 0) base = file;
  else base = folder_of(file) + base::UPPER(base_of(file)) + char('A' + i);
  return with_extension(base, "CDX");
}

std::string tag_of(const std::string& index_path) {
  std::string tag = base::UPPER(base_of(index_path));
  return tag.substr(0, 10);
}

std::string without_extension(const std::string& path) {
  size_t start = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
  size_t dot = path.find('.', start);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

Status no_table(Session& s) {
  return Status(Code::INVALID, "no table open in slot " + std::to_string(s.current));
}

// The waits of the lock routines: an attempt every half second, until `attempts` are spent
// (negative: no end), the operator presses Esc (when `escape` is consulted) or the batch
// limit ends the wait. `attempt` returns the engine's answer.
template <class Attempt>
Status retry(Session& s, int attempts, bool escape, Attempt attempt) {
  const auto start = s.clock().now();
  Status st(Code::LOCKED, "not available");
  for (int i = 0; attempts < 0 || i < attempts; ++i) {
    if (escape && s.op.escape_pressed()) return Status(Code::CANCELLED, "the operator gave up waiting (Esc)");
    if (s.wait_limit && s.clock().now() - start >= *s.wait_limit)
      return Status(Code::LOCKED, "the wait ended after " + std::to_string(s.wait_limit->count()) + " seconds");
    s.clock().sleep_for(milliseconds(500));
    st = attempt();
    if (st || st.code() != Code::LOCKED) return st;
  }
  return st;
}

std::string alias_of(Session& s) { return s.aliases[size_t(s.current)]; }

// Adds the first row to an empty folder list: the data folder, selected.
Status first_folder_row(Session& s, xbase::Table& t) {
  if (Status g = t.go_top(); !g) return g;
  if (!t.eof()) return {};
  if (Status a = t.append_blank(); !a) return a;
  if (Status w = write_record(t, first_diret_row(settings_context(s))); !w) return w;
  if (Status c = t.commit(); !c) return c;
  return t.unlock();
}

}  // namespace

// --- creating ---

Status create_table(Session& s, int slot, const std::string& file) {
  std::span<const FieldSpec> layout = layout_of_slot(slot);
  if (layout.empty()) {
    error_box(s, cat("Arquivo "_cp, file, " não foi criado! Reveja a instalação!"_cp));
    return Status(Code::NOT_FOUND, with_dbf(file) + ": missing; it comes with the installation and cannot be created");
  }
  const int nn = slot >= 1 && slot <= 40 ? (slot > 20 ? slot - 20 : slot) : 0;
  s.op.message_line(nn ? "Criando IMP" + base::STRZERO(nn, 2) + ".DBF" : "Criando " + base_of(file) + ".DBF");
  std::function<Status(xbase::Table&)> fill;
  if (slot == 43) {
    // The office-wide settings are one record: written before anyone can see the table, so
    // two terminals starting together never both add it.
    fill = [&](xbase::Table& t) -> Status {
      if (Status a = t.append_blank(); !a) return a;
      if (Status w = write_record(t, default_define(settings_context(s))); !w) return w;
      return t.commit();
    };
  } else if (slot == 50) {
    fill = [&](xbase::Table& t) { return first_folder_row(s, t); };
  }
  return create_new_table(s.env, dbf_of(s, file), field_defs(layout), s.NUSU, fill);
}

// --- opening ---

Status NETUSE(Session& s, const std::string& file, bool exclusive) {
  const int slot = s.current;
  if (slot <= 0 || slot >= Session::kSlots) return Status(Code::INVALID, "no slot selected");
  const std::string dbf = dbf_of(s, file);
  const std::string alias = s.APELIDO.empty() ? base_of(file) : s.APELIDO;
  s.APELIDO.clear();
  xbase::Table* open = s.table(slot);
  if (open && open->path() == dbf && open->shared() == !exclusive && iequal(s.aliases[size_t(slot)], alias)) return {};
  s.close_slot(slot);
  if (!s.env.exists(dbf)) {
    error_box(s, cat("Arquivo "_cp, file, " não existe!"_cp));
    return Status(Code::NOT_FOUND, dbf + ": not found");
  }
  auto t = xbase::Table::open(s.env, dbf, exclusive ? xbase::Share::EXCLUSIVE : xbase::Share::SHARED);
  if (!t) return t.status();
  s.slots[size_t(slot)] = std::move(*t);
  s.aliases[size_t(slot)] = alias;
  return {};
}

Status ABREARQ(Session& s, int slot, bool exclusive, const std::string& file, const std::vector<IndexKey>& keys) {
  if (slot <= 0 || slot >= Session::kSlots) return Status(Code::INVALID, "slot " + std::to_string(slot));
  s.current = slot;
  xbase::Env& env = s.env;
  const std::string dbf = dbf_of(s, file);
  const std::string apelido = s.APELIDO;  // for this open only, whatever happens
  s.APELIDO.clear();
  const std::string alias = apelido.empty() ? base_of(file) : apelido;
  xbase::Table* open = s.table(slot);
  const bool keep = open && open->path() == dbf && open->shared() == !exclusive && iequal(s.aliases[size_t(slot)], alias);
  if (!keep) s.close_slot(slot);

  if (s.MOS_MENS) window_text(s, cat("Verificando o Arquivo "_cp, base::UPPER(file)));
  auto finish = [&](Status st) {
    if (s.MOS_MENS) s.op.close_window(10);
    return st;
  };
  auto not_available = [&](Status st) {
    error_box(s, cat(file, ".DBF não está disponível "_cp));
    return finish(st);
  };

  if (keep) {
    open->detach_indexes();
  } else {
    auto create = [&]() -> Status {
      if (s.MOS_MENS) window_text(s, cat(file, " não localizado está sendo criado"_cp));
      Status c = create_table(s, slot, file);
      return c || c.code() == Code::EXISTS ? Status() : c;
    };
    if (!env.exists(dbf))
      if (Status c = create(); !c) return finish(c);
    s.APELIDO = apelido;
    Status n = NETUSE(s, file, exclusive);
    // An empty file is a table being created (or left by a creator that died). One that is
    // not empty any more was such a claim when it was opened, replaced meanwhile by the
    // finished table: opened again, it is the table.
    if (n.code() == Code::DAMAGED) {
      if (is_claim(env, dbf))
        if (Status c = create(); !c) return finish(c);
      s.APELIDO = apelido;
      n = NETUSE(s, file, exclusive);
    }
    if (!n) return n.code() == Code::NOT_FOUND ? not_available(n) : finish(n);
  }
  if (keys.empty()) return finish({});

  std::vector<std::string> paths;
  for (size_t i = 0; i < keys.size(); ++i) paths.push_back(env.resolve_case(index_file(file, keys[i], i)));
  // Attaches the index files in order; with `damaged`, an unsound file is marked there and
  // the others are still tried.
  auto attach_all = [&](std::vector<bool>* damaged) -> Status {
    xbase::Table* t = s.table(slot);
    t->detach_indexes();
    Status result;
    for (size_t i = 0; i < paths.size(); ++i) {
      Status a = t->attach_index(paths[i]);
      if (a) continue;
      if (!damaged || a.code() != Code::DAMAGED) return a;
      (*damaged)[i] = true;
      result = a;
    }
    if (!result) return result;
    return t->go_top();
  };

  std::vector<bool> build(keys.size());
  bool any = false;
  for (size_t i = 0; i < keys.size(); ++i) {
    build[i] = s.REFAZ_IND || !env.exists(paths[i]);
    any = any || build[i];
  }
  // A missing first index packs the table: then every index is built again, because the
  // record numbers the other index files hold change with the pack.
  const bool pack = !env.exists(paths[0]);
  if (pack) build.assign(keys.size(), true);
  if (!any) {
    // An unsound index file (or one whose key no longer fits the table) is built again.
    Status a = attach_all(&build);
    if (a || a.code() != Code::DAMAGED) return finish(a);
  }

  // Index files are built only under an exclusive open: a terminal that has the table open
  // writes into the index files it attached, and would go on writing into replaced ones.
  const bool was_exclusive = !s.table(slot)->shared();
  if (!was_exclusive) {
    s.close_slot(slot);
    auto x = xbase::Table::open(env, dbf, xbase::Share::EXCLUSIVE);
    if (!x) {
      // Another terminal may be building them right now; once they exist, open as asked.
      bool all = !s.REFAZ_IND;
      for (const std::string& p : paths) all = all && env.exists(p);
      if (x.status().code() == Code::LOCKED && all) {
        auto again = xbase::Table::open(env, dbf, xbase::Share::SHARED);
        if (again) {
          s.slots[size_t(slot)] = std::move(*again);
          s.aliases[size_t(slot)] = alias;
          if (Status a = attach_all(nullptr); a) return finish(a);
          s.close_slot(slot);
        }
      }
      return not_available(x.status());
    }
    s.slots[size_t(slot)] = std::move(*x);
    s.aliases[size_t(slot)] = alias;
  }
  xbase::Table* t = s.table(slot);
  if (pack)
    if (Status p = t->pack(); !p) return finish(p);
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!build[i]) continue;
    if (s.MOS_MENS) window_text(s, base::SUBSTR("Criando o indice " + without_extension(paths[i]) + ".cdx", 1, 79));
    if (Status c = t->create_index(paths[i], keys[i].key, tag_of(paths[i])); !c) return finish(c);
  }
  t->detach_indexes();
  if (!was_exclusive) {
    s.close_slot(slot);
    auto back = xbase::Table::open(env, dbf, xbase::Share::SHARED);
    if (!back) return not_available(back.status());
    s.slots[size_t(slot)] = std::move(*back);
    s.aliases[size_t(slot)] = alias;
  }
  return finish(attach_all(nullptr));
}

std::string table_file(const Session& s, int n) {
  if (n >= 21 && n <= 40) return s.folders.LOCTRAB + resolve_name(find_work_copy(n)->name, s.NUSU);
  const TableSpec* t = find_table(n);
  if (!t) return {};
  const std::string& folder = t->folder == Folder::Declaration ? s.folders.LOCARQ : s.folders.ARQDEF;
  return folder + resolve_name(t->name, s.NUSU);
}

Status ABERTURA(Session& s, int n, bool exclusive) {
  if (n == 0) return global_bundle(s);
  const std::string file = table_file(s, n);
  if (file.empty()) return Status(Code::INVALID, "no table number " + std::to_string(n));
  std::vector<IndexKey> keys;
  bool excl = true;
  const std::string folder = folder_of(file);
  if (const WorkCopySpec* w = find_work_copy(n)) {
    keys.push_back({std::string(w->key), file});
  } else {
    const TableSpec* t = find_table(n);
    excl = t->sharing == Sharing::Exclusive || (t->sharing == Sharing::AsAsked && exclusive);
    for (const IndexSpec& ix : t->indexes)
      if (!ix.on_demand) keys.push_back({std::string(ix.key), folder + resolve_name(ix.file, s.NUSU)});
    if (t->needs_memo && exists(s.env, with_dbf(file)) && !exists(s.env, with_extension(file, "DBT"))) {
      s.current = n;
      s.close_slot(n);
      error_box(s, cat("Arquivo "_cp, file, " não foi criado! Reveja a instalação!"_cp));
      return Status(Code::NOT_FOUND, with_extension(file, "DBT") + ": memo file missing");
    }
  }
  if (Status st = ABREARQ(s, n, excl, file, keys); !st) return st;
  if (n == 50)
    if (Status f = first_folder_row(s, *s.table(50)); !f) return f;
  if (n <= 20 && s.MOS_MENS) s.op.close_window(10);
  return {};
}

Status use_on_demand_index(Session& s, int n) {
  const TableSpec* table_spec = find_table(n);
  const IndexSpec* ix = nullptr;
  if (table_spec)
    for (const IndexSpec& i : table_spec->indexes)
      if (i.on_demand) ix = &i;
  if (!ix) return Status(Code::INVALID, "table " + std::to_string(n) + " has no index built on demand");
  if (!s.table(n))
    if (Status o = ABERTURA(s, n); !o) return o;
  s.current = n;
  xbase::Table& t = *s.table(n);
  const std::string path = s.env.resolve_case(s.folders.ARQDEF + resolve_name(ix->file, s.NUSU) + ".CDX");
  for (int i = 1; i <= t.index_count(); ++i)
    if (t.index_path(i) == path) return t.set_order(i);
  if (s.env.exists(path)) {
    Status a = t.attach_index(path);
    if (a || a.code() != Code::DAMAGED) return a ? t.set_order(t.index_count()) : a;
  }
  if (Status l = FIL_LOCK(s, 5); !l) return l;
  Status c = t.create_index(path, ix->key, tag_of(path));
  if (Status u = t.unlock(); c && !u) c = u;
  if (!c) return c;
  return t.set_order(t.index_count());
}

// --- the terminal's mark and the global bundle ---

bool holds_terminal_mark(Session& s) {
  xbase::Table* t = s.table(50);
  return t && !t->shared() && t->path() == dbf_of(s, table_file(s, 50));
}

void close_all_but_mark(Session& s) {
  const bool mark = holds_terminal_mark(s);
  for (int slot = 1; slot < Session::kSlots; ++slot)
    if (slot != 50 || !mark) s.close_slot(slot);
}

Status take_terminal_mark(Session& s) {
  if (holds_terminal_mark(s)) {
    s.current = 50;
    return {};
  }
  return ABERTURA(s, 50, true);
}

Status global_bundle(Session& s) {
  close_all_but_mark(s);
  if (Status m = take_terminal_mark(s); !m) return m;
  // Folders of the list that no longer exist lose their rows.
  xbase::Table& d = *s.table(50);
  for (uint32_t r = 1; r <= d.record_count(); ++r) {
    if (Status g = d.go_to(r); !g) return g;
    if (d.deleted() || is_folder(S(base::RTRIM(d.raw(diret::DIRETOR))))) continue;
    if (Status l = REC_LOCK(s, 5); !l) continue;
    if (Status del = d.delete_record(); !del) return del;
    if (Status u = d.unlock(); !u) return u;
  }
  const std::string help = table_file(s, 45);
  if (exists(s.env, with_dbf(help)) && exists(s.env, with_extension(help, "DBT")))
    ABERTURA(s, 45);
  struct Item {
    int n;
    bool required;
  };
  constexpr Item kItems[] = {{46, true},  {47, true},  {48, true},  {49, true},  {51, false}, {52, false},
                             {53, false}, {54, false}, {58, true},  {66, false}};
  for (const Item& i : kItems) {
    Status st = ABERTURA(s, i.n);
    if (!st && i.required) {
      close_all_but_mark(s);
      s.current = 50;
      return st;
    }
  }
  close_all_but_mark(s);
  return ABERTURA(s, 50, true);
}

// --- locks ---

Status REC_LOCK(Session& s, int seconds) {
  xbase::Table* t = s.current_table();
  if (!t) return no_table(s);
  Status st = t->lock_record();
  if (st || st.code() != Code::LOCKED) return st;
  s.op.message_line(cat("Aguardando registro ficar disponivel no arquivo "_cp, alias_of(s)));
  st = retry(s, std::max(seconds, 0) * 2, true, [&] { return t->lock_record(); });
  if (st) {
    s.op.message_line("");
    return st;
  }
  error_box(s, S("ATENÇÃO! Registro não ficou disponível. Dado nÃo será gravado."_cp));
  return Status(st.code(), alias_of(s) + ": record " + std::to_string(t->recno()) + " not locked: " + st.message());
}

Status FIL_LOCK(Session& s, std::optional<int> seconds) {
  xbase::Table* t = s.current_table();
  if (!t) return no_table(s);
  Status st = t->lock_file();
  if (st || st.code() != Code::LOCKED) return st;
  base::Mens m;
  m.text = S("Aguardando arquivo ficar disponivel"_cp);
  m.column = "C";
  s.op.MENS(m);
  if (seconds) {
    const bool forever = *seconds <= 0;
    st = retry(s, forever ? -1 : *seconds * 2, !forever, [&] { return t->lock_file(); });
    if (st) {
      s.op.message_line("");
      return st;
    }
  }
  error_box(s, S("ATENÇÃO! Registro não ficou disponÍvel. Dado não será gravado."_cp));
  return Status(st.code(), alias_of(s) + ": file lock not obtained: " + st.message());
}

Status ADD_REC(Session& s, int seconds) {
  xbase::Table* t = s.current_table();
  if (!t) return no_table(s);
  Status st = t->append_blank();
  if (st || st.code() != Code::LOCKED) return st;
  s.op.message_line("Aguardando registro ficar disponível"_cp);
  const bool forever = seconds <= 0;
  st = retry(s, forever ? -1 : seconds * 2, !forever, [&] { return t->append_blank(); });
  if (st) {
    s.op.message_line("");
    return st;
  }
  error_box(s, S("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp));
  return Status(st.code(), alias_of(s) + ": record not appended: " + st.message());
}

Status PREP_REG(Session& s, std::string_view key, bool* found) {
  xbase::Table* t = s.current_table();
  if (!t) return no_table(s);
  if (Status k = t->seek(key); !k) return k;
  if (found) *found = t->found();
  return t->found() ? REC_LOCK(s, 5) : ADD_REC(s, 5);
}

// --- closing ---

void close_work_copies(Session& s) {
  for (int slot = 21; slot <= 40; ++slot) s.close_slot(slot);
}

void close_declaration_tables(Session& s) {
  for (int slot = 1; slot <= 20; ++slot)
    if (slot != 9) s.close_slot(slot);
  close_work_copies(s);
}

// --- the layout version ---

base::Result<bool> layout_outdated(Session& s, const std::string& folder, int n) {
  if (n != 1 && n != 7) return false;
  const std::string dbf = s.env.resolve_case(with_dbf(folder + resolve_name(find_table(n)->name, s.NUSU)));
  if (!s.env.exists(dbf)) return false;
  auto t = xbase::Table::open(s.env, dbf, xbase::Share::SHARED, true);
  if (!t) return t.status();
  if (n == 1) return (*t)->field_index("MEEIRO") < 0;
  int f = (*t)->field_index("MOV_ACAO");
  return f < 0 || (*t)->fields()[size_t(f)].type != 'N';
}

bool check_layouts(Session& s) {
  for (int n = 1; n <= 20; ++n) {
    auto out = layout_outdated(s, s.folders.LOCARQ, n);
    if (out && *out) {
      s.op.AVISOSN({S("ATENÇÃ0!!! Antes de usar o programa em qualquer"_cp),
                    S("função é preciso atualizar a base de dados."_cp),
                    S("Vá no item Declaração/Atualiza base de dados."_cp)},
                   base::BOX_INFO, "ATUALIZAÇÃO NECESSÁRIA"_cp);
      return true;
    }
  }
  return false;
}

base::Result<bool> convert_layout(Session& s, const std::string& folder, int n) {
  auto out = layout_outdated(s, folder, n);
  if (out && !*out) return false;
  const TableSpec& table_spec = *find_table(n);
  const std::string dbf = s.env.resolve_case(with_dbf(folder + resolve_name(table_spec.name, s.NUSU)));
  auto cannot = [&](Status st) -> base::Result<bool> {
    s.op.AVISOSN(cat("Não foi possível atualizar "_cp, dbf));
    return st;
  };
  if (!out) return cannot(out.status());
  auto old = xbase::Table::open(s.env, dbf, xbase::Share::EXCLUSIVE);
  if (!old) return cannot(old.status());
  // The new layout is filled beside the old table under a name of this terminal, then renamed
  // over it while the old one is still held, so no one opens the table half converted.
  const std::string acerto = s.env.resolve_case(folder + temp_name("ACERTO", s.NUSU) + ".DBF");
  auto fresh = xbase::Table::create(s.env, acerto, field_defs(table_spec.fields), xbase::Share::EXCLUSIVE, true);
  if (!fresh) return cannot(fresh.status());
  Status st = (*fresh)->append_from(**old);
  if (st) st = (*fresh)->close();
  fresh->reset();
  if (!st) {
    s.env.remove(acerto);
    return cannot(st);
  }
  // The index files describe the old file; without them the next open builds them again.
  for (const IndexSpec& ix : table_spec.indexes) {
    const std::string cdx = s.env.resolve_case(folder + resolve_name(ix.file, s.NUSU) + ".CDX");
    if (s.env.exists(cdx))
      if (Status r = s.env.remove(cdx); !r) {
        s.env.remove(acerto);
        return cannot(r);
      }
  }
  if (Status r = s.env.rename(acerto, dbf); !r) {
    s.env.remove(acerto);
    return cannot(r);
  }
  old->reset();
  s.env.sync_folder(folder);
  s.op.AVISOSN(dbf + " Atualizado");
  return true;
}

base::Result<int> update_database(Session& s) {
  close_all_but_mark(s);
  if (Status m = take_terminal_mark(s); !m) return m;
  xbase::Table& d = *s.table(50);
  int converted = 0;
  for (uint32_t r = 1; r <= d.record_count(); ++r) {
    if (Status g = d.go_to(r); !g) return g;
    if (d.deleted()) continue;
    const std::string dir = S(base::RTRIM(d.raw(diret::DIRETOR)));
    if (!is_folder(dir)) {
      if (Status del = d.delete_record(); !del) return del;
      continue;
    }
    for (int n : {1, 7}) {
      auto c = convert_layout(s, dir + "/", n);
      if (c && *c) ++converted;
    }
  }
  if (Status c = d.commit(); !c) return c;
  if (converted == 0) s.op.AVISOSN("Todos Arquivos já estão atualizados"_cp, base::BOX_INFO, "Atualizar a base de dados");
  return converted;
}

}  // namespace kardo::store
