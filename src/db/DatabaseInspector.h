#pragma once

#include "Connection.h"
#include "SchemaCatalogue.h"

#include <QStringList>
#include <optional>

// Reads back from the engine's own catalogue what a database holds: its tables and views, and
// for each its columns (type, size, nullability) and primary key, as TableDefs comparable with
// the schema's definition. The only code besides the dialects that knows engine catalogues.
class DatabaseInspector {
  public:
    explicit DatabaseInspector(Connection& connection);

    // Upper-case names of the tables and views of the database (of the connection's schema on
    // PostgreSQL).
    QStringList tableNames() const;
    // The table or view as the engine describes it; nullopt when there is none of that name.
    // View columns carry only names and nullability.
    std::optional<TableDef> table(const QString& name) const;

  private:
    std::optional<TableDef> sqliteTable(const QString& name) const;
    std::optional<TableDef> postgresTable(const QString& name) const;
    QList<QVariantList> rows(const QString& sql, const QVariantList& bind = {}) const;

    Connection& connection_;
};
