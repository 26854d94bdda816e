// IMP01<yy>: figures of the return, one record per taxpayer.
// I3_04 is the sum of the typed parts (I3_04GCPV, I3_04UNIC, I3_04REDU, I3_04EXTR) and the parts
// carried from the capital-gain operations (I3_04GCPVC, I3_04UNICC, I3_04REDUC). The field Meeiro
// marks the current layout: a table without it is converted by the layout update.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_01<tt> has the same layout.
#pragma once

#define KARDO_IMP01_FIELDS(F) \
  F(CPF, 'C', 11, 0)        /* taxpayer key */ \
  /* exempt and non-taxable income lines I3_01 ... I3_24; the first twelve each followed by the line */ \
  /* I4_nn taxed exclusively at source */ \
  F(I3_01, 'N', 12, 2)      /* exempt 01: scholarships */ \
  F(I4_01, 'N', 12, 2)      /* exclusive 01: 13th salary */ \
  F(I3_02, 'N', 12, 2)      /* exempt 02: insurance capital */ \
  F(I4_02, 'N', 12, 2)      /* exclusive 02: capital gains */ \
  F(I3_03, 'N', 12, 2)      /* exempt 03: indemnities */ \
  F(I4_03, 'N', 12, 2)      /* exclusive 03: variable income gains */ \
  F(I3_04, 'N', 12, 2)      /* exempt 04: profit on sale of small assets/single property */ \
  F(I4_04, 'N', 12, 2)      /* exclusive 04: financial investments */ \
  F(I3_05, 'N', 12, 2)      /* exempt 05: profits and dividends */ \
  F(I4_05, 'N', 12, 2)      /* exclusive 05: accumulated income holder */ \
  F(I3_06, 'N', 12, 2)      /* exempt 06: retirement exemption over 65 */ \
  F(I4_06, 'N', 12, 2)      /* exclusive 06: 13th salary dependants */ \
  F(I3_07, 'N', 12, 2)      /* exempt 07: pensions for illness */ \
  F(I4_07, 'N', 12, 2)      /* exclusive 07: accumulated income dependants */ \
  F(I3_08, 'N', 12, 2)      /* exempt 08: savings */ \
  F(I4_08, 'N', 12, 2)      /* exclusive 08: interest on own capital */ \
  F(I3_09, 'N', 12, 2)      /* exempt 09: partner income of small firms */ \
  F(I4_09, 'N', 12, 2)      /* exclusive 09: profit sharing */ \
  F(I3_10, 'N', 12, 2)      /* exempt 10: transfers/inheritance */ \
  F(I4_10, 'N', 12, 2)      /* exclusive 10: others */ \
  F(I3_11, 'N', 12, 2)      /* exempt 11: exempt rural part */ \
  F(I4_11, 'N', 12, 2)      /* exclusive 11: gains in foreign currency */ \
  F(I3_12, 'N', 12, 2)      /* exempt 12: tax compensated in court */ \
  F(I4_12, 'N', 12, 2)      /* exclusive 12: gains on foreign cash */ \
  F(I3_13, 'N', 12, 2)      /* exempt 13: wages in foreign currency */ \
  F(I3_14, 'N', 12, 2)      /* exempt 14: capital-reserve incorporation */ \
  F(I3_15, 'N', 12, 2)      /* exempt 15: resident doctors */ \
  F(I3_16, 'N', 12, 2)      /* exempt 16: line 16 */ \
  F(I3_17, 'N', 12, 2)      /* exempt 17: divorce sharing */ \
  F(I3_18, 'N', 12, 2)      /* exempt 18: share gains up to the limit */ \
  F(I3_19, 'N', 12, 2)      /* exempt 19: gold gains up to the limit */ \
  F(I3_20, 'N', 12, 2)      /* exempt 20: recovery of stock-exchange losses */ \
  F(I3_21, 'N', 12, 2)      /* exempt 21: cargo carriers */ \
  F(I3_22, 'N', 12, 2)      /* exempt 22: passenger carriers */ \
  F(I3_23, 'N', 12, 2)      /* exempt 23: refund of earlier years */ \
  F(I3_24, 'N', 12, 2)      /* exempt 24: others */ \
  F(I3_04GCPV, 'N', 12, 2)  /* line 04 part typed: small-value assets */ \
  F(I3_04UNIC, 'N', 12, 2)  /* line 04 part typed: only property */ \
  F(I3_04REDU, 'N', 12, 2)  /* line 04 part typed: other properties (reinvested) */ \
  F(I3_04EXTR, 'N', 12, 2)  /* line 04 part typed: foreign cash */ \
  F(I3_04GCPVC, 'N', 12, 2) /* line 04 part carried from capital gains: small-value assets */ \
  F(I3_04UNICC, 'N', 12, 2) /* carried: only property */ \
  F(I3_04REDUC, 'N', 12, 2) /* carried: other properties */ \
  /* education-expense mark: "X" when the last education payment (codes 01, 02) in table order has a */ \
  /* positive amount, blank otherwise (payment totals) */ \
  F(DESPINST, 'C', 1, 0) \
  F(DESPALIM, 'N', 1, 0)    /* count of alimony beneficiaries registered (0 = none) */ \
  F(RELDEPEN, 'C', 20, 0)   /* not used by the system (blank) */ \
  F(CpfInvent, 'C', 11, 0)  /* estate: CPF of the executor (inventariante) */ \
  F(NomInvent, 'C', 40, 0)  /* estate: executor name */ \
  F(EndInvent, 'C', 70, 0)  /* estate: executor address */ \
  F(DataParti, 'D', 8, 0)   /* estate: date of the sharing (partilha) */ \
  F(Datadecis, 'D', 8, 0)   /* estate: date of the court decision */ \
  F(nroProces, 'C', 25, 0)  /* estate: court case number */ \
  F(VaraCivil, 'C', 4, 0)   /* estate: civil court number */ \
  F(Comarca, 'C', 25, 0)    /* estate: court district */ \
  F(UFProces, 'C', 2, 0)    /* estate: state of the case */ \
  F(AnoObito, 'N', 4, 0)    /* estate: year of death */ \
  F(DecFinal, 'C', 1, 0)    /* "S" = final declaration of an estate */ \
  F(DecSaida, 'C', 1, 0)    /* "S" = declaration of departure from the country */ \
  F(DataSaida, 'D', 8, 0)   /* date of departure */ \
  F(DecJudi, 'C', 1, 0)     /* "S" = sharing by court decision */ \
  F(DataLavra, 'D', 8, 0)   /* date of the public deed */ \
  F(NomeCarto, 'C', 80, 0)  /* notary office name */ \
  F(CnpjCarto, 'C', 14, 0)  /* notary office CNPJ */ \
  F(MuniCarto, 'C', 30, 0)  /* notary office municipality */ \
  F(Livrcarto, 'N', 7, 0)   /* deed book number */ \
  F(FolhCarto, 'N', 7, 0)   /* deed page number */ \
  F(Morte2, 'C', 1, 0)      /* "S" = both spouses died */ \
  F(InvConj, 'C', 1, 0)     /* "S" = joint estate of both spouses */ \
  F(Meeiro, 'C', 1, 0)      /* "S" = surviving spouse is co-owner (meeiro) */ \
  F(CpfCompa, 'C', 11, 0)   /* spouse/partner CPF */ \
  F(NomCompa, 'C', 40, 0)   /* spouse/partner name */ \
  /* summary of the declaration I13_01 ... I13_51 */ \
  F(I13_01, 'N', 12, 2)     /* taxable income from legal entities, holder */ \
  F(I13_02, 'N', 12, 2)     /* same, dependants */ \
  F(I13_03, 'N', 12, 2)     /* taxable income from individuals and abroad, holder */ \
  F(I13_04, 'N', 12, 2)     /* same, dependants */ \
  F(I13_05, 'N', 12, 2)     /* accumulated income (RRA), holder */ \
  F(I13_06, 'N', 12, 2)     /* accumulated income, dependants */ \
  F(I13_07, 'N', 12, 2)     /* taxable result of the rural activity */ \
  F(I13_08, 'N', 12, 2)     /* total taxable income */ \
  F(I13_09, 'N', 12, 2)     /* official social security */ \
  F(I13_10, 'N', 12, 2)     /* official social security on accumulated income */ \
  F(I13_11, 'N', 12, 2)     /* private pension (FAPI and similar) */ \
  F(I13_12, 'N', 12, 2)     /* deduction for dependants */ \
  F(I13_13, 'N', 12, 2)     /* education expenses */ \
  F(I13_14, 'N', 12, 2)     /* medical expenses */ \
  F(I13_15, 'N', 12, 2)     /* alimony paid */ \
  F(I13_16, 'N', 12, 2)     /* alimony by public deed */ \
  F(I13_17, 'N', 12, 2)     /* alimony paid out of accumulated income */ \
  F(I13_18, 'N', 12, 2)     /* cash book (livro caixa) */ \
  F(I13_19, 'N', 12, 2)     /* total deductions */ \
  F(I13_20, 'N', 12, 2)     /* tax base */ \
  F(I13_21, 'N', 12, 2)     /* tax by the table */ \
  F(I13_22, 'N', 12, 2)     /* incentive deductions */ \
  F(I13_23, 'N', 12, 2)     /* tax due */ \
  F(I13_24, 'N', 12, 2)     /* social security of the domestic employer */ \
  F(I13_25, 'N', 12, 2)     /* tax due on accumulated income */ \
  F(I13_26, 'N', 12, 2)     /* tax due including income abroad */ \
  F(I13_27, 'N', 12, 2)     /* tax withheld at source, holder */ \
  F(I13_28, 'N', 12, 2)     /* tax withheld at source, dependants */ \
  F(I13_29, 'N', 12, 2)     /* carnê-leão paid, holder */ \
  F(I13_30, 'N', 12, 2)     /* carnê-leão paid, dependants */ \
  F(I13_31, 'N', 12, 2)     /* complementary tax paid */ \
  F(I13_32, 'N', 12, 2)     /* tax paid abroad (within its limit) */ \
  F(I13_33, 'N', 12, 2)     /* tax withheld under Law 11.033 */ \
  F(I13_34, 'N', 12, 2)     /* tax withheld on accumulated income */ \
  F(I13_35, 'N', 12, 2)     /* total tax paid */ \
  F(I13_36, 'N', 12, 2)     /* balance of tax to pay */ \
  F(I13_37, 'N', 12, 2)     /* value of each quota */ \
  F(I13_38, 'N', 12, 2)     /* tax to refund */ \
  F(I13_39, 'N', 12, 2)     /* total of assets at the end of the previous year */ \
  F(I13_40, 'N', 12, 2)     /* total of assets at the end of the base year */ \
  F(I13_41, 'N', 12, 2)     /* total of debts at the end of the previous year */ \
  F(I13_42, 'N', 12, 2)     /* total of debts at the end of the base year */ \
  F(I13_43, 'N', 12, 2)     /* spouse information */ \
  F(I13_44, 'N', 12, 2)     /* total exempt and non-taxable income */ \
  F(I13_45, 'N', 12, 2)     /* total income taxed exclusively at source */ \
  F(I13_46, 'N', 12, 2)     /* capital-gain tax */ \
  F(I13_47, 'N', 12, 2)     /* variable-income tax */ \
  F(I13_48, 'N', 12, 2)     /* figure written by capital gains */ \
  F(I13_49, 'N', 12, 2)     /* added to `I13_03` on the summary screen */ \
  F(I13_50, 'N', 12, 2)     /* added to `I13_04` on the summary screen */ \
  F(I13_51, 'N', 12, 2)     /* total of annual payments */ \
  F(IR_EXTER, 'N', 12, 2)   /* tax paid abroad */ \
  F(QTD_QUOTA, 'N', 1, 0)   /* number of instalments of the balance due */ \
  /* official social security paid by the holder on income from individuals (carnê-leão modes 1 and */ \
  /* 3); part of line 09 */ \
  F(CARNEINSS, 'N', 12, 2) \
  F(CARNEDEPEN, 'N', 12, 2) /* the same, paid by the dependants */ \
  F(PREVIDENC, 'N', 12, 2)  /* not used by the system (0) */ \
  /* kind of the income from individuals typed in totals mode: "T" self-employed work, "A" rent, "O" */ \
  /* other */ \
  F(TIPO_PF, 'C', 1, 0) \
  F(totTrabT, 'N', 12, 2)   /* holder: income from self-employed work received from individuals */ \
  F(totAlugT, 'N', 12, 2)   /* holder: rents received from individuals */ \
  F(TotOutrT, 'N', 12, 2)   /* holder: other income from individuals */ \
  F(totTrabD, 'N', 12, 2)   /* dependants: same, self-employed work */ \
  F(totAlugD, 'N', 12, 2)   /* dependants: rents */ \
  F(TotOutrD, 'N', 12, 2)   /* dependants: other */ \
  /* increase of the rural-activity debts in the base year (new rural borrowing), a receipt of the */ \
  /* cash-flow check */ \
  F(EMPRUR, 'N', 12, 2) \
  /* decrease of the rural-activity debts in the base year (rural debt repaid), an expense of the */ \
  /* cash-flow check */ \
  F(AMORUR, 'N', 12, 2) \
  F(OUTREC, 'N', 12, 2)     /* other receipts, typed on the wealth balance form */ \
  F(VALFUTUR, 'N', 12, 2)   /* part of the sale price of the year's capital-gain sales still to be received */ \
  F(OUTRDES, 'N', 12, 2)    /* usual living expenses, typed on the wealth balance form */ \
  F(PREJVEN, 'N', 12, 2)    /* cleared by the capital-gain totals; not otherwise used */ \
  F(PREJVEN1, 'N', 12, 2)   /* losses on sales of small-value assets without a capital-gain record */ \
  /* rural-activity loss of the year (Brazil plus abroad) less the loss compensated `I5_09`, not */ \
  /* below 0 */ \
  F(PREJRUR, 'N', 12, 2) \
  F(PREJRVA, 'N', 12, 2)    /* variable-income losses of the year */ \
  F(LUCRRVA, 'N', 12, 2)    /* variable-income profits of the year */ \
  F(DESPNAO, 'N', 12, 2)    /* cost of keeping the assets */ \
  F(EMPREST, 'N', 12, 2)    /* new borrowing of the year, from the debt lines */ \
  F(DESPDECLA, 'N', 12, 2)  /* declared expenses of the cash-flow check */ \
  F(DESPADRAO, 'N', 12, 2)  /* simplified discount */ \
  F(INDALERTA, 'N', 2, 0)   /* alert threshold (default 10) */ \
  F(IMPOANTER, 'N', 12, 2)  /* taxes of earlier years paid in the base year */ \
  F(CUSTOANT, 'N', 12, 2)   /* acquisition cost of earlier years of the assets sold in the year */ \
  F(CUSTOANO, 'N', 12, 2)   /* acquisition cost paid in the base year of the assets sold */ \
  F(ENTRADGP, 'N', 12, 2)   /* amounts received in the year from capital-gain sales */ \
  /* non-taxable gain plus taxed gain less tax paid of the year's sales, subtracted from the receipts */ \
  /* of the cash-flow check */ \
  F(ISENTNAO, 'N', 12, 2) \
  F(CAL_AUTO, 'N', 1, 0)    /* carnê-leão grid computation mode (default 1) */ \
  F(SO_REC, 'L', 1, 0)      /* carnê-leão: .T. when only the amounts typed as paid count for the annual summary */ \
  F(NOVREG, 'L', 1, 0)      /* record created while the declaration stays open */
