#pragma once

#include "SqlDialect.h"

// SQL Server over ODBC: the system's own SQL, sent as it stands.
class SqlServerDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::SqlServer; }
    QString driverName() const override { return QStringLiteral("QODBC"); }
    QList<EngineStatement> translate(const QString& sqlServerText) const override;
    // TOP n after the query's first SELECT.
    QString limited(const QString& query, int rows) const override;
    QString holdRows(const QString& table, const QString& keyColumn, const QString& where,
                     const QStringList& columns) const override;
    QString createIndex(const TableDef& table, const IndexDef& index) const override;

protected:
    QString typeName(DataType type) const override;
    QString currentSchema() const override { return QStringLiteral("SCHEMA_NAME()"); }
};
