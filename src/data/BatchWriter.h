#pragma once

#include "Connection.h"
#include "RowSource.h"

#include <QHash>
#include <QSqlQuery>
#include <functional>
#include <vector>

// Writes a recordset's pending rows to its base table: INSERT for a new row, DELETE by key for
// a deleted one, UPDATE of the changed columns for a changed one. Every UPDATE and DELETE is
// optimistic: an UPDATE's WHERE holds the key and the values read of the changed columns, and a
// row is deleted only when the database still holds every column of it as it was read, so a row
// that another user changed or deleted meanwhile is touched by nothing and reported as a conflict.
class BatchWriter {
public:
    enum class Outcome { Written, Conflict };

    // How many rows the writer is made for: a batch prepares each shape of statement once; a
    // writer for one row runs its hold as text with the key's values written in, one round trip
    // per statement where preparing takes three (prepare, run, free) on a server.
    enum class Use { Batch, OneRow };

    BatchWriter(Connection& connection, const std::vector<ResultColumn>& columns, const TableDef& table,
                const std::vector<int>& keyColumns, Use use = Use::Batch);

    // Throws SuiteError when the engine refuses the statement.
    Outcome write(const Row& row);
    // Holds the row for the open transaction (its key written onto itself) and answers whether
    // the database still holds every column of the base table as `row` was read: one statement,
    // the update answering the row it held (a row gone meanwhile answers none).
    Outcome holdAsRead(const Row& row);
    // Holds the row and writes `value` into `column` where the database holds Null there (Null:
    // writes nothing); answers what the database holds then (`value`, or what another writer put
    // there first). Throws SuiteError write conflict when the row is no longer there.
    QVariant claim(const Row& row, int column, const QVariant& value);

private:
    // The statement for a shape of row (which columns change, which originals are Null),
    // built and prepared once per batch.
    QSqlQuery& statement(const QByteArray& shape, const std::function<QString()>& build);
    long run(QSqlQuery& query, const QVariantList& values);
    QVariant bindable(int column, const QVariant& value) const;
    QString originalCondition(int column, const Row& row) const;
    void bindOriginal(QVariantList& binds, QByteArray& shape, int column, const Row& row) const;
    QString keyCondition(const Row& row) const;
    QString literalKeyCondition(const Row& row) const;
    // Whether the row `read` stands before (none: gone) holds the base table's columns (`owned`)
    // as `row` was read.
    Outcome sameAsRead(QSqlQuery& read, const std::vector<int>& owned, const Row& row) const;
    // A value as the driver returned it, as the recordset holds it.
    QVariant typed(int column, const QVariant& raw) const;

    Connection& connection_;
    const std::vector<ResultColumn>& columns_;
    const TableDef& table_;
    const std::vector<int>& keyColumns_;
    Use use_;
    QHash<QByteArray, std::pair<QString, QSqlQuery>> statements_;
};
