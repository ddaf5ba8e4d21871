#include "DatabaseHistoryWriter.h"

#include "Connection.h"
#include "HistorySnapshot.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

namespace {
// The movement's Bill key columns and the header columns they come from.
const std::pair<const char*, const char*> kKey[] = {{"EF06_DITTA_CG18", "EF01_DITTA_CG18"},
                                                    {"EF06_NUMREG_CO99", "EF01_NUMREG_CO99"},
                                                    {"EF06_RIGACONT_EF01", "EF01_RIGACONT_CG42"},
                                                    {"EF06_PROGEC_EF01", "EF01_PROGEC_EC01"},
                                                    {"EF06_PROGEFF_EF01", "EF01_PROGEFF"}};
}  // namespace

int DatabaseHistoryWriter::Prepare() {
    row_.clear();
    try {
        if (!movement_ || !movement_->connection || !movement_->bill)
            throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Storico"),
                             QStringLiteral("Movimento di storico senza effetto o connessione."));
        Recordset& bill = *movement_->bill;
        for (const auto& [movementColumn, billColumn] : kKey)
            row_.insert(QString::fromLatin1(movementColumn),
                        bill.Fields(QString::fromLatin1(billColumn)).Value());

        QStringList columns;
        for (const HistorySnapshot::Pair& p : HistorySnapshot::columns())
            columns << QString::fromLatin1(p.bill);
        Recordset stored;
        stored.Open(
            QStringLiteral("SELECT %1 FROM EF01_SCADENZE WHERE EF01_DITTA_CG18 = %2 AND EF01_NUMREG_CO99 = %3"
                           " AND EF01_RIGACONT_CG42 = %4 AND EF01_PROGEC_EC01 = %5 AND EF01_PROGEFF = %6")
                .arg(columns.join(QStringLiteral(", ")))
                .arg(Value::toInt(row_.value(QStringLiteral("EF06_DITTA_CG18"))))
                .arg(SqlText::quote(Value::toText(row_.value(QStringLiteral("EF06_NUMREG_CO99")))))
                .arg(Value::toInt(row_.value(QStringLiteral("EF06_RIGACONT_EF01"))))
                .arg(Value::toInt(row_.value(QStringLiteral("EF06_PROGEC_EF01"))))
                .arg(Value::toInt(row_.value(QStringLiteral("EF06_PROGEFF_EF01")))),
            movement_->connection);
        if (stored.AtEOF())
            throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Storico"),
                             QStringLiteral("L'effetto non è più in archivio."));
        for (const HistorySnapshot::Pair& p : HistorySnapshot::columns())
            row_.insert(QString::fromLatin1(p.movement), stored.Fields(QString::fromLatin1(p.bill)).Value());
        row_.insert(QStringLiteral("EF06_PROGSTO"), movement_->progressive);
        row_.insert(QStringLiteral("EF06_INDTIPOPER"), movement_->type);
        for (auto it = movement_->extra.constBegin(); it != movement_->extra.constEnd(); ++it)
            row_.insert(it.key(), it.value());
        row_.insert(QStringLiteral("EF06_DATAREG"), movement_->date.date());
        return 0;
    } catch (const SuiteError& e) {
        lastError_ = e.description();
        lastNumber_ = e.number();
        row_.clear();
        return 1;
    }
}

int DatabaseHistoryWriter::Write() {
    try {
        if (row_.isEmpty())
            throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Storico"),
                             QStringLiteral("Movimento di storico non preparato."));
        Recordset movement;
        movement.Open(QStringLiteral("SELECT * FROM EF06_SCADSTO WHERE 0=1"), movement_->connection);
        movement.AddNew();
        for (auto it = row_.constBegin(); it != row_.constEnd(); ++it)
            movement.Fields(it.key()).setValue(it.value());
        movement.UpdateBatch();
        return 0;
    } catch (const SuiteError& e) {
        lastError_ = e.description();
        lastNumber_ = e.number();
        return 1;
    }
}
