#include "base/codepage.h"

namespace kardo::base {

using namespace cp_detail;

namespace {
void put_utf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

struct ReverseTable {
  // Code points up to U+25FF cover every character of code page 850.
  unsigned char byte[0x2600] = {};
  bool present[0x2600] = {};
  ReverseTable() {
    for (int b = 0; b < 256; ++b) {
      char32_t u = kCp850ToUnicode[b];
      byte[u] = static_cast<unsigned char>(b);
      present[u] = true;
    }
  }
};
const ReverseTable& reverse() {
  static const ReverseTable table;
  return table;
}
}  // namespace

std::string cp850_to_utf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (unsigned char c : s) put_utf8(out, kCp850ToUnicode[c]);
  return out;
}

std::string utf8_to_cp850(std::string_view s, char missing) {
  const ReverseTable& rev = reverse();
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t u;
    int len;
    if (c < 0x80) { u = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { u = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { u = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { u = c & 0x07; len = 4; }
    else { out += missing; ++i; continue; }
    if (i + len > s.size()) { out += missing; break; }
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      u = (u << 6) | (cc & 0x3F);
    }
    if (!ok) { out += missing; ++i; continue; }
    out += (u < 0x2600 && rev.present[u]) ? static_cast<char>(rev.byte[u]) : missing;
    i += len;
  }
  return out;
}

std::string cp1252_to_cp850(std::string_view s, char missing) {
  std::string out(s.size(), ' ');
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned char v = kCp1252ToCp850[c];
    out[i] = (v == 0 && c != 0) ? missing : static_cast<char>(v);
  }
  return out;
}

std::string cp850_to_ascii(std::string_view s) {
  std::string out(s.size(), ' ');
  for (size_t i = 0; i < s.size(); ++i) out[i] = kCp850ToAscii[static_cast<unsigned char>(s[i])];
  return out;
}

char32_t cp850_unicode(unsigned char b) { return kCp850ToUnicode[b]; }
unsigned char cp850_upper(unsigned char b) { return kCp850Upper[b]; }
unsigned char cp850_lower(unsigned char b) { return kCp850Lower[b]; }

}  // namespace kardo::base
