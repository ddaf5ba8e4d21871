#include "SqliteDialect.h"

#include <QMap>
#include <QSqlError>

QString SqliteDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt:
            return QStringLiteral("SMALLINT");
        case DataType::Integer:
            return QStringLiteral("INTEGER");
        case DataType::Decimal:
            return QStringLiteral("DECIMAL");
        case DataType::Text:
            return QStringLiteral("VARCHAR");
        // Declared types that contain TEXT: TEXT affinity keeps '20240131' a text.
        case DataType::Date:
            return QStringLiteral("DATETEXT");
        case DataType::DateTime:
            return QStringLiteral("DATETIMETEXT");
    }
    return QString();
}

void SqliteDialect::configure(QSqlDatabase& db) const {
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kLockWaitMs));
}

QStringList SqliteDialect::sessionSetup(const ConnectionString&) const {
    // Readers go on while another connection writes: two users on one file.
    return {QStringLiteral("PRAGMA journal_mode=WAL")};
}

EngineFailure SqliteDialect::classify(const QSqlError& error) const {
    // QSQLITE files every failed step as a connection error; the SQLite result code tells a
    // constraint from a busy file and from a file that went away.
    const int code = error.nativeErrorCode().toInt();
    if (code == 1555 || code == 2067) return EngineFailure::DuplicateKey;  // primary key, unique
    switch (code & 0xff) {
        case 5:  // SQLITE_BUSY: the busy timeout ran out
        case 6:  // SQLITE_LOCKED
            return EngineFailure::LockTimeout;
        case 10:  // SQLITE_IOERR
        case 14:  // SQLITE_CANTOPEN
        case 26:  // SQLITE_NOTADB
            return EngineFailure::ConnectionLost;
        default:
            return EngineFailure::Refused;
    }
}

ReadOnlyStatements SqliteDialect::readOnly(bool) const {
    return {{QStringLiteral("PRAGMA query_only = 1")}, {QStringLiteral("PRAGMA query_only = 0")}};
}

QStringList SqliteDialect::tableNames(const CatalogueRows& rows) const {
    QStringList names;
    for (const QVariantList& r :
         rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"
                             " AND name NOT LIKE 'sqlite_%'"),
              {}))
        names.append(r[0].toString().toUpper());
    names.sort();
    return names;
}

std::optional<TableDef> SqliteDialect::inspectTable(const QString& name, const CatalogueRows& rows) const {
    const auto kind =
        rows(QStringLiteral("SELECT type FROM sqlite_master WHERE upper(name) = ?"), {name.toUpper()});
    if (kind.isEmpty()) return std::nullopt;
    TableDef t;
    t.name = name.toUpper();
    t.isView = kind[0][0].toString() == QStringLiteral("view");
    QMap<int, QString> key;
    // The name comes from sqlite_master, so it is a plain identifier.
    for (const QVariantList& r : rows(QStringLiteral("PRAGMA table_info(%1)").arg(t.name), {})) {
        // cid, name, type, notnull, dflt_value, pk
        ColumnDef c = declaredColumn(r[1].toString(), r[2].toString(), 0, 0, 0);
        c.nullable = r[3].toInt() == 0 && r[5].toInt() == 0;
        if (r[5].toInt() > 0) key.insert(r[5].toInt(), c.name);
        t.columns.append(c);
    }
    t.primaryKey = key.values();
    return t;
}
