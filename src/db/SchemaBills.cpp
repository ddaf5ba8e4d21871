#include "Schema.h"
#include "SchemaColumns.h"

using namespace SchemaColumns;

namespace {

TableDef scadenze() {
    TableDef t;
    t.name = QStringLiteral("EF01_SCADENZE");
    t.columns = {
        required(integer(QStringLiteral("EF01_DITTA_CG18"))),
        required(text(QStringLiteral("EF01_NUMREG_CO99"), 20)),
        required(integer(QStringLiteral("EF01_RIGACONT_CG42"))),
        required(integer(QStringLiteral("EF01_PROGEC_EC01"))),
        required(integer(QStringLiteral("EF01_PROGEFF"))),
        // Counterpart: a customer or supplier (archives 0, 1), or a ledger account (2, 3).
        integer(QStringLiteral("EF01_DITTACF_CG18")),
        code(QStringLiteral("EF01_TIPOCF_CG44")),
        integer(QStringLiteral("EF01_CLIFOR_CG44")),
        required(code(QStringLiteral("EF01_INDCONTO"))),
        integer(QStringLiteral("EF01_GRUPPO_CG10")),
        text(QStringLiteral("EF01_CONTO_CG24"), 20),
        integer(QStringLiteral("EF01_IDAGENTE_MG17")),
        integer(QStringLiteral("EF01_NUMEFF")),
        // The bill-type combo hands its codes as 32-bit integers.
        required(integer(QStringLiteral("EF01_TIPOEFF"))),
        text(QStringLiteral("EF01_STIPOEFF"), 6),
        required(date(QStringLiteral("EF01_SCADE_S"))),
        date(QStringLiteral("EF01_SCADEORIG")),
        code(QStringLiteral("EF01_NUMRATA")),
        code(QStringLiteral("EF01_TOTRATE")),
        date(QStringLiteral("EF01_DATAREG")),
        date(QStringLiteral("EF01_DATADOC")),
        integer(QStringLiteral("EF01_NUMDOC")),
        text(QStringLiteral("EF01_SEZDOC"), 4),
        flag(QStringLiteral("EF01_FLGDOCBIS")),
        text(QStringLiteral("EF01_NUMDOCORIG"), 20),
        code(QStringLiteral("EF01_ANNOPART")),
        integer(QStringLiteral("EF01_NUMPART")),
        text(QStringLiteral("EF01_SEZPART"), 4),
        flag(QStringLiteral("EF01_FLGPARTBIS")),
        required(text(QStringLiteral("EF01_CODICE_CG08"), 4)),
        date(QStringLiteral("EF01_DATACAMBIO")),
        rate(QStringLiteral("EF01_CAMBIO")),
        text(QStringLiteral("EF01_CONTRFINANZ"), 20),
        amount(QStringLiteral("EF01_IMPEFFVAL_S")),
        required(amount(QStringLiteral("EF01_IMPEFF_S"))),
        amount(QStringLiteral("EF01_IMPEFFNETPREVVAL_S")),
        amount(QStringLiteral("EF01_IMPEFFNETPREV_S")),
        amount(QStringLiteral("EF01_IMPEFFORIGVAL")),
        amount(QStringLiteral("EF01_IMPEFFORIG")),
        amount(QStringLiteral("EF01_IMPEFFIVA_VAL")),
        amount(QStringLiteral("EF01_IMPEFFIVA")),
        amount(QStringLiteral("EF01_TOTDOCVAL")),
        amount(QStringLiteral("EF01_TOTDOC")),
        amount(QStringLiteral("EF01_BOLLIVAL")),
        amount(QStringLiteral("EF01_BOLLI")),
        amount(QStringLiteral("EF01_SPINCVAL")),
        amount(QStringLiteral("EF01_SPINC")),
        amount(QStringLiteral("EF01_IMPRITACC")),
        amount(QStringLiteral("EF01_IMPRITACCVAL")),
        amount(QStringLiteral("EF01_IMPRITACCORIG")),
        amount(QStringLiteral("EF01_IMPRITACCORIGVAL")),
        integer(QStringLiteral("EF01_BANCAAPP_CG12")),
        integer(QStringLiteral("EF01_AGENAPP_CG13")),
        integer(QStringLiteral("EF01_BANCAPRE_SCG12")),
        integer(QStringLiteral("EF01_AGENPRE_SCG13")),
        text(QStringLiteral("EF01_CODPAG_CG62"), 10),
        code(QStringLiteral("EF01_INDSPERIT_S")),
        amount(QStringLiteral("EF01_SPESERIT_S")),
        amount(QStringLiteral("EF01_SPESERITBAN_S")),
        required(code(QStringLiteral("EF01_INDSTATO_S"))),
        code(QStringLiteral("EF01_INDPRES_S")),
        code(QStringLiteral("EF01_INDTIPOMOV")),
        code(QStringLiteral("EF01_INDGENSTATO_S")),
        code(QStringLiteral("EF01_INDLIQPROV")),
        flag(QStringLiteral("EF01_FLGSTEFF_S")),
        integer(QStringLiteral("EF01_NUMSTEFF_S")),
        flag(QStringLiteral("EF01_FLGEFFVAR")),
        flag(QStringLiteral("EF01_FLGACCONTO")),
        flag(QStringLiteral("EF01_FLGSOSPESO")),
        flag(QStringLiteral("EF01_FLGGENDARAG")),
        flag(QStringLiteral("EF01_FLGESTRAZ")),
        code(QStringLiteral("EF01_NUMRIEMIS_S")),
        flag(QStringLiteral("EF01_FLGRICEVUTO_S")),
        flag(QStringLiteral("EF01_FLGGIRATO_S")),
        amount(QStringLiteral("EF01_IMPADEGCAMBIO_S")),
        date(QStringLiteral("EF01_DATACAMBIOADCONTO_S")),
        rate(QStringLiteral("EF01_CAMBIOADCONTO_S")),
        flag(QStringLiteral("EF01_INDEXP")),
        flag(QStringLiteral("EF01_FLGINCASSOBF_S")),
        text(QStringLiteral("EF01_CUP"), 15),
        text(QStringLiteral("EF01_CIG"), 10),
        text(QStringLiteral("EF01_GUID"), 38),
        date(QStringLiteral("EF01_DATADECORR")),
        code(QStringLiteral("EF01_INDMERCEART62")),
        integer(QStringLiteral("EF01_PROGR_EF08")),
        integer(QStringLiteral("EF01_ID_MG35")),
        text(QStringLiteral("EF01_CODCCRED"), 20),
        code(QStringLiteral("EF01_ACCETTAZIONE")),
        integer(QStringLiteral("EF01_NUMEFFACCOR")),
        text(QStringLiteral("EF01_CAUSMGO_MGFO"), 6),
        text(QStringLiteral("EF01_NRAVVISOMAV"), 20),
        text(QStringLiteral("EF01_IDMEDIA_CG99"), 40),
    };
    t.primaryKey = {QStringLiteral("EF01_DITTA_CG18"), QStringLiteral("EF01_NUMREG_CO99"),
                    QStringLiteral("EF01_RIGACONT_CG42"), QStringLiteral("EF01_PROGEC_EC01"),
                    QStringLiteral("EF01_PROGEFF")};
    // The key itself and the registration number (with the company) are the primary key's
    // prefix. The archive conditions every selection starts with, then the usual order (due
    // date, registration number, Bill) completed by the rest of the key: a page of the selection
    // is a range of this index read in order.
    t.indexes = {
        {QStringLiteral("IX_EF01_ARCHIVIO"),
         {QStringLiteral("EF01_DITTA_CG18"), QStringLiteral("EF01_DITTACF_CG18"),
          QStringLiteral("EF01_TIPOCF_CG44"), QStringLiteral("EF01_INDCONTO"),
          QStringLiteral("EF01_GRUPPO_CG10"), QStringLiteral("EF01_CONTO_CG24"),
          QStringLiteral("EF01_SCADE_S"), QStringLiteral("EF01_NUMREG_CO99"), QStringLiteral("EF01_PROGEFF"),
          QStringLiteral("EF01_RIGACONT_CG42"), QStringLiteral("EF01_PROGEC_EC01")}},
        // The figures under the list (Bills, open and overdue amounts per currency) read from
        // the index alone, in currency order (no sort), and within a currency by registration
        // number, so that each Bill's document is found next to the one before.
        {QStringLiteral("IX_EF01_TOTALI"),
         {QStringLiteral("EF01_DITTA_CG18"), QStringLiteral("EF01_DITTACF_CG18"),
          QStringLiteral("EF01_TIPOCF_CG44"), QStringLiteral("EF01_INDCONTO"),
          QStringLiteral("EF01_GRUPPO_CG10"), QStringLiteral("EF01_CONTO_CG24"),
          QStringLiteral("EF01_CODICE_CG08"), QStringLiteral("EF01_NUMREG_CO99"),
          QStringLiteral("EF01_INDSTATO_S"), QStringLiteral("EF01_SCADE_S"), QStringLiteral("EF01_IMPEFF_S"),
          QStringLiteral("EF01_IMPEFFVAL_S")}},
        // One counterpart's Bills (the calling program's customer or supplier code).
        {QStringLiteral("IX_EF01_CLIFOR"),
         {QStringLiteral("EF01_DITTACF_CG18"), QStringLiteral("EF01_TIPOCF_CG44"),
          QStringLiteral("EF01_CLIFOR_CG44"), QStringLiteral("EF01_SCADE_S")}},
        // A ledger account's Bills (archive types 2 and 3 select by account).
        {QStringLiteral("IX_EF01_CONTO"),
         {QStringLiteral("EF01_GRUPPO_CG10"), QStringLiteral("EF01_CONTO_CG24"),
          QStringLiteral("EF01_SCADE_S")}},
    };
    return t;
}

TableDef masterDoc() {
    TableDef t;
    t.name = QStringLiteral("CO99_MASTERDOC");
    t.columns = {required(integer(QStringLiteral("CO99_DITTA_CG18"))),
                 required(text(QStringLiteral("CO99_NUMREG"), 20)),
                 required(code(QStringLiteral("CO99_INDTIPOOP"))),
                 date(QStringLiteral("CO99_DATACRE")),
                 text(QStringLiteral("CO99_GRUPPOCRE"), 20),
                 text(QStringLiteral("CO99_UTENTECRE"), 20),
                 code(QStringLiteral("CO99_INDCOIN"))};
    t.primaryKey = {QStringLiteral("CO99_DITTA_CG18"), QStringLiteral("CO99_NUMREG")};
    return t;
}

// A Bill's five key columns, once for the bill it was received from and once for the bill it
// was endorsed to; `side` is "RIC" or "GIR".
QList<ColumnDef> link(const QString& side) {
    return {integer(QStringLiteral("EF03_DITTA%1_EF01").arg(side)),
            text(QStringLiteral("EF03_NUMREG%1_EF01").arg(side), 20),
            integer(QStringLiteral("EF03_RIGACONT%1_EF01").arg(side)),
            integer(QStringLiteral("EF03_PROGEC%1_EF01").arg(side)),
            integer(QStringLiteral("EF03_PROGEFF%1_EF01").arg(side))};
}

TableDef cambialiCessioni() {
    TableDef t;
    t.name = QStringLiteral("EF03_SCADCECAM");
    t.columns = billKey(QStringLiteral("EF03_"));
    t.columns += {text(QStringLiteral("EF03_DEBITORE"), 60), text(QStringLiteral("EF03_PIAZZA"), 40)};
    t.columns += link(QStringLiteral("RIC"));
    t.columns += link(QStringLiteral("GIR"));
    t.columns += text(QStringLiteral("EF03_IDMEDIA_CG99"), 40);
    t.primaryKey = billKeyNames(QStringLiteral("EF03_"));
    return t;
}

TableDef note() {
    TableDef t;
    t.name = QStringLiteral("EF04_SCADNOTE");
    t.columns = billKey(QStringLiteral("EF04_"));
    t.columns += {text(QStringLiteral("EF04_NOTEAMMIN"), 2000), text(QStringLiteral("EF04_NOTERAGGR"), 2000),
                  text(QStringLiteral("EF04_IDMEDIA_CG99"), 40)};
    t.primaryKey = billKeyNames(QStringLiteral("EF04_"));
    return t;
}

TableDef solleciti() {
    TableDef t;
    t.name = QStringLiteral("EF05_SCADSOLLEC");
    t.columns = billKey(QStringLiteral("EF05_"));
    t.columns += {
        required(integer(QStringLiteral("EF05_PROGAVVISI"))),
        integer(QStringLiteral("EF05_PROGSTO")),
        date(QStringLiteral("EF05_DATAAVVISO")),
        date(QStringLiteral("EF05_DATARIFELAB")),
        flag(QStringLiteral("EF05_FLGCALCINT")),
        rate(QStringLiteral("EF05_TASSOINT")),
        date(QStringLiteral("EF05_DADATACALC")),
        date(QStringLiteral("EF05_ADATACALC")),
        amount(QStringLiteral("EF05_IMPINTERES")),
        amount(QStringLiteral("EF05_SPESERIT")),
        amount(QStringLiteral("EF05_SPBOLLO")),
        amount(QStringLiteral("EF05_SPPOST")),
        amount(QStringLiteral("EF05_SPVARIE")),
        text(QStringLiteral("EF05_SIGLALETTERA"), 10),
        text(QStringLiteral("EF05_TESTOPERS"), 255),
        code(QStringLiteral("EF05_INDBLOC")),
        text(QStringLiteral("EF05_CODBLOC_MG25"), 6),
        flag(QStringLiteral("EF05_FLGAZLEGAL")),
        flag(QStringLiteral("EF05_FLGINVIOAGE")),
        flag(QStringLiteral("EF05_FLGEMISDOC")),
        text(QStringLiteral("EF05_DOCUM_MG36"), 6),
        date(QStringLiteral("EF05_DATADOC")),
        integer(QStringLiteral("EF05_NUMDOC")),
        text(QStringLiteral("EF05_SEZDOC"), 4),
        flag(QStringLiteral("EF05_FLGDOCBIS")),
        flag(QStringLiteral("EF05_FLGPERS1")),
        flag(QStringLiteral("EF05_FLGPERS2")),
        text(QStringLiteral("EF05_IDMEDIA_CG99"), 40),
    };
    t.primaryKey = billKeyNames(QStringLiteral("EF05_"));
    t.primaryKey.append(QStringLiteral("EF05_PROGAVVISI"));
    return t;
}

TableDef storico() {
    TableDef t;
    t.name = QStringLiteral("EF06_SCADSTO");
    t.columns = billKey(QStringLiteral("EF06_"));
    t.columns += {
        required(integer(QStringLiteral("EF06_PROGSTO"))),
        date(QStringLiteral("EF06_DATAREG")),
        required(code(QStringLiteral("EF06_INDTIPOPER"))),
        text(QStringLiteral("EF06_NUMREGMOV_CO99"), 20),
        integer(QStringLiteral("EF06_RIGACONTMOV_CG42")),
        integer(QStringLiteral("EF06_PROGECMOV_EC01")),
        // The Bill as it stood before this movement.
        date(QStringLiteral("EF06_SCADE_S")),
        code(QStringLiteral("EF06_INDSTATO_S")),
        code(QStringLiteral("EF06_INDGENSTATO_S")),
        code(QStringLiteral("EF06_INDPRES_S")),
        flag(QStringLiteral("EF06_FLGSTEFF_S")),
        integer(QStringLiteral("EF06_NUMSTEFF_S")),
        code(QStringLiteral("EF06_NUMRIEMIS_S")),
        flag(QStringLiteral("EF06_FLGGIRATO_S")),
        flag(QStringLiteral("EF06_FLGRICEVUTO_S")),
        flag(QStringLiteral("EF06_FLGINCASSOBF_S")),
        integer(QStringLiteral("EF06_BANCAPRE_S")),
        integer(QStringLiteral("EF06_AGENZPRE_S")),
        code(QStringLiteral("EF06_INDSPERIT_S")),
        amount(QStringLiteral("EF06_SPESERIT_S")),
        amount(QStringLiteral("EF06_SPESERITBAN_S")),
        amount(QStringLiteral("EF06_IMPEFF_S")),
        amount(QStringLiteral("EF06_IMPEFFVAL_S")),
        amount(QStringLiteral("EF06_IMPEFFNETPREV_S")),
        amount(QStringLiteral("EF06_IMPEFFNETPREVVAL_S")),
        amount(QStringLiteral("EF06_IMPADEGCAMBIO_S")),
        rate(QStringLiteral("EF06_CAMBIOADCONTO_S")),
        date(QStringLiteral("EF06_DATACAMBIOADCONTO_S")),
        // The movement's own data.
        flag(QStringLiteral("EF06_FLGSTORNORITINS")),
        text(QStringLiteral("EF06_NUMASSEGNO"), 20),
        text(QStringLiteral("EF06_NUMCCASSEGN"), 20),
        integer(QStringLiteral("EF06_DITTA_EF09")),
        code(QStringLiteral("EF06_INDTIPODIST_EF09")),
        code(QStringLiteral("EF06_ANNO_EF09")),
        integer(QStringLiteral("EF06_NUMDIST_EF09")),
        text(QStringLiteral("EF06_ETICHRAGGRAVV"), 30),
        integer(QStringLiteral("EF06_DITTA_EF10")),
        code(QStringLiteral("EF06_INDORDPBONIF_EF10")),
        code(QStringLiteral("EF06_ANNO_EF10")),
        integer(QStringLiteral("EF06_NUMORDPBONIF_EF10")),
        integer(QStringLiteral("EF06_ORDBONABI_CG13")),
        integer(QStringLiteral("EF06_ORDBONCAB_CG13")),
        text(QStringLiteral("EF06_ORDBONCCFORN"), 34),
        flag(QStringLiteral("EF06_ORDBONFLGCONF")),
        text(QStringLiteral("EF06_ORDBONMOTIVO"), 51),
        text(QStringLiteral("EF06_ORDBONCAUPAG"), 4),
        flag(QStringLiteral("EF06_BONFLGCONF")),
        integer(QStringLiteral("EF06_PROGEFFSPE")),
        amount(QStringLiteral("EF06_IMPMOVPAG")),
        amount(QStringLiteral("EF06_IMPMOVPAGVAL")),
        amount(QStringLiteral("EF06_IMPMOVPAGRIT")),
        amount(QStringLiteral("EF06_IMPMOVPAGRITVAL")),
        amount(QStringLiteral("EF06_IMPMOVABB")),
        amount(QStringLiteral("EF06_IMPMOVABBVAL")),
        amount(QStringLiteral("EF06_IMPMOVACC")),
        amount(QStringLiteral("EF06_IMPMOVACCVAL")),
        amount(QStringLiteral("EF06_IMPMOVRIT")),
        amount(QStringLiteral("EF06_IMPMOVRITVAL")),
        amount(QStringLiteral("EF06_IMPMOVOMANORIV")),
        amount(QStringLiteral("EF06_IMPMOVOMANORIVVAL")),
        amount(QStringLiteral("EF06_IMPMOVSCIND")),
        amount(QStringLiteral("EF06_IMPMOVSCINDVAL")),
        rate(QStringLiteral("EF06_CAMBIO")),
        rate(QStringLiteral("EF06_CAMBIOADCONTO")),
        date(QStringLiteral("EF06_DATACAMBIOADCONTO")),
        amount(QStringLiteral("EF06_IMPADEGCAMBIO")),
        amount(QStringLiteral("EF06_DIFFCAMBIO")),
        amount(QStringLiteral("EF06_DIFFCAMBIOCONTO")),
        text(QStringLiteral("EF06_IDMEDIA_CG99"), 40),
    };
    t.primaryKey = billKeyNames(QStringLiteral("EF06_"));
    t.primaryKey.append(QStringLiteral("EF06_PROGSTO"));
    // A slip's movements: its Bills, its file, its outcomes and the company's list of slips.
    t.indexes = {{QStringLiteral("IX_EF06_DISTINTA"),
                  {QStringLiteral("EF06_DITTA_EF09"), QStringLiteral("EF06_INDTIPODIST_EF09"),
                   QStringLiteral("EF06_ANNO_EF09"), QStringLiteral("EF06_NUMDIST_EF09")}}};
    return t;
}

}  // namespace

QList<TableDef> Schema::bills() {
    return {scadenze(), masterDoc(), cambialiCessioni(), note(), solleciti(), storico()};
}
