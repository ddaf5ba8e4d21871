#include "DeskStart.h"

#include "CallingProgram.h"
#include "DatabaseHost.h"
#include "DemoGenerator.h"
#include "FailureText.h"
#include "HostMainWindow.h"
#include "ItalianQt.h"
#include "PluginRegistry.h"
#include "ProgramOptions.h"
#include "SlipCommand.h"
#include "SlipFiles.h"
#include "SlipTexts.h"
#include "StandardErrorLogService.h"
#include "StartDialog.h"
#include "StartUp.h"
#include "SuiteError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <clocale>
#include <cstdio>

namespace {

const QString kDeskStartTitle = QStringLiteral("Dettaglio effetti");

// The demo company made on an empty database, with a progress window shown only once it is
// being made, which takes a while.
std::optional<DemoGenerator::Options> demoOptions(const ProgramOptions& options) {
    if (!options.demo) return std::nullopt;
    DemoGenerator::Options demo = DemoGenerator::Options::aroundDay(QDate::currentDate());
    auto progress = std::make_shared<std::unique_ptr<QProgressDialog>>();
    demo.progress = [progress](long long) {
        if (!*progress) {
            *progress = std::make_unique<QProgressDialog>(
                QStringLiteral("Creazione della ditta dimostrativa..."), QString(), 0, 0);
            (*progress)->setWindowTitle(kDeskStartTitle);
            (*progress)->show();
        }
        QCoreApplication::processEvents();
    };
    return demo;
}

// Who works and in which company: a script signs in with its password (company 1 unless
// given), a clerk through the start dialog. Nullopt when the clerk gave up.
std::optional<std::pair<SignIn::Session, qint32>> signIn(const ProgramOptions& options) {
    if (options.passwordGiven)
        return std::pair{StartUp::signIn().signIn(options.database, options.user, options.password),
                         options.company == 0 ? 1 : options.company};
    StartDialog start(options.database, options.company);
    start.userEdit()->setText(options.user);
    if (!options.user.isEmpty()) start.passwordEdit()->setFocus();
    if (start.exec() != QDialog::Accepted) return std::nullopt;
    return std::pair{*start.session(), start.company()};
}

// The slip a script asked for, on the signed-in clerk's connection: what was done on the
// standard output, a refusal on the error stream with exit code 1.
int runSlip(const ProgramOptions& options, const StartUp::Desk& desk, qint32 company) {
    const QDate today = options.today.isEmpty()
                            ? QDate::currentDate()
                            : QDate::fromString(options.today, QStringLiteral("dd/MM/yyyy"));
    if (!today.isValid()) {
        std::fprintf(stderr, "--today: la data \"%s\" non è valida (gg/mm/aaaa)\n",
                     qPrintable(options.today));
        return 2;
    }
    const SlipCommand command(desk.connection, company, &SlipFiles::check);
    try {
        const QString told =
            options.withdraw.isEmpty()
                ? SlipCommand::told(
                      command.present(options.present, options.dueFrom, options.dueTo, options.bank, today),
                      today)
                : SlipTexts::kWithdrawn
                      .arg(SlipKey::parse(company, options.withdraw, SlipTexts::kWithdrawTitle).shown())
                      .arg(command.withdraw(options.withdraw));
        std::fprintf(stdout, "%s\n", qPrintable(told));
        return 0;
    } catch (const SuiteError& e) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(e.source() == SlipTexts::kTitle || e.source() == SlipTexts::kWithdrawTitle
                           ? e.description()
                           : FailureText::of(e, options.withdraw.isEmpty() ? SlipTexts::kNothingWritten
                                                                           : SlipTexts::kNothingWithdrawn)));
        return 1;
    }
}

}  // namespace

void DeskStart::prepare(QApplication& app) {
    // Qt set the C library's locale from the desk's: numbers that C code writes for machines
    // keep their point. The clerk's formats come from our own code and Qt's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(kDeskStartTitle);
    QApplication::setOrganizationName(QStringLiteral("Contabilita"));
    ItalianQt::install(app);  // before the options: the help's own lines in Italian too
}

QString DeskStart::plugin(const QStringList& folders, const QString& file) {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& folder : folders) {
        const QFileInfo plugin(program.filePath(folder + u'/' + file));
        if (plugin.exists()) return plugin.canonicalFilePath();
    }
    return {};
}

int DeskStart::run(QApplication& app, const ProgramOptions& options, const QString& plugin,
                   const Shown& shown) {
    QDir().mkpath(ProgramOptions::dataFolder());
    // A script signing in is told on its error stream, never by a window nobody would close.
    const auto scriptLog = std::make_shared<StandardErrorLogService>();
    const auto fail = [&](const QString& why) {
        if (options.passwordGiven)
            scriptLog->MsgBox(why, LogService::kCritical, kDeskStartTitle);
        else
            QMessageBox::critical(nullptr, kDeskStartTitle, why);
        return 1;
    };
    try {
        StartUp::prepare(options.database, demoOptions(options));
        const std::optional<std::pair<SignIn::Session, qint32>> session = signIn(options);
        if (!session) return 0;
        const StartUp::Desk desk = StartUp::open(session->first, session->second);
        if (!options.present.isEmpty() || !options.withdraw.isEmpty())
            return runSlip(options, desk, session->second);
        if (options.passwordGiven)
            desk.host->setLogServiceFactory([scriptLog] { return std::shared_ptr<LogService>(scriptLog); });

        if (plugin.isEmpty())
            return fail(QStringLiteral(
                "Il modulo degli effetti non è installato accanto al programma: reinstallare il "
                "pacchetto."));
        auto modules = std::make_shared<PluginRegistry>(options.registry);
        if (modules->LibraryOf(QString::fromLatin1(HostMainWindow::kProgId)) != plugin)
            modules->Register(QString::fromLatin1(HostMainWindow::kProgId), plugin);
        StartUp::givePrograms(desk.host, modules, session->first.rights());

        HostMainWindow window(desk.host, desk.connection, modules);
        window.setRights(session->first.rights());
        if (!options.today.isEmpty()) {
            const QDate day = QDate::fromString(options.today, QStringLiteral("dd/MM/yyyy"));
            if (!day.isValid()) {
                std::fprintf(stderr, "--today: la data \"%s\" non è valida (gg/mm/aaaa)\n",
                             qPrintable(options.today));
                return 2;
            }
            window.callingProgram()->setToday(day);
        }
        window.show();
        if (shown)
            if (const std::optional<int> done = shown(app, window)) return *done;
        const int code = app.exec();
        // A script's run that had something to tell did not go as planned.
        return code == 0 && scriptLog->written() > 0 ? 1 : code;
    } catch (const SuiteError& e) {
        return fail(StartUp::forTheClerk(e, options.database));
    }
}
