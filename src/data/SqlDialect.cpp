#include "SqlDialect.h"

#include "SuiteError.h"

#include "ConnectionString.h"
#include "Decimal.h"
#include "PostgresDialect.h"
#include "SqlServerDialect.h"
#include "SqlText.h"
#include "SqliteDialect.h"
#include "StoredHashCredentials.h"
#include "Value.h"

#include <QMap>
#include <QRegularExpression>
#include <QSqlError>

std::unique_ptr<SqlDialect> SqlDialect::create(Engine engine) {
    switch (engine) {
        case Engine::Sqlite:
            return std::make_unique<SqliteDialect>();
        case Engine::PostgreSql:
            return std::make_unique<PostgresDialect>();
        case Engine::SqlServer:
            return std::make_unique<SqlServerDialect>();
    }
    return nullptr;
}

std::optional<SqlDialect::Engine> SqlDialect::engineOfScheme(const QString& scheme) {
    const QString s = scheme.toLower();
    if (s == QLatin1String("sqlite")) return Engine::Sqlite;
    if (s == QLatin1String("postgresql") || s == QLatin1String("postgres")) return Engine::PostgreSql;
    return std::nullopt;
}

std::optional<SqlDialect::Engine> SqlDialect::engineOfDbms(QSqlDriver::DbmsType dbms) {
    if (dbms == QSqlDriver::PostgreSQL) return Engine::PostgreSql;
    if (dbms == QSqlDriver::MSSqlServer) return Engine::SqlServer;
    return std::nullopt;
}

QList<EngineStatement> SqlDialect::translate(const QString& sqlServerText) const {
    QList<EngineStatement> out;
    // SUBSTRING, LTRIM, RTRIM, REPLACE and UPPER are common to the engines; LEN and CONCAT are
    // not everywhere. LEN ignores trailing blanks.
    const QString lengths = SqlText::rewriteCalls(
        SqlText::removeTableHints(sqlServerText), QStringLiteral("LEN"),
        [](const QStringList& a) { return QStringLiteral("LENGTH(RTRIM(%1))").arg(a.value(0)); });
    const QString text = SqlText::rewriteCalls(
        lengths, QStringLiteral("CONCAT"), [this](const QStringList& parts) { return concatenation(parts); });
    for (const QString& statement : SqlText::splitStatements(text)) {
        if (statement.simplified().compare(QStringLiteral("EXEC sp_updatestats"), Qt::CaseInsensitive) == 0) {
            out.append({refreshStatistics(), QString()});
        } else if (auto conditional = SqlText::parseConditional(statement)) {
            for (const QString& body : SqlText::splitStatements(conditional->body))
                out.append({body, conditional->condition});
        } else {
            out.append({statement, QString()});
        }
    }
    return out;
}

QString SqlDialect::concatenation(const QStringList& parts) const {
    return QStringLiteral("CONCAT(%1)").arg(parts.join(QStringLiteral(", ")));
}

QString SqlDialect::columnType(const ColumnDef& c) const {
    QString name = typeName(c.type);
    if (c.type == DataType::Decimal)
        return QStringLiteral("%1(%2,%3)").arg(name).arg(c.precision).arg(c.scale);
    if (c.type == DataType::Text) return QStringLiteral("%1(%2)").arg(name).arg(c.size > 0 ? c.size : 255);
    return name;
}

QString SqlDialect::createTable(const TableDef& table) const {
    QStringList lines;
    for (const ColumnDef& c : table.columns)
        lines.append(QStringLiteral("    %1 %2%3")
                         .arg(c.name, columnType(c), c.nullable ? QString() : QStringLiteral(" NOT NULL")));
    if (!table.primaryKey.isEmpty())
        lines.append(QStringLiteral("    PRIMARY KEY (%1)").arg(table.primaryKey.join(QStringLiteral(", "))));
    return QStringLiteral("CREATE TABLE %1 (\n%2\n)").arg(table.name, lines.join(QStringLiteral(",\n")));
}

QString SqlDialect::createView(const TableDef& view) const {
    QStringList parts;
    for (const EngineStatement& s : translate(view.viewSql)) parts.append(s.sql);
    return QStringLiteral("CREATE VIEW %1 AS %2").arg(view.name, parts.join(QLatin1Char(' ')));
}

QString SqlDialect::createIndex(const TableDef& table, const IndexDef& index) const {
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(index.name, table.name, index.columns.join(QStringLiteral(", ")));
}

