// IMP07<yy>: capital-gain and variable-income operations.
// A numeric MOV_ACAO marks the current layout: a table without it is converted by the layout update.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_07<tt> has the same layout.
#pragma once

#define KARDO_IMP07_FIELDS(F) \
  F(CPF, 'C', 11, 0)        /* taxpayer key */ \
  F(CPFALIEN, 'C', 11, 0)   /* CPF of the person who sold (holder or dependant) */ \
  F(BEM_NRO, 'N', 2, 0)     /* operation number (key part) */ \
  F(RVAR_NRO, 'N', 2, 0)    /* sub-number (key part) */ \
  F(DAY_TRADE, 'C', 1, 0)   /* sub-kind letter (key part; "1" default) */ \
  F(TIPO_BEM, 'N', 1, 0)    /* kind of asset (1 default) */ \
  F(NRO_ITEM, 'N', 3, 0)    /* item number in the asset list */ \
  F(CPF_DEPE, 'C', 11, 0)   /* CPF of the dependant owner */ \
  F(CPFADQ, 'C', 18, 0)     /* buyer CPF/CNPJ */ \
  F(MAISDE1, 'C', 1, 0)     /* more than one buyer flag */ \
  F(CPFNOME, 'C', 250, 0)   /* list of buyers */ \
  F(PER_TRI, 'N', 10, 6)    /* percentage of the gain that is taxed */ \
  F(NOME_ADQ, 'C', 53, 0)   /* buyer name */ \
  F(ESPC_BEM, 'C', 152, 0)  /* description of the asset */ \
  F(RUAIMO, 'C', 11, 0)     /* street type */ \
  F(ENDEIMO, 'C', 30, 0)    /* street */ \
  F(NUMIMO, 'C', 6, 0)      /* number */ \
  F(COMPIMO, 'C', 21, 0)    /* complement */ \
  F(BAIRIMO, 'C', 20, 0)    /* district */ \
  F(CEPIMO, 'C', 8, 0)      /* postcode */ \
  F(MUNICIMO, 'C', 30, 0)   /* municipality */ \
  F(UFIMO, 'C', 2, 0)       /* state */ \
  F(DATA_ALI, 'D', 8, 0)    /* sale date */ \
  F(DATA_ADQ, 'D', 8, 0)    /* acquisition date */ \
  F(NOME_SOCIE, 'C', 32, 0) /* company name (shares/quotas) */ \
  F(CGC_SOCIE, 'C', 14, 0)  /* company CNPJ */ \
  F(CID_SOCIE, 'C', 30, 0)  /* company city */ \
  F(EST_SOCIE, 'C', 2, 0)   /* company state */ \
  F(IND_ALI, 'N', 11, 4)    /* index at sale */ \
  F(VAL_ALI, 'N', 12, 2)    /* sale value */ \
  F(CUS_ATUAL, 'N', 12, 2)  /* acquisition cost */ \
  F(VAL_CORR, 'N', 12, 2)   /* brokerage and sale costs */ \
  F(VAL_RECOL, 'N', 12, 2)  /* net amount received */ \
  F(VAL_RECUS, 'N', 12, 2)  /* net amount received in dollars */ \
  F(VAL_TRIBU, 'N', 12, 2)  /* taxable gain */ \
  F(VAL_NAOTRI, 'N', 12, 2) /* non-taxable gain */ \
  F(VAL_IMPOSV, 'N', 12, 2) /* tax due */ \
  F(VAL_IMPOSP, 'N', 12, 2) /* tax due, second figure */ \
  F(IMPPAGO, 'N', 12, 2)    /* tax paid */ \
  F(VEN_PRAZO, 'C', 1, 0)   /* "S" = instalment sale */ \
  F(PEQ_VALOR, 'C', 1, 0)   /* "S" = small-value asset */ \
  F(UNIC_IMOV, 'C', 1, 0)   /* "S" = only property */ \
  F(USU_440, 'C', 1, 0)     /* single-property exemption flag: "N" the exemption is applied, "S" not applied */ \
  F(NATUOPER, 'C', 30, 0)   /* nature of the operation */ \
  F(PARCOMPRA, 'C', 1, 0)   /* "S" when the cost is given in lots */ \
  F(VENDAANT, 'C', 1, 0)    /* "S" when the sale was made in an earlier year */ \
  F(USA_ART31, 'C', 1, 0)   /* "S" = proceeds reinvested in another property (default "N") */ \
  F(VAL_PARTE, 'N', 12, 2)  /* reinvested amount / tax paid abroad */ \
  F(PERART31, 'N', 10, 6)   /* percentage reinvested */ \
  F(TIPOPART, 'N', 1, 0)    /* shareholding sub-type set from the nature of the operation */ \
  F(FR1, 'N', 18, 8)        /* reduction factor 1 */ \
  F(FR2, 'N', 18, 8)        /* reduction factor 2 */ \
  F(REDUCAO, 'N', 12, 2)    /* reduction (pre-1988 holding) */ \
  F(FATOR1, 'N', 12, 2)     /* reduction by factor 1 */ \
  F(FATOR2, 'N', 12, 2)     /* reduction by factor 2 */ \
  F(GAN_TRIV, 'N', 12, 2)   /* capital gain */ \
  F(GAN_TRIP, 'N', 12, 2)   /* capital gain, second figure */ \
  F(VAL_ANTE, 'N', 12, 2)   /* amount received in earlier years */ \
  F(VAL_DIFE, 'N', 12, 2)   /* deferred amount */ \
  F(IMP_ANTE, 'N', 12, 2)   /* tax of earlier years */ \
  F(IMP_DIFE, 'N', 12, 2)   /* deferred tax */ \
  F(FOIDIFE, 'C', 1, 0)     /* "S" when the deferred amount was already listed in the previous year's assets */ \
  F(SUJREG, 'C', 1, 0)      /* "S" movable good subject to public registration */ \
  F(NEW, 'L', 1, 0)         /* record added while the declaration stays open */ \
  F(REFIRPF, 'C', 3, 0)     /* three-character reference of the operation in the official program's file */ \
  F(DATA_PAR, 'D', 8, 0)    /* date of the instalment */ \
  F(PERIMP, 'N', 10, 6)     /* average rate */ \
  F(CAUSA, 'C', 1, 0)       /* "S" transfer causa mortis */ \
  F(GANHOAN, 'N', 12, 2)    /* gain from an earlier sale */ \
  F(OUTRAVEN, 'C', 1, 0)    /* answer to the question about other sales ("S"/"N") */ \
  F(VALALIUS, 'N', 12, 2)   /* sale value in dollars */ \
  F(DOLARAQU, 'N', 10, 4)   /* dollar rate at acquisition */ \
  F(DOLARVEN, 'N', 10, 4)   /* dollar rate at sale */ \
  F(AQUI_US, 'N', 12, 2)    /* acquisition cost, foreign-currency origin */ \
  F(AQUI_BR, 'N', 12, 2)    /* acquisition cost, national origin */ \
  F(ALIE_US, 'N', 12, 2)    /* sale value, foreign-currency origin */ \
  F(ALIE_BR, 'N', 12, 2)    /* sale value, national origin */ \
  F(GCAP_US, 'N', 12, 2)    /* gain, foreign-currency origin */ \
  F(GCAP_BR, 'N', 12, 2)    /* gain, national origin */ \
  F(CODEXTE, 'C', 3, 0)     /* country with tax treaty */ \
  F(BEMBRASIL, 'C', 1, 0)   /* "S" = asset acquired in Brazil */ \
  F(CODNATUR, 'N', 2, 0)    /* nature code */ \
  F(CM_PONDER, 'N', 15, 6)  /* weighted average cost */ \
  F(MOV_ACAO, 'N', 9, 0)    /* quantity */ \
  /* per month 01 ... 12: REC_MESmm amount received in the month; VAL_TRImm taxable part received in */ \
  /* the month; DIA_RECmm day of receipt; IMP_DEVmm tax due for the month; IMP_PAGmm tax paid for the */ \
  /* month; IMP_LEImm tax withheld at source for the month; REC_USAmm amount received in dollars; */ \
  /* VAL_USAmm dollar rate of the month */ \
  F(REC_MES01, 'N', 12, 2) \
  F(VAL_TRI01, 'N', 12, 2) \
  F(DIA_REC01, 'N', 2, 0) \
  F(IMP_DEV01, 'N', 12, 2) \
  F(IMP_PAG01, 'N', 12, 2) \
  F(IMP_LEI01, 'N', 12, 2) \
  F(REC_USA01, 'N', 12, 2) \
  F(VAL_USA01, 'N', 10, 4) \
  F(REC_MES02, 'N', 12, 2) \
  F(VAL_TRI02, 'N', 12, 2) \
  F(DIA_REC02, 'N', 2, 0) \
  F(IMP_DEV02, 'N', 12, 2) \
  F(IMP_PAG02, 'N', 12, 2) \
  F(IMP_LEI02, 'N', 12, 2) \
  F(REC_USA02, 'N', 12, 2) \
  F(VAL_USA02, 'N', 10, 4) \
  F(REC_MES03, 'N', 12, 2) \
  F(VAL_TRI03, 'N', 12, 2) \
  F(DIA_REC03, 'N', 2, 0) \
  F(IMP_DEV03, 'N', 12, 2) \
  F(IMP_PAG03, 'N', 12, 2) \
  F(IMP_LEI03, 'N', 12, 2) \
  F(REC_USA03, 'N', 12, 2) \
  F(VAL_USA03, 'N', 10, 4) \
  F(REC_MES04, 'N', 12, 2) \
  F(VAL_TRI04, 'N', 12, 2) \
  F(DIA_REC04, 'N', 2, 0) \
  F(IMP_DEV04, 'N', 12, 2) \
  F(IMP_PAG04, 'N', 12, 2) \
  F(IMP_LEI04, 'N', 12, 2) \
  F(REC_USA04, 'N', 12, 2) \
  F(VAL_USA04, 'N', 10, 4) \
  F(REC_MES05, 'N', 12, 2) \
  F(VAL_TRI05, 'N', 12, 2) \
  F(DIA_REC05, 'N', 2, 0) \
  F(IMP_DEV05, 'N', 12, 2) \
  F(IMP_PAG05, 'N', 12, 2) \
  F(IMP_LEI05, 'N', 12, 2) \
  F(REC_USA05, 'N', 12, 2) \
  F(VAL_USA05, 'N', 10, 4) \
  F(REC_MES06, 'N', 12, 2) \
  F(VAL_TRI06, 'N', 12, 2) \
  F(DIA_REC06, 'N', 2, 0) \
  F(IMP_DEV06, 'N', 12, 2) \
  F(IMP_PAG06, 'N', 12, 2) \
  F(IMP_LEI06, 'N', 12, 2) \
  F(REC_USA06, 'N', 12, 2) \
  F(VAL_USA06, 'N', 10, 4) \
  F(REC_MES07, 'N', 12, 2) \
  F(VAL_TRI07, 'N', 12, 2) \
  F(DIA_REC07, 'N', 2, 0) \
  F(IMP_DEV07, 'N', 12, 2) \
  F(IMP_PAG07, 'N', 12, 2) \
  F(IMP_LEI07, 'N', 12, 2) \
  F(REC_USA07, 'N', 12, 2) \
  F(VAL_USA07, 'N', 10, 4) \
  F(REC_MES08, 'N', 12, 2) \
  F(VAL_TRI08, 'N', 12, 2) \
  F(DIA_REC08, 'N', 2, 0) \
  F(IMP_DEV08, 'N', 12, 2) \
  F(IMP_PAG08, 'N', 12, 2) \
  F(IMP_LEI08, 'N', 12, 2) \
  F(REC_USA08, 'N', 12, 2) \
  F(VAL_USA08, 'N', 10, 4) \
  F(REC_MES09, 'N', 12, 2) \
  F(VAL_TRI09, 'N', 12, 2) \
  F(DIA_REC09, 'N', 2, 0) \
  F(IMP_DEV09, 'N', 12, 2) \
  F(IMP_PAG09, 'N', 12, 2) \
  F(IMP_LEI09, 'N', 12, 2) \
  F(REC_USA09, 'N', 12, 2) \
  F(VAL_USA09, 'N', 10, 4) \
  F(REC_MES10, 'N', 12, 2) \
  F(VAL_TRI10, 'N', 12, 2) \
  F(DIA_REC10, 'N', 2, 0) \
  F(IMP_DEV10, 'N', 12, 2) \
  F(IMP_PAG10, 'N', 12, 2) \
  F(IMP_LEI10, 'N', 12, 2) \
  F(REC_USA10, 'N', 12, 2) \
  F(VAL_USA10, 'N', 10, 4) \
  F(REC_MES11, 'N', 12, 2) \
  F(VAL_TRI11, 'N', 12, 2) \
  F(DIA_REC11, 'N', 2, 0) \
  F(IMP_DEV11, 'N', 12, 2) \
  F(IMP_PAG11, 'N', 12, 2) \
  F(IMP_LEI11, 'N', 12, 2) \
  F(REC_USA11, 'N', 12, 2) \
  F(VAL_USA11, 'N', 10, 4) \
  F(REC_MES12, 'N', 12, 2) \
  F(VAL_TRI12, 'N', 12, 2) \
  F(DIA_REC12, 'N', 2, 0) \
  F(IMP_DEV12, 'N', 12, 2) \
  F(IMP_PAG12, 'N', 12, 2) \
  F(IMP_LEI12, 'N', 12, 2) \
  F(REC_USA12, 'N', 12, 2) \
  F(VAL_USA12, 'N', 10, 4)
