#include "term/colour.h"

#include <cctype>

namespace kardo::term {

namespace {

constexpr const char* kLetters[8] = {"N", "B", "G", "BG", "R", "BR", "GR", "W"};

std::string side(int value) {
  value &= 15;
  std::string s = kLetters[value & 7];
  if (value >= 8) s += '+';
  return s;
}

// One side of a pair: letters, then any of "+" / "*".
std::optional<int> parse_side(std::string_view s) {
  int bits = 0;  // B = 1, G = 2, R = 4; W = 7; N = 0
  bool bright = false, letter = false;
  for (char c : s) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
      case 'N': letter = true; break;
      case 'B': bits |= 1; letter = true; break;
      case 'G': bits |= 2; letter = true; break;
      case 'R': bits |= 4; letter = true; break;
      case 'W': bits |= 7; letter = true; break;
      case '+': case '*': bright = true; break;
      case ' ': break;
      default: return std::nullopt;
    }
  }
  if (!letter && bright) return std::nullopt;
  return bits + (bright ? 8 : 0);
}

}  // namespace

std::string colour_pair(int colour) {
  colour &= 255;
  return side(colour & 15) + "/" + side(colour >> 4);
}

std::optional<int> colour_number(std::string_view pair) {
  if (size_t comma = pair.find(','); comma != std::string_view::npos) pair = pair.substr(0, comma);
  size_t slash = pair.find('/');
  std::string_view fg = pair.substr(0, slash);
  std::string_view bg = slash == std::string_view::npos ? std::string_view{} : pair.substr(slash + 1);
  auto f = parse_side(fg);
  auto b = parse_side(bg);
  if (!f || !b) return std::nullopt;
  return *b * 16 + *f;
}

}  // namespace kardo::term
