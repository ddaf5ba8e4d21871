#include "SqlDialect.h"

#include "ConnectionString.h"
#include "Decimal.h"
#include "PostgresDialect.h"
#include "SqlServerDialect.h"
#include "SqlText.h"
#include "SqliteDialect.h"
#include "Value.h"

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

QList<EngineStatement> SqlDialect::translate(const QString& sqlServerText) const {
    QList<EngineStatement> out;
    for (const QString& statement : SqlText::splitStatements(SqlText::removeTableHints(sqlServerText))) {
        if (auto conditional = SqlText::parseConditional(statement)) {
            for (const QString& body : SqlText::splitStatements(conditional->body))
                out.append({body, conditional->condition});
        } else {
            out.append({statement, QString()});
        }
    }
    return out;
}

QString SqlDialect::columnType(const ColumnDef& c) const {
    const QString name = typeName(c.type);
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
