// Code pages at the edges of the program.
//
// Inside Kardo text is code page 850, one byte per character, as in the tables. The terminal
// speaks UTF-8, the official program's files are code page 1252 and the XML written for it is
// plain ASCII. Message literals are written in UTF-8 in the source and turned into code page
// 850 at compile time with the `_cp` literal: `"ATENÇÃO"_cp`.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kardo::base {

namespace cp_detail {
#include "base/codepage_tables.inc"

consteval unsigned char from_unicode(char32_t u) {
  for (int b = 0; b < 256; ++b)
    if (kCp850ToUnicode[b] == u) return static_cast<unsigned char>(b);
  throw "character not in code page 850";  // fails the compile-time evaluation
}

template <size_t N>
struct Utf8Literal {
  char bytes[N];
  consteval Utf8Literal(const char (&s)[N]) {  // NOLINT: literal operator template argument
    for (size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
};

template <size_t N>
struct Cp850Literal {
  char bytes[N] = {};
  size_t size = 0;
  constexpr operator std::string_view() const { return {bytes, size}; }  // NOLINT
  std::string str() const { return std::string(bytes, size); }
};

template <Utf8Literal S>
consteval auto convert() {
  constexpr size_t N = sizeof(S.bytes);
  Cp850Literal<N> out;
  for (size_t i = 0; i + 1 < N;) {
    unsigned char c = static_cast<unsigned char>(S.bytes[i]);
    char32_t u;
    int len;
    if (c < 0x80) { u = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { u = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { u = c & 0x0F; len = 3; }
    else { u = c & 0x07; len = 4; }
    for (int k = 1; k < len; ++k) u = (u << 6) | (static_cast<unsigned char>(S.bytes[i + k]) & 0x3F);
    out.bytes[out.size++] = static_cast<char>(from_unicode(u));
    i += len;
  }
  return out;
}

template <Utf8Literal S>
inline constexpr auto converted = convert<S>();
}  // namespace cp_detail

inline namespace literals {
template <cp_detail::Utf8Literal S>
constexpr auto operator""_cp() {
  return std::string_view(cp_detail::converted<S>);
}
}  // namespace literals

std::string cp850_to_utf8(std::string_view cp850);
// Characters that code page 850 lacks become `missing`; malformed UTF-8 bytes too.
std::string utf8_to_cp850(std::string_view utf8, char missing = '?');
// Letters that code page 850 lacks (a few typographic signs) become `missing`.
std::string cp1252_to_cp850(std::string_view cp1252, char missing = '?');
// Accents dropped, box characters as + - |, anything else without a letter as a blank.
std::string cp850_to_ascii(std::string_view cp850);
char32_t cp850_unicode(unsigned char byte);
unsigned char cp850_upper(unsigned char byte);
unsigned char cp850_lower(unsigned char byte);

}  // namespace kardo::base
