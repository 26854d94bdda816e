// IMP11<yy>: notes and check results.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_11<tt> has the same layout.
#pragma once

#define KARDO_IMP11_FIELDS(F) \
  F(CPF, 'C', 11, 0)    /* taxpayer key */ \
  F(OBSERV, 'C', 75, 0) /* note or error text */ \
  F(CODERR, 'N', 2, 0)  /* error code (table `LisErro`) */ \
  F(PAGINA, 'N', 2, 0)  /* form page the error points to */
