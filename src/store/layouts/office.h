// Tables of the data folder that the system creates when missing, besides the settings tables:
// lists kept by the office and per-terminal work lists.
// One F(name, type, width, decimals) per stored field, in stored order. A repeated name gets a
// fifth argument, the stored name, and its own member name.
#pragma once

// Taxes and refunds corrected by the SELIC rates.
#define KARDO_IMPCORRIG_FIELDS(F) \
  F(CPF, 'C', 11, 0) \
  F(NOMECONTR, 'C', 53, 0) \
  F(IMPPGRE, 'N', 12, 2) \
  F(QTD_QUOTA, 'N', 1, 0) \
  F(IMPOSTO, 'N', 12, 2) \
  F(RESTITU, 'N', 12, 2) \
  F(CORRIGI, 'N', 12, 2)

// Library of asset descriptions.
#define KARDO_AUXBENS_FIELDS(F) \
  F(DESCRICAO, 'C', 512, 0) \
  F(CODIGO, 'N', 3, 0)

// Library of payment beneficiaries.
#define KARDO_AUXPAG_FIELDS(F) \
  F(NOME, 'C', 50, 0) \
  F(CGCCPF, 'C', 18, 0) \
  F(CODIGO, 'N', 2, 0)

// Library of paying sources.
#define KARDO_AUXFON_FIELDS(F) \
  F(NOME, 'C', 50, 0) \
  F(CGCCPF, 'C', 18, 0)

// Error catalogue of the consistency check.
#define KARDO_LISERRO_FIELDS(F) \
  F(coderr, 'N', 2, 0) \
  F(DESCRI, 'C', 60, 0) \
  F(GRAU, 'N', 1, 0)   /* severity */ \
  F(PAGINA, 'N', 2, 0) /* form page */

// Income statements of the office's clients.
#define KARDO_FOLHAPG_FIELDS(F) \
  F(CPF, 'C', 11, 0) \
  F(NOMECONTR, 'C', 47, 0) \
  F(NOMEFONTE, 'C', 40, 0) \
  F(CNPJFONTE, 'C', 18, 0) \
  F(RENDIMENT, 'N', 12, 2) /* income */ \
  F(PREVOFICA, 'N', 12, 2) /* official social security */ \
  F(PREVPRIVA, 'N', 12, 2) /* private pension */ \
  F(PENSAOPAG, 'N', 12, 2) /* alimony paid */ \
  F(IRRETIDO, 'N', 12, 2)  /* tax withheld */ \
  F(ISENTOAPO, 'N', 12, 2) /* retirement exemption over 65 */ \
  F(DIARIAS, 'N', 12, 2)   /* daily allowances */ \
  F(PENSAOREC, 'N', 12, 2) /* retirement for illness */ \
  F(LUCRODIV, 'N', 12, 2)  /* profits */ \
  F(SOCIO, 'N', 12, 2)     /* partner income */ \
  F(IDENIZA, 'N', 12, 2)   /* indemnities */ \
  F(DECIMO3RO, 'N', 12, 2) /* 13th salary */ \
  F(COMPLENTA, 'C', 40, 0) /* complement */ \
  F(OUTROS, 'C', 40, 0)    /* description of other exempt income */ \
  F(OUTROSEXC, 'C', 40, 0) /* description of other exclusively taxed income */ \
  F(VALOUTRO, 'N', 12, 2)  /* other exempt */ \
  F(VALOUTRE, 'N', 12, 2)  /* other exclusively taxed */ \
  F(IRRF13, 'N', 12, 2)    /* tax on the 13th salary */ \
  F(VALRENRRA, 'N', 12, 2) /* accumulated income */ \
  F(VALACAO, 'N', 12, 2)   /* its lawsuit costs */ \
  F(VALPRERRA, 'N', 12, 2) /* its social security */ \
  F(VALPENRRA, 'N', 12, 2) /* its alimony */ \
  F(VALIRFRRA, 'N', 12, 2) /* its tax */ \
  F(VALMOLRRA, 'N', 12, 2) /* its illness pension */ \
  F(QTDMES, 'N', 5, 1)     /* months of accumulated income */

