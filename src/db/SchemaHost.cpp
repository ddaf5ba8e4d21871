#include "MemoryCatalogue.h"
#include "Schema.h"
#include "SchemaColumns.h"

#include <QHash>

using namespace SchemaColumns;

QList<TableDef> Schema::host() {
    return {
        table(QStringLiteral("KV00_VERSIONE"),
              {required(text(QStringLiteral("KV00_COMPONENTE"), 20)),
               required(integer(QStringLiteral("KV00_VERSIONE"))), timestamp(QStringLiteral("KV00_DATAAGG"))},
              {QStringLiteral("KV00_COMPONENTE")}),
        table(QStringLiteral("KV01_PARAMDITTA"),
              {required(integer(QStringLiteral("KV01_DITTA_CG18"))),
               required(integer(QStringLiteral("KV01_GRUPPO_CG10"))),
               text(QStringLiteral("KV01_CONTOCLI_CG24"), 20), text(QStringLiteral("KV01_CONTOFOR_CG24"), 20),
               flag(QStringLiteral("KV01_FLGSEZIONALI")), date(QStringLiteral("KV01_DATAINIZSEZ")),
               flag(QStringLiteral("KV01_FLGDATARIF")), date(QStringLiteral("KV01_DATARIF"))},
              {QStringLiteral("KV01_DITTA_CG18")}),
        table(QStringLiteral("KV02_UTENTI"),
              {required(text(QStringLiteral("KV02_UTENTE"), 20)), text(QStringLiteral("KV02_NOME"), 60),
               text(QStringLiteral("KV02_GRUPPO_KV03"), 20), flag(QStringLiteral("KV02_FLGPRIVIL"))},
              {QStringLiteral("KV02_UTENTE")}),
        table(QStringLiteral("KV03_GRUPPI"),
              {required(text(QStringLiteral("KV03_GRUPPO"), 20)), text(QStringLiteral("KV03_DESCR"), 60)},
              {QStringLiteral("KV03_GRUPPO")}),
        // One numbering series per company and year; the next number is KV04_ULTIMO + 1, shown
        // after the series' prefix.
        table(QStringLiteral("KV04_NUMERATORI"),
              {required(text(QStringLiteral("KV04_SERIE"), 20)),
               required(integer(QStringLiteral("KV04_DITTA_CG18"))),
               required(code(QStringLiteral("KV04_ANNO"))), required(integer(QStringLiteral("KV04_ULTIMO"))),
               text(QStringLiteral("KV04_PREFISSO"), 10)},
              {QStringLiteral("KV04_SERIE"), QStringLiteral("KV04_DITTA_CG18"), QStringLiteral("KV04_ANNO")}),
        // Attached files, base64 text: the data layer has no binary type, and text travels the
        // same way on every engine.
        table(
            QStringLiteral("KV05_ALLEGATI"),
            {required(text(QStringLiteral("KV05_IDMEDIA"), 40)),
             required(integer(QStringLiteral("KV05_PROGR"))), text(QStringLiteral("KV05_NOMEFILE"), 255),
             text(QStringLiteral("KV05_DESCR"), 255), timestamp(QStringLiteral("KV05_DATAINS")),
             text(QStringLiteral("KV05_UTENTE_KV02"), 20), text(QStringLiteral("KV05_CONTENUTO"), 10000000)},
            {QStringLiteral("KV05_IDMEDIA"), QStringLiteral("KV05_PROGR")}),
        table(QStringLiteral("KV06_MESSAGGI"),
              {required(integer(QStringLiteral("KV06_NUMERO"))), text(QStringLiteral("KV06_TESTO"), 1000)},
              {QStringLiteral("KV06_NUMERO")}),
        table(QStringLiteral("KV07_LAYOUT"),
              {required(text(QStringLiteral("KV07_UTENTE_KV02"), 20)),
               required(text(QStringLiteral("KV07_FORM"), 60)), text(QStringLiteral("KV07_LAYOUT"), 100000),
               timestamp(QStringLiteral("KV07_DATAAGG"))},
              {QStringLiteral("KV07_UTENTE_KV02"), QStringLiteral("KV07_FORM")}),
        // A user's script of a program: JavaScript run on the program's form events.
        table(QStringLiteral("KV09_SCRIPT"),
              {required(text(QStringLiteral("KV09_UTENTE_KV02"), 20)),
               required(text(QStringLiteral("KV09_PROGRAMMA"), 60)),
               text(QStringLiteral("KV09_TESTO"), 100000), timestamp(QStringLiteral("KV09_DATAAGG"))},
              {QStringLiteral("KV09_UTENTE_KV02"), QStringLiteral("KV09_PROGRAMMA")}),
        // How each user signs in: the password's hash on the embedded database, the login role
        // on a server; disabled users and wrong passwords in a row.
        table(QStringLiteral("KV10_ACCESSI"),
              {required(text(QStringLiteral("KV10_UTENTE_KV02"), 20)), text(QStringLiteral("KV10_HASH"), 255),
               text(QStringLiteral("KV10_RUOLODB"), 63), flag(QStringLiteral("KV10_FLGDISAB")),
               integer(QStringLiteral("KV10_TENTATIVI")), timestamp(QStringLiteral("KV10_DATATENT"))},
              {QStringLiteral("KV10_UTENTE_KV02")}),
        // What each group may do in each program: insert, update, delete, query.
        table(QStringLiteral("KV11_DIRITTI"),
              {required(text(QStringLiteral("KV11_GRUPPO_KV03"), 20)),
               required(text(QStringLiteral("KV11_PROGRAMMA"), 60)), flag(QStringLiteral("KV11_FLGINS")),
               flag(QStringLiteral("KV11_FLGMOD")), flag(QStringLiteral("KV11_FLGCANC")),
               flag(QStringLiteral("KV11_FLGCONS"))},
              {QStringLiteral("KV11_GRUPPO_KV03"), QStringLiteral("KV11_PROGRAMMA")}),
        // Every change to the users: who made it, when, to whom, what.
        table(QStringLiteral("KV12_REGUTENTI"),
              {required(integer(QStringLiteral("KV12_PROGR"))), timestamp(QStringLiteral("KV12_DATAORA")),
               text(QStringLiteral("KV12_AUTORE"), 20), text(QStringLiteral("KV12_UTENTE"), 20),
               text(QStringLiteral("KV12_AZIONE"), 20), text(QStringLiteral("KV12_DETTAGLIO"), 255)},
              {QStringLiteral("KV12_PROGR")}),
        // What the banks' files need of the company: the interbank SIA code and CUC, the SEPA
        // creditor identifier, the address and tax code the files carry, a short name.
        table(QStringLiteral("KV20_DATIBANCA"),
              {required(integer(QStringLiteral("KV20_DITTA_CG18"))), text(QStringLiteral("KV20_CODSIA"), 5),
               text(QStringLiteral("KV20_CUC"), 8), text(QStringLiteral("KV20_IDCREDITORE"), 35),
               text(QStringLiteral("KV20_INDIRIZZO"), 60), text(QStringLiteral("KV20_CAP"), 5),
               text(QStringLiteral("KV20_PROV"), 2), text(QStringLiteral("KV20_CODFISC"), 16),
               text(QStringLiteral("KV20_NOMEBREVE"), 20)},
              {QStringLiteral("KV20_DITTA_CG18")}),
        // The SEPA direct-debit mandate of a customer's bank account (MG35_ID): its id and
        // signature date, whether it is recurrent (0) or one-off (1), and whether its first
        // collection was already made.
        table(QStringLiteral("KV21_MANDATI"),
              {required(integer(QStringLiteral("KV21_ID_MG35"))), text(QStringLiteral("KV21_IDMANDATO"), 35),
               date(QStringLiteral("KV21_DATAFIRMA")), code(QStringLiteral("KV21_INDSEQUENZA")),
               flag(QStringLiteral("KV21_FLGPRIMOINC"))},
              {QStringLiteral("KV21_ID_MG35")}),
        // Workflow states given to rows by their GUID; read through VFILTROSTATI.
        table(QStringLiteral("KV08_STATIGUID"),
              {required(text(QStringLiteral("KV08_GUID"), 38)), text(QStringLiteral("KV08_CODSTATO"), 10),
               text(QStringLiteral("KV08_DESCRSTATO"), 60)},
              {QStringLiteral("KV08_GUID")}),
        // What became of a presented slip (EF09_DISTINTE): 0 presented (also when there is no row),
        // 1 credited by the bank on KV22_DATAACCR, 2 closed (every Bill has its outcome). The SEPA
        // file sent for it is named by its message id and creditor, checked by its status report.
        table(QStringLiteral("KV22_STATIDIST"),
              {required(integer(QStringLiteral("KV22_DITTA_CG18"))),
               required(code(QStringLiteral("KV22_INDTIPODIST"))),
               required(code(QStringLiteral("KV22_ANNO"))), required(integer(QStringLiteral("KV22_NUMDIST"))),
               required(code(QStringLiteral("KV22_INDSTATO"))), date(QStringLiteral("KV22_DATAACCR")),
               date(QStringLiteral("KV22_DATACHIUS")), text(QStringLiteral("KV22_MSGIDSEPA"), 35),
               text(QStringLiteral("KV22_IDCREDITORE"), 35)},
              {QStringLiteral("KV22_DITTA_CG18"), QStringLiteral("KV22_INDTIPODIST"),
               QStringLiteral("KV22_ANNO"), QStringLiteral("KV22_NUMDIST")}),
        // The bank a slip was presented to (ABI and CAB of the company bank chosen), kept with the
        // slip: its Bills lose their presentation bank when they come back unpaid, and the slip's
        // file must still be made again as it went out.
        table(QStringLiteral("KV25_BANCHEDIST"),
              {required(integer(QStringLiteral("KV25_DITTA_CG18"))),
               required(code(QStringLiteral("KV25_INDTIPODIST"))),
               required(code(QStringLiteral("KV25_ANNO"))), required(integer(QStringLiteral("KV25_NUMDIST"))),
               required(integer(QStringLiteral("KV25_BANCA_CG12"))),
               required(integer(QStringLiteral("KV25_AGENZIA_CG13")))},
              {QStringLiteral("KV25_DITTA_CG18"), QStringLiteral("KV25_INDTIPODIST"),
               QStringLiteral("KV25_ANNO"), QStringLiteral("KV25_NUMDIST")}),
        // The reasons a bank gives for a collection rejected or returned (ISO external status reasons).
        table(QStringLiteral("KV23_CAUSALIESITO"),
              {required(text(QStringLiteral("KV23_CODICE"), 4)), text(QStringLiteral("KV23_DESCR"), 120)},
              {QStringLiteral("KV23_CODICE")}),
        // Why a Bill came back unpaid: the reason of its movement " Insoluto" and the status report
        // that brought it.
        table(QStringLiteral("KV24_INSOLUTI"),
              {required(integer(QStringLiteral("KV24_DITTA_CG18"))),
               required(text(QStringLiteral("KV24_NUMREG_CO99"), 20)),
               required(integer(QStringLiteral("KV24_RIGACONT_EF01"))),
               required(integer(QStringLiteral("KV24_PROGEC_EF01"))),
               required(integer(QStringLiteral("KV24_PROGEFF_EF01"))),
               required(integer(QStringLiteral("KV24_PROGSTO"))),
               text(QStringLiteral("KV24_CAUSALE_KV23"), 4), text(QStringLiteral("KV24_MSGIDESITO"), 35)},
              {QStringLiteral("KV24_DITTA_CG18"), QStringLiteral("KV24_NUMREG_CO99"),
               QStringLiteral("KV24_RIGACONT_EF01"), QStringLiteral("KV24_PROGEC_EF01"),
               QStringLiteral("KV24_PROGEFF_EF01"), QStringLiteral("KV24_PROGSTO")}),
    };
}

