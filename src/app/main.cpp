#include "AccessRules.h"
#include "AtomicFile.h"
#include "CallingProgram.h"
#include "Cinterface.h"
#include "Connection.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "HostMainWindow.h"
#include "PluginRegistry.h"
#include "ReportPrinter.h"
#include "Schema.h"
#include "SchemaInstaller.h"
#include "SignIn.h"
#include "StartDialog.h"
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
#include <cstdio>

namespace {

// Opens the company database; an empty one gets the schema and the demo company.
std::shared_ptr<Connection> openDatabase(const QString& connectionString, bool demo) {
    auto connection = std::make_shared<Connection>();
    connection->Open(connectionString);
    connection->setCatalogue(SchemaInstaller::catalogue());
    SchemaInstaller installer(connection);
    if (installer.state() == SchemaInstaller::State::Empty) {
        installer.install();
        if (demo) {
            QProgressDialog progress(QStringLiteral("Creazione della ditta dimostrativa..."), QString(), 0,
                                     0);
            progress.setWindowTitle(QStringLiteral("Dettaglio effetti"));
            progress.show();
            DemoGenerator::Options options;
            options.progress = [](long long) { QCoreApplication::processEvents(); };
            DemoGenerator(connection, options).run();
        }
    }
    if (installer.state() == SchemaInstaller::State::Older) installer.upgrade();
    installer.verify();
    installer.addMissingIndexes();
    return connection;
}

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

// The module's plugin: beside the installed program, else where the build left it.
QString moduleLibrary() {
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/dettaglio/") +
                              QFileInfo(QStringLiteral(KVUO_TARSELLO_LIBRARY)).fileName();
    return QFileInfo::exists(installed) ? QFileInfo(installed).canonicalFilePath()
                                        : QStringLiteral(KVUO_TARSELLO_LIBRARY);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dettaglio effetti"));
    QApplication::setOrganizationName(QStringLiteral("Contabilita"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Host application of the Dettaglio effetti module."));
    parser.addHelpOption();
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCommandLineOption db(
        QStringLiteral("db"), QStringLiteral("Company database (sqlite:PATH, postgresql://..., odbc:...)."),
        QStringLiteral("connection"), QStringLiteral("sqlite:") + dataDir + QStringLiteral("/demo.sqlite"));
    QCommandLineOption company(QStringLiteral("company"), QStringLiteral("Company code."),
                               QStringLiteral("N"));
    QCommandLineOption user(QStringLiteral("user"),
                            QStringLiteral("User code (on PostgreSQL the database role) put in the sign-in."),
                            QStringLiteral("CODE"));
    QCommandLineOption password(QStringLiteral("password"),
                                QStringLiteral("Sign in with this password instead of asking (for scripts)."),
                                QStringLiteral("TEXT"));
    QCommandLineOption registry(QStringLiteral("registry"), QStringLiteral("Module registry file."),
                                QStringLiteral("file"), dataDir + QStringLiteral("/moduli.json"));
    QCommandLineOption noDemo(QStringLiteral("no-demo"),
                              QStringLiteral("Leave a new database without the demo company."));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Search, save a picture of the window to FILE and quit."),
                                  QStringLiteral("file"));
    QCommandLineOption screenshotForm(
        QStringLiteral("screenshot-form"),
        QStringLiteral("Open the first Bill found, save a picture of its form to FILE and quit."),
        QStringLiteral("file"));
    QCommandLineOption timing(
        QStringLiteral("timing"),
        QStringLiteral("With --screenshot-form: print how long the list and the form took "
                       "to show and the memory the process holds."));
    QCommandLineOption today(
        QStringLiteral("today"),
        QStringLiteral("Count the days overdue to this day (dd/mm/yyyy) instead of today."),
        QStringLiteral("date"));
    QCommandLineOption screenshotAgeing(
        QStringLiteral("screenshot-ageing"),
        QStringLiteral("Search, save a picture of the window on the ageing view to FILE and quit."),
        QStringLiteral("file"));
    QCommandLineOption pdf(
        QStringLiteral("pdf"),
        QStringLiteral("Search, print the first Bill found to the PDF file FILE and quit."),
        QStringLiteral("file"));
    parser.addOptions({db, company, user, password, registry, noDemo, screenshot, screenshotForm, timing,
                       today, screenshotAgeing, pdf});
    parser.process(app);
    QDir().mkpath(dataDir);

    try {
        const QString cs = parser.value(db);
        AccessRules::install(Schema::accessClass, Schema::billProgram());
        // The database is prepared as the connection string itself connects (the demo file, the
        // administrator); on a server a clerk's role may not, and signs in to a prepared one.
        const bool server = ConnectionString::parse(cs).signsInAsRole();
        try {
            openDatabase(cs, !parser.isSet(noDemo));
        } catch (const SuiteError&) {
            if (!server) throw;
        }

        // 0: the sign-in asks when there is more than one company; a script signing in gets company 1.
        qint32 companyCode = parser.value(company).toInt();
        std::optional<SignIn::Session> session;
        if (parser.isSet(password)) {
            try {
                session =
                    SignIn(Schema::billProgram()).signIn(cs, parser.value(user), parser.value(password));
            } catch (const SuiteError& e) {
                // A script signing in is told on its error stream, not by a window nobody sees.
                std::fprintf(stderr, "%s\n", qPrintable(e.description()));
                return 1;
            }
            if (companyCode == 0) companyCode = 1;
        } else {
            StartDialog start(cs, companyCode);
            start.userEdit()->setText(parser.value(user));
            if (!parser.value(user).isEmpty()) start.passwordEdit()->setFocus();
            if (start.exec() != QDialog::Accepted) return 0;
            session = start.session();
            companyCode = start.company();
        }
        auto connection = std::make_shared<Connection>();
        connection->Open(session->connectionString);
        connection->setCatalogue(SchemaInstaller::catalogue());
        SchemaInstaller(connection).verify();
        auto host =
            std::make_shared<DatabaseHost>(session->connectionString, companyCode, session->account.code);

        auto modules = std::make_shared<PluginRegistry>(parser.value(registry));
        const QString library = moduleLibrary();
        if (modules->LibraryOf(QString::fromLatin1(HostMainWindow::kProgId)) != library)
            modules->Register(QString::fromLatin1(HostMainWindow::kProgId), library);

        HostMainWindow window(host, connection, modules);
        window.setRights(session->rights);
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
            window.openModule(window.callingProgram()->filter(), window.callingProgram()->selectedKey());
            QCoreApplication::processEvents();
            if (parser.isSet(timing))
                std::fprintf(
                    stderr,
                    "lista %lld ms, conteggio %lld ms, scheda sul primo effetto %lld ms, memoria %s\n",
                    static_cast<long long>(listMs), static_cast<long long>(countMs),
                    static_cast<long long>(clock.elapsed()), qPrintable(residentMemory()));
            QTimer::singleShot(500, &window, [&] {
                Cinterface* module = window.module();
                if (auto* form = module ? qobject_cast<QWidget*>(module->Cwindow()) : nullptr) {
                    form->resize(1180, 720);
                    QCoreApplication::processEvents();
                    try {
                        AtomicFile::savePng(parser.value(screenshotForm), form->grab().toImage());
                    } catch (const SuiteError& e) {
                        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
                    }
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
        return app.exec();
    } catch (const SuiteError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Dettaglio effetti"), e.description());
        return 1;
    }
}
