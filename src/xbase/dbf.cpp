// The DBF file, as dBase III lays it out with the usual extensions.
//
//   offset  size  header (little-endian numbers)
//        0     1  version: 0x03, or 0x83 when a DBT memo file belongs to the table
//        1     3  date of the last update: year - 1900, month, day
//        4     4  number of records
//        8     2  header length: where record 1 starts
//       10     2  record length, the deletion flag included
//    12-27        reserved (zero)
//       28     1  0x01 when the table's own-name CDX exists (a "structural" index); it also
//                 selects the lock offsets (lock.h)
//       29     1  code page: 0x02 = 850 in the files Kardo creates; kept as found otherwise
//    30-31        reserved
//       32        one 32-byte descriptor per field, then 0x0D (and, as dBase III writes, 0x00)
//
//   descriptor
//        0    11  name, padded with 0x00
//       11     1  type: C, N, D, L, M (others are read as raw bytes)
//    12-15        reserved (zero)
//       16     1  width
//       17     1  decimals; for C fields the high byte of the width, so text may be wider
//                 than 255 bytes (DESCR C 512 has width byte 0x00 and 0x02 here)
//    18-31        reserved (zero)
//
// Records follow the header, each `record length` bytes: the deletion flag (' ' live,
// '*' deleted) and the fields' text one after the other, no separators. After the last
// record comes 0x1A. More than 128 fields are fine as long as both lengths fit 16 bits.
#include "xbase/dbf.h"

#include <cstring>

namespace kardo::xbase::dbf {

uint32_t get32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return uint32_t(u[0]) | uint32_t(u[1]) << 8 | uint32_t(u[2]) << 16 | uint32_t(u[3]) << 24;
}

void put32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = char((v >> (8 * i)) & 0xFF);
}

namespace {

uint16_t get16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return uint16_t(u[0] | u[1] << 8);
}

void put16(char* p, uint16_t v) {
  p[0] = char(v & 0xFF);
  p[1] = char(v >> 8);
}

Status damaged(const std::string& what) { return Status(base::Code::DAMAGED, "table header damaged: " + what); }

}  // namespace

size_t header_length(size_t fields) { return kPrefix + kDescriptor * fields + 2; }

Result<Header> parse(std::string_view b) {
  if (b.size() < kPrefix) return damaged("the file is shorter than a header (" + std::to_string(b.size()) + " bytes)");
  Header h;
  h.version = uint8_t(b[0]);
  h.year = 1900 + uint8_t(b[1]);
  h.month = uint8_t(b[2]);
  h.day = uint8_t(b[3]);
  h.count = get32(b.data() + 4);
  h.header_length = get16(b.data() + 8);
  h.record_length = get16(b.data() + 10);
  h.flags = uint8_t(b[28]);
  h.code_page = uint8_t(b[29]);
  if (h.header_length < kPrefix + 1) return damaged("header length " + std::to_string(h.header_length) + " too small");
  if (h.record_length < 1) return damaged("record length 0");
  if (b.size() < h.header_length)
    return damaged("header length " + std::to_string(h.header_length) + " beyond the end of the file");
  size_t offset = 1;
  size_t pos = kPrefix;
  for (;; pos += kDescriptor) {
    if (pos >= h.header_length) return damaged("no end mark after the field descriptors");
    if (b[pos] == 0x0D) break;
    if (pos + kDescriptor > h.header_length) return damaged("field descriptor cut by the header length");
    const char* d = b.data() + pos;
    FieldInfo f;
    size_t len = 0;
    while (len < 11 && d[len] != 0) ++len;
    f.name.assign(d, len);
    f.type = d[11];
    unsigned w = uint8_t(d[16]), dec = uint8_t(d[17]);
    if (f.type == 'C') {
      f.width = int(w | dec << 8);
      f.decimals = 0;
    } else {
      f.width = int(w);
      f.decimals = int(dec);
    }
    if (f.name.empty()) return damaged("field " + std::to_string(h.fields.size() + 1) + " has no name");
    if (f.width == 0) return damaged("field " + f.name + " has no width");
    f.offset = offset;
    offset += size_t(f.width);
    h.fields.push_back(std::move(f));
  }
  if (h.fields.empty()) return damaged("no fields");
  if (offset != h.record_length)
    return damaged("field widths add up to " + std::to_string(offset) + " but the record length is " +
                   std::to_string(h.record_length));
  return h;
}

