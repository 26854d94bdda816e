// Settings tables of the data folder: the per-terminal CONFIG, CORES and ListaIMP (one record
// per terminal, key NRO_TERM), the office-wide DEFINE (one record) and the folder list
// DIRET<tt> of each terminal. Their default values are in store/catalog_defaults.h.
// One F(name, type, width, decimals) per stored field, in stored order.
#pragma once

#define KARDO_CONFIG_FIELDS(F) \
  F(NRO_TERM, 'C', 2, 0)   /* terminal number */ \
  F(ROTAANTER, 'C', 80, 0) /* installation folder of the previous year's system */ \
  F(ROTADOANO, 'C', 80, 0) /* current declaration folder (LOCARQ without the final separator) */ \
  F(ROTAREANT, 'C', 80, 0) /* files transmitted with the tax authority's program of the previous year */ \
  F(ROTARECEI, 'C', 80, 0) /* data folder of the tax authority's program of this year */ \
  F(ROTAJAVA, 'C', 80, 0)  /* folder the declarations are exported into for that program */ \
  F(ROTABACK, 'C', 80, 0)  /* last backup folder */ \
  F(dirtrab, 'C', 80, 0)   /* work folder (LOCTRAB without the final separator) */ \
  F(DIRPROV, 'C', 80, 0)   /* default origin folder for conversions */ \
  F(DIRINST, 'C', 80, 0)   /* installation folder of the previous year's system, for conversions */ \
  F(queimp, 'N', 2, 0)     /* print selection: what to print (1 ... 15) */ \
  F(quemod, 'N', 1, 0)     /* print selection: kind of sheet */ \
  F(quepag, 'N', 2, 0)     /* print selection: which pages */ \
  F(quecon, 'N', 1, 0)     /* print selection: whom (1 one, 2 several, 3 all, 4 all folders, 5 group) */ \
  F(ENV_STAT, 'N', 1, 0)   /* 1 = change the status after sending to the tax authority's program */ \
  F(MARESQ, 'N', 2, 0)     /* left margin of printouts */ \
  F(INIFOL, 'N', 2, 0)     /* first line of the sheet */ \
  F(LINETI, 'N', 2, 0)     /* lines per label */ \
  F(NRO_LIN, 'N', 2, 0)    /* lines per sheet */ \
  F(OPC_TRAN, 'N', 2, 0)   /* status given to a declaration after sending */ \
  F(compaga, 'N', 1, 0)    /* print option */ \
  F(ImpBem, 'C', 1, 0)     /* print option for the assets list */ \
  F(ImpBal, 'C', 1, 0)     /* print option for the wealth balance */ \
  F(mosimp, 'C', 1, 0)     /* "S" = offer printing to the printer */ \
  F(mostel, 'C', 1, 0)     /* "S" = offer printing to the screen */ \
  F(mosCPF, 'C', 1, 0)     /* "S" = printouts go to PROV-DOS.TXT, else to NAO-DOS.TXT */ \
  F(ult_ter, 'N', 1, 0)    /* not used by the system */ \
  F(ult_mod, 'N', 1, 0)    /* not used by the system */ \
  F(ult_cpf, 'C', 11, 0)   /* CPF of the last taxpayer opened on this terminal */ \
  F(XDRIVE, 'C', 1, 0)     /* drive letter for compressed backups */ \
  F(SOESTE, 'N', 2, 0)     /* status that sends a declaration when it is closed (with OPTTRAN 2) */ \
  F(OPTTRAN, 'N', 1, 0)    /* sending on close: 0 never, 1 always, 2 only with status SOESTE */ \
  F(NOVOIT, 'N', 2, 0)     /* not used by the system */ \
  F(ULTBACK, 'D', 8, 0)    /* last complete backup, or last time its reminder was postponed */ \
  F(OPCIRPF, 'C', 1, 0)    /* menu style inside a declaration: "J" new, "N" old */ \
  F(NOMEAG, 'C', 22, 0)    /* operator name of this terminal */ \
  F(OPCFIM, 'N', 1, 0)     /* after closing a declaration: 1 main menu, 0 stay in the selection */

