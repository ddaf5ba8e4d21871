#include "BatchWriter.h"

#include "SuiteError.h"
#include "Value.h"

BatchWriter::BatchWriter(Connection& connection, const std::vector<ResultColumn>& columns,
                         const TableDef& table, const std::vector<int>& keyColumns)
    : connection_(connection), columns_(columns), table_(table), keyColumns_(keyColumns) {}

QSqlQuery& BatchWriter::statement(const QByteArray& shape, const std::function<QString()>& build) {
    auto it = statements_.find(shape);
    if (it == statements_.end()) {
        const QString sql = build();
        QSqlQuery q(connection_.database());
        if (!q.prepare(sql)) connection_.raise(q, sql);
        it = statements_.insert(shape, {sql, q});
    }
    return it.value().second;
}

long BatchWriter::run(QSqlQuery& query, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i) query.bindValue(i, values[i]);
    if (!query.exec()) connection_.raise(query, query.lastQuery());
    return query.numRowsAffected();
}

QVariant BatchWriter::bindable(int column, const QVariant& value) const {
    const ResultColumn& c = columns_[size_t(column)];
    QVariant v = connection_.dialect().toDriver(value, c.type);
    if (Value::isNull(v)) {
        // A typed Null, so that the driver binds NULL of the right kind.
        switch (c.type) {
            case DataType::SmallInt:
            case DataType::Integer:
                return QVariant(QMetaType::fromType<int>());
            case DataType::Decimal:
                return QVariant(QMetaType::fromType<double>());
            default:
                return QVariant(QMetaType::fromType<QString>());
        }
    }
    return v;
}

QString BatchWriter::originalCondition(int column, const Row& row) const {
    const QString& name = columns_[size_t(column)].name;
    return Value::isNull(row.originalValue(column)) ? name + QStringLiteral(" IS NULL")
                                                    : name + QStringLiteral(" = ?");
}

void BatchWriter::bindOriginal(QVariantList& binds, QByteArray& shape, int column, const Row& row) const {
    const QVariant& original = row.originalValue(column);
    const bool null = Value::isNull(original);
    shape.append(null ? 'n' : 'v');
    if (!null) binds.append(bindable(column, original));
}

BatchWriter::Outcome BatchWriter::write(const Row& row) {
    QVariantList binds;
    QByteArray shape;
    const int n = int(columns_.size());
    auto owned = [&](int i) { return columns_[size_t(i)].owner == &table_; };
    auto isKey = [&](int i) {
        return std::find(keyColumns_.begin(), keyColumns_.end(), i) != keyColumns_.end();
    };

    switch (row.status) {
        case RowStatus::Unmodified:
            return Outcome::Written;
        case RowStatus::New: {
            shape = "I";
            std::vector<int> present;
            for (int i = 0; i < n; ++i) {
                const bool has = owned(i) && !Value::isNull(row.values[i]);
                shape.append(has ? '1' : '0');
                if (!has) continue;
                present.push_back(i);
                binds.append(bindable(i, row.values[i]));
            }
            QSqlQuery& q = statement(shape, [&] {
                QStringList names, marks;
                for (int i : present) {
                    names.append(columns_[size_t(i)].name);
                    marks.append(QStringLiteral("?"));
                }
                return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table_.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            });
            run(q, binds);
            return Outcome::Written;
        }
        case RowStatus::Deleted: {
            shape = "D";
            for (int k : keyColumns_) bindOriginal(binds, shape, k, row);
            QSqlQuery& q = statement(shape, [&] {
                QStringList where;
                for (int k : keyColumns_) where.append(originalCondition(k, row));
                return QStringLiteral("DELETE FROM %1 WHERE %2")
                    .arg(table_.name, where.join(QStringLiteral(" AND ")));
            });
            return run(q, binds) > 0 ? Outcome::Written : Outcome::Conflict;
        }
        case RowStatus::Modified: {
            shape = "U";
            std::vector<int> changed;
            for (int i = 0; i < n; ++i) {
                const bool differs = owned(i) && !Value::same(row.values[i], row.originalValue(i));
                shape.append(differs ? '1' : '0');
                if (!differs) continue;
                changed.push_back(i);
                binds.append(bindable(i, row.values[i]));
            }
            if (changed.empty()) return Outcome::Written;
            for (int k : keyColumns_) bindOriginal(binds, shape, k, row);
            for (int i : changed)
                if (!isKey(i)) bindOriginal(binds, shape, i, row);
            QSqlQuery& q = statement(shape, [&] {
                QStringList sets, where;
                for (int i : changed) sets.append(columns_[size_t(i)].name + QStringLiteral(" = ?"));
                for (int k : keyColumns_) where.append(originalCondition(k, row));
                for (int i : changed)
                    if (!isKey(i)) where.append(originalCondition(i, row));
                return QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                    .arg(table_.name, sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND ")));
            });
            return run(q, binds) > 0 ? Outcome::Written : Outcome::Conflict;
        }
    }
    return Outcome::Written;
}
