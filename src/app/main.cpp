#include "AtomicFile.h"
#include "CallingProgram.h"
#include "Cinterface.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "HostMainWindow.h"
#include "ItalianQt.h"
#include "PluginRegistry.h"
#include "ReportPrinter.h"
#include "StandardErrorLogService.h"
#include "StartDialog.h"
#include "StartUp.h"
#include "SuiteError.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <clocale>
#include <cstdio>

namespace {

// The memory the process holds now and at most, as the kernel counts it.
QString residentMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return QStringLiteral("non nota");
    QStringList parts;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:") || line.startsWith("VmHWM:"))
            parts.append(QString::fromLatin1(line.simplified()));
    return parts.join(QStringLiteral(", "));
}

// The module's plugin: beside the installed program, else where the build left it (a path
// relative to the program, so that the package holds no path of the build tree); empty when
// neither has it.
QString moduleLibrary() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& folder :
         {QStringLiteral(KV_PLUGIN_INSTALLED), QStringLiteral(KV_PLUGIN_FROM_PROGRAM)}) {
        const QFileInfo plugin(program.filePath(folder + QStringLiteral("/" KVUO_TARSELLO_FILE)));
        if (plugin.exists()) return plugin.canonicalFilePath();
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt set the C library's locale from the desk's: numbers that C code writes for machines
    // keep their point. The clerk's formats come from our own code and Qt's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Dettaglio effetti"));
    QApplication::setOrganizationName(QStringLiteral("Contabilita"));
    ItalianQt::install(app);  // before the options: the help's own lines in Italian too

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Dettaglio effetti: gli effetti dei crediti e dei debiti che passano per le banche."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Mostra questa guida."));
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("Database della ditta (sqlite:PERCORSO, postgresql://..., odbc:...)."),
        QStringLiteral("connessione"), QStringLiteral("sqlite:") + dataDir + QStringLiteral("/demo.sqlite"));
    QCommandLineOption company(QStringLiteral("company"), QStringLiteral("Codice della ditta."),
                               QStringLiteral("N"));
    QCommandLineOption user(
        QStringLiteral("user"),
        QStringLiteral("Codice dell'utente (su PostgreSQL il ruolo del database) proposto "
                       "all'accesso."),
        QStringLiteral("CODICE"));
    QCommandLineOption password(
        QStringLiteral("password"),
        QStringLiteral("Accede con questa password senza chiederla (per gli script): nessuna finestra di "
                       "messaggio, i motivi di un errore vanno sullo standard error e il codice d'uscita "
                       "non è zero."),
        QStringLiteral("TESTO"));
    QCommandLineOption registry(QStringLiteral("registry"), QStringLiteral("Registro dei moduli."),
                                QStringLiteral("file"), dataDir + QStringLiteral("/moduli.json"));
    QCommandLineOption noDemo(QStringLiteral("no-demo"),
                              QStringLiteral("Lascia un database nuovo senza la ditta dimostrativa."));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Cerca, salva un'immagine della finestra nel file ed esce."),
                                  QStringLiteral("file"));
    QCommandLineOption screenshotForm(
        QStringLiteral("screenshot-form"),
        QStringLiteral("Apre il primo effetto trovato, salva un'immagine della finestra nel file ed esce."),
        QStringLiteral("file"));
    QCommandLineOption timing(
        QStringLiteral("timing"),
        QStringLiteral(
            "Con --screenshot-form: scrive quanto hanno impiegato l'elenco e la scheda a comparire "
            "e la memoria che il programma occupa."));
    QCommandLineOption today(
        QStringLiteral("today"),
        QStringLiteral("Conta i giorni di ritardo fino a questo giorno (gg/mm/aaaa) invece che fino a oggi."),
        QStringLiteral("data"));
    QCommandLineOption screenshotAgeing(
        QStringLiteral("screenshot-ageing"),
        QStringLiteral(
            "Cerca, salva un'immagine della finestra sulla vista dell'anzianità nel file ed esce."),
        QStringLiteral("file"));
    QCommandLineOption pdf(QStringLiteral("pdf"),
                           QStringLiteral("Cerca, stampa il primo effetto trovato nel file PDF ed esce."),
                           QStringLiteral("file"));
    parser.addOptions({help, db, company, user, password, registry, noDemo, screenshot, screenshotForm,
                       timing, today, screenshotAgeing, pdf});
    parser.process(app);
    if (parser.isSet(help)) parser.showHelp(0);
    QDir().mkpath(dataDir);

    // A script signing in is told on its error stream, never by a window nobody would close.
    const bool scripted = parser.isSet(password);
    const auto scriptLog = std::make_shared<StandardErrorLogService>();
    const auto fail = [&](const QString& why) {
        if (scripted)
            scriptLog->MsgBox(why, LogService::kCritical, QStringLiteral("Dettaglio effetti"));
        else
            QMessageBox::critical(nullptr, QStringLiteral("Dettaglio effetti"), why);
        return 1;
    };

    const QString cs = parser.value(db);
    try {
        std::optional<DemoGenerator::Options> demo;
        if (!parser.isSet(noDemo)) {
            demo = DemoGenerator::Options::aroundDay(QDate::currentDate());
            // Shown only once the demo company is being made, which takes a while.
            auto progress = std::make_shared<std::unique_ptr<QProgressDialog>>();
            demo->progress = [progress](long long) {
                if (!*progress) {
                    *progress = std::make_unique<QProgressDialog>(
                        QStringLiteral("Creazione della ditta dimostrativa..."), QString(), 0, 0);
                    (*progress)->setWindowTitle(QStringLiteral("Dettaglio effetti"));
                    (*progress)->show();
                }
                QCoreApplication::processEvents();
            };
        }
        StartUp::prepare(cs, demo);

        // 0: the sign-in asks when there is more than one company; a script signing in gets company 1.
        qint32 companyCode = parser.value(company).toInt();
        std::optional<SignIn::Session> session;
        if (scripted) {
            session = StartUp::signIn().signIn(cs, parser.value(user), parser.value(password));
            if (companyCode == 0) companyCode = 1;
        } else {
            StartDialog start(cs, companyCode);
            start.userEdit()->setText(parser.value(user));
            if (!parser.value(user).isEmpty()) start.passwordEdit()->setFocus();
            if (start.exec() != QDialog::Accepted) return 0;
            session = start.session();
            companyCode = start.company();
        }
        const StartUp::Desk desk = StartUp::open(*session, companyCode);
        const std::shared_ptr<DatabaseHost>& host = desk.host;
        if (scripted)
            host->setLogServiceFactory([scriptLog] { return std::shared_ptr<LogService>(scriptLog); });

        const QString library = moduleLibrary();
        if (library.isEmpty())
            return fail(QStringLiteral("Il modulo degli effetti (%1) non è installato accanto al programma: "
                                       "reinstallare il pacchetto.")
                            .arg(QStringLiteral(KVUO_TARSELLO_FILE)));
        auto modules = std::make_shared<PluginRegistry>(parser.value(registry));
        if (modules->LibraryOf(QString::fromLatin1(HostMainWindow::kProgId)) != library)
            modules->Register(QString::fromLatin1(HostMainWindow::kProgId), library);

        HostMainWindow window(host, desk.connection, modules);
        window.setRights(session->rights());
        if (parser.isSet(today)) {
            const QDate day = QDate::fromString(parser.value(today), QStringLiteral("dd/MM/yyyy"));
            if (!day.isValid()) {
                std::fprintf(stderr, "--today: la data \"%s\" non è valida (gg/mm/aaaa)\n",
                             qPrintable(parser.value(today)));
                return 2;
            }
            window.callingProgram()->setToday(day);
        }
        window.show();
        if (parser.isSet(screenshotForm)) {
            QElapsedTimer clock;
            clock.start();
            window.callingProgram()->search();
            QCoreApplication::processEvents();
            const qint64 listMs = clock.restart();
            // The form is opened once the list is counted, as a clerk opens it from the list.
            while (!window.callingProgram()->countDone() && clock.elapsed() < 60000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            const qint64 countMs = clock.restart();
            if (!window.openModule(window.callingProgram()->filter(), window.callingProgram()->selectedKey()))
                return 1;
            QCoreApplication::processEvents();
            if (parser.isSet(timing))
                std::fprintf(
                    stderr,
                    "lista %lld ms, conteggio %lld ms, scheda sul primo effetto %lld ms, memoria %s\n",
                    static_cast<long long>(listMs), static_cast<long long>(countMs),
                    static_cast<long long>(clock.elapsed()), qPrintable(residentMemory()));
            // The clerk's main screen: the host window with the Bill's tab in front.
            QTimer::singleShot(500, &window, [&] {
                try {
                    AtomicFile::savePng(parser.value(screenshotForm), window.grab().toImage());
                } catch (const SuiteError& e) {
                    std::fprintf(stderr, "%s\n", qPrintable(e.description()));
                }
                app.quit();
            });
        } else if (parser.isSet(screenshot) || parser.isSet(screenshotAgeing)) {
            CallingProgram* calling = window.callingProgram();
            calling->search();
            if (parser.isSet(screenshotAgeing)) calling->tabs()->setCurrentIndex(1);
            QTimer::singleShot(800, &window, [&] {
                try {
                    AtomicFile::savePng(
                        parser.value(parser.isSet(screenshot) ? screenshot : screenshotAgeing),
                        window.grab().toImage());
                } catch (const SuiteError& e) {
                    std::fprintf(stderr, "%s\n", qPrintable(e.description()));
                }
                app.quit();
            });
        } else if (parser.isSet(pdf)) {
            window.callingProgram()->search();
            ReportPrinter::toPdf(window.callingProgram()->billHtml(), parser.value(pdf), false);
            return 0;
        }
        const int code = app.exec();
        // A script's run that had something to tell did not go as planned.
        return code == 0 && scriptLog->written() > 0 ? 1 : code;
    } catch (const SuiteError& e) {
        return fail(StartUp::forTheClerk(e, cs));
    }
}
