#include "SqliteDialect.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <QFile>
#include <QMap>
#include <QSqlDriver>
#include <QSqlError>
#include <cstring>
#include <optional>

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
        case 23:  // SQLITE_AUTH: the access rule refused the statement
            return EngineFailure::NotPermitted;
        case 10:  // SQLITE_IOERR
        case 14:  // SQLITE_CANTOPEN
        case 26:  // SQLITE_NOTADB
            return EngineFailure::ConnectionLost;
        default:
            return EngineFailure::Refused;
    }
}

QString SqliteDialect::fileIdentity(const QString& databaseName) const {
    struct stat st {};
    if (databaseName.isEmpty() || ::stat(QFile::encodeName(databaseName).constData(), &st) != 0) return {};
    return QStringLiteral("%1:%2").arg(quint64(st.st_dev)).arg(quint64(st.st_ino));
}

namespace {
// SQLite asks this while it prepares a statement, once per table written and per column read.
int authorize(void* context, int code, const char* table, const char*, const char*, const char*) {
    const auto& rule = *static_cast<const AccessRule*>(context);
    std::optional<TableAction> action;
    switch (code) {
        case SQLITE_READ:
            action = TableAction::Read;
            break;
        case SQLITE_INSERT:
            action = TableAction::Insert;
            break;
        case SQLITE_UPDATE:
            action = TableAction::Update;
            break;
        case SQLITE_DELETE:
            action = TableAction::Delete;
            break;
        default:
            return SQLITE_OK;
    }
    if (!table || std::strncmp(table, "sqlite_", 7) == 0) return SQLITE_OK;
    return rule(*action, QString::fromUtf8(table).toUpper()) ? SQLITE_OK : SQLITE_DENY;
}
}  // namespace

bool SqliteDialect::installAccessRule(QSqlDatabase& db, const AccessRule* rule) const {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    auto* sqlite = *static_cast<sqlite3* const*>(handle.data());
    if (!sqlite) return false;
    return sqlite3_set_authorizer(sqlite, rule ? authorize : nullptr, const_cast<AccessRule*>(rule)) ==
           SQLITE_OK;
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
