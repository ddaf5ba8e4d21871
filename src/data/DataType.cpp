#include "DataType.h"

QString dataTypeName(DataType type) {
    switch (type) {
        case DataType::SmallInt:
            return QStringLiteral("smallint");
        case DataType::Integer:
            return QStringLiteral("integer");
        case DataType::Decimal:
            return QStringLiteral("decimal");
        case DataType::Text:
            return QStringLiteral("text");
        case DataType::Date:
            return QStringLiteral("date");
        case DataType::DateTime:
            return QStringLiteral("datetime");
    }
    return QString();
}
