#include "ProgramOptions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>

#include <vector>

namespace {

// One option of the command line and where its value goes: the text typed, or whether it was
// given at all.
struct Option {
    QStringList names;
    QString description;
    QString valueName{};  // empty: a switch
    QString ProgramOptions::*text = nullptr;
    bool ProgramOptions::*given = nullptr;
    QString byDefault{};
};

std::vector<Option> options(const QString& dataDir) {
    using O = ProgramOptions;
    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    return {
        {{s("h"), s("help"), s("?")}, s("Mostra questa guida.")},
        {{s("db")},
         s("Database della ditta (sqlite:PERCORSO, postgresql://..., odbc:...)."),
         s("connessione"),
         &O::database,
         nullptr,
         s("sqlite:") + dataDir + s("/demo.sqlite")},
        {{s("company")}, s("Codice della ditta."), s("N")},
        {{s("user")},
         s("Codice dell'utente (su PostgreSQL il ruolo del database) proposto all'accesso."),
         s("CODICE"),
         &O::user},
        {{s("password")},
         s("Accede con questa password senza chiederla (per gli script): nessuna finestra di messaggio, i "
           "motivi di un errore vanno sullo standard error e il codice d'uscita non è zero."),
         s("TESTO"),
         &O::password,
         &O::passwordGiven},
        {{s("registry")},
         s("Registro dei moduli."),
         s("file"),
         &O::registry,
         nullptr,
         dataDir + s("/moduli.json")},
        {{s("no-demo")}, s("Lascia un database nuovo senza la ditta dimostrativa.")},
        {{s("today")},
         s("Conta i giorni di ritardo fino a questo giorno (gg/mm/aaaa) invece che fino a oggi."),
         s("data"),
         &O::today},
        {{s("presenta")},
         s("Presenta alla banca gli effetti aperti e non presentati dei clienti di questo tipo (riba oppure "
           "rid) con scadenza fra --dal e --al, in una distinta per la banca della ditta --banca; scrive la "
           "distinta ed esce."),
         s("tipo"),
         &O::present},
        {{s("dal")}, s("Prima scadenza della distinta (gg/mm/aaaa)."), s("data"), &O::dueFrom},
        {{s("al")}, s("Ultima scadenza della distinta (gg/mm/aaaa)."), s("data"), &O::dueTo},
        {{s("banca")}, s("Progressivo della banca della ditta a cui si presenta."), s("N"), &O::bank},
        {{s("ritira")},
         s("Ritira la distinta tipo,anno,numero (0 Ri.Ba., 1 RID): gli effetti tornano come prima; poi "
           "esce."),
         s("distinta"),
         &O::withdraw},
        {{s("file-distinta")},
         s("Scrive in --output il file per la banca della distinta TIPO/ANNO/NUMERO (tipo 0 Ri.Ba., 1 "
           "RID/SDD), rifatto dalla distinta registrata, ed esce."),
         s("distinta"),
         &O::slipFile},
        {{s("output")}, s("Il file da scrivere."), s("percorso"), &O::output},
        {{s("distinta")},
         s("Distinta su cui registrare l'esito: tipo,anno,numero (tipo 0 Riba, 1 Rid)."),
         s("T,A,N"),
         &O::outcomeSlip,
         &O::outcomeAsked},
        {{s("accredita")},
         s("La banca ha accreditato la distinta in questa data."),
         s("gg/mm/aaaa"),
         &O::credit,
         &O::outcomeAsked},
        {{s("incassa")},
         s("Incassa alla scadenza, in questa data, gli effetti in attesa della distinta (o quelli di "
           "--effetti)."),
         s("gg/mm/aaaa"),
         &O::pay,
         &O::outcomeAsked},
        {{s("effetti")},
         s("Con --incassa: le chiavi degli effetti, separate da punto e virgola."),
         s("chiavi"),
         &O::bills},
        {{s("insoluto")},
         s("Registra insoluto l'effetto di questa chiave (ditta,registrazione,riga,progressivo e/c,"
           "progressivo)."),
         s("chiave"),
         &O::unpaid,
         &O::outcomeAsked},
        {{s("data-insoluto")},
         s("Con --insoluto: la data dell'insoluto (oggi se manca)."),
         s("gg/mm/aaaa"),
         &O::unpaidDate},
        {{s("spese-banca")},
         s("Con --insoluto: le spese addebitate dalla banca."),
         s("importo"),
         &O::bankCharges},
        {{s("gestione-spese")},
         s("Con --insoluto: gestione delle spese di ritorno (0 nessun addebito, 1 solo annotate, 2 sommate, "
           "3 "
           "nuovo effetto)."),
         s("0-3"),
         &O::chargesMode},
        {{s("spese-cliente")},
         s("Con --insoluto: le spese a carico del cliente."),
         s("importo"),
         &O::customerCharges},
        {{s("sollecito")},
         s("Con --insoluto o --esito-sepa: registra il sollecito per la lettera al cliente."),
         QString(),
         nullptr,
         &O::reminder},
        {{s("esito-sepa")},
         s("Importa il file di esito SEPA (pain.002) della distinta Rid."),
         s("file"),
         &O::statusReport,
         &O::outcomeAsked},
    };
}

}  // namespace

QString ProgramOptions::dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

ProgramOptions ProgramOptions::parse(QApplication& app, QCommandLineParser& parser) {
    if (parser.applicationDescription().isEmpty())
        parser.setApplicationDescription(QStringLiteral(
            "Dettaglio effetti: gli effetti dei crediti e dei debiti che passano per le banche."));
    const std::vector<Option> table = options(dataFolder());
    for (const Option& o : table)
        parser.addOption(QCommandLineOption(o.names, o.description, o.valueName, o.byDefault));
    parser.process(app);
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);

    ProgramOptions read;
    for (const Option& o : table) {
        if (o.text) read.*o.text = parser.value(o.names.first());
        if (o.given && parser.isSet(o.names.first())) read.*o.given = true;
    }
    read.company = parser.value(QStringLiteral("company")).toInt();
    read.demo = !parser.isSet(QStringLiteral("no-demo"));
    return read;
}

QString ProgramOptions::problem() const {
    if (!slipFile.isEmpty() && output.isEmpty())
        return QStringLiteral("--file-distinta: indicare con --output dove scrivere il file");
    if (slipFile.isEmpty() && outcomeAsked && !passwordGiven)
        return QStringLiteral("Gli esiti delle distinte da riga di comando richiedono --user e --password.");
    return {};
}
