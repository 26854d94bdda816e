// IMP09<yy>: taxpayer register, one record per taxpayer.
// The I13_nn fields are copies of the summary lines of IMP01, kept for the spouse look-up and the
// lists; the saved I13_27 holds I13_27 + I13_28 and the saved I13_35 holds I13_35 - I13_34.
// One F(name, type, width, decimals) per stored field, in stored order; the work copy
// TMP_09<tt> has the same layout.
#pragma once

#define KARDO_IMP09_FIELDS(F) \
  F(CPF, 'C', 11, 0)        /* taxpayer key (11 digits, no punctuation) */ \
  F(RETIFICA, 'C', 1, 0)    /* "S" = rectifying declaration */ \
  F(NOMECONTR, 'C', 53, 0)  /* taxpayer name */ \
  F(TIPOEND, 'C', 11, 0)    /* street type (table `TABLOGR`) */ \
  F(ENDERECO, 'C', 37, 0)   /* street */ \
  F(NUMERO, 'C', 6, 0)      /* number */ \
  F(COMPLEM, 'C', 21, 0)    /* complement */ \
  F(BAIRRO, 'C', 20, 0)     /* district */ \
  F(CEP, 'C', 9, 0)         /* postcode */ \
  F(CODMUNI, 'C', 4, 0)     /* municipality code */ \
  F(MUNICIPIO, 'C', 30, 0)  /* municipality */ \
  F(UF, 'C', 2, 0)          /* state */ \
  F(CODPAIS, 'C', 3, 0)     /* country code (address abroad) */ \
  F(CODEMB, 'C', 3, 0)      /* consulate code (table `TABEMBA`) */ \
  F(DDDTEL, 'C', 4, 0)      /* phone area code */ \
  F(TELEFO, 'C', 9, 0)      /* phone */ \
  F(DDDFAX, 'C', 4, 0)      /* mobile area code */ \
  F(NROFAX, 'C', 9, 0)      /* fax number */ \
  F(EMAIL, 'C', 40, 0)      /* e-mail address */ \
  F(NASCIMENTO, 'D', 8, 0)  /* date of birth */ \
  F(TITULO, 'C', 13, 0)     /* voter title number */ \
  F(CGCPAGADOR, 'C', 18, 0) /* CNPJ/CPF of the main paying source */ \
  F(OCUPACAO, 'C', 69, 0)   /* occupation name */ \
  F(CDPRO, 'C', 3, 0)       /* occupation code (table `OCUPACAO`) */ \
  F(CODAT, 'C', 2, 0)       /* nature-of-occupation code (table `CODNATUR`) */ \
  F(DESCRAT, 'C', 58, 0)    /* nature-of-occupation text */ \
  F(NRORECIBO, 'C', 12, 0)  /* receipt number of the declaration being rectified */ \
  F(RECIBOATU, 'C', 12, 0)  /* receipt number of this year's filing */ \
  F(RECIBOANT, 'C', 12, 0)  /* receipt number of last year's filing */ \
  F(CODACESSO, 'C', 12, 0)  /* access code for the tax authority */ \
  F(SENACESSO, 'C', 15, 0)  /* access password for the tax authority */ \
  F(VALIDSENA, 'D', 8, 0)   /* validity of that password */ \
  F(DENTREGA, 'D', 8, 0)    /* date the declaration was filed */ \
  F(EMPRESA, 'C', 40, 0)    /* employer or group name */ \
  F(NRETIF, 'N', 3, 0)      /* number of rectifications */ \
  F(TEMRURAL, 'C', 1, 0)    /* "S" = has a rural activity annex */ \
  F(ATV_BRASIL, 'C', 1, 0)  /* rural activity location letter */ \
  F(E_INVALIDO, 'C', 1, 0)  /* "S" = taxpayer with disability */ \
  F(REGPROF, 'C', 17, 0)    /* professional registration */ \
  F(NIT_TIT, 'C', 11, 0)    /* NIT/PIS of the holder */ \
  F(PROCBRASIL, 'C', 11, 0) /* CPF of the attorney in Brazil */ \
  F(EBRASIL, 'C', 1, 0)     /* "S" = address in Brazil */ \
  F(EXTERIOR, 'C', 1, 0)    /* "S" = address abroad */ \
  F(CPFCONJU, 'C', 11, 0)   /* spouse CPF */ \
  F(NOVOEND, 'C', 1, 0)     /* "S" = address changed */ \
  F(TEM_USO, 'N', 6, 0)     /* accumulated working time in seconds */ \
  F(TAM_USO, 'N', 6, 0)     /* size of the declaration in bytes */ \
  F(IMPRE, 'C', 1, 0)       /* selection mark for batch work */ \
  F(ESTATUS, 'N', 2, 0)     /* status code (table `STATUS`) */ \
  F(ORDEM, 'N', 2, 0)       /* work-order mark, cleared to 0 when the declaration is closed */ \
  F(SOMAG, 'C', 1, 0)       /* "N" when the deferred capital gain `VALFUTUR` is not counted as a receipt */ \
  F(I9_2, 'N', 12, 2)       /* spouse's result: base + exempt + exclusive + suspended - tax paid */ \
  F(I9_3, 'N', 12, 2)       /* the spouse's result counted in the receipts of the cash-flow check */ \
  F(I9_4, 'C', 1, 0)        /* "S" = spouse data fetched from the spouse's declaration */ \
  F(I9_5, 'C', 1, 0)        /* "S" when the spouse's figures are typed by hand ("Manual") */ \
  F(I9_6, 'C', 1, 0)        /* "S" when the spouse filed a declaration */ \
  F(DIRCONJU, 'C', 80, 0)   /* folder of the spouse's declaration */ \
  F(VALOREC, 'N', 12, 2)    /* fee to charge the client */ \
  F(BANCO, 'C', 3, 0)       /* refund bank */ \
  F(AGENCIA, 'C', 6, 0)     /* refund branch */ \
  F(CONTACO, 'C', 15, 0)    /* refund account */ \
  F(DEBITAUT, 'C', 1, 0)    /* "S" = automatic debit of quotas */ \
  F(SALDO, 'N', 12, 2)      /* cash-flow balance `SALDO` of the last computation */ \
  F(INDGAS, 'N', 6, 2)      /* cash-flow index in percent of the last computation */ \
  F(USAPADRAO, 'C', 1, 0)   /* "S" = simplified model, "N" = complete model */ \
  F(CONJPAD, 'C', 1, 0)     /* spouse's model (the spouse's `USAPADRAO` when looked up; "S" when typed by hand) */ \
  F(IMPPGRE, 'N', 12, 2)    /* tax to pay (positive) or refund */ \
  /* copy of summary line 20 (base of calculation), kept for the spouse look-up and the lists */ \
  F(I13_20, 'N', 12, 2) \
  F(I13_24, 'N', 12, 2)     /* copy of summary line 24 */ \
  F(I13_27, 'N', 12, 2)     /* copy of summary line 27 */ \
  F(I13_28, 'N', 12, 2)     /* copy of summary line 28 */ \
  F(I13_35, 'N', 12, 2)     /* copy of summary line 35 (total tax paid) */ \
  F(I13_44, 'N', 12, 2)     /* copy of summary line 44 (exempt total) */ \
  F(I13_45, 'N', 12, 2)     /* copy of summary line 45 (exclusive total) */ \
  F(EXGSUSP, 'N', 12, 2)    /* income with suspended enforceability */ \
  F(QTD_QUOTA, 'N', 1, 0)   /* number of quotas */ \
  F(I13_1C, 'N', 12, 2)     /* spouse's base of calculation typed by hand */ \
  F(I13_2C, 'N', 12, 2)     /* spouse's exempt income typed by hand */ \
  F(I13_3C, 'N', 12, 2)     /* spouse's exclusively taxed income typed by hand */ \
  F(I13_4C, 'N', 12, 2)     /* spouse's tax paid typed by hand */ \
  F(I13_5C, 'N', 12, 2)     /* spouse's income with suspended enforceability typed by hand */ \
  F(NUSUAT, 'C', 2, 0)      /* terminal number that has the declaration open (blank when closed) */ \
  /* "S" when, in the simplified model, the expenses of the simplified declaration replace the */ \
  /* declared expenses in the cash-flow check */ \
  F(SO_SIMPLES, 'C', 1, 0) \
  F(NOVO, 'C', 1, 0)        /* "S" for a taxpayer created by the previous-year conversion */ \
  F(TELCELU, 'C', 9, 0)     /* mobile phone */ \
  F(TELESCR, 'C', 9, 0)     /* office phone */ \
  F(TELSECR, 'C', 9, 0)     /* secretary phone */ \
  /* date of the last sale of a residence with the reinvestment exemption of Law 11.196 */ \
  F(ULTRESI, 'D', 8, 0) \
  /* date of the last property sale that counts for the five-year rule of the single-property */ \
  /* exemption */ \
  F(ULTIMOV, 'D', 8, 0) \
  F(NROBEN1, 'C', 11, 0)    /* benefit number 1 */ \
  F(NROBEN2, 'C', 11, 0)    /* benefit number 2 */ \
  F(NRQUOTA, 'N', 1, 0)     /* number of quota DARFs */ \
  F(DFQUOTA, 'N', 12, 2)    /* value of quota DARFs */ \
  F(NRCLEAO, 'N', 2, 0)     /* number of carnê-leão DARFs */ \
  F(DFCLEAO, 'N', 12, 2)    /* value of carnê-leão DARFs */ \
  F(NRGCAPIT, 'N', 2, 0)    /* number of capital-gain DARFs */ \
  F(DFGCAPIT, 'N', 12, 2)   /* value of capital-gain DARFs */ \
  F(NRRVARIV, 'N', 2, 0)    /* number of variable-income DARFs */ \
  F(DFRVARIV, 'N', 12, 2)   /* value of variable-income DARFs */ \
  F(TRIB_EX, 'N', 12, 2)    /* abroad: taxable */ \
  F(NTRIB_EX, 'N', 12, 2)   /* abroad: non-taxable */ \
  F(PREJU_EX, 'N', 12, 2)   /* abroad: loss */ \
  F(DIVAD_EX, 'N', 12, 2)   /* abroad: debts acquired */ \
  F(DIVPG_EX, 'N', 12, 2)   /* abroad: debts paid */ \
  F(TRIB_BR, 'N', 12, 2)    /* Brazil: taxable */ \
  F(NTRIB_BR, 'N', 12, 2)   /* Brazil: non-taxable */ \
  F(PREJU_BR, 'N', 12, 2)   /* Brazil: loss */ \
  F(DIVAD_BR, 'N', 12, 2)   /* Brazil: debts acquired */ \
  F(DIVPG_BR, 'N', 12, 2)   /* Brazil: debts paid */ \
  F(NOMEAG, 'C', 22, 0)     /* operator who last worked on it */
