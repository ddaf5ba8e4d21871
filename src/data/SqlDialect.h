#pragma once

#include "DataType.h"
#include "SchemaCatalogue.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// One statement as an engine runs it. A guarded statement runs only when its guard, a SQL
// condition, holds at that moment (the form of SQL Server's IF (...) BEGIN ... END).
struct EngineStatement {
    QString sql;
    QString guard;
};

// The forms write SQL Server text. A dialect turns that text into what its engine runs, maps
// column types to the engine's DDL and values to and from the engine's driver. Only dialects
// know engines.
class SqlDialect {
public:
    enum class Engine { Sqlite, PostgreSql, SqlServer };

    virtual ~SqlDialect() = default;

    static std::unique_ptr<SqlDialect> create(Engine engine);

    virtual Engine engine() const = 0;
    virtual QString driverName() const = 0;

    // The statements to run, in order, for one SQL Server batch. By default: the batch split at
    // its semicolons, table hints dropped, IF (...) BEGIN ... END turned into guarded statements.
    virtual QList<EngineStatement> translate(const QString& sqlServerText) const;

    QString columnType(const ColumnDef& column) const;
    QString createTable(const TableDef& table) const;
    QString createView(const TableDef& view) const;

    // A value of `type` as the driver binds it, and a value the driver returned as `type`.
    // Null is an invalid QVariant both ways.
    QVariant toDriver(const QVariant& value, DataType type) const;
    QVariant fromDriver(const QVariant& raw, DataType type, int scale) const;

    // The text to evaluate a guard: one row, one column, 1 when the condition holds.
    QString guardQuery(const QString& condition) const;

protected:
    // The engine's name for a type; DECIMAL and VARCHAR names get (precision,scale) and (size).
    virtual QString typeName(DataType type) const = 0;
    // SQLite keeps dates as 'yyyymmdd' text and decimals as REAL; the servers have real types.
    virtual bool datesAsText() const { return false; }
    virtual bool decimalsAsReal() const { return false; }
};
