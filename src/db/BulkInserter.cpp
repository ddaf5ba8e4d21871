#include "BulkInserter.h"

#include "SqlText.h"
#include "SuiteError.h"
#include "Value.h"

#include <QSqlQuery>

namespace {
// Long enough to spread the cost of a statement, short enough to keep statements small.
constexpr int kRowsPerStatement = 200;
}  // namespace

BulkInserter::Row::Row(const BulkInserter* owner) : owner_(owner), values_(owner->table_.columns.size()) {}

void BulkInserter::Row::set(const QString& column, const QVariant& value) {
    values_[owner_->indexOf(column)] = value;
}

BulkInserter::BulkInserter(Connection& connection, const TableDef& table)
    : connection_(connection), table_(table) {
    QStringList names;
    for (int i = 0; i < table_.columns.size(); ++i) {
        index_.insert(table_.columns[i].name, i);
        names.append(table_.columns[i].name);
    }
    head_ = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table_.name, names.join(QLatin1Char(',')));
}

int BulkInserter::indexOf(const QString& column) const {
    const auto it = index_.constFind(column);
    if (it == index_.constEnd())
        throw SuiteError(SuiteError::kItemNotFound, QStringLiteral("BulkInserter"),
                         QStringLiteral("La tabella %1 non ha la colonna %2").arg(table_.name, column));
    return it.value();
}

QString BulkInserter::literal(const QVariant& value, DataType type) const {
    return connection_.dialect().literal(value, type);
}

void BulkInserter::insert(const Row& row) {
    QStringList values;
    values.reserve(table_.columns.size());
    for (int i = 0; i < table_.columns.size(); ++i)
        values.append(literal(row.values_[i], table_.columns[i].type));
    rows_.append(QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')'));
    if (rows_.size() == kRowsPerStatement) flush();
}

void BulkInserter::flush() {
    if (rows_.isEmpty()) return;
    QSqlQuery query(connection_.database());
    if (!query.exec(head_ + rows_.join(QLatin1Char(','))))
        // The full text repeats every row: name the statement only.
        connection_.raise(query, QStringLiteral("INSERT INTO %1").arg(table_.name));
    rows_.clear();
}
