#include "PostgresDialect.h"

#include "ConnectionString.h"
#include "SuiteError.h"

#include <QRegularExpression>
#include <QSqlError>

QString PostgresDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt:
            return QStringLiteral("SMALLINT");
        case DataType::Integer:
            return QStringLiteral("INTEGER");
        case DataType::Decimal:
            return QStringLiteral("NUMERIC");
        case DataType::Text:
            return QStringLiteral("VARCHAR");
        case DataType::Date:
            return QStringLiteral("DATE");
        case DataType::DateTime:
            return QStringLiteral("TIMESTAMP");
    }
    return QString();
}

void PostgresDialect::configure(QSqlDatabase& db) const {
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);  // NUMERIC as exact text
}

QStringList PostgresDialect::sessionSetup(const ConnectionString& cs) const {
    QStringList setup{QStringLiteral("SET client_min_messages TO WARNING"),
                      // A save blocked by another session's lock gives up instead of freezing the window.
                      QStringLiteral("SET lock_timeout = %1").arg(kLockWaitMs)};
    if (!cs.schema.isEmpty()) {
        static const QRegularExpression valid(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!valid.match(cs.schema).hasMatch())
            throw SuiteError(SuiteError::kConnectionFailed, QStringLiteral("Connection"),
                             QStringLiteral("Nome di schema non valido: %1").arg(cs.schema));
        setup << QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(cs.schema)
              << QStringLiteral("SET search_path TO %1").arg(cs.schema);
    }
    return setup;
}

EngineFailure PostgresDialect::classify(const QSqlError& error) const {
    const QString state = error.nativeErrorCode();
    if (state == QLatin1String("23505")) return EngineFailure::DuplicateKey;  // unique_violation
    // lock_not_available (lock_timeout), and a statement cancelled while it waited.
    if (state == QLatin1String("55P03") || state == QLatin1String("57014")) return EngineFailure::LockTimeout;
    // Class 08 (connection exception), the server shutting down (57P01-57P03), and an error
    // libpq raised itself without a server's answer (no SQLSTATE at all).
    if (error.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P")) || (state.isEmpty() && error.type() != QSqlError::NoError))
        return EngineFailure::ConnectionLost;
    return EngineFailure::Refused;
}

ReadOnlyStatements PostgresDialect::readOnly(bool inTransaction) const {
    if (inTransaction)
        return {{QStringLiteral("SAVEPOINT kv_read_only"),
                 QStringLiteral("SET LOCAL transaction_read_only = on")},
                {QStringLiteral("ROLLBACK TO SAVEPOINT kv_read_only"),
                 QStringLiteral("RELEASE SAVEPOINT kv_read_only")}};
    return {{QStringLiteral("BEGIN READ ONLY")}, {QStringLiteral("COMMIT")}};
}
