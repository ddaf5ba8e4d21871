#pragma once

#include "SqlDialect.h"

// PostgreSQL: the same statement-level translation as SQLite; dates are DATE and TIMESTAMP
// (which compare correctly with 'yyyymmdd' literals), decimals NUMERIC read exactly as text.
class PostgresDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::PostgreSql; }
    QString driverName() const override { return QStringLiteral("QPSQL"); }

protected:
    QString typeName(DataType type) const override;
};
