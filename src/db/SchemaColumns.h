#pragma once

#include "SchemaCatalogue.h"

// Shorthands for the column kinds the schema uses, so that a table reads as a list of names.
// Codes and flags are small integers, keys integers, money Decimal(18,2), exchange and interest
// rates Decimal(18,6).
namespace SchemaColumns {

inline ColumnDef column(const QString& name, DataType type, int size = 0, int precision = 0, int scale = 0) {
    ColumnDef c;
    c.name = name;
    c.type = type;
    c.size = size;
    c.precision = precision;
    c.scale = scale;
    return c;
}
inline ColumnDef required(ColumnDef c) {
    c.nullable = false;
    return c;
}
inline ColumnDef integer(const QString& name) {
    return column(name, DataType::Integer);
}
inline ColumnDef code(const QString& name) {
    return column(name, DataType::SmallInt);
}
inline ColumnDef flag(const QString& name) {
    return column(name, DataType::SmallInt);
}
inline ColumnDef amount(const QString& name) {
    return column(name, DataType::Decimal, 0, 18, 2);
}
inline ColumnDef rate(const QString& name) {
    return column(name, DataType::Decimal, 0, 18, 6);
}
inline ColumnDef date(const QString& name) {
    return column(name, DataType::Date);
}
inline ColumnDef timestamp(const QString& name) {
    return column(name, DataType::DateTime);
}
inline ColumnDef text(const QString& name, int size) {
    return column(name, DataType::Text, size);
}

inline TableDef table(const QString& name, QList<ColumnDef> columns, QStringList key) {
    TableDef t;
    t.name = name;
    t.columns = std::move(columns);
    t.primaryKey = std::move(key);
    return t;
}

inline TableDef indexed(TableDef t, QList<IndexDef> indexes) {
    t.indexes = std::move(indexes);
    return t;
}

// The five BillKey columns of a child table, under the child's prefix ("EF03_").
inline QList<ColumnDef> billKey(const QString& prefix) {
    return {required(integer(prefix + QStringLiteral("DITTA_CG18"))),
            required(text(prefix + QStringLiteral("NUMREG_CO99"), 20)),
            required(integer(prefix + QStringLiteral("RIGACONT_EF01"))),
            required(integer(prefix + QStringLiteral("PROGEC_EF01"))),
            required(integer(prefix + QStringLiteral("PROGEFF_EF01")))};
}
inline QStringList billKeyNames(const QString& prefix) {
    QStringList names;
    for (const ColumnDef& c : billKey(prefix)) names.append(c.name);
    return names;
}

}  // namespace SchemaColumns
