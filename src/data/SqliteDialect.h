#pragma once

#include "SqlDialect.h"

// SQLite: batches split into statements, table hints dropped, IF ... BEGIN ... END run as
// guarded statements. Dates live as 'yyyymmdd' text in columns of TEXT affinity, so that the
// same literals compare correctly; decimals as REAL, rounded to the column's scale when read.
class SqliteDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::Sqlite; }
    QString driverName() const override { return QStringLiteral("QSQLITE"); }

protected:
    QString typeName(DataType type) const override;
    bool datesAsText() const override { return true; }
    bool decimalsAsReal() const override { return true; }
};
