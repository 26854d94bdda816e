// IMP14<yy>: losses to carry forward.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_14<tt> has the same layout.
#pragma once

#define KARDO_IMP14_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(DESCRICAO, 'C', 40, 0) /* origin of the loss */ \
  F(PREJUIZO, 'N', 12, 2)  /* loss amount */
