// IMP02<yy>: income items.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_02<tt> has the same layout.
#pragma once

#define KARDO_IMP02_FIELDS(F) \
  F(CPF, 'C', 11, 0)    /* taxpayer key */ \
  /* kind of income item: "J" from legal entities to the holder, "D" to dependants; other letters for */ \
  /* the other income grids */ \
  F(I1_1, 'C', 1, 0) \
  F(I1_2, 'C', 60, 0)   /* name of the paying source */ \
  F(I1_3, 'C', 18, 0)   /* CNPJ or CPF of the paying source, with punctuation */ \
  F(I1_4, 'N', 12, 2)   /* income amount */ \
  F(I1_5, 'N', 12, 2)   /* tax withheld at source */ \
  F(I1_6, 'N', 12, 2)   /* official social security */ \
  F(I1_7, 'N', 12, 2)   /* 13th salary */ \
  F(I1_8, 'C', 11, 0)   /* CPF of the dependant who received it */ \
  F(TIPOCR, 'C', 1, 0)  /* accumulated-income entry kind ("AA"/"EF" column, one letter) */ \
  F(DT_LC, 'D', 8, 0)   /* date of the entry (individuals, abroad, departure) */ \
  F(I1_9, 'N', 12, 2)   /* I26 other exempt income */ \
  /* amount not edited on the grids (imports set it to 0); the export counts it with the dependants' */ \
  /* exclusively taxed income */ \
  F(I1_10, 'N', 12, 2) \
  F(I1_11, 'C', 1, 0)   /* "S" holder's line, "N" dependant's line */ \
  F(I1_12, 'N', 12, 2)  /* alimony paid out of accumulated income */ \
  F(I1_13, 'N', 12, 2)  /* I17 75 % of wages abroad */ \
  F(I1_14, 'N', 12, 2)  /* I18 bonus shares */ \
  F(I1_15, 'N', 12, 2)  /* I09 distributed profits */ \
  F(I1_16, 'N', 12, 2)  /* I13 partner of small firm */ \
  F(I1_17, 'N', 12, 2)  /* I10 retirement exemption over 65 */ \
  F(I1_18, 'N', 12, 2)  /* I11 retirement for illness */ \
  F(I1_19, 'N', 12, 2)  /* income with suspended enforceability */ \
  F(I1_20, 'N', 12, 2)  /* judicial deposit; tax due on accumulated income */ \
  F(I1_21, 'N', 5, 1)   /* number of months of accumulated income */ \
  F(I1_22, 'C', 11, 0)  /* CPF of the alimony beneficiary */ \
  F(I1_23, 'N', 12, 2)  /* I14 donations/inheritance */ \
  F(I1_24, 'N', 12, 2)  /* I02 resident-doctor grant */ \
  F(I1_25, 'N', 12, 2)  /* exempt benefit related to the FIFA events, added to exempt line 16 */ \
  F(I1_26, 'N', 12, 2)  /* I19 divorce sharing */ \
  F(I1_27, 'N', 12, 2)  /* I20 share sales up to the limit */ \
  F(I1_28, 'N', 12, 2)  /* I21 gold sales up to the limit */ \
  F(I1_29, 'N', 12, 2)  /* I01 scholarship */ \
  F(I1_30, 'N', 12, 2)  /* I04 indemnities */ \
  F(I1_31, 'N', 12, 2)  /* I16 tax compensated */ \
  F(I1_32, 'N', 12, 2)  /* E10 interest on own capital */ \
  F(I1_33, 'N', 12, 2)  /* E11 profit sharing */ \
  F(I1_34, 'N', 12, 2)  /* E12 other exclusively taxed */ \
  F(I1_35, 'C', 50, 0)  /* description of "other" income */ \
  F(I1_36, 'C', 2, 0)   /* month of receipt */ \
  F(I1_37, 'N', 12, 2)  /* I12 savings */ \
  F(I1_38, 'N', 12, 2)  /* E06 financial investments */ \
  F(I1_39, 'N', 12, 2)  /* tax withheld on the 13th salary */ \
  F(I1_40, 'C', 11, 0)  /* CPF of the beneficiary (individual-income grids) */ \
  F(I1_41, 'C', 1, 0)   /* type letter (individual-income grids) */ \
  F(NEW1, 'L', 1, 0)    /* record added while the declaration stays open */ \
  /* per month 01 ... 12: income I1_4mm, tax withheld I1_5mm, social security I1_6mm */ \
  F(I1_401, 'N', 12, 2) \
  F(I1_501, 'N', 12, 2) \
  F(I1_601, 'N', 12, 2) \
  F(I1_402, 'N', 12, 2) \
  F(I1_502, 'N', 12, 2) \
  F(I1_602, 'N', 12, 2) \
  F(I1_403, 'N', 12, 2) \
  F(I1_503, 'N', 12, 2) \
  F(I1_603, 'N', 12, 2) \
  F(I1_404, 'N', 12, 2) \
  F(I1_504, 'N', 12, 2) \
  F(I1_604, 'N', 12, 2) \
  F(I1_405, 'N', 12, 2) \
  F(I1_505, 'N', 12, 2) \
  F(I1_605, 'N', 12, 2) \
  F(I1_406, 'N', 12, 2) \
  F(I1_506, 'N', 12, 2) \
  F(I1_606, 'N', 12, 2) \
  F(I1_407, 'N', 12, 2) \
  F(I1_507, 'N', 12, 2) \
  F(I1_607, 'N', 12, 2) \
  F(I1_408, 'N', 12, 2) \
  F(I1_508, 'N', 12, 2) \
  F(I1_608, 'N', 12, 2) \
  F(I1_409, 'N', 12, 2) \
  F(I1_509, 'N', 12, 2) \
  F(I1_609, 'N', 12, 2) \
  F(I1_410, 'N', 12, 2) \
  F(I1_510, 'N', 12, 2) \
  F(I1_610, 'N', 12, 2) \
  F(I1_411, 'N', 12, 2) \
  F(I1_511, 'N', 12, 2) \
  F(I1_611, 'N', 12, 2) \
  F(I1_412, 'N', 12, 2) \
  F(I1_512, 'N', 12, 2) \
  F(I1_612, 'N', 12, 2)
