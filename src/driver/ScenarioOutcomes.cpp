// The bank's outcomes on the slips, run as the signed-in user: what a clerk does in the slip list
// and its dialogs. A refusal prints {"cmd":C,"error":TEXT} and the scenario goes on.
#include "Connection.h"
#include "HostGlobal.h"
#include "ItalianFormat.h"
#include "JsonLine.h"
#include "OutcomeInput.h"
#include "OutcomeRegistrar.h"
#include "ScenarioError.h"
#include "ScenarioRunner.h"
#include "SlipBook.h"
#include "SlipKinds.h"
#include "StatusReportImport.h"
#include "SuiteError.h"

#include <QFile>

namespace {

QString slipText(const SlipKey& key) {
    return QStringLiteral("%1,%2,%3").arg(key.kind).arg(key.year).arg(key.number);
}

// A JSON array of objects, keys in the order given.
class JsonRows {
public:
    void add(const QList<std::pair<const char*, QVariant>>& fields) {
        QByteArray o = "{";
        for (const auto& [key, value] : fields)
            o += (o.size() > 1 ? ",\"" : "\"") + QByteArray(key) + "\":" + JsonLine::value(value);
        rows_ += (rows_.size() > 1 ? "," : "") + o + '}';
    }
    QByteArray json() const { return rows_ + ']'; }

private:
    QByteArray rows_ = "[";
};

bool flag(const QString& text, const QString& name) {
    if (text == QStringLiteral("1")) return true;
    if (text == QStringLiteral("0")) return false;
    throw ScenarioError(QStringLiteral("%1 takes 0 or 1, not \"%2\"").arg(name, text));
}

}  // namespace

bool ScenarioRunner::isOutcome(const QString& command) {
    static const QStringList commands = {QStringLiteral("slips"),       QStringLiteral("slipbills"),
                                         QStringLiteral("credit"),      QStringLiteral("pay"),
                                         QStringLiteral("unpaid"),      QStringLiteral("sepafile"),
                                         QStringLiteral("statusreport")};
    return commands.contains(command);
}

void ScenarioRunner::outcome(const QString& command, const QStringList& args) {
    if (!session_.host) throw ScenarioError(QStringLiteral("no host to register outcomes with"));
    const std::shared_ptr<Connection> connection = session_.host->OpenConnection();
    const qint32 company = session_.host->CompanyContext().company;
    const SlipBook book(connection);
    JsonLine line(command);
    try {
        const auto slip = [&] { return SlipKey::parse(company, args[0], QStringLiteral("Distinta")); };
        if (command == QStringLiteral("slips")) {
            JsonRows rows;
            for (const SlipRow& r : book.slips(company))
                rows.add({{"slip", slipText(r.key)},
                          {"kind", SlipKinds::name(r.key.kind)},
                          {"date", ItalianFormat::date(r.created)},
                          {"count", r.count},
                          {"total", ItalianFormat::amount(r.total)},
                          {"bank", r.bank},
                          {"state", SlipBook::stateName(r.state)},
                          {"credited", r.credited.isValid() ? ItalianFormat::date(r.credited) : QVariant()},
                          {"unpaid", r.unpaid}});
            line.addJson(QStringLiteral("slips"), rows.json());
        } else if (command == QStringLiteral("slipbills")) {
            JsonRows rows;
            for (const PresentedBill& b : book.bills(slip()))
                rows.add({{"key", b.key},
                          {"number", b.number},
                          {"due", ItalianFormat::date(b.due)},
                          {"amount", ItalianFormat::amount(b.amount)},
                          {"outcome", SlipBook::outcomeName(b.outcome)}});
            line.addJson(QStringLiteral("bills"), rows.json());
        } else if (command == QStringLiteral("credit")) {
            book.credit(slip(), OutcomeInput::date(args[1], QStringLiteral("Data di accredito")));
            line.add(QStringLiteral("state"), SlipBook::stateName(book.slip(slip()).state));
        } else if (command == QStringLiteral("pay")) {
            const QDate date = OutcomeInput::date(args[1], QStringLiteral("Data di incasso"));
            const int paid = OutcomeRegistrar(connection).pay(slip(), args.mid(2), date);
            line.add(QStringLiteral("paid"), paid)
                .add(QStringLiteral("state"), SlipBook::stateName(book.slip(slip()).state));
        } else if (command == QStringLiteral("unpaid")) {
            UnpaidRequest r;
            r.slip = slip();
            r.bill = args[1];
            r.date = OutcomeInput::date(args[2], QStringLiteral("Data insoluto"));
            r.bankCharges = OutcomeInput::amount(args[3], QStringLiteral("Spese addebitate dalla banca"));
            r.chargesMode = args[4].toInt();
            if (!args[5].trimmed().isEmpty())
                r.customerCharges =
                    OutcomeInput::amount(args[5], QStringLiteral("Spese a carico del cliente"));
            r.reminder = flag(args[6], QStringLiteral("unpaid's reminder"));
            OutcomeRegistrar(connection).unpaid({r});
            line.add(QStringLiteral("unpaid"), book.slip(r.slip).unpaid);
        } else if (command == QStringLiteral("sepafile")) {
            book.recordSepaFile(slip(), args[1], args[2]);
            line.add(QStringLiteral("recorded"), true);
        } else {
            QFile file(args[1]);
            if (!file.open(QIODevice::ReadOnly))
                throw SuiteError(
                    SuiteError::kItemNotFound, QStringLiteral("Esito SEPA"),
                    QStringLiteral("Il file %1 non si può leggere: %2.").arg(args[1], file.errorString()));
            const StatusReportResult result =
                StatusReportImport(connection, slip())
                    .apply(StatusReport::parse(file.readAll()),
                           args.size() > 2 && flag(args[2], QStringLiteral("statusreport's reminder")));
            line.add(QStringLiteral("matched"), result.matched)
                .add(QStringLiteral("alreadyDone"), result.alreadyDone)
                .add(QStringLiteral("unknown"), result.unknown)
                .add(QStringLiteral("accepted"), result.accepted);
        }
    } catch (const SuiteError& e) {
        line.add(QStringLiteral("error"), e.description());
    }
    emitLine(line.toJson());
}
