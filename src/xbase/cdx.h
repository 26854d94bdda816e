// Compact compound index files (.cdx) holding one tag each.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "xbase/file.h"
#include "xbase/keyexpr.h"

namespace kardo::xbase {

struct IndexEntry {
  std::string key;     // key_length() bytes
  uint32_t recno = 0;  // 1-based record number
  friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
};

// One compact compound index file holding one tag (the system keeps each key in its own file).
// Entries are ordered by key bytes, then by record number (duplicates allowed). The index holds
// a key for every record, deleted ones included; hiding deleted rows is the table's business.
class CdxIndex {
 public:
  ~CdxIndex();
  CdxIndex(const CdxIndex&) = delete;
  CdxIndex& operator=(const CdxIndex&) = delete;

  // Opens an existing file and checks it (signature, header, root page): DAMAGED when not sound,
  // with a message saying what is wrong. Pages found broken later are DAMAGED too, never a crash.
  static Result<std::unique_ptr<CdxIndex>> open(Env& env, const std::string& path, bool read_only);
  // The same, for the index of a table with these fields: the file's key expression is compiled
  // against them (INVALID when it names an unknown field or function) and must give the file's key
  // length (DAMAGED when not). This tells character keys from numeric and date keys, which the
  // bytes of the file cannot: a key that ends in blanks (C) or in zero bytes (N, D) is stored
  // without them. Prefer this one; the short form takes 8-byte keys of a bare name for numbers.
  static Result<std::unique_ptr<CdxIndex>> open(Env& env, const std::string& path, bool read_only,
                                                const std::vector<FieldInfo>& fields);
  // Writes a new index file from entries in any order (bulk build: sorts them, fills pages bottom up)
  // into a temporary file in the same folder, renames it over `path`, and opens it.
  static Result<std::unique_ptr<CdxIndex>> create(Env& env, const std::string& path, const std::string& tag,
                                                  const KeyExpr& expr, std::vector<IndexEntry> entries);
  const std::string& tag() const;
  const std::string& expression() const;
  char key_type() const;
  int key_length() const;

  Status insert(const IndexEntry& e);
  Status remove(const IndexEntry& e);  // NOT_FOUND when the entry is absent

  // Navigation; nullopt past either end. seek(prefix): the first entry whose key, compared on the
  // prefix's length, is >= prefix (soft seek; the caller tests whether it matched).
  Result<std::optional<IndexEntry>> first();
  Result<std::optional<IndexEntry>> last();
  Result<std::optional<IndexEntry>> seek(std::string_view prefix);
  Result<std::optional<IndexEntry>> next(const IndexEntry& from);  // the entry after `from`
  Result<std::optional<IndexEntry>> prev(const IndexEntry& from);

  // Sharing: the table calls refresh() after it takes any lock. It re-reads the header and drops
  // every cached page when another process changed the file since (change counter in the header).
  // Between locks, cached pages may be used.
  Status refresh();
  // Writes what insert/remove left in memory (if anything) and bumps the change counter; the table
  // calls it before releasing the lock that covered the changes.
  Status flush();
  File& file();  // the open .cdx, for the index lock at offset 0x7FFFFFFE

  struct Impl;  // cdx.cpp

 private:
  explicit CdxIndex(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kardo::xbase
