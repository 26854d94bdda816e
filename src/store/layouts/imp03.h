// IMP03<yy>: dependants, alimony beneficiaries, heirs.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_03<tt> has the same layout.
#pragma once

#define KARDO_IMP03_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(NOMEDEPEN, 'C', 41, 0) /* full name of the dependant, alimony beneficiary or heir */ \
  /* relationship code (table `CODEPEN`); 98 and 99 mark alimony beneficiaries abroad and in Brazil */ \
  F(CODIDEPEN, 'N', 3, 0) \
  F(DATADEPEN, 'D', 8, 0)  /* date of birth */ \
  F(CPFDEPEN, 'C', 11, 0)  /* CPF */ \
  F(NRODEPEN, 'N', 2, 0)   /* sequence number */ \
  F(CPFHERDE, 'C', 18, 0)  /* CPF or CNPJ of an heir */ \
  F(NITDEPEN, 'C', 11, 0)  /* NIT/PIS number */ \
  F(SAIUJUNT, 'C', 1, 0)   /* left the declaration together flag */
