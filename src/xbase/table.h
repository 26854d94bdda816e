// A dBase table: one DBF file, its DBT memo file when it has memo fields, and the CDX index
// files attached to it, shared with other processes through byte-range locks.
//
// A Table is positioned on one record at a time and holds that record's bytes in a buffer.
// Field reads come from the buffer; set_* change the buffer and commit() writes it (and
// updates every attached index). Moving, locking, unlocking and closing commit a pending
// change first, so a change is never dropped silently.
//
// Sharing: in a shared open every write needs the record's lock (lock_record) or the file
// lock; append_blank() locks the record it adds. A refused lock or open is reported at once
// as Code::LOCKED; waiting and retrying belong to the caller. After taking any lock the table
// re-reads the record count, the current record and the indexes' headers, so it sees what
// other processes wrote; nothing read before a lock is trusted after it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "base/status.h"
#include "xbase/field.h"
#include "xbase/file.h"

namespace kardo::xbase {

enum class Share { SHARED, EXCLUSIVE };

class Table {
 public:
  using Predicate = std::function<bool(const Table&)>;

  // Opens an existing table (".dbf" is added to a name without extension; the name is found
  // whatever its case). NOT_FOUND, PATH_NOT_FOUND, TOO_MANY_OPEN_FILES, ACCESS_DENIED as the
  // system says; LOCKED when the share is refused (an exclusive open while others have it
  // open, or any open while another holds it exclusively); DAMAGED when the header is not
  // sound. A read-only open takes the shared open lock even when asked for exclusive.
  static Result<std::unique_ptr<Table>> open(Env& env, const std::string& path, Share share, bool read_only = false);
  // Creates a table with these fields (and its memo file when it has M fields) and opens it.
  // EXISTS when the file is there and `replace` is false; with `replace` an existing table
  // (and memo file) is replaced as a whole. The file is written under a temporary name
  // and renamed into place, so no one ever sees half of it.
  static Result<std::unique_ptr<Table>> create(Env& env, const std::string& path, const std::vector<FieldDef>& fields,
                                               Share share = Share::EXCLUSIVE, bool replace = false);

  ~Table();  // close(), its failure unreported; call close() to see it
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Commits a pending change, writes buffered appends and the header, releases every lock.
  Status close();
  // Commits a pending change and writes what is buffered (appends, header, index pages).
  Status flush();

  const std::string& path() const;
  bool shared() const;
  bool read_only() const;
  // OK, or DAMAGED with the reason when the file was read only as far as it is sound (a
  // record count beyond the file's end); such a table refuses writes until it is rewritten.
  const Status& health() const;

  // --- structure ---
  const std::vector<FieldInfo>& fields() const;
  // Index of the field with this name (case-insensitive; the first of a repeated name); -1.
  int field_index(std::string_view name) const;
  size_t record_length() const;
  uint8_t version() const;    // header byte 0
  uint8_t code_page() const;  // header byte 29
  base::Date last_update() const;

  // --- position ---
  uint32_t record_count() const;  // as of the last lock or positioning
  uint32_t recno() const;         // record_count() + 1 at EOF
  bool eof() const;
  bool bof() const;
  bool found() const;  // the last seek matched
  Status go_to(uint32_t recno);  // any record, deleted or not; past the end gives EOF
  Status go_top();
  Status go_bottom();
  Status skip(long n = 1);
  // Seek in the active order: the first visible record whose key starts with `key` (a
  // partial key is a prefix of the index key; a longer one is cut to the key length).
  // Not found: EOF, or with `soft` the next record after where the key would be.
  Status seek(std::string_view key, bool soft = false);
  Status seek(base::Decimal key, bool soft = false);  // numeric orders
  Status seek(base::Date key, bool soft = false);     // date orders

  // Deleted records are hidden from go_top/bottom, skip and seek unless shown.
  void set_show_deleted(bool show);
  bool show_deleted() const;
  // Records for which the filter is false are hidden as deleted ones are; {} clears it.
  void set_filter(Predicate filter);

  // --- index files ---
  // Opens an index file and attaches it (the first attached becomes the active order when
  // none is active). DAMAGED when it is not sound or its key does not fit the table's fields.
  Status attach_index(const std::string& path);
  // Builds an index file over every record (deleted ones included), replacing the file if
  // it exists, and attaches it. The tag defaults to the file's base name in upper case.
  Status create_index(const std::string& path, std::string_view expression, std::string tag = "");
  // Rebuilds attached index n (1-based) from the records; for an index found unsound.
  Status rebuild_index(int n);
  Status rebuild_indexes();
  int index_count() const;
  const std::string& index_path(int n) const;  // 1-based
  std::string index_expression(int n) const;
  // 0 = record order; n = attached index n. Keeps the current record.
  Status set_order(int n);
  int order() const;
  void detach_indexes();
  // The key of the current record in index n, as the index stores it.
  std::string current_key(int n) const;

  // --- the current record ---
  bool deleted() const;
  const char* record() const;                 // the whole buffer, byte 0 the deletion flag
  std::string_view raw(int field) const;      // the field's bytes as stored
  std::string text(int field) const;          // the same, as a string (C: blank-padded)
  base::Decimal number(int field) const;
  base::Date date(int field) const;
  bool logical(int field) const;
  Result<std::string> memo(int field);        // "" for no memo

  Status set_text(int field, std::string_view text);  // cut or padded to the width
  Status set_number(int field, base::Decimal value);  // DOES_NOT_FIT leaves the field as it was
  Status set_date(int field, base::Date value);
  Status set_logical(int field, bool value);
  Status set_memo(int field, std::string_view text);  // writes the text to the DBT at once
  Status set_raw(int field, std::string_view bytes);  // exactly width bytes
  bool changed() const;
  Status commit();

  // Appends a blank record and positions on it; in a shared open the record is locked (the
  // previous record lock is released). Its index keys are added when it is committed.
  Status append_blank();
  // Starts a new blank record in the buffer without touching the file; commit() adds it to
  // the table (shared: count, record and header under one hold of the append lock, then its
  // index keys) and leaves it unlocked. Cheaper than append_blank() when the record is
  // filled before anyone needs to see it. recno() is known once it is committed.
  Status begin_append();
  Status delete_record();
  Status recall();

  // --- locks (no-ops in an exclusive open) ---
  Status lock_record();  // the current record; releases the record lock held before
  Status lock_file();
  Status unlock();       // record and file lock, after committing a pending change
  bool record_locked() const;
  bool file_locked() const;

  // --- whole-table work (exclusive opens) ---
  // Removes deleted records: the live ones are written to a temporary file that is renamed
  // over the table, and every attached index is rebuilt, and the table's own-name index even
  // when not attached. Other index files that are not attached describe the old records
  // afterwards: the caller rebuilds them. Memo text stays where it is.
  Status pack();
  // Removes every record, the same way, and empties the memo file.
  Status zap();
  // Writes the records that are visible (deleted and filtered ones hidden as set) and satisfy
  // `keep`, in the active order, to a new table with the same fields at `path` (replacing it).
  Status copy_to(const std::string& path, const Predicate& keep = {});
  // Appends the visible records of `from` that satisfy `keep`, in its active order, matching
  // fields by name and converting between types (text, number, date, logical, memo).
  // DOES_NOT_FIT when a number does not fit its new field; rows before it stay appended.
  Status append_from(Table& from, const Predicate& keep = {});

  struct Impl;

 private:
  explicit Table(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kardo::xbase
