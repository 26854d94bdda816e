// Field definitions of a dBase table.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kardo::xbase {

// Types: 'C' text, 'N' number, 'D' date (yyyymmdd), 'L' logical, 'M' memo (block number
// into the DBT). C fields may be up to 512 bytes wide, N up to 18 digits with 8 decimals.
struct FieldDef {
  std::string name;  // upper case, at most 10 characters
  char type = 'C';
  int width = 0;
  int decimals = 0;
};

// A field as laid out in the record buffer: byte 0 of a record is the deletion flag
// (' ' live, '*' deleted), so the first field starts at offset 1.
struct FieldInfo : FieldDef {
  size_t offset = 0;
};

// Lays out fields one after the other from offset 1; returns the record length.
inline size_t layout_fields(const std::vector<FieldDef>& defs, std::vector<FieldInfo>& out) {
  out.clear();
  size_t offset = 1;
  for (const FieldDef& d : defs) {
    FieldInfo f;
    static_cast<FieldDef&>(f) = d;
    f.offset = offset;
    offset += size_t(d.width);
    out.push_back(f);
  }
  return offset;
}

}  // namespace kardo::xbase
