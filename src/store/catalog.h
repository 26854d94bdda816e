// The table catalogue: every table of the system in one place.
//
// Each table has a fixed slot (1 ... 99) it is opened in, a file name, a layout (from
// store/layouts/, see store/catalog_records.h), index keys with their index files, and the
// way terminals share it. The declaration tables 1 ... 20 live in the declaration folder
// (LOCARQ) as IMPnn<yy>; while a declaration is open each is represented by its work copy
// TMP_nn<tt> in the terminal's work folder (LOCTRAB), slot nn + 20, with the same layout. The
// other tables live in the data folder (ARQDEF): settings tables, lists the office keeps and
// reference tables that come with the installation and are never created.
//
// Names are patterns: <yy> is the two-digit filing year (CANOATUAL), <tt> the two-digit
// terminal number (NUSU). The name of an open table (its alias) is the file's base name.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/catalog_records.h"
#include "xbase/field.h"

namespace kardo::store {

enum class Folder {
  Declaration,  // LOCARQ: the twenty declaration tables of one group of taxpayers
  Data,         // ARQDEF: global tables, and the per-terminal DIRET<tt> and DETALH<tt>
  Work,         // LOCTRAB: the terminal's work copies
};

enum class Kind {
  Declaration,  // IMP01 ... IMP20
  Settings,     // CONFIG, DEFINE, CORES, ListaIMP, DIRET<tt>: created with default records
  Office,       // other tables the system creates empty when missing
  Reference,    // supplied with the installation; a missing one cannot be created
};

enum class Sharing {
  Shared,     // always opened shared
  Exclusive,  // always opened exclusively
  AsAsked,    // shared unless the caller asks for an exclusive open
};

struct IndexSpec {
  std::string_view key;  // key expression, evaluated on the record
  // Base name of the index file (".CDX" is added): the table's own name for the first key,
  // that name + "B" / + "C" for the second and third unless the table names another file.
  std::string_view file;
  bool on_demand = false;  // neither built nor attached on opening; built when a look-up needs it
};

// The work copy of a declaration table. Work copies are per terminal and always opened
// exclusively; each has one index, in the file of its own name, built when it is opened.
struct WorkCopySpec {
  int slot;               // table number + 20
  int table;              // the declaration table it copies
  std::string_view name;  // "TMP_nn<tt>"
  std::string_view key;
  std::string_view saving_key;  // the order while the copy is written back, when it differs
  bool copied_on_open;          // false for IMP13: the cash-book entry screen makes its own copy
};

struct TableSpec {
  int slot;
  std::string_view name;  // file base name pattern: "IMP09<yy>", "DIRET<tt>", "LisErro"
  Folder folder;
  Kind kind;
  Sharing sharing;
  std::span<const FieldSpec> fields;        // the layout it is created with; empty for Reference
  std::span<const std::string_view> reads;  // Reference: the fields the system reads
  std::span<const IndexSpec> indexes;       // first (the active order after opening), second, third
  const WorkCopySpec* work = nullptr;       // declaration tables: their work copy
  bool needs_memo = false;                  // opened only when its memo file (.DBT) exists too
};

std::span<const TableSpec> tables();
std::span<const WorkCopySpec> work_copies();

// By slot: 1 ... 20 and the data-folder slots; nullptr for a slot without a table (work-copy
// slots included: see find_work_copy).
const TableSpec* find_table(int slot);
// By name, without regard to case: a pattern ("IMP09<yy>") or a file base name with this
// year and any terminal number ("IMP0919", "DIRET07", "auxbanco").
const TableSpec* find_table(std::string_view name);
const WorkCopySpec* find_work_copy(int slot);               // 21 ... 40
const WorkCopySpec* find_work_copy(std::string_view name);  // "TMP_0901"

// The layout the create routine uses for a slot: slots 21 ... 40 give the layout of slot − 20
// (a work copy, or another folder's declaration table opened there). Empty when the slot has
// no layout: no table, or a reference table.
std::span<const FieldSpec> layout_of_slot(int slot);

// The layout as the table engine creates it: names upper-cased, as the file header stores them.
std::vector<xbase::FieldDef> field_defs(std::span<const FieldSpec> fields);

// Bytes per record: the deletion flag plus every field's width.
size_t record_length(std::span<const FieldSpec> fields);

// Index of the first field of that name (without regard to case), or -1.
int field_index(std::span<const FieldSpec> fields, std::string_view name);

// A name pattern with <yy> replaced by CANOATUAL and <tt> by the terminal number.
std::string resolve_name(std::string_view pattern, std::string_view terminal);

}  // namespace kardo::store