#define KARDO_DEFINE_FIELDS(F) \
  /* due dates of quotas 1 ... 8 of the balance of tax */ \
  F(VCTO1, 'D', 8, 0) \
  F(VCTO2, 'D', 8, 0) \
  F(VCTO3, 'D', 8, 0) \
  F(VCTO4, 'D', 8, 0) \
  F(VCTO5, 'D', 8, 0) \
  F(VCTO6, 'D', 8, 0) \
  F(VCTO7, 'D', 8, 0) \
  F(VCTO8, 'D', 8, 0) \
  F(VAL_SEG, 'N', 5, 2)    /* fee per minute of work */ \
  F(VAL_BYTE, 'N', 5, 2)   /* fee per kilobyte of data of the declaration */ \
  F(VAL_MIN, 'N', 8, 2)    /* minimum fee */ \
  F(COMO_SAL, 'N', 1, 0)   /* saving mode */ \
  F(TEMP_SAL, 'N', 2, 0)   /* minutes between automatic saves; 0 manual only, 99 only when closing */ \
  F(TEMP_DES, 'N', 2, 0)   /* idle minutes after which the work clock stops */ \
  F(VAL_CPMF, 'N', 8, 4)   /* CPMF rate */ \
  F(VAL_DOLAR, 'N', 8, 4)  /* dollar rate */ \
  /* issuer of bank slips */ \
  F(BOL_BANCO, 'C', 4, 0) \
  F(BOL_AGENCI, 'C', 4, 0) \
  F(BOL_CONTA, 'C', 6, 0) \
  F(BOL_NOME, 'C', 30, 0) \
  F(BOL_CNPJ, 'C', 14, 0) \
  F(BOL_CPF, 'C', 11, 0) \
  F(BOL_CARTEI, 'C', 3, 0) \
  F(BOL_NOSNRO, 'N', 8, 0) /* last slip number */ \
  /* outgoing mail */ \
  F(SER_SMTP, 'C', 47, 0)  /* mail server */ \
  F(NOM_USUA, 'C', 40, 0)  /* sender name */ \
  F(EMA_USUA, 'C', 40, 0)  /* sender address */ \
  F(SEN_USUA, 'C', 19, 0)  /* mail password */ \
  F(MEMORIZ, 'C', 1, 0)    /* mail option */ \
  F(VER_ATUAL, 'C', 1, 0)  /* "N" = do not look for a new version at start-up */ \
  F(PROCESSA, 'C', 1, 0)   /* "S" = the 32-bit archiver, "N" = the 64-bit one */ \
  F(PROGCOMP, 'C', 1, 0)   /* "N" = copy a backup archive to the destination before extracting it */ \
  F(STATRAVA, 'N', 2, 0)   /* status code that locks a declaration against changes (0 = none) */

// A colour number is 16 x background + foreground (0 ... 15); a colour pair is foreground "/"
// background in the letters N, B, G, BG, R, BR, GR, W, with "+" for the bright half.
#define KARDO_CORES_FIELDS(F) \
  F(NRO_TERM, 'C', 2, 0) \
  F(COR_TEL1, 'N', 3, 0) \
  F(COR_TEL2, 'N', 3, 0) \
  F(COR_TEL3, 'N', 3, 0) \
  F(COR_MENS, 'N', 3, 0) \
  F(COR_PEGA, 'N', 3, 0) \
  F(COR_HELP, 'N', 3, 0) \
  F(COR_FERID, 'N', 3, 0) \
  F(COR_ESCOL, 'N', 3, 0) \
  F(COR_ENCHE, 'N', 3, 0) \
  F(COR_1_CLI, 'C', 10, 0) \
  F(COR_2_CLI, 'C', 10, 0) \
  F(COR_INI, 'C', 10, 0) \
  F(COR_SAY, 'C', 10, 0) \
  F(COR_GET, 'C', 10, 0) \
  F(COR_CLI_HE, 'C', 10, 0) \
  F(COR_ESC_CL, 'C', 10, 0) \
  F(COR_ENCH_C, 'C', 10, 0)

#define KARDO_LISTAIMP_FIELDS(F) \
  F(NRO_TERM, 'C', 2, 0) \
  F(NOMEIMP, 'C', 60, 0) /* chosen printer */ \
  F(IPADRAO, 'C', 60, 0) /* the system's default printer */ \
  F(SEQ0, 'C', 2, 0)     /* printer sequences: read by nothing, cleared when a printer is chosen */ \
  F(SEQ1, 'C', 2, 0)

#define KARDO_DIRET_FIELDS(F) \
  F(SELEC, 'C', 1, 0)    /* "S" marks the current folder */ \
  F(DIRETOR, 'C', 80, 0) /* folder path without the final separator */