QString SqlDialect::literal(const QVariant& value, DataType type) const {
    if (Value::isNull(value)) return QStringLiteral("NULL");
    switch (type) {
        case DataType::SmallInt:
        case DataType::Integer:
            return QString::number(Value::toInt(value));
        case DataType::Decimal:
            return Value::toDecimal(value).toString();
        case DataType::Text:
            return SqlText::quote(Value::toText(value));
        case DataType::Date:
        case DataType::DateTime: {
            // SQLite keeps dates as 'yyyymmdd' text; the servers take ISO dates.
            const QVariant driver = toDriver(value, type);
            if (driver.typeId() == QMetaType::QDate)
                return SqlText::quote(driver.toDate().toString(Qt::ISODate));
            if (driver.typeId() == QMetaType::QDateTime)
                return SqlText::quote(driver.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            return SqlText::quote(driver.toString());
        }
    }
    return QStringLiteral("NULL");
}

QString SqlDialect::limited(const QString& query, int rows) const {
    return query + QStringLiteral(" LIMIT ") + QString::number(rows);
}

QString SqlDialect::holdRows(const QString& table, const QString& keyColumn, const QString& where,
                             const QStringList& columns) const {
    return QStringLiteral("UPDATE %1 SET %2 = %2 WHERE %3 RETURNING %4")
        .arg(table, keyColumn, where, columns.join(QStringLiteral(", ")));
}

QString SqlDialect::guardQuery(const QString& condition) const {
    return QStringLiteral("SELECT CASE WHEN %1 THEN 1 ELSE 0 END").arg(condition);
}

QVariant SqlDialect::toDriver(const QVariant& value, DataType type) const {
    if (Value::isNull(value)) return QVariant();
    switch (type) {
        case DataType::Date:
            if (datesAsText()) return Value::toDate(value).toString(QStringLiteral("yyyyMMdd"));
            return Value::toDate(value);
        case DataType::DateTime:
            if (datesAsText()) return Value::toDateTime(value).toString(QStringLiteral("yyyyMMdd HH:mm:ss"));
            return Value::toDateTime(value);
        case DataType::Decimal:
            // Text keeps every digit on the servers; SQLite stores the nearest double anyway.
            if (decimalsAsReal()) return Value::toDecimal(value).toDouble();
            return Value::toDecimal(value).toString();
        case DataType::SmallInt:
        case DataType::Integer:
            return Value::toInt(value);
        case DataType::Text:
            return Value::toText(value);
    }
    return value;
}

QVariant SqlDialect::fromDriver(const QVariant& raw, DataType type, int scale) const {
    return Value::coerce(raw, type, scale);
}

void SqlDialect::configure(QSqlDatabase&) const {}

QStringList SqlDialect::sessionSetup(const ConnectionString&) const {
    return {};
}

EngineFailure SqlDialect::classify(const QSqlError& error) const {
    return error.type() == QSqlError::ConnectionError ? EngineFailure::ConnectionLost
                                                      : EngineFailure::Refused;
}

ReadOnlyStatements SqlDialect::readOnly(bool) const {
    return {};
}

namespace {
[[noreturn]] void noRoles(const SqlDialect& dialect) {
    throw SuiteError(
        SuiteError::kOperationNotAllowed, QStringLiteral("Connection"),
        QStringLiteral("Il database (%1) non gestisce ruoli propri: i diritti li applica il programma.")
            .arg(dialect.driverName()));
}
}  // namespace

QStringList SqlDialect::createRole(const QString&, bool, const QString&) const {
    noRoles(*this);
}
QString SqlDialect::setRolePassword(const QString&, const QString&) const {
    noRoles(*this);
}
QString SqlDialect::setRoleLogin(const QString&, bool) const {
    noRoles(*this);
}
QString SqlDialect::setRoleManagesRoles(const QString&) const {
    noRoles(*this);
}
QString SqlDialect::grantRole(const QString&, const QString&) const {
    noRoles(*this);
}
QString SqlDialect::revokeRole(const QString&, const QString&) const {
    noRoles(*this);
}
QStringList SqlDialect::grantOnly(const QStringList&, const QString&, const QString&) const {
    noRoles(*this);
}
QString SqlDialect::grantSchemaUsage(const QString&) const {
    noRoles(*this);
}
QString SqlDialect::letEndSessions(const QString&) const {
    noRoles(*this);
}
QString SqlDialect::endSessions(const QString&) const {
    noRoles(*this);
}
QStringList SqlDialect::signInCounter(const SignInTable&) const {
    noRoles(*this);
}
QStringList SqlDialect::signInCounterGrants(const QString&) const {
    noRoles(*this);
}
QString SqlDialect::signInAttempts(const QString&) const {
    noRoles(*this);
}
QString SqlDialect::countSignInAttempt(const QString&, int) const {
    noRoles(*this);
}
QString SqlDialect::signInSucceeded() const {
    noRoles(*this);
}
QString SqlDialect::reserveSchemaToOwner() const {
    noRoles(*this);
}
QString SqlDialect::serializeRoleChanges() const {
    noRoles(*this);
}
QString SqlDialect::currentRoleQuery() const {
    noRoles(*this);
}
QStringList SqlDialect::ownedRows(const OwnedRows&) const {
    return {};
}

QStringList SqlDialect::forwardOnly(const QString&, const QString&) const {
    return {};
}

const Credentials& SqlDialect::credentials() const {
    static const StoredHashCredentials storedHashes;
    return storedHashes;
}

bool SqlDialect::installAccessRule(QSqlDatabase&, const AccessRule*) const {
    return false;
}

ColumnDef SqlDialect::declaredColumn(const QString& name, QString type, int length, int precision,
                                     int scale) {
    ColumnDef c;
    c.name = name.toUpper();
    type = type.toUpper();
    static const QRegularExpression args(QStringLiteral("\\((\\d+)(?:\\s*,\\s*(\\d+))?\\)"));
    const auto m = args.match(type);
    if (m.hasMatch()) {
        length = precision = m.captured(1).toInt();
        scale = m.captured(2).toInt();
    }
    if (type.startsWith(QStringLiteral("SMALLINT")))
        c.type = DataType::SmallInt;
    else if (type.startsWith(QStringLiteral("INTEGER")))
        c.type = DataType::Integer;
    else if (type.startsWith(QStringLiteral("DECIMAL")) || type.startsWith(QStringLiteral("NUMERIC"))) {
        c.type = DataType::Decimal;
        c.precision = precision;
        c.scale = scale;
    } else if (type.startsWith(QStringLiteral("DATETIME")) || type.startsWith(QStringLiteral("TIMESTAMP")))
        c.type = DataType::DateTime;
    else if (type.startsWith(QStringLiteral("DATE")))
        c.type = DataType::Date;
    else {
        c.type = DataType::Text;
        c.size = length;
    }
    return c;
}

QStringList SqlDialect::upperNames(const CatalogueRows& rows, const QString& sql) {
    QStringList names;
    for (const QVariantList& r : rows(sql, {})) names.append(r[0].toString().toUpper());
    names.sort();
    return names;
}

QStringList SqlDialect::tableNames(const CatalogueRows& rows) const {
    return upperNames(rows, QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                           "table_schema = ") +
                                currentSchema());
}

