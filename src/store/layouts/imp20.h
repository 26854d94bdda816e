// IMP20<yy>: estate sharing among heirs, and instalments of a property.
// One row per heir and asset (heirs' shares) or per instalment of a property; both kinds point to
// their asset through REFEREN, the I7_6 of the asset line in IMP04.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_20<tt> has the same layout.
#pragma once

#define KARDO_IMP20_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key (the estate) */ \
  F(REFEREN, 'N', 4, 0)    /* reference number `I7_6` of the asset it belongs to */ \
  F(NOMEDEPEN, 'C', 41, 0) /* heir name */ \
  F(NRODEPEN, 'N', 2, 0)   /* heir number */ \
  F(CPFHERDE, 'C', 18, 0)  /* heir CPF/CNPJ (key part of the second index) */ \
  F(PERCENT, 'N', 6, 2)    /* share percentage */ \
  F(VALORBEM, 'N', 12, 2)  /* value of the share */ \
  F(DESCRBEM, 'C', 512, 0) /* asset description */ \
  F(CODIGBEM, 'N', 3, 0)   /* asset code */ \
  F(I7_7, 'C', 1, 0)       /* "S" asset abroad (copy of the asset's `I7_7`) */ \
  F(I7_8, 'C', 3, 0)       /* country code */ \
  F(VALPARCE, 'N', 12, 2)  /* instalment value */ \
  F(DATPARCE, 'D', 8, 0)   /* instalment date */ \
  F(PARCELAN, 'L', 1, 0)   /* .T. = paid in instalments */ \
  F(ENDEIMO, 'C', 30, 0)   /* property street */ \
  F(NUMIMO, 'C', 6, 0)     /* property number */ \
  F(COMPIMO, 'C', 30, 0)   /* complement */ \
  F(BAIRIMO, 'C', 30, 0)   /* district */ \
  F(CEPIMO, 'C', 8, 0)     /* postcode */ \
  F(MUNICIMO, 'C', 30, 0)  /* municipality */ \
  F(UFIMO, 'C', 2, 0)      /* state */ \
  F(CODMIMO, 'C', 4, 0)    /* municipality code */ \
  F(MATRICU, 'C', 40, 0)   /* property registration (matrícula) */ \
  F(LIVRORG, 'C', 40, 0)   /* registry book */ \
  F(CARTORIO, 'C', 40, 0)  /* registry office */ \
  F(AREAIMO, 'N', 9, 1)    /* area */ \
  F(UNIDADE, 'C', 1, 0)    /* area unit letter */ \
  F(REGISTRO, 'C', 1, 0)   /* registered flag */ \
  F(CPF_CNPJ, 'C', 18, 0)  /* CPF/CNPJ linked to the asset */ \
  F(DATA_IMO, 'D', 8, 0)   /* acquisition date */ \
  F(RENAVAM, 'C', 11, 0)   /* vehicle RENAVAM number */ \
  F(REG_NIRF, 'C', 8, 0)   /* rural property NIRF */ \
  F(REG_IPTU, 'C', 20, 0)  /* urban property tax registration */ \
  F(REG_AVI, 'C', 30, 0)   /* aircraft registration */ \
  F(REG_BAR, 'C', 30, 0)   /* vessel registration */
