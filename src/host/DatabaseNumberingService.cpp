#include "DatabaseNumberingService.h"

#include "Connection.h"
#include "Recordset.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

std::shared_ptr<Connection> DatabaseNumberingService::connectionFor() const {
    // Only the host's database: a connection of the session's, with its rights.
    if (shared_->ConnectionString() != connectionString)
        throw SuiteError(
            SuiteError::kOperationNotAllowed, QStringLiteral("Numeratore"),
            QStringLiteral("Il numeratore dà numeri solo dal database della ditta aperta, non da %1.")
                .arg(ConnectionString::shown(connectionString)));
    if (shared_->State() == 1 && !shared_->InTransaction()) return shared_;
    return shared_->factory().open();
}

qint64 DatabaseNumberingService::NextNumber() {
    bool companyOk = false;
    const int companyCode = company.trimmed().toInt(&companyOk);
    if (!companyOk || series <= 0 || year <= 0)
        throw SuiteError(SuiteError::kOperationNotAllowed, QStringLiteral("Numeratore"),
                         QStringLiteral("Numeratore non impostato: ditta \"%1\", serie %2, anno %3.")
                             .arg(company)
                             .arg(series)
                             .arg(year));
    const std::shared_ptr<Connection> connection = connectionFor();
    const QString where = QStringLiteral(" WHERE KV04_SERIE = ") + SqlText::quote(QString::number(series)) +
                          QStringLiteral(" AND KV04_DITTA_CG18 = ") + QString::number(companyCode) +
                          QStringLiteral(" AND KV04_ANNO = ") + QString::number(year);
    // Two tries: a first number of a series may be taken by another user between our UPDATE
    // finding no row and our INSERT, which the key then refuses.
    for (int attempt = 0;; ++attempt) {
        try {
            TransactionScope transaction(*connection);
            if (connection->Execute(
                    QStringLiteral("UPDATE KV04_NUMERATORI SET KV04_ULTIMO = KV04_ULTIMO + 1") + where) == 0)
                connection->Execute(
                    QStringLiteral(
                        "INSERT INTO KV04_NUMERATORI (KV04_SERIE, KV04_DITTA_CG18, KV04_ANNO, KV04_ULTIMO, "
                        "KV04_PREFISSO) VALUES (%1, %2, %3, 1, %4)")
                        .arg(SqlText::quote(QString::number(series)))
                        .arg(companyCode)
                        .arg(year)
                        .arg(SqlText::quote(QString::number(year))));
            Recordset rs;
            rs.Open(QStringLiteral("SELECT KV04_ULTIMO, KV04_PREFISSO FROM KV04_NUMERATORI") + where,
                    connection);
            const qint64 number = Value::toDecimal(rs.Fields(0).Value()).toLongLong();
            prefix_ = Value::toText(rs.Fields(1).Value()).trimmed();
            transaction.commit();
            return number;
        } catch (const SuiteError&) {
            if (attempt > 0) throw;
        }
    }
}
