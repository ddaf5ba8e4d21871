#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// One observation of the driver as a compact JSON object on one line, keys in the order they
// were added (a QJsonObject would sort them). Field values: Null as null, integers as numbers,
// Decimals as strings with a point ("1234.50", exact), dates "yyyy-MM-dd", date-times
// "yyyy-MM-ddTHH:mm:ss", lists as arrays.
class JsonLine {
public:
    explicit JsonLine(const QString& command);

    JsonLine& add(const QString& key, const QVariant& value);
    // A value already written as JSON (an array or object built by the caller).
    JsonLine& addJson(const QString& key, const QByteArray& json);
    QByteArray toJson() const { return text_ + '}'; }

    static QByteArray value(const QVariant& v);
    static QByteArray string(const QString& s);

private:
    QByteArray text_;
};
