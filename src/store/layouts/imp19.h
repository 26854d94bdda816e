// IMP19<yy>: rural cash book.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_19<tt> has the same layout.
#pragma once

#define KARDO_IMP19_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(ATV_BRASIL, 'C', 1, 0) /* location of the rural activity (Brazil or abroad); key part */ \
  F(DT_LC, 'D', 8, 0)      /* entry date (key part) */ \
  F(DESCR, 'C', 41, 0)     /* description */ \
  F(VALOR, 'N', 14, 2)     /* amount */ \
  F(NROIMO, 'N', 2, 0)     /* property number */ \
  F(TIPOCR, 'C', 1, 0)     /* "C" receipt, "D" expense */ \
  F(TEMITR, 'C', 1, 0)     /* "S" on an expense that is the property's rural land tax (ITR) */
