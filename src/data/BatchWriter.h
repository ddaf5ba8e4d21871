#pragma once

#include "Connection.h"
#include "RowSource.h"

#include <QHash>
#include <QSqlQuery>
#include <vector>

// Writes a recordset's pending rows to its base table: INSERT for a new row, DELETE by key for
// a deleted one, UPDATE of the changed columns for a changed one. Every UPDATE and DELETE is
// optimistic: its WHERE holds the key and the values read of the changed columns, so a row that
// another user changed or deleted meanwhile is touched by nothing and reported as a conflict.
class BatchWriter {
public:
    enum class Outcome { Written, Conflict };

    BatchWriter(Connection& connection, const std::vector<ResultColumn>& columns, const TableDef& table,
                const std::vector<int>& keyColumns);

    // Throws SuiteError when the engine refuses the statement.
    Outcome write(const Row& row);

private:
    QSqlQuery& prepared(const QString& sql);
    long run(const QString& sql, const QVariantList& values);
    QVariant bindable(int column, const QVariant& value) const;
    void addOriginalCondition(QString& where, QVariantList& binds, int column, const Row& row) const;

    Connection& connection_;
    const std::vector<ResultColumn>& columns_;
    const TableDef& table_;
    const std::vector<int>& keyColumns_;
    QHash<QString, QSqlQuery> statements_;
};
