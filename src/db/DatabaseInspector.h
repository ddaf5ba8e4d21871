#pragma once

#include "Connection.h"
#include "SchemaCatalogue.h"

#include <QStringList>
#include <optional>

// Reads back from the engine's own catalogue what a database holds: its tables and views, and
// for each its columns (type, size, nullability) and primary key, as TableDefs comparable with
// the schema's definition. What each engine's catalogue looks like is its dialect's business.
class DatabaseInspector {
public:
    explicit DatabaseInspector(Connection& connection);

    // Upper-case names of the tables and views of the database (of the connection's schema on
    // PostgreSQL).
    QStringList tableNames() const;
    // Upper-case names of its indexes; nullopt where the engine's dialect does not read them.
    std::optional<QStringList> indexNames() const;
    // The table or view as the engine describes it; nullopt when there is none of that name.
    // View columns carry only names and nullability.
    std::optional<TableDef> table(const QString& name) const;

private:
    QList<QVariantList> rows(const QString& sql, const QVariantList& bind = {}) const;

    Connection& connection_;
};
