#include "JsonLine.h"

#include "Decimal.h"

#include <QDate>
#include <QDateTime>

JsonLine::JsonLine(const QString& command) : text_("{\"cmd\":" + string(command)) {}

JsonLine& JsonLine::add(const QString& key, const QVariant& v) {
    return addJson(key, value(v));
}

JsonLine& JsonLine::addJson(const QString& key, const QByteArray& json) {
    text_ += ',' + string(key) + ':' + json;
    return *this;
}

QByteArray JsonLine::string(const QString& s) {
    // UTF-8 throughout: a character beyond the basic plane is written from its two halves
    // together, and a half without its partner (no character at all) as a JSON escape rather
    // than a byte sequence that is not UTF-8.
    QByteArray out = "\"";
    const auto escape = [&](char16_t c) { out += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0'); };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        switch (c.unicode()) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
                    out += QStringView(s).mid(i, 2).toUtf8();
                    ++i;
                } else if (c.unicode() < 0x20 || c.isSurrogate()) {  // a control or half a pair
                    escape(c.unicode());
                } else {
                    out += QStringView(&c, 1).toUtf8();
                }
        }
    }
    return out + '"';
}

QByteArray JsonLine::value(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return "null";
    if (v.metaType() == QMetaType::fromType<Decimal>()) return string(v.value<Decimal>().toString());
    switch (v.metaType().id()) {
        case QMetaType::Bool:
            return v.toBool() ? "true" : "false";
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            return QByteArray::number(v.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return QByteArray::number(v.toDouble(), 'g', 17);
        case QMetaType::QDate:
            return string(v.toDate().toString(Qt::ISODate));
        case QMetaType::QDateTime:
            return string(v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            QByteArray out = "[";
            const QVariantList items = v.toList();
            for (int i = 0; i < items.size(); ++i) out += (i ? "," : "") + value(items[i]);
            return out + ']';
        }
        default:
            return string(v.toString());
    }
}
