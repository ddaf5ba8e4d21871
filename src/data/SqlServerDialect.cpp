#include "SqlServerDialect.h"

QList<EngineStatement> SqlServerDialect::translate(const QString& sqlServerText) const {
    return {{sqlServerText, QString()}};
}

QString SqlServerDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt:
            return QStringLiteral("SMALLINT");
        case DataType::Integer:
            return QStringLiteral("INT");
        case DataType::Decimal:
            return QStringLiteral("DECIMAL");
        case DataType::Text:
            return QStringLiteral("VARCHAR");
        case DataType::Date:
        case DataType::DateTime:
            return QStringLiteral("DATETIME");
    }
    return QString();
}

QString SqlServerDialect::limited(const QString& query, int rows) const {
    QString out = query;
    const qsizetype at = out.indexOf(QStringLiteral("SELECT"), 0, Qt::CaseInsensitive);
    if (at >= 0) out.insert(at + 6, QStringLiteral(" TOP %1").arg(rows));
    return out;
}

QString SqlServerDialect::holdRows(const QString& table, const QString& keyColumn, const QString& where,
                                   const QStringList& columns) const {
    QStringList inserted;
    for (const QString& c : columns) inserted.append(QStringLiteral("INSERTED.") + c);
    return QStringLiteral("UPDATE %1 SET %2 = %2 OUTPUT %3 WHERE %4")
        .arg(table, keyColumn, inserted.join(QStringLiteral(", ")), where);
}

QString SqlServerDialect::createIndex(const TableDef& table, const IndexDef& index) const {
    return QStringLiteral(
               "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = '%1') CREATE INDEX %1 ON %2 (%3)")
        .arg(index.name, table.name, index.columns.join(QStringLiteral(", ")));
}
