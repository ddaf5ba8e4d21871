#include "DatabaseInspector.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The DataType of a declared type as the engine reports it, with size, precision and scale.
ColumnDef declared(const QString& name, QString type, int length, int precision, int scale) {
    ColumnDef c;
    c.name = name.toUpper();
    type = type.toUpper();
    static const QRegularExpression args(QStringLiteral("\\((\\d+)(?:\\s*,\\s*(\\d+))?\\)"));
    const auto m = args.match(type);
    if (m.hasMatch()) {
        length = precision = m.captured(1).toInt();
        scale = m.captured(2).toInt();
    }
    if (type.startsWith(QStringLiteral("SMALLINT")))
        c.type = DataType::SmallInt;
    else if (type.startsWith(QStringLiteral("INTEGER")))
        c.type = DataType::Integer;
    else if (type.startsWith(QStringLiteral("DECIMAL")) || type.startsWith(QStringLiteral("NUMERIC"))) {
        c.type = DataType::Decimal;
        c.precision = precision;
        c.scale = scale;
    } else if (type.startsWith(QStringLiteral("DATETIME")) || type.startsWith(QStringLiteral("TIMESTAMP")))
        c.type = DataType::DateTime;
    else if (type.startsWith(QStringLiteral("DATE")))
        c.type = DataType::Date;
    else {
        c.type = DataType::Text;
        c.size = length;
    }
    return c;
}

}  // namespace

DatabaseInspector::DatabaseInspector(Connection& connection) : connection_(connection) {}

QList<QVariantList> DatabaseInspector::rows(const QString& sql, const QVariantList& bind) const {
    QSqlQuery q(connection_.database());
    q.setForwardOnly(true);
    if (!q.prepare(sql)) connection_.raise(q, sql);
    for (int i = 0; i < bind.size(); ++i) q.bindValue(i, bind[i]);
    if (!q.exec()) connection_.raise(q, sql);
    QList<QVariantList> out;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i) row.append(q.value(i));
        out.append(row);
    }
    return out;
}

QStringList DatabaseInspector::tableNames() const {
    const bool sqlite = connection_.dialect().engine() == SqlDialect::Engine::Sqlite;
    const QString sql = sqlite ? QStringLiteral(
                                     "SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"
                                     " AND name NOT LIKE 'sqlite_%'")
                               : QStringLiteral(
                                     "SELECT table_name FROM information_schema.tables"
                                     " WHERE table_schema = current_schema()");
    QStringList names;
    for (const QVariantList& r : rows(sql)) names.append(r[0].toString().toUpper());
    names.sort();
    return names;
}

std::optional<TableDef> DatabaseInspector::table(const QString& name) const {
    if (connection_.dialect().engine() == SqlDialect::Engine::Sqlite) return sqliteTable(name);
    return postgresTable(name);
}

std::optional<TableDef> DatabaseInspector::sqliteTable(const QString& name) const {
    const auto kind =
        rows(QStringLiteral("SELECT type FROM sqlite_master WHERE upper(name) = ?"), {name.toUpper()});
    if (kind.isEmpty()) return std::nullopt;
    TableDef t;
    t.name = name.toUpper();
    t.isView = kind[0][0].toString() == QStringLiteral("view");
    QMap<int, QString> key;
    // The name comes from sqlite_master, so it is a plain identifier.
    for (const QVariantList& r : rows(QStringLiteral("PRAGMA table_info(%1)").arg(t.name))) {
        // cid, name, type, notnull, dflt_value, pk
        ColumnDef c = declared(r[1].toString(), r[2].toString(), 0, 0, 0);
        c.nullable = r[3].toInt() == 0 && r[5].toInt() == 0;
        if (r[5].toInt() > 0) key.insert(r[5].toInt(), c.name);
        t.columns.append(c);
    }
    t.primaryKey = key.values();
    return t;
}

std::optional<TableDef> DatabaseInspector::postgresTable(const QString& name) const {
    const QString lower = name.toLower();
    const auto kind = rows(QStringLiteral("SELECT table_type FROM information_schema.tables"
                                          " WHERE table_schema = current_schema() AND table_name = ?"),
                           {lower});
    if (kind.isEmpty()) return std::nullopt;
    TableDef t;
    t.name = name.toUpper();
    t.isView = kind[0][0].toString() == QStringLiteral("VIEW");
    const auto columns =
        rows(QStringLiteral("SELECT column_name, data_type, is_nullable,"
                            " COALESCE(character_maximum_length, 0), COALESCE(numeric_precision, 0),"
                            " COALESCE(numeric_scale, 0)"
                            " FROM information_schema.columns"
                            " WHERE table_schema = current_schema() AND table_name = ?"
                            " ORDER BY ordinal_position"),
             {lower});
    for (const QVariantList& r : columns) {
        ColumnDef c = declared(r[0].toString(), r[1].toString(), r[3].toInt(), r[4].toInt(), r[5].toInt());
        c.nullable = r[2].toString() == QStringLiteral("YES");
        t.columns.append(c);
    }
    const auto key =
        rows(QStringLiteral("SELECT a.attname FROM pg_index i"
                            " JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey)"
                            " WHERE i.indisprimary AND i.indrelid = (SELECT c.oid FROM pg_class c"
                            "   JOIN pg_namespace n ON n.oid = c.relnamespace"
                            "   WHERE n.nspname = current_schema() AND c.relname = ?)"
                            " ORDER BY array_position(i.indkey::int2[], a.attnum)"),
             {lower});
    for (const QVariantList& r : key) t.primaryKey.append(r[0].toString().toUpper());
    return t;
}
