#include "ProgramOptions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>

QString ProgramOptions::dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

ProgramOptions ProgramOptions::parse(QApplication& app, QCommandLineParser& parser) {
    if (parser.applicationDescription().isEmpty())
        parser.setApplicationDescription(QStringLiteral(
            "Dettaglio effetti: gli effetti dei crediti e dei debiti che passano per le banche."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Mostra questa guida."));
    const QString dataDir = dataFolder();
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("Database della ditta (sqlite:PERCORSO, postgresql://..., odbc:...)."),
        QStringLiteral("connessione"), QStringLiteral("sqlite:") + dataDir + QStringLiteral("/demo.sqlite"));
    const QCommandLineOption company(QStringLiteral("company"), QStringLiteral("Codice della ditta."),
                                     QStringLiteral("N"));
    const QCommandLineOption user(
        QStringLiteral("user"),
        QStringLiteral("Codice dell'utente (su PostgreSQL il ruolo del database) proposto "
                       "all'accesso."),
        QStringLiteral("CODICE"));
    const QCommandLineOption password(
        QStringLiteral("password"),
        QStringLiteral("Accede con questa password senza chiederla (per gli script): nessuna finestra di "
                       "messaggio, i motivi di un errore vanno sullo standard error e il codice d'uscita "
                       "non è zero."),
        QStringLiteral("TESTO"));
    const QCommandLineOption registry(QStringLiteral("registry"), QStringLiteral("Registro dei moduli."),
                                      QStringLiteral("file"), dataDir + QStringLiteral("/moduli.json"));
    const QCommandLineOption noDemo(QStringLiteral("no-demo"),
                                    QStringLiteral("Lascia un database nuovo senza la ditta dimostrativa."));
    const QCommandLineOption today(
        QStringLiteral("today"),
        QStringLiteral("Conta i giorni di ritardo fino a questo giorno (gg/mm/aaaa) invece che fino a oggi."),
        QStringLiteral("data"));
    const QCommandLineOption present(
        QStringLiteral("presenta"),
        QStringLiteral("Presenta alla banca gli effetti aperti e non presentati dei clienti di questo tipo "
                       "(riba oppure rid) con scadenza fra --dal e --al, in una distinta per la banca della "
                       "ditta --banca; scrive la distinta ed esce."),
        QStringLiteral("tipo"));
    const QCommandLineOption dueFrom(QStringLiteral("dal"),
                                     QStringLiteral("Prima scadenza della distinta (gg/mm/aaaa)."),
                                     QStringLiteral("data"));
    const QCommandLineOption dueTo(QStringLiteral("al"),
                                   QStringLiteral("Ultima scadenza della distinta (gg/mm/aaaa)."),
                                   QStringLiteral("data"));
    const QCommandLineOption bank(QStringLiteral("banca"),
                                  QStringLiteral("Progressivo della banca della ditta a cui si presenta."),
                                  QStringLiteral("N"));
    const QCommandLineOption withdraw(
        QStringLiteral("ritira"),
        QStringLiteral(
            "Ritira la distinta tipo,anno,numero (0 Ri.Ba., 1 RID): gli effetti tornano come prima; "
            "poi esce."),
        QStringLiteral("distinta"));
    parser.addOptions({help, db, company, user, password, registry, noDemo, today, present, dueFrom, dueTo,
                       bank, withdraw});
    parser.process(app);
    if (parser.isSet(help)) parser.showHelp(0);

    ProgramOptions o;
    o.database = parser.value(db);
    o.company = parser.value(company).toInt();
    o.user = parser.value(user);
    o.password = parser.value(password);
    o.passwordGiven = parser.isSet(password);
    o.registry = parser.value(registry);
    o.demo = !parser.isSet(noDemo);
    o.today = parser.value(today);
    o.present = parser.value(present);
    o.dueFrom = parser.value(dueFrom);
    o.dueTo = parser.value(dueTo);
    o.bank = parser.value(bank);
    o.withdraw = parser.value(withdraw);
    return o;
}
