// IMP13<yy>: recurring cash-book entries.
// Not copied out when a declaration is opened: the cash-book entry screen makes its own work copy.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_13<tt> has the same layout.
#pragma once

#define KARDO_IMP13_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(CDCONTA, 'C', 4, 0)    /* cash-book account code (table `CONTAS`) */ \
  F(DESCONTA, 'C', 60, 0)  /* account description */ \
  F(VALODESP, 'N', 13, 2)  /* amount */ \
  F(NROITEM, 'N', 3, 0)    /* item number */ \
  F(NROCGCCPF, 'C', 18, 0) /* CPF/CNPJ of the other party */ \
  F(LANCADO, 'L', 1, 0)    /* already posted */ \
  F(MESINI, 'N', 2, 0)     /* first month */ \
  F(MESFIM, 'N', 2, 0)     /* last month */ \
  F(CPFDEPEN, 'C', 11, 0)  /* CPF of the dependant */ \
  F(DESCRI, 'C', 50, 0)    /* free description */
