#pragma once

#include "DataType.h"

#include <QString>
#include <QVariant>

class Recordset;

// A handle on one column of a recordset's current row (valid while the recordset lives).
class Field {
public:
    Field(Recordset* recordset, int index) : rs_(recordset), index_(index) {}

    int Index() const { return index_; }
    QString Name() const;
    DataType Type() const;
    int DefinedSize() const;
    int NumericScale() const;
    // False for a column of a table other than the recordset's base table, or an expression.
    bool Writable() const;

    QVariant Value() const;
    // Converts to the column's type; throws SuiteError with a clear message when the value
    // does not fit (letters in a number, a text longer than the column, a read-only column).
    void setValue(const QVariant& value) const;
    // A value the clerk typed, checked by the column's rule (extra decimals refused); false when
    // the field already holds it.
    bool enter(const QVariant& typed) const;
    // The value as read from the database (Null for a new row).
    QVariant OriginalValue() const;
    // The database's value as last read: the same as OriginalValue for a client-side recordset.
    QVariant UnderlyingValue() const { return OriginalValue(); }

private:
    Recordset* rs_;
    int index_;
};
