#pragma once

#include <QString>

// The value kinds the database holds. Codes and flags are small integers, keys and counters
// integers, money and rates exact decimals (see Decimal).
enum class DataType { SmallInt, Integer, Decimal, Text, Date, DateTime };

QString dataTypeName(DataType type);
