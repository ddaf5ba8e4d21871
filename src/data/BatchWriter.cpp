#include "BatchWriter.h"

#include "SuiteError.h"
#include "Value.h"

BatchWriter::BatchWriter(Connection& connection, const std::vector<ResultColumn>& columns,
                         const TableDef& table, const std::vector<int>& keyColumns, Use use)
    : connection_(connection), columns_(columns), table_(table), keyColumns_(keyColumns), use_(use) {}

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

QString BatchWriter::keyCondition(const Row& row) const {
    QStringList where;
    for (int k : keyColumns_) where.append(originalCondition(k, row));
    return where.join(QStringLiteral(" AND "));
}

QVariant BatchWriter::typed(int column, const QVariant& raw) const {
    const ResultColumn& c = columns_[size_t(column)];
    return Value::isNull(raw) ? QVariant() : connection_.dialect().fromDriver(raw, c.type, c.scale);
}

QString BatchWriter::literalKeyCondition(const Row& row) const {
    QStringList where;
    for (int k : keyColumns_) {
        const ResultColumn& c = columns_[size_t(k)];
        const QVariant& original = row.originalValue(k);
        where.append(Value::isNull(original)
                         ? c.name + QStringLiteral(" IS NULL")
                         : c.name + QStringLiteral(" = ") + connection_.dialect().literal(original, c.type));
    }
    return where.join(QStringLiteral(" AND "));
}

BatchWriter::Outcome BatchWriter::holdAsRead(const Row& row) {
    const QString& firstKey = columns_[size_t(keyColumns_.front())].name;
    std::vector<int> owned;
    QStringList names;
    for (int i = 0; i < int(columns_.size()); ++i) {
        if (columns_[size_t(i)].owner != &table_) continue;
        owned.push_back(i);
        names.append(columns_[size_t(i)].name);
    }
    // One statement holds the row and answers it as it stands.
    auto hold = [&](const QString& where) {
        return connection_.dialect().holdRows(table_.name, firstKey, where, names);
    };
    // On a server, one row's hold goes as text: preparing it would cost two more round trips. In
    // the program (SQLite) the text costs a parse of the row's columns and of the table's triggers
    // every time: there it stays prepared on the connection, bound anew for each row.
    if (use_ == Use::OneRow && !connection_.dialect().preparesInProgram()) {
        const QString sql = hold(literalKeyCondition(row));
        QSqlQuery q(connection_.database());
        q.setForwardOnly(true);
        if (!q.exec(sql)) connection_.raise(q, sql);
        return sameAsRead(q, owned, row);
    }
    QVariantList keys;
    QByteArray shape = "H";
    for (int k : keyColumns_) bindOriginal(keys, shape, k, row);
    QSqlQuery& held = use_ == Use::OneRow ? connection_.keptWrite(hold(keyCondition(row)))
                                          : statement(shape, [&] { return hold(keyCondition(row)); });
    run(held, keys);
    return sameAsRead(held, owned, row);
}

BatchWriter::Outcome BatchWriter::sameAsRead(QSqlQuery& read, const std::vector<int>& owned,
                                             const Row& row) const {
    bool same = read.next();
    for (size_t j = 0; same && j < owned.size(); ++j) {
        const int i = owned[j];
        const QVariant stored = typed(i, read.value(int(j)));
        const QVariant& asRead = row.originalValue(i);
        const DataType type = columns_[size_t(i)].type;
        if (Value::isNull(stored) || Value::isNull(asRead))
            same = Value::isNull(stored) == Value::isNull(asRead);
        else if (type == DataType::Decimal)
            same = Value::compare(stored, asRead) == 0;
        else  // as the engine keeps them: texts exactly, SQLite's date-times to the second
            same =
                connection_.dialect().toDriver(stored, type) == connection_.dialect().toDriver(asRead, type);
    }
    read.finish();
    return same ? Outcome::Written : Outcome::Conflict;
}

QVariant BatchWriter::claim(const Row& row, int column, const QVariant& value) {
    QVariantList binds{bindable(column, value)};
    QByteArray shape = "C" + QByteArray::number(column);
    for (int k : keyColumns_) bindOriginal(binds, shape, k, row);
    const QString& name = columns_[size_t(column)].name;
    // Written onto itself when it holds a value: the row is held either way.
    QSqlQuery& write = statement(shape, [&] {
        return QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, ?) WHERE %3")
            .arg(table_.name, name, keyCondition(row));
    });
    if (run(write, binds) == 0)
        throw SuiteError(
            SuiteError::kWriteConflict, QStringLiteral("Recordset"),
            QStringLiteral("La riga non è più in archivio: è stata eliminata da un altro utente."));
    binds.removeFirst();
    shape[0] = 'R';
    QSqlQuery& read = statement(shape, [&] {
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(name, table_.name, keyCondition(row));
    });
    run(read, binds);
    if (!read.next())
        throw SuiteError(
            SuiteError::kWriteConflict, QStringLiteral("Recordset"),
            QStringLiteral("La riga non è più in archivio: è stata eliminata da un altro utente."));
    QVariant stored = typed(column, read.value(0));
    read.finish();
    return stored;
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
            // Another user's change of the row since it was read is not deleted unseen.
            if (holdAsRead(row) == Outcome::Conflict) return Outcome::Conflict;
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
