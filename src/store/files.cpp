#include "store/files.h"

#include <algorithm>

namespace kardo::store {
namespace {

using base::Code;
using base::Status;

size_t name_start(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// The memo file beside a table file: the extension becomes DBT, in the extension's case.
std::string memo_of(const std::string& dbf) {
  size_t dot = dbf.rfind('.');
  if (dot == std::string::npos || dot < name_start(dbf)) return dbf + ".dbt";
  bool upper = dot + 1 < dbf.size() && dbf[dot + 1] >= 'A' && dbf[dot + 1] <= 'Z';
  return dbf.substr(0, dot + 1) + (upper ? "DBT" : "dbt");
}

// The claim of a name is a one-byte lock at the start of the empty file, held by its creator.
// Table opens lock elsewhere, so the claim only keeps other creators out.
constexpr uint64_t kClaimByte = 0;

}  // namespace

std::string with_dbf(const std::string& file) {
  return file.find('.', name_start(file)) == std::string::npos ? file + ".DBF" : file;
}

std::string base_of(std::string_view path) {
  std::string_view name = path.substr(name_start(path));
  return std::string(name.substr(0, name.find('.')));
}

std::string folder_of(std::string_view path) { return std::string(path.substr(0, name_start(path))); }

std::string with_extension(const std::string& path, std::string_view ext) {
  size_t start = name_start(path);
  size_t dot = path.find('.', start);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + "." + std::string(ext);
}

std::string temp_name(std::string_view stem, std::string_view terminal) {
  return std::string(stem) + std::string(terminal);
}

bool is_claim(xbase::Env& env, const std::string& path) {
  auto f = env.open(path, xbase::OpenMode::READ);
  if (!f) return false;
  auto size = (*f)->size();
  return size && *size == 0;
}

Status create_new_table(xbase::Env& env, const std::string& path, const std::vector<xbase::FieldDef>& fields,
                        std::string_view terminal, const std::function<Status(xbase::Table&)>& fill) {
  const bool memo = std::any_of(fields.begin(), fields.end(), [](const xbase::FieldDef& f) { return f.type == 'M'; });
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::unique_ptr<xbase::File> claim;
    if (auto c = env.open(path, xbase::OpenMode::CREATE_NEW)) {
      claim = std::move(*c);
    } else if (c.status().code() == Code::EXISTS) {
      auto g = env.open(path, xbase::OpenMode::READ_WRITE);
      if (!g) {
        if (g.status().code() == Code::NOT_FOUND) continue;  // renamed away meanwhile
        return g.status();
      }
      auto size = (*g)->size();
      if (!size) return size.status();
      if (*size > 0) return Status(Code::EXISTS, path + ": already exists");
      claim = std::move(*g);  // empty: another creator's claim, or one left by a creator that died
    } else {
      return c.status();
    }
    if (Status l = claim->lock(kClaimByte, 1, true); !l) {
      if (l.code() == Code::LOCKED) return Status(Code::LOCKED, path + ": being created by another terminal");
      return l;
    }
    // With the claim locked, the name must still be this empty file: a creator that finished
    // just before our lock has renamed its table over it.
    auto size = claim->size();
    if (!size) return size.status();
    auto mine = claim->id();
    auto now = env.id(path);
    if (!now) continue;
    if (*size > 0 || (mine && !(*mine == *now))) return Status(Code::EXISTS, path + ": already exists");

    const std::string tmp = with_extension(path, std::string(terminal) + ".NEW");
    // A failure gives the name up again: the claim goes, as long as it is still ours.
    auto cleanup = [&](Status s) {
      env.remove(tmp);
      if (memo) env.remove(memo_of(tmp));
      auto here = env.id(path);
      if (here && mine && *here == *mine) env.remove(path);
      return s;
    };
    auto t = xbase::Table::create(env, tmp, fields, xbase::Share::EXCLUSIVE, true);
    if (!t) return cleanup(t.status());
    if (fill)
      if (Status f = fill(**t); !f) {
        t->reset();
        return cleanup(f);
      }
    if (Status c = (*t)->close(); !c) {
      t->reset();
      return cleanup(c);
    }
    t->reset();
    if (memo)
      if (Status r = env.rename(memo_of(tmp), memo_of(path)); !r) return cleanup(r);
    if (Status r = env.rename(tmp, path); !r) return cleanup(r);
    env.sync_folder(folder_of(path).empty() ? "." : folder_of(path));
    return {};  // the claim goes with `claim`: its lock was on the file now replaced
  }
  return Status(Code::LOCKED, path + ": being created by another terminal");
}

}  // namespace kardo::store
