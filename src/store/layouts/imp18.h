// IMP18<yy>: rural debts.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_18<tt> has the same layout.
#pragma once

#define KARDO_IMP18_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(ATV_BRASIL, 'C', 1, 0) /* location of the rural activity (Brazil or abroad); key part */ \
  F(I9R_0, 'N', 4, 0)      /* line number (order of the work copy) */ \
  F(ITEM, 'N', 3, 0)       /* item number */ \
  F(I9R_1, 'C', 512, 0)    /* description */ \
  F(I9R_2, 'N', 12, 2)     /* balance at the end of the previous base year */ \
  F(I9R_3, 'N', 12, 2)     /* balance at the end of the base year */ \
  F(I9R_4, 'N', 12, 2)     /* amount paid in the base year */ \
  F(I9R_5, 'N', 12, 2)     /* not used by the system (0) */
