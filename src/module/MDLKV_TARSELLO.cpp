#include "MDLKV_TARSELLO.h"

#include "Decimal.h"
#include "Value.h"

namespace MDLKV_TARSELLO {

QString NullToString(const QVariant& value) {
    if (Value::isNull(value)) return QString();
    QString text;
    switch (value.metaType().id()) {
        case QMetaType::QDate:
            text = value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
            break;
        case QMetaType::QDateTime:
            text = value.toDateTime().time() == QTime(0, 0)
                       ? value.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"))
                       : value.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
            break;
        case QMetaType::Bool:
            text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            break;
        default:
            text = Value::toText(value);
            break;
    }
    int end = int(text.size());
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    text.truncate(end);
    return text;
}

namespace {
std::optional<Decimal> asNumber(const QVariant& value) {
    if (Value::isNull(value)) return std::nullopt;
    if (value.metaType() == QMetaType::fromType<Decimal>()) return value.value<Decimal>();
    const QString text = NullToString(value);
    if (text.isEmpty()) return std::nullopt;
    return Decimal::parse(text);
}
}  // namespace

QVariant NullToDecimal(const QVariant& value) {
    const auto d = asNumber(value);
    return d ? QVariant::fromValue(*d) : QVariant(0);
}

double NullToDouble(const QVariant& value) {
    const auto d = asNumber(value);
    return d ? d->toDouble() : 0.0;
}

QVariant NullDefault(const QVariant& value, const QVariant& defaultValue) {
    return Value::isNull(value) || Value::toText(value).isEmpty() ? defaultValue : value;
}

}  // namespace MDLKV_TARSELLO
