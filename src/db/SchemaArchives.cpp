#include "Schema.h"
#include "SchemaColumns.h"

using namespace SchemaColumns;

namespace {

QList<TableDef> companyAndAccounts() {
    return {
        table(QStringLiteral("CG18_DITTE"),
              {required(integer(QStringLiteral("CG18_DITTA"))), text(QStringLiteral("CG18_RAGSOC"), 80),
               text(QStringLiteral("CG18_PARTIVA"), 13), text(QStringLiteral("CG18_CITTA"), 40)},
              {QStringLiteral("CG18_DITTA")}),
        table(QStringLiteral("CG10_GRUPPIPDC"),
              {required(integer(QStringLiteral("CG10_GRUPPO"))), text(QStringLiteral("CG10_DESCR"), 60)},
              {QStringLiteral("CG10_GRUPPO")}),
        table(QStringLiteral("CG24_TABPDC"),
              {required(integer(QStringLiteral("CG24_GRUPPO_CG10"))),
               required(code(QStringLiteral("CG24_INDTIPOCONTO"))),
               required(text(QStringLiteral("CG24_CONTO"), 20)), text(QStringLiteral("CG24_DESCR"), 60)},
              {QStringLiteral("CG24_GRUPPO_CG10"), QStringLiteral("CG24_INDTIPOCONTO"),
               QStringLiteral("CG24_CONTO")}),
        table(QStringLiteral("CG19_SEZIONALI"),
              {required(integer(QStringLiteral("CG19_DITTA_CG18"))),
               required(text(QStringLiteral("CG19_CODICE"), 4)), text(QStringLiteral("CG19_DESCR"), 60)},
              {QStringLiteral("CG19_DITTA_CG18"), QStringLiteral("CG19_CODICE")}),
        table(QStringLiteral("CG62_CONDPAG"),
              {required(text(QStringLiteral("CG62_CODICE"), 10)), text(QStringLiteral("CG62_DESCR"), 60),
               code(QStringLiteral("CG62_NUMRATE")), integer(QStringLiteral("CG62_TIPOEFF"))},
              {QStringLiteral("CG62_CODICE")}),
    };
}

QList<TableDef> counterparts() {
    return {
        // A selection by registry name reads the names' index, then the periods that name them.
        indexed(table(QStringLiteral("CG16_ANAGGEN"),
                      {required(integer(QStringLiteral("CG16_CODICE"))),
                       required(text(QStringLiteral("CG16_RAGSOANAG"), 80)),
                       text(QStringLiteral("CG16_INDIRIZZO"), 60), text(QStringLiteral("CG16_CAP"), 5),
                       text(QStringLiteral("CG16_CITTA"), 40), text(QStringLiteral("CG16_PROV"), 2),
                       text(QStringLiteral("CG16_NAZIONE"), 2), text(QStringLiteral("CG16_PARTIVA"), 13),
                       text(QStringLiteral("CG16_CODFISC"), 16)},
                      {QStringLiteral("CG16_CODICE")}),
                {{QStringLiteral("IX_CG16_RAGSOANAG"), {QStringLiteral("CG16_RAGSOANAG")}}}),
        table(
            QStringLiteral("CG44_CLIFOR"),
            {required(integer(QStringLiteral("CG44_DITTA_CG18"))),
             required(code(QStringLiteral("CG44_TIPOCF"))), required(integer(QStringLiteral("CG44_CLIFOR"))),
             integer(QStringLiteral("CG44_ANAGEN_CG16")), text(QStringLiteral("CG44_CODPAG_CG62"), 10),
             integer(QStringLiteral("CG44_IDAGENTE_MG17")), date(QStringLiteral("CG44_DATAINS"))},
            {QStringLiteral("CG44_DITTA_CG18"), QStringLiteral("CG44_TIPOCF"),
             QStringLiteral("CG44_CLIFOR")}),
        // The registry record a customer or supplier had in each period (a change of name or
        // address opens a new period); read through VCG16_CG44_ALLADATA.
        indexed(table(QStringLiteral("CG45_CLIFORANAG"),
                      {required(integer(QStringLiteral("CG45_DITTA_CG18"))),
                       required(code(QStringLiteral("CG45_TIPOCF_CG44"))),
                       required(integer(QStringLiteral("CG45_CLIFOR_CG44"))),
                       required(date(QStringLiteral("CG45_DATAINIZIO"))),
                       required(date(QStringLiteral("CG45_DATAFINE"))),
                       required(integer(QStringLiteral("CG45_ANAGEN_CG16")))},
                      {QStringLiteral("CG45_DITTA_CG18"), QStringLiteral("CG45_TIPOCF_CG44"),
                       QStringLiteral("CG45_CLIFOR_CG44"), QStringLiteral("CG45_DATAINIZIO")}),
                {{QStringLiteral("IX_CG45_ANAGEN"), {QStringLiteral("CG45_ANAGEN_CG16")}}}),
        table(QStringLiteral("MG19_CLIFORVA"),
              {required(integer(QStringLiteral("MG19_DITTA_CG18"))),
               required(code(QStringLiteral("MG19_TIPOCF_CG44"))),
               required(integer(QStringLiteral("MG19_CLIFOR_CG44"))), text(QStringLiteral("MG19_ZONA"), 6),
               code(QStringLiteral("MG19_LISTINO")), flag(QStringLiteral("MG19_FLGBLOCCO"))},
              {QStringLiteral("MG19_DITTA_CG18"), QStringLiteral("MG19_TIPOCF_CG44"),
               QStringLiteral("MG19_CLIFOR_CG44")}),
        table(QStringLiteral("MG17_AGENTI"),
              {required(integer(QStringLiteral("MG17_IDAGENTE"))),
               required(integer(QStringLiteral("MG17_DITTA_CG18"))),
               required(text(QStringLiteral("MG17_AGENTE"), 6)), integer(QStringLiteral("MG17_ANAGEN_CG16")),
               rate(QStringLiteral("MG17_PERCPROVV"))},
              {QStringLiteral("MG17_IDAGENTE")}),
        table(QStringLiteral("MG35_CLIFORCC"),
              {required(integer(QStringLiteral("MG35_ID"))),
               required(integer(QStringLiteral("MG35_DITTA_CG18"))),
               required(code(QStringLiteral("MG35_TIPOCF_CG44"))),
               required(integer(QStringLiteral("MG35_CLIFOR_CG44"))),
               required(integer(QStringLiteral("MG35_PROGR"))), code(QStringLiteral("MG35_INDTIPOOP")),
               text(QStringLiteral("MG35_IBAN"), 34), text(QStringLiteral("MG35_CCABI"), 5),
               text(QStringLiteral("MG35_CCCAB"), 5), text(QStringLiteral("MG35_NUMCC"), 20),
               text(QStringLiteral("MG35_DESCR"), 60)},
              {QStringLiteral("MG35_ID")}),
        table(QStringLiteral("CO1H_CIGCUP"),
              {required(integer(QStringLiteral("CO1H_ID"))), text(QStringLiteral("CO1H_CIG"), 10),
               text(QStringLiteral("CO1H_CUP"), 15), text(QStringLiteral("CO1H_DESCR"), 80)},
              {QStringLiteral("CO1H_ID")}),
        table(QStringLiteral("CO1I_CFCIGCUP"),
              {required(integer(QStringLiteral("CO1I_IDCIGCUP_CO1H"))),
               required(integer(QStringLiteral("CO1I_DITTA_CG18"))),
               required(code(QStringLiteral("CO1I_TIPOCF_CG44"))),
               required(integer(QStringLiteral("CO1I_CLIFOR_CG44")))},
              {QStringLiteral("CO1I_IDCIGCUP_CO1H"), QStringLiteral("CO1I_DITTA_CG18"),
               QStringLiteral("CO1I_TIPOCF_CG44"), QStringLiteral("CO1I_CLIFOR_CG44")}),
    };
}

QList<TableDef> banksAndCurrencies() {
    return {
        table(QStringLiteral("CG12_BANCHE"),
              {required(integer(QStringLiteral("CG12_BANCA"))), text(QStringLiteral("CG12_DESCR"), 60),
               text(QStringLiteral("CG12_BIC"), 11)},
              {QStringLiteral("CG12_BANCA")}),
        table(QStringLiteral("CG13_AGENZIE"),
              {required(integer(QStringLiteral("CG13_BANCA_CG12"))),
               required(integer(QStringLiteral("CG13_CODCAB"))), text(QStringLiteral("CG13_DESCR"), 60),
               text(QStringLiteral("CG13_INDIRIZZO"), 60), text(QStringLiteral("CG13_CITTA"), 40),
               text(QStringLiteral("CG13_PROV"), 2)},
              {QStringLiteral("CG13_BANCA_CG12"), QStringLiteral("CG13_CODCAB")}),
        table(QStringLiteral("EF08_BANCHEAZ"),
              {required(integer(QStringLiteral("EF08_DITTA_CG18"))),
               required(integer(QStringLiteral("EF08_PROGR"))), text(QStringLiteral("EF08_DESCR"), 60),
               integer(QStringLiteral("EF08_BANCA_CG12")), integer(QStringLiteral("EF08_AGENZIA_CG13")),
               text(QStringLiteral("EF08_IBAN"), 34), text(QStringLiteral("EF08_CONTO_CG24"), 20)},
              {QStringLiteral("EF08_DITTA_CG18"), QStringLiteral("EF08_PROGR")}),
        table(QStringLiteral("CG08_TABVALUTE"),
              {required(text(QStringLiteral("CG08_CODICE"), 4)), text(QStringLiteral("CG08_DESCR"), 40),
               flag(QStringLiteral("CG08_FLGVALUEM")), date(QStringLiteral("CG08_DATAATTUEM")),
               rate(QStringLiteral("CG08_CAMBIOFISSO")), code(QStringLiteral("CG08_NUMDEC"))},
              {QStringLiteral("CG08_CODICE")}),
        // Day 0 holds the rate of the whole month.
        table(QStringLiteral("CG09_TABCAMBI"),
              {required(text(QStringLiteral("CG09_CODICE_CG08"), 4)),
               required(code(QStringLiteral("CG09_ANNO"))), required(code(QStringLiteral("CG09_MESE"))),
               required(code(QStringLiteral("CG09_GIORNO"))), rate(QStringLiteral("CG09_CAMBIO"))},
              {QStringLiteral("CG09_CODICE_CG08"), QStringLiteral("CG09_ANNO"), QStringLiteral("CG09_MESE"),
               QStringLiteral("CG09_GIORNO")}),
    };
}

QList<TableDef> billCodes() {
    return {
        table(QStringLiteral("EF07_STIPIEFF"),
              {required(integer(QStringLiteral("EF07_TIPOEFF"))),
               required(text(QStringLiteral("EF07_STIPOEFF"), 6)), text(QStringLiteral("EF07_DESCR"), 60)},
              {QStringLiteral("EF07_TIPOEFF"), QStringLiteral("EF07_STIPOEFF")}),
        table(QStringLiteral("MGFO_CAUSMGO"),
              {required(text(QStringLiteral("MGFO_CODICE"), 6)), text(QStringLiteral("MGFO_DESCR"), 60)},
              {QStringLiteral("MGFO_CODICE")}),
        table(QStringLiteral("MG25_BLOCCHI"),
              {required(integer(QStringLiteral("MG25_DITTA_CG18"))),
               required(text(QStringLiteral("MG25_CODICE"), 6)), text(QStringLiteral("MG25_DESCR"), 60),
               code(QStringLiteral("MG25_INDTIPO"))},
              {QStringLiteral("MG25_DITTA_CG18"), QStringLiteral("MG25_CODICE")}),
        table(QStringLiteral("MG36_DOCUMENTI"),
              {required(integer(QStringLiteral("MG36_DITTA_CG18"))),
               required(text(QStringLiteral("MG36_CODICE"), 6)), text(QStringLiteral("MG36_DESCR"), 60)},
              {QStringLiteral("MG36_DITTA_CG18"), QStringLiteral("MG36_CODICE")}),
        table(QStringLiteral("MG0B_TESTI"),
              {required(integer(QStringLiteral("MG0B_DITTA_CG18"))),
               required(code(QStringLiteral("MG0B_INDTIPO"))),
               required(text(QStringLiteral("MG0B_CODTESTO"), 10)), text(QStringLiteral("MG0B_DESCR"), 80),
               text(QStringLiteral("MG0B_TESTO"), 4000)},
              {QStringLiteral("MG0B_DITTA_CG18"), QStringLiteral("MG0B_INDTIPO"),
               QStringLiteral("MG0B_CODTESTO")}),
        table(QStringLiteral("CG6G_CAUSPAGSEPA"),
              {required(text(QStringLiteral("CG6G_CODICE"), 4)), text(QStringLiteral("CG6G_DESCR"), 80),
               required(code(QStringLiteral("CG6G_INDTIPOMOV")))},
              {QStringLiteral("CG6G_CODICE")}),
        table(
            QStringLiteral("EF09_DISTINTE"),
            {required(integer(QStringLiteral("EF09_DITTA_CG18"))),
             required(code(QStringLiteral("EF09_INDTIPODIST"))), required(code(QStringLiteral("EF09_ANNO"))),
             required(integer(QStringLiteral("EF09_NUMDIST"))), date(QStringLiteral("EF09_DATACRESUPP")),
             integer(QStringLiteral("EF09_NUMTOTEFF")), amount(QStringLiteral("EF09_IMPTOTEFF"))},
            {QStringLiteral("EF09_DITTA_CG18"), QStringLiteral("EF09_INDTIPODIST"),
             QStringLiteral("EF09_ANNO"), QStringLiteral("EF09_NUMDIST")}),
        table(
            QStringLiteral("EF10_ORDPBONIF"),
            {required(integer(QStringLiteral("EF10_DITTA_CG18"))),
             required(code(QStringLiteral("EF10_INDORDPBONIF"))), required(code(QStringLiteral("EF10_ANNO"))),
             required(integer(QStringLiteral("EF10_NUMORDPBONIF"))),
             date(QStringLiteral("EF10_DATAORDPBONIF")), integer(QStringLiteral("EF10_NUMTOTEFF")),
             amount(QStringLiteral("EF10_IMPTOTEFF"))},
            {QStringLiteral("EF10_DITTA_CG18"), QStringLiteral("EF10_INDORDPBONIF"),
             QStringLiteral("EF10_ANNO"), QStringLiteral("EF10_NUMORDPBONIF")}),
    };
}

}  // namespace

