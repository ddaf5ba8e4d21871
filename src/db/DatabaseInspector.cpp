#include "DatabaseInspector.h"

#include <QSqlQuery>
#include <QSqlRecord>

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
    return connection_.dialect().tableNames(
        [this](const QString& sql, const QVariantList& bind) { return rows(sql, bind); });
}

std::optional<QStringList> DatabaseInspector::indexNames() const {
    return connection_.dialect().indexNames(
        [this](const QString& sql, const QVariantList& bind) { return rows(sql, bind); });
}

std::optional<TableDef> DatabaseInspector::table(const QString& name) const {
    return connection_.dialect().inspectTable(
        name, [this](const QString& sql, const QVariantList& bind) { return rows(sql, bind); });
}