// Bank slips issued. NRODOCUM is stored twice, as existing files have it; reads and writes by
// name reach the first.
#define KARDO_BOLETO_FIELDS(F) \
  F(NRODOCUM, 'N', 5, 0) \
  F(NOSSONRO, 'N', 8, 0) \
  F(DATADOC, 'D', 8, 0) /* due date */ \
  F(NRODOCUM_2, 'N', 5, 0, NRODOCUM) \
  F(VALORDOC, 'N', 12, 2) \
  F(NOMESAC, 'C', 30, 0) /* payer */ \
  F(CPFSAC, 'C', 11, 0)

// Per-terminal detail lines of a fee or balance.
#define KARDO_DETALH_FIELDS(F) \
  F(DESCRICAO, 'C', 40, 0) \
  F(VALORDOC, 'N', 12, 2) \
  F(PERCDESP, 'N', 9, 2) \
  F(PERCRECE, 'N', 9, 2)

// Taxpayers found in files to convert or import.
#define KARDO_LISNOME_FIELDS(F) \
  F(CPF, 'C', 11, 0) \
  F(NOMECONTR, 'C', 40, 0) \
  F(NOMEARQ, 'C', 80, 0) /* file found */ \
  F(TIPO, 'C', 12, 0) \
  F(ORIGEM, 'C', 12, 0) \
  F(IMPRE, 'C', 1, 0)    /* selection mark */

// Agenda of appointments.
#define KARDO_AGENDA_FIELDS(F) \
  F(NOMEAG, 'C', 22, 0) /* operator */ \
  F(HORAG, 'C', 5, 0)   /* time as four digits, hours then minutes */ \
  F(ANOTAG, 'C', 60, 0) /* note */ \
  F(DATAG, 'D', 8, 0) \
  F(AVISAG, 'L', 1, 0)  /* .T. = remind */

// Usage log: who worked on which declaration, when (clock texts "hh:mm:ss").
#define KARDO_USOLOG_FIELDS(F) \
  F(NOMEAG, 'C', 22, 0) \
  F(CPF, 'C', 11, 0) \
  F(NOMECONTR, 'C', 53, 0) \
  F(DATAUSO, 'D', 8, 0) \
  F(INIUSO, 'C', 8, 0) \
  F(FIMUSO, 'C', 8, 0) \
  F(TEMUSO, 'C', 8, 0)

// Banks and companies with their CNPJ and account data.
#define KARDO_AUXBANCO_FIELDS(F) \
  F(NOME, 'C', 30, 0) \
  F(CNPJ, 'C', 18, 0) \
  F(I7_5, 'N', 3, 0) /* work mark used while removing repeated CNPJs */ \
  F(AGENCBAN, 'C', 4, 0) \
  F(CONTABAN, 'C', 13, 0) \
  F(DVBAN, 'C', 2, 0)

// Text copy of the asset items of IMP04 for export, every field as text.
#define KARDO_DECBENS_FIELDS(F) \
  F(CPF, 'C', 11, 0) \
  F(I7_1, 'C', 3, 0) \
  F(I7_2, 'C', 512, 0) \
  F(I7_3, 'C', 14, 0) \
  F(I7_4, 'C', 14, 0) \
  F(I7_5, 'C', 3, 0) \
  F(ENDEIMO, 'C', 30, 0) \
  F(NUMIMO, 'C', 6, 0) \
  F(COMPIMO, 'C', 30, 0) \
  F(BAIRIMO, 'C', 30, 0) \
  F(CEPIMO, 'C', 8, 0) \
  F(MUNICIMO, 'C', 30, 0) \
  F(UFIMO, 'C', 2, 0) \
  F(I7_8, 'C', 3, 0) \
  F(REG_IPTU, 'C', 20, 0) \
  F(REG_NIRF, 'C', 8, 0) \
  F(DATA_IMO, 'C', 10, 0) \
  F(AREAIMO, 'C', 10, 0) \
  F(UNIDADE, 'C', 1, 0) \
  F(REGISTRO, 'C', 1, 0) \
  F(MATRICU, 'C', 40, 0) \
  F(LIVRORG, 'C', 40, 0) \
  F(CARTORIO, 'C', 40, 0) \
  F(REG_AVI, 'C', 30, 0) \
  F(RENAVAM, 'C', 11, 0) \
  F(REG_BAR, 'C', 30, 0) \
  F(AGENCBAN, 'C', 4, 0) \
  F(CONTABAN, 'C', 13, 0) \
  F(DVBAN, 'C', 2, 0) \
  F(CPF_CNPJ, 'C', 18, 0)
