// IMP05<yy>: debts and charges.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_05<tt> has the same layout.
#pragma once

#define KARDO_IMP05_FIELDS(F) \
  F(CPF, 'C', 11, 0)   /* taxpayer key */ \
  /* sort number of the line, renumbered 10, 20, 30 ... on every save; part of the key */ \
  F(I8_0, 'N', 4, 0) \
  F(I8_1, 'N', 3, 0)   /* item number */ \
  F(I8_2, 'C', 512, 0) /* description */ \
  F(I8_3, 'N', 12, 2)  /* balance on 31 December of the previous base year */ \
  F(I8_4, 'N', 12, 2)  /* balance on 31 December of the base year */ \
  F(I8_5, 'N', 3, 0)   /* debt code (table `CODDIVI`) */ \
  /* value at 31/12 of the year before as declared in the previous year's declaration (like `I7_9`) */ \
  F(I8_6, 'N', 12, 2) \
  F(I8_7, 'N', 12, 2)  /* amount paid in the year */
