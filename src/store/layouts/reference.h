// Reference tables supplied with the installation: the system reads them and never creates
// them, so only the fields it reads are fixed. One F(name) per field read; a file may hold
// other fields as well, in any order.
#pragma once

#define KARDO_HELPTXT_READS(F) F(NOME) /* topic */ F(TEXTO) /* memo text */
#define KARDO_CODBENS_READS(F) \
  F(CODBEM)   /* asset code */ \
  F(DESCBENS) /* description */ \
  F(DESPBEM)  /* kind of expense the asset causes */ \
  /* complementary data of assets with codes 20 and up: 0 none, 2 vehicle, 3 aircraft, 4 boat, */ \
  /* 5 bank account, 6 CNPJ and name, 7 CPF or CNPJ */ \
  F(TIPO)
#define KARDO_CODEPEN_READS(F) F(CODDEP) /* relationship code */ F(DESCRICAO)
#define KARDO_CODDIVI_READS(F) F(CODDIV) /* debt code */ F(DESCDIV)
#define KARDO_DESPESA_READS(F) F(CODDES) /* payment or donation code */ F(DESCDOA)
#define KARDO_UFIRM_READS(F) \
  F(ANOMES)    /* year and month as six digits, year first */ \
  F(SIMB_MOED) /* currency symbol, "R$  " */ \
  F(TJM)       /* SELIC rate of the month, percent */ \
  F(MULTIPL)
#define KARDO_BANCOS_READS(F) F(NUMBAN) /* bank number */ F(NOMEBAN) F(CNPJBAN)
#define KARDO_OCUPACAO_READS(F) F(CDPRO) /* occupation code */ F(OCUPACAO) /* name */
#define KARDO_CODNATUR_READS(F) F(CODAT) /* nature-of-occupation code */ F(DESCRAT)
#define KARDO_TABPAIS_READS(F) F(CODPAIS) F(NOMPAIS)
#define KARDO_TABEMBA_READS(F) F(CD_EX) /* consulate code */ F(NM_CIDADE) F(NM_PAIS) F(NM_REP)
// Cash-book chart of accounts: which entries need a CPF, a CNPJ, a description, a note.
#define KARDO_CONTAS_READS(F) \
  F(CDCONTA) F(NMDESCRICA) F(CDSTATUS) F(PAGINA) F(LINHA) F(TEMCPF) F(TEMCGC) F(LIVROCX) F(TEMDESCR) \
  F(TEMOBSV)
// Municipalities; TAB_MUNI has the same fields and is searched when TABMUNI has no match.
#define KARDO_TABMUNI_READS(F) F(NOMEMUNI) F(UNIFED) /* state */ F(NROMUNI) /* municipality code */
#define KARDO_TABLOGR_READS(F) F(NOMELOGRA) /* street type */
#define KARDO_STATUS_READS(F) F(COD) /* status code of a declaration */ F(DESCRICAO)
#define KARDO_CODABENS_READS(F) F(CODBEM) /* rural asset code */ F(DESCBENS)
// Funds for children and adolescents by city, for incentive donations.
#define KARDO_ECACIDAD_READS(F) F(NOME) F(CIDADE) F(CNPJ)
