#pragma once

#include "DataType.h"

#include <QList>
#include <QString>
#include <QStringList>

// One column of a table or view: SQL type, size (text length), precision and scale (decimals),
// nullability.
struct ColumnDef {
    QString name = {};
    DataType type = DataType::Text;
    int size = 0;       // characters, for Text
    int precision = 0;  // total digits, for Decimal
    int scale = 0;      // digits after the point, for Decimal
    bool nullable = true;
};

// A secondary index of a table: its name (unique in the database) and columns, in order.
struct IndexDef {
    QString name = {};
    QStringList columns;
};

// A table, or a view (isView, with the SELECT that defines it in viewSql; views are read only).
struct TableDef {
    QString name = {};
    QList<ColumnDef> columns;
    QStringList primaryKey;
    bool isView = false;
    QString viewSql = {};
    QList<IndexDef> indexes = {};  // besides the primary key

    const ColumnDef* column(const QString& name) const;
};

// What the data layer knows of the database's tables: which table owns a result column (so that
// an edited row is written to the right table with the right key) and each column's exact type
// (so that values come back typed on every engine). Columns are named with their table's
// prefix (EF01_... belongs to the table whose columns all start with EF01_), and a column name
// is unique across tables; view columns are known too, but never written.
class SchemaCatalogue {
public:
    virtual ~SchemaCatalogue() = default;

    virtual QList<const TableDef*> tables() const = 0;
    // Case-insensitive; nullptr when unknown.
    virtual const TableDef* table(const QString& name) const = 0;
    // The table (preferred) or view that has a column of that name; nullptr when none.
    virtual const TableDef* ownerOfColumn(const QString& column) const = 0;
    // That column of ownerOfColumn's table or view; nullptr when none.
    virtual const ColumnDef* columnOf(const QString& column) const = 0;
};
