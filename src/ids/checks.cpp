#include "ids/checks.h"

#include "base/codepage.h"
#include "base/mask.h"
#include "base/xtext.h"
#include "ids/ids.h"
#include "ids/punctuation.h"

namespace kardo::ids {

using namespace base::literals;
using base::ALLTRIM;
using base::all_digits;
using base::is_blank;
using base::SUBSTR;
using namespace detail;

namespace {

constexpr std::string_view kDigitIs = "O dígito para esse número é:"_cp;

// NIT/PIS: weights 3, 2, 9 … 2 on the first ten digits; 0 when the remainder is below 2.
char nit_check_digit(std::string_view ten) {
  static constexpr int w[10] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int s = 0;
  for (size_t i = 0; i < 10; ++i) s += w[i] * (ten[i] - '0');
  int r = s % 11;
  return char('0' + (r < 2 ? 0 : 11 - r));
}

// RENAVAM: from the 10th digit back to the 1st, weights 2 … 9, 2, 3; (sum × 10) mod 11,
// 0 when that is above 9.
char renavam_check_digit(std::string_view ten) {
  static constexpr int w[10] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};  // d1 … d10
  int s = 0;
  for (size_t i = 0; i < 10; ++i) s += w[i] * (ten[i] - '0');
  int t = s * 10 % 11;
  return char('0' + (t > 9 ? 0 : t));
}

}  // namespace

CpfCheck VAL_CPF(base::Operator& op, std::string_view cpf, bool required, int mode) {
  std::string t = strip_display(cpf);
  if (is_blank(t)) {
    if (!required) return {true, false};
    if (mode == 1) return {true, true};
    return {false, false};
  }
  std::string base9 = SUBSTR(t, 1, 9);
  // Fewer than nine digits typed (a blank among them counts as missing).
  if (ALLTRIM(base9).size() < 9 || !all_digits(base9)) {
    if (mode == 0) op.error({std::string("ATENÇÃO! CPF está incompleto."_cp)});
    return {false, false};
  }
  std::string dv = Cpf::check_digits(base9);
  if (SUBSTR(t, 10, 2) == dv) return {true, false};
  if (mode != 2) {
    std::string shown = base::Mask::parse("@R 999.999.999-99").format(SUBSTR(t, 1, 11));
    op.error({std::string("ATENÇÃO! CPF "_cp) + shown + std::string(" está incorreto. "_cp),
              std::string(kDigitIs) + dv});
  }
  return {false, false};
}

bool VAL_CGC(base::Operator& op, std::string_view cnpj, bool required) {
  std::string t = strip_display(cnpj);
  if (is_blank(t)) return !required;
  std::string base12 = SUBSTR(t, 1, 12);
  if (ALLTRIM(t).size() < 12 || !all_digits(base12)) {
    op.error({std::string("ATENÇÃO! CNPJ está incompleto."_cp)});
    return false;
  }
  std::string dv = Cnpj::check_digits(base12);
  if (SUBSTR(t, 13, 2) == dv) return true;
  std::string shown = base::Mask::parse("@R 99.999.999/9999-99").format(SUBSTR(t, 1, 14));
  op.error({std::string("ATENÇÃO! CNPJ "_cp) + shown + std::string(" está incorreto. "_cp),
            std::string(kDigitIs) + dv});
  return false;
}

bool CPFCGC(base::Operator& op, std::string_view value, bool required) {
  if (is_blank(value)) return !required;
  std::string v = POEPONTO(value, 0);
  if (at(v, 10) == '.') return true;  // the NIT form
  if (at(v, 4) == '.' || at(v, 4) == ' ') return VAL_CPF(op, TIRA_PONTO(v) + "  ", true, 0).ok;
  if (at(v, 3) == '.') return VAL_CGC(op, TIRA_PONTO(v) + "  ", true);
  op.error({std::string(" Digite o CPF/CNPJ com número correto "_cp),
            std::string("de dígitos, 11 para CPF e 14 para CNPJ,"_cp),
            std::string("ou coloque os separadores no lugar correto."_cp),
            std::string("CPF=nnn.nnn.nnn-nn CNPJ=nn.nnn.nnn/nnnn-nn "_cp)});
  return false;
}

