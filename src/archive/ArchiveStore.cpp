#include "ArchiveStore.h"

#include "Connection.h"
#include "LookupDialog.h"
#include "Recordset.h"
#include "Schema.h"
#include "SqlText.h"
#include "SuiteError.h"
#include "TransactionScope.h"
#include "Value.h"

#include <QRegularExpression>

namespace {

const ColumnDef* columnOf(const QString& table, const QString& column) {
    const TableDef* t = Schema::catalogue()->table(table);
    return t ? t->column(column) : nullptr;
}

QString valueLiteral(const QVariant& v) {
    return Value::isNull(v)                          ? QStringLiteral("NULL")
           : v.metaType().id() == QMetaType::QString ? SqlText::quote(v.toString())
                                                     : Value::toText(v);
}

QString conditions(const QList<std::pair<QString, QVariant>>& values) {
    QStringList parts;
    for (const auto& [column, value] : values) parts << column + QStringLiteral(" = ") + valueLiteral(value);
    return parts.join(QStringLiteral(" AND "));
}

}  // namespace

ArchiveStore::ArchiveStore(ArchiveDescription description, std::shared_ptr<Connection> connection)
    : description_(std::move(description)), connection_(std::move(connection)) {}

bool ArchiveStore::isNumber(const QString& column) const {
    const ColumnDef* c = columnOf(description_.table, column);
    return c && (c->type == DataType::SmallInt || c->type == DataType::Integer);
}

bool ArchiveStore::isDate(const QString& column) const {
    const ColumnDef* c = columnOf(description_.table, column);
    return c && c->type == DataType::Date;
}

int ArchiveStore::maxLength(const QString& column) const {
    const ColumnDef* c = columnOf(description_.table, column);
    return c && c->type == DataType::Text ? c->size : 0;
}

QString ArchiveStore::caption(const QString& column) const {
    for (const ArchiveDescription::Field& f : description_.fields)
        if (f.column == column) return f.caption;
    return column;
}

QString ArchiveStore::literal(const QString& column, const QString& text) const {
    const QString t = text.trimmed();
    if (isDate(column)) {
        if (t.isEmpty()) return QStringLiteral("NULL");
        // As the clerk types it, or as the list shows a stored one.
        QDate day = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
        if (!day.isValid()) day = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
        if (!day.isValid()) day = QDate::fromString(t, Qt::ISODate);
        return day.isValid() ? connection_->dialect().literal(day, DataType::Date) : QString();
    }
    if (!isNumber(column)) {
        for (const ArchiveDescription::Field& f : description_.fields)
            if (f.column == column && t.isEmpty())
                return f.emptyIsText ? QStringLiteral("''") : QStringLiteral("NULL");
        return t.isEmpty() ? QStringLiteral("NULL") : SqlText::quote(t);
    }
    if (t.isEmpty()) return QStringLiteral("NULL");
    const ColumnDef* c = columnOf(description_.table, column);
    const int digits = c && c->type == DataType::SmallInt ? 4 : 9;
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    if (!whole.match(t).hasMatch() || t.size() > digits) return {};
    return QString::number(t.toLongLong());
}

QString ArchiveStore::whereFixed() const {
    QString where = conditions(description_.fixed);
    if (description_.link) {
        const QString linked =
            QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %2)")
                .arg(description_.link->table,
                     linkWhere(description_.table + QLatin1Char('.') + description_.generatedKey));
        where = where.isEmpty() ? linked : where + QStringLiteral(" AND ") + linked;
    }
    return where;
}

QString ArchiveStore::linkWhere(const QString& rowKey) const {
    QString where = description_.link->rowColumn + QStringLiteral(" = ") + rowKey;
    if (!description_.link->values.isEmpty())
        where += QStringLiteral(" AND ") + conditions(description_.link->values);
    return where;
}

QString ArchiveStore::whereKey(const Record& record) const {
    QStringList parts;
    if (!description_.fixed.isEmpty()) parts << conditions(description_.fixed);
    for (const QString& k : description_.key) {
        const QString l = literal(k, record.value(k));
        parts << k + (l == QLatin1String("NULL") || l.isEmpty() ? QStringLiteral(" IS NULL")
                                                                : QStringLiteral(" = ") + l);
    }
    return parts.join(QStringLiteral(" AND "));
}

bool ArchiveStore::exists(const QString& condition) const {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(description_.table, condition), connection_);
    return !rs.AtEOF();
}

