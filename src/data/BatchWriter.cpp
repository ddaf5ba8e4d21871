#include "BatchWriter.h"

#include "SuiteError.h"
#include "Value.h"

BatchWriter::BatchWriter(Connection& connection, const std::vector<ResultColumn>& columns, const TableDef& table,
                         const std::vector<int>& keyColumns)
    : connection_(connection), columns_(columns), table_(table), keyColumns_(keyColumns) {}

QSqlQuery& BatchWriter::prepared(const QString& sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        QSqlQuery q(connection_.database());
        if (!q.prepare(sql)) connection_.raise(q, sql);
        it = statements_.insert(sql, q);
    }
    return it.value();
}

long BatchWriter::run(const QString& sql, const QVariantList& values) {
    QSqlQuery& q = prepared(sql);
    for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
    if (!q.exec()) connection_.raise(q, sql);
    return q.numRowsAffected();
}

QVariant BatchWriter::bindable(int column, const QVariant& value) const {
    const ResultColumn& c = columns_[size_t(column)];
    QVariant v = connection_.dialect().toDriver(value, c.type);
    if (Value::isNull(v)) {
        // A typed Null, so that the driver binds NULL of the right kind.
        switch (c.type) {
            case DataType::SmallInt:
            case DataType::Integer: return QVariant(QMetaType::fromType<int>());
            case DataType::Decimal: return QVariant(QMetaType::fromType<double>());
            default: return QVariant(QMetaType::fromType<QString>());
        }
    }
    return v;
}

void BatchWriter::addOriginalCondition(QString& where, QVariantList& binds, int column, const Row& row) const {
    const QString& name = columns_[size_t(column)].name;
    const QVariant& original = row.originalValue(column);
    if (!where.isEmpty()) where += QStringLiteral(" AND ");
    if (Value::isNull(original)) {
        where += name + QStringLiteral(" IS NULL");
    } else {
        where += name + QStringLiteral(" = ?");
        binds.append(bindable(column, original));
    }
}

BatchWriter::Outcome BatchWriter::write(const Row& row) {
    QVariantList binds;
    QString sql;
    const int n = int(columns_.size());
    auto owned = [&](int i) { return columns_[size_t(i)].owner == &table_; };

    switch (row.status) {
        case RowStatus::Unmodified: return Outcome::Written;
        case RowStatus::New: {
            QStringList names, marks;
            for (int i = 0; i < n; ++i) {
                if (!owned(i) || Value::isNull(row.values[i])) continue;
                names.append(columns_[size_t(i)].name);
                marks.append(QStringLiteral("?"));
                binds.append(bindable(i, row.values[i]));
            }
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table_.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            run(sql, binds);
            return Outcome::Written;
        }
        case RowStatus::Deleted: {
            QString where;
            for (int k : keyColumns_) addOriginalCondition(where, binds, k, row);
            sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(table_.name, where);
            return run(sql, binds) > 0 ? Outcome::Written : Outcome::Conflict;
        }
        case RowStatus::Modified: {
            QStringList sets;
            std::vector<int> changed;
            for (int i = 0; i < n; ++i) {
                if (!owned(i) || Value::same(row.values[i], row.originalValue(i))) continue;
                changed.push_back(i);
                sets.append(columns_[size_t(i)].name + QStringLiteral(" = ?"));
                binds.append(bindable(i, row.values[i]));
            }
            if (changed.empty()) return Outcome::Written;
            QString where;
            for (int k : keyColumns_) addOriginalCondition(where, binds, k, row);
            for (int i : changed)
                if (std::find(keyColumns_.begin(), keyColumns_.end(), i) == keyColumns_.end())
                    addOriginalCondition(where, binds, i, row);
            sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table_.name, sets.join(QStringLiteral(", ")), where);
            return run(sql, binds) > 0 ? Outcome::Written : Outcome::Conflict;
        }
    }
    return Outcome::Written;
}
