#include "ReminderRecorder.h"

#include "BillKey.h"
#include "Connection.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QStringList>

namespace {

const QString kTitle = QStringLiteral("Lettere di sollecito");

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
    const BillKey key = BillKey::parse(line.key, kTitle);
    Recordset bill;
    bill.Open(QStringLiteral("SELECT * FROM EF01_SCADENZE") + key.where(QStringLiteral("EF01")), connection_);
    const QString which =
        QStringLiteral("L'effetto n. %1 (registrazione %2)").arg(line.billNumber, key.registration);
    if (bill.AtEOF())
        throw SuiteError(SuiteError::kWriteConflict, kTitle,
                         which + QStringLiteral(" non c'è più: forse un altro utente l'ha eliminato."));
    bill.HoldCurrentRow();
    if (Value::toInt(bill.Fields(QStringLiteral("EF01_INDSTATO_S")).Value()) != 0)
        throw SuiteError(
            SuiteError::kWriteConflict, kTitle,
            which + QStringLiteral(" è stato chiuso da un altro utente: rileggere la selezione."));

    auto reminders = std::make_shared<Recordset>();
    reminders->Open(QStringLiteral("SELECT * FROM EF05_SCADSOLLEC") + key.where(QStringLiteral("EF05")) +
                        QStringLiteral(" ORDER BY EF05_PROGAVVISI"),
                    connection_);
    // After the last reminder as the database holds it now, the Bill being held.
    int progressive = 0;
    for (reminders->MoveFirst(); !reminders->AtEOF(); reminders->MoveNext())
        progressive =
            std::max(progressive, Value::toInt(reminders->Fields(QStringLiteral("EF05_PROGAVVISI")).Value()));
    ++progressive;
    reminders->AddNew();
    const QVariant none;
    const QList<std::pair<const char*, QVariant>> values = {
        {"EF05_DITTA_CG18", key.company},
        {"EF05_NUMREG_CO99", key.registration},
        {"EF05_RIGACONT_EF01", key.row},
        {"EF05_PROGEC_EF01", key.statement},
        {"EF05_PROGEFF_EF01", key.progressive},
        {"EF05_PROGAVVISI", progressive},
        {"EF05_PROGSTO", progressive},
        {"EF05_DATAAVVISO", date},
        {"EF05_DATARIFELAB", date},
        {"EF05_FLGCALCINT", line.rate ? 1 : 0},
        {"EF05_TASSOINT", line.rate ? QVariant::fromValue(*line.rate) : none},
        {"EF05_DADATACALC", line.rate ? QVariant(line.interestFrom) : none},
        {"EF05_ADATACALC", line.rate ? QVariant(line.interestTo) : none},
        {"EF05_IMPINTERES", QVariant::fromValue(line.interest)},
        {"EF05_SPESERIT", QVariant::fromValue(Decimal::fromMantissa(0, 2))},
        {"EF05_SPBOLLO", QVariant::fromValue(Decimal::fromMantissa(0, 2))},
        {"EF05_SPPOST", QVariant::fromValue(line.charges)},
        {"EF05_SPVARIE", QVariant::fromValue(Decimal::fromMantissa(0, 2))},
        {"EF05_SIGLALETTERA", line.letterCode},
        {"EF05_INDBLOC", 0},
        {"EF05_FLGAZLEGAL", 0},
        {"EF05_FLGINVIOAGE", 0},
        {"EF05_FLGEMISDOC", 0},
        {"EF05_FLGDOCBIS", 0},
        {"EF05_FLGPERS1", 0},
        {"EF05_FLGPERS2", 0},
    };
    for (const auto& [column, value] : values) reminders->Fields(QString::fromLatin1(column)).setValue(value);
    reminders->Update();
    reminders->UpdateBatch(Recordset::AffectAll);
}
