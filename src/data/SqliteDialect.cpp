#include "SqliteDialect.h"

#include "LockWait.h"
#include "SqlText.h"
#include "SqliteStatement.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <QFile>
#include <QMap>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
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
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LockWait::ms()));
}

QStringList SqliteDialect::sessionSetup(const ConnectionString&) const {
    // Readers go on while another connection writes: two users on one file.
    return {QStringLiteral("PRAGMA journal_mode=WAL")};
}

QStringList SqliteDialect::keepStatistics() const {
    // Only the tables this session's queries leaned on, each sampled rather than read whole, and
    // given up at once when another session holds the file: the clerk never waits on it.
    return {QStringLiteral("PRAGMA busy_timeout = 0"), QStringLiteral("PRAGMA analysis_limit = 400"),
            QStringLiteral("PRAGMA optimize")};
}

EngineFailure SqliteDialect::classify(const QSqlError& error) const {
    // QSQLITE files every failed step as a connection error; the SQLite result code tells a
    // constraint from a busy file and from a file that went away.
    const int code = error.nativeErrorCode().toInt();
    if (code == 1555 || code == 2067) return EngineFailure::DuplicateKey;  // primary key, unique
    if (code == 517) return EngineFailure::WriteRace;  // SQLITE_BUSY_SNAPSHOT: written meanwhile
    switch (code & 0xff) {
        case 5:  // SQLITE_BUSY: the busy timeout ran out
        case 6:  // SQLITE_LOCKED
            return EngineFailure::LockTimeout;
        case 23:  // SQLITE_AUTH: the access rule refused the statement
            return EngineFailure::NotPermitted;
        case 19:  // SQLITE_CONSTRAINT: a trigger's RAISE is a row of someone else (ownedRows)
            return code == 1811 ? EngineFailure::NotPermitted : EngineFailure::Refused;
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
// The prefix of the triggers ownedRows() makes.
constexpr const char* kRuleTrigger = "KV_REGOLA_";

// Pragmas that only read, or that the data layer sets itself around a read of caller text.
bool harmlessPragma(const char* name, const char* value) {
    static const char* const reading[] = {"table_info",       "table_xinfo",  "index_list",    "index_info",
                                          "foreign_key_list", "data_version", "schema_version"};
    if (!name) return false;
    if (std::strcmp(name, "query_only") == 0) return true;
    if (value) return false;
    for (const char* r : reading)
        if (std::strcmp(name, r) == 0) return true;
    return false;
}

// SQLite asks this while it prepares a statement: once per table written and per column read,
// and for every schema change, pragma and attachment. A user's connection changes no schema:
// that is the installer's, which opens the file as nobody in particular.
int authorize(void* context, int code, const char* arg1, const char* arg2, const char*, const char* inside) {
    const auto& rule = *static_cast<const AccessRule*>(context);
    // What the installer's triggers do (ownedRows) is the database's own rule, not the user's
    // statement: the audit row of a privileged user's change. No user creates a trigger.
    if (inside && std::strncmp(inside, kRuleTrigger, std::strlen(kRuleTrigger)) == 0) return SQLITE_OK;
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
        case SQLITE_PRAGMA:
            return harmlessPragma(arg1, arg2) ? SQLITE_OK : SQLITE_DENY;
        case SQLITE_SELECT:
        case SQLITE_TRANSACTION:
        case SQLITE_SAVEPOINT:
        case SQLITE_RECURSIVE:
        case SQLITE_FUNCTION:
            return SQLITE_OK;
        default:
            // CREATE, DROP, ALTER, ATTACH, DETACH, REINDEX, ANALYZE, virtual tables.
            return SQLITE_DENY;
    }
    if (!arg1) return SQLITE_OK;
    // The engine's own tables are read (the catalogue) but never written by hand.
    if (std::strncmp(arg1, "sqlite_", 7) == 0) return *action == TableAction::Read ? SQLITE_OK : SQLITE_DENY;
    return rule.allows(*action, QString::fromUtf8(arg1).toUpper()) ? SQLITE_OK : SQLITE_DENY;
}

// kv_utente(): the code of the user the connection acts for, NULL for the installer's.
void currentUser(sqlite3_context* context, int, sqlite3_value**) {
    const auto* rule = static_cast<const AccessRule*>(sqlite3_user_data(context));
    if (!rule) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray user = rule->user.toUtf8();
    sqlite3_result_text(context, user.constData(), int(user.size()), SQLITE_TRANSIENT);
}

// kv_privilegiato(): 1 when that user is privileged.
void currentPrivileged(sqlite3_context* context, int, sqlite3_value**) {
    const auto* rule = static_cast<const AccessRule*>(sqlite3_user_data(context));
    sqlite3_result_int(context, rule && rule->privileged ? 1 : 0);
}
}  // namespace

namespace {
// The SQLite connection under the driver's; nullptr when the driver is another or not open.
sqlite3* handleOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}
}  // namespace

