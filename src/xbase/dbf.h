// The DBF header: reading, checking and writing it. Private to xbase (table.cpp uses it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "xbase/field.h"

namespace kardo::xbase::dbf {

using base::Result;
using base::Status;

constexpr size_t kPrefix = 32;        // fixed part of the header
constexpr size_t kDescriptor = 32;    // one field descriptor
constexpr char kEof = 0x1A;           // end-of-file mark after the last record
constexpr uint8_t kCodePage850 = 0x02;

// Bytes 4-7 of the header (the record count), read alone after a lock.
constexpr uint64_t kCountOffset = 4;

struct Header {
  uint8_t version = 0x03;  // 0x03; 0x83 when the table has a memo file
  int year = 0, month = 0, day = 0;  // last update
  uint32_t count = 0;
  uint16_t header_length = 0;
  uint16_t record_length = 0;
  uint8_t flags = 0;      // byte 28: 0x01 when the table's own-name CDX exists
  uint8_t code_page = 0;  // byte 29
  std::vector<FieldInfo> fields;
};

// Parses header bytes (at least the whole header). DAMAGED, saying what is wrong, for a short
// header, a missing field terminator, a field of no width or widths that do not add up to
// the record length.
Result<Header> parse(std::string_view bytes);
// The header bytes (32 + 32 per field + the 0x0D terminator and a 0x00, as dBase III writes).
std::string format(const Header& h);
// The 32-byte fixed part only (version, date, count, lengths, flags, code page), for
// rewriting the header in place without touching the field descriptors.
std::string format_prefix(const Header& h);
// The length of the header that format() writes for `fields` fields.
size_t header_length(size_t fields);
// A header for a new table. INVALID for a bad field list (name, type, width, decimals).
Result<Header> for_fields(const std::vector<FieldDef>& defs);

uint32_t get32(const char* p);
void put32(char* p, uint32_t v);

}  // namespace kardo::xbase::dbf