QList<TableDef> Schema::all() {
    return bills() + archives() + host() + views();
}

QString Schema::billProgram() {
    return QStringLiteral(KVUO_TARSELLO_PROGID);
}

QList<Schema::PersonalTable> Schema::personalTables() {
    return {{QStringLiteral("KV07_LAYOUT"), QStringLiteral("KV07_UTENTE_KV02"), QStringLiteral("LAYOUT")},
            {QStringLiteral("KV09_SCRIPT"), QStringLiteral("KV09_UTENTE_KV02"), QStringLiteral("SCRIPT")}};
}

TableClass Schema::accessClass(const QString& table) {
    static const QHash<QString, TableClass> classes = [] {
        QHash<QString, TableClass> c;
        const auto put = [&c](TableClass tableClass, std::initializer_list<const char*> names) {
            for (const char* name : names) c.insert(QString::fromLatin1(name), tableClass);
        };
        put(TableClass::BillHeader, {"EF01_SCADENZE"});
        put(TableClass::Maintained, {"CO1H_CIGCUP", "CO1I_CFCIGCUP", "EF08_BANCHEAZ", "MG0B_TESTI",
                                     "MG25_BLOCCHI", "CG19_SEZIONALI", "KV20_DATIBANCA", "KV21_MANDATI"});
        // A slip is written with its Bills' presentation and follows them when one is undone.
        put(TableClass::BillPart, {"EF03_SCADCECAM", "EF04_SCADNOTE", "EF05_SCADSOLLEC", "EF09_DISTINTE",
                                   "KV22_STATIDIST", "KV24_INSOLUTI", "KV25_BANCHEDIST"});
        put(TableClass::BillTrail, {"EF06_SCADSTO", "CO99_MASTERDOC", "KV05_ALLEGATI"});
        put(TableClass::Numbering, {"KV04_NUMERATORI"});
        for (const PersonalTable& p : personalTables()) c.insert(p.table, TableClass::Personal);
        put(TableClass::Accounts, {"KV02_UTENTI", "KV03_GRUPPI", "KV10_ACCESSI", "KV11_DIRITTI"});
        put(TableClass::Audit, {"KV12_REGUTENTI"});
        return c;
    }();
    return classes.value(table.toUpper(), TableClass::Reference);
}

QList<std::pair<QString, TableClass>> Schema::accessClasses() {
    QList<std::pair<QString, TableClass>> classes;
    for (const TableDef& t : all()) classes.append({t.name, accessClass(t.name)});
    return classes;
}

std::shared_ptr<const SchemaCatalogue> Schema::catalogue() {
    static const std::shared_ptr<const SchemaCatalogue> shared = std::make_shared<MemoryCatalogue>(all());
    return shared;
}
