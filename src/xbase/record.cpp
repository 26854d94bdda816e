#include "xbase/record.h"

#include <cstring>

#include "base/xtext.h"

namespace kardo::xbase {

void write_text(char* record, const FieldInfo& f, std::string_view text) {
  size_t w = size_t(f.width);
  size_t n = text.size() < w ? text.size() : w;
  std::memcpy(record + f.offset, text.data(), n);
  std::memset(record + f.offset + n, ' ', w - n);
}

base::Decimal read_number(const char* record, const FieldInfo& f) {
  std::string_view s = field_bytes(record, f);
  if (auto d = base::Decimal::parse(s)) return *d;
  return base::VAL(base::ALLTRIM(s));
}

Status write_number(char* record, const FieldInfo& f, base::Decimal value) {
  std::string t = value.text(f.decimals);
  if (t.size() > size_t(f.width))
    return Status(base::Code::DOES_NOT_FIT,
                  value.text(f.decimals) + " does not fit field " + f.name + " (N " + std::to_string(f.width) + "." +
                      std::to_string(f.decimals) + ")");
  size_t pad = size_t(f.width) - t.size();
  std::memset(record + f.offset, ' ', pad);
  std::memcpy(record + f.offset + pad, t.data(), t.size());
  return {};
}

base::Date read_date(const char* record, const FieldInfo& f) {
  if (f.width < 8) return {};
  return base::Date::from_dtos(field_bytes(record, f).substr(0, 8)).value_or(base::Date());
}

void write_date(char* record, const FieldInfo& f, base::Date value) { write_text(record, f, value.DTOS()); }

bool read_logical(const char* record, const FieldInfo& f) {
  char c = record[f.offset];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

void write_logical(char* record, const FieldInfo& f, bool value) { write_text(record, f, value ? "T" : "F"); }

uint32_t read_memo_block(const char* record, const FieldInfo& f) {
  uint64_t n = 0;
  for (char c : field_bytes(record, f)) {
    if (c >= '0' && c <= '9') n = n * 10 + uint64_t(c - '0');
    if (n > 0xFFFFFFFFu) return 0;
  }
  return uint32_t(n);
}

void write_memo_block(char* record, const FieldInfo& f, uint32_t block) {
  if (block == 0) return write_text(record, f, "");
  write_text(record, f, base::PADL(std::to_string(block), size_t(f.width)));
}

}  // namespace kardo::xbase
