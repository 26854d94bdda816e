// IMP15<yy>: rural activity totals, one record per location.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_15<tt> has the same layout.
#pragma once

#define KARDO_IMP15_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(ATV_BRASIL, 'C', 1, 0) /* location of the rural activity (Brazil or abroad); key part */ \
  /* per month 01 ... 12: gross receipts I3_mmOR, expenses I3_mmOD */ \
  F(I3_01OR, 'N', 12, 2) \
  F(I3_01OD, 'N', 12, 2) \
  F(I3_02OR, 'N', 12, 2) \
  F(I3_02OD, 'N', 12, 2) \
  F(I3_03OR, 'N', 12, 2) \
  F(I3_03OD, 'N', 12, 2) \
  F(I3_04OR, 'N', 12, 2) \
  F(I3_04OD, 'N', 12, 2) \
  F(I3_05OR, 'N', 12, 2) \
  F(I3_05OD, 'N', 12, 2) \
  F(I3_06OR, 'N', 12, 2) \
  F(I3_06OD, 'N', 12, 2) \
  F(I3_07OR, 'N', 12, 2) \
  F(I3_07OD, 'N', 12, 2) \
  F(I3_08OR, 'N', 12, 2) \
  F(I3_08OD, 'N', 12, 2) \
  F(I3_09OR, 'N', 12, 2) \
  F(I3_09OD, 'N', 12, 2) \
  F(I3_10OR, 'N', 12, 2) \
  F(I3_10OD, 'N', 12, 2) \
  F(I3_11OR, 'N', 12, 2) \
  F(I3_11OD, 'N', 12, 2) \
  F(I3_12OR, 'N', 12, 2) \
  F(I3_12OD, 'N', 12, 2) \
  /* result computation */ \
  F(I4R_01, 'N', 12, 2)    /* total receipts */ \
  F(I4R_02, 'N', 12, 2)    /* total expenses */ \
  F(I4R_03, 'N', 12, 2)    /* result */ \
  F(I4R_04, 'N', 12, 2)    /* loss of earlier years */ \
  F(I4R_05, 'N', 12, 2)    /* loss compensated */ \
  F(I4R_06, 'N', 12, 2)    /* limit of 20 % of receipts */ \
  F(I4R_07, 'N', 12, 2)    /* line 7 */ \
  F(I5_08, 'N', 12, 2)     /* loss to carry forward */ \
  F(I5_09, 'N', 12, 2)     /* advances received in the base year for sales with future delivery */ \
  F(I5_10, 'N', 12, 2)     /* receipts in the base year for products delivered against earlier advances */ \
  F(I6_10, 'N', 12, 2)     /* non-taxable result */ \
  F(OPT_20, 'C', 1, 0)     /* "S" = result taken as 20 % of gross receipts */ \
  F(OPT_20E, 'C', 1, 0)    /* same option for the activity abroad */ \
  /* herd movement per row r: 1 initial stock, 2 and 3 added, 4 and 5 taken away (final = 1 + 2 + 3 - */ \
  /* 4 - 5); per row the species A, B, C, S and V1 (the fifth, named in I7_V1) */ \
  F(I7_1A, 'N', 6, 0) \
  F(I7_1B, 'N', 6, 0) \
  F(I7_1C, 'N', 6, 0) \
  F(I7_1S, 'N', 6, 0) \
  F(I7_1V1, 'N', 6, 0) \
  F(I7_2A, 'N', 6, 0) \
  F(I7_2B, 'N', 6, 0) \
  F(I7_2C, 'N', 6, 0) \
  F(I7_2S, 'N', 6, 0) \
  F(I7_2V1, 'N', 6, 0) \
  F(I7_3A, 'N', 6, 0) \
  F(I7_3B, 'N', 6, 0) \
  F(I7_3C, 'N', 6, 0) \
  F(I7_3S, 'N', 6, 0) \
  F(I7_3V1, 'N', 6, 0) \
  F(I7_4A, 'N', 6, 0) \
  F(I7_4B, 'N', 6, 0) \
  F(I7_4C, 'N', 6, 0) \
  F(I7_4S, 'N', 6, 0) \
  F(I7_4V1, 'N', 6, 0) \
  F(I7_5A, 'N', 6, 0) \
  F(I7_5B, 'N', 6, 0) \
  F(I7_5C, 'N', 6, 0) \
  F(I7_5S, 'N', 6, 0) \
  F(I7_5V1, 'N', 6, 0) \
  F(I7_V1, 'C', 22, 0)     /* name of the fifth herd species */ \
  F(SO_TOTAL, 'L', 1, 0)   /* .T. = only monthly totals are typed (no cash book) */
