// Limits applied while the operator types: payments (education, private pension, domestic
// employee, donations, the non-deductible column), the exempt retirement portion from 65,
// and the direct donation to the children's and adolescents' funds.
#include "base/codepage.h"
#include "base/mask.h"
#include "base/xtext.h"
#include "tax/calc.h"
#include "tax/internal.h"

namespace kardo::tax {

using base::Decimal;
using detail::flag;
using detail::pct;
using detail::str;
using detail::positive;
using base::operator""_cp;

namespace {
std::string amount_text(Decimal v, const char* mask) {
  return std::string(base::ALLTRIM(base::Mask::parse(mask).format(v)));
}
bool same_cpf(const std::string& a, const std::string& b) {
  return base::ALLTRIM(a) == base::ALLTRIM(b) && !base::is_blank(a);
}
constexpr const char* kNationalFund = "19.091.798/0001-52";
}  // namespace

void Calc::FDOAPAG(size_t row, int show) {
  if (row >= d_.IMP06.size()) return;
  store::imp06::Record& r = d_.IMP06[row];
  const decl::Vars& v = d_.vars;
  const long long code = r.I6_3.whole();
  show_ = show;
  if (code >= 1 && code <= 6) {
    r.I6_5 = r.I6_4 > s_.year.NVALESCOL ? r.I6_4 - s_.year.NVALESCOL : Decimal();
  } else if (code == 36 || code == 38) {
    if (v.I13_09.is_zero() && show == 1)
      op_.AVISOSN(std::vector<std::string>{
          str("Atenção! As contribuições de previdência complementar cujo o ônus "_cp),
          str("seja do próprio contribuinte fica condicionado a contribuição para"_cp),
          str("a previdência oficial, exceto se já aposentado. Na previdência dos"_cp),
          str("dependentes menores de 16 anos só podem ser deduzidas se o titular"_cp),
          str("contribuir a P. Oficial e se maior de 16 o próprio dependente deve"_cp),
          str("recolher a Previdência. Lei 10.887 de 18/06/04 artigo 13.   "_cp)});
  } else if (code == 50) {
    const Decimal limit = domestic_limit();
    if (r.I6_4 > limit) {
      r.I6_5 = r.I6_4 - limit;
      if (show == 1 && (departure() || final_decl())) {
        const base::Date date = departure() ? v.DataSaida : (!v.DataParti.empty() ? v.DataParti : v.DataLavra);
        op_.AVISOSN(std::vector<std::string>{
            (departure() ? str("Devido a data da Saída "_cp) : str("Devido a data da Lavratura "_cp)) + date.DTOC(),
            str("O limite é para a dedução é R$"_cp) + base::Mask::parse("9,999.99").format(limit)});
      }
    } else {
      r.I6_5 = Decimal();
    }
  } else if (code >= 39 && code <= 46 && !simplified()) {
    const Allocation a = allocate(d_.vars.I13_21);
    for (const auto& [i, nd] : a.I6_5) d_.IMP06[i].I6_5 = nd;
    d_.vars.I13_22 = a.line22;
  }
  show_ = 0;
  t_.JA_CALC = false;
  FDE_TUDO(show);
}

Decimal Calc::FCONFNDEDU(size_t row, Decimal value) {
  if (row >= d_.IMP06.size()) return Decimal();
  store::imp06::Record& r = d_.IMP06[row];
  const long long code = r.I6_3.whole();
  if (code > 34 && !value.is_zero()) {
    op_.AVISOSN(std::vector<std::string>{
        str("Valores não dedutíveis só deve ser preenchido para convênios"_cp),
        str("hospitalares ou médicos quando o contribuinte é reembolsado. "_cp),
        str("Esse campo será preenchido pelo programa nas situações onde"_cp),
        str("os valores ultrapassam o limite permitido"_cp)});
    value = Decimal();
  } else if (code >= 8 && code <= 28 && value > r.I6_4) {
    op_.AVISOSN(std::vector<std::string>{str("O valor não dedutível ou reembolsado"_cp),
                                         str("não pode ser maior que o valor pago "_cp)});
    value = Decimal();
  }
  r.I6_5 = value;
  if (code >= 8 && code <= 28) {
    t_.JA_CALC = false;
    FDE_TUDO(0);
  }
  return value;
}

Decimal Calc::LIMIT3(size_t row, Decimal value, bool dependant) {
  if (row >= d_.IMP02.size()) return Decimal();
  store::imp02::Record& line = d_.IMP02[row];
  decl::Vars& v = d_.vars;
  const Constants& k = s_.year;
  auto keep = [&](Decimal kept) {
    line.I1_17 = kept;
    return kept;
  };
  if (value.is_zero()) return keep(value);

  base::Date born = v.NASCIMENTO;
  long long code = 0;
  if (dependant) {
    born = base::Date();
    for (const auto& p : d_.IMP03)
      if (same_cpf(p.CPFDEPEN, line.I1_8)) {
        born = p.DATADEPEN;
        code = p.CODIDEPEN.whole();
        break;
      }
    if (born.empty()) {
      op_.AVISOSN(str("Falta data do nascimento do dependente."_cp));
      return keep(Decimal());
    }
  }
  const std::string person = dependant ? "dependente" : "contribuinte";
  // Calendar age at the end of the base year: whoever has a 65th birthday in it qualifies.
  if (born.empty() || born.age_at(base::Date(k.NANOBASE, 12, 31)) < 65) {
    op_.AVISOSN(std::vector<std::string>{"O " + person + " tem menos de 65 anos",
                                         str("e não pode usar desse benefício!"_cp)});
    return keep(Decimal());
  }
  if (!dependant && base::ALLTRIM(v.CODAT) != "61" &&
      !op_.ask_yes({str("ATENÇÃO! Esse campo só pode ser usado por"_cp), str(" aposentados, reformados ou pensionistas."_cp),
                    str("A situação é essa mesmo com o código errado? "_cp)}))
    return keep(Decimal());

  // The year of the 65th birthday counts from the birthday's month to December, plus the
  // 13th salary.
  Decimal limit = k.NVALAPOSA;
  std::string note;
  if (born.year() == k.NANOBASE - 65) {
    limit = Decimal(14 - int(born.month())) * k.NVALAPOSE;
    note = str("Obs. O limite é menor pois o "_cp) + person + str(" fez 65 anos no mês "_cp) +
           std::to_string(born.month());
  }
  Decimal others;
  for (size_t i = 0; i < d_.IMP02.size(); ++i) {
    if (i == row) continue;
    const auto& o = d_.IMP02[i];
    const bool mine = dependant ? flag(o.I1_1) == 'D' && same_cpf(o.I1_8, line.I1_8) : flag(o.I1_1) == 'J';
    if (mine) others += o.I1_17;
  }
  // A dependant of code 31 may not have income above the exempt bracket at all.
  const bool capped_dependant = dependant && code == 31;
  if (capped_dependant) limit = base::min(limit, k.NBASEAN1);
  if (value + others > limit) {
    if (capped_dependant) {
      const std::string cpf = base::Mask::parse("@R 999.999.999-99").format(base::PADR(line.I1_8, 11));
      op_.AVISOSN(std::vector<std::string>{
          str("O dependente "_cp) + cpf + str(" tem o rendimento maior que"_cp),
          str("o limite R$ "_cp) + amount_text(limit, "@EZ 99,999.99") + str(" permitido para ser dependente."_cp),
          str("Ele não pode ser dependente e deve ser retirado dessa declaração"_cp)});
      return keep(Decimal());
    }
    const Decimal excess = value + others - limit;
    std::vector<std::string> q{
        str("O limite para esse ano é de R$ "_cp) + amount_text(limit, "@E 999,999.99") + " e o excedente",
        str("de R$ "_cp) + amount_text(excess, "@E 999,999.99") + " deve ser " +
            (positive(line.I1_4) ? "somado ao" : str("lançado no"_cp)) + str(" rendimento tributável"_cp),
        str("Deseja que o programa faça isso?"_cp)};
    if (!note.empty()) q.push_back(note);
    if (op_.ask_yes(q)) line.I1_4 += excess;
    return keep(base::max(limit - others, Decimal()));
  }
  return keep(others >= limit ? Decimal() : value);
}

// What a new code-39 donation may still deduct: the ECA room is what the donations of codes
// 40 … 44 left of 6 % of the tax, at most 3 %, and the donations already made to the funds
// use it up.
Decimal Calc::LIMDOA() {
  const Decimal t = d_.vars.I13_21;
  const Allocation a = allocate(t);
  const Decimal six = pct(t, 6) - a.net40_44 - a.net39;
  const Decimal three = pct(t, 3) - a.net39;
  return base::max(base::DESPREZA(base::min(six, three), 14), Decimal());
}

bool Calc::ECA_ALLOWED(bool from_menu) {
  const decl::Vars& v = d_.vars;
  const base::Date deadline = s_.year.DENTREGA;
  if (today() > deadline) {
    op_.AVISOSN(std::vector<std::string>{
        str("As doações para o ECA só é permitido até "_cp) + deadline.DTOC(),
        str("Caso tenha entregue a declaração com lançamento dessa doação"_cp),
        str("e não tenha pago o Darf no prazo deve retificada a declaração"_cp),
        str("retirando essa doação nos pagamentos eftuados código 39. "_cp)});
    return false;
  }
  if (simplified()) {
    op_.AVISOSN(str("Para fazer doação direta só na Declaração Completa."_cp));
    return false;
  }
  if (flag(v.USAPADRAO) == ' ' && !final_decl() && !departure()) {
    op_.AVISOSN(from_menu ? str("Defina o tipo de declaração na tela F7"_cp) : str("Marque o tipo de declaração na tela F7"_cp));
    return false;
  }
  if (!positive(LIMDOA())) {
    op_.AVISOSN(str("Não há valor disponível para a doação direta na declaração"_cp));
    return false;
  }
  return true;
}

bool Calc::VELIMD(Decimal value) {
  if (value > LIMDOA()) {
    op_.AVISOSN(str("Valor acima do limite da doação! Confira."_cp));
    return false;
  }
  return positive(value);
}

bool Calc::DOACAO_ECA(const EcaFund& fund, Decimal value) {
  if (!VELIMD(value)) return false;
  store::imp06::Record r;
  r.CPF = d_.vars.CPF;
  const std::string uf(base::ALLTRIM(fund.UF));
  std::string name, cnpj = fund.CNPJ;
  switch (fund.kind) {
    case EcaFund::NACIONAL: name = "Nacional"; cnpj = kNationalFund; break;
    case EcaFund::ESTADUAL: name = "Estadual - " + uf; break;
    case EcaFund::MUNICIPAL: name = std::string(base::ALLTRIM(fund.CIDADE)) + " - " + uf; break;
  }
  r.I6_1 = base::PADR(name, 50);
  r.I6_2 = base::PADR(cnpj, 18);
  r.I6_3 = Decimal(39);
  r.I6_4 = value;
  r.I6_7 = base::SPACE(11);
  d_.IMP06.push_back(r);
  FDOAPAG(d_.IMP06.size() - 1, 0);
  return true;
}

}  // namespace kardo::tax