std::string format_prefix(const Header& h) {
  std::string out(kPrefix, '\0');
  out[0] = char(h.version);
  out[1] = char(h.year >= 1900 ? h.year - 1900 : h.year);
  out[2] = char(h.month);
  out[3] = char(h.day);
  put32(out.data() + 4, h.count);
  put16(out.data() + 8, h.header_length);
  put16(out.data() + 10, h.record_length);
  out[28] = char(h.flags);
  out[29] = char(h.code_page);
  return out;
}

std::string format(const Header& h) {
  std::string out = format_prefix(h);
  out.resize(header_length(h.fields.size()), '\0');
  for (size_t i = 0; i < h.fields.size(); ++i) {
    const FieldInfo& f = h.fields[i];
    char* d = out.data() + kPrefix + i * kDescriptor;
    std::memcpy(d, f.name.data(), f.name.size() < 10 ? f.name.size() : 10);
    d[11] = f.type;
    if (f.type == 'C') {
      d[16] = char(f.width & 0xFF);
      d[17] = char(f.width >> 8);
    } else {
      d[16] = char(f.width);
      d[17] = char(f.decimals);
    }
  }
  out[kPrefix + h.fields.size() * kDescriptor] = 0x0D;
  return out;
}

Result<Header> for_fields(const std::vector<FieldDef>& defs) {
  auto invalid = [](const std::string& what) { return Status(base::Code::INVALID, what); };
  if (defs.empty()) return invalid("a table needs at least one field");
  Header h;
  h.code_page = kCodePage850;
  std::vector<FieldDef> fixed;
  for (FieldDef d : defs) {
    if (d.name.empty() || d.name.size() > 10) return invalid("field name '" + d.name + "' must have 1 to 10 characters");
    for (char& c : d.name) {
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      bool ok = (c >= 'A' && c <= 'Z') || c == '_' || (c >= '0' && c <= '9' && &c != &d.name[0]);
      if (!ok) return invalid("field name '" + d.name + "' may hold only letters, digits and '_'");
    }
    std::string what = "field " + d.name + ": ";
    switch (d.type) {
      case 'C':
        if (d.width < 1 || d.width > 65535) return invalid(what + "C width must be 1 to 65535");
        d.decimals = 0;
        break;
      case 'N':
        if (d.width < 1 || d.width > 20) return invalid(what + "N width must be 1 to 20");
        if (d.decimals < 0 || d.decimals > 15 || (d.decimals > 0 && d.decimals > d.width - 2))
          return invalid(what + "N " + std::to_string(d.width) + "." + std::to_string(d.decimals) + " is impossible");
        break;
      case 'D':
      case 'L':
      case 'M': {
        int w = d.type == 'D' ? 8 : d.type == 'L' ? 1 : 10;
        if (d.width != 0 && d.width != w) return invalid(what + d.type + " fields are " + std::to_string(w) + " wide");
        d.width = w;
        d.decimals = 0;
        if (d.type == 'M') h.version = 0x83;
        break;
      }
      default: return invalid(what + "unknown type '" + std::string(1, d.type) + "'");
    }
    fixed.push_back(d);
  }
  size_t length = layout_fields(fixed, h.fields);
  if (length > 65535) return invalid("records of " + std::to_string(length) + " bytes are too long (65535 at most)");
  size_t hl = header_length(h.fields.size());
  if (hl > 65535) return invalid("too many fields");
  h.record_length = uint16_t(length);
  h.header_length = uint16_t(hl);
  return h;
}

}  // namespace kardo::xbase::dbf