QList<TableDef> Schema::archives() {
    return companyAndAccounts() + counterparts() + banksAndCurrencies() + billCodes();
}

QList<TableDef> Schema::views() {
    TableDef registry;
    registry.name = QStringLiteral("VCG16_CG44_ALLADATA");
    registry.isView = true;
    registry.columns = {
        integer(QStringLiteral("VCG16_44_CF_DITTA")),  code(QStringLiteral("VCG16_44_CF_TIPOCF")),
        integer(QStringLiteral("VCG16_44_CF_CLIFOR")), date(QStringLiteral("DATAINIZIOVALIDITA")),
        date(QStringLiteral("DATAFINEVALIDITA")),      integer(QStringLiteral("VCG16_44_CODICE_CG16")),
        text(QStringLiteral("CG16_RAGSOANAG"), 80)};
    registry.viewSql = QStringLiteral(
        "SELECT CG45_DITTA_CG18 AS VCG16_44_CF_DITTA, CG45_TIPOCF_CG44 AS VCG16_44_CF_TIPOCF,"
        " CG45_CLIFOR_CG44 AS VCG16_44_CF_CLIFOR, CG45_DATAINIZIO AS DATAINIZIOVALIDITA,"
        " CG45_DATAFINE AS DATAFINEVALIDITA, CG16_CODICE AS VCG16_44_CODICE_CG16, CG16_RAGSOANAG"
        " FROM CG45_CLIFORANAG WITH (NOLOCK)"
        " INNER JOIN CG16_ANAGGEN WITH (NOLOCK) ON CG16_CODICE = CG45_ANAGEN_CG16");

    TableDef states;
    states.name = QStringLiteral("VFILTROSTATI");
    states.isView = true;
    states.columns = {text(QStringLiteral("V_GUID"), 38), text(QStringLiteral("V_CODSTATO"), 10),
                      text(QStringLiteral("V_DESCRSTATO"), 60)};
    states.viewSql = QStringLiteral(
        "SELECT KV08_GUID AS V_GUID, KV08_CODSTATO AS V_CODSTATO, KV08_DESCRSTATO AS V_DESCRSTATO"
        " FROM KV08_STATIGUID WITH (NOLOCK)");
    return {registry, states};
}
