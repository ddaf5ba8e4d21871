#pragma once

#include "SchemaCatalogue.h"

// Small tables for tests, described the way the schema describes the real ones.
namespace TestSchema {

inline ColumnDef column(const char* name, DataType type, int size = 0, int precision = 0, int scale = 0) {
    ColumnDef c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    c.precision = precision;
    c.scale = scale;
    return c;
}

// The first column is the key.
inline TableDef table(const char* name, QList<ColumnDef> columns) {
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.primaryKey = QStringList{columns.first().name};
    columns.first().nullable = false;
    t.columns = columns;
    return t;
}

}  // namespace TestSchema
