// IMP06<yy>: payments made.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_06<tt> has the same layout.
#pragma once

#define KARDO_IMP06_FIELDS(F) \
  F(CPF, 'C', 11, 0)    /* taxpayer key */ \
  F(I6_1, 'C', 50, 0)   /* beneficiary name */ \
  F(I6_2, 'C', 18, 0)   /* beneficiary CPF, CNPJ or NIT */ \
  F(I6_3, 'N', 2, 0)    /* payment code (table `DESPESA`; part of the key) */ \
  F(I6_4, 'N', 12, 2)   /* total paid */ \
  F(I6_5, 'N', 12, 2)   /* non-deductible part / reimbursed */ \
  F(I6_6, 'N', 2, 0)    /* number of the dependant or alimony beneficiary it refers to */ \
  F(I6_7, 'C', 11, 0)   /* CPF of the domestic employee */ \
  /* amount paid per month 01 ... 12 */ \
  F(I6_401, 'N', 14, 2) \
  F(I6_402, 'N', 14, 2) \
  F(I6_403, 'N', 14, 2) \
  F(I6_404, 'N', 14, 2) \
  F(I6_405, 'N', 14, 2) \
  F(I6_406, 'N', 14, 2) \
  F(I6_407, 'N', 14, 2) \
  F(I6_408, 'N', 14, 2) \
  F(I6_409, 'N', 14, 2) \
  F(I6_410, 'N', 14, 2) \
  F(I6_411, 'N', 14, 2) \
  F(I6_412, 'N', 14, 2)
