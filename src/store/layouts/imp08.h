// IMP08<yy>: cost lines and share movements.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_08<tt> has the same layout.
#pragma once

#define KARDO_IMP08_FIELDS(F) \
  F(CPF, 'C', 11, 0)        /* taxpayer key */ \
  F(BEM_NRO, 'N', 2, 0)     /* operation number it belongs to */ \
  F(RVAR_NRO, 'N', 2, 0)    /* sub-number */ \
  F(DAY_TRADE, 'C', 1, 0)   /* sub-kind letter */ \
  F(VALOR_REDU, 'N', 12, 2) /* reduction value */ \
  F(VALOR_CUST, 'N', 12, 2) /* cost or instalment amount */ \
  F(DATA_CUST, 'D', 8, 0)   /* date */ \
  F(IND_CUST, 'N', 10, 4)   /* index */ \
  F(PER_RED, 'N', 3, 0)     /* reduction percentage (pre-1988 holding) */ \
  F(PER_RED1, 'N', 11, 8)   /* reduction factor FR1 */ \
  F(PER_RED2, 'N', 11, 8)   /* reduction factor FR2 */ \
  F(PER_CUST, 'N', 12, 6)   /* percentage of the total cost */ \
  F(RESUL_2, 'N', 12, 2)    /* the lot's FR1 reduction amount */ \
  F(RESUL_3, 'N', 12, 2)    /* the lot's FR2 reduction amount */ \
  F(SALDO_COEF, 'N', 14, 4) /* running balance */ \
  F(CM_PONDER, 'N', 15, 6)  /* weighted average cost */ \
  F(SALDO_ACAO, 'N', 9, 0)  /* quantity held */ \
  F(MOV_ACAO, 'N', 9, 0)    /* quantity moved */ \
  F(CUST_UNI, 'N', 12, 2)   /* amount subject to reduction / operation total */ \
  F(CMED_COEF, 'N', 18, 4)  /* average cost in reais */ \
  F(TIPO_OPER, 'N', 1, 0)   /* movement kind */ \
  F(TIPO_ACAO, 'N', 1, 0)   /* kind of share */ \
  F(LOTE, 'C', 17, 0)       /* lot name, species or operation */
