// The slip for the bank from a scenario: presented by a filter, withdrawn by its key, on the
// signed-in clerk's connection (the database applies the clerk's rights). A refusal is printed,
// not a failure of the scenario: it is what the scenario may be there to see.
#include "HostGlobal.h"
#include "JsonLine.h"
#include "ScenarioError.h"
#include "ScenarioRunner.h"
#include "SlipCommand.h"
#include "SlipFiles.h"
#include "SuiteError.h"

namespace {

QString keyText(const SlipKey& key) {
    return QStringLiteral("%1,%2,%3").arg(key.kind).arg(key.year).arg(key.number);
}

}  // namespace

void ScenarioRunner::present(const QStringList& args) {
    if (!session_.connection || !session_.host)
        throw ScenarioError(QStringLiteral("no database to present on"));
    JsonLine line(QStringLiteral("presenta"));
    try {
        const QDate today = QDate::currentDate();
        const SlipCommand::Written w =
            SlipCommand(session_.connection, session_.host->CompanyContext().company, &SlipFiles::check)
                .present(args[0], args[1], args[2], args[3], today);
        line.add(QStringLiteral("slip"), keyText(w.key))
            .add(QStringLiteral("count"), w.count)
            .add(QStringLiteral("total"), w.total.toString())
            .add(QStringLiteral("message"), SlipCommand::told(w, today));
    } catch (const SuiteError& e) {
        line.add(QStringLiteral("error"), e.description());
    }
    emitLine(line.toJson());
}

void ScenarioRunner::withdraw(const QString& key) {
    if (!session_.connection || !session_.host)
        throw ScenarioError(QStringLiteral("no database to withdraw on"));
    JsonLine line(QStringLiteral("ritira"));
    line.add(QStringLiteral("slip"), key);
    try {
        line.add(QStringLiteral("bills"),
                 SlipCommand(session_.connection, session_.host->CompanyContext().company).withdraw(key));
    } catch (const SuiteError& e) {
        line.add(QStringLiteral("error"), e.description());
    }
    emitLine(line.toJson());
}
