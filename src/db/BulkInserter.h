#pragma once

#include "Connection.h"
#include "SchemaCatalogue.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>
#include <memory>

// Writes many rows into one table through prepared statements. Rows are collected and sent
// several at a time on the servers (one round trip per batch); SQLite, which runs in process,
// takes them one by one. Values are field values (int, Decimal, QString, QDate, QDateTime);
// the dialect turns them into what the driver binds. Call flush() before committing.
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
    std::unique_ptr<QSqlQuery> prepare(int rows) const;
    void send(int rows);
    QString shortText() const;

    Connection& connection_;
    TableDef table_;
    QHash<QString, int> index_;
    int batchRows_ = 1;
    std::unique_ptr<QSqlQuery> full_;
    QVector<QVariant> pending_;  // driver values, row after row
    int pendingRows_ = 0;
};
