#include "base/mask.h"

#include "base/codepage.h"
#include "base/xtext.h"

namespace kardo::base {
namespace {

constexpr std::string_view kDateTemplate = "99/99/9999";
// Template character of a number buffer without a picture: any part of a plain number.
constexpr char kFreeNumber = 'n';

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_digit_slot(char t) { return t == '9' || t == '#'; }
bool is_text_slot(char t) {
  return t == '9' || t == '#' || t == 'X' || t == '!' || t == 'A' || t == 'N' || t == 'L' || t == 'Y';
}
bool is_letter(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return true;
  return b >= 0x80 && (cp850_upper(b) != b || cp850_lower(b) != b);
}
bool is_printable(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return b >= 0x20 && b != 0x7F;
}
char upper_char(char c) { return static_cast<char>(cp850_upper(static_cast<unsigned char>(c))); }

// A plain number with an optional leading sign, blanks ignored; blank (or a bare sign or
// point, an untouched buffer) is 0.
std::optional<Decimal> read_number(std::string_view s) {
  std::string t;
  for (char c : s)
    if (c != ' ') t += c;
  bool any_digit = false;
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    any_digit = any_digit || is_digit(c);
    if (!is_digit(c) && c != '.' && !((c == '-' || c == '+') && i == 0)) return std::nullopt;
  }
  if (!any_digit) return t.find('.') == t.rfind('.') ? std::optional<Decimal>(Decimal()) : std::nullopt;
  return Decimal::parse(t);
}

}  // namespace

Decimal CAR_TO_VAL(std::string_view text) {
  if (is_blank(text)) return Decimal();
  std::string t;
  bool comma_seen = false;
  for (char c : text) {
    if (c == '.') continue;
    if (c == ',' && !comma_seen) {
      comma_seen = true;
      t += '.';
      continue;
    }
    t += c;
  }
  return VAL(t);
}

Mask Mask::parse(std::string_view s) {
  Mask m;
  size_t i = 0;
  if (!s.empty() && s[0] == '@') {
    i = 1;
    while (i < s.size()) {
      char c = upper_char(s[i]);
      if (c == ' ') {
        ++i;
        break;
      }
      if (c == 'S') {
        int n = 0;
        for (++i; i < s.size() && is_digit(s[i]); ++i) n = n * 10 + (s[i] - '0');
        m.s_ = n;
        continue;
      }
      bool* flag = c == 'E'   ? &m.e_
                   : c == 'Z' ? &m.z_
                   : c == 'R' ? &m.r_
                   : c == '!' ? &m.upper_
                   : c == 'D' ? &m.d_
                   : c == 'K' ? &m.k_
                              : nullptr;
      if (!flag && c != 'A' && c != 'B' && c != 'C' && c != 'X' && c != '(' && c != ')')
        break;  // the picture follows without a blank ("@Z99")
      if (flag) *flag = true;  // A, B, C, X and parentheses are known and have no effect here
      ++i;
    }
  }
  m.picture_ = std::string(s.substr(i));
  return m;
}

std::string Mask::format(Decimal value, int width, int decimals) const {
  const char point = e_ ? ',' : '.', thousands = e_ ? '.' : ',';
  size_t dp = decimal_point();
  bool has_slots = false;
  for (char t : picture_) has_slots = has_slots || is_digit_slot(t);

  if (!has_slots) {
    Decimal v = value.rounded(decimals);
    if (z_ && v.is_zero()) return std::string(size_t(width > 0 ? width : 0), ' ');
    std::string out = STR(v, width, decimals);
    if (e_)
      for (char& c : out)
        if (c == '.') c = ',';
    return out;
  }

  const size_t int_end = dp == std::string::npos ? picture_.size() : dp;
  int places = 0;
  for (size_t i = int_end; i < picture_.size(); ++i) places += is_digit_slot(picture_[i]);
  Decimal v = value.rounded(places);
  if (z_ && v.is_zero()) return std::string(picture_.size(), ' ');

  std::string text = v.abs().text(places);
  size_t point_at = text.find('.');
  std::string int_digits = text.substr(0, point_at);
  std::string frac_digits = point_at == std::string::npos ? "" : text.substr(point_at + 1);
  bool negative = v.is_negative();

  size_t int_slots = 0;
  for (size_t i = 0; i < int_end; ++i) int_slots += is_digit_slot(picture_[i]);
  // The zero before the point of a pure fraction goes when there is no room for it.
  if (int_digits == "0" && int_slots < 1 + size_t(negative)) int_digits.clear();

  // Integer digits right to left; the sign takes the position just left of the first digit,
  // a separator's included.
  std::string out = picture_;
  size_t left = int_digits.size();
  bool sign_done = !negative;
  for (size_t i = int_end; i-- > 0;) {
    char t = picture_[i];
    if (!is_digit_slot(t) && t != ',') continue;
    if (left > 0 && is_digit_slot(t)) out[i] = int_digits[--left];
    else if (left > 0) out[i] = thousands;
    else if (!sign_done) out[i] = '-', sign_done = true;
    else out[i] = ' ';
  }
  bool overflow = left > 0 || !sign_done;
  if (!overflow) {
    size_t k = 0;
    for (size_t i = int_end; i < picture_.size(); ++i) {
      char t = picture_[i];
      if (is_digit_slot(t)) out[i] = k < frac_digits.size() ? frac_digits[k++] : '0';
      else if (t == ',') out[i] = thousands;
    }
  } else {
    for (size_t i = 0; i < picture_.size(); ++i)
      if (is_digit_slot(picture_[i]) || picture_[i] == ',') out[i] = '*';
  }
  if (dp != std::string::npos) out[dp] = point;
  return out;
}