std::optional<TableDef> SqlDialect::inspectTable(const QString& name, const CatalogueRows& rows) const {
    const QString lower = name.toLower();
    const QString inSchema =
        QStringLiteral(" table_schema = ") + currentSchema() + QStringLiteral(" AND table_name = ?");
    const auto kind =
        rows(QStringLiteral("SELECT table_type FROM information_schema.tables WHERE") + inSchema, {lower});
    if (kind.isEmpty()) return std::nullopt;
    TableDef t;
    t.name = name.toUpper();
    t.isView = kind[0][0].toString() == QStringLiteral("VIEW");
    const auto columns = rows(
        QStringLiteral("SELECT column_name, data_type, is_nullable, COALESCE(character_maximum_length, 0),"
                       " COALESCE(numeric_precision, 0), COALESCE(numeric_scale, 0)"
                       " FROM information_schema.columns WHERE") +
            inSchema + QStringLiteral(" ORDER BY ordinal_position"),
        {lower});
    for (const QVariantList& r : columns) {
        ColumnDef c =
            declaredColumn(r[0].toString(), r[1].toString(), r[3].toInt(), r[4].toInt(), r[5].toInt());
        c.nullable = r[2].toString() == QStringLiteral("YES");
        t.columns.append(c);
    }
    const auto key = rows(
        QStringLiteral("SELECT k.column_name FROM information_schema.table_constraints c"
                       " JOIN information_schema.key_column_usage k ON k.constraint_name = c.constraint_name"
                       " AND k.table_schema = c.table_schema AND k.table_name = c.table_name"
                       " WHERE c.constraint_type = 'PRIMARY KEY' AND c.table_schema = ") +
            currentSchema() + QStringLiteral(" AND c.table_name = ? ORDER BY k.ordinal_position"),
        {lower});
    for (const QVariantList& r : key) t.primaryKey.append(r[0].toString().toUpper());
    return t;
}
