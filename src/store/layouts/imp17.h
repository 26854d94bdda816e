// IMP17<yy>: rural assets.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_17<tt> has the same layout.
#pragma once

#define KARDO_IMP17_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(ATV_BRASIL, 'C', 1, 0) /* location of the rural activity (Brazil or abroad); key part */ \
  F(ITEM, 'N', 3, 0)       /* item number */ \
  F(CODIGO, 'N', 3, 0)     /* rural asset code (table `CODABENS`) */ \
  F(I8R_0, 'N', 4, 0)      /* line number (order of the work copy) */ \
  F(I8R_1, 'C', 512, 0)    /* description */ \
  F(I8R_2, 'N', 12, 2)     /* value */ \
  F(I8R_3, 'C', 3, 0)      /* country code */ \
  F(I8R_4, 'N', 1, 0)      /* status digit */