std::string Mask::format(std::string_view text) const {
  if (picture_.empty()) return upper_ ? UPPER(text) : std::string(text);
  std::string out;
  out.reserve(picture_.size());
  size_t k = 0;
  for (size_t i = 0; i < picture_.size(); ++i) {
    char t = picture_[i];
    if (!is_text_slot(t)) {
      out += t;
      if (!r_) ++k;  // the literal takes the place of the text's character
      continue;
    }
    char c = k < text.size() ? text[k] : ' ';
    ++k;
    out += (t == '!' || upper_) ? upper_char(c) : c;
  }
  return out;
}

std::string Mask::format(Date date) const {
  if (date.empty() && z_) return std::string(kDateTemplate.size(), ' ');
  return date.DTOC();
}

std::string Mask::format_logical(bool value) const {
  if (!picture_.empty() && picture_[0] == 'Y') return value ? "S" : "N";
  return value ? "T" : "F";
}

char Mask::picture_at(Kind kind, size_t pos) const {
  switch (kind) {
    case Kind::DATE:
      return pos < kDateTemplate.size() ? kDateTemplate[pos] : 0;
    case Kind::LOGICAL:
      if (pos != 0) return 0;
      return !picture_.empty() && picture_[0] == 'Y' ? 'Y' : 'L';
    case Kind::NUMBER:
    case Kind::TEXT:
      if (picture_.empty()) return kind == Kind::TEXT ? 'X' : kFreeNumber;
      return pos < picture_.size() ? picture_[pos] : 0;
  }
  return 0;
}

bool Mask::editable(Kind kind, size_t pos) const {
  char t = picture_at(kind, pos);
  switch (kind) {
    case Kind::TEXT: return is_text_slot(t);
    case Kind::NUMBER: return is_digit_slot(t) || t == kFreeNumber;
    case Kind::DATE: return t == '9';
    case Kind::LOGICAL: return t == 'L' || t == 'Y';
  }
  return false;
}

std::optional<char> Mask::accept(Kind kind, size_t pos, char c) const {
  if (!editable(kind, pos)) return std::nullopt;
  char t = picture_at(kind, pos);
  bool ok = false;
  char u = upper_char(c);
  switch (t) {
    case '9': ok = is_digit(c) || (kind == Kind::NUMBER && (c == '-' || c == '+')); break;
    case '#': ok = is_digit(c) || c == ' ' || c == '-' || c == '+'; break;
    case 'X':
    case '!': ok = is_printable(c); break;
    case 'A': ok = is_letter(c); break;
    case 'N': ok = is_letter(c) || is_digit(c); break;
    case kFreeNumber: ok = is_digit(c) || c == '-' || c == '+' || c == ' ' || c == '.' || c == ','; break;
    case 'L':
      if (u == 'T' || u == 'Y' || u == 'S') return 'T';
      if (u == 'F' || u == 'N') return 'F';
      return std::nullopt;
    case 'Y':
      if (u == 'S' || u == 'Y') return 'S';
      if (u == 'N') return 'N';
      return std::nullopt;
  }
  if (!ok) return std::nullopt;
  return (t == '!' || (upper_ && kind == Kind::TEXT)) ? u : c;
}

size_t Mask::decimal_point() const { return picture_.find('.'); }

std::string Mask::unformat_text(std::string_view buffer) const {
  std::string out;
  if (picture_.empty() || !r_) {
    out = std::string(buffer);
  } else {
    for (size_t i = 0; i < picture_.size(); ++i)
      if (is_text_slot(picture_[i])) out += i < buffer.size() ? buffer[i] : ' ';
  }
  if (upper_) return UPPER(out);
  if (!picture_.empty()) {
    // '!' positions are upper case whatever was put there.
    size_t k = 0;
    for (size_t i = 0; i < picture_.size() && k < out.size(); ++i) {
      bool slot = is_text_slot(picture_[i]);
      if (!slot && r_) continue;
      if (picture_[i] == '!') out[k] = upper_char(out[k]);
      ++k;
    }
  }
  return out;
}

std::optional<Decimal> Mask::unformat_number(std::string_view buffer) const {
  bool has_slots = false;
  for (char t : picture_) has_slots = has_slots || is_digit_slot(t);
  std::string t;
  if (!has_slots) {
    const char point = e_ ? ',' : '.', thousands = e_ ? '.' : ',';
    for (char c : buffer) {
      if (c == thousands) continue;
      t += c == point ? '.' : c;
    }
  } else {
    size_t dp = decimal_point();
    for (size_t i = 0; i < buffer.size() && i < picture_.size(); ++i) {
      if (i == dp) t += '.';
      else if (is_digit_slot(picture_[i])) t += buffer[i];
      else if (picture_[i] == ',' && buffer[i] == '-') t += '-';  // the sign beside the digits
    }
  }
  return read_number(t);
}

std::optional<Date> Mask::unformat_date(std::string_view buffer) const { return Date::parse(buffer); }

bool Mask::unformat_logical(std::string_view buffer) const {
  std::string_view t = ALLTRIM(buffer);
  if (t.empty()) return false;
  char u = upper_char(t[0]);
  return u == 'T' || u == 'Y' || u == 'S';
}

}  // namespace kardo::base
