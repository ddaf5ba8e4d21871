#include "SqliteDialect.h"

QString SqliteDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt: return QStringLiteral("SMALLINT");
        case DataType::Integer: return QStringLiteral("INTEGER");
        case DataType::Decimal: return QStringLiteral("DECIMAL");
        case DataType::Text: return QStringLiteral("VARCHAR");
        // Declared types that contain TEXT: TEXT affinity keeps '20240131' a text.
        case DataType::Date: return QStringLiteral("DATETEXT");
        case DataType::DateTime: return QStringLiteral("DATETIMETEXT");
    }
    return QString();
}
