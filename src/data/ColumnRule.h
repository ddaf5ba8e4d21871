#pragma once

#include "Connection.h"

#include <QVariant>

// What one column accepts: its type, its length in whole characters, its integer digits and its
// decimals. The recordset stores only what its column accepts, and the frame hands a typed value
// to the same rule, so each limit and its words live here once and a value is converted once.
class ColumnRule {
public:
    // Decimals beyond the column's scale: a computed amount is rounded to them, a value the
    // clerk typed is refused (rounding it would store what nobody wrote).
    enum class ExtraDecimals { Rounded, Refused };

    explicit ColumnRule(const ResultColumn& column) : column_(column) {}

    // The value as the column keeps it; otherwise a SuiteError whose text names the column.
    QVariant accept(const QVariant& value, ExtraDecimals extra) const;

private:
    const ResultColumn& column_;
};
