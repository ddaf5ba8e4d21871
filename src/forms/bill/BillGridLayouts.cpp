#include "BillGridLayouts.h"

namespace BillGridLayouts {

namespace {
constexpr const char* kDate = "dd/MM/yyyy";
constexpr const char* kAmount = "#,###.00";
}  // namespace

const QList<Column>& storico() {
    static const QList<Column> columns = {
        {"EF06_PROGSTO", "Progr.", 12, 510, ""},
        {"EF06_DATAREG", "Data reg.", 4, 1005, kDate},
        {"EF06_INDTIPOPER", "Tipo operazione", 1, 1514, ""},
        {"EF06_NUMREGMOV_CO99", "Nr. reg.", 1, 1300, ""},
        {"EF06_RIGACONTMOV_CG42", "Riga cont.", 12, 840, ""},
        {"EF06_PROGECMOV_EC01", "Prog. E/C", 12, 840, ""},
        {"EF06_SCADE_S", "Data scad.", 4, 1050, kDate},
        {"EF06_IMPEFF_S", "Importo eff.", 12, 1230, kAmount},
        {"EF06_IMPEFFVAL_S", "Imp. eff. val.", 12, 1125, kAmount},
        {"EF06_IMPEFFNETPREV_S", "Imp. eff. netto prev.", 12, 1575, kAmount},
        {"EF06_IMPEFFNETPREVVAL_S", "Imp. eff. netto prev. val.", 12, 1875, kAmount},
        {"EF06_IMPMOVPAG", "Imp. mov. pag.", 12, 1155, kAmount},
        {"EF06_IMPMOVPAGVAL", "Imp. mov. pag. val.", 12, 1514, kAmount},
        {"EF06_IMPMOVABB", "Imp. abbuono", 12, 1140, kAmount},
        {"EF06_IMPMOVABBVAL", "Imp. abb. val.", 12, 1140, kAmount},
        {"EF06_IMPMOVACC", "Imp. acconto", 12, 1095, kAmount},
        {"EF06_IMPMOVACCVAL", "Imp. acc. val.", 12, 1125, kAmount},
        {"EF06_IMPMOVRIT", "Imp. rit.", 12, 1095, kAmount},
        {"EF06_IMPMOVRITVAL", "Imp. rit. val.", 12, 1125, kAmount},
        {"EF06_BANCAPRE_S", "Banca pres.", 1, 1005, ""},
        {"EF06_AGENZPRE_S", "Agen. pres.", 1, 930, ""},
        {"EF06_FLGSTEFF_S", "St. eff.", 1, 570, ""},
        {"EF06_NUMSTEFF_S", "Num. st. eff.", 1, 975, ""},
        {"EF06_INDSTATO_S", "Stato effetto", 1, 1275, ""},
        {"EF06_INDGENSTATO_S", "Generaz. stato", 1, 1290, ""},
        {"EF06_NUMRIEMIS_S", "Num. riemiss.", 1, 1065, ""},
        {"EF06_NUMASSEGNO", "Num. assegno", 1, 1514, ""},
        {"EF06_NUMCCASSEGN", "C/C assegno", 1, 1110, ""},
        {"EF06_INDPRES_S", "Tipo presentazione", 1, 1755, ""},
        {"EF06_INDTIPODIST_EF09", "Tipo distinta", 1, 1770, ""},
        {"EF06_ANNO_EF09", "Anno", 1, 450, ""},
        {"EF06_NUMDIST_EF09", "Num. dist.", 1, 810, ""},
        {"EF06_FLGGIRATO_S", "Girato", 1, 855, ""},
        {"EF06_FLGRICEVUTO_S", "Ricev.", 1, 840, ""},
        {"EF06_INDSPERIT_S", "Mod. reg. spe. rit.", 1, 2430, ""},
        {"EF06_PROGEFFSPE", "N.eff. creato", 1, 1050, ""},
        {"EF06_SPESERIT_S", "Add. al cliente", 1, 1140, ""},
        {"EF06_SPESERITBAN_S", "Add. dalla banca", 1, 1335, ""},
        {"EF06_INDORDPBONIF_EF10", "Tipo documento", 1, 1710, ""},
        {"EF06_ANNO_EF10", "Anno", 1, 480, ""},
        {"EF06_NUMORDPBONIF_EF10", "N. dist.", 1, 570, ""},
        {"EF06_BONFLGCONF", "Conf.", 1, 450, ""},
        {"EF06_ORDBONCCFORN", "C/C fornit.", 1, 810, ""},
        {"EF06_ORDBONABI_CG13", "Banca pres.", 1, 945, ""},
        {"EF06_ORDBONCAB_CG13", "Agenzia pres.", 1, 1095, ""},
        {"EF06_ORDBONMOTIVO", "Motivo", 1, 1770, ""},
        {"EF06_DIFFCAMBIO", "Diff.cambio", 1, 1514, ""},
    };
    return columns;
}

const QList<Column>& solleciti() {
    static const QList<Column> columns = {
        {"EF05_PROGAVVISI", "Nr. avv.", 12, 525, ""},
        {"EF05_DATAAVVISO", "Data avv.", 4, 930, kDate},
        {"EF05_DATARIFELAB", "Data elab.", 4, 975, kDate},
        {"EF05_FLGCALCINT", "Calc.int.", 1, 660, ""},
        {"EF05_TASSOINT", "Tasso int.", 12, 795, kAmount},
        {"EF05_DADATACALC", "Da data calc.", 4, 1050, kDate},
        {"EF05_ADATACALC", "A data calc.", 1, 960, ""},
        {"EF05_IMPINTERES", "Imp. interessi", 12, 1110, kAmount},
        {"EF05_SPESERIT", "Spese rit.", 12, 840, kAmount},
        {"EF05_SPBOLLO", "Bollo", 12, 735, kAmount},
        {"EF05_SPPOST", "Postali", 12, 855, kAmount},
        {"EF05_SPVARIE", "Varie", 12, 765, kAmount},
        {"EF05_SIGLALETTERA", "Sigla lett.", 1, 765, ""},
        {"EF05_INDBLOC", "Tipo blocco", 1, 1380, ""},
        {"EF05_CODBLOC_MG25", "Cod. blocco", 1, 930, ""},
        {"EF05_FLGAZLEGAL", "Azione leg.", 1, 870, ""},
        {"EF05_FLGINVIOAGE", "Invio age.", 1, 855, ""},
        {"EF05_FLGEMISDOC", "Emiss. doc.", 1, 930, ""},
        {"EF05_DOCUM_MG36", "Tipo doc.", 1, 2070, ""},
        {"EF05_DATADOC", "Data doc.", 4, 855, kDate},
        {"EF05_NUMDOC", "Num. doc.", 12, 840, ""},
        {"EF05_SEZDOC", "Sez. doc.", 1, 735, ""},
        {"EF05_FLGDOCBIS", "Bis", 1, 315, ""},
        {"EF05_FLGPERS1", "Pers. 1", 1, 570, ""},
        {"EF05_FLGPERS2", "Pers. 2", 1, 660, ""},
    };
    return columns;
}

}  // namespace BillGridLayouts