Stored CPFCGC1(base::Operator& op, std::string_view value, bool required) {
  std::string stored = is_blank(value) ? std::string(value) : POEPONTO(value, 0);
  bool ok = CPFCGC(op, stored, required);
  return {ok, std::move(stored)};
}

bool VAL_NIT(base::Operator& op, std::string_view nit, int mode) {
  if (is_blank(nit)) return true;
  std::string d;
  for (char c : nit)
    if (c != ' ') d += c;
  d = strip_display(d);
  if (d.size() != 11 || !all_digits(d)) {
    op.error({std::string(mode == 1 ? "ATENÇÃO! O NIT do empregado está errado."_cp
                                    : "ATENÇÃO! O NIT está incompleto... "_cp)});
    return false;
  }
  if (d[10] == nit_check_digit(d)) return true;
  if (mode == 1)
    op.error({std::string("ATENÇÃO! NIT está incorreto. "_cp),
              std::string("Se estiver digitado CPF use seta direita"_cp),
              std::string("até a última coluna e digite lá. "_cp)});
  else
    op.error({std::string("ATENÇÃO! NIT está incorreto. "_cp)});
  return false;
}

bool VENIRF(base::Operator& op, std::string_view nirf) {
  if (is_blank(nirf)) return true;
  std::string first7 = SUBSTR(nirf, 1, 7);
  if (first7.size() == 7 && all_digits(first7) && SUBSTR(nirf, 8, 1) == MODULO_11(first7, 0)) return true;
  op.error({std::string("NIRF inválido"_cp)});
  return false;
}

Stored VERENAVAM(base::Operator& op, std::string_view renavam) {
  if (is_blank(renavam)) return {true, std::string(renavam)};
  std::string_view t = ALLTRIM(renavam);
  if (!all_digits(t) || t.size() > 11) {
    op.error({std::string("Renavam inválido"_cp)});
    return {false, std::string(renavam)};
  }
  std::string padded = std::string(11 - t.size(), '0') + std::string(t);
  if (padded[10] == renavam_check_digit(padded)) return {true, padded};
  op.error({std::string("Renavam inválido"_cp)});
  return {false, padded};
}

Stored VENROREC(base::Operator& op, std::string_view receipt) {
  if (is_blank(receipt)) return {true, std::string(receipt)};
  std::string t = strip_display(receipt);
  std::string d = SUBSTR(t, 1, 10);
  if (d.size() == 10 && all_digits(d)) {
    std::string dv1 = MODULO_11(d, 0);
    std::string dv = dv1 + MODULO_11(d + dv1, 0);
    std::string typed = base::PADR(SUBSTR(t, 11, 2), 2);
    if (is_blank(typed) || typed == dv) return {true, d + dv};
  }
  op.error({std::string("Número do recibo inválido"_cp)});
  return {false, std::string(receipt)};
}

FamilyLookup VE_RELDEP(base::Operator& op, std::string_view cpf, std::span<const FamilyRow> rows,
                       FamilyList list) {
  if (is_blank(strip_display(cpf))) return {FamilyLookup::EMPTY, 0};
  std::string digits = TIRA_PONTO(cpf);
  for (size_t i = 0; i < rows.size() && !digits.empty(); ++i) {
    bool in_list = list == FamilyList::DEPENDANTS ? rows[i].code < 98 : (rows[i].code == 98 || rows[i].code == 99);
    if (in_list && TIRA_PONTO(rows[i].cpf) == digits) return {FamilyLookup::FOUND, i};
  }
  op.AVISOSN(std::string("CPF digitado não consta na relação dos "_cp) +
             (list == FamilyList::DEPENDANTS ? "dependentes" : "alimentandos"));
  return {FamilyLookup::NOT_FOUND, 0};
}

FamilyCheck VERCPFDEPE(base::Operator& op, std::string_view cpf, std::span<const FamilyRow> rows) {
  if (!is_blank(strip_display(cpf)) && !VAL_CPF(op, cpf, true).ok) return {false, {}};
  return {true, VE_RELDEP(op, cpf, rows, FamilyList::DEPENDANTS)};
}

}  // namespace kardo::ids
