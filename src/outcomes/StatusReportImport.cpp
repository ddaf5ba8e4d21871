#include "StatusReportImport.h"
#include "SlipKinds.h"

#include "BillKey.h"
#include "Connection.h"
#include "OutcomeRegistrar.h"
#include "Recordset.h"
#include "SlipBook.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QSet>

namespace {

const QString kStatusReportImportTitle = QStringLiteral("Esito SEPA");

[[noreturn]] void refuseStatusReport(const QString& why) {
    throw SuiteError(SuiteError::kOperationNotAllowed, kStatusReportImportTitle, why);
}

// The key as the slip's Bills spell it, whatever blanks the bank kept; empty when it is not a key.
QString canonical(const QString& endToEndId) {
    try {
        const BillKey k = BillKey::parse(endToEndId, kStatusReportImportTitle);
        return QStringLiteral("%1,%2,%3,%4,%5")
            .arg(k.company)
            .arg(k.registration.trimmed())
            .arg(k.row)
            .arg(k.statement)
            .arg(k.progressive);
    } catch (const SuiteError&) {
        return {};
    }
}

}  // namespace

QString StatusReportResult::text() const {
    QStringList lines;
    lines << QStringLiteral("Insoluti registrati: %1").arg(matched.size());
    for (const QString& k : matched) lines << QStringLiteral("  ") + k;
    lines << QStringLiteral("Già registrati in precedenza: %1").arg(alreadyDone.size());
    for (const QString& k : alreadyDone) lines << QStringLiteral("  ") + k;
    lines << QStringLiteral("Senza effetto corrispondente (nulla registrato): %1").arg(unknown.size());
    for (const QString& k : unknown) lines << QStringLiteral("  ") + k;
    lines << QStringLiteral("Operazioni accettate dalla banca: %1").arg(accepted);
    return lines.join(QLatin1Char('\n'));
}

StatusReportImport::StatusReportImport(std::shared_ptr<Connection> connection, const SlipKey& slip)
    : connection_(std::move(connection)), slip_(slip) {}

StatusReportResult StatusReportImport::apply(const StatusReport& report, bool reminder) const {
    if (slip_.kind != SlipKinds::kSdd)
        refuseStatusReport(
            QStringLiteral("La distinta %1 non è di addebiti diretti SEPA: l'esito non la riguarda.")
                .arg(slip_.shown()));
    const SlipBook book(connection_);
    const SlipRow slip = book.slip(slip_);
    if (slip.sepaMessageId.isEmpty())
        refuseStatusReport(
            QStringLiteral("Per la distinta %1 non è registrato il file SEPA inviato: l'esito non si può "
                           "confrontare.")
                .arg(slip_.shown()));
    if (report.originalMessageId != slip.sepaMessageId)
        refuseStatusReport(
            QStringLiteral(
                "L'esito risponde al messaggio %1, la distinta %2 è stata inviata con il messaggio %3.")
                .arg(report.originalMessageId, slip_.shown(), slip.sepaMessageId));
    if (!report.originalMessageName.isEmpty() &&
        !report.originalMessageName.startsWith(QStringLiteral("pain.008")))
        refuseStatusReport(
            QStringLiteral(
                "L'esito risponde a un messaggio %1, non a un file di addebiti diretti (pain.008).")
                .arg(report.originalMessageName));

    QHash<QString, BillOutcome> outcomes;
    for (const PresentedBill& b : book.bills(slip_)) outcomes.insert(b.key, b.outcome);
    QHash<QString, QString> reasons;
    Recordset known;
    known.Open(QStringLiteral("SELECT KV23_CODICE, KV23_DESCR FROM KV23_CAUSALIESITO"), connection_);
    for (; !known.AtEOF(); known.MoveNext())
        reasons.insert(Value::toText(known.Fields(0).Value()).trimmed(),
                       Value::toText(known.Fields(1).Value()).trimmed());

    StatusReportResult result;
    QList<UnpaidRequest> requests;
    QSet<QString> taken;  // a transaction repeated in the same report counts once
    for (const StatusReport::Transaction& t : report.transactions) {
        if (!slip.creditorId.isEmpty() && !t.creditorId.isEmpty() && t.creditorId != slip.creditorId)
            refuseStatusReport(
                QStringLiteral("Riga %1: l'operazione è del creditore %2, la distinta %3 del creditore %4.")
                    .arg(t.line)
                    .arg(t.creditorId, slip_.shown(), slip.creditorId));
        if (t.status != QStringLiteral("RJCT")) {
            ++result.accepted;
            continue;
        }
        const QString key = canonical(t.endToEndId);
        if (key.isEmpty() || !outcomes.contains(key)) {
            result.unknown << t.endToEndId;
            continue;
        }
        if (outcomes.value(key) == BillOutcome::Unpaid || taken.contains(key)) {
            result.alreadyDone << key;
            continue;
        }
        if (!reasons.contains(t.reason))
            refuseStatusReport(QStringLiteral("Riga %1: causale \"%2\" sconosciuta per l'effetto %3.")
                                   .arg(t.line)
                                   .arg(t.reason, key));
        UnpaidRequest r;
        r.slip = slip_;
        r.bill = key;
        r.date = report.created.isValid() ? report.created : QDate::currentDate();
        r.reason = t.reason;
        r.reportId = report.messageId;
        r.reminder = reminder;
        requests << r;
        taken.insert(key);
        result.matched << QStringLiteral("%1 %2 %3").arg(key, t.reason, reasons.value(t.reason));
    }
    OutcomeRegistrar(connection_).unpaid(requests);
    return result;
}
