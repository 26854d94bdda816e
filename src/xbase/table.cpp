// The table: positioning, record buffer, writes that keep the indexes in step, locks, and
// the whole-file rewrites. The byte layouts are in dbf.cpp and dbt.cpp, the lock offsets in
// lock.h and README.md.
//
// Writes and caches. In an exclusive open no one else reads the file, so appended records
// collect in memory and go out in large writes (with the header once per batch), and a
// sequential walk reads ahead. In a shared open every append reserves its record under the
// append lock and writes it with the header at once (others must see the count after they
// lock), records are read from the file at every positioning, and index pages are cached
// by the index only between locks.
//
// Index changes of a commit happen under the index file's own lock (1 byte at 0x7FFFFFFE of
// the .cdx): refresh, change, flush, unlock. The record is written inside that window, so a
// process that locks and refreshes sees record and index agree.
#include "xbase/table.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <unordered_map>

#include "base/xtext.h"
#include "xbase/cdx.h"
#include "xbase/dbf.h"
#include "xbase/dbt.h"
#include "xbase/keyexpr.h"
#include "xbase/lock.h"
#include "xbase/record.h"

namespace kardo::xbase {

namespace {

constexpr size_t kAppendBatch = 1u << 20;  // bytes of appended records kept before a write
constexpr size_t kReadAhead = 64u << 10;

std::string upper_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

size_t name_start(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

std::string folder_of(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

bool has_extension(const std::string& path) { return path.find('.', name_start(path)) != std::string::npos; }

std::string base_name(const std::string& path) {
  size_t start = name_start(path);
  size_t dot = path.find('.', start);
  return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

// "X.DBF" → "X.DBT", "x.dbf" → "x.dbt": the memo file's name follows the table's case.
std::string memo_path_for(const std::string& dbf_path) {
  size_t dot = dbf_path.rfind('.');
  if (dot == std::string::npos || dot < name_start(dbf_path)) return dbf_path + ".dbt";
  std::string ext = dbf_path.substr(dot + 1);
  bool upper = !ext.empty() && ext[0] >= 'A' && ext[0] <= 'Z';
  return dbf_path.substr(0, dot + 1) + (upper ? "DBT" : "dbt");
}

// A name beside `path` for a file being written before it is renamed over `path`. The
// process id keeps two processes' temporaries apart; a crash leaves it behind, harmless.
std::string temp_path(const std::string& path, const char* what = "tmp") {
  return path + "." + std::to_string(::getpid()) + "." + what;
}

// Today's local date for the header; worked out again at most once a minute, as every
// shared append writes it.
void today(int& y, int& m, int& d) {
  static thread_local std::time_t last = 0;
  static thread_local std::tm tm{};
  std::time_t t = std::time(nullptr);
  if (t / 60 != last / 60) {
    localtime_r(&t, &tm);
    last = t;
  }
  y = tm.tm_year + 1900;
  m = tm.tm_mon + 1;
  d = tm.tm_mday;
}

Status read_exact(File& f, uint64_t off, char* buf, size_t n, const char* what) {
  size_t got = 0;
  if (Status s = f.read_at(off, buf, n, &got); !s) return s;
  if (got < n) return Status(Code::DAMAGED, f.path() + ": " + what + " lies beyond the end of the file");
  return {};
}

struct Attached {
  std::string path;
  std::unique_ptr<CdxIndex> cdx;
  KeyExpr expr;
};

}  // namespace

struct Table::Impl {
  Env& env;
  std::string path, memo_path;
  std::unique_ptr<File> file;
  std::unique_ptr<MemoFile> memo;
  Status memo_status;  // why there is no memo file, when the table has memo fields
  bool shared = false, read_only = false;
  dbf::Header header;
  lock::Scheme scheme;
  Status health;
  std::unordered_map<std::string, int> by_name;

  uint32_t count = 0;    // records, appended ones still in memory included
  uint32_t on_disk = 0;  // exclusive: records already written; the rest are in `pending`
  std::string pending;
  bool header_dirty = false;

  std::string cache;  // exclusive: records read ahead, from cache_first
  uint32_t cache_first = 0, cache_n = 0, last_read = 0;

  uint32_t recno = 0;
  bool eof = true, bof = true, found = false;
  std::string buf, orig, blank;  // current record; as it is in the file; a blank record
  bool dirty = false, appended = false;
  bool fresh = false;  // begun by begin_append: not in the file yet
  std::optional<IndexEntry> entry;  // the current position in the active order

  std::vector<Attached> indexes;
  int order = 0;
  bool show_deleted = false;
  Predicate filter;

  uint32_t locked_rec = 0;
  bool file_locked = false;
  bool closed = false;
  Table* self = nullptr;

  explicit Impl(Env& e) : env(e) {}

  uint64_t offset(uint32_t r) const { return header.header_length + uint64_t(r - 1) * header.record_length; }
  size_t rl() const { return header.record_length; }

  void setup(dbf::Header h) {
    header = std::move(h);
    count = on_disk = header.count;
    scheme = {header.flags == 0x01, header.header_length, header.record_length};
    blank.assign(rl(), ' ');
    buf = orig = blank;
    by_name.clear();
    for (size_t i = 0; i < header.fields.size(); ++i) by_name.emplace(upper_ascii(header.fields[i].name), int(i));
    recno = count + 1;
    eof = bof = true;
  }

  bool has_memo_fields() const {
    return std::any_of(header.fields.begin(), header.fields.end(), [](const FieldInfo& f) { return f.type == 'M'; });
  }

  Status open_memo() {
    memo.reset();
    memo_status = {};
    if (!has_memo_fields()) return {};
    std::string p = env.resolve_case(memo_path);
    auto m = MemoFile::open(env, p, read_only);
    if (!m) {
      memo_status = m.status();
      return m.status();
    }
    memo = std::move(*m);
    memo_path = p;
    return {};
  }

  // --- record I/O ---

  Status read_record(uint32_t r, char* out) {
    if (r > on_disk) {  // exclusive: still in memory
      std::memcpy(out, pending.data() + size_t(r - on_disk - 1) * rl(), rl());
      return {};
    }
    if (!shared) {
      if (r >= cache_first && r < cache_first + cache_n) {
        std::memcpy(out, cache.data() + size_t(r - cache_first) * rl(), rl());
        last_read = r;
        return {};
      }
      if (r == last_read + 1) {  // walking in record order: read ahead
        uint32_t n = uint32_t(std::max<size_t>(1, kReadAhead / rl()));
        n = std::min(n, on_disk - r + 1);
        cache.resize(size_t(n) * rl());
        size_t got = 0;
        if (Status s = file->read_at(offset(r), cache.data(), cache.size(), &got); !s) return s;
        cache_first = r;
        cache_n = uint32_t(got / rl());
        if (cache_n == 0) return Status(Code::DAMAGED, path + ": record " + std::to_string(r) + " lies beyond the end of the file");
        std::memcpy(out, cache.data(), rl());
        last_read = r;
        return {};
      }
      last_read = r;
    }
    return read_exact(*file, offset(r), out, rl(), ("record " + std::to_string(r)).c_str());
  }

  Status write_record(uint32_t r, const char* data) {
    if (r > on_disk) {
      std::memcpy(pending.data() + size_t(r - on_disk - 1) * rl(), data, rl());
      return {};
    }
    if (r >= cache_first && r < cache_first + cache_n) std::memcpy(cache.data() + size_t(r - cache_first) * rl(), data, rl());
    return file->write_at(offset(r), data, rl());
  }

  // Exclusive: writes the appended records kept in memory, the end mark and the header.
  Status flush_pending() {
    if (!pending.empty()) {
      pending.push_back(dbf::kEof);
      Status s = file->write_at(offset(on_disk + 1), pending.data(), pending.size());
      pending.pop_back();
      if (!s) return s;
      on_disk = count;
      pending.clear();
      header_dirty = true;
    }
    if (header_dirty) {
      if (Status s = write_header_prefix(); !s) return s;
      header_dirty = false;
    }
    return {};
  }

  Status write_header_prefix() {
    today(header.year, header.month, header.day);
    header.count = count;
    std::string p = dbf::format_prefix(header);
    return file->write_at(0, p.data(), p.size());
  }

  // Shared: the count as another process left it. (Writers here add the record before the
  // count, so it never runs ahead of the file; a record that is not there after all is
  // reported when it is read.) No fstat here: asking for the file's times makes the next
  // write update them finely, which costs more than the read.
  Status reread_count() {
    char b[4];
    if (Status s = read_exact(*file, dbf::kCountOffset, b, 4, "record count"); !s) return s;
    uint32_t n = dbf::get32(b);
    if (!health) {  // opened with a count beyond its end: still only the records there
      auto size = file->size();
      if (!size) return size.status();
      uint64_t room = *size > header.header_length ? (*size - header.header_length) / rl() : 0;
      if (n > room) n = uint32_t(room);
    }
    count = on_disk = n;
    return {};
  }

  bool ensure_count(uint32_t r) {
    if (r <= count) return true;
    if (shared && reread_count()) return r <= count;
    return false;
  }

  // --- position ---

  Status load(uint32_t r) {
    if (Status s = read_record(r, buf.data()); !s) return s;
    orig = buf;
    recno = r;
    eof = bof = false;
    dirty = appended = fresh = false;
    return {};
  }

  void set_eof() {
    recno = count + 1;
    buf = orig = blank;
    eof = true;
    dirty = appended = fresh = false;
    entry.reset();
  }

  bool visible() const {
    if (!show_deleted && buf[0] == '*') return false;
    return !filter || filter(*self);
  }

  Attached* active() { return order > 0 ? &indexes[size_t(order - 1)] : nullptr; }

  void set_entry_from_record() {
    if (Attached* a = active(); a && !eof) entry = IndexEntry{a->expr.key(orig.data()), recno};
    else entry.reset();
  }

  // Loads the record an index entry names; DAMAGED when it is beyond the table.
  Status load_entry(const IndexEntry& e) {
    if (e.recno == 0 || !ensure_count(e.recno))
      return Status(Code::DAMAGED, active()->path + ": the index names record " + std::to_string(e.recno) +
                                       " beyond the end of the table (" + std::to_string(count) + " records); rebuild it");
    return load(e.recno);
  }

  // From entry `e` on, in direction `dir` (+1 / -1), the first entry whose record is visible.
  Result<bool> settle(std::optional<IndexEntry> e, int dir) {
    Attached* a = active();
    while (e) {
      if (Status s = load_entry(*e); !s) return s;
      if (visible()) {
        entry = std::move(e);
        return true;
      }
      auto n = dir > 0 ? a->cdx->next(*e) : a->cdx->prev(*e);
      if (!n) return n.status();
      e = std::move(*n);
    }
    return false;
  }

  // Record order: from r on in direction dir, the first visible record.
  Result<bool> settle_rec(uint32_t r, int dir) {
    while (r >= 1 && ensure_count(r)) {
      if (Status s = load(r); !s) return s;
      if (visible()) {
        entry.reset();
        return true;
      }
      r = dir > 0 ? r + 1 : r - 1;
    }
    return false;
  }

  Status refresh_indexes() {
    for (Attached& a : indexes)
      if (Status s = a.cdx->refresh(); !s) return s;
    return {};
  }

  // The first (dir +1) or last (dir −1) visible record of the active order. BOF is set by
  // go_top always, by go_bottom only on an empty order; EOF when there is no such record.
  Status go_end(int dir) {
    if (Status s = commit(); !s) return s;
    found = false;
    if (shared) {
      if (Status s = reread_count(); !s) return s;
      if (Status s = refresh_indexes(); !s) return s;
    }
    Result<bool> ok = false;
    if (Attached* a = active()) {
      auto e = dir > 0 ? a->cdx->first() : a->cdx->last();
      if (!e) return e.status();
      ok = settle(std::move(*e), dir);
    } else {
      ok = settle_rec(dir > 0 ? 1 : count, dir);
    }
    if (!ok) return ok.status();
    if (!*ok) set_eof();
    if (dir > 0 || !*ok) bof = true;
    return {};
  }
  Status go_top() { return go_end(+1); }
  Status go_bottom() { return go_end(-1); }

  Status skip(long n) {
    if (Status s = commit(); !s) return s;
    found = false;
    if (n == 0) {
      if (eof) return {};
      return load(recno);
    }
    int dir = n > 0 ? +1 : -1;
    for (long i = 0; i < (n > 0 ? n : -n); ++i) {
      Result<bool> ok = false;
      if (Attached* a = active()) {
        std::optional<IndexEntry> e;
        if (eof) {
          if (dir > 0) return {};
          auto l = a->cdx->last();
          if (!l) return l.status();
          e = std::move(*l);
        } else {
          if (!entry) set_entry_from_record();
          auto m = dir > 0 ? a->cdx->next(*entry) : a->cdx->prev(*entry);
          if (!m) return m.status();
          e = std::move(*m);
        }
        ok = settle(std::move(e), dir);
      } else {
        if (eof && dir > 0) return {};
        uint32_t r = eof ? count : (dir > 0 ? recno + 1 : recno - 1);
        if (eof && shared) {
          if (Status s = reread_count(); !s) return s;
          r = count;
        }
        ok = settle_rec(r, dir);
      }
      if (!ok) return ok.status();
      if (!*ok) {
        if (dir > 0) {
          set_eof();
          return {};
        }
        // Before the first record: stand on the first one, with BOF set.
        if (Status s = go_top(); !s) return s;
        bof = true;
        return {};
      }
    }
    return {};
  }

  Status seek(std::string key, bool soft) {
    if (Status s = commit(); !s) return s;
    Attached* a = active();
    if (!a) return Status(Code::INVALID, path + ": seek needs an active index order");
    if (shared)
      if (Status s = a->cdx->refresh(); !s) return s;
    if (key.size() > size_t(a->cdx->key_length())) key.resize(size_t(a->cdx->key_length()));
    found = false;
    auto e = a->cdx->seek(key);
    if (!e) return e.status();
    auto ok = settle(std::move(*e), +1);
    if (!ok) return ok.status();
    if (*ok && entry->key.compare(0, key.size(), key) == 0) {
      found = true;
      return {};
    }
    if (!*ok || !soft) set_eof();
    return {};
  }

  // --- writing ---

  Status writable() const {
    if (read_only) return Status(Code::INVALID, path + ": opened read only");
    if (!health) return health;
    return {};
  }

  Status need_lock() const {
    if (!shared || fresh || file_locked || (locked_rec == recno && recno != 0)) return {};
    return Status(Code::INVALID, path + ": record " + std::to_string(recno) + " changed without its lock");
  }

  Status commit() {
    if (!dirty) return {};
    if (!appended && buf == orig) {  // changed back: nothing to write
      dirty = false;
      return {};
    }
    if (Status s = writable(); !s) return s;
    if (Status s = need_lock(); !s) return s;
    bool written = false;
    if (fresh) {
      if (Status s = add_fresh(&written); !s) return s;
    }
    struct Done {
      Attached* a;
      IndexEntry removed, inserted;
      bool had_removed;
    };
    std::vector<Done> done;
    std::vector<Attached*> locked;
    auto undo = [&](Status failure) {
      for (auto it = done.rbegin(); it != done.rend(); ++it) {
        it->a->cdx->remove(it->inserted);
        if (it->had_removed) it->a->cdx->insert(it->removed);
        if (shared) it->a->cdx->flush();
      }
      for (Attached* a : locked) a->cdx->file().unlock(lock::kIndexFile, 1);
      return failure;
    };
    for (Attached& a : indexes) {
      std::string key = a.expr.key(buf.data());
      std::string old;
      if (!appended) {
        old = a.expr.key(orig.data());
        if (old == key) continue;
      }
      if (shared) {
        if (Status s = lock::brief(a.cdx->file(), lock::kIndexFile); !s) return undo(s);
        locked.push_back(&a);
        if (Status s = a.cdx->refresh(); !s) return undo(s);
      }
      Done d{&a, IndexEntry{old, recno}, IndexEntry{key, recno}, !appended};
      if (!appended) {
        // An entry missing from the index is not fatal here: the record gets its new one.
        Status s = a.cdx->remove(d.removed);
        if (!s && s.code() != Code::NOT_FOUND) return undo(s);
        if (!s) d.had_removed = false;
      }
      if (Status s = a.cdx->insert(d.inserted); !s) {
        if (d.had_removed) a.cdx->insert(d.removed);
        return undo(s);
      }
      done.push_back(d);
    }
    if (!written)
      if (Status s = write_record(recno, buf.data()); !s) return undo(s);
    for (Attached* a : locked) {
      Status s = a->cdx->flush();
      a->cdx->file().unlock(lock::kIndexFile, 1);
      if (!s) return s;
    }
    orig = buf;
    dirty = appended = false;
    if (!shared) header_dirty = true;  // the last-update date, written with the next flush
    set_entry_from_record();
    return {};
  }

  // Adds the record begun by begin_append to the table. Shared: under the append lock the
  // count is re-read and the record, its end mark and the new count written (*written).
  Status add_fresh(bool* written) {
    if (!shared) {
      if (pending.size() >= kAppendBatch)
        if (Status s = flush_pending(); !s) return s;
      pending.append(blank);
      recno = ++count;
      header_dirty = true;
      fresh = false;
      return {};
    }
    uint32_t r = 0;
    if (Status s = append_shared(buf, &r, {}); !s) return s;
    recno = r;
    fresh = false;
    *written = true;
    return {};
  }

  // Shared append of one record: under the append lock (unless the file lock is held) the
  // count is re-read, the record and the end mark written after the last record, then the
  // new count; `while_locked` runs before the append lock goes. *r is the new record number.
  Status append_shared(const std::string& record, uint32_t* r, const std::function<Status(uint32_t)>& while_locked) {
    bool own_append_lock = !file_locked;
    if (own_append_lock)
      if (Status s = lock::brief(*file, scheme.append()); !s) return s;
    auto release = [&](Status s) {
      if (own_append_lock) file->unlock(scheme.append(), 1);
      return s;
    };
    if (Status s = reread_count(); !s) return release(s);
    *r = count + 1;
    std::string out = record;
    out.push_back(dbf::kEof);
    if (Status s = file->write_at(offset(*r), out.data(), out.size()); !s) return release(s);
    count = on_disk = *r;
    if (Status s = write_header_prefix(); !s) return release(s);
    if (while_locked)
      if (Status s = while_locked(*r); !s) return release(s);
    return release({});
  }

  Status begin_append() {
    if (Status s = commit(); !s) return s;
    if (Status s = writable(); !s) return s;
    found = false;
    recno = count + 1;
    buf = orig = blank;
    eof = bof = false;
    dirty = appended = fresh = true;
    entry.reset();
    return {};
  }

  Status append_blank() {
    if (Status s = commit(); !s) return s;
    if (Status s = writable(); !s) return s;
    found = false;
    if (!shared) {
      if (pending.size() >= kAppendBatch)
        if (Status s = flush_pending(); !s) return s;
      pending.append(blank);
      ++count;
      header_dirty = true;
    } else {
      uint32_t r = 0;
      Status s = append_shared(blank, &r, [&](uint32_t added) -> Status {
        if (file_locked) return {};
        // The new record is locked before the append lock goes, so no one else can take it.
        if (locked_rec != 0) file->unlock(scheme.record(locked_rec), 1);
        locked_rec = 0;
        if (Status l = file->lock(scheme.record(added), 1, true); !l) return l;
        locked_rec = added;
        return {};
      });
      if (!s) return s;
    }
    recno = count;
    buf = orig = blank;
    eof = bof = false;
    dirty = appended = true;
    entry.reset();
    return {};
  }

  // --- locks ---

  Status after_lock() {
    if (Status s = reread_count(); !s) return s;
    if (Status s = refresh_indexes(); !s) return s;
    if (!eof && recno <= count) {
      if (Status s = load(recno); !s) return s;
      set_entry_from_record();  // its key may have changed meanwhile
    }
    return {};
  }

  Status lock_record() {
    if (!shared) return {};
    if (eof || recno == 0) return Status(Code::INVALID, path + ": no record to lock (end of file)");
    if (dirty && !appended && buf == orig) dirty = false;  // changed back: nothing pending
    if (dirty) {
      if (need_lock()) {
        if (Status s = commit(); !s) return s;
      } else {
        return Status(Code::INVALID, path + ": record " + std::to_string(recno) + " changed before it was locked");
      }
    }
    if (!file_locked && locked_rec != recno) {
      if (locked_rec != 0) file->unlock(scheme.record(locked_rec), 1);
      locked_rec = 0;
      if (Status s = file->lock(scheme.record(recno), 1, true); !s) return s;
      locked_rec = recno;
    } else if (file_locked) {
      locked_rec = recno;
    }
    return after_lock();
  }

  Status lock_file() {
    if (!shared) return {};
    if (Status s = commit(); !s) return s;
    if (!file_locked) {
      if (Status s = file->lock(scheme.file_offset(), scheme.file_length(), true); !s) return s;
      if (Status s = lock::brief(*file, scheme.append()); !s) {
        file->unlock(scheme.file_offset(), scheme.file_length());
        if (locked_rec != 0) file->lock(scheme.record(locked_rec), 1, true);  // the range lock merged it
        return s;
      }
      file_locked = true;
      // Our record lock merged into the range; it goes when the file lock goes.
      locked_rec = 0;
    }
    return after_lock();
  }

  Status unlock() {
    Status c = commit();
    if (!shared) return c;
    if (!c && dirty) return c;  // keep the lock: the change is still to be written
    if (file_locked) {
      file->unlock(scheme.file_offset(), scheme.file_length());
      file->unlock(scheme.append(), 1);
      file_locked = false;
    } else if (locked_rec != 0) {
      file->unlock(scheme.record(locked_rec), 1);
    }
    locked_rec = 0;
    return c;
  }

  // --- whole-table work ---

  Status require_exclusive(const char* what) const {
    if (shared) return Status(Code::INVALID, path + ": " + what + " needs the table opened exclusively");
    if (read_only) return Status(Code::INVALID, path + ": opened read only");
    return {};
  }

  Status flush_all() {
    if (Status s = commit(); !s) return s;
    if (read_only) return {};
    if (!shared)
      if (Status s = flush_pending(); !s) return s;
    if (!shared)
      for (Attached& a : indexes)
        if (Status s = a.cdx->flush(); !s) return s;
    return {};
  }

  // Calls fn(recno, record bytes) for every record in record order, in large reads.
  template <class Fn>
  Status scan(Fn fn) {
    const size_t chunk = std::max<size_t>(1, (256u << 10) / rl());
    std::string b(chunk * rl(), '\0');
    for (uint32_t r = 1; r <= on_disk;) {
      uint32_t n = uint32_t(std::min<size_t>(chunk, on_disk - r + 1));
      if (Status s = read_exact(*file, offset(r), b.data(), size_t(n) * rl(), ("record " + std::to_string(r)).c_str()); !s)
        return s;
      for (uint32_t i = 0; i < n; ++i)
        if (Status s = fn(r + i, b.data() + size_t(i) * rl()); !s) return s;
      r += n;
    }
    for (uint32_t r = on_disk + 1; r <= count; ++r)
      if (Status s = fn(r, pending.data() + size_t(r - on_disk - 1) * rl()); !s) return s;
    return {};
  }

  Result<KeyExpr> compile(std::string_view expression, const std::string& where) {
    auto e = KeyExpr::compile(expression, header.fields);
    if (!e) return Status(e.status().code(), where + ": " + e.status().message());
    return e;
  }

  Status build_index(const std::string& ipath, const std::string& tag, const KeyExpr& expr, std::unique_ptr<CdxIndex>* out) {
    std::vector<IndexEntry> entries;
    entries.reserve(count);
    Status s = scan([&](uint32_t r, const char* rec) {
      entries.push_back(IndexEntry{expr.key(rec), r});
      return Status();
    });
    if (!s) return s;
    auto c = CdxIndex::create(env, ipath, tag, expr, std::move(entries));
    if (!c) return c.status();
    *out = std::move(*c);
    return {};
  }

  Status create_index(const std::string& ipath_in, std::string_view expression, std::string tag) {
    if (read_only) return Status(Code::INVALID, path + ": opened read only");
    if (shared && !file_locked) return Status(Code::INVALID, path + ": building an index needs an exclusive open or the file lock");
    if (Status s = flush_all(); !s) return s;
    std::string ipath = env.resolve_case(ipath_in);
    auto expr = compile(expression, ipath);
    if (!expr) return expr.status();
    if (tag.empty()) tag = upper_ascii(base_name(ipath));
    std::unique_ptr<CdxIndex> cdx;
    if (Status s = build_index(ipath, tag, *expr, &cdx); !s) return s;
    auto it = std::find_if(indexes.begin(), indexes.end(), [&](const Attached& a) { return a.path == ipath; });
    if (it != indexes.end()) {
      it->cdx = std::move(cdx);
      it->expr = *expr;
    } else {
      indexes.push_back(Attached{ipath, std::move(cdx), *expr});
      if (indexes.size() == 1) order = 1;
    }
    // The table's own-name index makes it a table with a structural index (byte 28), which
    // also chooses the lock offsets; only changed while no one else has the table open.
    if (!shared && header.flags != 0x01 && upper_ascii(base_name(ipath)) == upper_ascii(base_name(path))) {
      header.flags = 0x01;
      scheme.cdx = true;
      if (Status s = write_header_prefix(); !s) return s;
    }
    set_entry_from_record();
    return {};
  }

  Status attach_index(const std::string& ipath_in) {
    std::string ipath = env.resolve_case(ipath_in);
    auto c = CdxIndex::open(env, ipath, read_only, header.fields);
    if (!c) return c.status();
    auto expr = compile((*c)->expression(), ipath);
    if (!expr) return Status(Code::DAMAGED, expr.status().message());
    if (expr->type() != (*c)->key_type() || expr->length() != (*c)->key_length())
      return Status(Code::DAMAGED, ipath + ": its keys (" + std::string(1, (*c)->key_type()) + " " +
                                       std::to_string((*c)->key_length()) + ") do not fit its expression " +
                                       (*c)->expression() + " on this table (" + std::string(1, expr->type()) + " " +
                                       std::to_string(expr->length()) + "); rebuild it");
    indexes.push_back(Attached{ipath, std::move(*c), *expr});
    if (indexes.size() == 1) {
      order = 1;
      set_entry_from_record();
    }
    return {};
  }

  Status rebuild_index(int n) {
    if (n < 1 || n > int(indexes.size())) return Status(Code::INVALID, path + ": no index " + std::to_string(n));
    Attached& a = indexes[size_t(n - 1)];
    std::string tag = a.cdx ? a.cdx->tag() : upper_ascii(base_name(a.path));
    return create_index(a.path, a.expr.expression(), tag);
  }

  // Writes the records that `keep` accepts into a new file beside the table, renames it over
  // the table and rebuilds the indexes. The steps, so that an interruption at any of them
  // leaves a table that opens sound:
  //   1. the new table under a temporary name (locked exclusively from the start, so that
  //      after the rename no other process gets in before us), synced;
  //   2. each new index under a temporary name;
  //   3. the old index files renamed aside (a missing index is rebuilt by whoever opens the
  //      table, a stale one would be trusted);
  //   4. the new table renamed over the old one: the point of no return;
  //   5. the new index files renamed into place, the old ones removed.
  // A failure before 4 puts the old index files back and leaves the old table untouched.
  //
  // The table's own-name index goes with it even when the caller did not attach it: left
  // describing the old record numbers it would be trusted later. It is rebuilt with the
  // others and detached again; one that does not open is removed (whoever opens the table
  // rebuilds a missing index).
  Status rewrite(const std::function<bool(const char*)>& keep, bool empty_memo) {
    if (Status s = require_exclusive("rewriting the table"); !s) return s;
    std::string own = env.resolve_case(folder_of(path) + "/" + base_name(path) + ".cdx");
    bool extra = false;
    if (std::none_of(indexes.begin(), indexes.end(), [&](const Attached& a) { return a.path == own; }) &&
        env.exists(own)) {
      int keep_order = order;
      if (attach_index(own)) {
        extra = true;
      } else if (Status r = env.remove(own); !r) {
        return r;
      }
      order = keep_order;
      set_entry_from_record();
    }
    Status result = rewrite_attached(keep, empty_memo);
    if (extra) {
      auto it = std::find_if(indexes.begin(), indexes.end(), [&](const Attached& a) { return a.path == own; });
      if (it != indexes.end()) {
        if (order == int(it - indexes.begin()) + 1) order = 0;
        indexes.erase(it);
      }
    }
    return result;
  }

  Status rewrite_attached(const std::function<bool(const char*)>& keep, bool empty_memo) {
    if (Status s = flush_all(); !s) return s;

    std::string tmp = temp_path(path);
    std::vector<std::string> cleanup{tmp};
    auto fail = [&](Status s) {
      for (const std::string& p : cleanup)
        if (env.exists(p)) env.remove(p);
      return s;
    };
    auto nf = env.open(tmp, OpenMode::CREATE_TRUNC);
    if (!nf) return nf.status();
    std::unique_ptr<File> out = std::move(*nf);
    if (Status s = out->lock(lock::kOpen, 1, true); !s) return fail(s);

    dbf::Header nh = header;
    std::string head = dbf::format(nh);
    nh.header_length = uint16_t(head.size());
    std::vector<std::vector<IndexEntry>> entries(indexes.size());
    uint32_t kept = 0;
    std::string chunk;
    uint64_t at = nh.header_length;
    Status s = scan([&](uint32_t, const char* rec) {
      if (!keep(rec)) return Status();
      ++kept;
      for (size_t i = 0; i < indexes.size(); ++i) entries[i].push_back(IndexEntry{indexes[i].expr.key(rec), kept});
      chunk.append(rec, rl());
      if (chunk.size() >= (1u << 20)) {
        if (Status w = out->write_at(at, chunk.data(), chunk.size()); !w) return w;
        at += chunk.size();
        chunk.clear();
      }
      return Status();
    });
    if (!s) return fail(s);
    chunk.push_back(dbf::kEof);
    if (Status w = out->write_at(at, chunk.data(), chunk.size()); !w) return fail(w);
    nh.count = kept;
    today(nh.year, nh.month, nh.day);
    head = dbf::format(nh);
    if (Status w = out->write_at(0, head.data(), head.size()); !w) return fail(w);
    if (Status w = out->sync(); !w) return fail(w);

    std::vector<std::string> tmp_idx, aside;
    for (size_t i = 0; i < indexes.size(); ++i) {
      std::string t = temp_path(indexes[i].path);
      cleanup.push_back(t);
      std::string tag = indexes[i].cdx->tag();
      auto c = CdxIndex::create(env, t, tag, indexes[i].expr, std::move(entries[i]));
      if (!c) return fail(c.status());
      tmp_idx.push_back(t);
    }
    std::string tmp_memo;
    if (empty_memo && memo) {
      tmp_memo = temp_path(memo_path);
      cleanup.push_back(tmp_memo);
      auto m = MemoFile::create(env, tmp_memo);
      if (!m) return fail(m.status());
    }
    // Old indexes aside; close them first.
    for (Attached& a : indexes) a.cdx.reset();
    auto reopen_old = [&](Status failure) {
      for (size_t i = 0; i < aside.size(); ++i) env.rename(aside[i], indexes[i].path);
      for (Attached& a : indexes) {
        auto c = CdxIndex::open(env, a.path, false, header.fields);
        if (c) a.cdx = std::move(*c);
      }
      drop_missing_indexes();
      return fail(failure);
    };
    for (Attached& a : indexes) {
      std::string old = temp_path(a.path, "old");
      if (Status r = env.rename(a.path, old); !r) return reopen_old(r);
      aside.push_back(old);
    }
    if (Status r = env.rename(tmp, path); !r) return reopen_old(r);

    // The table is rewritten. What follows only completes the indexes and the memo file.
    file = std::move(out);
    nh.fields = header.fields;
    setup(std::move(nh));
    health = {};
    cache_n = 0;
    last_read = 0;
    Status result = env.sync_folder(folder_of(path));
    if (!tmp_memo.empty()) {
      if (Status r = env.rename(tmp_memo, memo_path); !r && result) result = r;
      if (Status r = open_memo(); !r && result) result = r;
    }
    for (size_t i = 0; i < indexes.size(); ++i) {
      if (Status r = env.rename(tmp_idx[i], indexes[i].path); !r) {
        if (result) result = Status(r.code(), r.message() + "; the index " + indexes[i].path + " must be rebuilt");
        continue;
      }
      env.remove(aside[i]);
      auto c = CdxIndex::open(env, indexes[i].path, false, header.fields);
      if (!c) {
        if (result) result = c.status();
        continue;
      }
      indexes[i].cdx = std::move(*c);
    }
    drop_missing_indexes();
    for (const std::string& p : cleanup)
      if (env.exists(p)) env.remove(p);
    if (Status g = go_top(); !g && result) result = g;
    return result;
  }

  // Indexes that could not be reopened are detached: navigation must not use them.
  void drop_missing_indexes() {
    std::string active_path = order > 0 && size_t(order) <= indexes.size() ? indexes[size_t(order - 1)].path : "";
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [](const Attached& a) { return !a.cdx; }), indexes.end());
    order = 0;
    for (size_t i = 0; i < indexes.size(); ++i)
      if (indexes[i].path == active_path) order = int(i + 1);
    entry.reset();
  }

  Status close() {
    if (closed) return {};
    Status result = commit();
    if (!read_only && !shared) {
      if (Status s = flush_pending(); !s && result) result = s;
      for (Attached& a : indexes)
        if (Status s = a.cdx->flush(); !s && result) result = s;
    }
    if (shared) unlock();
    indexes.clear();
    memo.reset();
    file.reset();
    closed = true;
    return result;
  }
};

// --- construction ---

Table::Table(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) { impl_->self = this; }
Table::~Table() {
  if (impl_) impl_->close();
}

namespace {

std::string dbf_path_of(Env& env, const std::string& path) {
  return env.resolve_case(has_extension(path) ? path : path + ".dbf");
}

// Reads and checks the header of an open table file.
Result<dbf::Header> read_header(File& f, Status* health) {
  // The header before the file's size: writers add a record before they count it, so a count
  // read first never exceeds the records there when the size is taken (the other order lets
  // an append that lands in between look like a count beyond the end).
  char prefix[dbf::kPrefix];
  size_t got = 0;
  if (Status s = f.read_at(0, prefix, sizeof prefix, &got); !s) return s;
  if (got < dbf::kPrefix)
    return Status(Code::DAMAGED, f.path() + ": table header damaged: the file is shorter than a header (" +
                                     std::to_string(got) + " bytes)");
  size_t hl = uint8_t(prefix[8]) | uint8_t(prefix[9]) << 8;
  std::string bytes(std::max(hl, dbf::kPrefix), '\0');
  if (Status s = f.read_at(0, bytes.data(), bytes.size(), &got); !s) return s;
  bytes.resize(got);
  auto h = dbf::parse(bytes);
  if (!h) return Status(Code::DAMAGED, f.path() + ": " + h.status().message());
  auto size = f.size();
  if (!size) return size.status();
  uint64_t room = *size > h->header_length ? (*size - h->header_length) / h->record_length : 0;
  if (h->count > room) {
    *health = Status(Code::DAMAGED, f.path() + ": the header counts " + std::to_string(h->count) +
                                        " records but the file holds " + std::to_string(room) +
                                        "; the records present are read, nothing is written");
    h->count = uint32_t(room);
  }
  return h;
}

}  // namespace

Result<std::unique_ptr<Table>> Table::open(Env& env, const std::string& path_in, Share share, bool read_only) {
  auto impl = std::make_unique<Impl>(env);
  impl->shared = share == Share::SHARED;
  impl->read_only = read_only;
  bool exclusive_lock = !impl->shared && !read_only;
  // A pack elsewhere renames a new file over the name between our open and our lock; then
  // the lock is on a file no one uses any more, so open again.
  for (int attempt = 0;; ++attempt) {
    std::string p = dbf_path_of(env, path_in);
    auto f = env.open(p, read_only ? OpenMode::READ : OpenMode::READ_WRITE);
    if (!f) return f.status();
    if (Status s = (*f)->lock(lock::kOpen, 1, exclusive_lock); !s) {
      if (s.code() == Code::LOCKED)
        return Status(Code::LOCKED, (*f)->path() + (exclusive_lock ? ": in use by another user" : ": in exclusive use by another user"));
      return s;
    }
    auto mine = (*f)->id();
    auto now = env.id(p);
    if (attempt < 5 && mine && now && !(*mine == *now)) continue;
    impl->path = (*f)->path();
    impl->file = std::move(*f);
    break;
  }
  auto h = read_header(*impl->file, &impl->health);
  if (!h) return h.status();
  impl->setup(std::move(*h));
  impl->memo_path = memo_path_for(impl->path);
  impl->open_memo();  // a missing memo file leaves the rest of the table readable
  auto t = std::unique_ptr<Table>(new Table(std::move(impl)));
  if (Status s = t->go_top(); !s) return s;
  return t;
}

Result<std::unique_ptr<Table>> Table::create(Env& env, const std::string& path_in, const std::vector<FieldDef>& defs,
                                             Share share, bool replace) {
  auto h = dbf::for_fields(defs);
  if (!h) return h.status();
  today(h->year, h->month, h->day);
  std::string path = dbf_path_of(env, path_in);
  std::unique_ptr<File> old;
  if (env.exists(path)) {
    if (!replace) return Status(Code::EXISTS, path + ": already exists");
    // Nobody may have the old table open while it is replaced.
    auto f = env.open(path, OpenMode::READ_WRITE);
    if (!f) return f.status();
    if (Status s = (*f)->lock(lock::kOpen, 1, true); !s) {
      if (s.code() == Code::LOCKED) return Status(Code::LOCKED, path + ": in use by another user");
      return s;
    }
    old = std::move(*f);
  }
  std::string tmp = temp_path(path);
  auto f = env.open(tmp, OpenMode::CREATE_TRUNC);
  if (!f) return f.status();
  auto fail = [&](Status s) {
    env.remove(tmp);
    return s;
  };
  if (Status s = (*f)->lock(lock::kOpen, 1, share == Share::EXCLUSIVE); !s) return fail(s);
  std::string bytes = dbf::format(*h);
  bytes.push_back(dbf::kEof);
  if (Status s = (*f)->write_at(0, bytes.data(), bytes.size()); !s) return fail(s);
  auto impl = std::make_unique<Impl>(env);
  impl->shared = share == Share::SHARED;
  impl->memo_path = memo_path_for(path);
  if (impl->memo_path == path) impl->memo_path += ".dbt";
  if (std::any_of(h->fields.begin(), h->fields.end(), [](const FieldInfo& fi) { return fi.type == 'M'; })) {
    std::string tm = temp_path(impl->memo_path);
    auto m = MemoFile::create(env, tm);
    if (!m) return fail(m.status());
    m->reset();
    if (Status s = env.rename(tm, impl->memo_path); !s) {
      env.remove(tm);
      return fail(s);
    }
  }
  if (Status s = env.rename(tmp, path); !s) return fail(s);
  impl->path = path;
  impl->file = std::move(*f);
  impl->setup(std::move(*h));
  if (Status s = impl->open_memo(); !s) return s;
  old.reset();
  return std::unique_ptr<Table>(new Table(std::move(impl)));
}

// --- the thin public layer ---

Status Table::close() { return impl_->close(); }
Status Table::flush() { return impl_->flush_all(); }
const std::string& Table::path() const { return impl_->path; }
bool Table::shared() const { return impl_->shared; }
bool Table::read_only() const { return impl_->read_only; }
const Status& Table::health() const { return impl_->health; }

const std::vector<FieldInfo>& Table::fields() const { return impl_->header.fields; }
int Table::field_index(std::string_view name) const {
  auto it = impl_->by_name.find(upper_ascii(name));
  return it == impl_->by_name.end() ? -1 : it->second;
}
size_t Table::record_length() const { return impl_->rl(); }
uint8_t Table::version() const { return impl_->header.version; }
uint8_t Table::code_page() const { return impl_->header.code_page; }
base::Date Table::last_update() const {
  const dbf::Header& h = impl_->header;
  if (!base::Date::valid(h.year, unsigned(h.month), unsigned(h.day))) return {};
  return base::Date(h.year, unsigned(h.month), unsigned(h.day));
}

uint32_t Table::record_count() const { return impl_->count; }
uint32_t Table::recno() const { return impl_->recno; }
bool Table::eof() const { return impl_->eof; }
bool Table::bof() const { return impl_->bof; }
bool Table::found() const { return impl_->found; }

Status Table::go_to(uint32_t r) {
  if (Status s = impl_->commit(); !s) return s;
  impl_->found = false;
  if (r == 0 || !impl_->ensure_count(r)) {
    impl_->set_eof();
    return {};
  }
  if (Status s = impl_->load(r); !s) return s;
  impl_->set_entry_from_record();
  return {};
}
Status Table::go_top() { return impl_->go_top(); }
Status Table::go_bottom() { return impl_->go_bottom(); }
Status Table::skip(long n) { return impl_->skip(n); }
Status Table::seek(std::string_view key, bool soft) { return impl_->seek(std::string(key), soft); }
Status Table::seek(base::Decimal key, bool soft) { return impl_->seek(number_key(key), soft); }
Status Table::seek(base::Date key, bool soft) { return impl_->seek(date_key(key), soft); }
void Table::set_show_deleted(bool show) { impl_->show_deleted = show; }
bool Table::show_deleted() const { return impl_->show_deleted; }
void Table::set_filter(Predicate filter) { impl_->filter = std::move(filter); }

Status Table::attach_index(const std::string& path) { return impl_->attach_index(path); }
Status Table::create_index(const std::string& path, std::string_view expression, std::string tag) {
  return impl_->create_index(path, expression, std::move(tag));
}
Status Table::rebuild_index(int n) { return impl_->rebuild_index(n); }
Status Table::rebuild_indexes() {
  for (int i = 1; i <= index_count(); ++i)
    if (Status s = rebuild_index(i); !s) return s;
  return {};
}
int Table::index_count() const { return int(impl_->indexes.size()); }
const std::string& Table::index_path(int n) const { return impl_->indexes.at(size_t(n - 1)).path; }
std::string Table::index_expression(int n) const { return impl_->indexes.at(size_t(n - 1)).expr.expression(); }
Status Table::set_order(int n) {
  if (n < 0 || n > index_count()) return Status(Code::INVALID, impl_->path + ": no index " + std::to_string(n));
  if (Status s = impl_->commit(); !s) return s;
  impl_->order = n;
  impl_->set_entry_from_record();
  return {};
}
int Table::order() const { return impl_->order; }
void Table::detach_indexes() {
  impl_->flush_all();
  impl_->indexes.clear();
  impl_->order = 0;
  impl_->entry.reset();
}
std::string Table::current_key(int n) const { return impl_->indexes.at(size_t(n - 1)).expr.key(impl_->buf.data()); }

bool Table::deleted() const { return impl_->buf[0] == '*'; }
const char* Table::record() const { return impl_->buf.data(); }
std::string_view Table::raw(int field) const { return field_bytes(impl_->buf.data(), fields().at(size_t(field))); }
std::string Table::text(int field) const { return std::string(raw(field)); }
base::Decimal Table::number(int field) const { return read_number(impl_->buf.data(), fields().at(size_t(field))); }
base::Date Table::date(int field) const { return read_date(impl_->buf.data(), fields().at(size_t(field))); }
bool Table::logical(int field) const { return read_logical(impl_->buf.data(), fields().at(size_t(field))); }

Result<std::string> Table::memo(int field) {
  uint32_t block = read_memo_block(impl_->buf.data(), fields().at(size_t(field)));
  if (block == 0) return std::string();
  if (!impl_->memo)
    return Status(impl_->memo_status.code() == Code::OK ? Code::NOT_FOUND : impl_->memo_status.code(),
                  impl_->memo_path + ": memo file unavailable (" + impl_->memo_status.message() + ")");
  return impl_->memo->read(block);
}

namespace {
Status no_record(const std::string& path) { return Status(Code::INVALID, path + ": no current record (end of file)"); }
}  // namespace

// Changes one field of the current record's buffer through `write`.
template <class Write>
Status set_field(Table::Impl& t, int field, Write write) {
  if (t.eof) return no_record(t.path);
  const FieldInfo& f = t.header.fields.at(size_t(field));
  if (Status s = write(t.buf.data(), f); !s) return s;
  t.dirty = true;
  return {};
}

Status Table::set_text(int field, std::string_view text) {
  return set_field(*impl_, field, [&](char* rec, const FieldInfo& f) {
    write_text(rec, f, text);
    return Status();
  });
}
Status Table::set_number(int field, base::Decimal value) {
  return set_field(*impl_, field, [&](char* rec, const FieldInfo& f) { return write_number(rec, f, value); });
}
Status Table::set_date(int field, base::Date value) {
  return set_field(*impl_, field, [&](char* rec, const FieldInfo& f) {
    write_date(rec, f, value);
    return Status();
  });
}
Status Table::set_logical(int field, bool value) {
  return set_field(*impl_, field, [&](char* rec, const FieldInfo& f) {
    write_logical(rec, f, value);
    return Status();
  });
}
Status Table::set_memo(int field, std::string_view text) {
  Impl& t = *impl_;
  return set_field(t, field, [&](char* rec, const FieldInfo& f) {
    if (Status s = t.writable(); !s) return s;
    if (Status s = t.need_lock(); !s) return s;
    uint32_t block = 0;
    if (!text.empty()) {
      if (!t.memo)
        return Status(Code::NOT_FOUND, t.memo_path + ": memo file unavailable (" + t.memo_status.message() + ")");
      auto b = t.memo->write(text, t.shared);
      if (!b) return b.status();
      block = *b;
    }
    write_memo_block(rec, f, block);
    return Status();
  });
}
Status Table::set_raw(int field, std::string_view bytes) {
  return set_field(*impl_, field, [&](char* rec, const FieldInfo& f) {
    if (bytes.size() != size_t(f.width))
      return Status(Code::INVALID, f.name + ": " + std::to_string(bytes.size()) + " bytes for a field of " +
                                       std::to_string(f.width));
    write_text(rec, f, bytes);
    return Status();
  });
}

bool Table::changed() const { return impl_->dirty; }
Status Table::commit() { return impl_->commit(); }
Status Table::append_blank() { return impl_->append_blank(); }
Status Table::begin_append() { return impl_->begin_append(); }
Status Table::delete_record() {
  if (impl_->eof) return no_record(impl_->path);
  impl_->buf[0] = '*';
  impl_->dirty = true;
  return impl_->commit();
}
Status Table::recall() {
  if (impl_->eof) return no_record(impl_->path);
  impl_->buf[0] = ' ';
  impl_->dirty = true;
  return impl_->commit();
}

Status Table::lock_record() { return impl_->lock_record(); }
Status Table::lock_file() { return impl_->lock_file(); }
Status Table::unlock() { return impl_->unlock(); }
bool Table::record_locked() const {
  return !impl_->shared || impl_->file_locked || (impl_->locked_rec != 0 && impl_->locked_rec == impl_->recno);
}
bool Table::file_locked() const { return !impl_->shared || impl_->file_locked; }

Status Table::pack() {
  return impl_->rewrite([](const char* rec) { return rec[0] != '*'; }, false);
}
Status Table::zap() {
  return impl_->rewrite([](const char*) { return false; }, true);
}

Status Table::copy_to(const std::string& path_in, const Predicate& keep) {
  if (Status s = impl_->commit(); !s) return s;
  std::string path = dbf_path_of(impl_->env, path_in);
  if (path == impl_->path) return Status(Code::INVALID, path + ": cannot copy a table onto itself");
  // No one may have the table being replaced open: they would go on using the old file.
  std::unique_ptr<File> old;
  if (impl_->env.exists(path)) {
    auto f = impl_->env.open(path, OpenMode::READ_WRITE);
    if (!f) return f.status();
    if (Status s = (*f)->lock(lock::kOpen, 1, true); !s) {
      if (s.code() == Code::LOCKED) return Status(Code::LOCKED, path + ": in use by another user");
      return s;
    }
    old = std::move(*f);
  }
  // Written whole under temporary names, then renamed into place (memo file first, as the
  // new table's memo fields point into the new memo file).
  std::string tmp = temp_path(path);
  std::vector<FieldDef> defs(fields().begin(), fields().end());
  auto out = Table::create(impl_->env, tmp, defs, Share::EXCLUSIVE, true);
  if (!out) return out.status();
  Table& o = **out;
  std::string tmp_memo = o.impl_->memo ? o.impl_->memo_path : "";
  auto fail = [&](Status s) {
    o.close();
    impl_->env.remove(tmp);
    if (!tmp_memo.empty()) impl_->env.remove(tmp_memo);
    return s;
  };
  uint32_t keep_pos = impl_->eof ? 0 : impl_->recno;
  if (Status s = go_top(); !s) return fail(s);
  while (!eof()) {
    if (!keep || keep(*this)) {
      if (Status s = o.append_blank(); !s) return fail(s);
      std::memcpy(o.impl_->buf.data(), record(), record_length());
      for (size_t i = 0; i < fields().size(); ++i) {
        if (fields()[i].type != 'M') continue;
        auto text = memo(int(i));
        if (!text) return fail(text.status());
        write_memo_block(o.impl_->buf.data(), fields()[i], 0);
        if (!text->empty())
          if (Status s = o.set_memo(int(i), *text); !s) return fail(s);
      }
      o.impl_->dirty = true;
      if (Status s = o.commit(); !s) return fail(s);
    }
    if (Status s = skip(1); !s) return fail(s);
  }
  if (Status s = o.close(); !s) return fail(s);
  if (!tmp_memo.empty())
    if (Status s = impl_->env.rename(tmp_memo, memo_path_for(path)); !s) return fail(s);
  if (Status s = impl_->env.rename(tmp, path); !s) return fail(s);
  if (keep_pos) return go_to(keep_pos);
  return {};
}

namespace {

// One field of `from`'s current record into the buffer of `to`, converting the type.
Status convert_field(Table& from, int fi, Table& to, int ti) {
  const FieldInfo& a = from.fields()[size_t(fi)];
  const FieldInfo& b = to.fields()[size_t(ti)];
  std::string_view raw = from.raw(fi);
  auto text_of = [&]() -> Result<std::string> {
    switch (a.type) {
      case 'N': return std::string(base::ALLTRIM(raw));
      case 'D': return from.date(fi).empty() ? std::string() : from.date(fi).DTOS();
      case 'L': return std::string(from.logical(fi) ? "T" : "F");
      case 'M': return from.memo(fi);
      default: return std::string(raw);
    }
  };
  if (a.type == b.type && a.type != 'N' && a.type != 'M') return to.set_text(ti, raw);
  switch (b.type) {
    case 'N':
      if (a.type == 'N') return to.set_number(ti, from.number(fi));
      if (a.type == 'C') return to.set_number(ti, base::VAL(base::ALLTRIM(raw)));
      return {};
    case 'D': {
      if (a.type != 'C') return {};
      std::string_view t = base::ALLTRIM(raw);
      auto d = base::Date::from_dtos(t);
      if (!d) d = base::Date::parse(t);
      return to.set_date(ti, d.value_or(base::Date()));
    }
    case 'L': {
      if (a.type != 'C') return {};
      std::string_view t = base::ALLTRIM(raw);
      char c = t.empty() ? ' ' : t[0];
      return to.set_logical(ti, c == 'T' || c == 't' || c == 'Y' || c == 'y' || c == 'S' || c == 's');
    }
    case 'M': {
      auto t = text_of();
      if (!t) return t.status();
      return to.set_memo(ti, a.type == 'M' ? std::string_view(*t) : base::RTRIM(*t));
    }
    default: {
      auto t = text_of();
      if (!t) return t.status();
      return to.set_text(ti, *t);
    }
  }
}

}  // namespace

Status Table::append_from(Table& from, const Predicate& keep) {
  if (Status s = impl_->commit(); !s) return s;
  std::vector<std::pair<int, int>> map;  // from field → to field
  for (size_t i = 0; i < fields().size(); ++i) {
    int j = from.field_index(fields()[i].name);
    if (j >= 0 && field_index(fields()[i].name) == int(i)) map.emplace_back(j, int(i));
  }
  if (Status s = from.go_top(); !s) return s;
  while (!from.eof()) {
    if (!keep || keep(from)) {
      if (Status s = append_blank(); !s) return s;
      for (auto [fi, ti] : map)
        if (Status s = convert_field(from, fi, *this, ti); !s) {
          impl_->dirty = true;  // the blank row stays, holding what was converted
          (void)commit();
          if (impl_->shared) unlock();
          return Status(s.code(), s.message() + " (record " + std::to_string(from.recno()) + " of " + from.path() + ")");
        }
      if (from.deleted()) impl_->buf[0] = '*';
      if (Status s = commit(); !s) return s;
      if (impl_->shared)
        if (Status s = unlock(); !s) return s;
    }
    if (Status s = from.skip(1); !s) return s;
  }
  return {};
}

}  // namespace kardo::xbase
