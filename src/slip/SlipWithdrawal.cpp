#include "SlipWithdrawal.h"

#include "BillKey.h"
#include "Connection.h"
#include "HistorySnapshot.h"
#include "Recordset.h"
#include "SlipTexts.h"
#include "SlipTotals.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QStringList>

SlipWithdrawal::SlipWithdrawal(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

int SlipWithdrawal::withdraw(const SlipKey& slip) const {
    TransactionScope transaction(*connection_);
    // The slip's row goes first: a colleague withdrawing it too waits here, then finds it gone.
    if (!SlipTotals::remove(*connection_, slip))
        throw SuiteError(SuiteError::kOperationNotAllowed, SlipTexts::kWithdrawTitle,
                         SlipTexts::kSlipMissing.arg(slip.shown()));
    QStringList snapshot;
    for (const HistorySnapshot::Pair& p : HistorySnapshot::columns())
        snapshot << QStringLiteral("M.") + QString::fromLatin1(p.movement);
    Recordset movements;
    movements.Open(
        QStringLiteral("SELECT M.EF06_DITTA_CG18, M.EF06_NUMREG_CO99, M.EF06_RIGACONT_EF01,"
                       " M.EF06_PROGEC_EF01, M.EF06_PROGEFF_EF01, M.EF06_PROGSTO, ") +
            snapshot.join(QStringLiteral(", ")) + QStringLiteral(" FROM EF06_SCADSTO M WHERE ") +
            slip.movementLink() +
            QStringLiteral(" ORDER BY M.EF06_NUMREG_CO99, M.EF06_RIGACONT_EF01, M.EF06_PROGEC_EF01,"
                           " M.EF06_PROGEFF_EF01"),
        connection_);
    int given = 0;
    for (; !movements.AtEOF(); movements.MoveNext()) {
        const auto value = [&](const char* column) {
            return movements.Fields(QString::fromLatin1(column)).Value();
        };
        BillKey key;
        key.company = Value::toInt(value("EF06_DITTA_CG18"));
        key.registration = Value::toText(value("EF06_NUMREG_CO99"));
        key.row = Value::toInt(value("EF06_RIGACONT_EF01"));
        key.statement = Value::toInt(value("EF06_PROGEC_EF01"));
        key.progressive = Value::toInt(value("EF06_PROGEFF_EF01"));
        const int progressive = Value::toInt(value("EF06_PROGSTO"));

        // The Bill restored first, and so held: no colleague's movement can slip in after the check.
        Recordset bill;
        bill.Open(QStringLiteral("SELECT * FROM EF01_SCADENZE") + key.where(QStringLiteral("EF01")),
                  connection_);
        const QString named =
            QStringLiteral("L'effetto n. %1 (registrazione %2)")
                .arg(bill.AtEOF() ? 0 : Value::toInt(bill.Fields(QStringLiteral("EF01_NUMEFF")).Value()))
                .arg(key.registration);
        if (bill.AtEOF())
            throw SuiteError(SuiteError::kWriteConflict, SlipTexts::kWithdrawTitle,
                             SlipTexts::kGone.arg(named));
        for (const HistorySnapshot::Pair& p : HistorySnapshot::columns())
            bill.Fields(QString::fromLatin1(p.bill)).setValue(value(p.movement));
        bill.UpdateBatch(Recordset::AffectCurrent);

        Recordset last;
        last.Open(
            QStringLiteral("SELECT MAX(EF06_PROGSTO) FROM EF06_SCADSTO") + key.where(QStringLiteral("EF06")),
            connection_);
        if (Value::toInt(last.Fields(0).Value()) != progressive)
            throw SuiteError(SuiteError::kOperationNotAllowed, SlipTexts::kWithdrawTitle,
                             SlipTexts::kMovedOn.arg(named));
        connection_->Execute(QStringLiteral("DELETE FROM EF06_SCADSTO") + key.where(QStringLiteral("EF06")) +
                             QStringLiteral(" AND EF06_PROGSTO = %1").arg(progressive));
        ++given;
    }
    transaction.commit();
    return given;
}
