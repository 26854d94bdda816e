// A table row to and from the typed records of store/catalog_records.h.
//
// read_record fills every member from the current record of the table; write_record sets
// every field from the members (the caller then commits, or unlocks, which commits). Fields
// are reached by index: when the table was created from the record's layout the field at
// index i is the member at index i, which costs one comparison of the layouts per call.
// A table with another layout (an older one, before the layout update) is matched by name:
// a member whose field the table lacks, or holds with another type, is left as it is on
// reading (blank for a fresh record) and not written.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include "base/status.h"
#include "store/catalog_records.h"
#include "xbase/table.h"

namespace kardo::store {

namespace detail {
// For each field of the layout, the index of the same field (name and type) in the table,
// or -1. Empty when the table's fields are exactly the layout's, in the same order.
std::vector<int> field_map(const xbase::Table& t, std::span<const FieldSpec> layout);

base::Status read_field(xbase::Table& t, int field, std::string& out, char type);
inline base::Status read_field(xbase::Table& t, int field, base::Decimal& out, char) {
  out = t.number(field);
  return {};
}
inline base::Status read_field(xbase::Table& t, int field, base::Date& out, char) {
  out = t.date(field);
  return {};
}
inline base::Status read_field(xbase::Table& t, int field, bool& out, char) {
  out = t.logical(field);
  return {};
}
base::Status write_field(xbase::Table& t, int field, const std::string& v, char type);
inline base::Status write_field(xbase::Table& t, int field, const base::Decimal& v, char) {
  return t.set_number(field, v);
}
inline base::Status write_field(xbase::Table& t, int field, const base::Date& v, char) { return t.set_date(field, v); }
inline base::Status write_field(xbase::Table& t, int field, const bool& v, char) { return t.set_logical(field, v); }
}  // namespace detail

// Fills `r` from the table's current record. C members keep the field's bytes as stored
// (blank-padded to the width); M members get the memo text. INVALID at end of file.
template <class R>
base::Status read_record(xbase::Table& t, R& r) {
  if (t.eof()) return base::Status(base::Code::INVALID, t.path() + ": no current record (end of file)");
  const std::vector<int> map = detail::field_map(t, R::fields());
  base::Status result;
  r.visit([&](std::string_view, auto index, auto& member) {
    if (!result) return;
    int f = map.empty() ? int(index) : map[size_t(index)];
    if (f >= 0) result = detail::read_field(t, f, member, R::fields()[size_t(index)].type);
  });
  return result;
}

// Sets the table's current record from `r`. The first failure stops (DOES_NOT_FIT names the
// field; the fields before it are set). The change is written by the next commit or unlock.
template <class R>
base::Status write_record(xbase::Table& t, const R& r) {
  const std::vector<int> map = detail::field_map(t, R::fields());
  base::Status result;
  r.visit([&](std::string_view name, auto index, const auto& member) {
    if (!result) return;
    int f = map.empty() ? int(index) : map[size_t(index)];
    if (f < 0) return;
    result = detail::write_field(t, f, member, R::fields()[size_t(index)].type);
    if (!result) result = base::Status(result.code(), std::string(name) + ": " + result.message());
  });
  return result;
}

}  // namespace kardo::store