std::shared_ptr<Recordset> ArchiveStore::list(const QString& typed) const {
    QStringList columns = description_.key;
    for (const ArchiveDescription::Field& f : description_.fields)
        if (!columns.contains(f.column)) columns << f.column;
    QStringList where;
    if (const QString w = whereFixed(); !w.isEmpty()) where << w;
    if (!typed.trimmed().isEmpty()) {
        const QString pattern = LookupDialog::containsPattern(typed.trimmed());
        QStringList any;
        for (const ArchiveDescription::Field& f : description_.fields)
            any << QStringLiteral("UPPER(CAST(%1 AS VARCHAR(200))) LIKE UPPER(%2) ESCAPE '!'")
                       .arg(f.column, pattern);
        where << QLatin1Char('(') + any.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), description_.table);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + description_.key.join(QStringLiteral(", "));
    auto rs = std::make_shared<Recordset>();
    rs->Open(sql, connection_);
    return rs;
}

ArchiveStore::Record ArchiveStore::normalised(const Record& record) const {
    Record r = record;
    for (const ArchiveDescription::Field& f : description_.fields)
        r[f.column] = f.upper ? record.value(f.column).trimmed().toUpper() : record.value(f.column).trimmed();
    return r;
}

QString ArchiveStore::check(const Record& typed, const Record& original) const {
    // Checked as it would be stored: codes upper-case, blanks around trimmed.
    const Record record = normalised(typed);
    for (const ArchiveDescription::Field& f : description_.fields) {
        const QString text = record.value(f.column).trimmed();
        if (f.required && text.isEmpty())
            return QStringLiteral("Il campo \"%1\" è obbligatorio.").arg(f.caption);
        if (text.isEmpty()) continue;
        if (isDate(f.column) && literal(f.column, text).isEmpty())
            return QStringLiteral("Il campo \"%1\" accetta solo una data valida (gg/mm/aaaa).")
                .arg(f.caption);
        if (isNumber(f.column) && literal(f.column, text).isEmpty())
            return QStringLiteral(
                       "Il campo \"%1\" accetta solo un numero intero positivo di al massimo %2 cifre.")
                .arg(f.caption)
                .arg(columnOf(description_.table, f.column)->type == DataType::SmallInt ? 4 : 9);
        if (const int max = maxLength(f.column); max > 0 && text.size() > max)
            return QStringLiteral("Il campo \"%1\" accetta al massimo %2 caratteri.").arg(f.caption).arg(max);
    }
    const bool adding = original.isEmpty();
    const auto changed = [&](const QStringList& columns) {
        for (const QString& c : columns)
            if (adding || literal(c, record.value(c)) != literal(c, original.value(c))) return true;
        return false;
    };
    const auto captions = [&](const QStringList& columns) {
        QStringList names;
        for (const QString& c : columns) names << QLatin1Char('"') + caption(c) + QLatin1Char('"');
        return names.join(QStringLiteral(", "));
    };
    if (description_.generatedKey.isEmpty() && changed(description_.key) && exists(whereKey(record)))
        return QStringLiteral("Esiste già un elemento con questo valore di %1.")
            .arg(captions(description_.key));
    if (!description_.unique.isEmpty() && changed(description_.unique)) {
        QStringList parts;
        for (const QString& c : description_.unique) {
            const QString l = literal(c, record.value(c));
            parts << c + (l == QLatin1String("NULL") ? QStringLiteral(" IS NULL")
                                                     : QStringLiteral(" = ") + l);
        }
        // A row linked elsewhere only gains this program's link.
        QString condition = parts.join(QStringLiteral(" AND "));
        if (const QString w = whereFixed(); !w.isEmpty()) condition += QStringLiteral(" AND ") + w;
        if (exists(condition))
            return QStringLiteral("Esiste già un elemento con questi valori di %1.")
                .arg(captions(description_.unique));
    }
    return {};
}

ArchiveStore::Record ArchiveStore::save(const Record& record, const Record& original) {
    Record stored = normalised(record);
    TransactionScope transaction(*connection_);
    if (original.isEmpty()) {
        // The same row already registered (linked elsewhere): only the link is added.
        QString rowKey = description_.link ? registeredRow(stored) : QString();
        if (rowKey.isEmpty())
            rowKey = insertRow(stored);
        else
            stored[description_.generatedKey] = rowKey;
        if (description_.link) insertLink(rowKey);
    } else {
        update(stored, original);
    }
    transaction.commit();
    return stored;
}

