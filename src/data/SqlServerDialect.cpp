#include "SqlServerDialect.h"

QList<EngineStatement> SqlServerDialect::translate(const QString& sqlServerText) const {
    return {{sqlServerText, QString()}};
}

QString SqlServerDialect::typeName(DataType type) const {
    switch (type) {
        case DataType::SmallInt: return QStringLiteral("SMALLINT");
        case DataType::Integer: return QStringLiteral("INT");
        case DataType::Decimal: return QStringLiteral("DECIMAL");
        case DataType::Text: return QStringLiteral("VARCHAR");
        case DataType::Date:
        case DataType::DateTime: return QStringLiteral("DATETIME");
    }
    return QString();
}
