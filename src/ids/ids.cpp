#include "ids/ids.h"

#include <algorithm>
#include <array>

#include "base/mask.h"
#include "base/xtext.h"
#include "ids/punctuation.h"

namespace kardo::ids {

using base::ALLTRIM;
using base::all_digits;
using namespace detail;

namespace {

constexpr std::array<int, 11> kCnpjCodes{1, 21, 26, 36, 37, 38, 40, 41, 42, 43, 98};
constexpr std::array<int, 16> kCpfCodes{9, 10, 11, 12, 13, 14, 15, 30, 31, 33, 34, 66, 76, 80, 81, 94};
constexpr int kNitCode = 50;

template <size_t N>
bool listed(const std::array<int, N>& codes, int code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool already_punctuated(std::string_view s) {
  return at(s, 3) == '.' || at(s, 4) == '.' || at(s, 4) == ' ';
}

std::optional<std::string> bare_digits(std::string_view text, size_t count) {
  std::string d = strip_display(ALLTRIM(text));
  if (d.size() != count || !all_digits(d)) return std::nullopt;
  return d;
}

}  // namespace

namespace detail {
std::string strip_display(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != '.' && c != '-' && c != '/') out += c;
  return out;
}

std::string punctuate(std::string_view text, IdKind kind) {
  switch (kind) {
    case IdKind::CPF: return base::Mask::parse("@R 999.999.999-99").format(text) + "    ";
    case IdKind::CNPJ: return base::Mask::parse("@R 99.999.999/9999-99").format(text);
    case IdKind::NIT: return base::Mask::parse("@R 999.99999.99-9").format(text) + "    ";
  }
  return std::string(text);
}

size_t id_digits(IdKind kind) { return kind == IdKind::CNPJ ? 14 : 11; }
}  // namespace detail

std::string TIRA_PONTO(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c >= '0' && c <= '9') out += c;
  return out;
}

std::string CONTAPONTO(std::string_view text) {
  if (already_punctuated(text)) return std::string(text);
  std::string_view t = ALLTRIM(text);
  if (t.size() == 14) return punctuate(t, IdKind::CNPJ);
  if (t.size() == 11) return punctuate(t, IdKind::CPF);
  return std::string(text);
}

std::string POEPONTO(std::string_view text, int mode, int payment_code) {
  if (already_punctuated(text)) return std::string(text);
  if (mode == 1) {
    std::optional<IdKind> kind;
    if (listed(kCnpjCodes, payment_code)) kind = IdKind::CNPJ;
    else if (listed(kCpfCodes, payment_code)) kind = IdKind::CPF;
    else if (payment_code == kNitCode) kind = IdKind::NIT;
    std::string_view t = ALLTRIM(text);
    // Longer than the punctuation's places: punctuating would drop characters.
    if (kind && t.size() <= id_digits(*kind)) return punctuate(t, *kind);
  }
  return CONTAPONTO(text);
}

std::string MODULO_11(std::string_view digits, int substitute) {
  std::string_view t = ALLTRIM(digits);
  if (!all_digits(t)) return "";
  const int n = int(t.size()) + 1;
  long long sum = 0;  // kept modulo 11, so no length overflows it
  for (int i = 1; i < n; ++i) sum = (sum + (t[size_t(i - 1)] - '0') * ((n - i + 1) % 11)) % 11;
  int dv = 11 - int(sum);
  if (dv > 9) dv = substitute;
  return std::string(1, char('0' + dv));
}

std::string Cpf::check_digits(std::string_view d) {
  if (d.size() != 9 || !all_digits(d)) return "";
  // S1 weights the digits 1 … 9, S2 weights them 9 … 1; a first digit of 10 becomes 0 and
  // adds 9 to S2. The same digits as the weights 10 … 2 and 11 … 2 of the usual statement.
  int s1 = 0, s2 = 0;
  for (int i = 1; i <= 9; ++i) {
    s1 += i * (d[size_t(i - 1)] - '0');
    s2 += (10 - i) * (d[size_t(i - 1)] - '0');
  }
  int dv1 = s1 % 11;
  if (dv1 == 10) {
    dv1 = 0;
    s2 += 9;
  }
  int dv2 = s2 % 11;
  if (dv2 == 10) dv2 = 0;
  return {char('0' + dv1), char('0' + dv2)};
}

std::optional<Cpf> Cpf::parse(std::string_view text) {
  std::optional<std::string> d = bare_digits(text, 11);
  if (!d || check_digits(std::string_view(*d).substr(0, 9)) != std::string_view(*d).substr(9)) return std::nullopt;
  return Cpf(*d);
}

std::optional<Cpf> Cpf::from_base(std::string_view nine) {
  std::string dv = check_digits(nine);
  if (dv.empty()) return std::nullopt;
  return Cpf(std::string(nine) + dv);
}

std::string Cpf::display() const { return base::Mask::parse("@R 999.999.999-99").format(digits_); }

std::string Cnpj::check_digits(std::string_view d) {
  if (d.size() != 12 || !all_digits(d)) return "";
  static constexpr int w1[12] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr int w2[12] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
  int s1 = 0, s2 = 0;
  for (size_t i = 0; i < 12; ++i) {
    s1 += w1[i] * (d[i] - '0');
    s2 += w2[i] * (d[i] - '0');
  }
  int r = s1 % 11;
  int dv1 = r < 2 ? 0 : 11 - r;
  r = (s2 + 2 * dv1) % 11;
  int dv2 = r < 2 ? 0 : 11 - r;
  return {char('0' + dv1), char('0' + dv2)};
}

std::optional<Cnpj> Cnpj::parse(std::string_view text) {
  std::optional<std::string> d = bare_digits(text, 14);
  if (!d || check_digits(std::string_view(*d).substr(0, 12)) != std::string_view(*d).substr(12)) return std::nullopt;
  return Cnpj(*d);
}

std::optional<Cnpj> Cnpj::from_base(std::string_view twelve) {
  std::string dv = check_digits(twelve);
  if (dv.empty()) return std::nullopt;
  return Cnpj(std::string(twelve) + dv);
}

std::string Cnpj::display() const { return base::Mask::parse("@R 99.999.999/9999-99").format(digits_); }

std::string DVFUNDO(const Cnpj& fund) {
  std::string dv1 = MODULO_11(fund.digits(), 1);
  std::string dv2 = MODULO_11(fund.digits() + dv1, 1);
  return dv1 + dv2;
}

}  // namespace kardo::ids