QString ArchiveStore::registeredRow(const Record& stored) const {
    QStringList parts;
    for (const QString& c : description_.unique)
        parts << c + QStringLiteral(" = ") + literal(c, stored.value(c));
    Recordset same;
    same.Open(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                  .arg(description_.generatedKey, description_.table, parts.join(QStringLiteral(" AND "))),
              connection_);
    return same.AtEOF() ? QString() : Value::toText(same.Fields(0).Value());
}

QString ArchiveStore::insertRow(Record& stored) const {
    QString rowKey;
    QStringList columns;
    QStringList values;
    for (const auto& [column, value] : description_.fixed) {
        columns << column;
        values << valueLiteral(value);
    }
    if (!description_.generatedKey.isEmpty()) {
        Recordset next;
        QString sql =
            QStringLiteral("SELECT MAX(%1) FROM %2").arg(description_.generatedKey, description_.table);
        if (!description_.fixed.isEmpty()) sql += QStringLiteral(" WHERE ") + conditions(description_.fixed);
        next.Open(sql, connection_);
        rowKey = QString::number(Value::toInt(next.Fields(0).Value()) + 1);
        stored[description_.generatedKey] = rowKey;
        columns << description_.generatedKey;
        values << rowKey;
    }
    for (const ArchiveDescription::Field& f : description_.fields) {
        columns << f.column;
        values << literal(f.column, stored.value(f.column));
    }
    connection_->Execute(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(description_.table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    return rowKey;
}

void ArchiveStore::insertLink(const QString& rowKey) const {
    QStringList columns{description_.link->rowColumn};
    QStringList values{rowKey};
    for (const auto& [column, value] : description_.link->values) {
        columns << column;
        values << valueLiteral(value);
    }
    connection_->Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(description_.link->table, columns.join(QStringLiteral(", ")),
                                  values.join(QStringLiteral(", "))));
}

void ArchiveStore::update(const Record& stored, const Record& original) const {
    QStringList sets;
    for (const ArchiveDescription::Field& f : description_.fields)
        sets << f.column + QStringLiteral(" = ") + literal(f.column, stored.value(f.column));
    // Only the row as this clerk read it: a colleague's change since then is not overwritten.
    QString where = whereKey(original);
    for (const ArchiveDescription::Field& f : description_.fields) {
        const QString was = original.value(f.column).trimmed();
        if (isNumber(f.column) || isDate(f.column))
            where += QStringLiteral(" AND %1 %2")
                         .arg(f.column, was.isEmpty() ? QStringLiteral("IS NULL")
                                                      : QStringLiteral("= ") + literal(f.column, was));
        else
            where +=
                QStringLiteral(" AND COALESCE(LTRIM(RTRIM(%1)), '') = %2").arg(f.column, SqlText::quote(was));
    }
    const long changed =
        connection_->Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                 .arg(description_.table, sets.join(QStringLiteral(", ")), where));
    if (changed == 0)
        throw SuiteError(SuiteError::kWriteConflict, QStringLiteral("ArchiveStore"),
                         QStringLiteral("L'elemento è stato modificato o eliminato da un altro utente."));
}

std::optional<ArchiveStore::Record> ArchiveStore::reread(const Record& original) const {
    QStringList columns = description_.key;
    for (const ArchiveDescription::Field& f : description_.fields)
        if (!columns.contains(f.column)) columns << f.column;
    Recordset rs;
    rs.Open(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                .arg(columns.join(QStringLiteral(", ")), description_.table, whereKey(original)),
            connection_);
    if (rs.AtEOF()) return std::nullopt;
    Record now;
    for (int i = 0; i < rs.FieldCount(); ++i)
        now.insert(rs.column(i).name.toUpper(), Value::toText(rs.Fields(i).Value()).trimmed());
    return now;
}

void ArchiveStore::remove(const Record& original) {
    TransactionScope transaction(*connection_);
    if (description_.link) {
        const QString rowKey = literal(description_.generatedKey, original.value(description_.generatedKey));
        connection_->Execute(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(description_.link->table, linkWhere(rowKey)));
        Recordset others;
        others.Open(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = %3")
                        .arg(description_.link->table, description_.link->rowColumn, rowKey),
                    connection_);
        if (others.AtEOF())
            connection_->Execute(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                                     .arg(description_.table, description_.generatedKey, rowKey));
    } else {
        connection_->Execute(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(description_.table, whereKey(original)));
    }
    transaction.commit();
}
