#include "ReminderRecorder.h"

#include "BillKey.h"
#include "Connection.h"
#include "Recordset.h"
#include "ReminderRow.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QStringList>

namespace {

const QString kReminderRecorderTitle = QStringLiteral("Lettere di sollecito");

}  // namespace

ReminderRecorder::ReminderRecorder(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

void ReminderRecorder::record(const QList<ReminderLetter>& letters,
                              const std::function<void()>& alsoInTransaction) const {
    TransactionScope transaction(*connection_);
    for (const ReminderLetter& letter : letters)
        for (const LetterLine& line : letter.lines) recordOne(line, letter.date);
    if (alsoInTransaction) alsoInTransaction();
    transaction.commit();
}

void ReminderRecorder::recordOne(const LetterLine& line, const QDate& date) const {
    const BillKey key = BillKey::parse(line.key, kReminderRecorderTitle);
    Recordset bill;
    bill.Open(QStringLiteral("SELECT * FROM EF01_SCADENZE") + key.where(QStringLiteral("EF01")), connection_);
    const QString which =
        QStringLiteral("L'effetto n. %1 (registrazione %2)").arg(line.billNumber, key.registration);
    if (bill.AtEOF())
        throw SuiteError(SuiteError::kWriteConflict, kReminderRecorderTitle,
                         which + QStringLiteral(" non c'è più: forse un altro utente l'ha eliminato."));
    bill.HoldCurrentRow();
    if (Value::toInt(bill.Fields(QStringLiteral("EF01_INDSTATO_S")).Value()) != 0)
        throw SuiteError(
            SuiteError::kWriteConflict, kReminderRecorderTitle,
            which + QStringLiteral(" è stato chiuso da un altro utente: rileggere la selezione."));

    ReminderRow row;
    row.letterCode = line.letterCode;
    row.date = date;
    row.rate = line.rate;
    row.interestFrom = line.interestFrom;
    row.interestTo = line.interestTo;
    row.interest = line.interest;
    row.returnCharges = line.returnCharges;
    row.postage = line.charges - line.returnCharges;
    row.add(connection_, key);
}
