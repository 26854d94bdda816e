// IMP16<yy>: rural properties.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_16<tt> has the same layout.
#pragma once

#define KARDO_IMP16_FIELDS(F) \
  F(CPF, 'C', 11, 0)       /* taxpayer key */ \
  F(ATV_BRASIL, 'C', 1, 0) /* location of the rural activity (Brazil or abroad); key part */ \
  F(I2R_01, 'C', 60, 0)    /* name of the property */ \
  F(I2R_02, 'N', 9, 2)     /* area in hectares */ \
  F(I2R_03, 'C', 8, 0)     /* NIRF of the property */ \
  F(I2R_04, 'N', 6, 2)     /* participation percentage */ \
  F(I2R_05, 'N', 1, 0)     /* exploitation condition code */ \
  F(I2R_06, 'C', 55, 0)    /* location */ \
  F(I2R_07, 'N', 2, 0)     /* activity code */ \
  F(VALITR, 'N', 12, 2)    /* rural land tax paid */ \
  F(CODPAIS, 'C', 3, 0)    /* country (abroad) */ \
  F(RECEXT, 'N', 12, 2)    /* gross receipts abroad */ \
  F(DESEXT, 'N', 12, 2)    /* expenses abroad */ \
  F(VALUSE, 'N', 7, 2)     /* exchange rate: units of the country's currency per US dollar */ \
  F(RESUS, 'N', 12, 2)     /* result of the property in US dollars */ \
  F(OPC20US, 'N', 12, 2)   /* 20 % of the property's receipts, in US dollars */ \
  F(OPC20RS, 'N', 12, 2)   /* the same in reais */
