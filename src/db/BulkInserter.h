#pragma once

#include "Connection.h"
#include "SchemaCatalogue.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Writes many rows into one table, several rows per INSERT ... VALUES statement: one parse and
// one round trip for a batch instead of one per row. Values are field values (int, Decimal,
// QString, QDate, QDateTime) written as literals by the column's type: texts escaped with
// SqlText::quote, numbers as validated digits, dates in the engine's form. Call flush() before
// committing.
class BulkInserter {
public:
    // One row of the table, filled by column name; unset columns are Null.
    class Row {
    public:
        void set(const QString& column, const QVariant& value);

    private:
        friend class BulkInserter;
        explicit Row(const BulkInserter* owner);
        const BulkInserter* owner_;
        QVector<QVariant> values_;
    };

    BulkInserter(Connection& connection, const TableDef& table);
    BulkInserter(const BulkInserter&) = delete;
    BulkInserter& operator=(const BulkInserter&) = delete;

    Row newRow() const { return Row(this); }
    void insert(const Row& row);
    void flush();

private:
    int indexOf(const QString& column) const;
    QString literal(const QVariant& value, DataType type) const;

    Connection& connection_;
    TableDef table_;
    QHash<QString, int> index_;
    QString head_;      // INSERT INTO table (columns) VALUES
    QStringList rows_;  // pending rows as "(literal, ...)"
};
