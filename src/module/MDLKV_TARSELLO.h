#pragma once

#include <QVariant>

// The value routines every form applies to database and control values. None of them fails on
// Null, empty or missing input (an invalid QVariant).
namespace MDLKV_TARSELLO {

// "" for Null; otherwise the value's text with trailing blanks removed (leading ones kept).
// Numbers are written with '.' and no grouping, dates as dd/mm/yyyy.
QString NullToString(const QVariant& value = QVariant());
// The Integer 0 for Null, "" or a text that is not a number; otherwise the value as a Decimal.
QVariant NullToDecimal(const QVariant& value = QVariant());
// 0.0 under the same test; otherwise the value as a double.
double NullToDouble(const QVariant& value = QVariant());
// `defaultValue` for Null or a value whose text is ""; otherwise `value`.
QVariant NullDefault(const QVariant& value, const QVariant& defaultValue);

}  // namespace MDLKV_TARSELLO
