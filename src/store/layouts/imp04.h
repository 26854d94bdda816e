// IMP04<yy>: assets and rights.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_04<tt> has the same layout.
#pragma once

#define KARDO_IMP04_FIELDS(F) \
  F(CPF, 'C', 11, 0)      /* taxpayer key */ \
  /* sort number of the line, renumbered 10, 20, 30 ... on every save; part of the key */ \
  F(I7_0, 'N', 4, 0) \
  F(I7_1, 'N', 3, 0)      /* item number */ \
  F(I7_2, 'C', 512, 0)    /* description (discriminação) */ \
  F(I7_3, 'N', 12, 2)     /* value on 31 December of the previous base year */ \
  F(I7_4, 'N', 12, 2)     /* value on 31 December of the base year */ \
  F(I7_5, 'N', 3, 0)      /* asset code (table `CODBENS`) */ \
  /* reference number of the asset line; links its instalment rows and heirs' shares in `IMP20` */ \
  /* (field `REFEREN`) */ \
  F(I7_6, 'N', 4, 0) \
  F(I7_7, 'C', 1, 0)      /* "S" asset abroad, blank in Brazil */ \
  F(I7_8, 'C', 3, 0)      /* country code (table `TABPAIS`) */ \
  /* value at 31/12 of the year before as declared in the previous year's declaration (column "20" + */ \
  /* year + " Original" of the asset grid; carried by the imports and conversions) */ \
  F(I7_9, 'N', 12, 2) \
  /* print mark of the assets-only printout: "S" code within the chosen range, "N" outside */ \
  F(I7_10, 'C', 1, 0) \
  F(ENDEIMO, 'C', 30, 0)  /* property street */ \
  F(NUMIMO, 'C', 6, 0)    /* property number */ \
  F(COMPIMO, 'C', 30, 0)  /* complement */ \
  F(BAIRIMO, 'C', 30, 0)  /* district */ \
  F(CEPIMO, 'C', 8, 0)    /* postcode */ \
  F(MUNICIMO, 'C', 30, 0) /* municipality */ \
  F(UFIMO, 'C', 2, 0)     /* state */ \
  F(CODMIMO, 'C', 4, 0)   /* municipality code */ \
  F(MATRICU, 'C', 40, 0)  /* property registration (matrícula) */ \
  F(LIVRORG, 'C', 40, 0)  /* registry book */ \
  F(CARTORIO, 'C', 40, 0) /* registry office */ \
  F(AREAIMO, 'N', 9, 1)   /* area */ \
  F(UNIDADE, 'C', 1, 0)   /* area unit letter */ \
  F(REGISTRO, 'C', 1, 0)  /* registered flag */ \
  F(CPF_CNPJ, 'C', 18, 0) /* CPF/CNPJ linked to the asset */ \
  F(DATA_IMO, 'D', 8, 0)  /* acquisition date */ \
  F(RENAVAM, 'C', 11, 0)  /* vehicle RENAVAM number */ \
  F(REG_NIRF, 'C', 8, 0)  /* rural property NIRF */ \
  F(REG_IPTU, 'C', 20, 0) /* urban property tax registration */ \
  F(REG_AVI, 'C', 30, 0)  /* aircraft registration */ \
  F(REG_BAR, 'C', 30, 0)  /* vessel registration */ \
  F(AGENCBAN, 'C', 4, 0)  /* bank branch */ \
  F(CONTABAN, 'C', 13, 0) /* bank account */ \
  F(DVBAN, 'C', 2, 0)     /* account check digit */ \
  /* completion mark of the asset's complementary data: "S" complete, "P" partly filled, "N" nothing */ \
  /* filled, blank (column "OK") */ \
  F(JA_FEZ, 'C', 1, 0) \
  F(FLAG1, 'L', 1, 0)     /* flag */
