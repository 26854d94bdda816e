// IMP10<yy>: monthly expense estimates per asset.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_10<tt> has the same layout.
#pragma once

#define KARDO_IMP10_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(CODDESP, 'N', 3, 0)    /* asset code the expense belongs to */ \
  F(DESCDESP, 'C', 25, 0)  /* expense kind (from `CODBENS`) */ \
  F(VALODESP, 'N', 12, 2)  /* monthly amount */ \
  F(DESCRITEM, 'C', 25, 0) /* asset description (first 25 characters) */