bool SqliteDialect::installAccessRule(QSqlDatabase& db, const AccessRule* rule) const {
    sqlite3* sqlite = handleOf(db);
    if (!sqlite) return false;
    auto* context = const_cast<AccessRule*>(rule);
    // The functions the rules on owned rows call (ownedRows) exist on every connection.
    return sqlite3_create_function(sqlite, "kv_utente", 0, SQLITE_UTF8, context, currentUser, nullptr,
                                   nullptr) == SQLITE_OK &&
           sqlite3_create_function(sqlite, "kv_privilegiato", 0, SQLITE_UTF8, context, currentPrivileged,
                                   nullptr, nullptr) == SQLITE_OK &&
           sqlite3_set_authorizer(sqlite, rule ? authorize : nullptr, context) == SQLITE_OK;
}

std::unique_ptr<NativeStatement> SqliteDialect::nativeStatement(const QSqlDatabase& db, const QString& sql,
                                                                bool onlyReads) const {
    sqlite3* sqlite = handleOf(db);
    return sqlite ? std::make_unique<SqliteStatement>(sqlite, sql, onlyReads) : nullptr;
}

QStringList SqliteDialect::ownedRows(const OwnedRows& r) const {
    struct Operation {
        const char* name;
        const char* suffix;
        QStringList rows;  // the row images the owner is read from
        const char* done;
    };
    const Operation operations[] = {
        {"INSERT", "I", {QStringLiteral("NEW")}, "inserito"},
        {"UPDATE", "U", {QStringLiteral("OLD"), QStringLiteral("NEW")}, "modificato"},
        {"DELETE", "D", {QStringLiteral("OLD")}, "eliminato"}};
    QStringList statements;
    for (const Operation& op : operations) {
        QStringList foreign;
        for (const QString& row : op.rows)
            foreign.append(QStringLiteral("%1.%2 IS NOT kv_utente()").arg(row, r.ownerColumn));
        const QString guard = QLatin1String(kRuleTrigger) +
                              QStringLiteral("%1_PROPRIE_%2").arg(r.table, QLatin1String(op.suffix));
        const QString audited = QLatin1String(kRuleTrigger) +
                                QStringLiteral("%1_ALTRUI_%2").arg(r.table, QLatin1String(op.suffix));
        QString audit = r.audit;
        audit
            .replace(QStringLiteral("{now}"),
                     QStringLiteral("strftime('%Y%m%d %H:%M:%S', 'now', 'localtime')"))
            .replace(QStringLiteral("{author}"), QStringLiteral("kv_utente()"))
            .replace(QStringLiteral("{owner}"), op.rows.back() + u'.' + r.ownerColumn)
            .replace(QStringLiteral("{operation}"), SqlText::quote(QString::fromLatin1(op.done)));
        statements << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(guard)
                   << QStringLiteral(
                          "CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW WHEN kv_utente() IS NOT NULL "
                          "AND kv_privilegiato() = 0 AND (%4) BEGIN SELECT RAISE(ABORT, "
                          "'riga di un altro utente'); END")
                          .arg(guard, QLatin1String(op.name), r.table, foreign.join(QStringLiteral(" OR ")))
                   << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(audited)
                   << QStringLiteral(
                          "CREATE TRIGGER %1 AFTER %2 ON %3 FOR EACH ROW WHEN kv_utente() IS NOT NULL "
                          "AND %4.%5 IS NOT kv_utente() BEGIN %6; END")
                          .arg(audited, QLatin1String(op.name), r.table, op.rows.back(), r.ownerColumn,
                               audit);
    }
    return statements;
}

QStringList SqliteDialect::forwardOnly(const QString& table, const QString& column) const {
    const QString trigger = QLatin1String(kRuleTrigger) + table + QStringLiteral("_AVANTI");
    return {QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger),
            QStringLiteral(
                "CREATE TRIGGER %1 BEFORE UPDATE OF %3 ON %2 FOR EACH ROW WHEN kv_utente() IS NOT NULL "
                "AND NEW.%3 < OLD.%3 BEGIN SELECT RAISE(ABORT, '%3 non può diminuire'); END")
                .arg(trigger, table, column)};
}

bool SqliteDialect::preparedOnlyReads(const QSqlQuery& prepared) const {
    const QVariant handle = prepared.result() ? prepared.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) return false;
    auto* statement = *static_cast<sqlite3_stmt* const*>(handle.data());
    return statement && sqlite3_stmt_readonly(statement) != 0;
}

ReadOnlyStatements SqliteDialect::readOnly(bool) const {
    return {{QStringLiteral("PRAGMA query_only = 1")}, {QStringLiteral("PRAGMA query_only = 0")}};
}

QStringList SqliteDialect::tableNames(const CatalogueRows& rows) const {
    return upperNames(rows, QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"
                                           " AND name NOT LIKE 'sqlite_%'"));
}

std::optional<QStringList> SqliteDialect::indexNames(const CatalogueRows& rows) const {
    return upperNames(rows, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
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

QString SqliteDialect::concatenation(const QStringList& parts) const {
    QStringList texts;
    for (const QString& p : parts) texts.append(QStringLiteral("COALESCE(%1, '')").arg(p));
    return QLatin1Char('(') + texts.join(QStringLiteral(" || ")) + QLatin1Char(')');
}
