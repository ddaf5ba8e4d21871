#include "DriverApplication.h"

#include "LockWait.h"
#include "ModuleSession.h"
#include "ScenarioError.h"
#include "ScenarioParser.h"
#include "SuiteError.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace {

const QString kUsage = QStringLiteral(
    "usage: kv_driver --db CONNSTRING [--demo] --company N --user CODE (--password TEXT | --trusted) "
    "[--privileged] [--lock-wait SECONDS] [SCENARIO_FILE]");

}  // namespace

int DriverApplication::run(const QStringList& arguments, QIODevice& standardInput,
                           const ScenarioRunner::Output& output, QString* errors) {
    const auto fail = [&](int code, const QString& message) {
        if (errors) *errors = message;
        return code;
    };

    QCommandLineParser parser;
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Company database."),
                                QStringLiteral("connection"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Fill a new database with the demo company."));
    const QCommandLineOption company(QStringLiteral("company"), QStringLiteral("Company code."),
                                     QStringLiteral("N"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User code."),
                                  QStringLiteral("CODE"));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("The user's password (PostgreSQL: the role's)."),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption trusted(
        QStringLiteral("trusted"),
        QStringLiteral(
            "Test switch: trust the connection string's access and take --user as the suite user."));
    const QCommandLineOption privileged(QStringLiteral("privileged"),
                                        QStringLiteral("Work as a privileged user."));
    const QCommandLineOption lockWait(
        QStringLiteral("lock-wait"),
        QStringLiteral("How long a statement waits for a colleague's lock before giving up (default 10)."),
        QStringLiteral("SECONDS"));
    parser.addOptions({db, demo, company, user, password, trusted, privileged, lockWait});
    if (!parser.parse(QStringList{QStringLiteral("kv_driver")} + arguments))
        return fail(ScenarioRunner::kBadScenario, parser.errorText() + u'\n' + kUsage);
    bool companyOk = false;
    const int companyCode = parser.value(company).toInt(&companyOk);
    if (!parser.isSet(db) || !parser.isSet(user) || !companyOk || parser.positionalArguments().size() > 1 ||
        parser.isSet(password) == parser.isSet(trusted))
        return fail(ScenarioRunner::kBadScenario, kUsage);
    if (parser.isSet(lockWait)) {
        bool waitOk = false;
        const int seconds = parser.value(lockWait).toInt(&waitOk);
        if (!waitOk || seconds < 1 || seconds > 3600) return fail(ScenarioRunner::kBadScenario, kUsage);
        LockWait::set(seconds * 1000);
    }

    QString text;
    if (parser.positionalArguments().isEmpty()) {
        text = QString::fromUtf8(standardInput.readAll());
    } else {
        QFile file(parser.positionalArguments().front());
        if (!file.open(QIODevice::ReadOnly))
            return fail(ScenarioRunner::kBadScenario,
                        QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
        text = QString::fromUtf8(file.readAll());
    }

    QList<ScenarioCommand> commands;
    try {
        commands = ScenarioParser::parse(text);
    } catch (const ScenarioError& e) {
        return fail(ScenarioRunner::kBadScenario, e.message());
    }

    try {
        ModuleSession::Options options;
        options.connectionString = parser.value(db);
        options.demo = parser.isSet(demo);
        options.company = companyCode;
        options.user = parser.value(user);
        options.password = parser.value(password);
        options.trusted = parser.isSet(trusted);
        options.privileged = parser.isSet(privileged);
        options.pluginLibrary = QStringLiteral(KVUO_TARSELLO_LIBRARY);
        ModuleSession session(options);
        ScenarioRunner runner(session.session(), output);
        const int code = runner.run(commands);
        return code == ScenarioRunner::kOk ? code : fail(code, runner.error());
    } catch (const SuiteError& e) {
        return fail(ScenarioRunner::kFailed, QStringLiteral("%1 (%2)").arg(e.description(), e.hexNumber()));
    }
}
