#include "PostgresDialect.h"

QString PostgresDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt: return QStringLiteral("SMALLINT");
        case DataType::Integer: return QStringLiteral("INTEGER");
        case DataType::Decimal: return QStringLiteral("NUMERIC");
        case DataType::Text: return QStringLiteral("VARCHAR");
        case DataType::Date: return QStringLiteral("DATE");
        case DataType::DateTime: return QStringLiteral("TIMESTAMP");
    }
    return QString();
}
