#pragma once

#include "DataType.h"
#include "Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QVariant>

// Field values are QVariants holding int (SmallInt, Integer), Decimal, QString, QDate or
// QDateTime; Null is an invalid QVariant. These routines convert and compare them.
namespace Value {

inline bool isNull(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

// Conversions that throw SuiteError (type mismatch) with a clear message when the value does
// not fit: letters in a number, an impossible date.
int toInt(const QVariant& v);
Decimal toDecimal(const QVariant& v);
QDate toDate(const QVariant& v);
QDateTime toDateTime(const QVariant& v);
// A date kept as 'yyyymmdd' (SQLite's, as stored): an invalid QDate for any other text.
QDate compactDate(QLatin1String text);
// Text of any value: numbers with '.' and no grouping, dates as yyyymmdd.
QString toText(const QVariant& v);
// A value as a clerk reads it in a message: numbers as "1.234,56", dates as dd/mm/yyyy, texts
// as they are.
QString shown(const QVariant& v);

// `v` as a value of `type` (decimals rounded to `scale`); Null stays Null. Accepts what the
// drivers return (dates as 'yyyymmdd' text or QDate, decimals as double or text).
QVariant coerce(const QVariant& v, DataType type, int scale);

// A value as the engine returned it, in the field value kinds: integers as int (or Decimal
// when too large), floating point as Decimal, the rest unchanged.
QVariant natural(const QVariant& raw);

// True when `v` already is a value of `type` as a field holds it (a text for Text, an int for the
// integers, a QDate for Date...): then no conversion is needed. Decimals always are converted, to
// their column's scale.
inline bool holds(int typeId, DataType type) {
    switch (type) {
        case DataType::Text:
            return typeId == QMetaType::QString;
        case DataType::SmallInt:
        case DataType::Integer:
            return typeId == QMetaType::Int;
        case DataType::Date:
            return typeId == QMetaType::QDate;
        case DataType::DateTime:
            return typeId == QMetaType::QDateTime;
        case DataType::Decimal:
            return false;
    }
    return false;
}
inline bool holds(const QVariant& v, DataType type) {
    return holds(v.typeId(), type);
}

// Texts held to a column's length, which counts UTF-16 units: the longest start of `text` of at
// most `units` units that ends between two characters as a reader sees them, never inside one
// (half of a surrogate pair, a letter without its accent).
QString leftWhole(const QString& text, int units);
// False when `text` holds half of a surrogate pair, which no encoding can store.
bool wholeCharacters(const QString& text);

// Order and equality of two values of the same column; Null sorts first and equals only Null.
// Texts compare without regard to case, like the suite's database collation.
int compare(const QVariant& a, const QVariant& b);
// Exact equality (texts case-sensitive): what "this field was changed" means.
bool same(const QVariant& a, const QVariant& b);

}  // namespace Value
